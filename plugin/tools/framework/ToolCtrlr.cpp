#include "ToolCtrlr.h"

namespace curvicraft {

void ToolCtrlr::writeMinValues(SettingsWriter&) {}

void ToolCtrlr::writeMaxValues(SettingsWriter&) {}

CCErr ToolCtrlr::writeParams(SettingsWriter&)
{
    return 0;
}

CCErr ToolCtrlr::readParams(std::string)
{
    return 1;
}

CCErr ToolCtrlr::currentInfo(std::string& info)
{
    info.clear();
    return 0;
}

} // namespace curvicraft
