#include "RevRoundCornerCtrlr.h"

#include "CornerPress.h"
#include "RadiusCornerParams.h"
#include "RevRoundFillet.h"
#include "tools/framework/CurvicraftGlobals.h"

namespace curvicraft {

void RevRoundCornerCtrlr::writeMinValues(SettingsWriter& stream)
{
    writeRadiusCornerMinValues(stream);
}

void RevRoundCornerCtrlr::writeMaxValues(SettingsWriter& stream)
{
    writeRadiusCornerMaxValues(stream);
}

CCErr RevRoundCornerCtrlr::writeParams(SettingsWriter& stream)
{
    CurvicraftGlobals* g = globals();
    return writeRadiusCornerParams(stream, g->revRoundCorner, g->unitsIndex);
}

CCErr RevRoundCornerCtrlr::readParams(std::string text)
{
    CurvicraftGlobals* g = globals();
    readRadiusCornerParams(text, g->revRoundCorner, g->unitsIndex);
    return 1;
}

CCErr RevRoundCornerCtrlr::currentInfo(std::string& info)
{
    CurvicraftGlobals* g = globals();
    return radiusCornerInfo(g->revRoundCorner, g->unitsIndex, info);
}

CCErr revRoundCornerMouseDown(CCToolMessage* message)
{
    return cornerPressMouseDown(message, revRoundCornerAt);
}

CCErr revRoundCornerMouseDrag(CCToolMessage* message)
{
    return cornerPressMouseDrag(message, revRoundCornerAt);
}

CCErr revRoundCornerMouseUp(CCToolMessage* message)
{
    return radiusCornerMouseUp(message, globals()->revRoundCorner);
}

CCErr revRoundCornerAt(CCArtHandle path, int anchorIndex)
{
    CurvicraftGlobals* g = globals();
    SegmentBuffer segs;
    bool closed = false;
    if (CCErr err = readCornerPath(path, segs, closed))
        return err;

    RevRoundFillet cove;
    if (!computeRevRoundFillet(segs.data(), segs.size(), closed, anchorIndex, g->currentPoint, g->pressPoint,
                               g->revRoundCorner, cove))
        return kCCNoErr;
    if (CCErr err = replaceCornerAnchor(path, anchorIndex, segs[anchorIndex], cove.arc, 3))
        return err;
    g->revRoundCorner.lastRadius = cove.radius;
    return kCCNoErr;
}

} // namespace curvicraft
