// The bridge to the tool-options panel ("Curvicraft_Tool_UI"). While one of the plug-in's tools is
// selected the panel shows its settings: the bridge starts the panel, sends it the tool's value ranges
// and params, takes the settings the user edits into the tool's settings record, and closes the panel
// when the tool is deselected. It owns the one ToolCtrlr in existence, that of the tool shown;
// CurvicraftGlobals::panelToolIndex holds the slot shown (-1 none).
#pragma once

#include "panels/FlashUIController.h"
#include "tools/framework/ToolCtrlr.h"

#include <memory>
#include <string_view>

namespace curvicraft {

class UtilsDialogController;

inline constexpr const char* kToolPanelId = "Curvicraft_Tool_UI";
inline constexpr const char* kToolPanelSettingsEvent = "com.adobe.csxs.events.CurvicraftTool_UpdatePanelSettings";
inline constexpr const char* kToolUpdateParamsEvent = "com.adobe.csxs.events.CurvicraftTool_UpdateParams";
inline constexpr const char* kToolPanelReadyEvent = "com.adobe.csxs.events.CurvicraftTool_PanelReady";
inline constexpr const char* kToolPanelMenuSelectEvent = "com.adobe.csxs.events.CurvicraftTool_PanelMenuSelect";

class ToolPanelController : public FlashUIController {
  public:
    explicit ToolPanelController(UtilsDialogController* utils) noexcept;
    ~ToolPanelController() override; // stopPanel

    CCErr registerListeners() override;
    CCErr unregisterListeners() override;
    // "SendData" with the params of the tool shown; writeParams' error stops it.
    CCErr sendParams() override;
    void idle() override {}

    // A tool was selected: start the panel, or, when it runs, show the tool's ranges and params.
    CCErr showTool(int slot);
    // A tool was deselected: "CloseUI" for the slot shown; the slot is forgotten once that went out.
    CCErr closeTool();
    CCErr openPanel(int slot);
    // "SendMinValues", then "SendMaxValues" when the first went out.
    CCErr sendRanges(int slot);
    void stopPanel();

    // The panel's events.
    void panelReady();
    void updateParams(std::string_view payload);
    void panelMenuSelect(std::string_view payload);

    bool ready() const noexcept { return ready_ != 0; }
    ToolCtrlr* toolCtrlr() const noexcept { return toolCtrlr_.get(); }

  private:
    CCErr sendContents(const char* command, int slot, const char* contents, const std::string& fragment);

    UtilsDialogController* utils_ = nullptr; // not owned
    CCBool32 ready_ = 0;                     // started once since the last stop
    std::unique_ptr<ToolCtrlr> toolCtrlr_;
};

} // namespace curvicraft
