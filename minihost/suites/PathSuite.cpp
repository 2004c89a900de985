// Path geometry and per-anchor selection. Every write keeps one selection state per anchor and refuses
// to grow a path past the host's 16-bit anchor limit; a refused write changes nothing.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <algorithm>
#include <cmath>

namespace minihost::suites {

namespace {

bool finite(const CCRealPoint& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

bool finite(const CCPathSegment* segments, int count)
{
    for (int i = 0; i < count; ++i)
        if (!finite(segments[i].anchor) || !finite(segments[i].in) || !finite(segments[i].out))
            return false;
    return true;
}

CCErr GetPathSegmentCount(CCArtHandle path, int16_t* count)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    if (!count)
        return kCCBadParameterErr;
    if (a->segments.size() > std::size_t(kCCMaxPathSegments))
        return kCCTooManySegmentsErr; // cannot be told in 16 bits
    *count = static_cast<int16_t>(a->segments.size());
    return kCCNoErr;
}

CCErr SetPathSegmentCount(CCArtHandle path, int16_t count)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    if (count < 0)
        return kCCBadParameterErr;
    return guarded([&] {
        Art* p = doc->edit(a->id);
        CCPathSegment fill = p->segments.empty() ? CCPathSegment{} : p->segments.back();
        p->segments.resize(static_cast<std::size_t>(count), fill);
        p->selection.resize(static_cast<std::size_t>(count), std::int16_t(kCCSegmentNotSelected));
        return kCCNoErr;
    });
}

CCErr GetPathSegments(CCArtHandle path, int16_t first, int16_t count, CCPathSegment* segments)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    int n = static_cast<int>(a->segments.size());
    if (first < 0 || count < 0 || first + count > n || (count > 0 && !segments))
        return kCCBadParameterErr;
    std::copy_n(a->segments.begin() + first, count, segments);
    return kCCNoErr;
}

CCErr SetPathSegments(CCArtHandle path, int16_t first, int16_t count, const CCPathSegment* segments)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    int n = static_cast<int>(a->segments.size());
    if (first < 0 || count < 0 || first > n || (count > 0 && !segments))
        return kCCBadParameterErr;
    if (first + count > kCCMaxPathSegments)
        return kCCTooManySegmentsErr;
    if (!finite(segments, count))
        return kCCBadParameterErr;
    return guarded([&] {
        Art* p = doc->edit(a->id);
        std::size_t end = static_cast<std::size_t>(first + count);
        if (end > p->segments.size()) {
            p->segments.resize(end);
            p->selection.resize(end, std::int16_t(kCCSegmentNotSelected));
        }
        std::copy_n(segments, count, p->segments.begin() + first);
        return kCCNoErr;
    });
}

CCErr InsertPathSegments(CCArtHandle path, int16_t index, int16_t count, const CCPathSegment* segments)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    int n = static_cast<int>(a->segments.size());
    if (index < 0 || count < 0 || index > n || (count > 0 && !segments))
        return kCCBadParameterErr;
    if (n + count > kCCMaxPathSegments)
        return kCCTooManySegmentsErr;
    if (!finite(segments, count))
        return kCCBadParameterErr;
    return guarded([&] {
        Art* p = doc->edit(a->id);
        p->segments.insert(p->segments.begin() + index, segments, segments + count);
        p->selection.insert(p->selection.begin() + index, static_cast<std::size_t>(count),
                            std::int16_t(kCCSegmentNotSelected));
        return kCCNoErr;
    });
}

CCErr DeletePathSegments(CCArtHandle path, int16_t index, int16_t count)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    int n = static_cast<int>(a->segments.size());
    if (index < 0 || count < 0 || index + count > n)
        return kCCBadParameterErr;
    if (count == 0)
        return kCCNoErr;
    return guarded([&] {
        Art* p = doc->edit(a->id);
        p->segments.erase(p->segments.begin() + index, p->segments.begin() + index + count);
        p->selection.erase(p->selection.begin() + index, p->selection.begin() + index + count);
        return kCCNoErr;
    });
}

CCErr GetPathClosed(CCArtHandle path, CCBool32* closed)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    if (!closed)
        return kCCBadParameterErr;
    *closed = a->closed ? 1 : 0;
    return kCCNoErr;
}

CCErr SetPathClosed(CCArtHandle path, CCBool32 closed)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    return guarded([&] {
        if (a->closed != (closed != 0))
            doc->edit(a->id)->closed = closed != 0;
        return kCCNoErr;
    });
}

