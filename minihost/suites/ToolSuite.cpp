// The tool registry: tools with their titles, icons, palette group and toolset, tool numbers and the
// selected tool. Tool numbers start above the host's own tools; a tool opens a new group or toolset
// with kCCNewToolGroup, or joins those of an earlier tool by its number.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

namespace minihost::suites {

namespace {

// The host's own tools hold the numbers below this one.
constexpr std::int32_t kFirstPluginToolNumber = 100;

CCErr AddTool(CCPluginRef plugin, const char* name, const CCAddToolData* data, int32_t options, CCToolHandle* tool)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!host->isPlugin(plugin) || !name || !data || !data->title)
        return kCCBadParameterErr;
    return guarded([&] {
        Host::Impl::Tool t;
        t.number = kFirstPluginToolNumber + static_cast<std::int32_t>(host->tools.size());
        if (data->sameGroupAs == kCCNewToolGroup) {
            t.group = t.number;
        } else {
            const Host::Impl::Tool* other = host->findToolNumber(data->sameGroupAs);
            if (!other)
                return kCCBadParameterErr;
            t.group = other->group;
        }
        if (data->sameToolsetAs == kCCNewToolGroup) {
            t.toolset = t.number;
        } else {
            // A toolset lies inside one group.
            const Host::Impl::Tool* other = host->findToolNumber(data->sameToolsetAs);
            if (!other || other->group != t.group)
                return kCCBadParameterErr;
            t.toolset = other->toolset;
        }
        t.handle = host->newHandle();
        t.name = name;
        t.title = data->title;
        t.tooltip = data->tooltip ? data->tooltip : "";
        t.iconId = data->iconId;
        t.darkIconId = data->darkIconId;
        t.options = options;
        host->tools.push_back(std::move(t));
        if (tool)
            *tool = reinterpret_cast<CCToolHandle>(host->tools.back().handle);
        return kCCNoErr;
    });
}

CCErr GetToolNumberFromHandle(CCToolHandle tool, int32_t* number)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!number)
        return kCCBadParameterErr;
    const Host::Impl::Tool* t = host->findTool(tool);
    if (!t)
        return kCCStaleHandleErr;
    *number = t->number;
    return kCCNoErr;
}

CCErr GetToolHandleFromNumber(int32_t number, CCToolHandle* tool)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!tool)
        return kCCBadParameterErr;
    const Host::Impl::Tool* t = host->findToolNumber(number);
    if (!t)
        return kCCBadParameterErr;
    *tool = reinterpret_cast<CCToolHandle>(t->handle);
    return kCCNoErr;
}

CCErr GetSelectedTool(CCToolHandle* tool)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!tool)
        return kCCBadParameterErr;
    *tool = reinterpret_cast<CCToolHandle>(host->selectedTool);
    return kCCNoErr;
}

CCErr SetSelectedTool(CCToolHandle tool)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!host->findTool(tool))
        return kCCStaleHandleErr;
    if (host->selectedTool == reinterpret_cast<std::uintptr_t>(tool))
        return kCCNoErr;
    return Host::current()->selectTool(tool);
}

CCErr GetToolTitle(CCToolHandle tool, const char** title)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!title)
        return kCCBadParameterErr;
    const Host::Impl::Tool* t = host->findTool(tool);
    if (!t)
        return kCCStaleHandleErr;
    *title = t->title.c_str();
    return kCCNoErr;
}

CCErr GetToolOptions(CCToolHandle tool, int32_t* options)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!options)
        return kCCBadParameterErr;
    const Host::Impl::Tool* t = host->findTool(tool);
    if (!t)
        return kCCStaleHandleErr;
    *options = t->options;
    return kCCNoErr;
}

CCErr SetToolOptions(CCToolHandle tool, int32_t options)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    Host::Impl::Tool* t = host->findTool(tool);
    if (!t)
        return kCCStaleHandleErr;
    t->options = options;
    return kCCNoErr;
}

} // namespace

const CCToolSuite& tool()
{
    static const CCToolSuite table{AddTool,         GetToolNumberFromHandle, GetToolHandleFromNumber,
                                   GetSelectedTool, SetSelectedTool,         GetToolTitle,
                                   GetToolOptions,  SetToolOptions};
    return table;
}

} // namespace minihost::suites
