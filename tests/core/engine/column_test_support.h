// Shared helpers of the column-analysis tests: the design material and rectangular sections.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "engine/column_model.h"
#include "engine/material.h"
#include "model/section_geometry.h"

namespace tarvelo::testing {

// Design material of the tests: fck in MPa, fyk 500 MPa, Es 200 GPa, Gamac 1.4, Gamas 1.15.
inline MaterialParameters MakeMaterial(double fckMPa, double creep = 0.0) {
    MaterialParameters m;
    ComputeConcreteParameters(fckMPa, m);
    m.fcd = fckMPa / 10 / 1.4;
    m.fyd = 50.0 / 1.15;
    m.Es = 20000.0;
    CompleteMaterialParameters(creep, m);
    return m;
}

// Rectangle bx by hy centred at the origin, bars given from its corner (-bx/2, -hy/2).
inline SectionGeometry MakeRectangle(double bx, double hy,
                                     std::initializer_list<std::pair<double, double>> bars) {
    SectionGeometry s;
    s.nv = 4;
    const double x0 = bx / 2, y0 = hy / 2;
    s.vertices[0] = {0 - x0, 0 - y0};
    s.vertices[1] = {bx - x0, 0 - y0};
    s.vertices[2] = {bx - x0, hy - y0};
    s.vertices[3] = {0 - x0, hy - y0};
    s.vertices[4] = s.vertices[0];
    for (const auto& [x, y] : bars)
        s.bars[s.nb++] = {x - x0, y - y0, 0.0};
    s.bmin = std::min(bx, hy);
    return s;
}

}  // namespace tarvelo::testing
