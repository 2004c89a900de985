// The tool framework through PluginMain on minihost: the tools and the annotator the plug-in registers,
// the routing of tool events (and of events for tools that are not the plug-in's), the cursor chosen for
// each tool, modifier and part under the pointer, feedback art disposal, the framework's own mouse-up
// steps, the cursor label drawn through the annotator, the "Tool Send Data" notice and the globals
// record's life.
//
// Most tests drive the library the host loads. Those that must set up or read tool state the user cannot
// reach (a press's hit record, the path being drawn, feedback art) run the linked copy of the plug-in,
// whose globals record the test can see.
#include "Host.h"
#include "HostImpl_p.h"
#include "KernelFixture.h"

#include "host/CurvicraftPlugin.h"
#include "host/PluginEntry.h"
#include "tools/framework/CurvicraftGlobals.h"
#include "tools/framework/InternalNotifierData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace curvicraft;
using kerneltest::parsePath;
using minihost::Host;
using minihost::ObjectId;

namespace {

CCErr linkedPluginMain(const char* caller, const char* selector, void* message)
{
    static constexpr PluginClass pluginClass = pluginClassOf<CurvicraftPlugin>();
    return runPluginEntry(pluginClass, caller, selector, message);
}

constexpr std::int32_t kShift = kCCEventModifierShift;
constexpr std::int32_t kOption = kCCEventModifierOption;

class ToolFramework : public ::testing::Test {
  protected:
    std::vector<std::string> lines; // declared first: the host still prints while it shuts down
    Host host;
    minihost::Document* doc = nullptr;

    // Loads the plug-in (the shipped library, or the linked code), starts it and tells it the
    // application has started, as the host does.
    void start(bool linked = false)
    {
        host.setOutput([this](const std::string& line) { lines.push_back(line); });
        auto d = std::make_unique<minihost::Document>();
        d->addLayer("Layer 1");
        doc = d.get();
        host.setDocument(std::move(d));
        ASSERT_EQ(host.loadPlugin(), kCCNoErr);
        if (linked)
            host.impl().plugin.entry = linkedPluginMain;
        ASSERT_EQ(host.startup(), kCCNoErr);
        ASSERT_EQ(host.notify(kCCApplicationStartedNotifier, nullptr), kCCNoErr);
    }

    void select(const std::string& title)
    {
        const CCToolHandle tool = host.findTool(title);
        ASSERT_NE(tool, nullptr) << title;
        ASSERT_EQ(host.selectTool(tool), kCCNoErr) << title;
    }

    ObjectId addPath(const std::string& text, std::int32_t attrs = 0, bool filled = true)
    {
        const kerneltest::PathSpec shape = parsePath(text);
        const ObjectId id = doc->create(kCCPathArt, kCCPlaceInsideOnTop, 0);
        minihost::Art* art = doc->edit(id);
        art->segments = shape.segments;
        art->selection.assign(shape.segments.size(), kCCSegmentNotSelected);
        art->closed = shape.closed;
        if (!filled)
            art->style.fill.reset();
        if (attrs != 0)
            doc->setAttrs(id, attrs, attrs);
        return id;
    }

    // The cursor shown now: the host prints a line whenever it changes, so the last line names it.
    int cursor() const
    {
        for (auto it = lines.rbegin(); it != lines.rend(); ++it)
            if (it->rfind("cursor ", 0) == 0)
                return std::stoi(it->substr(7));
        return -1;
    }

    bool printed(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }

    std::vector<std::int16_t> selection(ObjectId path) const { return doc->get(path)->selection; }

    // Every object of the document with its path data, to compare before and after.
    std::vector<std::vector<double>> snapshot() const
    {
        std::vector<std::vector<double>> all;
        doc->walk([&](const minihost::Art& a) {
            std::vector<double> v{double(a.id), double(a.attrs), double(a.closed)};
            for (const CCPathSegment& s : a.segments)
                v.insert(v.end(), {s.anchor.x, s.anchor.y, s.in.x, s.in.y, s.out.x, s.out.y, double(s.corner)});
            for (std::int16_t s : a.selection)
                v.push_back(s);
            all.push_back(std::move(v));
            return true;
        });
        return all;
    }

