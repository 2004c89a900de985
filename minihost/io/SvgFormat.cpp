#include "io/SvgFormat.h"

#include "io/FormatCommon_p.h"

#include <2geom/elliptical-arc.h>
#include <2geom/path-sink.h>
#include <2geom/pathvector.h>
#include <2geom/svg-path-parser.h>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <unordered_map>

namespace minihost::SvgFormat {

using io::formatNumber;
using Json = nlohmann::ordered_json;

namespace {

constexpr double kPi = 3.141592653589793;
// An anchor is smooth when its two handles point in opposite directions within this angle.
constexpr double kSmoothTolerance = 0.008726646259971648; // 0.5 degree
// Relative path data rarely lands exactly on the subpath's start before a Z; closer than this counts as there.
constexpr double kCloseSnap = 1e-9;

const char* const kSvgNs = "http://www.w3.org/2000/svg";
const char* const kInkscapeNs = "http://www.inkscape.org/namespaces/inkscape";
const char* const kSodipodiNs = "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";

std::string_view localName(const char* name)
{
    std::string_view n(name);
    auto colon = n.find(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

std::string_view trim(std::string_view s)
{
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; };
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// Splits a list of numbers separated by blanks and/or commas; numbers may also abut ("1-2", ".5.5").
bool splitNumbers(std::string_view s, std::vector<double>& out)
{
    std::size_t i = 0;
    while (true) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' || s[i] == ','))
            ++i;
        if (i == s.size())
            return true;
        std::size_t start = i;
        if (s[i] == '+' || s[i] == '-')
            ++i;
        bool dot = false, digits = false;
        while (i < s.size() && ((s[i] >= '0' && s[i] <= '9') || (s[i] == '.' && !dot))) {
            dot = dot || s[i] == '.';
            digits = digits || s[i] != '.';
            ++i;
        }
        if (!digits)
            return false;
        if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
            std::size_t e = i + 1;
            if (e < s.size() && (s[e] == '+' || s[e] == '-'))
                ++e;
            if (e < s.size() && s[e] >= '0' && s[e] <= '9') {
                i = e;
                while (i < s.size() && s[i] >= '0' && s[i] <= '9')
                    ++i;
            }
        }
        auto v = io::parseNumber(s.substr(start, i - start));
        if (!v)
            return false;
        out.push_back(*v);
    }
}

CCRealPoint toPoint(const Geom::Point& p)
{
    return {p[Geom::X], p[Geom::Y]};
}

bool samePoint(const CCRealPoint& a, const CCRealPoint& b)
{
    return a.x == b.x && a.y == b.y;
}

// Smooth when both handles are out and point in opposite directions through the anchor.
bool isSmooth(const CCPathSegment& s)
{
    if (samePoint(s.in, s.anchor) || samePoint(s.out, s.anchor))
        return false;
    double ax = s.in.x - s.anchor.x, ay = s.in.y - s.anchor.y;
    double bx = s.out.x - s.anchor.x, by = s.out.y - s.anchor.y;
    double angle = std::atan2(std::fabs(ax * by - ay * bx), ax * bx + ay * by);
    return angle >= kPi - kSmoothTolerance;
}

struct Subpath {
    std::vector<CCPathSegment> segs;
    bool closed = false;
};

struct Paint {
    std::optional<Rgb> fill = Rgb{};
    std::optional<Rgb> stroke;
    double strokeWidth = 1;
    bool evenOdd = false;
};

struct Context {
    Geom::Affine ctm = Geom::identity(); // element coordinates to document coordinates
    Paint paint;
};

std::optional<Rgb> namedColour(std::string_view name)
{
    static const std::map<std::string, unsigned, std::less<>> table = {
        {"black", 0x000000},  {"silver", 0xc0c0c0}, {"gray", 0x808080},   {"grey", 0x808080},    {"white", 0xffffff},
        {"maroon", 0x800000}, {"red", 0xff0000},    {"purple", 0x800080}, {"fuchsia", 0xff00ff}, {"magenta", 0xff00ff},
        {"green", 0x008000},  {"lime", 0x00ff00},   {"olive", 0x808000},  {"yellow", 0xffff00},  {"navy", 0x000080},
        {"blue", 0x0000ff},   {"teal", 0x008080},   {"aqua", 0x00ffff},   {"cyan", 0x00ffff},    {"orange", 0xffa500}};
    auto it = table.find(lower(name));
    if (it == table.end())
        return std::nullopt;
    unsigned v = it->second;
    return Rgb{((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0};
}

// A paint value: nullopt when it is not understood (the inherited value stays), else a colour or none.
std::optional<std::optional<Rgb>> parsePaint(std::string_view value)
{
    value = trim(value);
    std::string v = lower(value);
    if (v == "none" || v == "transparent")
        return std::optional<Rgb>{};
    if (v == "currentcolor")
        return std::optional<Rgb>{Rgb{}};
    if (v.rfind("url(", 0) == 0) {
        // Gradients and patterns are not kept: use the fallback colour, else black.
        auto close = v.find(')');
        if (close != std::string::npos)
            if (auto fallback = parsePaint(std::string_view(value).substr(close + 1));
                fallback && !trim(value.substr(close + 1)).empty())
                return fallback;
        return std::optional<Rgb>{Rgb{}};
    }
    if (auto c = io::parseHexColor(v))
        return std::optional<Rgb>{c};
    if (v.rfind("rgb(", 0) == 0 && v.back() == ')') {
        std::string inner = v.substr(4, v.size() - 5);
        bool percent = inner.find('%') != std::string::npos;
        std::replace(inner.begin(), inner.end(), '%', ' ');
        std::vector<double> n;
        if (splitNumbers(inner, n) && n.size() == 3) {
            double scale = percent ? 100 : 255;
            auto clamp = [&](double x) { return std::clamp(x / scale, 0.0, 1.0); };
            return std::optional<Rgb>{Rgb{clamp(n[0]), clamp(n[1]), clamp(n[2])}};
        }
        return std::nullopt;
    }
    if (auto c = namedColour(v))
        return std::optional<Rgb>{c};
    return std::nullopt;
}

class Reader {
  public:
    Reader(std::string_view text, const std::string& file) : text_(text), file_(file) {}

    std::unique_ptr<Document> read()
    {
        pugi::xml_parse_result r =
            xml_.load_buffer(text_.data(), text_.size(), pugi::parse_default, pugi::encoding_auto);
        if (!r) {
            io::TextPosition at =
                io::positionOf(text_, static_cast<std::size_t>(std::max<std::ptrdiff_t>(r.offset, 0)));
            throw FileError(file_ + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) +
                            ": XML error: " + r.description());
        }
        pugi::xml_node root = xml_.document_element();
        if (!root || localName(root.name()) != "svg")
            fail(root, std::string("not an SVG document (the root element is <") + (root ? root.name() : "") + ">)");
        for (pugi::xml_node n = root; n; n = n.next_sibling()) // index elements by id for clip-path references
            indexIds(n);

        doc_ = std::make_unique<Document>();
        Context base = rootContext(root);

        // Top-level layer groups become layers; other top-level content is gathered into layers between them.
        struct LayerSource {
            std::string name;
            bool editable = true, visible = true;
            std::vector<pugi::xml_node> nodes;
            Context ctx;
        };
        std::vector<LayerSource> sources;
        bool lastWasLayer = true;
        for (pugi::xml_node n : root.children()) {
            if (n.type() != pugi::node_element)
                continue;
            if (localName(n.name()) == "g" && std::string_view(n.attribute("inkscape:groupmode").value()) == "layer") {
                LayerSource s;
                s.name = n.attribute("inkscape:label").value();
                if (s.name.empty())
                    s.name = n.attribute("id").value();
                s.editable = !isTrue(n.attribute("sodipodi:insensitive").value());
                s.visible = !isHiddenByStyle(n);
                s.ctx = derive(n, base);
                for (pugi::xml_node c : n.children())
                    s.nodes.push_back(c);
                sources.push_back(std::move(s));
                lastWasLayer = true;
            } else {
                if (lastWasLayer) {
                    sources.emplace_back();
                    sources.back().ctx = base;
                }
                sources.back().nodes.push_back(n);
                lastWasLayer = false;
            }
        }
        if (sources.empty())
            sources.emplace_back();
        for (std::size_t i = 0; i < sources.size(); ++i)
            if (sources[i].name.empty())
                sources[i].name = "Layer " + std::to_string(i + 1);

        // Bottom first in the file; the document adds each new layer below the others.
        std::vector<ObjectId> groups(sources.size());
        for (std::size_t i = sources.size(); i-- > 0;)
            groups[i] = doc_->layer(doc_->addLayer(sources[i].name, sources[i].editable, sources[i].visible))->group;
        for (std::size_t i = 0; i < sources.size(); ++i)
            for (pugi::xml_node n : sources[i].nodes)
                element(n, sources[i].ctx, groups[i]);
        return std::move(doc_);
    }

  private:
    // ------------------------------------------------------------ errors

    [[noreturn]] void fail(pugi::xml_node n, const std::string& message) const
    {
        std::string where = file_;
        if (n && n.offset_debug() >= 0)
            where += ":" + std::to_string(io::positionOf(text_, static_cast<std::size_t>(n.offset_debug())).line);
        if (n) {
            std::string id = n.attribute("id").value();
            where += id.empty() ? ": <" + std::string(n.name()) + "> (element " + std::to_string(elementNumber(n)) + ")"
                                : ": <" + std::string(n.name()) + " id=\"" + id + "\">";
        }
        throw FileError(where + ": " + message);
    }

    int elementNumber(pugi::xml_node target) const
    {
        int number = 0, found = 0;
        std::function<bool(pugi::xml_node)> visit = [&](pugi::xml_node n) {
            if (n.type() == pugi::node_element) {
                ++number;
                if (n == target) {
                    found = number;
                    return false;
                }
            }
            for (pugi::xml_node c : n.children())
                if (!visit(c))
                    return false;
            return true;
        };
        visit(xml_.document_element());
        return found;
    }

    void indexIds(pugi::xml_node n)
    {
        if (n.type() != pugi::node_element)
            return;
        if (const char* id = n.attribute("id").value(); *id)
            ids_.emplace(id, n);
        for (pugi::xml_node c : n.children())
            indexIds(c);
    }

    // ------------------------------------------------------------ attributes

    static bool isTrue(std::string_view v) { return v == "true" || v == "1"; }

    // The value of a presentation property: the style attribute wins over the attribute of that name.
    static std::optional<std::string> property(pugi::xml_node n, const char* name)
    {
        std::string_view style = n.attribute("style").value();
        std::optional<std::string> found;
        while (!style.empty()) {
            auto semi = style.find(';');
            std::string_view decl = style.substr(0, semi);
            style = semi == std::string_view::npos ? std::string_view() : style.substr(semi + 1);
            auto colon = decl.find(':');
            if (colon == std::string_view::npos)
                continue;
            if (lower(trim(decl.substr(0, colon))) == name) {
                std::string_view v = trim(decl.substr(colon + 1));
                if (auto bang = v.find("!important"); bang != std::string_view::npos)
                    v = trim(v.substr(0, bang));
                found = std::string(v);
            }
        }
        if (found)
            return found;
        if (pugi::xml_attribute a = n.attribute(name))
            return std::string(trim(a.value()));
        return std::nullopt;
    }

    static bool isHiddenByStyle(pugi::xml_node n)
    {
        auto display = property(n, "display");
        auto visibility = property(n, "visibility");
        return (display && lower(*display) == "none") ||
               (visibility && (lower(*visibility) == "hidden" || lower(*visibility) == "collapse"));
    }

    // A length in user units. Plain numbers and px are user units; absolute units convert at 96 px per inch.
    double length(pugi::xml_node n, const char* name, double fallback) const
    {
        pugi::xml_attribute a = n.attribute(name);
        if (!a)
            return fallback;
        auto [value, unit] = splitLength(n, name, a.value());
        double factor = unit == "%" ? percentBase(name) / 100 : cssPixels(unit);
        if (factor == 0)
            fail(n, std::string("unknown units \"") + unit + "\" in " + name + "=\"" + a.value() + "\"");
        return check(n, value * factor, name);
    }

    // What 100% of a length is: the viewport's width or height, or its normalised diagonal for radii.
    double percentBase(std::string_view name) const
    {
        if (name == "x" || name == "width" || name == "cx" || name == "rx" || name == "x1" || name == "x2")
            return viewport_[0];
        if (name == "y" || name == "height" || name == "cy" || name == "ry" || name == "y1" || name == "y2")
            return viewport_[1];
        return std::sqrt((viewport_[0] * viewport_[0] + viewport_[1] * viewport_[1]) / 2);
    }

    std::pair<double, std::string> splitLength(pugi::xml_node n, const char* name, std::string_view text) const
    {
        text = trim(text);
        std::size_t end = text.size();
        while (end > 0 && (std::isalpha(static_cast<unsigned char>(text[end - 1])) || text[end - 1] == '%'))
            --end;
        auto v = io::parseNumber(text.substr(0, end));
        if (!v)
            fail(n, std::string("expected a length in ") + name + "=\"" + std::string(text) + "\"");
        return {*v, std::string(text.substr(end))};
    }

    static double cssPixels(std::string_view unit)
    {
        if (unit.empty() || unit == "px")
            return 1;
        if (unit == "pt")
            return 96.0 / 72;
        if (unit == "pc")
            return 16;
        if (unit == "in")
            return 96;
        if (unit == "cm")
            return 96 / 2.54;
        if (unit == "mm")
            return 96 / 25.4;
        if (unit == "Q")
            return 96 / 101.6;
        return 0;
    }

    // Points per unit of a page size; a user unit (px) counts as one point, as illustration hosts read it.
    static double points(std::string_view unit)
    {
        if (unit.empty() || unit == "px" || unit == "pt")
            return 1;
        return cssPixels(unit) * 0.75;
    }

    double check(pugi::xml_node n, double v, const char* what) const
    {
        if (!io::validCoordinate(v))
            fail(n, std::string(what) + " " + formatNumber(v) + " is not a finite number within +-1e15");
        return v;
    }

    Context rootContext(pugi::xml_node root)
    {
        std::vector<double> vb;
        if (pugi::xml_attribute a = root.attribute("viewBox")) {
            if (!splitNumbers(a.value(), vb) || vb.size() != 4)
                fail(root, std::string("viewBox=\"") + a.value() + "\" is not four numbers");
            for (double v : vb)
                check(root, v, "viewBox value");
            if (!(vb[2] > 0) || !(vb[3] > 0))
                fail(root, std::string("viewBox=\"") + a.value() + "\" has no area");
        }
        // Page size in points and in user units.
        struct Side {
            bool given = false;
            double pt = 0, user = 0;
        } side[2];
        const char* names[2] = {"width", "height"};
        for (int i = 0; i < 2; ++i) {
            pugi::xml_attribute a = root.attribute(names[i]);
            if (!a)
                continue;
            auto [value, unit] = splitLength(root, names[i], a.value());
            if (unit == "%")
                continue; // relative to a viewer's window: no page size
            if (cssPixels(unit) == 0)
                fail(root, "unknown units \"" + unit + "\" in " + names[i] + "=\"" + a.value() + "\"");
            if (!(value > 0))
                fail(root, std::string(names[i]) + "=\"" + a.value() + "\" is not a positive length");
            side[i] = {true, check(root, value * points(unit), names[i]), value * cssPixels(unit)};
            if (i == 0 && !root.attribute("data-units"))
                doc_->units = unit.empty() ? "px" : unit == "Q" ? "H" : unit == "pc" ? "pt" : unit;
        }
        if (pugi::xml_attribute u = root.attribute("data-units")) {
            doc_->units = u.value();
            if (!io::knownUnits(doc_->units))
                fail(root, "unknown units \"" + doc_->units + "\" (pt, in, cm, mm, px or H)");
        }

        double vx = 0, vy = 0, vw, vh;
        if (vb.size() == 4) {
            vx = vb[0], vy = vb[1], vw = vb[2], vh = vb[3];
            // A missing side follows the viewBox's proportions.
            double w = side[0].given ? side[0].pt : side[1].given ? side[1].pt * vw / vh : vw;
            double h = side[1].given ? side[1].pt : side[0].given ? side[0].pt * vh / vw : vh;
            doc_->width = w, doc_->height = h;
        } else {
            doc_->width = side[0].given ? side[0].pt : doc_->width;
            doc_->height = side[1].given ? side[1].pt : doc_->height;
            vw = side[0].given ? side[0].user : doc_->width;
            vh = side[1].given ? side[1].user : doc_->height;
        }
        double sx = doc_->width / vw, sy = doc_->height / vh;
        viewport_[0] = vw, viewport_[1] = vh;
        Context ctx;
        // user (x, y) -> ((x - vx) sx, height - (y - vy) sy)
        ctx.ctm = Geom::Affine(sx, 0, 0, -sy, -vx * sx, doc_->height + vy * sy);
        ctx = derive(root, ctx, false);
        return ctx;
    }

    Geom::Affine transform(pugi::xml_node n) const
    {
        Geom::Affine m = Geom::identity();
        std::string_view s = n.attribute("transform").value();
        auto bad = [&]() { fail(n, "unparsable transform=\"" + std::string(n.attribute("transform").value()) + "\""); };
        while (true) {
            while (!s.empty() && (std::isspace(static_cast<unsigned char>(s.front())) || s.front() == ','))
                s.remove_prefix(1);
            if (s.empty())
                break;
            auto open = s.find('(');
            auto close = s.find(')');
            if (open == std::string_view::npos || close == std::string_view::npos || close < open)
                bad();
            std::string name(trim(s.substr(0, open)));
            std::vector<double> a;
            if (!splitNumbers(s.substr(open + 1, close - open - 1), a))
                bad();
            s.remove_prefix(close + 1);
            Geom::Affine t;
            double deg = kPi / 180;
            if (name == "matrix" && a.size() == 6)
                t = Geom::Affine(a[0], a[1], a[2], a[3], a[4], a[5]);
            else if (name == "translate" && (a.size() == 1 || a.size() == 2))
                t = Geom::Affine(1, 0, 0, 1, a[0], a.size() == 2 ? a[1] : 0);
            else if (name == "scale" && (a.size() == 1 || a.size() == 2))
                t = Geom::Affine(a[0], 0, 0, a.size() == 2 ? a[1] : a[0], 0, 0);
            else if (name == "rotate" && (a.size() == 1 || a.size() == 3)) {
                double c = std::cos(a[0] * deg), si = std::sin(a[0] * deg);
                t = Geom::Affine(c, si, -si, c, 0, 0);
                if (a.size() == 3)
                    t = Geom::Affine(1, 0, 0, 1, -a[1], -a[2]) * t * Geom::Affine(1, 0, 0, 1, a[1], a[2]);
            } else if (name == "skewX" && a.size() == 1)
                t = Geom::Affine(1, 0, std::tan(a[0] * deg), 1, 0, 0);
            else if (name == "skewY" && a.size() == 1)
                t = Geom::Affine(1, std::tan(a[0] * deg), 0, 1, 0, 0);
            else
                bad();
            // The rightmost transform of the list applies first.
            m = t * m;
        }
        return m;
    }

    // The context of an element's content: its transform, then its paint over the inherited one.
    Context derive(pugi::xml_node n, const Context& parent, bool withTransform = true) const
    {
        Context ctx = parent;
        if (withTransform && n.attribute("transform"))
            ctx.ctm = transform(n) * parent.ctm;
        if (auto v = property(n, "fill"))
            if (auto p = parsePaint(*v))
                ctx.paint.fill = *p;
        if (auto v = property(n, "stroke"))
            if (auto p = parsePaint(*v))
                ctx.paint.stroke = *p;
        if (auto v = property(n, "stroke-width")) {
            std::string_view t = trim(*v);
            std::size_t end = t.size();
            while (end > 0 && std::isalpha(static_cast<unsigned char>(t[end - 1])))
                --end;
            if (auto w = io::parseNumber(t.substr(0, end)); w && *w >= 0 && io::validCoordinate(*w))
                ctx.paint.strokeWidth = *w; // in the user units of whichever element draws it
        }
        if (auto v = property(n, "fill-rule"))
            ctx.paint.evenOdd = lower(*v) == "evenodd";
        return ctx;
    }

    // ------------------------------------------------------------ geometry

    // Path data of a basic shape in its own coordinates; empty when the shape draws nothing.
    std::string shapeData(pugi::xml_node n, std::string_view kind) const
    {
        auto num = [](double v) { return formatNumber(v); };
        std::string d;
        if (kind == "path")
            return n.attribute("d").value();
        if (kind == "rect") {
            double x = length(n, "x", 0), y = length(n, "y", 0);
            double w = length(n, "width", 0), h = length(n, "height", 0);
            if (w < 0 || h < 0)
                fail(n, "a rectangle has a negative width or height");
            if (w == 0 || h == 0)
                return d;
            bool hasRx = n.attribute("rx"), hasRy = n.attribute("ry");
            double rx = length(n, "rx", 0), ry = length(n, "ry", 0);
            if (rx < 0 || ry < 0)
                fail(n, "a rectangle has a negative corner radius");
            if (hasRx && !hasRy)
                ry = rx;
            if (hasRy && !hasRx)
                rx = ry;
            rx = std::min(rx, w / 2), ry = std::min(ry, h / 2);
            if (rx == 0 || ry == 0)
                return "M" + num(x) + "," + num(y) + " H" + num(x + w) + " V" + num(y + h) + " H" + num(x) + " Z";
            std::string a = " A" + num(rx) + "," + num(ry) + " 0 0 1 ";
            return "M" + num(x + rx) + "," + num(y) + " H" + num(x + w - rx) + a + num(x + w) + "," + num(y + ry) +
                   " V" + num(y + h - ry) + a + num(x + w - rx) + "," + num(y + h) + " H" + num(x + rx) + a + num(x) +
                   "," + num(y + h - ry) + " V" + num(y + ry) + a + num(x + rx) + "," + num(y) + " Z";
        }
        if (kind == "circle" || kind == "ellipse") {
            double cx = length(n, "cx", 0), cy = length(n, "cy", 0), rx, ry;
            if (kind == "circle")
                rx = ry = length(n, "r", 0);
            else {
                rx = length(n, "rx", 0), ry = length(n, "ry", 0);
                if (!n.attribute("rx"))
                    rx = ry;
                if (!n.attribute("ry"))
                    ry = rx;
            }
            if (rx < 0 || ry < 0)
                fail(n, "a negative radius");
            if (rx == 0 || ry == 0)
                return d;
            std::string a = " A" + num(rx) + "," + num(ry) + " 0 0 1 ";
            return "M" + num(cx + rx) + "," + num(cy) + a + num(cx) + "," + num(cy + ry) + a + num(cx - rx) + "," +
                   num(cy) + a + num(cx) + "," + num(cy - ry) + a + num(cx + rx) + "," + num(cy) + " Z";
        }
        if (kind == "line")
            return "M" + num(length(n, "x1", 0)) + "," + num(length(n, "y1", 0)) + " L" + num(length(n, "x2", 0)) +
                   "," + num(length(n, "y2", 0));
        // polyline, polygon
        std::vector<double> pts;
        if (!splitNumbers(n.attribute("points").value(), pts))
            fail(n, "unparsable points=\"" + std::string(n.attribute("points").value()) + "\"");
        pts.resize(pts.size() & ~std::size_t(1)); // an odd last number is ignored, as SVG viewers do
        for (std::size_t i = 0; i < pts.size(); i += 2)
            d += (i == 0 ? "M" : " L") + num(pts[i]) + "," + num(pts[i + 1]);
        if (!d.empty() && kind == "polygon")
            d += " Z";
        return d;
    }

    std::vector<Subpath> subpaths(pugi::xml_node n, const std::string& data, const Geom::Affine& m) const
    {
        Geom::PathVector pv;
        try {
            Geom::PathBuilder builder;
            Geom::SVGPathParser parser(builder);
            parser.setZSnapThreshold(kCloseSnap);
            parser.parse(data);
            pv = builder.peek();
        } catch (const std::exception&) {
            std::string shown = data.size() > 60 ? data.substr(0, 57) + "..." : data;
            fail(n, "unparsable path data \"" + shown + "\"");
        }
        std::vector<Subpath> out;
        for (const Geom::Path& path : pv) {
            Subpath sp;
            CCRealPoint start = toPoint(path.initialPoint());
            sp.segs.push_back({start, start, start, 1});
            auto cubic = [&](const Geom::Point& c1, const Geom::Point& c2, const Geom::Point& p) {
                sp.segs.back().out = toPoint(c1);
                CCRealPoint end = toPoint(p);
                sp.segs.push_back({end, toPoint(c2), end, 1});
            };
            for (std::size_t i = 0; i < path.size_open(); ++i) {
                const Geom::Curve& c = path[i];
                if (auto* b = dynamic_cast<const Geom::BezierCurve*>(&c)) {
                    std::vector<Geom::Point> p = b->controlPoints();
                    if (p.size() == 2)
                        cubic(p[0], p[1], p[1]);
                    else if (p.size() == 3) // a quadratic: its cubic has handles 2/3 of the way to the control point
                        cubic(p[0] + (p[1] - p[0]) * (2.0 / 3), p[2] + (p[1] - p[2]) * (2.0 / 3), p[2]);
                    else if (p.size() == 4)
                        cubic(p[1], p[2], p[3]);
                    else
                        fail(n, "unsupported curve in path data");
                } else if (auto* arc = dynamic_cast<const Geom::EllipticalArc*>(&c)) {
                    if (arc->isDegenerate())
                        continue; // an arc to its own start point draws nothing
                    if (arc->isChord()) {
                        cubic(arc->initialPoint(), arc->finalPoint(), arc->finalPoint());
                        continue;
                    }
                    // Pieces of at most a quarter turn on the unit circle, mapped onto the ellipse.
                    double sweep = arc->sweepAngle();
                    int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / (kPi / 2) - 1e-9)));
                    double step = sweep / pieces, h = 4.0 / 3 * std::tan(step / 4);
                    double a0 = arc->initialAngle().radians();
                    Geom::Affine u = arc->unitCircleTransform();
                    for (int k = 0; k < pieces; ++k) {
                        double ta = a0 + k * step, tb = a0 + (k + 1) * step;
                        Geom::Point pa(std::cos(ta), std::sin(ta)), pb(std::cos(tb), std::sin(tb));
                        Geom::Point c1 = (pa + Geom::Point(-pa[Geom::Y], pa[Geom::X]) * h) * u;
                        Geom::Point c2 = (pb - Geom::Point(-pb[Geom::Y], pb[Geom::X]) * h) * u;
                        cubic(c1, c2, k + 1 == pieces ? arc->finalPoint() : pb * u);
                    }
                } else {
                    fail(n, "unsupported curve in path data");
                }
            }
            sp.closed = path.closed();
            if (sp.closed && sp.segs.size() > 1 && samePoint(sp.segs.back().anchor, sp.segs.front().anchor)) {
                sp.segs.front().in = sp.segs.back().in; // the last curve ends on the start: one anchor
                sp.segs.pop_back();
            }
            for (CCPathSegment& s : sp.segs) {
                for (CCRealPoint* p : {&s.anchor, &s.in, &s.out}) {
                    Geom::Point q = Geom::Point(p->x, p->y) * m;
                    *p = toPoint(q);
                    check(n, p->x, "coordinate");
                    check(n, p->y, "coordinate");
                }
            }
            for (CCPathSegment& s : sp.segs)
                s.corner = isSmooth(s) ? 0 : 1;
            if (sp.segs.size() > kCCMaxPathSegments)
                fail(n, "a path with " + std::to_string(sp.segs.size()) + " anchors, more than a path holds (" +
                            std::to_string(kCCMaxPathSegments) + ")");
            out.push_back(std::move(sp));
        }
        return out;
    }

