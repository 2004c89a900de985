#include "ModalDialogController.h"

namespace curvicraft {

ModalDialogController::ModalDialogController(UtilsDialogController* utils) noexcept
    : FlashUIController(kDialogPanelId), utils_(utils)
{
    loadPanelLibrary(*this); // without the library the bridge keeps null entries
}

} // namespace curvicraft
