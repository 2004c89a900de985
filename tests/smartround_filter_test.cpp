// Smart Rounding as a user reaches it: the filter commands from the menu, the recorded action and its
// playback through PluginMain on minihost, the alerts, and `curvicraft round` on whole files.
#include "TestFiles.h"
#include "Commands.h"
#include "Host.h"
#include "Session.h"
#include "host/ErrorAlert.h"
#include "io/DocumentFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

using namespace minihost;
namespace fs = std::filesystem;

constexpr std::int32_t key(const char (&s)[5])
{
    return static_cast<std::int32_t>((std::uint32_t(std::uint8_t(s[0])) << 24) |
                                     (std::uint32_t(std::uint8_t(s[1])) << 16) |
                                     (std::uint32_t(std::uint8_t(s[2])) << 8) | std::uint32_t(std::uint8_t(s[3])));
}

using testfiles::readFile;
using testfiles::TempDir;
using testfiles::writeFile;

int countAnchorsAt(const Art& a, double x, double y)
{
    int n = 0;
    for (const auto& s : a.segments)
        n += std::fabs(s.anchor.x - x) < 1e-6 && std::fabs(s.anchor.y - y) < 1e-6;
    return n;
}

// The real plug-in, started in a host with a document holding one square of side 100.
class SmartRoundFilter : public ::testing::Test {
  protected:
    std::vector<std::string> lines; // declared first: the host still prints while it shuts down
    Host host;
    ObjectId square = 0;

    void SetUp() override
    {
        host.setOutput([this](const std::string& line) { lines.push_back(line); });
        ASSERT_EQ(host.loadPlugin(), kCCNoErr);
        ASSERT_EQ(host.startup(), kCCNoErr);
        square = addSquare(0, 0);
    }
    void TearDown() override { host.shutdown(); }

    ObjectId addSquare(double x, double y)
    {
        Document& doc = host.document();
        ObjectId id = doc.create(kCCPathArt, kCCPlaceAboveAll, 0);
        Art* a = doc.edit(id);
        for (auto [px, py] : {std::pair{x, y}, {x + 100, y}, {x + 100, y + 100}, {x, y + 100}}) {
            CCRealPoint p{px, py};
            a->segments.push_back(CCPathSegment{p, p, p, 1});
        }
        a->selection.assign(4, kCCSegmentNotSelected);
        a->closed = true;
        return id;
    }
    const Art& art(ObjectId id) { return *host.document().get(id); }
    void select(ObjectId id) { host.document().selectWhole(id); }

    ActionParams actionParams(bool selectedOnly, double convex, double concave, double degrees)
    {
        return {{key("selP"), {kCCActionTypeBool, 0, selectedOnly, 0}},
                {key("nLen"), {kCCActionTypeReal, kCCActionUnitPixels, false, convex}},
                {key("uLen"), {kCCActionTypeReal, kCCActionUnitPixels, false, concave}},
                {key("eAgl"), {kCCActionTypeReal, kCCActionUnitAngle, false, degrees}}};
    }
};

TEST_F(SmartRoundFilter, StartupRegistersTheFiltersAndTheAction)
{
    const auto filters = filterCommands();
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].name, "Orvo Smart Rounding Filter");
    EXPECT_EQ(filters[0].title, "Smart Rounding...");
    EXPECT_EQ(filters[1].name, "Orvo Smart Rounding Filter Selected Corners");
    EXPECT_EQ(filters[1].title, "Smart Rounding (Selected Corners)...");
    for (const auto& f : filters)
        EXPECT_EQ(f.category, "Curvicraft");

    const auto actions = registeredActions();
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].name, "Orvo_SmartRound_Action");
    EXPECT_EQ(actions[0].version, 1);
    ASSERT_EQ(actions[0].keys.size(), 4u);
    const std::pair<const char*, std::int32_t> expected[4] = {{"Selected Corners only: ", kCCActionTypeBool},
                                                              {"Max. Length along Convex Angle: ", kCCActionTypeReal},
                                                              {"Max. Length along Concave Angle: ", kCCActionTypeReal},
                                                              {"Ignore Angles Above: ", kCCActionTypeReal}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(actions[0].keys[i].label, expected[i].first);
        EXPECT_EQ(actions[0].keys[i].valueType, expected[i].second);
    }
}

