// What differs between the current and the previous host version, chosen at build time by
// CURVICRAFT_PREVIOUS_HOST (the workspace selectors differ too; see cc_messages.h).
#pragma once

namespace curvicraft {

// File name of the host's extension event library in its application folder.
#ifdef CURVICRAFT_PREVIOUS_HOST
inline constexpr char kPanelLibraryFileName[] = "PlugPlug.dll";
#else
inline constexpr char kPanelLibraryFileName[] = "PlugPlugOwl.dll";
#endif

} // namespace curvicraft
