// Application contexts pushed around plug-in work; they nest and must be popped innermost first.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

namespace minihost::suites {

namespace {

CCErr PushAppContext(CCPluginRef plugin, CCAppContext* context)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!context || !host->isPlugin(plugin))
        return kCCBadParameterErr;
    return guarded([&] {
        std::uintptr_t handle = host->newHandle();
        host->contexts.push_back(handle);
        *context = reinterpret_cast<CCAppContext>(handle);
        return kCCNoErr;
    });
}

CCErr PopAppContext(CCAppContext context)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (host->contexts.empty() || host->contexts.back() != reinterpret_cast<std::uintptr_t>(context))
        return kCCBadParameterErr;
    host->contexts.pop_back();
    return kCCNoErr;
}

} // namespace

const CCContextSuite& context()
{
    static const CCContextSuite table{PushAppContext, PopAppContext};
    return table;
}

} // namespace minihost::suites
