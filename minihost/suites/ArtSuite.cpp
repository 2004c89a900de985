// Objects of the document: type, attributes, the tree, creation and disposal, bounds.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <cmath>
#include <limits>

namespace minihost::suites {

namespace {

bool knownType(std::int16_t type)
{
    return type >= kCCGroupArt && type <= kCCSymbolArt;
}

bool knownPlacement(std::int16_t order)
{
    return order >= kCCPlaceAbove && order <= kCCPlaceBelowAll;
}

// The reference object of a placement: null is allowed for placements that default to the current
// layer; a stale one is not.
CCErr resolvePrep(Document& doc, std::int16_t paintOrder, CCArtHandle prep, ObjectId& out)
{
    out = fromHandle(prep);
    if (out == 0)
        return (paintOrder == kCCPlaceAbove || paintOrder == kCCPlaceBelow) ? kCCBadParameterErr : kCCNoErr;
    return doc.valid(out) ? kCCNoErr : kCCStaleHandleErr;
}

CCErr GetArtType(CCArtHandle art, int16_t* type)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupArt(art, doc, a))
        return err;
    if (!type)
        return kCCBadParameterErr;
    *type = a->type;
    return kCCNoErr;
}

CCErr GetArtUserAttr(CCArtHandle art, int32_t mask, int32_t* attr)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupArt(art, doc, a))
        return err;
    if (!attr)
        return kCCBadParameterErr;
    *attr = a->attrs & mask;
    return kCCNoErr;
}

CCErr SetArtUserAttr(CCArtHandle art, int32_t mask, int32_t attr)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupArt(art, doc, a))
        return err;
    return guarded([&] {
        doc->setAttrs(a->id, mask, attr);
        return kCCNoErr;
    });
}

// One of the tree links of an object; null when there is none.
template <ObjectId Art::*Link> CCErr getLink(CCArtHandle art, CCArtHandle* out)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupArt(art, doc, a))
        return err;
    if (!out)
        return kCCBadParameterErr;
    *out = toHandle(a->*Link);
    return kCCNoErr;
}

CCErr GetArtParent(CCArtHandle art, CCArtHandle* parent)
{
    return getLink<&Art::parent>(art, parent);
}
CCErr GetArtFirstChild(CCArtHandle art, CCArtHandle* child)
{
    return getLink<&Art::firstChild>(art, child);
}
CCErr GetArtSibling(CCArtHandle art, CCArtHandle* sibling)
{
    return getLink<&Art::next>(art, sibling);
}
CCErr GetArtPriorSibling(CCArtHandle art, CCArtHandle* sibling)
{
    return getLink<&Art::prev>(art, sibling);
}

CCBool32 ValidArt(CCArtHandle art)
{
    Document* doc = currentDocument();
    return doc && doc->valid(fromHandle(art));
}

CCErr NewArt(int16_t type, int16_t paintOrder, CCArtHandle prep, CCArtHandle* newArt)
{
    Document* doc = currentDocument();
    if (!doc)
        return kCCNoDocumentErr;
    if (!newArt || !knownType(type) || !knownPlacement(paintOrder))
        return kCCBadParameterErr;
    ObjectId ref;
    if (CCErr err = resolvePrep(*doc, paintOrder, prep, ref))
        return err;
    return guarded([&] {
        ObjectId id = doc->create(type, paintOrder, ref);
        if (id == 0)
            return kCCBadParameterErr; // no place there (inside a path, beside a layer group)
        *newArt = toHandle(id);
        return kCCNoErr;
    });
}

CCErr DisposeArt(CCArtHandle art)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupArt(art, doc, a))
        return err;
    return guarded([&] { return doc->dispose(a->id) ? kCCNoErr : kCCBadParameterErr; });
}

CCErr ReorderArt(CCArtHandle art, int16_t paintOrder, CCArtHandle prep)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupArt(art, doc, a))
        return err;
    if (!knownPlacement(paintOrder))
        return kCCBadParameterErr;
    ObjectId ref;
    if (CCErr err = resolvePrep(*doc, paintOrder, prep, ref))
        return err;
    return guarded([&] { return doc->reorder(a->id, paintOrder, ref) ? kCCNoErr : kCCBadParameterErr; });
}

CCErr DuplicateArt(CCArtHandle art, int16_t paintOrder, CCArtHandle prep, CCArtHandle* newArt)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupArt(art, doc, a))
        return err;
    if (!newArt || !knownPlacement(paintOrder))
        return kCCBadParameterErr;
    ObjectId ref;
    if (CCErr err = resolvePrep(*doc, paintOrder, prep, ref))
        return err;
    return guarded([&] {
        ObjectId id = doc->duplicate(a->id, paintOrder, ref);
        if (id == 0)
            return kCCBadParameterErr;
        *newArt = toHandle(id);
        return kCCNoErr;
    });
}

CCErr GetFirstArtOfLayer(CCLayerHandle layer, CCArtHandle* art)
{
    Document* doc;
    const Layer* l;
    if (CCErr err = lookupLayer(layer, doc, l))
        return err;
    if (!art)
        return kCCBadParameterErr;
    *art = toHandle(l->group);
    return kCCNoErr;
}

CCErr GetLayerOfArt(CCArtHandle art, CCLayerHandle* layer)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupArt(art, doc, a))
        return err;
    if (!layer)
        return kCCBadParameterErr;
    *layer = toLayerHandle(a->layer);
    return kCCNoErr;
}

// Bounds of every anchor and direction point in the tree, y-up: top is the largest y. An object
// without points has an empty rectangle at the origin.
CCErr GetArtTransformBounds(CCArtHandle art, const CCRealMatrix* matrix, int32_t, CCRealRect* bounds)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupArt(art, doc, a))
        return err;
    if (!bounds)
        return kCCBadParameterErr;
    CCRealMatrix m = matrix ? *matrix : CCRealMatrix{1, 0, 0, 1, 0, 0};
    constexpr double inf = std::numeric_limits<double>::infinity();
    double left = inf, right = -inf, bottom = inf, top = -inf;
    auto add = [&](const CCRealPoint& p) {
        double x = m.a * p.x + m.c * p.y + m.tx;
        double y = m.b * p.x + m.d * p.y + m.ty;
        left = std::fmin(left, x);
        right = std::fmax(right, x);
        bottom = std::fmin(bottom, y);
        top = std::fmax(top, y);
    };
    return guarded([&] {
        std::vector<ObjectId> stack{a->id};
        while (!stack.empty()) {
            const Art* cur = doc->get(stack.back());
            stack.pop_back();
            for (const CCPathSegment& s : cur->segments) {
                add(s.anchor);
                add(s.in);
                add(s.out);
            }
            for (ObjectId c = cur->firstChild; c != 0; c = doc->get(c)->next)
                stack.push_back(c);
        }
        if (left > right || bottom > top)
            *bounds = CCRealRect{0, 0, 0, 0};
        else
            *bounds = CCRealRect{left, top, right, bottom};
        return kCCNoErr;
    });
}

} // namespace

const CCArtSuite& art()
{
    static const CCArtSuite table{
        GetArtType,    GetArtUserAttr,     SetArtUserAttr,     GetArtParent,  GetArtFirstChild,
        GetArtSibling, GetArtPriorSibling, ValidArt,           NewArt,        DisposeArt,
        ReorderArt,    DuplicateArt,       GetFirstArtOfLayer, GetLayerOfArt, GetArtTransformBounds,
    };
    return table;
}

} // namespace minihost::suites
