// Round Fillet drag steps as the host delivers them: each step is one "AI Mouse Drag" through PluginMain
// (guide disposal, cursor, revert, hit test, rebuild of the corner, new guide, label), timed one by one.
//
// The filleted path has a square corner at (100, 100) followed by a row of anchors, so a step reads,
// hit-tests and rewrites a path of the given size; the document may also hold many small paths elsewhere.
// The floor is one copy of the path's segments out of the host, measured in the same run; the host's own
// hit test at the drag point is timed too, since a step runs it twice (cursor and tool) and its cost is
// the host's. Times are the thread's CPU time, so that other work on a shared machine does not count;
// the wall-clock median is given beside them.
#include "Document.h"
#include "Host.h"

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double threadMicroseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// CPU and wall time of one call, in microseconds.
template <class F> std::pair<double, double> timed(F&& f)
{
    const double c0 = threadMicroseconds();
    const auto w0 = Clock::now();
    f();
    const double wall = std::chrono::duration<double, std::micro>(Clock::now() - w0).count();
    return {threadMicroseconds() - c0, wall};
}

struct StepFigures {
    double median = 0, p99 = 0, wallMedian = 0, floor = 0, hitTest = 0; // microseconds
    bool filleted = false;
};

std::map<std::pair<int, int>, StepFigures> gResults;

double percentile(std::vector<double> samples, double q)
{
    std::sort(samples.begin(), samples.end());
    const auto i = static_cast<std::size_t>(std::ceil(q * static_cast<double>(samples.size()))) - 1;
    return samples[std::min(i, samples.size() - 1)];
}

// A square corner at (100, 100) between (100, 0) and (0, 100), then a row of anchors below y = 0 and
// back, anchors in all. Closed, selected.
minihost::ObjectId addCornerPath(minihost::Document& doc, int anchors)
{
    const minihost::ObjectId id = doc.create(kCCPathArt, kCCPlaceInsideOnTop, 0);
    minihost::Art* art = doc.edit(id);
    auto anchor = [&](double x, double y) { art->segments.push_back(CCPathSegment{{x, y}, {x, y}, {x, y}, 1}); };
    anchor(100, 0);
    anchor(100, 100);
    anchor(0, 100);
    for (int i = 3; i < anchors; ++i)
        anchor(-10 - 0.01 * i, (i % 2 == 0) ? -10 : -20);
    art->selection.assign(art->segments.size(), kCCSegmentNotSelected);
    art->closed = true;
    doc.setAttrs(id, kCCArtSelected, kCCArtSelected);
    return id;
}

// Small closed squares in a grid away from the corner.
void addOtherPaths(minihost::Document& doc, int count)
{
    for (int i = 0; i < count; ++i) {
        const double x = 300 + 3.0 * (i % 100), y = 300 + 3.0 * (i / 100);
        const minihost::ObjectId id = doc.create(kCCPathArt, kCCPlaceInsideOnTop, 0);
        minihost::Art* art = doc.edit(id);
        for (auto [dx, dy] : {std::pair{0.0, 0.0}, {2.0, 0.0}, {2.0, 2.0}, {0.0, 2.0}})
            art->segments.push_back(CCPathSegment{{x + dx, y + dy}, {x + dx, y + dy}, {x + dx, y + dy}, 1});
        art->selection.assign(4, kCCSegmentNotSelected);
        art->closed = true;
    }
}

