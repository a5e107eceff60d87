// Material laws: parameters of the concrete curve and its stress-strain law.
#include <gtest/gtest.h>

#include <cmath>

#include "column_test_support.h"
#include "engine/material.h"

namespace tarvelo {
namespace {

using testing::MakeMaterial;

TEST(ConcreteParameters, CodeValuesFrom20To90MPa) {
    struct Row {
        double fck, epsC2, epsCu, n, plateauPerMille;
    };
    const Row rows[] = {{20, 2.0, 3.5, 2.0, 1.0465},          {25, 2.0, 3.5, 2.0, 1.0465},
                        {30, 2.0, 3.5, 2.0, 1.0465},          {35, 2.0, 3.5, 2.0, 1.0465},
                        {40, 2.0, 3.5, 1.9233, 1.0743},       {50, 2.0, 3.5, 1.6388, 1.1902},
                        {55, 2.1995, 3.1252, 1.6842, 1.2869}, {70, 2.4159, 2.6560, 1.5608, 1.4809},
                        {90, 2.5974, 2.6000, 1.4083, 1.6903}};
    for (const Row& r : rows) {
        const MaterialParameters m = MakeMaterial(r.fck, 0);
        EXPECT_NEAR(m.epsC2, r.epsC2, 6e-5) << r.fck;
        EXPECT_NEAR(m.epsCu, r.epsCu, 6e-5) << r.fck;
        EXPECT_NEAR(m.n, r.n, 6e-5) << r.fck;
        EXPECT_NEAR(m.plateauStrain * 1000, r.plateauPerMille, 6e-5) << r.fck;
    }
    // 50 MPa exactly still takes the fixed strains; at 90 the peak strain is capped.
    EXPECT_EQ(MakeMaterial(50, 0).epsC2, 2.0);
    EXPECT_EQ(MakeMaterial(50, 0).epsCu, 3.5);
    EXPECT_GT(MakeMaterial(50.001, 0).epsC2, 2.0);
    EXPECT_EQ(MakeMaterial(90, 0).epsC2, 0.999 * MakeMaterial(90, 0).epsCu);
}

TEST(ConcreteStressLaw, ZonesAndBoundaries) {
    for (double fck : {25.0, 60.0}) {
        const MaterialParameters m = MakeMaterial(fck, 1.0);
        const double el = m.plateauStrain;
        EXPECT_EQ(ConcreteStress(m, 0.0), 0.0);
        EXPECT_EQ(ConcreteStress(m, 0.002), 0.0);
        EXPECT_EQ(ConcreteStress(m, -el), -0.85 * m.fcd);  // the boundary belongs to the plateau
        EXPECT_EQ(ConcreteStress(m, -3 * el), -0.85 * m.fcd);
        EXPECT_NEAR(ConcreteStress(m, std::nextafter(-el, 0.0)), -0.85 * m.fcd, 1e-12);
        EXPECT_NEAR(ConcreteStress(m, -1e-9) / -1e-9, m.initialModulus, 1e-5 * m.initialModulus);
    }
    const MaterialParameters m = MakeMaterial(25, 0);
    EXPECT_NEAR(ConcreteStress(m, -0.001), -0.825 * m.fcd, 1e-15);  // half the peak strain
}

}  // namespace
}  // namespace tarvelo
