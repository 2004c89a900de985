// The host's side of tools, undo, the document view and annotations: the tool registry and tool events,
// the undo transaction every message from outside runs in, the view's zoom and origin, and the redraw
// that lets the active annotators draw.
#include "Host.h"

#include "HostImpl_p.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace minihost {

// ---- Impl -------------------------------------------------------------------------------------------

Host::Impl::Tool* Host::Impl::findTool(CCToolHandle h)
{
    auto value = reinterpret_cast<std::uintptr_t>(h);
    for (Tool& t : tools)
        if (t.handle == value)
            return &t;
    return nullptr;
}

Host::Impl::Tool* Host::Impl::findToolNumber(std::int32_t number)
{
    for (Tool& t : tools)
        if (t.number == number)
            return &t;
    return nullptr;
}

Host::Impl::Annotator* Host::Impl::findAnnotator(CCAnnotatorHandle h)
{
    auto value = reinterpret_cast<std::uintptr_t>(h);
    for (Annotator& a : annotators)
        if (a.handle == value)
            return &a;
    return nullptr;
}

UndoJournal* Host::Impl::currentJournal()
{
    if (!document)
        return nullptr;
    if (!journal)
        journal = std::make_unique<UndoJournal>(*document);
    return journal.get();
}

void Host::Impl::dropJournal()
{
    journal.reset();
    pressing = false;
}

void Host::Impl::syncView()
{
    if (viewSerial == documentSerial)
        return;
    viewSerial = documentSerial;
    zoom = 1;
    viewSet = false;
}

void Host::Impl::dropRegistrations()
{
    notifiers.clear();
    tools.clear();
    selectedTool = 0;
    annotators.clear();
    pressing = false;
}

CCErr Host::Impl::runTopLevel(const char* caller, const char* selector, const std::function<CCErr()>& body)
{
    if (topLevel > 0)
        return body();
    bool toolCaller = std::strcmp(caller, kCCToolCaller) == 0;
    bool down = toolCaller && std::strcmp(selector, kCCMouseDownSelector) == 0;
    bool up = toolCaller && std::strcmp(selector, kCCMouseUpSelector) == 0;
    bool toolEvent = down || up ||
                     (toolCaller && (std::strcmp(selector, kCCMouseDragSelector) == 0 ||
                                     std::strcmp(selector, kCCTrackCursorSelector) == 0));
    if (down) {
        // A new press ends one that never saw its release.
        if (UndoJournal* j = currentJournal()) {
            const Tool* t = findTool(reinterpret_cast<CCToolHandle>(selectedTool));
            j->begin(t ? t->title : "Tool");
        }
        pressing = true;
        lastLabel.clear();
    } else if (!pressing) {
        if (UndoJournal* j = currentJournal())
            j->begin(std::string(caller) + " / " + selector);
    }

    ++topLevel;
    CCErr err = body();
    --topLevel;

    if (up || !pressing) {
        pressing = false;
        if (journal)
            journal->commit();
    }
    if (toolEvent || redrawPending)
        redraw();
    if (extensions)
        extensions->deliverPending();
    return err;
}

void Host::Impl::redraw()
{
    redrawPending = false;
    if (!pluginServing() || drawerLive)
        return;
    drawing.clear();
    syncView();
    std::vector<std::uintptr_t> targets;
    for (const Annotator& a : annotators)
        if (a.active)
            targets.push_back(a.handle);
    double width = document ? document->width : 0, height = document ? document->height : 0;
    for (std::uintptr_t handle : targets) {
        // An annotator may be switched off or the plug-in stopped while another one draws.
        Annotator* a = findAnnotator(reinterpret_cast<CCAnnotatorHandle>(handle));
        if (!a || !a->active || !pluginServing())
            continue;
        CCAnnotatorMessage message{};
        message.annotator = reinterpret_cast<CCAnnotatorHandle>(handle);
        message.drawer = &drawerTag;
        message.invalidRect = CCRealRect{0, 0, width * zoom, height * zoom}; // the whole view
        drawerLive = true;
        ++topLevel;
        deliver(kCCAnnotationCaller, kCCDrawSelector, &message);
        --topLevel;
        drawerLive = false;
    }
}

// ---- tools ------------------------------------------------------------------------------------------

std::vector<Host::ToolInfo> Host::tools() const
{
    std::vector<ToolInfo> out;
    for (const Impl::Tool& t : impl_->tools)
        out.push_back({reinterpret_cast<CCToolHandle>(t.handle), t.number, t.name, t.title, t.tooltip, t.iconId,
                       t.darkIconId, t.group, t.toolset, t.options});
    return out;
}

CCToolHandle Host::findTool(const std::string& title) const
{
    for (const Impl::Tool& t : impl_->tools)
        if (t.title == title)
            return reinterpret_cast<CCToolHandle>(t.handle);
    return nullptr;
}

CCToolHandle Host::selectedTool() const
{
    return reinterpret_cast<CCToolHandle>(impl_->selectedTool);
}

