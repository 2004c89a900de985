// Hit testing of a document at a point, with a tolerance in document units.
//
// The topmost object wins (layers top first, each tree from its topmost object); within one path an
// anchor beats a handle, a handle beats a curve, a curve beats the fill. Hidden objects and objects on
// hidden layers are never hit; locked objects (or those inside locked groups or on locked layers) only
// when snapping (kCCHitSnapPoints). Handles count only on selected paths.
//
// Requests:
//   kCCHitAll         anchors, handles, curves, fills of filled paths
//   kCCHitSnapPoints  anchors, centre points of closed paths, curves; locked objects too
//   kCCHitTool        anchors, handles, curves
// The hit point is the anchor or handle hit, or the nearest point on the curve with its parameter t; a
// curve is numbered by its end anchor, so the closing curve of a closed path is curve 0.
#pragma once

#include "Document.h"
#include "cc_suites.h"

namespace minihost {

enum class HitSearch {
    indexed, // only the paths the document's index finds near the point, in paint order
    scan,    // every object of the document in paint order; the reference the index must agree with
};

// Fills hit (which the caller has reset to "no hit") with the first hit under art (the whole document
// when art is 0). Returns kCCStaleHandleErr when art names no object.
CCErr hitTestDocument(const Document& doc, ObjectId art, const CCRealPoint& p, int32_t request, double tol,
                      CCHitData& hit, HitSearch search = HitSearch::indexed);

} // namespace minihost
