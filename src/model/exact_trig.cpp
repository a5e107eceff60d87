#include "model/exact_trig.h"

#include <cmath>

#include "model/double_double.h"

namespace tarvelo {
namespace {

// pi/2 in four parts; the first three have 33 significant bits, so k times each is exact for
// the k of a few turns, and the reduced angle keeps about 140 bits.
constexpr double kHalfPi1 = 1.57079632673412561417e+00;
constexpr double kHalfPi2 = 6.07710050630396597660e-11;
constexpr double kHalfPi3 = 2.02226624871116645580e-21;
constexpr double kHalfPi4 = 8.47842766036889956997e-32;
constexpr double kTwoOverPi = 0.63661977236758134308;

// Taylor terms: |r| <= pi/4 makes the 16th term of either series smaller than 1e-37.
constexpr int kTerms = 15;

// r = x - k pi/2 with |r| <= pi/4 (a little more at the rounding of k), and k modulo 4.
DoubleDouble Reduce(double x, int& quadrant) {
    const double k = std::nearbyint(x * kTwoOverPi);
    DoubleDouble r{x, 0.0};
    r = Add(r, TwoProduct(-k, kHalfPi1));
    r = Add(r, TwoProduct(-k, kHalfPi2));
    r = Add(r, TwoProduct(-k, kHalfPi3));
    r = Add(r, DoubleDouble{-k * kHalfPi4, 0.0});
    quadrant = static_cast<int>(static_cast<long long>(std::fmod(k, 4.0)) & 3);
    return r;
}

// sin r = r (1 - r^2/(2*3) (1 - r^2/(4*5) (1 - ...))) and cos r = 1 - r^2/(1*2) (1 - ...).
DoubleDouble Series(DoubleDouble r2, int firstFactor) {
    DoubleDouble tail{0.0, 0.0};
    for (int j = kTerms; j >= 1; --j) {
        const double a = 2.0 * j + firstFactor - 1;  // 2j and 2j+1, or 2j-1 and 2j
        tail = Multiply(Multiply(r2, Reciprocal(a * (a + 1))), Add({1.0, 0.0}, Negate(tail)));
    }
    return Add({1.0, 0.0}, Negate(tail));
}

void SinCos(double x, DoubleDouble& sine, DoubleDouble& cosine) {
    int quadrant = 0;
    const DoubleDouble r = Reduce(x, quadrant);
    const DoubleDouble r2 = Multiply(r, r);
    const DoubleDouble s = Multiply(r, Series(r2, 1));
    const DoubleDouble c = Series(r2, 0);
    switch (quadrant) {
        case 0:
            sine = s;
            cosine = c;
            break;
        case 1:
            sine = c;
            cosine = Negate(s);
            break;
        case 2:
            sine = Negate(s);
            cosine = Negate(c);
            break;
        default:
            sine = Negate(c);
            cosine = s;
            break;
    }
}

}  // namespace

// hi of a normalised double-double is its value rounded to the nearest double; the 106-bit
// value is so close to the true one that this is the correctly rounded result.
double ExactSin(double angle) {
    if (!std::isfinite(angle) || angle == 0.0) return std::sin(angle);  // NaN, and sin(-0) = -0
    DoubleDouble s{}, c{};
    SinCos(angle, s, c);
    return s.hi + s.lo;
}

double ExactCos(double angle) {
    if (!std::isfinite(angle)) return std::cos(angle);
    DoubleDouble s{}, c{};
    SinCos(angle, s, c);
    return c.hi + c.lo;
}

}  // namespace tarvelo
