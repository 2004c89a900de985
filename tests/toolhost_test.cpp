// minihost's tool services: hit testing on documents, the tool registry and tool events, undo inside a
// press and across presses, the document and view suites, and the annotator's invalidate and draw cycle.
// Tool behaviour is driven through the tests' own plug-in (it drags the anchor it presses on and labels
// the cursor), hit testing through the suite table a plug-in acquires.
#include "Host.h"
#include "KernelFixture.h"
#include "Session.h"
#include "geom/BezierMath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

using namespace minihost;
using curvicraft::sDocument;
using curvicraft::sDocumentView;
using curvicraft::sHitTest;

namespace {

// ---- hit testing ----------------------------------------------------------------------------------

struct HitTests : kerneltest::KernelFixture {
    CCHitData hit(double x, double y, int32_t request = kCCHitTool, CCArtHandle in = nullptr)
    {
        CCHitData h{};
        CCRealPoint p{x, y};
        EXPECT_EQ(sHitTest->HitTest(in, &p, request, &h), kCCNoErr);
        return h;
    }
};

struct HitCase {
    const char* what;
    double x, y;
    int32_t request;
    int part; // -1: nothing hit
    int segment;
    double px, py; // the reported point
};

// A 100 x 100 square (anchors 0 (0,0), 1 (100,0), 2 (100,100), 3 (0,100)), filled, unselected; the
// closing curve runs from anchor 3 to anchor 0. Tolerance 4 pixels at zoom 1.
const HitCase kSquareCases[] = {
    {"anchor within the tolerance snaps to it", 102, 2.5, kCCHitTool, kCCHitAnchorPart, 1, 100, 0},
    {"an anchor beats a nearer curve", 3, 0.5, kCCHitTool, kCCHitAnchorPart, 0, 0, 0},
    {"curve: nearest point, curve numbered by its end anchor", 50, -3, kCCHitTool, kCCHitCurvePart, 1, 50, 0},
    {"curve 2", 103.5, 40, kCCHitTool, kCCHitCurvePart, 2, 100, 40},
    {"the closing curve is curve 0", -2, 30, kCCHitTool, kCCHitCurvePart, 0, 0, 30},
    {"just beyond the tolerance", 50, 4.01, kCCHitTool, -1, -1, 50, 4.01},
    {"inside: the tool request sees no fill", 50, 50, kCCHitTool, -1, -1, 50, 50},
    {"inside: the fill for request 0", 50, 50, kCCHitAll, kCCHitFillPart, -1, 50, 50},
    {"outside the fill", 150, 50, kCCHitAll, -1, -1, 150, 50},
    {"snapping: the centre point", 51, 49, kCCHitSnapPoints, kCCHitCenterPart, -1, 50, 50},
    {"snapping: curves too", 70, 101, kCCHitSnapPoints, kCCHitCurvePart, 3, 70, 100},
};

TEST_F(HitTests, SquareTable)
{
    ObjectId sq = addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z");
    for (const HitCase& c : kSquareCases) {
        SCOPED_TRACE(c.what);
        CCHitData r = hit(c.x, c.y, c.request);
        EXPECT_EQ(r.hit != 0, c.part >= 0);
        EXPECT_EQ(r.part, c.part);
        EXPECT_EQ(r.segment, c.segment);
        EXPECT_NEAR(r.point.x, c.px, 1e-9);
        EXPECT_NEAR(r.point.y, c.py, 1e-9);
        EXPECT_EQ(r.art, c.part >= 0 ? h(sq) : nullptr);
        if (c.part == kCCHitCurvePart) {
            // t is the parameter of the reported point on that very curve.
            const auto& s = segs(sq);
            const CCPathSegment& from = s[(c.segment + 3) % 4];
            const CCPathSegment& to = s[c.segment];
            CCRealPoint at = bezierPoint(CCBezier{from.anchor, from.out, to.in, to.anchor}, r.t);
            EXPECT_NEAR(at.x, r.point.x, 1e-9);
            EXPECT_NEAR(at.y, r.point.y, 1e-9);
        }
    }
}

TEST_F(HitTests, NearestPointOnACubicIsTheTrueMinimum)
{
    // A quarter circle of radius 100 about (300, 0), from (200, 0) up to (300, 100).
    ObjectId arc = addPath("M 200,0 C 200,55.228 244.772,100 300,100");
    CCBezier b{{200, 0}, {200, 55.228}, {244.772, 100}, {300, 100}};
    for (double angle : {0.1, 0.5, 0.785, 1.2, 1.5}) {
        SCOPED_TRACE(angle);
        // 3 points outside the arc, along its normal.
        double radius = 103;
        CCRealPoint p{300 - radius * std::cos(angle), radius * std::sin(angle)};
        CCHitData r = hit(p.x, p.y);
        ASSERT_EQ(r.part, kCCHitCurvePart);
        EXPECT_EQ(r.segment, 1);
        EXPECT_EQ(r.art, h(arc));
        CCRealPoint at = bezierPoint(b, r.t);
        EXPECT_NEAR(at.x, r.point.x, 1e-9);
        EXPECT_NEAR(at.y, r.point.y, 1e-9);
        double best = std::numeric_limits<double>::infinity();
        for (int i = 0; i <= 100000; ++i) {
            CCRealPoint q = bezierPoint(b, i / 100000.0);
            best = std::min(best, std::hypot(q.x - p.x, q.y - p.y));
        }
        EXPECT_NEAR(std::hypot(r.point.x - p.x, r.point.y - p.y), best, 1e-7);
    }
}

TEST_F(HitTests, ToleranceIsInViewPixels)
{
    addPath("M 0,0 L 100,0");
    struct {
        double zoom, y;
        bool hit;
    } cases[] = {{1, 3.9, true}, {2, 2.1, false}, {2, 1.9, true}, {0.5, 7.9, true}, {0.5, 8.1, false}};
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " y " << c.y);
        ASSERT_EQ(host.setZoom(c.zoom), kCCNoErr);
        EXPECT_EQ(hit(50, c.y).hit != 0, c.hit);
    }
    host.setZoom(1);
    ASSERT_EQ(sHitTest->SetTolerance(10), kCCNoErr);
    EXPECT_TRUE(hit(50, 9.9).hit);
    double pixels = 0;
    EXPECT_EQ(sHitTest->GetTolerance(&pixels), kCCNoErr);
    EXPECT_EQ(pixels, 10);
    EXPECT_EQ(sHitTest->SetTolerance(-1), kCCBadParameterErr);
    EXPECT_EQ(sHitTest->SetTolerance(std::nan("")), kCCBadParameterErr);
}

