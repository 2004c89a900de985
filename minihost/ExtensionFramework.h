// The host's extension framework: it runs the panels (extensions) by id, keeps the listeners the plug-in
// registers by event type, and carries events both ways through the substitute event library, which it
// loads from the host's application folder and attaches itself to.
//
// The panels are simulated: loading one shows an "extension load ID" line and, unless turned off, the
// panel answers "..._PanelReady" once the message that loaded it has returned, as a page does once it has
// loaded. Every event the plug-in dispatches is shown as "panel-event TYPE COMMAND PAYLOAD".
#pragma once

#include "cc_panel_events.h"
#include "cc_types.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

namespace minihost {

class Host;

class ExtensionFramework {
  public:
    // An event the plug-in dispatched.
    struct Event {
        std::string type, command, payload;
    };

    explicit ExtensionFramework(Host& host);
    ~ExtensionFramework(); // detaches from the library and closes it
    ExtensionFramework(const ExtensionFramework&) = delete;
    ExtensionFramework& operator=(const ExtensionFramework&) = delete;

    // Opens the event library in `folder` under `fileName` and attaches to it; false when it is missing.
    bool openLibrary(const std::filesystem::path& folder, const char* fileName);
    bool libraryOpen() const { return library_ != nullptr; }

    // kCCExtensionLoaded while the extension runs, kCCExtensionUnloaded after it ran, else kCCExtensionUnknown.
    std::int32_t state(const std::string& id) const;
    // Whether a panel answers PanelReady by itself when it is loaded (on by default).
    void setAutoReady(bool on) { autoReady_ = on; }
    // Test hook: every later load answers this code and starts nothing (0 restores normal loads).
    void failLoadsWith(std::int32_t code) { loadFailure_ = code; }

    // A panel raises an event: every listener of that type is called, inside one host message.
    // kCCCantErr when nobody listens to the type.
    CCErr raise(const std::string& type, const std::string& payload);
    std::size_t listenerCount(const std::string& type) const;

    const std::vector<Event>& dispatched() const { return dispatched_; }
    void clearDispatched() { dispatched_.clear(); }

    // Called by the host after each top-level message: events the panels raised meanwhile.
    void deliverPending();

    // The framework's side of the library's entries.
    std::int32_t load(const char* id);
    std::int32_t unload(const char* id);
    std::int32_t addListener(const char* type, CCPanelEventListener listener, void* userData);
    std::int32_t removeListener(const char* type, CCPanelEventListener listener, void* userData);
    std::int32_t dispatch(const CCPanelEvent* event);

  private:
    struct Listener {
        std::string type;
        CCPanelEventListener callback;
        void* userData;
    };
    struct Extension {
        std::string id;
        bool loaded = false;
    };
    Host& host_;
    void* library_ = nullptr;
    bool autoReady_ = true;
    std::int32_t loadFailure_ = 0;
    std::vector<Extension> extensions_;
    std::vector<Listener> listeners_;
    std::vector<Event> dispatched_;
    std::deque<std::pair<std::string, std::string>> pending_; // type and payload
    bool delivering_ = false;
    void callListeners(const std::string& type, const std::string& payload);
};

} // namespace minihost
