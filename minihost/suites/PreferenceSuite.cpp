// Preferences by prefix and key. With a preferences file (HostOptions::preferencesFile) they are read
// from it at first use and the whole set is written back at every change; without one they live as
// long as the host. A damaged file reads as empty, and is replaced at the next change.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

namespace minihost::suites {

namespace {

struct PreferenceState {
    std::uint64_t owner = 0; // the host generation the values belong to
    bool loaded = false;
    std::map<std::string, bool> values; // "prefix/key"
};

PreferenceState& state()
{
    static PreferenceState s;
    if (s.owner != hostGeneration()) {
        s = PreferenceState{};
        s.owner = hostGeneration();
    }
    return s;
}

const std::filesystem::path& file()
{
    return currentImpl()->options.preferencesFile;
}

void load(PreferenceState& s)
{
    if (s.loaded)
        return;
    s.loaded = true;
    if (file().empty())
        return;
    std::ifstream in(file());
    if (!in)
        return;
    nlohmann::json doc = nlohmann::json::parse(in, nullptr, false);
    if (!doc.is_object())
        return;
    for (auto it = doc.begin(); it != doc.end(); ++it)
        if (it.value().is_boolean())
            s.values[it.key()] = it.value().get<bool>();
}

CCErr save(const PreferenceState& s)
{
    if (file().empty())
        return kCCNoErr;
    nlohmann::json doc = nlohmann::json::object();
    for (const auto& [key, value] : s.values)
        doc[key] = value;
    std::ofstream out(file(), std::ios::trunc);
    out << doc.dump(2) << '\n';
    return out ? kCCNoErr : kCCCantErr;
}

CCErr GetBooleanPreference(const char* prefix, const char* key, CCBool32* value)
{
    if (!currentImpl())
        return kCCCantErr;
    if (!prefix || !key || !value)
        return kCCBadParameterErr;
    return guarded([&] {
        PreferenceState& s = state();
        load(s);
        auto it = s.values.find(std::string(prefix) + "/" + key);
        if (it != s.values.end())
            *value = it->second ? 1 : 0;
        return kCCNoErr;
    });
}

CCErr PutBooleanPreference(const char* prefix, const char* key, CCBool32 value)
{
    if (!currentImpl())
        return kCCCantErr;
    if (!prefix || !key)
        return kCCBadParameterErr;
    return guarded([&] {
        PreferenceState& s = state();
        load(s);
        s.values[std::string(prefix) + "/" + key] = value != 0;
        return save(s);
    });
}

} // namespace

const CCPreferenceSuite& preference()
{
    static const CCPreferenceSuite table{GetBooleanPreference, PutBooleanPreference};
    return table;
}

} // namespace minihost::suites
