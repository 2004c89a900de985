// Finds a plug-in by its property list and opens its library.
#pragma once

#include "cc_messages.h"

#include <filesystem>
#include <string>

namespace minihost {

// What a plug-in's property list (PiPL.xml) declares.
struct PropertyList {
    std::filesystem::path file;
    std::string kind;
    std::string name;
    std::string entry;
    std::string library;
    std::filesystem::path libraryPath() const; // the library, taken beside the property list
};

// Reads one property list; false with a message naming the file when it is malformed.
bool readPropertyList(const std::filesystem::path& file, PropertyList& out, std::string& error);

// Scans dir and its sub-folders (one level) for the property list of the plug-in named `name`.
// Errors: kCCCantErr for a missing folder or no such plug-in, kCCBadParameterErr when the only
// candidates are malformed. The message says which.
CCErr findPlugin(const std::filesystem::path& dir, const std::string& name, PropertyList& out, std::string& error);

// dlopen (RTLD_NOW | RTLD_LOCAL) and dlsym of the entry point. kCCCantErr when the library does not
// load, kCCNotImplementedErr when it has no such entry; nothing stays open on failure.
CCErr openLibrary(const std::filesystem::path& library, const std::string& entry, void*& handle, CCPluginMainProc& proc,
                  std::string& error);
void closeLibrary(void* handle);

} // namespace minihost
