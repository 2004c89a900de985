#include "SmartRound.h"

#include "geometry/CurveMath.h"
#include "geometry/PointMath.h"
#include "geometry/Tolerances.h"
#include "host/Suites.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace curvicraft {

namespace {

constexpr CCErr kTooManySegments = kCCTooManySegmentsErr; // 'SEGM'
constexpr double kLengthTolerance = 0.1;                  // how close a cut point comes to its length
constexpr double kMinTrialT = 0.0001;                     // a cut this close to the start is no cut
constexpr int kMaxTrials = 100;

// A typed array from host block memory under a debug name, freed when it goes out of scope. Locals are
// destroyed in reverse order, so the buffers of one call are freed in the reverse order of allocation.
template <class T> class BlockArray {
  public:
    BlockArray() = default;
    ~BlockArray()
    {
        if (data_)
            sBlocks->FreeBlock(data_);
    }
    BlockArray(const BlockArray&) = delete;
    BlockArray& operator=(const BlockArray&) = delete;

    CCErr allocate(std::size_t count, const char* debugName)
    {
        void* block = nullptr;
        CCErr err = sBlocks->AllocateBlock(sizeof(T) * (count == 0 ? 1 : count), debugName, &block);
        if (err != kCCNoErr)
            return err;
        if (!block)
            return kCCOutOfMemoryErr;
        data_ = static_cast<T*>(block);
        return kCCNoErr;
    }
    T& operator[](std::size_t i) { return data_[i]; }
    T* data() { return data_; }

  private:
    T* data_ = nullptr;
};

double fold(double x)
{
    return x > kPi ? kTwoPi - x : x;
}

bool nearZero(const RealPoint& v)
{
    return std::fabs(v.x) <= 0.5 && std::fabs(v.y) <= 0.5;
}

// How far a curve turns from its chord at both ends; false when the curve is too small to tell.
bool curveTurn(const BezierCurve& c, double& turn)
{
    const RealPoint chord = subtractPoints(c.p3, c.p0);
    const RealPoint start = subtractPoints(c.p1, c.p0);
    const RealPoint end = subtractPoints(c.p3, c.p2);
    if (nearZero(chord) || nearZero(start) || nearZero(end))
        return false;
    const double a = vectorAngle(chord);
    turn = fold(std::fabs(vectorAngle(start) - a)) + fold(std::fabs(vectorAngle(end) - a));
    return true;
}

bool hasKind(const CornerNode* n, std::uint16_t bits)
{
    return (n->kind & bits) != 0;
}

bool isCornerKind(std::uint16_t kind)
{
    return (kind & (kKindConvex | kKindConcave)) != 0 && (kind & kKindExcluded) == 0;
}

// The curve leaving a node toward the next one, or (reversed) arriving at it from the previous one,
// taken from the corner's side.
BezierCurve curveForward(const CornerNode* from, const CornerNode* to)
{
    return BezierCurve{from->segment->anchor, from->segment->out, to->segment->in, to->segment->anchor};
}

BezierCurve curveBackward(const CornerNode* from, const CornerNode* to)
{
    return BezierCurve{from->segment->anchor, from->segment->in, to->segment->out, to->segment->anchor};
}

// Everything one roundPath call works on.
struct Rounding {
    const SmartRoundParams& params;
    int n = 0;
    bool closed = false;
    CornerNode* nodes = nullptr; // the n anchors as read
    PathSegment* cuts = nullptr; // cut points made so far
    CornerNode* cutNodes = nullptr;
    int cutCount = 0;
    int cutCapacity = 0;
    LengthEntry* entries = nullptr;
    int k = 0; // entries in use

    double a() const { return params.totsu_length; }
    double b() const { return params.ou_length; }
    double cap(std::uint16_t kind) const { return (kind & kKindConvex) ? a() : b(); }

