// Editing and selecting the part of a path a tool hit. These routines read and write single records,
// one host call each; a host failure is returned unchanged (writes made before it stay).
#pragma once

#include "PathModel.h"

#include <cstdint>

namespace curvicraft {

// Moves record index to point along one axis (x when alongX, else y): the anchor coordinate becomes the
// point's, a handle coordinate equal to the anchor's follows it exactly, any other is shifted by as much.
CCErr alignSegmentToPointAxis(ArtHandle path, std::int16_t index, bool alongX, const RealPoint& point);
// The same on both axes.
CCErr moveSegmentToPoint(ArtHandle path, std::int16_t index, const RealPoint& point);

// Moves the hit part of hit.path to point. An anchor moves with its handles. A dragged handle with
// turnOpposite on a smooth anchor turns the opposite handle to stay collinear (keeping its length);
// otherwise the anchor becomes a corner. Nothing is written when the part is already at the point; a curve
// hit writes the record back unchanged. With a feedback slot and a handle hit, a new two-anchor path from
// the anchor to the dragged handle is created on top of the current layer and stored in the slot.
CCErr moveHitPartToPoint(const ToolHit& hit, bool turnOpposite, const RealPoint& point, ArtHandle* feedbackSlot);

// Modes of selectHitParts.
enum class HitSelectionMode : int {
    HitPart = 1,        // only the hit part: the anchor with both handles, or a curve's two inner handles
    AllWithHandles = 2, // every anchor with both handles
    AllAnchors = 3,     // every anchor (any mode other than 1 and 2)
};

// Sets the anchor selection states of hit.path for a mode. In HitPart mode every anchor is cleared first;
// a curve hit selects the end anchor's in handle and the start anchor's out handle (the start of curve 0 of
// a closed path is the last anchor). Parts other than 0-3 leave everything cleared.
CCErr selectHitParts(const ToolHit& hit, HitSelectionMode mode);

} // namespace curvicraft
