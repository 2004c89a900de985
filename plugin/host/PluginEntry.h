// The entry algorithm behind PluginMain: creation at start-up, destruction at shut-down, the empty
// globals slot, re-binding at reload, dispatching, and the handling of the final result.
//
// It is written for any class derived from Plugin so that the same steps serve the plug-in's own
// class and the classes tests derive.
#pragma once

#include "Plugin.h"

namespace curvicraft {

struct PluginClass {
    // A new object for the plug-in reference, or null without memory. Plugin must sit at the start
    // of the object (single inheritance), so that the globals slot addresses the whole object.
    Plugin* (*create)(CCPluginRef pluginRef) noexcept;
    // Re-creates the object at that address with the code now loaded (see RebindSnapshot.h).
    Plugin* (*rebind)(void* storage) noexcept;
};

// Handles one host message. Never throws: an exception from an operation becomes its code
// (ai::Error), '!MEM' (no memory) or 'CANT' (anything else).
CCErr runPluginEntry(const PluginClass& pluginClass, const char* caller, const char* selector, void* message) noexcept;

template <class P>
constexpr PluginClass pluginClassOf() noexcept
{
    return PluginClass{
        [](CCPluginRef pluginRef) noexcept -> Plugin* { return new (std::nothrow) P(pluginRef); },
        [](void* storage) noexcept -> Plugin* { return rebindInPlace<P>(storage); },
    };
}

} // namespace curvicraft
