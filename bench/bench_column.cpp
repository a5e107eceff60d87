// Cost of the column analysis: one internal-force evaluation (30 section integrations) and one
// complete run of the load steps to failure, for three typical columns; and what the refined
// results add to a verification and to a design of the slender-rectangle example.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <optional>

#include "engine/column_model.h"
#include "engine/material.h"
#include "procedures/refinement.h"

namespace {

using tarvelo::ColumnLoads;
using tarvelo::ColumnModel;
using tarvelo::SectionGeometry;
using tarvelo::SupportCondition;

// fck in MPa, fyk 500 MPa, Gamac 1.4, Gamas 1.15; Es in kN/cm2.
tarvelo::MaterialParameters Material(double fck = 25, double creep = 2.5, double Es = 20000) {
    tarvelo::MaterialParameters m;
    tarvelo::ComputeConcreteParameters(fck, m);
    m.fcd = fck / 10 / 1.4;
    m.fyd = 500.0 / 10 / 1.15;
    m.Es = Es;
    tarvelo::CompleteMaterialParameters(creep, m);
    return m;
}

struct BenchColumn {
    SectionGeometry section;
    double totalSteel = 0.0;
    double L = 0.0;
    ColumnLoads loads;
    SupportCondition base = SupportCondition::Pinned;
    SupportCondition top = SupportCondition::Pinned;
    tarvelo::MaterialParameters material = Material();
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

// The slender-rectangle example: 25 x 40, eight bars, 5.2 m pinned at both ends, biaxial end
// moments, fck 30, creep 2, Es 210 GPa; the section centred as a verification centres it.
BenchColumn SlenderRectangle() {
    BenchColumn c;
    SectionGeometry& s = c.section;
    s.nv = 4;
    s.vertices[0] = {-12.5, -20};
    s.vertices[1] = {12.5, -20};
    s.vertices[2] = {12.5, 20};
    s.vertices[3] = {-12.5, 20};
    s.vertices[4] = s.vertices[0];
    const double bars[8][2] = {{4, 4},  {21, 4},  {4, 20},   {21, 20},
                               {4, 36}, {21, 36}, {12.5, 4}, {12.5, 36}};
    for (const auto& [x, y] : bars)
        AddBar(s, x - 12.5, y - 20);
    c.totalSteel = 16;
    c.L = 520;
    c.loads.Fd = 1150;
    c.loads.Mxd_t = 2300;
    c.loads.Myd_t = 1600;
    c.loads.Mxd_b = 2300;
    c.loads.Myd_b = -800;
    c.material = Material(30, 2, 21000);
    return c;
}

std::unique_ptr<ColumnModel> Build(const BenchColumn& c) {
    auto model = std::make_unique<ColumnModel>();
    model->Assemble(c.section, c.totalSteel / c.section.nb, c.L, c.material, c.loads);
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

// One verification as the procedures make it: model, supports, load steps, and with `refine`
// the bisection of the failing step. Returns the refined S.
double Verification(const BenchColumn& c, double totalSteel, bool refine,
                    tarvelo::LoadStepResult& steps, tarvelo::FailureLoadRefinement& refinement) {
    auto model = std::make_unique<ColumnModel>();
    model->Assemble(c.section, totalSteel / c.section.nb, c.L, c.material, c.loads);
    if (model->ApplySupportsAndFactor(c.base, c.top) != 0) return 0.0;
    tarvelo::LoadDeflectionCurve curve;
    steps = model->RunLoadSteps(50, 1, curve, nullptr);
    if (refine) refinement = model->RefineFailureLoad(1);
    return refinement.carriedFactor;
}

void Verify(benchmark::State& state, const BenchColumn& c, bool refine) {
    tarvelo::LoadStepResult steps;
    tarvelo::FailureLoadRefinement refinement;
    for (auto _ : state)
        benchmark::DoNotOptimize(Verification(c, c.totalSteel, refine, steps, refinement));
    state.counters["steps"] = steps.reachedStep;
    state.counters["solutions"] = static_cast<double>(steps.solutions + refinement.solutions);
    state.counters["refinedS"] = refinement.carriedFactor;
}

// The refined area search that follows a design of this column, from the bracket the design
// ends with: S = 1 at the area it found, 11.43 cm2 (its last trial, refined), and S of 8 % of
// the section, 80 cm2 (its second trial, half a step taken off).
void RefinedAreaSearch(benchmark::State& state, const BenchColumn& c) {
    tarvelo::LoadStepResult steps;
    tarvelo::FailureLoadRefinement refinement;
    Verification(c, 80.0, false, steps, refinement);
    const double passingSafety = (steps.reachedStep - 0.5) / 50;
    const double failingSafety = Verification(c, 11.43, true, steps, refinement);
    const auto refinedSafety = [&](double area) -> std::optional<double> {
        return Verification(c, area, true, steps, refinement);
    };
    tarvelo::RefinedAreaResult r;
    for (auto _ : state) {
        r = tarvelo::FindRefinedSteelArea(refinedSafety, {11.43, failingSafety},
                                          {80.0, passingSafety});
    }
    state.counters["trials"] = r.trials;
    state.counters["area"] = r.area;
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
void BM_Verify_SlenderRectangle(benchmark::State& s) {
    Verify(s, SlenderRectangle(), false);
}
void BM_VerifyRefined_SlenderRectangle(benchmark::State& s) {
    Verify(s, SlenderRectangle(), true);
}
void BM_RefinedAreaSearch_SlenderRectangle(benchmark::State& s) {
    RefinedAreaSearch(s, SlenderRectangle());
}

}  // namespace

BENCHMARK(BM_ComputeInternalForces_Rectangle20x40)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputeInternalForces_Circle50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputeInternalForces_Polygon299)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RunLoadSteps_Rectangle20x40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunLoadSteps_Circle50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunLoadSteps_Polygon299)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Verify_SlenderRectangle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VerifyRefined_SlenderRectangle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefinedAreaSearch_SlenderRectangle)->Unit(benchmark::kMillisecond);
