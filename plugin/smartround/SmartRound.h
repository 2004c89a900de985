// Smart Rounding: replaces the corners of a path by arc-like curves whose size adapts to the room there is.
//
// Each corner may take at most `totsu_length` (convex) or `ou_length` (concave) along each of its sides,
// never more than its share of a side it shares with the neighbouring rounded corner, and never beyond the
// point where a curved side has turned 30 degrees. The corner anchor is replaced by two cut points joined by
// one cubic shaped like a circular arc; neighbouring corners whose budgets meet share one cut point.
// Paths that cannot be rounded are left exactly as they were.
#pragma once

#include "geometry/PathModel.h"
#include "tools/framework/ToolSettings.h"

#include <cstdint>

namespace curvicraft {

// Kind flags of a CornerNode.
enum CornerKind : std::uint16_t {
    kKindCutAfterNode = 0x0040,  // this node is the cut point after a corner
    kKindCutBeforeNode = 0x0080, // this node is the cut point before a corner
    kKindHasCutAfter = 0x0010,   // this corner has a cut point of its own after it
    kKindHasCutBefore = 0x0020,  // this corner has a cut point of its own before it
    kKindConcave = 0x0400,       // concave corner, to be rounded
    kKindConvex = 0x0800,        // convex corner, to be rounded
    kKindConsumed = 0x1000,      // ignored anchor between a corner and its cut point: dropped
    kKindIgnored = 0x2000,       // angle too wide: budgets and curves pass through it
    kKindExcluded = 0x8000,      // end of an open path, disabled kind, unselected, or no room
};

// One anchor (or cut point) of the path being rounded, in a list linked along the path. The segment lives
// in the buffer of the anchors as read or of the cut points, so a handle changed through any node is the
// one the result takes.
struct CornerNode {
    PathSegment* segment;
    CornerNode* prev; // null at the start of an open path
    CornerNode* next; // null at the end of an open path
    std::uint16_t kind;
    std::int16_t lengthIndex; // entry in the length budgets, -1 for none
    std::int16_t cutBefore;   // this corner's own cut points in the cut-point buffer, -1 for none
    std::int16_t cutAfter;
};

// The length budget of one rounded corner.
struct LengthEntry {
    double length;              // kLengthUnset until a pass stores one
    std::int32_t forwardMeets;  // the length ends exactly where the next corner's begins
    std::int32_t backwardMeets; // the same toward the previous corner
};

inline constexpr double kLengthUnset = 1.7976931348623158e307;
inline constexpr int kMaxRoundAnchors = 8000;

// Rounds one path in place. 0 with the path unchanged when there is nothing to do or it cannot be done;
// a host status when reading, allocating or writing fails (the path is then unchanged as well);
// 'PARM' for negative or non-finite parameters.
CCErr roundPath(const SmartRoundParams& params, ArtHandle path);

// Rounds every path in a group or compound path tree (or the one path given). 'SEGM' from a path does not
// stop the walk; any other failure does and is returned.
CCErr roundArtTree(const SmartRoundParams& params, ArtHandle art);

// The kind of anchor S (previous segment P, next segment N). `orientation` is 1 when the path's area is
// >= 0, that is when left turns are concave. The anchor's selection is read from the host only with
// selectedOnly.
std::uint16_t classifyCorner(ArtHandle path, int index, const PathSegment& previous, const PathSegment& segment,
                             const PathSegment& next, double totsu_length, double ou_length, double effect_angle,
                             int orientation, bool selectedOnly);

// Shortens a curve to the part before it has turned 30 degrees (within half a degree); 1 when shortened.
// Curves with a chord or a handle shorter than half a point in both coordinates are left alone.
int trimAtTurn(BezierCurve& curve);

// Sets A.out and B.in so that the curve from A to B follows a circular arc tangent to both.
void makeRoundingCurve(PathSegment& a, PathSegment& b);

} // namespace curvicraft
