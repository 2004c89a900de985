// Point-to-curve measurements for hit testing: the nearest point of a cubic and winding numbers.
#pragma once

#include "cc_types.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace minihost {

// The box around a set of points. NaN coordinates are left out; a box without points is near nothing.
struct PointBox {
    double left = std::numeric_limits<double>::infinity(), bottom = left;
    double right = -left, top = -left;
    void add(const CCRealPoint& p)
    {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
    bool near(const CCRealPoint& p, double tol) const
    {
        return p.x >= left - tol && p.x <= right + tol && p.y >= bottom - tol && p.y <= top + tol;
    }
    bool empty() const { return !(left <= right && bottom <= top); }
};

// The box around a path's anchors and both handles of every anchor: nothing of the path can be hit
// farther than the tolerance outside it.
PointBox pathBox(const std::vector<CCPathSegment>& segments);

struct NearestPoint {
    double t = 0;        // parameter on the cubic
    CCRealPoint point{}; // the cubic's point at t
    double distance = 0; // from the query point
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
