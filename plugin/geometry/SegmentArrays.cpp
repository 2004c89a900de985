#include "SegmentArrays.h"

#include "ObjectTransforms.h"
#include "PointMath.h"
#include "host/Suites.h"

#include <utility>

namespace curvicraft {

void reverseSegments(PathSegment* segments, int n)
{
    for (int i = 0; i < n / 2; ++i)
        std::swap(segments[i], segments[n - 1 - i]);
    for (int i = 0; i < n; ++i)
        std::swap(segments[i].in, segments[i].out);
}

void mirrorSegmentsAlongChord(PathSegment* segments, int n)
{
    if (n <= 0)
        return;
    const RealPoint v = subtractPoints(segments[n - 1].anchor, segments[0].anchor);
    const double a = vectorAngle(v);
    // v lies on the line through the origin at angle a, so reflecting across the line through v is the same.
    const RealMatrix m = reflectionMatrix(v, a);
    for (int i = 0; i < n; ++i) {
        PathSegment s = segments[i];
        sRealMath->MatrixXformPoint(&m, &s.anchor, &segments[i].anchor);
        sRealMath->MatrixXformPoint(&m, &s.out, &segments[i].out);
        sRealMath->MatrixXformPoint(&m, &s.in, &segments[i].in);
    }
}

} // namespace curvicraft
