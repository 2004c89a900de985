// The controller of each tool slot. Tools whose controller is not written yet get the base controller,
// which shows no settings and no measurement.
#include "ToolCtrlr.h"
#include "ToolTable.h"

#if __has_include("tools/corner/RoundCornerCtrlr.h")
#include "tools/corner/RoundCornerCtrlr.h"
#define CURVICRAFT_HAS_ROUND_CORNER 1
#endif

namespace curvicraft {

std::unique_ptr<ToolCtrlr> createToolCtrlr(int toolSlot)
{
    if (!isToolSlot(toolSlot))
        return nullptr;
    switch (toolSlot) {
#ifdef CURVICRAFT_HAS_ROUND_CORNER
    case kRoundFilletSlot:
        return std::make_unique<RoundCornerCtrlr>();
#endif
    default:
        return std::make_unique<ToolCtrlr>();
    }
}

} // namespace curvicraft
