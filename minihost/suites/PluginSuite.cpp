// The name and option flags the plug-in gives the host.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

namespace minihost::suites {

namespace {

CCErr SetPluginName(CCPluginRef plugin, const char* name)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!name || !host->isPlugin(plugin))
        return kCCBadParameterErr;
    return guarded([&] {
        host->plugin.name = name;
        return kCCNoErr;
    });
}

CCErr GetPluginName(CCPluginRef plugin, const char** name)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!name || !host->isPlugin(plugin))
        return kCCBadParameterErr;
    *name = host->plugin.name.c_str();
    return kCCNoErr;
}

CCErr GetPluginOptions(CCPluginRef plugin, int32_t* options)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!options || !host->isPlugin(plugin))
        return kCCBadParameterErr;
    *options = host->plugin.options;
    return kCCNoErr;
}

CCErr SetPluginOptions(CCPluginRef plugin, int32_t options)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!host->isPlugin(plugin))
        return kCCBadParameterErr;
    host->plugin.options = options;
    return kCCNoErr;
}

} // namespace

const CCPluginSuite& plugin()
{
    static const CCPluginSuite table{SetPluginName, GetPluginName, GetPluginOptions, SetPluginOptions};
    return table;
}

} // namespace minihost::suites
