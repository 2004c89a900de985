#include "settings/SettingsText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace curvicraft {

namespace {

constexpr std::string_view kCdataOpen = "<![CDATA[";
constexpr std::string_view kCdataClose = "]]>";
constexpr int kRealDigits = 6; // significant digits of a written real

// The blanks "%hd" and "%lf" skip in the C locale.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view skipBlanks(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i])) {
        ++i;
    }
    return s.substr(i);
}

// The content of the element, or nothing when its opening or closing tag is missing. The closing tag
// is searched after the opening one, so a stray "</tag>" in front cannot give a negative length.
std::optional<std::string_view> findContent(std::string_view text, std::string_view tag)
{
    std::string marker;
    marker.reserve(tag.size() + 3);
    marker.append("<").append(tag).append(">");
    const std::size_t open = text.find(marker);
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t start = open + marker.size();
    marker.insert(1, "/");
    const std::size_t close = text.find(marker, start);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return text.substr(start, close - start);
}

// Like "%hd": blanks, an optional sign, then at least one digit; the scan stops at the first other
// character. Values beyond the 16-bit range saturate instead of wrapping.
std::optional<std::int16_t> scanShort(std::string_view s)
{
    s = skipBlanks(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    constexpr long kCap = 100000; // beyond either limit; keeps the accumulator small on long digit runs
    long magnitude = 0;
    std::size_t i = 0;
    for (; i < s.size() && isDigit(s[i]); ++i) {
        magnitude = std::min(kCap, magnitude * 10 + (s[i] - '0'));
    }
    if (i == 0) {
        return std::nullopt;
    }
    const long value = negative ? -magnitude : magnitude;
    return static_cast<std::int16_t>(
        std::clamp<long>(value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

// Like "%lf" in the C locale, but only finite values in range convert: from_chars ignores the process
// locale, and a NaN or infinity would poison every length it reached.
std::optional<double> scanReal(std::string_view s)
{
    s = skipBlanks(s);
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (!s.empty() && s.front() == '-') {
            return std::nullopt; // from_chars would take the second sign
        }
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (error != std::errc{} || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// The length of the longest prefix of at most `limit` bytes that does not end inside a UTF-8 sequence.
// Bytes that are not UTF-8 are cut at the limit.
std::size_t utf8Prefix(std::string_view s, std::size_t limit)
{
    if (s.size() <= limit) {
        return s.size();
    }
    const auto continuation = [](unsigned char c) { return (c & 0xC0) == 0x80; };
    if (!continuation(static_cast<unsigned char>(s[limit]))) {
        return limit;
    }
    for (std::size_t back = 1; back <= 3 && back <= limit; ++back) {
        const auto c = static_cast<unsigned char>(s[limit - back]);
        if (continuation(c)) {
            continue;
        }
        const std::size_t length = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
        return length > back ? limit - back : limit;
    }
    return limit;
}

} // namespace

std::string formatReal(double value)
{
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    // Round once to six significant digits, then lay the digits out in the chosen notation.
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, kRealDigits - 1);
    std::string_view s(buffer, static_cast<std::size_t>(result.ptr - buffer)); // [-]d.ddddde(+|-)dd[d]
    const bool negative = s.front() == '-';
    if (negative) {
        s.remove_prefix(1);
    }
    const std::size_t e = s.find('e');
    std::string digits;
    digits += s[0];
    digits.append(s.substr(2, e - 2));
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    const bool negativeExponent = s[e + 1] == '-';
    int exponent = 0;
    std::from_chars(s.data() + e + 2, s.data() + s.size(), exponent);
    if (negativeExponent) {
        exponent = -exponent;
    }

    std::string exponential(1, digits[0]);
    if (digits.size() > 1) {
        exponential.append(".").append(digits, 1);
    }
    const int magnitude = std::abs(exponent);
    exponential.append(negativeExponent ? "e-" : "e+");
    if (magnitude < 10) {
        exponential += '0';
    }
    exponential.append(std::to_string(magnitude));

    std::string fixed;
    const auto count = static_cast<int>(digits.size());
    if (exponent < 0) {
        fixed.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
    } else if (count <= exponent + 1) {
        fixed.append(digits).append(static_cast<std::size_t>(exponent + 1 - count), '0');
    } else {
        const auto point = static_cast<std::size_t>(exponent + 1);
        fixed.append(digits, 0, point).append(".").append(digits, point);
    }

    // The "%g" choice: exponential when the exponent is below -4 or reaches the digit count.
    std::string out = negative ? "-" : "";
    out.append(exponent < -4 || exponent >= kRealDigits ? exponential : fixed);
    return out;
}

SettingsWriter& SettingsWriter::operator<<(std::string_view text)
{
    text_.append(text);
    return *this;
}

SettingsWriter& SettingsWriter::operator<<(const char* text)
{
    return *this << std::string_view(text);
}

SettingsWriter& SettingsWriter::operator<<(bool value)
{
    text_ += value ? '1' : '0';
    return *this;
}

SettingsWriter& SettingsWriter::operator<<(int value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text_.append(buffer, result.ptr);
    return *this;
}

SettingsWriter& SettingsWriter::operator<<(double value)
{
    text_.append(formatReal(value));
    return *this;
}

std::string extractTag(std::string_view text, std::string_view tag)
{
    return std::string(findContent(text, tag).value_or(std::string_view{}));
}

std::string unwrapCdata(std::string text)
{
    const std::string_view view(text);
    if (!view.starts_with(kCdataOpen)) {
        return text;
    }
    std::size_t length = view.size() - kCdataOpen.size();
    if (view.substr(kCdataOpen.size()).ends_with(kCdataClose)) {
        length -= kCdataClose.size();
    }
    return text.substr(kCdataOpen.size(), length);
}

bool readTag(std::string_view text, std::string_view tag, TagType type, void* destination, std::size_t capacity)
{
    if (destination == nullptr) {
        return false;
    }
    const std::optional<std::string_view> found = findContent(text, tag);
    if (!found) {
        return false;
    }
    const std::string_view content = found->empty() && type != TagType::Text ? std::string_view("0") : *found;

    switch (type) {
    case TagType::Text: {
        if (capacity == 0) {
            return false;
        }
        const std::string value = unwrapCdata(std::string(content));
        const std::size_t length = utf8Prefix(value, std::min(capacity - 1, kMaxTextBytes));
        char* out = static_cast<char*>(destination);
        std::memcpy(out, value.data(), length);
        out[length] = '\0';
        return true;
    }
    case TagType::Boolean:
        *static_cast<std::int32_t*>(destination) = content == "0" || content == "false" ? 0 : 1;
        return true;
    case TagType::Short:
        if (const auto value = scanShort(content)) {
            *static_cast<std::int16_t*>(destination) = *value;
            return true;
        }
        return false;
    case TagType::Real:
        if (const auto value = scanReal(content)) {
            *static_cast<double*>(destination) = *value;
            return true;
        }
        return false;
    }
    return false;
}

} // namespace curvicraft