    // ------------------------------------------------------------ objects

    static std::vector<std::int16_t> selectionList(std::string_view text, std::size_t count)
    {
        std::vector<double> v;
        std::vector<std::int16_t> out(count, kCCSegmentNotSelected);
        // A list that no longer fits the path (another editor changed it) is dropped, not fatal.
        if (!splitNumbers(text, v) || v.size() != count)
            return out;
        for (std::size_t i = 0; i < count; ++i) {
            if (v[i] != std::floor(v[i]) || v[i] < 0 || v[i] > 4)
                return std::vector<std::int16_t>(count, kCCSegmentNotSelected);
            out[i] = static_cast<std::int16_t>(v[i]);
        }
        return out;
    }

    void commonAttributes(pugi::xml_node n, Art& a, bool hidden) const
    {
        a.name = n.attribute("id").value();
        if (isTrue(n.attribute("data-selected").value()))
            a.attrs |= kCCArtSelected;
        if (isTrue(n.attribute("data-wholly").value()))
            a.attrs |= kCCArtFullySelected;
        if (isTrue(n.attribute("sodipodi:insensitive").value()))
            a.attrs |= kCCArtLocked;
        if (hidden)
            a.attrs |= kCCArtHidden;
        if (pugi::xml_attribute x = n.attribute("data-extra")) {
            Json extra = Json::parse(x.value(), nullptr, false);
            if (extra.is_object() && !extra.empty()) // anything else is not ours to keep
                a.extra = extra.dump(-1, ' ', false, Json::error_handler_t::replace);
        }
    }

