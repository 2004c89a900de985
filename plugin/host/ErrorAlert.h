// The one alert through which the Smart Rounding commands show a failed result code to the user.
#pragma once

#include "cc_types.h"

#include <string>

namespace curvicraft {

// The text shown for a code: its message, a line feed, and the code as four characters (or in decimal
// when its upper 16 bits are 0x0000 or 0xFFFF). Empty for 0 and for 'STOP' (the user cancelled).
std::string errorAlertText(CCErr code);

// Shows the alert for a code through the host's error alert; 0 and 'STOP' show nothing.
// A failure of the host to show it raises ai::Error with the host's code.
void showErrorAlert(CCErr code);

} // namespace curvicraft
