#include "RevRoundFillet.h"

#include "CornerSector.h"
#include "TwoPieceArc.h"
#include "geometry/PointMath.h"
#include "geometry/Tolerances.h"

#include <cmath>

namespace curvicraft {

bool computeRevRoundFillet(const PathSegment* segments, int count, bool closed, int anchorIndex,
                           const RealPoint& current, const RealPoint& press, const RadiusCornerSettings& settings,
                           RevRoundFillet& out)
{
    CornerNeighbours corner;
    if (!findStraightCorner(segments, count, closed, anchorIndex, corner))
        return false;
    const RealPoint o = segments[anchorIndex].anchor;
    CornerSector sector;
    if (!chooseCornerSector(o, segments[corner.prev].anchor, segments[corner.next].anchor, current,
                            NearStraightCorner::Accept, sector))
        return false;

    const double r = sizeForMode(sizeModeOf(settings.opeStyle), pointDistance(current, press), settings.snapSize,
                                 settings.fixedRadius);
    if (!(std::fabs(r) >= kMeetTolerance))
        return false;

    const double a = sector.alpha, b = sector.beta, h = sector.bisector;
    const RealPoint t1 = addPoints(o, polarPoint(r, a));
    const RealPoint t2 = addPoints(o, polarPoint(r, b));
    const RealPoint m = addPoints(o, polarPoint(r, h));
    // Each half of the arc spans half the sector, below 90 degrees since the sector is the cursor's.
    const ArcHandleLengths lengths = twoPieceArcHandles(r, sector.halfAngle * 180 / kPi);

    // Every handle is tangent to the circle and points along the arc towards its neighbouring point.
    const double turn = sector.alphaCcw ? -kHalfPi : kHalfPi;
    twoPieceArcSegments(t1, polarPoint(1, a + turn), m, polarPoint(1, h - turn), t2, polarPoint(1, b - turn), lengths,
                        out.arc);
    out.radius = r;

    for (const PathSegment& s : out.arc)
        if (!std::isfinite(s.anchor.x) || !std::isfinite(s.anchor.y) || !std::isfinite(s.in.x) ||
            !std::isfinite(s.in.y) || !std::isfinite(s.out.x) || !std::isfinite(s.out.y))
            return false;
    return true;
}

} // namespace curvicraft