    void fillPath(Art& a, Subpath&& sp, const Context& ctx) const
    {
        const Paint& paint = ctx.paint;
        a.segments = std::move(sp.segs);
        a.closed = sp.closed;
        a.selection.assign(a.segments.size(), kCCSegmentNotSelected);
        a.style.fill = paint.fill;
        a.style.stroke = paint.stroke;
        a.style.strokeWidth = paint.strokeWidth * std::sqrt(std::fabs(ctx.ctm.det()));
        a.style.evenOdd = paint.evenOdd;
    }

    // A path or compound path from path data; 0 when the data draws nothing.
    ObjectId shape(pugi::xml_node n, std::vector<Subpath> sps, const Context& ctx, ObjectId parent, bool hidden)
    {
        bool compound = std::string_view(n.attribute("data-type").value()) == "compound";
        if (sps.empty())
            return 0;
        if (sps.size() == 1 && !compound) {
            ObjectId id = doc_->create(kCCPathArt, kCCPlaceInsideOnTop, parent);
            Art& a = *doc_->edit(id);
            fillPath(a, std::move(sps[0]), ctx);
            commonAttributes(n, a, hidden);
            a.guide = isTrue(n.attribute("data-guide").value());
            a.selection = selectionList(n.attribute("data-selection").value(), a.segments.size());
            return id;
        }
        ObjectId id = doc_->create(kCCCompoundPathArt, kCCPlaceInsideOnTop, parent);
        commonAttributes(n, *doc_->edit(id), hidden);
        Json children = Json::parse(n.attribute("data-children").value(), nullptr, false);
        bool described = children.is_array() && children.size() == sps.size();
        for (std::size_t i = 0; i < sps.size(); ++i) {
            ObjectId child = doc_->create(kCCPathArt, kCCPlaceInsideOnTop, id);
            Art& a = *doc_->edit(child);
            fillPath(a, std::move(sps[i]), ctx);
            if (described && children[i].is_object())
                childAttributes(children[i], a);
        }
        return id;
    }

