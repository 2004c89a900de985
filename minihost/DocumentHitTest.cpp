// A path is rejected by the box around its points before anything else, and a curve by the box around
// its control points, so only the few curves near the point are measured exactly.
#include "DocumentHitTest.h"

#include "geom/HitGeometry.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace minihost {

namespace {

double dist2(const CCRealPoint& a, const CCRealPoint& b)
{
    double dx = a.x - b.x, dy = a.y - b.y;
    return dx * dx + dy * dy;
}

bool same(const CCRealPoint& a, const CCRealPoint& b)
{
    return a.x == b.x && a.y == b.y;
}

CCBezier curve(const CCPathSegment& from, const CCPathSegment& to)
{
    return CCBezier{from.anchor, from.out, to.in, to.anchor};
}

class HitScan {
  public:
    HitScan(const Document& doc, CCRealPoint p, int32_t request, double tol)
        : doc_(doc), p_(p), request_(request), tol_(tol), tol2_(tol * tol)
    {
    }

    // Tests an object and everything inside it, topmost first; true once something is hit.
    bool scan(ObjectId root, bool locked, CCHitData& hit)
    {
        std::vector<std::pair<const Art*, bool>> stack;
        if (const Art* a = doc_.get(root))
            stack.push_back({a, locked});
        while (!stack.empty()) {
            auto [a, lockedAbove] = stack.back();
            stack.pop_back();
            if (a->attrs & kCCArtHidden)
                continue;
            bool isLocked = lockedAbove || (a->attrs & kCCArtLocked);
            if (a->type == kCCPathArt) {
                if ((!isLocked || request_ == kCCHitSnapPoints) && testPath(*a, hit))
                    return true;
                continue;
            }
            // Children bottom first on the stack, so the topmost comes off first.
            for (const Art* child = doc_.get(a->lastChild); child; child = doc_.get(child->prev))
                stack.push_back({child, isLocked});
        }
        return false;
    }

    // Tests the paths near p in paint order; each counts only when its place lets it be hit. Finds what
    // the scan finds: a path left out by the index cannot be hit, and the order is the scan's order.
    bool indexed(ObjectId root, CCHitData& hit)
    {
        for (ObjectId id : doc_.pathsNear(p_, tol_)) {
            const Art* path = doc_.get(id);
            bool under = root == 0, hidden = false, locked = false;
            const Art* top = path;
            for (const Art* a = path; a; a = doc_.get(a->parent)) {
                under = under || a->id == root;
                hidden = hidden || (a->attrs & kCCArtHidden);
                locked = locked || (a->attrs & kCCArtLocked);
                top = a;
            }
            if (!under || hidden)
                continue;
            const Layer* layer = nullptr;
            for (const Layer& l : doc_.layers())
                if (l.group == top->id)
                    layer = &l;
            if (!layer || !layer->visible)
                continue;
            locked = locked || !layer->editable;
            if ((!locked || request_ == kCCHitSnapPoints) && testPath(*path, hit, doc_.indexedBox(id)))
                return true;
        }
        return false;
    }

