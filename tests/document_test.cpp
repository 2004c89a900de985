// The host's document tree: placement, disposal, stale handles and selection propagation.
#include "Document.h"

#include <gtest/gtest.h>

using namespace minihost;

namespace {

struct DocFixture : ::testing::Test {
    Document doc;
    ObjectId layer = doc.addLayer("Layer 1");
    ObjectId group() const { return doc.layer(layer)->group; }
    ObjectId path(std::int16_t order = kCCPlaceInsideOnTop, ObjectId prep = 0)
    {
        ObjectId id = doc.create(kCCPathArt, order, prep);
        Art* a = doc.edit(id);
        a->segments.assign(3, CCPathSegment{});
        a->selection.assign(3, 0);
        return id;
    }
};

TEST_F(DocFixture, PlacementOrdersChildrenTopFirst)
{
    ObjectId a = path();
    ObjectId b = path();                      // on top of a
    ObjectId c = path(kCCPlaceBelow, a);      // below a
    ObjectId d = path(kCCPlaceAbove, a);      // between b and a
    ObjectId e = path(kCCPlaceInsideOnBottom); // bottom of the layer
    EXPECT_EQ(doc.children(group()), (std::vector<ObjectId>{b, d, a, c, e}));
    EXPECT_EQ(doc.get(b)->parent, group());
    EXPECT_EQ(doc.get(e)->layer, layer);
}

TEST_F(DocFixture, DisposeMakesTheWholeSubtreeStale)
{
    ObjectId g = doc.create(kCCGroupArt, kCCPlaceInsideOnTop, 0);
    ObjectId p = path(kCCPlaceInsideOnTop, g);
    ObjectId q = path();
    ASSERT_TRUE(doc.dispose(g));
    EXPECT_FALSE(doc.valid(g));
    EXPECT_FALSE(doc.valid(p));
    EXPECT_TRUE(doc.valid(q));
    EXPECT_EQ(doc.children(group()), std::vector<ObjectId>{q});
    EXPECT_FALSE(doc.dispose(group())) << "a layer group cannot be disposed";
    EXPECT_EQ(doc.create(kCCPathArt, kCCPlaceInsideOnTop, q), 0u) << "a path holds no children";
}

TEST_F(DocFixture, ReorderRefusesToMoveIntoItself)
{
    ObjectId g = doc.create(kCCGroupArt, kCCPlaceInsideOnTop, 0);
    ObjectId inner = doc.create(kCCGroupArt, kCCPlaceInsideOnTop, g);
    EXPECT_FALSE(doc.reorder(g, kCCPlaceInsideOnTop, inner));
    EXPECT_EQ(doc.get(inner)->parent, g);
    ObjectId p = path();
    EXPECT_TRUE(doc.reorder(p, kCCPlaceInsideOnTop, inner));
    EXPECT_EQ(doc.children(inner), std::vector<ObjectId>{p});
}

TEST_F(DocFixture, AnchorSelectionSelectsThePathAndItsContainers)
{
    ObjectId g = doc.create(kCCGroupArt, kCCPlaceInsideOnTop, 0);
    ObjectId p = path(kCCPlaceInsideOnTop, g);
    ObjectId q = path(kCCPlaceInsideOnTop, g);
    ASSERT_TRUE(doc.setAnchorSelection(p, 1, kCCSegmentInSelected));
    EXPECT_EQ(doc.get(p)->attrs & kCCArtSelected, kCCArtSelected);
    EXPECT_EQ(doc.get(p)->attrs & kCCArtFullySelected, 0);
    EXPECT_EQ(doc.get(g)->attrs & kCCArtSelected, kCCArtSelected);
    EXPECT_EQ(doc.get(q)->attrs, 0);
    doc.deselectAll();
    EXPECT_EQ(doc.get(g)->attrs, 0);
    EXPECT_EQ(doc.get(p)->selection, (std::vector<std::int16_t>{0, 0, 0}));
    doc.selectWhole(g);
    EXPECT_EQ(doc.get(q)->attrs, kCCArtSelected | kCCArtFullySelected);
    EXPECT_EQ(doc.get(q)->selection, (std::vector<std::int16_t>{1, 1, 1}));
    EXPECT_FALSE(doc.setAnchorSelection(p, 3, 1)) << "index past the last anchor";
    EXPECT_FALSE(doc.setAnchorSelection(p, 0, 5)) << "no such state";
}

TEST_F(DocFixture, HandlesAreNeverReused)
{
    ObjectId a = path();
    doc.dispose(a);
    ObjectId b = path();
    EXPECT_NE(a, b);
    EXPECT_FALSE(doc.valid(a));
}

} // namespace
