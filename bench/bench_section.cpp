// Cost of one section integration (the innermost step of the analysis) for typical sections,
// each under a biaxial strain field that cuts it into the stress-free, parabolic and constant
// zones; and of a 72-ray resistance contour, whose rays run on the machine's cores.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "engine/envelope.h"
#include "engine/material.h"
#include "engine/section_integration.h"

namespace {

using tarvelo::Bar;
using tarvelo::Point;

struct BenchSection {
    std::vector<Point> vertices;  // closed
    std::vector<Bar> bars;
    double area = 0.0;
    tarvelo::SectionStrain strain;
};

void Close(BenchSection& s) {
    s.vertices.push_back(s.vertices.front());
    s.area = tarvelo::ComputeSectionProperties(s.vertices.data(),
                                               static_cast<int>(s.vertices.size()) - 1)
                 .area;
}

void AddCircle(std::vector<Point>& pts, double r, int sides, int direction) {
    for (int i = 0; i < sides; ++i) {
        const double a = direction * 2 * std::numbers::pi * i / sides;
        pts.push_back({r * std::cos(a), r * std::sin(a)});
    }
}

std::vector<Bar> BarRing(double r, int count) {
    std::vector<Bar> bars;
    for (int j = 0; j < count; ++j) {
        const double a = 2 * std::numbers::pi * j / count;
        bars.push_back({r * std::cos(a), r * std::sin(a), 2.0});
    }
    return bars;
}

BenchSection Rectangle() {
    BenchSection s;
    s.vertices = {{-10, -20}, {10, -20}, {10, 20}, {-10, 20}};
    s.bars = {{-7, -17, 2}, {7, -17, 2}, {-7, 0, 2}, {7, 0, 2}, {-7, 17, 2}, {7, 17, 2}};
    s.strain = {-0.0004, 1e-4, 1e-4};
    Close(s);
    return s;
}

BenchSection Circle50() {
    BenchSection s;
    AddCircle(s.vertices, 15, 50, 1);
    s.bars = BarRing(11, 8);
    s.strain = {-0.0005, 1.2e-4, 0.9e-4};
    Close(s);
    return s;
}

BenchSection HollowCircle102() {
    BenchSection s;
    AddCircle(s.vertices, 25, 50, 1);
    s.vertices.push_back(s.vertices.front());
    AddCircle(s.vertices, 15, 50, -1);
    s.vertices.push_back({15, 0});
    s.bars = BarRing(21, 12);
    s.strain = {-0.0006, 0.8e-4, 0.6e-4};
    Close(s);
    return s;
}

BenchSection Polygon299() {
    BenchSection s;
    AddCircle(s.vertices, 25, 299, 1);
    s.bars = BarRing(21, 16);
    s.strain = {-0.0006, 0.6e-4, 0.8e-4};
    Close(s);
    return s;
}

tarvelo::MaterialParameters Material() {
    return tarvelo::ShortTermMaterial(25, 500, 200, 1.4, 1.15);
}

void Run(benchmark::State& state, const BenchSection& s) {
    const tarvelo::MaterialParameters m = Material();
    static tarvelo::SectionIntegrator integrator;  // large working lists: not on the stack
    const int nv = static_cast<int>(s.vertices.size()) - 1;
    const int nb = static_cast<int>(s.bars.size());
    int failure = 0;
    integrator.IntegrateSection(s.strain, s.vertices.data(), nv, s.bars.data(), nb, s.area, m,
                                failure);
    if (failure) {
        state.SkipWithError("strain field beyond the limits");
        return;
    }
    for (auto _ : state) {
        tarvelo::SectionStrain e = s.strain;
        benchmark::DoNotOptimize(e);
        const tarvelo::SectionResultants r = integrator.IntegrateSection(
            e, s.vertices.data(), nv, s.bars.data(), nb, s.area, m, failure);
        benchmark::DoNotOptimize(r);
    }
    state.counters["vertices"] = nv;
}

void BM_IntegrateSection_Rectangle20x40(benchmark::State& state) {
    Run(state, Rectangle());
}
void BM_IntegrateSection_Circle50(benchmark::State& state) {
    Run(state, Circle50());
}
void BM_IntegrateSection_HollowCircle102(benchmark::State& state) {
    Run(state, HollowCircle102());
}
void BM_IntegrateSection_Polygon299(benchmark::State& state) {
    Run(state, Polygon299());
}

// The contour at 30 % of the squash load, where every ray is solved.
void Contour(benchmark::State& state, const BenchSection& s) {
    tarvelo::SectionGeometry g;
    g.nv = static_cast<int>(s.vertices.size()) - 1;
    std::copy(s.vertices.begin(), s.vertices.end(), g.vertices.begin());
    g.nb = static_cast<int>(s.bars.size());
    std::copy(s.bars.begin(), s.bars.end(), g.bars.begin());
    const tarvelo::ResistanceEnvelope envelope(g, 2.0, Material());
    const double N = 0.3 * envelope.squash();
    for (auto _ : state) {
        std::vector<tarvelo::ContourRay> contour = envelope.Contour(N, 72);
        benchmark::DoNotOptimize(contour);
    }
    state.counters["vertices"] = g.nv;
}

void BM_EnvelopeContour72_Rectangle20x40(benchmark::State& state) {
    Contour(state, Rectangle());
}
void BM_EnvelopeContour72_Polygon299(benchmark::State& state) {
    Contour(state, Polygon299());
}

}  // namespace

BENCHMARK(BM_IntegrateSection_Rectangle20x40);
BENCHMARK(BM_IntegrateSection_Circle50);
BENCHMARK(BM_IntegrateSection_HollowCircle102);
BENCHMARK(BM_IntegrateSection_Polygon299);
BENCHMARK(BM_EnvelopeContour72_Rectangle20x40)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EnvelopeContour72_Polygon299)->Unit(benchmark::kMillisecond)->UseRealTime();
