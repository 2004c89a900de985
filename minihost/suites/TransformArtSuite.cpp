// Transforms an object's geometry by a matrix: every anchor and both direction points of every path in
// its tree. With kCCScaleLines the stroke widths are multiplied by the line scale as well.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <cmath>

namespace minihost::suites {

namespace {

CCRealPoint apply(const CCRealMatrix& m, const CCRealPoint& p)
{
    return CCRealPoint{m.a * p.x + m.c * p.y + m.tx, m.b * p.x + m.d * p.y + m.ty};
}

bool finite(const CCRealMatrix& m)
{
    return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
           std::isfinite(m.tx) && std::isfinite(m.ty);
}

CCErr TransformArt(CCArtHandle art, const CCRealMatrix* matrix, double lineScale, int32_t flags)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupArt(art, doc, a))
        return err;
    bool scaleLines = flags & kCCScaleLines;
    if (!matrix || !finite(*matrix) || (scaleLines && !(std::isfinite(lineScale) && lineScale >= 0)))
        return kCCBadParameterErr;
    const CCRealMatrix m = *matrix;
    bool objects = flags & kCCTransformObjects;
    return guarded([&] {
        // Check the result first, so that a transform overflowing to infinity changes nothing.
        std::vector<ObjectId> tree;
        std::vector<ObjectId> stack{a->id};
        while (!stack.empty()) {
            ObjectId id = stack.back();
            stack.pop_back();
            tree.push_back(id);
            const Art* cur = doc->get(id);
            if (objects)
                for (const CCPathSegment& s : cur->segments)
                    for (const CCRealPoint& p : {s.anchor, s.in, s.out}) {
                        CCRealPoint q = apply(m, p);
                        if (!std::isfinite(q.x) || !std::isfinite(q.y))
                            return kCCBadParameterErr;
                    }
            if (scaleLines && !std::isfinite(cur->style.strokeWidth * lineScale))
                return kCCBadParameterErr;
            for (ObjectId c = cur->firstChild; c != 0; c = doc->get(c)->next)
                stack.push_back(c);
        }
        for (ObjectId id : tree) {
            const Art* cur = doc->get(id);
            if ((!objects || cur->segments.empty()) && !(scaleLines && cur->type == kCCPathArt))
                continue;
            Art* e = doc->edit(id);
            if (objects)
                for (CCPathSegment& s : e->segments) {
                    s.anchor = apply(m, s.anchor);
                    s.in = apply(m, s.in);
                    s.out = apply(m, s.out);
                }
            if (scaleLines && e->type == kCCPathArt)
                e->style.strokeWidth *= lineScale;
        }
        return kCCNoErr;
    });
}

} // namespace

const CCTransformArtSuite& transformArt()
{
    static const CCTransformArtSuite table{TransformArt};
    return table;
}

} // namespace minihost::suites