TEST_F(HitTests, HandlesOnlyOnSelectedPaths)
{
    ObjectId arc = addPath("M 200,0 C 200,55.228 244.772,100 300,100");
    EXPECT_FALSE(hit(200, 56).hit) << "an unselected path shows no handles";
    doc->setAttrs(arc, kCCArtSelected, kCCArtSelected);
    CCHitData out = hit(200, 56);
    EXPECT_EQ(out.part, kCCHitOutPart);
    EXPECT_EQ(out.segment, 0);
    EXPECT_NEAR(out.point.y, 55.228, 1e-12);
    CCHitData in = hit(245, 99);
    EXPECT_EQ(in.part, kCCHitInPart);
    EXPECT_EQ(in.segment, 1);
    EXPECT_EQ(hit(200, 56, kCCHitSnapPoints).hit, 0) << "snapping ignores handles";
    // A handle that shapes no curve (the in handle of an open path's first anchor) is not offered.
    Art* a = doc->edit(arc);
    a->segments[0].in = {190, -10};
    EXPECT_FALSE(hit(190, -10).hit);
}

TEST_F(HitTests, HiddenLockedAndTopmost)
{
    ObjectId lower = addPath("M 0,0 L 100,0 L 100,100 Z");
    ObjectId upper = addPath("M 50,-10 L 50,50"); // added later: on top
    // The lower path's curve runs through the cursor, yet the topmost object wins.
    CCHitData top = hit(50.5, 0);
    EXPECT_EQ(top.art, h(upper));
    EXPECT_EQ(top.part, kCCHitCurvePart);

    doc->setAttrs(upper, kCCArtHidden, kCCArtHidden);
    EXPECT_EQ(hit(50.5, 0).art, h(lower));
    EXPECT_EQ(hit(50, 30, kCCHitSnapPoints).hit, 0) << "hidden: not even snapping";

    doc->setAttrs(upper, kCCArtHidden, 0);
    doc->setAttrs(upper, kCCArtLocked, kCCArtLocked);
    EXPECT_EQ(hit(50.5, 0).art, h(lower)) << "a locked object is passed over";
    EXPECT_EQ(hit(50.5, 0, kCCHitAll).art, h(lower));
    EXPECT_EQ(hit(50.5, 0, kCCHitSnapPoints).art, h(upper)) << "snapping sees locked objects";

    // Inside a locked or hidden group, on a locked or hidden layer.
    doc->setAttrs(upper, kCCArtLocked, 0);
    ObjectId group = addContainer(kCCGroupArt);
    ObjectId inGroup = addPath("M 300,0 L 400,0", group);
    EXPECT_EQ(hit(350, 0).group, h(group));
    doc->setAttrs(group, kCCArtLocked, kCCArtLocked);
    EXPECT_FALSE(hit(350, 0).hit);
    EXPECT_EQ(hit(350, 0, kCCHitSnapPoints).art, h(inGroup));
    doc->setAttrs(group, kCCArtLocked | kCCArtHidden, kCCArtHidden);
    EXPECT_FALSE(hit(350, 0, kCCHitSnapPoints).hit);
    EXPECT_EQ(hit(0, 0, kCCHitTool, h(inGroup)).hit, 0) << "inside a hidden group, even when asked by name";

    doc->setLayerFlags(layer, false, true);
    EXPECT_FALSE(hit(0, 0).hit);
    EXPECT_EQ(hit(0, 0, kCCHitSnapPoints).art, h(lower));
    doc->setLayerFlags(layer, true, false);
    EXPECT_FALSE(hit(0, 0, kCCHitSnapPoints).hit);
}

