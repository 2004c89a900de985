// Transforms of whole objects about a point. Groups and compound paths are walked child by child
// (recursively) and every leaf object is transformed by the host with the same matrix, stroke-scale
// factor 1. The first host failure ends the walk; objects already transformed stay transformed.
//
// Matrices are built with the host's real-math suite as a translation followed by appended operations,
// each applying after those before it. Angles are radians, counter-clockwise positive.
#pragma once

#include "PathModel.h"

namespace curvicraft {

// Rotation by angle, then scale (sx, sy), about origin; option flags 3 (the objects and their fills).
// A zero angle and a unit scale are left out of the matrix.
CCErr transformArtAbout(ArtHandle art, double angle, double sx, double sy, const RealPoint& origin);
// Scale (sx, sy) about origin; flags 15 (patterns and line widths too).
CCErr scaleArtAbout(ArtHandle art, double sx, double sy, const RealPoint& origin);
// Scale about origin, then translate by (dx, dy); flags 15.
CCErr scaleMoveArtAbout(ArtHandle art, double sx, double sy, double dx, double dy, const RealPoint& origin);
// Reflection across the line through origin at angle; flags 15.
CCErr reflectArtAcross(ArtHandle art, double angle, const RealPoint& origin);
// Rotation by angle about origin; flags 15.
CCErr rotateArtAbout(ArtHandle art, double angle, const RealPoint& origin);
// Translation by (dx, dy); flags 15.
CCErr translateArt(ArtHandle art, double dx, double dy);
// The reflection of reflectArtAcross applied to one point in place.
void reflectPointAcross(RealPoint& point, const RealPoint& origin, double angle);

// The reflection matrix across the line through origin at angle.
RealMatrix reflectionMatrix(const RealPoint& origin, double angle);

// Transform option flags.
inline constexpr std::int32_t kTransformObjectOptions = kCCTransformObjects | kCCTransformFillPatterns; // 3
inline constexpr std::int32_t kTransformAllOptions =
    kCCTransformObjects | kCCTransformFillPatterns | kCCTransformStrokePatterns | kCCScaleLines; // 15

// Applies a matrix to the object or, for groups and compound paths, to every leaf below it.
CCErr transformArtTree(ArtHandle art, const RealMatrix& matrix, std::int32_t flags);

} // namespace curvicraft
