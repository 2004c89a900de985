// Bezier length: error against a high-precision reference, and curves measured per second.
//
// The reference integrates the speed in long double with composite Gauss-Legendre over 4096 pieces,
// which is exact to the last bits for the curves below. Curves are random within the document limits
// (coordinates up to +-16000), including near-cusps and retracted handles, from a fixed seed.
#include "geom/BezierMath.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

std::vector<CCBezier> sampleCurves(std::size_t n)
{
    std::mt19937_64 rng(20261211);
    std::uniform_real_distribution<double> coord(-16000, 16000), small(-5, 5), unit(0, 1);
    std::vector<CCBezier> out;
    for (std::size_t i = 0; i < n; ++i) {
        CCBezier b{{coord(rng), coord(rng)}, {coord(rng), coord(rng)}, {coord(rng), coord(rng)}, {coord(rng), coord(rng)}};
        switch (i % 5) {
        case 1: // small curve
            b = {{small(rng), small(rng)}, {small(rng), small(rng)}, {small(rng), small(rng)}, {small(rng), small(rng)}};
            break;
        case 2: // one handle retracted
            b.p1 = b.p0;
            break;
        case 3: { // near-cusp: handles crossing almost on the chord
            double t = unit(rng);
            b.p1 = {b.p3.x + t, b.p3.y};
            b.p2 = {b.p0.x - t, b.p0.y};
            break;
        }
        default:
            break;
        }
        out.push_back(b);
    }
    return out;
}

long double referenceLength(const CCBezier& b)
{
    static const long double x[5] = {0.0L, 0.5384693101056830910363144207002088L, -0.5384693101056830910363144207002088L,
                                     0.9061798459386639927976268782993929L, -0.9061798459386639927976268782993929L};
    static const long double w[5] = {0.5688888888888888888888888888888889L, 0.4786286704993664680412915148356382L,
                                     0.4786286704993664680412915148356382L, 0.2369268850561890875142640407199173L,
                                     0.2369268850561890875142640407199173L};
    const int pieces = 4096;
    long double sum = 0;
    for (int k = 0; k < pieces; ++k) {
        long double a = (long double)k / pieces, c = (long double)(k + 1) / pieces;
        long double half = (c - a) / 2, mid = (a + c) / 2;
        for (int i = 0; i < 5; ++i) {
            long double t = mid + half * x[i], u = 1 - t;
            long double dx = 3 * (u * u * (b.p1.x - b.p0.x) + 2 * u * t * (b.p2.x - b.p1.x) + t * t * (b.p3.x - b.p2.x));
            long double dy = 3 * (u * u * (b.p1.y - b.p0.y) + 2 * u * t * (b.p2.y - b.p1.y) + t * t * (b.p3.y - b.p2.y));
            sum += w[i] * half * std::sqrt(dx * dx + dy * dy);
        }
    }
    return sum;
}

void reportAccuracy()
{
    auto curves = sampleCurves(2000);
    double worst = 0, worstRel = 0;
    for (const auto& b : curves) {
        long double ref = referenceLength(b);
        double err = std::fabs((double)(minihost::bezierArcLength(b, 1.0) - ref));
        worst = std::max(worst, err);
        if (ref > 0)
            worstRel = std::max(worstRel, err / (double)ref);
    }
    std::printf("bezier length: %zu curves, worst absolute error %.3g, worst relative error %.3g\n", curves.size(),
                worst, worstRel);
}

void BM_BezierLength(benchmark::State& state)
{
    auto curves = sampleCurves(1000);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(minihost::bezierArcLength(curves[i], 1.0));
        i = (i + 1) % curves.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BezierLength);

} // namespace

int main(int argc, char** argv)
{
    reportAccuracy();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