CCErr Host::selectTool(CCToolHandle tool)
{
    if (!impl_->findTool(tool))
        return kCCStaleHandleErr;
    CCErr first = kCCNoErr;
    if (impl_->selectedTool) {
        CCToolMessage message{};
        message.tool = reinterpret_cast<CCToolHandle>(impl_->selectedTool);
        first = send(kCCToolCaller, kCCDeselectSelector, &message);
    }
    // The tool may have gone while the other one was told (a plug-in that stopped).
    if (!impl_->findTool(tool))
        return first ? first : kCCStaleHandleErr;
    impl_->selectedTool = reinterpret_cast<std::uintptr_t>(tool);
    CCToolMessage message{};
    message.tool = tool;
    CCErr err = send(kCCToolCaller, kCCSelectSelector, &message);
    return first ? first : err;
}

namespace {

CCErr toolEvent(Host& host, const char* selector, CCRealPoint cursor, std::int32_t modifiers)
{
    if (!std::isfinite(cursor.x) || !std::isfinite(cursor.y))
        return kCCBadParameterErr;
    CCToolMessage message{};
    message.tool = host.selectedTool();
    message.cursor = cursor;
    message.pressure = 1;
    message.modifiers = modifiers;
    message.clickCount = 1;
    return host.send(kCCToolCaller, selector, &message);
}

} // namespace

CCErr Host::mouseDown(CCRealPoint cursor, std::int32_t modifiers)
{
    if (!impl_->selectedTool)
        return kCCCantErr;
    return toolEvent(*this, kCCMouseDownSelector, cursor, modifiers);
}

CCErr Host::mouseDrag(CCRealPoint cursor, std::int32_t modifiers)
{
    if (!impl_->selectedTool || !impl_->pressing)
        return kCCCantErr;
    return toolEvent(*this, kCCMouseDragSelector, cursor, modifiers);
}

CCErr Host::mouseUp(CCRealPoint cursor, std::int32_t modifiers)
{
    if (!impl_->selectedTool || !impl_->pressing)
        return kCCCantErr;
    return toolEvent(*this, kCCMouseUpSelector, cursor, modifiers);
}

CCErr Host::trackCursor(CCRealPoint cursor, std::int32_t modifiers)
{
    if (!impl_->selectedTool || impl_->pressing)
        return kCCCantErr;
    return toolEvent(*this, kCCTrackCursorSelector, cursor, modifiers);
}

bool Host::pressing() const
{
    return impl_->pressing;
}

// ---- undo -------------------------------------------------------------------------------------------

bool Host::undo()
{
    UndoJournal* j = impl_->pressing ? nullptr : impl_->currentJournal();
    return j && j->undo();
}

bool Host::redo()
{
    UndoJournal* j = impl_->pressing ? nullptr : impl_->currentJournal();
    return j && j->redo();
}

UndoJournal* Host::journal()
{
    return impl_->currentJournal();
}

// ---- the document view ------------------------------------------------------------------------------

double Host::zoom() const
{
    impl_->syncView();
    return impl_->zoom;
}

CCErr Host::setZoom(double zoom)
{
    if (!(zoom >= kMinZoom && zoom <= kMaxZoom))
        return kCCBadParameterErr;
    impl_->syncView();
    if (!impl_->viewSet) // keep the top-left where it is
        setViewOrigin(viewOrigin());
    impl_->zoom = zoom;
    return kCCNoErr;
}

CCRealPoint Host::viewOrigin() const
{
    impl_->syncView();
    if (impl_->viewSet)
        return impl_->viewOrigin;
    return CCRealPoint{0, impl_->document ? impl_->document->height : 0};
}

void Host::setViewOrigin(CCRealPoint topLeft)
{
    if (!std::isfinite(topLeft.x) || !std::isfinite(topLeft.y))
        return;
    impl_->syncView();
    impl_->viewOrigin = topLeft;
    impl_->viewSet = true;
}

CCErr Host::viewPoint(CCRealPoint artwork, CCPoint32& view) const
{
    if (!std::isfinite(artwork.x) || !std::isfinite(artwork.y))
        return kCCBadParameterErr;
    CCRealPoint origin = viewOrigin();
    double z = impl_->zoom;
    // Far-off points are pinned to the edge of the pixel range rather than overflowing it.
    auto pixel = [](double v) {
        constexpr double lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
        return static_cast<std::int32_t>(std::clamp(std::round(v), lo, hi));
    };
    view.h = pixel((artwork.x - origin.x) * z);
    view.v = pixel((origin.y - artwork.y) * z);
    return kCCNoErr;
}

CCRealPoint Host::artworkPoint(CCPoint32 view) const
{
    CCRealPoint origin = viewOrigin();
    double z = impl_->zoom;
    return CCRealPoint{origin.x + view.h / z, origin.y - view.v / z};
}

// ---- annotations ------------------------------------------------------------------------------------

void Host::redraw()
{
    impl_->redraw();
}

const std::vector<Host::DrawOp>& Host::lastDrawing() const
{
    return impl_->drawing;
}

std::vector<CCRect32> Host::takeInvalidations()
{
    return std::exchange(impl_->invalidRects, {});
}

} // namespace minihost
