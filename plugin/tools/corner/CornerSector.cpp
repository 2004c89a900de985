#include "CornerSector.h"

#include "geometry/CurveMath.h"
#include "geometry/PointMath.h"
#include "geometry/Tolerances.h"

#include <cmath>

namespace curvicraft {

namespace {

RealPoint along(const RealPoint& p, double angle)
{
    return addPoints(p, polarPoint(100, angle));
}

double positiveAngle(double angle)
{
    return angle < 0 ? angle + kTwoPi : angle;
}

} // namespace

bool findStraightCorner(const PathSegment* segments, int count, bool closed, int anchorIndex, CornerNeighbours& out)
{
    if (count < 3 || anchorIndex < 0 || anchorIndex >= count)
        return false;
    if (!closed && (anchorIndex == 0 || anchorIndex == count - 1))
        return false;
    const int prev = anchorIndex == 0 ? count - 1 : anchorIndex - 1;
    const int next = anchorIndex == count - 1 ? 0 : anchorIndex + 1;
    const PathSegment& p = segments[prev];
    const PathSegment& c = segments[anchorIndex];
    const PathSegment& n = segments[next];
    if (!pointsEqual(p.out, p.anchor) || !pointsEqual(c.in, c.anchor) || !pointsEqual(c.out, c.anchor) ||
        !pointsEqual(n.in, n.anchor))
        return false;
    out.prev = prev;
    out.next = next;
    return true;
}

bool chooseCornerSector(const RealPoint& corner, const RealPoint& prevAnchor, const RealPoint& nextAnchor,
                        const RealPoint& cursor, NearStraightCorner nearStraight, CornerSector& out)
{
    const RealPoint& o = corner;
    const RealPoint& p = cursor;
    if (pointsEqual(p, o))
        return false;

    const double gamma = pointAngle(o, p);
    const double phiPrev = pointAngle(o, prevAnchor);
    const double phiNext = pointAngle(o, nextAnchor);
    if (anglesCollinear(phiPrev, gamma, kAngle001Deg) || anglesCollinear(phiNext, gamma, kAngle001Deg))
        return false;

    // P - O = (A - O) + (B - O), with A on the previous anchor's line and B on the next one's.
    RealPoint a{}, b{};
    if (!intersectLines(prevAnchor, o, p, along(p, phiNext), a))
        return false;
    if (!intersectLines(nextAnchor, o, p, along(p, phiPrev), b))
        return false;
    if (pointDistance(a, o) < kCoordTolerance || pointDistance(b, o) < kCoordTolerance)
        return false;

    const double alpha = positiveAngle(pointAngle(o, a));
    const double beta = positiveAngle(pointAngle(o, b));
    const double e = std::fabs(beta - alpha) / 2;
    const double g = (alpha + beta) / 2;
    bool alphaCcw = alpha > beta;
    double f = e, h = g;
    const bool nearlyStraight = std::fabs(e - kHalfPi) < kAngle05Deg;
    if (nearlyStraight && nearStraight == NearStraightCorner::Refuse)
        return false;
    // The rays span more than a half turn the short way round: the sector lies on the other side.
    if (e > kHalfPi) {
        f = kPi - e;
        h = g - kPi;
        alphaCcw = !alphaCcw;
    }
    if (!(f > 0)) // also refuses a NaN cursor
        return false;

    out.alpha = alpha;
    out.beta = beta;
    out.halfAngle = f;
    out.bisector = h;
    out.alphaCcw = alphaCcw;
    out.alongPrev = subtractPoints(a, o);
    out.alongNext = subtractPoints(b, o);
    return true;
}

SizeMode sizeModeOf(std::int16_t opeStyle)
{
    switch (opeStyle) {
    case 1:
        return SizeMode::Snap;
    case 2:
        return SizeMode::Fixed;
    default:
        return SizeMode::Free;
    }
}

double sizeForMode(SizeMode mode, double freeSize, double snapSize, double fixedSize)
{
    double size = freeSize;
    if (mode == SizeMode::Fixed)
        size = fixedSize;
    else if (mode == SizeMode::Snap)
        size = snapSize == 0 ? 0 : (std::floor(freeSize / snapSize) + 1) * snapSize;
    return std::isfinite(size) ? size : 0;
}

} // namespace curvicraft