TEST_F(HitTests, LayersTopFirstAndOneObjectOnly)
{
    ObjectId bottomLayer = doc->addLayer("Layer 2"); // below Layer 1
    ObjectId below = doc->create(kCCPathArt, kCCPlaceInsideOnTop, doc->layer(bottomLayer)->group);
    Art* a = doc->edit(below);
    a->segments = kerneltest::parsePath("M 0,0 L 100,0").segments;
    a->selection.assign(2, 0);
    ObjectId above = addPath("M 0,1 L 100,1");
    EXPECT_EQ(hit(50, 0).art, h(above)) << "the upper layer wins although the other curve is nearer";
    CCHitData only = hit(50, 0, kCCHitTool, h(below));
    EXPECT_EQ(only.art, h(below));
    EXPECT_NEAR(only.point.y, 0, 1e-12);
}

TEST_F(HitTests, CompoundFillLeavesItsHoleOpen)
{
    ObjectId compound = addContainer(kCCCompoundPathArt);
    addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z", compound);
    addPath("M 25,25 L 25,75 L 75,75 L 75,25 Z", compound); // the other way round
    ObjectId under = addPath("M -50,-50 L 200,-50 L 200,200 L -50,200 Z");
    doc->reorder(under, kCCPlaceBelowAll, 0);
    EXPECT_EQ(hit(10, 50, kCCHitAll).part, kCCHitFillPart);
    EXPECT_EQ(hit(10, 50, kCCHitAll).group, h(compound));
    EXPECT_EQ(hit(50, 50, kCCHitAll).art, h(under)) << "through the hole to the object below";
}

TEST_F(HitTests, CurvedFillAndEvenOdd)
{
    // A circle of four quarter arcs: points just inside and just outside the curve, not the polygon.
    addPath("M 100,0 C 100,55.228 55.228,100 0,100 C -55.228,100 -100,55.228 -100,0 "
            "C -100,-55.228 -55.228,-100 0,-100 C 55.228,-100 100,-55.228 100,0 Z");
    EXPECT_EQ(hit(65, 65, kCCHitAll).part, kCCHitFillPart); // outside the inscribed square, inside the circle
    EXPECT_EQ(hit(74, 74, kCCHitAll).hit, 0);               // outside the circle by more than the tolerance
    ObjectId star = addPath("M 0,300 L 60,110 L -95,230 L 95,230 L -60,110 Z");
    EXPECT_EQ(hit(0, 200, kCCHitAll).art, h(star)) << "nonzero: the centre of a pentagram is filled";
    Art* s = doc->edit(star);
    s->style.evenOdd = true;
    EXPECT_EQ(hit(0, 200, kCCHitAll).hit, 0) << "even-odd: it is not";
}

TEST_F(HitTests, NothingHitAndBadRequests)
{
    addPath("M 0,0 L 100,0");
    CCHitData none = hit(500, 500, kCCHitAll);
    EXPECT_EQ(none.hit, 0);
    EXPECT_EQ(none.part, -1);
    EXPECT_EQ(none.segment, -1);
    EXPECT_EQ(none.art, nullptr);
    EXPECT_EQ(none.point.x, 500);

    CCHitData out{};
    CCRealPoint p{0, 0}, nan{std::nan(""), 0};
    EXPECT_EQ(sHitTest->HitTest(nullptr, &nan, kCCHitTool, &out), kCCBadParameterErr);
    EXPECT_EQ(sHitTest->HitTest(nullptr, &p, 5, &out), kCCBadParameterErr);
    EXPECT_EQ(sHitTest->HitTest(nullptr, &p, kCCHitTool, nullptr), kCCBadParameterErr);
    ObjectId gone = addPath("M 0,0 L 1,1");
    doc->dispose(gone);
    EXPECT_EQ(sHitTest->HitTest(h(gone), &p, kCCHitTool, &out), kCCStaleHandleErr);
    host.setDocument(nullptr);
    EXPECT_EQ(sHitTest->HitTest(nullptr, &p, kCCHitTool, &out), kCCNoDocumentErr);
}

