#include "PluginLoader_p.h"

#include <dlfcn.h>
#include <pugixml.hpp>

#include <algorithm>
#include <system_error>
#include <vector>

namespace minihost {

namespace fs = std::filesystem;

fs::path PropertyList::libraryPath() const
{
    return file.parent_path() / library;
}

bool readPropertyList(const fs::path& file, PropertyList& out, std::string& error)
{
    pugi::xml_document xml;
    pugi::xml_parse_result parsed = xml.load_file(file.c_str());
    if (!parsed) {
        error = file.string() + ": malformed property list: " + parsed.description() + " at offset " +
                std::to_string(parsed.offset);
        return false;
    }
    pugi::xml_node root = xml.child("pipl");
    if (!root) {
        error = file.string() + ": malformed property list: no <pipl> element";
        return false;
    }
    PropertyList list;
    list.file = file;
    struct Field {
        const char* tag;
        std::string* value;
    };
    for (Field f : {Field{"kind", &list.kind}, Field{"name", &list.name}, Field{"entry", &list.entry},
                    Field{"library", &list.library}}) {
        pugi::xml_node node = root.child(f.tag);
        *f.value = node.child_value();
        if (!node || f.value->empty()) {
            error = file.string() + ": malformed property list: missing <" + f.tag + ">";
            return false;
        }
    }
    out = std::move(list);
    return true;
}

CCErr findPlugin(const fs::path& dir, const std::string& name, PropertyList& out, std::string& error)
{
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        error = dir.string() + ": plug-ins folder not found";
        return kCCCantErr;
    }
    // Candidates in a stable order: the folder itself, then its sub-folders by name.
    std::vector<fs::path> candidates;
    if (fs::is_regular_file(dir / "PiPL.xml", ec))
        candidates.push_back(dir / "PiPL.xml");
    std::vector<fs::path> subdirs;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory(ec))
            subdirs.push_back(it->path());
    std::sort(subdirs.begin(), subdirs.end());
    for (const fs::path& sub : subdirs)
        if (fs::is_regular_file(sub / "PiPL.xml", ec))
            candidates.push_back(sub / "PiPL.xml");

    std::string malformed;
    for (const fs::path& file : candidates) {
        PropertyList list;
        std::string why;
        if (!readPropertyList(file, list, why)) {
            if (malformed.empty())
                malformed = why;
            continue;
        }
        if (list.kind == "SPEA" && list.name == name) {
            out = std::move(list);
            return kCCNoErr;
        }
    }
    if (!malformed.empty()) {
        error = malformed;
        return kCCBadParameterErr;
    }
    error = dir.string() + ": no plug-in named \"" + name + "\"";
    return kCCCantErr;
}

CCErr openLibrary(const fs::path& library, const std::string& entry, void*& handle, CCPluginMainProc& proc,
                  std::string& error)
{
    void* lib = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        const char* why = dlerror();
        error = library.string() + ": cannot load the plug-in library: " + (why ? why : "unknown error");
        return kCCCantErr;
    }
    void* sym = dlsym(lib, entry.c_str());
    if (!sym) {
        dlclose(lib);
        error = library.string() + ": the plug-in library has no entry point \"" + entry + "\"";
        return kCCNotImplementedErr;
    }
    handle = lib;
    proc = reinterpret_cast<CCPluginMainProc>(sym);
    return kCCNoErr;
}

void closeLibrary(void* handle)
{
    if (handle)
        dlclose(handle);
}

} // namespace minihost
