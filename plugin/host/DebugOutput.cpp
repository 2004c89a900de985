#include "DebugOutput.h"

#include <cstdio>
#include <dlfcn.h>

namespace curvicraft {

namespace {

using OutputDebugStringProc = void (*)(const char*);

// Looked up at every call: the library may be reopened into a process whose exports changed,
// and a cached pointer would not survive that anyway.
OutputDebugStringProc debuggerChannel() noexcept
{
    void* symbol = dlsym(RTLD_DEFAULT, "OutputDebugStringA");
    return reinterpret_cast<OutputDebugStringProc>(symbol);
}

} // namespace

void writeDebugOutput(const char* text) noexcept
{
    if (!text)
        return;
    if (OutputDebugStringProc channel = debuggerChannel()) {
        channel(text);
        return;
    }
    std::fputs(text, stderr);
}

} // namespace curvicraft
