// User alerts, questions, cursors and number formatting. minihost shows alerts as "alert TEXT",
// questions as "confirm TEXT" (answered from the queue a session fills, yes when it is empty) and
// cursor changes as "cursor ID".
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <deque>
#include <string>

namespace minihost::suites {

namespace {

// Per-host state; reset whenever another host becomes current.
struct UserState {
    const Host* owner = nullptr;
    int cursor = -1;
    int cursorManagers = 0;
    std::deque<bool> answers;
};

UserState& state()
{
    static UserState s;
    if (s.owner != Host::current()) {
        s = UserState{};
        s.owner = Host::current();
    }
    return s;
}

int gCursorToken; // the address stands for the resource manager

CCErr ErrorAlert(const char* text)
{
    if (!Host::current())
        return kCCCantErr;
    if (!text)
        return kCCBadParameterErr;
    return guarded([&] {
        Host::current()->emit("alert", text);
        return kCCNoErr;
    });
}

CCErr CreateCursorResourceMgr(CCPluginRef, void** resources)
{
    if (!Host::current())
        return kCCCantErr;
    if (!resources)
        return kCCBadParameterErr;
    ++state().cursorManagers;
    *resources = &gCursorToken;
    return kCCNoErr;
}

CCErr DisposeCursorResourceMgr(void* resources)
{
    if (resources != &gCursorToken || state().cursorManagers == 0)
        return kCCBadParameterErr;
    --state().cursorManagers;
    return kCCNoErr;
}

CCErr SetCursor(int32_t cursorId, void* resources)
{
    if (!Host::current())
        return kCCCantErr;
    if (resources != &gCursorToken)
        return kCCBadParameterErr;
    UserState& s = state();
    if (s.cursor == cursorId)
        return kCCNoErr;
    s.cursor = cursorId;
    return guarded([&] {
        Host::current()->emit("cursor", std::to_string(cursorId));
        return kCCNoErr;
    });
}

CCErr NumberToString(double value, int16_t precision, char* buffer, int32_t capacity)
{
    if (!buffer || capacity <= 0)
        return kCCBadParameterErr;
    if (precision < 0)
        precision = 0;
    if (precision > 15)
        precision = 15;
    if (!std::isfinite(value)) {
        buffer[0] = 0;
        return kCCBadParameterErr;
    }
    char text[400];
    auto [end, ec] = std::to_chars(text, text + sizeof text - 1, value, std::chars_format::fixed, precision);
    if (ec != std::errc())
        return kCCBadParameterErr;
    *end = 0;
    if (std::strchr(text, '.')) {
        while (end > text && end[-1] == '0')
            *--end = 0;
        if (end > text && end[-1] == '.')
            *--end = 0;
    }
    if (std::strcmp(text, "-0") == 0)
        std::strcpy(text, "0");
    std::size_t n = std::strlen(text);
    if (n + 1 > static_cast<std::size_t>(capacity))
        return kCCBadParameterErr;
    std::memcpy(buffer, text, n + 1);
    return kCCNoErr;
}

CCErr YesNoAlert(const char* text, CCBool32* yes)
{
    if (!Host::current())
        return kCCCantErr;
    if (!text || !yes)
        return kCCBadParameterErr;
    return guarded([&] {
        Host::current()->emit("confirm", text);
        UserState& s = state();
        bool answer = true;
        if (!s.answers.empty()) {
            answer = s.answers.front();
            s.answers.pop_front();
        }
        *yes = answer ? 1 : 0;
        return kCCNoErr;
    });
}

} // namespace

void queueConfirmAnswer(bool yes)
{
    state().answers.push_back(yes);
}

const CCUserSuite& user()
{
    static const CCUserSuite table{ErrorAlert, CreateCursorResourceMgr, DisposeCursorResourceMgr, SetCursor,
                                   NumberToString, YesNoAlert};
    return table;
}

} // namespace minihost::suites
