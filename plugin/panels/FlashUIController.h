// The base of the three panel bridges. Each bridge loads the host's extension event library for itself
// and talks to its panel through the library's five entries: start and stop the extension, listen to the
// events the panel raises, raise events with XML payloads for the panel. Without the library (or with
// one that lacks an entry) the entries stay null and every operation through them is skipped.
#pragma once

#include "cc_panel_events.h"
#include "cc_types.h"
#include "panels/PlatformModule.h"

#include <cstddef>
#include <string>

namespace curvicraft {

class FlashUIController {
  public:
    FlashUIController(const FlashUIController&) = delete;
    FlashUIController& operator=(const FlashUIController&) = delete;

    virtual ~FlashUIController();    // frees the library
    virtual CCErr loadExtension();   // 0 when the entry is absent
    virtual CCErr unloadExtension(); // 0 when the entry is absent
    virtual CCErr registerListeners() = 0;
    virtual CCErr unregisterListeners() = 0;
    virtual CCErr sendParams() = 0; // the current params payload
    virtual void idle() = 0;        // nothing to do in the three bridges

    const char* extensionId() const noexcept { return extensionId_; }
    bool libraryLoaded() const noexcept { return library_ != nullptr; }
    // Which of the five entries resolved, in the order they are resolved (for diagnostics and tests).
    int resolvedEntries() const noexcept;

    friend CCErr loadPanelLibrary(FlashUIController& bridge);

  protected:
    explicit FlashUIController(const char* extensionId) noexcept;

    // Raises an event for the panel. 1 when the library is absent; otherwise the dispatch entry's answer.
    CCErr dispatchPanelEvent(const char* type, const char* command, const std::string& payload) const;
    // The extension's state as the host reports it; false when the host cannot tell.
    bool extensionState(std::int32_t& state) const noexcept;
    bool extensionLoaded() const noexcept;
    // One listener per event type, in order, stopping at the first failure (1 without the entry).
    CCErr addListeners(const char* const* types, std::size_t count, CCPanelEventListener listener);
    CCErr removeListeners(const char* const* types, std::size_t count, CCPanelEventListener listener);

  private:
    static constexpr std::size_t kExtensionIdCapacity = 32;

    ModuleHandle library_ = nullptr;
    CCPlugPlugLoadExtensionProc load_ = nullptr;
    CCPlugPlugUnloadExtensionProc unload_ = nullptr;
    CCPlugPlugAddEventListenerProc addListener_ = nullptr;
    CCPlugPlugRemoveEventListenerProc removeListener_ = nullptr;
    CCPlugPlugDispatchEventProc dispatch_ = nullptr;
    char extensionId_[kExtensionIdCapacity] = {};
};

// Loads "PlugPlugOwl.dll" from the host's application folder (found through the folders and file-path
// suites) and resolves the five entries in order, stopping at the first that is missing. 0 when all five
// resolved; 'CANT' when the file is missing, the library does not load or an entry is missing (entries
// resolved before it stay set); the host's code when the folder cannot be found or the path built.
CCErr loadPanelLibrary(FlashUIController& bridge);

// The common text of the payloads: <payload><INDEX_TAG>N</INDEX_TAG><contents>CONTENTS</contents>.
std::string payloadHead(const char* indexTag, int index, const char* contents);

} // namespace curvicraft
