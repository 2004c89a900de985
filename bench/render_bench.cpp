// Pictures of large documents.
//
//   Render/N            a 1000 x 1000 point page of N filled and stroked curved paths (8 anchors each), drawn
//                       at one pixel a point
//   RenderSelected/N    the same with every path selected, so every anchor and handle is marked
//   RenderPng/N         drawing and writing the PNG file
#include "Document.h"
#include "render/Render.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>
#include <random>

namespace {

// N small flower-like closed paths spread over the page, each with curved segments, fixed seed.
std::unique_ptr<minihost::Document> crowd(int n, bool selected)
{
    auto doc = std::make_unique<minihost::Document>();
    doc->width = doc->height = 1000;
    doc->addLayer("Layer 1");
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> pos(20, 980), size(4, 20), hue(0, 1);
    for (int i = 0; i < n; ++i) {
        minihost::ObjectId id = doc->create(kCCPathArt, kCCPlaceAboveAll, 0);
        minihost::Art* a = doc->edit(id);
        double cx = pos(rng), cy = pos(rng), r = size(rng);
        for (int k = 0; k < 8; ++k) {
            double t = k * std::numbers::pi / 4, rr = k % 2 ? r * 0.6 : r;
            CCRealPoint p{cx + rr * std::cos(t), cy + rr * std::sin(t)};
            CCRealPoint d{-std::sin(t) * rr * 0.3, std::cos(t) * rr * 0.3};
            a->segments.push_back({p, {p.x - d.x, p.y - d.y}, {p.x + d.x, p.y + d.y}, 0});
        }
        a->selection.assign(8, selected ? kCCSegmentPointSelected : kCCSegmentNotSelected);
        a->closed = true;
        a->style.fill = minihost::Rgb{hue(rng), hue(rng), hue(rng)};
        a->style.stroke = minihost::Rgb{0, 0, 0};
        if (selected)
            a->attrs |= kCCArtSelected;
    }
    return doc;
}

void Render(benchmark::State& state)
{
    auto doc = crowd(static_cast<int>(state.range(0)), false);
    for (auto _ : state)
        benchmark::DoNotOptimize(minihost::render::renderDocument(*doc, {}));
}
BENCHMARK(Render)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void RenderSelected(benchmark::State& state)
{
    auto doc = crowd(static_cast<int>(state.range(0)), true);
    minihost::render::RenderOptions options;
    options.showSelection = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(minihost::render::renderDocument(*doc, options));
}
BENCHMARK(RenderSelected)->Arg(10000)->Unit(benchmark::kMillisecond);

void RenderPng(benchmark::State& state)
{
    auto doc = crowd(static_cast<int>(state.range(0)), false);
    const auto file = std::filesystem::temp_directory_path() / "curvicraft-render-bench.png";
    for (auto _ : state)
        minihost::render::writePng(minihost::render::renderDocument(*doc, {}), file);
    std::filesystem::remove(file);
}
BENCHMARK(RenderPng)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
