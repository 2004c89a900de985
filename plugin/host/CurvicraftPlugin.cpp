#include "CurvicraftPlugin.h"

#include "Suites.h"
#include "settings/Defaults.h"
#include "tools/framework/CurvicraftGlobals.h"
#include "tools/framework/CursorLabel.h"
#include "tools/framework/InternalNotifierData.h"
#include "tools/framework/ToolCtrlr.h"
#include "tools/framework/ToolCursor.h"
#include "tools/framework/ToolDispatch.h"
#include "tools/framework/ToolTable.h"

#include <cstring>

namespace curvicraft {

namespace {

CurvicraftPlugin* sInstance = nullptr;

constexpr const char* kNotifierName = "Orvo_Curvicraft_Plugin";
constexpr const char* kAnnotatorName = "Curvicraft Annotator";
constexpr std::int32_t kToolOptions = 1;
constexpr CCErr kNotifyFailedErr = CC_FOURCC('E', 'P', 'N', ' ');

bool same(const char* a, const char* b) noexcept
{
    return a && b && std::strcmp(a, b) == 0;
}

// The host's application context around drawing, popped on every way out.
class AppContextScope {
public:
    explicit AppContextScope(CCPluginRef plugin) noexcept
    {
        result_ = sContext ? sContext->PushAppContext(plugin, &context_) : kCCSuiteNotFoundErr;
    }
    ~AppContextScope()
    {
        if (result_ == kCCNoErr)
            sContext->PopAppContext(context_);
    }
    AppContextScope(const AppContextScope&) = delete;
    AppContextScope& operator=(const AppContextScope&) = delete;

