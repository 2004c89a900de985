// The tool-options panel end to end: the plug-in in minihost, the substitute event library in the
// host's application folder, the simulated panel answering through the extension framework.
#include "Host.h"
#include "HostImpl_p.h"
#include "io/DocumentFile.h"
#include "suites/Suites_p.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace minihost;

namespace {

constexpr const char* kSettings = "com.adobe.csxs.events.CurvicraftTool_UpdatePanelSettings";
constexpr const char* kUpdateParams = "com.adobe.csxs.events.CurvicraftTool_UpdateParams";
constexpr const char* kPanelReady = "com.adobe.csxs.events.CurvicraftTool_PanelReady";
constexpr const char* kMenuSelect = "com.adobe.csxs.events.CurvicraftTool_PanelMenuSelect";
constexpr const char* kRoundFillet = "Round Fillet tool";
constexpr const char* kAlert =
    "alert Unable to find a part of necessary module files for Curvicraft. Please refer the manual and re-install "
    "the plug-in.";

std::filesystem::path tempFile(const std::string& name)
{
    auto dir = std::filesystem::temp_directory_path() / ("curvicraft-panels-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto file = dir / name;
    std::filesystem::remove(file);
    return file;
}

struct PanelHost {
    std::vector<std::string> lines;
    Host host;

    explicit PanelHost(PanelLibrary library = PanelLibrary::Installed, std::filesystem::path prefs = {})
        : host(HostOptions{CURVICRAFT_DEFAULT_PLUGINS_DIR, CURVICRAFT_DEFAULT_APP_DIR, std::move(prefs), library})
    {
        host.setOutput([this](const std::string& line) { lines.push_back(line); });
        EXPECT_EQ(host.loadPlugin(), kCCNoErr);
        EXPECT_EQ(host.launch(), kCCNoErr);
        host.setDocument(
            DocumentFile::load(std::filesystem::path(CURVICRAFT_SOURCE_DIR) / "tests/fixtures/panel_corner.json"));
    }

    void select(const char* title) { ASSERT_EQ(host.selectTool(host.findTool(title)), kCCNoErr); }
    // The user picks one of the host's own tools.
    void deselect()
    {
        CCToolMessage message{};
        message.tool = host.selectedTool();
        ASSERT_EQ(host.send(kCCToolCaller, kCCDeselectSelector, &message), kCCNoErr);
        host.impl().selectedTool = 0;
    }

    // The events the plug-in dispatched since the last call.
    std::vector<ExtensionFramework::Event> take()
    {
        auto events = host.extensions().dispatched();
        host.extensions().clearDispatched();
        return events;
    }
    std::vector<std::string> takeLines() { return std::exchange(lines, {}); }
};

std::vector<std::string> commands(const std::vector<ExtensionFramework::Event>& events)
{
    std::vector<std::string> out;
    for (const auto& e : events)
        out.push_back(e.command);
    return out;
}

std::string tag(const std::string& payload, const std::string& name)
{
    auto open = payload.find("<" + name + ">");
    auto close = payload.find("</" + name + ">", open);
    if (open == std::string::npos || close == std::string::npos)
        return "<missing>";
    open += name.size() + 2;
    return payload.substr(open, close - open);
}

std::vector<CCRealPoint> anchors(Host& host, const char* id)
{
    const Art* art = host.document().get(host.document().findByName(id));
    std::vector<CCRealPoint> out;
    for (const auto& s : art->segments)
        out.push_back(s.anchor);
    return out;
}

} // namespace

TEST(ToolPanel, FirstSelectionStartsThePanelWhichGetsRangesAndParamsWhenReady)
{
    PanelHost h;
    h.takeLines();
    h.select(kRoundFillet);
    EXPECT_EQ(h.host.extensions().state("Curvicraft_Tool_UI"), kCCExtensionLoaded);
    auto events = h.take();
    ASSERT_EQ(commands(events), (std::vector<std::string>{"SendMinValues", "SendMaxValues", "SendData"}));
    for (const auto& e : events)
        EXPECT_EQ(e.type, kSettings);
    EXPECT_EQ(events[0].payload, "<payload><tool_index>12</tool_index><contents>min_values</contents>"
                                 "<snap_size>0</snap_size><fixed_radius>0</fixed_radius></payload>");
    EXPECT_EQ(events[1].payload, "<payload><tool_index>12</tool_index><contents>max_values</contents>"
                                 "<snap_size>4000</snap_size><fixed_radius>4000</fixed_radius></payload>");
    // The defaults, in points.
    EXPECT_EQ(
        events[2].payload.rfind("<payload><tool_index>12</tool_index><contents>params</contents><units>pt</units>", 0),
        0u)
        << events[2].payload;
    EXPECT_EQ(tag(events[2].payload, "ope_style"), "0");
    EXPECT_EQ(tag(events[2].payload, "snap_size"), "20");
    EXPECT_EQ(tag(events[2].payload, "fixed_radius"), "50");
    EXPECT_EQ(h.lines.front(), "extension load Curvicraft_Tool_UI");
    EXPECT_EQ(h.host.contextDepth(), 0);
}

TEST(ToolPanel, SelectingWithThePanelLoadedSendsAtOnceAndTheSameToolTwiceNothing)
{
    PanelHost h;
    h.select(kRoundFillet);
    h.take();
    h.deselect();
    auto close = h.take();
    ASSERT_EQ(commands(close), (std::vector<std::string>{"CloseUI"}));
    EXPECT_EQ(close[0].payload, "<payload><tool_index>12</tool_index><contents>close</contents></payload>");

    h.select("Chamfer tool");
    EXPECT_EQ(commands(h.take()), (std::vector<std::string>{"SendMinValues", "SendMaxValues", "SendData"}));
    h.select(kRoundFillet); // deselects Chamfer first
    auto events = h.take();
    ASSERT_EQ(commands(events), (std::vector<std::string>{"CloseUI", "SendMinValues", "SendMaxValues", "SendData"}));
    EXPECT_EQ(tag(events[0].payload, "tool_index"), "16") << "CloseUI names the slot being left";
    EXPECT_EQ(tag(events[3].payload, "tool_index"), "12");
    EXPECT_EQ(tag(events[3].payload, "fixed_radius"), "50");

    // The host's reselection of the selected tool: its options message deselects and selects the same slot.
    CCToolMessage message{};
    message.tool = h.host.findTool(kRoundFillet);
    h.host.send(kCCToolCaller, kCCSelectSelector, &message);
    EXPECT_TRUE(h.take().empty()) << "the same tool again sends nothing";
    EXPECT_EQ(h.host.extensions().state("Curvicraft_Tool_UI"), kCCExtensionLoaded);
}

TEST(ToolPanel, PanelReadyWithoutAToolUnloadsThePanel)
{
    PanelHost h;
    // The user opens the panel from the host's menu while none of the plug-in's tools is selected.
    h.host.extensions().load("Curvicraft_Tool_UI");
    h.host.extensions().deliverPending();
    EXPECT_EQ(h.host.extensions().state("Curvicraft_Tool_UI"), kCCExtensionUnloaded);
    EXPECT_TRUE(h.take().empty());

    // Also after a tool was shown and left: the ready flag stays set, but no tool is shown.
    h.select(kRoundFillet);
    h.deselect();
    h.take();
    ASSERT_EQ(h.host.extensions().raise(kPanelReady, ""), kCCNoErr);
    EXPECT_EQ(h.host.extensions().state("Curvicraft_Tool_UI"), kCCExtensionUnloaded);
    EXPECT_TRUE(h.take().empty());
}

TEST(ToolPanel, EditedFixedRadiusInMillimetresIsUsedByTheNextPressAndReportedAfterIt)
{
    PanelHost h;
    ASSERT_EQ(h.host.setRulerUnits("mm"), kCCNoErr);
    h.select(kRoundFillet);
    auto shown = h.take();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(tag(shown[2].payload, "units"), "mm");
    EXPECT_EQ(tag(shown[2].payload, "fixed_radius"), "17.6389") << "50 pt in mm";

    ASSERT_EQ(h.host.extensions().raise(kUpdateParams,
                                        "<payload><tool_index>12</tool_index><ope_style>2</ope_style>"
                                        "<snap_size>5</snap_size><fixed_radius>10</fixed_radius></payload>"),
              kCCNoErr);
    EXPECT_TRUE(h.take().empty());

    ASSERT_EQ(h.host.mouseDown({100, 100}), kCCNoErr);
    ASSERT_EQ(h.host.mouseDrag({130, 130}), kCCNoErr);
    ASSERT_EQ(h.host.mouseUp({130, 130}), kCCNoErr);

    // A 10 mm fillet of the right-angled corner: tangent points 10 mm from the corner along each side.
    const double r = 10 * 72 / 25.4;
    auto points = anchors(h.host, "ell");
    ASSERT_EQ(points.size(), 5u);
    EXPECT_NEAR(points[1].x, 100, 1e-6);
    EXPECT_NEAR(points[1].y, 100 + r, 1e-6);
    EXPECT_NEAR(points[3].x, 100 + r, 1e-6);
    EXPECT_NEAR(points[3].y, 100, 1e-6);

    auto after = h.take();
    ASSERT_EQ(commands(after), (std::vector<std::string>{"SendData"}));
    EXPECT_EQ(tag(after[0].payload, "ope_style"), "2");
    EXPECT_EQ(tag(after[0].payload, "fixed_radius"), "10");
    EXPECT_EQ(tag(after[0].payload, "snap_size"), "5");
    EXPECT_EQ(tag(after[0].payload, "curr_info"), "10 mm");
}

TEST(ToolPanel, RulerUnitsResendParamsOnlyWhileThePanelRuns)
{
    PanelHost h;
    ASSERT_EQ(h.host.setRulerUnits("in"), kCCNoErr);
    EXPECT_TRUE(h.take().empty()) << "no panel runs";

    h.select(kRoundFillet);
    h.take();
    ASSERT_EQ(h.host.setRulerUnits("cm"), kCCNoErr);
    auto events = h.take();
    ASSERT_EQ(commands(events), (std::vector<std::string>{"SendData"}));
    EXPECT_EQ(tag(events[0].payload, "units"), "cm");
    EXPECT_EQ(tag(events[0].payload, "snap_size"), "0.705556");

    // The units changed while no panel ran are those of the next params.
    h.host.extensions().unload("Curvicraft_Tool_UI");
    ASSERT_EQ(h.host.setRulerUnits("H"), kCCNoErr);
    EXPECT_TRUE(h.take().empty());
    ASSERT_EQ(h.host.setRulerUnits("px"), kCCNoErr);
    EXPECT_TRUE(h.take().empty());
}

TEST(ToolPanel, MalformedOrForeignPayloadsChangeNothing)
{
    PanelHost h;
    h.select(kRoundFillet);
    h.take();
    const char* payloads[] = {
        "<payload><tool_index>13</tool_index><ope_style>2</ope_style><fixed_radius>1</fixed_radius></payload>",
        "<payload><ope_style>2</ope_style><fixed_radius>1</fixed_radius></payload>", // no index
        "<payload><tool_index>twelve</tool_index><fixed_radius>1</fixed_radius></payload>",
        "<payload><tool_index>-1</tool_index><fixed_radius>1</fixed_radius></payload>",
        "<payload><tool_index>12</tool_index><fixed_radius>abc</fixed_radius><snap_size>nan</snap_size></payload>",
        "<payload><tool_index>12</tool_index><fixed_radius>1e400</fixed_radius><snap_size>",
        "",
        "<tool_index>12",
    };
    for (const char* payload : payloads) {
        SCOPED_TRACE(payload);
        ASSERT_EQ(h.host.extensions().raise(kUpdateParams, payload), kCCNoErr);
        // Another selection of the panel's tool re-sends its params: they are the defaults still.
        h.select("Chamfer tool");
        h.select(kRoundFillet);
        auto events = h.take();
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(tag(events.back().payload, "fixed_radius"), "50");
        EXPECT_EQ(tag(events.back().payload, "snap_size"), "20");
        EXPECT_EQ(tag(events.back().payload, "ope_style"), "0");
    }

    // Menu items: only "About" starts the utilities panel; longer or missing ids do nothing.
    for (const char* payload :
         {"<payload><menu_id>AboutAboutAboutAboutAbout</menu_id></payload>",
          "<payload><menu_id>about</menu_id></payload>", "<payload></payload>", "<payload><menu_id>About"}) {
        ASSERT_EQ(h.host.extensions().raise(kMenuSelect, payload), kCCNoErr);
        EXPECT_EQ(h.host.extensions().state("Curvicraft_Utils_UI"), kCCExtensionUnknown) << payload;
    }
    ASSERT_EQ(h.host.extensions().raise(kMenuSelect, "<payload><menu_id>About</menu_id></payload>"), kCCNoErr);
    EXPECT_EQ(h.host.extensions().state("Curvicraft_Utils_UI"), kCCExtensionLoaded);
    EXPECT_EQ(h.host.contextDepth(), 0);
}

TEST(ToolPanel, WithoutTheLibraryNothingIsSentAndToolsStillWork)
{
    PanelHost h(PanelLibrary::Absent);
    EXPECT_FALSE(h.host.extensions().libraryOpen());
    h.select(kRoundFillet);
    h.deselect();
    h.select(kRoundFillet);
    EXPECT_TRUE(h.take().empty());
    for (const auto& line : h.takeLines())
        EXPECT_EQ(line.rfind("alert", 0), std::string::npos) << line;
    EXPECT_EQ(h.host.extensions().state("Curvicraft_Tool_UI"), kCCExtensionUnknown);

    ASSERT_EQ(h.host.mouseDown({100, 100}), kCCNoErr);
    ASSERT_EQ(h.host.mouseDrag({130, 130}), kCCNoErr);
    ASSERT_EQ(h.host.mouseUp({130, 130}), kCCNoErr);
    EXPECT_EQ(anchors(h.host, "ell").size(), 5u) << "the press still fillets the corner";
}

TEST(ToolPanel, ALibraryLackingTheRemoveEntrySendsNothing)
{
    PanelHost h(PanelLibrary::LacksEntry);
    ASSERT_TRUE(h.host.extensions().libraryOpen());
    // The entries before the missing one work: listeners are added, the panel is started.
    EXPECT_EQ(h.host.extensions().listenerCount(kUpdateParams), 1u);
    h.select(kRoundFillet);
    EXPECT_EQ(h.host.extensions().state("Curvicraft_Tool_UI"), kCCExtensionLoaded);
    h.deselect();
    EXPECT_TRUE(h.take().empty()) << "sends go through the missing entry's check";
}

TEST(ToolPanel, AFailingLoadShowsTheAlertAndTheToolStillWorks)
{
    PanelHost h;
    h.host.extensions().failLoadsWith(7);
    h.takeLines();
    h.select(kRoundFillet);
    auto lines = h.takeLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], kAlert);
    ASSERT_EQ(h.host.mouseDown({100, 100}), kCCNoErr);
    ASSERT_EQ(h.host.mouseDrag({130, 130}), kCCNoErr);
    ASSERT_EQ(h.host.mouseUp({130, 130}), kCCNoErr);
    EXPECT_EQ(anchors(h.host, "ell").size(), 5u);
}

