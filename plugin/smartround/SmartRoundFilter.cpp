#include "SmartRoundFilter.h"

#include "SmartRound.h"
#include "geometry/Tolerances.h"
#include "host/ErrorAlert.h"
#include "host/Suites.h"

#include <cstring>

namespace curvicraft {

namespace {

constexpr double kDegree = kPi / 180;

// The host's selection list, disposed on every exit.
class SelectionList {
  public:
    ~SelectionList()
    {
        if (handle_)
            sMdMemory->DisposeHandle(handle_);
    }
    CCErr gather()
    {
        const CCMatchingArtSpec triples[2] = {{kCCPathArt, kCCArtSelected, kCCArtSelected},
                                            {kCCMysteryPathArt, kCCArtSelected, kCCArtSelected}};
        if (CCErr err = sMatchingArt->GetMatchingArt(triples, 2, &handle_, &count_))
            return err;
        if (count_ <= 0 || !handle_)
            return kCCNoSelectionErr;
        void* block = nullptr;
        if (CCErr err = sMdMemory->GetHandleBlock(handle_, &block))
            return err;
        art_ = static_cast<CCArtHandle*>(block);
        return kCCNoErr;
    }
    std::int32_t size() const { return count_; }
    CCArtHandle operator[](std::int32_t i) const { return art_[i]; }

  private:
    CCMemoryHandle handle_ = nullptr;
    std::int32_t count_ = 0;
    CCArtHandle* art_ = nullptr;
};

// The action's parameter block, disposed on every exit.
class ParamBlock {
  public:
    ~ParamBlock()
    {
        if (value_)
            sActionManager->DisposeParamValue(value_);
    }
    CCErr create() { return sActionManager->NewParamValue(&value_); }
    CCActionParamValueRef get() const { return value_; }

