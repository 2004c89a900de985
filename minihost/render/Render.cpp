#include "render/Render.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace minihost::render {

namespace {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

constexpr double kGuideWidth = 1;         // pixels
constexpr double kSelectionWidth = 1;     // pixels
constexpr double kAnchorSize = 5;         // pixels, side of an anchor square
constexpr double kHandleRadius = 2;       // pixels
constexpr Rgb kGuideColor{0, 1, 1};       // cyan
constexpr Rgb kSelectionColor{0.1, 0.35, 1};

void setColor(cairo_t* cr, const Rgb& c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

bool finitePoint(const CCRealPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

bool finiteSegments(const Art& a)
{
    return std::all_of(a.segments.begin(), a.segments.end(), [](const CCPathSegment& s) {
        return finitePoint(s.anchor) && finitePoint(s.in) && finitePoint(s.out);
    });
}

// Far-off points are pinned this far outside the picture: cairo's fixed-point coordinates cannot hold more.
constexpr double kFarPixels = 1e6;

// Maps document points to picture pixels (y flipped).
struct PageTransform {
    double scale = 1, height = 0;
    double x(double docX) const { return std::clamp(docX * scale, -kFarPixels, kFarPixels); }
    double y(double docY) const { return std::clamp((height - docY) * scale, -kFarPixels, kFarPixels); }
};

class Painter {
  public:
    Painter(const Document& doc, cairo_t* cr, PageTransform t, bool selection)
        : doc_(doc), cr_(cr), t_(t), selection_(selection)
    {
    }

    void page()
    {
        // Layers are listed top first; paint from the bottom one up.
        const auto& layers = doc_.layers();
        for (auto it = layers.rbegin(); it != layers.rend(); ++it)
            if (it->visible)
                children(it->group);
        if (selection_)
            marks();
    }

  private:
    void children(ObjectId parent)
    {
        std::vector<ObjectId> kids = doc_.children(parent); // top first
        for (auto it = kids.rbegin(); it != kids.rend(); ++it)
            object(*it);
    }

    void addPath(const Art& a)
    {
        const auto& s = a.segments;
        if (s.empty() || !finiteSegments(a))
            return;
        cairo_move_to(cr_, t_.x(s[0].anchor.x), t_.y(s[0].anchor.y));
        std::size_t n = s.size(), curves = a.closed ? n : n - 1;
        for (std::size_t i = 0; i < curves; ++i) {
            const CCPathSegment &from = s[i], &to = s[(i + 1) % n];
            cairo_curve_to(cr_, t_.x(from.out.x), t_.y(from.out.y), t_.x(to.in.x), t_.y(to.in.y), t_.x(to.anchor.x),
                           t_.y(to.anchor.y));
        }
        if (a.closed)
            cairo_close_path(cr_);
    }

    void paint(const PathStyle& style)
    {
        if (style.fill) {
            setColor(cr_, *style.fill);
            cairo_set_fill_rule(cr_, style.evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
            cairo_fill_preserve(cr_);
        }
        if (style.stroke && std::isfinite(style.strokeWidth) && style.strokeWidth > 0) {
            setColor(cr_, *style.stroke);
            cairo_set_line_width(cr_, std::min(style.strokeWidth * t_.scale, 1e6));
            cairo_stroke_preserve(cr_);
        }
        cairo_new_path(cr_);
    }

    void guide(const Art& a)
    {
        addPath(a);
        setColor(cr_, kGuideColor);
        cairo_set_line_width(cr_, kGuideWidth);
        cairo_stroke(cr_);
    }

    void object(ObjectId id)
    {
        const Art* a = doc_.get(id);
        if (!a || (a->attrs & kCCArtHidden))
            return;
        switch (a->type) {
        case kCCPathArt:
            if (a->guide) {
                guide(*a);
            } else {
                addPath(*a);
                paint(a->style);
            }
            break;
        case kCCCompoundPathArt: {
            // One shape from all member paths, painted with the style they share.
            const PathStyle* style = nullptr;
            for (ObjectId c : doc_.children(id)) {
                const Art* p = doc_.get(c);
                if (!p || p->type != kCCPathArt || (p->attrs & kCCArtHidden))
                    continue;
                if (p->guide) {
                    guide(*p);
                    continue;
                }
                addPath(*p);
                cairo_new_sub_path(cr_);
                if (!style)
                    style = &p->style;
            }
            if (style)
                paint(*style);
            else
                cairo_new_path(cr_);
            break;
        }
        case kCCGroupArt:
            if (a->clipped)
                clippedGroup(id);
            else
                children(id);
            break;
        default:
            break; // text, placed and raster art have no geometry of their own here
        }
    }

    // A clipping group: its topmost path clips the rest and is not painted.
    void clippedGroup(ObjectId id)
    {
        std::vector<ObjectId> kids = doc_.children(id);
        const Art* clip = kids.empty() ? nullptr : doc_.get(kids.front());
        if (!clip || clip->type != kCCPathArt) {
            children(id);
            return;
        }
        cairo_save(cr_);
        addPath(*clip);
        cairo_clip(cr_);
        for (auto it = kids.rbegin(); it + 1 != kids.rend(); ++it)
            object(*it);
        cairo_restore(cr_);
    }

    // The marks of each selected path are drawn in a few batches (outline and handle lines, handle ends,
    // filled anchors, hollow anchors) rather than several fills and strokes per anchor. Batching a whole
    // selection into one path is slower: cairo's rasteriser pays for the size of a path.
    struct Marks {
        std::vector<const Art*> paths;
        std::vector<std::pair<CCRealPoint, CCRealPoint>> handles; // anchor to handle end, in pixels
        std::vector<CCRealPoint> filled, hollow;                   // anchor squares' centres, in pixels
    };

    void gather(ObjectId parent, Marks& m)
    {
        for (ObjectId id : doc_.children(parent)) {
            const Art* a = doc_.get(id);
            if (!a || (a->attrs & kCCArtHidden))
                continue;
            if (a->type == kCCPathArt && (a->attrs & kCCArtSelected) && finiteSegments(*a))
                m.paths.push_back(a);
            else if (a->firstChild)
                gather(id, m);
        }
    }

    void gatherPath(const Art& a, Marks& m)
    {
        for (std::size_t i = 0; i < a.segments.size(); ++i) {
            const CCPathSegment& s = a.segments[i];
            std::int16_t state = i < a.selection.size() ? a.selection[i] : std::int16_t{kCCSegmentNotSelected};
            CCRealPoint at{std::round(t_.x(s.anchor.x)), std::round(t_.y(s.anchor.y))};
            if (state != kCCSegmentNotSelected)
                for (const CCRealPoint& h : {s.in, s.out}) {
                    CCRealPoint end{t_.x(h.x), t_.y(h.y)};
                    if (std::hypot(end.x - at.x, end.y - at.y) >= 0.5) // a retracted handle has nothing to show
                        m.handles.push_back({at, end});
                }
            (state == kCCSegmentPointSelected ? m.filled : m.hollow).push_back(at);
        }
    }

    void marks()
    {
        Marks all;
        const auto& layers = doc_.layers();
        for (auto it = layers.rbegin(); it != layers.rend(); ++it)
            if (it->visible)
                gather(it->group, all);
        Marks m;
        for (const Art* a : all.paths) {
            m.handles.clear();
            m.filled.clear();
            m.hollow.clear();
            gatherPath(*a, m);
            pathMarks(*a, m);
        }
    }

    void pathMarks(const Art& a, const Marks& m)
    {
        cairo_set_line_width(cr_, kSelectionWidth);
        setColor(cr_, kSelectionColor);
        addPath(a);
        for (const auto& [from, to] : m.handles) {
            cairo_move_to(cr_, from.x, from.y);
            cairo_line_to(cr_, to.x, to.y);
        }
        cairo_stroke(cr_);
        for (const auto& h : m.handles) {
            cairo_new_sub_path(cr_);
            cairo_arc(cr_, h.second.x, h.second.y, kHandleRadius, 0, 2 * M_PI);
        }
        cairo_fill(cr_);
        const double half = kAnchorSize / 2;
        auto squares = [&](const std::vector<CCRealPoint>& centres) {
            for (const CCRealPoint& c : centres)
                cairo_rectangle(cr_, c.x - half, c.y - half, kAnchorSize, kAnchorSize);
        };
        squares(m.filled);
        cairo_fill(cr_);
        squares(m.hollow);
        cairo_set_source_rgb(cr_, 1, 1, 1);
        cairo_fill_preserve(cr_);
        setColor(cr_, kSelectionColor);
        cairo_stroke(cr_);
    }

    const Document& doc_;
    cairo_t* cr_;
    PageTransform t_;
    bool selection_;
};

// The annotators' drawing, taken from view pixels to picture pixels.
void paintOverlay(cairo_t* cr, const ViewDrawing& d, PageTransform t)
{
    if (!(d.zoom > 0) || !std::isfinite(d.zoom) || !finitePoint(d.viewOrigin))
        return;
    auto px = [&](std::int32_t h) { return t.x(d.viewOrigin.x + h / d.zoom); };
    auto py = [&](std::int32_t v) { return t.y(d.viewOrigin.y - v / d.zoom); };
    double unit = t.scale / d.zoom; // picture pixels per view pixel
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, std::max(1.0, unit));
    for (const Host::DrawOp& op : d.ops) {
        const auto& v = op.values;
        switch (op.kind) {
        case Host::DrawOp::Color:
            if (v.size() >= 3)
                cairo_set_source_rgb(cr, v[0] / 65535.0, v[1] / 65535.0, v[2] / 65535.0);
            break;
        case Host::DrawOp::Line:
            if (v.size() >= 4) {
                cairo_move_to(cr, px(v[0]), py(v[1]));
                cairo_line_to(cr, px(v[2]), py(v[3]));
                cairo_stroke(cr);
            }
            break;
        case Host::DrawOp::Rect:
            if (v.size() >= 5) {
                double l = px(v[0]), tp = py(v[1]);
                cairo_rectangle(cr, l, tp, px(v[2]) - l, py(v[3]) - tp);
                v[4] ? cairo_fill(cr) : cairo_stroke(cr);
            }
            break;
        case Host::DrawOp::Text:
            // The host's text metric: 12 view pixels high, drawn upwards from its origin. cairo's own
            // built-in font keeps pictures alike on every machine and leaves fontconfig out.
            if (v.size() >= 2) {
                cairo_select_font_face(cr, "@cairo:sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
                cairo_set_font_size(cr, 11 * unit);
                cairo_move_to(cr, px(v[0]), py(v[1]) - 2 * unit);
                cairo_show_text(cr, op.text.c_str());
                cairo_new_path(cr);
            }
            break;
        case Host::DrawOp::Point:
            if (v.size() >= 3) {
                double half = std::max(1, v[2]) * unit / 2;
                cairo_rectangle(cr, px(v[0]) - half, py(v[1]) - half, 2 * half, 2 * half);
                cairo_fill(cr);
            }
            break;
        }
    }
}

Picture fromSurface(cairo_surface_t* s)
{
    cairo_surface_flush(s);
    Picture p;
    p.width = cairo_image_surface_get_width(s);
    p.height = cairo_image_surface_get_height(s);
    int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    bool opaque = cairo_image_surface_get_format(s) == CAIRO_FORMAT_RGB24;
    p.pixels.resize(static_cast<std::size_t>(p.width) * p.height);
    for (int row = 0; row < p.height; ++row) {
        std::memcpy(&p.pixels[static_cast<std::size_t>(row) * p.width], data + static_cast<std::size_t>(row) * stride,
                    static_cast<std::size_t>(p.width) * 4);
        if (opaque)
            for (int col = 0; col < p.width; ++col)
                p.pixels[static_cast<std::size_t>(row) * p.width + col] |= 0xff000000u;
    }
    return p;
}

Surface newSurface(int width, int height)
{
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS)
        throw RenderError("cannot make a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels");
    return s;
}

// Copies a picture onto a surface at (x, y).
void place(cairo_t* cr, const Picture& p, double x, double y)
{
    if (p.width <= 0 || p.height <= 0)
        return;
    Surface s = newSurface(p.width, p.height);
    unsigned char* data = cairo_image_surface_get_data(s.get());
    int stride = cairo_image_surface_get_stride(s.get());
    for (int row = 0; row < p.height; ++row)
        std::memcpy(data + static_cast<std::size_t>(row) * stride, &p.pixels[static_cast<std::size_t>(row) * p.width],
                    static_cast<std::size_t>(p.width) * 4);
    cairo_surface_mark_dirty(s.get());
    cairo_set_source_surface(cr, s.get(), x, y);
    cairo_paint(cr);
}

} // namespace

Rgba Picture::at(int col, int row) const
{
    if (col < 0 || row < 0 || col >= width || row >= height)
        return {};
    std::uint32_t v = pixels[static_cast<std::size_t>(row) * width + col];
    return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v),
            static_cast<std::uint8_t>(v >> 24)};
}

