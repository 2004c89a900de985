// A plug-in for the host tests. It reports each message on the debugger channel as
// "CALLER / SELECTOR ..." and keeps a small state object in the globals slot:
//   Startup   acquires its suites, names itself, registers a notifier for "Test Notify Type", takes an
//             access lock and a "test state" block; any failure releases what it took and is returned.
//   Shutdown  gives everything back and clears the globals slot.
//   Unload    releases its suites; Reload acquires them again and reports the message count kept in
//             the state object, which shows that the globals slot survived.
//   AI Notify pushes an application context, reports the type and the data text, pops the context.
//   "Test"    selectors: "Leak" takes a block it never frees, "Alert" shows an alert, "Deactivate"
//             switches its notifier off, "Rotate Selection" turns the selected paths a quarter turn
//             about (5, 5) through the matching-art, real-math and transform suites.
#include "cc_messages.h"
#include "cc_suites.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <new>

namespace {

const CCBasicSuite* sBasic = nullptr;
const CCAccessSuite* sAccess = nullptr;
const CCPluginSuite* sPlugin = nullptr;
const CCNotifierSuite* sNotifier = nullptr;
const CCContextSuite* sContext = nullptr;
const CCBlocksSuite* sBlocks = nullptr;
const CCUserSuite* sUser = nullptr;

struct Row {
    const char* name;
    int version;
    const void** pointer;
};

Row gRows[] = {
    {kCCAccessSuite, kCCAccessSuiteVersion, reinterpret_cast<const void**>(&sAccess)},
    {kCCPluginSuite, kCCPluginSuiteVersion, reinterpret_cast<const void**>(&sPlugin)},
    {kCCNotifierSuite, kCCNotifierSuiteVersion, reinterpret_cast<const void**>(&sNotifier)},
    {kCCContextSuite, kCCContextSuiteVersion, reinterpret_cast<const void**>(&sContext)},
    {kCCBlocksSuite, kCCBlocksSuiteVersion, reinterpret_cast<const void**>(&sBlocks)},
    {kCCUserSuite, kCCUserSuiteVersion, reinterpret_cast<const void**>(&sUser)},
};

struct State {
    int messages = 0;
    CCAccessRef access = nullptr;
    CCNotifierHandle notifier = nullptr;
    void* block = nullptr;
};

void debug(const char* format, const char* a = "", const char* b = "", long n = 0)
{
    using Channel = void (*)(const char*);
    static Channel channel = reinterpret_cast<Channel>(dlsym(RTLD_DEFAULT, "OutputDebugStringA"));
    char line[512];
    std::snprintf(line, sizeof line, format, a, b, n);
    if (channel)
        channel(line);
}

void releaseSuites()
{
    for (Row& row : gRows)
        if (*row.pointer) {
            sBasic->ReleaseSuite(row.name, row.version);
            *row.pointer = nullptr;
        }
}

CCErr acquireSuites()
{
    for (Row& row : gRows)
        if (CCErr err = sBasic->AcquireSuite(row.name, row.version, row.pointer)) {
            releaseSuites();
            return err;
        }
    return kCCNoErr;
}

CCErr startup(CCMessageHeader* header)
{
    if (CCErr err = acquireSuites())
        return err;
    auto* state = new (std::nothrow) State;
    CCErr err = state ? kCCNoErr : kCCOutOfMemoryErr;
    if (!err)
        err = sPlugin->SetPluginName(header->self, "Test Plugin (running)");
    if (!err)
        err = sNotifier->AddNotifier(header->self, "Test Notifier", "Test Notify Type", &state->notifier);
    if (!err)
        err = sAccess->AcquirePlugin(header->self, &state->access);
    if (!err)
        err = sBlocks->AllocateBlock(64, "test state", &state->block);
    if (err) {
        if (state && state->access)
            sAccess->ReleasePlugin(state->access);
        delete state;
        releaseSuites();
        return err;
    }
    header->globals = state;
    return kCCNoErr;
}

void shutdown(CCMessageHeader* header)
{
    auto* state = static_cast<State*>(header->globals);
    sBlocks->FreeBlock(state->block);
    sAccess->ReleasePlugin(state->access);
    delete state;
    header->globals = nullptr;
    releaseSuites();
}

// Acquires a suite for the length of one operation.
template <class Suite> struct Scoped {
    const char* name;
    int version;
    const Suite* suite = nullptr;
    CCErr err;
    Scoped(const char* n, int v) : name(n), version(v)
    {
        err = sBasic->AcquireSuite(name, version, reinterpret_cast<const void**>(&suite));
    }
    ~Scoped()
    {
        if (suite)
            sBasic->ReleaseSuite(name, version);
    }
};

CCErr rotateSelection()
{
    Scoped<CCMatchingArtSuite> matching(kCCMatchingArtSuite, kCCMatchingArtSuiteVersion);
    Scoped<CCMdMemorySuite> memory(kCCMdMemorySuite, kCCMdMemorySuiteVersion);
    Scoped<CCRealMathSuite> math(kCCRealMathSuite, kCCRealMathSuiteVersion);
    Scoped<CCTransformArtSuite> transform(kCCTransformArtSuite, kCCTransformArtSuiteVersion);
    for (CCErr err : {matching.err, memory.err, math.err, transform.err})
        if (err)
            return err;
    const CCMatchingArtSpec spec{kCCPathArt, kCCArtSelected, kCCArtSelected};
    CCMemoryHandle list = nullptr;
    int32_t count = 0;
    if (CCErr err = matching.suite->GetMatchingArt(&spec, 1, &list, &count))
        return err;
    void* block = nullptr;
    CCErr err = memory.suite->GetHandleBlock(list, &block);
    CCRealMatrix m;
    math.suite->MatrixSetTranslate(&m, -5, -5);
    math.suite->MatrixConcatRotate(&m, 1.5707963267948966);
    math.suite->MatrixConcatTranslate(&m, 5, 5);
    for (int32_t i = 0; !err && i < count; ++i)
        err = transform.suite->TransformArt(static_cast<CCArtHandle*>(block)[i], &m, 1, kCCTransformObjects);
    memory.suite->DisposeHandle(list);
    return err;
}

} // namespace