    static void childAttributes(const Json& j, Art& a)
    {
        auto flag = [&](const char* key) { return j.contains(key) && j[key].is_boolean() && j[key].get<bool>(); };
        if (j.contains("id") && j["id"].is_string())
            a.name = j["id"].get<std::string>();
        a.attrs |= (flag("selected") ? kCCArtSelected : 0) | (flag("locked") ? kCCArtLocked : 0) |
                   (flag("hidden") ? kCCArtHidden : 0) | (flag("wholly") ? kCCArtFullySelected : 0);
        a.guide = flag("guide");
        if (j.contains("selection") && j["selection"].is_array() && j["selection"].size() == a.segments.size()) {
            std::string text;
            for (const auto& s : j["selection"])
                text += (s.is_number() ? formatNumber(s.get<double>()) : std::string("x")) + " ";
            a.selection = selectionList(text, a.segments.size());
        }
        if (j.contains("extra") && j["extra"].is_object() && !j["extra"].empty())
            a.extra = j["extra"].dump(-1, ' ', false, Json::error_handler_t::replace);
    }

    void element(pugi::xml_node n, const Context& parentCtx, ObjectId parent)
    {
        if (n.type() != pugi::node_element)
            return;
        std::string_view kind = localName(n.name());
        static const std::set<std::string_view> shapes = {"path", "rect",     "circle", "ellipse",
                                                          "line", "polyline", "polygon"};
        static const std::set<std::string_view> groups = {"g", "a", "switch", "svg"};
        bool isShape = shapes.count(kind) > 0;
        if (!isShape && !groups.count(kind))
            return; // definitions, text, images and metadata are not drawn as paths
        Context ctx = derive(n, parentCtx);
        bool hidden = isHiddenByStyle(n);

        if (isShape) {
            std::string data = shapeData(n, kind);
            if (kind == "path" && trim(data).empty()) {
                // An empty path is an object of its own (a path whose anchors were all removed).
                ObjectId id = doc_->create(kCCPathArt, kCCPlaceInsideOnTop, parent);
                fillPath(*doc_->edit(id), Subpath{}, ctx);
                commonAttributes(n, *doc_->edit(id), hidden);
                doc_->edit(id)->guide = isTrue(n.attribute("data-guide").value());
                return;
            }
            shape(n, subpaths(n, data, ctx.ctm), ctx, parent, hidden);
            return;
        }
        std::string_view type = n.attribute("data-type").value();
        if (type == "plugin") {
            ObjectId id = doc_->create(kCCPluginArt, kCCPlaceInsideOnTop, parent);
            commonAttributes(n, *doc_->edit(id), hidden);
            return;
        }
        std::int16_t artType = type == "textpath" ? kCCTextPathArt : kCCGroupArt;
        ObjectId id = doc_->create(artType, kCCPlaceInsideOnTop, parent);
        commonAttributes(n, *doc_->edit(id), hidden);
        for (pugi::xml_node c : n.children())
            element(c, ctx, id);
        if (artType == kCCTextPathArt) {
            std::vector<ObjectId> kids = doc_->children(id);
            if (kids.size() != 1 || doc_->get(kids[0])->type != kCCPathArt)
                fail(n, "a textpath holds exactly one path");
            return;
        }
        if (isTrue(n.attribute("data-clipped").value()))
            doc_->edit(id)->clipped = true;
        if (pugi::xml_node clip = clipSource(n)) {
            // The clipping path is drawn in the group's coordinates and goes on top of its contents.
            Context clipCtx = derive(clip, ctx);
            std::vector<Subpath> all;
            pugi::xml_node first;
            for (pugi::xml_node c : clip.children()) {
                std::string_view ck = localName(c.name());
                if (c.type() != pugi::node_element || !shapes.count(ck))
                    continue;
                Context cc = derive(c, clipCtx);
                for (Subpath& sp : subpaths(c, shapeData(c, ck), cc.ctm))
                    all.push_back(std::move(sp));
                if (!first)
                    first = c;
            }
            if (first && shape(first, std::move(all), derive(first, clipCtx), id, isHiddenByStyle(first)))
                doc_->edit(id)->clipped = true;
        }
    }

