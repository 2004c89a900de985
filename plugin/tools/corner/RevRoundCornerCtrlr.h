// The Reverse Round Fillet tool: cuts a sharp corner between two straight segments with a concave circular
// arc centred on the corner anchor, its radius the drag length (free), rounded up to a step (snap) or
// fixed, in the corner sector the drag points into.
#pragma once

#include "cc_messages.h"
#include "tools/framework/ToolCtrlr.h"

namespace curvicraft {

// The panel side of the tool; its settings are globals()->revRoundCorner.
class RevRoundCornerCtrlr : public ToolCtrlr {
  public:
    void writeMinValues(SettingsWriter& stream) override;
    void writeMaxValues(SettingsWriter& stream) override;
    CCErr writeParams(SettingsWriter& stream) override;
    // Also clears the last radius.
    CCErr readParams(std::string text) override;
    // The last radius, e.g. "30 pt".
    CCErr currentInfo(std::string& info) override;
};

CCErr revRoundCornerMouseDown(CCToolMessage* message);
CCErr revRoundCornerMouseDrag(CCToolMessage* message);
// Keeps the last step's cove; with Alt in free or snap mode the last radius becomes the fixed radius.
CCErr revRoundCornerMouseUp(CCToolMessage* message);

// Rebuilds the corner at an anchor of a path for globals()->currentPoint and pressPoint: the anchor is
// replaced by the three anchors of the cove, the path is selected and the last radius recorded. No guide
// is drawn. Geometry that does not qualify returns 0 and changes nothing; host errors are returned.
CCErr revRoundCornerAt(CCArtHandle path, int anchorIndex);

} // namespace curvicraft
