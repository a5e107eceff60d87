#include "procedures/refinement.h"

#include <algorithm>
#include <cmath>

#include "engine/column_model.h"

namespace tarvelo {
namespace {

// Beyond this many units a double no longer holds every whole number, and a long long is near.
constexpr double kMaxUnits = 9.0e15;

// value * scale rounded down or up to a whole number, a product within the slack of a whole
// number counting as that number. Outside the range of kMaxUnits (or NaN) gives 0; the callers
// check the range first.
long long WholeUnits(double value, double scale, bool up) {
    const double x = scale * value;
    if (!(std::fabs(x) < kMaxUnits)) return 0;
    const double whole = std::nearbyint(x);
    if (std::fabs(x - whole) <= kRoundingSlack * std::max(1.0, std::fabs(x))) {
        return static_cast<long long>(whole);
    }
    return static_cast<long long>(up ? std::ceil(x) : std::floor(x));
}

// units / 10^decimals with all its decimals: (1003, 3) -> "1.003", (-5, 2) -> "-0.05".
std::string FixedDecimals(long long units, int decimals) {
    long long power = 1;
    for (int d = 0; d < decimals; ++d)
        power *= 10;
    const bool negative = units < 0;
    const long long magnitude = negative ? -units : units;
    std::string fraction = std::to_string(magnitude % power);
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    return (negative ? "-" : "") + std::to_string(magnitude / power) + "." + fraction;
}

}  // namespace

long long ThousandthsDown(double value) {
    return WholeUnits(value, 1000, false);
}

long long HundredthsUp(double value) {
    return WholeUnits(value, 100, true);
}

std::string FormatRefinedSafety(double safety) {
    if (!(std::fabs(1000 * safety) < kMaxUnits)) return "";
    return FixedDecimals(ThousandthsDown(safety), 3);
}

std::string FormatRefinedArea(double area) {
    if (!(std::fabs(100 * area) < kMaxUnits)) return "";
    return FixedDecimals(HundredthsUp(area), 2);
}

RefinedAreaResult FindRefinedSteelArea(const RefinedSafetyOfArea& refinedSafety,
                                       AreaEstimate failing, AreaEstimate passing) {
    RefinedAreaResult result;
    if (!(failing.area >= 0) || !(passing.area > failing.area) ||
        !(100 * passing.area < kMaxUnits)) {
        return result;
    }
    // Invariant: `below` does not carry the loads; `above` carries them once `verified`. The
    // margins are refined S - 1 at both ends (NaN when unknown).
    long long below = WholeUnits(failing.area, 100, false);
    long long above = std::max(HundredthsUp(passing.area), below + 1);
    double belowMargin = failing.safety - 1;
    double aboveMargin = passing.safety - 1;
    bool verified = false;

    // The loads are carried when the refined S, as shown, reads at least 1.000.
    const auto carries = [&](long long hundredths, double& margin) -> std::optional<bool> {
        ++result.trials;
        const std::optional<double> safety = refinedSafety(static_cast<double>(hundredths) / 100);
        if (!safety) return std::nullopt;
        // A refined S is the lower end of a bracket narrower than kRefinementWidth: the
        // trials are placed as if the failure load were in its middle.
        margin = *safety + ColumnModel::kRefinementWidth / 2 - 1;
        return std::isfinite(*safety) && ThousandthsDown(*safety) >= 1000;
    };

    int lastSide = 0;  // +1 when the last trial moved `above`, -1 when it moved `below`
    long long widths[3] = {above - below, above - below, above - below};
    while (above - below > 1) {
        const long long width = above - below;
        long long next = below + width / 2;
        const bool halved = 2 * width <= widths[result.trials % 3];
        if ((halved || result.trials < 3) && belowMargin < 0 && aboveMargin > 0) {
            const double t = -belowMargin / (aboveMargin - belowMargin);
            next = below + static_cast<long long>(std::nearbyint(t * static_cast<double>(width)));
            next = std::clamp(next, below + 1, above - 1);
        }
        widths[result.trials % 3] = width;
        double margin = 0.0;
        const std::optional<bool> carried = carries(next, margin);
        if (!carried) return result;
        if (*carried) {
            above = next;
            aboveMargin = margin;
            verified = true;
            if (lastSide == 1) belowMargin /= 2;  // the same end moved twice: Illinois
            lastSide = 1;
        } else {
            below = next;
            belowMargin = margin;
            if (lastSide == -1) aboveMargin /= 2;
            lastSide = -1;
        }
    }
    if (!verified) {
        double margin = 0.0;
        const std::optional<bool> carried = carries(above, margin);
        if (!carried || !*carried) return result;
    }
    result.found = true;
    result.hundredths = above;
    result.area = static_cast<double>(above) / 100;
    return result;
}

}  // namespace tarvelo
