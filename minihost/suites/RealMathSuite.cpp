// Point and matrix arithmetic. Matrices map x' = a*x + c*y + tx, y' = b*x + d*y + ty; the Concat
// operations append: the new operation applies after those already in the matrix.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <algorithm>
#include <cmath>

namespace minihost::suites {

namespace {

constexpr double kHugeQuotient = 1.7976931348623158e+307;

double PointAngle(const CCRealPoint* a, const CCRealPoint* b)
{
    if (!a || !b)
        return 0;
    return std::atan2(b->y - a->y, b->x - a->x);
}

double PointLength(const CCRealPoint* a, const CCRealPoint* b)
{
    if (!a || !b)
        return 0;
    return std::hypot(b->x - a->x, b->y - a->y);
}

void PointLengthAngle(double length, double angle, CCRealPoint* result)
{
    if (result)
        *result = CCRealPoint{length * std::cos(angle), length * std::sin(angle)};
}

CCBool32 PointEqual(const CCRealPoint* a, const CCRealPoint* b)
{
    return a && b && a->x == b->x && a->y == b->y;
}

void PointAdd(const CCRealPoint* a, const CCRealPoint* b, CCRealPoint* result)
{
    if (a && b && result)
        *result = CCRealPoint{a->x + b->x, a->y + b->y};
}

void PointSubtract(const CCRealPoint* a, const CCRealPoint* b, CCRealPoint* result)
{
    if (a && b && result)
        *result = CCRealPoint{a->x - b->x, a->y - b->y};
}

void PointInterpolate(const CCRealPoint* a, const CCRealPoint* b, double t, CCRealPoint* result)
{
    if (a && b && result)
        *result = CCRealPoint{a->x + (b->x - a->x) * t, a->y + (b->y - a->y) * t};
}

double RealSin(double angle)
{
    return std::sin(angle);
}
double RealCos(double angle)
{
    return std::cos(angle);
}

double RealDivide(double a, double b)
{
    if (b == 0)
        return a < 0 ? -kHugeQuotient : kHugeQuotient;
    return a / b;
}

void MatrixSetIdentity(CCRealMatrix* m)
{
    if (m)
        *m = CCRealMatrix{1, 0, 0, 1, 0, 0};
}

void MatrixSetTranslate(CCRealMatrix* m, double tx, double ty)
{
    if (m)
        *m = CCRealMatrix{1, 0, 0, 1, tx, ty};
}

void MatrixSetRotate(CCRealMatrix* m, double angle)
{
    if (m) {
        double c = std::cos(angle), s = std::sin(angle);
        *m = CCRealMatrix{c, s, -s, c, 0, 0};
    }
}

void MatrixSetScale(CCRealMatrix* m, double sx, double sy)
{
    if (m)
        *m = CCRealMatrix{sx, 0, 0, sy, 0, 0};
}

// result := first m, then other. Safe when result is one of the operands.
void concat(const CCRealMatrix& m, const CCRealMatrix& o, CCRealMatrix& result)
{
    CCRealMatrix r;
    r.a = o.a * m.a + o.c * m.b;
    r.b = o.b * m.a + o.d * m.b;
    r.c = o.a * m.c + o.c * m.d;
    r.d = o.b * m.c + o.d * m.d;
    r.tx = o.a * m.tx + o.c * m.ty + o.tx;
    r.ty = o.b * m.tx + o.d * m.ty + o.ty;
    result = r;
}

void MatrixConcatTranslate(CCRealMatrix* m, double tx, double ty)
{
    if (m) {
        m->tx += tx;
        m->ty += ty;
    }
}

void MatrixConcatRotate(CCRealMatrix* m, double angle)
{
    if (m) {
        CCRealMatrix r;
        MatrixSetRotate(&r, angle);
        concat(*m, r, *m);
    }
}

void MatrixConcatScale(CCRealMatrix* m, double sx, double sy)
{
    if (m) {
        m->a *= sx;
        m->c *= sx;
        m->tx *= sx;
        m->b *= sy;
        m->d *= sy;
        m->ty *= sy;
    }
}

void MatrixConcat(const CCRealMatrix* m, const CCRealMatrix* other, CCRealMatrix* result)
{
    if (m && other && result)
        concat(*m, *other, *result);
}

void MatrixXformPoint(const CCRealMatrix* m, const CCRealPoint* p, CCRealPoint* result)
{
    if (m && p && result)
        *result = CCRealPoint{m->a * p->x + m->c * p->y + m->tx, m->b * p->x + m->d * p->y + m->ty};
}

// False, leaving the matrix alone, when it has no inverse.
CCBool32 MatrixInvert(CCRealMatrix* m)
{
    if (!m)
        return 0;
    double det = m->a * m->d - m->b * m->c;
    if (det == 0 || !std::isfinite(det))
        return 0;
    CCRealMatrix r;
    r.a = m->d / det;
    r.b = -m->b / det;
    r.c = -m->c / det;
    r.d = m->a / det;
    r.tx = (m->c * m->ty - m->d * m->tx) / det;
    r.ty = (m->b * m->tx - m->a * m->ty) / det;
    *m = r;
    return 1;
}

// Inclusive on every side; top and bottom may come in either order.
CCBool32 PointInRect(const CCRealPoint* p, const CCRealRect* r)
{
    if (!p || !r)
        return 0;
    return p->x >= std::min(r->left, r->right) && p->x <= std::max(r->left, r->right) &&
           p->y >= std::min(r->top, r->bottom) && p->y <= std::max(r->top, r->bottom);
}

} // namespace

const CCRealMathSuite& realMath()
{
    static const CCRealMathSuite table{
        PointAngle,         PointLength,        PointLengthAngle, PointEqual,       PointAdd,
        PointSubtract,      PointInterpolate,   RealSin,          RealCos,          RealDivide,
        MatrixSetIdentity,  MatrixSetTranslate, MatrixSetRotate,  MatrixSetScale,   MatrixConcatTranslate,
        MatrixConcatRotate, MatrixConcatScale,  MatrixConcat,     MatrixXformPoint, MatrixInvert,
        PointInRect,
    };
    return table;
}

} // namespace minihost::suites