    // The clipPath element a group's clip-path attribute names, if any.
    pugi::xml_node clipSource(pugi::xml_node n) const
    {
        auto v = property(n, "clip-path");
        if (!v)
            return {};
        std::string_view s = trim(*v);
        if (s.rfind("url(", 0) != 0 || s.back() != ')')
            return {};
        s = trim(s.substr(4, s.size() - 5));
        if (s.size() >= 2 && (s.front() == '"' || s.front() == '\''))
            s = s.substr(1, s.size() - 2);
        if (s.empty() || s.front() != '#')
            return {};
        auto it = ids_.find(std::string(s.substr(1)));
        if (it == ids_.end() || localName(it->second.name()) != "clipPath")
            return {};
        return it->second;
    }

    std::string_view text_;
    const std::string& file_;
    pugi::xml_document xml_;
    std::unordered_map<std::string, pugi::xml_node> ids_;
    std::unique_ptr<Document> doc_;
    double viewport_[2] = {0, 0}; // user units
};

// ---------------------------------------------------------------- writing

class Writer {
  public:
    Writer(const Document& doc) : doc_(doc)
    {
        doc.walk([&](const Art& a) {
            if (!a.name.empty())
                used_.insert(a.name);
            return true;
        });
    }

    std::string write()
    {
        pugi::xml_document x;
        pugi::xml_node decl = x.append_child(pugi::node_declaration);
        decl.append_attribute("version") = "1.0";
        decl.append_attribute("encoding") = "UTF-8";
        pugi::xml_node svg = x.append_child("svg");
        svg.append_attribute("xmlns") = kSvgNs;
        svg.append_attribute("xmlns:inkscape") = kInkscapeNs;
        svg.append_attribute("xmlns:sodipodi") = kSodipodiNs;
        svg.append_attribute("width") = (formatNumber(doc_.width) + "pt").c_str();
        svg.append_attribute("height") = (formatNumber(doc_.height) + "pt").c_str();
        svg.append_attribute("viewBox") = ("0 0 " + formatNumber(doc_.width) + " " + formatNumber(doc_.height)).c_str();
        svg.append_attribute("data-units") = doc_.units.c_str();
        const auto& layers = doc_.layers();
        for (auto it = layers.rbegin(); it != layers.rend(); ++it) { // bottom first
            pugi::xml_node g = svg.append_child("g");
            g.append_attribute("id") = uniqueId("layer").c_str();
            g.append_attribute("inkscape:groupmode") = "layer";
            g.append_attribute("inkscape:label") = it->name.c_str();
            if (!it->editable)
                g.append_attribute("sodipodi:insensitive") = "true";
            if (!it->visible)
                g.append_attribute("style") = "display:none";
            children(g, it->group, 0);
        }
        std::ostringstream out;
        x.save(out, "  ", pugi::format_indent, pugi::encoding_utf8);
        return out.str();
    }

