#include "RoundCornerCtrlr.h"

#include "CornerPress.h"
#include "CornerSector.h"
#include "RadiusCornerParams.h"
#include "RoundFillet.h"
#include "geometry/SegmentBuffer.h"
#include "host/Suites.h"
#include "tools/framework/CurvicraftGlobals.h"

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
    return radiusCornerMouseUp(message, globals()->roundCorner);
}

namespace {

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
    SegmentBuffer segs;
    bool closed = false;
    if (CCErr err = readCornerPath(path, segs, closed))
        return err;
    const int count = segs.size();

    RoundFillet fillet;
    if (!computeRoundFillet(segs.data(), count, closed, anchorIndex, g->currentPoint, g->pressPoint, g->roundCorner,
                            fillet))
        return kCCNoErr;
    if (CCErr err = replaceCornerAnchor(path, anchorIndex, segs[anchorIndex], fillet.arc, 3))
        return err;
    g->roundCorner.lastRadius = fillet.radius;
    return drawRadiusGuide(fillet.guide);
}

} // namespace curvicraft
