// What the built module shows the dynamic loader: its only export is PluginMain, and it needs no
// library beyond the C++ runtime and the C library (plus the sanitizer runtimes in that build).
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> outputLines(const std::string& command)
{
    std::vector<std::string> lines;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return lines;
    }
    char buffer[1024];
    std::string text;
    while (std::fgets(buffer, sizeof buffer, pipe))
        text += buffer;
    EXPECT_EQ(pclose(pipe), 0) << command;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

const std::string kModule = CURVICRAFT_PLUGIN_PATH;

} // namespace

TEST(ModuleExports, OnlyPluginMain)
{
    std::vector<std::string> symbols;
    for (const std::string& line : outputLines("nm -D --defined-only '" + kModule + "'")) {
        std::istringstream fields(line);
        std::string address, type, name;
        fields >> address >> type >> name;
        symbols.push_back(type + " " + name);
    }
    EXPECT_EQ(symbols, (std::vector<std::string>{"T PluginMain"}));
}

TEST(ModuleExports, NeedsOnlyTheRuntimeLibraries)
{
    std::string allowed = R"(libstdc\+\+\.so\.6|libm\.so\.6|libgcc_s\.so\.1|libc\.so\.6|ld-linux[-a-z0-9_.]*\.so\.[0-9]+)";
#if defined(__SANITIZE_ADDRESS__)
    allowed += R"(|libasan\.so\.[0-9]+|libubsan\.so\.[0-9]+)";
#endif
    const std::regex needed(R"(.*\(NEEDED\).*\[(.*)\])");
    const std::regex permitted("^(" + allowed + ")$");
    std::vector<std::string> libraries;
    for (const std::string& line : outputLines("readelf -d '" + kModule + "'")) {
        std::smatch match;
        if (std::regex_match(line, match, needed))
            libraries.push_back(match[1]);
    }
    ASSERT_FALSE(libraries.empty()) << "readelf found no NEEDED entries";
    for (const std::string& library : libraries)
        EXPECT_TRUE(std::regex_match(library, permitted)) << library;
}
