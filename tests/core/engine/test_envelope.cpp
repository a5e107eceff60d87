// Resistance envelope against hand formulas and independent fibre integrations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/column_model.h"
#include "engine/envelope.h"
#include "test_section_reference.h"

namespace tarvelo {
namespace {

using testing::TestSection;

constexpr double kDegree = std::numbers::pi / 180.0;

SectionGeometry Geometry(const TestSection& s) {
    SectionGeometry g;
    g.nv = s.nv();
    std::copy(s.vertices.begin(), s.vertices.end(), g.vertices.begin());
    g.nb = static_cast<int>(s.bars.size());
    std::copy(s.bars.begin(), s.bars.end(), g.bars.begin());
    return g;
}

TEST(ResistanceEnvelope, SquashAndTensionLoads) {
    struct Row {
        double fck, fyk, EsGPa, gamac, gamas, barArea;
        bool hollow;
    };
    // Steel elastic at -epsC2 (40 < fyd) and yielded (fck 60: 21000 * 2.29e-3 > 43.5).
    const Row rows[] = {{25, 500, 200, 1.4, 1.15, 2.0, false},
                        {60, 500, 210, 1.4, 1.15, 3.15, true},
                        {40, 600, 200, 1.3, 1.1, 1.0, false}};
    for (const Row& r : rows) {
        const TestSection s = r.hollow ? testing::HollowRectangle() : testing::Rectangle20x40();
        const MaterialParameters m = ShortTermMaterial(r.fck, r.fyk, r.EsGPa, r.gamac, r.gamas);
        const ResistanceEnvelope envelope(Geometry(s), r.barArea, m);
        ASSERT_TRUE(envelope.valid());
        const double As = r.barArea * static_cast<double>(s.bars.size());
        const double fcd = r.fck / 10 / r.gamac, fyd = r.fyk / 10 / r.gamas;
        const double area = r.hollow ? 2400 : 800;
        const double steel = std::min(fyd, r.EsGPa * 100 * m.epsC2 / 1000);
        EXPECT_NEAR(envelope.squash(), 0.85 * fcd * area + As * steel, 1e-10 * envelope.squash());
        EXPECT_NEAR(envelope.tension(), -As * fyd, 1e-12 * As * fyd);
    }
}

// The rectangle bent about one axis, by fibres: the ultimate plane with N = 0 by bisection.
double FibreMomentAtZeroAxialForce(double depth, double width, const std::vector<Bar>& bars,
                                   bool alongX, const MaterialParameters& m) {
    const int fibres = 20000;
    const double ecu = m.epsCu / 1000, top = depth / 2;
    double barLevel = top;  // the most tensioned bar
    for (const Bar& b : bars)
        barLevel = std::min(barLevel, alongX ? b.x : b.y);
    const auto forces = [&](double u, double& M) {
        // u in [0, 1]: bar at 0.01, top 0.01 to -ecu; u in [1, 2]: top at -ecu, bottom to 0.
        const double k1 = (0.01 + ecu) / (top - barLevel), k2 = ecu / depth;
        const double k = u <= 1 ? u * k1 : k1 + (u - 1) * (k2 - k1);
        const double eTop = u <= 1 ? 0.01 - k * (top - barLevel) : -ecu;
        double N = 0;
        M = 0;
        for (int i = 0; i < fibres; ++i) {
            const double z = -top + (i + 0.5) * depth / fibres;
            const double f = ConcreteStress(m, eTop + k * (top - z)) * width * depth / fibres;
            N += f, M -= f * z;
        }
        for (const Bar& b : bars) {
            const double z = alongX ? b.x : b.y;
            const double f = SteelStress(m, eTop + k * (top - z)) * b.area;
            N += f, M -= f * z;
        }
        return -N;
    };
    double lo = 0, hi = 2, M = 0;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        (forces(mid, M) < 0 ? lo : hi) = mid;
    }
    forces(lo, M);
    return M;
}

TEST(ResistanceEnvelope, RectangleAtZeroAxialForceAgainstFibres) {
    const TestSection s = testing::Rectangle20x40();
    for (double fck : {25.0, 70.0}) {
        const MaterialParameters m = ShortTermMaterial(fck, 500, 200, 1.4, 1.15);
        const ResistanceEnvelope envelope(Geometry(s), 2.0, m);
        for (const double theta : {0.0, 90.0, 180.0, 270.0}) {
            const bool alongX = std::fmod(theta, 180.0) == 0.0;
            const double expected =
                FibreMomentAtZeroAxialForce(alongX ? 20 : 40, alongX ? 40 : 20, s.bars, alongX, m);
            const std::optional<double> got = envelope.ResistingMoment(0.0, theta);
            ASSERT_TRUE(got);
            EXPECT_NEAR(*got, expected, 1e-6 * expected) << fck << " " << theta;
        }
    }
}

// Doubly symmetric: contours symmetric, convex, nil at N0 and Nt, the same on any thread count.
TEST(ResistanceEnvelope, DoublySymmetricContours) {
    const TestSection sections[] = {testing::Rectangle20x40(), testing::Circle(50, 30, 12)};
    const MaterialParameters m = ShortTermMaterial(30, 500, 200, 1.4, 1.15);
    for (const TestSection& s : sections) {
        const ResistanceEnvelope envelope(Geometry(s), 2.5, m);
        const double N0 = envelope.squash(), Nt = envelope.tension();
        const auto at = [&](double N) { return envelope.Contour(N, 72, 2); };
        const double reference = *at(0.0)[0].moment;
        for (double N : {Nt / 2, 0.0, 0.3 * N0, 0.7 * N0}) {
            const std::vector<ContourRay> c = at(N);
            for (int i = 0; i < 72; ++i) {
                ASSERT_TRUE(c[i].moment) << N << " " << i;
                const double Mi = *c[i].moment;
                EXPECT_NEAR(Mi, *c[(72 - i) % 72].moment, 1e-7 * reference);
                EXPECT_NEAR(Mi, *c[(108 - i) % 72].moment, 1e-7 * reference);
                // Convex under compression (the bars' 10 per mille limit dents it in tension).
                if (N < 0) continue;
                const auto P = [&](int k) {
                    const ContourRay& r = c[(k + 72) % 72];
                    return std::pair{*r.moment * std::cos(r.angle * kDegree),
                                     *r.moment * std::sin(r.angle * kDegree)};
                };
                const auto [ax, ay] = P(i - 1);
                const auto [bx, by] = P(i);
                const auto [cx, cy] = P(i + 1);
                EXPECT_GE((bx - ax) * (cy - by) - (by - ay) * (cx - bx),
                          -1e-9 * reference * reference);
            }
            EXPECT_EQ(c[7].moment, envelope.ResistingMoment(N, c[7].angle));
            const std::vector<ContourRay> single = envelope.Contour(N, 72, 1);
            for (int i = 0; i < 72; ++i)
                EXPECT_EQ(single[i].moment, c[i].moment);
        }
        for (double N : {N0, Nt}) {
            for (const ContourRay& r : at(N))
                EXPECT_EQ(r.moment, 0.0);
        }
        for (double N : {N0 - 1e-6 * (N0 - Nt), Nt + 1e-6 * (N0 - Nt)}) {
            for (const ContourRay& r : at(N))
                EXPECT_LT(*r.moment, 1e-3 * reference);
        }
        const std::vector<CurvePoint> curve = envelope.InteractionCurve(90.0, 5);
        EXPECT_EQ(curve.front().N, Nt);
        EXPECT_EQ(curve.back().moment, 0.0);
        EXPECT_EQ(curve[2].moment, envelope.ResistingMoment(curve[2].N, 90.0));
        EXPECT_FALSE(envelope.ResistingMoment(N0 * 1.001, 0.0));
        EXPECT_FALSE(envelope.ResistingMoment(Nt * 1.001, 0.0));
        EXPECT_EQ(envelope.Contour(0.0, 1)[0].moment, envelope.ResistingMoment(0.0, 0.0));
        EXPECT_FALSE(envelope.Utilisation(0.0, NAN, 0.0));
        EXPECT_FALSE(envelope.Utilisation(0.0, 0.0, INFINITY));
    }
    EXPECT_FALSE(ResistanceEnvelope(SectionGeometry{}, 2.5, m).valid());
}

// The L section: the envelope's plane, integrated independently, gives the target N and a moment
// along the ray although the neutral axis is skew, and lies on the strain limits.
TEST(ResistanceEnvelope, LSectionMomentAlongTheRay) {
    const TestSection s = testing::LShape();
    const MaterialParameters m = ShortTermMaterial(35, 500, 200, 1.4, 1.15);
    const ResistanceEnvelope envelope(Geometry(s), 2.0, m);
    double largestSkew = 0.0;
    for (double N : {0.0, 0.4 * envelope.squash()}) {
        for (double theta : {0.0, 30.0, 45.0, 80.0, 135.0, 225.0, 300.0}) {
            SCOPED_TRACE(::testing::Message() << "N " << N << ", theta " << theta);
            const std::optional<ResistingPoint> p = envelope.Resisting(N, theta);
            ASSERT_TRUE(p);
            const SectionStrain& e = p->plane;
            testing::Resultants3 r = testing::PreciseConcrete(s, e, m);
            double barStrain = -1.0, vertexStrain = 1.0;
            for (const Bar& b : s.bars) {
                const double strain = e.axialStrain + b.x * e.curvatureX + b.y * e.curvatureY;
                const double f = SteelStress(m, strain) * 2.0;
                r.N += f, r.Sx += f * b.x, r.Sy += f * b.y;
                barStrain = std::max(barStrain, strain);
            }
            for (const Point& v : s.vertices)
                vertexStrain =
                    std::min(vertexStrain, e.axialStrain + v.x * e.curvatureX + v.y * e.curvatureY);
            EXPECT_TRUE(std::fabs(barStrain - 0.01) < 1e-12 ||
                        std::fabs(vertexStrain + m.epsCu / 1000) < 1e-12);
            const double c = std::cos(theta * kDegree), sn = std::sin(theta * kDegree);
            EXPECT_NEAR(-r.N, N, 2e-4 * envelope.squash());
            EXPECT_NEAR(-r.Sx, p->moment * c, 2e-4 * p->moment);
            EXPECT_NEAR(-r.Sy, p->moment * sn, 2e-4 * p->moment);
            // Compression lies on the side of (-curvatureX, -curvatureY).
            const double normal = std::atan2(-e.curvatureY, -e.curvatureX) / kDegree;
            largestSkew = std::max(largestSkew, std::fabs(std::remainder(normal - theta, 360.0)));
            // Half the moment along the same ray uses half the resistance.
            EXPECT_NEAR(*envelope.Utilisation(N, 0.5 * p->moment * c, 0.5 * p->moment * sn), 0.5,
                        1e-9);
        }
    }
    EXPECT_GT(largestSkew, 5.0);

    // Near N0 the contour is a small loop off the origin: some rays miss it, zero is outside.
    const double N = envelope.squash() - 1e-3 * (envelope.squash() - envelope.tension());
    const std::vector<ContourRay> c = envelope.Contour(N, 72);
    EXPECT_TRUE(std::any_of(c.begin(), c.end(), [](const ContourRay& r) { return !r.moment; }));
    EXPECT_FALSE(envelope.Utilisation(N, 0.0, 0.0));
    // The ray towards the uniform strain's moment crosses the loop twice: the farther point.
    const SectionForces u = envelope.UltimatePlaneForces(0.0, 3.0);
    EXPECT_GT(*envelope.ResistingMoment(N, std::atan2(u.My, u.Mx) / kDegree),
              std::hypot(u.Mx, u.My));
    EXPECT_EQ(envelope.Utilisation(0.0, 0.0, 0.0), 0.0);
}

}  // namespace
}  // namespace tarvelo
