// The settings text that tools and dialogs exchange with the panels: a run of <tag>value</tag>
// elements with no separators, attributes or escaping. The writer appends tags and values; the reader
// finds one element and converts its content by type code.
//
// Panel text is untrusted. Reading never writes past a destination, never reads past the text, and
// is linear in the text's length. The decimal point is "." whatever the process locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace curvicraft {

// Type codes of the values in a settings text.
enum class TagType : std::int16_t {
    Text = 0,    // verbatim bytes, possibly wrapped in CDATA; read into a char buffer
    Boolean = 4, // 32-bit: "1" or "0" written; "0" and "false" read as 0, anything else as 1
    Short = 5,   // signed 16-bit decimal
    Real = 9,    // 64-bit real, six significant digits
};

// Type 0 texts are cut to this many bytes (plus the terminating NUL), whatever the capacity.
inline constexpr std::size_t kMaxTextBytes = 255;

// A real with six significant digits and no trailing zeros, as C's "%g" writes it in the C locale:
// exponential notation when the decimal exponent is below -4 or at least 6, fixed otherwise
// (4000, 0.5, 12.3457, 123456, 1.23457e+06, 0.0001, 1e-05). Non-finite values give "nan", "inf" or
// "-inf", which the reader refuses.
std::string formatReal(double value);

// Appends literal tag texts and encoded values. The overloads pick the encoding by the value's type:
// text verbatim, bool as "1"/"0", integers in signed decimal, reals by formatReal. A 32-bit boolean
// field is written as a boolean with `writer << (flag != 0)`.
class SettingsWriter {
  public:
    SettingsWriter& operator<<(std::string_view text);
    SettingsWriter& operator<<(const char* text); // keeps string literals away from the bool overload
    SettingsWriter& operator<<(bool value);
    SettingsWriter& operator<<(int value); // also takes std::int16_t
    SettingsWriter& operator<<(double value);
    SettingsWriter& operator<<(char) = delete; // a char is neither a text nor a number here

    // <tag>value</tag>, the value encoded as by operator<<.
    template <class T> SettingsWriter& element(std::string_view tag, const T& value)
    {
        return *this << "<" << tag << ">" << value << "</" << tag << ">";
    }

    const std::string& text() const { return text_; }
    std::string release() { return std::move(text_); }

  private:
    std::string text_;
};

// The content between the first <tag> and the first </tag> after it; an empty text when either is
// missing.
std::string extractTag(std::string_view text, std::string_view tag);

// Removes a leading "<![CDATA[" and, when present, the trailing "]]>". A section that never ends is
// taken to run to the end of the text, so nothing of its content is lost. Text that does not begin
// with "<![CDATA[" is returned as it is.
std::string unwrapCdata(std::string text);

// Finds the element `tag` in `text`, converts its content by `type` and stores it into `destination`:
//   Text:    char[capacity]; at most min(capacity - 1, 255) bytes and a NUL, never splitting a UTF-8
//            sequence; nothing is written when capacity is 0.
//   Boolean: std::int32_t.   Short: std::int16_t.   Real: double.
// Empty content reads as "0" (as "" for Text). Numbers are scanned like "%hd" and "%lf" in the C
// locale: leading blanks and a sign are accepted and the scan stops at the first character that does
// not belong to the number, so "12.5mm" reads 12.5 and "1,5" reads 1. Shorts out of range saturate.
// A content that is no number, a real that is not finite or out of range ("nan", "inf", "1e400"),
// a missing element and an unknown type code leave the destination unchanged. Returns whether the
// destination was written.
bool readTag(std::string_view text, std::string_view tag, TagType type, void* destination, std::size_t capacity = 0);

// Type-checked form: readTag<TagType::Real>(payload, "snap_size", value), with a double for Real, an
// std::int16_t for Short, an std::int32_t for Boolean and a char array for Text (its size the capacity).
template <TagType type, class T> bool readTag(std::string_view text, std::string_view tag, T& destination)
{
    if constexpr (type == TagType::Text) {
        static_assert(std::is_same_v<std::remove_extent_t<T>, char> && std::extent_v<T> > 0,
                      "a Text element is read into a char array");
        return readTag(text, tag, type, destination, std::extent_v<T>);
    } else {
        using Expected = std::conditional_t<type == TagType::Real, double,
                                            std::conditional_t<type == TagType::Short, std::int16_t, std::int32_t>>;
        static_assert(std::is_same_v<T, Expected>, "destination type does not match the type code");
        return readTag(text, tag, type, &destination);
    }
}

} // namespace curvicraft
