// The settings text codec: number formats, units, tag reading by type, and reading untrusted panel text.
#include "settings/SettingsText.h"
#include "settings/Units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <locale>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

using namespace curvicraft;

namespace {

using Outcome = std::variant<double, std::string>; // a number read, or a text read

constexpr double kUntouched = 777.0; // what a destination holds before a read that must not change it

// Reads `tag` of `text` as `type` into a destination holding kUntouched (or "keep" for Text) and
// returns what the destination holds afterwards.
Outcome readAs(std::string_view text, std::string_view tag, TagType type)
{
    switch (type) {
    case TagType::Text: {
        char buffer[kMaxTextBytes + 1] = "keep";
        readTag(text, tag, type, buffer, sizeof buffer);
        return std::string(buffer);
    }
    case TagType::Boolean: {
        std::int32_t flag = static_cast<std::int32_t>(kUntouched);
        readTag(text, tag, type, &flag);
        return static_cast<double>(flag);
    }
    case TagType::Short: {
        std::int16_t value = static_cast<std::int16_t>(kUntouched);
        readTag(text, tag, type, &value);
        return static_cast<double>(value);
    }
    case TagType::Real: {
        double value = kUntouched;
        readTag(text, tag, type, &value);
        return value;
    }
    }
    return std::string("bad type");
}

} // namespace

TEST(SettingsCodec, EdgeCaseTable)
{
    struct UnitsCase {
        std::int16_t index;
        bool toDisplay; // toUnits, else fromUnits
        double x;
        double expected;
        std::int16_t indexAfter;
        std::string_view name;
    };
    const UnitsCase units[] = {
        {9, true, 10, 10, 3, "pt"},    {-1, false, 10, 10, 3, "pt"},   {0, true, 10, 10, 0, "pt"},
        {1, true, 144, 2, 1, "in"},    {1, false, 2, 144, 1, "in"},    {2, true, 72, 2.54, 2, "cm"},
        {2, false, 2.54, 72, 2, "cm"}, {4, true, 12.5, 12.5, 4, "pt"}, {4, false, 12.5, 12.5, 4, "pt"},
        {5, true, 72, 25.4, 5, "mm"},  {5, false, 25.4, 72, 5, "mm"},  {6, true, 12.5, 12.5, 6, "px"},
        {7, true, 72, 101.6, 7, "H"},  {7, false, 101.6, 72, 7, "H"},
    };
    for (const auto& c : units) {
        SCOPED_TRACE(testing::Message() << "units " << c.index << (c.toDisplay ? " toUnits " : " fromUnits ") << c.x);
        std::int16_t index = c.index;
        const double got = c.toDisplay ? toUnits(c.x, index) : fromUnits(c.x, index);
        EXPECT_DOUBLE_EQ(got, c.expected);
        EXPECT_EQ(index, c.indexAfter);
        EXPECT_EQ(unitsName(index), c.name);
    }

    struct FormatCase {
        double value;
        const char* text;
    };
    const FormatCase formats[] = {
        {4000, "4000"},
        {0.5, "0.5"},
        {12.345678, "12.3457"},
        {1234567, "1.23457e+06"},
        {1e6, "1e+06"},
        {0.1, "0.1"},
        {0, "0"},
        {-89.8, "-89.8"},
        {123456, "123456"},
        {100000, "100000"},
        {999999.7, "1e+06"},
        {0.001, "0.001"},
        {0.0001, "0.0001"},
        {1.5e-5, "1.5e-05"},
        {-0.000123456789, "-0.000123457"},
        {1e300, "1e+300"},
        {9.99999e-5, "9.99999e-05"},
        {-1e-300, "-1e-300"},
        {7.0555555, "7.05556"},
    };
    for (const auto& c : formats) {
        EXPECT_EQ(formatReal(c.value), c.text) << "value " << c.value;
    }

    struct ReadCase {
        const char* what;
        std::string_view text;
        const char* tag;
        TagType type;
        Outcome expected;
    };
    const ReadCase reads[] = {
        {"empty real", "<fixed_len></fixed_len>", "fixed_len", TagType::Real, 0.0},
        {"empty text", "<fixed_len></fixed_len>", "fixed_len", TagType::Text, std::string()},
        {"empty short", "<ope_style></ope_style>", "ope_style", TagType::Short, 0.0},
        {"empty boolean", "<preview></preview>", "preview", TagType::Boolean, 0.0},
        {"false", "<preview>false</preview>", "preview", TagType::Boolean, 0.0},
        {"zero", "<preview>0</preview>", "preview", TagType::Boolean, 0.0},
        {"true", "<preview>true</preview>", "preview", TagType::Boolean, 1.0},
        {"yes", "<preview>yes</preview>", "preview", TagType::Boolean, 1.0},
        {"two", "<preview>2</preview>", "preview", TagType::Boolean, 1.0},
        {"not a real", "<snap_size>abc</snap_size>", "snap_size", TagType::Real, kUntouched},
        {"not a short", "<axes>abc</axes>", "axes", TagType::Short, kUntouched},
        {"unit suffix", "<snap_size>12.5mm</snap_size>", "snap_size", TagType::Real, 12.5},
        {"decimal comma", "<snap_size>1,5</snap_size>", "snap_size", TagType::Real, 1.0},
        {"overflow", "<snap_size>1e400</snap_size>", "snap_size", TagType::Real, kUntouched},
        {"nan", "<snap_size>nan</snap_size>", "snap_size", TagType::Real, kUntouched},
        {"infinity", "<snap_size>-inf</snap_size>", "snap_size", TagType::Real, kUntouched},
        {"blanks, sign, exponent", "<angle> -3.25e2</angle>", "angle", TagType::Real, -325.0},
        {"plus, no integer part", "<angle>+.5</angle>", "angle", TagType::Real, 0.5},
        {"two signs", "<angle>+-1</angle>", "angle", TagType::Real, kUntouched},
        {"short with suffix", "<axes>-12px</axes>", "axes", TagType::Short, -12.0},
        {"short from exponent", "<axes>1e3</axes>", "axes", TagType::Short, 1.0},
        {"short above range", "<axes>99999</axes>", "axes", TagType::Short, 32767.0},
        {"short below range", "<axes>-99999</axes>", "axes", TagType::Short, -32768.0},
        {"sign alone", "<axes>-</axes>", "axes", TagType::Short, kUntouched},
        {"cdata", "<url><![CDATA[a<b]]></url>", "url", TagType::Text, std::string("a<b")},
        {"cdata never ends", "<url><![CDATA[http://x</url>", "url", TagType::Text, std::string("http://x")},
        {"no cdata", "<url>plain]]></url>", "url", TagType::Text, std::string("plain]]>")},
        {"no closing tag", "<length>5", "length", TagType::Real, kUntouched},
        {"no opening tag", "length>5</length>", "length", TagType::Real, kUntouched},
        {"no element text", "<menu_id>About", "menu_id", TagType::Text, std::string("keep")},
        {"closing tag first", "</length><length>5</length>", "length", TagType::Real, 5.0},
        {"first of two", "<length>1</length><length>2</length>", "length", TagType::Real, 1.0},
        {"longer tag first", "<fixed_len1>3</fixed_len1><fixed_len>4</fixed_len>", "fixed_len", TagType::Real, 4.0},
    };
    for (const auto& c : reads) {
        EXPECT_EQ(readAs(c.text, c.tag, c.type), c.expected) << c.what << ": " << c.text;
    }
}

