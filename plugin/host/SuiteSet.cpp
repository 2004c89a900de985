#include "SuiteSet.h"

#include <new>

namespace curvicraft {

namespace {

std::uint16_t sAcquisitions = 0;

// The rows after the main table's terminator, or null when it carries no optional marker.
SuiteEntry* optionalRows() noexcept
{
    SuiteEntry* row = gMainSuites;
    while (row->name)
        ++row;
    return row->version == kOptionalSuitesMarker ? row + 1 : nullptr;
}

std::uint16_t countRows(const SuiteEntry* table) noexcept
{
    std::uint16_t count = 0;
    for (; table && table->name; ++table)
        ++count;
    return count;
}

CCErr acquireRow(SuiteEntry& row) noexcept
{
    if (!sBasic)
        return kCCSuiteNotFoundErr;
    const void* suite = nullptr;
    const CCErr err = sBasic->AcquireSuite(row.name, row.version, &suite);
    if (err == kCCNoErr)
        *row.pointer = suite;
    return err;
}

CCErr releaseRow(SuiteEntry& row) noexcept
{
    *row.pointer = nullptr;
    return sBasic ? sBasic->ReleaseSuite(row.name, row.version) : kCCSuiteNotFoundErr;
}

// Releases, in table order, the rows before `end` that this process holds.
void releaseRowsBefore(SuiteEntry* table, const SuiteEntry* end) noexcept
{
    for (SuiteEntry* row = table; row != end; ++row)
        if (row->pointer && *row->pointer)
            releaseRow(*row);
}

} // namespace

CCErr acquireSuiteRows(SuiteEntry* table) noexcept
{
    for (SuiteEntry* row = table; row->name; ++row) {
        if (!row->pointer)
            continue;
        if (const CCErr err = acquireRow(*row); err != kCCNoErr) {
            releaseRowsBefore(table, row);
            return err;
        }
    }
    return kCCNoErr;
}

CCErr releaseSuiteRows(SuiteEntry* table) noexcept
{
    CCErr first = kCCNoErr;
    for (SuiteEntry* row = table; row->name; ++row) {
        if (!row->pointer || !*row->pointer)
            continue;
        const CCErr err = releaseRow(*row);
        if (first == kCCNoErr)
            first = err;
    }
    return first;
}

std::unique_ptr<SuiteSet> SuiteSet::create() noexcept
{
    return std::unique_ptr<SuiteSet>(new (std::nothrow) SuiteSet());
}

SuiteSet::SuiteSet() noexcept
{
    if (sAcquisitions == 0) {
        result_ = acquireSuiteRows(gFirstSuites);
        if (result_ == kCCNoErr) {
            result_ = acquireSuiteRows(gMainSuites);
            if (result_ != kCCNoErr)
                releaseSuiteRows(gFirstSuites);
        }
    }
    if (result_ != kCCNoErr) {
        released_ = true; // a failed set holds nothing and counts for nothing
        return;
    }
    ++sAcquisitions;
    requiredCount_ = countRows(gMainSuites);
    optionalCount_ = countRows(optionalRows());
    acquireOptional();
}

SuiteSet::~SuiteSet()
{
    release();
}

void SuiteSet::acquireOptional() noexcept
{
    if (released_ || optionalCount_ == 0 || optionalAcquired_ == optionalCount_)
        return;
    for (SuiteEntry* row = optionalRows(); row && row->name; ++row)
        if (row->pointer && !*row->pointer && acquireRow(*row) == kCCNoErr)
            ++optionalAcquired_;
}

CCErr SuiteSet::release() noexcept
{
    if (released_)
        return kCCNoErr;
    released_ = true;
    if (sAcquisitions == 0)
        return kCCNoErr;
    if (--sAcquisitions != 0)
        return kCCNoErr;

    CCErr first = releaseSuiteRows(gFirstSuites);
    const CCErr mainErr = releaseSuiteRows(gMainSuites);
    if (first == kCCNoErr)
        first = mainErr;
    // Optional rows go by their pointers, not by this set's own count: another set may have
    // acquired some of them.
    if (SuiteEntry* optional = optionalRows()) {
        const CCErr err = releaseSuiteRows(optional);
        if (first == kCCNoErr)
            first = err;
    }
    optionalAcquired_ = 0;
    return first;
}

std::uint16_t SuiteSet::acquisitions() noexcept
{
    return sAcquisitions;
}

} // namespace curvicraft
