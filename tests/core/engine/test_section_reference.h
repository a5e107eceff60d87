// Test sections and an independent concrete integration in extended precision.
#pragma once

#include <cmath>
#include <utility>
#include <vector>

#include "core/core_test_support.h"
#include "engine/column_model.h"
#include "engine/material.h"
#include "engine/section_integration.h"

namespace tarvelo::testing {

struct TestSection {
    std::vector<Point> vertices;  // nv vertices plus the closing copy
    std::vector<Bar> bars;
    double area = 0.0;
    int nv() const { return static_cast<int>(vertices.size()) - 1; }
};

// Closes the polygon and moves it with its bars to the centroid of the concrete.
inline TestSection MakeSection(std::vector<Point> pts, std::vector<Bar> bars = {}) {
    pts.push_back(pts.front());
    double A = 0.0, Qx = 0.0, Qy = 0.0;
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        const double cr = pts[i].x * pts[i + 1].y - pts[i + 1].x * pts[i].y;
        A += cr / 2, Qx += (pts[i].x + pts[i + 1].x) * cr / 6,
            Qy += (pts[i].y + pts[i + 1].y) * cr / 6;
    }
    for (Point& p : pts)
        p = {p.x - Qx / A, p.y - Qy / A};
    for (Bar& b : bars)
        b = {b.x - Qx / A, b.y - Qy / A, b.area};
    TestSection s{std::move(pts), std::move(bars)};
    s.area = ComputeSectionProperties(s.vertices.data(), s.nv()).area;
    return s;
}

inline TestSection Rectangle20x40() {
    return MakeSection({{0, 0}, {20, 0}, {20, 40}, {0, 40}},
                       {{3, 3, 2}, {17, 3, 2}, {3, 20, 2}, {17, 20, 2}, {3, 37, 2}, {17, 37, 2}});
}

// 60 x 60 with a centred 40 x 30 opening, joined to the outline by a slit.
inline TestSection HollowRectangle() {
    std::vector<Point> outline = {{0, 0}, {60, 0}, {60, 60}, {0, 60}, {0, 0}};
    const Point opening[] = {{10, 15}, {10, 45}, {50, 45}, {50, 15}, {10, 15}};
    outline.insert(outline.end(), std::begin(opening), std::end(opening));
    return MakeSection(outline, {{5, 5, 3}, {55, 5, 3}, {55, 55, 3}, {5, 55, 3}});
}

// 50-sided circle, hollow when Di > 0 (inner ring clockwise, slit along x), nb bars at cover 4.
inline TestSection Circle(double De, double Di, int nb) {
    std::vector<Point> pts;
    const double step = 6.283185308 / 50;
    for (double i = 0, angle = 0; i < 50; ++i, angle += step)
        pts.push_back({De / 2 * std::cos(angle), De / 2 * std::sin(angle)});
    if (Di > 0) {
        pts.push_back(pts.front());
        for (double i = 0, angle = 0; i < 51; ++i, angle -= step)
            pts.push_back({Di / 2 * std::cos(angle), Di / 2 * std::sin(angle)});
    }
    std::vector<Bar> bars;
    for (int j = 0; j < nb; ++j) {
        const double angle = j * 2 * 3.141592654 / nb, r = De / 2 - 4;
        bars.push_back({r * std::cos(angle), r * std::sin(angle), 1.5});
    }
    return MakeSection(pts, bars);
}

// 40 x 40 L with legs 15 thick.
inline TestSection LShape() {
    return MakeSection({{0, 0}, {40, 0}, {40, 15}, {15, 15}, {15, 40}, {0, 40}},
                       {{3, 3, 2}, {37, 3, 2}, {37, 12, 2}, {3, 37, 2}, {12, 37, 2}});
}

struct NamedSection {
    const char* name;
    TestSection section;
};

// The shapes the integration is checked on: plain, hollow, round and re-entrant.
inline std::vector<NamedSection> NamedSections() {
    return {{"rectangle", Rectangle20x40()},
            {"hollow rectangle", HollowRectangle()},
            {"circle", Circle(30, 0, 8)},
            {"hollow circle", Circle(50, 30, 12)},
            {"L shape", LShape()}};
}

struct Resultants3 {
    double N = 0, Sx = 0, Sy = 0;  // integrals of stress, stress * x, stress * y
};

using Real = long double;
struct RealPoint {
    Real x, y;
};

// Part of a polygon where sign * (strain - level) >= 0 (Sutherland-Hodgman).
inline std::vector<RealPoint> ClipHalfPlane(const std::vector<RealPoint>& poly, Real e0, Real kx,
                                            Real ky, Real level, int sign) {
    std::vector<RealPoint> out;
    auto value = [&](const RealPoint& p) { return sign * (e0 + p.x * kx + p.y * ky - level); };
    for (size_t i = 0; i < poly.size(); ++i) {
        const RealPoint &p = poly[i], &q = poly[(i + 1) % poly.size()];
        const Real vp = value(p), vq = value(q);
        if (vp >= 0) out.push_back(p);
        if ((vp >= 0) != (vq >= 0)) {
            const Real t = vp / (vp - vq);
            out.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)});
        }
    }
    return out;
}

