// Hit testing and the drag step of a press, on minihost documents, through the suite tables a plug-in uses.
//
//   HitTool/N         one tool hit test (request 8) on a curve in the middle of a closed path of N anchors
//   HitToolCrowd/D    the same on the 32,767-anchor path under D other paths (they lie above it in paint
//                     order, so every one of them is rejected first)
//   DragStep/N/D      one drag step as a tool makes it: revert the previous step (UndoChanges), hit-test,
//                     read the whole path, replace one anchor by three, write back; path of N anchors under
//                     D other paths
//   CopyFloor/N       the floor of a drag step: copying the path's segments once
//
// Each case reports the median (p50_us) and 99th percentile (p99_us) of single operations in microseconds;
// compare DragStep with CopyFloor for the ratio, and across N and D for the growth.
#include "Host.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace {

using minihost::Document;
using minihost::Host;
using minihost::ObjectId;

template <class Suite> const Suite* acquire(Host& host, const char* name, int version)
{
    const void* table = nullptr;
    host.basicSuite()->AcquireSuite(name, version, &table);
    return static_cast<const Suite*>(table);
}

// A closed wavy ring of n anchors with curved segments, radius 10,000 about the origin.
std::vector<CCPathSegment> ring(int n)
{
    std::vector<CCPathSegment> segs(n);
    double step = 2 * std::numbers::pi / n;
    for (int i = 0; i < n; ++i) {
        double a = i * step, r = 10000 + (i % 2 ? 30 : -30);
        CCRealPoint p{r * std::cos(a), r * std::sin(a)};
        CCRealPoint tangent{-std::sin(a) * r * step / 3, std::cos(a) * r * step / 3};
        segs[i] = {p, {p.x - tangent.x, p.y - tangent.y}, {p.x + tangent.x, p.y + tangent.y}, 0};
    }
    return segs;
}

struct Scene {
    Host host;
    Document* doc;
    ObjectId path = 0;
    CCRealPoint target{}; // a point 1 pt off a curve in the middle of the path
    const CCHitTestSuite* hits = acquire<CCHitTestSuite>(host, kCCHitTestSuite, kCCHitTestSuiteVersion);
    const CCUndoSuite* undo = acquire<CCUndoSuite>(host, kCCUndoSuite, kCCUndoSuiteVersion);
    const CCPathSuite* paths = acquire<CCPathSuite>(host, kCCPathSuite, kCCPathSuiteVersion);

    Scene(int anchors, int others)
    {
        doc = &host.document();
        path = doc->create(kCCPathArt, kCCPlaceInsideOnTop, 0);
        minihost::Art* a = doc->edit(path);
        a->segments = ring(anchors);
        a->selection.assign(anchors, kCCSegmentNotSelected);
        a->closed = true;
        a->attrs = kCCArtSelected;
        // Small squares scattered over the ring's area, all above it.
        for (int i = 0; i < others; ++i) {
            double x = -9000 + (i % 100) * 180, y = -9000 + (i / 100 % 100) * 180;
            ObjectId id = doc->create(kCCPathArt, kCCPlaceInsideOnTop, 0);
            minihost::Art* o = doc->edit(id);
            for (CCRealPoint p : {CCRealPoint{x, y}, {x + 50, y}, {x + 50, y + 50}, {x, y + 50}})
                o->segments.push_back({p, p, p, 1});
            o->selection.assign(4, kCCSegmentNotSelected);
            o->closed = true;
        }
        const CCPathSegment& s0 = a->segments[anchors / 2];
        const CCPathSegment& s1 = a->segments[anchors / 2 + 1];
        CCRealPoint mid{(s0.anchor.x + s1.anchor.x) / 2, (s0.anchor.y + s1.anchor.y) / 2};
        double len = std::hypot(mid.x, mid.y);
        target = {mid.x * (len + 1) / len, mid.y * (len + 1) / len};
    }
};

