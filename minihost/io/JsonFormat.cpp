#include "io/JsonFormat.h"

#include "io/FormatCommon_p.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

namespace minihost::JsonFormat {

using Json = nlohmann::ordered_json;
using io::formatNumber;

namespace {

constexpr const char* kFormatName = "curvicraft-document";
constexpr int kVersion = 1;

// Keys the reader interprets on an art object of a type; any other key is kept in Art::extra.
bool isKnownArtKey(std::int16_t type, std::string_view key)
{
    static const char* const common[] = {"type", "id", "selected", "locked", "hidden", "wholly"};
    static const char* const path[] = {"closed", "guide", "fill", "stroke", "strokeWidth", "evenOdd", "segments"};
    auto in = [&](const auto& list) {
        return std::any_of(std::begin(list), std::end(list), [&](const char* k) { return key == k; });
    };
    if (in(common))
        return true;
    if (type == kCCPathArt)
        return in(path);
    if (type == kCCGroupArt && key == "clipped")
        return true;
    return isContainerType(type) && key == "children";
}

// ---------------------------------------------------------------- reading

class Reader {
  public:
    explicit Reader(const std::string& file) : file_(file) {}

    std::unique_ptr<Document> document(const Json& root)
    {
        if (!root.is_object())
            fail("", "expected an object");
        const Json& format = required(root, "format", "");
        if (!format.is_string() || format.get<std::string>() != kFormatName)
            fail("/format", std::string("expected \"") + kFormatName + "\"");
        double version = number(required(root, "version", ""), "/version");
        if (version != kVersion)
            fail("/version", "version " + formatNumber(version) + " is not supported (this reader knows version 1)");

        auto doc = std::make_unique<Document>();
        if (const Json* u = optional(root, "units")) {
            doc->units = string(*u, "/units");
            if (!io::knownUnits(doc->units))
                fail("/units", "unknown units \"" + doc->units + "\" (pt, in, cm, mm, px or H)");
        }
        if (const Json* w = optional(root, "width"))
            doc->width = positive(*w, "/width");
        if (const Json* h = optional(root, "height"))
            doc->height = positive(*h, "/height");

        const Json& layers = required(root, "layers", "");
        if (!layers.is_array())
            fail("/layers", "expected an array");
        // The file lists layers bottom first; the document adds each new layer below the others.
        std::vector<ObjectId> ids(layers.size());
        for (std::size_t i = layers.size(); i-- > 0;) {
            std::string ptr = "/layers/" + std::to_string(i);
            const Json& l = layers[i];
            if (!l.is_object())
                fail(ptr, "expected an object");
            std::string name = "Layer " + std::to_string(i + 1);
            bool editable = true, visible = true;
            if (const Json* v = optional(l, "name"))
                name = string(*v, ptr + "/name");
            if (const Json* v = optional(l, "editable"))
                editable = boolean(*v, ptr + "/editable");
            if (const Json* v = optional(l, "visible"))
                visible = boolean(*v, ptr + "/visible");
            ids[i] = doc->addLayer(name, editable, visible);
        }
        for (std::size_t i = 0; i < layers.size(); ++i) {
            std::string ptr = "/layers/" + std::to_string(i);
            if (const Json* art = optional(layers[i], "art"))
                artList(*doc, doc->layer(ids[i])->group, *art, ptr + "/art", false);
        }
        return doc;
    }

  private:
    [[noreturn]] void fail(const std::string& ptr, const std::string& message) const
    {
        throw FileError(file_ + ": at " + (ptr.empty() ? "/" : ptr) + ": " + message);
    }

    static const Json* optional(const Json& obj, const char* key)
    {
        auto it = obj.find(key);
        return it == obj.end() ? nullptr : &*it;
    }

    const Json& required(const Json& obj, const char* key, const std::string& ptr) const
    {
        const Json* v = optional(obj, key);
        if (!v)
            fail(ptr, std::string("missing required key \"") + key + "\"");
        return *v;
    }

    double number(const Json& v, const std::string& ptr) const
    {
        if (!v.is_number())
            fail(ptr, std::string("expected a number, found ") + v.type_name());
        double d = v.get<double>();
        if (!io::validCoordinate(d))
            fail(ptr, "number " + formatNumber(d) + " is not finite or lies beyond +-1e15");
        return d;
    }

    double positive(const Json& v, const std::string& ptr) const
    {
        double d = number(v, ptr);
        if (!(d > 0))
            fail(ptr, "expected a positive number");
        return d;
    }