// The first run takes the first-use values (5, 2.5, 170 degrees) and records them while the host records.
TEST_F(SmartRoundFilter, MenuCommandRoundsTheSelectionAndRecordsTheAction)
{
    ObjectId other = addSquare(300, 0); // not selected: stays as it is
    select(square);
    setActionRecording(true);
    ASSERT_TRUE(chooseMenuCommand(host, "Smart Rounding..."));
    EXPECT_EQ(art(square).segments.size(), 8u);
    EXPECT_EQ(countAnchorsAt(art(square), 5, 0), 1);
    EXPECT_EQ(countAnchorsAt(art(square), 100, 95), 1);
    EXPECT_EQ(art(other).segments.size(), 4u);

    const auto events = recordedActions();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].name, "Orvo_SmartRound_Action");
    EXPECT_EQ(events[0].dialogMode, 1);
    const ActionParams expected = actionParams(false, 5, 2.5, 0);
    EXPECT_EQ(events[0].params.at(key("selP")), expected.at(key("selP")));
    EXPECT_EQ(events[0].params.at(key("nLen")), expected.at(key("nLen")));
    EXPECT_EQ(events[0].params.at(key("uLen")), expected.at(key("uLen")));
    EXPECT_EQ(events[0].params.at(key("eAgl")).unit, kCCActionUnitAngle);
    EXPECT_NEAR(events[0].params.at(key("eAgl")).number, 170, 1e-9);
    EXPECT_TRUE(lines.empty()) << lines.front();

    // Not recording: the next run records nothing.
    setActionRecording(false);
    select(other);
    ASSERT_TRUE(chooseMenuCommand(host, "Smart Rounding..."));
    EXPECT_EQ(art(other).segments.size(), 8u);
    EXPECT_EQ(recordedActions().size(), 1u);
}

TEST_F(SmartRoundFilter, SelectedCornersVariantTakesAnchorsInStateOne)
{
    select(square);
    const std::int16_t states[4] = {kCCSegmentPointSelected, kCCSegmentInAndOutSelected, kCCSegmentNotSelected,
                                    kCCSegmentPointSelected};
    for (int i = 0; i < 4; ++i)
        host.document().setAnchorSelection(square, i, states[i]);
    ASSERT_TRUE(chooseMenuCommand(host, "Smart Rounding (Selected Corners)..."));
    EXPECT_EQ(art(square).segments.size(), 6u);
    EXPECT_EQ(countAnchorsAt(art(square), 0, 0), 0);
    EXPECT_EQ(countAnchorsAt(art(square), 100, 0), 1);
    EXPECT_EQ(countAnchorsAt(art(square), 100, 100), 1);
    EXPECT_EQ(countAnchorsAt(art(square), 0, 100), 0);
}

TEST_F(SmartRoundFilter, RepeatingTheLastFilterRunsItAgain)
{
    EXPECT_FALSE(repeatLastFilter(host));
    select(square);
    ASSERT_TRUE(chooseMenuCommand(host, "Smart Rounding..."));
    ObjectId next = addSquare(300, 0);
    host.document().deselectAll();
    select(next);
    ASSERT_TRUE(repeatLastFilter(host));
    EXPECT_EQ(art(next).segments.size(), 8u);
    EXPECT_EQ(countAnchorsAt(art(next), 305, 0), 1);
}

TEST_F(SmartRoundFilter, NothingSelectedShowsTheAlert)
{
    ASSERT_TRUE(chooseMenuCommand(host, "Smart Rounding..."));
    EXPECT_EQ(lines, std::vector<std::string>{"alert You must select a path first.\\n!sel"});
    EXPECT_EQ(art(square).segments.size(), 4u);
    EXPECT_FALSE(chooseMenuCommand(host, "No Such Command"));
}

// The recorded angle is in degrees: the square's corners turn by 90 degrees, so a limit of 90 leaves them.
TEST_F(SmartRoundFilter, PlaybackWithoutDialogRoundsWithTheRecordedValues)
{
    struct Case {
        double degrees;
        std::size_t anchors;
    };
    for (const Case& c : {Case{90, 4}, Case{100, 8}}) {
        host.document().dispose(square);
        square = addSquare(0, 0);
        select(square);
        EXPECT_EQ(playAction(host, "Orvo_SmartRound_Action", actionParams(false, 12, 12, c.degrees), false), kCCNoErr);
        EXPECT_EQ(art(square).segments.size(), c.anchors) << c.degrees;
    }
    EXPECT_EQ(countAnchorsAt(art(square), 12, 0), 1);

    // A block without the angle is refused: nothing changes.
    ActionParams incomplete = actionParams(false, 12, 12, 100);
    incomplete.erase(key("eAgl"));
    ObjectId fresh = addSquare(300, 0);
    host.document().deselectAll();
    select(fresh);
    playAction(host, "Orvo_SmartRound_Action", incomplete, false);
    EXPECT_EQ(art(fresh).segments.size(), 4u);
}

