// Acquisition and release of the host suites of the first group and the main table.
//
// The suite pointers are process-wide, so several SuiteSet objects share one acquisition: the first
// acquires the suites and the last one released gives them back. A process-wide 16-bit count
// records how many acquisitions are outstanding.
#pragma once

#include "Suites.h"

#include <cstdint>
#include <memory>

namespace curvicraft {

// Marks the main table's terminating row when optional rows follow it.
inline constexpr int kOptionalSuitesMarker = CC_FOURCC('O', 'P', 'T', 'S');

// Acquires the rows of a table, ended by a row with a null name, in order; rows without a pointer
// variable are skipped. On a failure every row this call acquired is released again and the failing
// code is returned, so the table is either fully held or untouched.
CCErr acquireSuiteRows(SuiteEntry* table) noexcept;

// Releases every row whose pointer is set and clears the pointer. All rows are released even when one
// fails; the first failing code is returned.
CCErr releaseSuiteRows(SuiteEntry* table) noexcept;

class SuiteSet {
public:
    // Creates a set and acquires (a null result means no memory). Check result() for the outcome;
    // a failed set holds nothing.
    static std::unique_ptr<SuiteSet> create() noexcept;
    ~SuiteSet(); // releases when release() has not run

    SuiteSet(const SuiteSet&) = delete;
    SuiteSet& operator=(const SuiteSet&) = delete;

    CCErr result() const noexcept { return result_; }
    std::uint16_t optionalCount() const noexcept { return optionalCount_; }
    std::uint16_t requiredCount() const noexcept { return requiredCount_; }
    std::uint16_t optionalAcquired() const noexcept { return optionalAcquired_; }

    // Tries the optional rows still missing; failures are not reported.
    void acquireOptional() noexcept;

    // Gives this acquisition back; the last outstanding one releases the suites. Runs once.
    CCErr release() noexcept;

    // Outstanding acquisitions in this process.
    static std::uint16_t acquisitions() noexcept;

private:
    SuiteSet() noexcept;

    CCErr result_ = kCCNoErr;
    std::uint16_t optionalCount_ = 0;
    std::uint16_t requiredCount_ = 0;
    std::uint16_t optionalAcquired_ = 0;
    bool released_ = false;
};

} // namespace curvicraft