    bool boolean(const Json& v, const std::string& ptr) const
    {
        if (!v.is_boolean())
            fail(ptr, std::string("expected true or false, found ") + v.type_name());
        return v.get<bool>();
    }

    std::string string(const Json& v, const std::string& ptr) const
    {
        if (!v.is_string())
            fail(ptr, std::string("expected a string, found ") + v.type_name());
        return v.get<std::string>();
    }

    CCRealPoint point(const Json& v, const std::string& ptr) const
    {
        if (!v.is_array() || v.size() != 2)
            fail(ptr, "expected a point [x, y]");
        return {number(v[0], ptr + "/0"), number(v[1], ptr + "/1")};
    }

    std::optional<Rgb> colour(const Json& v, const std::string& ptr) const
    {
        if (v.is_null())
            return std::nullopt;
        if (v.is_string()) {
            if (auto c = io::parseHexColor(v.get<std::string>()))
                return c;
            fail(ptr, "expected a colour \"#rrggbb\", [r, g, b] or null");
        }
        if (v.is_array() && v.size() == 3) {
            Rgb c{number(v[0], ptr + "/0"), number(v[1], ptr + "/1"), number(v[2], ptr + "/2")};
            for (double x : {c.r, c.g, c.b})
                if (x < 0 || x > 1)
                    fail(ptr, "colour components lie between 0 and 1");
            return c;
        }
        fail(ptr, "expected a colour \"#rrggbb\", [r, g, b] or null");
    }

    void artList(Document& doc, ObjectId parent, const Json& list, const std::string& ptr, bool pathsOnly)
    {
        if (!list.is_array())
            fail(ptr, "expected an array");
        // Bottom first in the file: each object goes on top of those read before it.
        for (std::size_t i = 0; i < list.size(); ++i)
            art(doc, parent, list[i], ptr + "/" + std::to_string(i), pathsOnly);
    }

    void art(Document& doc, ObjectId parent, const Json& obj, const std::string& ptr, bool pathOnly)
    {
        if (!obj.is_object())
            fail(ptr, "expected an object");
        std::string typeName = string(required(obj, "type", ptr), ptr + "/type");
        std::int16_t type = io::artTypeFromName(typeName);
        if (type == kCCUnknownArt)
            fail(ptr + "/type", "unknown art type \"" + typeName + "\" (path, group, compound, textpath or plugin)");
        if (pathOnly && type != kCCPathArt)
            fail(ptr + "/type", "only paths may be placed here, found \"" + typeName + "\"");

        ObjectId id = doc.create(type, kCCPlaceInsideOnTop, parent);
        Art& a = *doc.edit(id);
        if (const Json* v = optional(obj, "id"))
            a.name = string(*v, ptr + "/id");
        struct Flag {
            const char* key;
            std::int32_t bit;
        };
        for (Flag f : {Flag{"selected", kCCArtSelected}, Flag{"locked", kCCArtLocked}, Flag{"hidden", kCCArtHidden},
                       Flag{"wholly", kCCArtFullySelected}})
            if (const Json* v = optional(obj, f.key))
                if (boolean(*v, ptr + "/" + f.key))
                    a.attrs |= f.bit;

        Json extra = Json::object();
        for (auto it = obj.begin(); it != obj.end(); ++it)
            if (!isKnownArtKey(type, it.key()))
                extra[it.key()] = it.value();
        if (!extra.empty())
            a.extra = extra.dump(-1, ' ', false, Json::error_handler_t::replace);

        switch (type) {
        case kCCPathArt:
            path(a, obj, ptr);
            break;
        case kCCGroupArt:
        case kCCCompoundPathArt:
        case kCCTextPathArt: {
            if (type == kCCGroupArt)
                if (const Json* v = optional(obj, "clipped"))
                    a.clipped = boolean(*v, ptr + "/clipped");
            const Json* children = optional(obj, "children");
            if (!children && type == kCCTextPathArt)
                fail(ptr, "missing required key \"children\" (a textpath holds one path)");
            if (children) {
                artList(doc, id, *children, ptr + "/children", type != kCCGroupArt);
                if (type == kCCTextPathArt && children->size() != 1)
                    fail(ptr + "/children",
                         "a textpath holds exactly one path, found " + std::to_string(children->size()) + " objects");
            }
            break;
        }
        default:
            break;
        }
    }