// Playback that asks for the dialog keeps the values for it: the next filter run uses them.
TEST_F(SmartRoundFilter, PlaybackWithDialogKeepsTheValuesForTheFilter)
{
    select(square);
    EXPECT_EQ(playAction(host, "Orvo_SmartRound_Action", actionParams(false, 30, 30, 180), true), kCCNoErr);
    EXPECT_EQ(art(square).segments.size(), 4u);
    ASSERT_TRUE(chooseMenuCommand(host, "Smart Rounding..."));
    EXPECT_EQ(countAnchorsAt(art(square), 30, 0), 1);
    EXPECT_EQ(countAnchorsAt(art(square), 70, 0), 1);
}

TEST(SmartRoundAlert, TextsOfTheCodes)
{
    using curvicraft::errorAlertText;
    struct Case {
        CCErr code;
        const char* text;
    };
    const Case cases[] = {
        {-108, "The filter cannot complete because there isn't enough memory (RAM) available.\n-108"},
        {271, "The filter cannot complete because there isn't enough memory (RAM) available.\n271"},
        {CC_FOURCC('S', 'E', 'G', 'M'), "The filter cannot complete because a path has too many anchor points.\nSEGM"},
        {CC_FOURCC('A', 'q', 's', 'F'), "Unknown error.\nAqsF"},
        {65535, "Unknown error.\n65535"},
        {-1, "Unknown error.\n-1"},
        {CC_FOURCC('i', 'U', 'n', 'T'), "The selection includes a locked or hidden object within the group.\niUnT"},
        {CC_FOURCC('S', 'T', 'O', 'P'), ""},
        {0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorAlertText(c.code), c.text) << c.code;
}

// ------------------------------------------------------------------ curvicraft round

int runCli(const std::string& args, std::string* out = nullptr)
{
    TempDir tmp;
    const std::string command = std::string(CURVICRAFT_CLI_PATH) + " " + args + " >" + (tmp / "out").string() + " 2>&1";
    const int status = std::system(command.c_str());
    if (out)
        *out = readFile(tmp / "out");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string quote(const fs::path& p)
{
    return "'" + p.string() + "'";
}

// The same drawings rounded by the filter command in a session and by `curvicraft round` are the same
// documents, byte for byte.
TEST(SmartRoundCli, SameDocumentsAsTheFilterCommand)
{
    TempDir tmp;
    const fs::path corpus = fs::path(CURVICRAFT_SOURCE_DIR).parent_path().parent_path() / "shared/corpus/simple-icons";
    std::vector<fs::path> inputs;
    for (const char* name : {"alienware.svg", "1and1.svg", "alipay.svg"})
        if (fs::exists(corpus / name))
            inputs.push_back(corpus / name);
    // A drawing of curved sides and a concave notch, in the native format.
    writeFile(tmp / "shapes.json", R"({"format":"curvicraft-document","version":1,"units":"pt","width":400,"height":400,
      "layers":[{"name":"Layer 1","editable":true,"visible":true,"art":[
      {"type":"path","id":"notch","closed":true,"segments":[
        {"anchor":[0,0],"in":[0,0],"out":[0,0],"corner":true},{"anchor":[300,0],"in":[300,0],"out":[300,0],"corner":true},
        {"anchor":[300,200],"in":[300,200],"out":[300,200],"corner":true},{"anchor":[210,200],"in":[210,200],"out":[210,200],"corner":true},
        {"anchor":[210,300],"in":[210,300],"out":[210,300],"corner":true},{"anchor":[0,300],"in":[0,300],"out":[0,300],"corner":true}]},
      {"type":"path","id":"lens","closed":true,"segments":[
        {"anchor":[0,0],"in":[30,-40],"out":[30,40],"corner":true},{"anchor":[100,0],"in":[70,40],"out":[70,-40],"corner":true}]}]}]})");
    inputs.push_back(tmp / "shapes.json");
    // The filter's first run takes its first-use values: give the command the same.
    std::string args = "round --out-dir " + quote(tmp / "cli") + " --convex 5 --concave 2.5 --ignore-above 170";
    for (const fs::path& p : inputs)
        args += " " + quote(p);
    std::string out;
    ASSERT_EQ(runCli(args, &out), 0) << out;
    EXPECT_NE(out.find(std::to_string(inputs.size()) + " files"), std::string::npos) << out;

    for (const fs::path& input : inputs) {
        const fs::path filtered = tmp / ("filter-" + input.filename().string());
        const std::string script = "open \"" + input.string() +
                                   "\"\nselect all\nmenu \"Smart Rounding...\"\nselect none\nsave \"" +
                                   filtered.string() + "\"\n";
        Host host;
        std::ostringstream sessionOut, sessionErr;
        Session session(host, sessionOut, sessionErr);
        ASSERT_EQ(session.run(script, tmp / "round.play"), Session::kOk) << sessionErr.str();
        const std::string a = readFile(filtered), b = readFile(tmp / "cli" / input.filename());
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(a == b) << input.filename();
        // The drawing did change.
        EXPECT_NE(a, readFile(input)) << input.filename();
    }
}

TEST(SmartRoundCli, MalformedFilesFailAloneAndLeaveNoOutput)
{
    TempDir tmp;
    writeFile(tmp / "good.json", R"({"format":"curvicraft-document","version":1,"layers":[{"name":"L","art":[
      {"type":"path","id":"p","closed":true,"segments":[
        {"anchor":[0,0],"in":[0,0],"out":[0,0]},{"anchor":[100,0],"in":[100,0],"out":[100,0]},
        {"anchor":[100,100],"in":[100,100],"out":[100,100]},{"anchor":[0,100],"in":[0,100],"out":[0,100]}]}]}]})");
    writeFile(tmp / "bad.json",
              R"({"format":"curvicraft-document","version":1,"layers":[{"name":"L","art":[{"type":"path")");
    writeFile(tmp / "bad.svg", "<svg xmlns='http://www.w3.org/2000/svg'><path d='M 0 0 L nan 3'/></svg>");
    writeFile(tmp / "good.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='200' height='200'>"
                                "<rect x='10' y='10' width='100' height='50'/></svg>");
    std::string out;
    const int status =
        runCli("round --out-dir " + quote(tmp / "out") + " --convex 10 " + quote(tmp / "bad.json") + " " +
                   quote(tmp / "good.json") + " " + quote(tmp / "bad.svg") + " " + quote(tmp / "good.svg"),
               &out);
    EXPECT_EQ(status, 1) << out;
    EXPECT_NE(out.find("bad.json"), std::string::npos) << out;
    EXPECT_NE(out.find("bad.svg"), std::string::npos) << out;
    EXPECT_NE(out.find("2 files, 2 paths, 8 corners rounded"), std::string::npos) << out;
    EXPECT_NE(out.find("2 failed"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(tmp / "out/bad.json"));
    EXPECT_FALSE(fs::exists(tmp / "out/bad.svg"));
    ASSERT_TRUE(fs::exists(tmp / "out/good.json"));
    ASSERT_TRUE(fs::exists(tmp / "out/good.svg"));
    auto doc = DocumentFile::load(tmp / "out/good.json");
    const Art* path = doc->get(doc->findByName("p"));
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->segments.size(), 8u);
    EXPECT_EQ(countAnchorsAt(*path, 10, 0), 1);

    // Bad options: a clear message, status 2, nothing written.
    for (const char* bad : {"--convex -3", "--convex 5furlongs", "--ignore-above 200"}) {
        EXPECT_EQ(
            runCli(std::string("round -o ") + quote(tmp / "x.json") + " " + bad + " " + quote(tmp / "good.json"), &out),
            2)
            << bad;
        EXPECT_FALSE(fs::exists(tmp / "x.json"));
    }
    // Units: 0.1in is 7.2 points.
    ASSERT_EQ(runCli("round -o " + quote(tmp / "u.json") + " --convex 0.1in " + quote(tmp / "good.json"), &out), 0)
        << out;
    auto units = DocumentFile::load(tmp / "u.json");
    EXPECT_EQ(countAnchorsAt(*units->get(units->findByName("p")), 7.2, 0), 1);
}

