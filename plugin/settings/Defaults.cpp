#include "Defaults.h"

#include "host/Suites.h"
#include "tools/framework/CurvicraftGlobals.h"

#include <numbers>

namespace curvicraft {

namespace {

constexpr double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

CCErr setDefaults(CurvicraftGlobals& g)
{
    // Lengths in points, angles converted from the degrees the panels show.
    g.editSeg1 = {1, 0};
    g.editSeg2 = {1, 0};
    g.symmSeg = {0, 0.33333, 0, radians(45), 1, 1, 0, 0};
    g.fixDirLine = {1, 0, 1, 0};
    g.circularSegs = {1};
    g.serialArc = {0, 0, 0, 0, 50, 50, radians(45), radians(90), 0, 0};
    g.serialLine = {0, 50, 100, 0, radians(15), 0, 0};
    g.serialCurve = {1};
    g.rectCorner = {0, 20, 50, 50, 100, 0, 0, 0};
    g.ovalCorner = {0, 20, 50, 50, 100, 0, 0, 0};
    g.revOvalCorner = {0, 20, 50, 50, 100, 0, 0, 0};
    g.roundCorner = {0, 20, 50, 0};
    g.revRoundCorner = {0, 20, 50, 0};
    g.bevelCorner = {0, 20, 50, 50, 50, 100, 0, 0, 0, 0};
    g.ellipseSeg = {0, 0.2, 1.0, 0};
    g.duplicateSeg = {0, 0};
    g.roughenSeg = {0, 20, 2, 1, 20};
    g.absRotatePaths = {0};
    g.absRotateSeg = {0};
    g.absResizePaths = {100};
    g.absResizeSeg = {100};
    g.reflectMirror = {0, 3, 0, 3};
    g.rotateMirror = {0, 3, 0, 3};
    g.wallPaper = {0, 1, 0, 0, 0};
    g.drawingPath = nullptr;
    g.smartRound.initialised = 0;

    g.showTips = 1;
    if (sPreference)
        sPreference->GetBooleanPreference(kPreferencePrefix, kShowTipsKey, &g.showTips);
    return kCCNoErr;
}

CCErr saveShowTips(const CurvicraftGlobals& g)
{
    if (!sPreference)
        return kCCSuiteNotFoundErr;
    return sPreference->PutBooleanPreference(kPreferencePrefix, kShowTipsKey, g.showTips);
}

} // namespace curvicraft
