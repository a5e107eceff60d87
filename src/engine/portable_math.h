// Powers, exponentials and logarithms with the same bits on every platform. The C libraries
// round pow, expm1 and log1p differently in the last bit (glibc even picks other code on
// processors with fused multiply-add), which moves the last digits of the concrete stresses and
// with them the load-deflection curve. These are computed from the basic IEEE operations alone,
// in double-double precision: correctly rounded but for a vanishing fraction of arguments, and
// within one ulp always.
#pragma once

namespace tarvelo {

// Special values (zeros, infinities, NaN, negative bases with whole exponents) as std::pow.
double PortablePow(double base, double exponent);
// e^x - 1 without cancellation for small x; special values as std::expm1.
double PortableExpm1(double x);
// log(1 + x) without cancellation for small x; special values as std::log1p.
double PortableLog1p(double x);

}  // namespace tarvelo
