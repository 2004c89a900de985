#include "ErrorAlert.h"

#include "AIError.h"
#include "Suites.h"

#include <cstdint>
#include <cstdio>

namespace curvicraft {

namespace {

constexpr CCErr kStopErr = CC_FOURCC('S', 'T', 'O', 'P');
constexpr const char* kUnknownMessage = "Unknown error.";
constexpr const char* kMemoryMessage = "The filter cannot complete because there isn't enough memory (RAM) available.";
constexpr std::size_t kMaxMessageBytes = 239;

struct ErrorRow {
    CCErr code;
    const char* message;
};

// In lookup order; the first row with a code wins. The table ends with code 0.
constexpr ErrorRow kErrorTable[] = {
    {-108, kMemoryMessage},
    {271, kMemoryMessage},
    {CC_FOURCC('S', 'E', 'G', 'M'), "The filter cannot complete because a path has too many anchor points."},
    {CC_FOURCC('N', 'E', 'S', 'S'), "The filter cannot complete because a layer is locked or invisible."},
    {CC_FOURCC('!', 's', 'e', 'l'), "You must select a path first."},
    {CC_FOURCC('f', 'L', 't', 'P'), "For type on a path, select only the path."},
    {CC_FOURCC('i', 'N', 't', 'P'), "Your selection includes the text path."},
    {CC_FOURCC('i', 'U', 'n', 'T'), "The selection includes a locked or hidden object within the group."},
    {CC_FOURCC('A', 'q', 's', 'F'), ""},
    {CC_FOURCC('i', 'o', 'E', 'r'), "The files necessary to start Curvicraft cannot be found or are not readable."},
    {CC_FOURCC('E', 'L', 'I', 'O'), "Your selection includes unrelated objects which cannot be processed."},
    {CC_FOURCC('U', 'n', 'E', 'x'),
     "A path with more than a basic Appearance (including compound shapes as a result of applying pathfinder "
     "effects) must be expanded first by selecting the Expand Appearnce command."},
    {CC_FOURCC('?', '?', '?', '?'), kUnknownMessage},
    {0, nullptr},
};

std::string codeText(CCErr code)
{
    const auto u = static_cast<std::uint32_t>(code);
    const std::uint32_t upper = u >> 16;
    if (upper == 0x0000 || upper == 0xFFFF) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%ld", static_cast<long>(code));
        return buffer;
    }
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
        text += static_cast<char>((u >> shift) & 0xff);
    return text;
}

} // namespace

std::string errorAlertText(CCErr code)
{
    if (code == kCCNoErr || code == kStopErr)
        return {};
    std::string message;
    for (const ErrorRow* row = kErrorTable; row->message != nullptr; ++row)
        if (row->code == code) {
            message = row->message;
            break;
        }
    if (message.empty())
        message = kUnknownMessage;
    if (message.size() > kMaxMessageBytes)
        message.resize(kMaxMessageBytes);
    return message + "\n" + codeText(code);
}

void showErrorAlert(CCErr code)
{
    const std::string text = errorAlertText(code);
    if (text.empty())
        return;
    if (CCErr err = sUser->ErrorAlert(text.c_str()))
        throw ai::Error(err);
}

} // namespace curvicraft
