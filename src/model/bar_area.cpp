#include "model/bar_area.h"

#include <cmath>
#include <numbers>

#include "model/number_reading.h"

namespace tarvelo {

std::string BarAreaText(std::string_view countText, double diameterMm, int maxLength) {
    const CountValue count = ReadCount(countText);
    if (count.overflow || count.value < 1 || !(diameterMm > 0)) return "";
    const double diameterCm = diameterMm / 10;
    const double area = count.value * std::numbers::pi * diameterCm * diameterCm / 4;
    // Written from an integer number of units of the last decimal, so the text never depends on
    // the locale of the C library.
    long long unit = 100;
    for (int decimals = 2; decimals >= 0; --decimals, unit /= 10) {
        const long long units = std::llround(area * static_cast<double>(unit));
        std::string text = std::to_string(units / unit);
        if (decimals > 0) {
            const std::string fraction = std::to_string(units % unit + unit);  // leading zeros
            text += "." + fraction.substr(1);
        }
        if (static_cast<int>(text.size()) <= maxLength) return text;
    }
    return "";
}

}  // namespace tarvelo
