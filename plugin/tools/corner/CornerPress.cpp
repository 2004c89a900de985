#include "CornerPress.h"

#include "geometry/ArtSelection.h"
#include "host/Suites.h"
#include "tools/framework/CurvicraftGlobals.h"

namespace curvicraft {

namespace {

CCErr hitTestTool(const RealPoint& point, ToolHit& out)
{
    CCHitData hit{};
    if (CCErr err = sHitTest->HitTest(nullptr, &point, kCCHitTool, &hit))
        return err;
    out.hit = hit.hit;
    out.part = static_cast<HitPart>(hit.part);
    out.segmentIndex = hit.segment;
    out.path = hit.art;
    out.group = hit.group;
    out.point = hit.point;
    out.t = hit.t;
    return kCCNoErr;
}

} // namespace

CCErr cornerPressMouseDown(const CCToolMessage* message, CornerRoutine routine)
{
    CurvicraftGlobals* g = globals();
    g->toolHit = ToolHit{};

    ToolHit hit;
    if (CCErr err = hitTestTool(message->cursor, hit))
        return err;

    if (hit.hit == 0 || hit.path == nullptr || !artIsSelected(hit.path))
        return kCCNoErr;
    std::int16_t type = kCCUnknownArt;
    if (CCErr err = sArt->GetArtType(hit.path, &type))
        return err;
    if (type != kCCPathArt)
        return kCCNoErr;
    if (CCErr err = checkNotOnTextPath(hit.path))
        return err;
    if (hit.part != HitPart::Anchor)
        return kCCNoErr;

    g->toolHit = hit;
    g->pressPoint = hit.point;
    g->currentPoint = hit.point;
    const CCErr err = routine(hit.path, hit.segmentIndex);
    if (err == kCCNoErr)
        g->labelActive = 1;
    return err;
}

CCErr cornerPressMouseDrag(const CCToolMessage* message, CornerRoutine routine)
{
    CurvicraftGlobals* g = globals();
    if (!cornerPressTracking())
        return kCCNoErr;
    if (CCErr err = sUndo->UndoChanges())
        return err;

    ToolHit hit;
    if (CCErr err = hitTestTool(message->cursor, hit))
        return err;
    g->currentPoint = hit.point;

    // The pressed path exists in the reverted state; a handle gone stale another way is left alone.
    if (!sArt->ValidArt(g->toolHit.path))
        return kCCNoErr;
    return routine(g->toolHit.path, g->toolHit.segmentIndex);
}

bool cornerPressTracking()
{
    return globals()->toolHit.part == HitPart::Anchor;
}

CCErr readCornerPath(ArtHandle path, SegmentBuffer& segs, bool& closed)
{
    CCBool32 isClosed = 0;
    if (CCErr err = sPath->GetPathClosed(path, &isClosed))
        return err;
    closed = isClosed != 0;
    return segs.readPath(path);
}

CCErr replaceCornerAnchor(ArtHandle path, int anchorIndex, const PathSegment& original, const PathSegment* pieces,
                          int count)
{
    std::int16_t segmentCount = 0;
    if (CCErr err = sPath->GetPathSegmentCount(path, &segmentCount))
        return err;
    if (segmentCount > kCCMaxPathSegments - (count - 1))
        return kCCTooManySegmentsErr;
    const auto index = static_cast<std::int16_t>(anchorIndex);
    std::int16_t selection = kCCSegmentNotSelected;
    sPath->GetPathSegmentSelected(path, index, &selection);
    if (CCErr err = sPath->DeletePathSegments(path, index, 1))
        return err;
    if (CCErr err = sPath->InsertPathSegments(path, index, static_cast<std::int16_t>(count), pieces)) {
        sPath->InsertPathSegments(path, index, 1, &original);
        sPath->SetPathSegmentSelected(path, index, selection);
        return err;
    }
    return sArt->SetArtUserAttr(path, kAttrSelected, kAttrSelected);
}

bool optionKeyDown(const CCToolMessage* message)
{
    return (message->modifiers & kCCEventModifierOption) != 0;
}

} // namespace curvicraft
