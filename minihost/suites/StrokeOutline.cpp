#include "StrokeOutline_p.h"

#include <cmath>
#include <optional>

namespace minihost {

namespace {

struct V {
    double x = 0, y = 0;
};
V operator+(V a, V b)
{
    return {a.x + b.x, a.y + b.y};
}
V operator-(V a, V b)
{
    return {a.x - b.x, a.y - b.y};
}
V operator*(double s, V a)
{
    return {s * a.x, s * a.y};
}
double dot(V a, V b)
{
    return a.x * b.x + a.y * b.y;
}
double cross(V a, V b)
{
    return a.x * b.y - a.y * b.x;
}
double length(V a)
{
    return std::hypot(a.x, a.y);
}
V unit(V a)
{
    double l = length(a);
    return l > 0 ? V{a.x / l, a.y / l} : V{};
}
V left(V a)
{
    return {-a.y, a.x};
} // a turned a quarter counter-clockwise
V of(const CCRealPoint& p)
{
    return {p.x, p.y};
}
bool same(V a, V b)
{
    return a.x == b.x && a.y == b.y;
}

struct Cubic {
    V p0, p1, p2, p3;
    bool corner = true; // the outline has a corner where this piece starts
};

Cubic line(V a, V b)
{
    return {a, a, b, b, true};
}

V at(const Cubic& c, double t)
{
    double u = 1 - t;
    return u * u * u * c.p0 + 3 * u * u * t * c.p1 + 3 * u * t * t * c.p2 + t * t * t * c.p3;
}
V d1(const Cubic& c, double t)
{
    double u = 1 - t;
    return 3 * u * u * (c.p1 - c.p0) + 6 * u * t * (c.p2 - c.p1) + 3 * t * t * (c.p3 - c.p2);
}
V d2(const Cubic& c, double t)
{
    return 6 * (1 - t) * (c.p2 - 2 * c.p1 + c.p0) + 6 * t * (c.p3 - 2 * c.p2 + c.p1);
}

// Unit tangent at t; where the derivative vanishes (a retracted handle) the limit direction is used.
V tangent(const Cubic& c, double t)
{
    V v = d1(c, t);
    if (length(v) > 1e-12 * (1 + length(c.p3 - c.p0)))
        return unit(v);
    if (t <= 0.5) {
        for (V p : {c.p1, c.p2, c.p3})
            if (!same(p, c.p0))
                return unit(p - c.p0);
    } else {
        for (V p : {c.p2, c.p1, c.p0})
            if (!same(p, c.p3))
                return unit(c.p3 - p);
    }
    return {};
}

bool degenerate(const Cubic& c)
{
    return same(c.p0, c.p1) && same(c.p1, c.p2) && same(c.p2, c.p3);
}

constexpr int kPiecesPerCurve = 8;
constexpr double kMiterLimit = 10;

// The pieces of one curve offset by d along its left normal.
void offsetCurve(const Cubic& c, double d, std::vector<Cubic>& out)
{
    if (same(c.p0, c.p1) && same(c.p2, c.p3)) {
        V n = d * left(unit(c.p3 - c.p0));
        out.push_back(line(c.p0 + n, c.p3 + n));
        return;
    }
    auto offsetPoint = [&](double t) { return at(c, t) + d * left(tangent(c, t)); };
    // Derivative of the offset curve: B' (1 - d k), k the signed curvature; 0 where B' vanishes.
    auto offsetSpeed = [&](double t) {
        V v = d1(c, t);
        double s = length(v);
        if (s < 1e-12)
            return V{};
        double k = cross(v, d2(c, t)) / (s * s * s);
        return (1 - d * k) * v;
    };
    for (int i = 0; i < kPiecesPerCurve; ++i) {
        double t0 = double(i) / kPiecesPerCurve, t1 = double(i + 1) / kPiecesPerCurve, h = (t1 - t0) / 3;
        V q0 = i == 0 ? offsetPoint(0) : out.back().p3;
        V q3 = offsetPoint(t1);
        out.push_back({q0, q0 + h * offsetSpeed(t0), q3 - h * offsetSpeed(t1), q3, i == 0});
    }
}

bool smooth(V tin, V tout)
{
    return dot(tin, tout) > 0 && std::fabs(cross(tin, tout)) < 1e-9;
}

// Connects `from` (end of a side so far, arriving along tin) to `to` (start of the next curve's offset,
// leaving along tout) around the anchor; outer corners get a miter within the limit, else a bevel.
// Points closer than rounding are taken as one. Returns whether it added pieces.
bool join(V anchor, V from, V tin, V to, V tout, double d, std::vector<Cubic>& out)
{
    if (length(to - from) <= 1e-9 * (1 + std::fabs(d)))
        return false;
    double turn = cross(tin, tout);
    bool outer = d * turn < 0;
    if (outer && std::fabs(turn) > 1e-12) {
        // from + s tin = to - u tout
        double s = cross(to - from, tout) / turn;
        V miter = from + s * tin;
        if (s >= 0 && length(miter - anchor) <= kMiterLimit * std::fabs(d)) {
            out.push_back(line(from, miter));
            out.push_back(line(miter, to));
            return true;
        }
    }
    out.push_back(line(from, to));
    return true;
}

// One side of the stroke, every curve offset by d and joined to the next.
std::vector<Cubic> side(const std::vector<Cubic>& curves, bool closed, double d)
{
    std::vector<Cubic> out;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const Cubic& c = curves[i];
        std::vector<Cubic> pieces;
        offsetCurve(c, d, pieces);
        if (i > 0) {
            V tin = tangent(curves[i - 1], 1), tout = tangent(c, 0);
            bool joined = join(c.p0, out.back().p3, tin, pieces.front().p0, tout, d, out);
            pieces.front().corner = joined || !smooth(tin, tout);
            pieces.front().p0 = out.back().p3; // exact continuity
        }
        out.insert(out.end(), pieces.begin(), pieces.end());
    }
    if (closed) {
        V tin = tangent(curves.back(), 1), tout = tangent(curves.front(), 0);
        std::vector<Cubic> tail;
        bool joined = join(curves.front().p0, out.back().p3, tin, out.front().p0, tout, d, tail);
        out.insert(out.end(), tail.begin(), tail.end());
        out.back().p3 = out.front().p0;
        out.front().corner = joined || !smooth(tin, tout);
    }
    return out;
}

// The same pieces traversed backwards. A reversed piece starts where the original's successor started,
// so it takes that piece's corner flag; the end of an open chain is a corner.
std::vector<Cubic> reversed(const std::vector<Cubic>& pieces, bool closed)
{
    std::size_t m = pieces.size();
    std::vector<Cubic> out;
    for (std::size_t i = 0; i < m; ++i) {
        const Cubic& c = pieces[m - 1 - i];
        bool corner = i == 0 ? (closed ? pieces[0].corner : true) : pieces[m - i].corner;
        out.push_back({c.p3, c.p2, c.p1, c.p0, corner});
    }
    return out;
}

std::vector<CCPathSegment> toSegments(const std::vector<Cubic>& pieces)
{
    std::vector<CCPathSegment> segs(pieces.size());
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const Cubic& c = pieces[k];
        segs[k].anchor = {c.p0.x, c.p0.y};
        segs[k].out = {c.p1.x, c.p1.y};
        segs[k].corner = c.corner ? 1 : 0;
        segs[(k + 1) % pieces.size()].in = {c.p2.x, c.p2.y};
    }
    return segs;
}

} // namespace