    // Share of a stretch between corner kinds K and M.
    double share(std::uint16_t k1, std::uint16_t k2) const
    {
        const bool convex1 = (k1 & kKindConvex) != 0, convex2 = (k2 & kKindConvex) != 0;
        if (convex1 == convex2)
            return 0.5;
        return convex1 ? a() / (a() + b()) : b() / (a() + b());
    }
};

// Walks the curves from a corner in one direction, through ignored anchors, until the 30-degree turn or
// the next anchor that is not ignored. Returns false when the path ends before any anchor is reached.
struct BudgetWalk {
    double sum = 0;   // length up to the stop, the shortened part included
    double total = 0; // length of the whole curves walked
    bool shortened = false;
    const CornerNode* stop = nullptr;
};

bool walkBudget(const CornerNode* corner, bool forward, int limit, BudgetWalk& w)
{
    const CornerNode* cur = corner;
    for (int step = 0; step <= limit; ++step) {
        const CornerNode* nxt = forward ? cur->next : cur->prev;
        if (!nxt)
            return false;
        BezierCurve curve = forward ? curveForward(cur, nxt) : curveBackward(cur, nxt);
        const double whole = bezierLength(curve);
        w.total = w.sum + whole;
        w.stop = nxt;
        if (trimAtTurn(curve)) {
            w.sum += bezierLength(curve);
            w.shortened = true;
            return true;
        }
        w.sum = w.total;
        if (!hasKind(nxt, kKindIgnored))
            return true;
        cur = nxt;
    }
    return true; // every anchor was passed: the corner shares the whole loop with itself
}

// The two budget passes over the corners in path order.
void budgetPass(Rounding& r, bool forward)
{
    const int last = r.closed ? r.n : r.n - 1;
    int j = 0;
    for (int i = 0; i < last; ++i) {
        CornerNode* node = &r.nodes[i];
        if (hasKind(node, kKindIgnored | kKindExcluded))
            continue;
        if (r.closed && j >= r.k)
            j = 0;
        const std::uint16_t K = node->kind;
        BudgetWalk w;
        if (!walkBudget(node, forward, r.n, w)) {
            ++j;
            continue;
        }
        const std::uint16_t M = w.stop->kind;
        const double cap = r.cap(K);
        double S = w.sum, T = w.total;
        LengthEntry& e = r.entries[j];
        const bool set = e.length != kLengthUnset;
        double candidate;
        bool flag;
        const bool shared = !(M & kKindExcluded) && !((M & kKindIgnored) && w.shortened);
        if (!shared) {
            if (T < S)
                S = T;
            if (S <= cap) {
                candidate = S;
                flag = !w.shortened || T == S;
            } else {
                candidate = cap;
                flag = false;
            }
        } else {
            const double whole = T;
            T *= r.share(K, M);
            if (T < S)
                S = T;
            if (S > cap) {
                candidate = cap;
                flag = false;
            } else if (forward) {
                candidate = (!set || S <= e.length) ? S : e.length;
                flag = !w.shortened || T == S;
            } else if (set) {
                // What the previous corner left of the stretch: meeting it exactly shares its cut point.
                const LengthEntry& prev = r.entries[j == 0 ? r.k - 1 : j - 1];
                const double rest = whole - prev.length;
                if (rest <= S) {
                    candidate = rest;
                    flag = true;
                } else {
                    candidate = S;
                    flag = false;
                }
            } else {
                candidate = S;
                flag = true;
            }
        }
        std::int32_t& meets = forward ? e.forwardMeets : e.backwardMeets;
        std::int32_t& other = forward ? e.backwardMeets : e.forwardMeets;
        if (!set) {
            e.length = candidate;
            meets = flag;
        } else if (candidate < e.length) {
            e.length = candidate;
            other = 0;
            meets = flag;
            if (!forward && j == 0 && r.k >= 2)
                r.entries[1].backwardMeets = 0;
        } else if (candidate == e.length) {
            // Both sides end at the same length: this side meets its neighbour as well as the other.
            meets = flag;
        } else {
            meets = 0;
        }
        node->lengthIndex = static_cast<std::int16_t>(j);
        if (!forward)
            r.entries[j == 0 ? r.k - 1 : j - 1].forwardMeets = e.backwardMeets;
        ++j;
    }
}

enum class CutResult { Made, Shared, Abandon };

// Makes the cut point of a corner on one side. Forward cut points come after the corner, backward ones
// before it; a cut point meeting the neighbour's own exactly is shared instead.
CutResult makeCut(Rounding& r, CornerNode* corner, bool forward, double L)
{
    const LengthEntry& e = r.entries[corner->lengthIndex];
    const bool meets = forward ? e.forwardMeets != 0 : e.backwardMeets != 0;
    const std::uint16_t neighbourCut = forward ? kKindCutBeforeNode : kKindCutAfterNode;
    CornerNode* cur = corner;
    double C = 0;
    for (int step = 0; step <= r.n + r.cutCount; ++step) {
        CornerNode* nxt = forward ? cur->next : cur->prev;
        if (!nxt)
            return CutResult::Abandon;
        if (meets && hasKind(nxt, neighbourCut))
            return CutResult::Shared;
        const BezierCurve curve = forward ? curveForward(cur, nxt) : curveBackward(cur, nxt);
        const double whole = bezierLength(curve);
        const double want = L - C;
        const bool toCorner = isCornerKind(nxt->kind);
        // The whole curve is the first trial; at a corner to be rounded the cut must lie inside the curve.
        const bool atEnd = std::fabs(C + whole - L) < kLengthTolerance && !toCorner;
        BezierCurve bestFirst{}, bestSecond{};
        if (!atEnd) {
            if (whole < want && !toCorner) {
                // Not enough curve: pass an ignored anchor, stop at the neighbour's cut point.
                if (hasKind(nxt, kKindIgnored)) {
                    nxt->kind |= kKindConsumed;
                    C += whole;
                    cur = nxt;
                    continue;
                }
                if (hasKind(nxt, neighbourCut))
                    return CutResult::Shared;
                return CutResult::Abandon;
            }
            if (!(whole >= want - kLengthTolerance))
                return CutResult::Abandon; // a corner closer than its neighbour's budget says
            double lo = 0, hi = 1, bestT = -1, bestDiff = 0;
            for (int trial = 2; trial <= kMaxTrials; ++trial) {
                const double t = (lo + hi) / 2;
                BezierCurve first{}, second{};
                // Straight curves are cut at the length itself; when the curve is too short for it (a
                // corner within the tolerance) the trial length follows t.
                if (!splitBezier(curve, t, want < whole ? want : whole * t, first, second))
                    return CutResult::Abandon;
                const double len = bezierLength(first);
                const double diff = std::fabs(C + len - L);
                if (bestT < 0 || diff < bestDiff) {
                    bestT = t;
                    bestDiff = diff;
                    bestFirst = first;
                    bestSecond = second;
                }
                if (diff < kLengthTolerance)
                    break;
                if (C + len < L)
                    lo = t;
                else
                    hi = t;
            }
            if (!(bestT > 0 && bestT <= 1))
                return CutResult::Abandon;
            // A cut at the very start of the curve would leave a degenerate corner: keep the path.
            if (bestT < kMinTrialT)
                return CutResult::Abandon;
        }
        if (r.cutCount >= r.cutCapacity)
            return CutResult::Abandon;
        PathSegment& cut = r.cuts[r.cutCount];
        CornerNode* cutNode = &r.cutNodes[r.cutCount];
        CornerNode* before = cur; // the cut point goes between these two
        CornerNode* after = nxt;
        if (atEnd) {
            if (hasKind(nxt, neighbourCut))
                return CutResult::Shared;
            const RealPoint end = curve.p3;
            const RealPoint handle = pointsEqual(curve.p2, end) ? curve.p1 : curve.p2;
            if (hasKind(nxt, kKindIgnored)) {
                // The cut point takes the ignored anchor's place.
                nxt->kind |= kKindConsumed;
                cut.anchor = end;
                if (forward) {
                    cut.in = handle;
                    cut.out = nxt->segment->out;
                } else {
                    cut.out = handle;
                    cut.in = nxt->segment->in;
                }
                before = nxt;
                after = forward ? nxt->next : nxt->prev;
            } else {
                // An excluded anchor: its handle toward the corner is retracted and the cut point sits on it.
                cut.anchor = end;
                if (forward) {
                    nxt->segment->in = nxt->segment->anchor;
                    cut.in = handle;
                    cut.out = end;
                } else {
                    nxt->segment->out = nxt->segment->anchor;
                    cut.out = handle;
                    cut.in = end;
                }
            }
        } else {
            const RealPoint end = bestFirst.p3;
            const RealPoint toward =
                pointsEqual(bestFirst.p2, end) ? addPoints(end, subtractPoints(end, bestSecond.p2)) : bestFirst.p2;
            cut.anchor = end;
            if (forward) {
                cut.in = toward;
                cut.out = bestSecond.p1;
                nxt->segment->in = bestSecond.p2;
            } else {
                cut.out = toward;
                cut.in = bestSecond.p1;
                nxt->segment->out = bestSecond.p2;
            }
        }
        cut.corner = 0;
        cutNode->segment = &cut;
        cutNode->kind = forward ? kKindCutAfterNode : kKindCutBeforeNode;
        cutNode->lengthIndex = -1;
        cutNode->cutBefore = cutNode->cutAfter = -1;
        // Splice between `before` and `after` in walking direction.
        if (forward) {
            cutNode->prev = before;
            cutNode->next = after;
            before->next = cutNode;
            if (after)
                after->prev = cutNode;
            corner->cutAfter = static_cast<std::int16_t>(r.cutCount);
            corner->kind |= kKindHasCutAfter;
        } else {
            cutNode->next = before;
            cutNode->prev = after;
            before->prev = cutNode;
            if (after)
                after->next = cutNode;
            corner->cutBefore = static_cast<std::int16_t>(r.cutCount);
            corner->kind |= kKindHasCutBefore;
        }
        ++r.cutCount;
        return CutResult::Made;
    }
    return CutResult::Abandon;
}

} // namespace

