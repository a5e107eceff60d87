// Section integration: section properties, Gauss rules, the uniform-strain path, the strain
// limits, and the exact zone integration against an independent one in extended precision.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <utility>

#include "engine/section_integration.h"
#include "test_section_reference.h"

namespace tarvelo {
namespace {

using testing::Material;
using testing::TestSection;

SectionResultants Integrate(SectionIntegrator& integrator, const TestSection& s,
                            const SectionStrain& e, const MaterialParameters& m, int& failure) {
    return integrator.IntegrateSection(e, s.vertices.data(), s.nv(), s.bars.data(),
                                       static_cast<int>(s.bars.size()), s.area, m, failure);
}

TEST(GaussRule, ExactUpToDegree2nMinus1AndOtherCountsIgnored) {
    GaussRule rule;
    for (int count = 2; count <= 5; ++count) {
        SetGaussRule(rule, count);
        ASSERT_EQ(rule.count, count);
        for (int degree = 0; degree < 2 * count; ++degree) {
            double sum = 0.0;
            for (int g = 0; g < count; ++g)
                sum += rule.weight[g] * std::pow(rule.abscissa[g], degree);
            // The 4- and 5-point constants are given to 15 digits.
            EXPECT_NEAR(sum, degree % 2 ? 0.0 : 2.0 / (degree + 1), count <= 3 ? 1e-15 : 1e-11);
        }
    }
    const GaussRule five = rule;
    SetGaussRule(rule, 6);
    SetGaussRule(rule, 1);
    EXPECT_EQ(rule.count, 5);
    EXPECT_EQ(rule.abscissa, five.abscissa);
}

TEST(SectionProperties, ExactForPolygonsWithSignedCleaning) {
    const Point corner[] = {{0, 0}, {20, 0}, {20, 40}, {0, 40}, {0, 0}};
    SectionConstants c = ComputeSectionProperties(corner, 4);
    EXPECT_NEAR(c.area, 800, 1e-10);
    EXPECT_NEAR(c.firstMomentX, 8000, 1e-9);  // positive first moments and product are kept
    EXPECT_NEAR(c.productOfInertia, 20 * 20 * 40 * 40 / 4.0, 1e-7);

    const TestSection rect = testing::Rectangle20x40();
    c = ComputeSectionProperties(rect.vertices.data(), rect.nv());
    EXPECT_EQ(c.firstMomentX, 0.0);
    EXPECT_EQ(c.firstMomentY, 0.0);
    EXPECT_NEAR(c.inertiaX, 40 * 20 * 20 * 20 / 12.0, 1e-8);
    EXPECT_NEAR(c.inertiaY, 20 * 40 * 40 * 40 / 12.0, 1e-8);
    EXPECT_EQ(c.productOfInertia, 0.0);
    EXPECT_NEAR(testing::HollowRectangle().area, 2400, 1e-9);  // the slit adds nothing
    EXPECT_NEAR(testing::Circle(20, 0, 6).area, 25 * 100 * std::sin(2 * std::numbers::pi / 50),
                1e-6);

    // The centred L has a negative product of inertia: cleaned to 0. Mirrored, it is kept.
    const TestSection L = testing::LShape();
    EXPECT_EQ(ComputeSectionProperties(L.vertices.data(), L.nv()).productOfInertia, 0.0);
    std::vector<Point> mirrored(L.vertices.rbegin(), L.vertices.rend());
    for (Point& p : mirrored)
        p.y = -p.y;
    EXPECT_GT(ComputeSectionProperties(mirrored.data(), L.nv()).productOfInertia, 1000.0);

    const Point clockwise[] = {{0, 0}, {0, 40}, {20, 40}, {20, 0}, {0, 0}};
    EXPECT_NEAR(ComputeSectionProperties(clockwise, 4).area, -800, 1e-10);
    EXPECT_EQ(ComputeSectionProperties(clockwise, -1).area, 0.0);
}

TEST(IntegrateSection, UniformStrain) {
    const TestSection s = testing::MakeSection({{0, 0}, {20, 0}, {20, 40}, {0, 40}});
    SectionIntegrator integrator;
    int failure = -1;
    for (double fck : {20.0, 35.0}) {
        const MaterialParameters m = Material(fck);
        SectionResultants r = Integrate(integrator, s, {-0.0015, 0, 0}, m, failure);
        EXPECT_EQ(failure, 0);
        EXPECT_NEAR(r.N, -0.85 * m.fcd * 800, 1e-12);
        EXPECT_EQ(r.momentX, 0.0);
        r = Integrate(integrator, s, {-0.001, 0, 0}, m, failure);
        EXPECT_NEAR(r.N, -0.825 * m.fcd * 800, 1e-12);
        // Curvatures below 1e-12 count as 0.
        EXPECT_EQ(Integrate(integrator, s, {-0.001, 9e-13, -9e-13}, m, failure).N, r.N);
        // Uniform -epsC2/1000 is a failure, with zero resultants.
        r = Integrate(integrator, s, {-0.002, 0, 0}, m, failure);
        EXPECT_EQ(failure, static_cast<int>(SectionFailure::FullCompression));
        EXPECT_EQ(r.N, 0.0);
    }
}

TEST(IntegrateSection, SectionInTensionCarriesOnlyItsBars) {
    const TestSection s = testing::Rectangle20x40();
    const MaterialParameters m = Material(25);
    SectionIntegrator integrator;
    int failure = -1;
    EXPECT_NEAR(Integrate(integrator, s, {0.005, 0, 0}, m, failure).N, 12 * m.fyd, 1e-9);
    const SectionStrain e{0.004, 1e-5, 2e-5};
    const SectionResultants r = Integrate(integrator, s, e, m, failure);
    EXPECT_EQ(failure, 0);
    double N = 0, Mx = 0, My = 0;
    for (const Bar& b : s.bars) {
        const double f = SteelStress(m, 0.004 + b.x * 1e-5 + b.y * 2e-5) * b.area;
        N += f, Mx -= f * b.x, My -= f * b.y;
    }
    EXPECT_NEAR(r.N, N, 1e-9);
    EXPECT_NEAR(r.momentX, Mx, 1e-9);
    EXPECT_NEAR(r.momentY, My, 1e-9);
}

TEST(StrainLimits, ExactLimitValues) {
    const MaterialParameters m = Material(25);
    SectionIntegrator integrator;
    // A corner and a bar at the origin, where the strain is the axial strain exactly.
    const Point square[] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0}};
    const Bar bars[] = {{0, 0, 1.0}, {10, 10, 1.0}};
    const auto failure = [&](double e0, double kx, double ky) {
        int f = -1;
        integrator.IntegrateSection({e0, kx, ky}, square, 4, bars, 2, 400, m, f);
        return f;
    };
    constexpr int kSteel = static_cast<int>(SectionFailure::SteelElongation);
    EXPECT_EQ(failure(0.01, -1e-4, -1e-4), kSteel);  // bar at exactly 0.01
    EXPECT_EQ(failure(std::nextafter(0.01, 0.0), -1e-4, -1e-4), 0);
    EXPECT_EQ(failure(0.01, 0, 0), kSteel);
    EXPECT_EQ(failure(-0.0035, 1e-4, 1e-4), 0);  // vertex at exactly -epsCu/1000
    EXPECT_EQ(failure(std::nextafter(-0.0035, -1.0), 1e-4, 1e-4),
              static_cast<int>(SectionFailure::ConcreteUltimate));
}

