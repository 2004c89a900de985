// Helpers shared by the suite implementations.
#pragma once

#include "HostImpl_p.h"

#include <new>

namespace minihost::suites {

// Runs a suite body and turns an escaping exception into a status: nothing may cross the C boundary.
template <class Body>
CCErr guarded(Body&& body) noexcept
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