    std::size_t heldGlobals() const
    {
        std::size_t n = 0;
        for (const minihost::HeldBlock& b : host.heldBlocks())
            if (b.debugName == "CurvicraftGlobals")
                ++n;
        return n;
    }
};

// ---- registration -----------------------------------------------------------------------------------

struct ToolRow {
    int slot;
    const char* title;
    int icon, darkIcon;
};

const ToolRow kTools[] = {
    {0, "Segment Direct Edit tool", 16053, 17053},
    {1, "Segment Edit tool", 16064, 17064},
    {2, "Symmetric Edit tool", 16080, 17080},
    {3, "Numeric Edit tool", 16081, 17081},
    {4, "Arc Edit tool", 16063, 17063},
    {5, "Horizontal Straightener tool", 16066, 17066},
    {6, "Vertical Straightener tool", 16067, 17067},
    {7, "Convert-to-Arc tool", 16051, 17051},
    {8, "Parallelogram Ovalization tool", 16052, 17052},
    {9, "Semi Ovalization tool", 16060, 17060},
    {10, "Stretch tool", 16065, 17065},
    {12, "Round Fillet tool", 16054, 17054},
    {13, "Reverse Round Fillet tool", 16075, 17075},
    {14, "Oval Fillet tool", 16050, 17050},
    {15, "Reverse Oval Fillet tool", 16076, 17076},
    {16, "Chamfer tool", 16058, 17058},
    {17, "L-Chamfer tool", 16056, 17056},
    {18, "Intersection tool", 16055, 17055},
    {20, "Multi-Line tool", 16059, 17059},
    {21, "Multi-Arc tool", 16057, 17057},
    {22, "Multi-Curve tool", 16068, 17068},
    {23, "Rotate Mirroring tool", 16078, 17078},
    {24, "Reflect Mirroring tool", 16077, 17077},
    {25, "Wallpaper tool", 16079, 17079},
    {26, "Unlock tool", 16074, 17074},
    {28, "Segment Duplication tool", 16061, 17061},
    {29, "Parallelization tool", 16062, 17062},
    {30, "Segment Insertion tool", 16082, 17082},
    {31, "Segment Angling tool", 16072, 17072},
    {32, "Segment Resizing tool", 16073, 17073},
    {33, "Path Insertion tool", 16071, 17071},
    {34, "Path Angling tool", 16069, 17069},
    {35, "Path Resizing tool", 16070, 17070},
};

TEST_F(ToolFramework, StartupRegistersTheToolsInFourToolsetsOfOneGroup)
{
    start();
    const std::vector<Host::ToolInfo> tools = host.tools();
    ASSERT_EQ(tools.size(), std::size(kTools));
    const std::int32_t group = tools[0].number;
    std::int32_t toolset = 0;
    for (std::size_t i = 0; i < tools.size(); ++i) {
        const ToolRow& want = kTools[i];
        const Host::ToolInfo& got = tools[i];
        SCOPED_TRACE(want.title);
        EXPECT_EQ(got.title, want.title);
        EXPECT_EQ(got.tooltip, want.title);
        EXPECT_EQ(got.iconId, want.icon);
        EXPECT_EQ(got.darkIconId, want.darkIcon);
        EXPECT_EQ(got.options, 1);
        EXPECT_EQ(got.group, group) << "one palette group, that of the first tool";
        if (want.slot == 0 || want.slot == 12 || want.slot == 20 || want.slot == 28)
            toolset = got.number;
        EXPECT_EQ(got.toolset, toolset) << "toolsets led by slots 0, 12, 20 and 28";
    }
    std::vector<std::int32_t> leaders;
    for (const Host::ToolInfo& t : tools)
        if (std::find(leaders.begin(), leaders.end(), t.toolset) == leaders.end())
            leaders.push_back(t.toolset);
    EXPECT_EQ(leaders.size(), 4u);

    const auto& annotators = host.impl().annotators;
    ASSERT_EQ(annotators.size(), 1u);
    EXPECT_EQ(annotators[0].name, "Curvicraft Annotator");
    EXPECT_FALSE(annotators[0].active) << "the label's annotator is off until a press wants it";

    const auto& notifiers = host.impl().notifiers;
    const auto internal = std::find_if(notifiers.begin(), notifiers.end(), [](const auto& n) {
        return n.name == "Orvo_Curvicraft_Plugin" && n.type == kInternalNotifierType;
    });
    ASSERT_NE(internal, notifiers.end());
    EXPECT_TRUE(internal->active);
}

// ---- the globals record ------------------------------------------------------------------------------

// Counts the cursor resource handles the plug-in takes and gives back, forwarding to the host's.
struct CursorResourceCount {
    static inline CCUserSuite real{};
    static inline int created = 0, disposed = 0;
    static CCErr create(CCPluginRef plugin, void** resources)
    {
        ++created;
        return real.CreateCursorResourceMgr(plugin, resources);
    }
    static CCErr dispose(void* resources)
    {
        ++disposed;
        return real.DisposeCursorResourceMgr(resources);
    }
    static CCUserSuite wrap(Host& host)
    {
        const void* table = nullptr;
        EXPECT_EQ(host.basicSuite()->AcquireSuite(kCCUserSuite, kCCUserSuiteVersion, &table), kCCNoErr);
        real = *static_cast<const CCUserSuite*>(table);
        host.basicSuite()->ReleaseSuite(kCCUserSuite, kCCUserSuiteVersion);
        created = disposed = 0;
        CCUserSuite counted = real;
        counted.CreateCursorResourceMgr = create;
        counted.DisposeCursorResourceMgr = dispose;
        return counted;
    }
};

TEST_F(ToolFramework, GlobalsLiveInHostBlockMemoryUntilShutdown)
{
    static CCUserSuite user;
    user = CursorResourceCount::wrap(host);
    host.addSuite(kCCUserSuite, kCCUserSuiteVersion, &user);
    start();
    ASSERT_EQ(heldGlobals(), 1u);
    for (const minihost::HeldBlock& b : host.heldBlocks()) {
        if (b.debugName == "CurvicraftGlobals") {
            EXPECT_EQ(b.size, sizeof(CurvicraftGlobals));
        }
    }
    EXPECT_EQ(CursorResourceCount::created, 1);
    ASSERT_EQ(host.notify(kCCApplicationStartedNotifier, nullptr), kCCNoErr);
    EXPECT_EQ(CursorResourceCount::created, 1) << "the cursor resources are taken once";

    ASSERT_EQ(host.shutdown(), kCCNoErr);
    EXPECT_EQ(heldGlobals(), 0u);
    EXPECT_EQ(CursorResourceCount::disposed, 1);
}

// A registration refused after the record was allocated: the failed start-up gives the record back.
CCErr refuseAnnotator(CCPluginRef, const char*, CCAnnotatorHandle*)
{
    return kCCCantErr;
}

TEST_F(ToolFramework, FailedStartupLeavesNoGlobals)
{
    const void* table = nullptr;
    ASSERT_EQ(host.basicSuite()->AcquireSuite(kCCAnnotatorSuite, kCCAnnotatorSuiteVersion, &table), kCCNoErr);
    static CCAnnotatorSuite refusing;
    refusing = *static_cast<const CCAnnotatorSuite*>(table);
    host.basicSuite()->ReleaseSuite(kCCAnnotatorSuite, kCCAnnotatorSuiteVersion);
    refusing.AddAnnotator = refuseAnnotator;
    host.addSuite(kCCAnnotatorSuite, kCCAnnotatorSuiteVersion, &refusing);

    ASSERT_EQ(host.loadPlugin(), kCCNoErr);
    EXPECT_EQ(host.startup(), kCCCantErr);
    EXPECT_EQ(host.pluginGlobals(), nullptr);
    EXPECT_EQ(heldGlobals(), 0u);
}

// After the library is closed and opened again at another address, the plug-in still knows its tools.
TEST_F(ToolFramework, ToolsAreServedAfterTheLibraryIsReloaded)
{
    start();
    addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z", kCCArtSelected);
    select("Segment Direct Edit tool");
    ASSERT_EQ(host.unload(true), kCCNoErr);
    ASSERT_EQ(host.reload(), kCCNoErr);
    ASSERT_EQ(host.trackCursor({100, 100}, kOption), kCCNoErr);
    EXPECT_EQ(cursor(), 16511);
}

// ---- events for a tool that is not the plug-in's ---------------------------------------------------

TEST_F(ToolFramework, AnUnknownToolHandleChangesNothing)
{
    start(true);
    const ObjectId square = addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z", kCCArtSelected);
    select("Round Fillet tool");
    ASSERT_EQ(globals()->panelToolIndex, 12);
    const auto before = snapshot();
    lines.clear();

    CCToolMessage message{};
    message.tool = reinterpret_cast<CCToolHandle>(std::uintptr_t{0xdead0});
    message.cursor = {100, 100};
    for (const char* selector :
         {kCCSelectSelector, kCCMouseDownSelector, kCCMouseDragSelector, kCCMouseUpSelector, kCCTrackCursorSelector}) {
        EXPECT_EQ(host.send(kCCToolCaller, selector, &message), kCCNoErr) << selector;
    }
    EXPECT_EQ(globals()->panelToolIndex, 12) << "the panel still shows Round Fillet";
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(doc->get(square)->segments.size(), 4u);
    EXPECT_TRUE(lines.empty()) << lines.front();
}

// ---- the cursor -------------------------------------------------------------------------------------

struct CursorCase {
    const char* tool;
    const char* where;
    std::int32_t modifiers;
    bool pressed;
    int cursor;
};

// The document of the cursor cases, on top of each other from the bottom:
//   S  "M 0,0 L 100,0 L 100,100 L 0,100 Z"        selected, filled
//   U  "M 0,200 L 100,200"                          unselected
//   C  "M 200,0 C 230,0 270,40 300,40"              selected; its handles stand out at (230,0), (270,40)
//   L  "M 0,300 L 100,300 L 100,400 Z"               locked: only the snapping hit test sees it
//   E  "M 300,300 L 400,300 L 400,400 L 300,400 Z"  unfilled and unselected; centre (350,350)
struct Place {
    const char* name;
    CCRealPoint at;
};
const Place kPlaces[] = {
    {"anchor of S", {100, 100}}, {"curve of S", {50, 0}},   {"fill of S", {50, 50}},
    {"anchor of U", {100, 200}}, {"curve of U", {50, 200}}, {"out handle of C", {230, 0}},
    {"anchor of L", {100, 300}}, {"curve of L", {50, 300}}, {"centre of E", {350, 350}},
    {"nothing", {500, 600}},
};

const CursorCase kCursorCases[] = {
    // A tool that reads no modifiers.
    {"Round Fillet tool", "anchor of S", kShift | kOption, false, 16021},
    {"Round Fillet tool", "anchor of S", kOption, false, 16021},
    {"Round Fillet tool", "curve of S", 0, false, 16022},
    {"Round Fillet tool", "out handle of C", 0, false, 16020},
    {"Round Fillet tool", "fill of S", 0, false, 16020},
    {"Round Fillet tool", "anchor of L", 0, false, 16021},
    {"Round Fillet tool", "curve of L", 0, false, 16022},
    {"Round Fillet tool", "centre of E", 0, false, 16021},
    {"Round Fillet tool", "nothing", 0, false, 16020},
    // Handles count; Option alone marks the parts of a selected path.
    {"Segment Direct Edit tool", "out handle of C", 0, false, 16022},
    {"Segment Direct Edit tool", "anchor of S", kOption, false, 16511},
    {"Segment Direct Edit tool", "anchor of U", kOption, false, 16021},
    {"Segment Direct Edit tool", "curve of S", kOption, false, 16510},
    {"Segment Direct Edit tool", "curve of U", kOption, false, 16022},
    {"Segment Direct Edit tool", "anchor of S", kShift | kOption, false, 16021},
    {"Arc Edit tool", "anchor of S", kOption, false, 16511},
    {"Arc Edit tool", "out handle of C", 0, false, 16020},
    // Shift with Option; anchors are not the insertion tools' targets.
    {"Segment Insertion tool", "anchor of S", kShift | kOption, false, 16020},
    {"Segment Insertion tool", "anchor of S", kShift | kOption, true, 16020},
    {"Segment Insertion tool", "curve of S", kShift | kOption, false, 16502},
    {"Segment Insertion tool", "curve of S", kShift | kOption, true, 16505},
    {"Segment Insertion tool", "out handle of C", kShift | kOption, true, 16505},
    {"Segment Insertion tool", "curve of S", kShift, false, 16022},
    {"Numeric Edit tool", "anchor of S", kShift | kOption, false, 16020},
    {"Numeric Edit tool", "out handle of C", kShift | kOption, false, 16502},
    {"Path Resizing tool", "anchor of S", kShift | kOption, false, 16501},
    {"Path Resizing tool", "anchor of S", kShift | kOption, true, 16504},
    {"Path Resizing tool", "anchor of S", kOption, false, 16021},
    {"Path Resizing tool", "curve of U", kShift | kOption, true, 16505},
};

TEST_F(ToolFramework, CursorFollowsToolModifiersAndThePartUnderThePointer)
{
    start();
    addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z", kCCArtSelected);
    addPath("M 0,200 L 100,200");
    addPath("M 200,0 C 230,0 270,40 300,40", kCCArtSelected);
    addPath("M 0,300 L 100,300 L 100,400 Z", kCCArtLocked);
    addPath("M 300,300 L 400,300 L 400,400 L 300,400 Z", 0, false);

    for (const CursorCase& c : kCursorCases) {
        const auto place = std::find_if(std::begin(kPlaces), std::end(kPlaces),
                                        [&](const Place& p) { return std::strcmp(p.name, c.where) == 0; });
        ASSERT_NE(place, std::end(kPlaces)) << c.where;
        SCOPED_TRACE(std::string(c.tool) + " over " + c.where + " modifiers " + std::to_string(c.modifiers) +
                     (c.pressed ? " pressed" : ""));
        select(c.tool);
        const auto before = snapshot();
        if (c.pressed) {
            ASSERT_EQ(host.mouseDown(place->at, c.modifiers), kCCNoErr);
            ASSERT_EQ(host.mouseDrag(place->at, c.modifiers), kCCNoErr);
            EXPECT_EQ(cursor(), c.cursor);
            ASSERT_EQ(host.mouseUp(place->at, c.modifiers), kCCNoErr);
            host.undo();
        } else {
            ASSERT_EQ(host.trackCursor(place->at, c.modifiers), kCCNoErr);
            EXPECT_EQ(cursor(), c.cursor);
        }
        EXPECT_EQ(snapshot(), before);
    }
}

TEST_F(ToolFramework, CursorLeavesItsPressedVariantAtRelease)
{
    start();
    addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z", kCCArtSelected);
    select("Segment Insertion tool");
    ASSERT_EQ(host.mouseDown({50, 0}, kShift | kOption), kCCNoErr);
    EXPECT_EQ(cursor(), 16505) << "already at mouse-down";
    ASSERT_EQ(host.mouseUp({50, 0}, kShift | kOption), kCCNoErr);
    EXPECT_EQ(cursor(), 16502);
}

// ---- feedback art ------------------------------------------------------------------------------------

TEST_F(ToolFramework, FeedbackArtIsGoneAtTheNextDragStepAndAtRelease)
{
    start(true);
    select("Segment Duplication tool"); // the framework's steps only: no handlers of its own yet
    ASSERT_EQ(host.mouseDown({10, 10}), kCCNoErr);
    const ObjectId first = addPath("M 0,0 L 10,10");
    globals()->tempArt = minihost::toHandle(first);
    ASSERT_EQ(host.mouseDrag({20, 20}), kCCNoErr);
    EXPECT_FALSE(doc->valid(first));
    EXPECT_EQ(globals()->tempArt, nullptr);

    // Art already gone (a revert removed it) is only forgotten.
    const ObjectId stale = addPath("M 0,0 L 20,20");
    doc->dispose(stale);
    globals()->tempArt = minihost::toHandle(stale);
    EXPECT_EQ(host.mouseDrag({30, 30}), kCCNoErr);
    EXPECT_EQ(globals()->tempArt, nullptr);

    const ObjectId last = addPath("M 0,0 L 30,30");
    globals()->tempArt = minihost::toHandle(last);
    ASSERT_EQ(host.mouseUp({30, 30}), kCCNoErr);
    EXPECT_FALSE(doc->valid(last));
    EXPECT_EQ(globals()->tempArt, nullptr);

    // A new press forgets a previous press's art without disposing it: it belongs to the document now.
    const ObjectId kept = addPath("M 0,0 L 40,40");
    globals()->tempArt = minihost::toHandle(kept);
    ASSERT_EQ(host.mouseDown({40, 40}), kCCNoErr);
    EXPECT_TRUE(doc->valid(kept));
    EXPECT_EQ(globals()->tempArt, nullptr);
}

// ---- the path being drawn ---------------------------------------------------------------------------

TEST_F(ToolFramework, SelectingAToolForgetsThePathBeingDrawn)
{
    start(true);
    select("Multi-Line tool");
    const ObjectId drawn = addPath("M 0,0 L 50,0", kCCArtSelected);
    globals()->drawingPath = minihost::toHandle(drawn);
    globals()->drawingState = 2;
    select("Multi-Arc tool");
    EXPECT_EQ(globals()->drawingPath, nullptr);
    EXPECT_EQ(globals()->drawingState, 0);
    EXPECT_TRUE(doc->valid(drawn)) << "the path itself stays";
}

// ---- the framework's mouse-up steps ------------------------------------------------------------------

struct MouseUpCase {
    const char* tool;
    HitPart part;
    std::int16_t segment;
    std::int16_t handleDisplay; // the tool's selection-after-edit setting, where it has one
    std::vector<std::int16_t> selection;
};

// On a closed square with every anchor unselected.
const MouseUpCase kMouseUpCases[] = {
    {"Segment Direct Edit tool", HitPart::Curve, 0, 1, {2, 0, 0, 3}},
    {"Segment Direct Edit tool", HitPart::Anchor, 2, 1, {0, 0, 4, 0}},
    {"Segment Direct Edit tool", HitPart::Curve, 2, 2, {4, 4, 4, 4}},
    {"Segment Direct Edit tool", HitPart::Anchor, 2, 0, {1, 1, 1, 1}},
    {"Segment Edit tool", HitPart::InHandle, 1, 1, {0, 4, 0, 0}},
    {"Segment Edit tool", HitPart::None, 1, 1, {0, 0, 0, 0}},
    {"Arc Edit tool", HitPart::Curve, 1, 1, {3, 2, 0, 0}},
    {"Arc Edit tool", HitPart::OutHandle, 1, 1, {0, 0, 0, 0}},
    {"Horizontal Straightener tool", HitPart::Curve, 1, 0, {1, 1, 1, 1}},
    {"Parallelogram Ovalization tool", HitPart::Anchor, 3, 0, {1, 1, 1, 1}},
    {"Convert-to-Arc tool", HitPart::InHandle, 3, 0, {0, 0, 0, 0}},
    {"Intersection tool", HitPart::Anchor, 1, 0, {0, 0, 0, 0}},
};

TEST_F(ToolFramework, MouseUpSelectsWhatTheToolEdited)
{
    start(true);
    for (const MouseUpCase& c : kMouseUpCases) {
        SCOPED_TRACE(std::string(c.tool) + " part " + std::to_string(int(c.part)) + " display " +
                     std::to_string(c.handleDisplay));
        const ObjectId square = addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z");
        select(c.tool);
        CurvicraftGlobals& g = *globals();
        g.editSeg1.handleDispType = g.editSeg2.handleDispType = g.circularSegs.handleDispType = c.handleDisplay;
        ASSERT_EQ(host.mouseDown({500, 500}), kCCNoErr);
        // What the tool's own mouse-down would have recorded.
        g.toolHit = ToolHit{1, c.part, c.segment, minihost::toHandle(square), nullptr, {0, 0}, 0.5};
        g.pressConsumed = 1;
        ASSERT_EQ(host.mouseUp({500, 500}), kCCNoErr);
        EXPECT_EQ(selection(square), c.selection);
        if (std::strcmp(c.tool, "Intersection tool") != 0) {
            EXPECT_EQ(g.pressConsumed, 0);
        }
        doc->dispose(square);
    }
}

TEST_F(ToolFramework, NumericEditKeepsTheHitAnchorSelectedWhileDragging)
{
    start(true);
    const ObjectId square = addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z");
    select("Numeric Edit tool");
    ASSERT_EQ(host.mouseDown({100, 100}), kCCNoErr);
    CurvicraftGlobals& g = *globals();
    g.toolHit = ToolHit{1, HitPart::Anchor, 2, minihost::toHandle(square), nullptr, {100, 100}, 0};
    g.reselectOnDrag = 0;
    ASSERT_EQ(host.mouseDrag({110, 110}), kCCNoErr);
    EXPECT_EQ(selection(square), (std::vector<std::int16_t>{0, 0, 0, 0}));
    g.reselectOnDrag = 1;
    ASSERT_EQ(host.mouseDrag({120, 120}), kCCNoErr);
    EXPECT_EQ(selection(square), (std::vector<std::int16_t>{0, 0, 1, 0}));
    ASSERT_EQ(host.mouseUp({120, 120}), kCCNoErr);
}

TEST_F(ToolFramework, MultiCurveReleaseClosesAPathWhoseEndsMeet)
{
    start(true);
    select("Multi-Curve tool");
    const ObjectId open = addPath("M 0,0 L 100,0 L 100,100 L 0.05,-0.05");
    ASSERT_EQ(host.mouseDown({0, 0}), kCCNoErr);
    globals()->drawingPath = minihost::toHandle(open);
    ASSERT_EQ(host.mouseUp({0, 0}), kCCNoErr);
    const minihost::Art* art = doc->get(open);
    EXPECT_TRUE(art->closed);
    EXPECT_EQ(art->segments.size(), 3u);
    EXPECT_TRUE(art->attrs & kCCArtSelected);

    // A path whose ends are apart stays open, and is selected all the same.
    const ObjectId apart = addPath("M 0,0 L 100,0 L 100,100");
    ASSERT_EQ(host.mouseDown({0, 0}), kCCNoErr);
    globals()->drawingPath = minihost::toHandle(apart);
    ASSERT_EQ(host.mouseUp({0, 0}), kCCNoErr);
    EXPECT_FALSE(doc->get(apart)->closed);
    EXPECT_EQ(doc->get(apart)->segments.size(), 3u);
    EXPECT_TRUE(doc->get(apart)->attrs & kCCArtSelected);
}

// ---- the cursor label ----------------------------------------------------------------------------

TEST_F(ToolFramework, RoundFilletPressShowsItsRadiusNextToTheCursor)
{
    start();
    const ObjectId square = addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z", kCCArtSelected);
    select("Round Fillet tool");
    ASSERT_EQ(host.setZoom(2), kCCNoErr);
    host.setViewOrigin({-50, 250});
    host.takeInvalidations();

    ASSERT_EQ(host.mouseDown({100, 100}), kCCNoErr);
    const CCRealPoint cursorAt{100 - 30 * std::sqrt(0.5), 100 - 30 * std::sqrt(0.5)};
    ASSERT_EQ(host.mouseDrag(cursorAt), kCCNoErr);
    ASSERT_EQ(doc->get(square)->segments.size(), 6u) << "the corner became a fillet";
    EXPECT_TRUE(printed("label 21.213 pt"));

    // A gray box 16 pixels right of and below the cursor, hanging down by its height, black text in it.
    CCPoint32 view{};
    ASSERT_EQ(host.viewPoint(cursorAt, view), kCCNoErr);
    const std::string text = "21.213 pt";
    const std::int32_t width = 7 * std::int32_t(text.size()), height = 12; // minihost's text metric
    const CCRect32 box{view.h + 16, view.v + 16, view.h + 16 + width, view.v + 16 + height};
    const std::vector<Host::DrawOp> ops = host.lastDrawing();
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[0].kind, Host::DrawOp::Color);
    EXPECT_EQ(ops[0].values, (std::vector<std::int32_t>{0xCCCC, 0xCCCC, 0xCCCC}));
    EXPECT_EQ(ops[1].kind, Host::DrawOp::Rect);
    EXPECT_EQ(ops[1].values, (std::vector<std::int32_t>{box.left, box.top, box.right, box.bottom, 1}));
    EXPECT_EQ(ops[2].values, (std::vector<std::int32_t>{0, 0, 0}));
    EXPECT_EQ(ops[3].kind, Host::DrawOp::Text);
    EXPECT_EQ(ops[3].text, text);
    EXPECT_EQ(ops[3].values, (std::vector<std::int32_t>{box.left, box.bottom}));