// ---- tools, presses, undo and annotations, through the tests' plug-in ------------------------------

const std::string kTitles[] = {"Alpha tool", "Beta tool", "Gamma tool", "Delta tool"};

template <class Suite> const Suite* acquire(Host& host, const char* name, int version)
{
    const void* table = nullptr;
    EXPECT_EQ(host.basicSuite()->AcquireSuite(name, version, &table), kCCNoErr) << name;
    return static_cast<const Suite*>(table);
}

struct ToolHost : ::testing::Test {
    std::vector<std::string> lines;
    Host host{HostOptions{CURVICRAFT_TEST_PLUGINS_DIR, CURVICRAFT_DEFAULT_APP_DIR, {}}};
    const CCToolSuite* sTool = acquire<CCToolSuite>(host, kCCToolSuite, kCCToolSuiteVersion);
    const CCUndoSuite* sUndo = acquire<CCUndoSuite>(host, kCCUndoSuite, kCCUndoSuiteVersion);
    const CCAnnotatorSuite* sAnnotator = acquire<CCAnnotatorSuite>(host, kCCAnnotatorSuite, kCCAnnotatorSuiteVersion);
    ObjectId square = 0;

    void SetUp() override
    {
        host.setOutput([this](const std::string& line) { lines.push_back(line); });
        Document& doc = host.document();
        square = doc.create(kCCPathArt, kCCPlaceInsideOnTop, 0);
        Art* a = doc.edit(square);
        a->segments = kerneltest::parsePath("M 0,0 L 100,0 L 100,100 L 0,100 Z").segments;
        a->selection.assign(4, 0);
        a->closed = true;
        ASSERT_EQ(host.loadPlugin("Test Plugin"), kCCNoErr);
        ASSERT_EQ(host.startup(), kCCNoErr);
        lines.clear();
    }

    std::vector<std::string> take() { return std::exchange(lines, {}); }
    std::vector<std::string> only(const std::string& prefix)
    {
        std::vector<std::string> out;
        for (const std::string& l : take())
            if (l.rfind(prefix, 0) == 0)
                out.push_back(l);
        return out;
    }
    CCRealPoint anchor(int i) { return host.document().get(square)->segments[i].anchor; }
    std::size_t objects() { return host.document().children(host.document().layers()[0].group).size(); }
};

TEST_F(ToolHost, RegistrationNumbersGroupsAndToolsets)
{
    std::vector<Host::ToolInfo> tools = host.tools();
    ASSERT_EQ(tools.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(kTitles[i]);
        EXPECT_EQ(tools[i].title, kTitles[i]);
        EXPECT_EQ(tools[i].tooltip, kTitles[i]);
        EXPECT_EQ(tools[i].iconId, 16000 + i);
        EXPECT_EQ(tools[i].darkIconId, 17000 + i);
        EXPECT_EQ(tools[i].options, 1);
        EXPECT_EQ(tools[i].group, tools[0].number) << "one group, opened by the first tool";
        EXPECT_EQ(host.findTool(kTitles[i]), tools[i].handle);
        CCToolHandle back = nullptr;
        EXPECT_EQ(sTool->GetToolHandleFromNumber(tools[i].number, &back), kCCNoErr);
        EXPECT_EQ(back, tools[i].handle);
    }
    EXPECT_EQ(tools[0].toolset, tools[0].number);
    EXPECT_EQ(tools[1].toolset, tools[0].number);
    EXPECT_EQ(tools[2].toolset, tools[2].number) << "a new toolset inside the group";
    EXPECT_EQ(tools[3].toolset, tools[2].number);
    EXPECT_NE(tools[0].number, tools[1].number);

    // Joining an unknown tool's group, or a toolset of another group, is refused.
    CCAddToolData data{"Odd tool", nullptr, 1, 2, 99999, kCCNewToolGroup};
    CCToolHandle odd = nullptr;
    EXPECT_EQ(sTool->AddTool(host.pluginRef(), "odd", &data, 0, &odd), kCCBadParameterErr);
    data = {"Odd tool", nullptr, 1, 2, kCCNewToolGroup, tools[2].number};
    EXPECT_EQ(sTool->AddTool(host.pluginRef(), "odd", &data, 0, &odd), kCCBadParameterErr);
    EXPECT_EQ(sTool->AddTool(nullptr, "odd", &data, 0, &odd), kCCBadParameterErr);
    EXPECT_EQ(host.tools().size(), 4u);

    // A plug-in that shut down has no tools left; its handles are stale.
    ASSERT_EQ(host.shutdown(), kCCNoErr);
    EXPECT_TRUE(host.tools().empty());
    EXPECT_EQ(host.selectTool(tools[0].handle), kCCStaleHandleErr);
    const char* title = nullptr;
    EXPECT_EQ(sTool->GetToolTitle(tools[0].handle, &title), kCCStaleHandleErr);
}

