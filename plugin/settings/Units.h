// Conversion of lengths between points, the unit of all geometry, and the document's ruler units that
// the panels show.
#pragma once

#include <cstdint>
#include <string_view>

namespace curvicraft {

// Ruler units by index: 0 pt, 1 in, 2 cm, 3 and 4 pt, 5 mm, 6 px, 7 H (quarter millimetre).
inline constexpr std::int16_t kUnitsCount = 8;
// The index an out-of-range units index is reset to.
inline constexpr std::int16_t kFallbackUnitsIndex = 3;

// Points to the units of `unitsIndex`. An index outside 0-7 is reset to 3 and x is returned unchanged.
double toUnits(double x, std::int16_t& unitsIndex);

// Units of `unitsIndex` to points, with the same reset rule as toUnits.
double fromUnits(double x, std::int16_t& unitsIndex);

// The name written in the <units> element: "pt", "in", "cm", "mm", "px" or "H". An index outside 0-7
// names "pt", the units it is reset to by the conversions.
std::string_view unitsName(std::int16_t unitsIndex);

} // namespace curvicraft
