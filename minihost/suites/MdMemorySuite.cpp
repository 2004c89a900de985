// Relocatable memory handles, as the matching-art lists are returned in. A handle is looked up by its
// value, so a disposed (or never issued) handle is an error rather than a use after free.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <cstdlib>

namespace minihost::suites {

namespace {

CCErr NewHandle(size_t size, CCMemoryHandle* handle)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!handle)
        return kCCBadParameterErr;
    if (size > kMaxAllocation)
        return kCCOutOfMemoryErr;
    return guarded([&] {
        void* data = std::calloc(size == 0 ? 1 : size, 1);
        if (!data)
            return kCCOutOfMemoryErr;
        std::uintptr_t value = host->newHandle();
        try {
            host->memory.emplace(value, Host::Impl::Memory{data, size});
        } catch (...) {
            std::free(data);
            throw;
        }
        *handle = reinterpret_cast<CCMemoryHandle>(value);
        return kCCNoErr;
    });
}

Host::Impl::Memory* find(Host::Impl& host, CCMemoryHandle handle)
{
    auto it = host.memory.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == host.memory.end() ? nullptr : &it->second;
}

CCErr DisposeHandle(CCMemoryHandle handle)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    auto it = host->memory.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == host->memory.end())
        return kCCStaleHandleErr;
    std::free(it->second.data);
    host->memory.erase(it);
    return kCCNoErr;
}

CCErr GetHandleSize(CCMemoryHandle handle, size_t* size)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!size)
        return kCCBadParameterErr;
    Host::Impl::Memory* m = find(*host, handle);
    if (!m)
        return kCCStaleHandleErr;
    *size = m->size;
    return kCCNoErr;
}

CCErr GetHandleBlock(CCMemoryHandle handle, void** block)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!block)
        return kCCBadParameterErr;
    Host::Impl::Memory* m = find(*host, handle);
    if (!m)
        return kCCStaleHandleErr;
    *block = m->data;
    return kCCNoErr;
}

} // namespace

const CCMdMemorySuite& mdMemory()
{
    static const CCMdMemorySuite table{NewHandle, DisposeHandle, GetHandleSize, GetHandleBlock};
    return table;
}

} // namespace minihost::suites
