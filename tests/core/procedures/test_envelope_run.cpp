// The resistance envelope tied to the analysis and the design points of a simple column.
#include <gtest/gtest.h>

#include <cmath>

#include "core/core_test_support.h"
#include "model/column_numbers.h"
#include "procedures/column_file.h"
#include "procedures/envelope_run.h"
#include "procedures/load_cases.h"
#include "procedures/recording_host.h"
#include "report/report_envelope.h"

namespace tarvelo {
namespace {

using testing::LoadColumn;

// Greatest utilisation over the Gauss points: infinite when a ray misses the contour.
double WorstUtilisation(const ResistanceEnvelope& envelope, const ColumnModel& model) {
    double worst = 0.0;
    for (int i = 0; i < model.gaussPointCount(); ++i) {
        const SectionResultants& r = model.gaussPointForces()[i].forces;
        const auto eta = envelope.Utilisation(-r.N, r.momentX, r.momentY);
        worst = std::max(worst, eta ? *eta : INFINITY);
    }
    return worst;
}

// Without creep the analysis and the envelope share their laws: step k - 1 lies inside, the
// section that fails in step k on or outside.
TEST(EnvelopeRun, VerificationFailsWhereTheSectionForcesReachTheEnvelope) {
    for (const char* name : {"rect-25x50-pinned-pinned-uniaxial", "poly-trapezoid-pinned-pinned",
                             "rect-hollow-50x50-30x30-fixed-pinned-biaxial"}) {
        SCOPED_TRACE(name);
        ColumnData data = LoadColumn(std::string(TARVELO_TEST_DATA "/reference/") + name + ".json");
        data.creepCoefficient = "0";
        RecordingHost host;
        EnvelopeBasis basis;
        const auto result = Verify(data, host, {0, &basis});
        ASSERT_TRUE(result->completed);
        const int k = result->reachedStep;
        ASSERT_GT(k, 1);
        const ResistanceEnvelope envelope(basis.section, basis.barArea, basis.shortTermMaterial);

        const ColumnNumbers n = ReadColumnNumbers(data);
        for (int stepLimit : {k - 1, 0}) {
            ColumnModel model;
            model.Assemble(basis.section, basis.barArea, n[FieldId::L], basis.shortTermMaterial,
                           basis.loads);
            ASSERT_EQ(model.ApplySupportsAndFactor(n.baseSupport, n.topSupport), 0);
            LoadDeflectionCurve curve;
            const LoadStepResult steps = model.RunLoadSteps(50, 1, curve, nullptr, stepLimit);
            if (stepLimit != 0) {
                ASSERT_EQ(steps.sectionFailure, 0);
                EXPECT_LE(WorstUtilisation(envelope, model), 1.0);
                continue;
            }
            ASSERT_EQ(steps.reachedStep, k) << "the same laws as the verification";
            ASSERT_NE(steps.failure.cause, SectionFailure::Diverged);
            const int failed =
                (steps.failure.element - 1) * model.gaussPointCount() / model.elementCount() +
                steps.failure.gaussPoint - 1;
            const SectionResultants& r = model.gaussPointForces()[failed].forces;
            const auto eta = envelope.Utilisation(-r.N, r.momentX, r.momentY);
            EXPECT_TRUE(!eta || *eta >= 1.0 - 1e-4) << *eta;
        }
    }
}

// 25x50 pinned-pinned, Fd 1400 kN, Mxd 2500 / 1500 kNcm: minimum-moment semi-axes 1400 (1.5 +
// 0.03 h), a critical section above mid-height bent in xz; failing below Fd: no design point.
TEST(EnvelopeRun, DesignPointsOfASimpleColumn) {
    const ColumnData data =
        LoadColumn(TARVELO_TEST_DATA "/reference/rect-25x50-pinned-pinned-uniaxial.json");
    RecordingHost host;
    const auto run = RunEnvelope(CasesOf(data), EnvelopeSource::Verification, host, 1);
    ASSERT_TRUE(run->completed);
    ASSERT_EQ(run->cases.size(), 1u);
    const EnvelopeCaseResult& c = run->cases[0];
    EXPECT_EQ(c.Nd, 1400);
    EXPECT_EQ(c.topMoment.Mx, 2500);
    EXPECT_EQ(c.baseMoment.Mx, 1500);
    EXPECT_EQ(c.topMoment.My + c.baseMoment.My, 0);
    EXPECT_DOUBLE_EQ(c.minimum.semiAxisX, 1400 * 2.25);
    EXPECT_DOUBLE_EQ(c.minimum.semiAxisY, 1400 * 3.0);
    ASSERT_TRUE(c.designLoadReached && c.utilisation && c.resistingMoment);
    EXPECT_GT(c.critical.height, 225);
    EXPECT_LT(c.critical.height, 450);
    EXPECT_NEAR(c.criticalForces.N, 1400, 0.01 * 1400) << "in equilibrium within 1 %";
    EXPECT_GT(c.criticalForces.Mx, 2500);
    EXPECT_EQ(c.criticalForces.My, 0);
    EXPECT_NEAR(*c.resistingMoment, *run->envelope->ResistingMoment(c.criticalForces.N, 0),
                1e-9 * *c.resistingMoment);
    EXPECT_NEAR(*c.utilisation * *c.resistingMoment, c.criticalForces.Mx,
                1e-9 * c.criticalForces.Mx);
    EXPECT_LT(*c.utilisation, 1.0) << "S = 1.14";

    RecordingHost designHost;
    const auto design = RunEnvelope(CasesOf(data), EnvelopeSource::Design, designHost, 1);
    ASSERT_TRUE(design->completed);
    const EnvelopeCaseResult& d = design->cases[0];
    EXPECT_EQ(d.loadFactor, 0.98) << "the designed steel fails in step 50";
    ASSERT_TRUE(d.utilisation);
    EXPECT_LE(*d.utilisation, 1.0);

    ColumnData weak = data;
    weak.totalSteelArea = "5";
    RecordingHost weakHost;
    const auto failing = RunEnvelope(CasesOf(weak), EnvelopeSource::Verification, weakHost, 1);
    ASSERT_TRUE(failing->completed);
    EXPECT_FALSE(failing->cases[0].designLoadReached);
    EXPECT_FALSE(failing->cases[0].utilisation);
}

// Every case against one contour: a verification's as each case alone, a design's with the
// governing case's steel.
TEST(EnvelopeRun, EveryLoadCaseAgainstOneContour) {
    const ColumnData data = LoadColumn(TARVELO_EXAMPLES "/combinacoes-retangular.json");
    const std::vector<LoadCase> cases = Cases(data);
    RecordingHost host;
    const auto verified = RunEnvelope(CasesOf(data), EnvelopeSource::Verification, host, 1);
    ASSERT_TRUE(verified->completed);
    ASSERT_EQ(verified->cases.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto alone = RunEnvelope({{"", ColumnForCase(data, cases[i])}},
                                       EnvelopeSource::Verification, host, 1);
        EXPECT_EQ(verified->cases[i].name,
                  "Combinação " + std::to_string(i + 1) + " — " + cases[i].name);
        EXPECT_EQ(verified->cases[i].utilisation, alone->cases[0].utilisation);
    }
    // The report's table of the cases, as printed.
    EXPECT_EQ(report::EnvelopeText(*verified),
              testing::ReadAll(TARVELO_TEST_DATA "/reports/combinacoes-retangular-envelope.txt"));

    const auto designed = RunEnvelope(CasesOf(data), EnvelopeSource::Design, host, 1);
    ASSERT_TRUE(designed->completed);
    const auto design = RunCases(RunKind::Design, data, host, {1, {}});
    const double steel =
        design.cases[static_cast<std::size_t>(design.governing)].result->requiredSteelArea;
    ColumnData withSteel = ColumnForCase(data, cases[0]);
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", steel);
    withSteel.totalSteelArea = text;
    const auto first = RunEnvelope({{"", withSteel}}, EnvelopeSource::Verification, host, 1);
    EXPECT_EQ(designed->cases[0].utilisation, first->cases[0].utilisation);
    // The case that needs the steel has the points of its own design.
    const auto g = static_cast<std::size_t>(design.governing);
    const auto own =
        RunEnvelope({{"", ColumnForCase(data, cases[g])}}, EnvelopeSource::Design, host, 1);
    EXPECT_EQ(designed->cases[g].utilisation, own->cases[0].utilisation);
    EXPECT_EQ(designed->cases[g].loadFactor, own->cases[0].loadFactor);
}

}  // namespace
}  // namespace tarvelo
