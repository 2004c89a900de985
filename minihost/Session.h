// The session script interpreter (`curvicraft play FILE`).
//
// One command per line; blanks separate words, `#` starts a comment, a double-quoted part of a word may
// hold blanks (\" and \\ escape inside it). Relative file names are taken from the script's folder.
// A session drives a Host: it loads the plug-in and sends "Startup" before the first command and "Shutdown"
// at the end; every line the host emits, and whatever `print` prints, goes to the session's output.
// The first failing command stops the script with "FILE:LINE: message".
//
// Commands live in one table (Session::commands()); a new command is one entry there.
#pragma once

#include "Document.h"

#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace minihost {

class Host;

// A command that cannot run; the interpreter adds the script's name and line.
class ScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The words of one script line; throws ScriptError on an unterminated quote.
std::vector<std::string> splitScriptLine(std::string_view line);

class Session {
  public:
    using Words = std::vector<std::string>; // a command's arguments, without its name

    struct Command {
        const char* name;
        const char* usage;
        int minArgs;
        int maxArgs; // -1: any number
        void (*run)(Session& session, const Words& args);
    };
    static const std::vector<Command>& commands();

    // Exit statuses of run and runFile.
    static constexpr int kOk = 0;
    static constexpr int kBadFile = 1;     // the script cannot be read, or the plug-in does not start
    static constexpr int kScriptError = 2; // a command failed

    Session(Host& host, std::ostream& out, std::ostream& err);

    int runFile(const std::filesystem::path& script);
    // Runs script text as if it were read from `script`.
    int run(std::string_view text, const std::filesystem::path& script);

    // ---- services for the commands ----
    Host& host() { return host_; }
    Document& document(); // throws ScriptError when no document is open
    std::filesystem::path resolve(const std::string& name) const;
    ObjectId object(const std::string& id); // the object with that document id; throws when there is none
    void print(const std::string& text);    // to the session's output, as it is
    // A number word; throws ScriptError naming `what` unless it is a finite decimal within +-1e15.
    static double number(const std::string& word, const char* what);

  private:
    Host& host_;
    std::ostream& out_;
    std::ostream& err_;
    std::filesystem::path folder_;
};

} // namespace minihost
