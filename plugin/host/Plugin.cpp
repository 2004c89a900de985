#include "Plugin.h"

#include "ErrorReporter.h"
#include "Suites.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

namespace curvicraft {

namespace {

Plugin::Clock sClock = nullptr;

bool same(const char* a, const char* b) noexcept
{
    return a && b && std::strcmp(a, b) == 0;
}

std::int64_t systemSeconds() noexcept
{
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

// Gives an access reference back. Between Unload and Reload the suites are not held, so the access
// suite is then acquired for this one call.
CCErr releaseAccess(CCAccessRef access) noexcept
{
    if (sAccess)
        return sAccess->ReleasePlugin(access);
    if (!sBasic)
        return kCCSuiteNotFoundErr;
    const void* suite = nullptr;
    if (const CCErr err = sBasic->AcquireSuite(kCCAccessSuite, kCCAccessSuiteVersion, &suite))
        return err;
    const CCErr err = static_cast<const CCAccessSuite*>(suite)->ReleasePlugin(access);
    sBasic->ReleaseSuite(kCCAccessSuite, kCCAccessSuiteVersion);
    return err;
}

// The host's application context, pushed for the plug-in while a notification is handled and popped
// on every way out.
class AppContextScope {
public:
    explicit AppContextScope(CCPluginRef plugin) noexcept : suite_(sContext)
    {
        result_ = suite_ ? suite_->PushAppContext(plugin, &context_) : kCCSuiteNotFoundErr;
    }
    ~AppContextScope()
    {
        if (result_ == kCCNoErr)
            suite_->PopAppContext(context_);
    }
    AppContextScope(const AppContextScope&) = delete;
    AppContextScope& operator=(const AppContextScope&) = delete;

    CCErr result() const noexcept { return result_; }

private:
    const CCContextSuite* suite_;
    CCAppContext context_ = nullptr;
    CCErr result_;
};

CCErr dispatchNotifier(Plugin& plugin, const char* selector, CCNotifierMessage* message)
{
    AppContextScope context(plugin.pluginRef());
    if (context.result() != kCCNoErr)
        return context.result();

    CCErr result = kCCUnhandledMsgErr;
    if (message && same(message->type, kCCApplicationStartedNotifier)) {
        result = plugin.handlePostStartup();
        if (result != kCCNoErr && result != kCCUnhandledMsgErr)
            return result;
    }
    if (same(selector, kCCNotifySelector))
        return plugin.handleNotify(message);
    return result;
}

} // namespace

Plugin::Plugin(CCPluginRef pluginRef) noexcept : pluginRef_(pluginRef)
{
    setName("Plugin");
}

Plugin::Plugin(const RebindSnapshot& old) noexcept
{
    old.restore(pluginRef_);
    old.restore(name_);
    old.restore(suites_);
    old.restore(lockCount_);
    old.restore(access_);
    old.restore(lastErrorCode_);
    old.restore(errorTimeout_);
    old.restore(suppressRepeats_);
    old.restore(lastErrorTime_);
}

// An object destroyed while it still holds a lock or the suites (a start-up that failed midway) gives
// them back, so the host is left with nothing outstanding.
Plugin::~Plugin()
{
    if (lockCount_ > 0) {
        lockCount_ = 0;
        if (CCAccessRef access = std::exchange(access_, nullptr))
            releaseAccess(access);
    }
    releaseSuites();
}

void Plugin::reportError(CCErr code, const char*, const char*, void*)
{
    if (isSilentError(code))
        return;
    const std::int64_t time = now();
    if (suppressRepeats_ && code == lastErrorCode_) {
        std::int64_t until = 0;
        if (__builtin_add_overflow(lastErrorTime_, static_cast<std::int64_t>(errorTimeout_), &until))
            until = std::numeric_limits<std::int64_t>::max();
        if (time < until)
            return;
    }
    lastErrorCode_ = code;
    lastErrorTime_ = time;
    reportDefaultError(code);
}

CCErr Plugin::setResident(bool lock)
{
    if (lock) {
        if (lockCount_ == 0) {
            if (!sAccess)
                return kCCSuiteNotFoundErr;
            CCAccessRef access = nullptr;
            if (const CCErr err = sAccess->AcquirePlugin(pluginRef_, &access))
                return err;
            access_ = access;
        }
        ++lockCount_;
        return kCCNoErr;
    }
    if (lockCount_ <= 0) {
        lockCount_ = 0;
        return kCCNoErr;
    }
    if (--lockCount_ == 0)
        if (CCAccessRef access = std::exchange(access_, nullptr))
            return releaseAccess(access);
    return kCCNoErr;
}

CCErr Plugin::handleStartup(CCPluginMessage*)
{
    setInstance(this);
    if (const CCErr err = acquireSuites())
        return err;
    if (!sPlugin || !sNotifier)
        return kCCSuiteNotFoundErr;
    if (const CCErr err = sPlugin->SetPluginName(pluginRef_, name_))
        return err;

    char notifierName[kNameCapacity + 32];
    std::snprintf(notifierName, sizeof notifierName, "%s App Started Notifier", name_);
    CCNotifierHandle notifier = nullptr; // not kept: the notification is recognised by its type
    if (const CCErr err = sNotifier->AddNotifier(pluginRef_, notifierName, kCCApplicationStartedNotifier, &notifier))
        return err;

    if (const CCErr err = startupHook())
        return err;
    if (const CCErr err = suitesReadyHook())
        return err;
    return setResident(true);
}

CCErr Plugin::handlePostStartup()
{
    return kCCNoErr;
}

CCErr Plugin::handleShutdown(CCPluginMessage*)
{
    releaseSuites();
    setInstance(nullptr);
    return kCCNoErr;
}

CCErr Plugin::handleUnload(CCPluginMessage* message)
{
    const CCErr hookErr = unloadHook(message);
    setInstance(nullptr);
    const CCErr releaseErr = releaseSuites();
    return hookErr != kCCNoErr ? hookErr : releaseErr;
}

CCErr Plugin::handleReload(CCPluginMessage*)
{
    setInstance(this);
    if (suites_)
        return kCCNoErr;
    if (const CCErr err = acquireSuites())
        return err;
    return suitesReadyHook();
}

CCErr Plugin::handlePropertyAcquire(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handlePropertyRelease(void*) { return kCCUnhandledMsgErr; }

// The buffer holds length + 1 bytes: the copied characters are always followed by a NUL.
void Plugin::copyName(char* buffer, std::size_t length) const
{
    if (!buffer)
        return;
    std::size_t count = strnlen(name_, kNameCapacity);
    if (count > length)
        count = length;
    std::memcpy(buffer, name_, count);
    buffer[count] = '\0';
}

bool Plugin::wantsPurge() { return false; }

CCErr Plugin::dispatchMessage(const char* caller, const char* selector, void* message)
{
    acquireOptionalSuites();
    auto* plain = static_cast<CCPluginMessage*>(message);
    auto* tool = static_cast<CCToolMessage*>(message);

    if (same(caller, kCCAccessCaller)) {
        if (same(selector, kCCUnloadSelector)) return handleUnload(plain);
        if (same(selector, kCCReloadSelector)) return handleReload(plain);
    } else if (same(caller, kCCInterfaceCaller)) {
        // Start-up is served by the entry point before any dispatching.
        if (same(selector, kCCAboutSelector) || same(selector, kCCStartupSelector)) return kCCNoErr;
        if (same(selector, kCCShutdownSelector)) return handleShutdown(plain);
    } else if (same(caller, kCCCacheCaller)) {
        if (same(selector, kCCPurgeSelector)) return wantsPurge() ? kCCWantsPurge : kCCNoErr;
    } else if (same(caller, kCCPropertiesCaller)) {
        if (same(selector, kCCPropertyAcquireSelector)) return handlePropertyAcquire(message);
        if (same(selector, kCCPropertyReleaseSelector)) return handlePropertyRelease(message);
    } else if (same(caller, kCCNotifierCaller)) {
        return dispatchNotifier(*this, selector, static_cast<CCNotifierMessage*>(message));
    } else if (same(caller, kCCActionCaller)) {
        if (same(selector, kCCDoActionSelector)) return handleDoAction(message);
    } else if (same(caller, kCCMenuCaller)) {
        if (same(selector, kCCGoSelector)) return handleMenuGo(message);
        if (same(selector, kCCUpdateSelector)) return handleMenuUpdate(message);
    } else if (same(caller, kCCFilterCaller)) {
        if (same(selector, kCCGetParametersSelector)) return handleFilterParameters(message);
        if (same(selector, kCCGoSelector)) return handleFilterGo(message);
    } else if (same(caller, kCCPluginGroupCaller)) {
        if (same(selector, kCCNotifyEditsSelector)) return handleGroupNotifyEdits(message);
        if (same(selector, kCCUpdateSelector)) return handleGroupUpdate(message);
    } else if (same(caller, kCCFileFormatCaller)) {
        if (same(selector, kCCGetParametersSelector)) return handleFormatParameters(message);
        if (same(selector, kCCGoSelector)) return handleFormatGo(message);
        if (same(selector, kCCCheckSelector)) return handleFormatCheck(message);
        if (same(selector, kCCFormatUpdateSelector)) return handleFormatUpdate(message);
        if (same(selector, kCCDoActionSelector)) return handleFormatAction(message);
    } else if (same(caller, kCCToolCaller)) {
        if (same(selector, kCCEditOptionsSelector)) return handleToolOptions(tool);
        if (same(selector, kCCTrackCursorSelector)) return handleToolTrackCursor(tool);
        if (same(selector, kCCMouseDownSelector)) return handleToolMouseDown(tool);
        if (same(selector, kCCMouseDragSelector)) return handleToolMouseDrag(tool);
        if (same(selector, kCCMouseUpSelector)) return handleToolMouseUp(tool);
        if (same(selector, kCCSelectSelector)) return handleToolSelect(tool);
        if (same(selector, kCCDeselectSelector)) return handleToolDeselect(tool);
        if (same(selector, kCCReselectSelector)) return handleToolReselect(tool);
        if (same(selector, kCCDecreaseDiameterSelector)) return handleToolDecreaseDiameter(tool);
        if (same(selector, kCCIncreaseDiameterSelector)) return handleToolIncreaseDiameter(tool);
    } else if (same(caller, kCCLiveEffectCaller)) {
        if (same(selector, kCCEffectEditParametersSelector)) return handleEffectEditParameters(message);
        if (same(selector, kCCEffectGoLiveSelector)) return handleEffectGoLive(message);
        if (same(selector, kCCEffectInterpolateSelector)) return handleEffectInterpolate(message);
        if (same(selector, kCCEffectInputTypeSelector)) return handleEffectInputType(message);
        if (same(selector, kCCEffectScaleParametersSelector)) return handleEffectScaleParameters(message);
        if (same(selector, kCCEffectConvertColorSpaceSelector)) return handleEffectConvertColorSpace(message);
        if (same(selector, kCCEffectAdjustColorsSelector)) return handleEffectAdjustColors(message);
        if (same(selector, kCCEffectMergeSelector)) return handleEffectMerge(message);
    } else if (same(caller, kCCTimerCaller)) {
        if (same(selector, kCCGoSelector)) return handleTimer(message);
    } else if (same(caller, kCCClipboardCaller)) {
        if (same(selector, kCCGoSelector)) return handleClipboardGo(message);
        if (same(selector, kCCCanCopySelector)) return handleClipboardCanCopy(message);
        if (same(selector, kCCCloneSelector)) return handleClipboardClone(message);
        if (same(selector, kCCDisposeSelector)) return handleClipboardDispose(message);
    } else if (same(caller, kCCWorkspaceCaller)) {
        if (same(selector, kCCWorkspaceWriteSelector)) return handleWorkspaceWrite(message);
        if (same(selector, kCCWorkspaceRestoreSelector)) return handleWorkspaceRestore(message);
        if (same(selector, kCCWorkspaceDefaultSelector)) return handleWorkspaceDefault(message);
    }
    return kCCUnhandledMsgErr;
}

void Plugin::setInstance(Plugin*) {}
CCErr Plugin::startupHook() { return kCCNoErr; }
CCErr Plugin::suitesReadyHook() { return kCCNoErr; }
CCErr Plugin::unloadHook(CCPluginMessage*) { return kCCNoErr; }

void Plugin::acquireOptionalSuites()
{
    if (suites_)
        suites_->acquireOptional();
}

CCErr Plugin::handleNotify(CCNotifierMessage*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleDoAction(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleMenuGo(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleMenuUpdate(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleFilterParameters(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleFilterGo(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleGroupNotifyEdits(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleGroupUpdate(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleFormatParameters(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleFormatGo(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleFormatCheck(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleFormatUpdate(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleFormatAction(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleToolOptions(CCToolMessage*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleToolTrackCursor(CCToolMessage*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleToolMouseDown(CCToolMessage*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleToolMouseDrag(CCToolMessage*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleToolMouseUp(CCToolMessage*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleToolSelect(CCToolMessage*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleToolDeselect(CCToolMessage*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleToolReselect(CCToolMessage*) { return kCCNoErr; }
CCErr Plugin::handleToolDecreaseDiameter(CCToolMessage*) { return kCCNoErr; }
CCErr Plugin::handleToolIncreaseDiameter(CCToolMessage*) { return kCCNoErr; }
CCErr Plugin::handleEffectEditParameters(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleEffectGoLive(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleEffectInterpolate(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleEffectInputType(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleEffectConvertColorSpace(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleEffectScaleParameters(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleEffectAdjustColors(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleEffectMerge(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleTimer(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleClipboardGo(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleClipboardCanCopy(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleClipboardClone(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleClipboardDispose(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleWorkspaceWrite(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleWorkspaceRestore(void*) { return kCCUnhandledMsgErr; }
CCErr Plugin::handleWorkspaceDefault(void*) { return kCCUnhandledMsgErr; }

void Plugin::setClock(Clock clock) noexcept
{
    sClock = clock;
}

std::int64_t Plugin::now() noexcept
{
    return sClock ? sClock() : systemSeconds();
}

void Plugin::setName(const char* name) noexcept
{
    std::snprintf(name_, sizeof name_, "%s", name ? name : "");
}

CCErr Plugin::acquireSuites() noexcept
{
    if (suites_)
        return kCCNoErr;
    std::unique_ptr<SuiteSet> set = SuiteSet::create();
    if (!set)
        return kCCOutOfMemoryErr;
    if (const CCErr err = set->result())
        return err; // a failed set holds nothing
    suites_ = set.release();
    return kCCNoErr;
}

CCErr Plugin::releaseSuites() noexcept
{
    if (!suites_)
        return kCCNoErr;
    const CCErr err = suites_->release();
    delete std::exchange(suites_, nullptr);
    return err;
}

} // namespace curvicraft