TEST_F(ToolHost, SelectingDeselectsTheToolBefore)
{
    CCToolHandle alpha = host.findTool("Alpha tool"), gamma = host.findTool("Gamma tool");
    ASSERT_EQ(host.selectTool(alpha), kCCNoErr);
    EXPECT_EQ(only("debug AI Tool"), std::vector<std::string>{"debug AI Tool / AI Select Alpha tool"});
    ASSERT_EQ(host.selectTool(gamma), kCCNoErr);
    EXPECT_EQ(only("debug AI Tool"), (std::vector<std::string>{"debug AI Tool / AI Deselect Alpha tool",
                                                               "debug AI Tool / AI Select Gamma tool"}));
    CCToolHandle selected = nullptr;
    EXPECT_EQ(sTool->GetSelectedTool(&selected), kCCNoErr);
    EXPECT_EQ(selected, gamma);
    EXPECT_EQ(host.selectTool(reinterpret_cast<CCToolHandle>(0x1234)), kCCStaleHandleErr);
    EXPECT_EQ(host.selectedTool(), gamma);
}

TEST_F(ToolHost, EventsNeedAToolAndAPress)
{
    EXPECT_EQ(host.mouseDown({0, 0}), kCCCantErr) << "no tool selected";
    host.selectTool(host.findTool("Beta tool"));
    EXPECT_EQ(host.mouseDrag({0, 0}), kCCCantErr) << "a drag outside a press";
    EXPECT_EQ(host.mouseUp({0, 0}), kCCCantErr);
    EXPECT_EQ(host.mouseDown({std::nan(""), 0}), kCCBadParameterErr);
    take();
    ASSERT_EQ(host.trackCursor({5, 5}, kCCEventModifierShift), kCCNoErr);
    ASSERT_EQ(host.mouseDown({200, 200}), kCCNoErr);
    EXPECT_TRUE(host.pressing());
    EXPECT_EQ(host.trackCursor({5, 5}), kCCCantErr) << "the cursor is not tracked while the button is down";
    ASSERT_EQ(host.mouseUp({200, 200}), kCCNoErr);
    EXPECT_FALSE(host.pressing());
    EXPECT_EQ(only("debug AI Tool"), (std::vector<std::string>{"debug AI Tool / AI Track Cursor Beta tool shift",
                                                               "debug AI Tool / AI Mouse Down Beta tool",
                                                               "debug AI Tool / AI Mouse Up Beta tool"}));
    EXPECT_EQ(host.journal()->undoCount(), 0u) << "a press that changed nothing leaves no undo step";
}

TEST_F(ToolHost, OnePressIsOneUndoStep)
{
    host.selectTool(host.findTool("Alpha tool"));
    std::size_t before = objects();
    ASSERT_EQ(host.mouseDown({101, 1}), kCCNoErr); // the plug-in hit-tests and finds anchor 1
    for (CCRealPoint p : {CCRealPoint{120, 10}, CCRealPoint{125, 15}, CCRealPoint{130, 20}})
        ASSERT_EQ(host.mouseDrag(p), kCCNoErr);
    EXPECT_EQ(objects(), before + 1) << "each drag step reverted the marker of the one before";
    ASSERT_EQ(host.mouseUp({130, 20}), kCCNoErr);
    std::vector<std::string> markers = only("debug marker");
    EXPECT_EQ(markers, (std::vector<std::string>{"debug marker gone", "debug marker gone"}));
    EXPECT_EQ(anchor(1).x, 130);
    EXPECT_EQ(anchor(1).y, 20);
    EXPECT_EQ(objects(), before);

    int32_t past = -1, future = -1;
    EXPECT_EQ(sUndo->CountTransactions(&past, &future), kCCNoErr);
    EXPECT_EQ(past, 1);
    EXPECT_EQ(future, 0);
    EXPECT_EQ(host.journal()->undoName(), "Alpha tool");

    ASSERT_TRUE(host.undo());
    EXPECT_EQ(anchor(1).x, 100);
    EXPECT_EQ(anchor(1).y, 0);
    EXPECT_FALSE(host.undo()) << "the whole press was one step";
    ASSERT_TRUE(host.redo());
    EXPECT_EQ(anchor(1).x, 130);
    EXPECT_EQ(objects(), before);
    EXPECT_EQ(sUndo->UndoChanges(), kCCCantErr) << "outside the host's messages there is nothing to revert";
}

