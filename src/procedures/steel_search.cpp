#include "procedures/steel_search.h"

#include <cmath>

namespace tarvelo {
namespace {

constexpr double kResidualTolerance = 0.01;
constexpr double kWidthTolerance = 0.001;

SteelSearch Ended(SteelSearchEnd end, int trials) {
    SteelSearch search;
    search.end = end;
    search.trials = trials;
    return search;
}

}  // namespace

SteelSearch SearchSteelArea(double concreteArea, SteelTrials& trials) {
    int trial = 1;
    trials.Begin(trial);
    std::optional<double> residual = trials.Residual(0.0);
    if (!residual) return Ended(SteelSearchEnd::AnalysisFailed, 0);
    double a = 0.0;
    double fa = *residual;
    // The plain concrete column carries the loads: no steel is needed.
    if (!(fa < 0)) return Ended(SteelSearchEnd::Found, 1);

    ++trial;
    trials.Begin(trial);
    double b = kMaxSteelRatio * concreteArea;
    residual = trials.Residual(b);
    if (!residual) return Ended(SteelSearchEnd::AnalysisFailed, 1);
    double fb = *residual;
    if (fa * fb > 0) return Ended(SteelSearchEnd::AboveEightPerCent, 2);

    double fc = 1.0;
    double width = 1.0;
    double c = 0.0;
    while (!(std::fabs(fc) <= kResidualTolerance || width <= kWidthTolerance)) {
        c = (a * fb - b * fa) / (fb - fa);
        ++trial;
        trials.Begin(trial);
        if (trial > kMaxSteelTrials) return Ended(SteelSearchEnd::NoConvergence, trial - 1);
        residual = trials.Residual(c);
        if (!residual) return Ended(SteelSearchEnd::AnalysisFailed, trial - 1);
        fc = *residual;
        if (fc * fa < 0) {
            b = c;
            fb = fc;
        } else {
            a = c;
            fa = fc;
        }
        width = (b - a) / c;
    }
    SteelSearch found = Ended(SteelSearchEnd::Found, trial);
    found.steelArea = c;
    return found;
}

}  // namespace tarvelo