double pictureScale(const Document& doc, const RenderOptions& options)
{
    if (!(doc.width > 0) || !(doc.height > 0) || !std::isfinite(doc.width) || !std::isfinite(doc.height))
        throw RenderError("the document has no page to draw");
    double scale = options.width > 0 ? options.width / doc.width : options.scale;
    if (!(scale > 0) || !std::isfinite(scale))
        throw RenderError("the scale must be a positive number");
    if (std::ceil(doc.width * scale) > kMaxSide || std::ceil(doc.height * scale) > kMaxSide)
        throw RenderError("the picture would be larger than " + std::to_string(kMaxSide) + " pixels a side");
    return scale;
}

Picture renderDocument(const Document& doc, const RenderOptions& options, const ViewDrawing* overlay)
{
    double scale = pictureScale(doc, options);
    int w = std::max(1, static_cast<int>(std::ceil(doc.width * scale - 1e-9)));
    int h = std::max(1, static_cast<int>(std::ceil(doc.height * scale - 1e-9)));
    Surface surface = newSurface(w, h);
    Context cr(cairo_create(surface.get()));
    cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_DEFAULT);
    cairo_set_source_rgb(cr.get(), 1, 1, 1);
    cairo_paint(cr.get());
    PageTransform t{scale, doc.height};
    Painter(doc, cr.get(), t, options.showSelection).page();
    if (overlay)
        paintOverlay(cr.get(), *overlay, t);
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
        throw RenderError(std::string("drawing failed: ") + cairo_status_to_string(cairo_status(cr.get())));
    return fromSurface(surface.get());
}

