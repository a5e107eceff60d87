// The refined results: the failure load to three decimals and the steel area that carries the
// design loads to two, both rounded to the safe side, and the search on the area.
#pragma once

#include <functional>
#include <limits>
#include <optional>
#include <string>

namespace tarvelo {

// Load factors and areas reach these roundings as quotients (steps / 50, hundredths / 100)
// that binary doubles cannot hold exactly: 0.99 * 1000 is 989.9999999999999. A product within
// kRoundingSlack (relative) of a whole number is taken as that number before rounding down or
// up. The refined load factors are bisection ends, whole multiples of 1/64 of a step of 1/50:
// any one that is not a whole number of thousandths lies at least 1/16 of a thousandth away
// from one, so the slack absorbs representation error only and never moves a result to the
// unsafe side.
inline constexpr double kRoundingSlack = 1e-9;

// floor(1000 * value) and ceil(100 * value), with the slack above.
long long ThousandthsDown(double value);
long long HundredthsUp(double value);

// "S refinado": three decimals, rounded down (1.0037 -> "1.003", 10 -> "10.000").
std::string FormatRefinedSafety(double safety);
// "Armadura refinada (cm2)": two decimals, rounded up (15.841 -> "15.85", 16 -> "16.00").
std::string FormatRefinedArea(double area);

// The refined S of a verification with the given total steel area (cm2), or nothing when that
// verification could not be analysed (the search then ends without a result).
using RefinedSafetyOfArea = std::function<std::optional<double>(double area)>;

// An end of the area bracket with its refined S, measured or estimated (NaN when unknown). The
// values only place the trials: the area found never depends on them, the number of trials
// does.
struct AreaEstimate {
    double area = 0.0;
    double safety = std::numeric_limits<double>::quiet_NaN();
};

struct RefinedAreaResult {
    bool found = false;
    long long hundredths = 0;  // the area in hundredths of a cm2
    double area = 0.0;         // hundredths / 100, the area that was verified
    int trials = 0;            // verifications made
};

// Smallest total steel area on the grid of hundredths of a cm2 whose refined S is at least
// 1.000, between the hundredth at or below failing.area, taken as not carrying the design loads
// (an area whose S is at most 1 does not), and the hundredth at or above passing.area, expected
// to carry them (an area whose S is at least 1.02 does). Trials are placed by interpolation
// on the refined S (regula falsi, Illinois variant; each refined S taken half the refinement's
// bracket higher, where the failure load lies on average), with a bisection whenever the
// bracket has not halved in three trials, so the count stays below about 3 log2 of the bracket
// in hundredths, and is two to five when the failing end's refined S is known. The area found has
// always been verified by a trial of its own; when no hundredth up to passing.area carries the
// loads, or a trial cannot be analysed, nothing is found. Needs 0 <= failing.area < passing.area,
// both finite (otherwise nothing is found, with no trial).
RefinedAreaResult FindRefinedSteelArea(const RefinedSafetyOfArea& refinedSafety,
                                       AreaEstimate failing, AreaEstimate passing);

}  // namespace tarvelo