  private:
    std::string uniqueId(const std::string& stem)
    {
        for (int i = 1;; ++i) {
            std::string id = stem + std::to_string(i);
            if (used_.insert(id).second)
                return id;
        }
    }

    // Children bottom first, leaving out `skip`.
    void children(pugi::xml_node node, ObjectId parent, ObjectId skip)
    {
        std::vector<ObjectId> ids = doc_.children(parent);
        for (auto it = ids.rbegin(); it != ids.rend(); ++it)
            if (*it != skip)
                art(node, *doc_.get(*it));
    }

    std::string num(double v) const { return formatNumber(v); }
    std::string pointText(const CCRealPoint& p) const { return num(p.x) + " " + num(doc_.height - p.y); }

    std::string pathData(const Art& a) const
    {
        const auto& s = a.segments;
        if (s.empty())
            return "";
        std::string d = "M " + pointText(s[0].anchor);
        auto curve = [&](const CCPathSegment& from, const CCPathSegment& to) {
            if (samePoint(from.out, from.anchor) && samePoint(to.in, to.anchor))
                d += " L " + pointText(to.anchor);
            else
                d += " C " + pointText(from.out) + " " + pointText(to.in) + " " + pointText(to.anchor);
        };
        for (std::size_t i = 1; i < s.size(); ++i)
            curve(s[i - 1], s[i]);
        if (a.closed) {
            const CCPathSegment& last = s.back();
            // The closing curve is written unless it is straight (Z draws that); a single anchor may close
            // on itself through its two handles.
            if (!(samePoint(last.out, last.anchor) && samePoint(s[0].in, s[0].anchor)))
                curve(last, s[0]);
            d += " Z";
        }
        return d;
    }

