// The native document format: JSON that keeps every coordinate, attribute and anchor selection state.
//
//   { "format": "curvicraft-document", "version": 1, "units": "pt", "width": 612, "height": 792,
//     "layers": [ { "name": "Layer 1", "editable": true, "visible": true, "art": [ ART, ... ] } ] }
//
// Layers and art are listed in paint order, bottom first. An ART is a path, group, compound, textpath (one
// child path) or plugin object; numbers are written in shortest round-trip form. Unknown keys of an art
// object are kept (Art::extra) and written back; elsewhere they are ignored.
#pragma once

#include "Document.h"
#include "io/FileError.h"

#include <memory>
#include <string>
#include <string_view>

namespace minihost::JsonFormat {

// Reads a document; throws FileError naming `file` and the place (line:column for syntax, a JSON pointer
// for structure).
std::unique_ptr<Document> read(std::string_view text, const std::string& file);

// Writes a document; throws FileError when it holds something no file may hold.
std::string write(const Document& doc, const std::string& file);

} // namespace minihost::JsonFormat
