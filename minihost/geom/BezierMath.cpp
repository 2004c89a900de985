#include "BezierMath.h"

#include <array>
#include <cmath>
#include <utility>

namespace minihost {

namespace {

constexpr int kOrder = 12;

// Gauss-Legendre nodes and weights on [-1, 1], found once by Newton's method on the Legendre polynomial.
struct GaussLegendre {
    std::array<double, kOrder> x{}, w{};
    GaussLegendre()
    {
        const double pi = 3.14159265358979323846;
        for (int i = 0; i < kOrder; ++i) {
            double z = std::cos(pi * (i + 0.75) / (kOrder + 0.5));
            double dp = 0;
            for (int iter = 0; iter < 100; ++iter) {
                double p0 = 1, p1 = z;
                for (int k = 2; k <= kOrder; ++k) {
                    double pk = ((2 * k - 1) * z * p1 - (k - 1) * p0) / k;
                    p0 = p1;
                    p1 = pk;
                }
                dp = kOrder * (z * p1 - p0) / (z * z - 1);
                double dz = p1 / dp;
                z -= dz;
                if (std::fabs(dz) < 1e-16)
                    break;
            }
            x[i] = z;
            w[i] = 2 / ((1 - z * z) * dp * dp);
        }
    }
};

const GaussLegendre& rule()
{
    static const GaussLegendre g;
    return g;
}

// B'(t) = a t^2 + b t + c with a = 3(-p0 + 3p1 - 3p2 + p3), b = 6(p0 - 2p1 + p2), c = 3(p1 - p0).
struct Speed {
    double ax, ay, bx, by, cx, cy;
    explicit Speed(const CCBezier& z)
        : ax(3 * (-z.p0.x + 3 * z.p1.x - 3 * z.p2.x + z.p3.x)), ay(3 * (-z.p0.y + 3 * z.p1.y - 3 * z.p2.y + z.p3.y)),
          bx(6 * (z.p0.x - 2 * z.p1.x + z.p2.x)), by(6 * (z.p0.y - 2 * z.p1.y + z.p2.y)), cx(3 * (z.p1.x - z.p0.x)),
          cy(3 * (z.p1.y - z.p0.y))
    {
    }
    double operator()(double t) const
    {
        double dx = (ax * t + bx) * t + cx;
        double dy = (ay * t + by) * t + cy;
        return std::hypot(dx, dy);
    }
};

double gauss(const Speed& s, double a, double b)
{
    const GaussLegendre& g = rule();
    double half = 0.5 * (b - a), mid = 0.5 * (a + b), sum = 0;
    for (int i = 0; i < kOrder; ++i)
        sum += g.w[i] * s(mid + half * g.x[i]);
    return sum * half;
}

double adapt(const Speed& s, double a, double b, double whole, double tol, int depth)
{
    double m = 0.5 * (a + b);
    double left = gauss(s, a, m), right = gauss(s, m, b);
    double both = left + right;
    // A cusp (speed going to zero) only slows convergence; depth bounds the work in any case.
    if (depth >= 40 || std::fabs(both - whole) <= tol)
        return both;
    return adapt(s, a, m, left, 0.5 * tol, depth + 1) + adapt(s, m, b, right, 0.5 * tol, depth + 1);
}

double polygonLength(const CCBezier& b)
{
    return std::hypot(b.p1.x - b.p0.x, b.p1.y - b.p0.y) + std::hypot(b.p2.x - b.p1.x, b.p2.y - b.p1.y) +
           std::hypot(b.p3.x - b.p2.x, b.p3.y - b.p2.y);
}

CCRealPoint lerp(const CCRealPoint& a, const CCRealPoint& b, double t)
{
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

// Parameters in (t0, t1) where the speed has a local extremum: roots of d/dt |B'|^2, a cubic. Splitting
// there leaves pieces on which the speed is monotone, so a near-cusp (speed almost 0) sits at a piece's end,
// where the quadrature's error estimate is reliable, instead of hiding between its nodes.
int speedExtrema(const Speed& s, double t0, double t1, double out[3])
{
    double aa = s.ax * s.ax + s.ay * s.ay, ab = s.ax * s.bx + s.ay * s.by, ac = s.ax * s.cx + s.ay * s.cy;
    double bb = s.bx * s.bx + s.by * s.by, bc = s.bx * s.cx + s.by * s.cy;
    double k3 = 2 * aa, k2 = 3 * ab, k1 = bb + 2 * ac, k0 = bc;
    auto f = [&](double t) { return ((k3 * t + k2) * t + k1) * t + k0; };
    // Split [t0, t1] where the cubic's own derivative vanishes, then bisect each monotone run for a sign change.
    double cuts[4] = {t0, 0, 0, 0};
    int nc = 1;
    double qa = 3 * k3, qb = 2 * k2, qc = k1;
    if (qa != 0) {
        double disc = qb * qb - 4 * qa * qc;
        if (disc > 0) {
            double r = std::sqrt(disc);
            double u = (-qb - r) / (2 * qa), v = (-qb + r) / (2 * qa);
            if (u > v)
                std::swap(u, v);
            if (u > t0 && u < t1)
                cuts[nc++] = u;
            if (v > t0 && v < t1)
                cuts[nc++] = v;
        }
    } else if (qb != 0) {
        double u = -qc / qb;
        if (u > t0 && u < t1)
            cuts[nc++] = u;
    }
    cuts[nc++] = t1;
    int n = 0;
    for (int i = 0; i + 1 < nc; ++i) {
        double lo = cuts[i], hi = cuts[i + 1], flo = f(lo), fhi = f(hi);
        if (!(flo < 0 && fhi > 0) && !(flo > 0 && fhi < 0))
            continue;
        for (int k = 0; k < 80 && hi - lo > 1e-17; ++k) {
            double mid = 0.5 * (lo + hi), fm = f(mid);
            if ((fm < 0) == (flo < 0)) {
                lo = mid;
                flo = fm;
            } else {
                hi = mid;
            }
        }
        double root = 0.5 * (lo + hi);
        if (root > t0 && root < t1 && n < 3)
            out[n++] = root;
    }
    return n;
}

} // namespace

double bezierArcLength(const CCBezier& b, double t0, double t1, double tolerance)
{
    Speed s(b);
    if (!std::isfinite(s.ax + s.ay + s.bx + s.by + s.cx + s.cy) || !std::isfinite(t0 + t1))
        return std::nan("");
    if (!(tolerance > 0))
        tolerance = 1e-12;
    double cuts[5] = {t0, 0, 0, 0, 0};
    int n = 1 + speedExtrema(s, t0, t1, cuts + 1);
    cuts[n++] = t1;
    double total = 0;
    for (int i = 0; i + 1 < n; ++i) {
        double a = cuts[i], c = cuts[i + 1];
        total += adapt(s, a, c, gauss(s, a, c), tolerance / (n - 1), 0);
    }
    return total;
}

double bezierArcLength(const CCBezier& b, double flatness)
{
    double scale = polygonLength(b);
    if (!std::isfinite(scale))
        return std::nan("");
    if (scale == 0)
        return 0;
    double tol = scale * 1e-10;
    if (flatness > 0 && flatness < tol)
        tol = flatness;
    return bezierArcLength(b, 0, 1, tol);
}

void bezierDivide(const CCBezier& b, double t, CCBezier& first, CCBezier& second)
{
    CCRealPoint p01 = lerp(b.p0, b.p1, t), p12 = lerp(b.p1, b.p2, t), p23 = lerp(b.p2, b.p3, t);
    CCRealPoint p012 = lerp(p01, p12, t), p123 = lerp(p12, p23, t);
    CCRealPoint m = lerp(p012, p123, t);
    CCBezier f{b.p0, p01, p012, m}, s{m, p123, p23, b.p3};
    first = f;
    second = s;
}

CCRealPoint bezierPoint(const CCBezier& b, double t)
{
    double u = 1 - t;
    double c0 = u * u * u, c1 = 3 * u * u * t, c2 = 3 * u * t * t, c3 = t * t * t;
    return {c0 * b.p0.x + c1 * b.p1.x + c2 * b.p2.x + c3 * b.p3.x, c0 * b.p0.y + c1 * b.p1.y + c2 * b.p2.y + c3 * b.p3.y};
}

CCRealPoint bezierDerivative(const CCBezier& b, double t)
{
    double u = 1 - t;
    return {3 * (u * u * (b.p1.x - b.p0.x) + 2 * u * t * (b.p2.x - b.p1.x) + t * t * (b.p3.x - b.p2.x)),
            3 * (u * u * (b.p1.y - b.p0.y) + 2 * u * t * (b.p2.y - b.p1.y) + t * t * (b.p3.y - b.p2.y))};
}

double bezierParameterAtLength(const CCBezier& b, double length, double tolerance)
{
    double total = bezierArcLength(b, 0, 1, tolerance);
    if (!(length > 0) || !std::isfinite(total))
        return 0;
    if (length >= total)
        return 1;
    // Bisection on the monotone arc length; 60 halvings reach double precision in t.
    double lo = 0, hi = 1;
    for (int i = 0; i < 60 && hi - lo > 1e-15; ++i) {
        double mid = 0.5 * (lo + hi);
        if (bezierArcLength(b, 0, mid, tolerance) < length)
            lo = mid;
        else
            hi = mid;
    }
    return 0.5 * (lo + hi);
}

} // namespace minihost
