// Loading and saving documents by file extension: .json (native, lossless) or .svg (interchange).
#pragma once

#include "Document.h"
#include "io/FileError.h"

#include <filesystem>
#include <memory>

namespace minihost::DocumentFile {

// Throws FileError naming the file and the place when the file cannot be read or is not a valid document.
std::unique_ptr<Document> load(const std::filesystem::path& file);

// Writes through a temporary file that replaces the target only once complete: on any failure (FileError)
// an existing file is left untouched.
void save(const Document& doc, const std::filesystem::path& file);

} // namespace minihost::DocumentFile
