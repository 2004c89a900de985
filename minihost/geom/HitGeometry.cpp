#include "HitGeometry.h"

#include "BezierMath.h"

#include <algorithm>
#include <cmath>

namespace minihost {

namespace {

double dist2(const CCRealPoint& a, const CCRealPoint& b)
{
    double dx = a.x - b.x, dy = a.y - b.y;
    return dx * dx + dy * dy;
}

bool same(const CCRealPoint& a, const CCRealPoint& b)
{
    return a.x == b.x && a.y == b.y;
}

// t with 3t^2 - 2t^3 = s on [0, 1]: the parameter of a straight cubic at the fraction s of its chord.
double straightParameter(double s)
{
    double lo = 0, hi = 1;
    for (int i = 0; i < 60; ++i) {
        double mid = 0.5 * (lo + hi);
        if (mid * mid * (3 - 2 * mid) < s)
            lo = mid;
        else
            hi = mid;
    }
    return 0.5 * (lo + hi);
}

} // namespace

PointBox pathBox(const std::vector<CCPathSegment>& segments)
{
    PointBox box;
    for (const CCPathSegment& s : segments) {
        box.add(s.anchor);
        box.add(s.in);
        box.add(s.out);
    }
    return box;
}

NearestPoint nearestPointOnBezier(const CCBezier& b, const CCRealPoint& p)
{
    NearestPoint best;
    if (same(b.p0, b.p1) && same(b.p2, b.p3)) {
        double dx = b.p3.x - b.p0.x, dy = b.p3.y - b.p0.y;
        double len2 = dx * dx + dy * dy;
        double s = len2 > 0 ? std::clamp(((p.x - b.p0.x) * dx + (p.y - b.p0.y) * dy) / len2, 0.0, 1.0) : 0.0;
        best.t = s <= 0 ? 0 : s >= 1 ? 1 : straightParameter(s);
        best.point = s >= 1 ? b.p3 : CCRealPoint{b.p0.x + s * dx, b.p0.y + s * dy};
        best.distance = std::sqrt(dist2(best.point, p));
        return best;
    }

    constexpr int kSamples = 32;
    int bestIndex = 0;
    double bestD2 = dist2(b.p0, p);
    for (int i = 1; i <= kSamples; ++i) {
        double d2 = dist2(bezierPoint(b, double(i) / kSamples), p);
        if (d2 < bestD2) {
            bestD2 = d2;
            bestIndex = i;
        }
    }
    // Golden-section search on the two sample intervals around the best sample.
    double lo = std::max(0.0, double(bestIndex - 1) / kSamples);
    double hi = std::min(1.0, double(bestIndex + 1) / kSamples);
    const double g = 0.5 * (std::sqrt(5.0) - 1);
    double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo);
    double f1 = dist2(bezierPoint(b, x1), p), f2 = dist2(bezierPoint(b, x2), p);
    for (int i = 0; i < 60 && hi - lo > 1e-13; ++i) {
        if (f1 < f2) {
            hi = x2;
            x2 = x1;
            f2 = f1;
            x1 = hi - g * (hi - lo);
            f1 = dist2(bezierPoint(b, x1), p);
        } else {
            lo = x1;
            x1 = x2;
            f1 = f2;
            x2 = lo + g * (hi - lo);
            f2 = dist2(bezierPoint(b, x2), p);
        }
    }
    double t = 0.5 * (lo + hi);
    CCRealPoint at = bezierPoint(b, t);
    double d2 = dist2(at, p);
    // The ends are candidates of their own: the minimum may sit exactly on one.
    for (double end : {0.0, 1.0}) {
        CCRealPoint q = end == 0 ? b.p0 : b.p3;
        if (dist2(q, p) < d2) {
            t = end;
            at = q;
            d2 = dist2(q, p);
        }
    }
    best.t = t;
    best.point = t == 0 ? b.p0 : t == 1 ? b.p3 : at;
    best.distance = std::sqrt(d2);
    return best;
}

int lineWinding(const CCRealPoint& a, const CCRealPoint& b, const CCRealPoint& p)
{
    double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
    if (a.y <= p.y)
        return b.y > p.y && side > 0 ? 1 : 0;
    return b.y <= p.y && side < 0 ? -1 : 0;
}

namespace {

int windingRec(const CCBezier& b, const CCRealPoint& p, int depth)
{
    double minX = std::min({b.p0.x, b.p1.x, b.p2.x, b.p3.x}), maxX = std::max({b.p0.x, b.p1.x, b.p2.x, b.p3.x});
    double minY = std::min({b.p0.y, b.p1.y, b.p2.y, b.p3.y}), maxY = std::max({b.p0.y, b.p1.y, b.p2.y, b.p3.y});
    // Outside the control hull's box the cubic winds about p exactly as its chord does.
    if (p.x < minX || p.x > maxX || p.y < minY || p.y > maxY || depth == 0)
        return lineWinding(b.p0, b.p3, p);
    CCBezier first, second;
    bezierDivide(b, 0.5, first, second);
    return windingRec(first, p, depth - 1) + windingRec(second, p, depth - 1);
}

} // namespace

int bezierWinding(const CCBezier& b, const CCRealPoint& p)
{
    return windingRec(b, p, 24);
}

} // namespace minihost
