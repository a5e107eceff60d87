// Shared helpers of the column-analysis tests: materials, rectangular sections and an
// independent integration of a section's stress resultants in extended precision.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "engine/column_model.h"
#include "engine/material.h"
#include "engine/section_integration.h"
#include "model/section_geometry.h"

namespace tarvelo::testing {

// Design material of the tests: fck in MPa, fyk 500 MPa, Es 200 GPa, Gamac 1.4, Gamas 1.15.
inline MaterialParameters MakeMaterial(double fckMPa, double creep) {
    MaterialParameters m;
    ComputeConcreteParameters(fckMPa, m);
    m.fcd = fckMPa / 10 / 1.4;
    m.fyd = 50.0 / 1.15;
    m.Es = 20000.0;
    CompleteMaterialParameters(creep, m);
    return m;
}

// Rectangle bx (along x) by hy (along y) centred at the origin, counter-clockwise from the
// corner (-bx/2, -hy/2), with bars given from that corner as the section window takes them.
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

// Stress resultants by clipping the polygon into its uncracked zones and integrating the
// concrete law over each zone with a degree-5 triangle rule in long double (exact for the
// parabola of exponent 2), plus the bars. No division by the curvature anywhere, so it stays
// accurate for curvatures however small.
class ReferenceSection : public SectionResponse {
  public:
    ReferenceSection(const SectionGeometry& section, double barArea, const MaterialParameters& m)
        : section_(section), barArea_(barArea), m_(m) {
        for (int i = 0; i < section_.nb; ++i)
            section_.bars[i].area = barArea;
    }

    SectionResultants Resultants(const SectionStrain& strain, int& sectionFailure) override {
        SectionStrain s = strain;
        if (std::abs(s.curvatureX) < 1e-12) s.curvatureX = 0.0;
        if (std::abs(s.curvatureY) < 1e-12) s.curvatureY = 0.0;
        // The strain limits are those of the analysis: only the integration is independent.
        integrator_.IntegrateSection(s, section_.vertices.data(), section_.nv, section_.bars.data(),
                                     section_.nb, 0.0, m_, sectionFailure);
        if (sectionFailure != 0) return {};

        using LD = long double;
        LD n = 0, sx = 0, sy = 0;
        std::array<P, kMaxPoints> a{}, b{}, c{};
        int na = section_.nv;
        for (int i = 0; i < na; ++i)
            a[i] = {section_.vertices[i].x, section_.vertices[i].y};
        const LD el = m_.plateauStrain;
        // Parabolic zone: -el < e < 0; constant zone: e <= -el.
        const int nb = Clip(a.data(), na, b.data(), s, 0.0L, true);
        const int nc = Clip(b.data(), nb, c.data(), s, -el, false);
        Integrate(c.data(), nc, s, false, n, sx, sy);
        const int nd = Clip(a.data(), na, c.data(), s, -el, true);
        Integrate(c.data(), nd, s, true, n, sx, sy);
        for (int i = 0; i < section_.nb; ++i) {
            const Bar& bar = section_.bars[i];
            const LD e = LD(s.axialStrain) + LD(bar.x) * s.curvatureX + LD(bar.y) * s.curvatureY;
            const LD eyd = LD(m_.fyd) / m_.Es;
            const LD stress = std::abs(e) < eyd ? m_.Es * e : (e < 0 ? -LD(m_.fyd) : LD(m_.fyd));
            n += stress * barArea_;
            sx += stress * barArea_ * LD(bar.x);
            sy += stress * barArea_ * LD(bar.y);
        }
        return {double(n), double(-sx), double(-sy)};
    }

  private:
    struct P {
        long double x = 0, y = 0;
    };
    static constexpr int kMaxPoints = 2 * (kMaxVertices + 1) + 8;

    static long double StrainAt(const P& p, const SectionStrain& s) {
        return (long double)s.axialStrain + p.x * s.curvatureX + p.y * s.curvatureY;
    }

    // Keeps the part of the polygon where the strain is <= level (below) or >= level.
    static int Clip(const P* in, int m, P* out, const SectionStrain& s, long double level,
                    bool below) {
        int k = 0;
        for (int i = 0; i < m; ++i) {
            const P& p = in[i];
            const P& q = in[(i + 1) % m];
            const long double fp = StrainAt(p, s) - level, fq = StrainAt(q, s) - level;
            const bool pin = below ? fp <= 0 : fp >= 0;
            const bool qin = below ? fq <= 0 : fq >= 0;
            if (pin) out[k++] = p;
            if (pin != qin && fp != fq) {
                const long double t = fp / (fp - fq);
                out[k++] = {p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)};
            }
        }
        return k;
    }

    long double Stress(long double e) const {
        if (e >= 0) return 0;
        if (e <= -(long double)m_.plateauStrain) return -0.85L * m_.fcd;
        const long double r = 1 - e / (-(long double)m_.peakStrain);
        return -1.1L * m_.fcd * (1 - std::pow(r, (long double)m_.n));
    }

    void Integrate(const P* poly, int m, const SectionStrain& s, bool plateau, long double& n,
                   long double& sx, long double& sy) const {
        if (m < 3) return;
        const long double r15 = std::sqrt(15.0L);
        const long double a1 = (6 - r15) / 21, b1 = (9 + 2 * r15) / 21;
        const long double a2 = (6 + r15) / 21, b2 = (9 - 2 * r15) / 21;
        const long double w1 = (155 - r15) / 1200, w2 = (155 + r15) / 1200, w0 = 9.0L / 40;
        const long double bary[7][4] = {{1.0L / 3, 1.0L / 3, 1.0L / 3, w0},
                                        {a1, a1, b1, w1},
                                        {a1, b1, a1, w1},
                                        {b1, a1, a1, w1},
                                        {a2, a2, b2, w2},
                                        {a2, b2, a2, w2},
                                        {b2, a2, a2, w2}};
        for (int i = 1; i + 1 < m; ++i) {
            const P& p0 = poly[0];
            const P& p1 = poly[i];
            const P& p2 = poly[i + 1];
            const long double area =
                0.5L * ((p1.x - p0.x) * (p2.y - p0.y) - (p2.x - p0.x) * (p1.y - p0.y));
            for (const auto& q : bary) {
                const P p = {q[0] * p0.x + q[1] * p1.x + q[2] * p2.x,
                             q[0] * p0.y + q[1] * p1.y + q[2] * p2.y};
                const long double stress =
                    plateau ? -0.85L * m_.fcd : Stress(std::min(StrainAt(p, s), 0.0L));
                n += area * q[3] * stress;
                sx += area * q[3] * stress * p.x;
                sy += area * q[3] * stress * p.y;
            }
        }
    }

    SectionGeometry section_;
    double barArea_;
    MaterialParameters m_;
    SectionIntegrator integrator_;
};

}  // namespace tarvelo::testing
