// Sine and cosine correctly rounded, also next to multiples of pi/2 as the bar rings are.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "model/exact_trig.h"

namespace tarvelo {
namespace {

// Within half an ulp of the long double `exact`, with room for its own 2^-63 error.
bool CorrectlyRounded(double value, long double exact) {
    const long double halfUlp =
        0.5L * (std::nextafter(value, std::numeric_limits<double>::infinity()) - value);
    return std::fabs(exact - static_cast<long double>(value)) <=
           halfUlp + std::ldexp(std::fabs(exact), -62);
}

TEST(ExactTrig, CorrectlyRoundedOnTheAnglesOfSections) {
    if (std::numeric_limits<long double>::digits < 64) GTEST_SKIP() << "no extended long double";
    std::vector<double> angles;
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> turns(-12.6, 12.6);
    for (int i = 0; i < 20000; ++i)
        angles.push_back(turns(random));
    // Bar rings of 1 to 299 bars, accumulated as the generators do, and their neighbours.
    for (int n = 1; n <= 299; n += 7) {
        const double step = 2 * 3.141592654 / n;
        double angle = -step;
        for (int j = 0; j < n; ++j) {
            angle += step;
            angles.insert(angles.end(), {angle, std::nextafter(angle, 10.0), -angle});
        }
    }
    int wrong = 0;
    for (const double a : angles) {
        const bool ok =
            CorrectlyRounded(ExactSin(a), sinl(a)) && CorrectlyRounded(ExactCos(a), cosl(a));
        if (!ok && ++wrong <= 5) ADD_FAILURE() << std::hexfloat << a;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(std::signbit(ExactSin(-0.0)));
    EXPECT_EQ(ExactCos(0.0), 1.0);
    EXPECT_TRUE(std::isnan(ExactSin(INFINITY)));
}

}  // namespace
}  // namespace tarvelo
