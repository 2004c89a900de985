// Filter commands and their menu items, and the menu commands that deliver them to the plug-in.
// A filter command sits under its category in the host's filter menu; choosing it asks the plug-in for
// its parameters ("AI Get Parameters") and then runs it ("AI Go"); repeating the last filter runs it
// again with the parameters it kept.
#include "Commands.h"
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <string>
#include <vector>

namespace minihost::suites {

namespace {

struct FilterRecord {
    std::uintptr_t handle = 0;
    std::uintptr_t menuItem = 0;
    FilterCommand command;
    std::int32_t autoAction = 0; // automatic enabling, kept as given (every filter command stays enabled)
    std::int32_t criteria[6] = {};
};

// Per-host state; reset whenever another host becomes current.
struct FilterState {
    const Host* owner = nullptr;
    std::vector<FilterRecord> filters;
    std::uintptr_t lastFilter = 0;
    std::uintptr_t nextHandle = 0x50000;
};

FilterState& state()
{
    static FilterState s;
    if (s.owner != Host::current()) {
        s = FilterState{};
        s.owner = Host::current();
    }
    return s;
}

FilterRecord* findFilter(CCFilterHandle h)
{
    for (FilterRecord& f : state().filters)
        if (f.handle == reinterpret_cast<std::uintptr_t>(h))
            return &f;
    return nullptr;
}

FilterRecord* findItem(CCMenuItemHandle h)
{
    for (FilterRecord& f : state().filters)
        if (f.menuItem == reinterpret_cast<std::uintptr_t>(h))
            return &f;
    return nullptr;
}

CCErr AddFilter(CCPluginRef plugin, const char* name, const char* category, const char* title, int32_t options,
                CCFilterHandle* filter)
{
    Host::Impl* impl = currentImpl();
    if (!impl)
        return kCCCantErr;
    if (!impl->isPlugin(plugin) || !name || !category || !title || !filter || !*name || !*title)
        return kCCBadParameterErr;
    return guarded([&] {
        FilterState& s = state();
        // A plug-in that starts again adds its filters again: the new one replaces the old.
        std::erase_if(s.filters, [&](const FilterRecord& f) { return f.command.name == name; });
        FilterRecord f;
        f.handle = s.nextHandle += 16;
        f.menuItem = s.nextHandle += 16;
        f.command = FilterCommand{name, category, title, options};
        s.filters.push_back(f);
        *filter = reinterpret_cast<CCFilterHandle>(f.handle);
        return kCCNoErr;
    });
}

CCErr GetFilterName(CCFilterHandle filter, const char** name)
{
    FilterRecord* f = findFilter(filter);
    if (!f)
        return kCCStaleHandleErr;
    if (!name)
        return kCCBadParameterErr;
    *name = f->command.name.c_str();
    return kCCNoErr;
}

CCErr GetFilterMenuItem(CCFilterHandle filter, CCMenuItemHandle* item)
{
    FilterRecord* f = findFilter(filter);
    if (!f)
        return kCCStaleHandleErr;
    if (!item)
        return kCCBadParameterErr;
    *item = reinterpret_cast<CCMenuItemHandle>(f->menuItem);
    return kCCNoErr;
}

CCErr UpdateMenuItemAutomatically(CCMenuItemHandle item, int32_t action, int32_t c1, int32_t c2, int32_t c3, int32_t c4,
                                  int32_t c5, int32_t c6)
{
    FilterRecord* f = findItem(item);
    if (!f)
        return kCCStaleHandleErr;
    f->autoAction = action;
    const int32_t c[6] = {c1, c2, c3, c4, c5, c6};
    for (int i = 0; i < 6; ++i)
        f->criteria[i] = c[i];
    return kCCNoErr;
}

CCErr GetMenuItemTitle(CCMenuItemHandle item, const char** title)
{
    FilterRecord* f = findItem(item);
    if (!f)
        return kCCStaleHandleErr;
    if (!title)
        return kCCBadParameterErr;
    *title = f->command.title.c_str();
    return kCCNoErr;
}

CCErr sendFilter(Host& host, std::uintptr_t handle, const char* selector)
{
    CCFilterMessage message{};
    message.filter = reinterpret_cast<CCFilterHandle>(handle);
    return host.send(kCCFilterCaller, selector, &message);
}

} // namespace

const CCFilterSuite& filter()
{
    static const CCFilterSuite table{AddFilter, GetFilterName, GetFilterMenuItem};
    return table;
}

const CCMenuSuite& menu()
{
    static const CCMenuSuite table{UpdateMenuItemAutomatically, GetMenuItemTitle};
    return table;
}

} // namespace minihost::suites

namespace minihost {

bool chooseMenuCommand(Host& host, const std::string& title)
{
    std::uintptr_t handle = 0;
    for (const auto& f : suites::state().filters)
        if (f.command.title == title)
            handle = f.handle;
    if (handle == 0)
        return false;
    suites::state().lastFilter = handle;
    // A filter whose parameters were refused (the user cancelled) does not run.
    if (suites::sendFilter(host, handle, kCCGetParametersSelector) == kCCNoErr)
        suites::sendFilter(host, handle, kCCGoSelector);
    return true;
}

bool repeatLastFilter(Host& host)
{
    const std::uintptr_t handle = suites::state().lastFilter;
    if (handle == 0 || !suites::findFilter(reinterpret_cast<CCFilterHandle>(handle)))
        return false;
    suites::sendFilter(host, handle, kCCGoSelector);
    return true;
}

std::vector<FilterCommand> filterCommands()
{
    std::vector<FilterCommand> out;
    for (const auto& f : suites::state().filters)
        out.push_back(f.command);
    return out;
}

} // namespace minihost
