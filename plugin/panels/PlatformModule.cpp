#include "PlatformModule.h"

#include <cstdint>
#include <dlfcn.h>
#include <string>

namespace curvicraft {

namespace {

// The loader here takes file names in UTF-8.
std::string toUtf8(const wchar_t* text)
{
    std::string out;
    for (; *text; ++text) {
        auto c = static_cast<std::uint32_t>(*text);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c < 0xDC00 && text[1] >= 0xDC00 && text[1] < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<std::uint32_t>(text[1]) - 0xDC00);
                ++text;
            }
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace

ModuleHandle loadModule(const wchar_t* path) noexcept
{
    if (!path)
        return nullptr;
    try {
        return dlopen(toUtf8(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    } catch (...) {
        return nullptr;
    }
}

void* moduleEntry(ModuleHandle module, const char* name) noexcept
{
    return module && name ? dlsym(module, name) : nullptr;
}

void freeModule(ModuleHandle module) noexcept
{
    if (module)
        dlclose(module);
}

} // namespace curvicraft
