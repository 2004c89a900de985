// Curve and arc mathematics shared by the tools: line intersection, angle tests, the corner flag, Bezier
// length and split, and the cubic approximation of circular arcs.
#pragma once

#include "PathModel.h"

namespace curvicraft {

// Handle ratios of a cubic approximating a circular arc piece of 5*i degrees (i = 0..36), times
// kArcHandleScale and the radius; the last entry is only ever weighted by 0.
extern const double kArcHandleTable[38];

// Intersection of line A (a1, a2) and line B (b1, b2) in slope form with the absolute tolerance 0.001.
// False when the lines are parallel (slopes within 0.001, or both vertical; in the latter case out.x has
// been written). Two steep lines whose slopes differ by less than 0.001 count as parallel.
bool intersectLines(const RealPoint& a1, const RealPoint& a2, const RealPoint& b1, const RealPoint& b2, RealPoint& out);

// True when |a - b| < tol or ||a - b| - pi| < tol; the raw difference is not reduced by 2 pi.
bool anglesCollinear(double a, double b, double tol);

// True when the difference of the two angles, folded into [0, pi], exceeds pi / 2.
bool anglesOpposed(double a, double b);

// Sets `corner` from the handles: smooth (0) when the in handle and the out handle lie on one line through
// the anchor on opposite sides within 0.5 degree, else corner (1). A retracted handle has angle 0.
void updateCornerFlag(PathSegment& segment);

// True when p0 equals p1 and p2 equals p3 exactly.
bool isStraightBezier(const BezierCurve& curve);

// Length of a curve: the chord of a straight curve, else the host's measure with flatness 1.0.
double bezierLength(const BezierCurve& curve);

// Splits a curve. A curved one is divided by the host at parameter t (true). A straight one is cut at
// the length L from p0 instead: true with two straight halves when it is longer than L, else false with
// nothing written.
bool splitBezier(const BezierCurve& curve, double t, double length, BezierCurve& first, BezierCurve& second);

// Number of cubic pieces for an arc sweep (radians): one per started quarter turn; exactly 90 degrees is
// one piece, 90.001 two.
int arcPieceCount(double sweep);

// Length of both handles of a cubic piece approximating an arc of radius r and angle theta (0..pi),
// interpolated linearly in the 5-degree table.
double arcHandleLength(double radius, double theta);

} // namespace curvicraft
