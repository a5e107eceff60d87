// Material laws; the column model: supports, nodal loads, internal forces, whole load-step runs.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/core_test_support.h"
#include "core/engine/test_section_reference.h"
#include "engine/column_model.h"
#include "engine/material.h"

namespace tarvelo {
namespace {

using testing::MakeMaterial;
using testing::MakeRectangle;
using enum SupportCondition;

TEST(ConcreteParameters, CodeValuesFrom20To90MPa) {
    struct Row {
        double fck, epsC2, epsCu, n, plateauPerMille;
    };
    const Row rows[] = {{20, 2.0, 3.5, 2.0, 1.0465},          {25, 2.0, 3.5, 2.0, 1.0465},
                        {30, 2.0, 3.5, 2.0, 1.0465},          {35, 2.0, 3.5, 2.0, 1.0465},
                        {40, 2.0, 3.5, 1.9233, 1.0743},       {50, 2.0, 3.5, 1.6388, 1.1902},
                        {55, 2.1995, 3.1252, 1.6842, 1.2869}, {70, 2.4159, 2.6560, 1.5608, 1.4809},
                        {90, 2.5974, 2.6000, 1.4083, 1.6903}};
    for (const Row& r : rows) {
        const MaterialParameters m = MakeMaterial(r.fck, 0);
        EXPECT_NEAR(m.epsC2, r.epsC2, 6e-5) << r.fck;
        EXPECT_NEAR(m.epsCu, r.epsCu, 6e-5) << r.fck;
        EXPECT_NEAR(m.n, r.n, 6e-5) << r.fck;
        EXPECT_NEAR(m.plateauStrain * 1000, r.plateauPerMille, 6e-5) << r.fck;
    }
    // 50 MPa exactly still takes the fixed strains; at 90 the peak strain is capped.
    EXPECT_EQ(MakeMaterial(50, 0).epsC2, 2.0);
    EXPECT_EQ(MakeMaterial(50, 0).epsCu, 3.5);
    EXPECT_GT(MakeMaterial(50.001, 0).epsC2, 2.0);
    EXPECT_EQ(MakeMaterial(90, 0).epsC2, 0.999 * MakeMaterial(90, 0).epsCu);
}

TEST(ConcreteStressLaw, ZonesAndBoundaries) {
    for (double fck : {25.0, 60.0}) {
        const MaterialParameters m = MakeMaterial(fck, 1.0);
        const double el = m.plateauStrain;
        EXPECT_EQ(ConcreteStress(m, 0.0), 0.0);
        EXPECT_EQ(ConcreteStress(m, 0.002), 0.0);
        EXPECT_EQ(ConcreteStress(m, -el), -0.85 * m.fcd);  // the boundary belongs to the plateau
        EXPECT_EQ(ConcreteStress(m, -3 * el), -0.85 * m.fcd);
        EXPECT_NEAR(ConcreteStress(m, std::nextafter(-el, 0.0)), -0.85 * m.fcd, 1e-12);
        EXPECT_NEAR(ConcreteStress(m, -1e-9) / -1e-9, m.initialModulus, 1e-5 * m.initialModulus);
    }
    const MaterialParameters m = MakeMaterial(25, 0);
    EXPECT_NEAR(ConcreteStress(m, -0.001), -0.825 * m.fcd, 1e-15);  // half the peak strain
}

const SectionGeometry kRect20x40 = MakeRectangle(20, 40, {{4, 4}, {16, 4}, {4, 36}, {16, 36}});

// A column L long over the section, 2 cm2 per bar and fck 25, assembled.
std::unique_ptr<ColumnModel> Assembled(double L, const ColumnLoads& loads,
                                       const SectionGeometry& s = kRect20x40) {
    auto model = std::make_unique<ColumnModel>();
    model->Assemble(s, 2.0, L, MakeMaterial(25, 0), loads);
    return model;
}

constexpr double kUnwritten = -1.0;

// One analysis: the model, its curve, the progress lines it wrote and how it ended.
struct Run : ProgressSink {
    void ProgressLine(std::string_view line) override { progress.emplace_back(line); }
    std::unique_ptr<ColumnModel> model;
    LoadDeflectionCurve curve;
    std::vector<std::string> progress;
    LoadStepResult result;
    int flag = -1;
};

// Runs the load steps of the 20 x 40 test column (8 cm2 of bars, fck 25) as the procedures do,
// the curve pre-filled to tell unwritten rows.
std::unique_ptr<Run> Analyse(double L, const ColumnLoads& loads, SupportCondition base,
                             SupportCondition top, int stepLimit = 0,
                             SectionResponse* response = nullptr, int stepsPerDesignLoad = 50) {
    auto run = std::make_unique<Run>();
    run->curve.rows.fill({kUnwritten, kUnwritten});
    run->model = Assembled(L, loads);
    run->flag = run->model->ApplySupportsAndFactor(base, top);
    run->model->SetSectionResponse(response);
    run->result = run->model->RunLoadSteps(stepsPerDesignLoad, 1, run->curve, run.get(), stepLimit);
    return run;
}

// The supports and internal forces (load vector and stiffness: through the reference columns).
TEST(ColumnModel, Supports) {
    const ColumnLoads loads{.Fd = 100, .Hyd_t = 5};
    auto model = Assembled(300, loads);
    ASSERT_EQ(model->ApplySupportsAndFactor(Pinned, Pinned), 0);
    ASSERT_EQ(model->restraintCount(), 5);
    // The top's axial load always acts; the restrained lateral load is gone from F, kept in P.
    EXPECT_EQ(model->F()[50], -100);
    EXPECT_EQ(model->F()[51], 0);
    EXPECT_EQ(model->P()[51], 5);

    // The supports apply once per assembly; a second call cannot factorise twice.
    model = Assembled(300, loads);
    ASSERT_EQ(model->ApplySupportsAndFactor(Fixed, Free), 0);
    EXPECT_EQ(model->ApplySupportsAndFactor(Fixed, Free), 1);
    // Zero rigidity (no concrete, no bars) is singular.
    EXPECT_EQ(Assembled(300, loads, MakeRectangle(0, 0, {}))->ApplySupportsAndFactor(Fixed, Fixed),
              1);
}

// Only the first nb bars exist: a bar left beyond the count (from a larger section) changes
// nothing, neither the stiffness nor the load steps.
TEST(ColumnModel, BarsBeyondTheCountAreIgnored) {
    SectionGeometry stale = kRect20x40;
    stale.bars[4] = {10, 20, 3.0};
    const ColumnLoads loads{.Fd = 800, .Mxd_t = 2000};
    LoadDeflectionCurve curves[2];
    for (int i = 0; i < 2; ++i) {
        const auto model = Assembled(300, loads, i == 0 ? kRect20x40 : stale);
        ASSERT_EQ(model->ApplySupportsAndFactor(Pinned, Pinned), 0);
        model->RunLoadSteps(40, 1, curves[i], nullptr);
    }
    EXPECT_EQ(curves[0].rows, curves[1].rows);
}

// Uniform pxd = pyd on ten 30 cm elements: the same nodal forces in both planes, the end moments
// p Le^2 / 12 at the ends and cancelling inside.
TEST(ColumnModel, DistributedLoadsInBothPlanes) {
    const ColumnLoads loads{.pxd = 0.1, .pyd = 0.1};
    const auto model = Assembled(300, loads);
    for (int node = 1; node <= 11; ++node) {
        const int i = 5 * (node - 1);
        const double end = node == 1 ? 7.5 : node == 11 ? -7.5 : 0.0;
        EXPECT_EQ(model->F()[i + 1], model->F()[i + 3]) << node;
        EXPECT_NEAR(model->F()[i + 2], end, 1e-12) << node;
        EXPECT_NEAR(model->F()[i + 4], end, 1e-12) << node;
    }
}

TEST(ColumnModel, InternalForces) {
    const auto model = Assembled(300, {});
    ColumnModel::DofVector U{};
    // A rigid rotation strains nothing to first order; to second order only the bars pull.
    const double theta = 1e-3;
    for (int node = 1; node <= 11; ++node) {
        U[5 * (node - 1) + 1] = theta * 30.0 * (node - 1);
        U[5 * (node - 1) + 2] = theta;
    }
    ASSERT_EQ(model->ComputeInternalForces(U, 0), 0);
    for (double f : model->Fint())
        EXPECT_EQ(f, 0.0);
    ASSERT_EQ(model->ComputeInternalForces(U, 1), 0);
    // Tension 0.5 theta^2 in four bars of 2 cm2, turned along the rotated axis.
    const double N = 4 * 2.0 * 20000.0 * 0.5 * theta * theta;
    EXPECT_NEAR(model->Fint()[0], -N, 1e-9 * N);
    EXPECT_NEAR(model->Fint()[50], N, 1e-9 * N);
    EXPECT_NEAR(model->Fint()[51], N * theta, 1e-6 * N * theta);
    EXPECT_NEAR(model->Fint()[1], -N * theta, 1e-6 * N * theta);

    // End forces N theta of about 1e-11 kN are cleaned to exactly 0; the axial forces stay.
    U.fill(0.0);
    for (int node = 1; node <= 11; ++node) {
        U[5 * (node - 1)] = -1e-4 * 30.0 * (node - 1);
        U[5 * (node - 1) + 1] = 1e-13 * 30.0 * (node - 1);
        U[5 * (node - 1) + 2] = 1e-13;
    }
    ASSERT_EQ(model->ComputeInternalForces(U, 1), 0);
    EXPECT_GT(model->Fint()[0], 10.0);
    EXPECT_LT(model->Fint()[50], -10.0);
    for (int i = 0; i < 55; ++i)
        EXPECT_TRUE(i % 5 == 0 || model->Fint()[i] == 0.0) << i;

    // A strain beyond the limits is reported at once.
    U[50] = -1.0;
    EXPECT_EQ(model->ComputeInternalForces(U, 1), 1);
}

// What the load steps do at the ends of a run (whole runs: the reference columns).
TEST(LoadSteps, FailureInTheFirstStepLeavesOnlyTheOrigin) {
    const ColumnLoads loads{.Fd = 200000};  // 4000 kN in step 1, beyond the squash load
    const auto run = Analyse(300, loads, Pinned, Pinned);
    EXPECT_EQ(run->result.reachedStep, 1);
    EXPECT_EQ(run->result.sectionFailure, 1);
    EXPECT_EQ(run->curve.rows[0][0], 0.0);
    EXPECT_EQ(run->curve.rows[0][1], 0.0);
    EXPECT_EQ(run->curve.rows[1][0], kUnwritten);
    EXPECT_EQ(run->result.solutions, 1);
    // Refined from the unloaded column: up to the squash load 0.85 * 2.5 / 1.4 * 800 + 320 kN.
    const FailureLoadRefinement r = run->model->RefineFailureLoad(1);
    EXPECT_TRUE(r.refined);
    EXPECT_NEAR(r.carriedFactor * 200000, 1534.3, 0.0005 * 200000);
    EXPECT_LT(r.carriedFactor * 200000, 1534.3);
    // One step per design load fails the same way.
    EXPECT_EQ(Analyse(300, loads, Pinned, Pinned, 0, nullptr, 1)->result.reachedStep, 1);
}

TEST(LoadSteps, LightlyLoadedColumnCarriesTenTimesItsLoads) {
    const ColumnLoads loads{.Fd = 50, .Hyd_t = 0.5, .Mxd_t = 50};
    const auto run = Analyse(150, loads, Fixed, Free);
    EXPECT_EQ(run->result.reachedStep, 500);
    EXPECT_EQ(run->result.sectionFailure, 0);
    EXPECT_EQ(run->result.notConverged, 0);
    EXPECT_EQ(run->curve.rows[500][1], 500.0);
    EXPECT_EQ(run->curve.rows[501][0], kUnwritten);
    // The curve follows the free top: deflection grows with every step.
    for (int k = 1; k <= 500; ++k)
        EXPECT_GT(run->curve.rows[k][0], run->curve.rows[k - 1][0]);
    const double top = 10 * std::hypot(run->model->U()[51], run->model->U()[53]);
    EXPECT_DOUBLE_EQ(run->curve.rows[500][0], top);
    ASSERT_EQ(run->progress.size(), 500u);
    EXPECT_EQ(run->progress[11], "  Etapa de carga =  12");
    EXPECT_EQ(run->progress[499], "  Etapa de carga =  500");
    EXPECT_EQ(run->model->F()[50], -500.0);  // F = reachedStep * dF
    // Nothing failed: the last step stands, also when cut short; nothing before a run.
    EXPECT_FALSE(run->model->RefineFailureLoad(1).refined);
    EXPECT_EQ(run->model->RefineFailureLoad(1).carriedFactor, 10.0);
    EXPECT_EQ(Analyse(150, loads, Fixed, Free, 20)->model->RefineFailureLoad(1).carriedFactor, 0.4);
    ColumnModel fresh;
    EXPECT_EQ(fresh.RefineFailureLoad(1).carriedFactor, 0.0);
}

// Resultants that turn into NaN past a strain, as a broken computation would give them.
class NaNBeyond : public SectionResponse {
  public:
    SectionResultants Resultants(const SectionStrain& s, int& sectionFailure) override {
        sectionFailure = 0;
        if (s.axialStrain < -2e-4) return {NAN, NAN, NAN};
        return {1e6 * s.axialStrain, -1e8 * s.curvatureX, -1e8 * s.curvatureY};
    }
};

TEST(LoadSteps, DegenerateIterationsNeverPassSilently) {
    const ColumnLoads loads{.Fd = 1000};
    // NaN resultants stop the run as a failure flagged as not converged, not as a success.
    NaNBeyond nanSection;
    auto run = Analyse(300, loads, Pinned, Pinned, 0, &nanSection);
    EXPECT_LT(run->result.reachedStep, 500);
    EXPECT_EQ(run->result.sectionFailure, 1);
    EXPECT_EQ(run->result.notConverged, 1);

    // No load at all: every cycle restarts, nothing becomes NaN, every step is not converged.
    run = Analyse(300, ColumnLoads{}, Pinned, Pinned, 3);
    EXPECT_EQ(run->result.reachedStep, 3);
    EXPECT_EQ(run->result.sectionFailure, 0);
    EXPECT_EQ(run->result.notConverged, 1);
    for (double u : run->model->U())
        EXPECT_EQ(u, 0.0);
    EXPECT_EQ(run->curve.rows[3][0], 0.0);

    // Without a factorised matrix or with no steps nothing runs.
    run = Analyse(300, loads, Pinned, Free);
    EXPECT_EQ(run->flag, 1);
    EXPECT_EQ(run->result.reachedStep, 0);
    EXPECT_EQ(run->curve.rows[0][0], kUnwritten);
    run = Analyse(300, loads, Pinned, Pinned);
    ASSERT_EQ(run->flag, 0);
    EXPECT_EQ(run->model->RunLoadSteps(0, 1, run->curve, nullptr).reachedStep, 0);
    EXPECT_EQ(run->model->RunLoadSteps(-5, 1, run->curve, nullptr).reachedStep, 0);
    // A second run of the same model repeats the first.
    const LoadStepResult again = run->model->RunLoadSteps(50, 1, run->curve, nullptr);
    EXPECT_EQ(again.reachedStep, run->result.reachedStep);
    EXPECT_EQ(again.solutions, run->result.solutions);
}

// A fixed-fixed column under a uniform lateral load has Gauss points near its inflection points,
// with tiny curvatures: the analysis reaches the step of an extended-precision integration.
TEST(LoadSteps, SmallCurvaturesReachTheSameStepAsAnExtendedPrecisionIntegration) {
    const ColumnLoads loads{.Fd = 150, .pyd = 0.1};
    testing::ReferenceSection reference(kRect20x40, 2.0, MakeMaterial(25, 0));
    const auto exact = Analyse(300, loads, Fixed, Fixed, 0, &reference);
    const auto run = Analyse(300, loads, Fixed, Fixed);
    ASSERT_EQ(exact->result.sectionFailure, 1);
    ASSERT_EQ(exact->result.notConverged, 0);
    EXPECT_GT(exact->result.reachedStep, 400);
    EXPECT_EQ(run->result.reachedStep, exact->result.reachedStep);
    EXPECT_EQ(run->result.notConverged, exact->result.notConverged);
    const int k = exact->result.reachedStep - 1;
    EXPECT_NEAR(run->curve.rows[k][0], exact->curve.rows[k][0], 1e-6 * exact->curve.rows[k][0]);
}

}  // namespace
}  // namespace tarvelo
