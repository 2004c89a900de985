// Smart Rounding throughput end to end: the real plug-in in minihost plays "Orvo_SmartRound_Action" on a
// document whose paths are all selected, so each iteration pays what a user's command pays (selection
// gathering, PluginMain, every suite call, the write-back). Documents are rebuilt outside the timing.
//
//   Polygons50        1,000 star polygons of 50 sharp corners (convex and concave), budgets not shared
//   OnePolygon/N      one staircase polygon of N corners with exact sides, budgets shared (N anchors after)
//   ReadWriteFloor/N  reading and writing that path once through the host's path suite: the floor
//   CurvedSides       500 circles (smooth anchors, ignored) and 500 pentagons with bulging curved sides
#include "Commands.h"
#include "Host.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace {

using namespace minihost;

constexpr std::int32_t key(const char (&s)[5])
{
    return static_cast<std::int32_t>((std::uint32_t(std::uint8_t(s[0])) << 24) |
                                     (std::uint32_t(std::uint8_t(s[1])) << 16) |
                                     (std::uint32_t(std::uint8_t(s[2])) << 8) | std::uint32_t(std::uint8_t(s[3])));
}

struct Shape {
    std::vector<CCPathSegment> segments;
};

CCPathSegment corner(double x, double y)
{
    CCRealPoint p{x, y};
    return CCPathSegment{p, p, p, 1};
}

std::vector<Shape> stars(int count, int corners)
{
    std::vector<Shape> out;
    for (int s = 0; s < count; ++s) {
        Shape shape;
        const double cx = (s % 40) * 250.0, cy = (s / 40) * 250.0;
        for (int i = 0; i < corners; ++i) {
            const double r = i % 2 ? 80 : 100, t = 2 * std::numbers::pi * i / corners;
            shape.segments.push_back(corner(cx + r * std::cos(t), cy + r * std::sin(t)));
        }
        out.push_back(std::move(shape));
    }
    return out;
}

// Steps of 10 up and to the right, then back along two long sides: every step side is exactly 10.
Shape staircase(int corners)
{
    Shape shape;
    const int steps = (corners - 2) / 2;
    double x = 0, y = 0;
    shape.segments.push_back(corner(0, 0));
    for (int i = 0; i < steps; ++i) {
        x += 10;
        shape.segments.push_back(corner(x, y));
        y += 10;
        shape.segments.push_back(corner(x, y));
    }
    shape.segments.push_back(corner(0, y));
    return shape;
}

std::vector<Shape> curvedShapes(int count)
{
    std::vector<Shape> out;
    constexpr double k = 0.5522847498;
    for (int s = 0; s < count; ++s) {
        const double cx = (s % 40) * 250.0, cy = (s / 40) * 250.0;
        Shape shape;
        if (s % 2 == 0) { // a circle of radius 50
            const double r = 50;
            const CCRealPoint p[4] = {{cx + r, cy}, {cx, cy + r}, {cx - r, cy}, {cx, cy - r}};
            for (int i = 0; i < 4; ++i) {
                const CCRealPoint t{-(p[i].y - cy) * k, (p[i].x - cx) * k}; // tangent, counter-clockwise
                shape.segments.push_back(
                    CCPathSegment{p[i], {p[i].x - t.x, p[i].y - t.y}, {p[i].x + t.x, p[i].y + t.y}, 0});
            }
        } else { // a pentagon whose sides bulge outwards
            std::vector<CCRealPoint> v;
            for (int i = 0; i < 5; ++i) {
                const double t = 2 * std::numbers::pi * i / 5;
                v.push_back({cx + 90 * std::cos(t), cy + 90 * std::sin(t)});
            }
            for (int i = 0; i < 5; ++i) {
                const CCRealPoint a = v[i], b = v[(i + 1) % 5], c = v[(i + 4) % 5];
                // Handles a third of the way along each side, pushed outwards by 15.
                auto handle = [&](const CCRealPoint& from, const CCRealPoint& to) {
                    const double dx = to.x - from.x, dy = to.y - from.y, len = std::hypot(dx, dy);
                    return CCRealPoint{from.x + dx / 3 + dy / len * 15, from.y + dy / 3 - dx / len * 15};
                };
                shape.segments.push_back(CCPathSegment{a, handle(a, c), handle(a, b), 1});
            }
        }
        out.push_back(std::move(shape));
    }
    return out;
}