    static std::string selectionText(const Art& a)
    {
        bool any = std::any_of(a.selection.begin(), a.selection.end(), [](std::int16_t v) { return v != 0; });
        if (!any)
            return "";
        std::string t;
        for (std::size_t i = 0; i < a.selection.size(); ++i)
            t += (i ? " " : "") + std::to_string(a.selection[i]);
        return t;
    }

    static void common(pugi::xml_node n, const Art& a)
    {
        if (!a.name.empty())
            n.append_attribute("id") = a.name.c_str();
        if (a.attrs & kCCArtSelected)
            n.append_attribute("data-selected") = "true";
        if (a.attrs & kCCArtFullySelected)
            n.append_attribute("data-wholly") = "true";
        if (a.attrs & kCCArtLocked)
            n.append_attribute("sodipodi:insensitive") = "true";
        if (a.attrs & kCCArtHidden)
            n.append_attribute("style") = "display:none";
        if (!a.extra.empty())
            n.append_attribute("data-extra") = a.extra.c_str();
    }

    void paint(pugi::xml_node n, const PathStyle& s) const
    {
        n.append_attribute("fill") = s.fill ? io::hexColor(*s.fill).c_str() : "none";
        n.append_attribute("stroke") = s.stroke ? io::hexColor(*s.stroke).c_str() : "none";
        // Written even without a stroke: the width is kept for when a stroke is given again.
        n.append_attribute("stroke-width") = num(s.strokeWidth).c_str();
        if (s.evenOdd)
            n.append_attribute("fill-rule") = "evenodd";
    }

