// The plug-in's tool palette: 36 slots in four toolsets, separated by the empty slots 11, 19 and 27.
// A tool is named by its slot everywhere in the plug-in; the host knows it by the handle it gave back
// at registration (CurvicraftGlobals::toolHandles).
#pragma once

#include "tools/framework/CurvicraftGlobals.h"

#include <cstdint>

namespace curvicraft {

// Slots the framework treats specially.
enum ToolSlot : int {
    kSegmentDirectEditSlot = 0,
    kSegmentEditSlot = 1,
    kSymmetricEditSlot = 2,
    kNumericEditSlot = 3,
    kArcEditSlot = 4,
    kHorizontalStraightenerSlot = 5,
    kVerticalStraightenerSlot = 6,
    kConvertToArcSlot = 7,
    kParallelogramOvalizationSlot = 8,
    kSemiOvalizationSlot = 9,
    kStretchSlot = 10,
    kRoundFilletSlot = 12,
    kReverseRoundFilletSlot = 13,
    kIntersectionSlot = 18,
    kMultiLineSlot = 20,
    kMultiArcSlot = 21,
    kMultiCurveSlot = 22,
    kUnlockSlot = 26,
    kSegmentDuplicationSlot = 28,
    kParallelizationSlot = 29,
    kSegmentInsertionSlot = 30,
    kPathResizingSlot = 35,
};

inline constexpr int kNoToolSlot = -1;
inline constexpr int kRegisteredToolCount = 33;

struct ToolTableEntry {
    const char* title; // also the tooltip; empty for a separator
    std::int32_t iconId;
    std::int32_t darkIconId;
};

// The entry of a slot; a separator's has an empty title and no icons. Out of range: null.
const ToolTableEntry* toolTableEntry(int slot);

// Whether slot names a tool (0-35 and not a separator).
bool isToolSlot(int slot);

// The first slot of the toolset that holds slot (0, 12, 20 or 28), or kNoToolSlot for a non-tool.
int toolsetLeader(int slot);

} // namespace curvicraft
