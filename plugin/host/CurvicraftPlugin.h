// The plug-in's own class: the operations Curvicraft serves on top of the base routing.
#pragma once

#include "Plugin.h"
#include "cc_suites.h"
#include "smartround/SmartRoundFilter.h"

namespace curvicraft {

struct CurvicraftGlobals;
struct InternalNotifierData;
class ToolPanelController;
class ModalDialogController;
class UtilsDialogController;

class CurvicraftPlugin : public Plugin {
public:
    explicit CurvicraftPlugin(CCPluginRef pluginRef) noexcept;
    explicit CurvicraftPlugin(const RebindSnapshot& old) noexcept;
    ~CurvicraftPlugin() override;

    // The one object between start-up and shut-down (null outside, and between Unload and Reload).
    static CurvicraftPlugin* instance() noexcept;

    CCErr handleStartup(CCPluginMessage* message) override;
    CCErr handleShutdown(CCPluginMessage* message) override;
    CCErr dispatchMessage(const char* caller, const char* selector, void* message) override;
    void setInstance(Plugin* plugin) override;

    // Served by the application layer and the tool framework; until they are in place these give
    // the base's answer.
    CCErr handlePostStartup() override;
    CCErr handleNotify(CCNotifierMessage* message) override;
    CCErr handleDoAction(void* message) override;
    CCErr handleFilterParameters(void* message) override;
    CCErr handleFilterGo(void* message) override;
    CCErr handleEffectEditParameters(void* message) override;
    CCErr handleEffectGoLive(void* message) override;
    CCErr handleEffectInterpolate(void* message) override;
    CCErr handleEffectInputType(void* message) override;
    CCErr handleEffectMerge(void* message) override;
    CCErr handleToolOptions(CCToolMessage* message) override;
    CCErr handleToolTrackCursor(CCToolMessage* message) override;
    CCErr handleToolMouseDown(CCToolMessage* message) override;
    CCErr handleToolMouseDrag(CCToolMessage* message) override;
    CCErr handleToolMouseUp(CCToolMessage* message) override;
    CCErr handleToolSelect(CCToolMessage* message) override;
    CCErr handleToolDeselect(CCToolMessage* message) override;
    CCErr unloadHook(CCPluginMessage* message) override;
    CCErr suitesReadyHook() override;

    ToolPanelController* toolBridge() const noexcept { return toolBridge_; }
    ModalDialogController* modalBridge() const noexcept { return modalBridge_; }
    UtilsDialogController* utilsBridge() const noexcept { return utilsBridge_; }

    // Smart Rounding's filters and action (bodies in CurvicraftPluginFilters.cpp).
    const SmartRoundFilterState& smartRoundState() const { return smartRound_; }

private:
    CCErr startupSmartRound();

    SmartRoundFilterState smartRound_{};
    CCBool32 parametersShown_ = 0; // the filter's parameters were just asked for
private:
    // The panel bridges (CurvicraftPluginPanels.cpp): created at start-up, their notifiers, the
    // notifications they answer, and their part of shut-down.
    CCErr createPanelBridges();
    CCErr makePanelBridges() noexcept; // the utilities bridge first; the others are handed it
    CCErr addPanelNotifiers();
    CCErr addPanelSetupNotifier();
    bool isPanelNotifier(CCNotifierHandle notifier) const noexcept;
    CCErr notifyPanels(CCNotifierMessage* message);
    void shutdownPanels();
    void destroyPanelBridges() noexcept;
    // The late suite table: acquired after start-up, given back at shut-down and around an unload.
    CCErr acquireLateSuites() noexcept;
    void releaseLateSuites() noexcept;

    // Start-up steps of the tool framework.
    CCErr addTools();
    CCErr addAnnotator();
    CCErr addNotifiers();
    // Frees the globals record and what it holds of the host's; safe to call twice.
    void releaseGlobals() noexcept;

    // The tool-options panel shows a slot, or none; sends the shown tool's params.
    void showToolPanel(int slot);
    void closeToolPanel();
    void sendToolParams();

    // The label's annotator on or off; the label's last area redrawn.
    void setLabelShown(bool shown);
    void invalidateLabel();
    CCErr drawLabel(CCAnnotatorMessage* message);
    CCErr dispatchAnnotation(const char* selector, CCAnnotatorMessage* message);
    CCErr dispatchInternalNotice(const InternalNotifierData* data);

    CurvicraftGlobals* globals_ = nullptr; // in host block memory
    CCRealPoint labelPoint_{};             // cursor point of the last drag step
    CCRect32 labelRect_{};                 // view area of the last label drawn
    CCNotifierHandle appStartedNotifier_ = nullptr;
    CCNotifierHandle unitsNotifier_ = nullptr;
    CCNotifierHandle documentOpenedNotifier_ = nullptr; // not registered
    CCNotifierHandle internalNotifier_ = nullptr;
    CCNotifierHandle panelSetupNotifier_ = nullptr;
    CCBool32 invalidating_ = 0; // an invalidation in progress; the host may answer it with another
    // Owned; plain pointers so that they survive a rebind (they are re-created after a reload).
    ToolPanelController* toolBridge_ = nullptr;
    ModalDialogController* modalBridge_ = nullptr;
    UtilsDialogController* utilsBridge_ = nullptr;
    CCBool32 panelsSuspended_ = 0;  // the bridges were taken down for an unload
    CCBool32 panelListening_ = 0;   // the host reported the panel framework ready
    CCBool32 lateSuitesHeld_ = 0;
    CCBool32 lateSuitesAfterReload_ = 0; // held before an unload: acquired again at the reload
};

} // namespace curvicraft
