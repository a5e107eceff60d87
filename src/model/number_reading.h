// Text to number, the one rule every numeric field is read with: the leading number of the
// text, "." as decimal point whatever the locale, blanks ignored, empty or non-numeric gives 0.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvelo {

// Blanks, tabs and line feeds are skipped anywhere; then an optional sign, digits with at most
// one ".", an optional exponent (E or D, optional sign, digits); the first other character ends
// the number. "&H" and "&O" prefixes read hexadecimal and octal integers.
double ReadNumber(std::string_view text);

struct CountValue {
    std::int16_t value = 0;
    bool overflow = false;  // the rounded value lies outside -32768..32767 (or is not finite)
};

// A count (vertices, bars, grid rows): ReadNumber rounded to the nearest integer, ties to even.
CountValue ReadCount(std::string_view text);
CountValue RoundToCount(double value);

}  // namespace tarvelo
