// Undo transactions: revert to the start, stale handles of created objects, history, and cost.
#include "Document.h"
#include "UndoJournal.h"

#include <gtest/gtest.h>

using namespace minihost;

namespace {

ObjectId makePath(Document& doc, int n, std::int16_t order = kCCPlaceInsideOnTop, ObjectId prep = 0)
{
    ObjectId id = doc.create(kCCPathArt, order, prep);
    Art* a = doc.edit(id);
    for (int i = 0; i < n; ++i) {
        CCRealPoint p{double(i), double(i * i)};
        a->segments.push_back({p, p, p, 1});
    }
    a->selection.assign(n, 0);
    return id;
}

// Structure and geometry of the whole document, for before/after comparison.
std::string dump(const Document& doc)
{
    std::string s;
    doc.walk([&](const Art& a) {
        s += std::to_string(a.id) + ":" + std::to_string(a.type) + "/" + std::to_string(a.attrs) + "<" +
             std::to_string(a.parent) + "[";
        for (auto& seg : a.segments)
            s += std::to_string(seg.anchor.x) + "," + std::to_string(seg.anchor.y) + ";";
        s += "]";
        return true;
    });
    return s;
}

TEST(UndoJournal, RevertRestoresEverythingTheTransactionTouched)
{
    Document doc;
    doc.addLayer("L");
    ObjectId a = makePath(doc, 3);
    ObjectId g = doc.create(kCCGroupArt, kCCPlaceInsideOnTop, 0);
    ObjectId b = makePath(doc, 2, kCCPlaceInsideOnTop, g);
    UndoJournal journal(doc);
    const std::string before = dump(doc);

    journal.begin("press");
    doc.edit(a)->segments[1].anchor = {50, 50};
    ObjectId made = makePath(doc, 4);
    doc.dispose(g); // takes b with it
    doc.reorder(a, kCCPlaceInsideOnTop, 0);
    doc.setAnchorSelection(a, 0, kCCSegmentInAndOutSelected);
    EXPECT_FALSE(doc.valid(b));
    journal.revertOpen();

    EXPECT_EQ(dump(doc), before);
    EXPECT_FALSE(doc.valid(made)) << "objects created inside the transaction are stale after the revert";
    EXPECT_TRUE(doc.valid(b));
    EXPECT_EQ(doc.get(b)->parent, g);
    EXPECT_EQ(journal.touchedInOpen(), 0u);

    // A second step after the revert starts again from the press's state.
    doc.edit(a)->segments[0].anchor = {-1, -1};
    journal.revertOpen();
    EXPECT_EQ(dump(doc), before);
    journal.commit();
    EXPECT_FALSE(journal.canUndo()) << "a transaction that ends unchanged leaves no history";
}

TEST(UndoJournal, UndoAndRedoWalkTheHistory)
{
    Document doc;
    doc.addLayer("L");
    ObjectId a = makePath(doc, 3);
    UndoJournal journal(doc);
    const std::string s0 = dump(doc);

    journal.begin("move");
    doc.edit(a)->segments[2].anchor = {7, 7};
    journal.commit();
    const std::string s1 = dump(doc);

    journal.begin("add");
    ObjectId b = makePath(doc, 5);
    journal.commit();
    const std::string s2 = dump(doc);

    ASSERT_TRUE(journal.undo());
    EXPECT_EQ(dump(doc), s1);
    EXPECT_FALSE(doc.valid(b));
    ASSERT_TRUE(journal.undo());
    EXPECT_EQ(dump(doc), s0);
    EXPECT_FALSE(journal.undo());
    ASSERT_TRUE(journal.redo());
    EXPECT_EQ(dump(doc), s1);
    ASSERT_TRUE(journal.redo());
    EXPECT_EQ(dump(doc), s2);
    EXPECT_TRUE(doc.valid(b)) << "redo brings the created object back under its handle";
    EXPECT_FALSE(journal.redo());

    // A new edit after an undo drops the redo branch.
    journal.undo();
    journal.begin("other");
    doc.edit(a)->segments[0].anchor = {3, 3};
    journal.commit();
    EXPECT_FALSE(journal.canRedo());
}

TEST(UndoJournal, CostFollowsWhatWasTouchedNotTheDocument)
{
    Document doc;
    doc.addLayer("L");
    for (int i = 0; i < 2000; ++i)
        makePath(doc, 4);
    ObjectId target = makePath(doc, 10);
    UndoJournal journal(doc);
    journal.begin("press");
    doc.edit(target)->segments[0].anchor = {1, 2};
    EXPECT_EQ(journal.touchedInOpen(), 1u);
    ObjectId temp = doc.create(kCCPathArt, kCCPlaceInsideOnTop, 0); // touches the layer group and its top child
    EXPECT_LE(journal.touchedInOpen(), 4u);
    journal.revertOpen();
    EXPECT_FALSE(doc.valid(temp));
}

} // namespace
