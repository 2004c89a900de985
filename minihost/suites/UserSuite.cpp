// User alerts; minihost shows them as "alert TEXT" lines.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

namespace minihost::suites {

namespace {

CCErr ErrorAlert(const char* text)
{
    if (!Host::current())
        return kCCCantErr;
    if (!text)
        return kCCBadParameterErr;
    return guarded([&] {
        Host::current()->emit("alert", text);
        return kCCNoErr;
    });
}

} // namespace

const CCUserSuite& user()
{
    static const CCUserSuite table{ErrorAlert};
    return table;
}

} // namespace minihost::suites
