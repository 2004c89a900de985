// SVG interchange with other editors.
//
// Reading takes paths, groups and the basic shapes (rect, circle, ellipse, line, polyline, polygon), applies
// transform attributes and the viewBox, and turns every segment into a cubic (a straight segment has
// retracted handles). Document coordinates are y-up: y_doc = height - y_svg. Top-level groups marked
// inkscape:groupmode="layer" are layers (inkscape:label, sodipodi:insensitive for locked, display:none for
// hidden); other top-level content goes into a layer of its own. A path with several subpaths becomes a
// compound path; a group whose clip-path names a clipPath becomes a clipping group with that path on top.
//
// Writing produces absolute M, L, C, Z path data in shortest round-trip form, one user unit per point, and
// keeps what SVG cannot say (selection, guides, object types, unknown keys) in data- attributes.
#pragma once

#include "Document.h"
#include "io/FileError.h"

#include <memory>
#include <string>
#include <string_view>

namespace minihost::SvgFormat {

// Throws FileError naming `file` and the place: line:column for XML errors, line and element (id or its
// number in document order) for SVG content.
std::unique_ptr<Document> read(std::string_view text, const std::string& file);

std::string write(const Document& doc, const std::string& file);

} // namespace minihost::SvgFormat
