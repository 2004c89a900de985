// `curvicraft round`: Smart Rounding of whole documents, many at once, through the real plug-in.
#pragma once

#include "Host.h"

#include <optional>
#include <string>
#include <vector>

namespace cli {

struct RoundOptions {
    std::vector<std::string> inputs;
    std::string output;    // -o: one input only
    std::string outputDir; // --out-dir
    std::string convex = "5", concave = "2.5";
    std::string angle = "180";
    bool selectedOnly = false;
    std::string compareSheet; // --compare: a PNG of every document before and after, side by side
    minihost::HostOptions host;
};

// A length in points: a number, optionally followed by pt, px, in, mm, cm or pc. Nothing for anything else
// (negative, not finite, unknown unit).
std::optional<double> parseLength(const std::string& text);

// Rounds every input and writes its output; prints a message for each failed file and a one-line summary.
// With compareSheet, also writes the before/after sheet of the files that were rounded.
// 0 when every file was rounded and written, 1 when any failed, 2 for bad options.
int runRound(const RoundOptions& options);

} // namespace cli
