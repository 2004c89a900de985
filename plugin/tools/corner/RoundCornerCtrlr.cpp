#include "RoundCornerCtrlr.h"

#include "CornerPress.h"
#include "CornerSector.h"
#include "RadiusCornerParams.h"
#include "RoundFillet.h"
#include "geometry/SegmentBuffer.h"
#include "host/Suites.h"
#include "tools/framework/CurvicraftGlobals.h"
#include "tools/framework/ToolDispatch.h"

namespace curvicraft {

void RoundCornerCtrlr::writeMinValues(SettingsWriter& stream)
{
    writeRadiusCornerMinValues(stream);
}

void RoundCornerCtrlr::writeMaxValues(SettingsWriter& stream)
{
    writeRadiusCornerMaxValues(stream);
}

CCErr RoundCornerCtrlr::writeParams(SettingsWriter& stream)
{
    CurvicraftGlobals* g = globals();
    return writeRadiusCornerParams(stream, g->roundCorner, g->unitsIndex);
}

CCErr RoundCornerCtrlr::readParams(std::string text)
{
    CurvicraftGlobals* g = globals();
    readRadiusCornerParams(text, g->roundCorner, g->unitsIndex);
    return 1;
}

CCErr RoundCornerCtrlr::currentInfo(std::string& info)
{
    CurvicraftGlobals* g = globals();
    return radiusCornerInfo(g->roundCorner, g->unitsIndex, info);
}

CCErr roundCornerMouseDown(CCToolMessage* message)
{
    return cornerPressMouseDown(message, roundCornerAt);
}

CCErr roundCornerMouseDrag(CCToolMessage* message)
{
    return cornerPressMouseDrag(message, roundCornerAt);
}

CCErr roundCornerMouseUp(CCToolMessage* message)
{
    if (!cornerPressTracking())
        return kCCNoErr;
    RadiusCornerSettings& settings = globals()->roundCorner;
    if (optionKeyDown(message) && sizeModeOf(settings.opeStyle) != SizeMode::Fixed)
        settings.fixedRadius = settings.lastRadius;
    sendToolData();
    return kCCNoErr;
}

namespace {

// Replaces the corner anchor by the fillet's three anchors. The path keeps its anchor when the insertion
// fails, so a refused write loses nothing.
CCErr replaceCorner(ArtHandle path, int anchorIndex, const PathSegment* original, const PathSegment arc[3])
{
    const auto index = static_cast<std::int16_t>(anchorIndex);
    std::int16_t selection = kCCSegmentNotSelected;
    sPath->GetPathSegmentSelected(path, index, &selection);
    if (CCErr err = sPath->DeletePathSegments(path, index, 1))
        return err;
    if (CCErr err = sPath->InsertPathSegments(path, index, 3, arc)) {
        sPath->InsertPathSegments(path, index, 1, original);
        sPath->SetPathSegmentSelected(path, index, selection);
        return err;
    }
    return kCCNoErr;
}

CCErr drawRadiusGuide(const RealPoint guide[3])
{
    CCLayerHandle layer = nullptr;
    if (CCErr err = sLayer->GetCurrentLayer(&layer))
        return err;
    ArtHandle layerArt = nullptr;
    if (CCErr err = sArt->GetFirstArtOfLayer(layer, &layerArt))
        return err;
    ArtHandle art = nullptr;
    if (CCErr err = sArt->NewArt(kCCPathArt, kCCPlaceInsideOnTop, layerArt, &art))
        return err;
    globals()->tempArt = art;
    PathSegment segments[3];
    for (int i = 0; i < 3; ++i)
        segments[i] = PathSegment{guide[i], guide[i], guide[i], 1};
    return sPath->SetPathSegments(art, 0, 3, segments);
}

} // namespace

CCErr roundCornerAt(CCArtHandle path, int anchorIndex)
{
    CurvicraftGlobals* g = globals();
    std::int16_t count = 0;
    if (CCErr err = sPath->GetPathSegmentCount(path, &count))
        return err;
    CCBool32 closed = 0;
    if (CCErr err = sPath->GetPathClosed(path, &closed))
        return err;
    if (count < 3 || anchorIndex < 0 || anchorIndex >= count)
        return kCCNoErr;

    SegmentBuffer segs;
    if (CCErr err = segs.allocate(count))
        return err;
    if (CCErr err = sPath->GetPathSegments(path, 0, count, segs.data()))
        return err;

    RoundFillet fillet;
    if (!computeRoundFillet(segs.data(), count, closed != 0, anchorIndex, g->currentPoint, g->pressPoint,
                            g->roundCorner, fillet))
        return kCCNoErr;
    // The fillet adds two anchors; a path near the host's limit cannot take them.
    if (count > kCCMaxPathSegments - 2)
        return kCCTooManySegmentsErr;

    if (CCErr err = replaceCorner(path, anchorIndex, &segs[anchorIndex], fillet.arc))
        return err;
    if (CCErr err = sArt->SetArtUserAttr(path, kAttrSelected, kAttrSelected))
        return err;
    g->roundCorner.lastRadius = fillet.radius;
    return drawRadiusGuide(fillet.guide);
}

} // namespace curvicraft
