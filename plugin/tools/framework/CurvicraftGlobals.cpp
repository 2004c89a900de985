#include "CurvicraftGlobals.h"

#include "host/Suites.h"

#include <new>
#include <type_traits>

namespace curvicraft {

namespace {

CurvicraftGlobals* sGlobals = nullptr;

} // namespace

// The record lives in host memory and is given back without running a destructor of the plug-in's
// code: it must stay a plain record.
static_assert(std::is_trivially_destructible_v<CurvicraftGlobals>);

CurvicraftGlobals* globals()
{
    return sGlobals;
}

void setGlobals(CurvicraftGlobals* record)
{
    sGlobals = record;
}

CCErr allocateGlobals(CurvicraftGlobals** record)
{
    *record = nullptr;
    if (!sBlocks)
        return kCCSuiteNotFoundErr;
    void* block = nullptr;
    if (const CCErr err = sBlocks->AllocateBlock(sizeof(CurvicraftGlobals), "CurvicraftGlobals", &block))
        return err;
    if (!block)
        return kCCOutOfMemoryErr;
    *record = ::new (block) CurvicraftGlobals{};
    return kCCNoErr;
}

CCErr freeGlobals(CurvicraftGlobals* record)
{
    if (!record)
        return kCCNoErr;
    if (sGlobals == record)
        sGlobals = nullptr;
    record->~CurvicraftGlobals();
    return sBlocks ? sBlocks->FreeBlock(record) : kCCSuiteNotFoundErr;
}

} // namespace curvicraft