TEST(StrainLimits, FullyCompressedSectionAndMirrorImages) {
    const MaterialParameters m = Material(25);
    SectionIntegrator integrator;
    const Point rect[] = {{-10, -20}, {10, -20}, {10, 20}, {-10, 20}, {-10, -20}};
    const auto failure = [&](double e0, double kx, double ky) {
        int f = -1;
        integrator.IntegrateSection({e0, kx, ky}, rect, 4, nullptr, 0, 800, m, f);
        return f;
    };
    // 20 cm bent in x: the strain 3/7 of the depth from the most compressed fibre is
    // e0 - 10/7 kx, limited to -0.002.
    EXPECT_EQ(failure(-0.0018, 1e-4, 0), 0);
    EXPECT_EQ(failure(-0.00188, 1e-4, 0), static_cast<int>(SectionFailure::FullCompression));
    int failures = 0;
    for (int i = 0; i <= 300; ++i) {
        const double e0 = -0.0012 - 2.7e-6 * i - 1.234e-9;
        for (double kx : {3.1e-5, 7.3e-5}) {
            for (double ky : {0.0, 1.7e-5, 2.9e-5}) {
                const int f = failure(e0, kx, ky);
                EXPECT_EQ(failure(e0, -kx, ky), f) << e0 << " " << kx << " " << ky;
                EXPECT_EQ(failure(e0, kx, -ky), f);
                EXPECT_EQ(failure(e0, -kx, -ky), f);
                failures += f != 0;
            }
        }
    }
    EXPECT_GT(failures, 200);  // both decisions occur in the scan
    EXPECT_LT(failures, 1500);
}

