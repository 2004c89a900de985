// minihost's host core: suite acquisition, the plug-in loader and its life cycle, and the services
// a plug-in calls, driven through a plug-in of the tests' own and through the suite tables.
#include "Host.h"
#include "host/Suites.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <numbers>
#include <stdexcept>

#include <unistd.h>

using namespace minihost;
namespace fs = std::filesystem;

namespace {

const fs::path kTestPlugins = CURVICRAFT_TEST_PLUGINS_DIR;

template <class Suite> const Suite* acquire(Host& host, const char* name, int version)
{
    const void* table = nullptr;
    if (host.basicSuite()->AcquireSuite(name, version, &table) != kCCNoErr)
        return nullptr;
    return static_cast<const Suite*>(table);
}

// A host whose output lines are collected, loading the test plug-in.
struct HostFixture : ::testing::Test {
    std::vector<std::string> lines;
    Host host{HostOptions{kTestPlugins, CURVICRAFT_DEFAULT_APP_DIR, {}}};
    HostFixture()
    {
        host.setOutput([this](const std::string& line) { lines.push_back(line); });
    }
    bool saw(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
    void start()
    {
        ASSERT_EQ(host.loadPlugin("Test Plugin"), kCCNoErr);
        ASSERT_EQ(host.startup(), kCCNoErr);
    }
};

// A scratch folder for property lists, removed at the end of the test.
struct ScratchDir {
    fs::path dir;
    explicit ScratchDir(const std::string& name)
    {
        dir = fs::temp_directory_path() / ("minihost-" + name + "-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~ScratchDir() { fs::remove_all(dir); }
    void write(const fs::path& rel, const std::string& text) const
    {
        fs::create_directories((dir / rel).parent_path());
        std::ofstream(dir / rel) << text;
    }
};

std::string pipl(const std::string& name, const std::string& entry, const std::string& library)
{
    return "<pipl><kind>SPEA</kind><name>" + name + "</name><entry>" + entry + "</entry><library>" + library +
           "</library></pipl>";
}

} // namespace

TEST(HostCore, OnlyOneHostAtATime)
{
    Host host;
    EXPECT_EQ(Host::current(), &host);
    EXPECT_THROW(Host second, std::logic_error);
    EXPECT_EQ(Host::current(), &host);
}

TEST_F(HostFixture, EmitWritesLineBreaksAsEscapes)
{
    host.emit("alert", "two\nlines\n");
    host.emit("label", "");
    EXPECT_EQ(lines, (std::vector<std::string>{"alert two\\nlines\\n", "label"}));
}

TEST_F(HostFixture, SuitesAreFoundByExactNameAndVersion)
{
    const CCBasicSuite* basic = host.basicSuite();
    const void* sentinel = &lines;
    struct Case {
        const char* name;
        int version;
        CCErr expected;
    } cases[] = {
        {kCCBlocksSuite, kCCBlocksSuiteVersion, kCCNoErr},
        {kCCBlocksSuite, kCCBlocksSuiteVersion + 1, kCCSuiteNotFoundErr},
        {kCCBlocksSuite, kCCBlocksSuiteVersion - 1, kCCSuiteNotFoundErr},
        {"SP Blocks suite", kCCBlocksSuiteVersion, kCCSuiteNotFoundErr},
        {"SP Blocks Suite ", kCCBlocksSuiteVersion, kCCSuiteNotFoundErr},
        {"No Such Suite", 1, kCCSuiteNotFoundErr},
    };
    for (const Case& c : cases) {
        const void* table = sentinel;
        EXPECT_EQ(basic->AcquireSuite(c.name, c.version, &table), c.expected) << c.name << " " << c.version;
        if (c.expected == kCCNoErr) {
            EXPECT_NE(table, sentinel);
        } else {
            EXPECT_EQ(table, sentinel) << "a failed acquisition leaves the pointer alone";
        }
    }
    EXPECT_EQ(host.acquisitions(kCCBlocksSuite), 1);
    EXPECT_EQ(basic->ReleaseSuite(kCCBlocksSuite, kCCBlocksSuiteVersion + 1), kCCSuiteNotFoundErr);
    EXPECT_EQ(basic->ReleaseSuite(kCCBlocksSuite, kCCBlocksSuiteVersion), kCCNoErr);
    EXPECT_EQ(host.acquisitions(kCCBlocksSuite), 0);
    EXPECT_NE(basic->ReleaseSuite(kCCBlocksSuite, kCCBlocksSuiteVersion), kCCNoErr) << "released more than acquired";
    EXPECT_EQ(host.acquisitions(kCCBlocksSuite), 0);

    host.failAcquisitionOf(kCCUserSuite, kCCCantAcquireErr);
    const void* table = sentinel;
    EXPECT_EQ(basic->AcquireSuite(kCCUserSuite, kCCUserSuiteVersion, &table), kCCCantAcquireErr);
    EXPECT_EQ(table, sentinel);
    EXPECT_EQ(host.acquisitions(kCCUserSuite), 0);
    EXPECT_TRUE(basic->IsEqual("Startup", "Startup"));
    EXPECT_FALSE(basic->IsEqual("Startup", "startup"));
}

TEST_F(HostFixture, EverySuiteThePluginAcquiresAtStartupIsOffered)
{
    for (const curvicraft::SuiteEntry* table : {curvicraft::gFirstSuites, curvicraft::gMainSuites})
        for (const curvicraft::SuiteEntry* row = table; row->name; ++row) {
            const void* suite = nullptr;
            EXPECT_EQ(host.basicSuite()->AcquireSuite(row->name, row->version, &suite), kCCNoErr) << row->name;
            EXPECT_NE(suite, nullptr) << row->name;
            EXPECT_EQ(host.basicSuite()->ReleaseSuite(row->name, row->version), kCCNoErr) << row->name;
        }
}

TEST_F(HostFixture, PluginLifeFromStartupToShutdown)
{
    start();
    EXPECT_TRUE(saw("debug SP Interface / Startup result=0"));
    EXPECT_NE(host.pluginGlobals(), nullptr) << "the host keeps the globals slot the plug-in filled";
    for (const char* suite : {kCCAccessSuite, kCCPluginSuite, kCCNotifierSuite, kCCContextSuite, kCCBlocksSuite})
        EXPECT_EQ(host.acquisitions(suite), 1) << suite;
    EXPECT_EQ(host.accessLocks(), 1);
    EXPECT_EQ(host.pluginName(), "Test Plugin (running)");
    ASSERT_EQ(host.heldBlocks().size(), 1u);
    EXPECT_EQ(host.heldBlocks()[0].debugName, "test state");
    EXPECT_EQ(host.heldBlocks()[0].size, 64u);

    EXPECT_EQ(host.shutdown(), kCCNoErr);
    EXPECT_TRUE(saw("debug SP Interface / Shutdown"));
    EXPECT_EQ(host.pluginGlobals(), nullptr);
    for (const char* suite : {kCCAccessSuite, kCCPluginSuite, kCCNotifierSuite, kCCContextSuite, kCCBlocksSuite})
        EXPECT_EQ(host.acquisitions(suite), 0) << suite;
    EXPECT_EQ(host.accessLocks(), 0);
    EXPECT_TRUE(host.heldBlocks().empty());
}

TEST_F(HostFixture, RefusedSuiteFailsStartupAndLeavesNothingHeld)
{
    host.failAcquisitionOf(kCCContextSuite, kCCCantAcquireErr);
    ASSERT_EQ(host.loadPlugin("Test Plugin"), kCCNoErr);
    EXPECT_EQ(host.startup(), kCCCantAcquireErr);
    EXPECT_EQ(host.pluginGlobals(), nullptr);
    EXPECT_EQ(host.acquisitions(kCCAccessSuite), 0);
    EXPECT_EQ(host.acquisitions(kCCNotifierSuite), 0);
    EXPECT_EQ(host.accessLocks(), 0);
    EXPECT_EQ(host.shutdown(), kCCNoErr) << "nothing runs, nothing to shut down";
    EXPECT_FALSE(saw("debug SP Interface / Shutdown"));
}

TEST_F(HostFixture, NotifierReachesActiveRegistrationsOfItsType)
{
    start();
    char data[] = "hello";
    EXPECT_EQ(host.notify("Test Notify Type", data), kCCNoErr);
    EXPECT_TRUE(saw("debug notify Test Notify Type data=hello"));
    EXPECT_EQ(host.contextDepth(), 0) << "the plug-in popped the context it pushed";

    lines.clear();
    EXPECT_EQ(host.notify("Other Type", data), kCCNoErr);
    EXPECT_TRUE(lines.empty()) << "no registration for that type";

    ASSERT_EQ(host.send("Test", "Deactivate"), kCCNoErr);
    lines.clear();
    EXPECT_EQ(host.notify("Test Notify Type", data), kCCNoErr);
    EXPECT_TRUE(lines.empty()) << "an inactive notifier is skipped";
}

TEST_F(HostFixture, UnloadCloseAndReloadKeepTheGlobalsSlot)
{
    start();
    void* globals = host.pluginGlobals();
    EXPECT_EQ(host.unload(true), kCCNoErr);
    EXPECT_TRUE(saw("debug SP Access / Unload"));
    EXPECT_FALSE(host.pluginLoaded());
    EXPECT_EQ(host.acquisitions(kCCNotifierSuite), 0) << "the plug-in released its suites";
    EXPECT_EQ(host.pluginGlobals(), globals);
    EXPECT_EQ(host.send("Test", "Alert"), kCCCantErr) << "no code to call while the library is closed";

    EXPECT_EQ(host.reload(), kCCNoErr);
    EXPECT_TRUE(host.pluginLoaded());
    EXPECT_EQ(host.pluginGlobals(), globals);
    // Startup, Unload and Reload reached the same state object through the slot.
    EXPECT_TRUE(saw("debug reload messages=2"));
    EXPECT_EQ(host.acquisitions(kCCNotifierSuite), 1);
    EXPECT_EQ(host.send("Test", "Alert"), kCCNoErr);
    EXPECT_TRUE(saw("alert two\\nlines"));
}

TEST_F(HostFixture, PluginEditsTheDocumentThroughTheSuites)
{
    start();
    Document& doc = host.document();
    ObjectId layerGroup = doc.layers().front().group;
    auto addPath = [&](std::vector<CCRealPoint> anchors) {
        ObjectId id = doc.create(kCCPathArt, kCCPlaceInsideOnBottom, layerGroup);
        Art* a = doc.edit(id);
        for (const CCRealPoint& p : anchors)
            a->segments.push_back({p, p, {p.x + 1, p.y}, 1});
        a->selection.assign(anchors.size(), 0);
        return id;
    };
    ObjectId selected = addPath({{5, 0}, {10, 5}});
    ObjectId other = addPath({{5, 0}});
    doc.setAttrs(selected, kCCArtSelected, kCCArtSelected);

    ASSERT_EQ(host.send("Test", "Rotate Selection"), kCCNoErr);
    // A quarter turn about (5, 5): (5, 0) -> (10, 5), (10, 5) -> (5, 10), an out handle one to the right
    // points up afterwards.
    const auto& s = doc.get(selected)->segments;
    EXPECT_NEAR(s[0].anchor.x, 10, 1e-12);
    EXPECT_NEAR(s[0].anchor.y, 5, 1e-12);
    EXPECT_NEAR(s[1].anchor.x, 5, 1e-12);
    EXPECT_NEAR(s[1].anchor.y, 10, 1e-12);
    EXPECT_NEAR(s[0].out.x, 10, 1e-12);
    EXPECT_NEAR(s[0].out.y, 6, 1e-12);
    EXPECT_EQ(doc.get(other)->segments[0].anchor.x, 5) << "an unselected path stays";
    for (const char* suite : {kCCMatchingArtSuite, kCCMdMemorySuite, kCCRealMathSuite, kCCTransformArtSuite})
        EXPECT_EQ(host.acquisitions(suite), 0) << suite << " released after the operation";
}

TEST(HostLifetime, DestructionShutsDownAndReportsHeldBlocks)
{
    std::vector<std::string> lines;
    testing::internal::CaptureStderr();
    {
        Host host{HostOptions{kTestPlugins, CURVICRAFT_DEFAULT_APP_DIR, {}}};
        host.setOutput([&](const std::string& line) { lines.push_back(line); });
        ASSERT_EQ(host.loadPlugin("Test Plugin"), kCCNoErr);
        ASSERT_EQ(host.startup(), kCCNoErr);
        ASSERT_EQ(host.send("Test", "Leak"), kCCNoErr);
        ASSERT_EQ(host.unload(true), kCCNoErr); // even an unloaded plug-in is shut down properly
    }
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines.back(), "debug SP Interface / Shutdown");
    EXPECT_NE(err.find("minihost: block still held: leaked block (10 bytes)\n"), std::string::npos) << err;
    EXPECT_EQ(err.find("test state"), std::string::npos) << "the plug-in freed its own block at shutdown";
    EXPECT_EQ(Host::current(), nullptr);
}

TEST(HostLoader, ClearErrorsForBadPluginFolders)
{
    ScratchDir scratch("loader");
    const fs::path lib = kTestPlugins / "TestPlugin" / "TestPlugin.so";
    scratch.write("good/PiPL.xml", pipl("Good", "PluginMain", lib.string()));
    scratch.write("broken/PiPL.xml", "<pipl><kind>SPEA</kind><name>Broken");
    scratch.write("noentry/PiPL.xml", pipl("No Entry", "NoSuchEntry", lib.string()));
    scratch.write("nolib/PiPL.xml", pipl("No Library", "PluginMain", "Missing.so"));
    scratch.write("nameless/PiPL.xml", "<pipl><kind>SPEA</kind><entry>PluginMain</entry></pipl>");
    scratch.write("otherkind/PiPL.xml", "<pipl><kind>ARPI</kind><name>Other Kind</name><entry>PluginMain</entry>"
                                        "<library>x.so</library></pipl>");
    struct Case {
        fs::path dir;
        std::string name;
        CCErr expected;
        std::string message; // part of the stderr line
    } cases[] = {
        {scratch.dir, "Good", kCCNoErr, ""}, // found in a sub-folder, beside broken neighbours
        {scratch.dir / "good", "Good", kCCNoErr, ""},
        {scratch.dir / "missing", "Good", kCCCantErr, "plug-ins folder not found"},
        {scratch.dir / "good", "Bad", kCCCantErr, "no plug-in named \"Bad\""},
        {scratch.dir / "otherkind", "Other Kind", kCCCantErr, "no plug-in named"},
        {scratch.dir / "noentry", "No Entry", kCCNotImplementedErr, "no entry point \"NoSuchEntry\""},
        {scratch.dir / "nolib", "No Library", kCCCantErr, "cannot load the plug-in library"},
        {scratch.dir / "nameless", "Nameless", kCCBadParameterErr, "malformed property list: missing <name>"},
        {scratch.dir / "broken", "Broken", kCCBadParameterErr, "broken/PiPL.xml: malformed property list"},
    };
    for (const Case& c : cases) {
        Host host{HostOptions{c.dir, CURVICRAFT_DEFAULT_APP_DIR, {}}};
        testing::internal::CaptureStderr();
        EXPECT_EQ(host.loadPlugin(c.name), c.expected) << c.name;
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(host.pluginLoaded(), c.expected == kCCNoErr) << c.name;
        if (!c.message.empty()) {
            EXPECT_NE(err.find(c.message), std::string::npos) << c.name << ": " << err;
        }
    }
}

TEST(HostLoader, FindsTheRealPlugin)
{
    Host host;
    EXPECT_EQ(host.loadPlugin(), kCCNoErr);
    EXPECT_TRUE(host.pluginLoaded());
    EXPECT_EQ(host.pluginName(), "Curvicraft");
}

TEST_F(HostFixture, BlocksAreTrackedAndBadFreesRefused)
{
    auto* blocks = acquire<CCBlocksSuite>(host, kCCBlocksSuite, kCCBlocksSuiteVersion);
    ASSERT_NE(blocks, nullptr);
    void* a = nullptr;
    void* b = nullptr;
    ASSERT_EQ(blocks->AllocateBlock(16, "first", &a), kCCNoErr);
    ASSERT_EQ(blocks->AllocateBlock(0, "empty", &b), kCCNoErr);
    std::memset(a, 7, 16);
    void* grown = nullptr;
    ASSERT_EQ(blocks->ReallocateBlock(a, 4096, "grown", &grown), kCCNoErr);
    EXPECT_EQ(static_cast<unsigned char*>(grown)[15], 7) << "contents survive a reallocation";
    auto held = host.heldBlocks();
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(held[0].debugName, "grown");
    EXPECT_EQ(held[0].size, 4096u);
    EXPECT_EQ(held[1].debugName, "empty");

    int local = 0;
    void* untouched = &local;
    EXPECT_EQ(blocks->FreeBlock(&local), kCCBadParameterErr) << "never handed out";
    EXPECT_EQ(blocks->ReallocateBlock(&local, 8, "x", &untouched), kCCBadParameterErr);
    EXPECT_EQ(untouched, &local);
    void* same = grown;
    EXPECT_EQ(blocks->ReallocateBlock(grown, SIZE_MAX, "too big", &same), kCCOutOfMemoryErr);
    EXPECT_EQ(same, grown);
    EXPECT_EQ(host.heldBlocks()[0].debugName, "grown") << "a failed reallocation keeps the block";
    EXPECT_EQ(blocks->FreeBlock(grown), kCCNoErr);
    EXPECT_EQ(blocks->FreeBlock(grown), kCCBadParameterErr) << "double free";
    EXPECT_EQ(blocks->FreeBlock(b), kCCNoErr);
    EXPECT_TRUE(host.heldBlocks().empty());
    EXPECT_EQ(blocks->AllocateBlock(SIZE_MAX, "huge", &b), kCCOutOfMemoryErr);
}

TEST_F(HostFixture, ContextsAndAccessRefsMustBeGivenBackInOrder)
{
    ASSERT_EQ(host.loadPlugin("Test Plugin"), kCCNoErr);
    auto* context = acquire<CCContextSuite>(host, kCCContextSuite, kCCContextSuiteVersion);
    auto* access = acquire<CCAccessSuite>(host, kCCAccessSuite, kCCAccessSuiteVersion);
    ASSERT_TRUE(context && access);
    CCAppContext outer = nullptr, inner = nullptr;
    ASSERT_EQ(context->PushAppContext(host.pluginRef(), &outer), kCCNoErr);
    ASSERT_EQ(context->PushAppContext(host.pluginRef(), &inner), kCCNoErr);
    EXPECT_EQ(host.contextDepth(), 2);
    EXPECT_EQ(context->PopAppContext(outer), kCCBadParameterErr) << "not the innermost";
    EXPECT_EQ(context->PopAppContext(inner), kCCNoErr);
    EXPECT_EQ(context->PopAppContext(outer), kCCNoErr);
    EXPECT_EQ(context->PopAppContext(outer), kCCBadParameterErr) << "popped twice";
    EXPECT_EQ(host.contextDepth(), 0);
    CCAppContext none = nullptr;
    EXPECT_EQ(context->PushAppContext(nullptr, &none), kCCBadParameterErr);

    CCAccessRef r1 = nullptr, r2 = nullptr;
    ASSERT_EQ(access->AcquirePlugin(host.pluginRef(), &r1), kCCNoErr);
    ASSERT_EQ(access->AcquirePlugin(host.pluginRef(), &r2), kCCNoErr);
    EXPECT_EQ(host.accessLocks(), 2);
    EXPECT_EQ(access->ReleasePlugin(r1), kCCNoErr);
    EXPECT_EQ(access->ReleasePlugin(r1), kCCStaleHandleErr);
    EXPECT_EQ(host.accessLocks(), 1);
    EXPECT_EQ(access->ReleasePlugin(r2), kCCNoErr);
}

// ---- document suites -------------------------------------------------------------------------------

namespace {

// A host with a document and the document suites acquired as a plug-in would.
struct DocumentSuites : ::testing::Test {
    Host host;
    Document& doc = host.document();
    ObjectId layer1 = doc.layers().front().id;
    const CCArtSuite& art = *acquire<CCArtSuite>(host, kCCArtSuite, kCCArtSuiteVersion);
    const CCPathSuite& path = *acquire<CCPathSuite>(host, kCCPathSuite, kCCPathSuiteVersion);
    const CCPathStyleSuite& style = *acquire<CCPathStyleSuite>(host, kCCPathStyleSuite, kCCPathStyleSuiteVersion);
    const CCMatchingArtSuite& matching =
        *acquire<CCMatchingArtSuite>(host, kCCMatchingArtSuite, kCCMatchingArtSuiteVersion);
    const CCMdMemorySuite& memory = *acquire<CCMdMemorySuite>(host, kCCMdMemorySuite, kCCMdMemorySuiteVersion);
    const CCRealMathSuite& math = *acquire<CCRealMathSuite>(host, kCCRealMathSuite, kCCRealMathSuiteVersion);
    const CCTransformArtSuite& transform =
        *acquire<CCTransformArtSuite>(host, kCCTransformArtSuite, kCCTransformArtSuiteVersion);
    const CCLayerSuite& layers = *acquire<CCLayerSuite>(host, kCCLayerSuite, kCCLayerSuiteVersion);
    const CCGroupSuite& groups = *acquire<CCGroupSuite>(host, kCCGroupSuite, kCCGroupSuiteVersion);

