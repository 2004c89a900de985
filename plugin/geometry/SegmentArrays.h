// Transforms of segment arrays in memory; nothing here touches the document.
#pragma once

#include "PathModel.h"

namespace curvicraft {

// Reverses the anchor order and swaps every record's in and out handles, so the array describes the same
// curves traversed backwards. One record only has its handles swapped; n <= 0 does nothing.
void reverseSegments(PathSegment* segments, int n);

// Reflects every anchor and handle across the line through the coordinate origin parallel to the chord
// from the first to the last anchor; corner flags stay. Callers re-place the array afterwards, so only the
// line's direction matters. A zero chord (one record, or ends that coincide) reflects across the x axis.
void mirrorSegmentsAlongChord(PathSegment* segments, int n);

} // namespace curvicraft
