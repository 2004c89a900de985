// The operating system's module loader: load a library by wide-character path, resolve an entry by
// name, free it.
#pragma once

namespace curvicraft {

using ModuleHandle = void*;

// Null when the library does not load.
ModuleHandle loadModule(const wchar_t* path) noexcept;
// Null when the library has no such entry.
void* moduleEntry(ModuleHandle module, const char* name) noexcept;
void freeModule(ModuleHandle module) noexcept;

} // namespace curvicraft
