// Cost of the column analysis: one internal-force evaluation (30 section integrations) and one
// complete run of the load steps to failure, for three typical columns.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "engine/column_model.h"
#include "engine/material.h"

namespace {

using tarvelo::ColumnLoads;
using tarvelo::ColumnModel;
using tarvelo::SectionGeometry;
using tarvelo::SupportCondition;

struct BenchColumn {
    SectionGeometry section;
    double totalSteel = 0.0;
    double L = 0.0;
    ColumnLoads loads;
    SupportCondition base = SupportCondition::Pinned;
    SupportCondition top = SupportCondition::Pinned;
};

void AddBar(SectionGeometry& s, double x, double y) {
    s.bars[s.nb++] = {x, y, 0.0};
}

// Regular polygon of the given radius, counter-clockwise from (r, 0), centred at the origin.
void Polygon(SectionGeometry& s, double r, int sides) {
    s.nv = sides;
    const double step = 6.283185308 / sides;
    for (int i = 0; i < sides; ++i)
        s.vertices[i] = {r * std::cos(i * step), r * std::sin(i * step)};
    s.vertices[sides] = s.vertices[0];
}

void BarRing(SectionGeometry& s, double r, int count) {
    for (int j = 0; j < count; ++j) {
        const double a = 2 * 3.141592654 / count * j;
        AddBar(s, r * std::cos(a), r * std::sin(a));
    }
}

// 20 x 40 rectangle with 6 bars, 4 m, pinned at both ends, axial load with small end moments.
BenchColumn Rectangle() {
    BenchColumn c;
    SectionGeometry& s = c.section;
    s.nv = 4;
    s.vertices[0] = {-10, -20};
    s.vertices[1] = {10, -20};
    s.vertices[2] = {10, 20};
    s.vertices[3] = {-10, 20};
    s.vertices[4] = s.vertices[0];
    for (double y : {-16.0, 0.0, 16.0}) {
        AddBar(s, -6, y);
        AddBar(s, 6, y);
    }
    c.totalSteel = 12;
    c.L = 400;
    c.loads.Fd = 1000;
    c.loads.Mxd_t = 300;
    c.loads.Mxd_b = 300;
    return c;
}

// Circle of 40 cm as a 50-gon with 8 bars, a 2.5 m cantilever with horizontal top forces.
BenchColumn Circle50() {
    BenchColumn c;
    Polygon(c.section, 20, 50);
    BarRing(c.section, 16, 8);
    c.totalSteel = 16;
    c.L = 250;
    c.loads.Fd = 800;
    c.loads.Hxd_t = 6;
    c.loads.Hyd_t = 4;
    c.base = SupportCondition::Fixed;
    c.top = SupportCondition::Free;
    return c;
}

// Circle of 50 cm drawn with 299 vertices (the input limit), 16 bars, pinned, biaxial moments.
BenchColumn Polygon299() {
    BenchColumn c;
    Polygon(c.section, 25, 299);
    BarRing(c.section, 21, 16);
    c.totalSteel = 24;
    c.L = 500;
    c.loads.Fd = 2000;
    c.loads.Mxd_t = 2000;
    c.loads.Myd_t = 1000;
    c.loads.Mxd_b = 2000;
    return c;
}

tarvelo::MaterialParameters Material() {
    tarvelo::MaterialParameters m;
    tarvelo::ComputeConcreteParameters(25, m);
    m.fcd = 25.0 / 10 / 1.4;
    m.fyd = 500.0 / 10 / 1.15;
    m.Es = 20000;
    tarvelo::CompleteMaterialParameters(2.5, m);
    return m;
}

std::unique_ptr<ColumnModel> Build(const BenchColumn& c) {
    auto model = std::make_unique<ColumnModel>();
    model->Assemble(c.section, c.totalSteel / c.section.nb, c.L, Material(), c.loads);
    if (model->ApplySupportsAndFactor(c.base, c.top) != 0) return nullptr;
    return model;
}

void InternalForces(benchmark::State& state, const BenchColumn& c) {
    const auto model = Build(c);
    if (!model) {
        state.SkipWithError("singular stiffness");
        return;
    }
    // Displacements of a converged step at about two thirds of the failure load.
    tarvelo::LoadDeflectionCurve curve;
    const int failing = model->RunLoadSteps(50, 1, curve, nullptr).reachedStep;
    model->RunLoadSteps(50, 1, curve, nullptr, failing * 2 / 3);
    const ColumnModel::DofVector U = model->U();
    for (auto _ : state) {
        benchmark::DoNotOptimize(model->ComputeInternalForces(U, 1));
        benchmark::ClobberMemory();
    }
}

void LoadSteps(benchmark::State& state, const BenchColumn& c) {
    const auto model = Build(c);
    if (!model) {
        state.SkipWithError("singular stiffness");
        return;
    }
    tarvelo::LoadDeflectionCurve curve;
    tarvelo::LoadStepResult r;
    for (auto _ : state) {
        r = model->RunLoadSteps(50, 1, curve, nullptr);
        benchmark::DoNotOptimize(r);
    }
    state.counters["steps"] = r.reachedStep;
    state.counters["solutions"] = static_cast<double>(r.solutions);
    state.counters["evaluations"] = static_cast<double>(r.internalForceEvaluations);
    state.counters["notConverged"] = r.notConverged;
}

void BM_ComputeInternalForces_Rectangle20x40(benchmark::State& s) {
    InternalForces(s, Rectangle());
}
void BM_ComputeInternalForces_Circle50(benchmark::State& s) {
    InternalForces(s, Circle50());
}
void BM_ComputeInternalForces_Polygon299(benchmark::State& s) {
    InternalForces(s, Polygon299());
}
void BM_RunLoadSteps_Rectangle20x40(benchmark::State& s) {
    LoadSteps(s, Rectangle());
}
void BM_RunLoadSteps_Circle50(benchmark::State& s) {
    LoadSteps(s, Circle50());
}
void BM_RunLoadSteps_Polygon299(benchmark::State& s) {
    LoadSteps(s, Polygon299());
}

}  // namespace

BENCHMARK(BM_ComputeInternalForces_Rectangle20x40)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputeInternalForces_Circle50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputeInternalForces_Polygon299)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RunLoadSteps_Rectangle20x40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunLoadSteps_Circle50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunLoadSteps_Polygon299)->Unit(benchmark::kMillisecond);
