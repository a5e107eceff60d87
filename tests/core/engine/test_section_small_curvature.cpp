// The parabolic zone under small curvatures stays accurate down to the 1e-12 cut-off.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/section_integration.h"
#include "test_section_reference.h"

namespace tarvelo {
namespace {

using testing::MakeMaterial;
using testing::Resultants3;
using testing::TestSection;

// Concrete resultants within 1e-6 + 1e-9 of the reference, curvatures 10^-first..10^-last.
void CheckCurvatureRange(const MaterialParameters& m, int first, int last) {
    SectionIntegrator integrator;
    for (const testing::NamedSection& shape : testing::NamedSections()) {
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

}  // namespace
}  // namespace tarvelo
