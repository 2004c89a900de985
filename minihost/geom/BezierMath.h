// Cubic Bezier measurement and division as the host offers them to plug-ins.
#pragma once

#include "cc_types.h"

namespace minihost {

// Arc length of a cubic, by adaptive Gauss-Legendre quadrature of the speed |B'(t)| on the pieces between
// the speed's extrema. The quadrature aims at 1e-10 of the control polygon's length (or `flatness`, when
// smaller); measured against a long-double reference the error stays below 1e-8 of the length, far under a
// hundredth of a point for any curve the document can hold. Non-finite input gives NaN.
double bezierArcLength(const CCBezier& b, double flatness);

// Arc length from t0 to t1 (0 <= t0 <= t1 <= 1).
double bezierArcLength(const CCBezier& b, double t0, double t1, double tolerance);

// De Casteljau division at t: first covers [0, t], second [t, 1]; they share the division point exactly.
void bezierDivide(const CCBezier& b, double t, CCBezier& first, CCBezier& second);

CCRealPoint bezierPoint(const CCBezier& b, double t);
CCRealPoint bezierDerivative(const CCBezier& b, double t);

// The parameter at which the arc length from the start reaches `length` (clamped to [0, 1]).
double bezierParameterAtLength(const CCBezier& b, double length, double tolerance);

} // namespace minihost
