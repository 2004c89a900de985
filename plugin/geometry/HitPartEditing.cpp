#include "HitPartEditing.h"

#include "PointMath.h"
#include "host/Suites.h"

namespace curvicraft {

namespace {

// A handle coordinate that sits on the anchor's stays exactly on it; others keep their offset.
double follow(double handle, double oldAnchor, double newAnchor)
{
    return handle == oldAnchor ? newAnchor : handle + (newAnchor - oldAnchor);
}

void moveX(PathSegment& s, double x)
{
    s.in.x = follow(s.in.x, s.anchor.x, x);
    s.out.x = follow(s.out.x, s.anchor.x, x);
    s.anchor.x = x;
}

void moveY(PathSegment& s, double y)
{
    s.in.y = follow(s.in.y, s.anchor.y, y);
    s.out.y = follow(s.out.y, s.anchor.y, y);
    s.anchor.y = y;
}

// Writes a straight line from the anchor to the dragged handle into a new path on top of the current layer.
CCErr makeHandleFeedback(const RealPoint& anchor, const RealPoint& handle, ArtHandle* slot)
{
    CCLayerHandle layer = nullptr;
    CCErr err = sLayer->GetCurrentLayer(&layer);
    ArtHandle layerArt = nullptr;
    if (err == kCCNoErr)
        err = sArt->GetFirstArtOfLayer(layer, &layerArt);
    ArtHandle line = nullptr;
    if (err == kCCNoErr)
        err = sArt->NewArt(kCCPathArt, kCCPlaceInsideOnTop, layerArt, &line);
    if (err != kCCNoErr)
        return err;
    *slot = line;
    const PathSegment ends[2] = {{anchor, anchor, anchor, 1}, {handle, handle, handle, 1}};
    return sPath->SetPathSegments(*slot, 0, 2, ends);
}

CCErr setSelection(ArtHandle path, std::int16_t index, SegmentSelectionState state)
{
    return sPath->SetPathSegmentSelected(path, index, static_cast<std::int16_t>(state));
}

CCErr setAllSelections(ArtHandle path, std::int16_t n, SegmentSelectionState state)
{
    CCErr err = kCCNoErr;
    for (std::int16_t i = 0; err == kCCNoErr && i < n; ++i)
        err = setSelection(path, i, state);
    return err;
}

} // namespace

CCErr alignSegmentToPointAxis(ArtHandle path, std::int16_t index, bool alongX, const RealPoint& point)
{
    PathSegment s{};
    CCErr err = sPath->GetPathSegments(path, index, 1, &s);
    if (err != kCCNoErr)
        return err;
    if (alongX)
        moveX(s, point.x);
    else
        moveY(s, point.y);
    return sPath->SetPathSegments(path, index, 1, &s);
}

CCErr moveSegmentToPoint(ArtHandle path, std::int16_t index, const RealPoint& point)
{
    PathSegment s{};
    CCErr err = sPath->GetPathSegments(path, index, 1, &s);
    if (err != kCCNoErr)
        return err;
    moveX(s, point.x);
    moveY(s, point.y);
    return sPath->SetPathSegments(path, index, 1, &s);
}

CCErr moveHitPartToPoint(const ToolHit& hit, bool turnOpposite, const RealPoint& point, ArtHandle* feedbackSlot)
{
    PathSegment s{};
    CCErr err = sPath->GetPathSegments(hit.path, hit.segmentIndex, 1, &s);
    if (err != kCCNoErr)
        return err;

    const bool handle = hit.part == HitPart::OutHandle || hit.part == HitPart::InHandle;
    if (hit.part == HitPart::Anchor) {
        if (pointsEqual(s.anchor, point))
            return kCCNoErr;
        moveX(s, point.x);
        moveY(s, point.y);
    } else if (handle) {
        const bool out = hit.part == HitPart::OutHandle;
        RealPoint& dragged = out ? s.out : s.in;
        RealPoint& opposite = out ? s.in : s.out;
        if (pointsEqual(dragged, point))
            return kCCNoErr;
        dragged = point;
        if (turnOpposite && !s.corner)
            opposite = addPoints(s.anchor, polarPoint(pointDistance(opposite, s.anchor), pointAngle(point, s.anchor)));
        else
            s.corner = 1;
    }

    if ((err = sPath->SetPathSegments(hit.path, hit.segmentIndex, 1, &s)) != kCCNoErr)
        return err;
    if (feedbackSlot != nullptr && handle)
        return makeHandleFeedback(s.anchor, point, feedbackSlot);
    return kCCNoErr;
}

CCErr selectHitParts(const ToolHit& hit, HitSelectionMode mode)
{
    std::int16_t n = 0;
    CCErr err = sPath->GetPathSegmentCount(hit.path, &n);
    if (err != kCCNoErr)
        return err;
    if (mode == HitSelectionMode::AllWithHandles)
        return setAllSelections(hit.path, n, SegmentSelectionState::AnchorAndHandles);
    if (mode != HitSelectionMode::HitPart)
        return setAllSelections(hit.path, n, SegmentSelectionState::Anchor);

    if ((err = setAllSelections(hit.path, n, SegmentSelectionState::None)) != kCCNoErr)
        return err;
    const std::int16_t i = hit.segmentIndex;
    switch (hit.part) {
    case HitPart::Anchor:
    case HitPart::OutHandle:
    case HitPart::InHandle:
        return setSelection(hit.path, i, SegmentSelectionState::AnchorAndHandles);
    case HitPart::Curve: {
        std::int16_t start = static_cast<std::int16_t>(i - 1);
        if (i == 0) {
            // Curve 0 is the closing curve; an open path has none.
            CCBool32 closed = 0;
            if ((err = sPath->GetPathClosed(hit.path, &closed)) != kCCNoErr || !closed)
                return err;
            start = static_cast<std::int16_t>(n - 1);
        }
        if ((err = setSelection(hit.path, i, SegmentSelectionState::InHandle)) != kCCNoErr)
            return err;
        return setSelection(hit.path, start, SegmentSelectionState::OutHandle);
    }
    default:
        return kCCNoErr;
    }
}

} // namespace curvicraft
