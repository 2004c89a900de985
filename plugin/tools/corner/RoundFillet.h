// The Round Fillet geometry without the host: a path's segments in, the three anchors of the fillet and
// the radius guide out.
#pragma once

#include "geometry/PathModel.h"
#include "tools/framework/ToolSettings.h"

namespace curvicraft {

struct RoundFillet {
    PathSegment arc[3]{}; // replace the corner anchor: first tangent point, arc midpoint, second tangent point
    RealPoint guide[3]{}; // first tangent point, circle centre, second tangent point
    RealPoint centre{};
    double radius = 0;
};

// The circular fillet tangent to both segments at anchor `anchorIndex`, in the sector of the corner that
// `current` lies in. In free mode the circle's centre lies at the drag distance |current - press| from the
// corner along the sector's bisector; snap mode rounds the radius up to the next step and fixed mode takes
// the fixed radius. The tangent points are not bounded by the neighbouring anchors.
//
// False, with `out` unspecified, when the geometry does not qualify: not a sharp corner between straight
// segments (or an end of an open path), no usable sector (cursor on the corner or on a corner line, the
// corner within one degree of straight), a radius below 0.1, or a result that is not finite.
bool computeRoundFillet(const PathSegment* segments, int count, bool closed, int anchorIndex, const RealPoint& current,
                        const RealPoint& press, const RadiusCornerSettings& settings, RoundFillet& out);

} // namespace curvicraft
