// The drawing tools' path in progress: whether it is a lone start anchor, and closing it when its ends meet.
#pragma once

#include "PathModel.h"

namespace curvicraft {

// Whether *path is an open, selected path of exactly one anchor (a click that has only started a path).
// Null or closed or unselected: lone 0, result 0. A stale handle: *path := null, lone 0, result 0. One
// anchor: lone 1, result 0. Any other count, or a failed read: result 1 and lone is left as it was.
CCErr isLoneStartAnchor(ArtHandle* path, CCBool32* lone);

// Closes an open path of at least minimum anchors (and at least two) whose first and last anchors lie
// within 0.1 on each axis: the first record takes the last one's in handle, the last anchor is dropped, and
// the merged anchor is smooth when its handles point in opposite directions within 0.1 degree. With snap,
// a first-anchor coordinate within 0.001 of the last-but-one anchor's takes that value, so a closing side
// drawn horizontally or vertically stays exact. Returns 1 when it closed the path, else 0 (also on a host
// failure, when writes made before it stay).
int closePathIfEndsMeet(ArtHandle path, int minimum, bool snap);

} // namespace curvicraft