TEST(IntegrateSection, BadInputNeverReadsOutOfBounds) {
    const MaterialParameters m = Material(25);
    SectionIntegrator integrator;
    const Point rect[] = {{-10, -20}, {10, -20}, {10, 20}, {-10, 20}, {-10, -20}};
    int failure = 0;
    const std::pair<int, int> counts[] = {{0, 0}, {kMaxVertices + 1, 0}, {4, 3}, {4, -1}};
    for (const auto& [nv, nb] : counts) {
        const SectionResultants r =
            integrator.IntegrateSection({-0.001, 1e-5, 0}, rect, nv, nullptr, nb, 800, m, failure);
        EXPECT_EQ(failure, static_cast<int>(SectionFailure::Unusable));
        EXPECT_EQ(r.N, 0.0);
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    integrator.IntegrateSection({nan, 1e-5, nan}, rect, 4, nullptr, 0, 800, m, failure);
    integrator.IntegrateSection({-0.001, inf, 0}, rect, 4, nullptr, 0, 800, m, failure);
}

// The whole hub (cuts, ordering, zones, bars) against the independent integration on many strain
// fields of four outlines: strain at the centroid and curvatures in units of 1e-3/R, named ones
// plus random ones.
TEST(IntegrateSection, AgreesWithTheExtendedPrecisionIntegration) {
    const std::pair<TestSection, MaterialParameters> cases[] = {
        {testing::Rectangle20x40(), Material(25)},
        {testing::HollowRectangle(), Material(60, 2.0)},
        {testing::Circle(30, 0, 8), Material(40, 1.0)},
        {testing::LShape(), Material(90, 0.5)}};
    for (const auto& [s, m] : cases) {
        double R = 0.0;
        for (const Point& p : s.vertices)
            R = std::fmax(R, std::hypot(p.x, p.y));
        std::vector<SectionStrain> fields = {
            {-0.0005, 2.0, 0.0},  {-0.0005, 0.0, 2.5}, {-0.0008, 1.5, -1.2}, {-0.0005, 0.3, 0.0},
            {-0.0018, 0.1, 0.0},  {-0.0012, 0.3, 0.3}, {0.0005, 1.0, 0.5},   {-0.0003, -1.0, 2.0},
            {-0.0015, 0.0, -0.4}, {0.002, -1.5, -1.5}, {-0.0004, 0.0, 0.02}, {-0.0013, -0.2, 0.15}};
        std::uint64_t state = 0x9e3779b97f4a7c15ull;
        const auto uniform = [&](double lo, double hi) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            return lo + (hi - lo) * static_cast<double>(state >> 11) * 0x1.0p-53;
        };
        while (fields.size() < 36)
            fields.push_back({uniform(-0.002, 0.001), uniform(-3, 3), uniform(-3, 3)});
        SectionIntegrator integrator;
        int tested = 0;
        for (SectionStrain e : fields) {
            e.curvatureX *= 1e-3 / R;
            e.curvatureY *= 1e-3 / R;
            int failure = -1;
            const SectionResultants r = Integrate(integrator, s, e, m, failure);
            if (failure) continue;
            ++tested;
            testing::Resultants3 ref = testing::PreciseConcrete(s, e, m);
            for (const Bar& b : s.bars) {
                const double f =
                    SteelStress(m, e.axialStrain + b.x * e.curvatureX + b.y * e.curvatureY) *
                    b.area;
                ref.N += f, ref.Sx += f * b.x, ref.Sy += f * b.y;
            }
            const double floor = 1e-6 * 0.85 * m.fcd * s.area;  // for nearly vanishing resultants
            SCOPED_TRACE(::testing::Message() << "area " << s.area << ", strain " << e.axialStrain
                                              << " " << e.curvatureX << " " << e.curvatureY);
            EXPECT_NEAR(r.N, ref.N, 1e-4 * std::fabs(ref.N) + floor);
            EXPECT_NEAR(r.momentX, -ref.Sx, 1e-4 * std::fabs(ref.Sx) + floor * R);
            EXPECT_NEAR(r.momentY, -ref.Sy, 1e-4 * std::fabs(ref.Sy) + floor * R);
        }
        EXPECT_GE(tested, 24);
    }
}

