// The Round Fillet tool: replaces a sharp corner between two straight segments by a circular arc tangent to
// both, sized by the drag (free), rounded up to a step (snap) or fixed, in the corner sector the drag
// points into.
#pragma once

#include "cc_messages.h"
#include "tools/framework/ToolCtrlr.h"

namespace curvicraft {

// The panel side of the tool; its settings are globals()->roundCorner.
class RoundCornerCtrlr : public ToolCtrlr {
  public:
    void writeMinValues(SettingsWriter& stream) override;
    void writeMaxValues(SettingsWriter& stream) override;
    CCErr writeParams(SettingsWriter& stream) override;
    // Also clears the last radius.
    CCErr readParams(std::string text) override;
    // The last radius, e.g. "21.213 pt".
    CCErr currentInfo(std::string& info) override;
};

CCErr roundCornerMouseDown(CCToolMessage* message);
CCErr roundCornerMouseDrag(CCToolMessage* message);
// Keeps the last step's fillet; with Alt in free or snap mode the last radius becomes the fixed radius.
// The panel is told to reload the parameters.
CCErr roundCornerMouseUp(CCToolMessage* message);

// Rebuilds the corner at an anchor of a path for globals()->currentPoint and pressPoint: the anchor is
// replaced by the three anchors of the fillet, the path is selected, the last radius recorded and the
// radius guide (tangent point, centre, tangent point) drawn as tempArt. Geometry that does not qualify
// returns 0 and changes nothing; host errors are returned (a failed rewrite leaves the path as it was).
CCErr roundCornerAt(CCArtHandle path, int anchorIndex);

} // namespace curvicraft
