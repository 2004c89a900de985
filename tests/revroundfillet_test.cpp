// Reverse Round Fillet: whole presses through PluginMain on minihost documents. Coves are checked as arcs
// of a circle about the corner: cut points on the corner lines at the radius, the midpoint on the sector's
// bisector, every handle tangent and pointing along the arc, and the cubic pieces close to the circle.
#include "CornerPressFixture.h"
#include "tools/framework/ToolCtrlr.h"
#include "tools/framework/ToolTable.h"

#include <cmath>
#include <string>
#include <vector>

using namespace curvicraft;
using cornertest::ArtState;
using cornertest::towards;
using kerneltest::parsePath;
using kerneltest::PathSpec;
using minihost::ObjectId;

namespace {

const char* const kSquare = "M 0,0 L 100,0 L 100,100 L 0,100 Z";

double dot(const RealPoint& a, const RealPoint& b)
{
    return a.x * b.x + a.y * b.y;
}

void expectPoint(const RealPoint& actual, const RealPoint& expected, const char* what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-9) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-9) << what;
}

// The three anchors replacing the corner o: an arc of radius r about o from t1 through the point at
// `bisector` degrees to t2.
void expectCove(const PathSegment arc[3], const RealPoint& o, const RealPoint& t1, const RealPoint& t2, double r,
                double bisector)
{
    const RealPoint m = towards(o, r, bisector);
    expectPoint(arc[0].anchor, t1, "first cut point");
    expectPoint(arc[1].anchor, m, "midpoint on the bisector");
    expectPoint(arc[2].anchor, t2, "second cut point");
    EXPECT_TRUE(pointsEqual(arc[0].in, arc[0].anchor));
    EXPECT_TRUE(pointsEqual(arc[2].out, arc[2].anchor));
    EXPECT_EQ(arc[0].corner, 1);
    EXPECT_EQ(arc[1].corner, 0);
    EXPECT_EQ(arc[2].corner, 1);
    const RealPoint handles[4][2] = {{arc[0].out, t1}, {arc[1].in, m}, {arc[1].out, m}, {arc[2].in, t2}};
    const RealPoint towardsNeighbour[4] = {m, t1, t2, m};
    for (int i = 0; i < 4; ++i) {
        const RealPoint h = subtractPoints(handles[i][0], handles[i][1]);
        EXPECT_NEAR(dot(h, subtractPoints(handles[i][1], o)), 0, 1e-9 * r * r) << "handle " << i << " is tangent";
        EXPECT_GT(dot(h, subtractPoints(towardsNeighbour[i], handles[i][1])), 0)
            << "handle " << i << " follows the arc";
    }
    EXPECT_LT(cornertest::arcDeviation(arc, o, r), 4e-4);
}

class RevRoundFilletPress : public cornertest::CornerPressTest {
  protected:
    void SetUp() override { start("Reverse Round Fillet tool"); }
    RadiusCornerSettings& settings() { return globals()->revRoundCorner; }
};

TEST_F(RevRoundFilletPress, CovesForSizeModesSectorsAndCorners)
{
    const RealPoint o{100, 100};
    struct Case {
        const char* what;
        const char* path;
        int anchor;
        std::int16_t opeStyle;
        double fixedRadius;
        RealPoint corner, drag;
        RealPoint t1, t2; // expected cut points
        double radius, bisector;
    };
    const Case cases[] = {
        {"free drag of 30 inwards: a quarter circle",
         kSquare,
         2,
         0,
         50,
         o,
         towards(o, 30, 225),
         {100, 70},
         {70, 100},
         30,
         225},
        {"snap: a drag of 30 gives 40", kSquare, 2, 1, 50, o, towards(o, 30, 225), {100, 60}, {60, 100}, 40, 225},
        {"snap: a drag of exactly 40 gives 60", kSquare, 2, 1, 50, o, {76, 68}, {100, 40}, {40, 100}, 60, 225},
        {"fixed, short drag", kSquare, 2, 2, 50, o, towards(o, 15, 225), {100, 50}, {50, 100}, 50, 225},
        {"fixed, outwards: on the extensions",
         kSquare,
         2,
         2,
         50,
         o,
         towards(o, 15, 45),
         {100, 150},
         {150, 100},
         50,
         45},
        {"free, one side of the corner", kSquare, 2, 0, 50, o, towards(o, 20, 315), {100, 80}, {120, 100}, 20, 315},
        {"radius beyond the neighbour",
         "M 100,0 L 100,100 L 60,100",
         1,
         2,
         80,
         o,
         towards(o, 15, 225),
         {100, 20},
         {20, 100},
         80,
         225},
        {"first anchor of a closed path", kSquare, 0, 0, 50, {0, 0}, towards({0, 0}, 30, 45), {0, 30}, {30, 0}, 30, 45},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        doc->deselectAll();
        const ObjectId path = addPath(c.path);
        const std::size_t n = segs(path).size();
        settings().opeStyle = c.opeStyle;
        settings().snapSize = 20;
        settings().fixedRadius = c.fixedRadius;
        press(c.corner, {towards(c.corner, 50, 200), c.drag});
        ASSERT_EQ(segs(path).size(), n + 2);
        expectCove(&segs(path)[static_cast<std::size_t>(c.anchor)], c.corner, c.t1, c.t2, c.radius, c.bisector);
        EXPECT_NEAR(settings().lastRadius, c.radius, 1e-9);
        EXPECT_TRUE(printed("label " + std::to_string(static_cast<int>(c.radius)) + " pt"));
        EXPECT_EQ(artCount(), 1u) << "no guide";
        ASSERT_TRUE(host.undo());
        doc->dispose(path);
    }
}

