#include "io/FormatCommon_p.h"

#include <charconv>
#include <cmath>

namespace minihost::io {

std::string formatNumber(double v, bool keepNegativeZero)
{
    if (v == 0 && std::signbit(v))
        return keepNegativeZero ? "-0.0" : "-0";
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    (void)ec; // 64 bytes hold any double in shortest form
    return std::string(buf, end);
}

std::optional<double> parseNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    // from_chars also takes "inf" and "nan"; a document number must start like a decimal.
    char first = text.front() == '-' && text.size() > 1 ? text[1] : text.front();
    if (!(first >= '0' && first <= '9') && first != '.')
        return std::nullopt;
    double v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return v;
}

bool knownUnits(std::string_view units)
{
    return units == "pt" || units == "in" || units == "cm" || units == "mm" || units == "px" || units == "H";
}

const char* artTypeName(std::int16_t type)
{
    switch (type) {
    case kCCPathArt:
        return "path";
    case kCCGroupArt:
        return "group";
    case kCCCompoundPathArt:
        return "compound";
    case kCCTextPathArt:
        return "textpath";
    case kCCPluginArt:
        return "plugin";
    default:
        return "art";
    }
}

std::int16_t artTypeFromName(std::string_view name)
{
    for (std::int16_t t : {kCCPathArt, kCCGroupArt, kCCCompoundPathArt, kCCTextPathArt, kCCPluginArt})
        if (name == artTypeName(t))
            return t;
    return kCCUnknownArt;
}

std::string describeForMessage(const Document& doc, const Art& art)
{
    std::string kind = artTypeName(art.type);
    if (!art.name.empty())
        return kind + " \"" + art.name + "\"";
    int number = 0, found = 0;
    doc.walk([&](const Art& a) {
        if (a.parent == 0)
            return true;
        ++number;
        if (a.id == art.id) {
            found = number;
            return false;
        }
        return true;
    });
    return kind + " #" + std::to_string(found);
}

void checkWritable(const Document& doc, const std::string& file)
{
    auto fail = [&](const std::string& where, const std::string& what) {
        throw FileError(file + ": " + where + ": " + what + "; nothing was written");
    };
    if (!knownUnits(doc.units))
        fail("document", "unknown units \"" + doc.units + "\"");
    if (!validCoordinate(doc.width) || !validCoordinate(doc.height) || doc.width <= 0 || doc.height <= 0)
        fail("document", "page size " + formatNumber(doc.width) + " x " + formatNumber(doc.height) + " is not valid");
    doc.walk([&](const Art& a) {
        if (a.type != kCCPathArt)
            return true;
        if (a.segments.size() > kCCMaxPathSegments)
            fail(describeForMessage(doc, a), std::to_string(a.segments.size()) + " anchors, more than a path holds (" +
                                                 std::to_string(kCCMaxPathSegments) + ")");
        for (std::size_t i = 0; i < a.segments.size(); ++i) {
            const CCPathSegment& s = a.segments[i];
            for (double v : {s.anchor.x, s.anchor.y, s.in.x, s.in.y, s.out.x, s.out.y})
                if (!validCoordinate(v))
                    fail(describeForMessage(doc, a), "anchor " + std::to_string(i) + " has coordinate " +
                                                         formatNumber(v) + " (not a finite number within +-1e15)");
        }
        if (!validCoordinate(a.style.strokeWidth) || a.style.strokeWidth < 0)
            fail(describeForMessage(doc, a), "stroke width " + formatNumber(a.style.strokeWidth) + " is not valid");
        return true;
    });
}

static int component8(double c)
{
    double v = std::round(c * 255);
    return v < 0 ? 0 : v > 255 ? 255 : static_cast<int>(v);
}

std::string hexColor(const Rgb& c)
{
    static const char digits[] = "0123456789abcdef";
    std::string out = "#";
    for (double v : {c.r, c.g, c.b}) {
        int b = component8(v);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

bool hexColorIsExact(const Rgb& c)
{
    for (double v : {c.r, c.g, c.b})
        if (component8(v) / 255.0 != v)
            return false;
    return true;
}

std::optional<Rgb> parseHexColor(std::string_view text)
{
    if (text.size() != 4 && text.size() != 7)
        return std::nullopt;
    if (text[0] != '#')
        return std::nullopt;
    auto hex = [](char ch) {
        if (ch >= '0' && ch <= '9')
            return ch - '0';
        if (ch >= 'a' && ch <= 'f')
            return ch - 'a' + 10;
        if (ch >= 'A' && ch <= 'F')
            return ch - 'A' + 10;
        return -1;
    };
    int v[3];
    for (int i = 0; i < 3; ++i) {
        int hi, lo;
        if (text.size() == 4)
            hi = lo = hex(text[1 + i]);
        else
            hi = hex(text[1 + 2 * i]), lo = hex(text[2 + 2 * i]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        v[i] = hi * 16 + lo;
    }
    return Rgb{v[0] / 255.0, v[1] / 255.0, v[2] / 255.0};
}

TextPosition positionOf(std::string_view text, std::size_t offset)
{
    TextPosition p;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++p.line;
            p.column = 1;
        } else {
            ++p.column;
        }
    }
    return p;
}

} // namespace minihost::io
