// The plug-in's entry point and message routing: the life cycle through PluginMain on minihost, the
// routing of every caller/selector pair, suite acquisition and release, the lock in memory, error
// reports and the debugger line for unhandled messages.
//
// Two ways in: the built module, loaded and driven by minihost exactly as a host would; and the static
// core, whose entry algorithm is run with classes of the tests' own that record what was called.
#include "Host.h"
#include "HostImpl_p.h"

#include "host/AIError.h"
#include "host/CurvicraftPlugin.h"
#include "host/HostVersion.h"
#include "host/PluginEntry.h"
#include "host/Suites.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include <sys/mman.h>

using namespace curvicraft;
using minihost::Host;

namespace {

constexpr CCErr kParm = kCCBadParameterErr;
constexpr CCErr kCant = kCCCantErr;

// The host does not offer every suite of the main table yet. Zeroed stand-ins let start-up acquire
// them; nothing in the entry layer calls them.
void offerMissingSuites(Host& host)
{
    static const std::array<void*, 64> blank{};
    for (const SuiteEntry* row = gMainSuites; row->name; ++row) {
        const void* table = nullptr;
        if (host.basicSuite()->AcquireSuite(row->name, row->version, &table) == kCCNoErr)
            host.basicSuite()->ReleaseSuite(row->name, row->version);
        else
            host.addSuite(row->name, row->version, blank.data());
    }
}

std::vector<const SuiteEntry*> allRows()
{
    std::vector<const SuiteEntry*> rows;
    for (const SuiteEntry* table : {gFirstSuites, gMainSuites, gLateSuites})
        for (const SuiteEntry* row = table; row->name; ++row)
            rows.push_back(row);
    return rows;
}

// Acquisitions of the plug-in's suites the host still counts.
int outstanding(const Host& host)
{
    int count = 0;
    for (const SuiteEntry* row : allRows())
        count += host.acquisitions(row->name);
    return count;
}

int rowsAcquiredAtStartup()
{
    int count = 0;
    for (const SuiteEntry* table : {gFirstSuites, gMainSuites})
        for (const SuiteEntry* row = table; row->name; ++row)
            ++count;
    return count;
}

const std::string kUnhandledXyz = "debug Warning: Unhandled plugin message: caller \"XYZ\" selector \"ABC\"";

// A host with its output collected.
struct HostFixture : ::testing::Test {
    std::vector<std::string> lines;
    Host host;
    HostFixture()
    {
        host.setOutput([this](const std::string& line) { lines.push_back(line); });
        offerMissingSuites(host);
    }
};

// ---- the built module on minihost --------------------------------------------------------------

struct ModuleEntry : HostFixture {
    void SetUp() override { ASSERT_EQ(host.loadPlugin(), kCCNoErr); }

    // Delivers a message of the record type its caller uses.
    CCErr sendAny(const char* caller, const char* selector)
    {
        if (std::strcmp(caller, kCCNotifierCaller) == 0) {
            CCNotifierMessage message{};
            message.type = kCCApplicationStartedNotifier;
            return host.send(caller, selector, &message);
        }
        if (std::strcmp(caller, kCCToolCaller) == 0) {
            CCToolMessage message{};
            message.cursor = {10, 20};
            return host.send(caller, selector, &message);
        }
        return host.send(caller, selector);
    }

    void expectNothingHeld()
    {
        EXPECT_EQ(host.pluginGlobals(), nullptr);
        EXPECT_EQ(outstanding(host), 0);
        EXPECT_EQ(host.accessLocks(), 0);
        EXPECT_EQ(host.contextDepth(), 0);
    }
};

TEST_F(ModuleEntry, MessagesBeforeStartupAndAfterShutdownDoNothing)
{
    const std::pair<const char*, const char*> messages[] = {
        {kCCToolCaller, kCCMouseDownSelector}, {kCCNotifierCaller, kCCNotifySelector},
        {kCCAccessCaller, kCCUnloadSelector},  {kCCAccessCaller, kCCReloadSelector},
        {kCCInterfaceCaller, kCCShutdownSelector}, {"XYZ", "ABC"},
    };
    auto sendAll = [&](const char* when) {
        for (auto [caller, selector] : messages)
            EXPECT_EQ(sendAny(caller, selector), kCCNoErr) << when << ": " << caller << " / " << selector;
        expectNothingHeld();
        EXPECT_TRUE(lines.empty()) << when << ": " << lines.front();
    };
    sendAll("before start-up");
    ASSERT_EQ(host.startup(), kCCNoErr);
    ASSERT_EQ(host.shutdown(), kCCNoErr);
    sendAll("after shut-down");
}

TEST_F(ModuleEntry, StartupHoldsSuitesNameNotifierAndLockUntilShutdown)
{
    ASSERT_EQ(host.startup(), kCCNoErr);
    EXPECT_NE(host.pluginGlobals(), nullptr);
    for (const SuiteEntry* table : {gFirstSuites, gMainSuites})
        for (const SuiteEntry* row = table; row->name; ++row)
            EXPECT_EQ(host.acquisitions(row->name), 1) << row->name;
    EXPECT_EQ(host.acquisitions(kCCCSXSExtensionSuite), 0) << "the late table is not acquired at start-up";
    EXPECT_EQ(host.pluginName(), "Curvicraft");
    EXPECT_EQ(host.accessLocks(), 1);
    std::vector<std::pair<std::string, std::string>> notifiers;
    for (const auto& n : host.impl().notifiers)
        notifiers.emplace_back(n.name, n.type);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Curvicraft App Started Notifier", kCCApplicationStartedNotifier},
        {"Orvo_Curvicraft_Plugin", kCCApplicationStartedNotifier},
        {"Orvo_Curvicraft_Plugin", kCCRulerUnitsChangedNotifier},
        {"Orvo_Curvicraft_Plugin", kCCArtSelectionChangedNotifier},
        {"Orvo_Curvicraft_Plugin", "Orvo Curvicraft Internal Notifier"},
        {"Register Event Notify", kCCPanelSetupCompleteNotifier},
    };
    EXPECT_EQ(notifiers, expected);

