// The one form of cross-section the analysis knows: a closed polygon of concrete plus point bars.
#pragma once

#include <array>

#include "model/column_data.h"

namespace tarvelo {

inline constexpr int kMaxVertices = 299;  // polygon vertices accepted from the input
inline constexpr int kMaxBars = 299;      // bars accepted from the input

struct Point {
    double x = 0.0;
    double y = 0.0;
};

struct Bar {
    double x = 0.0;
    double y = 0.0;
    double area = 0.0;  // cm2
};

// Polygon of nv vertices in vertices[0..nv-1], with vertices[nv] a copy of vertices[0] (the
// closing vertex). A hole is joined to the outer boundary by a slit walked both ways, so every
// section is one polygon. Coordinates in cm.
struct SectionGeometry {
    int nv = 0;
    std::array<Point, kMaxVertices + 1> vertices{};
    int nb = 0;
    std::array<Bar, kMaxBars> bars{};
    double bmin = 0.0;  // smallest dimension, cm
};

// Area, first and second moments of the concrete polygon; slenderness of the column.
// inertiaX is the integral of x*x (bending in the x direction), inertiaY of y*y.
struct SectionConstants {
    double area = 0.0;
    double firstMomentX = 0.0;
    double firstMomentY = 0.0;
    double inertiaX = 0.0;
    double inertiaY = 0.0;
    double productOfInertia = 0.0;
    double slendernessX = 0.0;
    double slendernessY = 0.0;
};

}  // namespace tarvelo
