// The `curvicraft` command: a thin front end over the minimal host.
//   curvicraft play FILE   run a session script (exit 0, 1 when the script cannot be read, 2 on a script error)
//   curvicraft info FILE   print a document's tree (exit 0, or 1 for a bad file)
//   curvicraft round IN... (-o OUT | --out-dir DIR) [--convex L] [--concave L] [--ignore-above DEG] [--selected-only]
//                          [--compare SHEET.png]
//                          Smart Rounding of whole documents (exit 0, 1 when a file failed, 2 for bad options)
//   curvicraft render IN -o OUT.png [--width PX] [--show-anchors]
//                          a picture of a document (exit 0, 1 for a bad file or picture)
#include "Host.h"
#include "Round.h"
#include "Session.h"
#include "io/DocumentFile.h"
#include "io/DocumentInfo.h"
#include "render/Render.h"

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

int render(const std::string& in, const std::string& out, int width, bool showAnchors)
{
    try {
        minihost::render::RenderOptions options;
        options.width = width;
        options.showSelection = showAnchors;
        minihost::render::writePng(minihost::render::renderDocument(*minihost::DocumentFile::load(in), options), out);
        return 0;
    } catch (const std::exception& e) {
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

    cli::RoundOptions round;
    CLI::App* roundCmd = app.add_subcommand("round", "Smart Rounding of whole documents (.svg or .json)");
    roundCmd->add_option("IN", round.inputs, "Documents to round")->required();
    roundCmd->add_option("-o", round.output, "The output document (one input)");
    roundCmd->add_option("--out-dir", round.outputDir, "Folder for the outputs, named as the inputs");
    roundCmd->add_option("--convex", round.convex, "Most length along a convex corner (points, or 5mm, 0.1in, 2px)");
    roundCmd->add_option("--concave", round.concave, "Most length along a concave corner");
    roundCmd->add_option("--ignore-above", round.angle, "Leave corners with an inner angle this wide or wider (degrees)");
    roundCmd->add_flag("--selected-only", round.selectedOnly, "Keep the file's selection; round anchors in state 1 only");
    roundCmd->add_option("--compare", round.compareSheet, "Also write a before/after sheet of the documents (PNG)");
    roundCmd->add_option("--plugins", pluginsDir, "Folder searched for the plug-in");

    std::string renderIn, renderOut;
    int renderWidth = 0;
    bool showAnchors = false;
    CLI::App* renderCmd = app.add_subcommand("render", "Draw a document (.json or .svg) to a PNG picture");
    renderCmd->add_option("IN", renderIn, "The document")->required();
    renderCmd->add_option("-o", renderOut, "The picture (.png)")->required();
    renderCmd->add_option("--width", renderWidth, "Width of the picture in pixels (default: one pixel a point)")
        ->check(CLI::Range(1, minihost::render::kMaxSide));
    renderCmd->add_flag("--show-anchors", showAnchors, "Draw the selection: selected paths with their anchors and handles");

    CLI11_PARSE(app, argc, argv);

    if (*infoCmd)
        return info(document);
    if (*renderCmd)
        return render(renderIn, renderOut, renderWidth, showAnchors);
    if (*roundCmd) {
        if (!pluginsDir.empty())
            round.host.pluginsDir = pluginsDir;
        return cli::runRound(round);
    }
    if (!pluginsDir.empty())
        options.pluginsDir = pluginsDir;
    if (!appDir.empty())
        options.appDir = appDir;
    if (!preferences.empty())
        options.preferencesFile = preferences;
    return play(script, options);
}
