// The refined failure load and steel area: the bisections, their safe-side roundings, and that
// they leave every result of the load steps as it was.
#include "procedures/refinement.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/core_test_support.h"
#include "core/engine/column_test_support.h"
#include "engine/column_model.h"
#include "model/column_numbers.h"
#include "model/number_reading.h"
#include "model/section_generators.h"
#include "procedures/column_file.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "procedures/run_json.h"

namespace tarvelo {
namespace {

using testing::MakeMaterial;
using testing::MakeRectangle;

constexpr int kSteps = 50;

// A column set up for one verification: the model after its load steps, and its refinement.
struct Verified {
    std::unique_ptr<ColumnModel> model = std::make_unique<ColumnModel>();
    LoadDeflectionCurve curve;
    LoadStepResult steps;
    FailureLoadRefinement refinement;
};

std::unique_ptr<Verified> VerifyWithRefinement(const SectionGeometry& s, double totalSteel,
                                               double L, const MaterialParameters& m,
                                               const ColumnLoads& loads, SupportCondition base,
                                               SupportCondition top) {
    auto v = std::make_unique<Verified>();
    v->model->Assemble(s, totalSteel / s.nb, L, m, loads);
    if (v->model->ApplySupportsAndFactor(base, top) != 0) return nullptr;
    v->steps = v->model->RunLoadSteps(kSteps, 1, v->curve, nullptr);
    v->refinement = v->model->RefineFailureLoad(1);
    return v;
}

// 30 x 30, four corner bars, 1.5 m pinned at both ends, 2000 kN centred: it stays straight
// and fails when the uniform shortening passes 2 per mille. There the concrete is on its
// plateau, 0.85 fcd = 0.85 * 2.5 / 1.4 kN/cm2 over 900 cm2 = 1366.07 kN, and the bars at
// 0.002 * 20000 = 40 kN/cm2 (below fyd = 43.5), so it carries 1366.07 + 40 As kN. (Without
// any steel the steps past 1366 kN end unconverged and the run goes on, so S and with it the
// refined S overstate that column: the refinement stays within the failing step.)
const SectionGeometry kShort30x30 = MakeRectangle(30, 30, {{4, 4}, {26, 4}, {4, 26}, {26, 26}});

std::optional<double> ShortColumnRefinedSafety(double area) {
    ColumnLoads loads;
    loads.Fd = 2000;
    const auto v = VerifyWithRefinement(kShort30x30, area, 150, MakeMaterial(25, 0), loads,
                                        SupportCondition::Pinned, SupportCondition::Pinned);
    if (!v) return std::nullopt;
    return v->refinement.carriedFactor;
}

TEST(Refinement, ShortColumnCarriesItsSquashLoadToAThousandth) {
    const double concrete = 0.85 * 2.5 / 1.4 * 900;
    for (double area : {1.0, 8.0, 15.36, 15.84, 15.85, 24.0, 40.0}) {
        SCOPED_TRACE(area);
        const double exact = std::floor((concrete + 40 * area) / 2000 * 1000) / 1000;
        const std::optional<double> refined = ShortColumnRefinedSafety(area);
        ASSERT_TRUE(refined);
        EXPECT_NEAR(ThousandthsDown(*refined) / 1000.0, exact, 0.001 + 1e-12);
        EXPECT_LE(*refined, (concrete + 40 * area) / 2000);  // never above what it carries
    }
    // Smallest area carrying 2000 kN: (2000 - 1366.07) / 40 = 15.848 cm2, from the bracket a
    // design of the column ends with (S = 1 at 15.36 cm2, S = 1.02 at 16 cm2, refined S taken
    // half a step below) or from scratch.
    struct Bracket {
        AreaEstimate failing, passing;
        int trials;
    };
    const Bracket brackets[] = {{{15.36, 0.99}, {16.0, 1.01}, 5}, {{0.0}, {72.0}, 5}};
    for (const auto& [failing, passing, trials] : brackets) {
        const RefinedAreaResult r =
            FindRefinedSteelArea(ShortColumnRefinedSafety, failing, passing);
        ASSERT_TRUE(r.found);
        EXPECT_EQ(FormatRefinedArea(r.area), "15.85");
        EXPECT_LE(r.trials, trials) << failing.area;
    }
}

// Invariants of the search on the area, with refined S given as formulas: linear, curved, and a
// staircase of 1/3200 as the bisection of a load step gives it.
TEST(Refinement, AreaSearchReturnsTheSmallestVerifiedHundredth) {
    struct Case {
        double threshold;  // refined S reaches 1 there
        double failing, passing;
        bool found;
        long long hundredths;
    };
    const Case cases[] = {
        {15.848, 15.36, 80.0, true, 1585},    // between two hundredths: rounded up
        {15.85, 0.0, 72.0, true, 1585},       // on a hundredth: that one
        {15.85, 15.85, 15.86, true, 1586},    // the failing end is never taken
        {0.004, 0.0, 1.0, true, 1},           // the first hundredth above zero
        {15.85, 15.851, 15.852, true, 1586},  // a bracket inside one hundredth
        {80.0, 0.0, 72.0, false, 0},          // nothing up to the passing end carries
        {1.0, 5.0, 5.0, false, 0},            // empty bracket: no trial
        {1.0, -1.0, 5.0, false, 0},           // negative area: no trial
    };
    using Law = double (*)(double area, double threshold);
    const Law laws[] = {
        [](double a, double t) { return 1 + (a - t) / 50; },
        [](double a, double t) { return 1 + std::sqrt(a) - std::sqrt(t); },
        [](double a, double t) { return std::floor(3200 * (1 + (a - t) / 50)) / 3200; },
    };
    const double kUnknown = std::numeric_limits<double>::quiet_NaN();
    for (const Case& c : cases) {
        for (const Law law : laws) {
            // Estimates of the ends: none, right, or far off; the area found stays the same.
            const double right[] = {law(c.failing, c.threshold), law(c.passing, c.threshold)};
            for (const auto& [sf, sp] : {std::pair{kUnknown, kUnknown},
                                         std::pair{right[0], right[1]}, std::pair{0.1, 30.0}}) {
                SCOPED_TRACE(::testing::Message() << c.threshold << " " << c.failing << " " << sf);
                std::vector<std::pair<double, double>> trials;
                const auto safety = [&](double area) -> std::optional<double> {
                    trials.emplace_back(area, law(area, c.threshold));
                    return trials.back().second;
                };
                const RefinedAreaResult r =
                    FindRefinedSteelArea(safety, {c.failing, sf}, {c.passing, sp});
                EXPECT_EQ(r.found, c.found);
                EXPECT_EQ(r.trials, static_cast<int>(trials.size()));
                EXPECT_LE(r.trials, 3 * std::log2(std::max(2.0, 100 * c.passing)) + 2);
                if (!c.found) continue;
                EXPECT_EQ(r.hundredths, c.hundredths);
                EXPECT_EQ(r.area, c.hundredths / 100.0);
                // The area returned was itself verified, and carries the loads.
                bool verified = false;
                for (const auto& [area, s] : trials)
                    verified = verified || (area == r.area && s >= 1.0);
                EXPECT_TRUE(verified);
            }
        }
    }
    // A trial that cannot be analysed ends the search without a result.
    const RefinedAreaResult none =
        FindRefinedSteelArea([](double) { return std::optional<double>(); }, {0.0}, {72.0});
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.trials, 1);
}

TEST(Refinement, RoundingToTheSafeSide) {
    // Every bisection end of a refined S (k/64 of a step of 1/50) against exact integer
    // arithmetic: floor(1000 * k / 3200) = floor(5k / 16). Divisions such as 49.5 / 50 = 0.99
    // fall a hair below their thousandth and must not lose it.
    for (long long k = 0; k <= 64 * 500; ++k)
        ASSERT_EQ(ThousandthsDown(k / 64.0 / kSteps), 5 * k / 16) << k;
    // Every area of the hundredths grid up to 1000 cm2 reads as itself.
    for (long long h = 0; h <= 100000; ++h)
        ASSERT_EQ(HundredthsUp(h / 100.0), h) << h;

    const std::pair<double, const char*> safety[] = {
        {1.0, "1.000"},   {49.5 / 50, "0.990"}, {1.0037, "1.003"}, {0.9999, "0.999"},
        {10.0, "10.000"}, {0.0, "0.000"},       {0.0155, "0.015"}};
    for (const auto& [value, text] : safety)
        EXPECT_EQ(FormatRefinedSafety(value), text) << value;
    const std::pair<double, const char*> areas[] = {
        {15.841, "15.85"}, {15.85, "15.85"}, {1585 / 100.0, "15.85"}, {16.0, "16.00"},
        {0.001, "0.01"},   {0.0, "0.00"},    {1234.5, "1234.50"}};
    for (const auto& [value, text] : areas)
        EXPECT_EQ(FormatRefinedArea(value), text) << value;
    EXPECT_EQ(FormatRefinedSafety(std::nan("")), "");
    EXPECT_EQ(FormatRefinedArea(1e300), "");
}

// The column of a file set up as a verification sets it up (section generated and centred,
// materials and loads read from the texts).
std::unique_ptr<Verified> VerifyFile(const ColumnData& data) {
    const int bars = ReadCount(data.barCount).value;
    SectionGeometry s;
    double area = 0;
    if (GenerateSection(ReadColumnNumbers(data), bars, s) != RuleId::None ||
        !CentreSection(s, area)) {
        return nullptr;
    }
    MaterialParameters m;
    const double fck = ReadNumber(data.fck);
    ComputeConcreteParameters(fck, m);
    m.fcd = fck / 10 / ReadNumber(data.Gamac);
    m.fyd = ReadNumber(data.fyk) / 10 / ReadNumber(data.Gamas);
    CompleteMaterialParameters(ReadNumber(data.creepCoefficient), m);
    m.Es = ReadNumber(data.Es) * 100;
    ColumnLoads loads;
    loads.Fd = ReadNumber(data.Fd);
    loads.Hxd_t = ReadNumber(data.Hxd_t);
    loads.Hyd_t = ReadNumber(data.Hyd_t);
    loads.Mxd_t = ReadNumber(data.Mxd_t);
    loads.Myd_t = ReadNumber(data.Myd_t);
    loads.Mxd_b = ReadNumber(data.Mxd_b);
    loads.Myd_b = ReadNumber(data.Myd_b);
    loads.pxd = ReadNumber(data.pxd);
    loads.pyd = ReadNumber(data.pyd);
    return VerifyWithRefinement(s, ReadNumber(data.totalSteelArea), ReadNumber(data.L), m, loads,
                                data.baseSupport, data.topSupport);
}

// Reference and example columns of every support and section outline but the circles (whose
// designs take a second each), and one refused at its input.
const std::string kColumns[] = {
    TARVELO_TEST_DATA "/reference/poly-trapezoid-pinned-pinned.json",
    TARVELO_TEST_DATA "/reference/rect-30x30-fck60-fixed-fixed-distributed.json",
    TARVELO_TEST_DATA "/reference/rect-hollow-50x50-30x30-fixed-pinned-biaxial.json",
    TARVELO_TEST_DATA "/reference/rect-25x50-pinned-pinned-uniaxial.json",
    TARVELO_EXAMPLES "/retangular-esbelto-biaxial.json",
    TARVELO_EXAMPLES "/retangular-vazado-balanco.json",
    TARVELO_TEST_DATA "/reference/rejected-rect-12x40-bmin.json"};

// Those columns: the refined S lies in the failing step's bracket, and the refinement leaves the
// run's results, curve and state exactly as the verification has them.
TEST(Refinement, ReferenceColumnsRefineWithinTheFailingStep) {
    int checked = 0;
    for (const std::string& file : kColumns) {
        SCOPED_TRACE(file);
        const ColumnData data = testing::LoadColumn(file);
        RecordingHost host;
        const auto verification = Verify(data, host);
        if (!verification->completed) continue;
        const auto v = VerifyFile(data);
        ASSERT_TRUE(v);
        const int k = verification->reachedStep;
        ASSERT_EQ(v->steps.reachedStep, k);
        ASSERT_EQ(v->curve.rows, verification->curve.rows);

        const FailureLoadRefinement& r = v->refinement;
        ASSERT_EQ(r.refined, v->steps.sectionFailure == 1);
        if (r.refined) {
            EXPECT_GT(r.carriedFactor, (k - 1.0) / kSteps);
            EXPECT_GE(ThousandthsDown(r.carriedFactor), 20 * (k - 1));
            EXPECT_LT(r.carriedFactor, static_cast<double>(k) / kSteps);
            EXPECT_LT(r.failedFactor - r.carriedFactor, ColumnModel::kRefinementWidth);
            EXPECT_LE(r.trials, 6);
        } else {
            EXPECT_EQ(r.carriedFactor, 10.0);
        }
        // Refining again repeats the refinement; a run without one repeats the run and
        // leaves the state the refined run was left with.
        const ColumnModel::DofVector U = v->model->U(), F = v->model->F(), Fint = v->model->Fint();
        const FailureLoadRefinement again = v->model->RefineFailureLoad(1);
        EXPECT_EQ(again.carriedFactor, r.carriedFactor);
        EXPECT_EQ(again.solutions, r.solutions);
        LoadDeflectionCurve curve;
        const LoadStepResult rerun = v->model->RunLoadSteps(kSteps, 1, curve, nullptr);
        EXPECT_EQ(rerun.solutions, v->steps.solutions);
        EXPECT_EQ(curve.rows, v->curve.rows);
        EXPECT_EQ(v->model->U(), U);
        EXPECT_EQ(v->model->F(), F);
        EXPECT_EQ(v->model->Fint(), Fint);
        ++checked;
    }
    EXPECT_EQ(checked, 6);
}

// The refined results as VERIFICAR and DIMENSIONAR give them, for some of those columns: the
// refined S lies in the failing step, the refined area is the first hundredth whose verification
// carries the loads to 1.000, and without the refinement every other output (the JSON of the
// command line) is the same.
TEST(Refinement, ProceduresAddTheRefinedValuesAndChangeNothingElse) {
    const auto run = [](RunKind kind, const ColumnData& data, bool refine) {
        RecordingHost host;
        ProcedureOptions options;
        options.refine = refine;
        const auto result = RunProcedure(kind, data, host, options);
        auto j = nlohmann::json::parse(RunResultJson("f", kind, host, *result));
        return std::pair{std::move(j), result->completed ? result->reachedStep : -1};
    };
    // Thousandths of the refined S of a verification with the area (all 500 steps: 10).
    const auto thousandths = [](const std::string& text) {
        return text.empty() ? 10000 : std::llround(std::stod(text) * 1000);
    };
    const auto refinedS = [&](ColumnData data, const std::string& area) {
        data.totalSteelArea = area;
        return thousandths(run(RunKind::Verify, data, true).first["refinedS"]);
    };
    int designs = 0;
    for (const std::string& file : {kColumns[1], kColumns[2], kColumns[4], kColumns[6]}) {
        SCOPED_TRACE(file);
        const ColumnData data = testing::LoadColumn(file);
        for (const RunKind kind : {RunKind::Verify, RunKind::Design}) {
            auto [refined, k] = run(kind, data, true);
            auto [plain, kPlain] = run(kind, data, false);
            const char* key = kind == RunKind::Verify ? "refinedS" : "refinedRequiredSteelArea";
            const std::string text = refined[key].get<std::string>();
            EXPECT_EQ(plain[key], "");
            refined.erase(key);
            plain.erase(key);
            EXPECT_EQ(refined, plain);
            if (text.empty()) continue;
            if (kind == RunKind::Verify) {
                EXPECT_GE(thousandths(text), 20 * (k - 1)) << text;
                EXPECT_LE(thousandths(text), 20 * k) << text;
            } else {
                // Text "15.85": it carries to 1.000, 15.84 does not.
                EXPECT_GE(refinedS(data, text), 1000);
                const long long h = std::llround(std::stod(text) * 100) - 1;
                const std::string below = FormatRefinedArea(h / 100.0);
                EXPECT_LT(refinedS(data, below), 1000) << below;
                ++designs;
            }
        }
    }
    EXPECT_EQ(designs, 3);
}

}  // namespace
}  // namespace tarvelo
