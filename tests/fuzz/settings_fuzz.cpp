// Fuzzes the settings tag reader with arbitrary panel text: every tag of the vocabulary is decoded by
// every type code, re-encoded with the writer, decoded again and compared. Text destinations are heap
// buffers of the exact capacity, so the sanitizer reports any write past them.
#include "settings/SettingsText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

using namespace curvicraft;

namespace {

constexpr std::string_view kTags[] = {
    "angle",
    "axes",
    "clip_style",
    "constant_ratio",
    "dailog_index",
    "dialog_index",
    "direction",
    "drag_style",
    "effect_angle",
    "extent",
    "fixed_angle",
    "fixed_dir",
    "fixed_drag",
    "fixed_face_drag",
    "fixed_height_ratio",
    "fixed_len",
    "fixed_len1",
    "fixed_len2",
    "fixed_radius",
    "handle_disp_drag",
    "handle_disp_type",
    "hrz_reflect",
    "vrt_reflect",
    "increment",
    "len_ratio",
    "length",
    "menu_id",
    "ope_angle",
    "ope_radius",
    "ope_len",
    "ope_style",
    "ou_length",
    "totsu_length",
    "phase",
    "preview",
    "rotate",
    "slant",
    "snap_angle",
    "snap_angle_f",
    "snap_height_ratio",
    "snap_len",
    "snap_radius",
    "snap_size",
    "start_dir",
    "start_dir_f",
    "temp_width",
    "tool_index",
    "url",
    "wallpaper",
    "width",
    "units",
    "curr_info",
    "version",
    "payload",
    "contents",
};

[[noreturn]] void fail(std::string_view tag, const char* what)
{
    std::fprintf(stderr, "settings_fuzz: <%.*s>: %s\n", static_cast<int>(tag.size()), tag.data(), what);
    std::abort();
}

std::string element(std::string_view tag, std::string_view encoded)
{
    SettingsWriter writer;
    writer << "<" << tag << ">" << encoded << "</" << tag << ">";
    return writer.release();
}

std::optional<std::string> readText(std::string_view text, std::string_view tag, std::size_t capacity)
{
    const auto buffer = std::make_unique<char[]>(capacity);
    if (!readTag(text, tag, TagType::Text, buffer.get(), capacity)) {
        return std::nullopt;
    }
    const std::size_t length = strnlen(buffer.get(), capacity);
    if (length == capacity) {
        fail(tag, "text not terminated within its capacity");
    }
    if (length > kMaxTextBytes) {
        fail(tag, "text longer than 255 bytes");
    }
    return std::string(buffer.get(), length);
}

void checkTag(std::string_view text, std::string_view tag)
{
    if (extractTag(text, tag).size() > text.size()) {
        fail(tag, "content longer than the text");
    }

    double real = 0.0;
    if (readTag(text, tag, TagType::Real, &real)) {
        if (!std::isfinite(real)) {
            fail(tag, "non-finite real stored");
        }
        SettingsWriter writer;
        writer.element(tag, real);
        double again = std::numeric_limits<double>::quiet_NaN();
        if (!readTag(writer.text(), tag, TagType::Real, &again)) {
            fail(tag, "written real does not read back");
        }
        const double tolerance = std::max(5e-6 * std::abs(real), std::numeric_limits<double>::denorm_min());
        if (std::abs(again - real) > tolerance || formatReal(again) != formatReal(real)) {
            fail(tag, "real changed beyond the written precision");
        }
    }

    std::int16_t value = 0;
    if (readTag(text, tag, TagType::Short, &value)) {
        SettingsWriter writer;
        writer.element(tag, value);
        std::int16_t again = static_cast<std::int16_t>(value ^ 1);
        if (!readTag(writer.text(), tag, TagType::Short, &again) || again != value) {
            fail(tag, "short changed in the round trip");
        }
    }

    std::int32_t flag = 7;
    if (readTag(text, tag, TagType::Boolean, &flag)) {
        if (flag != 0 && flag != 1) {
            fail(tag, "boolean other than 0 or 1");
        }
        SettingsWriter writer;
        writer.element(tag, flag != 0);
        std::int32_t again = 7;
        if (!readTag(writer.text(), tag, TagType::Boolean, &again) || again != flag) {
            fail(tag, "boolean changed in the round trip");
        }
    }

    for (const std::size_t capacity : {std::size_t{1}, std::size_t{16}, kMaxTextBytes + 1, std::size_t{4096}}) {
        const std::optional<std::string> first = readText(text, tag, capacity);
        if (!first) {
            continue;
        }
        if (first->size() >= capacity) {
            fail(tag, "text exceeds its capacity");
        }
        // Written in CDATA, so a text that itself begins with "<![CDATA[" survives.
        const std::optional<std::string> again = readText(element(tag, "<![CDATA[" + *first + "]]>"), tag, capacity);
        if (again != first) {
            fail(tag, "text changed in the round trip");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string_view tag : kTags) {
        checkTag(text, tag);
    }
    return 0;
}
