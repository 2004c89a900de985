// Whole-path operations on document objects: stroke expansion and rectangles.
#pragma once

#include "PathModel.h"

#include <cstdint>

namespace curvicraft {

// Has the host expand the stroke (option 4, one step) of each stroked path of a selection list, in order.
// Objects that are not paths and paths without stroke paint are skipped; with openOnly, closed paths and
// filled paths are skipped too. The first host failure ends the walk; paths expanded before it stay so.
CCErr expandStrokedPaths(CCMemoryHandle list, std::int32_t count, bool openOnly);

// Makes path the closed, selected rectangle (x0, y0), (x0, y1), (x1, y1), (x1, y0), in that order, with
// retracted handles and corner anchors, and stores it in *rectangle. The winding follows that corner
// order, so x0 > x1 reverses it. Anchors the path had beyond the four are dropped.
CCErr makeRectanglePath(double x0, double y0, double x1, double y1, ArtHandle* rectangle, ArtHandle path);

} // namespace curvicraft
