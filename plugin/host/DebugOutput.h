// The debugger output channel: developer-facing text that the user never sees.
#pragma once

namespace curvicraft {

// Writes text as it is (the caller supplies the line break). Goes to the host process's
// OutputDebugStringA when it exports one, else to standard error.
void writeDebugOutput(const char* text) noexcept;

} // namespace curvicraft
