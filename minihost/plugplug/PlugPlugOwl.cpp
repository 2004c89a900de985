// The substitute extension event library. The plug-in loads it from the host's application folder and
// calls its five entries; the host's extension framework attaches itself to the same loaded library and
// receives every call. The partial build leaves out the remove-listener entry, as a damaged install would.
#include "cc_panel_events.h"

#define PLUGPLUG_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

const CCPanelFramework* gFramework = nullptr;

constexpr int32_t kNoFramework = 1;

} // namespace

PLUGPLUG_EXPORT void PlugPlugAttachFramework(const CCPanelFramework* framework)
{
    gFramework = framework;
}

PLUGPLUG_EXPORT int32_t PlugPlugLoadExtension(const char* extensionId)
{
    return gFramework ? gFramework->loadExtension(extensionId) : kNoFramework;
}

PLUGPLUG_EXPORT int32_t PlugPlugUnloadExtension(const char* extensionId)
{
    return gFramework ? gFramework->unloadExtension(extensionId) : kNoFramework;
}

PLUGPLUG_EXPORT int32_t PlugPlugAddEventListener(const char* type, CCPanelEventListener listener, void* userData)
{
    return gFramework ? gFramework->addEventListener(type, listener, userData) : kNoFramework;
}

#ifndef CURVICRAFT_PLUGPLUG_PARTIAL
PLUGPLUG_EXPORT int32_t PlugPlugRemoveEventListener(const char* type, CCPanelEventListener listener, void* userData)
{
    return gFramework ? gFramework->removeEventListener(type, listener, userData) : kNoFramework;
}
#endif

PLUGPLUG_EXPORT int32_t PlugPlugDispatchEvent(const CCPanelEvent* event)
{
    return gFramework ? gFramework->dispatchEvent(event) : kNoFramework;
}
