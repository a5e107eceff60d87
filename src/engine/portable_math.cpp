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

// log x = e log 2 - log v + log(1 + r) with x = m 2^e, m in [sqrt(1/2), sqrt(2)), v the double
// nearest to 1/c for the table point c = k/1024 nearest to m, and r = m v - 1, |r| < 2^-10.5.
constexpr int kLogSteps = 1024;
constexpr int kLogFirst = 724;  // 1024 sqrt(1/2), rounded
constexpr int kLogLast = 1448;  // 1024 sqrt(2), rounded

// e^z = 2^(q + i/512) e^r with |r| <= log(2)/1024 (a little more where z.hi is rounded).
constexpr int kExpSteps = 512;
constexpr double kExpStepsPerUnit = 738.6598609351493;  // 512 / log 2; any nearby value works

struct LogPoint {
    double inverse;         // v
    DoubleDouble minusLog;  // -log v
};

struct Tables {
    LogPoint log[kLogLast - kLogFirst + 1];
    DoubleDouble exp2[kExpSteps];  // 2^(i/512)
    Tables();
};

DoubleDouble Divide(DoubleDouble a, DoubleDouble b) {
    const double q1 = a.hi / b.hi;
    const DoubleDouble r1 = Add(a, Negate(Multiply(b, {q1, 0.0})));
    const double q2 = r1.hi / b.hi;
    const DoubleDouble r2 = Add(r1, Negate(Multiply(b, {q2, 0.0})));
    return Add(QuickTwoSum(q1, q2), {r2.hi / b.hi, 0.0});
}

// The tables are built once, from the basic operations too, by series that converge far
// beyond double-double precision.
Tables::Tables() {
    DoubleDouble reciprocal[32];
    for (int j = 1; j < 32; ++j)
        reciprocal[j] = Reciprocal(j);
    for (int k = kLogFirst; k <= kLogLast; ++k) {
        // log v = 2 atanh(s) = 2 s (1 + s^2/3 + s^4/5 + ...) with s = (v - 1)/(v + 1), |s| < 0.18.
        const double v = static_cast<double>(kLogSteps) / k;
        const DoubleDouble s = Divide({v - 1.0, 0.0}, TwoSum(v, 1.0));
        const DoubleDouble s2 = Multiply(s, s);
        DoubleDouble sum{0.0, 0.0};
        for (int j = 15; j >= 1; --j)
            sum = Add(reciprocal[2 * j + 1], Multiply(s2, sum));
        sum = Add({1.0, 0.0}, Multiply(s2, sum));
        const DoubleDouble halfLog = Multiply(s, sum);
        log[k - kLogFirst] = {v, {-2.0 * halfLog.hi, -2.0 * halfLog.lo}};
    }
    for (int i = 0; i < kExpSteps; ++i) {
        // e^x = 1 + x (1 + x/2 (1 + x/3 (...))) with x = i log(2)/512 < 0.7.
        const DoubleDouble x = Multiply(kLn2, {static_cast<double>(i) / kExpSteps, 0.0});
        DoubleDouble sum{1.0, 0.0};
        for (int j = 27; j >= 1; --j)
            sum = Add({1.0, 0.0}, Multiply(Multiply(x, reciprocal[j]), sum));
        exp2[i] = sum;
    }
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

// log(hi + lo) for hi > 0 finite and |lo| <= ulp(hi)/2, with a relative error near 2^-73: the
// series terms from r^3/3 on (below 2^-22 r) are summed in double precision.
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
    if (lo != 0.0) lo = std::ldexp(lo, -e);
    const int k = static_cast<int>(m * kLogSteps + 0.5);  // both steps exact
    const LogPoint& point = t.log[k - kLogFirst];

    // r = m v - 1 + lo v; m v - 1 is exact as a double-double, its head by Sterbenz' lemma.
    const DoubleDouble mv = TwoProduct(m, point.inverse);
    const DoubleDouble r = TwoSum(mv.hi - 1.0, mv.lo + lo * point.inverse);

    // log(1 + r) = r - r^2/2 + r^3/3 - ..., cut after r^9/9 (below 2^-87 r).
    const DoubleDouble square = TwoProduct(r.hi, r.hi);
    const double x = r.hi;
    const double cubic =
        x * square.hi *
        (1.0 / 3 +
         x * (-1.0 / 4 +
              x * (1.0 / 5 + x * (-1.0 / 6 + x * (1.0 / 7 + x * (-1.0 / 8 + x * (1.0 / 9)))))));
    DoubleDouble log1pR = AddSmaller(r, {-0.5 * square.hi, -0.5 * square.lo});
    log1pR = AddSmaller(log1pR, {cubic - x * r.lo, 0.0});

    const DoubleDouble eLog2 = QuickTwoSum(e * kLn2Head, e * kLn2Tail);
    return Add(Add(eLog2, point.minusLog), log1pR);
}

