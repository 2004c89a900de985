// Smart Rounding on minihost documents: corner budgets, shared cut points, the arc shape of the rounding
// curves, and every rule that leaves a path as it was.
#include "KernelFixture.h"

#include "geometry/CurveMath.h"
#include "geometry/PointMath.h"
#include "host/ErrorAlert.h"
#include "host/Suites.h"
#include "smartround/SmartRound.h"

#include <cmath>
#include <numbers>
#include <random>

namespace {

using namespace curvicraft;
using curvicraft::sPath;
using kerneltest::KernelFixture;
using minihost::ObjectId;

constexpr double kDeg = std::numbers::pi / 180;

SmartRoundParams params(double convex, double concave, double angleDeg = 180, bool selectedOnly = false)
{
    SmartRoundParams p;
    p.initialised = 1;
    p.totsu_length = convex;
    p.ou_length = concave;
    p.effect_angle = angleDeg * kDeg;
    p.selectedOnly = selectedOnly ? 1 : 0;
    return p;
}

int countAnchorsAt(const std::vector<CCPathSegment>& segs, double x, double y, double tol = 1e-6)
{
    int count = 0;
    for (const auto& s : segs)
        if (std::fabs(s.anchor.x - x) <= tol && std::fabs(s.anchor.y - y) <= tol)
            ++count;
    return count;
}

CCRealPoint bezierAt(const CCBezier& b, double t)
{
    const double u = 1 - t;
    return {u * u * u * b.p0.x + 3 * u * u * t * b.p1.x + 3 * u * t * t * b.p2.x + t * t * t * b.p3.x,
            u * u * u * b.p0.y + 3 * u * u * t * b.p1.y + 3 * u * t * t * b.p2.y + t * t * t * b.p3.y};
}

// The curve from anchor i to the next one.
CCBezier curveFrom(const std::vector<CCPathSegment>& s, std::size_t i)
{
    const auto& a = s[i];
    const auto& b = s[(i + 1) % s.size()];
    return CCBezier{a.anchor, a.out, b.in, b.anchor};
}

bool sameSegments(const std::vector<CCPathSegment>& a, const std::vector<CCPathSegment>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!pointsEqual(a[i].anchor, b[i].anchor) || !pointsEqual(a[i].in, b[i].in) ||
            !pointsEqual(a[i].out, b[i].out) || a[i].corner != b[i].corner)
            return false;
    return true;
}

class SmartRoundTest : public KernelFixture {};

// The host's signed area is positive for clockwise paths (y up), so convex corners of either winding are
// classified convex; open paths are closed by their chord for the area, not for the length.
TEST_F(SmartRoundTest, HostPathAreaAndLength)
{
    struct Case {
        const char* path;
        double area, length;
    };
    const double k = 50 * 0.5522847498;
    char circle[300];
    std::snprintf(circle, sizeof circle,
                  "M 50,0 C 50,%.10f %.10f,50 0,50 C %.10f,50 -50,%.10f -50,0 C -50,%.10f %.10f,-50 0,-50 "
                  "C %.10f,-50 50,%.10f 50,0 Z",
                  k, k, -k, k, -k, -k, k, -k);
    const Case cases[] = {
        {"M 0,0 L 100,0 L 100,100 L 0,100 Z", -10000, 400},
        {"M 0,0 L 0,100 L 100,100 L 100,0 Z", 10000, 400},
        {"M 0,0 L 100,0 L 100,100", -5000, 200},
        {circle, -std::numbers::pi * 2500, std::numbers::pi * 100},
    };
    for (const Case& c : cases) {
        ObjectId id = addPath(c.path);
        double area = 0, length = 0;
        ASSERT_EQ(sPath->GetPathArea(h(id), &area), kCCNoErr);
        ASSERT_EQ(sPath->GetPathLength(h(id), &length, 1.0), kCCNoErr);
        EXPECT_NEAR(area, c.area, std::fabs(c.area) * 1e-3) << c.path;
        EXPECT_NEAR(length, c.length, c.length * 1e-3) << c.path;
    }
    EXPECT_EQ(sPath->GetPathArea(h(addContainer(kCCGroupArt)), nullptr), kCCBadParameterErr);
}