// Panel text is untrusted: destinations stay within their capacity and long or broken texts neither
// overrun nor hang.
TEST(SettingsCodec, UntrustedText)
{
    // Capacity bounds the text, NUL included; the bytes after it stay as they were.
    {
        char buffer[12];
        std::memset(buffer, 'Z', sizeof buffer);
        EXPECT_TRUE(readTag("<menu_id>abcdefghijkl</menu_id>", "menu_id", TagType::Text, buffer, 4));
        EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("abc\0ZZZZZZZZ", 12));
        EXPECT_TRUE(readTag("<menu_id>abc</menu_id>", "menu_id", TagType::Text, buffer, 1));
        EXPECT_STREQ(buffer, "");
        buffer[0] = 'Z';
        EXPECT_FALSE(readTag("<menu_id>abc</menu_id>", "menu_id", TagType::Text, buffer, 0));
        EXPECT_EQ(buffer[0], 'Z');
    }

    // The 255-byte limit holds whatever the capacity, and a cut never splits a UTF-8 sequence.
    struct CutCase {
        const char* what;
        std::string content;
        std::size_t capacity;
        std::string expected;
    };
    const CutCase cuts[] = {
        {"long text", std::string(1000, 'a'), 1024, std::string(255, 'a')},
        {"two-byte at limit", std::string(254, 'a') + "\xC3\xA9", 1024, std::string(254, 'a')},
        {"fits exactly", "a\xC3\xA9", 4, "a\xC3\xA9"},
        {"one byte short", "a\xC3\xA9", 3, "a"},
        {"three-byte", "\xE2\x82\xAC\xE2\x82\xAC", 6, "\xE2\x82\xAC"},
        {"not UTF-8", std::string(300, '\x80'), 1024, std::string(255, '\x80')},
        {"invalid lead", std::string(300, '\xFF'), 1024, std::string(255, '\xFF')},
    };
    for (const auto& c : cuts) {
        std::vector<char> buffer(c.capacity, 'Z'); // exact size, so the sanitizer sees any overrun
        ASSERT_TRUE(readTag("<url>" + c.content + "</url>", "url", TagType::Text, buffer.data(), buffer.size()));
        EXPECT_EQ(std::string(buffer.data()), c.expected) << c.what;
    }

    // CDATA markers alone or overlapping leave an empty text.
    EXPECT_EQ(unwrapCdata("<![CDATA["), "");
    EXPECT_EQ(unwrapCdata("<![CDATA[]]>"), "");
    EXPECT_EQ(unwrapCdata("<![CDATA[x]]>y]]>"), "x]]>y");
    EXPECT_EQ(extractTag("<a>x", "a"), "");
    EXPECT_EQ(extractTag("<a></a>", ""), "");

    // Huge payloads: the element after megabytes of noise is found, megabyte-long numbers convert or
    // are refused, and an element that never closes is not found.
    const std::string noise(4 << 20, '<');
    EXPECT_EQ(readAs(noise + "<length>2.5</length>", "length", TagType::Real), Outcome(2.5));
    EXPECT_EQ(readAs("<length>" + std::string(1 << 20, '9') + "</length>", "length", TagType::Real),
              Outcome(kUntouched));
    EXPECT_EQ(readAs("<axes>" + std::string(1 << 20, '9') + "</axes>", "axes", TagType::Short), Outcome(32767.0));
    EXPECT_EQ(readAs("<length>0." + std::string(1 << 20, '0') + "1</length>", "length", TagType::Real),
              Outcome(kUntouched));
    std::string unclosed;
    for (int i = 0; i < 200000; ++i) {
        unclosed += "<length>1";
    }
    EXPECT_EQ(readAs(unclosed, "length", TagType::Real), Outcome(kUntouched));

    // An embedded NUL ends a text and a number.
    EXPECT_EQ(readAs(std::string_view("<url>ab\0cd</url>", 16), "url", TagType::Text), Outcome(std::string("ab")));
    EXPECT_EQ(readAs(std::string_view("<length>1\0002</length>", 20), "length", TagType::Real), Outcome(1.0));

    // An unknown type code and a null destination write nothing.
    double value = kUntouched;
    EXPECT_FALSE(readTag("<length>5</length>", "length", static_cast<TagType>(3), &value));
    EXPECT_EQ(value, kUntouched);
    EXPECT_FALSE(readTag("<length>5</length>", "length", TagType::Real, nullptr));
}