TEST_F(ToolHost, LabelsFollowTheDragAndDrawingIsInViewPixels)
{
    host.selectTool(host.findTool("Alpha tool"));
    ASSERT_EQ(host.setZoom(2), kCCNoErr);
    host.mouseDown({100, 0});
    host.mouseDrag({120, 10});
    // The label for (120, 10): view point ((120 - 0) * 2, (792 - 10) * 2) moved 16 right and down.
    const std::vector<Host::DrawOp>& ops = host.lastDrawing();
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[0].kind, Host::DrawOp::Color);
    EXPECT_EQ(ops[0].values, (std::vector<int32_t>{0xCCCC, 0xCCCC, 0xCCCC}));
    EXPECT_EQ(ops[1].kind, Host::DrawOp::Rect);
    EXPECT_EQ(ops[1].values, (std::vector<int32_t>{256, 1580 - 12, 256 + 7 * 10, 1580, 1}));
    EXPECT_EQ(ops[3].kind, Host::DrawOp::Text);
    EXPECT_EQ(ops[3].text, "x=120 y=10");
    EXPECT_EQ(ops[3].values, (std::vector<int32_t>{256, 1580}));
    host.mouseDrag({120, 10});
    host.mouseDrag({121, 10});
    host.mouseUp({121, 10});
    EXPECT_EQ(only("label"), (std::vector<std::string>{"label x=100 y=0", "label x=120 y=10", "label x=121 y=10"}))
        << "a label is shown when its text changes";
    EXPECT_TRUE(host.lastDrawing().empty()) << "the annotator is off after the release";

    // The next press shows its first label again even when the text repeats.
    host.mouseDown({121, 10});
    host.mouseUp({121, 10});
    EXPECT_EQ(only("label"), std::vector<std::string>{"label x=121 y=10"});
}

TEST_F(ToolHost, InvalidateReachesTheAnnotatorOnceAndRedraws)
{
    host.selectTool(host.findTool("Alpha tool"));
    host.mouseDown({0, 0});
    take();
    host.takeInvalidations();
    host.mouseDrag({10, 10});
    std::vector<std::string> seen = take();
    auto count = [&](const std::string& line) { return std::count(seen.begin(), seen.end(), line); };
    // The plug-in invalidates; the host tells its annotator, which invalidates again: not told twice.
    EXPECT_EQ(count("debug AI Annotation / AI Invalidate"), 1);
    EXPECT_EQ(count("debug invalidate 0 0 10 10"), 1);
    EXPECT_EQ(count("debug AI Annotation / AI Draw"), 1) << "one redraw after the event";
    std::vector<CCRect32> rects = host.takeInvalidations();
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].right, 10);
    EXPECT_EQ(rects[1].bottom, 10);
    host.mouseUp({10, 10});

    // An inactive annotator is neither told nor asked to draw.
    take();
    const CCRect32 r{1, 2, 3, 4};
    EXPECT_EQ(sAnnotator->InvalAnnotationRect(&r), kCCNoErr);
    EXPECT_TRUE(take().empty());

    // An unloaded plug-in is not called on to draw, even with its annotator on.
    CCAnnotatorHandle annotator = nullptr;
    ASSERT_EQ(sAnnotator->AddAnnotator(host.pluginRef(), "Second", &annotator), kCCNoErr);
    ASSERT_EQ(host.unload(false), kCCNoErr);
    take();
    host.redraw();
    EXPECT_TRUE(only("debug AI Annotation").empty());
    ASSERT_EQ(host.reload(), kCCNoErr);
    host.redraw();
    EXPECT_EQ(only("debug AI Annotation"), std::vector<std::string>{"debug AI Annotation / AI Draw"});
}

// ---- document and view suites -----------------------------------------------------------------------

struct DocumentViewTests : kerneltest::KernelFixture {};

