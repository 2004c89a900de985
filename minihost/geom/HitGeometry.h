// Point-to-curve measurements for hit testing: the nearest point of a cubic and winding numbers.
#pragma once

#include "cc_types.h"

namespace minihost {

struct NearestPoint {
    double t = 0;          // parameter on the cubic
    CCRealPoint point{};   // the cubic's point at t
    double distance = 0;   // from the query point
};

// The point of a cubic nearest to p. A straight cubic (both handles retracted) is projected exactly and
// its t solved from the cubic's own parameterisation; other cubics are sampled and then refined, which
// finds the global minimum for any cubic without a loop tighter than a sixteenth of its parameter range.
NearestPoint nearestPointOnBezier(const CCBezier& b, const CCRealPoint& p);

// Winding number contribution of the cubic about p (a ray towards +x; upward crossings count +1).
// The contributions of a closed chain of cubics add up to its winding number about p.
int bezierWinding(const CCBezier& b, const CCRealPoint& p);
int lineWinding(const CCRealPoint& a, const CCRealPoint& b, const CCRealPoint& p);

} // namespace minihost
