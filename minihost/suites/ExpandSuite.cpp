// Expansion of appearance into plain art. With kCCExpandStroke a stroked path is replaced, at its place
// in the paint order, by the filled outline of its stroke: one closed path for an open path, a compound
// path of the outer and the inner contour for a closed one. Other objects and flags change nothing.
#include "StrokeOutline_p.h"
#include "SuiteSupport_p.h"
#include "Suites_p.h"

namespace minihost::suites {

namespace {

CCErr Expand(CCArtHandle art, int32_t flags, int32_t)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupArt(art, doc, a))
        return err;
    if (!(flags & kCCExpandStroke) || a->type != kCCPathArt || !a->style.stroke)
        return kCCNoErr;
    return guarded([&] {
        std::vector<std::vector<CCPathSegment>> contours = strokeOutline(a->segments, a->closed, a->style.strokeWidth);
        if (contours.empty())
            return kCCNoErr; // draws no stroke: nothing to expand
        for (const auto& c : contours)
            if (c.size() > std::size_t(kCCMaxPathSegments))
                return kCCTooManySegmentsErr;

        const ObjectId original = a->id;
        const Art before = *a;
        PathStyle filled;
        filled.fill = before.style.stroke;
        filled.stroke.reset();
        filled.strokeWidth = before.style.strokeWidth;
        filled.evenOdd = false;

        ObjectId outline = 0;
        try {
            bool compound = contours.size() > 1;
            outline = doc->create(compound ? kCCCompoundPathArt : kCCPathArt, kCCPlaceAbove, original);
            if (outline == 0)
                return kCCCantErr;
            auto fillPath = [&](ObjectId id, std::vector<CCPathSegment>& segs) {
                Art* p = doc->edit(id);
                p->segments = std::move(segs);
                p->selection.assign(p->segments.size(), std::int16_t(kCCSegmentNotSelected));
                p->closed = true;
                p->style = filled;
            };
            if (compound) {
                Art* c = doc->edit(outline);
                c->style = filled;
                for (auto& contour : contours) {
                    ObjectId child = doc->create(kCCPathArt, kCCPlaceInsideOnBottom, outline);
                    if (child == 0)
                        throw std::bad_alloc();
                    fillPath(child, contour);
                }
            } else {
                fillPath(outline, contours.front());
            }
            Art* o = doc->edit(outline);
            o->name = before.name;
            o->attrs = before.attrs & (kCCArtLocked | kCCArtHidden);
            o->extra = before.extra;
        } catch (...) {
            if (outline)
                doc->dispose(outline);
            throw;
        }
        doc->dispose(original);
        if (before.attrs & kCCArtSelected)
            doc->selectWhole(outline);
        return kCCNoErr;
    });
}

} // namespace

const CCExpandSuite& expand()
{
    static const CCExpandSuite table{Expand};
    return table;
}

} // namespace minihost::suites
