// Pictures of documents: the page as a host shows it, drawn with cairo into an image.
//
// Document coordinates are y-up with the page from (0, 0) to (width, height); a picture shows the page the
// right way up, pixel (col, row) covering document point (col / scale, height - row / scale). Paths are
// filled and stroked as styled (even-odd where set), anti-aliased, over a white page. Hidden objects and
// objects on hidden layers are not drawn; guides are thin cyan lines whatever their style. With
// showSelection, the selection is drawn as an editor shows it: selected paths outlined with their anchors,
// anchors in state 1 filled, the others hollow, and the handles of every selected anchor.
#pragma once

#include "Document.h"
#include "Host.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace minihost::render {

// A picture that cannot be made, written or read.
class RenderError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

// An image of 8-bit premultiplied ARGB pixels in native words, one row after another.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    Rgba at(int col, int row) const; // transparent black outside the picture
};

// Largest picture side in pixels; a larger scale or width is refused rather than allocating gigabytes.
inline constexpr int kMaxSide = 16384;

struct RenderOptions {
    double scale = 1; // pixels per point
    int width = 0;    // when positive, the picture's width in pixels (the scale follows from it)
    bool showSelection = false;
};

// What the annotators drew in the last redraw, in view pixels, and the view they drew in.
struct ViewDrawing {
    std::vector<Host::DrawOp> ops;
    CCRealPoint viewOrigin{0, 0}; // document point at the view's top left
    double zoom = 1;
};

// The picture's scale for a document: options.scale, or the one that gives options.width pixels.
// Throws RenderError for a scale that is not positive and finite or a picture larger than kMaxSide.
double pictureScale(const Document& doc, const RenderOptions& options);

Picture renderDocument(const Document& doc, const RenderOptions& options, const ViewDrawing* overlay = nullptr);

// The host's current document as the editor shows it: selection marks and the annotators' last drawing.
Picture renderHostView(Host& host, RenderOptions options);

// Rows of before and after pictures side by side, captioned, on a light gray sheet.
Picture beforeAfterSheet(const std::vector<std::pair<Picture, Picture>>& rows);

void writePng(const Picture& picture, const std::filesystem::path& file);
Picture readPng(const std::filesystem::path& file);

} // namespace minihost::render
