// The exception the wrappers of host string and file-path calls raise when the host call fails.
// Operations catch it at their boundary and return its code; it never crosses PluginMain.
#pragma once

#include "cc_types.h"

#include <exception>

namespace curvicraft::ai {

class Error : public std::exception {
public:
    explicit Error(CCErr code) noexcept : code_(code) {}
    CCErr code() const noexcept { return code_; }
    const char* what() const noexcept override { return "host call failed"; }

private:
    CCErr code_;
};

} // namespace curvicraft::ai
