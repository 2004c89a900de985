#include "Round.h"

#include "Commands.h"
#include "io/DocumentFile.h"
#include "render/Render.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <set>
#include <unistd.h>

namespace cli {

namespace fs = std::filesystem;

namespace {

constexpr int kFailed = 1;
constexpr int kBadOptions = 2;
constexpr const char* kActionName = "Orvo_SmartRound_Action";
constexpr std::int32_t fourcc(const char (&s)[5])
{
    return static_cast<std::int32_t>((std::uint32_t(std::uint8_t(s[0])) << 24) |
                                     (std::uint32_t(std::uint8_t(s[1])) << 16) |
                                     (std::uint32_t(std::uint8_t(s[2])) << 8) | std::uint32_t(std::uint8_t(s[3])));
}

bool lockedOrHidden(const minihost::Art& a)
{
    return (a.attrs & (kCCArtLocked | kCCArtHidden)) != 0;
}

bool hasLockedOrHiddenInside(const minihost::Document& doc, minihost::ObjectId id)
{
    for (minihost::ObjectId c : doc.children(id))
        if (lockedOrHidden(*doc.get(c)) || hasLockedOrHiddenInside(doc, c))
            return true;
    return false;
}

// Selects an object wholly, as a click does; locked and hidden objects inside it stay unselected.
void clickSelect(minihost::Document& doc, minihost::ObjectId id)
{
    if (lockedOrHidden(*doc.get(id)))
        return;
    if (!hasLockedOrHiddenInside(doc, id)) {
        doc.selectWhole(id);
        return;
    }
    for (minihost::ObjectId c : doc.children(id))
        clickSelect(doc, c);
}

// Selects everything a user could click on the editable, visible layers (the host's Select All), so the
// filter command and this command see the same selection.
void selectAll(minihost::Document& doc)
{
    doc.deselectAll();
    for (const minihost::Layer& l : doc.layers())
        if (l.editable && l.visible)
            for (minihost::ObjectId c : doc.children(l.group))
                clickSelect(doc, c);
}

struct PathSnapshot {
    minihost::ObjectId id;
    std::set<std::pair<double, double>> anchors;
};

// The selected paths with their anchor positions, to count the corners that were replaced.
std::vector<PathSnapshot> selectedPaths(const minihost::Document& doc)
{
    std::vector<PathSnapshot> out;
    doc.walk([&](const minihost::Art& a) {
        if (a.type == kCCPathArt && (a.attrs & kCCArtSelected)) {
            PathSnapshot s{a.id, {}};
            for (const auto& seg : a.segments)
                s.anchors.insert({seg.anchor.x, seg.anchor.y});
            out.push_back(std::move(s));
        }
        return true;
    });
    return out;
}

int replacedAnchors(const minihost::Document& doc, const std::vector<PathSnapshot>& before)
{
    int count = 0;
    for (const PathSnapshot& s : before) {
        const minihost::Art* a = doc.get(s.id);
        if (!a)
            continue;
        std::set<std::pair<double, double>> now;
        for (const auto& seg : a->segments)
            now.insert({seg.anchor.x, seg.anchor.y});
        for (const auto& p : s.anchors)
            count += now.count(p) ? 0 : 1;
    }
    return count;
}

void drawProgress(std::size_t done, std::size_t total, const std::string& name)
{
    constexpr int kWidth = 30;
    const int filled = total ? static_cast<int>(kWidth * done / total) : kWidth;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kWidth, ' ');
    std::fprintf(stderr, "\r[%s] %zu/%zu %-40.40s", bar.c_str(), done, total, name.c_str());
    std::fflush(stderr);
}

} // namespace

std::optional<double> parseLength(const std::string& text)
{
    struct Unit {
        const char* suffix;
        double points;
    };
    static constexpr Unit kUnits[] = {{"pt", 1},         {"px", 1},         {"in", 72},
                                      {"mm", 72 / 25.4}, {"cm", 72 / 2.54}, {"pc", 12}};
    std::string number = text;
    double scale = 1;
    for (const Unit& u : kUnits) {
        const std::string suffix = u.suffix;
        if (number.size() > suffix.size() &&
            number.compare(number.size() - suffix.size(), suffix.size(), suffix) == 0) {
            number.resize(number.size() - suffix.size());
            scale = u.points;
            break;
        }
    }
    if (number.empty())
        return std::nullopt;
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(number, &used);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (used != number.size() || !std::isfinite(value) || value < 0 || value > 1e6)
        return std::nullopt;
    return value * scale;
}