    void art(pugi::xml_node parent, const Art& a)
    {
        switch (a.type) {
        case kCCPathArt: {
            pugi::xml_node n = parent.append_child("path");
            common(n, a);
            n.append_attribute("d") = pathData(a).c_str();
            paint(n, a.style);
            if (a.guide)
                n.append_attribute("data-guide") = "true";
            if (std::string sel = selectionText(a); !sel.empty())
                n.append_attribute("data-selection") = sel.c_str();
            break;
        }
        case kCCCompoundPathArt: {
            pugi::xml_node n = parent.append_child("path");
            common(n, a);
            n.append_attribute("data-type") = "compound";
            std::string d;
            Json described = Json::array();
            const PathStyle* style = nullptr;
            std::vector<ObjectId> ids = doc_.children(a.id);
            for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
                const Art& c = *doc_.get(*it);
                if (c.type != kCCPathArt || c.segments.empty())
                    continue; // only paths draw in a compound path
                style = style ? style : &c.style;
                d += (d.empty() ? "" : " ") + pathData(c);
                Json j = Json::object();
                if (!c.name.empty())
                    j["id"] = c.name;
                for (auto [bit, key] : {std::pair{kCCArtSelected, "selected"}, std::pair{kCCArtLocked, "locked"},
                                        std::pair{kCCArtHidden, "hidden"}, std::pair{kCCArtFullySelected, "wholly"}})
                    if (c.attrs & bit)
                        j[key] = true;
                if (c.guide)
                    j["guide"] = true;
                if (!selectionText(c).empty())
                    j["selection"] = c.selection;
                if (!c.extra.empty())
                    if (Json e = Json::parse(c.extra, nullptr, false); e.is_object())
                        j["extra"] = e;
                described.push_back(std::move(j));
            }
            n.append_attribute("d") = d.c_str();
            paint(n, style ? *style : PathStyle{});
            n.append_attribute("data-children") =
                described.dump(-1, ' ', false, Json::error_handler_t::replace).c_str();
            break;
        }
        case kCCGroupArt:
        case kCCTextPathArt: {
            pugi::xml_node g = parent.append_child("g");
            common(g, a);
            ObjectId skip = 0;
            if (a.type == kCCTextPathArt) {
                g.append_attribute("data-type") = "textpath";
            } else if (a.clipped) {
                const Art* top = doc_.get(a.firstChild);
                if (top && (top->type == kCCPathArt || top->type == kCCCompoundPathArt)) {
                    std::string clipId = uniqueId((a.name.empty() ? std::string("clip") : a.name + "-clip"));
                    g.append_attribute("clip-path") = ("url(#" + clipId + ")").c_str();
                    pugi::xml_node clip = g.append_child("clipPath");
                    clip.append_attribute("id") = clipId.c_str();
                    art(clip, *top);
                    skip = top->id;
                } else {
                    g.append_attribute("data-clipped") = "true";
                }
            }
            children(g, a.id, skip);
            break;
        }
        case kCCPluginArt: {
            pugi::xml_node g = parent.append_child("g");
            common(g, a);
            g.append_attribute("data-type") = "plugin";
            break;
        }
        default:
            break; // other art has no SVG form
        }
    }

    const Document& doc_;
    std::set<std::string> used_;
};

} // namespace

std::unique_ptr<Document> read(std::string_view text, const std::string& file)
{
    return Reader(text, file).read();
}

std::string write(const Document& doc, const std::string& file)
{
    io::checkWritable(doc, file);
    return Writer(doc).write();
}

} // namespace minihost::SvgFormat
