// The document's path index for hit testing: the indexed hit test must report exactly what a plain scan of
// every object reports, on documents of every shape, after every kind of change and after undo and redo;
// and through the host's hit-test suite a moved path is found where it went and not where it was.
#include "DocumentHitTest.h"
#include "Host.h"
#include "KernelFixture.h"
#include "UndoJournal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace minihost;

namespace {

std::string describe(const CCHitData& h)
{
    std::ostringstream s;
    s << "hit " << h.hit << " part " << h.part << " segment " << h.segment << " art " << fromHandle(h.art) << " group "
      << fromHandle(h.group) << " point (" << h.point.x << ", " << h.point.y << ") t " << h.t;
    return s.str();
}

bool sameHit(const CCHitData& a, const CCHitData& b)
{
    // Bitwise on the doubles: the two searches run the same per-path test and must agree exactly.
    auto bits = [](double v) {
        std::uint64_t u;
        std::memcpy(&u, &v, sizeof u);
        return u;
    };
    return a.hit == b.hit && a.part == b.part && a.segment == b.segment && a.art == b.art && a.group == b.group &&
           bits(a.point.x) == bits(b.point.x) && bits(a.point.y) == bits(b.point.y) && bits(a.t) == bits(b.t);
}

CCHitData emptyHit(const CCRealPoint& p)
{
    CCHitData h{};
    h.part = -1;
    h.segment = -1;
    h.point = p;
    return h;
}

// Random documents and edits. Coordinates are mostly on a 0..400 page with small paths, plus a few huge,
// infinite and NaN ones, so the grid sees crowded cells, paths spanning many cells and paths it cannot
// place.
struct RandomDocument {
    std::mt19937 rng;
    Document doc;
    UndoJournal journal{doc};

    explicit RandomDocument(unsigned seed) : rng(seed)
    {
        for (int i = 0; i < 3; ++i)
            doc.addLayer("L" + std::to_string(i));
    }

    double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    bool chance(double p) { return uniform(0, 1) < p; }

    std::vector<ObjectId> all(bool withLayerGroups = false)
    {
        std::vector<ObjectId> ids;
        doc.walk([&](const Art& a) {
            if (withLayerGroups || a.parent != 0)
                ids.push_back(a.id);
            return true;
        });
        return ids;
    }

    std::vector<ObjectId> containers()
    {
        std::vector<ObjectId> ids;
        doc.walk([&](const Art& a) {
            if (isContainerType(a.type))
                ids.push_back(a.id);
            return true;
        });
        return ids;
    }

    CCRealPoint point(double cx, double cy, double spread)
    {
        return {cx + uniform(-spread, spread), cy + uniform(-spread, spread)};
    }

    std::vector<CCPathSegment> segments()
    {
        int n = 1 + pick(6);
        double cx = uniform(0, 400), cy = uniform(0, 400);
        double spread = chance(0.05) ? 1e7 : chance(0.3) ? 60 : 8;
        std::vector<CCPathSegment> segs(static_cast<std::size_t>(n));
        for (CCPathSegment& s : segs) {
            s.anchor = point(cx, cy, spread);
            s.in = chance(0.5) ? s.anchor : point(s.anchor.x, s.anchor.y, spread / 2);
            s.out = chance(0.5) ? s.anchor : point(s.anchor.x, s.anchor.y, spread / 2);
            s.corner = 1;
        }
        if (chance(0.03))
            segs[0].out.x = std::numeric_limits<double>::quiet_NaN();
        if (chance(0.03))
            segs.back().in.y = std::numeric_limits<double>::infinity();
        return segs;
    }

    void shape(ObjectId id)
    {
        Art* a = doc.edit(id);
        a->segments = segments();
        a->selection.assign(a->segments.size(), kCCSegmentNotSelected);
        a->closed = chance(0.6);
        if (chance(0.3))
            a->style.fill.reset();
        a->style.evenOdd = chance(0.3);
    }

