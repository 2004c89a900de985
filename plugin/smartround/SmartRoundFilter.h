// Smart Rounding as the host's commands: the two filter commands, the recorded action and its playback,
// all rounding the selected paths with one parameter block.
#pragma once

#include "cc_messages.h"
#include "cc_suites.h"
#include "tools/framework/ToolSettings.h"

namespace curvicraft {

inline constexpr const char* kSmartRoundCategory = "Curvicraft";
inline constexpr const char* kSmartRoundFilterName = "Orvo Smart Rounding Filter";
inline constexpr const char* kSmartRoundFilterTitle = "Smart Rounding...";
inline constexpr const char* kSmartRoundSelectedFilterName = "Orvo Smart Rounding Filter Selected Corners";
inline constexpr const char* kSmartRoundSelectedFilterTitle = "Smart Rounding (Selected Corners)...";
inline constexpr const char* kSmartRoundActionName = "Orvo_SmartRound_Action";

// Keys of the action's parameter block.
inline constexpr std::int32_t kKeySelectedOnly = CC_FOURCC('s', 'e', 'l', 'P');
inline constexpr std::int32_t kKeyConvexLength = CC_FOURCC('n', 'L', 'e', 'n');
inline constexpr std::int32_t kKeyConcaveLength = CC_FOURCC('u', 'L', 'e', 'n');
inline constexpr std::int32_t kKeyEffectAngle = CC_FOURCC('e', 'A', 'g', 'l');

// The filter handles and the filter's parameter block, from start-up to shut-down.
struct SmartRoundFilterState {
    CCFilterHandle filterHandles[2] = {}; // all corners, selected corners
    std::int32_t filterCount = 0;
    SmartRoundParams filterBlock{};
};

// Gives a block its first-use values (5, 2.5 and 170 degrees) unless it has been initialised.
void initialiseSmartRoundParams(SmartRoundParams& block);

// Adds the two filter commands under "Curvicraft", with the host enabling their menu items.
CCErr addSmartRoundFilters(CCPluginRef plugin, SmartRoundFilterState& state);
// Registers "Orvo_SmartRound_Action" with its four parameters.
CCErr registerSmartRoundAction(CCPluginRef plugin);

// Rounds every selected path (types 2 and 8 with the selected attribute) in document order. '!sel' when
// there is none; a failure to read an anchor count ends before anything changes; 'SEGM' does not stop
// the walk, any other failure does.
CCErr roundSelectedPaths(const SmartRoundParams& params);

// Records the action with the block's values while the host records actions; otherwise nothing.
CCErr recordSmartRoundAction(const SmartRoundParams& params);

// "AI Filter" / "AI Go" for one of the two filters: rounds the selection with the filter block, shows a
// failure in the alert, and records the action after a success. Other filters are not ours: 0.
CCErr smartRoundFilterGo(SmartRoundFilterState& state, const CCFilterMessage& message);

// "Action Manager" / "Do Action" for "Orvo_SmartRound_Action": reads the four values, and rounds the
// selection with them, or (when the playback asks for the dialog) keeps them in the filter block for it.
CCErr smartRoundDoAction(SmartRoundFilterState& state, const CCDoActionMessage& message);

} // namespace curvicraft
