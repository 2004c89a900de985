#include "ToolDispatch.h"

#include "InternalNotifierData.h"
#include "ToolCursor.h"
#include "ToolHandlers.h"
#include "ToolTable.h"
#include "geometry/HitPartEditing.h"
#include "geometry/PathClosing.h"
#include "host/Suites.h"
#include "tools/corner/RevRoundCornerCtrlr.h"
#include "tools/corner/RoundCornerCtrlr.h"
#include "tools/framework/CurvicraftGlobals.h"

#include <array>
#include <cstring>

namespace curvicraft {

bool buttonDown = false;

namespace {

// What the framework itself does at a tool's mouse-up, where the tool has no handler of its own.
enum class MouseUpCase {
    None,
    SelectHitParts, // Segment Direct Edit, Segment Edit, Arc Edit
    SelectAnchors,  // the straighteners, Convert-to-Arc, Parallelogram Ovalization
    CloseDrawnPath, // Multi-Curve
};

// The handlers of one slot; a null handler means the framework's own step (or nothing) and result 0.
struct ToolRoute {
    ToolHandler mouseDown = nullptr;
    ToolHandler drag = nullptr;
    ToolHandler mouseUp = nullptr;
    MouseUpCase mouseUpCase = MouseUpCase::None;
};

std::array<ToolRoute, kToolSlotCount> makeRoutes()
{
    std::array<ToolRoute, kToolSlotCount> routes{};
    for (int slot : {0, 1, 4})
        routes[slot].mouseUpCase = MouseUpCase::SelectHitParts;
    for (int slot : {5, 6, 7, 8})
        routes[slot].mouseUpCase = MouseUpCase::SelectAnchors;
    routes[kMultiCurveSlot].mouseUpCase = MouseUpCase::CloseDrawnPath;
    routes[kRoundFilletSlot] = {roundCornerMouseDown, roundCornerMouseDrag, roundCornerMouseUp, MouseUpCase::None};
    routes[kReverseRoundFilletSlot] = {revRoundCornerMouseDown, revRoundCornerMouseDrag, revRoundCornerMouseUp,
                                       MouseUpCase::None};
    return routes;
}

const std::array<ToolRoute, kToolSlotCount> kRoutes = makeRoutes();

bool pathIsLive(ArtHandle path)
{
    return path && sArt->ValidArt(path);
}

// The selection-state setting each hit-part tool leaves at mouse-up.
HitSelectionMode handleDisplayMode(const CurvicraftGlobals& g, int slot)
{
    std::int16_t value = 0;
    if (slot == kSegmentDirectEditSlot)
        value = g.editSeg1.handleDispType;
    else if (slot == kSegmentEditSlot)
        value = g.editSeg2.handleDispType;
    else
        value = g.circularSegs.handleDispType;
    return static_cast<HitSelectionMode>(value);
}

CCErr selectEveryAnchor(ArtHandle path)
{
    std::int16_t count = 0;
    if (const CCErr err = sPath->GetPathSegmentCount(path, &count))
        return err;
    for (std::int16_t i = 0; i < count; ++i)
        if (const CCErr err = sPath->SetPathSegmentSelected(path, i, kCCSegmentPointSelected))
            return err;
    return kCCNoErr;
}

CCErr frameworkMouseUp(CurvicraftGlobals& g, int slot, MouseUpCase what)
{
    const HitPart part = g.toolHit.part;
    switch (what) {
    case MouseUpCase::SelectHitParts: {
        g.pressConsumed = 0;
        const bool anyPart = part >= HitPart::Anchor && part <= HitPart::Curve;
        const bool anchorOrCurve = part == HitPart::Anchor || part == HitPart::Curve;
        if (slot == kArcEditSlot ? anchorOrCurve : anyPart)
            return selectHitParts(g.toolHit, handleDisplayMode(g, slot));
        return kCCNoErr;
    }
    case MouseUpCase::SelectAnchors:
        g.pressConsumed = 0;
        if (part == HitPart::Anchor || part == HitPart::Curve)
            return selectEveryAnchor(g.toolHit.path);
        return kCCNoErr;
    case MouseUpCase::CloseDrawnPath:
        if (!pathIsLive(g.drawingPath))
            return kCCNoErr;
        closePathIfEndsMeet(g.drawingPath, 3, true);
        return sArt->SetArtUserAttr(g.drawingPath, kCCArtSelected, kCCArtSelected);
    case MouseUpCase::None:
        break;
    }
    return kCCNoErr;
}

// Numeric Edit's drag: the hit anchor stays selected while the press moves it.
CCErr reselectHitAnchor(CurvicraftGlobals& g)
{
    const HitPart part = g.toolHit.part;
    if (part < HitPart::Anchor || part > HitPart::Curve || !g.reselectOnDrag)
        return kCCNoErr;
    if (!pathIsLive(g.toolHit.path))
        return kCCNoErr;
    return sPath->SetPathSegmentSelected(g.toolHit.path, g.toolHit.segmentIndex, kCCSegmentPointSelected);
}

// The cursor update inside a press, in the pressed variant.
void updatePressedCursor(CCToolMessage* message)
{
    buttonDown = true;
    updateToolCursor(message);
    buttonDown = false;
}

} // namespace

int toolSlotOfHandle(CCToolHandle tool)
{
    CurvicraftGlobals* g = globals();
    if (!g || !tool)
        return kNoToolSlot;
    for (int slot = 0; slot < kToolSlotCount; ++slot)
        if (g->toolHandles[slot] == tool)
            return slot;
    return kNoToolSlot;
}

int toolSelectIndex(CCToolMessage* message)
{
    CurvicraftGlobals* g = globals();
    if (!g || !message)
        return kNoToolSlot;
    g->drawingState = 0;
    g->drawingPath = nullptr;
    const int slot = toolSlotOfHandle(message->tool);
    if (slot >= kMultiLineSlot && slot <= kMultiCurveSlot && g->selectionNotifier)
        sNotifier->SetNotifierActive(g->selectionNotifier, 1);
    return slot;
}

CCErr toolMouseDownDispatch(CCToolMessage* message)
{
    CurvicraftGlobals* g = globals();
    if (!g || !message)
        return kCCNoErr;
    g->tempArt = nullptr; // a previous press's art is the document's now
    const int slot = toolSlotOfHandle(message->tool);
    if (slot == kNoToolSlot)
        return kCCNoErr;
    if (ToolHandler handler = kRoutes[slot].mouseDown)
        if (const CCErr err = handler(message))
            return err;
    sDocument->RedrawDocument();
    updatePressedCursor(message);
    return kCCNoErr;
}

CCErr toolDragDispatch(CCToolMessage* message)
{
    CurvicraftGlobals* g = globals();
    if (!g || !message)
        return kCCNoErr;
    const int slot = toolSlotOfHandle(message->tool);
    if (slot == kNoToolSlot)
        return kCCNoErr;
    disposeTempArt();
    updatePressedCursor(message);
    if (slot == kNumericEditSlot)
        return reselectHitAnchor(*g);
    if (ToolHandler handler = kRoutes[slot].drag)
        return handler(message);
    return kCCNoErr;
}

CCErr toolMouseUpDispatch(CCToolMessage* message)
{
    CurvicraftGlobals* g = globals();
    if (!g || !message)
        return kCCNoErr;
    const int slot = toolSlotOfHandle(message->tool);
    if (slot == kNoToolSlot)
        return kCCNoErr;
    disposeTempArt();
    buttonDown = false;
    updateToolCursor(message);
    const ToolRoute& route = kRoutes[slot];
    const CCErr result = route.mouseUp ? route.mouseUp(message) : frameworkMouseUp(*g, slot, route.mouseUpCase);
    updateToolCursor(message);
    return result;
}

void disposeTempArt()
{
    CurvicraftGlobals* g = globals();
    if (!g || !g->tempArt)
        return;
    if (sArt->ValidArt(g->tempArt))
        sArt->DisposeArt(g->tempArt);
    g->tempArt = nullptr;
}

void sendToolData()
{
    if (!sNotifier)
        return;
    InternalNotifierData data;
    std::strncpy(data.command, kToolSendDataCommand, sizeof data.command - 1);
    sNotifier->Notify(kInternalNotifierType, &data);
}

} // namespace curvicraft
