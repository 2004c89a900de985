// Round Fillet: the corner geometry on segment arrays, then whole presses through PluginMain on minihost
// documents. Fillets are checked as circles: tangent points on the corner lines at the foot of the centre,
// handles along the tangents, and the two cubic pieces close to the true arc.
#include "CornerPressFixture.h"
#include "HostImpl_p.h"
#include "KernelFixture.h"
#include "geometry/PointMath.h"
#include "geometry/Tolerances.h"
#include "host/CurvicraftPlugin.h"
#include "host/PluginEntry.h"
#include "tools/corner/CornerSector.h"
#include "tools/corner/RoundFillet.h"
#include "tools/corner/TwoPieceArc.h"
#include "tools/framework/CurvicraftGlobals.h"
#include "tools/framework/ToolCtrlr.h"
#include "tools/framework/ToolTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace curvicraft;
using kerneltest::parsePath;
using kerneltest::PathSpec;

namespace {

constexpr double kDeg = kPi / 180;
const double kSqrtHalf = std::sqrt(0.5);

// Radial deviation of the two-piece arc from its circle, relative to the radius. The tables give at most
// about 3e-4 for any opening; a wrong entry or interpolation gives far more.
constexpr double kArcDeviation = 4e-4;

double cross(const RealPoint& a, const RealPoint& b)
{
    return a.x * b.y - a.y * b.x;
}

double dot(const RealPoint& a, const RealPoint& b)
{
    return a.x * b.x + a.y * b.y;
}

using cornertest::arcDeviation;

RealPoint unit(const RealPoint& v)
{
    const double l = std::hypot(v.x, v.y);
    return RealPoint{v.x / l, v.y / l};
}

// Checks that three anchors form a fillet of radius r about the centre, tangent to the line through prev
// and the corner at arc[0] and to the line through next and the corner at arc[2].
void expectFillet(const PathSegment arc[3], const RealPoint& prev, const RealPoint& corner, const RealPoint& next,
                  const RealPoint& centre, double r, const std::string& what)
{
    SCOPED_TRACE(what);
    const double eps = 1e-9 * std::max(1.0, r);
    const RealPoint& t1 = arc[0].anchor;
    const RealPoint& m = arc[1].anchor;
    const RealPoint& t2 = arc[2].anchor;
    const RealPoint lineP = unit(subtractPoints(corner, prev));
    const RealPoint lineN = unit(subtractPoints(corner, next));

    // Tangent points on the corner lines, at the foot of the centre, on the circle.
    EXPECT_NEAR(cross(lineP, subtractPoints(t1, corner)), 0, eps);
    EXPECT_NEAR(cross(lineN, subtractPoints(t2, corner)), 0, eps);
    EXPECT_NEAR(dot(lineP, subtractPoints(centre, t1)), 0, eps);
    EXPECT_NEAR(dot(lineN, subtractPoints(centre, t2)), 0, eps);
    EXPECT_NEAR(pointDistance(t1, centre), std::fabs(r), eps);
    EXPECT_NEAR(pointDistance(t2, centre), std::fabs(r), eps);
    EXPECT_NEAR(pointDistance(m, centre), std::fabs(r), eps);

    // Handles: the ends run along the corner lines towards the corner, the middle ones along the tangent.
    EXPECT_TRUE(pointsEqual(arc[0].in, t1));
    EXPECT_TRUE(pointsEqual(arc[2].out, t2));
    EXPECT_NEAR(cross(lineP, subtractPoints(arc[0].out, t1)), 0, eps);
    EXPECT_NEAR(cross(lineN, subtractPoints(arc[2].in, t2)), 0, eps);
    EXPECT_GT(dot(subtractPoints(arc[0].out, t1), subtractPoints(corner, t1)), 0);
    EXPECT_GT(dot(subtractPoints(arc[2].in, t2), subtractPoints(corner, t2)), 0);
    EXPECT_NEAR(dot(subtractPoints(arc[1].in, m), subtractPoints(m, centre)), 0, eps * std::max(1.0, r));
    EXPECT_NEAR(arc[1].in.x - m.x, m.x - arc[1].out.x, eps);
    EXPECT_NEAR(arc[1].in.y - m.y, m.y - arc[1].out.y, eps);
    // The midpoint's in handle points back to the first tangent point's side.
    EXPECT_GT(dot(subtractPoints(arc[1].in, m), subtractPoints(t1, m)), 0);

    EXPECT_EQ(arc[0].corner, 1);
    EXPECT_EQ(arc[1].corner, 0);
    EXPECT_EQ(arc[2].corner, 1);
    EXPECT_LT(arcDeviation(arc, centre, r), kArcDeviation);
}

RadiusCornerSettings settingsFor(std::int16_t opeStyle, double snapSize = 20, double fixedRadius = 50)
{
    RadiusCornerSettings s;
    s.opeStyle = opeStyle;
    s.snapSize = snapSize;
    s.fixedRadius = fixedRadius;
    return s;
}

bool fillet(const PathSpec& path, int anchor, const RealPoint& current, const RealPoint& press,
            const RadiusCornerSettings& settings, RoundFillet& out)
{
    return computeRoundFillet(path.segments.data(), static_cast<int>(path.segments.size()), path.closed, anchor,
                              current, press, settings, out);
}

// The square's corner (100, 100) lies between anchor 1 (100, 0) and anchor 3 (0, 100).
const char* const kSquare = "M 0,0 L 100,0 L 100,100 L 0,100 Z";

TEST(RoundFilletGeometry, SizeModesOnTheSquareCorner)
{
    const PathSpec square = parsePath(kSquare);
    const RealPoint o{100, 100};
    struct Case {
        const char* what;
        RadiusCornerSettings settings;
        double drag; // along the inward bisector from the corner
        double radius;
    };
    const Case cases[] = {
        {"free: centre at the drag distance", settingsFor(0), 30, 30 * kSqrtHalf},
        {"unknown mode behaves as free", settingsFor(7), 30, 30 * kSqrtHalf},
        {"snap rounds up to the next step", settingsFor(1, 20), 30, 40},
        {"snap with a step that is not a divisor", settingsFor(1, 15), 30, 30},
        {"fixed, short drag", settingsFor(2, 20, 50), 5, 50},
        {"fixed, long drag", settingsFor(2, 20, 50), 200, 50},
        {"fixed radius at the 0.1 limit", settingsFor(2, 20, 0.1), 30, 0.1},
    };
    for (const Case& c : cases) {
        const RealPoint p = addPoints(o, polarPoint(c.drag, 225 * kDeg));
        RoundFillet f;
        ASSERT_TRUE(fillet(square, 2, p, o, c.settings, f)) << c.what;
        EXPECT_NEAR(f.radius, c.radius, 1e-9) << c.what;
        const RealPoint centre = addPoints(o, polarPoint(c.radius / kSqrtHalf, 225 * kDeg));
        EXPECT_NEAR(f.centre.x, centre.x, 1e-9) << c.what;
        EXPECT_NEAR(f.centre.y, centre.y, 1e-9) << c.what;
        expectFillet(f.arc, {100, 0}, o, {0, 100}, f.centre, f.radius, c.what);
        EXPECT_TRUE(pointsEqual(f.guide[0], f.arc[0].anchor) && pointsEqual(f.guide[1], f.centre) &&
                    pointsEqual(f.guide[2], f.arc[2].anchor))
            << c.what;
    }
}

TEST(RoundFilletGeometry, BisectorDragOfThirty)
{
    const PathSpec square = parsePath(kSquare);
    RoundFillet f;
    ASSERT_TRUE(fillet(square, 2, {100 - 30 * kSqrtHalf, 100 - 30 * kSqrtHalf}, {100, 100}, settingsFor(0), f));
    const double r = 30 * kSqrtHalf; // 21.213
    EXPECT_NEAR(r, 21.213, 5e-4);
    EXPECT_NEAR(f.arc[0].anchor.x, 100, 1e-9);
    EXPECT_NEAR(f.arc[0].anchor.y, 100 - r, 1e-9);
    EXPECT_NEAR(f.arc[2].anchor.x, 100 - r, 1e-9);
    EXPECT_NEAR(f.arc[2].anchor.y, 100, 1e-9);
    // The arc's midpoint on the bisector, r from the centre towards the corner; half-arcs of 45 degrees take
    // the ninth entries of the handle tables.
    EXPECT_NEAR(pointDistance(f.arc[1].anchor, {100, 100}), 30 - r, 1e-9);
    EXPECT_NEAR(pointDistance(f.arc[0].out, f.arc[0].anchor), r * kQuarterArcHandle * kArcEndHandleRatio[9], 1e-9);
    EXPECT_NEAR(pointDistance(f.arc[1].in, f.arc[1].anchor), r * kQuarterArcHandle * kArcMidHandleRatio[9], 1e-9);
}

TEST(RoundFilletGeometry, DragDirectionChoosesTheSector)
{
    const PathSpec square = parsePath(kSquare);
    const RealPoint o{100, 100};
    struct Case {
        const char* what;
        double direction; // of the drag from the corner, degrees
        RealPoint t1, t2; // expected tangent points for a fixed radius of 10
    };
    const Case cases[] = {
        {"inwards", 225, {100, 90}, {90, 100}},
        {"outwards: on the extensions beyond the corner", 45, {100, 110}, {110, 100}},
        {"along the first segment's extension side", 135, {100, 110}, {90, 100}},
        {"along the second segment's extension side", 315, {100, 90}, {110, 100}},
    };
    for (const Case& c : cases) {
        RoundFillet f;
        ASSERT_TRUE(fillet(square, 2, addPoints(o, polarPoint(30, c.direction * kDeg)), o, settingsFor(2, 20, 10), f))
            << c.what;
        EXPECT_NEAR(f.arc[0].anchor.x, c.t1.x, 1e-9) << c.what;
        EXPECT_NEAR(f.arc[0].anchor.y, c.t1.y, 1e-9) << c.what;
        EXPECT_NEAR(f.arc[2].anchor.x, c.t2.x, 1e-9) << c.what;
        EXPECT_NEAR(f.arc[2].anchor.y, c.t2.y, 1e-9) << c.what;
        expectFillet(f.arc, {100, 0}, o, {0, 100}, f.centre, 10, c.what);
    }
}

TEST(RoundFilletGeometry, RadiusBeyondTheNeighboursIsNotClamped)
{
    // Segments of 100 and 40 with a radius of 500: both tangent points lie past the neighbouring anchors.
    const PathSpec path = parsePath("M 100,0 L 100,100 L 60,100");
    const RealPoint o{100, 100};
    RoundFillet f;
    ASSERT_TRUE(fillet(path, 1, addPoints(o, polarPoint(30, 225 * kDeg)), o, settingsFor(2, 20, 500), f));
    EXPECT_NEAR(f.arc[0].anchor.y, -400, 1e-9);
    EXPECT_NEAR(f.arc[2].anchor.x, -400, 1e-9);
    expectFillet(f.arc, {100, 0}, o, {60, 100}, f.centre, 500, "radius 500");
}

TEST(RoundFilletGeometry, OpeningAngles)
{
    // Corner at the origin between the negative x axis and a ray at `opening` degrees; the drag goes into
    // the sector between them (or the wider one, which folds onto the narrow side of the opposite rays).
    struct Case {
        const char* what;
        double opening;
        double dragDirection;
        bool filleted;
    };
    const Case cases[] = {
        {"sharp 20 degrees", 20, 170, true},
        {"obtuse 120 degrees", 120, 150, true},
        {"178 degrees", 178, 89, true},
        {"178 degrees, the wide side", 178, 269, true},
        {"179.5 degrees is left alone", 179.5, 89.75, false},
        {"179.5 degrees, the wide side", 179.5, 269.75, false},
        {"a straight line", 180, 90, false},
    };
    for (const Case& c : cases) {
        const RealPoint prev{-100, 0};
        const RealPoint next = polarPoint(100, (180 - c.opening) * kDeg);
        PathSpec path;
        path.segments = {{prev, prev, prev, 1}, {{0, 0}, {0, 0}, {0, 0}, 1}, {next, next, next, 1}};
        RoundFillet f;
        const bool made = fillet(path, 1, polarPoint(30, c.dragDirection * kDeg), {0, 0}, settingsFor(2, 20, 10), f);
        EXPECT_EQ(made, c.filleted) << c.what;
        if (made && c.filleted)
            expectFillet(f.arc, prev, {0, 0}, next, f.centre, 10, c.what);
    }
}

TEST(RoundFilletGeometry, NoChange)
{
    const PathSpec square = parsePath(kSquare);
    const RealPoint o{100, 100};
    const RealPoint inwards = addPoints(o, polarPoint(30, 225 * kDeg));
    struct Case {
        const char* what;
        PathSpec path;
        int anchor;
        RealPoint current;
        RadiusCornerSettings settings;
    };
    const Case cases[] = {
        {"two anchors", parsePath("M 0,0 L 100,0"), 1, {50, -30}, settingsFor(0)},
        {"first anchor of an open path", parsePath("M 100,100 L 100,0 L 0,0"), 0, inwards, settingsFor(0)},
        {"last anchor of an open path", parsePath("M 0,0 L 100,0 L 100,100"), 2, inwards, settingsFor(0)},
        {"anchor index out of range", square, 4, inwards, settingsFor(0)},
        {"curved previous segment", parsePath("M 0,0 L 100,0 C 110,30 110,70 100,100 L 0,100 Z"), 2, inwards,
         settingsFor(0)},
        {"curved next segment", parsePath("M 0,0 L 100,0 L 100,100 C 70,110 30,110 0,100 Z"), 2, inwards,
         settingsFor(0)},
        {"cursor on the corner", square, 2, o, settingsFor(2)},
        {"cursor on the first corner line", square, 2, {100, 70}, settingsFor(2)},
        {"cursor within 0.01 degree of the second line", square, 2, addPoints(o, polarPoint(30, 179.995 * kDeg)),
         settingsFor(2)},
        {"cursor on the extension of a line", square, 2, {100, 130}, settingsFor(2)},
        {"free radius below 0.1", square, 2, addPoints(o, polarPoint(0.1, 225 * kDeg)), settingsFor(0)},
        {"snap size 0", square, 2, inwards, settingsFor(1, 0)},
        {"fixed radius below 0.1", square, 2, inwards, settingsFor(2, 20, 0.099)},
        {"fixed radius 0", square, 2, inwards, settingsFor(2, 20, 0)},
        {"NaN cursor", square, 2, {std::nan(""), 50}, settingsFor(2)},
        {"NaN fixed radius", square, 2, inwards, settingsFor(2, 20, std::nan(""))},
    };
    for (const Case& c : cases) {
        RoundFillet f;
        EXPECT_FALSE(fillet(c.path, c.anchor, c.current, o, c.settings, f)) << c.what;
    }

    // A corner anchor whose own handles are extended (a smooth point on straight neighbours).
    PathSpec handles = square;
    handles.segments[2].in = {100, 90};
    RoundFillet f;
    EXPECT_FALSE(fillet(handles, 2, inwards, o, settingsFor(0), f));
    handles = square;
    handles.segments[2].out = {90, 100};
    EXPECT_FALSE(fillet(handles, 2, inwards, o, settingsFor(0), f));
}

TEST(RoundFilletGeometry, FirstAnchorOfAClosedPathUsesTheLastAsNeighbour)
{
    const PathSpec square = parsePath(kSquare);
    RoundFillet f;
    ASSERT_TRUE(fillet(square, 0, polarPoint(30, 45 * kDeg), {0, 0}, settingsFor(0), f));
    // Neighbours (0, 100), the last anchor, and (100, 0), the second.
    EXPECT_NEAR(f.arc[0].anchor.x, 0, 1e-9);
    EXPECT_NEAR(f.arc[2].anchor.y, 0, 1e-9);
    expectFillet(f.arc, {0, 100}, {0, 0}, {100, 0}, f.centre, 30 * kSqrtHalf, "closed path, anchor 0");
}

TEST(RoundFilletGeometry, SnapIsStrictlyAboveAndHandleTablesInterpolate)
{
    struct Case {
        SizeMode mode;
        double free, snap, fixed, expected;
    };
    const Case cases[] = {
        {SizeMode::Snap, 21.213, 20, 50, 40}, {SizeMode::Snap, 40, 20, 50, 60},
        {SizeMode::Snap, 39.999, 20, 50, 40}, {SizeMode::Snap, 0, 20, 50, 20},
        {SizeMode::Snap, 30, 0, 50, 0},       {SizeMode::Fixed, 30, 20, 50, 50},
        {SizeMode::Free, 30, 20, 50, 30},     {SizeMode::Snap, 1e308, 1e-308, 50, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sizeForMode(c.mode, c.free, c.snap, c.fixed), c.expected) << c.free << " step " << c.snap;
    EXPECT_EQ(sizeModeOf(1), SizeMode::Snap);
    EXPECT_EQ(sizeModeOf(2), SizeMode::Fixed);
    EXPECT_EQ(sizeModeOf(-1), SizeMode::Free);

    // Half-arc of 7.5 degrees: halfway between the 5 and 10 degree entries.
    const ArcHandleLengths l = twoPieceArcHandles(10, 7.5);
    EXPECT_DOUBLE_EQ(l.end, 10 * kQuarterArcHandle * (kArcEndHandleRatio[1] + kArcEndHandleRatio[2]) / 2);
    EXPECT_DOUBLE_EQ(l.mid, 10 * kQuarterArcHandle * (kArcMidHandleRatio[1] + kArcMidHandleRatio[2]) / 2);
    // At 90 degrees the trailing entries are weighted by 0; out-of-range and NaN angles stay in the table.
    EXPECT_DOUBLE_EQ(twoPieceArcHandles(1, 90).end, kQuarterArcHandle);
    EXPECT_DOUBLE_EQ(twoPieceArcHandles(1, 120).mid, kQuarterArcHandle);
    EXPECT_EQ(twoPieceArcHandles(1, std::nan("")).end, 0);
}

// ---- whole presses through PluginMain --------------------------------------------------------------

class RoundFilletPress : public cornertest::CornerPressTest {
  protected:
    void SetUp() override { start("Round Fillet tool"); }
    RadiusCornerSettings& settings() { return globals()->roundCorner; }
};

using cornertest::ArtState;
using cornertest::towards;
using minihost::ObjectId;

TEST_F(RoundFilletPress, BisectorDragThroughTheShippedLibrary)
{
    // Restart on the library the host loads, not the linked copy.
    host.shutdown();
    host.setDocument(nullptr);
    host.unload(true);
    lines.clear();
    start("Round Fillet tool", false);
    const ObjectId square = addPath(kSquare);
    const std::vector<CCPathSegment> before = segs(square);

    const RealPoint o{100, 100};
    press(o, {towards(o, 10, 225), towards(o, 30, 225)});
    const double r = 30 * kSqrtHalf;
    ASSERT_EQ(segs(square).size(), 6u) << "the corner anchor becomes three";
    expectFillet(&segs(square)[2], {100, 0}, o, {0, 100}, towards(o, 30, 225), r, "bisector drag of 30");
    for (int i : {0, 1})
        EXPECT_TRUE(pointsEqual(segs(square)[i].anchor, before[i].anchor));
    EXPECT_TRUE(pointsEqual(segs(square)[5].anchor, before[3].anchor));
    EXPECT_TRUE(printed("label 21.213 pt")) << "the cursor label shows the radius";
    EXPECT_EQ(artCount(), 1u) << "the radius guide is gone after the release";
}

TEST_F(RoundFilletPress, DragStepsRebuildFromTheMouseDownStateAndShowTheGuide)
{
    const ObjectId square = addPath(kSquare);
    const RealPoint o{100, 100};
    ASSERT_EQ(host.mouseDown(o), kCCNoErr);
    EXPECT_EQ(artCount(), 1u) << "nothing changes with the cursor on the anchor";
    for (double drag : {50.0, 12.0, 30.0}) {
        ASSERT_EQ(host.mouseDrag(towards(o, drag, 225)), kCCNoErr);
        const double r = drag * kSqrtHalf;
        ASSERT_EQ(segs(square).size(), 6u) << "drag " << drag << ": earlier steps are reverted, not stacked";
        expectFillet(&segs(square)[2], {100, 0}, o, {0, 100}, towards(o, drag, 225), r, "drag step");

        // The guide: a new open path on top of the layer from tangent point through centre to tangent point.
        ASSERT_EQ(artCount(), 2u);
        const ObjectId guide = doc->get(doc->layer(layer)->group)->firstChild;
        ASSERT_NE(guide, square);
        const auto& g = segs(guide);
        ASSERT_EQ(g.size(), 3u);
        EXPECT_FALSE(doc->get(guide)->closed);
        EXPECT_TRUE(pointsEqual(g[0].anchor, segs(square)[2].anchor));
        EXPECT_NEAR(g[1].anchor.x, towards(o, drag, 225).x, 1e-9);
        EXPECT_NEAR(g[1].anchor.y, towards(o, drag, 225).y, 1e-9);
        EXPECT_TRUE(pointsEqual(g[2].anchor, segs(square)[4].anchor));
        for (const CCPathSegment& s : g)
            EXPECT_TRUE(pointsEqual(s.in, s.anchor) && pointsEqual(s.out, s.anchor) && s.corner == 1);
        EXPECT_NEAR(settings().lastRadius, r, 1e-9);
    }
    ASSERT_EQ(host.mouseUp(towards(o, 30, 225)), kCCNoErr);
    EXPECT_EQ(artCount(), 1u) << "only the fillet remains";
    EXPECT_EQ(segs(square).size(), 6u);
    EXPECT_NE(doc->get(square)->attrs & kCCArtSelected, 0);
}

TEST_F(RoundFilletPress, SizeModesSectorsAndCorners)
{
    struct Case {
        const char* what;
        const char* path;
        int anchor;
        std::int16_t opeStyle;
        double snapSize, fixedRadius;
        RealPoint drag;   // cursor of the last drag step
        RealPoint centre; // expected
        double radius;    // expected; 0 when nothing changes
    };
    const RealPoint o{100, 100};
    const Case cases[] = {
        {"snap 20 above 21.213", kSquare, 2, 1, 20, 50, towards(o, 30, 225), towards(o, 40 / kSqrtHalf, 225), 40},
        {"fixed 50, short drag", kSquare, 2, 2, 20, 50, towards(o, 10, 225), towards(o, 50 / kSqrtHalf, 225), 50},
        {"fixed 50, long drag", kSquare, 2, 2, 20, 50, towards(o, 90, 225), towards(o, 50 / kSqrtHalf, 225), 50},
        {"fixed 50, outwards", kSquare, 2, 2, 20, 50, towards(o, 10, 45), towards(o, 50 / kSqrtHalf, 45), 50},
        {"outwards, free: tangent points on the extensions", kSquare, 2, 0, 20, 50, towards(o, 30, 45),
         towards(o, 30, 45), 30 * kSqrtHalf},
        {"radius beyond both neighbours", "M 100,0 L 100,100 L 60,100", 1, 2, 20, 500, towards(o, 30, 225),
         towards(o, 500 / kSqrtHalf, 225), 500},
        {"first anchor of a closed path", kSquare, 0, 0, 20, 50, towards({0, 0}, 30, 45), towards({0, 0}, 30, 45),
         30 * kSqrtHalf},
        {"first anchor of an open path", "M 0,0 L 100,0 L 100,100", 0, 0, 20, 50, towards({0, 0}, 30, 45), {}, 0},
        {"last anchor of an open path", "M 0,0 L 100,0 L 100,100", 2, 0, 20, 50, towards(o, 30, 225), {}, 0},
        {"snap size 0", kSquare, 2, 1, 0, 50, towards(o, 30, 225), {}, 0},
        {"fixed radius below 0.1", kSquare, 2, 2, 20, 0.09, towards(o, 30, 225), {}, 0},
        {"a curved neighbour",
         "M 0,0 L 100,0 L 100,100 C 70,130 30,130 0,100 Z",
         2,
         0,
         20,
         50,
         towards(o, 30, 225),
         {},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        doc->deselectAll();
        const ObjectId path = addPath(c.path);
        const std::vector<CCPathSegment> before = segs(path);
        const std::vector<ArtState> document = snapshot();
        settings().opeStyle = c.opeStyle;
        settings().snapSize = c.snapSize;
        settings().fixedRadius = c.fixedRadius;
        const RealPoint corner = before[static_cast<std::size_t>(c.anchor)].anchor;
        press(corner, {c.drag});
        if (c.radius == 0) {
            EXPECT_EQ(snapshot(), document) << "nothing changes";
            continue;
        }
        ASSERT_EQ(segs(path).size(), before.size() + 2);
        const int n = static_cast<int>(before.size());
        const RealPoint prev = before[static_cast<std::size_t>((c.anchor + n - 1) % n)].anchor;
        const RealPoint next = before[static_cast<std::size_t>((c.anchor + 1) % n)].anchor;
        expectFillet(&segs(path)[static_cast<std::size_t>(c.anchor)], prev, corner, next, c.centre, c.radius, c.what);
        EXPECT_NEAR(settings().lastRadius, c.radius, 1e-9);
        EXPECT_EQ(artCount() + 1, document.size()) << "no guide left";
        doc->dispose(path);
    }
}

TEST_F(RoundFilletPress, NearlyStraightCorners)
{
    // The corner at (100, 0) between (0, 0) and a segment rising at `rise` degrees.
    for (auto [rise, filleted] : {std::pair{0.5, false}, std::pair{2.0, true}}) {
        SCOPED_TRACE(rise);
        const RealPoint corner{100, 0};
        PathSpec shape = parsePath("M 0,0 L 100,0 L 200,0");
        const RealPoint next = towards(corner, 100, rise);
        shape.segments[2] = {next, next, next, 1};
        const ObjectId path = addPath(shape);
        const std::vector<CCPathSegment> before = segs(path);
        press(corner, {{100, 30}});
        if (!filleted) {
            EXPECT_EQ(segs(path).size(), 3u) << "179.5 degrees is left alone";
            continue;
        }
        ASSERT_EQ(segs(path).size(), 5u) << "178 degrees is filleted";
        const double f = (180 - rise) / 2 * kDeg;
        expectFillet(&segs(path)[1], {0, 0}, corner, before[2].anchor, towards(corner, 30, 90 + rise / 2),
                     30 * std::sin(f), "178 degrees");
        doc->dispose(path);
    }
}

TEST_F(RoundFilletPress, AltReleaseCopiesTheLastRadiusInFreeAndSnapMode)
{
    const ObjectId square = addPath(kSquare);
    const RealPoint o{100, 100};
    struct Case {
        std::int16_t opeStyle;
        double expectedFixed;
    };
    // Each press fillets the square's corner again (then undone); the last radius of the press is copied.
    const Case cases[] = {{0, 30 * kSqrtHalf}, {1, 40}, {9, 30 * kSqrtHalf}};
    for (const Case& c : cases) {
        settings().opeStyle = c.opeStyle;
        settings().fixedRadius = 50;
        press(o, {towards(o, 30, 225)}, kCCEventModifierOption);
        EXPECT_NEAR(settings().fixedRadius, c.expectedFixed, 1e-9) << "ope_style " << c.opeStyle;
        ASSERT_TRUE(host.undo());
    }

    // Without Alt nothing is copied.
    settings().opeStyle = 0;
    settings().fixedRadius = 50;
    press(o, {towards(o, 30, 225)});
    EXPECT_EQ(settings().fixedRadius, 50);
    ASSERT_TRUE(host.undo());

    // Fixed mode: a press that makes no fillet leaves the last radius (21.213) in place, and Alt keeps 50.
    settings().opeStyle = 2;
    press(o, {}, kCCEventModifierOption);
    EXPECT_NEAR(settings().lastRadius, 30 * kSqrtHalf, 1e-9);
    EXPECT_EQ(settings().fixedRadius, 50);
    // The same press in free mode copies it.
    settings().opeStyle = 0;
    press(o, {}, kCCEventModifierOption);
    EXPECT_NEAR(settings().fixedRadius, 30 * kSqrtHalf, 1e-9);
    EXPECT_EQ(segs(square).size(), 4u);
}

TEST_F(RoundFilletPress, OneUndoTakesBackTheWholePress)
{
    const ObjectId square = addPath(kSquare);
    const std::vector<ArtState> before = snapshot();
    const RealPoint o{100, 100};
    press(o, {towards(o, 10, 225), towards(o, 20, 200), towards(o, 40, 225)});
    ASSERT_NE(snapshot(), before);
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(snapshot(), before) << "the square is back exactly, no guide left";
    EXPECT_FALSE(host.undo()) << "the press was one step";
    ASSERT_TRUE(host.redo());
    ASSERT_EQ(segs(square).size(), 6u);
    expectFillet(&segs(square)[2], {100, 0}, o, {0, 100}, towards(o, 40, 225), 40 * kSqrtHalf, "redone");
    EXPECT_EQ(artCount(), 1u);
}

TEST_F(RoundFilletPress, FailedPressesLeaveTheDocumentAsItWas)
{
    const RealPoint o{100, 100};
    struct Case {
        const char* what;
        std::function<void()> build;
        RealPoint at;
        bool picked = false; // the press picks the corner; only the rebuild fails
    };
    const Case cases[] = {
        {"unselected path", [&] { addPath(kSquare, 0); }, o},
        {"empty space", [&] { addPath(kSquare); }, {300, 300}},
        {"on a segment, not an anchor", [&] { addPath(kSquare); }, {100, 50}},
        {"on a handle of a selected path",
         [&] { addPath("M 0,0 L 100,0 L 100,100 C 100,140 40,160 0,100 Z"); },
         {100, 140}},
        {"path carrying text on a path",
         [&] {
             const ObjectId text = doc->create(kCCTextPathArt, kCCPlaceInsideOnTop, 0);
             addPath(kSquare, kCCArtSelected, text);
             doc->setAttrs(text, kCCArtSelected | kCCArtFullySelected, kCCArtSelected | kCCArtFullySelected);
         },
         o},
        {"a path that cannot take two more anchors",
         [&] {
             // A square corner at (100, 100) followed by a long row of anchors up to 32,766 in all.
             std::string text = "M 0,0 L 100,0 L 100,100";
             for (int i = 3; i < kCCMaxPathSegments - 1; ++i)
                 text += " L " + std::to_string(-i * 0.001) + ",100";
             addPath(text);
         },
         o, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host.setDocument(nullptr);
        auto d = std::make_unique<minihost::Document>();
        layer = d->addLayer("Layer 1");
        doc = d.get();
        host.setDocument(std::move(d));
        c.build();
        const std::vector<ArtState> before = snapshot();
        press(c.at, {towards(c.at, 30, 225), towards(c.at, 40, 225)}, kCCEventModifierOption);
        EXPECT_EQ(snapshot(), before);
        EXPECT_FALSE(host.undo()) << "no history entry";
        if (!c.picked) {
            EXPECT_EQ(settings().fixedRadius, 50) << "the release of a failed pick does nothing";
        }
    }
}

TEST_F(RoundFilletPress, PanelTextInDocumentUnits)
{
    const std::unique_ptr<ToolCtrlr> ctrlr = createToolCtrlr(kRoundFilletSlot);
    ASSERT_NE(ctrlr, nullptr);
    SettingsWriter limits;
    ctrlr->writeMinValues(limits);
    ctrlr->writeMaxValues(limits);
    EXPECT_EQ(limits.text(), "<snap_size>0</snap_size><fixed_radius>0</fixed_radius>"
                             "<snap_size>4000</snap_size><fixed_radius>4000</fixed_radius>");

    // A fillet of 21.213 pt, shown in millimetres.
    const ObjectId square = addPath(kSquare);
    const RealPoint o{100, 100};
    press(o, {towards(o, 30, 225)});
    ASSERT_EQ(segs(square).size(), 6u);
    globals()->unitsIndex = 5;
    std::string info;
    ASSERT_EQ(ctrlr->currentInfo(info), kCCNoErr);
    EXPECT_EQ(info, "7.484 mm");
    SettingsWriter params;
    ASSERT_EQ(ctrlr->writeParams(params), kCCNoErr);
    EXPECT_EQ(params.text(), "<units>mm</units><ope_style>0</ope_style><snap_size>7.05556</snap_size>"
                             "<fixed_radius>17.6389</fixed_radius><curr_info>7.484 mm</curr_info>");

    // What the panel sends back is read in the same units; the last radius is cleared.
    EXPECT_EQ(ctrlr->readParams("<ope_style>2</ope_style><snap_size>5</snap_size><fixed_radius>25.4</fixed_radius>"),
              1);
    EXPECT_EQ(settings().opeStyle, 2);
    EXPECT_NEAR(settings().snapSize, 5 * 72 / 25.4, 1e-9);
    EXPECT_NEAR(settings().fixedRadius, 72, 1e-9);
    EXPECT_EQ(settings().lastRadius, 0);
    ASSERT_EQ(ctrlr->currentInfo(info), kCCNoErr);
    EXPECT_EQ(info, "0 mm");

    // Tags that are missing or no numbers keep their values.
    EXPECT_EQ(ctrlr->readParams("<snap_size>abc</snap_size>"), 1);
    EXPECT_EQ(settings().opeStyle, 2);
    EXPECT_NEAR(settings().snapSize, 5 * 72 / 25.4, 1e-9);
    EXPECT_NEAR(settings().fixedRadius, 72, 1e-9);

    // The next press uses what the panel set: fixed mode, 72 pt.
    ASSERT_TRUE(host.undo());
    press(o, {towards(o, 30, 225)});
    ASSERT_EQ(segs(square).size(), 6u);
    expectFillet(&segs(square)[2], {100, 0}, o, {0, 100}, towards(o, 72 / kSqrtHalf, 225), 72, "fixed 72 pt");
}

} // namespace
