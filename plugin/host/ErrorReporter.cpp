#include "ErrorReporter.h"

#include "DebugOutput.h"

#include <cstdint>
#include <cstdio>

namespace curvicraft {

namespace {

constexpr CCErr kSilentErrors[] = {
    CC_FOURCC('F', 'M', 'T', '?'), CC_FOURCC('R', 'F', 'S', 'E'), CC_FOURCC('A', 'F', 'T', 'R'),
    CC_FOURCC('V', 'A', 'L', 'D'), CC_FOURCC('M', 'O', 'O', 'T'), CC_FOURCC('T', 'R', 'S', 'H'),
    CC_FOURCC('C', 'H', 'E', 'K'), CC_FOURCC('C', 'H', 'I', 'T'), CC_FOURCC('T', 'L', 'T', 'K'),
    CC_FOURCC('p', 'F', 'l', 's'), CC_FOURCC('S', '!', 'F', 'd'), CC_FOURCC('!', 'A', 'c', 'q'),
    CC_FOURCC('d', 's', 'R', 'P'), CC_FOURCC('s', 'k', 'p', 'E'), CC_FOURCC('D', 'O', 'N', 'E'),
    CC_FOURCC('S', 'T', 'O', 'P'), 361,
};

// One byte of a four-character code; bytes that are no printable character show as '?'.
char codeChar(std::uint32_t bits, int shift) noexcept
{
    const auto c = static_cast<unsigned char>(bits >> shift);
    return c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
}

} // namespace

bool isSilentError(CCErr code) noexcept
{
    for (CCErr silent : kSilentErrors)
        if (code == silent)
            return true;
    return false;
}

void reportDefaultError(CCErr code) noexcept
{
    if (code == kCCNoErr || isSilentError(code))
        return;
    // A fixed buffer: this runs on failure paths, possibly out of memory. Four-character codes are
    // written as their characters, small numbers (upper 16 bits all 0 or all 1) in decimal.
    const auto bits = static_cast<std::uint32_t>(code);
    const std::uint32_t upper = bits >> 16;
    char line[64];
    if (upper != 0x0000 && upper != 0xFFFF)
        std::snprintf(line, sizeof line, "Error: plugin error %c%c%c%c\n", codeChar(bits, 24), codeChar(bits, 16),
                      codeChar(bits, 8), codeChar(bits, 0));
    else
        std::snprintf(line, sizeof line, "Error: plugin error %ld\n", static_cast<long>(code));
    writeDebugOutput(line);
}

} // namespace curvicraft
