// Making a hit anchor smooth: its handles are put on one line through it. Both routines read the whole
// path into a segment buffer, change one anchor and write the whole array back. Paths with fewer than two
// anchors and hits they do not apply to are left alone (0 is returned).
#pragma once

#include "PathModel.h"

namespace curvicraft {

// Curve hit with parameter t: smooths the curve's end anchor when t >= 0.5, else its start anchor. A
// retracted inner handle is first pulled out a third of the way toward the curve's other inner handle when
// the anchor has a neighbour beyond it; a handle that stays retracted means nothing is written. The handle
// is then turned opposite the anchor's other handle (or, when that is retracted, the neighbour's facing
// handle), keeping its length. With no reference direction the anchor is only marked a corner.
CCErr smoothAnchorAtCurve(const ToolHit& hit);

// Out- or in-handle hit on anchor k: turns the clicked handle to continue the line of the opposite handle
// (or, when that is retracted, the neighbour's facing handle), keeping its length, and marks k smooth. A
// retracted clicked handle changes nothing; with no reference direction k is only marked a corner.
CCErr smoothAnchorAtHandle(const ToolHit& hit);

} // namespace curvicraft
