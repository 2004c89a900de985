// The bridge to the modal dialog panel ("Curvicraft_Dialog_UI"), which shows the Smart Rounding dialog.
#pragma once

#include "panels/FlashUIController.h"

namespace curvicraft {

class UtilsDialogController;

inline constexpr const char* kDialogPanelId = "Curvicraft_Dialog_UI";

class ModalDialogController : public FlashUIController {
  public:
    explicit ModalDialogController(UtilsDialogController* utils) noexcept;

    // The dialog panel listens to nothing yet: its events come with the dialog's logic.
    CCErr registerListeners() override { return kCCNoErr; }
    CCErr unregisterListeners() override { return kCCNoErr; }
    CCErr sendParams() override { return kCCNoErr; }
    void idle() override {}

    UtilsDialogController* utilities() const noexcept { return utils_; }

  private:
    UtilsDialogController* utils_ = nullptr; // not owned
};

} // namespace curvicraft
