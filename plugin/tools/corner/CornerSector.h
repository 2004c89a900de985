// What the corner tools share before they build anything: whether an anchor is a sharp corner between two
// straight segments, which of the four sectors formed by the two corner lines the cursor chooses, and the
// three size modes of a drag.
#pragma once

#include "geometry/PathModel.h"

#include <cstdint>

namespace curvicraft {

// The anchors on either side of a corner.
struct CornerNeighbours {
    int prev = -1;
    int next = -1;
};

// True when anchor `anchorIndex` of the segments has two neighbours (wrapping on a closed path) joined to
// it by straight segments and its own handles are retracted, all by exact equality. False for fewer than
// three anchors, the end anchors of an open path and an index out of range.
bool findStraightCorner(const PathSegment* segments, int count, bool closed, int anchorIndex, CornerNeighbours& out);

// How a corner within one degree of straight is treated: refused, or kept like any other corner (its
// sector is the one the cursor lies in, as for every other corner).
enum class NearStraightCorner { Refuse, Accept };

// The sector between the rays from the corner at angles alpha and beta that receives the shape.
struct CornerSector {
    double alpha = 0;      // ray along the previous anchor's line, in [0, 2 pi)
    double beta = 0;       // ray along the next anchor's line, in [0, 2 pi)
    double halfAngle = 0;  // half the sector's opening
    double bisector = 0;   // direction of the sector's bisector
    bool alphaCcw = false; // the alpha ray lies counter-clockwise of the bisector
    RealPoint alongPrev{}; // the cursor's component along the previous anchor's line, from the corner
    RealPoint alongNext{}; // its component along the next anchor's line
};

// The sector the cursor lies in. The cursor is split into its components along the two corner lines; the
// rays through them bound the sector. False (no sector) when the cursor is on the corner, within 0.01
// degree of either line, within 0.001 of one of them, when a line intersection fails, when the corner is
// within one degree of straight and `nearStraight` refuses it, and when the sector has no opening.
bool chooseCornerSector(const RealPoint& corner, const RealPoint& prevAnchor, const RealPoint& nextAnchor,
                        const RealPoint& cursor, NearStraightCorner nearStraight, CornerSector& out);

// The drag's size mode; any value other than snap and fixed behaves as free.
enum class SizeMode : std::int16_t { Free = 0, Snap = 1, Fixed = 2 };

SizeMode sizeModeOf(std::int16_t opeStyle);

// The size a drag gives: the free size; in snap mode the smallest multiple of `snapSize` strictly above
// it (0 for a step of 0); in fixed mode `fixedSize`. A result that is not finite is returned as 0, which
// every caller refuses as too small.
double sizeForMode(SizeMode mode, double freeSize, double snapSize, double fixedSize);

} // namespace curvicraft
