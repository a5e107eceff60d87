// The design's steel-area search driven by made-up residuals, without a column or a host.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "procedures/steel_search.h"

namespace tarvelo {
namespace {

// Residuals from a function of the area; a trial number in `failAt` cannot be analysed.
struct FakeTrials final : SteelTrials {
    std::function<double(double)> residual;
    int failAt = 0;
    std::vector<int> begun;
    std::vector<double> areas;

    void Begin(int trial) override { begun.push_back(trial); }
    std::optional<double> Residual(double area) override {
        if (static_cast<int>(areas.size()) + 1 == failAt) return std::nullopt;
        areas.push_back(area);
        return residual(area);
    }
};

constexpr double kConcrete = 100.0;  // cm2: the 8 % bracket ends at 8 cm2

TEST(SteelSearch, EndsAsTheAnalysesDecide) {
    struct Case {
        const char* name;
        std::function<double(double)> residual;
        int failAt;
        SteelSearchEnd end;
        int trials;
    };
    const Case cases[] = {
        {"plain concrete carries", [](double) { return 0.0; }, 0, SteelSearchEnd::Found, 1},
        {"fails with 8 %", [](double a) { return a - 9; }, 0, SteelSearchEnd::AboveEightPerCent, 2},
        {"exactly 8 %", [](double a) { return a - 8; }, 0, SteelSearchEnd::Found, 3},
        // A residual that jumps far above zero at 8 % makes regula falsi creep along.
        {"trial cap", [](double a) { return a < 8 ? -1.0 : 1e6; }, 0, SteelSearchEnd::NoConvergence,
         kMaxSteelTrials},
        {"first analysis fails", [](double a) { return a - 4; }, 1, SteelSearchEnd::AnalysisFailed,
         0},
        {"third analysis fails", [](double a) { return a - 4; }, 3, SteelSearchEnd::AnalysisFailed,
         2},
    };
    for (const Case& c : cases) {
        FakeTrials trials;
        trials.residual = c.residual;
        trials.failAt = c.failAt;
        const SteelSearch search = SearchSteelArea(kConcrete, trials);
        EXPECT_EQ(search.end, c.end) << c.name;
        EXPECT_EQ(search.trials, c.trials) << c.name;
        EXPECT_EQ(static_cast<int>(trials.areas.size()), c.trials) << c.name;
        // Every trial is announced in order, also the one the cap refuses.
        const int announced = c.trials + (c.end == SteelSearchEnd::NoConvergence ||
                                          c.end == SteelSearchEnd::AnalysisFailed);
        ASSERT_EQ(static_cast<int>(trials.begun.size()), announced) << c.name;
        for (int i = 0; i < announced; ++i)
            EXPECT_EQ(trials.begun[i], i + 1) << c.name;
        if (!trials.areas.empty()) {
            EXPECT_EQ(trials.areas[0], 0.0) << c.name;
        }
        if (trials.areas.size() > 1) {
            EXPECT_EQ(trials.areas[1], 8.0) << c.name;
        }
    }
}

}  // namespace
}  // namespace tarvelo
