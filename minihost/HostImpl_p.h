// The host's private state, shared by Host.cpp, the loader and the suite implementations.
#pragma once

#include "Host.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace minihost {

// The fixed word the host writes into every message header.
inline constexpr std::uint32_t kMessageCheckWord = 0x43434d48; // 'CCMH'

struct Host::Impl {
    HostOptions options;
    std::function<void(const std::string&)> sink;
    std::unique_ptr<Document> document;

    // ---- suite registry: exact name and version ----
    struct SuiteRecord {
        std::string name;
        int version = 0;
        const void* table = nullptr;
        int acquired = 0;
    };
    std::vector<SuiteRecord> suites;
    std::map<std::string, CCErr> refusedSuites; // failAcquisitionOf
    CCBasicSuite basic{};
    SuiteRecord* findSuite(const char* name, int version);

    // ---- the plug-in ----
    struct Plugin {
        std::filesystem::path propertyList;
        std::filesystem::path libraryPath;
        std::string entryName;
        std::string listedName; // the name of the property list
        std::string name;       // as set through the plug-in suite
        std::int32_t options = 0;
        void* library = nullptr;
        CCPluginMainProc entry = nullptr;
        void* globals = nullptr;
        bool found = false;    // a property list was chosen
        bool running = false;  // between a successful Startup and Shutdown
        bool unloaded = false; // between Unload and Reload
    } plugin;
    char pluginTag = 0; // its address is the plug-in reference
    CCPluginRef pluginRef() { return reinterpret_cast<CCPluginRef>(&pluginTag); }
    bool isPlugin(CCPluginRef ref) { return ref != nullptr && ref == pluginRef() && plugin.found; }

    // Handle values of access references, notifiers, contexts and memory handles; never reused.
    std::uintptr_t nextHandle = 0x10000;
    std::uintptr_t newHandle() { return nextHandle += 16; }

    std::vector<std::uintptr_t> accessRefs;

    struct Notifier {
        std::uintptr_t handle = 0;
        std::string name;
        std::string type;
        bool active = true;
    };
    std::vector<Notifier> notifiers;
    Notifier* findNotifier(CCNotifierHandle h);

    std::vector<std::uintptr_t> contexts; // pushed, innermost last

    struct Block {
        std::string debugName;
        std::size_t size = 0;
        std::uint64_t order = 0; // allocation order, for stable reports
    };
    std::unordered_map<void*, Block> blocks;
    std::uint64_t blockCounter = 0;

    struct Memory {
        void* data = nullptr;
        std::size_t size = 0;
    };
    std::unordered_map<std::uintptr_t, Memory> memory;

    // Delivers a message with the header filled in; see Host::send.
    CCErr deliver(const char* caller, const char* selector, void* message);
};

// The Impl of the current host, or null when no host exists.
Host::Impl* currentImpl();

// Everything a suite needs to act on the current document; null when there is no host or document.
Document* currentDocument();

} // namespace minihost
