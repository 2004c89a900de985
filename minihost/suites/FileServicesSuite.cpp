// Texts, file paths and the host's folders. Strings and paths are host objects the plug-in disposes;
// a handle the host did not give out, or one already disposed, is refused as stale.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

#include <memory>
#include <set>
#include <string>

namespace minihost::suites {

namespace {

struct HostString {
    std::string utf8;
    std::u32string utf32;
};

struct HostPath {
    std::filesystem::path path;
};

// Per-host objects; dropped whenever another host becomes current.
struct FileState {
    std::uint64_t owner = 0; // the host generation the objects belong to
    std::set<HostString*> strings;
    std::set<HostPath*> paths;
    ~FileState() { clear(); }
    void clear()
    {
        for (HostString* s : strings)
            delete s;
        for (HostPath* p : paths)
            delete p;
        strings.clear();
        paths.clear();
    }
};

FileState& state()
{
    static FileState s;
    if (s.owner != hostGeneration()) {
        s.clear();
        s.owner = hostGeneration();
    }
    return s;
}

// Decodes UTF-8; malformed bytes become U+FFFD, so every text has code points.
std::u32string decodeUtf8(const std::string& text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1f) : extra == 2 ? (c & 0x0f) : (c & 0x07);
        bool ok = extra >= 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) >> 6) != 2)
                ok = false;
            else
                cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3f);
        }
        if (!ok) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        out += cp;
        i += 1 + extra;
    }
    return out;
}

HostString* stringOf(CCUnicodeString s)
{
    auto* p = reinterpret_cast<HostString*>(s);
    return state().strings.count(p) ? p : nullptr;
}

HostPath* pathOf(CCFilePath h)
{
    auto* p = reinterpret_cast<HostPath*>(h);
    return state().paths.count(p) ? p : nullptr;
}

CCErr newString(std::string utf8, CCUnicodeString* string)
{
    auto s = std::make_unique<HostString>();
    s->utf32 = decodeUtf8(utf8);
    s->utf8 = std::move(utf8);
    state().strings.insert(s.get());
    *string = reinterpret_cast<CCUnicodeString>(s.release());
    return kCCNoErr;
}

CCErr newPath(std::filesystem::path path, CCFilePath* out)
{
    auto p = std::make_unique<HostPath>();
    p->path = std::move(path);
    state().paths.insert(p.get());
    *out = reinterpret_cast<CCFilePath>(p.release());
    return kCCNoErr;
}

CCErr NewFromUTF8(const char* text, CCUnicodeString* string)
{
    if (!Host::current())
        return kCCCantErr;
    if (!text || !string)
        return kCCBadParameterErr;
    return guarded([&] { return newString(text, string); });
}

CCErr DisposeString(CCUnicodeString string)
{
    HostString* s = stringOf(string);
    if (!s)
        return kCCStaleHandleErr;
    state().strings.erase(s);
    delete s;
    return kCCNoErr;
}

CCErr GetUTF8(CCUnicodeString string, const char** text)
{
    HostString* s = stringOf(string);
    if (!s)
        return kCCStaleHandleErr;
    if (!text)
        return kCCBadParameterErr;
    *text = s->utf8.c_str();
    return kCCNoErr;
}

CCErr GetUTF32(CCUnicodeString string, const uint32_t** codePoints, size_t* length)
{
    HostString* s = stringOf(string);
    if (!s)
        return kCCStaleHandleErr;
    if (!codePoints || !length)
        return kCCBadParameterErr;
    static_assert(sizeof(char32_t) == sizeof(uint32_t));
    *codePoints = reinterpret_cast<const uint32_t*>(s->utf32.data());
    *length = s->utf32.size();
    return kCCNoErr;
}

CCErr NewFilePath(CCUnicodeString text, CCFilePath* path)
{
    HostString* s = stringOf(text);
    if (!s)
        return kCCStaleHandleErr;
    if (!path)
        return kCCBadParameterErr;
    return guarded([&] { return newPath(std::filesystem::path(s->utf8), path); });
}

CCErr DisposeFilePath(CCFilePath path)
{
    HostPath* p = pathOf(path);
    if (!p)
        return kCCStaleHandleErr;
    state().paths.erase(p);
    delete p;
    return kCCNoErr;
}

CCErr AddComponent(CCFilePath path, CCUnicodeString component)
{
    HostPath* p = pathOf(path);
    HostString* s = stringOf(component);
    if (!p || !s)
        return kCCStaleHandleErr;
    // One component: a name, not a path of its own.
    if (s->utf8.empty() || s->utf8.find('/') != std::string::npos || s->utf8 == "." || s->utf8 == "..")
        return kCCBadParameterErr;
    return guarded([&] {
        p->path /= s->utf8;
        return kCCNoErr;
    });
}

CCBool32 Exists(CCFilePath path)
{
    HostPath* p = pathOf(path);
    std::error_code ec;
    return p && std::filesystem::exists(p->path, ec) ? 1 : 0;
}

CCErr GetFullPath(CCFilePath path, CCUnicodeString* text)
{
    HostPath* p = pathOf(path);
    if (!p)
        return kCCStaleHandleErr;
    if (!text)
        return kCCBadParameterErr;
    return guarded([&] {
        std::error_code ec;
        std::filesystem::path full = std::filesystem::absolute(p->path, ec);
        return newString((ec ? p->path : full).string(), text);
    });
}

CCErr FindFolder(int32_t type, CCBool32 create, CCFilePath* folder)
{
    Host* host = Host::current();
    if (!host)
        return kCCCantErr;
    if (!folder)
        return kCCBadParameterErr;
    return guarded([&] {
        std::filesystem::path dir;
        if (type == kCCApplicationFolder)
            dir = host->applicationFolder();
        else if (type == kCCPreferencesFolder)
            dir = host->impl().options.preferencesFile.parent_path();
        else
            return kCCBadParameterErr;
        if (create && !dir.empty()) {
            std::error_code ec;
            std::filesystem::create_directories(dir, ec);
        }
        return newPath(dir, folder);
    });
}

} // namespace

const CCUnicodeStringSuite& unicodeString()
{
    static const CCUnicodeStringSuite table{NewFromUTF8, DisposeString, GetUTF8, GetUTF32};
    return table;
}

const CCFilePathSuite& filePath()
{
    static const CCFilePathSuite table{NewFilePath, DisposeFilePath, AddComponent, Exists, GetFullPath};
    return table;
}

const CCFoldersSuite& folders()
{
    static const CCFoldersSuite table{FindFolder};
    return table;
}

int liveFileObjects()
{
    return static_cast<int>(state().strings.size() + state().paths.size());
}

} // namespace minihost::suites