void BM_RoundFilletDragStep(benchmark::State& state)
{
    const int anchors = static_cast<int>(state.range(0));
    const int others = static_cast<int>(state.range(1));

    minihost::Host host;
    host.setOutput([](const std::string&) {});
    auto document = std::make_unique<minihost::Document>();
    document->addLayer("Layer 1");
    minihost::Document& doc = *document;
    const minihost::ObjectId path = addCornerPath(doc, anchors);
    addOtherPaths(doc, others);
    host.setDocument(std::move(document));
    if (host.loadPlugin() != kCCNoErr || host.startup() != kCCNoErr ||
        host.selectTool(host.findTool("Round Fillet tool")) != kCCNoErr) {
        state.SkipWithError("the plug-in did not start");
        return;
    }

    // The floor: one copy of the path's segments through the host's path suite.
    const CCPathSuite* paths = nullptr;
    host.basicSuite()->AcquireSuite(kCCPathSuite, kCCPathSuiteVersion, reinterpret_cast<const void**>(&paths));
    std::vector<CCPathSegment> copy(static_cast<std::size_t>(anchors));
    const CCArtHandle handle = minihost::toHandle(path);
    std::vector<double> floorSamples;
    for (int i = 0; i < 200; ++i) {
        floorSamples.push_back(timed([&] {
                                   paths->GetPathSegments(handle, 0, static_cast<std::int16_t>(anchors), copy.data());
                                   benchmark::DoNotOptimize(copy.data());
                               }).first);
    }

    // The host's hit test alone, at the drag point.
    const CCHitTestSuite* hitTest = nullptr;
    host.basicSuite()->AcquireSuite(kCCHitTestSuite, kCCHitTestSuiteVersion, reinterpret_cast<const void**>(&hitTest));
    std::vector<double> hitSamples;
    const CCRealPoint dragPoint{100 - 30 * std::sqrt(0.5), 100 - 30 * std::sqrt(0.5)};
    for (int i = 0; i < 200; ++i) {
        CCHitData hit{};
        hitSamples.push_back(timed([&] { hitTest->HitTest(nullptr, &dragPoint, kCCHitTool, &hit); }).first);
    }

    host.mouseDown(CCRealPoint{100, 100});
    std::vector<double> samples, wallSamples;
    int step = 0;
    for (auto _ : state) {
        // Alternate between two drag lengths along the bisector so every step changes the fillet.
        const double length = (step++ % 2 == 0) ? 30 : 40;
        const CCRealPoint cursor{100 - length * std::sqrt(0.5), 100 - length * std::sqrt(0.5)};
        const auto [cpu, wall] = timed([&] { host.mouseDrag(cursor); });
        samples.push_back(cpu);
        wallSamples.push_back(wall);
    }
    StepFigures figures;
    figures.filleted = doc.get(path)->segments.size() == static_cast<std::size_t>(anchors) + 2;
    host.mouseUp(CCRealPoint{100 - 30 * std::sqrt(0.5), 100 - 30 * std::sqrt(0.5)});
    host.basicSuite()->ReleaseSuite(kCCPathSuite, kCCPathSuiteVersion);
    host.basicSuite()->ReleaseSuite(kCCHitTestSuite, kCCHitTestSuiteVersion);

    figures.median = percentile(samples, 0.5);
    figures.p99 = percentile(samples, 0.99);
    figures.wallMedian = percentile(wallSamples, 0.5);
    figures.floor = percentile(floorSamples, 0.5);
    figures.hitTest = percentile(hitSamples, 0.5);
    gResults[{anchors, others}] = figures;
    state.counters["median_us"] = figures.median;
    state.counters["p99_us"] = figures.p99;
    state.counters["floor_us"] = figures.floor;
    state.counters["wall_us"] = figures.wallMedian;
    state.counters["hittest_us"] = figures.hitTest;
    state.counters["ratio"] = figures.median / figures.floor;
    state.counters["filleted"] = figures.filleted ? 1 : 0;
}

// 32,765 anchors is the largest path a fillet fits in (it adds two, up to the host's 32,767); at 32,767
// the step computes the fillet and refuses to write it.
BENCHMARK(BM_RoundFilletDragStep)
    ->ArgsProduct({{1000, 4000, 16000, 32765, 32767}, {0, 1000, 10000}})
    ->ArgNames({"anchors", "others"})
    ->Iterations(400)
    ->Unit(benchmark::kMicrosecond);

void printSummary()
{
    std::printf("\nRound Fillet drag step (microseconds of CPU time; wall = wall-clock median)\n");
    std::printf("%8s %7s %9s %9s %9s %9s %9s %7s\n", "anchors", "others", "median", "p99", "wall", "hit test", "floor",
                "ratio");
    for (const auto& [key, f] : gResults)
        std::printf("%8d %7d %9.1f %9.1f %9.1f %9.1f %9.2f %7.1f %s\n", key.first, key.second, f.median, f.p99,
                    f.wallMedian, f.hitTest, f.floor, f.median / f.floor,
                    f.filleted ? "" : "(refused: no room for two anchors)");
    auto median = [](int anchors, int others) {
        auto it = gResults.find({anchors, others});
        return it == gResults.end() ? NAN : it->second.median;
    };
    std::printf("growth with the path, 1,000 -> 32,765 anchors: x%.1f (x32.8 would be linear)\n",
                median(32765, 0) / median(1000, 0));
    std::printf("growth with the document, 0 -> 10,000 other paths: x%.2f at 1,000 anchors, x%.2f at 32,765\n",
                median(1000, 10000) / median(1000, 0), median(32765, 10000) / median(32765, 0));
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    printSummary();
    return 0;
}
