// The fixed tolerances, angles and ratios that recur across the plug-in. Exact values: documents and
// golden results depend on them bit for bit, so never derive them at run time.
#pragma once

namespace curvicraft {

// Coordinates, in document points.
inline constexpr double kCoordTolerance = 0.001; // vertical lines, parallel slopes, snapping, degenerate points
inline constexpr double kMeetTolerance = 0.1;    // end anchors that meet; radii too small to draw

// Angles, in radians.
inline constexpr double kAngle001Deg = 0.00017453292519943296; // parallel cursor direction; zero angles
inline constexpr double kAngle01Deg = 0.0017453292519943296;   // smooth-or-corner at a closing anchor
inline constexpr double kAngle05Deg = 0.008726646259971648;    // corner flag from handles; right-angle test
inline constexpr double kMinAngleStep = 0.017435839227423353;  // 0.999 degree: smallest usable snap angle
inline constexpr double kAngle30Deg = 0.5235987755982988;      // pi / 6
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;

// Curve ratios.
inline constexpr double kQuarterArcHandle = 0.5522848;    // handle length of a quarter circle per unit radius
inline constexpr double kArcHandleScale = 1.1045696;      // scale of the arc handle table
inline constexpr double kStraightCurveFactor = 1.3333464; // Smart Rounding's straight-curve factor

} // namespace curvicraft
