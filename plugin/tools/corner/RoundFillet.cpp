#include "RoundFillet.h"

#include "CornerSector.h"
#include "TwoPieceArc.h"
#include "geometry/CurveMath.h"
#include "geometry/PointMath.h"
#include "geometry/Tolerances.h"

#include <cmath>

namespace curvicraft {

namespace {

double reducedAngle(double angle)
{
    return angle > kTwoPi ? angle - kTwoPi : angle;
}

bool finitePoint(const RealPoint& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

} // namespace

bool computeRoundFillet(const PathSegment* segments, int count, bool closed, int anchorIndex, const RealPoint& current,
                        const RealPoint& press, const RadiusCornerSettings& settings, RoundFillet& out)
{
    CornerNeighbours corner;
    if (!findStraightCorner(segments, count, closed, anchorIndex, corner))
        return false;
    const RealPoint o = segments[anchorIndex].anchor;
    const RealPoint prev = segments[corner.prev].anchor;
    const RealPoint next = segments[corner.next].anchor;

    CornerSector sector;
    if (!chooseCornerSector(o, prev, next, current, NearStraightCorner::Refuse, sector))
        return false;
    const double f = sector.halfAngle;
    const double h = sector.bisector;
    const double sinF = std::sin(f);

    // The free radius puts the circle's centre at the drag distance from the corner.
    const double r = sizeForMode(sizeModeOf(settings.opeStyle), pointDistance(current, press) * sinF, settings.snapSize,
                                 settings.fixedRadius);
    if (!(std::fabs(r) >= kMeetTolerance))
        return false;

    const double d = r / sinF;
    const RealPoint c = addPoints(o, polarPoint(d, h));

    // Tangent points: the feet of the perpendiculars from the centre on the two corner lines.
    RealPoint t1{}, t2{};
    if (!intersectLines(prev, o, c, addPoints(c, polarPoint(100, reducedAngle(sector.alpha + kHalfPi))), t1))
        return false;
    if (!intersectLines(next, o, c, addPoints(c, polarPoint(100, reducedAngle(sector.beta + kHalfPi))), t2))
        return false;

    const RealPoint m = addPoints(o, polarPoint(d - r, h));
    const double thetaDegrees = 90 - f * 180 / kPi;
    const ArcHandleLengths lengths = twoPieceArcHandles(r, thetaDegrees);

    // The end handles run along the segments towards the corner; the mid handles are perpendicular to the
    // bisector, the in handle on the side of the first tangent point.
    const RealPoint u1 = polarPoint(1, pointAngle(t1, o));
    const RealPoint u2 = polarPoint(1, pointAngle(t2, o));
    const RealPoint w = polarPoint(1, sector.alphaCcw ? h + kHalfPi : h - kHalfPi);
    twoPieceArcSegments(t1, u1, m, w, t2, u2, lengths, out.arc);

    out.guide[0] = t1;
    out.guide[1] = c;
    out.guide[2] = t2;
    out.centre = c;
    out.radius = r;

    for (const PathSegment& s : out.arc)
        if (!finitePoint(s.anchor) || !finitePoint(s.in) || !finitePoint(s.out))
            return false;
    return true;
}

} // namespace curvicraft