  private:
    // The path's box (the index's copy when known) rejects it cheaply; otherwise one pass over the anchors
    // gathers the nearest anchor, handle and curve point within the tolerance, and the part is chosen by
    // rank. Curves far from p are passed over by the box of their control points.
    bool testPath(const Art& path, CCHitData& hit, const PointBox* known = nullptr)
    {
        const std::vector<CCPathSegment>& segs = path.segments;
        std::size_t n = segs.size();
        if (n == 0 || n > std::size_t(kCCMaxPathSegments)) // an index must fit the hit record
            return false;
        const PointBox box = known ? *known : pathBox(segs);
        if (!box.near(p_, tol_)) // most paths of a document end here
            return false;
        bool handles = request_ != kCCHitSnapPoints && (path.attrs & kCCArtSelected);
        bool closed = path.closed;

        double anchorD2 = tol2_, handleD2 = tol2_, curveD = tol_;
        int64_t anchor = -1, handle = -1, curveEnd = -1;
        int16_t handlePart = kCCHitOutPart;
        NearestPoint onCurve;
        auto tryCurve = [&](const CCPathSegment& from, const CCPathSegment& to, std::size_t end) {
            const CCRealPoint& c1 = from.out;
            const CCRealPoint& c2 = to.in;
            double left = std::min({from.anchor.x, c1.x, c2.x, to.anchor.x}) - tol_;
            double right = std::max({from.anchor.x, c1.x, c2.x, to.anchor.x}) + tol_;
            if (p_.x < left || p_.x > right)
                return;
            double bottom = std::min({from.anchor.y, c1.y, c2.y, to.anchor.y}) - tol_;
            double top = std::max({from.anchor.y, c1.y, c2.y, to.anchor.y}) + tol_;
            if (p_.y < bottom || p_.y > top)
                return;
            NearestPoint np = nearestPointOnBezier(curve(from, to), p_);
            if (np.distance <= curveD && (curveEnd < 0 || np.distance < curveD)) {
                curveD = np.distance;
                onCurve = np;
                curveEnd = static_cast<int64_t>(end);
            }
        };
        for (std::size_t i = 0; i < n; ++i) {
            const CCPathSegment& s = segs[i];
            double d2 = dist2(s.anchor, p_);
            if (d2 <= anchorD2 && (anchor < 0 || d2 < anchorD2)) {
                anchorD2 = d2;
                anchor = static_cast<int64_t>(i);
            }
            // Handles that shape a curve and are not retracted.
            if (handles) {
                if ((closed || i + 1 < n) && !same(s.out, s.anchor)) {
                    double h2 = dist2(s.out, p_);
                    if (h2 <= handleD2 && (handle < 0 || h2 < handleD2)) {
                        handleD2 = h2;
                        handle = static_cast<int64_t>(i);
                        handlePart = kCCHitOutPart;
                    }
                }
                if ((closed || i > 0) && !same(s.in, s.anchor)) {
                    double h2 = dist2(s.in, p_);
                    if (h2 <= handleD2 && (handle < 0 || h2 < handleD2)) {
                        handleD2 = h2;
                        handle = static_cast<int64_t>(i);
                        handlePart = kCCHitInPart;
                    }
                }
            }
            if (i > 0)
                tryCurve(segs[i - 1], s, i);
        }
        if (closed && n > 1)
            tryCurve(segs[n - 1], segs[0], 0); // the closing curve is curve 0

        auto found = [&](int16_t part, int64_t segment, CCRealPoint at, double t) {
            hit.hit = 1;
            hit.part = part;
            hit.segment = static_cast<int16_t>(segment);
            hit.art = toHandle(path.id);
            hit.group = toHandle(path.parent);
            hit.point = at;
            hit.t = t;
            return true;
        };
        if (anchor >= 0)
            return found(kCCHitAnchorPart, anchor, segs[anchor].anchor, 0);
        if (request_ == kCCHitSnapPoints && closed) {
            CCRealPoint centre{0.5 * (box.left + box.right), 0.5 * (box.bottom + box.top)};
            if (dist2(centre, p_) <= tol2_)
                return found(kCCHitCenterPart, -1, centre, 0);
        }
        if (handle >= 0)
            return found(handlePart, handle, handlePart == kCCHitOutPart ? segs[handle].out : segs[handle].in, 0);
        if (curveEnd >= 0)
            return found(kCCHitCurvePart, curveEnd, onCurve.point, onCurve.t);
        if (request_ == kCCHitAll && path.style.fill && box.near(p_, 0) && filled(path))
            return found(kCCHitFillPart, -1, p_, 0);
        return false;
    }

    // Whether p lies in the painted fill: the winding over every path of a compound path, each closed by
    // its chord when it is open, as the fill is painted.
    bool filled(const Art& path)
    {
        std::vector<const Art*> parts{&path};
        if (const Art* parent = doc_.get(path.parent); parent && parent->type == kCCCompoundPathArt) {
            parts.clear();
            for (ObjectId c = parent->firstChild; c != 0; c = doc_.get(c)->next)
                if (const Art* child = doc_.get(c); child->type == kCCPathArt)
                    parts.push_back(child);
        }
        int winding = 0;
        for (const Art* part : parts) {
            const std::vector<CCPathSegment>& segs = part->segments;
            std::size_t n = segs.size();
            if (n < 2)
                continue;
            for (std::size_t k = 1; k < n; ++k)
                winding += bezierWinding(curve(segs[k - 1], segs[k]), p_);
            if (part->closed)
                winding += bezierWinding(curve(segs[n - 1], segs[0]), p_);
            else
                winding += lineWinding(segs[n - 1].anchor, segs[0].anchor, p_);
        }
        return path.style.evenOdd ? (winding % 2) != 0 : winding != 0;
    }

    const Document& doc_;
    CCRealPoint p_;
    int32_t request_;
    double tol_, tol2_;
};

} // namespace

CCErr hitTestDocument(const Document& doc, ObjectId art, const CCRealPoint& p, int32_t request, double tol,
                      CCHitData& hit, HitSearch search)
{
    HitScan scan(doc, p, request, tol);
    if (art == 0) {
        if (search == HitSearch::indexed) {
            scan.indexed(0, hit);
            return kCCNoErr;
        }
        for (const Layer& layer : doc.layers())
            if (layer.visible && scan.scan(layer.group, !layer.editable, hit))
                break;
        return kCCNoErr;
    }
    const Art* a = doc.get(art);
    if (!a)
        return kCCStaleHandleErr;
    if (search == HitSearch::indexed) {
        scan.indexed(art, hit);
        return kCCNoErr;
    }
    // The object's place decides what may be hit: hidden or locked ancestors, its layer.
    bool locked = false;
    for (const Art* up = doc.get(a->parent); up; up = doc.get(up->parent)) {
        if (up->attrs & kCCArtHidden)
            return kCCNoErr;
        locked = locked || (up->attrs & kCCArtLocked);
    }
    const Layer* layer = doc.layer(a->layer);
    if (layer && !layer->visible)
        return kCCNoErr;
    locked = locked || (layer && !layer->editable);
    scan.scan(a->id, locked, hit);
    return kCCNoErr;
}

} // namespace minihost
