#include "PathClosing.h"

#include "ArtSelection.h"
#include "PointMath.h"
#include "Tolerances.h"
#include "host/Suites.h"

#include <cmath>

namespace curvicraft {

CCErr isLoneStartAnchor(ArtHandle* path, CCBool32* lone)
{
    if (*path == nullptr) {
        *lone = 0;
        return kCCNoErr;
    }
    if (!sArt->ValidArt(*path)) {
        *path = nullptr;
        *lone = 0;
        return kCCNoErr;
    }
    CCBool32 closed = 0;
    if (sPath->GetPathClosed(*path, &closed) != kCCNoErr)
        return 1;
    if (closed || !artIsSelected(*path)) {
        *lone = 0;
        return kCCNoErr;
    }
    std::int16_t n = 0;
    if (sPath->GetPathSegmentCount(*path, &n) != kCCNoErr || n != 1)
        return 1;
    *lone = 1;
    return kCCNoErr;
}

int closePathIfEndsMeet(ArtHandle path, int minimum, bool snap)
{
    std::int16_t n = 0;
    if (sPath->GetPathSegmentCount(path, &n) != kCCNoErr || n < minimum || n < 2)
        return 0;
    PathSegment first{}, last{};
    if (sPath->GetPathSegments(path, 0, 1, &first) != kCCNoErr ||
        sPath->GetPathSegments(path, static_cast<std::int16_t>(n - 1), 1, &last) != kCCNoErr)
        return 0;
    // Written as negated <= so that NaN coordinates never count as meeting.
    if (!(std::fabs(first.anchor.x - last.anchor.x) <= kMeetTolerance &&
          std::fabs(first.anchor.y - last.anchor.y) <= kMeetTolerance))
        return 0;

    if (snap) {
        PathSegment beforeLast{};
        if (sPath->GetPathSegments(path, static_cast<std::int16_t>(n - 2), 1, &beforeLast) != kCCNoErr)
            return 0;
        if (std::fabs(first.anchor.x - beforeLast.anchor.x) < kCoordTolerance)
            first.anchor.x = beforeLast.anchor.x;
        if (std::fabs(first.anchor.y - beforeLast.anchor.y) < kCoordTolerance)
            first.anchor.y = beforeLast.anchor.y;
    }

    CCBool32 closed = 0;
    if (sPath->GetPathClosed(path, &closed) != kCCNoErr || closed)
        return 0;

    PathSegment merged{first.anchor, last.in, first.out, 1};
    const double turn = pointAngle(merged.anchor, merged.out) - pointAngle(merged.anchor, merged.in);
    if (std::fabs(std::fabs(turn) - kPi) <= kAngle01Deg)
        merged.corner = 0;

    if (sPath->SetPathSegments(path, 0, 1, &merged) != kCCNoErr ||
        sPath->SetPathSegmentCount(path, static_cast<std::int16_t>(n - 1)) != kCCNoErr)
        return 0;
    return sPath->SetPathClosed(path, 1) == kCCNoErr ? 1 : 0;
}

} // namespace curvicraft