// A square of side 100 rounded with 20: eight anchors 20 from each corner, joined by quarter circles of
// radius 20, whichever way the square winds.
TEST_F(SmartRoundTest, SquareCornersBecomeQuarterCircles)
{
    for (const char* square : {"M 0,0 L 100,0 L 100,100 L 0,100 Z", "M 0,0 L 0,100 L 100,100 L 100,0 Z"}) {
        resetDocument();
        ObjectId id = addPath(square);
        ASSERT_EQ(roundPath(params(20, 20), h(id)), kCCNoErr);
        const auto& s = segs(id);
        ASSERT_EQ(s.size(), 8u) << square;
        for (auto [x, y] :
             {std::pair{20., 0.}, {80., 0.}, {100., 20.}, {100., 80.}, {80., 100.}, {20., 100.}, {0., 80.}, {0., 20.}})
            EXPECT_EQ(countAnchorsAt(s, x, y), 1) << square << " at " << x << "," << y;
        const double handle = arcHandleLength(20, std::numbers::pi / 2);
        EXPECT_NEAR(handle, 11.0457, 1e-3);
        int arcs = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const CCBezier c = curveFrom(s, i);
            if (isStraightBezier(c)) {
                EXPECT_NEAR(pointDistance(c.p0, c.p3), 60, 1e-9);
                continue;
            }
            ++arcs;
            EXPECT_NEAR(pointDistance(c.p0, c.p1), handle, 1e-9);
            EXPECT_NEAR(pointDistance(c.p3, c.p2), handle, 1e-9);
            // The arc's centre lies 20 inside both cut points; the curve stays on the circle.
            const CCRealPoint corner{std::round(c.p1.x / 100) * 100, std::round(c.p1.y / 100) * 100};
            const CCRealPoint centre{c.p0.x + c.p3.x - corner.x, c.p0.y + c.p3.y - corner.y};
            for (double t : {0.25, 0.5, 0.75})
                EXPECT_NEAR(pointDistance(centre, bezierAt(c, t)), 20, 0.01);
        }
        EXPECT_EQ(arcs, 4);
    }
}

// With 80 every side is shared by two corners and each takes half; the cut points meet at the midpoints.
TEST_F(SmartRoundTest, SharedSidesMeetAtOneCutPoint)
{
    ObjectId id = addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z");
    ASSERT_EQ(roundPath(params(80, 80), h(id)), kCCNoErr);
    const auto& s = segs(id);
    ASSERT_EQ(s.size(), 4u);
    for (auto [x, y] : {std::pair{50., 0.}, {100., 50.}, {50., 100.}, {0., 50.}})
        EXPECT_EQ(countAnchorsAt(s, x, y), 1) << x << "," << y;
    for (std::size_t i = 0; i < 4; ++i) {
        const CCBezier c = curveFrom(s, i);
        EXPECT_NEAR(pointDistance(c.p0, c.p1), arcHandleLength(50, std::numbers::pi / 2), 1e-9);
        EXPECT_NEAR(pointDistance(CCRealPoint{50, 50}, bezierAt(c, 0.5)), 50, 0.03);
    }
}

// An L-shaped notch: the side of 90 between the convex corner (300,200) and the concave corner (210,200)
// is split 60 : 30, and both cut points are the one point (240,200).
constexpr const char* kNotch = "M 0,0 L 300,0 L 300,200 L 210,200 L 210,300 L 0,300 Z";