// The same curves traversed backwards; an anchor's selected in handle becomes its out handle.
CCErr ReversePathSegments(CCArtHandle path)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    return guarded([&] {
        Art* p = doc->edit(a->id);
        std::reverse(p->segments.begin(), p->segments.end());
        for (CCPathSegment& s : p->segments)
            std::swap(s.in, s.out);
        std::reverse(p->selection.begin(), p->selection.end());
        for (std::int16_t& s : p->selection) {
            if (s == kCCSegmentInSelected)
                s = kCCSegmentOutSelected;
            else if (s == kCCSegmentOutSelected)
                s = kCCSegmentInSelected;
        }
        return kCCNoErr;
    });
}

CCErr GetPathSegmentSelected(CCArtHandle path, int16_t index, int16_t* selection)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    if (!selection || index < 0 || index >= static_cast<int>(a->selection.size()))
        return kCCBadParameterErr;
    *selection = a->selection[static_cast<std::size_t>(index)];
    return kCCNoErr;
}

CCErr SetPathSegmentSelected(CCArtHandle path, int16_t index, int16_t selection)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    return guarded([&] { return doc->setAnchorSelection(a->id, index, selection) ? kCCNoErr : kCCBadParameterErr; });
}

CCErr GetPathIsGuide(CCArtHandle path, CCBool32* isGuide)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    if (!isGuide)
        return kCCBadParameterErr;
    *isGuide = a->guide ? 1 : 0;
    return kCCNoErr;
}

CCErr SetPathIsGuide(CCArtHandle path, CCBool32 isGuide)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    return guarded([&] {
        if (a->guide != (isGuide != 0))
            doc->edit(a->id)->guide = isGuide != 0;
        return kCCNoErr;
    });
}

// The curves of a path as cubics; a closed path (and, for the area, an open one) ends with its closing curve.
template <class Visit> void forEachCurve(const Art& a, bool withClosing, Visit&& visit)
{
    const auto& s = a.segments;
    for (std::size_t i = 1; i < s.size(); ++i)
        visit(CCBezier{s[i - 1].anchor, s[i - 1].out, s[i].in, s[i].anchor});
    if (withClosing && s.size() > 1)
        visit(CCBezier{s.back().anchor, s.back().out, s.front().in, s.front().anchor});
}

// The integral of x dy along a cubic, exact (Green's theorem on the Bernstein form).
double integralXdy(const CCBezier& b)
{
    static constexpr double m[4][4] = {{-10, 6, 3, 1}, {-6, 0, 3, 3}, {-3, -3, 0, 6}, {-1, -3, -6, 10}};
    const double x[4] = {b.p0.x, b.p1.x, b.p2.x, b.p3.x};
    const double y[4] = {b.p0.y, b.p1.y, b.p2.y, b.p3.y};
    double sum = 0;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            sum += x[i] * m[i][j] * y[j];
    return sum / 20;
}

// Clockwise positive in y-up coordinates: a counter-clockwise path gets a negative area, which is the sign
// the Smart Rounding classification reads as "left turns are convex".
CCErr GetPathArea(CCArtHandle path, double* area)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    if (!area)
        return kCCBadParameterErr;
    double sum = 0;
    forEachCurve(*a, true, [&](const CCBezier& b) { sum += integralXdy(b); });
    *area = -sum;
    return kCCNoErr;
}

CCErr GetPathLength(CCArtHandle path, double* length, double flatness)
{
    Document* doc;
    const Art* a;
    if (CCErr err = lookupPath(path, doc, a))
        return err;
    if (!length)
        return kCCBadParameterErr;
    double sum = 0;
    forEachCurve(*a, a->closed, [&](const CCBezier& b) { sum += realBezier().Length(&b, flatness); });
    *length = sum;
    return kCCNoErr;
}

} // namespace

const CCPathSuite& path()
{
    static const CCPathSuite table{
        GetPathSegmentCount,    SetPathSegmentCount, GetPathSegments, SetPathSegments,     InsertPathSegments,
        DeletePathSegments,     GetPathClosed,       SetPathClosed,   ReversePathSegments, GetPathSegmentSelected,
        SetPathSegmentSelected, GetPathIsGuide,      SetPathIsGuide,  GetPathArea,         GetPathLength,
    };
    return table;
}

} // namespace minihost::suites
