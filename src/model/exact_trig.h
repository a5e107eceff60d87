// Sine and cosine rounded correctly to the nearest double. The C libraries differ in the last
// bit of sin and cos for some arguments (glibc and the browser build's musl do), which moves the
// vertices and bars of a circular section and with them the last digits of every result. A
// correctly rounded value is one and the same on every platform.
#pragma once

namespace tarvelo {

// For the angles of a section (a few turns at most); accurate far beyond that.
double ExactSin(double angle);
double ExactCos(double angle);

}  // namespace tarvelo
