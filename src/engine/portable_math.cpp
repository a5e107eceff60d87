#include "engine/portable_math.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "model/double_double.h"

namespace tarvelo {
namespace {

constexpr DoubleDouble kLn2{6.93147180559945286227e-01, 2.31904681384629955842e-17};
// log 2 as a 42-bit head, whose products with binary exponents (below 2^11) are exact, and a tail.
constexpr double kLn2Head = 0x1.62e42fefa38p-1;
constexpr double kLn2Tail = 0x1.ef35793c7673p-45;

// log x = e log 2 - log v + log(1 + r) with x = m 2^e, m in [sqrt(1/2), sqrt(2)), v near 1/c
// for the table point c = k/1024 nearest to m, and r = m v - 1, |r| < 2^-10.4. v has 21
// significant bits, so that m's first 32 bits times v are exact.
constexpr int kLogSteps = 1024;
constexpr int kLogFirst = 724;  // 1024 sqrt(1/2), rounded
constexpr int kLogLast = 1448;  // 1024 sqrt(2), rounded

// e^z = 2^(q + i/512) e^r with |r| <= log(2)/1024 (a little more where z.hi is rounded).
constexpr int kExpSteps = 512;
constexpr double kExpStepsPerUnit = 738.6598609351493;  // 512 / log 2; any nearby value works

struct LogPoint {
    double inverse;       // v
    double minusLogHead;  // -log v on the grid of kLn2Head: e log 2 - log v is exact
    double minusLogTail;
};

struct Tables {
    LogPoint log[kLogLast - kLogFirst + 1];
    DoubleDouble exp2[kExpSteps];  // 2^(i/512)
    // log(2)/512 as a 33-bit head, whose products with the k of the range are exact, and a tail.
    double stepHead;
    double stepTail;
    Tables();
};

// a = high + low, high keeping the first 53 - bits significant bits (Veltkamp).
void SplitAt(double a, int bits, double& high, double& low) {
    const double c = (std::ldexp(1.0, bits) + 1.0) * a;
    high = c - (c - a);
    low = a - high;
}

// The tables are built once, from the basic operations too, by series that converge far
// beyond double-double precision.
Tables::Tables() {
    DoubleDouble reciprocal[50];
    for (int j = 1; j < 50; ++j)
        reciprocal[j] = Reciprocal(j);
    for (int k = kLogFirst; k <= kLogLast; ++k) {
        double v = 0.0, unused = 0.0;
        SplitAt(static_cast<double>(kLogSteps) / k, 32, v, unused);
        // log v = 2 atanh(s) = 2 s (1 + s^2/3 + s^4/5 + ...) with s = (v - 1)/(v + 1), |s| < 0.18.
        const DoubleDouble s = Divide({v - 1.0, 0.0}, TwoSum(v, 1.0));
        const DoubleDouble s2 = Multiply(s, s);
        DoubleDouble sum{0.0, 0.0};
        for (int j = 24; j >= 1; --j)
            sum = Add(reciprocal[2 * j + 1], Multiply(s2, sum));
        sum = Add({1.0, 0.0}, Multiply(s2, sum));
        const DoubleDouble halfLog = Multiply(s, sum);
        const double minusLog = -2.0 * halfLog.hi;
        const double head = std::nearbyint(minusLog * 0x1p42) * 0x1p-42;
        log[k - kLogFirst] = {v, head, (minusLog - head) - 2.0 * halfLog.lo};
    }
    for (int i = 0; i < kExpSteps; ++i) {
        // e^x = 1 + x (1 + x/2 (1 + x/3 (...))) with x = i log(2)/512 < 0.7.
        const DoubleDouble x = Multiply(kLn2, {static_cast<double>(i) / kExpSteps, 0.0});
        DoubleDouble sum{1.0, 0.0};
        for (int j = 27; j >= 1; --j)
            sum = Add({1.0, 0.0}, Multiply(Multiply(x, reciprocal[j]), sum));
        exp2[i] = sum;
    }
    const DoubleDouble step{kLn2.hi / kExpSteps, kLn2.lo / kExpSteps};
    SplitAt(step.hi, 20, stepHead, stepTail);
    stepTail += step.lo;
}

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

// std::bit_cast, which the browser build's C++ library lacks.
template <typename To, typename From>
To BitCast(From from) {
    static_assert(sizeof(To) == sizeof(From));
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

// 2^n for n in [-1022, 1023], exact.
double PowerOfTwo(int n) {
    return BitCast<double>(static_cast<std::uint64_t>(n + 1023) << 52);
}

// x 2^n, exact unless the result is subnormal (then rounded once).
double Scale(double x, int n) {
    return n > -1000 && n < 1000 ? x * PowerOfTwo(n) : std::ldexp(x, n);
}

// log1p and expm1 need their results to relative precision also where these are tiny; pow needs
// only the logarithm to absolute precision, which e^(y log x) turns into a relative one, and
// only the exponential to precision relative to e^r, near 1.
enum class Precision { kAbsolute, kRelative };

// x^2, exactly as a double-double where a relative precision is needed.
template <Precision kPrecision>
DoubleDouble Square(double x) {
    if (kPrecision == Precision::kRelative) return TwoProduct(x, x);
    return {x * x, 0.0};
}

// log(hi + lo) for hi > 0 finite and |lo| <= ulp(hi)/2 (lo only for kRelative): relative error
// near 2^-80 for kRelative, absolute error near 2^-75 for kAbsolute. Only x + x^2/2 of the series
// of log(1 + r) need double-double precision; the remaining terms are below 2^-22 r.
template <Precision kPrecision>
DoubleDouble Log(const Tables& t, double hi, double lo) {
    int e = 0;
    if (hi < std::numeric_limits<double>::min()) {  // subnormal: normalise first
        hi *= 0x1p54;
        lo *= 0x1p54;
        e = -54;
    }
    const std::uint64_t bits = BitCast<std::uint64_t>(hi);
    e += static_cast<int>(bits >> 52) - 1023;
    double m = BitCast<double>((bits & 0x000FFFFFFFFFFFFFULL) | 0x3FF0000000000000ULL);
    if (m >= 1.4142135623730951) {
        m *= 0.5;
        ++e;
    }
    if (kPrecision == Precision::kRelative && lo != 0.0) lo = std::ldexp(lo, -e);
    const int k = static_cast<int>(m * kLogSteps + 0.5);  // both steps exact
    const LogPoint& point = t.log[k - kLogFirst];

    // r = m v - 1 + lo v: the first 32 bits of m times v, less 1, are exact (Sterbenz' lemma);
    // for v = 1, near x = 1, all of r is exact.
    const double v = point.inverse;
    const double mHead = BitCast<double>(BitCast<std::uint64_t>(m) & ~0x1FFFFFULL);
    DoubleDouble r = TwoSum(mHead * v - 1.0, (m - mHead) * v);
    if (kPrecision == Precision::kRelative) {
        const double mvLo = r.lo;
        r = TwoSum(r.hi, lo * v);
        r.lo += mvLo;
    }

    // log(1 + r) = x - x^2/2 + (x^3/3 - x^4/4 + ... - x^8/8 + x^9/9) + r.lo (1 - x), x = r.hi.
    const double x = r.hi;
    const DoubleDouble square = Square<kPrecision>(x);
    const double x2 = square.hi;  // the sums are paired (Estrin) for shorter chains of rounding
    const double cubic = x * x2 *
                         (((1.0 / 3 - x * (1.0 / 4)) + x2 * (1.0 / 5 - x * (1.0 / 6))) +
                          (x2 * x2) * ((1.0 / 7 - x * (1.0 / 8)) + x2 * (1.0 / 9)));
    // e log 2 - log v is 0 or above 2^-10.5 > |x| (the nearest table point is 1 within 2^-11);
    // the head is then x alone or above 2^-11.5 > x^2/2.
    const DoubleDouble head = QuickTwoSum(e * kLn2Head + point.minusLogHead, x);
    const DoubleDouble withSquare = QuickTwoSum(head.hi, -0.5 * square.hi);
    const double rest = ((head.lo + withSquare.lo) + ((r.lo - x * r.lo) - 0.5 * square.lo)) +
                        (cubic + (e * kLn2Tail + point.minusLogTail));
    return QuickTwoSum(withSquare.hi, rest);
}

// e^z = 2^scale * table * (1 + x + half + small), x + half + small = e^r - 1.
struct ExpParts {
    int scale;
    DoubleDouble table;
    double x;
    double half;  // x^2/2 rounded
    double small;
};

// For |z.hi| below 746 (the range of doubles), z.lo below 2^-52 z.hi; relative error near 2^-75.
// Only x + x^2/2 of the series of e^r - 1 need double-double precision, the remaining terms are
// below 2^-23 r.
template <Precision kPrecision>
ExpParts Exp(const Tables& t, double zHi, double zLo) {
    constexpr double kShifter = 0x1.8p52;  // adding and subtracting it rounds to a whole number
    const double k = (zHi * kExpStepsPerUnit + kShifter) - kShifter;
    // r = z - k log(2)/512; zHi - k stepHead is exact (Sterbenz' lemma).
    const DoubleDouble r = TwoSum(zHi - k * t.stepHead, zLo - k * t.stepTail);

    // e^r - 1 = x + x^2/2 + (x^3/6 + ... + x^7/7!) + r.lo (1 + x), x = r.hi.
    const double x = r.hi;
    const DoubleDouble square = Square<kPrecision>(x);
    const double x2 = square.hi;
    const double cubic =
        x * x2 *
        ((1.0 / 6 + x * (1.0 / 24)) + x2 * ((1.0 / 120 + x * (1.0 / 720)) + x2 * (1.0 / 5040)));
    const int whole = static_cast<int>(k);
    const int i = whole & (kExpSteps - 1);  // whole modulo 512, also for negative whole
    return {(whole - i) / kExpSteps, t.exp2[i], x, 0.5 * square.hi,
            (r.lo + x * r.lo) + 0.5 * square.lo + cubic};
}

// table * e^r as an unnormalised double-double, to be scaled by 2^scale.
DoubleDouble ExpValue(const ExpParts& e) {
    const DoubleDouble tx = TwoProduct(e.table.hi, e.x);
    const DoubleDouble sum = QuickTwoSum(e.table.hi, tx.hi);
    return {sum.hi,
            (sum.lo + tx.lo) + (e.table.hi * (e.half + e.small) + (e.table.lo + e.table.lo * e.x))};
}

// x^n for a whole |n| <= kSmallWhole and x in [2^-100, 2^100], by squaring and multiplying in
// double-double precision (relative error near 2^-100): several times faster than e^(n log x).
// The concrete of everyday strengths has the parabola's exponent 2, so the section's stress
// integrals raise to the powers 3, 4 and 2 - 6.
constexpr double kSmallWhole = 8.0;

double WholePower(double x, int n) {
    DoubleDouble result{1.0, 0.0};
    DoubleDouble square{x, 0.0};  // x^(2^j)
    for (int k = n < 0 ? -n : n;; k /= 2) {
        if (k % 2 == 1) result = Multiply(result, square);
        if (k < 2) break;
        square = Multiply(square, square);
    }
    if (n < 0) result = Divide({1.0, 0.0}, result);
    return result.hi + result.lo;
}

bool IsWhole(double y) {
    return std::nearbyint(y) == y;
}

bool IsOddWhole(double y) {
    return IsWhole(y) && std::fmod(y, 2.0) != 0.0;
}

}  // namespace

double PortablePow(double base, double exponent) {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    if (exponent == 0.0 || base == 1.0) return 1.0;
    if (std::isnan(base) || std::isnan(exponent)) return base + exponent;
    const double magnitude = std::fabs(base);
    if (std::isinf(exponent)) {
        if (magnitude == 1.0) return 1.0;
        return (magnitude < 1.0) == (exponent < 0.0) ? kInfinity : 0.0;
    }
    const bool negative = std::signbit(base) && IsOddWhole(exponent);
    if (magnitude == 0.0 || std::isinf(magnitude)) {
        const bool large = (magnitude == 0.0) == (exponent < 0.0);
        const double result = large ? kInfinity : 0.0;
        return negative ? -result : result;
    }
    if (base < 0.0 && !IsWhole(exponent)) return std::numeric_limits<double>::quiet_NaN();

    if (std::fabs(exponent) <= kSmallWhole && static_cast<int>(exponent) == exponent &&
        magnitude >= 0x1p-100 && magnitude <= 0x1p100) {
        const double result = WholePower(magnitude, static_cast<int>(exponent));
        return negative ? -result : result;
    }

    const Tables& t = GetTables();
    const DoubleDouble log = Log<Precision::kAbsolute>(t, magnitude, 0.0);
    double result = 0.0;
    const double estimate = log.hi * exponent;
    if (estimate > 710.0) {
        result = kInfinity;  // beyond the largest double
    } else if (estimate > -746.0) {
        const DoubleDouble z = TwoProduct(log.hi, exponent);
        const ExpParts e = Exp<Precision::kAbsolute>(t, z.hi, z.lo + log.lo * exponent);
        const DoubleDouble value = ExpValue(e);
        result = Scale(value.hi + value.lo, e.scale);
    }  // else below half the smallest subnormal: 0
    return negative ? -result : result;
}

double PortableExpm1(double x) {
    if (std::isnan(x)) return x;
    if (x > 710.0) return std::numeric_limits<double>::infinity();
    if (x < -40.0) return -1.0;            // e^x is below half an ulp of 1
    if (std::fabs(x) < 0x1p-54) return x;  // x^2/2 is below half an ulp of x; keeps -0

    const ExpParts e = Exp<Precision::kRelative>(GetTables(), x, 0.0);
    if (e.scale == 0 && e.table.hi == 1.0) {  // no table step: e^r - 1 itself
        const DoubleDouble sum = QuickTwoSum(e.x, e.half);
        return sum.hi + (sum.lo + e.small);
    }
    const DoubleDouble value = ExpValue(e);
    if (e.scale > 1000) return Scale(value.hi + value.lo, e.scale);  // 1 is far below an ulp
    const DoubleDouble minusOne = TwoSum(Scale(value.hi, e.scale), -1.0);
    return minusOne.hi + (minusOne.lo + Scale(value.lo, e.scale));
}

double PortableLog1p(double x) {
    if (std::isnan(x)) return x;
    if (x < -1.0) return std::numeric_limits<double>::quiet_NaN();
    if (x == -1.0) return -std::numeric_limits<double>::infinity();
    if (std::isinf(x)) return x;
    if (std::fabs(x) < 0x1p-54) return x;  // x^2/2 is below half an ulp of x; keeps -0

    const DoubleDouble onePlusX = TwoSum(1.0, x);  // exactly 1 + x
    const DoubleDouble log = Log<Precision::kRelative>(GetTables(), onePlusX.hi, onePlusX.lo);
    return log.hi + log.lo;
}

}  // namespace tarvelo