// Every value the writer writes reads back: shorts and booleans exactly, reals to six significant
// digits and to the same text again, texts byte for byte.
TEST(SettingsCodec, RoundTrip)
{
    std::mt19937_64 random(20240611);
    std::vector<double> reals = {
        0.0, -0.0, 4000, 0.1, 1.0 / 3.0, DBL_MAX, -DBL_MAX, DBL_MIN, std::numeric_limits<double>::denorm_min()};
    std::uniform_real_distribution<double> exponent(-320.0, 308.0);
    for (int i = 0; i < 20000; ++i) {
        const double magnitude = std::pow(10.0, exponent(random));
        reals.push_back(i % 2 ? magnitude : -magnitude);
    }
    // C's "%g" is an independent oracle for the written text while the C locale has a decimal point.
    ASSERT_STREQ(std::localeconv()->decimal_point, ".");
    for (const double x : reals) {
        char printed[64];
        std::snprintf(printed, sizeof printed, "%g", x);
        EXPECT_EQ(formatReal(x), printed);
        SettingsWriter writer;
        writer.element("snap_size", x);
        double y = kUntouched;
        ASSERT_TRUE(readTag<TagType::Real>(writer.text(), "snap_size", y)) << writer.text();
        const double tolerance = std::max(5e-6 * std::abs(x), std::numeric_limits<double>::denorm_min());
        EXPECT_NEAR(y, x, tolerance) << writer.text();
        EXPECT_EQ(formatReal(y), formatReal(x));
    }

    for (int v = std::numeric_limits<std::int16_t>::min(); v <= std::numeric_limits<std::int16_t>::max(); ++v) {
        SettingsWriter writer;
        writer.element("axes", static_cast<std::int16_t>(v));
        std::int16_t back = 0;
        ASSERT_TRUE(readTag<TagType::Short>(writer.text(), "axes", back));
        ASSERT_EQ(back, v) << writer.text();
    }

    for (const bool b : {false, true}) {
        SettingsWriter writer;
        writer.element("preview", b);
        std::int32_t back = 7;
        ASSERT_TRUE(readTag<TagType::Boolean>(writer.text(), "preview", back));
        EXPECT_EQ(back, b ? 1 : 0);
    }

    const std::string texts[] = {"",
                                 "About",
                                 "a<b>&c",
                                 "https://example.com/?q=1&r=<2>",
                                 "Gr\xC3\xB6\xC3\x9F"
                                 "e \xE2\x82\xAC",
                                 "x]]>y",
                                 std::string(255, 'w')};
    for (const auto& t : texts) {
        SettingsWriter writer;
        writer << "<url><![CDATA[" << t << "]]></url>";
        char link[kMaxTextBytes + 1] = "keep";
        ASSERT_TRUE(readTag<TagType::Text>(writer.text(), "url", link));
        EXPECT_EQ(std::string(link), t);
    }
}

