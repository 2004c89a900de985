// The minimal host: it owns the document, offers the suites by name and version, finds and loads the
// plug-in from a plug-ins folder, and delivers messages through PluginMain as the real host would.
//
// Suites are plain C tables without a context argument, so they act on the process's current host:
// at most one Host exists at a time (constructing a second one while another lives is an error).
#pragma once

#include "Document.h"
#include "ExtensionFramework.h"
#include "UndoJournal.h"
#include "cc_messages.h"
#include "cc_suites.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace minihost {

// Which extension event library the host's application folder holds.
enum class PanelLibrary {
    Installed,  // the full library, in appDir
    Absent,     // none: the application folder is an empty one
    LacksEntry, // a library without "PlugPlugRemoveEventListener"
};

struct HostOptions {
    std::filesystem::path pluginsDir = CURVICRAFT_DEFAULT_PLUGINS_DIR; // searched for property lists
    std::filesystem::path appDir = CURVICRAFT_DEFAULT_APP_DIR;         // the host's application folder
    std::filesystem::path preferencesFile;                              // empty: no persistence
    PanelLibrary panelLibrary = PanelLibrary::Installed;
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

    // ---- tools ----
    struct ToolInfo {
        CCToolHandle handle = nullptr;
        std::int32_t number = 0;
        std::string name, title, tooltip;
        std::int32_t iconId = 0, darkIconId = 0;
        std::int32_t group = 0, toolset = 0; // tool numbers of the first tool of its group and its toolset
        std::int32_t options = 0;
    };
    std::vector<ToolInfo> tools() const; // in the order they were added
    CCToolHandle findTool(const std::string& title) const; // null when no tool has that title
    CCToolHandle selectedTool() const;
    // Selects a tool as a user does: "AI Tool" / "AI Deselect" to the tool selected before, then
    // "AI Select" to this one. kCCStaleHandleErr for a handle the host does not know.
    CCErr selectTool(CCToolHandle tool);
    // Tool events for the selected tool: cursor in document coordinates, modifiers kCCEventModifier*.
    // A press runs from mouseDown to mouseUp in one undo transaction; after each event the annotators
    // draw. kCCCantErr without a selected tool, or for a drag or release outside a press.
    CCErr mouseDown(CCRealPoint cursor, std::int32_t modifiers = 0);
    CCErr mouseDrag(CCRealPoint cursor, std::int32_t modifiers = 0);
    CCErr mouseUp(CCRealPoint cursor, std::int32_t modifiers = 0);
    CCErr trackCursor(CCRealPoint cursor, std::int32_t modifiers = 0);
    bool pressing() const;

    // ---- undo ----
    // Every top-level message (send, notify) runs in an undo transaction of the current document: a press
    // in one from "AI Mouse Down" to "AI Mouse Up", every other message in its own. Empty ones leave no
    // history. Edit > Undo and Redo step through that history; false when there is nothing to step to.
    bool undo();
    bool redo();
    UndoJournal* journal(); // the current document's, null without a document

    // ---- the document view ----
    double zoom() const;
    CCErr setZoom(double zoom); // kCCBadParameterErr outside [kMinZoom, kMaxZoom]; the top-left stays
    static constexpr double kMinZoom = 0.01, kMaxZoom = 640;
    CCRealPoint viewOrigin() const; // the document point at the view's top left
    void setViewOrigin(CCRealPoint topLeft);
    // View coordinates: pixels, y down, ((x - left) * zoom, (top - y) * zoom), rounded.
    CCErr viewPoint(CCRealPoint artwork, CCPoint32& view) const;
    CCRealPoint artworkPoint(CCPoint32 view) const;

    // ---- annotations ----
    // One drawing operation an annotator made through the drawer, in view coordinates.
    struct DrawOp {
        enum Kind { Color, Line, Rect, Text, Point } kind = Color;
        std::vector<std::int32_t> values; // color r g b; line x0 y0 x1 y1; rect l t r b fill; text x y; point x y size
        std::string text;
    };
    // Sends "AI Annotation" / "AI Draw" to every active annotator; each text drawn is shown as a
    // "label TEXT" line unless it repeats the last label of the current press.
    void redraw();
    const std::vector<DrawOp>& lastDrawing() const; // what the last redraw drew
    std::vector<CCRect32> takeInvalidations();      // view rectangles invalidated since the last call (the latest 1024)

    // ---- panels ----
    // The folder the host reports as its application folder (appDir, or the one panelLibrary names).
    std::filesystem::path applicationFolder() const;
    ExtensionFramework& extensions();
    // Start-up as the application does it: "Startup", then "AI Application Started Notifier" and
    // "AI CSXS PlugPlug Setup Complete".
    CCErr launch();
    // Sets the document's ruler units ("pt", "in", "cm", "mm", "px", "H") and notifies
    // "AI Document Ruler Unit Changed Notifier". kCCBadParameterErr for other names.
    CCErr setRulerUnits(const std::string& units);

    struct Impl;
    Impl& impl() { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace minihost
