// The minimal host: it owns the document, offers the suites by name and version, finds and loads the
// plug-in from a plug-ins folder, and delivers messages through PluginMain as the real host would.
//
// Suites are plain C tables without a context argument, so they act on the process's current host:
// at most one Host exists at a time (constructing a second one while another lives is an error).
#pragma once

#include "Document.h"
#include "cc_messages.h"
#include "cc_suites.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace minihost {

struct HostOptions {
    std::filesystem::path pluginsDir = CURVICRAFT_DEFAULT_PLUGINS_DIR; // searched for property lists
    std::filesystem::path appDir = CURVICRAFT_DEFAULT_APP_DIR;         // the host's application folder
    std::filesystem::path preferencesFile;                              // empty: no persistence
};

// A block of host block memory the plug-in still holds.
struct HeldBlock {
    std::string debugName;
    std::size_t size = 0;
};

class Host {
public:
    explicit Host(HostOptions options = {});
    ~Host(); // shuts the plug-in down when it still runs, unloads it, reports blocks still held
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    static Host* current();

    // ---- what the host shows: one line each ("debug TEXT", "alert TEXT", ...) ----
    // Without a sink, lines go to standard output.
    void setOutput(std::function<void(const std::string& line)> sink);
    void emit(const std::string& kind, const std::string& text); // line breaks in text written as \n

    // ---- the document ----
    Document& document(); // without a document, opens a new empty one with one layer
    bool hasDocument() const;
    void setDocument(std::unique_ptr<Document> doc); // null closes the document
    std::unique_ptr<Document> takeDocument();

    // ---- suites ----
    const CCBasicSuite* basicSuite() const;
    void addSuite(const char* name, int version, const void* table);
    int acquisitions(const std::string& name) const; // outstanding acquisitions of a suite
    void failAcquisitionOf(const std::string& name, CCErr code); // test hook: refuse one suite

    // ---- the plug-in ----
    // Finds the plug-in named by a property list under pluginsDir and loads its library.
    CCErr loadPlugin(const std::string& name = "Curvicraft");
    bool pluginLoaded() const;
    // Delivers a message: fills the header (plug-in reference, globals slot, basic suite), calls
    // PluginMain and keeps the globals slot the plug-in leaves in the record.
    CCErr send(const char* caller, const char* selector, void* message);
    CCErr send(const char* caller, const char* selector); // with a plain CCPluginMessage
    CCErr startup();  // "SP Interface" / "Startup"
    CCErr shutdown(); // "SP Interface" / "Shutdown"
    // "SP Access" / "Unload"; with closeLibrary the library is unloaded from the process as well.
    CCErr unload(bool closeLibrary);
    // Loads the library again when it was closed, then "SP Access" / "Reload".
    CCErr reload();
    void* pluginGlobals() const;      // the globals slot the host keeps for the plug-in
    CCPluginRef pluginRef() const;
    int accessLocks() const;          // outstanding access references of the plug-in
    std::string pluginName() const;   // as given to the host by the plug-in suite
    std::int32_t pluginOptions() const;

    // ---- services ----
    // Broadcasts a notifier type to every active notifier registered for it.
    CCErr notify(const char* type, void* data);
    std::vector<HeldBlock> heldBlocks() const;
    int contextDepth() const; // pushed application contexts not yet popped

    struct Impl;
    Impl& impl() { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace minihost