int runRound(const RoundOptions& options)
{
    const auto convex = parseLength(options.convex), concave = parseLength(options.concave);
    if (!convex || !concave) {
        std::cerr << "curvicraft round: the lengths must be non-negative numbers of points or of pt, px, in, mm, cm, pc"
                  << " (got \"" << (convex ? options.concave : options.convex) << "\")\n";
        return kBadOptions;
    }
    double degrees = 0;
    try {
        std::size_t used = 0;
        degrees = std::stod(options.angle, &used);
        if (used != options.angle.size() || !(degrees >= 0 && degrees <= 180))
            throw std::invalid_argument("range");
    } catch (const std::exception&) {
        std::cerr << "curvicraft round: --ignore-above must be an angle from 0 to 180 degrees (got \"" << options.angle
                  << "\")\n";
        return kBadOptions;
    }
    if (options.output.empty() == options.outputDir.empty()) {
        std::cerr << "curvicraft round: give either -o OUT or --out-dir DIR\n";
        return kBadOptions;
    }
    if (!options.output.empty() && options.inputs.size() != 1) {
        std::cerr << "curvicraft round: -o takes one input; use --out-dir for several\n";
        return kBadOptions;
    }
    if (!options.outputDir.empty()) {
        std::set<std::string> names;
        for (const std::string& input : options.inputs)
            if (!names.insert(fs::path(input).filename().string()).second) {
                std::cerr << "curvicraft round: two inputs are named " << fs::path(input).filename()
                          << "; their outputs would overwrite each other in " << options.outputDir << '\n';
                return kBadOptions;
            }
        std::error_code ec;
        fs::create_directories(options.outputDir, ec);
        if (!fs::is_directory(options.outputDir)) {
            std::cerr << "curvicraft round: cannot make the folder " << options.outputDir << '\n';
            return kBadOptions;
        }
    }

    const auto start = std::chrono::steady_clock::now();
    minihost::Host host(options.host);
    host.setOutput([](const std::string& line) { std::cerr << line << '\n'; });
    if (CCErr err = host.loadPlugin(); err != kCCNoErr || host.startup() != kCCNoErr) {
        std::cerr << "curvicraft round: the plug-in did not start (" << err << ")\n";
        return kFailed;
    }

    minihost::ActionParams params;
    params[fourcc("selP")] = minihost::ActionValue{kCCActionTypeBool, 0, options.selectedOnly, 0};
    params[fourcc("nLen")] = minihost::ActionValue{kCCActionTypeReal, kCCActionUnitPixels, false, *convex};
    params[fourcc("uLen")] = minihost::ActionValue{kCCActionTypeReal, kCCActionUnitPixels, false, *concave};
    params[fourcc("eAgl")] = minihost::ActionValue{kCCActionTypeReal, kCCActionUnitAngle, false, degrees};

    // Each document of the sheet is drawn this many pixels wide.
    constexpr int kSheetColumn = 320;
    minihost::render::RenderOptions sheetOptions;
    sheetOptions.width = kSheetColumn;
    std::vector<std::pair<minihost::render::Picture, minihost::render::Picture>> sheet;

    const bool progress = options.inputs.size() > 1 && ::isatty(STDERR_FILENO);
    std::size_t failed = 0, paths = 0, done = 0;
    long corners = 0;
    for (const std::string& input : options.inputs) {
        if (progress)
            drawProgress(done, options.inputs.size(), fs::path(input).filename().string());
        const fs::path out = options.output.empty() ? fs::path(options.outputDir) / fs::path(input).filename()
                                                    : fs::path(options.output);
        try {
            host.setDocument(minihost::DocumentFile::load(input));
            minihost::Document& doc = host.document();
            minihost::render::Picture pictureBefore;
            if (!options.compareSheet.empty())
                pictureBefore = minihost::render::renderDocument(doc, sheetOptions);
            if (!options.selectedOnly)
                selectAll(doc);
            const auto before = selectedPaths(doc);
            if (CCErr err = minihost::playAction(host, kActionName, params, false))
                throw std::runtime_error(input + ": the plug-in refused the rounding (" + std::to_string(err) + ")");
            paths += before.size();
            corners += replacedAnchors(doc, before);
            // The selection this command made is not the user's: the output keeps none (with --selected-only
            // it keeps the file's own).
            if (!options.selectedOnly)
                doc.deselectAll();
            minihost::DocumentFile::save(doc, out);
            if (!options.compareSheet.empty())
                sheet.emplace_back(std::move(pictureBefore), minihost::render::renderDocument(doc, sheetOptions));
        } catch (const std::exception& e) {
            ++failed;
            if (progress)
                std::fputs("\r\033[K", stderr);
            std::cerr << e.what() << '\n';
        }
        host.setDocument(nullptr);
        ++done;
    }
    if (progress) {
        drawProgress(done, options.inputs.size(), "");
        std::fputs("\n", stderr);
    }
    host.shutdown();
    bool sheetFailed = false;
    if (!options.compareSheet.empty()) {
        try {
            minihost::render::writePng(minihost::render::beforeAfterSheet(sheet), options.compareSheet);
        } catch (const std::exception& e) {
            sheetFailed = true;
            std::cerr << e.what() << '\n';
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char summary[200];
    std::snprintf(summary, sizeof summary, "%zu files, %zu paths, %ld corners rounded, %.2f s",
                  options.inputs.size() - failed, paths, corners, seconds);
    std::cout << summary;
    if (failed)
        std::cout << "; " << failed << " failed";
    std::cout << '\n';
    return failed || sheetFailed ? kFailed : 0;
}

} // namespace cli
