// The refined failure load and steel area: bisections, safe-side rounding, nothing else changed.
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
#include "engine/column_model.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "procedures/run_json.h"

namespace tarvelo {
namespace {

using testing::MakeMaterial;
using testing::MakeRectangle;

constexpr int kSteps = 50;

// 30 x 30, four corner bars, 1.5 m pinned-pinned, 2000 kN centred: it fails when the uniform
// shortening passes 2 per mille, carrying 0.85 * 2.5 / 1.4 * 900 = 1366.07 kN of concrete plus
// 40 kN/cm2 (below fyd) of steel.
const SectionGeometry kShort30x30 = MakeRectangle(30, 30, {{4, 4}, {26, 4}, {4, 26}, {26, 26}});

std::optional<double> ShortColumnRefinedSafety(double area) {
    ColumnLoads loads;
    loads.Fd = 2000;
    auto model = std::make_unique<ColumnModel>();
    model->Assemble(kShort30x30, area / 4, 150, MakeMaterial(25, 0), loads);
    if (model->ApplySupportsAndFactor(SupportCondition::Pinned, SupportCondition::Pinned) != 0)
        return std::nullopt;
    LoadDeflectionCurve curve;
    model->RunLoadSteps(kSteps, 1, curve, nullptr);
    return model->RefineFailureLoad(1).carriedFactor;
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
    // Smallest area carrying 2000 kN, (2000 - 1366.07) / 40 = 15.848 cm2, from a design's
    // bracket or from scratch.
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

// Search invariants with refined S as formulas: linear, curved, a staircase of 1/3200.
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
        {0.004, 0.0, 9e13, false, 0},         // beyond exact hundredths: no trial
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
    // Bisection ends k/64 of a step against floor(5k / 16): 49.5 / 50 must stay 0.990.
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
    EXPECT_EQ(FormatRefinedArea(8.95e13), "89500000000000.00");  // the last exact hundredths
}

// The refined values as VERIFICAR and DIMENSIONAR give them: the refined S lies in the failing
// step, the refined area is the first hundredth carrying the loads to 1.000, and every other
// output (the command line's JSON) is the same without the refinement.
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
    for (const char* file :
         {TARVELO_TEST_DATA "/reference/rect-30x30-fck60-fixed-fixed-distributed.json",
          TARVELO_TEST_DATA "/reference/rect-hollow-50x50-30x30-fixed-pinned-biaxial.json",
          TARVELO_EXAMPLES "/retangular-esbelto-biaxial.json",
          TARVELO_TEST_DATA "/reference/rejected-rect-12x40-bmin.json"}) {
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