TEST_F(SmartRoundTest, ConvexAndConcaveShareASideByTheirMaxima)
{
    ObjectId id = addPath(kNotch);
    ASSERT_EQ(roundPath(params(60, 30), h(id)), kCCNoErr);
    const auto& s = segs(id);
    EXPECT_EQ(s.size(), 11u);
    EXPECT_EQ(countAnchorsAt(s, 240, 200), 1);
    EXPECT_EQ(countAnchorsAt(s, 300, 140), 1); // the convex corner's other side: 60
    EXPECT_EQ(countAnchorsAt(s, 210, 230), 1); // the concave corner's other side: 30 (its share 33.3 is more)
    EXPECT_EQ(countAnchorsAt(s, 60, 0), 1);
}

TEST_F(SmartRoundTest, DisabledKindsStayCorners)
{
    struct Case {
        double convex, concave;
        std::size_t anchors;
        bool concaveCornerKept, convexCornersKept;
    };
    for (const Case& c : {Case{0, 10, 7, false, true}, Case{10, 0, 11, true, false}, Case{0, 0, 6, true, true}}) {
        resetDocument();
        ObjectId id = addPath(kNotch);
        ASSERT_EQ(roundPath(params(c.convex, c.concave), h(id)), kCCNoErr);
        const auto& s = segs(id);
        EXPECT_EQ(s.size(), c.anchors) << c.convex << "/" << c.concave;
        EXPECT_EQ(countAnchorsAt(s, 210, 200), c.concaveCornerKept ? 1 : 0);
        EXPECT_EQ(countAnchorsAt(s, 300, 200), c.convexCornersKept ? 1 : 0);
        if (!c.concaveCornerKept) {
            EXPECT_EQ(countAnchorsAt(s, 220, 200), 1);
            EXPECT_EQ(countAnchorsAt(s, 210, 210), 1);
        }
    }
}

// The end anchors of an open path are never rounded and do not share: the corner next to an end may
// take the whole first segment.
TEST_F(SmartRoundTest, OpenPathEndsStayAndDoNotShare)
{
    ObjectId id = addPath("M 0,0 L 10,0 L 10,100");
    ASSERT_EQ(roundPath(params(5, 5), h(id)), kCCNoErr);
    {
        const auto& s = segs(id);
        ASSERT_EQ(s.size(), 4u);
        EXPECT_EQ(countAnchorsAt(s, 0, 0), 1);
        EXPECT_EQ(countAnchorsAt(s, 5, 0), 1);
        EXPECT_EQ(countAnchorsAt(s, 10, 5), 1);
        EXPECT_EQ(countAnchorsAt(s, 10, 100), 1);
        EXPECT_FALSE(art(id).closed);
    }
    resetDocument();
    id = addPath("M 0,0 L 10,0 L 10,100");
    ASSERT_EQ(roundPath(params(30, 30), h(id)), kCCNoErr);
    const auto& s = segs(id);
    // The budget is the whole first segment (10): the cut point sits on the end anchor.
    EXPECT_EQ(countAnchorsAt(s, 0, 0), 2);
    EXPECT_EQ(countAnchorsAt(s, 10, 10), 1);
    EXPECT_EQ(countAnchorsAt(s, 10, 0), 0);
    EXPECT_TRUE(pointsEqual(s.front().anchor, CCRealPoint{0, 0}));
    EXPECT_TRUE(pointsEqual(s.back().anchor, CCRealPoint{10, 100}));
}

