// The platform debugger channel the plug-in writes its diagnostics to. The plug-in finds it with
// dlsym(RTLD_DEFAULT), so the executable exports it.
#include "Host.h"

#include <cstdio>
#include <string>

extern "C" __attribute__((visibility("default"))) void OutputDebugStringA(const char* text)
{
    if (!text)
        return;
    std::string line(text);
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    if (minihost::Host* host = minihost::Host::current())
        host->emit("debug", line);
    else
        std::fprintf(stderr, "debug %s\n", line.c_str());
}
