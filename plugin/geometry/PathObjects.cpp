#include "PathObjects.h"

#include "ArtSelection.h"
#include "host/Suites.h"

namespace curvicraft {

CCErr expandStrokedPaths(CCMemoryHandle list, std::int32_t count, bool openOnly)
{
    if (count <= 0)
        return kCCNoErr;
    ArtHandle* art = nullptr;
    CCErr err = selectionListArt(list, &art);
    for (std::int32_t i = 0; err == kCCNoErr && i < count; ++i) {
        ArtType type = ArtType::Unknown;
        if ((err = getArtType(art[i], &type)) != kCCNoErr || type != ArtType::Path)
            continue;
        CCPathStyle style{};
        if ((err = sPathStyle->GetPathStyle(art[i], &style)) != kCCNoErr || !style.strokePaint)
            continue;
        if (openOnly) {
            CCBool32 closed = 0;
            if ((err = sPath->GetPathClosed(art[i], &closed)) != kCCNoErr || closed || style.fillPaint)
                continue;
        }
        err = sExpand->Expand(art[i], kCCExpandStroke, 1);
    }
    return err;
}

CCErr makeRectanglePath(double x0, double y0, double x1, double y1, ArtHandle* rectangle, ArtHandle path)
{
    const RealPoint corners[4] = {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
    PathSegment segments[4];
    for (int i = 0; i < 4; ++i)
        segments[i] = PathSegment{corners[i], corners[i], corners[i], 1};

    std::int16_t oldCount = 0;
    CCErr err = sPath->GetPathSegmentCount(path, &oldCount);
    if (err == kCCNoErr)
        err = sPath->SetPathSegments(path, 0, 4, segments);
    if (err == kCCNoErr && oldCount > 4)
        err = sPath->SetPathSegmentCount(path, 4);
    if (err == kCCNoErr)
        err = sPath->SetPathClosed(path, 1);
    if (err == kCCNoErr)
        err = sArt->SetArtUserAttr(path, kAttrSelected, kAttrSelected);
    if (err == kCCNoErr)
        *rectangle = path;
    return err;
}

} // namespace curvicraft
