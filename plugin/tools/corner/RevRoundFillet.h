// The Reverse Round Fillet geometry without the host: a path's segments in, the three anchors of the cove
// centred on the corner out.
#pragma once

#include "geometry/PathModel.h"
#include "tools/framework/ToolSettings.h"

namespace curvicraft {

struct RevRoundFillet {
    PathSegment arc[3]{}; // replace the corner anchor: cut point on the previous line, arc midpoint, cut point
    double radius = 0;
};

// The concave arc about the corner anchor that spans the sector `current` lies in, from the cut point on
// the previous anchor's line through the sector's bisector to the cut point on the next anchor's line. In
// free mode the radius is the drag length |current - press|; snap mode rounds it up to the next step and
// fixed mode takes the fixed radius. A corner within one degree of straight is cut like any other; the cut points are
// not bounded by the neighbouring anchors.
//
// False, with `out` unspecified, when the geometry does not qualify: not a sharp corner between straight
// segments (or an end of an open path), no usable sector, a radius below 0.1, or a result that is not
// finite.
bool computeRevRoundFillet(const PathSegment* segments, int count, bool closed, int anchorIndex,
                           const RealPoint& current, const RealPoint& press, const RadiusCornerSettings& settings,
                           RevRoundFillet& out);

} // namespace curvicraft
