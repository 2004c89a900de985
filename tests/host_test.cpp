// minihost's host core: suite acquisition, the plug-in loader and its life cycle, and the services
// a plug-in calls, driven through a plug-in of the tests' own and through the suite tables.
#include "Host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <unistd.h>

using namespace minihost;
namespace fs = std::filesystem;

namespace {

const fs::path kTestPlugins = CURVICRAFT_TEST_PLUGINS_DIR;

template <class Suite>
const Suite* acquire(Host& host, const char* name, int version)
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
