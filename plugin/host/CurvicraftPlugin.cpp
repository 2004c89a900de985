#include "CurvicraftPlugin.h"

#include "Suites.h"

namespace curvicraft {

namespace {

CurvicraftPlugin* sInstance = nullptr;

} // namespace

CurvicraftPlugin::CurvicraftPlugin(CCPluginRef pluginRef) noexcept : Plugin(pluginRef)
{
    setName("Curvicraft");
}

// Fields added here must be restored from `old` as well.
CurvicraftPlugin::CurvicraftPlugin(const RebindSnapshot& old) noexcept : Plugin(old)
{
    old.restore(smartRound_);
    old.restore(parametersShown_);
}

// A failed start-up destroys the object after it was made the instance: leave no dangling pointer.
CurvicraftPlugin::~CurvicraftPlugin()
{
    if (sInstance == this)
        sInstance = nullptr;
}

CurvicraftPlugin* CurvicraftPlugin::instance() noexcept
{
    return sInstance;
}

CCErr CurvicraftPlugin::handleStartup(CCPluginMessage* message)
{
    if (CCErr err = Plugin::handleStartup(message))
        return err;
    if (CCErr err = startupSmartRound())
        return err;
    return kCCNoErr;
}

// Unlock before the suites go: giving the lock back needs the access suite.
CCErr CurvicraftPlugin::handleShutdown(CCPluginMessage*)
{
    setResident(false);
    releaseSuites();
    setInstance(nullptr);
    return kCCNoErr;
}

// The host gets 0 for every dispatched message: what the operations answer is for the plug-in alone.
CCErr CurvicraftPlugin::dispatchMessage(const char* caller, const char* selector, void* message)
{
    Plugin::dispatchMessage(caller, selector, message);
    return kCCNoErr;
}

void CurvicraftPlugin::setInstance(Plugin* plugin)
{
    sInstance = static_cast<CurvicraftPlugin*>(plugin);
}

CCErr CurvicraftPlugin::handlePostStartup() { return Plugin::handlePostStartup(); }
CCErr CurvicraftPlugin::handleNotify(CCNotifierMessage* message) { return Plugin::handleNotify(message); }
CCErr CurvicraftPlugin::handleEffectEditParameters(void* message) { return Plugin::handleEffectEditParameters(message); }
CCErr CurvicraftPlugin::handleEffectGoLive(void* message) { return Plugin::handleEffectGoLive(message); }
CCErr CurvicraftPlugin::handleEffectInterpolate(void* message) { return Plugin::handleEffectInterpolate(message); }
CCErr CurvicraftPlugin::handleEffectInputType(void* message) { return Plugin::handleEffectInputType(message); }
CCErr CurvicraftPlugin::handleEffectMerge(void* message) { return Plugin::handleEffectMerge(message); }
CCErr CurvicraftPlugin::handleToolOptions(CCToolMessage* message) { return Plugin::handleToolOptions(message); }
CCErr CurvicraftPlugin::handleToolTrackCursor(CCToolMessage* message) { return Plugin::handleToolTrackCursor(message); }
CCErr CurvicraftPlugin::handleToolMouseDown(CCToolMessage* message) { return Plugin::handleToolMouseDown(message); }
CCErr CurvicraftPlugin::handleToolMouseDrag(CCToolMessage* message) { return Plugin::handleToolMouseDrag(message); }
CCErr CurvicraftPlugin::handleToolMouseUp(CCToolMessage* message) { return Plugin::handleToolMouseUp(message); }
CCErr CurvicraftPlugin::handleToolSelect(CCToolMessage* message) { return Plugin::handleToolSelect(message); }
CCErr CurvicraftPlugin::handleToolDeselect(CCToolMessage* message) { return Plugin::handleToolDeselect(message); }

} // namespace curvicraft
