// Drawing through the drawer of an "AI Draw" message. minihost paints nothing: it records each operation
// (Host::lastDrawing) and shows every text drawn as a "label TEXT" line, unless the text repeats the
// last label of the current press, so a drag shows its label whenever the value changes.
//
// Text metric: 7 pixels per character, 12 pixels high, drawn upwards from its origin (the ascent is the
// whole height), so a text's bounds at origin (h, v) are (h, v - 12, h + 7 * characters, v).
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace minihost::suites {

namespace {

constexpr std::int64_t kCharWidth = 7;
constexpr std::int64_t kTextHeight = 12;

// The drawer is valid only while its "AI Draw" is delivered.
CCErr check(void* drawer, Host::Impl*& host)
{
    host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (drawer != &host->drawerTag || !host->drawerLive)
        return kCCBadParameterErr;
    return kCCNoErr;
}

CCErr record(Host::Impl& host, Host::DrawOp op)
{
    return guarded([&] {
        host.drawing.push_back(std::move(op));
        return kCCNoErr;
    });
}

std::int32_t clamp32(std::int64_t v)
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Characters of a UTF-8 text: every byte that does not continue a sequence.
std::int64_t characters(const char* text)
{
    std::int64_t n = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        if ((*p & 0xC0) != 0x80)
            ++n;
    return n;
}

CCErr SetColor(void* drawer, const CCRGBColor16* color)
{
    Host::Impl* host;
    if (CCErr err = check(drawer, host))
        return err;
    if (!color)
        return kCCBadParameterErr;
    return record(*host, {Host::DrawOp::Color, {color->red, color->green, color->blue}, {}});
}

CCErr DrawLine(void* drawer, const CCPoint32* from, const CCPoint32* to)
{
    Host::Impl* host;
    if (CCErr err = check(drawer, host))
        return err;
    if (!from || !to)
        return kCCBadParameterErr;
    return record(*host, {Host::DrawOp::Line, {from->h, from->v, to->h, to->v}, {}});
}

CCErr DrawRect(void* drawer, const CCRect32* rect, CCBool32 fill)
{
    Host::Impl* host;
    if (CCErr err = check(drawer, host))
        return err;
    if (!rect)
        return kCCBadParameterErr;
    return record(*host, {Host::DrawOp::Rect, {rect->left, rect->top, rect->right, rect->bottom, fill ? 1 : 0}, {}});
}

CCErr DrawText(void* drawer, const char* text, const CCPoint32* origin)
{
    Host::Impl* host;
    if (CCErr err = check(drawer, host))
        return err;
    if (!text || !origin)
        return kCCBadParameterErr;
    if (CCErr err = record(*host, {Host::DrawOp::Text, {origin->h, origin->v}, text}))
        return err;
    return guarded([&] {
        if (host->lastLabel != text) {
            host->lastLabel = text;
            Host::current()->emit("label", text);
        }
        return kCCNoErr;
    });
}

CCErr GetTextBounds(void* drawer, const char* text, const CCPoint32* origin, CCRect32* bounds)
{
    Host::Impl* host;
    if (CCErr err = check(drawer, host))
        return err;
    if (!text || !origin || !bounds)
        return kCCBadParameterErr;
    std::int64_t h = origin->h, v = origin->v;
    *bounds = CCRect32{origin->h, clamp32(v - kTextHeight), clamp32(h + kCharWidth * characters(text)), origin->v};
    return kCCNoErr;
}

CCErr DrawPoint(void* drawer, const CCPoint32* at, int32_t size)
{
    Host::Impl* host;
    if (CCErr err = check(drawer, host))
        return err;
    if (!at)
        return kCCBadParameterErr;
    return record(*host, {Host::DrawOp::Point, {at->h, at->v, size}, {}});
}

} // namespace

const CCAnnotatorDrawerSuite& annotatorDrawer()
{
    static const CCAnnotatorDrawerSuite table{SetColor, DrawLine, DrawRect, DrawText, GetTextBounds, DrawPoint};
    return table;
}

} // namespace minihost::suites
