// The default error reporter: what happens to a failed code when no plug-in object can report it,
// and where Plugin::reportError sends the codes it keeps.
#pragma once

#include "cc_types.h"

namespace curvicraft {

// Codes that are part of normal host traffic (cancel, done, not found, ...) and never reported.
bool isSilentError(CCErr code) noexcept;

// Drops silent codes. Other codes are shown to no user; they go to the debugger output as
// "Error: plugin error CODE\n" so a developer can see start-up and reload failures.
void reportDefaultError(CCErr code) noexcept;

} // namespace curvicraft
