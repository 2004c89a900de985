// Block memory: plain heap blocks, each tracked with its debug name and size so that leaks are
// reported and a free of something the host never handed out is refused rather than undefined.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <cstdlib>

namespace minihost::suites {

namespace {

CCErr AllocateBlock(size_t size, const char* debugName, void** block)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!block)
        return kCCBadParameterErr;
    if (size > kMaxAllocation)
        return kCCOutOfMemoryErr;
    return guarded([&] {
        void* p = std::malloc(size == 0 ? 1 : size);
        if (!p)
            return kCCOutOfMemoryErr;
        try {
            host->blocks[p] = Host::Impl::Block{debugName ? debugName : "", size, ++host->blockCounter};
        } catch (...) {
            std::free(p);
            throw;
        }
        *block = p;
        return kCCNoErr;
    });
}

CCErr FreeBlock(void* block)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!block)
        return kCCNoErr; // as free(NULL)
    auto it = host->blocks.find(block);
    if (it == host->blocks.end())
        return kCCBadParameterErr;
    host->blocks.erase(it);
    std::free(block);
    return kCCNoErr;
}

CCErr ReallocateBlock(void* block, size_t newSize, const char* debugName, void** newBlock)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!newBlock)
        return kCCBadParameterErr;
    if (!block)
        return AllocateBlock(newSize, debugName, newBlock);
    auto it = host->blocks.find(block);
    if (it == host->blocks.end())
        return kCCBadParameterErr;
    if (newSize > kMaxAllocation)
        return kCCOutOfMemoryErr;
    return guarded([&] {
        std::string name = debugName ? std::string(debugName) : it->second.debugName;
        // Take the entry out before the block moves; re-inserting a node handle allocates nothing.
        auto node = host->blocks.extract(it);
        void* p = std::realloc(block, newSize == 0 ? 1 : newSize);
        if (!p) {
            host->blocks.insert(std::move(node)); // the old block stays valid
            return kCCOutOfMemoryErr;
        }
        node.key() = p;
        node.mapped().size = newSize;
        node.mapped().debugName = std::move(name);
        host->blocks.insert(std::move(node));
        *newBlock = p;
        return kCCNoErr;
    });
}

} // namespace

const CCBlocksSuite& blocks()
{
    static const CCBlocksSuite table{AllocateBlock, FreeBlock, ReallocateBlock};
    return table;
}

} // namespace minihost::suites