    CCErr result() const noexcept { return result_; }

private:
    CCAppContext context_ = nullptr;
    CCErr result_;
};

bool isEmpty(const CCRect32& r) noexcept
{
    return r.right <= r.left || r.bottom <= r.top;
}

} // namespace

CurvicraftPlugin::CurvicraftPlugin(CCPluginRef pluginRef) noexcept : Plugin(pluginRef)
{
    setName("Curvicraft");
}

// Fields added here must be restored from `old` as well. The process-wide pointer to the globals
// record starts null in a freshly loaded library, so it is set again from the record this object keeps.
CurvicraftPlugin::CurvicraftPlugin(const RebindSnapshot& old) noexcept : Plugin(old)
{
    old.restore(globals_);
    old.restore(labelPoint_);
    old.restore(labelRect_);
    old.restore(appStartedNotifier_);
    old.restore(unitsNotifier_);
    old.restore(documentOpenedNotifier_);
    old.restore(internalNotifier_);
    old.restore(panelSetupNotifier_);
    old.restore(invalidating_);
    old.restore(smartRound_);
    old.restore(parametersShown_);
    old.restore(toolBridge_);
    old.restore(modalBridge_);
    old.restore(utilsBridge_);
    old.restore(panelsSuspended_);
    old.restore(panelListening_);
    old.restore(lateSuitesHeld_);
    old.restore(lateSuitesAfterReload_);
    setGlobals(globals_);
}

// A failed start-up destroys the object after it was made the instance: leave no dangling pointer,
// and give back the globals record that shut-down would have freed.
CurvicraftPlugin::~CurvicraftPlugin()
{
    destroyPanelBridges();
    releaseGlobals();
    if (sInstance == this)
        sInstance = nullptr;
}

CurvicraftPlugin* CurvicraftPlugin::instance() noexcept
{
    return sInstance;
}

CCErr CurvicraftPlugin::handleStartup(CCPluginMessage* message)
{
    if (const CCErr err = Plugin::handleStartup(message))
        return err;

    if (const CCErr err = allocateGlobals(&globals_))
        return err;
    setGlobals(globals_);
    globals_->mirrorState = 0;
    globals_->cursorResources = nullptr;
    globals_->timer = nullptr;

    if (const CCErr err = startupSmartRound())
        return err;
    if (const CCErr err = addTools())
        return err;
    if (const CCErr err = addAnnotator())
        return err;
    if (const CCErr err = createPanelBridges())
        return err;
    if (const CCErr err = addNotifiers())
        return err;
    return setDefaults(*globals_);
}

// Every tool of the table in slot order. The first tool opens the palette group and its toolset; the
// first tool of each later toolset opens a toolset in that group.
CCErr CurvicraftPlugin::addTools()
{
    if (!sTool)
        return kCCSuiteNotFoundErr;
    std::int32_t groupNumber = kCCNewToolGroup;
    std::int32_t toolsetNumber = kCCNewToolGroup;
    for (int slot = 0; slot < kToolSlotCount; ++slot) {
        if (!isToolSlot(slot))
            continue;
        const ToolTableEntry& entry = *toolTableEntry(slot);
        const bool leadsToolset = toolsetLeader(slot) == slot;
        CCAddToolData data{};
        data.title = entry.title;
        data.tooltip = entry.title;
        data.iconId = entry.iconId;
        data.darkIconId = entry.darkIconId;
        data.sameGroupAs = groupNumber;
        data.sameToolsetAs = leadsToolset ? kCCNewToolGroup : toolsetNumber;

        CCToolHandle tool = nullptr;
        if (const CCErr err = sTool->AddTool(pluginRef(), entry.title, &data, kToolOptions, &tool))
            return err;
        globals_->toolHandles[slot] = tool;

        if (leadsToolset) {
            std::int32_t number = 0;
            if (const CCErr err = sTool->GetToolNumberFromHandle(tool, &number))
                return err;
            toolsetNumber = number;
            if (slot == kSegmentDirectEditSlot)
                groupNumber = number;
        }
    }
    return kCCNoErr;
}

CCErr CurvicraftPlugin::addAnnotator()
{
    if (!sAnnotator)
        return kCCSuiteNotFoundErr;
    if (const CCErr err = sAnnotator->AddAnnotator(pluginRef(), kAnnotatorName, &globals_->annotatorHandle))
        return err;
    return sAnnotator->SetAnnotatorActive(globals_->annotatorHandle, 0);
}

// The plug-in's notifiers in their registration order: application started, ruler units, art selection
// (inactive until a drawing tool is selected), the internal notices, and the panels' set-up.
CCErr CurvicraftPlugin::addNotifiers()
{
    if (!sNotifier)
        return kCCSuiteNotFoundErr;
    if (const CCErr err =
            sNotifier->AddNotifier(pluginRef(), kNotifierName, kCCApplicationStartedNotifier, &appStartedNotifier_))
        return err;
    if (const CCErr err = addPanelNotifiers())
        return err;
    if (const CCErr err = sNotifier->AddNotifier(pluginRef(), kNotifierName, kInternalNotifierType, &internalNotifier_))
        return err;
    return addPanelSetupNotifier();
}

void CurvicraftPlugin::releaseGlobals() noexcept
{
    if (!globals_)
        return;
    if (globals_->cursorResources && sUser)
        sUser->DisposeCursorResourceMgr(globals_->cursorResources);
    globals_->cursorResources = nullptr;
    freeGlobals(globals_);
    if (globals() == globals_)
        setGlobals(nullptr);
    globals_ = nullptr;
}

CCErr CurvicraftPlugin::handlePostStartup()
{
    if (globals_ && !globals_->cursorResources && sUser)
        if (const CCErr err = sUser->CreateCursorResourceMgr(pluginRef(), &globals_->cursorResources))
            return err;
    if (const CCErr err = Plugin::handlePostStartup())
        return err;
    return acquireLateSuites();
}

// Unlock before the suites go: giving the lock back needs the access suite.
CCErr CurvicraftPlugin::handleShutdown(CCPluginMessage*)
{
    shutdownPanels();
    releaseGlobals();
    setResident(false);
    releaseLateSuites();
    releaseSuites();
    setInstance(nullptr);
    return kCCNoErr;
}

// The host gets 0 for every dispatched message: what the operations answer is for the plug-in alone.
CCErr CurvicraftPlugin::dispatchMessage(const char* caller, const char* selector, void* message)
{
    Plugin::dispatchMessage(caller, selector, message);
    if (same(caller, kCCAnnotationCaller))
        dispatchAnnotation(selector, static_cast<CCAnnotatorMessage*>(message));
    return kCCNoErr;
}

CCErr CurvicraftPlugin::dispatchAnnotation(const char* selector, CCAnnotatorMessage* message)
{
    if (same(selector, kCCDrawSelector)) {
        AppContextScope context(pluginRef());
        if (context.result() != kCCNoErr)
            return context.result();
        return drawLabel(message);
    }
    if (same(selector, kCCInvalidateSelector))
        invalidateLabel();
    return kCCNoErr;
}

CCErr CurvicraftPlugin::drawLabel(CCAnnotatorMessage* message)
{
    if (!message || !globals_ || !globals_->labelActive)
        return kCCNoErr;
    std::unique_ptr<ToolCtrlr> ctrlr = createToolCtrlr(globals_->panelToolIndex);
    if (!ctrlr)
        return kCCNoErr;
    return cursorLabel(message->drawer, *ctrlr, labelPoint_, &labelRect_);
}

void CurvicraftPlugin::setLabelShown(bool shown)
{
    if (globals_ && globals_->annotatorHandle && sAnnotator)
        sAnnotator->SetAnnotatorActive(globals_->annotatorHandle, shown ? 1 : 0);
}

// The host may answer an invalidation with "AI Invalidate"; the guard keeps that from recursing.
void CurvicraftPlugin::invalidateLabel()
{
    if (invalidating_ || isEmpty(labelRect_) || !sAnnotator)
        return;
    invalidating_ = 1;
    sAnnotator->InvalAnnotationRect(&labelRect_);
    invalidating_ = 0;
}

void CurvicraftPlugin::setInstance(Plugin* plugin)
{
    sInstance = static_cast<CurvicraftPlugin*>(plugin);
}

CCErr CurvicraftPlugin::handleNotify(CCNotifierMessage* message)
{
    if (!message)
        return kCCNoErr;
    try {
        if (isPanelNotifier(message->notifier))
            return notifyPanels(message);
        if (internalNotifier_ && message->notifier == internalNotifier_)
            return dispatchInternalNotice(static_cast<const InternalNotifierData*>(message->notifyData));
        return Plugin::handleNotify(message);
    } catch (...) {
        return kNotifyFailedErr;
    }
}

// The plug-in's notices to itself, by command text; texts it does not know are ignored.
CCErr CurvicraftPlugin::dispatchInternalNotice(const InternalNotifierData* data)
{
    if (!data || !std::memchr(data->command, '\0', sizeof data->command))
        return kCCNoErr;
    if (same(data->command, kToolSendDataCommand))
        sendToolParams();
    return kCCNoErr;
}

// ---- tool events --------------------------------------------------------------------------------

CCErr CurvicraftPlugin::handleToolSelect(CCToolMessage* message)
{
    const int slot = toolSelectIndex(message);
    if (slot != kNoToolSlot)
        showToolPanel(slot);
    return kCCNoErr;
}

CCErr CurvicraftPlugin::handleToolDeselect(CCToolMessage* message)
{
    if (!globals_ || !message)
        return kCCNoErr;
    if (globals_->labelActive) {
        setLabelShown(false);
        globals_->labelActive = 0;
    }
    const int slot = toolSlotOfHandle(message->tool);
    if (slot >= kMultiLineSlot && slot <= kMultiCurveSlot && globals_->selectionNotifier)
        sNotifier->SetNotifierActive(globals_->selectionNotifier, 0);
    closeToolPanel();
    return kCCNoErr;
}

CCErr CurvicraftPlugin::handleToolOptions(CCToolMessage* message)
{
    handleToolDeselect(message);
    return handleToolSelect(message);
}

CCErr CurvicraftPlugin::handleToolTrackCursor(CCToolMessage* message)
{
    return updateToolCursor(message);
}

CCErr CurvicraftPlugin::handleToolMouseDown(CCToolMessage* message)
{
    if (!globals_ || !message)
        return kCCNoErr;
    globals_->labelActive = 0;
    const CCErr err = toolMouseDownDispatch(message);
    if (err == kCCNoErr && globals_->labelActive) {
        // The label's first drawing follows this press, not where the last one ended.
        labelPoint_ = message->cursor;
        setLabelShown(true);
    }
    return err;
}

CCErr CurvicraftPlugin::handleToolMouseDrag(CCToolMessage* message)
{
    if (!globals_ || !message)
        return kCCNoErr;
    if (globals_->labelActive) {
        labelPoint_ = message->cursor;
        invalidateLabel();
    }
    return toolDragDispatch(message);
}

CCErr CurvicraftPlugin::handleToolMouseUp(CCToolMessage* message)
{
    if (!globals_ || !message)
        return kCCNoErr;
    invalidateLabel();
    labelRect_ = CCRect32{};
    if (globals_->labelActive) {
        setLabelShown(false);
        globals_->labelActive = 0;
    }
    return toolMouseUpDispatch(message);
}

CCErr CurvicraftPlugin::handleEffectEditParameters(void* message) { return Plugin::handleEffectEditParameters(message); }
CCErr CurvicraftPlugin::handleEffectGoLive(void* message) { return Plugin::handleEffectGoLive(message); }
CCErr CurvicraftPlugin::handleEffectInterpolate(void* message) { return Plugin::handleEffectInterpolate(message); }
CCErr CurvicraftPlugin::handleEffectInputType(void* message) { return Plugin::handleEffectInputType(message); }
CCErr CurvicraftPlugin::handleEffectMerge(void* message) { return Plugin::handleEffectMerge(message); }

} // namespace curvicraft