    std::int16_t placement()
    {
        static const std::int16_t orders[] = {kCCPlaceAbove,          kCCPlaceBelow,    kCCPlaceInsideOnTop,
                                              kCCPlaceInsideOnBottom, kCCPlaceAboveAll, kCCPlaceBelowAll};
        return orders[pick(6)];
    }

    ObjectId anyOf(const std::vector<ObjectId>& ids)
    {
        return ids.empty() ? 0 : ids[static_cast<std::size_t>(pick(static_cast<int>(ids.size())))];
    }

    ObjectId addPath()
    {
        std::int16_t order = placement();
        bool relative = order == kCCPlaceAbove || order == kCCPlaceBelow;
        ObjectId prep = relative ? anyOf(all()) : (chance(0.5) ? anyOf(containers()) : 0);
        ObjectId id = doc.create(kCCPathArt, order, prep);
        if (id != 0)
            shape(id);
        return id;
    }

    // One random change, as the suites and loaders make them.
    void edit()
    {
        std::vector<ObjectId> objects = all();
        ObjectId target = anyOf(objects);
        switch (pick(11)) {
        case 0:
        case 1:
            addPath();
            break;
        case 2: {
            std::int16_t type = chance(0.5) ? kCCGroupArt : kCCCompoundPathArt;
            ObjectId g = doc.create(type, placement(), chance(0.5) ? target : 0);
            for (int i = 0, n = pick(4); g != 0 && i < n; ++i)
                if (ObjectId p = doc.create(kCCPathArt, kCCPlaceInsideOnBottom, g))
                    shape(p);
            break;
        }
        case 3:
            if (target && doc.get(target)->type == kCCPathArt)
                shape(target);
            break;
        case 4:
            if (target && doc.get(target)->type == kCCPathArt) {
                // A small move of one anchor, as a drag does.
                Art* a = doc.edit(target);
                a->segments[static_cast<std::size_t>(pick(static_cast<int>(a->segments.size())))].anchor.x +=
                    uniform(-20, 20);
            }
            break;
        case 5:
            if (target)
                doc.dispose(target);
            break;
        case 6:
            if (target)
                doc.reorder(target, placement(), chance(0.5) ? anyOf(objects) : anyOf(containers()));
            break;
        case 7:
            if (target)
                doc.duplicate(target, placement(), anyOf(objects));
            break;
        case 8:
            if (target) {
                std::int32_t bits = (chance(0.2) ? kCCArtHidden : 0) | (chance(0.2) ? kCCArtLocked : 0) |
                                    (chance(0.5) ? kCCArtSelected : 0);
                doc.setAttrs(target, kCCArtHidden | kCCArtLocked | kCCArtSelected, bits);
            }
            break;
        case 9: {
            const Layer& l = doc.layers()[static_cast<std::size_t>(pick(3))];
            doc.setLayerFlags(l.id, !chance(0.3), !chance(0.2));
            break;
        }
        default:
            if (target)
                doc.selectWhole(target);
            break;
        }
    }

