// Hit testing at a document point with a tolerance of a few view pixels at the current zoom.
//
// The topmost object wins (layers top first, each tree from its topmost object); within one path an
// anchor beats a handle, a handle beats a curve, a curve beats the fill. Hidden objects and objects on
// hidden layers are never hit; locked objects (or those inside locked groups or on locked layers) only
// when snapping (kCCHitSnapPoints). Handles count only on selected paths.
//
// Requests:
//   kCCHitAll         anchors, handles, curves, fills of filled paths
//   kCCHitSnapPoints  anchors, centre points of closed paths, curves; locked objects too
//   kCCHitTool        anchors, handles, curves
// The hit point is the anchor or handle hit, or the nearest point on the curve with its parameter t; a
// curve is numbered by its end anchor, so the closing curve of a closed path is curve 0.
//
// A path is rejected by the box around its points before anything else, and a curve by the box around
// its control points, so a test costs little more than one pass over the points of the paths near the
// cursor's rows and columns.
#include "SuiteSupport_p.h"
#include "Suites_p.h"
#include "geom/HitGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace minihost::suites {

namespace {

constexpr double kMaxTolerance = 1000; // view pixels

struct Box {
    double left = std::numeric_limits<double>::infinity(), bottom = left;
    double right = -left, top = -left;
    void add(const CCRealPoint& p)
    {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
    bool near(const CCRealPoint& p, double tol) const
    {
        return p.x >= left - tol && p.x <= right + tol && p.y >= bottom - tol && p.y <= top + tol;
    }
};

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
        std::vector<std::pair<ObjectId, bool>> stack{{root, locked}};
        while (!stack.empty()) {
            auto [id, lockedAbove] = stack.back();
            stack.pop_back();
            const Art* a = doc_.get(id);
            if (!a || (a->attrs & kCCArtHidden))
                continue;
            bool isLocked = lockedAbove || (a->attrs & kCCArtLocked);
            if (a->type == kCCPathArt) {
                if ((!isLocked || request_ == kCCHitSnapPoints) && testPath(*a, hit))
                    return true;
                continue;
            }
            // Children bottom first on the stack, so the topmost comes off first.
            for (ObjectId c = a->lastChild; c != 0;) {
                stack.push_back({c, isLocked});
                const Art* child = doc_.get(c);
                c = child ? child->prev : 0;
            }
        }
        return false;
    }

private:
    bool testPath(const Art& path, CCHitData& hit)
    {
        const std::vector<CCPathSegment>& segs = path.segments;
        std::size_t n = segs.size();
        if (n == 0 || n > std::size_t(kCCMaxPathSegments)) // an index must fit the hit record
            return false;
        Box box;
        for (const CCPathSegment& s : segs) {
            box.add(s.anchor);
            box.add(s.in);
            box.add(s.out);
        }
        if (!box.near(p_, tol_))
            return false;

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

        // Anchors: the nearest within the tolerance.
        double best = tol2_;
        int64_t bestIndex = -1;
        for (std::size_t i = 0; i < n; ++i) {
            double d2 = dist2(segs[i].anchor, p_);
            if (d2 <= best && (bestIndex < 0 || d2 < best)) {
                best = d2;
                bestIndex = static_cast<int64_t>(i);
            }
        }
        if (bestIndex >= 0)
            return found(kCCHitAnchorPart, bestIndex, segs[bestIndex].anchor, 0);

        if (request_ == kCCHitSnapPoints && path.closed) {
            CCRealPoint centre{0.5 * (box.left + box.right), 0.5 * (box.bottom + box.top)};
            if (dist2(centre, p_) <= tol2_)
                return found(kCCHitCenterPart, -1, centre, 0);
        }

        // Handles of a selected path: those that shape a curve and are not retracted.
        if (request_ != kCCHitSnapPoints && (path.attrs & kCCArtSelected)) {
            best = tol2_;
            bestIndex = -1;
            int16_t bestPart = kCCHitOutPart;
            for (std::size_t i = 0; i < n; ++i) {
                const CCPathSegment& s = segs[i];
                bool hasOut = path.closed || i + 1 < n, hasIn = path.closed || i > 0;
                for (int16_t part : {int16_t(kCCHitOutPart), int16_t(kCCHitInPart)}) {
                    const CCRealPoint& h = part == kCCHitOutPart ? s.out : s.in;
                    if (!(part == kCCHitOutPart ? hasOut : hasIn) || same(h, s.anchor))
                        continue;
                    double d2 = dist2(h, p_);
                    if (d2 <= best && (bestIndex < 0 || d2 < best)) {
                        best = d2;
                        bestIndex = static_cast<int64_t>(i);
                        bestPart = part;
                    }
                }
            }
            if (bestIndex >= 0) {
                const CCPathSegment& s = segs[bestIndex];
                return found(bestPart, bestIndex, bestPart == kCCHitOutPart ? s.out : s.in, 0);
            }
        }

        // Curves, numbered by their end anchor.
        double bestDistance = tol_;
        bool curveHit = false;
        NearestPoint bestPoint;
        std::size_t bestCurve = 0;
        std::size_t curves = path.closed ? n : n - 1;
        for (std::size_t k = 1; k <= curves; ++k) {
            std::size_t end = k % n;
            CCBezier b = curve(segs[k - 1], segs[end]);
            Box cb;
            cb.add(b.p0);
            cb.add(b.p1);
            cb.add(b.p2);
            cb.add(b.p3);
            if (!cb.near(p_, tol_))
                continue;
            NearestPoint np = nearestPointOnBezier(b, p_);
            if (np.distance <= bestDistance && (!curveHit || np.distance < bestDistance)) {
                bestDistance = np.distance;
                bestPoint = np;
                bestCurve = end;
                curveHit = true;
            }
        }
        if (curveHit)
            return found(kCCHitCurvePart, static_cast<int64_t>(bestCurve), bestPoint.point, bestPoint.t);

        if (request_ == kCCHitAll && path.style.fill && filled(path))
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

CCErr HitTest(CCArtHandle art, const CCRealPoint* point, int32_t request, CCHitData* hit)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!point || !hit || !std::isfinite(point->x) || !std::isfinite(point->y))
        return kCCBadParameterErr;
    if (request != kCCHitAll && request != kCCHitSnapPoints && request != kCCHitTool)
        return kCCBadParameterErr;
    Document* doc = currentDocument();
    if (!doc)
        return kCCNoDocumentErr;
    CCRealPoint p = *point;
    *hit = CCHitData{};
    hit->part = -1;
    hit->segment = -1;
    hit->point = p;
    double tol = host->hitTolerance / Host::current()->zoom();
    return guarded([&] {
        HitScan scan(*doc, p, request, tol);
        if (art) {
            const Art* a = doc->get(fromHandle(art));
            if (!a)
                return kCCStaleHandleErr;
            // The object's place decides what may be hit: hidden or locked ancestors, its layer.
            bool locked = false;
            for (const Art* up = doc->get(a->parent); up; up = doc->get(up->parent)) {
                if (up->attrs & kCCArtHidden)
                    return kCCNoErr;
                locked = locked || (up->attrs & kCCArtLocked);
            }
            const Layer* layer = doc->layer(a->layer);
            if (layer && !layer->visible)
                return kCCNoErr;
            locked = locked || (layer && !layer->editable);
            scan.scan(a->id, locked, *hit);
            return kCCNoErr;
        }
        for (const Layer& layer : doc->layers())
            if (layer.visible && scan.scan(layer.group, !layer.editable, *hit))
                break;
        return kCCNoErr;
    });
}

CCErr GetTolerance(double* pixels)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!pixels)
        return kCCBadParameterErr;
    *pixels = host->hitTolerance;
    return kCCNoErr;
}

CCErr SetTolerance(double pixels)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!(pixels >= 0 && pixels <= kMaxTolerance))
        return kCCBadParameterErr;
    host->hitTolerance = pixels;
    return kCCNoErr;
}

} // namespace

const CCHitTestSuite& hitTest()
{
    static const CCHitTestSuite table{HitTest, GetTolerance, SetTolerance};
    return table;
}

} // namespace minihost::suites