// e^z = 2^scale * table * (1 + expm1R), with expm1R = e^r - 1 and |r| <= log(2)/1024.
struct ExpParts {
    int scale;
    DoubleDouble table;
    DoubleDouble expm1R;
};

// For |z.hi| below 746 (the range of doubles); relative error near 2^-74: the series terms from
// r^3/6 on (below 2^-23 r) are summed in double precision.
ExpParts Exp(const Tables& t, DoubleDouble z) {
    constexpr double kShifter = 0x1.8p52;  // adding and subtracting it rounds to a whole number
    const double k = (z.hi * kExpStepsPerUnit + kShifter) - kShifter;
    // r = z - k log(2)/512; z.hi - k step.hi is exact by Sterbenz' lemma.
    const DoubleDouble step{kLn2.hi / kExpSteps, kLn2.lo / kExpSteps};
    const DoubleDouble kStep = TwoProduct(k, step.hi);
    const DoubleDouble r = TwoSum(z.hi - kStep.hi, (z.lo - kStep.lo) - k * step.lo);

    // e^r - 1 = r + r^2/2 + r^3/6 + ..., cut after r^7/7! (below 2^-75 r).
    const DoubleDouble square = TwoProduct(r.hi, r.hi);
    const double x = r.hi;
    const double cubic =
        x * square.hi *
        (1.0 / 6 + x * (1.0 / 24 + x * (1.0 / 120 + x * (1.0 / 720 + x * (1.0 / 5040)))));
    DoubleDouble expm1R = AddSmaller(r, {0.5 * square.hi, 0.5 * square.lo});
    expm1R = AddSmaller(expm1R, {cubic + x * r.lo, 0.0});

    const int whole = static_cast<int>(k);
    const int i = whole & (kExpSteps - 1);  // whole modulo 512, also for negative whole
    return {(whole - i) / kExpSteps, t.exp2[i], expm1R};
}

// e^z = 2^scale * value.
DoubleDouble ExpValue(const ExpParts& e) {
    return AddSmaller(e.table, Multiply(e.table, e.expm1R));
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

    const Tables& t = GetTables();
    const DoubleDouble log = Log(t, magnitude, 0.0);
    double result = 0.0;
    const double estimate = log.hi * exponent;
    if (estimate > 710.0) {
        result = kInfinity;  // beyond the largest double
    } else if (estimate > -746.0) {
        DoubleDouble z = TwoProduct(log.hi, exponent);
        z = QuickTwoSum(z.hi, z.lo + log.lo * exponent);
        const ExpParts e = Exp(t, z);
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

    const ExpParts e = Exp(GetTables(), {x, 0.0});
    if (e.scale == 0 && e.table.hi == 1.0) return e.expm1R.hi + e.expm1R.lo;  // no table step
    const DoubleDouble value = ExpValue(e);
    if (e.scale > 60) return Scale(value.hi + value.lo, e.scale);  // 1 is below half an ulp
    const DoubleDouble power{Scale(value.hi, e.scale), Scale(value.lo, e.scale)};
    const DoubleDouble result = Add(power, {-1.0, 0.0});
    return result.hi + result.lo;
}

double PortableLog1p(double x) {
    if (std::isnan(x)) return x;
    if (x < -1.0) return std::numeric_limits<double>::quiet_NaN();
    if (x == -1.0) return -std::numeric_limits<double>::infinity();
    if (std::isinf(x)) return x;
    if (std::fabs(x) < 0x1p-54) return x;  // x^2/2 is below half an ulp of x; keeps -0

    const DoubleDouble onePlusX = TwoSum(1.0, x);  // exactly 1 + x
    const DoubleDouble log = Log(GetTables(), onePlusX.hi, onePlusX.lo);
    return log.hi + log.lo;
}

}  // namespace tarvelo