    // Points near anchors and handles, on curves' chords, and anywhere on the page.
    CCRealPoint probe()
    {
        std::vector<ObjectId> objects = all();
        ObjectId id = anyOf(objects);
        const Art* a = id ? doc.get(id) : nullptr;
        if (!a || a->type != kCCPathArt || a->segments.empty() || chance(0.2))
            return {uniform(-20, 420), uniform(-20, 420)};
        const CCPathSegment& s = a->segments[static_cast<std::size_t>(pick(static_cast<int>(a->segments.size())))];
        const CCRealPoint& base = chance(0.6) ? s.anchor : chance(0.5) ? s.in : s.out;
        if (!std::isfinite(base.x) || !std::isfinite(base.y))
            return {uniform(-20, 420), uniform(-20, 420)};
        return point(base.x, base.y, 6);
    }
};

// Compares the two searches at many points, for every request, for the whole document and for one object.
void expectSameHits(RandomDocument& r, int probes, const std::string& when)
{
    const double tolerances[] = {0, 4, 4, 4, 30, 1e9};
    const int32_t requests[] = {kCCHitAll, kCCHitSnapPoints, kCCHitTool};
    for (int i = 0; i < probes; ++i) {
        CCRealPoint p = r.probe();
        double tol = tolerances[r.pick(6)];
        int32_t request = requests[r.pick(3)];
        ObjectId in = r.chance(0.2) ? r.anyOf(r.all(true)) : 0;
        CCHitData indexed = emptyHit(p), scanned = emptyHit(p);
        ASSERT_EQ(hitTestDocument(r.doc, in, p, request, tol, indexed, HitSearch::indexed),
                  hitTestDocument(r.doc, in, p, request, tol, scanned, HitSearch::scan));
        ASSERT_TRUE(sameHit(indexed, scanned))
            << when << ": at (" << p.x << ", " << p.y << ") tol " << tol << " request " << request << " in " << in
            << "\n indexed: " << describe(indexed) << "\n scanned: " << describe(scanned);
    }
}

TEST(HitIndex, AgreesWithTheScanThroughEditsUndoAndRedo)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomDocument r(seed);
        for (int i = 0; i < 150; ++i)
            r.addPath();
        expectSameHits(r, 200, "built");
        int hits = 0;
        for (int round = 0; round < 40; ++round) {
            r.journal.begin("edit");
            for (int k = 0, n = 1 + r.pick(6); k < n; ++k)
                r.edit();
            expectSameHits(r, 20, "edited");
            switch (r.pick(4)) {
            case 0:
                r.journal.revertOpen();
                expectSameHits(r, 20, "reverted");
                r.edit(); // then a change of another kind inside the same press
                r.journal.commit();
                break;
            case 1:
                r.journal.commit();
                r.journal.undo();
                expectSameHits(r, 20, "undone");
                if (r.chance(0.5)) {
                    r.journal.redo();
                    expectSameHits(r, 20, "redone");
                }
                break;
            default:
                r.journal.commit();
                break;
            }
            // Some probes must hit, or the comparison proves little.
            CCRealPoint p = r.probe();
            CCHitData h = emptyHit(p);
            hitTestDocument(r.doc, 0, p, kCCHitSnapPoints, 30, h);
            hits += h.hit;
            if (::testing::Test::HasFatalFailure())
                return;
        }
        EXPECT_GT(hits, 5);
    }
}

// Many objects placed at one spot exhaust the room between two neighbours' ranks, and the siblings are
// ranked again; paint order, and undo of that, must come out as before.
TEST(HitIndex, PaintOrderSurvivesRerankingAndItsUndo)
{
    Document doc;
    UndoJournal journal(doc);
    doc.addLayer("L");
    auto square = [&](std::int16_t order, ObjectId prep) {
        ObjectId id = doc.create(kCCPathArt, order, prep);
        Art* a = doc.edit(id);
        for (CCRealPoint q : {CCRealPoint{0, 0}, {10, 0}, {10, 10}, {0, 10}})
            a->segments.push_back({q, q, q, 1});
        a->selection.assign(4, kCCSegmentNotSelected);
        a->closed = true;
        return id;
    };
    ObjectId bottom = square(kCCPlaceInsideOnTop, 0);
    ObjectId top = square(kCCPlaceInsideOnTop, 0);
    journal.begin("crowd");
    // Each new square goes straight above the bottom one, halving the room every time.
    std::vector<ObjectId> placed;
    for (int i = 0; i < 80; ++i)
        placed.push_back(square(kCCPlaceAbove, bottom));
    journal.commit();
    const CCRealPoint at{5, 5};
    auto hitAt = [&](ObjectId in) {
        CCHitData indexed = emptyHit(at), scanned = emptyHit(at);
        hitTestDocument(doc, in, at, kCCHitAll, 1, indexed);
        hitTestDocument(doc, in, at, kCCHitAll, 1, scanned, HitSearch::scan);
        EXPECT_TRUE(sameHit(indexed, scanned)) << describe(indexed) << " / " << describe(scanned);
        return fromHandle(indexed.art);
    };
    // Ranks run down the list after all that.
    std::vector<ObjectId> order = doc.children(doc.layers()[0].group);
    ASSERT_EQ(order.size(), 82u);
    EXPECT_EQ(order.front(), top);
    EXPECT_EQ(order[1], placed.front());
    EXPECT_EQ(order.back(), bottom);
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(doc.get(order[i - 1])->rank, doc.get(order[i])->rank) << i;

    EXPECT_EQ(hitAt(0), top);
    journal.begin("dispose");
    doc.dispose(top);
    EXPECT_EQ(hitAt(0), placed.front()) << "the first placed stays above the later ones";
    doc.dispose(placed.front());
    EXPECT_EQ(hitAt(0), placed[1]);
    for (std::size_t i = 1; i + 1 < placed.size(); ++i)
        doc.dispose(placed[i]);
    EXPECT_EQ(hitAt(0), placed.back());
    journal.commit();

    ASSERT_TRUE(journal.undo());
    EXPECT_EQ(hitAt(0), top);
    ASSERT_TRUE(journal.undo()); // the crowd
    EXPECT_EQ(doc.children(doc.layers()[0].group), (std::vector<ObjectId>{top, bottom}));
    journal.begin("dispose");
    doc.dispose(top);
    EXPECT_EQ(hitAt(0), bottom);
    journal.commit();
}