// One host with the plug-in started, for the whole benchmark run.
Host& pluginHost()
{
    static std::unique_ptr<Host> host = [] {
        auto h = std::make_unique<Host>();
        h->setOutput([](const std::string&) {});
        if (h->loadPlugin() != kCCNoErr || h->startup() != kCCNoErr)
            std::abort();
        return h;
    }();
    return *host;
}

void loadShapes(Host& host, const std::vector<Shape>& shapes)
{
    auto doc = std::make_unique<Document>();
    doc->addLayer("Layer 1");
    for (const Shape& s : shapes) {
        ObjectId id = doc->create(kCCPathArt, kCCPlaceAboveAll, 0);
        Art* a = doc->edit(id);
        a->segments = s.segments;
        a->selection.assign(s.segments.size(), kCCSegmentNotSelected);
        a->closed = true;
        doc->selectWhole(id);
    }
    host.setDocument(std::move(doc));
}

ActionParams params(double convex, double concave, double degrees)
{
    return {{key("selP"), {kCCActionTypeBool, 0, false, 0}},
            {key("nLen"), {kCCActionTypeReal, kCCActionUnitPixels, false, convex}},
            {key("uLen"), {kCCActionTypeReal, kCCActionUnitPixels, false, concave}},
            {key("eAgl"), {kCCActionTypeReal, kCCActionUnitAngle, false, degrees}}};
}

std::size_t anchorCount(Host& host)
{
    std::size_t n = 0;
    host.document().walk([&](const Art& a) {
        n += a.segments.size();
        return true;
    });
    return n;
}

void run(benchmark::State& state, const std::vector<Shape>& shapes, double corners, const ActionParams& p)
{
    Host& host = pluginHost();
    std::size_t before = 0, after = 0;
    for (auto _ : state) {
        state.PauseTiming();
        loadShapes(host, shapes);
        before = anchorCount(host);
        state.ResumeTiming();
        playAction(host, "Orvo_SmartRound_Action", p, false);
        state.PauseTiming();
        after = anchorCount(host);
        state.ResumeTiming();
    }
    state.counters["corners/s"] = benchmark::Counter(corners, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["anchors_before"] = static_cast<double>(before);
    state.counters["anchors_after"] = static_cast<double>(after);
}

void Polygons50(benchmark::State& state)
{
    static const auto shapes = stars(1000, 50);
    run(state, shapes, 1000 * 50, params(2, 1, 180));
}
BENCHMARK(Polygons50)->Unit(benchmark::kMillisecond);

void OnePolygon(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::vector<Shape> shapes{staircase(n)};
    run(state, shapes, n, params(100, 100, 180));
    state.SetComplexityN(n);
}
// 7998 corners give 8000 anchors after rounding, the most a rounded path may have.
BENCHMARK(OnePolygon)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Arg(7998)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The floor for one path: read all of its records and write them back once, through the host's suite.
void ReadWriteFloor(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Host& host = pluginHost();
    loadShapes(host, {staircase(n)});
    const void* table = nullptr;
    host.basicSuite()->AcquireSuite(kCCPathSuite, kCCPathSuiteVersion, &table);
    const auto* path = static_cast<const CCPathSuite*>(table);
    CCArtHandle art = nullptr;
    host.document().walk([&](const Art& a) {
        if (a.type == kCCPathArt)
            art = toHandle(a.id);
        return art == nullptr;
    });
    std::vector<CCPathSegment> buffer(static_cast<std::size_t>(n));
    for (auto _ : state) {
        std::int16_t count = 0;
        path->GetPathSegmentCount(art, &count);
        path->GetPathSegments(art, 0, count, buffer.data());
        path->SetPathSegments(art, 0, count, buffer.data());
        path->SetPathSegmentCount(art, count);
        benchmark::DoNotOptimize(buffer.data());
    }
    host.basicSuite()->ReleaseSuite(kCCPathSuite, kCCPathSuiteVersion);
    state.counters["corners/s"] = benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(ReadWriteFloor)->Arg(7998)->Unit(benchmark::kMillisecond);

void CurvedSides(benchmark::State& state)
{
    static const auto shapes = curvedShapes(1000);
    // 500 pentagons of 5 corners; the circles' 2,000 smooth anchors are ignored.
    run(state, shapes, 500 * 5, params(10, 5, 170));
}
BENCHMARK(CurvedSides)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