int trimAtTurn(BezierCurve& curve)
{
    double turn = 0;
    if (!curveTurn(curve, turn) || turn <= kAngle30Deg)
        return 0;
    double lo = 0, hi = 1, t = 0.5;
    BezierCurve first{}, second{};
    for (int split = 1; split <= kMaxTrials; ++split) {
        sRealBezier->Divide(&curve, t, &first, &second);
        double partTurn = 0;
        if (!curveTurn(first, partTurn))
            return 0;
        if (std::fabs(partTurn - kAngle30Deg) < kAngle05Deg)
            break;
        if (partTurn > kAngle30Deg)
            hi = t;
        else
            lo = t;
        t = (lo + hi) / 2;
    }
    curve = first;
    return 1;
}

std::uint16_t classifyCorner(ArtHandle path, int index, const PathSegment& previous, const PathSegment& segment,
                             const PathSegment& next, double totsu_length, double ou_length, double effect_angle,
                             int orientation, bool selectedOnly)
{
    RealPoint u = subtractPoints(segment.in, segment.anchor);
    if (u.x == 0 && u.y == 0)
        u = subtractPoints(previous.out, segment.anchor);
    RealPoint w = subtractPoints(segment.out, segment.anchor);
    if (w.x == 0 && w.y == 0)
        w = subtractPoints(next.in, segment.anchor);
    // The angle of w measured from the direction opposite u: the path's deflection at the anchor (the same
    // as turning w so that u points along +-pi, without the rounding of a rotation, so handles that are
    // exactly opposite give exactly 0).
    const double cross = -u.x * w.y + u.y * w.x, dot = -u.x * w.x - u.y * w.y;
    double phi = std::atan2(cross, dot);
    if (phi == -kPi)
        phi = kPi;
    const double limit = kPi - effect_angle;
    if (std::fabs(phi) <= limit)
        return kKindIgnored;
    std::uint16_t kind;
    if (phi >= 0)
        kind = orientation == 1 ? kKindConcave : kKindConvex;
    else
        kind = orientation == 1 ? kKindConvex : kKindConcave;
    if ((kind == kKindConvex && totsu_length == 0) || (kind == kKindConcave && ou_length == 0))
        return kKindExcluded;
    if (selectedOnly) {
        std::int16_t state = 0;
        if (sPath->GetPathSegmentSelected(path, static_cast<std::int16_t>(index), &state) == kCCNoErr &&
            state != kCCSegmentPointSelected)
            return kKindExcluded;
    }
    return kind;
}

