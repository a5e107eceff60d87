// The design's search for the total steel area with which the column just carries its design
// loads (safety coefficient 1). The plain concrete column comes first; if it fails, the column
// with 8 % of the concrete area brackets the answer, and regula falsi narrows the bracket until
// the residual or the bracket's relative width is small. The search knows nothing of windows:
// each trial is one call of SteelTrials.
#pragma once

#include <optional>

namespace tarvelo {

inline constexpr int kMaxSteelTrials = 100;
// The search brackets the area by 8 % of the concrete area.
inline constexpr double kMaxSteelRatio = 0.08;

class SteelTrials {
  public:
    virtual ~SteelTrials() = default;
    // Before every trial, with its number from 1; also before the one the trial cap refuses.
    virtual void Begin(int /*trial*/) {}
    // The residual S - 1 of the column with this total steel area (cm2), or nothing when the
    // analysis cannot run (the trial has said why).
    virtual std::optional<double> Residual(double steelArea) = 0;
};

enum class SteelSearchEnd {
    Found,              // steelArea holds the area
    AboveEightPerCent,  // the column fails even with 8 % of the concrete area
    NoConvergence,      // the trial cap was reached
    AnalysisFailed,     // a trial's analysis could not run
};

struct SteelSearch {
    SteelSearchEnd end = SteelSearchEnd::Found;
    double steelArea = 0.0;  // cm2, when found
    int trials = 0;          // analyses that ran
};

SteelSearch SearchSteelArea(double concreteArea, SteelTrials& trials);

}  // namespace tarvelo
