#include "RadiusCornerParams.h"

#include "CornerPress.h"
#include "CornerSector.h"
#include "host/Suites.h"
#include "settings/Units.h"
#include "tools/framework/ToolDispatch.h"

namespace curvicraft {

namespace {

void writeLimits(SettingsWriter& stream, double value)
{
    stream << "<snap_size>" << value << "</snap_size><fixed_radius>" << value << "</fixed_radius>";
}

} // namespace

void writeRadiusCornerMinValues(SettingsWriter& stream)
{
    writeLimits(stream, kRadiusCornerMin);
}

void writeRadiusCornerMaxValues(SettingsWriter& stream)
{
    writeLimits(stream, kRadiusCornerMax);
}

CCErr writeRadiusCornerParams(SettingsWriter& stream, const RadiusCornerSettings& settings, std::int16_t& unitsIndex)
{
    std::string info;
    if (CCErr err = radiusCornerInfo(settings, unitsIndex, info))
        return err;
    const double snapSize = toUnits(settings.snapSize, unitsIndex);
    const double fixedRadius = toUnits(settings.fixedRadius, unitsIndex);
    stream << "<units>" << unitsName(unitsIndex) << "</units><ope_style>" << static_cast<int>(settings.opeStyle)
           << "</ope_style><snap_size>" << snapSize << "</snap_size><fixed_radius>" << fixedRadius
           << "</fixed_radius><curr_info>" << info << "</curr_info>";
    return kCCNoErr;
}

void readRadiusCornerParams(std::string_view text, RadiusCornerSettings& settings, std::int16_t& unitsIndex)
{
    readTag<TagType::Short>(text, "ope_style", settings.opeStyle);
    double value = 0;
    if (readTag<TagType::Real>(text, "snap_size", value))
        settings.snapSize = fromUnits(value, unitsIndex);
    if (readTag<TagType::Real>(text, "fixed_radius", value))
        settings.fixedRadius = fromUnits(value, unitsIndex);
    settings.lastRadius = 0;
}

CCErr radiusCornerInfo(const RadiusCornerSettings& settings, std::int16_t& unitsIndex, std::string& info)
{
    info.clear();
    const double value = toUnits(settings.lastRadius, unitsIndex);
    char number[64] = {};
    if (CCErr err = sUser->NumberToString(value, 3, number, sizeof number))
        return err;
    number[sizeof number - 1] = 0;
    info = number;
    info += ' ';
    info += unitsName(unitsIndex);
    return kCCNoErr;
}

CCErr radiusCornerMouseUp(const CCToolMessage* message, RadiusCornerSettings& settings)
{
    if (!cornerPressTracking())
        return kCCNoErr;
    if (optionKeyDown(message) && sizeModeOf(settings.opeStyle) != SizeMode::Fixed)
        settings.fixedRadius = settings.lastRadius;
    sendToolData();
    return kCCNoErr;
}

} // namespace curvicraft
