// Whether an extension of the host's extension framework is loaded.
#include "ExtensionFramework.h"
#include "SuiteSupport_p.h"
#include "Suites_p.h"

namespace minihost::suites {

namespace {

CCErr GetExtensionState(const char* extensionId, int32_t* state)
{
    Host* host = Host::current();
    if (!host)
        return kCCCantErr;
    if (!extensionId || !state)
        return kCCBadParameterErr;
    return guarded([&] {
        *state = host->extensions().state(extensionId);
        return kCCNoErr;
    });
}

} // namespace

const CCCSXSExtensionSuite& csxsExtension()
{
    static const CCCSXSExtensionSuite table{GetExtensionState};
    return table;
}

} // namespace minihost::suites
