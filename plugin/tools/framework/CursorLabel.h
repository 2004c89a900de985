// The measurement label drawn next to the cursor while a tool that shows one is pressed.
#pragma once

#include "cc_suites.h"
#include "geometry/PathModel.h"

namespace curvicraft {

class ToolCtrlr;

// Draws the controller's current measurement through the annotation drawer: a gray box with black text,
// 16 pixels right of and below labelPoint in view coordinates. *area becomes the view rectangle drawn,
// for the next invalidation; an empty text draws nothing and leaves *area empty.
CCErr cursorLabel(void* drawer, ToolCtrlr& ctrlr, const RealPoint& labelPoint, CCRect32* area);

} // namespace curvicraft
