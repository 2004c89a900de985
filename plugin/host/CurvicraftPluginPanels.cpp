// CurvicraftPlugin's side of the panels: the three bridges made at start-up, the notifiers they need,
// the notifications they answer, and their part of unload, reload and shut-down.
#include "CurvicraftPlugin.h"

#include "SuiteSet.h"
#include "Suites.h"
#include "panels/ModalDialogController.h"
#include "panels/PanelContext.h"
#include "panels/ToolPanelController.h"
#include "panels/UtilsDialogController.h"
#include "settings/Defaults.h"
#include "tools/framework/CurvicraftGlobals.h"

#include <new>

namespace curvicraft {

namespace {

constexpr const char* kNotifierName = "Orvo_Curvicraft_Plugin";
constexpr const char* kPanelSetupNotifierName = "Register Event Notify";

bool toolPanelRuns()
{
    std::int32_t state = 0;
    return sCSXSExtension && sCSXSExtension->GetExtensionState(kToolPanelId, &state) == kCCNoErr &&
           state == kCCExtensionLoaded;
}

bool isSelected(CCArtHandle art)
{
    if (!art || !sArt || !sArt->ValidArt(art))
        return false;
    std::int32_t attr = 0;
    return sArt->GetArtUserAttr(art, kCCArtSelected, &attr) == kCCNoErr && (attr & kCCArtSelected) != 0;
}

} // namespace

CCErr CurvicraftPlugin::makePanelBridges() noexcept
{
    utilsBridge_ = new (std::nothrow) UtilsDialogController();
    modalBridge_ = utilsBridge_ ? new (std::nothrow) ModalDialogController(utilsBridge_) : nullptr;
    toolBridge_ = modalBridge_ ? new (std::nothrow) ToolPanelController(utilsBridge_) : nullptr;
    return toolBridge_ ? kCCNoErr : kCCOutOfMemoryErr;
}

CCErr CurvicraftPlugin::createPanelBridges()
{
    if (const CCErr err = makePanelBridges())
        return err;
    return setResident(true);
}

CCErr CurvicraftPlugin::addPanelNotifiers()
{
    if (!sNotifier)
        return kCCSuiteNotFoundErr;
    if (const CCErr err =
            sNotifier->AddNotifier(pluginRef(), kNotifierName, kCCRulerUnitsChangedNotifier, &unitsNotifier_))
        return err;
    if (const CCErr err = sNotifier->AddNotifier(pluginRef(), kNotifierName, kCCArtSelectionChangedNotifier,
                                                 &globals_->selectionNotifier))
        return err;
    // Selection changes matter only while a drawing tool is selected, which switches it on.
    return sNotifier->SetNotifierActive(globals_->selectionNotifier, 0);
}

CCErr CurvicraftPlugin::addPanelSetupNotifier()
{
    return sNotifier->AddNotifier(pluginRef(), kPanelSetupNotifierName, kCCPanelSetupCompleteNotifier,
                                  &panelSetupNotifier_);
}

bool CurvicraftPlugin::isPanelNotifier(CCNotifierHandle notifier) const noexcept
{
    if (!notifier)
        return false;
    return notifier == unitsNotifier_ || notifier == panelSetupNotifier_ ||
           (globals_ && notifier == globals_->selectionNotifier);
}

CCErr CurvicraftPlugin::notifyPanels(CCNotifierMessage* message)
{
    if (message->notifier == unitsNotifier_) {
        if (globals_)
            globals_->unitsIndex = currentUnitsIndex();
        if (toolBridge_ && toolPanelRuns())
            toolBridge_->sendParams();
    } else if (globals_ && message->notifier == globals_->selectionNotifier) {
        // A path being drawn that the user deselected is no longer continued.
        if (toolBridge_ && toolPanelRuns() && sDocument) {
            CCDocumentHandle document = nullptr;
            const CCErr err = sDocument->GetDocument(&document);
            if (err != kCCNoErr && err != kCCNoDocumentErr)
                return err;
            if (document && !isSelected(globals_->drawingPath)) {
                globals_->drawingPath = nullptr;
                globals_->drawingState = 0;
            }
        }
    } else if (message->notifier == panelSetupNotifier_) {
        panelListening_ = 1;
        if (toolBridge_)
            toolBridge_->registerListeners();
        if (modalBridge_)
            modalBridge_->registerListeners();
        if (utilsBridge_)
            utilsBridge_->registerListeners();
    }
    return kCCNoErr;
}

void CurvicraftPlugin::showToolPanel(int slot)
{
    if (toolBridge_)
        toolBridge_->showTool(slot);
}

void CurvicraftPlugin::closeToolPanel()
{
    if (toolBridge_)
        toolBridge_->closeTool();
}

void CurvicraftPlugin::sendToolParams()
{
    if (toolBridge_)
        toolBridge_->sendParams();
}

void CurvicraftPlugin::shutdownPanels()
{
    if (globals_)
        saveShowTips(*globals_);
    destroyPanelBridges();
}

void CurvicraftPlugin::destroyPanelBridges() noexcept
{
    if (utilsBridge_)
        utilsBridge_->unregisterListeners();
    delete utilsBridge_;
    utilsBridge_ = nullptr;
    if (modalBridge_)
        modalBridge_->unregisterListeners();
    delete modalBridge_;
    modalBridge_ = nullptr;
    if (toolBridge_)
        toolBridge_->unregisterListeners();
    delete toolBridge_;
    toolBridge_ = nullptr;
}

// The bridges' code and the listeners they registered go away with the library: they are taken down
// before an unload and made again after the reload, keeping the slot the panel shows.
CCErr CurvicraftPlugin::acquireLateSuites() noexcept
{
    if (lateSuitesHeld_)
        return kCCNoErr;
    const CCErr err = acquireSuiteRows(gLateSuites);
    lateSuitesHeld_ = err == kCCNoErr;
    return err;
}

void CurvicraftPlugin::releaseLateSuites() noexcept
{
    if (lateSuitesHeld_)
        releaseSuiteRows(gLateSuites);
    lateSuitesHeld_ = 0;
}

CCErr CurvicraftPlugin::unloadHook(CCPluginMessage*)
{
    // The suite pointers do not survive the library; the host's count of them must not either.
    const CCBool32 lateHeld = lateSuitesHeld_;
    releaseLateSuites();
    lateSuitesHeld_ = 0;
    lateSuitesAfterReload_ = lateHeld;
    if (!toolBridge_)
        return kCCNoErr;
    const std::int16_t shown = globals_ ? globals_->panelToolIndex : -1;
    destroyPanelBridges();
    if (globals_)
        globals_->panelToolIndex = shown;
    panelsSuspended_ = 1;
    return kCCNoErr;
}

CCErr CurvicraftPlugin::suitesReadyHook()
{
    if (lateSuitesAfterReload_) {
        lateSuitesAfterReload_ = 0;
        if (const CCErr err = acquireLateSuites())
            return err;
    }
    if (!panelsSuspended_ || !globals_)
        return kCCNoErr;
    panelsSuspended_ = 0;
    const std::int16_t shown = globals_->panelToolIndex;
    if (const CCErr err = makePanelBridges())
        return err;
    if (panelListening_) {
        toolBridge_->registerListeners();
        modalBridge_->registerListeners();
        utilsBridge_->registerListeners();
    }
    if (shown >= 0)
        toolBridge_->showTool(shown);
    return kCCNoErr;
}

} // namespace curvicraft
