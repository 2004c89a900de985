// What the host knows of a loaded plug-in: the name of its property list and its library file.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

namespace minihost::suites {

namespace {

CCErr GetPluginName(CCPluginRef plugin, const char** name)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!name || !host->isPlugin(plugin))
        return kCCBadParameterErr;
    *name = host->plugin.listedName.c_str();
    return kCCNoErr;
}

CCErr GetPluginFilePath(CCPluginRef plugin, const char** path)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!path || !host->isPlugin(plugin))
        return kCCBadParameterErr;
    *path = host->plugin.libraryPath.c_str();
    return kCCNoErr;
}

} // namespace

const CCPluginsSuite& plugins()
{
    static const CCPluginsSuite table{GetPluginName, GetPluginFilePath};
    return table;
}

} // namespace minihost::suites
