#include "TwoPieceArc.h"

#include "geometry/Tolerances.h"

#include <cmath>

namespace curvicraft {

const double kArcEndHandleRatio[20] = {
    0.0,
    0.05220241440648013,
    0.1036881695820707,
    0.15475819721998504,
    0.2056620062692292,
    0.256600942122615,
    0.3077303594087688,
    0.35916722676416224,
    0.4110183731292261,
    0.4633880925203808,
    0.5164089252501608,
    0.5702579538672801,
    0.6251738233607008,
    0.6814762962877124,
    0.7395593722659034,
    0.7998999791411967,
    0.8630380557277694,
    0.9295450463239257,
    1.0,
    0.0,
};

const double kArcMidHandleRatio[20] = {
    0.0,
    0.05317256603839179,
    0.1072573425884616,
    0.16210839045362102,
    0.217580856833286,
    0.27353930435891044,
    0.3298627809420067,
    0.38644011205812656,
    0.44318112683890626,
    0.49999963786799856,
    0.5568188731610937,
    0.613559525809872,
    0.6701372190579933,
    0.7264603335090881,
    0.7824191431667139,
    0.837891609546379,
    0.8927426574115384,
    0.9468270718296067,
    1.0,
    0.0,
};

ArcHandleLengths twoPieceArcHandles(double radius, double halfArcDegrees)
{
    // NaN fails both comparisons and would index the table with garbage: treat it as no arc.
    double theta = halfArcDegrees;
    if (!(theta > 0))
        theta = 0;
    if (theta > 90)
        theta = 90;
    const int i = static_cast<int>(std::floor(theta / 5));
    const double t = (theta - 5 * i) / 5;
    ArcHandleLengths lengths;
    lengths.end = radius * kQuarterArcHandle * ((1 - t) * kArcEndHandleRatio[i] + t * kArcEndHandleRatio[i + 1]);
    lengths.mid = radius * kQuarterArcHandle * ((1 - t) * kArcMidHandleRatio[i] + t * kArcMidHandleRatio[i + 1]);
    return lengths;
}

void twoPieceArcSegments(const RealPoint& first, const RealPoint& firstDir, const RealPoint& mid,
                         const RealPoint& midInDir, const RealPoint& second, const RealPoint& secondDir,
                         const ArcHandleLengths& lengths, PathSegment out[3])
{
    const double e = lengths.end, m = lengths.mid;
    out[0] = PathSegment{first, first, RealPoint{first.x + e * firstDir.x, first.y + e * firstDir.y}, 1};
    out[1] = PathSegment{mid, RealPoint{mid.x + m * midInDir.x, mid.y + m * midInDir.y},
                         RealPoint{mid.x - m * midInDir.x, mid.y - m * midInDir.y}, 0};
    out[2] = PathSegment{second, RealPoint{second.x + e * secondDir.x, second.y + e * secondDir.y}, second, 1};
}

} // namespace curvicraft
