// pow, expm1 and log1p almost always correctly rounded and never an ulp off, on the arguments
// the concrete law meets and on wide ranges, against the long double of x86; sine and cosine
// correctly rounded on the angles of the generated sections.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "engine/portable_math.h"
#include "model/exact_trig.h"

namespace tarvelo {
namespace {

// Error in ulps against the long double `exact` (itself uncertain by 2^-10 ulp).
long double UlpError(double value, long double exact) {
    const double ulp = std::nextafter(std::fabs(value), INFINITY) - std::fabs(value);
    return std::fabs(exact - static_cast<long double>(value)) / ulp;
}

struct Tally {
    long count = 0, misrounded = 0, unlikeLibm = 0;
    long double worst = 0;
    void Add(double value, long double exact, double libm) {
        const long double error = UlpError(value, exact);
        worst = std::max(worst, error);
        misrounded += error > 0.5L + 0x1p-10L;
        unlikeLibm += value != libm;
        ++count;
    }
};

TEST(PortableMath, WithinHalfAnUlpAlmostAlways) {
    if (std::numeric_limits<long double>::digits < 64) GTEST_SKIP() << "no extended long double";
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0), base(0.0, 10.0), n(1.4, 2.0);
    Tally pow, expm1, log1p;
    for (int i = 0; i < 25000; ++i) {
        const double x = base(random), u = unit(random), e = n(random);
        for (const double y : {0.53, 4.0, 1.0 / 3.0, 1.0 / e, e})
            pow.Add(PortablePow(x, y), powl(x, y), std::pow(x, y));
        for (const double y : {e + 1.0, e + 2.0, e - 12.0, 3.0, 4.0, -4.0})
            pow.Add(PortablePow(u, y), powl(u, y), std::pow(u, y));
        // Wide: any positive base with a power in range, tiny and large arguments.
        const double wideBase =
            std::ldexp(1.0 + unit(random), static_cast<int>(base(random) * 200) - 1000);
        const double wideExponent = (unit(random) - 0.5) * 1400.0 / std::fabs(std::log(wideBase));
        pow.Add(PortablePow(wideBase, wideExponent), powl(wideBase, wideExponent),
                std::pow(wideBase, wideExponent));
        const double tiny = std::ldexp(unit(random) - 0.5, -static_cast<int>(base(random) * 6));
        const double wide = (unit(random) - 0.05) * 740.0;
        for (const double t : {-u, tiny, std::ldexp(wide, 400)})
            log1p.Add(PortableLog1p(t), log1pl(t), std::log1p(t));
        for (const double t : {e * PortableLog1p(-u), tiny, wide})
            expm1.Add(PortableExpm1(t), expm1l(t), std::expm1(t));
    }
    for (const auto& [name, tally] : {std::pair{"pow", pow}, {"expm1", expm1}, {"log1p", log1p}}) {
        std::printf("%-6s %ld arguments: worst %.4Lf ulp, %ld misrounded, %ld unlike the libm\n",
                    name, tally.count, tally.worst, tally.misrounded, tally.unlikeLibm);
        EXPECT_LT(tally.worst, 1.0L) << name;
        EXPECT_LE(tally.misrounded * 25000, tally.count) << name;
    }
}

// Special values as the standard functions give them (exact in every C library).
TEST(PortableMath, SpecialValuesAsTheStandardFunctions) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto same = [](double a, double b) {
        return (std::isnan(a) && std::isnan(b)) ||
               std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
    };
    const double pows[][2] = {{0.0, 2.5},     {-0.0, 3.0},       {-0.0, 2.0},        {-0.0, -3.0},
                              {0.0, -1.5},    {-2.0, 3.0},       {-2.0, 2.0},        {-2.0, -3.0},
                              {-2.0, 0.5},    {nan, 0.0},        {1.0, nan},         {nan, 2.0},
                              {2.0, nan},     {inf, 2.0},        {inf, -2.0},        {-inf, 3.0},
                              {-inf, -3.0},   {-inf, 0.5},       {0.5, inf},         {0.5, -inf},
                              {2.0, inf},     {2.0, -inf},       {-1.0, inf},        {2.0, 1024.0},
                              {2.0, -1074.0}, {2.0, -1080.0},    {0.5, 1022.5},      {4.0, 0.5},
                              {10.0, 3.0},    {1e-3, 1.0 / 3.0}, {0.125, 1.0 / 3.0}, {0.3, 1.0},
                              {1e300, 2.0},   {1e-300, 2.0},     {3.0, -0.0},        {0.0, 0.0}};
    for (const auto& [x, y] : pows)
        EXPECT_TRUE(same(PortablePow(x, y), std::pow(x, y))) << "pow(" << x << ", " << y << ")";
    for (const double x :
         {0.0, -0.0, inf, -inf, nan, 710.0, 709.0, -40.5, -1000.0, 1e-300, -1e-300})
        EXPECT_TRUE(same(PortableExpm1(x), std::expm1(x))) << "expm1(" << x << ")";
    for (const double x : {0.0, -0.0, inf, -inf, nan, -1.0, -2.0, 1e-300, -1e-300, 1e308, 1.0})
        EXPECT_TRUE(same(PortableLog1p(x), std::log1p(x))) << "log1p(" << x << ")";
}

// Within half an ulp of the long double `exact`, with room for its own 2^-63 error.
bool CorrectlyRounded(double value, long double exact) {
    const long double halfUlp =
        0.5L * (std::nextafter(value, std::numeric_limits<double>::infinity()) - value);
    return std::fabs(exact - static_cast<long double>(value)) <=
           halfUlp + std::ldexp(std::fabs(exact), -62);
}

// Sine and cosine correctly rounded, also next to multiples of pi/2 as the bar rings are.
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