// A tool's params text in millimetres: lengths written through toUnits read back through fromUnits.
TEST(SettingsCodec, ParamsTextInDisplayUnits)
{
    std::int16_t units = 5;
    const double snapSize = 20.0; // points
    const double fixedRadius = 50.0;
    SettingsWriter writer;
    writer << "<units>" << unitsName(units) << "</units>";
    writer.element("ope_style", std::int16_t{2})
        .element("snap_size", toUnits(snapSize, units))
        .element("fixed_radius", toUnits(fixedRadius, units))
        .element("curr_info", "0 mm");
    EXPECT_EQ(writer.text(), "<units>mm</units><ope_style>2</ope_style><snap_size>7.05556</snap_size>"
                             "<fixed_radius>17.6389</fixed_radius><curr_info>0 mm</curr_info>");

    const std::string payload = "<payload><tool_index>12</tool_index>" + writer.text() + "</payload>";
    std::int16_t toolIndex = -1, style = 0;
    double snap = 0, radius = 0;
    ASSERT_TRUE(readTag<TagType::Short>(payload, "tool_index", toolIndex));
    ASSERT_TRUE(readTag<TagType::Short>(payload, "ope_style", style));
    ASSERT_TRUE(readTag<TagType::Real>(payload, "snap_size", snap));
    ASSERT_TRUE(readTag<TagType::Real>(payload, "fixed_radius", radius));
    EXPECT_EQ(toolIndex, 12);
    EXPECT_EQ(style, 2);
    EXPECT_NEAR(fromUnits(snap, units), snapSize, 5e-6 * snapSize);
    EXPECT_NEAR(fromUnits(radius, units), fixedRadius, 5e-6 * fixedRadius);
}

// Under a decimal-comma locale the text still uses ".", and the codec leaves the locale as it was.
TEST(SettingsCodec, IgnoresProcessLocale)
{
    struct Restore {
        std::string c = std::setlocale(LC_ALL, nullptr);
        std::locale cpp;
        ~Restore()
        {
            std::locale::global(cpp);
            std::setlocale(LC_ALL, c.c_str());
        }
    } restore;

    const char* name = "de_DE.UTF-8";
    try {
        std::locale::global(std::locale(name)); // also sets the C locale
    } catch (const std::runtime_error&) {
        GTEST_SKIP() << "locale " << name << " is not installed (bash scripts/setup.sh generates it)";
    }
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    const std::string cBefore = std::setlocale(LC_ALL, nullptr);
    const std::string cppBefore = std::locale().name();

    SettingsWriter writer;
    writer.element("snap_size", 12.5).element("rotate", 1234567.0).element("axes", 12345);
    EXPECT_EQ(writer.text(), "<snap_size>12.5</snap_size><rotate>1.23457e+06</rotate><axes>12345</axes>");
    EXPECT_EQ(readAs("<x>1.5</x>", "x", TagType::Real), Outcome(1.5));
    EXPECT_EQ(readAs("<x>1,5</x>", "x", TagType::Real), Outcome(1.0));
    EXPECT_EQ(readAs("<x>1.234</x>", "x", TagType::Short), Outcome(1.0));
    EXPECT_EQ(readAs(writer.text(), "rotate", TagType::Real), Outcome(1234570.0));

    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), cBefore);
    EXPECT_EQ(std::locale().name(), cppBefore);
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
}
