#include "ToolCursor.h"

#include "ToolDispatch.h"
#include "ToolTable.h"
#include "geometry/ArtSelection.h"
#include "host/Suites.h"
#include "tools/framework/CurvicraftGlobals.h"

#include <initializer_list>

namespace curvicraft {

namespace {

// Which modifier combinations a tool reads, so the cursor can announce them.
struct CursorSwitches {
    bool handles = false;       // direction points are something the tool drags
    bool optionAlone = false;   // Option without Shift marks the parts of a selected path
    bool shiftOption = false;   // Shift with Option switches the tool's alternative action
    bool anchorsAllowed = true; // an anchor is something the tool acts on
};

bool inSlots(int slot, std::initializer_list<int> slots)
{
    for (int s : slots)
        if (s == slot)
            return true;
    return false;
}

CursorSwitches switchesFor(int slot, std::int32_t modifiers)
{
    const bool shift = (modifiers & kCCEventModifierShift) != 0;
    const bool option = (modifiers & kCCEventModifierOption) != 0;
    CursorSwitches s;
    s.handles = inSlots(slot, {0, 1, 2, 3});
    s.optionAlone = option && !shift && inSlots(slot, {0, 1, 2, 4, 5, 6, 7, 9});
    s.shiftOption = shift && option && (inSlots(slot, {2, 3}) || (slot >= 28 && slot <= 35));
    if (s.shiftOption && inSlots(slot, {2, 3, 28, 29, 30}))
        s.anchorsAllowed = false;
    return s;
}

std::int16_t cursorOverPath(const CursorSwitches& s, const CCHitData& hit, bool selected)
{
    const bool pressed = buttonDown;
    switch (hit.part) {
    case kCCHitOutPart:
    case kCCHitInPart:
        if (s.shiftOption)
            return pressed ? kCursorShiftOptionSegmentPressed : kCursorShiftOptionSegment;
        return s.handles ? kCursorOverSegment : kCursorPlain;
    case kCCHitCurvePart:
        if (s.optionAlone && selected)
            return kCursorOptionSelectedSegment;
        if (s.shiftOption)
            return pressed ? kCursorShiftOptionSegmentPressed : kCursorShiftOptionSegment;
        return kCursorOverSegment;
    case kCCHitAnchorPart:
        if (!s.anchorsAllowed)
            return kCursorPlain;
        if (s.optionAlone && selected)
            return kCursorOptionSelectedAnchor;
        if (s.shiftOption)
            return pressed ? kCursorShiftOptionAnchorPressed : kCursorShiftOptionAnchor;
        return kCursorOverAnchor;
    default:
        return kCursorPlain;
    }
}

std::int16_t cursorOverSnapPoint(const CCHitData& hit)
{
    if (!hit.hit)
        return kCursorPlain;
    if (hit.part == kCCHitCurvePart)
        return kCursorOverSegment;
    if (hit.part == kCCHitAnchorPart || hit.part == kCCHitCenterPart)
        return kCursorOverAnchor;
    return kCursorPlain;
}

} // namespace

CCErr OrvoCursor::apply() const
{
    CurvicraftGlobals* g = globals();
    if (!sUser || !g)
        return kCCSuiteNotFoundErr;
    return sUser->SetCursor(id_, g->cursorResources);
}

CCErr updateToolCursor(CCToolMessage* message)
{
    CurvicraftGlobals* g = globals();
    if (!message || !g)
        return kCCNoErr;
    const int slot = toolSlotOfHandle(message->tool);
    if (slot == kNoToolSlot)
        return kCCNoErr;
    const CursorSwitches switches = switchesFor(slot, message->modifiers);

    CCHitData hit{};
    if (const CCErr err = sHitTest->HitTest(nullptr, &message->cursor, kCCHitAll, &hit))
        return err;

    std::int16_t id = kCursorPlain;
    if (hit.hit) {
        std::int16_t type = kCCUnknownArt;
        if (const CCErr err = sArt->GetArtType(hit.art, &type))
            return err;
        if (type == kCCPathArt)
            id = cursorOverPath(switches, hit, artIsSelected(hit.art));
    } else {
        CCHitData snap{};
        if (const CCErr err = sHitTest->HitTest(nullptr, &message->cursor, kCCHitSnapPoints, &snap))
            return err;
        id = cursorOverSnapPoint(snap);
    }

    g->cursorId = id;
    return OrvoCursor(id).apply();
}

} // namespace curvicraft