    // Every dispatched message is answered 0, notifications inside a balanced application context.
    EXPECT_EQ(host.notify(kCCApplicationStartedNotifier, nullptr), kCCNoErr);
    EXPECT_EQ(sendAny("XYZ", "ABC"), kCCNoErr);
    EXPECT_EQ(sendAny(kCCToolCaller, kCCMouseDownSelector), kCCNoErr);
    EXPECT_EQ(host.contextDepth(), 0);
    EXPECT_TRUE(lines.empty()) << "the plug-in's own class answers every dispatched message: " << lines.front();

    ASSERT_EQ(host.shutdown(), kCCNoErr);
    expectNothingHeld();
}

// The address range the module occupies, from the process's memory map.
struct Range {
    std::uintptr_t begin = 0, end = 0;
    bool contains(const void* p) const
    {
        auto a = reinterpret_cast<std::uintptr_t>(p);
        return a >= begin && a < end;
    }
};

Range moduleRange()
{
    Range range;
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        if (line.find("/Curvicraft.so") == std::string::npos)
            continue;
        std::uintptr_t b = std::stoull(line.substr(0, line.find('-')), nullptr, 16);
        std::uintptr_t e = std::stoull(line.substr(line.find('-') + 1), nullptr, 16);
        range.begin = range.begin ? std::min(range.begin, b) : b;
        range.end = std::max(range.end, e);
    }
    return range;
}

enum class Reopen { Kept, Closed, ClosedAndMoved };

struct UnloadReload : ModuleEntry, ::testing::WithParamInterface<Reopen> {};

