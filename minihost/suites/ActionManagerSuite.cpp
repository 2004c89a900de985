// The action manager: plug-ins register actions with typed parameters, record events while the user
// records, and get their events played back with "Action Manager" / "Do Action".
#include "Commands.h"
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace minihost::suites {

namespace {

struct ParamType {
    std::vector<RegisteredAction::Key> keys;
};

// Per-host state; reset whenever another host becomes current.
struct ActionState {
    const Host* owner = nullptr;
    bool recording = false;
    std::vector<RegisteredAction> actions;
    std::vector<ActionEvent> recorded;
    std::vector<std::unique_ptr<ParamType>> types;
    std::vector<std::unique_ptr<ActionParams>> values;
};

ActionState& state()
{
    static ActionState s;
    if (s.owner != Host::current()) {
        s = ActionState{};
        s.owner = Host::current();
    }
    return s;
}

// A handle is live while the host keeps the record it points to.
template <class T> T* find(std::vector<std::unique_ptr<T>>& list, const void* handle)
{
    for (auto& p : list)
        if (p.get() == handle)
            return p.get();
    return nullptr;
}

template <class T> bool drop(std::vector<std::unique_ptr<T>>& list, const void* handle)
{
    return std::erase_if(list, [&](const auto& p) { return p.get() == handle; }) > 0;
}

CCErr NewParamType(CCActionParamTypeRef* type)
{
    if (!Host::current())
        return kCCCantErr;
    if (!type)
        return kCCBadParameterErr;
    return guarded([&] {
        state().types.push_back(std::make_unique<ParamType>());
        *type = reinterpret_cast<CCActionParamTypeRef>(state().types.back().get());
        return kCCNoErr;
    });
}

CCErr DisposeParamType(CCActionParamTypeRef type)
{
    return drop(state().types, type) ? kCCNoErr : kCCStaleHandleErr;
}

CCErr SetParamTypeKey(CCActionParamTypeRef type, int32_t key, const char* label, int32_t valueType, CCBool32 shown)
{
    ParamType* t = find(state().types, type);
    if (!t)
        return kCCStaleHandleErr;
    if (!label || (valueType != kCCActionTypeBool && valueType != kCCActionTypeReal))
        return kCCBadParameterErr;
    return guarded([&] {
        std::erase_if(t->keys, [&](const auto& k) { return k.key == key; });
        t->keys.push_back({key, label, valueType, shown != 0});
        return kCCNoErr;
    });
}

CCErr RegisterAction(CCPluginRef plugin, const char* name, const char* displayText, int32_t version, int32_t,
                     CCActionParamTypeRef type)
{
    Host::Impl* impl = currentImpl();
    if (!impl)
        return kCCCantErr;
    ParamType* t = find(state().types, type);
    if (!impl->isPlugin(plugin) || !name || !*name || !displayText || (type && !t))
        return kCCBadParameterErr;
    return guarded([&] {
        auto& actions = state().actions;
        std::erase_if(actions, [&](const auto& a) { return a.name == name; });
        actions.push_back(
            RegisteredAction{name, displayText, version, t ? t->keys : std::vector<RegisteredAction::Key>{}});
        return kCCNoErr;
    });
}

CCErr InRecordMode(CCBool32* recording)
{
    if (!recording)
        return kCCBadParameterErr;
    *recording = state().recording ? 1 : 0;
    return kCCNoErr;
}

CCErr NewParamValue(CCActionParamValueRef* value)
{
    if (!Host::current())
        return kCCCantErr;
    if (!value)
        return kCCBadParameterErr;
    return guarded([&] {
        state().values.push_back(std::make_unique<ActionParams>());
        *value = reinterpret_cast<CCActionParamValueRef>(state().values.back().get());
        return kCCNoErr;
    });
}

CCErr DisposeParamValue(CCActionParamValueRef value)
{
    return drop(state().values, value) ? kCCNoErr : kCCStaleHandleErr;
}

CCErr lookupValue(CCActionParamValueRef value, int32_t key, int32_t type, const ActionValue*& out)
{
    ActionParams* p = find(state().values, value);
    if (!p)
        return kCCStaleHandleErr;
    auto it = p->find(key);
    if (it == p->end())
        return kCCActionKeyNotFoundErr;
    if (it->second.type != type)
        return kCCBadParameterErr;
    out = &it->second;
    return kCCNoErr;
}

CCErr GetBoolean(CCActionParamValueRef value, int32_t key, CCBool32* result)
{
    const ActionValue* v = nullptr;
    if (!result)
        return kCCBadParameterErr;
    if (CCErr err = lookupValue(value, key, kCCActionTypeBool, v))
        return err;
    *result = v->flag ? 1 : 0;
    return kCCNoErr;
}

CCErr SetBoolean(CCActionParamValueRef value, int32_t key, CCBool32 flag)
{
    ActionParams* p = find(state().values, value);
    if (!p)
        return kCCStaleHandleErr;
    return guarded([&] {
        (*p)[key] = ActionValue{kCCActionTypeBool, 0, flag != 0, 0};
        return kCCNoErr;
    });
}

CCErr GetUnitReal(CCActionParamValueRef value, int32_t key, int32_t* unit, double* result)
{
    const ActionValue* v = nullptr;
    if (!unit || !result)
        return kCCBadParameterErr;
    if (CCErr err = lookupValue(value, key, kCCActionTypeReal, v))
        return err;
    *unit = v->unit;
    *result = v->number;
    return kCCNoErr;
}

CCErr SetUnitReal(CCActionParamValueRef value, int32_t key, int32_t unit, double number)
{
    ActionParams* p = find(state().values, value);
    if (!p)
        return kCCStaleHandleErr;
    if (!std::isfinite(number))
        return kCCBadParameterErr;
    return guarded([&] {
        (*p)[key] = ActionValue{kCCActionTypeReal, unit, false, number};
        return kCCNoErr;
    });
}

CCErr RecordActionEvent(const char* name, int32_t dialogMode, CCActionParamValueRef value)
{
    ActionParams* p = find(state().values, value);
    if (!name || (value && !p))
        return kCCBadParameterErr;
    if (!state().recording)
        return kCCNoErr;
    return guarded([&] {
        state().recorded.push_back(ActionEvent{name, dialogMode, p ? *p : ActionParams{}});
        return kCCNoErr;
    });
}

} // namespace

const CCActionManagerSuite& actionManager()
{
    static const CCActionManagerSuite table{
        NewParamType,      DisposeParamType, SetParamTypeKey, RegisterAction, InRecordMode, NewParamValue,
        DisposeParamValue, GetBoolean,       SetBoolean,      GetUnitReal,    SetUnitReal,  RecordActionEvent,
    };
    return table;
}

} // namespace minihost::suites

namespace minihost {

void setActionRecording(bool recording)
{
    suites::state().recording = recording;
}

std::vector<ActionEvent> recordedActions()
{
    return suites::state().recorded;
}

std::vector<RegisteredAction> registeredActions()
{
    return suites::state().actions;
}

CCErr playAction(Host& host, const std::string& name, const ActionParams& params, bool showDialog)
{
    auto& s = suites::state();
    bool known = false;
    for (const auto& a : s.actions)
        known = known || a.name == name;
    if (!known)
        return kCCBadParameterErr;
    s.values.push_back(std::make_unique<ActionParams>(params));
    ActionParams* block = s.values.back().get();
    CCDoActionMessage message{};
    message.actionName = name.c_str();
    message.showDialog = showDialog ? 1 : 0;
    message.params = reinterpret_cast<CCActionParamValueRef>(block);
    const CCErr err = host.send(kCCActionCaller, kCCDoActionSelector, &message);
    std::erase_if(suites::state().values, [&](const auto& p) { return p.get() == block; });
    return err;
}

} // namespace minihost