struct Samples {
    std::vector<double> us;
    template <class F> void time(F&& f)
    {
        auto t0 = std::chrono::steady_clock::now();
        f();
        us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    }
    void report(benchmark::State& state)
    {
        std::sort(us.begin(), us.end());
        if (us.empty())
            return;
        state.counters["p50_us"] = us[us.size() / 2];
        state.counters["p99_us"] = us[std::min(us.size() - 1, us.size() * 99 / 100)];
    }
};

void checkHit(benchmark::State& state, const CCHitData& hit, ObjectId path)
{
    if (!hit.hit || hit.part != kCCHitCurvePart || minihost::fromHandle(hit.art) != path)
        state.SkipWithError("the hit test missed the path");
}

void HitTool(benchmark::State& state)
{
    Scene scene(static_cast<int>(state.range(0)), 0);
    Samples samples;
    CCHitData hit{};
    for (auto _ : state)
        samples.time([&] {
            scene.hits->HitTest(nullptr, &scene.target, kCCHitTool, &hit);
            benchmark::DoNotOptimize(hit);
        });
    checkHit(state, hit, scene.path);
    samples.report(state);
}

void HitToolCrowd(benchmark::State& state)
{
    Scene scene(kCCMaxPathSegments, static_cast<int>(state.range(0)));
    Samples samples;
    CCHitData hit{};
    for (auto _ : state)
        samples.time([&] {
            scene.hits->HitTest(nullptr, &scene.target, kCCHitTool, &hit);
            benchmark::DoNotOptimize(hit);
        });
    checkHit(state, hit, scene.path);
    samples.report(state);
}

void DragStep(benchmark::State& state)
{
    int anchors = static_cast<int>(state.range(0));
    // The step adds two anchors; leave room for them under the host's limit.
    anchors = std::min(anchors, kCCMaxPathSegments - 2);
    Scene scene(anchors, static_cast<int>(state.range(1)));
    CCArtHandle path = minihost::toHandle(scene.path);
    std::vector<CCPathSegment> buffer(anchors);
    scene.host.journal()->begin("press");
    Samples samples;
    CCHitData hit{};
    for (auto _ : state)
        samples.time([&] {
            scene.undo->UndoChanges();
            scene.hits->HitTest(nullptr, &scene.target, kCCHitTool, &hit);
            int16_t n = 0;
            scene.paths->GetPathSegmentCount(path, &n);
            scene.paths->GetPathSegments(path, 0, n, buffer.data());
            int16_t at = hit.segment;
            CCPathSegment three[3] = {buffer[at], buffer[at], buffer[at]};
            three[1].anchor.x += 1;
            three[2].anchor.x += 2;
            scene.paths->DeletePathSegments(path, at, 1);
            scene.paths->InsertPathSegments(path, at, 3, three);
        });
    checkHit(state, hit, scene.path);
    int16_t n = 0;
    scene.paths->GetPathSegmentCount(path, &n);
    if (n != anchors + 2)
        state.SkipWithError("the step did not rewrite the path");
    scene.host.journal()->commit();
    samples.report(state);
}

void CopyFloor(benchmark::State& state)
{
    std::vector<CCPathSegment> source = ring(static_cast<int>(state.range(0))), copy;
    Samples samples;
    for (auto _ : state)
        samples.time([&] {
            copy = source;
            benchmark::DoNotOptimize(copy.data());
        });
    samples.report(state);
}

BENCHMARK(HitTool)->Arg(1024)->Arg(4096)->Arg(16384)->Arg(kCCMaxPathSegments)->Unit(benchmark::kMicrosecond);
BENCHMARK(HitToolCrowd)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(DragStep)
    ->Args({1024, 0})
    ->Args({4096, 0})
    ->Args({16384, 0})
    ->Args({kCCMaxPathSegments, 0})
    ->Args({kCCMaxPathSegments, 1000})
    ->Args({kCCMaxPathSegments, 10000})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(CopyFloor)->Arg(1024)->Arg(4096)->Arg(16384)->Arg(kCCMaxPathSegments)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
