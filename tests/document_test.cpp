// The host's document tree: placement, disposal, stale handles and selection propagation.
#include "Document.h"

#include "UndoJournal.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

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

// A loader sets attributes through edit() without the selection rules; the containers' counters must
// still see those children when a later change asks for the container's selection.
TEST_F(DocFixture, ChildrenSelectedThroughEditStillCount)
{
    ObjectId g = doc.create(kCCGroupArt, kCCPlaceInsideOnTop, 0);
    ObjectId loaded = path(kCCPlaceInsideOnTop, g);
    ObjectId other = path(kCCPlaceInsideOnTop, g);
    doc.edit(loaded)->attrs = kCCArtSelected | kCCArtFullySelected;
    doc.setAttrs(other, kCCArtSelected, kCCArtSelected);
    EXPECT_EQ(doc.get(g)->attrs & kCCArtSelected, kCCArtSelected);
    doc.setAttrs(other, kCCArtSelected, 0);
    EXPECT_EQ(doc.get(g)->attrs & kCCArtSelected, kCCArtSelected) << "the loaded child is still selected";
    EXPECT_EQ(doc.get(g)->attrs & kCCArtFullySelected, 0);
    doc.dispose(other);
    EXPECT_EQ(doc.get(g)->attrs, kCCArtSelected | kCCArtFullySelected) << "the one child left is fully selected";
}

// Random selection changes, moves, copies and disposals, inside transactions that are reverted, undone
// and redone: every container's counters must match a count of its children, and each change must leave
// the containers above it selected exactly as their children say.
TEST(SelectionCounters, MatchAFullRecount)
{
    constexpr std::int32_t kBits = kCCArtSelected | kCCArtFullySelected;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
        Document doc;
        UndoJournal journal(doc);
        doc.addLayer("A");
        doc.addLayer("B");
        auto objects = [&](bool containersOnly) {
            std::vector<ObjectId> ids;
            doc.walk([&](const Art& a) {
                if (!containersOnly || isContainerType(a.type))
                    ids.push_back(a.id);
                return true;
            });
            return ids;
        };
        auto any = [&](bool containersOnly) {
            std::vector<ObjectId> ids = objects(containersOnly);
            return ids[pick(ids.size())];
        };
        auto expectConsistentFrom = [&](ObjectId from, const char* what) {
            for (const Art* a = doc.get(from); a; a = doc.get(a->parent)) {
                bool anySelected = false, allFull = a->firstChild != 0;
                for (ObjectId c : doc.children(a->id)) {
                    anySelected = anySelected || (doc.get(c)->attrs & kCCArtSelected);
                    allFull = allFull && (doc.get(c)->attrs & kCCArtFullySelected);
                }
                std::int32_t want = (anySelected ? kCCArtSelected : 0) | (anySelected && allFull ? kCCArtFullySelected : 0);
                ASSERT_EQ(a->attrs & kBits, want) << what << ": container " << a->id;
            }
        };
        auto expectCounted = [&](const char* when) {
            doc.settleSelectionCounts();
            for (ObjectId id : objects(true)) {
                std::int32_t n = 0, selected = 0, full = 0;
                for (ObjectId c : doc.children(id)) {
                    ++n;
                    selected += (doc.get(c)->attrs & kCCArtSelected) ? 1 : 0;
                    full += (doc.get(c)->attrs & kCCArtFullySelected) ? 1 : 0;
                }
                const Art* a = doc.get(id);
                ASSERT_EQ(a->childCount, n) << when << ": container " << id;
                ASSERT_EQ(a->selectedChildren, selected) << when << ": container " << id;
                ASSERT_EQ(a->fullySelectedChildren, full) << when << ": container " << id;
            }
        };
        for (int round = 0; round < 60; ++round) {
            journal.begin("change");
            for (int k = 0, n = 1 + static_cast<int>(pick(5)); k < n; ++k) {
                ObjectId target = any(false);
                const Art* t = doc.get(target);
                switch (pick(10)) {
                case 0:
                case 1: {
                    std::int16_t type = pick(3) == 0 ? kCCGroupArt : kCCPathArt;
                    ObjectId id = doc.create(type, kCCPlaceInsideOnTop, any(true));
                    if (type == kCCPathArt) {
                        Art* a = doc.edit(id);
                        a->segments.assign(1 + pick(3), CCPathSegment{});
                        a->selection.assign(a->segments.size(), kCCSegmentNotSelected);
                    }
                    break;
                }
                case 2: {
                    // A change that changes nothing leaves the containers as they are.
                    std::int32_t before = t->attrs;
                    doc.setAttrs(target, kCCArtSelected, pick(2) ? kCCArtSelected : 0);
                    if (doc.get(target)->attrs != before)
                        expectConsistentFrom(t->parent, "setAttrs");
                    break;
                }
                case 3:
                    if (t->type == kCCPathArt && !t->selection.empty()) {
                        std::vector<std::int16_t> before = t->selection;
                        doc.setAnchorSelection(target, static_cast<int>(pick(t->selection.size())),
                                               static_cast<std::int16_t>(pick(5)));
                        if (doc.get(target)->selection != before)
                            expectConsistentFrom(t->parent, "setAnchorSelection");
                    }
                    break;
                case 4:
                    doc.selectWhole(target);
                    expectConsistentFrom(t->parent, "selectWhole");
                    break;
                case 5: {
                    ObjectId parent = t->parent;
                    if (doc.dispose(target))
                        expectConsistentFrom(parent, "dispose");
                    break;
                }
                case 6: {
                    ObjectId into = any(true);
                    if (doc.reorder(target, kCCPlaceInsideOnBottom, into))
                        expectConsistentFrom(into, "reorder");
                    break;
                }
                case 7:
                    if (ObjectId copy = doc.duplicate(target, kCCPlaceAbove, target))
                        expectConsistentFrom(doc.get(copy)->parent, "duplicate");
                    break;
                case 8:
                    doc.edit(target)->attrs ^= pick(2) ? kCCArtSelected : kCCArtFullySelected; // as a loader does
                    break;
                default:
                    if (pick(4) == 0)
                        doc.deselectAll();
                    break;
                }
                if (::testing::Test::HasFatalFailure())
                    return;
            }
            switch (pick(4)) {
            case 0:
                journal.revertOpen();
                journal.commit();
                expectCounted("reverted");
                break;
            case 1:
                journal.commit();
                journal.undo();
                expectCounted("undone");
                if (pick(2)) {
                    journal.redo();
                    expectCounted("redone");
                }
                break;
            default:
                journal.commit();
                expectCounted("committed");
                break;
            }
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

} // namespace
