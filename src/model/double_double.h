// Double-double arithmetic: a value is hi + lo with |lo| at most half an ulp of hi, about 106
// significant bits. The error-free transformations are exact in IEEE double arithmetic without
// fused multiply-add (the core is built with -ffp-contract=off), so every platform computes the
// same bits: the correctly rounded functions of the core are built on them.
#pragma once

namespace tarvelo {

struct DoubleDouble {
    double hi;
    double lo;
};

inline DoubleDouble TwoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

inline DoubleDouble QuickTwoSum(double a, double b) {  // |a| >= |b|
    const double s = a + b;
    return {s, b - (s - a)};
}

// Veltkamp's split into two halves of 26 bits, whose products are exact.
inline void Split(double a, double& high, double& low) {
    const double c = 134217729.0 * a;  // 2^27 + 1
    high = c - (c - a);
    low = a - high;
}

inline DoubleDouble TwoProduct(double a, double b) {
    const double p = a * b;
    double ah = 0, al = 0, bh = 0, bl = 0;
    Split(a, ah, al);
    Split(b, bh, bl);
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

inline DoubleDouble Add(DoubleDouble a, DoubleDouble b) {
    DoubleDouble s = TwoSum(a.hi, b.hi);
    const DoubleDouble t = TwoSum(a.lo, b.lo);
    s.lo += t.hi;
    s = QuickTwoSum(s.hi, s.lo);
    s.lo += t.lo;
    return QuickTwoSum(s.hi, s.lo);
}

inline DoubleDouble Negate(DoubleDouble a) {
    return {-a.hi, -a.lo};
}

inline DoubleDouble Multiply(DoubleDouble a, DoubleDouble b) {
    DoubleDouble p = TwoProduct(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return QuickTwoSum(p.hi, p.lo);
}

inline DoubleDouble Divide(DoubleDouble a, DoubleDouble b) {
    const double q1 = a.hi / b.hi;
    const DoubleDouble r1 = Add(a, Negate(Multiply(b, {q1, 0.0})));
    const double q2 = r1.hi / b.hi;
    const DoubleDouble r2 = Add(r1, Negate(Multiply(b, {q2, 0.0})));
    return Add(QuickTwoSum(q1, q2), {r2.hi / b.hi, 0.0});
}

// 1 / n for a whole n below 2^26, to double-double precision.
inline DoubleDouble Reciprocal(double n) {
    const double q = 1.0 / n;
    const DoubleDouble e = TwoProduct(q, n);  // q * n exactly
    return QuickTwoSum(q, (1.0 - e.hi - e.lo) / n);
}

}  // namespace tarvelo
