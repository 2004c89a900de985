// The bridge to the utilities panel ("Curvicraft_Utils_UI"), which shows the About dialog.
#pragma once

#include "panels/FlashUIController.h"

#include <cstdint>

namespace curvicraft {

inline constexpr const char* kUtilsPanelId = "Curvicraft_Utils_UI";

class UtilsDialogController : public FlashUIController {
  public:
    UtilsDialogController() noexcept;

    // The About dialog's panel listens to nothing yet: its events come with the dialog's logic.
    CCErr registerListeners() override { return kCCNoErr; }
    CCErr unregisterListeners() override { return kCCNoErr; }
    CCErr sendParams() override { return kCCNoErr; }
    void idle() override {}

    // Starts the utilities panel on the About dialog unless it already runs.
    void showAbout();
    std::int16_t dialogIndex() const noexcept { return dialogIndex_; }

  private:
    std::int16_t dialogIndex_ = -1; // 0 About
};

} // namespace curvicraft
