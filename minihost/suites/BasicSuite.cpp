// The root suite: every other suite is acquired and released through it by exact name and version.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <cstring>

namespace minihost::suites {

namespace {

CCErr AcquireSuite(const char* name, int32_t version, const void** suite)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!name || !suite)
        return kCCBadParameterErr;
    Host::Impl::SuiteRecord* record = host->findSuite(name, version);
    if (!record)
        return kCCSuiteNotFoundErr;
    if (auto refused = host->refusedSuites.find(name); refused != host->refusedSuites.end())
        return refused->second;
    ++record->acquired;
    *suite = record->table;
    return kCCNoErr;
}

CCErr ReleaseSuite(const char* name, int32_t version)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    Host::Impl::SuiteRecord* record = host->findSuite(name, version);
    if (!record)
        return kCCSuiteNotFoundErr;
    if (record->acquired == 0)
        return kCCBadParameterErr; // released more often than acquired
    --record->acquired;
    return kCCNoErr;
}

CCBool32 IsEqual(const char* a, const char* b)
{
    if (!a || !b)
        return a == b;
    return std::strcmp(a, b) == 0;
}

} // namespace

const CCBasicSuite& basic()
{
    static const CCBasicSuite table{AcquireSuite, ReleaseSuite, IsEqual};
    return table;
}

} // namespace minihost::suites