// An anchor bent by less than the limit is ignored: the corner's budget runs through it, and an ignored
// anchor inside the budget is dropped.
TEST_F(SmartRoundTest, BudgetsPassThroughIgnoredAnchors)
{
    constexpr const char* kBent = "M 0,0 L 20,-1 L 100,0 L 100,100 L 0,100 Z";
    ObjectId id = addPath(kBent);
    ASSERT_EQ(roundPath(params(30, 30, 170), h(id)), kCCNoErr);
    {
        const auto& s = segs(id);
        EXPECT_EQ(s.size(), 8u);
        EXPECT_EQ(countAnchorsAt(s, 20, -1), 0);
        // The cut point lies on the second piece, 30 along the path from the corner.
        const double along = pointDistance({0, 0}, {20, -1});
        const CCRealPoint expected =
            addPoints(CCRealPoint{20, -1}, polarPoint(30 - along, pointAngle({20, -1}, {100, 0})));
        EXPECT_EQ(countAnchorsAt(s, expected.x, expected.y, 0.1), 1);
    }
    // With nothing ignored the bent anchor is a corner of its own.
    resetDocument();
    id = addPath(kBent);
    ASSERT_EQ(roundPath(params(30, 30, 180), h(id)), kCCNoErr);
    EXPECT_EQ(segs(id).size(), 9u); // (0,0) and the bent anchor share their short side
    EXPECT_EQ(countAnchorsAt(segs(id), 20, -1), 0);
}

// With selected corners only, state 1 counts; state 4 (anchor with both handles) does not.
TEST_F(SmartRoundTest, SelectedCornersOnlyTakesStateOne)
{
    ObjectId id = addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z");
    const std::int16_t states[4] = {kCCSegmentPointSelected, kCCSegmentInAndOutSelected, kCCSegmentNotSelected,
                                    kCCSegmentPointSelected};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(doc->setAnchorSelection(id, i, states[i]));
    ASSERT_EQ(roundPath(params(20, 20, 180, true), h(id)), kCCNoErr);
    const auto& s = segs(id);
    EXPECT_EQ(s.size(), 6u);
    EXPECT_EQ(countAnchorsAt(s, 0, 0), 0);
    EXPECT_EQ(countAnchorsAt(s, 0, 100), 0);
    EXPECT_EQ(countAnchorsAt(s, 100, 0), 1);
    EXPECT_EQ(countAnchorsAt(s, 100, 100), 1);
}

// The hole of a compound path takes the orientation of the larger outline: its corners are concave.
TEST_F(SmartRoundTest, CompoundPathHoleCornersAreConcave)
{
    constexpr const char* kHole = "M 40,40 L 40,60 L 60,60 L 60,40 Z";
    for (bool inCompound : {false, true}) {
        resetDocument();
        ObjectId parent = inCompound ? addContainer(kCCCompoundPathArt) : 0;
        ObjectId hole = addPath(kHole, parent);
        addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z", parent);
        ASSERT_EQ(roundPath(params(8, 2), h(hole)), kCCNoErr);
        const double cut = inCompound ? 2 : 8;
        EXPECT_EQ(segs(hole).size(), 8u);
        EXPECT_EQ(countAnchorsAt(segs(hole), 40, 40 + cut), 1) << (inCompound ? "in compound" : "alone");
    }
}

// A side that is a quarter circle: the corner's budget along it ends where the curve has turned 30 degrees.
TEST_F(SmartRoundTest, CurvedSideBudgetEndsAtThirtyDegrees)
{
    const double k = 100 * 0.5522847498;
    char text[160];
    std::snprintf(text, sizeof text, "M 0,0 C %.10f,0 100,%.10f 100,100 L 100,400 L 0,400 Z", k, 100 - k);
    ObjectId id = addPath(text);
    ASSERT_EQ(roundPath(params(200, 200), h(id)), kCCNoErr);
    const auto& s = segs(id);
    // The cut point after (0,0) lies on the circle about (0,100), turned 30 degrees from (0,0).
    const CCRealPoint centre{0, 100};
    int found = 0;
    for (const auto& seg : s) {
        const double r = pointDistance(centre, seg.anchor);
        const double turned = (pointAngle(centre, seg.anchor) + std::numbers::pi / 2) / kDeg;
        // The cubic strays up to 0.03 from the circle.
        if (std::fabs(r - 100) < 0.05 && turned > 1 && turned < 45) {
            ++found;
            EXPECT_NEAR(turned, 30, 0.6);
        }
    }
    EXPECT_EQ(found, 1);
}

