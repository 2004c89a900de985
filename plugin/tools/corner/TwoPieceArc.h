// The two-piece arc the fillet tools put in place of a corner: a circular arc from one tangent point
// through its midpoint to the other, drawn as two cubic pieces whose handle lengths come from two tables
// of ratios for the half-arc angle.
#pragma once

#include "geometry/PathModel.h"

namespace curvicraft {

// Ratios of the end and the mid handle of each piece to kQuarterArcHandle times the radius, for the
// half-arc angle 5*i degrees (i = 0..18). The trailing 0 is only ever weighted by 0 (a half-arc of
// exactly 90 degrees).
extern const double kArcEndHandleRatio[20];
extern const double kArcMidHandleRatio[20];

struct ArcHandleLengths {
    double end = 0; // the handles at the two tangent points
    double mid = 0; // both handles at the arc's midpoint
};

// Handle lengths for an arc of `radius` whose halves each span `halfArcDegrees`, interpolated linearly
// between the 5-degree entries. Angles outside [0, 90] are clamped to it, so the table is never read out
// of range; a negative radius gives negative lengths (handles pointing the other way).
ArcHandleLengths twoPieceArcHandles(double radius, double halfArcDegrees);

// The three anchors of the arc in path order: the first tangent point (out handle along firstDir), the
// smooth midpoint (in handle along midInDir, out handle opposite) and the second tangent point (in handle
// along secondDir). The directions are unit vectors; the tangent points are corners, the midpoint smooth.
void twoPieceArcSegments(const RealPoint& first, const RealPoint& firstDir, const RealPoint& mid,
                         const RealPoint& midInDir, const RealPoint& second, const RealPoint& secondDir,
                         const ArcHandleLengths& lengths, PathSegment out[3]);

} // namespace curvicraft
