// Cubic Bezier construction, evaluation, division and measurement.
#include "Suites_p.h"
#include "geom/BezierMath.h"

namespace minihost::suites {

namespace {

void Set(CCBezier* b, const CCRealPoint* p0, const CCRealPoint* p1, const CCRealPoint* p2, const CCRealPoint* p3)
{
    if (b && p0 && p1 && p2 && p3)
        *b = CCBezier{*p0, *p1, *p2, *p3};
}

void Evaluate(const CCBezier* b, double t, CCRealPoint* point)
{
    if (b && point)
        *point = bezierPoint(*b, t);
}

void Tangent(const CCBezier* b, double t, CCRealPoint* tangent)
{
    if (b && tangent)
        *tangent = bezierDerivative(*b, t);
}

void Divide(const CCBezier* b, double t, CCBezier* first, CCBezier* second)
{
    if (!b || !first || !second)
        return;
    CCBezier f{}, s{};
    bezierDivide(*b, t, f, s);
    *first = f;
    *second = s;
}

double Length(const CCBezier* b, double flatness)
{
    return b ? bezierArcLength(*b, flatness) : 0;
}

double ParameterAtLength(const CCBezier* b, double length, double flatness)
{
    return b ? bezierParameterAtLength(*b, length, flatness > 0 ? flatness * 1e-9 : 1e-9) : 0;
}

} // namespace

const CCRealBezierSuite& realBezier()
{
    static const CCRealBezierSuite table{Set, Evaluate, Tangent, Divide, Length, ParameterAtLength};
    return table;
}

} // namespace minihost::suites