TEST_P(UnloadReload, ServesAgainAfterReload)
{
    const Reopen mode = GetParam();
    ASSERT_EQ(host.startup(), kCCNoErr);
    void* object = host.pluginGlobals();
    const Range before = moduleRange();
    ASSERT_NE(before.begin, 0u);

    ASSERT_EQ(host.unload(mode != Reopen::Kept), kCCNoErr);
    EXPECT_EQ(outstanding(host), 0) << "unload gives the suites back";
    EXPECT_EQ(host.accessLocks(), 1) << "the lock in memory lasts until shut-down";
    EXPECT_EQ(host.pluginGlobals(), object) << "the object stays in the globals slot";
    if (mode == Reopen::Kept) {
        EXPECT_EQ(sendAny(kCCToolCaller, kCCMouseDownSelector), kCCNoErr);
        EXPECT_EQ(sendAny(kCCNotifierCaller, kCCNotifySelector), kCCNoErr);
        EXPECT_EQ(outstanding(host), 0) << "an unloaded object is not dispatched to";
    } else {
        EXPECT_EQ(moduleRange().begin, 0u) << "the library left the process";
    }

    // Keep the old address range taken so that the library must come back elsewhere, and an object
    // still pointing at the old code would fault.
    void* reserved = MAP_FAILED;
    if (mode == Reopen::ClosedAndMoved) {
        reserved = mmap(reinterpret_cast<void*>(before.begin), before.end - before.begin, PROT_NONE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
        ASSERT_NE(reserved, MAP_FAILED);
    }

    ASSERT_EQ(host.reload(), kCCNoErr);
    const Range after = moduleRange();
    if (mode == Reopen::ClosedAndMoved) {
        ASSERT_NE(after.begin, before.begin);
    }
    EXPECT_EQ(host.pluginGlobals(), object);
    // The object's table of virtual operations (its first word) is in the library as loaded now.
    void* table = nullptr;
    std::memcpy(&table, object, sizeof table);
    ASSERT_TRUE(after.contains(table)) << "the object was not re-bound to the current code";

    EXPECT_EQ(outstanding(host), rowsAcquiredAtStartup());
    EXPECT_EQ(sendAny(kCCNotifierCaller, kCCNotifySelector), kCCNoErr);
    EXPECT_EQ(sendAny(kCCToolCaller, kCCMouseDownSelector), kCCNoErr);
    EXPECT_EQ(host.contextDepth(), 0);
    ASSERT_EQ(host.shutdown(), kCCNoErr);
    expectNothingHeld();
    if (reserved != MAP_FAILED)
        munmap(reserved, before.end - before.begin);
}

INSTANTIATE_TEST_SUITE_P(PluginEntry, UnloadReload,
                         ::testing::Values(Reopen::Kept, Reopen::Closed, Reopen::ClosedAndMoved),
                         [](const auto& info) {
                             switch (info.param) {
                             case Reopen::Kept: return std::string("LibraryKept");
                             case Reopen::Closed: return std::string("LibraryClosed");
                             default: return std::string("LibraryClosedAndMoved");
                             }
                         });

TEST_F(ModuleEntry, FailedSuiteAcquisitionAtStartupLeavesNothing)
{
    struct Case {
        const char* suite;
        CCErr code;
        bool reported; // non-silent codes reach the debugger output through the default reporter
    } cases[] = {
        {kCCAccessSuite, kCCCantAcquireErr, false}, // first row of the first group
        {kCCContextSuite, kCant, true},
        {kCCUserSuite, kCCSuiteNotFoundErr, false}, // last row of the first group
        {kCCArtSuite, kCant, true},                 // first row of the main table
        {kCCActionManagerSuite, kParm, true},       // last row of the main table
    };
    for (const Case& c : cases) {
        lines.clear();
        host.failAcquisitionOf(c.suite, c.code);
        EXPECT_EQ(host.startup(), c.code) << c.suite;
        expectNothingHeld();
        std::vector<std::string> expected;
        if (c.reported)
            expected.push_back(c.code == kCant ? "debug Error: plugin error CANT" : "debug Error: plugin error PARM");
        EXPECT_EQ(lines, expected) << c.suite;
        host.failAcquisitionOf(c.suite, kCCNoErr);
    }
    // Nothing was left counted as acquired: the next start-up acquires everything afresh.
    ASSERT_EQ(host.startup(), kCCNoErr);
    EXPECT_EQ(outstanding(host), rowsAcquiredAtStartup());
    ASSERT_EQ(host.shutdown(), kCCNoErr);
    expectNothingHeld();
}

TEST(PluginEntry, TwoHundredLifeCyclesLeaveNothingHeld)
{
    for (int cycle = 0; cycle < 200; ++cycle) {
        Host host;
        host.setOutput([](const std::string& line) { ADD_FAILURE() << line; });
        offerMissingSuites(host);
        ASSERT_EQ(host.loadPlugin(), kCCNoErr);
        ASSERT_EQ(host.startup(), kCCNoErr) << "cycle " << cycle;
        ASSERT_EQ(host.shutdown(), kCCNoErr);
        ASSERT_EQ(host.unload(true), kCCNoErr);
        ASSERT_TRUE(host.heldBlocks().empty()) << "cycle " << cycle;
        ASSERT_EQ(outstanding(host), 0) << "cycle " << cycle;
        ASSERT_EQ(host.accessLocks(), 0) << "cycle " << cycle;
        ASSERT_EQ(host.pluginGlobals(), nullptr);
    }
}

// ---- the static core, driven with classes of the tests' own -------------------------------------

// What the recording class saw; reset by every fixture.
struct Recording {
    std::vector<int> slots;            // operations run, by slot number (0: destroyed)
    bool distinctResults = false;      // operations answer 1000 + slot instead of 0
    bool lifeCallsBase = true;         // start-up, shut-down, unload and reload also do the base's work
    bool purge = false;                // what wantsPurge answers
    CCErr postStartupResult = kCCNoErr;
    int throwAt = -1;                  // slot whose operation throws
    int throwKind = 0;                 // 0 ai::Error('PARM'), 1 std::bad_alloc, 2 an int
    int contextDepthInNotify = -1;
};
Recording gRec;

class RecordingPlugin : public Plugin {
public:
    explicit RecordingPlugin(CCPluginRef ref) noexcept : Plugin(ref) { setName("Recorder"); }
    explicit RecordingPlugin(const RebindSnapshot& old) noexcept : Plugin(old) {}
    ~RecordingPlugin() override { gRec.slots.push_back(0); }

    CCErr handleStartup(CCPluginMessage* m) override { return life(3, [&] { return Plugin::handleStartup(m); }); }
    CCErr handlePostStartup() override
    {
        record(4);
        return gRec.postStartupResult;
    }
    CCErr handleShutdown(CCPluginMessage* m) override { return life(5, [&] { return Plugin::handleShutdown(m); }); }
    CCErr handleUnload(CCPluginMessage* m) override { return life(6, [&] { return Plugin::handleUnload(m); }); }
    CCErr handleReload(CCPluginMessage* m) override { return life(7, [&] { return Plugin::handleReload(m); }); }
    bool wantsPurge() override
    {
        record(11);
        return gRec.purge;
    }
    void acquireOptionalSuites() override
    {
        record(17);
        Plugin::acquireOptionalSuites();
    }
    CCErr handleNotify(CCNotifierMessage*) override
    {
        gRec.contextDepthInNotify = Host::current()->contextDepth();
        return record(18);
    }

#define CC_RECORD(slot, op, Message) \
    CCErr op(Message*) override { return record(slot); }
    CC_RECORD(8, handlePropertyAcquire, void)
    CC_RECORD(9, handlePropertyRelease, void)
    CC_RECORD(19, handleDoAction, void)
    CC_RECORD(20, handleMenuGo, void)
    CC_RECORD(21, handleMenuUpdate, void)
    CC_RECORD(22, handleFilterParameters, void)
    CC_RECORD(23, handleFilterGo, void)
    CC_RECORD(24, handleGroupNotifyEdits, void)
    CC_RECORD(25, handleGroupUpdate, void)
    CC_RECORD(26, handleFormatParameters, void)
    CC_RECORD(27, handleFormatGo, void)
    CC_RECORD(28, handleFormatCheck, void)
    CC_RECORD(29, handleFormatUpdate, void)
    CC_RECORD(30, handleFormatAction, void)
    CC_RECORD(31, handleToolOptions, CCToolMessage)
    CC_RECORD(32, handleToolTrackCursor, CCToolMessage)
    CC_RECORD(33, handleToolMouseDown, CCToolMessage)
    CC_RECORD(34, handleToolMouseDrag, CCToolMessage)
    CC_RECORD(35, handleToolMouseUp, CCToolMessage)
    CC_RECORD(36, handleToolSelect, CCToolMessage)
    CC_RECORD(37, handleToolDeselect, CCToolMessage)
    CC_RECORD(38, handleToolReselect, CCToolMessage)
    CC_RECORD(39, handleToolDecreaseDiameter, CCToolMessage)
    CC_RECORD(40, handleToolIncreaseDiameter, CCToolMessage)
    CC_RECORD(41, handleEffectEditParameters, void)
    CC_RECORD(42, handleEffectGoLive, void)
    CC_RECORD(43, handleEffectInterpolate, void)
    CC_RECORD(44, handleEffectInputType, void)
    CC_RECORD(45, handleEffectConvertColorSpace, void)
    CC_RECORD(46, handleEffectScaleParameters, void)
    CC_RECORD(47, handleEffectAdjustColors, void)
    CC_RECORD(48, handleEffectMerge, void)
    CC_RECORD(49, handleTimer, void)
    CC_RECORD(50, handleClipboardGo, void)
    CC_RECORD(51, handleClipboardCanCopy, void)
    CC_RECORD(52, handleClipboardClone, void)
    CC_RECORD(53, handleClipboardDispose, void)
    CC_RECORD(54, handleWorkspaceWrite, void)
    CC_RECORD(55, handleWorkspaceRestore, void)
    CC_RECORD(56, handleWorkspaceDefault, void)
#undef CC_RECORD

private:
    static CCErr record(int slot)
    {
        gRec.slots.push_back(slot);
        if (slot == gRec.throwAt) {
            if (gRec.throwKind == 0)
                throw ai::Error(kParm);
            if (gRec.throwKind == 1)
                throw std::bad_alloc();
            throw 42;
        }
        return gRec.distinctResults ? 1000 + slot : kCCNoErr;
    }
    template <class Base>
    CCErr life(int slot, Base base)
    {
        if (!gRec.lifeCallsBase)
            return record(slot);
        const CCErr err = base();
        const CCErr recorded = record(slot);
        return err != kCCNoErr ? err : recorded;
    }
};

std::int64_t gNow = 0;

// Runs the core's entry algorithm for one class, as minihost would run the module's PluginMain.
struct CoreEntry : HostFixture {
    PluginClass pluginClass = pluginClassOf<RecordingPlugin>();
    void* globals = nullptr;

    CoreEntry()
    {
        gRec = Recording{};
        gNow = 1000;
        Plugin::setClock([]() noexcept { return gNow; });
    }
    void SetUp() override { ASSERT_EQ(host.loadPlugin(), kCCNoErr); } // makes the plug-in reference valid
    ~CoreEntry() override
    {
        gRec.lifeCallsBase = true;
        gRec.throwAt = -1;
        if (globals)
            send(kCCInterfaceCaller, kCCShutdownSelector);
        Plugin::setClock(nullptr);
    }

    CCErr send(const char* caller, const char* selector, CCMessageHeader* header)
    {
        header->self = host.pluginRef();
        header->basic = host.basicSuite();
        header->globals = globals;
        const CCErr result = runPluginEntry(pluginClass, caller, selector, header);
        globals = header->globals;
        return result;
    }
    CCErr send(const char* caller, const char* selector)
    {
        CCToolMessage message{}; // large enough for every record these tests send
        return send(caller, selector, &message.d);
    }
    CCErr notify(const char* selector, const char* type)
    {
        CCNotifierMessage message{};
        message.type = type;
        return send(kCCNotifierCaller, selector, &message.d);
    }
    Plugin* plugin() const { return static_cast<Plugin*>(globals); }
    void start()
    {
        ASSERT_EQ(send(kCCInterfaceCaller, kCCStartupSelector), kCCNoErr);
        ASSERT_NE(plugin(), nullptr);
        gRec.slots.clear();
    }
};

TEST_F(CoreEntry, UnloadedObjectIsNotDispatchedUntilReload)
{
    start();
    ASSERT_EQ(send(kCCAccessCaller, kCCUnloadSelector), kCCNoErr);
    EXPECT_EQ(gRec.slots, (std::vector<int>{17, 6}));
    EXPECT_EQ(outstanding(host), 0);

    gRec.slots.clear();
    EXPECT_EQ(send(kCCToolCaller, kCCMouseDownSelector), kCCNoErr);
    EXPECT_EQ(notify(kCCNotifySelector, kCCApplicationStartedNotifier), kCCNoErr);
    EXPECT_TRUE(gRec.slots.empty()) << "reached slot " << gRec.slots.front();

    ASSERT_EQ(send(kCCAccessCaller, kCCReloadSelector), kCCNoErr);
    EXPECT_EQ(outstanding(host), rowsAcquiredAtStartup());
    EXPECT_EQ(send(kCCToolCaller, kCCMouseDownSelector), kCCNoErr);
    EXPECT_EQ(gRec.slots, (std::vector<int>{7, 17, 33}));
}

TEST_F(CoreEntry, ReloadRebindsAStaleObjectKeepingItsFields)
{
    start();
    gNow = 50;
    plugin()->reportError(kParm, "AI Tool", "AI Mouse Down", nullptr);
    ASSERT_EQ(plugin()->setResident(true), kCCNoErr);
    ASSERT_EQ(send(kCCAccessCaller, kCCUnloadSelector), kCCNoErr);

    // What a closed and reopened library leaves: the fields intact, the first word (the table of
    // virtual operations) pointing at code that is gone.
    void* object = globals;
    std::memset(object, 0xA5, sizeof(void*));
    gRec.slots.clear();
    ASSERT_EQ(send(kCCAccessCaller, kCCReloadSelector), kCCNoErr);

    EXPECT_EQ(globals, object) << "re-created in place";
    EXPECT_EQ(gRec.slots, (std::vector<int>{7})) << "the reload ran through the re-bound object";
    EXPECT_STREQ(plugin()->name(), "Recorder");
    EXPECT_EQ(plugin()->pluginRef(), host.pluginRef());
    EXPECT_EQ(plugin()->lockCount(), 2);
    EXPECT_EQ(plugin()->lastErrorCode(), kParm);
    EXPECT_EQ(plugin()->lastErrorTime(), 50);
    EXPECT_TRUE(plugin()->holdsSuites());
    EXPECT_EQ(host.accessLocks(), 1);

    // The base shut-down keeps a lock; destroying the object gives back what is left.
    ASSERT_EQ(send(kCCInterfaceCaller, kCCShutdownSelector), kCCNoErr);
    EXPECT_EQ(globals, nullptr);
    EXPECT_EQ(host.accessLocks(), 0);
    EXPECT_EQ(outstanding(host), 0);
}

TEST_F(CoreEntry, ExceptionsBecomeCodesAndReleaseWhatWasHeld)
{
    // Start-up throwing after the base took suites and the lock: the object goes, and everything with it.
    gRec.throwAt = 3;
    EXPECT_EQ(send(kCCInterfaceCaller, kCCStartupSelector), kParm);
    EXPECT_EQ(globals, nullptr);
    EXPECT_EQ(gRec.slots, (std::vector<int>{3, 0}));
    EXPECT_EQ(outstanding(host), 0);
    EXPECT_EQ(host.accessLocks(), 0);

    gRec.throwAt = -1;
    start();
    struct Case {
        int slot, kind;
        const char* caller;
        const char* selector;
        CCErr expected;
    } cases[] = {
        {33, 1, kCCToolCaller, kCCMouseDownSelector, kCCOutOfMemoryErr},
        {18, 2, kCCNotifierCaller, kCCNotifySelector, kCant},
        {18, 0, kCCNotifierCaller, kCCNotifySelector, kParm},
        {23, 0, kCCFilterCaller, kCCGoSelector, kParm},
    };
    for (const Case& c : cases) {
        gRec.throwAt = c.slot;
        gRec.throwKind = c.kind;
        gNow += 10; // past the repeat time-out, so each one is reported
        lines.clear();
        EXPECT_EQ(c.caller == std::string(kCCNotifierCaller) ? notify(c.selector, "Some Notifier")
                                                            : send(c.caller, c.selector),
                  c.expected)
            << c.selector;
        EXPECT_EQ(host.contextDepth(), 0) << "the application context is popped on the way out";
        EXPECT_EQ(plugin()->lastErrorCode(), c.expected);
        EXPECT_EQ(lines.size(), 1u) << "one report through the default reporter";
    }
}

TEST_F(CoreEntry, NoMemoryForTheObject)
{
    pluginClass.create = [](CCPluginRef) noexcept -> Plugin* { return nullptr; };
    lines.clear();
    EXPECT_EQ(send(kCCInterfaceCaller, kCCStartupSelector), kCCOutOfMemoryErr);
    EXPECT_EQ(globals, nullptr);
    EXPECT_EQ(outstanding(host), 0);
    EXPECT_EQ(lines, (std::vector<std::string>{"debug Error: plugin error !MEM"}));
}

TEST_F(CoreEntry, InstanceFollowsTheLifeCycle)
{
    pluginClass = pluginClassOf<CurvicraftPlugin>();
    ASSERT_EQ(send(kCCInterfaceCaller, kCCStartupSelector), kCCNoErr);
    EXPECT_EQ(CurvicraftPlugin::instance(), globals);
    EXPECT_STREQ(plugin()->name(), "Curvicraft");
    ASSERT_EQ(send(kCCAccessCaller, kCCUnloadSelector), kCCNoErr);
    EXPECT_EQ(CurvicraftPlugin::instance(), nullptr);
    ASSERT_EQ(send(kCCAccessCaller, kCCReloadSelector), kCCNoErr);
    EXPECT_EQ(CurvicraftPlugin::instance(), globals);
    ASSERT_EQ(send(kCCInterfaceCaller, kCCShutdownSelector), kCCNoErr);
    EXPECT_EQ(CurvicraftPlugin::instance(), nullptr);
    EXPECT_EQ(host.accessLocks(), 0);

    // A failed start-up destroys the object it had made the instance.
    host.failAcquisitionOf(kCCExpandSuite, kCant);
    EXPECT_EQ(send(kCCInterfaceCaller, kCCStartupSelector), kCant);
    EXPECT_EQ(CurvicraftPlugin::instance(), nullptr);
}

TEST_F(CoreEntry, SetResidentCountsLocksAndNeverGoesBelowZero)
{
    start();
    Plugin& p = *plugin();
    EXPECT_EQ(p.lockCount(), 1);
    struct Step {
        bool lock;
        int count, hostLocks;
    } steps[] = {
        {true, 2, 1}, {false, 1, 1}, {false, 0, 0}, {false, 0, 0}, {false, 0, 0}, {true, 1, 1}, {false, 0, 0},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(p.setResident(s.lock), kCCNoErr);
        EXPECT_EQ(p.lockCount(), s.count);
        EXPECT_EQ(host.accessLocks(), s.hostLocks);
    }
}

TEST(PluginName, CopyNameTruncatesAndAlwaysEndsWithNul)
{
    const CurvicraftPlugin plugin(nullptr); // "Curvicraft", 10 characters
    struct Case {
        std::size_t length;
        const char* expected;
    } cases[] = {{0, ""}, {1, "C"}, {9, "Curvicraf"}, {10, "Curvicraft"}, {11, "Curvicraft"}, {255, "Curvicraft"}};
    for (const Case& c : cases) {
        std::vector<char> buffer(c.length + 2, 'x');
        plugin.copyName(buffer.data(), c.length);
        const std::size_t n = std::strlen(c.expected);
        EXPECT_EQ(std::string(buffer.data()), c.expected) << c.length;
        EXPECT_EQ(buffer[n], '\0');
        if (n + 1 < buffer.size()) {
            EXPECT_EQ(buffer[n + 1], 'x') << "nothing written past the NUL";
        }
    }
}

// ---- routing ------------------------------------------------------------------------------------

struct Route {
    const char* caller;
    const char* selector;
    std::vector<int> slots; // after acquireOptionalSuites (17)
    CCErr result;
};

constexpr CCErr R(int slot) { return 1000 + slot; }
constexpr CCErr kUnhandled = kCCUnhandledMsgErr;

TEST_F(CoreEntry, RoutingReachesTheSlotOfEveryCallerAndSelector)
{
    start();
    gRec.distinctResults = true;
    gRec.lifeCallsBase = false;
    const Route routes[] = {
        {"SP Access", "Unload", {6}, R(6)},
        {"SP Access", "Reload", {7}, R(7)},
        {"SP Interface", "Startup", {}, 0},
        {"SP Interface", "About", {}, 0},
        {"SP Interface", "Shutdown", {5}, R(5)},
        {"SP Cache", "Plug-in Purge", {11}, 0},
        {"SP Properties", "Acquire", {8}, R(8)},
        {"SP Properties", "Release", {9}, R(9)},
        {"Action Manager", "Do Action", {19}, R(19)},
        {"AI Menu", "AI Go", {20}, R(20)},
        {"AI Menu", "AI Update", {21}, R(21)},
        {"AI Filter", "AI Get Parameters", {22}, R(22)},
        {"AI Filter", "AI Go", {23}, R(23)},
        {"AI Plugin Group", "AI Notify Edits", {24}, R(24)},
        {"AI Plugin Group", "AI Update", {25}, R(25)},
        {"AI File Format", "AI Get Parameters", {26}, R(26)},
        {"AI File Format", "AI Go", {27}, R(27)},
        {"AI File Format", "AI Check", {28}, R(28)},
        {"AI File Format", "AI Update AI140", {29}, R(29)},
        {"AI File Format", "Do Action", {30}, R(30)},
        {"AI Tool", "AI Edit Options", {31}, R(31)},
        {"AI Tool", "AI Track Cursor", {32}, R(32)},
        {"AI Tool", "AI Mouse Down", {33}, R(33)},
        {"AI Tool", "AI Mouse Drag", {34}, R(34)},
        {"AI Tool", "AI Mouse Up", {35}, R(35)},
        {"AI Tool", "AI Select", {36}, R(36)},
        {"AI Tool", "AI Deselect", {37}, R(37)},
        {"AI Tool", "AI Reselect", {38}, R(38)},
        {"AI Tool", "AI Decrease Diameter", {39}, R(39)},
        {"AI Tool", "AI Increase Diameter", {40}, R(40)},
        {"AI Live Effect", "AI Live Effect Edit Parameters", {41}, R(41)},
        {"AI Live Effect", "AI Live Effect Go Live", {42}, R(42)},
        {"AI Live Effect", "AI Live Effect Interpolate Parameters", {43}, R(43)},
        {"AI Live Effect", "AI Live Effect Input Type", {44}, R(44)},
        {"AI Live Effect", "AI Live Effect Convert Color Space", {45}, R(45)},
        {"AI Live Effect", "AI Live Effect Scale Parameters", {46}, R(46)},
        {"AI Live Effect", "AI Live Effect Adjust Colors", {47}, R(47)},
        {"AI Live Effect", "AI Live Effect Handle Merge", {48}, R(48)},
        {"AI Timer", "AI Go", {49}, R(49)},
        {"AI Clipboard", "AI Go", {50}, R(50)},
        {"AI Clipboard", "AI Can Copy", {51}, R(51)},
        {"AI Clipboard", "AI Clone", {52}, R(52)},
        {"AI Clipboard", "AI Dispose", {53}, R(53)},
        {"Workspace Manager", kCCWorkspaceWriteSelector, {54}, R(54)},
        {"Workspace Manager", kCCWorkspaceRestoreSelector, {55}, R(55)},
        {"Workspace Manager", kCCWorkspaceDefaultSelector, {56}, R(56)},
        // Pairs nobody serves: an unknown caller, a selector of another caller, another case.
        {"XYZ", "ABC", {}, kUnhandled},
        {"AI Tool", "AI Go", {}, kUnhandled},
        {"AI Menu", "AI Mouse Down", {}, kUnhandled},
        {"ai tool", "AI Mouse Down", {}, kUnhandled},
        {"AI Tool", "AI Mouse Down ", {}, kUnhandled},
        {"SP Interface", "Reload", {}, kUnhandled},
        {"AI Annotation", "AI Draw", {}, kUnhandled},
    };
    for (const Route& r : routes) {
        gRec.slots.clear();
        CCToolMessage message{};
        EXPECT_EQ(plugin()->dispatchMessage(r.caller, r.selector, &message), r.result) << r.caller << " / " << r.selector;
        std::vector<int> expected{17};
        expected.insert(expected.end(), r.slots.begin(), r.slots.end());
        EXPECT_EQ(gRec.slots, expected) << r.caller << " / " << r.selector;
    }

    gRec.purge = true;
    CCPluginMessage message{};
    EXPECT_EQ(plugin()->dispatchMessage("SP Cache", "Plug-in Purge", &message), kCCWantsPurge);
}

TEST_F(CoreEntry, RoutingOfNotificationsInsideTheApplicationContext)
{
    start();
    gRec.distinctResults = true;
    struct Case {
        const char* selector;
        const char* type;
        CCErr postStartup;
        std::vector<int> slots;
        CCErr result;
    } cases[] = {
        {"AI Notify", "AI Art Selection Changed Notifier", 0, {18}, R(18)},
        {"AI Notify", kCCApplicationStartedNotifier, 0, {4, 18}, R(18)},
        {"AI Notify", kCCApplicationStartedNotifier, kUnhandled, {4, 18}, R(18)},
        {"AI Notify", kCCApplicationStartedNotifier, kParm, {4}, kParm}, // a failed post-start-up ends it
        {"AI Other", kCCApplicationStartedNotifier, 0, {4}, 0},
        {"AI Other", kCCApplicationStartedNotifier, kUnhandled, {4}, kUnhandled},
        {"AI Other", "AI Art Selection Changed Notifier", 0, {}, kUnhandled},
        {"AI Notify", nullptr, 0, {18}, R(18)},
    };
    for (const Case& c : cases) {
        gRec.slots.clear();
        gRec.postStartupResult = c.postStartup;
        gRec.contextDepthInNotify = -1;
        CCNotifierMessage message{};
        message.type = c.type;
        const char* label = c.type ? c.type : "(no type)";
        EXPECT_EQ(plugin()->dispatchMessage(kCCNotifierCaller, c.selector, &message), c.result) << c.selector << " " << label;
        std::vector<int> expected{17};
        expected.insert(expected.end(), c.slots.begin(), c.slots.end());
        EXPECT_EQ(gRec.slots, expected) << c.selector << " " << label;
        if (std::find(c.slots.begin(), c.slots.end(), 18) != c.slots.end()) {
            EXPECT_EQ(gRec.contextDepthInNotify, 1) << "handled inside the pushed context";
        }
        EXPECT_EQ(host.contextDepth(), 0) << "popped on every path";
    }
}

TEST_F(CoreEntry, RoutingAnswersOfTheBaseClass)
{
    pluginClass = pluginClassOf<Plugin>();
    start();
    const Route routes[] = {
        {"AI Tool", "AI Mouse Down", {}, kUnhandled},
        {"AI Tool", "AI Reselect", {}, 0},
        {"AI Tool", "AI Decrease Diameter", {}, 0},
        {"AI Tool", "AI Increase Diameter", {}, 0},
        {"SP Properties", "Acquire", {}, kUnhandled},
        {"SP Cache", "Plug-in Purge", {}, 0},
        {"AI Notifier", "AI Notify", {}, kUnhandled},
        {"AI Live Effect", "AI Live Effect Input Type", {}, kUnhandled},
        {"Workspace Manager", kCCWorkspaceDefaultSelector, {}, kUnhandled},
    };
    for (const Route& r : routes) {
        CCNotifierMessage message{};
        EXPECT_EQ(plugin()->dispatchMessage(r.caller, r.selector, &message), r.result) << r.caller << " / " << r.selector;
    }
    EXPECT_EQ(host.contextDepth(), 0);
}

TEST_F(CoreEntry, RoutingOfUnhandledMessagesWritesTheDebuggerLine)
{
    pluginClass = pluginClassOf<Plugin>();
    start();
    lines.clear();
    EXPECT_EQ(send("XYZ", "ABC"), kCCNoErr);
    EXPECT_EQ(send(kCCToolCaller, kCCReselectSelector), kCCNoErr); // handled: no line
    EXPECT_EQ(lines, (std::vector<std::string>{kUnhandledXyz}));
}

TEST_F(ModuleEntry, RoutingOfTheModuleAnswersEveryDispatchedMessage)
{
    ASSERT_EQ(host.startup(), kCCNoErr);
    EXPECT_EQ(sendAny("XYZ", "ABC"), kCCNoErr);
    EXPECT_EQ(sendAny(kCCToolCaller, kCCMouseDownSelector), kCCNoErr);
    EXPECT_EQ(sendAny(kCCWorkspaceCaller, kCCWorkspaceWriteSelector), kCCNoErr);
    EXPECT_TRUE(lines.empty()) << lines.front();
}

// ---- error reports ------------------------------------------------------------------------------

TEST_F(CoreEntry, ErrorReportsDropSilentCodesAndRepeatsWithinFiveSeconds)
{
    pluginClass = pluginClassOf<Plugin>();
    start();
    struct Report {
        std::int64_t time;
        CCErr code;
        bool recorded;
    } reports[] = {
        {100, kParm, true},
        {104, kParm, false}, // same code within 5 seconds
        {105, kParm, true},  // 5 seconds after the last recorded one
        {106, kCant, true},  // a different code is always recorded
        {107, kParm, true},
        {108, kParm, false},
        {108, CC_FOURCC('S', 'T', 'O', 'P'), false}, // silent
        {108, 361, false},
        {108, CC_FOURCC('S', '!', 'F', 'd'), false},
        {111, kParm, false}, // still within 5 seconds of 107: the silent codes changed nothing
        {112, kParm, true},
        {112, -108, true},
        {50, -108, false}, // a clock that went back
    };
    for (const Report& r : reports) {
        lines.clear();
        gNow = r.time;
        const CCErr lastBefore = plugin()->lastErrorCode();
        plugin()->reportError(r.code, "AI Tool", "AI Mouse Down", nullptr);
        EXPECT_EQ(!lines.empty(), r.recorded) << r.time << " " << r.code;
        EXPECT_EQ(plugin()->lastErrorCode(), r.recorded ? r.code : lastBefore) << r.time << " " << r.code;
    }
    EXPECT_EQ(plugin()->lastErrorTime(), 112);
}

TEST_F(CoreEntry, ErrorReportsWriteTheCodeAsCharactersOrNumber)
{
    pluginClass = pluginClassOf<Plugin>();
    start();
    const std::pair<CCErr, const char*> cases[] = {
        {kParm, "debug Error: plugin error PARM"},
        {-108, "debug Error: plugin error -108"},
        {65535, "debug Error: plugin error 65535"},
        {-1, "debug Error: plugin error -1"},
        {0x00410000, "debug Error: plugin error ?A??"},
    };
    for (auto [code, line] : cases) {
        lines.clear();
        gNow += 10;
        plugin()->reportError(code, "", "", nullptr);
        EXPECT_EQ(lines, (std::vector<std::string>{line}));
    }
}

// ---- the previous host version ------------------------------------------------------------------

TEST(PreviousHost, SpellingsMatchTheBuild)
{
#ifdef CURVICRAFT_PREVIOUS_HOST
    EXPECT_STREQ(kPanelLibraryFileName, "PlugPlug.dll");
    EXPECT_STREQ(kCCWorkspaceWriteSelector, "Write Woskspace");
    EXPECT_STREQ(kCCWorkspaceRestoreSelector, "Restore Woskspace");
    EXPECT_STREQ(kCCWorkspaceDefaultSelector, "Default Woskspace");
#else
    EXPECT_STREQ(kPanelLibraryFileName, "PlugPlugOwl.dll");
    EXPECT_STREQ(kCCWorkspaceWriteSelector, "Write Workspace");
    EXPECT_STREQ(kCCWorkspaceRestoreSelector, "Restore Workspace");
    EXPECT_STREQ(kCCWorkspaceDefaultSelector, "Default Workspace");
#endif
}

TEST_F(CoreEntry, PreviousHostRoutesOnlyTheWorkspaceSpellingOfItsBuild)
{
    start();
#ifdef CURVICRAFT_PREVIOUS_HOST
    const char* other[] = {"Write Workspace", "Restore Workspace", "Default Workspace"};
#else
    const char* other[] = {"Write Woskspace", "Restore Woskspace", "Default Woskspace"};
#endif
    const char* own[] = {kCCWorkspaceWriteSelector, kCCWorkspaceRestoreSelector, kCCWorkspaceDefaultSelector};
    for (int i = 0; i < 3; ++i) {
        gRec.slots.clear();
        CCPluginMessage message{};
        plugin()->dispatchMessage(kCCWorkspaceCaller, own[i], &message);
        EXPECT_EQ(gRec.slots, (std::vector<int>{17, 54 + i})) << own[i];
        gRec.slots.clear();
        EXPECT_EQ(plugin()->dispatchMessage(kCCWorkspaceCaller, other[i], &message), kUnhandled) << other[i];
        EXPECT_EQ(gRec.slots, (std::vector<int>{17})) << other[i];
    }
}

} // namespace
