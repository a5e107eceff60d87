#include "engine/column_model.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/engine/column_test_support.h"

namespace tarvelo {
namespace {

using testing::MakeMaterial;
using testing::MakeRectangle;

// The supports and internal forces (load vector and stiffness: through the reference columns).
std::unique_ptr<ColumnModel> Assembled(const SectionGeometry& s, double barArea, double L,
                                       const ColumnLoads& loads) {
    auto model = std::make_unique<ColumnModel>();
    model->Assemble(s, barArea, L, MakeMaterial(25, 0), loads);
    return model;
}

const SectionGeometry kRect20x40 = MakeRectangle(20, 40, {{4, 4}, {16, 4}, {4, 36}, {16, 36}});

TEST(ColumnModel, Supports) {
    const ColumnLoads loads{.Fd = 100, .Hyd_t = 5};
    auto model = Assembled(kRect20x40, 2.0, 300, loads);
    ASSERT_EQ(model->ApplySupportsAndFactor(SupportCondition::Pinned, SupportCondition::Pinned), 0);
    ASSERT_EQ(model->restraintCount(), 5);
    // The top's axial load always acts; the restrained lateral load is gone from F, kept in P.
    EXPECT_EQ(model->F()[50], -100);
    EXPECT_EQ(model->F()[51], 0);
    EXPECT_EQ(model->P()[51], 5);

    // The supports apply once per assembly; a second call cannot factorise twice.
    model = Assembled(kRect20x40, 2.0, 300, loads);
    ASSERT_EQ(model->ApplySupportsAndFactor(SupportCondition::Fixed, SupportCondition::Free), 0);
    EXPECT_EQ(model->ApplySupportsAndFactor(SupportCondition::Fixed, SupportCondition::Free), 1);
    // Zero rigidity (no concrete, no bars) is singular.
    const SectionGeometry empty = MakeRectangle(0, 0, {});
    const auto none = Assembled(empty, 0.0, 300, loads);
    EXPECT_EQ(none->ApplySupportsAndFactor(SupportCondition::Fixed, SupportCondition::Fixed), 1);
}

// Uniform pxd = pyd on ten 30 cm elements: the same nodal forces in both planes, the end moments
// p Le^2 / 12 at the ends and cancelling inside.
TEST(ColumnModel, DistributedLoadsInBothPlanes) {
    const ColumnLoads loads{.pxd = 0.1, .pyd = 0.1};
    const auto model = Assembled(kRect20x40, 2.0, 300, loads);
    for (int node = 1; node <= 11; ++node) {
        const int i = 5 * (node - 1);
        const double end = node == 1 ? 7.5 : node == 11 ? -7.5 : 0.0;
        EXPECT_EQ(model->F()[i + 1], model->F()[i + 3]) << node;
        EXPECT_NEAR(model->F()[i + 2], end, 1e-12) << node;
        EXPECT_NEAR(model->F()[i + 4], end, 1e-12) << node;
    }
}

TEST(ColumnModel, InternalForces) {
    const auto model = Assembled(kRect20x40, 2.0, 300, ColumnLoads{});
    ColumnModel::DofVector U{};
    // A rigid rotation strains nothing to first order; to second order only the bars pull.
    const double theta = 1e-3;
    for (int node = 1; node <= 11; ++node) {
        U[5 * (node - 1) + 1] = theta * 30.0 * (node - 1);
        U[5 * (node - 1) + 2] = theta;
    }
    ASSERT_EQ(model->ComputeInternalForces(U, 0), 0);
    for (double f : model->Fint())
        EXPECT_EQ(f, 0.0);
    ASSERT_EQ(model->ComputeInternalForces(U, 1), 0);
    // Tension 0.5 theta^2 in four bars of 2 cm2, turned along the rotated axis.
    const double N = 4 * 2.0 * 20000.0 * 0.5 * theta * theta;
    EXPECT_NEAR(model->Fint()[0], -N, 1e-9 * N);
    EXPECT_NEAR(model->Fint()[50], N, 1e-9 * N);
    EXPECT_NEAR(model->Fint()[51], N * theta, 1e-6 * N * theta);
    EXPECT_NEAR(model->Fint()[1], -N * theta, 1e-6 * N * theta);

    // End forces N theta of about 1e-11 kN are cleaned to exactly 0; the axial forces stay.
    U.fill(0.0);
    for (int node = 1; node <= 11; ++node) {
        U[5 * (node - 1)] = -1e-4 * 30.0 * (node - 1);
        U[5 * (node - 1) + 1] = 1e-13 * 30.0 * (node - 1);
        U[5 * (node - 1) + 2] = 1e-13;
    }
    ASSERT_EQ(model->ComputeInternalForces(U, 1), 0);
    EXPECT_GT(model->Fint()[0], 10.0);
    EXPECT_LT(model->Fint()[50], -10.0);
    for (int i = 0; i < 55; ++i)
        EXPECT_TRUE(i % 5 == 0 || model->Fint()[i] == 0.0) << i;

    // A strain beyond the limits is reported at once.
    U[50] = -1.0;
    EXPECT_EQ(model->ComputeInternalForces(U, 1), 1);
}

}  // namespace
}  // namespace tarvelo