// Through the host's suite as a plug-in calls it: a path that moves is found at its new place, undo brings
// it back, and paths elsewhere in a crowded document do not disturb the result.
struct HitIndexSuite : kerneltest::KernelFixture {
    CCHitData hit(double x, double y)
    {
        CCHitData h{};
        CCRealPoint p{x, y};
        EXPECT_EQ(curvicraft::sHitTest->HitTest(nullptr, &p, kCCHitTool, &h), kCCNoErr);
        return h;
    }
};

TEST_F(HitIndexSuite, AMovedPathIsHitWhereItWent)
{
    for (int i = 0; i < 2000; ++i) {
        double x = 1000 + 5 * (i % 50), y = 1000 + 5 * (i / 50);
        addPath("M " + std::to_string(x) + "," + std::to_string(y) + " L " + std::to_string(x + 2) + "," +
                std::to_string(y) + " Z");
    }
    ObjectId moving = addPath("M 0,0 L 100,0 L 100,100 Z");
    EXPECT_EQ(fromHandle(hit(50, 1).art), moving);
    EXPECT_EQ(hit(50, 1).segment, 1);

    host.journal()->begin("move");
    std::vector<CCPathSegment> segs = this->segs(moving);
    for (CCPathSegment& s : segs) {
        s.anchor.x += 500;
        s.in.x += 500;
        s.out.x += 500;
    }
    ASSERT_EQ(curvicraft::sPath->SetPathSegments(h(moving), 0, 3, segs.data()), kCCNoErr);
    EXPECT_FALSE(hit(50, 1).hit) << "nothing is left at the old place";
    CCHitData there = hit(550, 1);
    EXPECT_EQ(fromHandle(there.art), moving);
    EXPECT_EQ(there.part, kCCHitCurvePart);
    EXPECT_DOUBLE_EQ(there.point.x, 550);
    EXPECT_DOUBLE_EQ(there.point.y, 0);
    host.journal()->commit();

    ASSERT_TRUE(host.journal()->undo());
    EXPECT_EQ(fromHandle(hit(50, 1).art), moving);
    EXPECT_FALSE(hit(550, 1).hit);
    // A crowd square is hit at its anchor, numbered as in its own path.
    CCHitData crowd = hit(1247.5, 1000);
    EXPECT_EQ(crowd.part, kCCHitAnchorPart);
    EXPECT_EQ(crowd.segment, 1);
}

