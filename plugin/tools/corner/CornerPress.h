// The press cycle the corner tools share: the corner pick at mouse-down, the drag step that reverts the
// previous step and rebuilds the corner for the new cursor point, and the Alt test of the release.
#pragma once

#include "cc_messages.h"
#include "geometry/PathModel.h"
#include "geometry/SegmentBuffer.h"

namespace curvicraft {

// Rebuilds the corner at an anchor of a path from globals()->pressPoint and currentPoint. Geometry that
// does not qualify is no error: 0 and no change.
using CornerRoutine = CCErr (*)(ArtHandle path, int anchorIndex);

// Resets toolHit and hit-tests at the cursor. Only an anchor of a selected path qualifies (not one carrying
// text on a path: 'fLtP'); otherwise 0 and the press is ignored until the release. A qualifying hit is kept
// in toolHit, both press points are set to the hit point and the corner routine runs once; when it succeeds
// the cursor label is switched on. Host errors of the hit test and the type query are returned.
CCErr cornerPressMouseDown(const CCToolMessage* message, CornerRoutine routine);

// When the press is tracking a corner: reverts the previous step, takes the hit test's point (snapped to an
// anchor when near one) as the current point, and runs the corner routine on the pressed anchor.
CCErr cornerPressMouseDrag(const CCToolMessage* message, CornerRoutine routine);

// True while the press mouse-down picked a corner.
bool cornerPressTracking();

// Reads all of a path's anchors and its closed flag for a corner routine; host errors are returned.
CCErr readCornerPath(ArtHandle path, SegmentBuffer& segs, bool& closed);

// Replaces the corner anchor by `count` new anchors and sets the path's selected attribute. A path that
// cannot take the extra anchors is refused with kCCTooManySegmentsErr before anything changes; when the
// insertion fails the path gets its anchor back, so a refused write loses nothing.
CCErr replaceCornerAnchor(ArtHandle path, int anchorIndex, const PathSegment& original, const PathSegment* pieces,
                          int count);

// True when the Option (Alt) key is down in the event.
bool optionKeyDown(const CCToolMessage* message);

} // namespace curvicraft
