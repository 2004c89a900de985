// The host's private state, shared by Host.cpp, the loader and the suite implementations.
#pragma once

#include "Host.h"
#include "UndoJournal.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
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
    // The plug-in is started, not unloaded, and its code is present: the host may call on it.
    bool pluginServing() const { return plugin.entry && plugin.running && !plugin.unloaded; }

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

    // ---- tools ----
    struct Tool {
        std::uintptr_t handle = 0;
        std::int32_t number = 0;
        std::string name, title, tooltip;
        std::int32_t iconId = 0, darkIconId = 0;
        std::int32_t group = 0, toolset = 0; // tool numbers of the group's and the toolset's first tool
        std::int32_t options = 0;
    };
    std::deque<Tool> tools; // a deque keeps the title texts in place while tools are added
    std::uintptr_t selectedTool = 0;
    Tool* findTool(CCToolHandle h);
    Tool* findToolNumber(std::int32_t number);

    // ---- undo: one journal on the current document ----
    std::uint64_t documentSerial = 0; // counts document changes; the view and the journal follow it
    std::unique_ptr<UndoJournal> journal;
    UndoJournal* currentJournal(); // made on first use; null without a document
    void dropJournal();            // before the document it observes goes away
    bool pressing = false;         // between "AI Mouse Down" and "AI Mouse Up"
    int topLevel = 0;              // messages being delivered from outside the plug-in
    // Delivers a message from outside the plug-in inside its undo transaction (the press's, or one of
    // its own), then redraws when it was a tool event or a redraw was asked for. Nested messages (sent
    // while the plug-in handles one) are delivered plainly.
    CCErr runTopLevel(const char* caller, const char* selector, const std::function<CCErr()>& body);

    // ---- the document view ----
    double zoom = 1;
    bool viewSet = false; // false: the view shows the document's top-left corner
    CCRealPoint viewOrigin{0, 0}; // document point at the view's top left
    std::uint64_t viewSerial = 0;
    void syncView(); // a view follows its document: a new document starts at zoom 1, top-left
    double hitTolerance = 4; // view pixels

    // ---- annotators and the drawings they make ----
    struct Annotator {
        std::uintptr_t handle = 0;
        std::string name;
        bool active = true;
    };
    std::vector<Annotator> annotators;
    Annotator* findAnnotator(CCAnnotatorHandle h);
    bool redrawPending = false;
    bool invalidating = false; // an "AI Invalidate" is being delivered
    std::vector<CCRect32> invalidRects; // the latest ones, up to kKeptInvalidations
    static constexpr std::size_t kKeptInvalidations = 1024;
    std::vector<Host::DrawOp> drawing; // what the last redraw drew
    int drawerTag = 0;                 // its address is the drawer of an "AI Draw" message
    bool drawerLive = false;           // an "AI Draw" is being delivered
    std::string lastLabel; // the last label line shown during the current press
    void redraw();

    // Forgets what the plug-in registered (tools, annotators, notifiers) when it stops.
    void dropRegistrations();

    // Delivers a message with the header filled in; see Host::send.
    CCErr deliver(const char* caller, const char* selector, void* message);

    // ---- the extension framework ----
    std::unique_ptr<ExtensionFramework> extensions;
};

// The Impl of the current host, or null when no host exists.
Host::Impl* currentImpl();

// Everything a suite needs to act on the current document; null when there is no host or document.
Document* currentDocument();

} // namespace minihost
