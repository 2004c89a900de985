// The `curvicraft` command: a thin front end over the minimal host.
//   curvicraft play FILE   run a session script (exit 0, 1 when the script cannot be read, 2 on a script error)
//   curvicraft info FILE   print a document's tree (exit 0, or 1 for a bad file)
#include "Host.h"
#include "Session.h"
#include "io/DocumentFile.h"
#include "io/DocumentInfo.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <map>

namespace {

constexpr int kBadFile = 1;

int info(const std::string& file)
{
    try {
        std::cout << minihost::describeDocument(*minihost::DocumentFile::load(file));
        return 0;
    } catch (const minihost::FileError& e) {
        std::cerr << e.what() << '\n';
        return kBadFile;
    }
}

int play(const std::string& script, const minihost::HostOptions& options)
{
    minihost::Host host(options);
    minihost::Session session(host, std::cout, std::cerr);
    return session.runFile(script);
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Curvicraft: precision path tools and Smart Rounding, run through the minimal host"};
    app.require_subcommand(1);

    minihost::HostOptions options;
    std::string pluginsDir, appDir, script, document;

    CLI::App* playCmd = app.add_subcommand("play", "Run a session script");
    playCmd->add_option("FILE", script, "The script (.play)")->required();
    playCmd->add_option("--plugins", pluginsDir, "Folder searched for the plug-in");
    playCmd->add_option("--app", appDir, "The host's application folder");
    std::map<std::string, minihost::PanelLibrary> panelLibraries{{"installed", minihost::PanelLibrary::Installed},
                                                                 {"none", minihost::PanelLibrary::Absent},
                                                                 {"partial", minihost::PanelLibrary::LacksEntry}};
    playCmd->add_option("--panel-library", options.panelLibrary,
                        "The extension event library the host offers: installed, none, or partial (one entry missing)")
        ->transform(CLI::CheckedTransformer(panelLibraries, CLI::ignore_case));
    std::string preferences;
    playCmd->add_option("--preferences", preferences, "The host's preferences file");

    CLI::App* infoCmd = app.add_subcommand("info", "Print the tree of a document (.json or .svg)");
    infoCmd->add_option("FILE", document, "The document")->required();

    CLI11_PARSE(app, argc, argv);

    if (*infoCmd)
        return info(document);
    if (!pluginsDir.empty())
        options.pluginsDir = pluginsDir;
    if (!appDir.empty())
        options.appDir = appDir;
    if (!preferences.empty())
        options.preferencesFile = preferences;
    return play(script, options);
}
