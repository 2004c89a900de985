#include "settings/Units.h"

namespace curvicraft {

namespace {

bool validUnits(std::int16_t& unitsIndex)
{
    if (unitsIndex >= 0 && unitsIndex < kUnitsCount) {
        return true;
    }
    unitsIndex = kFallbackUnitsIndex;
    return false;
}

} // namespace

// The operations are written in the order of the units table so that round values (72 pt = 25.4 mm)
// come out exactly.
double toUnits(double x, std::int16_t& unitsIndex)
{
    if (!validUnits(unitsIndex)) {
        return x;
    }
    switch (unitsIndex) {
    case 1:
        return x / 72.0;
    case 2:
        return x * 2.54 / 72.0;
    case 5:
        return x * 25.4 / 72.0;
    case 7:
        return x * 25.4 / 72.0 * 4.0;
    default:
        return x; // pt (0, 3, 4) and px (6)
    }
}

double fromUnits(double x, std::int16_t& unitsIndex)
{
    if (!validUnits(unitsIndex)) {
        return x;
    }
    switch (unitsIndex) {
    case 1:
        return x * 72.0;
    case 2:
        return x * 72.0 / 2.54;
    case 5:
        return x * 72.0 / 25.4;
    case 7:
        return x * 0.25 * 72.0 / 25.4;
    default:
        return x;
    }
}

std::string_view unitsName(std::int16_t unitsIndex)
{
    static constexpr std::string_view kNames[kUnitsCount] = {"pt", "in", "cm", "pt", "pt", "mm", "px", "H"};
    if (unitsIndex < 0 || unitsIndex >= kUnitsCount) {
        return kNames[kFallbackUnitsIndex];
    }
    return kNames[unitsIndex];
}

} // namespace curvicraft
