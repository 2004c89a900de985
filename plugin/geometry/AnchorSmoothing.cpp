#include "AnchorSmoothing.h"

#include "PointMath.h"
#include "SegmentBuffer.h"
#include "host/Suites.h"

namespace curvicraft {

namespace {

bool retractedIn(const PathSegment& s)
{
    return pointsEqual(s.in, s.anchor);
}
bool retractedOut(const PathSegment& s)
{
    return pointsEqual(s.out, s.anchor);
}

// The anchor before k, or -1. Open paths need three anchors for an interior neighbour.
int precedingAnchor(int k, int n, bool closed)
{
    if (closed)
        return k == 0 ? n - 1 : k - 1;
    return n >= 3 && k != 0 ? k - 1 : -1;
}

// The anchor after k, or -1.
int followingAnchor(int k, int n, bool closed)
{
    if (closed)
        return k == n - 1 ? 0 : k + 1;
    return n >= 3 && k != n - 1 ? k + 1 : -1;
}

// Turns handle to point away from reference through the anchor, keeping its length; marks the anchor smooth.
void turnOpposite(PathSegment& s, RealPoint& handle, const RealPoint& reference)
{
    handle = addPoints(s.anchor, polarPoint(pointDistance(handle, s.anchor), pointAngle(s.anchor, reference) + kPi));
    s.corner = 0;
}

struct PathRead {
    SegmentBuffer segs;
    bool closed = false;
};

CCErr readWithClosed(ArtHandle path, PathRead& read)
{
    CCBool32 closed = 0;
    CCErr err = sPath->GetPathClosed(path, &closed);
    if (err != kCCNoErr)
        return err;
    read.closed = closed != 0;
    return read.segs.readPath(path);
}

} // namespace

CCErr smoothAnchorAtCurve(const ToolHit& hit)
{
    PathRead read;
    CCErr err = readWithClosed(hit.path, read);
    if (err != kCCNoErr)
        return err;
    SegmentBuffer& segs = read.segs;
    const int n = segs.size();
    const int b = hit.segmentIndex;
    if (n < 2 || (b == 0 && !read.closed))
        return kCCNoErr;
    if (b < 0 || b >= n)
        return kCCBadParameterErr;
    const int a = b == 0 ? n - 1 : b - 1;
    PathSegment& A = segs[a];
    PathSegment& B = segs[b];

    if (hit.t >= 0.5) {
        const int next = followingAnchor(b, n, read.closed);
        if (next >= 0 && retractedIn(B))
            B.in = addPoints(B.anchor, polarPoint(pointDistance(A.out, B.anchor) / 3, pointAngle(B.anchor, A.out)));
        if (retractedIn(B))
            return kCCNoErr;
        if (!retractedOut(B))
            turnOpposite(B, B.in, B.out);
        else if (next >= 0)
            turnOpposite(B, B.in, segs[next].in);
        else
            B.corner = 1;
    } else {
        const int prev = precedingAnchor(a, n, read.closed);
        if (prev >= 0 && retractedOut(A))
            A.out = addPoints(A.anchor, polarPoint(pointDistance(B.in, A.anchor) / 3, pointAngle(A.anchor, B.in)));
        if (retractedOut(A))
            return kCCNoErr;
        if (!retractedIn(A))
            turnOpposite(A, A.out, A.in);
        else if (prev >= 0)
            turnOpposite(A, A.out, segs[prev].out);
        else
            A.corner = 1;
    }
    return segs.writePath(hit.path);
}

CCErr smoothAnchorAtHandle(const ToolHit& hit)
{
    if (hit.part != HitPart::OutHandle && hit.part != HitPart::InHandle)
        return kCCNoErr;
    PathRead read;
    CCErr err = readWithClosed(hit.path, read);
    if (err != kCCNoErr)
        return err;
    SegmentBuffer& segs = read.segs;
    const int n = segs.size();
    const int k = hit.segmentIndex;
    if (n < 2)
        return kCCNoErr;
    if (k < 0 || k >= n)
        return kCCBadParameterErr;
    PathSegment& s = segs[k];

    if (hit.part == HitPart::OutHandle) {
        if (retractedOut(s))
            return kCCNoErr;
        const int prev = precedingAnchor(k, n, read.closed);
        if (!retractedIn(s))
            turnOpposite(s, s.out, s.in);
        else if (prev >= 0)
            turnOpposite(s, s.out, segs[prev].out);
        else
            s.corner = 1;
    } else {
        if (retractedIn(s))
            return kCCNoErr;
        const int next = followingAnchor(k, n, read.closed);
        if (!retractedOut(s))
            turnOpposite(s, s.in, s.out);
        else if (next >= 0)
            turnOpposite(s, s.in, segs[next].in);
        else
            s.corner = 1;
    }
    return segs.writePath(hit.path);
}

} // namespace curvicraft
