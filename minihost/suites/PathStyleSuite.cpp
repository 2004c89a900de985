// Fill and stroke of paths and compound paths.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <cmath>

namespace minihost::suites {

namespace {

bool styled(const Art& a)
{
    return a.type == kCCPathArt || a.type == kCCCompoundPathArt;
}

CCColor toColor(const std::optional<Rgb>& paint)
{
    if (!paint)
        return CCColor{1, 0, 0, 0};
    return CCColor{0, paint->r, paint->g, paint->b};
}

bool validColor(const CCColor& c)
{
    auto unit = [](double v) { return std::isfinite(v) && v >= 0 && v <= 1; };
    return c.none || (unit(c.red) && unit(c.green) && unit(c.blue));
}

std::optional<Rgb> fromColor(CCBool32 paint, const CCColor& c)
{
    if (!paint || c.none)
        return std::nullopt;
    return Rgb{c.red, c.green, c.blue};
}

CCErr GetPathStyle(CCArtHandle path, CCPathStyle* style)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupArt(path, doc, a))
        return err;
    if (!style || !styled(*a))
        return kCCBadParameterErr;
    style->fillPaint = a->style.fill.has_value();
    style->strokePaint = a->style.stroke.has_value();
    style->fillColor = toColor(a->style.fill);
    style->strokeColor = toColor(a->style.stroke);
    style->strokeWidth = a->style.strokeWidth;
    style->evenOddFill = a->style.evenOdd;
    return kCCNoErr;
}

CCErr SetPathStyle(CCArtHandle path, const CCPathStyle* style)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupArt(path, doc, a))
        return err;
    if (!style || !styled(*a) || !validColor(style->fillColor) || !validColor(style->strokeColor) ||
        !std::isfinite(style->strokeWidth) || style->strokeWidth < 0)
        return kCCBadParameterErr;
    PathStyle next;
    next.fill = fromColor(style->fillPaint, style->fillColor);
    next.stroke = fromColor(style->strokePaint, style->strokeColor);
    next.strokeWidth = style->strokeWidth;
    next.evenOdd = style->evenOddFill != 0;
    return guarded([&] {
        if (!(next == a->style))
            doc->edit(a->id)->style = next;
        return kCCNoErr;
    });
}

} // namespace

const CCPathStyleSuite& pathStyle()
{
    static const CCPathStyleSuite table{GetPathStyle, SetPathStyle};
    return table;
}

} // namespace minihost::suites