// Both ends of a quarter-circle side are corners: each takes 30 degrees of it, and the piece left between
// the two cut points is still the same circle.
TEST_F(SmartRoundTest, CurvedSideBetweenTwoCornersKeepsItsShape)
{
    const double k = 100 * 0.5522847498;
    char text[160];
    std::snprintf(text, sizeof text, "M 0,0 C %.10f,0 100,%.10f 100,100 L -200,100 L -200,-200 L 0,-200 Z", k, 100 - k);
    ObjectId id = addPath(text);
    ASSERT_EQ(roundPath(params(200, 200), h(id)), kCCNoErr);
    const auto& s = segs(id);
    const CCRealPoint centre{0, 100};
    std::vector<std::size_t> onArc;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double turned = (pointAngle(centre, s[i].anchor) + std::numbers::pi / 2) / kDeg;
        if (std::fabs(pointDistance(centre, s[i].anchor) - 100) < 0.05 && turned > 1 && turned < 89)
            onArc.push_back(i);
    }
    ASSERT_EQ(onArc.size(), 2u);
    ASSERT_EQ(onArc[1], onArc[0] + 1);
    const CCBezier middle = curveFrom(s, onArc[0]);
    for (double t : {0.0, 0.25, 0.5, 0.75, 1.0})
        EXPECT_NEAR(pointDistance(centre, bezierAt(middle, t)), 100, 0.05) << t;
    EXPECT_NEAR((pointAngle(centre, middle.p0) + std::numbers::pi / 2) / kDeg, 30, 0.6);
    EXPECT_NEAR((pointAngle(centre, middle.p3) + std::numbers::pi / 2) / kDeg, 60, 0.6);
}

// Random paths, open and closed, with curves, repeated anchors and tiny sides: the call succeeds, the
// result is finite, no cut point lies farther from an anchor as read than the largest length, and every
// buffer goes back to the host (checked by the fixture).
TEST_F(SmartRoundTest, RandomPathsGiveSoundResults)
{
    std::mt19937 rng(611);
    std::uniform_real_distribution<double> coord(-200, 200), unit(0, 1);
    int rounded = 0;
    for (int trial = 0; trial < 300; ++trial) {
        resetDocument();
        kerneltest::PathSpec shape;
        shape.closed = trial % 3 != 0;
        const int n = 2 + static_cast<int>(unit(rng) * 12);
        for (int i = 0; i < n; ++i) {
            CCRealPoint p{coord(rng), coord(rng)};
            if (i > 0 && unit(rng) < 0.1)
                p = shape.segments.back().anchor; // a zero-length side
            CCPathSegment seg{p, p, p, 1};
            if (unit(rng) < 0.4) {
                seg.in = {p.x + coord(rng) / 4, p.y + coord(rng) / 4};
                seg.out = unit(rng) < 0.5 ? CCRealPoint{2 * p.x - seg.in.x, 2 * p.y - seg.in.y}
                                          : CCRealPoint{p.x + coord(rng) / 4, p.y + coord(rng) / 4};
            }
            shape.segments.push_back(seg);
        }
        ObjectId id = addPath(shape);
        const auto before = segs(id);
        const double convex = unit(rng) * 60, concave = unit(rng) < 0.2 ? 0 : unit(rng) * 60;
        ASSERT_EQ(roundPath(params(convex, concave, 90 + unit(rng) * 90), h(id)), kCCNoErr) << trial;
        const auto& after = segs(id);
        ASSERT_GE(after.size(), 2u) << trial;
        rounded += after.size() != before.size();
        EXPECT_EQ(art(id).closed, shape.closed);
        for (const auto& seg : after) {
            ASSERT_TRUE(std::isfinite(seg.anchor.x) && std::isfinite(seg.anchor.y) && std::isfinite(seg.in.x) &&
                        std::isfinite(seg.in.y) && std::isfinite(seg.out.x) && std::isfinite(seg.out.y))
                << trial;
            double nearest = INFINITY;
            for (const auto& old : before)
                nearest = std::min(nearest, pointDistance(old.anchor, seg.anchor));
            EXPECT_LE(nearest, std::max(convex, concave) + 0.2) << trial;
        }
    }
    EXPECT_GT(rounded, 150); // the sample does exercise the rounding
}