    // The next step clears where the label was; so does the release, after which no label is drawn.
    host.takeInvalidations();
    ASSERT_EQ(host.mouseDrag({90, 90}), kCCNoErr);
    std::vector<CCRect32> cleared = host.takeInvalidations();
    ASSERT_FALSE(cleared.empty());
    EXPECT_EQ(std::memcmp(&cleared.front(), &box, sizeof box), 0);
    ASSERT_EQ(host.mouseUp({90, 90}), kCCNoErr);
    EXPECT_FALSE(host.takeInvalidations().empty());
    EXPECT_FALSE(host.impl().annotators[0].active);
    host.redraw();
    EXPECT_TRUE(host.lastDrawing().empty());
}

TEST_F(ToolFramework, ToolsWithoutAMeasurementDrawNoLabel)
{
    start();
    addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z", kCCArtSelected);
    select("Segment Angling tool");
    ASSERT_EQ(host.mouseDown({100, 100}), kCCNoErr);
    ASSERT_EQ(host.mouseDrag({80, 80}), kCCNoErr);
    EXPECT_FALSE(host.impl().annotators[0].active);
    EXPECT_TRUE(host.lastDrawing().empty());
    ASSERT_EQ(host.mouseUp({80, 80}), kCCNoErr);
}

// ---- the tool-data notice ----------------------------------------------------------------------------

