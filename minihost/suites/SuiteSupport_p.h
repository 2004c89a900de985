// Helpers shared by the suite implementations.
#pragma once

#include "HostImpl_p.h"

#include <new>

namespace minihost::suites {

// Larger requests are refused as out of memory without asking the allocator, which may abort on them.
inline constexpr std::size_t kMaxAllocation = std::size_t(1) << 39;

// Runs a suite body and turns an escaping exception into a status: nothing may cross the C boundary.
template <class Body> CCErr guarded(Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return kCCOutOfMemoryErr;
    } catch (...) {
        return kCCCantErr;
    }
}

} // namespace minihost::suites

namespace minihost::suites {

// Finds the object a handle names in the current document.
inline CCErr lookupArt(CCArtHandle handle, Document*& doc, const Art*& art)
{
    doc = currentDocument();
    if (!doc)
        return kCCNoDocumentErr;
    art = doc->get(fromHandle(handle));
    return art ? kCCNoErr : kCCStaleHandleErr;
}

// As lookupArt, and the object must be a path.
inline CCErr lookupPath(CCArtHandle handle, Document*& doc, const Art*& art)
{
    CCErr err = lookupArt(handle, doc, art);
    if (err == kCCNoErr && art->type != kCCPathArt)
        return kCCBadParameterErr;
    return err;
}

inline CCErr lookupLayer(CCLayerHandle handle, Document*& doc, const Layer*& layer)
{
    doc = currentDocument();
    if (!doc)
        return kCCNoDocumentErr;
    layer = doc->layer(fromLayerHandle(handle));
    return layer ? kCCNoErr : kCCStaleHandleErr;
}

} // namespace minihost::suites