// The working buffers come from host block memory under their names; a refused allocation at any point
// ends the call with the host's code, the path as it was and every block already taken given back.
namespace blockspy {
const CCBlocksSuite* real = nullptr;
std::vector<std::string> names;
int failAt = -1; // index of the allocation to refuse
CCErr allocate(size_t size, const char* name, void** block)
{
    const int index = static_cast<int>(names.size());
    names.push_back(name);
    if (index == failAt)
        return kCCOutOfMemoryErr;
    return real->AllocateBlock(size, name, block);
}
CCErr release(void* block)
{
    return real->FreeBlock(block);
}
CCErr reallocate(void* block, size_t size, const char* name, void** out)
{
    return real->ReallocateBlock(block, size, name, out);
}
const CCBlocksSuite table{allocate, release, reallocate};
} // namespace blockspy

TEST_F(SmartRoundTest, WorkingBuffersAreNamedAndAlwaysFreed)
{
    blockspy::real = curvicraft::sBlocks;
    curvicraft::sBlocks = &blockspy::table;
    blockspy::names.clear();
    blockspy::failAt = -1;
    ObjectId id = addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z");
    const auto before = segs(id);
    ASSERT_EQ(roundPath(params(20, 20), h(id)), kCCNoErr);
    const std::vector<std::string> expected = {"oldSegs", "segsData", "tmpSegs",    "tmpData",
                                               "lenData", "newSegs",  "newSegFlags"};
    EXPECT_EQ(blockspy::names, expected);
    EXPECT_TRUE(host.heldBlocks().empty());
    for (int fail = 0; fail < 7; ++fail) {
        resetDocument();
        id = addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z");
        blockspy::names.clear();
        blockspy::failAt = fail;
        EXPECT_EQ(roundPath(params(20, 20), h(id)), kCCOutOfMemoryErr) << expected[fail];
        EXPECT_TRUE(sameSegments(segs(id), before)) << expected[fail];
        EXPECT_TRUE(host.heldBlocks().empty()) << expected[fail];
    }
    curvicraft::sBlocks = blockspy::real;
}

TEST_F(SmartRoundTest, AlertGoesToTheHostExceptForCancel)
{
    std::vector<std::string> lines;
    host.setOutput([&](const std::string& line) { lines.push_back(line); });
    showErrorAlert(CC_FOURCC('S', 'T', 'O', 'P'));
    showErrorAlert(kCCNoErr);
    EXPECT_TRUE(lines.empty());
    showErrorAlert(kCCTooManySegmentsErr);
    EXPECT_EQ(lines, std::vector<std::string>{
                         "alert The filter cannot complete because a path has too many anchor points.\\nSEGM"});
    host.setOutput(nullptr);
}