void makeRoundingCurve(PathSegment& A, PathSegment& B)
{
    const bool aRetracted = pointsEqual(A.out, A.anchor);
    const bool bRetracted = pointsEqual(B.in, B.anchor);
    const RealPoint a1 = aRetracted ? A.in : A.anchor, a2 = aRetracted ? A.anchor : A.out;
    const RealPoint b1 = bRetracted ? B.out : B.anchor, b2 = bRetracted ? B.anchor : B.in;
    const RealPoint PA = a1, PB = b1;
    const RealPoint da = subtractPoints(a2, a1), db = subtractPoints(b2, b1);
    const RealPoint na = addPoints(PA, RealPoint{-da.y, da.x}), nb = addPoints(PB, RealPoint{-db.y, db.x});

    RealPoint centre{}, xa{}, xb{};
    double h = 0;
    if (intersectLines(PA, na, PB, nb, centre)) {
        RealPoint corner{};
        if (!intersectLines(a1, a2, b1, b2, corner))
            corner = a2;
        xa = xb = corner;
        double sweep = fold(std::fabs(pointAngle(centre, corner) - pointAngle(centre, PA))) +
                       fold(std::fabs(pointAngle(centre, corner) - pointAngle(centre, PB)));
        if (sweep < kAngle01Deg)
            return;
        if (sweep > kPi)
            sweep = kTwoPi - sweep;
        const double radius = (pointDistance(A.anchor, B.anchor) / 2) / std::sin(sweep / 2);
        h = arcHandleLength(radius, sweep);
    } else {
        h = pointDistance(PA, PB) * 0.5 * kStraightCurveFactor * 1.207118501179102;
        xa = a2;
        xb = b2;
    }
    if (!std::isfinite(h))
        return;

    const double aRef = aRetracted ? pointAngle(A.in, A.anchor) : pointAngle(A.anchor, A.out);
    RealPoint ha = polarPoint(h, pointAngle(PA, xa));
    if (anglesOpposed(vectorAngle(ha), aRef))
        ha = RealPoint{-ha.x, -ha.y};
    const double bRef = bRetracted ? pointAngle(B.out, B.anchor) : pointAngle(B.anchor, B.in);
    RealPoint hb = polarPoint(h, pointAngle(PB, xb));
    if (anglesOpposed(vectorAngle(hb), bRef))
        hb = RealPoint{-hb.x, -hb.y};
    A.out = addPoints(A.anchor, ha);
    B.in = addPoints(B.anchor, hb);
}