// The plug-in entry, recording the internal notices it receives before handing them on.
struct NoticeLog {
    static inline CCPluginMainProc entry = nullptr;
    static inline std::vector<std::string> commands;
    static CCErr record(const char* caller, const char* selector, void* message)
    {
        if (std::strcmp(caller, kCCNotifierCaller) == 0 && std::strcmp(selector, kCCNotifySelector) == 0) {
            const auto* notice = static_cast<const CCNotifierMessage*>(message);
            if (std::strcmp(notice->type, kInternalNotifierType) == 0)
                commands.push_back(static_cast<const InternalNotifierData*>(notice->notifyData)->command);
        }
        return entry(caller, selector, message);
    }
};

TEST_F(ToolFramework, RoundFilletReleaseTellsThePluginsOwnNotifier)
{
    start();
    addPath("M 0,0 L 100,0 L 100,100 L 0,100 Z", kCCArtSelected);
    NoticeLog::entry = host.impl().plugin.entry;
    NoticeLog::commands.clear();
    host.impl().plugin.entry = NoticeLog::record;
    select("Round Fillet tool");
    ASSERT_EQ(host.mouseDown({100, 100}), kCCNoErr);
    ASSERT_EQ(host.mouseDrag({80, 80}), kCCNoErr);
    EXPECT_TRUE(NoticeLog::commands.empty()) << "drag steps send nothing";
    ASSERT_EQ(host.mouseUp({80, 80}), kCCNoErr);
    EXPECT_EQ(NoticeLog::commands, std::vector<std::string>{"Tool Send Data"});
}

TEST_F(ToolFramework, InternalNoticesItDoesNotKnowAreIgnored)
{
    start();
    const auto before = snapshot();
    InternalNotifierData other;
    std::strcpy(other.command, "Something Else");
    EXPECT_EQ(host.notify(kInternalNotifierType, &other), kCCNoErr);
    InternalNotifierData unterminated;
    std::memset(unterminated.command, 'x', sizeof unterminated.command);
    EXPECT_EQ(host.notify(kInternalNotifierType, &unterminated), kCCNoErr);
    EXPECT_EQ(host.notify(kInternalNotifierType, nullptr), kCCNoErr);
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(lines.empty()) << lines.front();
}

} // namespace
