#include "UtilsDialogController.h"

namespace curvicraft {

UtilsDialogController::UtilsDialogController() noexcept : FlashUIController(kUtilsPanelId)
{
    loadPanelLibrary(*this); // without the library the bridge keeps null entries
}

void UtilsDialogController::showAbout()
{
    dialogIndex_ = 0;
    if (!extensionLoaded())
        loadExtension();
}

} // namespace curvicraft
