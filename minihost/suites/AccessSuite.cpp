// Locks of the plug-in in memory: each access reference counts as one lock until it is given back.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <algorithm>

namespace minihost::suites {

namespace {

CCErr AcquirePlugin(CCPluginRef plugin, CCAccessRef* access)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!access || !host->isPlugin(plugin))
        return kCCBadParameterErr;
    return guarded([&] {
        std::uintptr_t ref = host->newHandle();
        host->accessRefs.push_back(ref);
        *access = reinterpret_cast<CCAccessRef>(ref);
        return kCCNoErr;
    });
}

CCErr ReleasePlugin(CCAccessRef access)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    auto it = std::find(host->accessRefs.begin(), host->accessRefs.end(), reinterpret_cast<std::uintptr_t>(access));
    if (it == host->accessRefs.end())
        return kCCStaleHandleErr;
    host->accessRefs.erase(it);
    return kCCNoErr;
}

} // namespace

const CCAccessSuite& access()
{
    static const CCAccessSuite table{AcquirePlugin, ReleasePlugin};
    return table;
}

} // namespace minihost::suites
