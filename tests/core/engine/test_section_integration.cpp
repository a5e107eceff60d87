// Section integration beyond the golden resultants: section properties, Gauss rules, the exact
// strain limits, bad input, the largest polygon, and the parabolic zone under small curvatures
// accurate down to the 1e-12 cut-off.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "engine/section_integration.h"
#include "test_section_reference.h"

namespace tarvelo {
namespace {

using testing::MakeMaterial;
using testing::Resultants3;
using testing::TestSection;

// The rules the integration uses are pinned by the golden resultants; other counts are ignored.
TEST(GaussRule, OtherCountsIgnored) {
    GaussRule rule;
    SetGaussRule(rule, 5);
    const GaussRule five = rule;
    SetGaussRule(rule, 6);
    SetGaussRule(rule, 1);
    EXPECT_EQ(rule.count, 5);
    EXPECT_EQ(rule.abscissa, five.abscissa);
}

TEST(SectionProperties, ExactForPolygonsWithSignedCleaning) {
    // Areas, inertias and slendernesses of whole sections: the reference columns.
    const Point corner[] = {{0, 0}, {20, 0}, {20, 40}, {0, 40}, {0, 0}};
    const SectionConstants c = ComputeSectionProperties(corner, 4);
    EXPECT_NEAR(c.firstMomentX, 8000, 1e-9);  // positive first moments and product are kept
    EXPECT_NEAR(c.productOfInertia, 20 * 20 * 40 * 40 / 4.0, 1e-7);
    EXPECT_EQ(ComputeSectionProperties(testing::Rectangle20x40().vertices.data(), 4).firstMomentX,
              0.0);
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

TEST(StrainLimits, ExactLimitValues) {
    const MaterialParameters m = MakeMaterial(25);
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

TEST(IntegrateSection, BadInputNeverReadsOutOfBounds) {
    const MaterialParameters m = MakeMaterial(25);
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
    integrator.IntegrateSection({NAN, 1e-5, NAN}, rect, 4, nullptr, 0, 800, m, failure);
    integrator.IntegrateSection({-0.001, INFINITY, 0}, rect, 4, nullptr, 0, 800, m, failure);
}

// A comb of 299 vertices whose every tooth edge crosses both contour lines.
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
    const MaterialParameters m = MakeMaterial(30);
    const SectionStrain e{-0.0015, 1e-7, 2e-4};  // roots on the plateau, tips in tension
    SectionIntegrator integrator;
    const Resultants3 got = SectionIntegratorTestPeer::Concrete(integrator, s, e, m);
    const Resultants3 ref = testing::PreciseConcrete(s, e, m);
    EXPECT_NEAR(got.N, ref.N, 1e-9 * std::fabs(ref.N));
    EXPECT_NEAR(got.Sx, ref.Sx, 1e-9 * std::fabs(ref.Sx));
    EXPECT_NEAR(got.Sy, ref.Sy, 1e-9 * std::fabs(ref.Sy));
}

// Concrete resultants within 1e-6 + 1e-9 of the reference, curvatures 10^-first..10^-last.
void CheckCurvatureRange(const MaterialParameters& m, int first, int last) {
    SectionIntegrator integrator;
    std::vector<testing::NamedSection> shapes = testing::NamedSections();
    // 2 x 1 cm: the triangles from the centre to the edges have a doubled area of exactly 1 cm2,
    // and only the degenerate ones (area 0) may be skipped.
    shapes.push_back({"2 x 1", testing::MakeSection({{0, 0}, {2, 0}, {2, 1}, {0, 1}})});
    for (const testing::NamedSection& shape : shapes) {
        for (double e0 : {-1e-7, -5e-4, -1e-3, -1.02e-3}) {
            for (int direction = 0; direction < 3; ++direction) {
                for (int p = first; p >= last; --p) {
                    const double k = std::pow(10.0, -p);
                    const SectionStrain e{e0, direction != 1 ? k : 0.0, direction != 0 ? k : 0.0};
                    const Resultants3 got =
                        SectionIntegratorTestPeer::Concrete(integrator, shape.section, e, m);
                    const Resultants3 ref = testing::PreciseConcrete(shape.section, e, m, 8);
                    SCOPED_TRACE(::testing::Message()
                                 << shape.name << ", axial strain " << e0 << ", curvatures "
                                 << e.curvatureX << " " << e.curvatureY);
                    EXPECT_NEAR(got.N, ref.N, 1e-6 * std::fabs(ref.N) + 1e-9);
                    EXPECT_NEAR(got.Sx, ref.Sx, 1e-6 * std::fabs(ref.Sx) + 1e-9);
                    EXPECT_NEAR(got.Sy, ref.Sy, 1e-6 * std::fabs(ref.Sy) + 1e-9);
                }
            }
        }
    }
}

// With n = 2 the edge quadrature is exact, so the whole range holds the tight tolerance; for other
// exponents the quadrature's own error limits it to the small curvatures.
TEST(ParabolicZoneSmallCurvature, AnyExponent) {
    CheckCurvatureRange(MakeMaterial(25), 12, 3);
    CheckCurvatureRange(MakeMaterial(30, 2.5), 12, 3);
    CheckCurvatureRange(MakeMaterial(50), 12, 7);
    CheckCurvatureRange(MakeMaterial(90, 1.0), 12, 7);
}

// The case that showed the fault: a 20 x 40 section at axial strain -1e-7 bent by 1e-11.
TEST(ParabolicZoneSmallCurvature, NearlyUnstressedSection) {
    const TestSection s = testing::MakeSection({{0, 0}, {20, 0}, {20, 40}, {0, 40}});
    const MaterialParameters m = MakeMaterial(30);
    SectionIntegrator integrator;
    int failure = -1;
    const SectionResultants r = integrator.IntegrateSection({-1e-7, 0.0, 1e-11}, s.vertices.data(),
                                                            s.nv(), nullptr, 0, s.area, m, failure);
    ASSERT_EQ(failure, 0);
    EXPECT_NEAR(r.momentY, -0.00251416, 1e-8);
    EXPECT_EQ(r.momentX, 0.0);
    const double a = 1e-7 / m.peakStrain;
    EXPECT_NEAR(r.N, -1.1 * m.fcd * (2 * a - a * a) * 800, 1e-9);
}

// No step at the switch between the closed-form primitive and the series.
TEST(ParabolicZoneSmallCurvature, NoJumpAtTheSwitch) {
    const TestSection s = testing::Rectangle20x40();
    for (const MaterialParameters& m : {MakeMaterial(25), MakeMaterial(60, 1.5)}) {
        SectionIntegrator integrator;
        // Whole rectangle in the parabolic zone; normalised variation |k| * 20 / peakStrain.
        const double kSwitch = 1e-2 * m.peakStrain / 20;
        for (double factor : {0.999, 0.9999999, 1.0000001, 1.001}) {
            for (int direction = 0; direction < 3; ++direction) {
                const double k = kSwitch * factor;
                const SectionStrain e{-0.0006, direction != 1 ? k : 0.0,
                                      direction != 0 ? k * 2 : 0.0};
                const Resultants3 got = SectionIntegratorTestPeer::Concrete(integrator, s, e, m);
                const Resultants3 ref = testing::PreciseConcrete(s, e, m, 8);
                EXPECT_NEAR(got.N, ref.N, 1e-12 * std::fabs(ref.N)) << factor;
                EXPECT_NEAR(got.Sx, ref.Sx, 1e-8 * std::fabs(ref.Sx) + 1e-10) << factor;
                EXPECT_NEAR(got.Sy, ref.Sy, 1e-8 * std::fabs(ref.Sy) + 1e-10) << factor;
            }
        }
    }
}

// Bit-for-bit guard of the section integration on random strain fields of five sections. For an
// intended change: TARVELO_WRITE_SECTION_GOLDEN=tests/data/section_resultants.golden rewrites it.
constexpr int kFieldsPerSection = 640;

struct Random {
    std::uint64_t state;
    double Uniform(double lo, double hi) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return lo + (hi - lo) * static_cast<double>(state >> 11) * 0x1.0p-53;
    }
    int Index(int count) { return static_cast<int>(Uniform(0, count)) % count; }
};

// Strain fields of every kind the analysis meets, down to the curvature cut-off.
SectionStrain RandomField(Random& random, const testing::TestSection& s,
                          const MaterialParameters& m, int index) {
    double R = 0.0;
    for (const Point& p : s.vertices)
        R = std::fmax(R, std::hypot(p.x, p.y));
    const double angle = random.Uniform(0, 2 * std::numbers::pi);
    const double cx = std::cos(angle), cy = std::sin(angle);
    switch (index % 6) {
        case 0:
        case 1: {  // strains across the section from 1e-5 to 1e-2
            const double k = std::pow(10.0, random.Uniform(-5, -2)) / R;
            return {random.Uniform(-0.004, 0.011), k * cx, k * cy};
        }
        case 2: {  // nearly uniform: curvatures from below the cut-off to the Taylor range
            const double k = std::pow(10.0, random.Uniform(-13, -5));
            return {random.Uniform(-0.0022, 0.0005), k * cx, k * cy};
        }
        case 3:  // uniform
            return {random.Uniform(-0.0025, 0.012), 0.0, 0.0};
        case 4: {  // one axis only
            const double k = std::pow(10.0, random.Uniform(-6, -3.5));
            const double e0 = random.Uniform(-0.003, 0.003);
            return random.Index(2) ? SectionStrain{e0, k * cx, 0.0}
                                   : SectionStrain{e0, 0.0, k * cy};
        }
        default: {  // neutral axis or start of the plateau through a vertex
            const double k = std::pow(10.0, random.Uniform(-5, -3.5)) / R * 10.0;
            const Point& v = s.vertices[random.Index(s.nv())];
            const double level = random.Index(2) ? 0.0 : -m.plateauStrain;
            return {level - (v.x * k * cx + v.y * k * cy), k * cx, k * cy};
        }
    }
}

// One line per field: "F" for a failed section, otherwise N, momentX, momentY as hex floats.
std::vector<std::string> CurrentLines() {
    const MaterialParameters materials[] = {
        testing::MakeMaterial(25), testing::MakeMaterial(40, 1.0), testing::MakeMaterial(60, 2.0),
        testing::MakeMaterial(90, 0.5)};
    SectionIntegrator integrator;  // one integrator throughout, as the analysis reuses it
    Random random{0x2545f4914f6cdd1dull};
    std::vector<std::string> lines;
    for (const testing::NamedSection& g : testing::NamedSections()) {
        const testing::TestSection& s = g.section;
        for (int i = 0; i < kFieldsPerSection; ++i) {
            const MaterialParameters& m = materials[random.Index(4)];
            const SectionStrain e = RandomField(random, s, m, i);
            int failure = -1;
            const SectionResultants r =
                integrator.IntegrateSection(e, s.vertices.data(), s.nv(), s.bars.data(),
                                            static_cast<int>(s.bars.size()), s.area, m, failure);
            char line[96];
            std::snprintf(line, sizeof line, "%a %a %a", r.N, r.momentX, r.momentY);
            lines.push_back(failure != 0 ? "F" : line);
        }
    }
    return lines;
}

TEST(SectionGolden, ResultantsBitIdenticalToTheRecordedOnes) {
    const std::vector<std::string> lines = CurrentLines();
    if (const char* out = std::getenv("TARVELO_WRITE_SECTION_GOLDEN")) {
        std::ofstream file(out);
        for (const std::string& line : lines)
            file << line << '\n';
        ASSERT_TRUE(file.good()) << out;
        GTEST_SKIP() << "golden file written to " << out;
    }
    std::ifstream file(TARVELO_TEST_DATA "/section_resultants.golden");
    ASSERT_TRUE(file.is_open());
    std::vector<std::string> golden;
    for (std::string line; std::getline(file, line);)
        golden.push_back(line);
    ASSERT_EQ(golden.size(), lines.size());

    // Hex floats name every bit: -0 and +0 differ, as do the last units in the last place.
    int differences = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != golden[i] && ++differences <= 10) {
            ADD_FAILURE() << testing::NamedSections()[i / kFieldsPerSection].name << ", field "
                          << i % kFieldsPerSection << ": got " << lines[i] << ", recorded "
                          << golden[i];
        }
    }
    EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace tarvelo