extern "C" __attribute__((visibility("default"))) CCErr PluginMain(const char* caller, const char* selector,
                                                                   void* message)
{
    auto* header = static_cast<CCMessageHeader*>(message);
    sBasic = header->basic;
    auto* state = static_cast<State*>(header->globals);
    if (state)
        ++state->messages;

    if (!std::strcmp(caller, kCCInterfaceCaller) && !std::strcmp(selector, kCCStartupSelector)) {
        CCErr err = startup(header);
        debug("%s / %s result=%ld", caller, selector, err);
        return err;
    }
    debug("%s / %s", caller, selector);
    if (!state)
        return kCCNoErr;
    if (!std::strcmp(caller, kCCInterfaceCaller) && !std::strcmp(selector, kCCShutdownSelector)) {
        shutdown(header);
    } else if (!std::strcmp(caller, kCCAccessCaller) && !std::strcmp(selector, kCCUnloadSelector)) {
        releaseSuites();
    } else if (!std::strcmp(caller, kCCAccessCaller) && !std::strcmp(selector, kCCReloadSelector)) {
        CCErr err = acquireSuites();
        debug("reload messages=%s%s%ld", "", "", state->messages);
        return err;
    } else if (!sNotifier) {
        return kCCNoErr; // unloaded: nothing is served until Reload
    } else if (!std::strcmp(caller, kCCNotifierCaller) && !std::strcmp(selector, kCCNotifySelector)) {
        auto* notification = static_cast<CCNotifierMessage*>(message);
        CCAppContext context = nullptr;
        sContext->PushAppContext(header->self, &context);
        debug("notify %s data=%s", notification->type,
              notification->notifyData ? static_cast<const char*>(notification->notifyData) : "none");
        sContext->PopAppContext(context);
    } else if (!std::strcmp(caller, "Test") && !std::strcmp(selector, "Leak")) {
        void* block = nullptr;
        return sBlocks->AllocateBlock(10, "leaked block", &block);
    } else if (!std::strcmp(caller, "Test") && !std::strcmp(selector, "Alert")) {
        return sUser->ErrorAlert("two\nlines");
    } else if (!std::strcmp(caller, "Test") && !std::strcmp(selector, "Deactivate")) {
        return sNotifier->SetNotifierActive(state->notifier, 0);
    } else if (!std::strcmp(caller, "Test") && !std::strcmp(selector, "Rotate Selection")) {
        return rotateSelection();
    }
    return kCCNoErr;
}