// Integrals of f, f x, f y over a polygon: fanned triangles, collapsed q x q Gauss rule.
template <class F>
void IntegratePolygon(const std::vector<RealPoint>& poly, F f, int q, Real& N, Real& Sx, Real& Sy) {
    std::vector<Real> t(q), w(q);
    for (int i = 0; i < q; ++i) {  // Newton on the Legendre polynomial, mapped to [0, 1]
        Real z = std::cos(3.14159265358979323846L * (i + 0.75L) / (q + 0.5L)), dp = 0, dz = 1;
        for (int it = 0; it < 100 && std::fabs(dz) > 1e-19L; ++it) {
            Real p0 = 1, p1 = z;
            for (int k = 2; k <= q; ++k)
                std::swap(p0, p1), p1 = ((2 * k - 1) * z * p0 - (k - 1) * p1) / k;
            dp = q * (z * p1 - p0) / (z * z - 1), dz = p1 / dp, z -= dz;
        }
        t[i] = (1 - z) / 2, w[i] = 1 / ((1 - z * z) * dp * dp);
    }
    for (size_t i = 1; i + 1 < poly.size(); ++i) {
        const RealPoint &P0 = poly[0], &P1 = poly[i], &P2 = poly[i + 1];
        const Real twoA = (P1.x - P0.x) * (P2.y - P0.y) - (P2.x - P0.x) * (P1.y - P0.y);
        for (int a = 0; a < q; ++a) {
            for (int b = 0; b < q; ++b) {
                const Real x = P0.x + t[a] * ((1 - t[b]) * (P1.x - P0.x) + t[b] * (P2.x - P0.x));
                const Real y = P0.y + t[a] * ((1 - t[b]) * (P1.y - P0.y) + t[b] * (P2.y - P0.y));
                const Real v = f(x, y) * t[a] * twoA * w[a] * w[b];
                N += v, Sx += v * x, Sy += v * y;
            }
        }
    }
}

// Concrete resultants: the parabola between -plateauStrain and 0, the plateau beyond.
inline Resultants3 PreciseConcrete(const TestSection& s, const SectionStrain& e,
                                   const MaterialParameters& m, int q = 12) {
    std::vector<RealPoint> poly;
    for (int i = 0; i < s.nv(); ++i)
        poly.push_back({s.vertices[i].x, s.vertices[i].y});
    const Real e0 = e.axialStrain, el = m.plateauStrain, peak = m.peakStrain, n = m.n;
    const Real kx = std::fabs(e.curvatureX) < 1e-12 ? 0 : e.curvatureX;
    const Real ky = std::fabs(e.curvatureY) < 1e-12 ? 0 : e.curvatureY;
    const auto compressed = ClipHalfPlane(poly, e0, kx, ky, 0, -1);
    Real N = 0, Sx = 0, Sy = 0;
    auto parabola = [&](Real x, Real y) {  // 1 - u^n without cancellation near u = 1
        const Real s = (e0 + x * kx + y * ky) / -peak;
        return -1.1L * m.fcd * (s < 1 ? -std::expm1(n * std::log1p(-s)) : Real(1));
    };
    IntegratePolygon(ClipHalfPlane(compressed, e0, kx, ky, -el, 1), parabola, q, N, Sx, Sy);
    IntegratePolygon(
        ClipHalfPlane(compressed, e0, kx, ky, -el, -1), [&](Real, Real) { return -0.85L * m.fcd; },
        2, N, Sx, Sy);
    return {static_cast<double>(N), static_cast<double>(Sx), static_cast<double>(Sy)};
}

// Section response for whole analyses that never divides by the curvature.
class ReferenceSection : public SectionResponse {
  public:
    ReferenceSection(const SectionGeometry& section, double barArea, const MaterialParameters& m)
        : section_(section), m_(m) {
        for (int i = 0; i < section_.nb; ++i)
            section_.bars[i].area = barArea;
        concrete_.vertices.assign(section_.vertices.begin(),
                                  section_.vertices.begin() + section_.nv + 1);
    }

    SectionResultants Resultants(const SectionStrain& strain, int& sectionFailure) override {
        SectionStrain s = strain;
        if (std::fabs(s.curvatureX) < 1e-12) s.curvatureX = 0.0;
        if (std::fabs(s.curvatureY) < 1e-12) s.curvatureY = 0.0;
        integrator_.IntegrateSection(s, section_.vertices.data(), section_.nv, section_.bars.data(),
                                     section_.nb, 0.0, m_, sectionFailure);
        if (sectionFailure != 0) return {};
        const Resultants3 c = PreciseConcrete(concrete_, s, m_, 4);
        Real n = c.N, sx = c.Sx, sy = c.Sy;
        const Real eyd = Real(m_.fyd) / m_.Es;
        for (int i = 0; i < section_.nb; ++i) {
            const Bar& bar = section_.bars[i];
            const Real e =
                Real(s.axialStrain) + Real(bar.x) * s.curvatureX + Real(bar.y) * s.curvatureY;
            const Real stress = std::fabs(e) < eyd ? m_.Es * e : std::copysign(Real(m_.fyd), e);
            n += stress * bar.area;
            sx += stress * bar.area * bar.x;
            sy += stress * bar.area * bar.y;
        }
        return {double(n), double(-sx), double(-sy)};
    }

  private:
    SectionGeometry section_;
    TestSection concrete_;
    MaterialParameters m_;
    SectionIntegrator integrator_;
};

}  // namespace tarvelo::testing

namespace tarvelo {

// Reaches the concrete integration without the strain-limit check.
class SectionIntegratorTestPeer {
  public:
    static testing::Resultants3 Concrete(SectionIntegrator& integrator,
                                         const testing::TestSection& s, const SectionStrain& e,
                                         const MaterialParameters& m) {
        const auto t = integrator.IntegrateConcrete(SectionIntegrator::WithCurvatureCut(e),
                                                    s.vertices.data(), s.nv(), m);
        return {t.N, t.Sx, t.Sy};
    }
};

}  // namespace tarvelo