TEST_F(SmartRoundTest, PathsThatCannotBeRoundedStayExactly)
{
    struct Case {
        const char* what;
        std::string path;
        SmartRoundParams p;
    };
    const std::vector<Case> cases = {
        {"both lengths 0", "M 0,0 L 100,0 L 100,100 L 0,100 Z", params(0, 0)},
        {"open with two anchors", "M 0,0 L 100,0", params(20, 20)},
        {"closed with one anchor", "M 0,0 Z", params(20, 20)},
        {"every angle ignored", "M 0,0 L 100,0 L 100,100 L 0,100 Z", params(20, 20, 80)},
        {"a circle (smooth anchors)",
         "M 100,50 C 100,77.6 77.6,100 50,100 C 22.4,100 0,77.6 0,50 C 0,22.4 22.4,0 50,0 C 77.6,0 100,22.4 100,50 Z",
         params(20, 20)},
    };
    for (const Case& c : cases) {
        resetDocument();
        ObjectId id = addPath(c.path);
        const auto before = segs(id);
        EXPECT_EQ(roundPath(c.p, h(id)), kCCNoErr) << c.what;
        EXPECT_TRUE(sameSegments(segs(id), before)) << c.what;
    }
    // Bad parameters are refused without touching the path.
    ObjectId id = addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z");
    const auto before = segs(id);
    for (double bad : {-1.0, std::nan(""), HUGE_VAL})
        EXPECT_EQ(roundPath(params(bad, 5), h(id)), kCCBadParameterErr);
    EXPECT_TRUE(sameSegments(segs(id), before));
}

// More than 8000 anchors before rounding, or after, leaves the path alone.
TEST_F(SmartRoundTest, AnchorLimitBeforeAndAfter)
{
    auto star = [](int n) {
        kerneltest::PathSpec shape;
        shape.closed = true;
        for (int i = 0; i < n; ++i) {
            const double r = i % 2 ? 900 : 1000, t = 2 * std::numbers::pi * i / n;
            CCRealPoint p{r * std::cos(t), r * std::sin(t)};
            shape.segments.push_back(CCPathSegment{p, p, p, 1});
        }
        return shape;
    };
    struct Case {
        int n;
        double length;
        bool changes;
    };
    // A square of side 8000 with an anchor every 4 points: 8000 anchors, four corners.
    auto dottedSquare = [] {
        kerneltest::PathSpec shape;
        shape.closed = true;
        const CCRealPoint corners[4] = {{0, 0}, {8000, 0}, {8000, 8000}, {0, 8000}};
        for (int side = 0; side < 4; ++side)
            for (int i = 0; i < 2000; ++i) {
                const CCRealPoint& a = corners[side];
                const CCRealPoint& b = corners[(side + 1) % 4];
                CCRealPoint p{a.x + (b.x - a.x) * i / 2000, a.y + (b.y - a.y) * i / 2000};
                shape.segments.push_back(CCPathSegment{p, p, p, 1});
            }
        return shape;
    };
    // 8001 anchors; 6000 corners with their own cut points (12000 after); 8000 anchors of which four are
    // corners (fewer after).
    for (const Case& c : {Case{8001, 200, false}, Case{6000, 0.05, false}, Case{8000, 20, true}}) {
        resetDocument();
        ObjectId id = addPath(c.n == 8000 ? dottedSquare() : star(c.n));
        const auto before = segs(id);
        EXPECT_EQ(roundPath(params(c.length, c.length), h(id)), kCCNoErr);
        EXPECT_EQ(!sameSegments(segs(id), before), c.changes) << c.n;
        if (c.changes) {
            // Each corner drops itself and the five anchors within 20 of it on either side (the cut point
            // takes the place of the one at 20): 8000 - 4 * 11 + 8.
            EXPECT_EQ(segs(id).size(), 7964u);
            EXPECT_EQ(countAnchorsAt(segs(id), 20, 0), 1);
            EXPECT_EQ(countAnchorsAt(segs(id), 16, 0), 0);
        }
    }
}

TEST_F(SmartRoundTest, ArtTreeRoundsEveryPathInGroupsAndCompounds)
{
    ObjectId group = addContainer(kCCGroupArt);
    ObjectId compound = addContainer(kCCCompoundPathArt, group);
    ObjectId a = addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z", compound);
    ObjectId b = addPath("M 200,0 L 300,0 L 250,80 Z", group);
    ASSERT_EQ(roundArtTree(params(10, 10), h(group)), kCCNoErr);
    EXPECT_EQ(segs(a).size(), 8u);
    EXPECT_EQ(segs(b).size(), 6u);
}

} // namespace
