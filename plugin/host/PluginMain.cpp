// Placeholder entry point; replaced by the routing of the plug-in host layer.
#include "cc_messages.h"

extern "C" __attribute__((visibility("default"))) CCErr PluginMain(const char*, const char*, void*)
{
    return 0;
}
