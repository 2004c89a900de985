#include "PluginEntry.h"

#include "AIError.h"
#include "DebugOutput.h"
#include "ErrorReporter.h"
#include "Suites.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace curvicraft {

namespace {

bool same(const char* a, const char* b) noexcept
{
    return a && b && std::strcmp(a, b) == 0;
}

CCErr codeOfCurrentException() noexcept
{
    try {
        throw;
    } catch (const ai::Error& error) {
        return error.code();
    } catch (const std::bad_alloc&) {
        return kCCOutOfMemoryErr;
    } catch (...) {
        return kCCCantErr;
    }
}

// Steps 2 to 6; `plugin` is left naming the object that exists afterwards, if any.
CCErr route(const PluginClass& pluginClass, const char* caller, const char* selector, void* record,
            Plugin*& plugin)
{
    auto* header = static_cast<CCMessageHeader*>(record);
    auto* message = static_cast<CCPluginMessage*>(record);
    plugin = static_cast<Plugin*>(header->globals);

    if (same(caller, kCCInterfaceCaller) && same(selector, kCCStartupSelector)) {
        // A second start-up while an object lives would orphan it; the host never sends one, and the
        // new object replaces the slot's only after the old one is gone.
        if (plugin) {
            delete plugin;
            header->globals = nullptr;
        }
        plugin = pluginClass.create(header->self);
        if (!plugin)
            return kCCOutOfMemoryErr; // reported below through the default reporter, as no object exists
        header->globals = plugin;
        CCErr result;
        try {
            result = plugin->handleStartup(message);
        } catch (...) {
            result = codeOfCurrentException();
        }
        if (result != kCCNoErr) {
            delete plugin;
            header->globals = nullptr;
            plugin = nullptr;
        }
        return result;
    }

    if (same(caller, kCCInterfaceCaller) && same(selector, kCCShutdownSelector)) {
        if (!plugin)
            return kCCNoErr;
        CCErr result;
        try {
            result = plugin->handleShutdown(message);
        } catch (...) {
            result = codeOfCurrentException();
        }
        // The host is done with the object whatever shut-down answered.
        delete plugin;
        header->globals = nullptr;
        plugin = nullptr;
        return result;
    }

    if (!plugin)
        return kCCNoErr;

    if (same(caller, kCCAccessCaller) && same(selector, kCCReloadSelector)) {
        plugin = pluginClass.rebind(header->globals);
        header->globals = plugin;
        return plugin->handleReload(message);
    }

    if (!plugin->holdsSuites())
        return kCCNoErr;
    return plugin->dispatchMessage(caller, selector, record);
}

// The line written to the debugger output for a message nobody handled.
void writeUnhandledMessageLine(const char* caller, const char* selector) noexcept
{
    const char* format = "Warning: Unhandled plugin message: caller \"%s\" selector \"%s\"\n";
    caller = caller ? caller : "";
    selector = selector ? selector : "";
    char line[512];
    const int needed = std::snprintf(line, sizeof line, format, caller, selector);
    if (needed >= 0 && static_cast<std::size_t>(needed) < sizeof line) {
        writeDebugOutput(line);
        return;
    }
    // Unusually long strings: build the line on the heap, or give up quietly without memory.
    const std::size_t size = static_cast<std::size_t>(needed) + 1;
    if (char* longLine = new (std::nothrow) char[size]) {
        std::snprintf(longLine, size, format, caller, selector);
        writeDebugOutput(longLine);
        delete[] longLine;
    }
}

} // namespace

CCErr runPluginEntry(const PluginClass& pluginClass, const char* caller, const char* selector, void* message) noexcept
{
    auto* header = static_cast<CCMessageHeader*>(message);
    if (!header)
        return kCCBadParameterErr;
    sBasic = header->basic;

    Plugin* plugin = nullptr;
    CCErr result;
    try {
        result = route(pluginClass, caller, selector, message, plugin);
    } catch (...) {
        result = codeOfCurrentException();
    }

    if (result == kCCUnhandledMsgErr) {
        writeUnhandledMessageLine(caller, selector);
        return kCCNoErr;
    }
    if (result == kCCNoErr)
        return kCCNoErr;
    try {
        if (plugin)
            plugin->reportError(result, caller, selector, message);
        else
            reportDefaultError(result);
    } catch (...) {
        // Reporting is best effort; the host still gets the code.
    }
    return result;
}

} // namespace curvicraft