TEST_F(DocumentViewTests, RulerUnitsSizeAndHandles)
{
    const std::pair<const char*, int16_t> units[] = {{"pt", kCCUnitsPoints},      {"in", kCCUnitsInches},
                                                     {"cm", kCCUnitsCentimeters}, {"mm", kCCUnitsMillimeters},
                                                     {"px", kCCUnitsPixels},      {"H", kCCUnitsQ}};
    for (auto [name, code] : units) {
        doc->units = name;
        int16_t got = -1;
        EXPECT_EQ(sDocument->GetDocumentRulerUnits(&got), kCCNoErr);
        EXPECT_EQ(got, code) << name;
    }
    doc->width = 300;
    doc->height = 200;
    double w = 0, hgt = 0;
    EXPECT_EQ(sDocument->GetDocumentSize(&w, &hgt), kCCNoErr);
    EXPECT_EQ(w, 300);
    EXPECT_EQ(hgt, 200);
    CCDocumentHandle first = nullptr, second = nullptr;
    EXPECT_EQ(sDocument->GetDocument(&first), kCCNoErr);
    resetDocument();
    EXPECT_EQ(sDocument->GetDocument(&second), kCCNoErr);
    EXPECT_NE(first, second) << "another document, another handle";
    host.setDocument(nullptr);
    EXPECT_EQ(sDocument->GetDocument(&first), kCCNoDocumentErr);
    int16_t none = 0;
    EXPECT_EQ(sDocument->GetDocumentRulerUnits(&none), kCCNoDocumentErr);
}