Picture renderHostView(Host& host, RenderOptions options)
{
    options.showSelection = true;
    ViewDrawing d{host.lastDrawing(), host.viewOrigin(), host.zoom()};
    return renderDocument(host.document(), options, &d);
}

Picture beforeAfterSheet(const std::vector<std::pair<Picture, Picture>>& rows)
{
    constexpr int kMargin = 16, kCaption = 20;
    int colWidth = 0, height = kMargin + kCaption;
    for (const auto& [before, after] : rows) {
        colWidth = std::max({colWidth, before.width, after.width});
        height += std::max(before.height, after.height) + kMargin;
    }
    int width = 3 * kMargin + 2 * colWidth;
    if (width > kMaxSide || height > kMaxSide)
        throw RenderError("the sheet would be larger than " + std::to_string(kMaxSide) + " pixels a side");
    Surface surface = newSurface(width, height);
    Context cr(cairo_create(surface.get()));
    cairo_set_source_rgb(cr.get(), 0.85, 0.85, 0.85);
    cairo_paint(cr.get());
    cairo_set_source_rgb(cr.get(), 0.2, 0.2, 0.2);
    cairo_select_font_face(cr.get(), "@cairo:sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr.get(), 13);
    cairo_move_to(cr.get(), kMargin, kMargin + 12);
    cairo_show_text(cr.get(), "before");
    cairo_move_to(cr.get(), 2 * kMargin + colWidth, kMargin + 12);
    cairo_show_text(cr.get(), "after");
    int y = kMargin + kCaption;
    for (const auto& [before, after] : rows) {
        place(cr.get(), before, kMargin, y);
        place(cr.get(), after, 2 * kMargin + colWidth, y);
        y += std::max(before.height, after.height) + kMargin;
    }
    return fromSurface(surface.get());
}

void writePng(const Picture& picture, const std::filesystem::path& file)
{
    if (picture.width <= 0 || picture.height <= 0)
        throw RenderError(file.string() + ": the picture is empty");
    Surface s = newSurface(picture.width, picture.height);
    Context cr(cairo_create(s.get()));
    place(cr.get(), picture, 0, 0);
    cairo_surface_flush(s.get());
    cairo_status_t st = cairo_surface_write_to_png(s.get(), file.c_str());
    if (st != CAIRO_STATUS_SUCCESS)
        throw RenderError(file.string() + ": cannot write the picture (" + cairo_status_to_string(st) + ")");
}

Picture readPng(const std::filesystem::path& file)
{
    Surface s(cairo_image_surface_create_from_png(file.c_str()));
    cairo_status_t st = cairo_surface_status(s.get());
    if (st != CAIRO_STATUS_SUCCESS)
        throw RenderError(file.string() + ": cannot read the picture (" + cairo_status_to_string(st) + ")");
    cairo_format_t f = cairo_image_surface_get_format(s.get());
    if (f == CAIRO_FORMAT_ARGB32 || f == CAIRO_FORMAT_RGB24)
        return fromSurface(s.get());
    // Gray or other formats: draw onto an ARGB surface first.
    Surface argb = newSurface(cairo_image_surface_get_width(s.get()), cairo_image_surface_get_height(s.get()));
    Context cr(cairo_create(argb.get()));
    cairo_set_source_surface(cr.get(), s.get(), 0, 0);
    cairo_paint(cr.get());
    return fromSurface(argb.get());
}

} // namespace minihost::render