// A Round Fillet press through the shipped plug-in gives the same path in a document crowded with other
// paths as in an empty one: a crowd below the square at its corner and above it elsewhere changes neither
// what the press hits nor what the drag steps build.
std::vector<CCPathSegment> filletInDocumentOf(int crowd, std::size_t& anchorsAfterUndo)
{
    Host host;
    host.setOutput([](const std::string&) {});
    auto d = std::make_unique<Document>();
    d->addLayer("Layer 1");
    Document& doc = *d;
    auto add = [&](std::int16_t order, const std::vector<CCRealPoint>& points, bool selected) {
        ObjectId id = doc.create(kCCPathArt, order, 0);
        Art* a = doc.edit(id);
        for (CCRealPoint q : points)
            a->segments.push_back({q, q, q, 1});
        a->selection.assign(points.size(), kCCSegmentNotSelected);
        a->closed = true;
        if (selected)
            doc.setAttrs(id, kCCArtSelected, kCCArtSelected);
        return id;
    };
    ObjectId square = add(kCCPlaceInsideOnTop, {{0, 0}, {100, 0}, {100, 100}, {0, 100}}, true);
    for (int i = 0; i < crowd; ++i) {
        // Below: a grid beyond the corner, its nearest squares within the tolerance of the press; above:
        // the same grid moved off to the right. Nothing lies near the drag points, where the cursor would
        // snap to it.
        double x = 101 + (i % 40) * 2.0, y = 101 + (i / 40 % 40) * 2.0;
        bool below = i % 2 == 0;
        double shift = below ? 0 : 400;
        add(below ? kCCPlaceInsideOnBottom : kCCPlaceInsideOnTop,
            {{x + shift, y}, {x + shift + 1, y}, {x + shift + 1, y + 1}, {x + shift, y + 1}}, i % 7 == 0);
    }
    host.setDocument(std::move(d));
    EXPECT_EQ(host.loadPlugin(), kCCNoErr);
    EXPECT_EQ(host.startup(), kCCNoErr);
    EXPECT_EQ(host.selectTool(host.findTool("Round Fillet tool")), kCCNoErr);
    const double h = std::sqrt(0.5);
    EXPECT_EQ(host.mouseDown({100, 100}), kCCNoErr);
    for (double drag : {10.0, 45.0, 30.0})
        EXPECT_EQ(host.mouseDrag({100 - drag * h, 100 - drag * h}), kCCNoErr);
    EXPECT_EQ(host.mouseUp({100 - 30 * h, 100 - 30 * h}), kCCNoErr);
    std::vector<CCPathSegment> result = doc.get(square)->segments;
    EXPECT_EQ(doc.objectCount(), static_cast<std::size_t>(crowd) + 2) << "the guide is gone";
    host.journal()->undo();
    anchorsAfterUndo = doc.get(square)->segments.size();
    host.shutdown();
    return result;
}

TEST(HitIndexSession, RoundFilletIsTheSameInACrowdedDocument)
{
    std::size_t alone = 0, crowded = 0;
    const std::vector<CCPathSegment> empty = filletInDocumentOf(0, alone);
    const std::vector<CCPathSegment> full = filletInDocumentOf(3000, crowded);
    ASSERT_EQ(empty.size(), 6u) << "the corner anchor becomes three";
    // The tangent points lie on the corner's sides at the radius from it: a bisector drag of 30 gives a
    // radius of 30 / sqrt(2) at a right angle.
    const double r = 30 * std::sqrt(0.5);
    EXPECT_NEAR(empty[2].anchor.x, 100, 1e-9);
    EXPECT_NEAR(empty[2].anchor.y, 100 - r, 1e-9);
    EXPECT_NEAR(empty[4].anchor.x, 100 - r, 1e-9);
    EXPECT_NEAR(empty[4].anchor.y, 100, 1e-9);
    ASSERT_EQ(full.size(), empty.size());
    for (std::size_t i = 0; i < full.size(); ++i) {
        EXPECT_EQ(full[i].anchor.x, empty[i].anchor.x) << i;
        EXPECT_EQ(full[i].anchor.y, empty[i].anchor.y) << i;
        EXPECT_EQ(full[i].in.x, empty[i].in.x) << i;
        EXPECT_EQ(full[i].in.y, empty[i].in.y) << i;
        EXPECT_EQ(full[i].out.x, empty[i].out.x) << i;
        EXPECT_EQ(full[i].out.y, empty[i].out.y) << i;
    }
    EXPECT_EQ(alone, 4u) << "one undo takes back the press";
    EXPECT_EQ(crowded, 4u);
}

} // namespace
