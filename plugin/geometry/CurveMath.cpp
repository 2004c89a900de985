#include "CurveMath.h"

#include "PointMath.h"
#include "Tolerances.h"
#include "host/Suites.h"

#include <cmath>

namespace curvicraft {

const double kArcHandleTable[38] = {
    0.0,
    0.026337860466194254,
    0.052694551796464435,
    0.0790903533828923,
    0.1055440960895538,
    0.13208004276054672,
    0.15872245623996895,
    0.18549777216392704,
    0.21243713388454652,
    0.23957530607396763,
    0.2669488640643378,
    0.29459981516782646,
    0.3225708909606058,
    0.3509131520548818,
    0.37967403774284575,
    0.40891004061672526,
    0.4386718591567249,
    0.46901779661507975,
    0.5000003621320015,
    0.5314721679828958,
    0.5633600635034678,
    0.5957513225060693,
    0.6287563952511458,
    0.6624781272271119,
    0.6970063271703295,
    0.7324239233091332,
    0.7688294155479202,
    0.806302835059013,
    0.8449147975826965,
    0.884775029115413,
    0.9259537832654456,
    0.9685658558772575,
    1.0127140924392632,
    1.0585013384398774,
    1.1060641176436505,
    1.1555411266071418,
    1.207118501179102,
    0.0,
};

bool intersectLines(const RealPoint& a1, const RealPoint& a2, const RealPoint& b1, const RealPoint& b2, RealPoint& out)
{
    const bool bVertical = std::fabs(b2.x - b1.x) < kCoordTolerance;
    if (std::fabs(a2.x - a1.x) < kCoordTolerance) {
        out.x = a2.x;
        if (bVertical)
            return false;
        const double sB = (b2.y - b1.y) / (b2.x - b1.x);
        out.y = sB * (a2.x - b1.x) + b1.y;
        return true;
    }
    const double sA = (a2.y - a1.y) / (a2.x - a1.x);
    if (bVertical) {
        out.x = b2.x;
        out.y = std::fabs(sA) < kCoordTolerance ? a2.y : (b2.x - a1.x) * sA + a1.y;
        return true;
    }
    const double sB = (b2.y - b1.y) / (b2.x - b1.x);
    if (std::fabs(sA - sB) < kCoordTolerance)
        return false;
    out.x = (sA * a1.x - a1.y - sB * b1.x + b1.y) / (sA - sB);
    out.y = (out.x - a1.x) * sA + a1.y;
    return true;
}

bool anglesCollinear(double a, double b, double tol)
{
    const double d = std::fabs(a - b);
    return d < tol || std::fabs(d - kPi) < tol;
}

bool anglesOpposed(double a, double b)
{
    double c = std::fabs(a - b);
    while (c > kTwoPi)
        c -= kTwoPi;
    if (c > kPi)
        c = kTwoPi - c;
    return c > kHalfPi;
}

void updateCornerFlag(PathSegment& segment)
{
    double e = vectorAngle(subtractPoints(segment.in, segment.anchor));
    double f = vectorAngle(subtractPoints(segment.anchor, segment.out));
    if (e < 0)
        e += kTwoPi;
    if (f < 0)
        f += kTwoPi;
    segment.corner = std::fabs(e - f) >= kAngle05Deg ? 1 : 0;
}

bool isStraightBezier(const BezierCurve& curve)
{
    return pointsEqual(curve.p0, curve.p1) && pointsEqual(curve.p2, curve.p3);
}

double bezierLength(const BezierCurve& curve)
{
    if (isStraightBezier(curve))
        return pointDistance(curve.p0, curve.p3);
    return sRealBezier->Length(&curve, 1.0);
}

bool splitBezier(const BezierCurve& curve, double t, double length, BezierCurve& first, BezierCurve& second)
{
    if (!isStraightBezier(curve)) {
        sRealBezier->Divide(&curve, t, &first, &second);
        return true;
    }
    if (!(pointDistance(curve.p0, curve.p3) > length))
        return false;
    const RealPoint q = addPoints(curve.p0, polarPoint(length, pointAngle(curve.p0, curve.p3)));
    first = BezierCurve{curve.p0, curve.p1, q, q};
    second = BezierCurve{q, q, curve.p2, curve.p3};
    return true;
}

int arcPieceCount(double sweep)
{
    int pieces = 1;
    // Bounded so that a huge or non-finite sweep cannot loop for long.
    for (double rest = sweep; rest > kHalfPi && pieces < 4096; rest -= kHalfPi)
        ++pieces;
    return pieces;
}

double arcHandleLength(double radius, double theta)
{
    const double q = theta * 36 / kPi;
    int i = 0;
    if (q > 0)
        i = q >= 35 ? 35 : static_cast<int>(std::floor(q));
    const double w = (theta * 180 / kPi - 5.0 * i) / 5;
    return radius * kArcHandleScale * ((1 - w) * kArcHandleTable[i] + w * kArcHandleTable[i + 1]);
}

} // namespace curvicraft
