// The controller of each tool slot. Tools whose controller is not written yet get the base controller,
// which shows no settings and no measurement.
#include "ToolCtrlr.h"
#include "ToolTable.h"
#include "tools/corner/RevRoundCornerCtrlr.h"
#include "tools/corner/RoundCornerCtrlr.h"

namespace curvicraft {

std::unique_ptr<ToolCtrlr> createToolCtrlr(int toolSlot)
{
    if (!isToolSlot(toolSlot))
        return nullptr;
    switch (toolSlot) {
    case kRoundFilletSlot:
        return std::make_unique<RoundCornerCtrlr>();
    case kReverseRoundFilletSlot:
        return std::make_unique<RevRoundCornerCtrlr>();
    default:
        return std::make_unique<ToolCtrlr>();
    }
}

} // namespace curvicraft
