// The document tree as text, for `curvicraft info` and the session `print` command:
//
//   document 612 x 792 pt
//   layer "Layer 1"
//     group g1 selected
//       path p1 closed 4 anchors selected wholly selection 1 1 1 1
//
// Layers and objects are listed top first, as a layers panel shows them. Flags: locked and hidden on layers;
// clipped, selected, wholly, locked, hidden and guide on objects; a path's anchor selection states follow
// "selection" when any anchor is selected.
#pragma once

#include "Document.h"

#include <string>

namespace minihost {

std::string describeDocument(const Document& doc);

// An object's line, then one line per anchor of a path with its exact coordinates:
//   0: anchor 10 20 in 10 20 out 15 20 corner
// For a container, the lines of its whole subtree.
std::string describeObject(const Document& doc, ObjectId id);

} // namespace minihost
