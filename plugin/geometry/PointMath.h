// Point and angle operations as small free functions. They compute exactly what the host's real-math
// suite computes, so a routine may use either and get the same bits.
#pragma once

#include "PathModel.h"
#include "Tolerances.h"

#include <cmath>

namespace curvicraft {

// Angle of the vector from a to b, counter-clockwise from the positive x axis, in (-pi, pi].
// Coincident points give 0. atan2's -pi (a -0 y component) is folded onto pi to keep the range half-open.
inline double pointAngle(const RealPoint& a, const RealPoint& b)
{
    double angle = std::atan2(b.y - a.y, b.x - a.x);
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
