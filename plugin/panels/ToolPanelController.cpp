#include "ToolPanelController.h"

#include "host/Suites.h"
#include "panels/PanelContext.h"
#include "panels/UtilsDialogController.h"
#include "settings/SettingsText.h"
#include "tools/framework/CurvicraftGlobals.h"

#include <iterator>

namespace curvicraft {

namespace {

constexpr const char* kLoadFailedAlert = "Unable to find a part of necessary module files for Curvicraft. Please refer "
                                         "the manual and re-install the plug-in.";

constexpr const char* kListenedEvents[] = {kToolUpdateParamsEvent, kToolPanelReadyEvent, kToolPanelMenuSelectEvent};

// Nothing may cross back into the library: a failure inside the handling is dropped.
void onPanelEvent(const CCPanelEvent* event, void* userData)
{
    if (!event || !userData)
        return;
    auto* bridge = static_cast<ToolPanelController*>(userData);
    const std::string_view type = event->type ? event->type : "";
    const std::string_view payload = event->data ? event->data : "";
    try {
        if (type == kToolUpdateParamsEvent)
            bridge->updateParams(payload);
        else if (type == kToolPanelReadyEvent)
            bridge->panelReady();
        else if (type == kToolPanelMenuSelectEvent)
            bridge->panelMenuSelect(payload);
    } catch (...) {
    }
}

std::int16_t shownSlot()
{
    CurvicraftGlobals* g = globals();
    return g ? g->panelToolIndex : -1;
}

void setShownSlot(int slot)
{
    if (CurvicraftGlobals* g = globals())
        g->panelToolIndex = static_cast<std::int16_t>(slot);
}

} // namespace

ToolPanelController::ToolPanelController(UtilsDialogController* utils) noexcept
    : FlashUIController(kToolPanelId), utils_(utils)
{
    loadPanelLibrary(*this); // without the library the bridge keeps null entries
    setShownSlot(-1);
}

ToolPanelController::~ToolPanelController()
{
    stopPanel();
}

CCErr ToolPanelController::registerListeners()
{
    return addListeners(kListenedEvents, std::size(kListenedEvents), onPanelEvent);
}

CCErr ToolPanelController::unregisterListeners()
{
    return removeListeners(kListenedEvents, std::size(kListenedEvents), onPanelEvent);
}

CCErr ToolPanelController::showTool(int slot)
{
    std::int32_t state = 0;
    if (!extensionState(state) || state != kCCExtensionLoaded) {
        if (const CCErr err = openPanel(slot))
            return err;
    } else if (slot != shownSlot()) {
        toolCtrlr_.reset();
        setShownSlot(slot);
        toolCtrlr_ = createToolCtrlr(slot);
        if (toolCtrlr_) {
            sendRanges(slot);
            sendParams();
        }
    }
    setShownSlot(slot);
    return kCCNoErr;
}

CCErr ToolPanelController::openPanel(int slot)
{
    toolCtrlr_.reset();
    toolCtrlr_ = createToolCtrlr(slot);
    if (!toolCtrlr_)
        return kCCNoErr;
    // The params sent below are those of this slot.
    setShownSlot(slot);
    if (loadExtension() == kCCNoErr) {
        if (ready_) {
            sendRanges(slot);
            sendParams();
        }
        ready_ = 1;
    } else if (sUser) {
        sUser->ErrorAlert(kLoadFailedAlert);
    }
    return kCCNoErr;
}

CCErr ToolPanelController::sendContents(const char* command, int slot, const char* contents,
                                        const std::string& fragment)
{
    std::string payload = payloadHead("tool_index", slot, contents);
    payload += fragment;
    payload += "</payload>";
    return dispatchPanelEvent(kToolPanelSettingsEvent, command, payload);
}

CCErr ToolPanelController::sendRanges(int slot)
{
    if (!toolCtrlr_)
        return kCCNoErr;
    SettingsWriter minValues;
    toolCtrlr_->writeMinValues(minValues);
    if (const CCErr err = sendContents("SendMinValues", slot, "min_values", minValues.text()))
        return err;
    SettingsWriter maxValues;
    toolCtrlr_->writeMaxValues(maxValues);
    return sendContents("SendMaxValues", slot, "max_values", maxValues.text());
}

CCErr ToolPanelController::sendParams()
{
    if (!toolCtrlr_ || !globals())
        return kCCNoErr;
    SettingsWriter params;
    if (const CCErr err = toolCtrlr_->writeParams(params))
        return err;
    return sendContents("SendData", shownSlot(), "params", params.text());
}

CCErr ToolPanelController::closeTool()
{
    const CCErr err = dispatchPanelEvent(kToolPanelSettingsEvent, "CloseUI",
                                         payloadHead("tool_index", shownSlot(), "close") + "</payload>");
    if (err == kCCNoErr)
        setShownSlot(-1);
    return err;
}

// A panel that reports ready while no tool is shown was opened without one of the plug-in's tools
// (also after a deselect, when the ready flag stays set): it is closed at once.
void ToolPanelController::panelReady()
{
    if (ready_ && shownSlot() >= 0) {
        PanelContextScope context;
        globals()->unitsIndex = currentUnitsIndex();
        sendRanges(shownSlot());
        sendParams();
        return;
    }
    if (extensionLoaded())
        unloadExtension();
}

void ToolPanelController::updateParams(std::string_view payload)
{
    PanelContextScope context;
    std::int16_t slot = -1;
    if (!readTag<TagType::Short>(payload, "tool_index", slot) || slot < 0 || slot != shownSlot() || !toolCtrlr_)
        return;
    toolCtrlr_->readParams(std::string(payload));
}

void ToolPanelController::panelMenuSelect(std::string_view payload)
{
    char menuId[16] = {};
    if (readTag<TagType::Text>(payload, "menu_id", menuId) && std::string_view(menuId) == "About" && utils_)
        utils_->showAbout();
}

void ToolPanelController::stopPanel()
{
    if (extensionLoaded())
        unloadExtension();
    toolCtrlr_.reset();
    ready_ = 0;
}

} // namespace curvicraft
