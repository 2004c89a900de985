// Point and angle operations as small free functions. They compute exactly what the host's real-math
// suite computes, so a routine may use either and get the same bits; angles are kept in (-pi, pi] even
// where a signed zero would make atan2 answer -pi.
#pragma once

#include "PathModel.h"
#include "Tolerances.h"

#include <cmath>

namespace curvicraft {

// Angle of the vector from a to b, counter-clockwise from the positive x axis, in (-pi, pi].
// Coincident points give 0, whatever the signs of their zeros; atan2's -pi (a -0 y difference) is folded
// onto pi so that the range stays half-open.
inline double pointAngle(const RealPoint& a, const RealPoint& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    if (dx == 0 && dy == 0)
        return 0;
    const double angle = std::atan2(dy, dx);
    return angle == -kPi ? kPi : angle;
}

// Angle of a vector, that is pointAngle((0, 0), v).
inline double vectorAngle(const RealPoint& v)
{
    return pointAngle(RealPoint{0, 0}, v);
}

inline double pointDistance(const RealPoint& a, const RealPoint& b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

// The vector of a length in a direction.
inline RealPoint polarPoint(double length, double angle)
{
    return RealPoint{length * std::cos(angle), length * std::sin(angle)};
}

// Exact equality of both coordinates (a retracted handle equals its anchor).
inline bool pointsEqual(const RealPoint& a, const RealPoint& b)
{
    return a.x == b.x && a.y == b.y;
}

// a + t * (b - a); t = 0.5 gives the midpoint.
inline RealPoint interpolatePoints(const RealPoint& a, const RealPoint& b, double t)
{
    return RealPoint{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

inline RealPoint addPoints(const RealPoint& a, const RealPoint& b)
{
    return RealPoint{a.x + b.x, a.y + b.y};
}

inline RealPoint subtractPoints(const RealPoint& a, const RealPoint& b)
{
    return RealPoint{a.x - b.x, a.y - b.y};
}

} // namespace curvicraft