TEST(ShowTipsPreference, WrittenTrueWhenAbsentAndAStoredFalseKept)
{
    const auto prefs = tempFile("prefs.json");
    auto read = [&] {
        std::ifstream in(prefs);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    {
        PanelHost h(PanelLibrary::Installed, prefs);
    }
    EXPECT_NE(read().find("\"__Orvo_Linework_V1/ShowTips\": true"), std::string::npos) << read();

    std::ofstream(prefs) << R"({"__Orvo_Linework_V1/ShowTips": false, "other/key": true})";
    {
        PanelHost h(PanelLibrary::Installed, prefs);
    }
    EXPECT_NE(read().find("\"__Orvo_Linework_V1/ShowTips\": false"), std::string::npos) << read();
    EXPECT_NE(read().find("\"other/key\": true"), std::string::npos);
}

TEST(ToolPanel, ShutdownUnregistersListenersAndStopsThePanel)
{
    PanelHost h;
    h.select(kRoundFillet);
    ASSERT_EQ(h.host.shutdown(), kCCNoErr);
    EXPECT_EQ(h.host.extensions().listenerCount(kUpdateParams), 0u);
    EXPECT_EQ(h.host.extensions().listenerCount(kPanelReady), 0u);
    EXPECT_EQ(h.host.extensions().state("Curvicraft_Tool_UI"), kCCExtensionUnloaded);
    EXPECT_EQ(suites::liveFileObjects(), 0) << "every host string and path was disposed";
}

TEST(ToolPanel, ListenersAndPanelSurviveAnUnloadAndReloadOfThePlugin)
{
    PanelHost h;
    h.select(kRoundFillet);
    h.take();
    ASSERT_EQ(h.host.unload(true), kCCNoErr);
    EXPECT_EQ(h.host.extensions().listenerCount(kUpdateParams), 0u) << "no listener points into the closed library";
    ASSERT_EQ(h.host.reload(), kCCNoErr);
    EXPECT_EQ(h.host.extensions().listenerCount(kUpdateParams), 1u);
    // The panel shows the same tool again once it is ready, and takes edits for it.
    auto events = h.take();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(tag(events.back().payload, "tool_index"), "12");
    ASSERT_EQ(h.host.extensions().raise(kUpdateParams,
                                        "<payload><tool_index>12</tool_index><snap_size>7</snap_size></payload>"),
              kCCNoErr);
    ASSERT_EQ(h.host.setRulerUnits("pt"), kCCNoErr);
    events = h.take();
    ASSERT_EQ(commands(events), (std::vector<std::string>{"SendData"}));
    EXPECT_EQ(tag(events[0].payload, "snap_size"), "7");
    ASSERT_EQ(h.host.shutdown(), kCCNoErr);
    EXPECT_EQ(h.host.acquisitions(kCCCSXSExtensionSuite), 0);
}
