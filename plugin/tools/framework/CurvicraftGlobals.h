// The one process-wide record of tool state and every tool's settings, taken from host block memory at
// start-up and freed at shut-down.
#pragma once

#include "cc_types.h"
#include "geometry/PathModel.h"
#include "tools/framework/ToolSettings.h"

#include <cstdint>

namespace curvicraft {

inline constexpr int kToolSlotCount = 36;

struct CurvicraftGlobals {
    CCFilterHandle filterHandles[2] = {};
    std::int32_t filterCount = 0;
    CCLiveEffectHandle effectHandles[10] = {};
    std::int32_t effectCount = 0;
    CCTimerHandle timer = nullptr;
    std::int32_t smartRoundField1 = 0;
    std::int32_t smartRoundField2 = 0;
    CCToolHandle toolHandles[kToolSlotCount] = {};
    ToolHit toolHit{};
    CCArtHandle tempArt = nullptr;
    CCArtHandle drawingPath = nullptr;
    std::int32_t drawingState = 0;
    RealPoint pressPoint{};
    RealPoint currentPoint{};
    std::int32_t mirrorState = 0;
    std::int16_t panelToolIndex = -1;
    void* cursorResources = nullptr;
    std::int16_t unitsIndex = 0;
    CCNotifierHandle selectionNotifier = nullptr;
    CCBool32 showTips = 1;
    std::int32_t drawingFlag = 0;
    CCBool32 pressConsumed = 0;
    CCBool32 reselectOnDrag = 0;
    std::int16_t cursorId = 0;
    CCBool32 labelActive = 0;
    CCAnnotatorHandle annotatorHandle = nullptr;
    SmartRoundParams smartRound{};

    EditSegSettings editSeg1{};
    EditSegSettings editSeg2{};
    SymmSegSettings symmSeg{};
    FixDirLineSettings fixDirLine{};
    CircularSegsSettings circularSegs{};
    SerialArcSettings serialArc{};
    SerialLineSettings serialLine{};
    SerialCurveSettings serialCurve{};
    TwoLengthCornerSettings rectCorner{};
    TwoLengthCornerSettings ovalCorner{};
    TwoLengthCornerSettings revOvalCorner{};
    RadiusCornerSettings roundCorner{};
    RadiusCornerSettings revRoundCorner{};
    BevelCornerSettings bevelCorner{};
    EllipseSegSettings ellipseSeg{};
    DuplicateSegSettings duplicateSeg{};
    RoughenSegSettings roughenSeg{};
    DirectionSettings absRotatePaths{};
    LengthSettings absResizePaths{};
    DirectionSettings absRotateSeg{};
    LengthSettings absResizeSeg{};
    MirrorSettings reflectMirror{};
    MirrorSettings rotateMirror{};
    WallPaperSettings wallPaper{};
};

// The record of the running plug-in; null before start-up and after shut-down.
CurvicraftGlobals* globals();
void setGlobals(CurvicraftGlobals* record);

// Takes a block of host block memory under the debug name "CurvicraftGlobals" and builds a record with
// every field at its initial value in it. On failure *record is null and the host's code is returned.
CCErr allocateGlobals(CurvicraftGlobals** record);
// Ends the record's life and gives its block back; null is ignored.
CCErr freeGlobals(CurvicraftGlobals* record);

} // namespace curvicraft