TEST_F(DocumentViewTests, ViewCoordinatesFollowZoomAndOrigin)
{
    doc->height = 800;
    CCPoint32 v{};
    CCRealPoint p{30, 700};
    ASSERT_EQ(sDocumentView->ArtworkPointToViewPoint(&p, &v), kCCNoErr);
    EXPECT_EQ(v.h, 30);
    EXPECT_EQ(v.v, 100) << "y down from the document's top";
    ASSERT_EQ(sDocumentView->SetDocumentViewZoom(4), kCCNoErr);
    host.setViewOrigin({10, 720});
    ASSERT_EQ(sDocumentView->ArtworkPointToViewPoint(&p, &v), kCCNoErr);
    EXPECT_EQ(v.h, 80);
    EXPECT_EQ(v.v, 80);
    CCRealPoint back{};
    ASSERT_EQ(sDocumentView->ViewPointToArtworkPoint(&v, &back), kCCNoErr);
    EXPECT_EQ(back.x, 30);
    EXPECT_EQ(back.y, 700);
    CCRealRect bounds{};
    ASSERT_EQ(sDocumentView->GetDocumentViewBounds(&bounds), kCCNoErr);
    EXPECT_EQ(bounds.left, 10);
    EXPECT_EQ(bounds.top, 720);
    EXPECT_EQ(bounds.bottom, 720 - 800 / 4.0);

    // Far-off and bad points, bad zooms.
    CCRealPoint far{1e300, -1e300}, nan{0, std::nan("")};
    ASSERT_EQ(sDocumentView->ArtworkPointToViewPoint(&far, &v), kCCNoErr);
    EXPECT_EQ(v.h, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(v.v, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(sDocumentView->ArtworkPointToViewPoint(&nan, &v), kCCBadParameterErr);
    for (double z : {0.0, -1.0, 1e6, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_EQ(sDocumentView->SetDocumentViewZoom(z), kCCBadParameterErr) << z;
    double zoom = 0;
    EXPECT_EQ(sDocumentView->GetDocumentViewZoom(&zoom), kCCNoErr);
    EXPECT_EQ(zoom, 4);

    // Another document starts at zoom 1 with its own top-left.
    resetDocument();
    EXPECT_EQ(host.zoom(), 1);
    EXPECT_EQ(host.viewOrigin().y, doc->height);
}

// ---- session commands, with the tests' plug-in ---------------------------------------------------

struct ScriptRun {
    int status;
    std::string out, err;
};

struct ToolSession : ::testing::Test {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("curvicraft-toolsession-" + std::to_string(::getpid()));
    void SetUp() override
    {
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "square.json") << R"({ "format": "curvicraft-document", "version": 1, "units": "pt",
  "width": 612, "height": 792, "layers": [ { "name": "Layer 1", "editable": true, "visible": true, "art": [
  { "type": "path", "id": "sq", "closed": true, "segments": [
    { "anchor": [0, 0] }, { "anchor": [100, 0] }, { "anchor": [100, 100] }, { "anchor": [0, 100] } ] } ] } ] })";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    ScriptRun run(const std::string& script)
    {
        Host host{HostOptions{CURVICRAFT_TEST_PLUGINS_DIR, CURVICRAFT_DEFAULT_APP_DIR, {}}};
        EXPECT_EQ(host.loadPlugin("Test Plugin"), kCCNoErr);
        std::ostringstream out, err;
        Session session(host, out, err);
        int status = session.run(script, dir / "s.play");
        return {status, out.str(), err.str()};
    }
};

TEST_F(ToolSession, PressDragReleaseUndoRedo)
{
    ScriptRun r = run("open square.json\n"
                      "tool \"Alpha tool\"\n"
                      "move 500 500\n"
                      "move 100 100 shift\n"
                      "press 100 0\n"
                      "drag 120 10\n"
                      "drag 120 10\n"
                      "drag 130 20 shift alt\n"
                      "release 130 20 alt\n"
                      "print sq\n"
                      "undo\n"
                      "print sq\n"
                      "redo\n"
                      "print sq\n"
                      "zoom 2\n"
                      "click 130 20\n");
    ASSERT_EQ(r.status, 0) << r.err;
    // Cursors over nothing and over an anchor; labels only when they change; the press is one undo step;
    // the click at zoom 2 still finds the anchor, and its first label shows although the text repeats.
    EXPECT_EQ(r.out, R"(debug SP Interface / Startup result=0
debug AI Tool / AI Select Alpha tool
debug AI Tool / AI Track Cursor Alpha tool
cursor 16020
debug AI Tool / AI Track Cursor Alpha tool shift
cursor 16021
debug AI Tool / AI Mouse Down Alpha tool
debug down hit=0
debug AI Annotation / AI Draw
label x=100 y=0
debug AI Tool / AI Mouse Drag Alpha tool
debug AI Annotation / AI Invalidate
debug invalidate 0 0 10 10
debug AI Annotation / AI Draw
label x=120 y=10
debug AI Tool / AI Mouse Drag Alpha tool
debug marker gone
debug AI Annotation / AI Invalidate
debug invalidate 0 0 10 10
debug AI Annotation / AI Draw
debug AI Tool / AI Mouse Drag Alpha tool shift alt
debug marker gone
debug AI Annotation / AI Invalidate
debug invalidate 0 0 10 10
debug AI Annotation / AI Draw
label x=130 y=20
debug AI Tool / AI Mouse Up Alpha tool alt
path sq closed 4 anchors
  0: anchor 0 0 in 0 0 out 0 0 corner
  1: anchor 130 20 in 130 20 out 130 20 corner
  2: anchor 100 100 in 100 100 out 100 100 corner
  3: anchor 0 100 in 0 100 out 0 100 corner
path sq closed 4 anchors
  0: anchor 0 0 in 0 0 out 0 0 corner
  1: anchor 100 0 in 100 0 out 100 0 corner
  2: anchor 100 100 in 100 100 out 100 100 corner
  3: anchor 0 100 in 0 100 out 0 100 corner
path sq closed 4 anchors
  0: anchor 0 0 in 0 0 out 0 0 corner
  1: anchor 130 20 in 130 20 out 130 20 corner
  2: anchor 100 100 in 100 100 out 100 100 corner
  3: anchor 0 100 in 0 100 out 0 100 corner
debug AI Tool / AI Mouse Down Alpha tool
debug down hit=0
debug AI Annotation / AI Draw
label x=130 y=20
debug AI Tool / AI Mouse Up Alpha tool
debug SP Interface / Shutdown
)");
}

TEST_F(ToolSession, ScriptErrors)
{
    struct Case {
        const char* script;
        const char* message;
        int line;
    } cases[] = {
        {"new\ntool \"Nope tool\"", "no tool has the title \"Nope tool\"", 2},
        {"new\npress 1 2", "no tool is selected", 2},
        {"tool \"Alpha tool\"\npress 1 2", "no document is open", 2},
        {"new\ntool \"Alpha tool\"\ndrag 1 2", "the mouse button is not down (press first)", 3},
        {"new\ntool \"Alpha tool\"\nrelease 1 2", "the mouse button is not down", 3},
        {"new\ntool \"Alpha tool\"\npress 1 2 ctrl", "\"ctrl\" is not a modifier (shift, alt)", 3},
        {"new\ntool \"Alpha tool\"\npress 1 nan", "y \"nan\" is not a number", 3},
        {"new\ntool \"Alpha tool\"\npress 1 2\npress 1 2", "already down", 4},
        {"new\ntool \"Alpha tool\"\npress 1 2\nmove 1 2", "the mouse button is down (use drag)", 4},
        {"new\ntool \"Alpha tool\"\npress 1 2\nundo", "the mouse button is down", 4},
        {"new\ntool \"Alpha tool\"\npress 1 2\ntool \"Beta tool\"", "the mouse button is down", 4},
        {"new\nzoom 0", "zoom 0 is outside 0.01 to 640", 2},
        {"new\nundo", "nothing to undo", 2},
        {"new\nredo", "nothing to redo", 2},
        {"answer maybe", "answer yes or no, not \"maybe\"", 1},
        {"new\nclick 1 2 3 4 5", "usage: click X Y [shift] [alt]", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ScriptRun r = run(c.script);
        EXPECT_EQ(r.status, Session::kScriptError);
        std::string prefix = (dir / "s.play").string() + ":" + std::to_string(c.line) + ": ";
        EXPECT_EQ(r.err.rfind(prefix, 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

} // namespace