    ObjectId group(ObjectId layer) const { return doc.layer(layer)->group; }

    // Adds an object at the bottom of a container, so children are listed in the order they are added.
    ObjectId add(std::int16_t type, ObjectId container, const std::string& name)
    {
        ObjectId id = doc.create(type, kCCPlaceInsideOnBottom, container);
        doc.edit(id)->name = name;
        return id;
    }
    // A path through the anchors, handles retracted except where a segment is given whole.
    ObjectId addPath(ObjectId container, const std::string& name, std::vector<CCPathSegment> segments)
    {
        ObjectId id = add(kCCPathArt, container, name);
        Art* a = doc.edit(id);
        a->segments = std::move(segments);
        a->selection.assign(a->segments.size(), 0);
        return id;
    }
    static CCPathSegment corner(double x, double y) { return {{x, y}, {x, y}, {x, y}, 1}; }

    std::vector<std::string> names(CCMemoryHandle list, int32_t count)
    {
        std::vector<std::string> out;
        void* block = nullptr;
        EXPECT_EQ(memory.GetHandleBlock(list, &block), kCCNoErr);
        size_t size = 0;
        EXPECT_EQ(memory.GetHandleSize(list, &size), kCCNoErr);
        EXPECT_EQ(size, count * sizeof(CCArtHandle));
        for (int32_t i = 0; i < count; ++i) {
            const Art* a = doc.get(fromHandle(static_cast<CCArtHandle*>(block)[i]));
            out.push_back(!a ? "?" : a->parent == 0 ? "layer:" + doc.layer(a->layer)->name : a->name);
        }
        EXPECT_EQ(memory.DisposeHandle(list), kCCNoErr);
        return out;
    }
};

void expectNear(const CCRealPoint& p, double x, double y, const char* what)
{
    EXPECT_NEAR(p.x, x, 1e-12) << what;
    EXPECT_NEAR(p.y, y, 1e-12) << what;
}

} // namespace

TEST_F(DocumentSuites, MatchingArtInDocumentOrderThroughContainers)
{
    doc.layer(layer1)->name = "top";
    ObjectId layer2 = doc.addLayer("bottom");
    ObjectId g1 = add(kCCGroupArt, group(layer1), "g1");
    addPath(g1, "p1", {corner(0, 0), corner(1, 0)});
    ObjectId c1 = add(kCCCompoundPathArt, g1, "c1");
    ObjectId p2 = addPath(c1, "p2", {corner(0, 0), corner(1, 1)});
    ObjectId p3 = addPath(c1, "p3", {corner(2, 2), corner(3, 3)});
    addPath(group(layer1), "p4", {corner(5, 5), corner(6, 6)});
    ObjectId p5 = addPath(group(layer2), "p5", {corner(7, 7), corner(8, 8)});
    add(kCCGroupArt, group(layer2), "g2");
    doc.setAttrs(p2, kCCArtSelected, kCCArtSelected);
    doc.setAttrs(p5, kCCArtSelected, kCCArtSelected);
    doc.setAttrs(p3, kCCArtLocked, kCCArtLocked);

    const CCMatchingArtSpec any{kCCUnknownArt, 0, 0};
    const CCMatchingArtSpec selPath{kCCPathArt, kCCArtSelected, kCCArtSelected};
    const CCMatchingArtSpec selectedContainers[] = {
        {kCCGroupArt, kCCArtSelected, kCCArtSelected}, {kCCCompoundPathArt, kCCArtSelected, kCCArtSelected}, selPath};
    const CCMatchingArtSpec editablePath{kCCPathArt, kCCArtLocked | kCCArtHidden, 0};
    struct Case {
        const char* what;
        const CCMatchingArtSpec* triples;
        int16_t count;
        std::vector<std::string> expected;
    } cases[] = {
        {"everything", &any, 1, {"layer:top", "g1", "p1", "c1", "p2", "p3", "p4", "layer:bottom", "p5", "g2"}},
        {"selected paths", &selPath, 1, {"p2", "p5"}},
        // Three triples still give one list in document order, containers selected through their children.
        {"selected of three types", selectedContainers, 3, {"layer:top", "g1", "c1", "p2", "layer:bottom", "p5"}},
        {"unlocked visible paths", &editablePath, 1, {"p1", "p2", "p4", "p5"}},
        {"no triples", nullptr, 0, {}},
    };
    for (const Case& c : cases) {
        CCMemoryHandle list = nullptr;
        int32_t count = -1;
        ASSERT_EQ(matching.GetMatchingArt(c.triples, c.count, &list, &count), kCCNoErr) << c.what;
        EXPECT_EQ(names(list, count), c.expected) << c.what;
    }
    CCMemoryHandle list = nullptr;
    int32_t count = 0;
    ASSERT_EQ(matching.GetSelectedArt(&list, &count), kCCNoErr);
    EXPECT_EQ(names(list, count), cases[2].expected);
    EXPECT_EQ(matching.GetMatchingArt(nullptr, 1, &list, &count), kCCBadParameterErr);
    EXPECT_EQ(matching.GetMatchingArt(&any, -1, &list, &count), kCCBadParameterErr);
}

TEST_F(DocumentSuites, TransformsComposeInCallOrder)
{
    ObjectId p = addPath(group(layer1), "p", {{{1, 0}, {1, -1}, {2, 0}, 0}, corner(3, 1)});
    doc.edit(p)->style.stroke = Rgb{0, 0, 0};
    doc.edit(p)->style.strokeWidth = 2;
    // Translating by -o, rotating by a quarter turn and translating by o rotates about o = (1, 1).
    CCRealMatrix m;
    math.MatrixSetTranslate(&m, -1, -1);
    math.MatrixConcatRotate(&m, std::numbers::pi / 2);
    math.MatrixConcatTranslate(&m, 1, 1);
    ASSERT_EQ(transform.TransformArt(toHandle(p), &m, 1.0, kCCTransformObjects), kCCNoErr);
    const Art* a = doc.get(p);
    expectNear(a->segments[0].anchor, 2, 1, "anchor");
    expectNear(a->segments[0].in, 3, 1, "in handle");
    expectNear(a->segments[0].out, 2, 2, "out handle");
    expectNear(a->segments[1].anchor, 1, 3, "second anchor");
    EXPECT_EQ(a->style.strokeWidth, 2) << "no kCCScaleLines";

    // Scale then translate is not translate then scale.
    math.MatrixSetScale(&m, 2, 3);
    math.MatrixConcatTranslate(&m, 10, 0);
    CCRealPoint q;
    const CCRealPoint one{1, 1};
    math.MatrixXformPoint(&m, &one, &q);
    expectNear(q, 12, 3, "scale, then translate");
    math.MatrixSetTranslate(&m, 10, 0);
    math.MatrixConcatScale(&m, 2, 3);
    math.MatrixXformPoint(&m, &one, &q);
    expectNear(q, 22, 3, "translate, then scale");

    // MatrixConcat(m, other) is m then other, also when the result is an operand.
    CCRealMatrix rot, shift;
    math.MatrixSetRotate(&rot, std::numbers::pi / 2);
    math.MatrixSetTranslate(&shift, 5, 0);
    math.MatrixConcat(&rot, &shift, &rot);
    math.MatrixXformPoint(&rot, &one, &q);
    expectNear(q, 4, 1, "rotate, then shift");
    ASSERT_TRUE(math.MatrixInvert(&rot));
    math.MatrixXformPoint(&rot, &q, &q);
    expectNear(q, 1, 1, "inverse");
    CCRealMatrix singular{1, 2, 2, 4, 7, 8};
    EXPECT_FALSE(math.MatrixInvert(&singular));
    EXPECT_EQ(singular.tx, 7) << "a singular matrix is left alone";

    // Containers are transformed through; stroke widths follow the line scale.
    ObjectId g = add(kCCGroupArt, group(layer1), "g");
    ObjectId c = add(kCCCompoundPathArt, g, "c");
    ObjectId inner = addPath(c, "inner", {corner(1, 2)});
    doc.edit(inner)->style.strokeWidth = 1.5;
    math.MatrixSetScale(&m, 2, 2);
    ASSERT_EQ(transform.TransformArt(toHandle(g), &m, 2.0, kCCTransformObjects | kCCScaleLines), kCCNoErr);
    expectNear(doc.get(inner)->segments[0].anchor, 2, 4, "nested path");
    EXPECT_EQ(doc.get(inner)->style.strokeWidth, 3);

    CCRealMatrix huge{1e308, 0, 0, 1e308, 0, 0};
    EXPECT_EQ(transform.TransformArt(toHandle(g), &huge, 1.0, kCCTransformObjects), kCCBadParameterErr);
    expectNear(doc.get(inner)->segments[0].anchor, 2, 4, "an overflowing transform changes nothing");
}

TEST_F(DocumentSuites, RealMathFormulas)
{
    const CCRealPoint o{1, 1}, p{1, 3};
    EXPECT_DOUBLE_EQ(math.PointAngle(&o, &p), std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(math.PointLength(&o, &p), 2);
    CCRealPoint r;
    math.PointLengthAngle(2, std::numbers::pi, &r);
    expectNear(r, -2, 0, "polar");
    math.PointInterpolate(&o, &p, 0.25, &r);
    expectNear(r, 1, 1.5, "interpolate");
    struct Division {
        double a, b, expected;
    } divisions[] = {
        {6, 3, 2}, {1, 0, 1.7976931348623158e+307}, {-1, 0, -1.7976931348623158e+307}, {0, 0, 1.7976931348623158e+307}};
    for (const Division& d : divisions)
        EXPECT_EQ(math.RealDivide(d.a, d.b), d.expected) << d.a << " / " << d.b;
    const CCRealRect rect{0, 10, 5, 0};
    const CCRealPoint edge{5, 10}, outside{5.0000001, 5};
    EXPECT_TRUE(math.PointInRect(&edge, &rect));
    EXPECT_FALSE(math.PointInRect(&outside, &rect));
}

TEST_F(DocumentSuites, PathOperationsAtTheirBounds)
{
    ObjectId id = addPath(group(layer1), "p", {corner(0, 0), corner(1, 0), corner(2, 0)});
    CCArtHandle p = toHandle(id);
    CCPathSegment out[4];
    const CCPathSegment buf[4] = {corner(9, 9), corner(9, 9), corner(9, 9), corner(9, 9)};
    const CCPathSegment nan[1] = {corner(std::numeric_limits<double>::quiet_NaN(), 0)};
    struct Case {
        const char* what;
        std::function<CCErr()> call;
        CCErr expected;
        std::vector<double> anchorsX; // the path afterwards
    } cases[] = {
        {"read all", [&] { return path.GetPathSegments(p, 0, 3, out); }, kCCNoErr, {0, 1, 2}},
        {"read past the end", [&] { return path.GetPathSegments(p, 1, 3, out); }, kCCBadParameterErr, {0, 1, 2}},
        {"read negative", [&] { return path.GetPathSegments(p, -1, 1, out); }, kCCBadParameterErr, {0, 1, 2}},
        {"read nothing at the end", [&] { return path.GetPathSegments(p, 3, 0, nullptr); }, kCCNoErr, {0, 1, 2}},
        {"write across the end appends", [&] { return path.SetPathSegments(p, 2, 2, buf); }, kCCNoErr, {0, 1, 9, 9}},
        {"write with a gap", [&] { return path.SetPathSegments(p, 5, 1, buf); }, kCCBadParameterErr, {0, 1, 9, 9}},
        {"write NaN", [&] { return path.SetPathSegments(p, 0, 1, nan); }, kCCBadParameterErr, {0, 1, 9, 9}},
        {"insert at the front",
         [&] { return path.InsertPathSegments(p, 0, 1, nan); },
         kCCBadParameterErr,
         {0, 1, 9, 9}},
        {"insert past the end",
         [&] { return path.InsertPathSegments(p, 5, 1, buf); },
         kCCBadParameterErr,
         {0, 1, 9, 9}},
        {"insert at the end", [&] { return path.InsertPathSegments(p, 4, 1, buf); }, kCCNoErr, {0, 1, 9, 9, 9}},
        {"delete past the end", [&] { return path.DeletePathSegments(p, 3, 3); }, kCCBadParameterErr, {0, 1, 9, 9, 9}},
        {"delete the middle", [&] { return path.DeletePathSegments(p, 1, 3); }, kCCNoErr, {0, 9}},
        {"grow copies the last anchor", [&] { return path.SetPathSegmentCount(p, 4); }, kCCNoErr, {0, 9, 9, 9}},
        {"negative count", [&] { return path.SetPathSegmentCount(p, -1); }, kCCBadParameterErr, {0, 9, 9, 9}},
        {"shrink", [&] { return path.SetPathSegmentCount(p, 1); }, kCCNoErr, {0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(), c.expected) << c.what;
        const Art* a = doc.get(id);
        std::vector<double> xs;
        for (const CCPathSegment& s : a->segments)
            xs.push_back(s.anchor.x);
        EXPECT_EQ(xs, c.anchorsX) << c.what;
        EXPECT_EQ(a->selection.size(), a->segments.size()) << c.what;
    }

    // The 16-bit anchor limit: a path may hold exactly kCCMaxPathSegments anchors, never more.
    std::vector<CCPathSegment> many(kCCMaxPathSegments - 1, corner(0, 0));
    ASSERT_EQ(path.SetPathSegments(p, 0, static_cast<int16_t>(many.size()), many.data()), kCCNoErr);
    EXPECT_EQ(path.InsertPathSegments(p, 0, 2, buf), kCCTooManySegmentsErr);
    EXPECT_EQ(path.SetPathSegments(p, kCCMaxPathSegments - 1, 2, buf), kCCTooManySegmentsErr);
    EXPECT_EQ(doc.get(id)->segments.size(), many.size()) << "a refused write changes nothing";
    EXPECT_EQ(path.InsertPathSegments(p, 0, 1, buf), kCCNoErr);
    int16_t count = 0;
    ASSERT_EQ(path.GetPathSegmentCount(p, &count), kCCNoErr);
    EXPECT_EQ(count, kCCMaxPathSegments);
    EXPECT_EQ(doc.get(id)->selection.size(), std::size_t(kCCMaxPathSegments));
}

TEST_F(DocumentSuites, ReverseAndAnchorSelectionFollowTheDocumentRules)
{
    ObjectId g = add(kCCGroupArt, group(layer1), "g");
    ObjectId id = addPath(g, "p", {{{0, 0}, {-1, 0}, {1, 1}, 0}, corner(5, 0), corner(9, 9)});
    CCArtHandle p = toHandle(id);
    ASSERT_EQ(path.SetPathSegmentSelected(p, 0, kCCSegmentOutSelected), kCCNoErr);
    EXPECT_EQ(doc.get(id)->attrs & kCCArtSelected, kCCArtSelected);
    EXPECT_EQ(doc.get(g)->attrs & kCCArtSelected, kCCArtSelected) << "the group is selected through its child";
    EXPECT_EQ(path.SetPathSegmentSelected(p, 3, kCCSegmentPointSelected), kCCBadParameterErr);
    EXPECT_EQ(path.SetPathSegmentSelected(p, 0, 5), kCCBadParameterErr);

    ASSERT_EQ(path.ReversePathSegments(p), kCCNoErr);
    const Art* a = doc.get(id);
    EXPECT_EQ(a->segments[0].anchor.x, 9);
    expectNear(a->segments[2].in, 1, 1, "the old out handle arrives now");
    expectNear(a->segments[2].out, -1, 0, "the old in handle leaves now");
    int16_t state = 0;
    ASSERT_EQ(path.GetPathSegmentSelected(p, 2, &state), kCCNoErr);
    EXPECT_EQ(state, kCCSegmentInSelected) << "the selected handle is the same point, now the in handle";

    ASSERT_EQ(art.SetArtUserAttr(p, kCCArtSelected, 0), kCCNoErr);
    EXPECT_EQ(doc.get(g)->attrs & kCCArtSelected, 0);
    EXPECT_EQ(doc.get(id)->selection, (std::vector<std::int16_t>{0, 0, 0}));
    EXPECT_EQ(path.GetPathSegmentCount(toHandle(g), &state), kCCBadParameterErr) << "a group is not a path";
}

TEST_F(DocumentSuites, StaleHandlesAfterDisposeAreRefused)
{
    ObjectId g = add(kCCGroupArt, group(layer1), "g");
    ObjectId id = addPath(g, "p", {corner(0, 0), corner(1, 0)});
    CCArtHandle p = toHandle(id), gh = toHandle(g);
    EXPECT_TRUE(art.ValidArt(p));
    ASSERT_EQ(art.DisposeArt(gh), kCCNoErr);
    EXPECT_FALSE(art.ValidArt(p));
    EXPECT_FALSE(art.ValidArt(nullptr));
    int16_t n = 0;
    CCPathStyle ps{};
    CCBool32 flag = 0;
    CCArtHandle h = nullptr;
    CCRealMatrix identity{1, 0, 0, 1, 0, 0};
    CCRealRect r{};
    for (CCErr err : {path.GetPathSegmentCount(p, &n), path.SetPathClosed(p, 1), path.ReversePathSegments(p),
                      art.GetArtType(p, &n), art.GetArtParent(p, &h), art.SetArtUserAttr(p, 1, 1), art.DisposeArt(gh),
                      art.GetArtTransformBounds(p, nullptr, 0, &r), art.NewArt(kCCPathArt, kCCPlaceAbove, p, &h),
                      style.GetPathStyle(p, &ps), transform.TransformArt(p, &identity, 1, kCCTransformObjects),
                      groups.GetGroupClipped(gh, &flag)})
        EXPECT_EQ(err, kCCStaleHandleErr);

    CCMemoryHandle m = nullptr;
    ASSERT_EQ(memory.NewHandle(8, &m), kCCNoErr);
    ASSERT_EQ(memory.DisposeHandle(m), kCCNoErr);
    size_t size = 0;
    EXPECT_EQ(memory.DisposeHandle(m), kCCStaleHandleErr) << "double dispose";
    EXPECT_EQ(memory.GetHandleSize(m, &size), kCCStaleHandleErr);

    host.setDocument(nullptr);
    EXPECT_EQ(art.GetArtType(p, &n), kCCNoDocumentErr);
    int32_t count = 0;
    EXPECT_EQ(layers.CountLayers(&count), kCCNoDocumentErr);
}

TEST_F(DocumentSuites, ArtTreeCreationAndBounds)
{
    CCArtHandle top = nullptr, below = nullptr, inside = nullptr, g = nullptr;
    ASSERT_EQ(art.NewArt(kCCGroupArt, kCCPlaceAboveAll, nullptr, &g), kCCNoErr);
    ASSERT_EQ(art.NewArt(kCCPathArt, kCCPlaceAbove, g, &top), kCCNoErr);
    ASSERT_EQ(art.NewArt(kCCPathArt, kCCPlaceBelow, g, &below), kCCNoErr);
    ASSERT_EQ(art.NewArt(kCCPathArt, kCCPlaceInsideOnTop, g, &inside), kCCNoErr);
    CCArtHandle h = nullptr, layerGroup = nullptr;
    CCLayerHandle current = nullptr;
    ASSERT_EQ(layers.GetCurrentLayer(&current), kCCNoErr);
    ASSERT_EQ(art.GetFirstArtOfLayer(current, &layerGroup), kCCNoErr);
    ASSERT_EQ(art.GetArtFirstChild(layerGroup, &h), kCCNoErr);
    EXPECT_EQ(h, top);
    ASSERT_EQ(art.GetArtSibling(h, &h), kCCNoErr);
    EXPECT_EQ(h, g);
    ASSERT_EQ(art.GetArtSibling(h, &h), kCCNoErr);
    EXPECT_EQ(h, below);
    ASSERT_EQ(art.GetArtSibling(h, &h), kCCNoErr);
    EXPECT_EQ(h, nullptr);
    ASSERT_EQ(art.GetArtPriorSibling(top, &h), kCCNoErr);
    EXPECT_EQ(h, nullptr);
    ASSERT_EQ(art.GetArtParent(inside, &h), kCCNoErr);
    EXPECT_EQ(h, g);
    ASSERT_EQ(art.GetArtParent(layerGroup, &h), kCCNoErr);
    EXPECT_EQ(h, nullptr) << "a layer group has no parent";

    EXPECT_EQ(art.NewArt(kCCPathArt, kCCPlaceInsideOnTop, top, &h), kCCBadParameterErr) << "inside a path";
    EXPECT_EQ(art.NewArt(kCCPathArt, kCCPlaceAbove, layerGroup, &h), kCCBadParameterErr) << "beside a layer group";
    EXPECT_EQ(art.NewArt(kCCPathArt, kCCPlaceAbove, nullptr, &h), kCCBadParameterErr);
    EXPECT_EQ(art.NewArt(99, kCCPlaceAboveAll, nullptr, &h), kCCBadParameterErr);
    EXPECT_EQ(art.DisposeArt(layerGroup), kCCBadParameterErr);
    EXPECT_EQ(art.ReorderArt(g, kCCPlaceInsideOnTop, inside), kCCBadParameterErr);
    EXPECT_EQ(groups.SetGroupClipped(layerGroup, 1), kCCBadParameterErr);
    ASSERT_EQ(groups.SetGroupClipped(g, 1), kCCNoErr);
    EXPECT_TRUE(doc.get(fromHandle(g))->clipped);

    const CCPathSegment segs[] = {{{0, 0}, {-1, 0}, {0, 5}, 1}, corner(4, 2)};
    ASSERT_EQ(path.SetPathSegments(inside, 0, 2, segs), kCCNoErr);
    ASSERT_EQ(path.SetPathSegments(top, 0, 1, &segs[1]), kCCNoErr);
    CCRealRect r{};
    ASSERT_EQ(art.GetArtTransformBounds(g, nullptr, 0, &r), kCCNoErr);
    EXPECT_EQ((std::vector<double>{r.left, r.top, r.right, r.bottom}), (std::vector<double>{-1, 5, 4, 0}))
        << "the handles count; top is the largest y";
    CCRealMatrix shift{1, 0, 0, -1, 10, 0};
    ASSERT_EQ(art.GetArtTransformBounds(g, &shift, 0, &r), kCCNoErr);
    EXPECT_EQ((std::vector<double>{r.left, r.top, r.right, r.bottom}), (std::vector<double>{9, 0, 14, -5}));

    CCArtHandle copy = nullptr;
    ASSERT_EQ(art.DuplicateArt(g, kCCPlaceBelowAll, nullptr, &copy), kCCNoErr);
    ASSERT_EQ(art.GetArtTransformBounds(copy, nullptr, 0, &r), kCCNoErr);
    EXPECT_EQ(r.left, -1) << "the copy holds the same geometry";
    EXPECT_NE(fromHandle(copy), fromHandle(g));
}

TEST_F(DocumentSuites, LayersAndPathStyles)
{
    ObjectId layer2 = doc.addLayer("Second", false, true);
    int32_t count = 0;
    ASSERT_EQ(layers.CountLayers(&count), kCCNoErr);
    EXPECT_EQ(count, 2);
    CCLayerHandle l = nullptr, next = nullptr;
    ASSERT_EQ(layers.GetFirstLayer(&l), kCCNoErr);
    ASSERT_EQ(layers.GetNextLayer(l, &next), kCCNoErr);
    EXPECT_EQ(next, toLayerHandle(layer2));
    ASSERT_EQ(layers.GetNextLayer(next, &next), kCCNoErr);
    EXPECT_EQ(next, nullptr);
    EXPECT_EQ(layers.GetNthLayer(2, &l), kCCBadParameterErr);
    ASSERT_EQ(layers.GetNthLayer(1, &l), kCCNoErr);
    const char* title = nullptr;
    CCBool32 editable = 1;
    ASSERT_EQ(layers.GetLayerTitle(l, &title), kCCNoErr);
    EXPECT_STREQ(title, "Second");
    ASSERT_EQ(layers.GetLayerEditable(l, &editable), kCCNoErr);
    EXPECT_FALSE(editable);
    ASSERT_EQ(layers.SetLayerVisible(l, 0), kCCNoErr);
    EXPECT_FALSE(doc.layer(layer2)->visible);
    EXPECT_FALSE(doc.layer(layer2)->editable) << "the other flag is kept";
    EXPECT_EQ(layers.SetCurrentLayer(toLayerHandle(12345)), kCCStaleHandleErr);

    CCArtHandle p = toHandle(addPath(group(layer1), "p", {corner(0, 0)}));
    CCPathStyle s{};
    ASSERT_EQ(style.GetPathStyle(p, &s), kCCNoErr);
    EXPECT_TRUE(s.fillPaint);
    EXPECT_FALSE(s.strokePaint);
    s.strokePaint = 1;
    s.strokeColor = CCColor{0, 1, 0.5, 0};
    s.strokeWidth = 4;
    s.fillPaint = 0;
    ASSERT_EQ(style.SetPathStyle(p, &s), kCCNoErr);
    const PathStyle& stored = doc.get(fromHandle(p))->style;
    EXPECT_FALSE(stored.fill.has_value());
    ASSERT_TRUE(stored.stroke.has_value());
    EXPECT_EQ(*stored.stroke, (Rgb{1, 0.5, 0}));
    EXPECT_EQ(stored.strokeWidth, 4);
    s.strokeWidth = -1;
    EXPECT_EQ(style.SetPathStyle(p, &s), kCCBadParameterErr);
    s.strokeWidth = 1;
    s.strokeColor.red = 2;
    EXPECT_EQ(style.SetPathStyle(p, &s), kCCBadParameterErr);
    EXPECT_EQ(doc.get(fromHandle(p))->style.strokeWidth, 4) << "a refused style changes nothing";
}

namespace {

// Points of a closed contour's curves, sampled at a few parameters.
std::vector<CCRealPoint> sampleClosed(const std::vector<CCPathSegment>& s)
{
    std::vector<CCRealPoint> out;
    for (std::size_t k = 0; k < s.size(); ++k) {
        const CCPathSegment& a = s[k];
        const CCPathSegment& b = s[(k + 1) % s.size()];
        for (double t : {0.0, 0.25, 0.5, 0.75}) {
            double u = 1 - t;
            out.push_back(
                {u * u * u * a.anchor.x + 3 * u * u * t * a.out.x + 3 * u * t * t * b.in.x + t * t * t * b.anchor.x,
                 u * u * u * a.anchor.y + 3 * u * u * t * a.out.y + 3 * u * t * t * b.in.y + t * t * t * b.anchor.y});
        }
    }
    return out;
}

double signedArea(const std::vector<CCRealPoint>& poly)
{
    double area = 0;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const CCRealPoint& p = poly[i];
        const CCRealPoint& q = poly[(i + 1) % poly.size()];
        area += p.x * q.y - q.x * p.y;
    }
    return area / 2;
}

} // namespace

TEST_F(DocumentSuites, ExpandStrokeOfOpenPathsGivesButtCappedOutlines)
{
    const CCExpandSuite& expand = *acquire<CCExpandSuite>(host, kCCExpandSuite, kCCExpandSuiteVersion);
    struct Case {
        const char* what;
        std::vector<CCPathSegment> path;
        std::vector<std::pair<double, double>> outline; // anchors, in order
    } cases[] = {
        {"straight line", {corner(0, 0), corner(10, 0)}, {{0, 1}, {10, 1}, {10, -1}, {0, -1}}},
        // The outer side of the corner is mitered, the inner side joins its two ends directly.
        {"left turn",
         {corner(0, 0), corner(10, 0), corner(10, 10)},
         {{0, 1}, {10, 1}, {9, 0}, {9, 10}, {11, 10}, {11, 0}, {11, -1}, {10, -1}, {0, -1}}},
    };
    for (const Case& c : cases) {
        ObjectId above = addPath(group(layer1), "above", {corner(0, 0), corner(1, 1)});
        ObjectId id = addPath(group(layer1), "stroked", c.path);
        ObjectId below = addPath(group(layer1), "below", {corner(0, 0), corner(1, 1)});
        Art* a = doc.edit(id);
        a->style.fill.reset();
        a->style.stroke = Rgb{1, 0, 0};
        a->style.strokeWidth = 2;
        doc.setAttrs(id, kCCArtSelected, kCCArtSelected);

        ASSERT_EQ(expand.Expand(toHandle(id), kCCExpandStroke, 1), kCCNoErr) << c.what;
        EXPECT_FALSE(doc.valid(id)) << "the stroked path is replaced";
        auto kids = doc.children(group(layer1));
        ASSERT_EQ(kids.size(), 3u) << c.what;
        EXPECT_EQ(kids[0], above);
        EXPECT_EQ(kids[2], below);
        const Art* o = doc.get(kids[1]);
        EXPECT_EQ(o->type, kCCPathArt);
        EXPECT_EQ(o->name, "stroked");
        EXPECT_TRUE(o->closed);
        EXPECT_EQ(o->style.fill, (Rgb{1, 0, 0})) << "the stroke colour fills the outline";
        EXPECT_FALSE(o->style.stroke.has_value());
        EXPECT_EQ(o->attrs & kCCArtFullySelected, kCCArtFullySelected) << "the outline stays selected";
        std::vector<std::pair<double, double>> anchors;
        for (const CCPathSegment& s : o->segments) {
            anchors.emplace_back(s.anchor.x, s.anchor.y);
            EXPECT_TRUE(s.in.x == s.anchor.x && s.in.y == s.anchor.y && s.out.x == s.anchor.x && s.out.y == s.anchor.y)
                << c.what << ": straight sides stay straight";
        }
        EXPECT_EQ(anchors, c.outline) << c.what;
        doc.dispose(above);
        doc.dispose(below);
        doc.dispose(kids[1]);
    }
}

TEST_F(DocumentSuites, ExpandStrokeOfClosedCurveGivesRingOfTwoContours)
{
    const CCExpandSuite& expand = *acquire<CCExpandSuite>(host, kCCExpandSuite, kCCExpandSuiteVersion);
    const double k = 10 * 0.5522847498307936; // handle length of a quarter circle of radius 10
    ObjectId circle = addPath(group(layer1), "circle",
                              {{{10, 0}, {10, -k}, {10, k}, 0},
                               {{0, 10}, {k, 10}, {-k, 10}, 0},
                               {{-10, 0}, {-10, k}, {-10, -k}, 0},
                               {{0, -10}, {-k, -10}, {k, -10}, 0}});
    doc.edit(circle)->closed = true;
    doc.edit(circle)->style.stroke = Rgb{0, 0, 1};
    doc.edit(circle)->style.strokeWidth = 2;
    ObjectId plain = addPath(group(layer1), "plain", {corner(0, 0), corner(5, 5)});

    ASSERT_EQ(expand.Expand(toHandle(plain), kCCExpandStroke, 1), kCCNoErr);
    EXPECT_TRUE(doc.valid(plain)) << "a path without stroke is left alone";
    ASSERT_EQ(expand.Expand(toHandle(circle), kCCExpandFill, 1), kCCNoErr);
    EXPECT_TRUE(doc.valid(circle)) << "only the stroke is expanded";

    // The original curve, densely sampled, to measure how far the outline lies from it.
    std::vector<CCRealPoint> dense;
    {
        const auto& segs = doc.get(circle)->segments;
        for (std::size_t i = 0; i < segs.size(); ++i)
            for (int j = 0; j < 1000; ++j) {
                double t = j / 1000.0, u = 1 - t;
                const CCPathSegment& a = segs[i];
                const CCPathSegment& b = segs[(i + 1) % segs.size()];
                dense.push_back(
                    {u * u * u * a.anchor.x + 3 * u * u * t * a.out.x + 3 * u * t * t * b.in.x + t * t * t * b.anchor.x,
                     u * u * u * a.anchor.y + 3 * u * u * t * a.out.y + 3 * u * t * t * b.in.y +
                         t * t * t * b.anchor.y});
            }
    }
    ASSERT_EQ(expand.Expand(toHandle(circle), kCCExpandStroke, 1), kCCNoErr);
    ObjectId ring = doc.children(group(layer1)).front();
    ASSERT_EQ(doc.get(ring)->type, kCCCompoundPathArt);
    auto contours = doc.children(ring);
    ASSERT_EQ(contours.size(), 2u);
    std::vector<double> radii, areas;
    for (ObjectId c : contours) {
        const Art* p = doc.get(c);
        EXPECT_TRUE(p->closed);
        EXPECT_EQ(p->style.fill, (Rgb{0, 0, 1}));
        auto points = sampleClosed(p->segments);
        double worst = 0;
        for (const CCRealPoint& q : points) {
            double d = 1e9;
            for (const CCRealPoint& o : dense)
                d = std::min(d, std::hypot(q.x - o.x, q.y - o.y));
            worst = std::max(worst, std::fabs(d - 1));
        }
        EXPECT_LT(worst, 1e-4) << "every point of the outline lies half the stroke width from the curve";
        radii.push_back(std::hypot(points[0].x, points[0].y));
        areas.push_back(signedArea(points));
    }
    std::sort(radii.begin(), radii.end());
    EXPECT_NEAR(radii[0], 9, 3e-3);
    EXPECT_NEAR(radii[1], 11, 3e-3);
    EXPECT_LT(areas[0] * areas[1], 0) << "the inner contour runs the other way, leaving the hole unfilled";
}