// With --selected-only the file's selection is kept and only anchors in state 1 are rounded.
TEST(SmartRoundCli, SelectedOnlyKeepsTheFilesSelection)
{
    TempDir tmp;
    writeFile(tmp / "sel.json", R"({"format":"curvicraft-document","version":1,"layers":[{"name":"L","art":[
      {"type":"path","id":"p","closed":true,"selected":true,"segments":[
        {"anchor":[0,0],"selection":1},{"anchor":[100,0],"selection":4},
        {"anchor":[100,100],"selection":0},{"anchor":[0,100],"selection":1}]},
      {"type":"path","id":"q","closed":true,"segments":[
        {"anchor":[200,0]},{"anchor":[300,0]},{"anchor":[300,100]},{"anchor":[200,100]}]}]}]})");
    std::string out;
    ASSERT_EQ(
        runCli("round --selected-only --convex 10 -o " + quote(tmp / "o.json") + " " + quote(tmp / "sel.json"), &out),
        0)
        << out;
    auto doc = DocumentFile::load(tmp / "o.json");
    const Art& p = *doc->get(doc->findByName("p"));
    const Art& q = *doc->get(doc->findByName("q"));
    EXPECT_EQ(p.segments.size(), 6u);
    EXPECT_EQ(countAnchorsAt(p, 0, 0), 0);
    EXPECT_EQ(countAnchorsAt(p, 100, 0), 1);
    EXPECT_EQ(countAnchorsAt(p, 0, 90), 1);
    EXPECT_EQ(q.segments.size(), 4u);
}

} // namespace