std::vector<std::vector<CCPathSegment>> strokeOutline(const std::vector<CCPathSegment>& segments, bool closed,
                                                      double width)
{
    if (!(width > 0) || !std::isfinite(width))
        return {};
    std::vector<Cubic> curves;
    std::size_t n = segments.size();
    for (std::size_t k = 1; k < n + (closed ? 1 : 0); ++k) {
        const CCPathSegment& a = segments[k - 1];
        const CCPathSegment& b = segments[k % n];
        Cubic c{of(a.anchor), of(a.out), of(b.in), of(b.anchor), true};
        if (!degenerate(c))
            curves.push_back(c);
    }
    if (curves.empty())
        return {};
    double h = width / 2;
    std::vector<Cubic> leftSide = side(curves, closed, h);
    std::vector<Cubic> rightSide = reversed(side(curves, closed, -h), closed);
    if (closed)
        return {toSegments(leftSide), toSegments(rightSide)};
    // Butt caps: straight across at each end.
    std::vector<Cubic> contour = leftSide;
    contour.push_back(line(leftSide.back().p3, rightSide.front().p0));
    contour.insert(contour.end(), rightSide.begin(), rightSide.end());
    contour.push_back(line(rightSide.back().p3, leftSide.front().p0));
    return {toSegments(contour)};
}

} // namespace minihost