TEST_F(RevRoundFilletPress, NearlyStraightCornerIsCutWhereRoundFilletRefuses)
{
    // 179.6 degrees at (100, 0) between (0, 0) and a segment rising 0.4 degrees.
    const RealPoint o{100, 0};
    PathSpec shape = parsePath("M 0,0 L 100,0 L 200,0");
    const RealPoint next = towards(o, 100, 0.4);
    shape.segments[2] = {next, next, next, 1};
    const ObjectId path = addPath(shape);
    const std::vector<ArtState> before = snapshot();

    press(o, {{100, 30}});
    ASSERT_EQ(segs(path).size(), 5u);
    expectCove(&segs(path)[1], o, {70, 0}, towards(o, 30, 0.4), 30, 90.2);

    // Dragged to the other side the cove follows the cursor there, on the extensions beyond the corner.
    ASSERT_TRUE(host.undo());
    press(o, {{100, -30}});
    ASSERT_EQ(segs(path).size(), 5u);
    expectCove(&segs(path)[1], o, {130, 0}, towards(o, 30, 180.4), 30, 270.2);

    ASSERT_TRUE(host.undo());
    ASSERT_EQ(snapshot(), before);
    ASSERT_EQ(host.selectTool(host.findTool("Round Fillet tool")), kCCNoErr);
    press(o, {{100, 30}});
    EXPECT_EQ(snapshot(), before) << "Round Fillet leaves the corner alone";

    // A straight line is left alone by both.
    const ObjectId line = addPath("M 0,50 L 100,50 L 200,50");
    ASSERT_EQ(host.selectTool(host.findTool("Reverse Round Fillet tool")), kCCNoErr);
    press({100, 50}, {{100, 80}});
    EXPECT_EQ(segs(line).size(), 3u);
}

TEST_F(RevRoundFilletPress, OnlyQualifyingPressesChangeTheDocumentAndOneUndoTakesItBack)
{
    const ObjectId square = addPath(kSquare);
    addPath("M 200,0 L 300,0 L 300,100", 0);                          // unselected
    addPath("M 0,200 L 100,200 C 130,230 130,270 100,300 L 0,300 Z"); // curved neighbour at (100, 200)
    const ObjectId open = addPath("M 200,200 L 300,200 L 300,300");
    const std::vector<ArtState> before = snapshot();
    for (RealPoint at : {RealPoint{300, 0}, RealPoint{100, 200}, RealPoint{200, 200}, RealPoint{100, 50}}) {
        press(at, {towards(at, 30, 225)});
        EXPECT_EQ(snapshot(), before) << at.x << "," << at.y;
        EXPECT_FALSE(host.undo());
    }
    EXPECT_EQ(segs(open).size(), 3u);

    const RealPoint o{100, 100};
    press(o, {towards(o, 10, 225), towards(o, 45, 240), towards(o, 30, 225)});
    expectCove(&segs(square)[2], o, {100, 70}, {70, 100}, 30, 225);
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(host.undo()) << "the press was one step";
}

TEST_F(RevRoundFilletPress, AltReleaseCopiesTheLastRadiusInFreeAndSnapMode)
{
    addPath(kSquare);
    const RealPoint o{100, 100};
    struct Case {
        std::int16_t opeStyle;
        double expectedFixed;
    };
    for (const Case& c : {Case{0, 30}, Case{1, 40}, Case{2, 50}}) {
        settings().opeStyle = c.opeStyle;
        settings().fixedRadius = 50;
        press(o, {towards(o, 30, 225)}, kCCEventModifierOption);
        EXPECT_EQ(settings().fixedRadius, c.expectedFixed) << "ope_style " << c.opeStyle;
        ASSERT_TRUE(host.undo());
    }
    EXPECT_EQ(globals()->roundCorner.fixedRadius, 50) << "Round Fillet keeps its own block";
}

TEST_F(RevRoundFilletPress, PanelTextOfItsOwnBlock)
{
    const std::unique_ptr<ToolCtrlr> ctrlr = createToolCtrlr(kReverseRoundFilletSlot);
    ASSERT_NE(ctrlr, nullptr);
    SettingsWriter limits;
    ctrlr->writeMinValues(limits);
    ctrlr->writeMaxValues(limits);
    EXPECT_EQ(limits.text(), "<snap_size>0</snap_size><fixed_radius>0</fixed_radius>"
                             "<snap_size>4000</snap_size><fixed_radius>4000</fixed_radius>");

    addPath(kSquare);
    const RealPoint o{100, 100};
    press(o, {towards(o, 30, 225)});
    SettingsWriter params;
    ASSERT_EQ(ctrlr->writeParams(params), kCCNoErr);
    EXPECT_EQ(params.text(), "<units>pt</units><ope_style>0</ope_style><snap_size>20</snap_size>"
                             "<fixed_radius>50</fixed_radius><curr_info>30 pt</curr_info>");
    EXPECT_TRUE(printed("panel-event com.adobe.csxs.events.CurvicraftTool_UpdatePanelSettings SendData "
                        "<payload><tool_index>13</tool_index><contents>params</contents>" +
                        std::string(params.text().substr(0)) + "</payload>"))
        << "the release sends the new parameters";

    EXPECT_EQ(ctrlr->readParams("<ope_style>2</ope_style><snap_size>5</snap_size><fixed_radius>25</fixed_radius>"), 1);
    EXPECT_EQ(settings().opeStyle, 2);
    EXPECT_EQ(settings().snapSize, 5);
    EXPECT_EQ(settings().fixedRadius, 25);
    EXPECT_EQ(settings().lastRadius, 0);
    EXPECT_EQ(globals()->roundCorner.fixedRadius, 50);
}

} // namespace