  private:
    CCActionParamValueRef value_ = nullptr;
};

} // namespace

void initialiseSmartRoundParams(SmartRoundParams& block)
{
    if (block.initialised)
        return;
    block.totsu_length = 5;
    block.ou_length = 2.5;
    block.effect_angle = 170 * kDegree;
    block.initialised = 1;
}

CCErr addSmartRoundFilters(CCPluginRef plugin, SmartRoundFilterState& state)
{
    const char* const names[2] = {kSmartRoundFilterName, kSmartRoundSelectedFilterName};
    const char* const titles[2] = {kSmartRoundFilterTitle, kSmartRoundSelectedFilterTitle};
    for (int i = 0; i < 2; ++i) {
        CCFilterHandle filter = nullptr;
        if (CCErr err = sFilter->AddFilter(plugin, names[i], kSmartRoundCategory, titles[i], 0, &filter))
            return err;
        state.filterHandles[i] = filter;
        CCMenuItemHandle item = nullptr;
        if (CCErr err = sFilter->GetFilterMenuItem(filter, &item))
            return err;
        if (CCErr err = sMenu->UpdateMenuItemAutomatically(item, 1, 0, 0, 2, 0, 0, 0))
            return err;
    }
    state.filterCount = 2;
    return kCCNoErr;
}

CCErr registerSmartRoundAction(CCPluginRef plugin)
{
    CCActionParamTypeRef type = nullptr;
    if (CCErr err = sActionManager->NewParamType(&type))
        return err;
    struct Entry {
        std::int32_t key;
        const char* label;
        std::int32_t valueType;
    };
    const Entry entries[4] = {
        {kKeySelectedOnly, "Selected Corners only: ", kCCActionTypeBool},
        {kKeyConvexLength, "Max. Length along Convex Angle: ", kCCActionTypeReal},
        {kKeyConcaveLength, "Max. Length along Concave Angle: ", kCCActionTypeReal},
        {kKeyEffectAngle, "Ignore Angles Above: ", kCCActionTypeReal},
    };
    CCErr err = kCCNoErr;
    for (const Entry& e : entries)
        if ((err = sActionManager->SetParamTypeKey(type, e.key, e.label, e.valueType, 1)) != kCCNoErr)
            break;
    if (err == kCCNoErr)
        err = sActionManager->RegisterAction(plugin, kSmartRoundActionName, "Selected Corners only: ", 1, 0, type);
    sActionManager->DisposeParamType(type);
    return err;
}

CCErr roundSelectedPaths(const SmartRoundParams& params)
{
    SelectionList list;
    if (CCErr err = list.gather())
        return err;
    // Every anchor count first: an unreadable object stops the command before anything changes.
    for (std::int32_t i = 0; i < list.size(); ++i) {
        std::int16_t count = 0;
        if (CCErr err = sPath->GetPathSegmentCount(list[i], &count))
            return err;
    }
    CCErr result = kCCNoErr;
    for (std::int32_t i = 0; i < list.size(); ++i) {
        CCErr err = roundPath(params, list[i]);
        if (err == kCCTooManySegmentsErr) {
            result = err;
            continue;
        }
        if (err != kCCNoErr)
            return err;
    }
    return result;
}

CCErr recordSmartRoundAction(const SmartRoundParams& params)
{
    CCBool32 recording = 0;
    if (CCErr err = sActionManager->InRecordMode(&recording))
        return err;
    if (!recording)
        return kCCNoErr;
    ParamBlock block;
    if (CCErr err = block.create())
        return err;
    CCActionParamValueRef v = block.get();
    if (CCErr err = sActionManager->SetBoolean(v, kKeySelectedOnly, params.selectedOnly ? 1 : 0))
        return err;
    if (CCErr err = sActionManager->SetUnitReal(v, kKeyConvexLength, kCCActionUnitPixels, params.totsu_length))
        return err;
    if (CCErr err = sActionManager->SetUnitReal(v, kKeyConcaveLength, kCCActionUnitPixels, params.ou_length))
        return err;
    if (CCErr err = sActionManager->SetUnitReal(v, kKeyEffectAngle, kCCActionUnitAngle, params.effect_angle / kDegree))
        return err;
    return sActionManager->RecordActionEvent(kSmartRoundActionName, 1, v);
}

CCErr smartRoundFilterGo(SmartRoundFilterState& state, const CCFilterMessage& message)
{
    const bool selected = message.filter != nullptr && message.filter == state.filterHandles[1];
    if (!selected && (message.filter == nullptr || message.filter != state.filterHandles[0]))
        return kCCNoErr;
    // Until the dialog asks for them, the filter runs with the values used last (first-use values at first).
    SmartRoundParams& block = state.filterBlock;
    initialiseSmartRoundParams(block);
    block.selectedOnly = selected ? 1 : 0;
    CCErr err = roundSelectedPaths(block);
    if (err == kCCNoErr)
        err = recordSmartRoundAction(block);
    if (err != kCCNoErr)
        showErrorAlert(err);
    return err;
}

CCErr smartRoundDoAction(SmartRoundFilterState& state, const CCDoActionMessage& message)
{
    if (!message.actionName || std::strcmp(message.actionName, kSmartRoundActionName) != 0)
        return kCCUnhandledMsgErr;
    CCBool32 selectedOnly = 0;
    std::int32_t unit = 0;
    double convex = 0, concave = 0, degrees = 0;
    if (CCErr err = sActionManager->GetBoolean(message.params, kKeySelectedOnly, &selectedOnly))
        return err;
    if (CCErr err = sActionManager->GetUnitReal(message.params, kKeyConvexLength, &unit, &convex))
        return err;
    if (CCErr err = sActionManager->GetUnitReal(message.params, kKeyConcaveLength, &unit, &concave))
        return err;
    if (CCErr err = sActionManager->GetUnitReal(message.params, kKeyEffectAngle, &unit, &degrees))
        return err;

    SmartRoundParams params;
    params.initialised = 1;
    params.selectedOnly = selectedOnly ? 1 : 0;
    params.totsu_length = convex;
    params.ou_length = concave;
    params.effect_angle = degrees * kDegree;
    if (message.showDialog) {
        // The dialog opens on these values (the parameter dialog is raised from here once it exists).
        SmartRoundParams& block = state.filterBlock;
        block.initialised = 1;
        block.selectedOnly = params.selectedOnly;
        block.totsu_length = convex;
        block.ou_length = concave;
        block.effect_angle = params.effect_angle;
        return kCCNoErr;
    }
    SelectionList list;
    if (CCErr err = list.gather())
        return err;
    for (std::int32_t i = 0; i < list.size(); ++i) {
        std::int16_t count = 0;
        if (CCErr err = sPath->GetPathSegmentCount(list[i], &count))
            return err;
    }
    for (std::int32_t i = 0; i < list.size(); ++i) {
        CCErr err = roundPath(params, list[i]);
        if (err != kCCNoErr && err != kCCTooManySegmentsErr)
            break;
    }
    return kCCNoErr;
}

} // namespace curvicraft
