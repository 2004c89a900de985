// The panel text of the tools sized by one radius (Round Fillet, Reverse Round Fillet): limits, parameters,
// parsing and the info text, each on the tool's own settings record.
#pragma once

#include "cc_messages.h"
#include "cc_types.h"
#include "settings/SettingsText.h"
#include "tools/framework/ToolSettings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace curvicraft {

inline constexpr double kRadiusCornerMin = 0;
inline constexpr double kRadiusCornerMax = 4000;

void writeRadiusCornerMinValues(SettingsWriter& stream);
void writeRadiusCornerMaxValues(SettingsWriter& stream);

// units, ope_style, snap_size, fixed_radius and curr_info, lengths in the current units.
CCErr writeRadiusCornerParams(SettingsWriter& stream, const RadiusCornerSettings& settings, std::int16_t& unitsIndex);

// Reads ope_style, snap_size and fixed_radius (lengths in the current units) into the record; tags that are
// missing or unreadable keep their values. The last radius is cleared.
void readRadiusCornerParams(std::string_view text, RadiusCornerSettings& settings, std::int16_t& unitsIndex);

// The last radius in the current units through the host's number formatter (3 decimals), a blank and the
// units name. On a formatter failure the text is left empty and the host's code returned.
CCErr radiusCornerInfo(const RadiusCornerSettings& settings, std::int16_t& unitsIndex, std::string& info);

// The release of a press of either tool: when it picked a corner, Alt in free or snap mode makes the last
// radius the fixed radius, and the panel is told to reload the parameters.
CCErr radiusCornerMouseUp(const CCToolMessage* message, RadiusCornerSettings& settings);

} // namespace curvicraft
