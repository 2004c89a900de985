// The settings every tool starts with at each host start, and the one value kept in the host's
// preferences ("ShowTips" under "__Orvo_Linework_V1").
#pragma once

#include "cc_types.h"

namespace curvicraft {

struct CurvicraftGlobals;

inline constexpr const char* kPreferencePrefix = "__Orvo_Linework_V1";
inline constexpr const char* kShowTipsKey = "ShowTips";

// Every tool's settings record at its default, drawingPath null, the Smart Rounding record's first
// field 0; showTips 1, then replaced by the stored preference when there is one. Returns 0.
CCErr setDefaults(CurvicraftGlobals& g);

// Writes showTips to the host preference.
CCErr saveShowTips(const CurvicraftGlobals& g);

} // namespace curvicraft
