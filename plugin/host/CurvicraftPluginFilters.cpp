// CurvicraftPlugin's Smart Rounding commands: registration at start-up, the filter messages and the
// action playback.
#include "CurvicraftPlugin.h"

#include "AIError.h"

namespace curvicraft {

CCErr CurvicraftPlugin::startupSmartRound()
{
    smartRound_ = SmartRoundFilterState{};
    if (CCErr err = addSmartRoundFilters(pluginRef(), smartRound_))
        return err;
    return registerSmartRoundAction(pluginRef());
}

// The parameter dialog comes with the panels; until then the filter takes the values used last, so
// asking for the parameters shows nothing.
CCErr CurvicraftPlugin::handleFilterParameters(void*)
{
    return kCCNoErr;
}

CCErr CurvicraftPlugin::handleFilterGo(void* message)
{
    if (parametersShown_) {
        // The dialog already carried the filter out.
        parametersShown_ = 0;
        return kCCNoErr;
    }
    const auto* m = static_cast<const CCFilterMessage*>(message);
    if (!m)
        return kCCBadParameterErr;
    try {
        return smartRoundFilterGo(smartRound_, *m);
    } catch (const ai::Error& e) {
        return e.code();
    }
}

CCErr CurvicraftPlugin::handleDoAction(void* message)
{
    const auto* m = static_cast<const CCDoActionMessage*>(message);
    if (!m)
        return kCCBadParameterErr;
    return smartRoundDoAction(smartRound_, *m);
}

} // namespace curvicraft