    void path(Art& a, const Json& obj, const std::string& ptr)
    {
        if (const Json* v = optional(obj, "fill"))
            a.style.fill = colour(*v, ptr + "/fill");
        if (const Json* v = optional(obj, "stroke"))
            a.style.stroke = colour(*v, ptr + "/stroke");
        if (const Json* v = optional(obj, "strokeWidth")) {
            a.style.strokeWidth = number(*v, ptr + "/strokeWidth");
            if (a.style.strokeWidth < 0)
                fail(ptr + "/strokeWidth", "expected a number of 0 or more");
        }
        if (const Json* v = optional(obj, "evenOdd"))
            a.style.evenOdd = boolean(*v, ptr + "/evenOdd");
        if (const Json* v = optional(obj, "closed"))
            a.closed = boolean(*v, ptr + "/closed");
        if (const Json* v = optional(obj, "guide"))
            a.guide = boolean(*v, ptr + "/guide");
        const Json& segs = required(obj, "segments", ptr);
        std::string sptr = ptr + "/segments";
        if (!segs.is_array())
            fail(sptr, "expected an array");
        if (segs.size() > kCCMaxPathSegments)
            fail(sptr, std::to_string(segs.size()) + " anchors, more than a path holds (" +
                           std::to_string(kCCMaxPathSegments) + ")");
        a.segments.reserve(segs.size());
        a.selection.reserve(segs.size());
        for (std::size_t i = 0; i < segs.size(); ++i) {
            std::string p = sptr + "/" + std::to_string(i);
            const Json& s = segs[i];
            if (!s.is_object())
                fail(p, "expected an object");
            CCPathSegment seg{};
            seg.anchor = point(required(s, "anchor", p), p + "/anchor");
            const Json* in = optional(s, "in");
            const Json* out = optional(s, "out");
            seg.in = in ? point(*in, p + "/in") : seg.anchor;
            seg.out = out ? point(*out, p + "/out") : seg.anchor;
            const Json* corner = optional(s, "corner");
            seg.corner = corner ? boolean(*corner, p + "/corner") : 1;
            std::int16_t state = kCCSegmentNotSelected;
            if (const Json* sel = optional(s, "selection")) {
                double v = number(*sel, p + "/selection");
                if (v != std::floor(v) || v < 0 || v > 4)
                    fail(p + "/selection", "expected a selection state 0 to 4");
                state = static_cast<std::int16_t>(v);
            }
            a.segments.push_back(seg);
            a.selection.push_back(state);
        }
    }

