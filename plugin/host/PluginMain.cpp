// The plug-in's only exported symbol: every host message enters here.
#include "host/CurvicraftPlugin.h"
#include "host/PluginEntry.h"

extern "C" __attribute__((visibility("default"))) CCErr PluginMain(const char* caller, const char* selector,
                                                                   void* message)
{
    static constexpr curvicraft::PluginClass pluginClass = curvicraft::pluginClassOf<curvicraft::CurvicraftPlugin>();
    return curvicraft::runPluginEntry(pluginClass, caller, selector, message);
}