CCErr roundPath(const SmartRoundParams& params, ArtHandle path)
{
    const double a = params.totsu_length, b = params.ou_length;
    if (!std::isfinite(a) || !std::isfinite(b) || a < 0 || b < 0 || !std::isfinite(params.effect_angle))
        return kCCBadParameterErr;
    if (a == 0 && b == 0)
        return kCCNoErr;

    std::int16_t count = 0;
    CCBool32 closedFlag = 0;
    if (CCErr err = sPath->GetPathSegmentCount(path, &count))
        return err;
    if (CCErr err = sPath->GetPathClosed(path, &closedFlag))
        return err;
    const int n = count;
    const bool closed = closedFlag != 0;
    if ((!closed && n < 3) || (closed && n < 2) || n > kMaxRoundAnchors)
        return kCCNoErr;

    // Orientation: of a compound path the child with the largest area decides.
    double area = 0;
    if (CCErr err = sPath->GetPathArea(path, &area))
        return err;
    ArtHandle parent = nullptr;
    std::int16_t parentType = 0;
    if (sArt->GetArtParent(path, &parent) == kCCNoErr && parent && sArt->GetArtType(parent, &parentType) == kCCNoErr &&
        parentType == kCCCompoundPathArt) {
        ArtHandle child = nullptr;
        sArt->GetArtFirstChild(parent, &child);
        while (child) {
            std::int16_t type = 0;
            double childArea = 0;
            if (sArt->GetArtType(child, &type) == kCCNoErr && type == kCCPathArt &&
                sPath->GetPathArea(child, &childArea) == kCCNoErr && std::fabs(childArea) > std::fabs(area))
                area = childArea;
            ArtHandle sibling = nullptr;
            if (sArt->GetArtSibling(child, &sibling) != kCCNoErr)
                break;
            child = sibling;
        }
    }
    const int orientation = area >= 0 ? 1 : 0;

    const std::size_t cutCapacity = 2 * static_cast<std::size_t>(n) + 1;
    BlockArray<PathSegment> oldSegs;
    BlockArray<CornerNode> segsData;
    BlockArray<PathSegment> tmpSegs;
    BlockArray<CornerNode> tmpData;
    if (CCErr err = oldSegs.allocate(n, "oldSegs"))
        return err;
    if (CCErr err = segsData.allocate(n, "segsData"))
        return err;
    if (CCErr err = tmpSegs.allocate(cutCapacity, "tmpSegs"))
        return err;
    if (CCErr err = tmpData.allocate(cutCapacity, "tmpData"))
        return err;
    if (CCErr err = sPath->GetPathSegments(path, 0, count, oldSegs.data()))
        return err;

    Rounding r{params};
    r.n = n;
    r.closed = closed;
    r.nodes = segsData.data();
    r.cuts = tmpSegs.data();
    r.cutNodes = tmpData.data();
    r.cutCapacity = static_cast<int>(cutCapacity);
    for (int i = 0; i < n; ++i) {
        CornerNode& node = r.nodes[i];
        node.segment = &oldSegs[i];
        node.prev = i > 0 ? &r.nodes[i - 1] : (closed ? &r.nodes[n - 1] : nullptr);
        node.next = i < n - 1 ? &r.nodes[i + 1] : (closed ? &r.nodes[0] : nullptr);
        node.lengthIndex = -1;
        node.cutBefore = node.cutAfter = -1;
    }

    // Classification.
    int k = closed ? 0 : 2;
    for (int i = 0; i < n; ++i) {
        CornerNode& node = r.nodes[i];
        if (!closed && (i == 0 || i == n - 1)) {
            node.kind = kKindExcluded;
            continue;
        }
        node.kind = classifyCorner(path, i, *node.prev->segment, *node.segment, *node.next->segment, a, b,
                                   params.effect_angle, orientation, params.selectedOnly != 0);
        if (node.kind == kKindConvex || node.kind == kKindConcave)
            ++k;
    }
    BlockArray<LengthEntry> lenData;
    if (CCErr err = lenData.allocate(static_cast<std::size_t>(k) + 1, "lenData"))
        return err;
    r.entries = lenData.data();
    r.k = k;
    for (int j = 0; j <= k; ++j)
        r.entries[j] = LengthEntry{j < k ? kLengthUnset : 0, 0, 0};

    budgetPass(r, true);
    budgetPass(r, false);

    // Cut points.
    CornerNode* lastRounded = nullptr;
    for (int i = closed ? 0 : 1; i < (closed ? n : n - 1); ++i) {
        CornerNode* node = &r.nodes[i];
        if (!isCornerKind(node->kind) || node->lengthIndex < 0)
            continue;
        const double L = r.entries[node->lengthIndex].length;
        if (L == 0) {
            node->kind = kKindExcluded;
            continue;
        }
        for (bool forward : {true, false}) {
            const CutResult result = makeCut(r, node, forward, L);
            if (result == CutResult::Abandon)
                return kCCNoErr;
        }
        lastRounded = node;
    }

    // The result: anchors kept, and each rounded corner replaced by its own cut points.
    int resultCount = 0;
    for (int i = 0; i < n; ++i) {
        const CornerNode& node = r.nodes[i];
        if (node.kind & kKindConsumed)
            continue;
        if (!isCornerKind(node.kind))
            ++resultCount;
        else
            resultCount += ((node.kind & kKindHasCutBefore) ? 1 : 0) + ((node.kind & kKindHasCutAfter) ? 1 : 0);
    }
    if (resultCount > kMaxRoundAnchors || resultCount < 2)
        return kCCNoErr;
    BlockArray<PathSegment> newSegs;
    BlockArray<std::uint16_t> newSegFlags;
    if (CCErr err = newSegs.allocate(static_cast<std::size_t>(resultCount), "newSegs"))
        return err;
    if (CCErr err = newSegFlags.allocate(static_cast<std::size_t>(resultCount), "newSegFlags"))
        return err;
    int m = 0;
    for (int i = 0; i < n; ++i) {
        const CornerNode& node = r.nodes[i];
        if (node.kind & kKindConsumed)
            continue;
        if (!isCornerKind(node.kind)) {
            newSegs[m] = *node.segment;
            newSegFlags[m++] = 0;
            continue;
        }
        if ((node.kind & kKindHasCutBefore) && node.cutBefore >= 0) {
            newSegs[m] = r.cuts[node.cutBefore];
            newSegFlags[m++] = 1;
        }
        if ((node.kind & kKindHasCutAfter) && node.cutAfter >= 0) {
            newSegs[m] = r.cuts[node.cutAfter];
            newSegFlags[m++] = 2;
        }
    }

    // Rounding curves between the cut points of each corner.
    for (int x = 0; x < m; ++x) {
        if (newSegFlags[x] == 2) {
            makeRoundingCurve(newSegs[x == 0 ? m - 1 : x - 1], newSegs[x]);
        } else if (newSegFlags[x] == 1) {
            makeRoundingCurve(newSegs[x], newSegs[x + 1 < m ? x + 1 : 0]);
            ++x;
        }
    }
    if (closed && lastRounded && !(lastRounded->kind & (kKindHasCutAfter | kKindHasCutBefore)))
        makeRoundingCurve(newSegs[m - 1], newSegs[0]);

    if (CCErr err = sPath->SetPathSegments(path, 0, static_cast<std::int16_t>(m), newSegs.data()))
        return err;
    if (CCErr err = sPath->SetPathSegmentCount(path, static_cast<std::int16_t>(m)))
        return err;
    return kCCNoErr;
}

CCErr roundArtTree(const SmartRoundParams& params, ArtHandle art)
{
    std::int16_t type = 0;
    if (CCErr err = sArt->GetArtType(art, &type))
        return err;
    if (type == kCCPathArt)
        return roundPath(params, art);
    if (type != kCCGroupArt && type != kCCCompoundPathArt)
        return kCCNoErr;
    ArtHandle child = nullptr;
    if (CCErr err = sArt->GetArtFirstChild(art, &child))
        return err;
    while (child) {
        CCErr err = roundArtTree(params, child);
        if (err != kCCNoErr && err != kTooManySegments)
            return err;
        if (CCErr e = sArt->GetArtSibling(child, &child))
            return e;
    }
    return kCCNoErr;
}

} // namespace curvicraft
