// The plug-in's own class: the operations Curvicraft serves on top of the base routing.
#pragma once

#include "Plugin.h"
#include "smartround/SmartRoundFilter.h"

namespace curvicraft {

class CurvicraftPlugin : public Plugin {
public:
    explicit CurvicraftPlugin(CCPluginRef pluginRef) noexcept;
    explicit CurvicraftPlugin(const RebindSnapshot& old) noexcept;
    ~CurvicraftPlugin() override;

    // The one object between start-up and shut-down (null outside, and between Unload and Reload).
    static CurvicraftPlugin* instance() noexcept;

    CCErr handleStartup(CCPluginMessage* message) override;
    CCErr handleShutdown(CCPluginMessage* message) override;
    CCErr dispatchMessage(const char* caller, const char* selector, void* message) override;
    void setInstance(Plugin* plugin) override;

    // Served by the application layer and the tool framework; until they are in place these give
    // the base's answer.
    CCErr handlePostStartup() override;
    CCErr handleNotify(CCNotifierMessage* message) override;
    CCErr handleDoAction(void* message) override;
    CCErr handleFilterParameters(void* message) override;
    CCErr handleFilterGo(void* message) override;
    CCErr handleEffectEditParameters(void* message) override;
    CCErr handleEffectGoLive(void* message) override;
    CCErr handleEffectInterpolate(void* message) override;
    CCErr handleEffectInputType(void* message) override;
    CCErr handleEffectMerge(void* message) override;
    CCErr handleToolOptions(CCToolMessage* message) override;
    CCErr handleToolTrackCursor(CCToolMessage* message) override;
    CCErr handleToolMouseDown(CCToolMessage* message) override;
    CCErr handleToolMouseDrag(CCToolMessage* message) override;
    CCErr handleToolMouseUp(CCToolMessage* message) override;
    CCErr handleToolSelect(CCToolMessage* message) override;
    CCErr handleToolDeselect(CCToolMessage* message) override;

    // Smart Rounding's filters and action (bodies in CurvicraftPluginFilters.cpp).
    const SmartRoundFilterState& smartRoundState() const { return smartRound_; }

private:
    CCErr startupSmartRound();

    SmartRoundFilterState smartRound_{};
    CCBool32 parametersShown_ = 0; // the filter's parameters were just asked for
};

} // namespace curvicraft
