// The outline of a stroked path: the closed contours whose filled area (nonzero rule) is the stroke.
#pragma once

#include "cc_types.h"

#include <vector>

namespace minihost {

// Offsets every curve of the path by +-width/2 (each curve split into pieces fitted by cubic Hermite
// interpolation of the exact offset), with miter joins (limit 10, else bevel) on the outer side of a
// corner and a direct connection on the inner side, which the nonzero rule fills over. An open path
// gives one contour with butt caps; a closed path gives the outer contour and the inner one reversed.
// A path that draws no stroke (fewer than two distinct anchors, width not above 0) gives no contour.
std::vector<std::vector<CCPathSegment>> strokeOutline(const std::vector<CCPathSegment>& segments, bool closed,
                                                      double width);

} // namespace minihost
