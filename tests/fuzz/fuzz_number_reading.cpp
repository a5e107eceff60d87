// The number-reading rule on arbitrary bytes. Besides never crashing it must:
// - never give NaN (a text is a number, 0, or too large and infinite);
// - ignore blanks, tabs and line feeds wherever they stand;
// - for a decimal text, give exactly what the C library's correctly rounded conversion gives for
//   the leading number (sign, digits with one point, optional E/D exponent);
// - round counts to the nearest integer, ties to even, and flag exactly the values outside the
//   16-bit range.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "model/number_reading.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The leading decimal number of a text without blanks, rewritten for strtod; empty when the
// text does not start with one.
std::string LeadingDecimal(std::string_view s) {
    std::size_t i = 0;
    std::string out;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) out += s[i++];
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (IsDigit(s[i])) {
            digits = true;
            out += s[i];
        } else if (s[i] == '.' && !point) {
            point = true;
            out += '.';
        } else {
            break;
        }
    }
    if (!digits) return {};
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j]))
                exponent += s[j++];
            out += exponent;
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = tarvelo::ReadNumber(text);
    // Never NaN, so plain == compares the readings below.
    FUZZ_CHECK(!std::isnan(value), "a text never reads as NaN");

    std::string stripped;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') stripped += c;
    const double again = tarvelo::ReadNumber(stripped);
    FUZZ_CHECK(again == value && std::signbit(again) == std::signbit(value),
               "blanks change nothing");

    if (!stripped.empty() && stripped[0] == '&') {
        FUZZ_CHECK(value >= 0.0, "&H and &O texts are unsigned");
    } else {
        const std::string decimal = LeadingDecimal(stripped);
        double expected = 0.0;
        if (!decimal.empty()) expected = std::strtod(decimal.c_str(), nullptr);
        if (expected == 0.0) expected = 0.0;  // the rule has no negative zero
        FUZZ_CHECK(value == expected, "decimal reading agrees with strtod");
        FUZZ_CHECK(!std::signbit(value) || value < 0.0, "no negative zero");
    }

    const tarvelo::CountValue count = tarvelo::ReadCount(text);
    const double rounded = std::isfinite(value) ? std::nearbyint(value) : value;
    const bool outside = !std::isfinite(value) || rounded < -32768.0 || rounded > 32767.0;
    FUZZ_CHECK(count.overflow == outside, "overflow flag");
    if (!outside) FUZZ_CHECK(count.value == rounded, "count rounded half to even");
    return 0;
}
