#include "ToolTable.h"

#include <array>

namespace curvicraft {

namespace {

constexpr ToolTableEntry kSeparator{"", 0, 0};

constexpr std::array<ToolTableEntry, kToolSlotCount> kToolTable{{
    {"Segment Direct Edit tool", 16053, 17053},
    {"Segment Edit tool", 16064, 17064},
    {"Symmetric Edit tool", 16080, 17080},
    {"Numeric Edit tool", 16081, 17081},
    {"Arc Edit tool", 16063, 17063},
    {"Horizontal Straightener tool", 16066, 17066},
    {"Vertical Straightener tool", 16067, 17067},
    {"Convert-to-Arc tool", 16051, 17051},
    {"Parallelogram Ovalization tool", 16052, 17052},
    {"Semi Ovalization tool", 16060, 17060},
    {"Stretch tool", 16065, 17065},
    kSeparator,
    {"Round Fillet tool", 16054, 17054},
    {"Reverse Round Fillet tool", 16075, 17075},
    {"Oval Fillet tool", 16050, 17050},
    {"Reverse Oval Fillet tool", 16076, 17076},
    {"Chamfer tool", 16058, 17058},
    {"L-Chamfer tool", 16056, 17056},
    {"Intersection tool", 16055, 17055},
    kSeparator,
    {"Multi-Line tool", 16059, 17059},
    {"Multi-Arc tool", 16057, 17057},
    {"Multi-Curve tool", 16068, 17068},
    {"Rotate Mirroring tool", 16078, 17078},
    {"Reflect Mirroring tool", 16077, 17077},
    {"Wallpaper tool", 16079, 17079},
    {"Unlock tool", 16074, 17074},
    kSeparator,
    {"Segment Duplication tool", 16061, 17061},
    {"Parallelization tool", 16062, 17062},
    {"Segment Insertion tool", 16082, 17082},
    {"Segment Angling tool", 16072, 17072},
    {"Segment Resizing tool", 16073, 17073},
    {"Path Insertion tool", 16071, 17071},
    {"Path Angling tool", 16069, 17069},
    {"Path Resizing tool", 16070, 17070},
}};

} // namespace

const ToolTableEntry* toolTableEntry(int slot)
{
    if (slot < 0 || slot >= kToolSlotCount)
        return nullptr;
    return &kToolTable[static_cast<std::size_t>(slot)];
}

bool isToolSlot(int slot)
{
    const ToolTableEntry* entry = toolTableEntry(slot);
    return entry && entry->title[0] != '\0';
}

int toolsetLeader(int slot)
{
    if (!isToolSlot(slot))
        return kNoToolSlot;
    if (slot >= kSegmentDuplicationSlot)
        return kSegmentDuplicationSlot;
    if (slot >= kMultiLineSlot)
        return kMultiLineSlot;
    if (slot >= kRoundFilletSlot)
        return kRoundFilletSlot;
    return kSegmentDirectEditSlot;
}

} // namespace curvicraft