TEST(IntegrateSection, ContourLinesThroughVertices) {
    const MaterialParameters m = Material(25);
    const TestSection s = testing::MakeSection({{0, 0}, {20, 0}, {20, 40}, {0, 40}});
    SectionIntegrator integrator;
    // Strain 0 along the edge x = 10, -plateauStrain along x = -10 (to round-off): no cut
    // points, the vertices themselves bound the parabolic zone.
    const SectionStrain e{-m.plateauStrain / 2, m.plateauStrain / 20, 0.0};
    int failure = -1;
    const SectionResultants r = Integrate(integrator, s, e, m, failure);
    const testing::Resultants3 ref = testing::PreciseConcrete(s, e, m);
    EXPECT_NEAR(r.N, ref.N, 1e-12 * std::fabs(ref.N));
    EXPECT_NEAR(r.momentX, -ref.Sx, 1e-11 * std::fabs(ref.Sx));
}

// A comb of 299 vertices whose every tooth edge crosses both contour lines: the working lists
// hold the vertices plus a cut point per edge and contour line.
TEST(IntegrateSection, MaximumVerticesAndCutPoints) {
    const int teeth = 148;  // 2 corners + (teeth + 1) roots + teeth tips = 299 vertices
    TestSection s;
    s.vertices = {{0, -10}, {teeth * 1.0, -10}};
    for (int i = teeth; i >= 0; --i) {
        s.vertices.push_back({i * 1.0, 0.0});
        if (i > 0) s.vertices.push_back({i - 0.5, 10.0 + (i % 3)});
    }
    s.vertices.push_back(s.vertices.front());
    ASSERT_EQ(s.nv(), kMaxVertices);
    const MaterialParameters m = Material(30);
    const SectionStrain e{-0.0015, 1e-7, 2e-4};  // roots on the plateau, tips in tension
    SectionIntegrator integrator;
    const testing::Resultants3 got = SectionIntegratorTestPeer::Concrete(integrator, s, e, m);
    const testing::Resultants3 ref = testing::PreciseConcrete(s, e, m);
    EXPECT_NEAR(got.N, ref.N, 1e-9 * std::fabs(ref.N));
    EXPECT_NEAR(got.Sx, ref.Sx, 1e-9 * std::fabs(ref.Sx));
    EXPECT_NEAR(got.Sy, ref.Sy, 1e-9 * std::fabs(ref.Sy));
}

}  // namespace
}  // namespace tarvelo