    const std::string& file_;
};

// ---------------------------------------------------------------- writing

Json number(double v)
{
    return Json(v);
}

Json point(const CCRealPoint& p)
{
    return Json::array({number(p.x), number(p.y)});
}

Json colour(const std::optional<Rgb>& c)
{
    if (!c)
        return nullptr;
    if (io::hexColorIsExact(*c))
        return io::hexColor(*c);
    return Json::array({number(c->r), number(c->g), number(c->b)});
}

Json artJson(const Document& doc, const Art& a)
{
    Json o = Json::object();
    o["type"] = io::artTypeName(a.type);
    if (!a.name.empty())
        o["id"] = a.name;
    if (a.type == kCCGroupArt)
        o["clipped"] = a.clipped;
    if (a.type == kCCPathArt)
        o["closed"] = a.closed;
    o["selected"] = (a.attrs & kCCArtSelected) != 0;
    o["locked"] = (a.attrs & kCCArtLocked) != 0;
    o["hidden"] = (a.attrs & kCCArtHidden) != 0;
    o["wholly"] = (a.attrs & kCCArtFullySelected) != 0;
    if (a.type == kCCPathArt) {
        o["guide"] = a.guide;
        o["fill"] = colour(a.style.fill);
        o["stroke"] = colour(a.style.stroke);
        o["strokeWidth"] = number(a.style.strokeWidth);
        o["evenOdd"] = a.style.evenOdd;
    }
    if (!a.extra.empty()) {
        Json extra = Json::parse(a.extra, nullptr, false);
        if (extra.is_object())
            for (auto it = extra.begin(); it != extra.end(); ++it)
                if (!isKnownArtKey(a.type, it.key()))
                    o[it.key()] = it.value();
    }
    if (a.type == kCCPathArt) {
        Json segs = Json::array();
        for (std::size_t i = 0; i < a.segments.size(); ++i) {
            const CCPathSegment& s = a.segments[i];
            Json j = Json::object();
            j["anchor"] = point(s.anchor);
            j["in"] = point(s.in);
            j["out"] = point(s.out);
            j["corner"] = s.corner != 0;
            j["selection"] = i < a.selection.size() ? a.selection[i] : 0;
            segs.push_back(std::move(j));
        }
        o["segments"] = std::move(segs);
    } else if (isContainerType(a.type)) {
        Json children = Json::array();
        std::vector<ObjectId> ids = doc.children(a.id);
        for (auto it = ids.rbegin(); it != ids.rend(); ++it) // bottom first
            children.push_back(artJson(doc, *doc.get(*it)));
        o["children"] = std::move(children);
    }
    return o;
}

bool isScalar(const Json& v)
{
    return !v.is_structured();
}

// Short objects and arrays (only scalars, or arrays of scalars, inside) go on one line.
bool fitsOnOneLine(const Json& v)
{
    for (const auto& item : v) {
        if (isScalar(item))
            continue;
        if (!item.is_array())
            return false;
        for (const auto& inner : item)
            if (!isScalar(inner))
                return false;
    }
    return true;
}

void dumpScalar(const Json& v, std::string& out)
{
    if (v.is_number_float())
        out += formatNumber(v.get<double>(), true);
    else
        out += v.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void dump(const Json& v, int indent, std::string& out)
{
    if (isScalar(v)) {
        dumpScalar(v, out);
        return;
    }
    bool object = v.is_object();
    const char* open = object ? "{" : "[";
    const char* close = object ? "}" : "]";
    if (v.empty()) {
        out += open;
        out += close;
        return;
    }
    bool flat = fitsOnOneLine(v);
    std::string pad(static_cast<std::size_t>(indent + 2), ' ');
    out += open;
    out += flat ? (object ? " " : "") : "\n";
    bool first = true;
    for (auto it = v.begin(); it != v.end(); ++it) {
        if (!first)
            out += flat ? ", " : ",\n";
        first = false;
        if (!flat)
            out += pad;
        if (object) {
            out += Json(it.key()).dump(-1, ' ', false, Json::error_handler_t::replace);
            out += ": ";
        }
        dump(it.value(), indent + 2, out);
    }
    if (flat)
        out += object ? " " : "";
    else
        out += "\n" + std::string(static_cast<std::size_t>(indent), ' ');
    out += close;
}

} // namespace

std::unique_ptr<Document> read(std::string_view text, const std::string& file)
{
    Json root;
    try {
        root = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& e) {
        // e.byte counts from 1 and points at the character that could not be read.
        io::TextPosition at = io::positionOf(text, e.byte > 0 ? e.byte - 1 : 0);
        std::string what = e.what();
        auto colon = what.find(": ", what.find("parse error"));
        std::string reason = colon == std::string::npos ? what : what.substr(colon + 2);
        throw FileError(file + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) + ": " + reason);
    } catch (const Json::exception& e) {
        // A number beyond the range of a double: the message quotes it, which tells where it is.
        std::string what = e.what();
        std::string where = file;
        auto open = what.find('\''), close = what.rfind('\'');
        if (open != std::string::npos && close > open + 1) {
            auto at = text.find(what.substr(open + 1, close - open - 1));
            if (at != std::string_view::npos) {
                io::TextPosition p = io::positionOf(text, at);
                where += ":" + std::to_string(p.line) + ":" + std::to_string(p.column);
            }
        }
        auto bracket = what.find("] ");
        throw FileError(where + ": " + (bracket == std::string::npos ? what : what.substr(bracket + 2)));
    }
    return Reader(file).document(root);
}

std::string write(const Document& doc, const std::string& file)
{
    io::checkWritable(doc, file);
    Json root = Json::object();
    root["format"] = kFormatName;
    root["version"] = kVersion;
    root["units"] = doc.units;
    root["width"] = number(doc.width);
    root["height"] = number(doc.height);
    Json layers = Json::array();
    const auto& ls = doc.layers();
    for (auto it = ls.rbegin(); it != ls.rend(); ++it) { // bottom first
        Json l = Json::object();
        l["name"] = it->name;
        l["editable"] = it->editable;
        l["visible"] = it->visible;
        Json art = Json::array();
        std::vector<ObjectId> ids = doc.children(it->group);
        for (auto c = ids.rbegin(); c != ids.rend(); ++c)
            art.push_back(artJson(doc, *doc.get(*c)));
        l["art"] = std::move(art);
        layers.push_back(std::move(l));
    }
    root["layers"] = std::move(layers);
    std::string out;
    dump(root, 0, out);
    out += '\n';
    return out;
}

} // namespace minihost::JsonFormat
