#include "engine/column_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/engine/column_test_support.h"

namespace tarvelo {
namespace {

using testing::MakeMaterial;
using testing::MakeRectangle;

std::unique_ptr<ColumnModel> Assembled(const SectionGeometry& s, double barArea, double L,
                                       const ColumnLoads& loads, double fck = 25,
                                       double creep = 0) {
    auto model = std::make_unique<ColumnModel>();
    model->Assemble(s, barArea, L, MakeMaterial(fck, creep), loads);
    return model;
}

const SectionGeometry kRect20x40 = MakeRectangle(20, 40, {{4, 4}, {16, 4}, {4, 36}, {16, 36}});

TEST(ColumnModel, LoadVector) {
    ColumnModel model;
    model.AddDistributedLoads(1, 0.2, 0.0, 0.1, 30.0);
    EXPECT_DOUBLE_EQ(model.F()[0], 3.0);
    EXPECT_DOUBLE_EQ(model.F()[1], 1.5);
    EXPECT_DOUBLE_EQ(model.F()[2], 7.5);
    EXPECT_DOUBLE_EQ(model.F()[5], 3.0);
    EXPECT_DOUBLE_EQ(model.F()[6], 1.5);
    EXPECT_DOUBLE_EQ(model.F()[7], -7.5);
    EXPECT_EQ(model.F()[3], 0.0);

    ColumnLoads loads;
    loads.Fd = 500;
    loads.Hxd_t = 3;
    loads.Mxd_t = 100;
    loads.Myd_t = 200;
    loads.Mxd_b = 300;
    loads.pxd = 0.1;
    const auto assembled = Assembled(kRect20x40, 2.0, 300, loads);
    const auto& P = assembled->P();
    // Base moments as entered; at the top compression and reversed moments. The uniform load
    // gives px*Le/2 at the ends and px*Le inside, its end moments cancel between elements.
    EXPECT_DOUBLE_EQ(P[4], 300 + 7.5);
    EXPECT_DOUBLE_EQ(P[5 * 5 + 3], 3.0);
    EXPECT_NEAR(P[5 * 5 + 4], 0.0, 1e-12);
    EXPECT_DOUBLE_EQ(P[50], -500);
    EXPECT_DOUBLE_EQ(P[52], -200);
    EXPECT_DOUBLE_EQ(P[53], 3 + 1.5);
    EXPECT_DOUBLE_EQ(P[54], -100 - 7.5);
}

// Rigidities of the section the way the stiffness takes them, computed here independently.
struct Rigidities {
    double EA = 0, ESx = 0, ESy = 0, EIxx = 0, EIyy = 0, EIxy = 0;
};

Rigidities SectionRigidities(const SectionGeometry& s, double barArea, double Ec, double Es) {
    // Rectangles only: the concrete part about the origin in closed form.
    const double x0 = s.vertices[0].x, x1 = s.vertices[2].x;
    const double y0 = s.vertices[0].y, y1 = s.vertices[2].y;
    const double b = x1 - x0, h = y1 - y0;
    Rigidities r;
    r.EA = Ec * b * h;
    r.ESx = Ec * h * (x1 * x1 - x0 * x0) / 2;
    r.ESy = Ec * b * (y1 * y1 - y0 * y0) / 2;
    r.EIxx = Ec * h * (x1 * x1 * x1 - x0 * x0 * x0) / 3;
    r.EIyy = Ec * b * (y1 * y1 * y1 - y0 * y0 * y0) / 3;
    r.EIxy = Ec * (x1 * x1 - x0 * x0) * (y1 * y1 - y0 * y0) / 4;
    for (int i = 0; i < s.nb; ++i) {
        const double x = s.bars[i].x, y = s.bars[i].y;
        r.EA += Es * barArea;
        r.ESx += Es * barArea * x;
        r.ESy += Es * barArea * y;
        r.EIxx += Es * barArea * x * x;
        r.EIyy += Es * barArea * y * y;
        r.EIxy += Es * barArea * x * y;
    }
    return r;
}

// Ke by 5-point Gauss integration of B^T D B along the element, with the textbook Hermite
// polynomials. B rows: axial strain, curvature in x (x'' from DOFs 4, 5, 9, 10), curvature in
// y (y'' from DOFs 2, 3, 7, 8).
ElementMatrix NumericalStiffness(const Rigidities& r, double Le) {
    const double r1 = std::sqrt(5 - 2 * std::sqrt(10.0 / 7)) / 3;
    const double r2 = std::sqrt(5 + 2 * std::sqrt(10.0 / 7)) / 3;
    const double w1 = (322 + 13 * std::sqrt(70.0)) / 900, w2 = (322 - 13 * std::sqrt(70.0)) / 900;
    const double t[5] = {-r2, -r1, 0.0, r1, r2};
    const double w[5] = {w2, w1, 128.0 / 225, w1, w2};
    const double D[3][3] = {{r.EA, r.ESx, r.ESy}, {r.ESx, r.EIxx, r.EIxy}, {r.ESy, r.EIxy, r.EIyy}};
    ElementMatrix ke;
    for (int g = 0; g < 5; ++g) {
        const double xi = (t[g] + 1) / 2;
        const double h[4] = {(-6 + 12 * xi) / (Le * Le), (-4 + 6 * xi) / Le,
                             (6 - 12 * xi) / (Le * Le), (-2 + 6 * xi) / Le};
        double B[3][10] = {};
        B[0][0] = -1 / Le;
        B[0][5] = 1 / Le;
        const int xDofs[4] = {3, 4, 8, 9}, yDofs[4] = {1, 2, 6, 7};
        for (int k = 0; k < 4; ++k) {
            B[1][xDofs[k]] = h[k];
            B[2][yDofs[k]] = h[k];
        }
        for (int a = 0; a < 10; ++a) {
            for (int b = 0; b < 10; ++b) {
                double sum = 0;
                for (int i = 0; i < 3; ++i) {
                    for (int j = 0; j < 3; ++j)
                        sum += B[i][a] * D[i][j] * B[j][b];
                }
                ke(a + 1, b + 1) += sum * w[g] * Le / 2;
            }
        }
    }
    return ke;
}

void ExpectStiffnessMatches(const SectionGeometry& s, double barArea, Rigidities expected) {
    const auto model = Assembled(s, barArea, 300, ColumnLoads{});
    const MaterialParameters m = MakeMaterial(25, 0);
    const ElementMatrix& ke = model->BuildElementStiffness(3, m.initialModulus, m.Es);
    // The coupling rigidities count only when not below 1e-10 (signed).
    for (double* v : {&expected.ESx, &expected.ESy, &expected.EIxy}) {
        if (*v < 1e-10) *v = 0;
    }
    const ElementMatrix ref = NumericalStiffness(expected, 30.0);
    double largest = 0;
    for (double v : ref.ke)
        largest = std::max(largest, std::abs(v));
    for (int a = 1; a <= 10; ++a) {
        for (int b = 1; b <= 10; ++b) {
            EXPECT_NEAR(ke(a, b), ref(a, b), 1e-12 * largest) << "Ke(" << a << ", " << b << ")";
            EXPECT_EQ(ke(a, b), ke(b, a));
        }
    }
}

TEST(ColumnModel, ElementStiffnessIsTheIntegralOfBtDB) {
    const MaterialParameters m = MakeMaterial(25, 0);
    const double Ec = m.initialModulus, Es = m.Es;
    // Symmetric bars: no coupling between axial strain and curvature.
    ExpectStiffnessMatches(kRect20x40, 2.0, SectionRigidities(kRect20x40, 2.0, Ec, Es));

    // Bars crowded towards +x, +y: ESx, ESy and EIxy positive. Sign convention: the exact
    // integral, +ESy/Le between the axial DOF and the y slope of the first node.
    const SectionGeometry skewed = MakeRectangle(20, 40, {{16, 36}, {16, 30}, {10, 36}, {4, 4}});
    const Rigidities r = SectionRigidities(skewed, 3.0, Ec, Es);
    ASSERT_GT(r.ESx, 1.0);
    ASSERT_GT(r.ESy, 1.0);
    ASSERT_GT(r.EIxy, 1.0);
    ExpectStiffnessMatches(skewed, 3.0, r);
    const auto model = Assembled(skewed, 3.0, 300, ColumnLoads{});
    const ElementMatrix& ke = model->BuildElementStiffness(1, Ec, Es);
    EXPECT_NEAR(ke(1, 3), r.ESy / 30.0, 1e-9 * r.ESy);
    EXPECT_NEAR(ke(1, 5), r.ESx / 30.0, 1e-9 * r.ESx);
    EXPECT_NEAR(ke(2, 4), 12 * r.EIxy / 27000.0, 1e-9 * r.EIxy);
    EXPECT_NEAR(ke(2, 9), -12 * r.EIxy / 27000.0, 1e-9 * r.EIxy);
    // Assembled: an interior node collects both of its elements.
    EXPECT_DOUBLE_EQ(model->bandMatrix()(6, 1), 2 * ke(1, 1));
    EXPECT_DOUBLE_EQ(model->bandMatrix()(3, 6), ke(3, 8));

    // Bars towards -x, -y: the negative coupling rigidities count as 0.
    const SectionGeometry negative = MakeRectangle(20, 40, {{4, 4}, {4, 10}, {10, 4}, {16, 36}});
    const Rigidities rn = SectionRigidities(negative, 3.0, Ec, Es);
    ASSERT_LT(rn.ESx, -1.0);
    ASSERT_LT(rn.ESy, -1.0);
    ExpectStiffnessMatches(negative, 3.0, rn);
}

TEST(ColumnModel, Supports) {
    ColumnLoads loads;
    loads.Fd = 100;
    loads.Hyd_t = 5;
    auto model = Assembled(kRect20x40, 2.0, 300, loads);
    ASSERT_EQ(model->ApplySupportsAndFactor(SupportCondition::Pinned, SupportCondition::Pinned), 0);
    const int pinned[][2] = {{1, 1}, {1, 2}, {1, 4}, {11, 2}, {11, 4}};
    ASSERT_EQ(model->restraintCount(), 5);
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(model->restraintNode(r), pinned[r - 1][0]);
        EXPECT_EQ(model->restraintDof(r), pinned[r - 1][1]);
    }
    // The top's axial load always acts; the restrained lateral load is gone from F, kept in P.
    EXPECT_EQ(model->F()[50], -100);
    EXPECT_EQ(model->F()[51], 0);
    EXPECT_EQ(model->P()[51], 5);

    model = Assembled(kRect20x40, 2.0, 300, loads);
    EXPECT_EQ(model->ApplySupportsAndFactor(SupportCondition::Fixed, SupportCondition::Fixed), 0);
    EXPECT_EQ(model->restraintCount(), 9);
    EXPECT_EQ(model->restraintDof(6), 2);
    // A pinned base with a free top is a mechanism.
    model = Assembled(kRect20x40, 2.0, 300, loads);
    EXPECT_EQ(model->ApplySupportsAndFactor(SupportCondition::Pinned, SupportCondition::Free), 1);

    // The supports apply once per assembly; a second call cannot factorise twice.
    model = Assembled(kRect20x40, 2.0, 300, loads);
    ASSERT_EQ(model->ApplySupportsAndFactor(SupportCondition::Fixed, SupportCondition::Free), 0);
    EXPECT_EQ(model->ApplySupportsAndFactor(SupportCondition::Fixed, SupportCondition::Free), 1);
    // Zero rigidity (no concrete, no bars) is singular.
    const SectionGeometry empty = MakeRectangle(0, 0, {});
    const auto none = Assembled(empty, 0.0, 300, loads);
    EXPECT_EQ(none->ApplySupportsAndFactor(SupportCondition::Fixed, SupportCondition::Fixed), 1);
}

TEST(ColumnModel, InternalForces) {
    const auto model = Assembled(kRect20x40, 2.0, 300, ColumnLoads{});
    ColumnModel::DofVector U{};
    // A rigid rotation in the y plane strains nothing to first order; to second order its
    // slope stretches the column, the concrete cracks and only the bars pull.
    const double theta = 1e-3;
    for (int node = 1; node <= 11; ++node) {
        U[5 * (node - 1) + 1] = theta * 30.0 * (node - 1);
        U[5 * (node - 1) + 2] = theta;
    }
    ASSERT_EQ(model->ComputeInternalForces(U, 0), 0);
    for (double f : model->Fint())
        EXPECT_EQ(f, 0.0);
    ASSERT_EQ(model->ComputeInternalForces(U, 1), 0);
    // Tension 0.5*theta^2 in four bars of 2 cm2 pulls the base down, the top up and the
    // slope terms turn it along the rotated axis.
    const double N = 4 * 2.0 * 20000.0 * 0.5 * theta * theta;
    EXPECT_NEAR(model->Fint()[0], -N, 1e-9 * N);
    EXPECT_NEAR(model->Fint()[50], N, 1e-9 * N);
    EXPECT_NEAR(model->Fint()[51], N * theta, 1e-6 * N * theta);
    EXPECT_NEAR(model->Fint()[1], -N * theta, 1e-6 * N * theta);

    // Under a uniform shortening a rigid rotation of 1e-13 leaves end forces N*theta of about
    // 1e-11 kN: below 1e-9 they are cleaned to exactly 0, the axial forces stay.
    U.fill(0.0);
    for (int node = 1; node <= 11; ++node) {
        U[5 * (node - 1)] = -1e-4 * 30.0 * (node - 1);
        U[5 * (node - 1) + 1] = 1e-13 * 30.0 * (node - 1);
        U[5 * (node - 1) + 2] = 1e-13;
    }
    ASSERT_EQ(model->ComputeInternalForces(U, 1), 0);
    EXPECT_GT(model->Fint()[0], 10.0);
    EXPECT_LT(model->Fint()[50], -10.0);
    for (int i = 0; i < 55; ++i) {
        if (i % 5 != 0) {
            EXPECT_EQ(model->Fint()[i], 0.0) << i;
        }
    }

    // A strain beyond the limits is reported at once.
    U[50] = -1.0;
    EXPECT_EQ(model->ComputeInternalForces(U, 1), 1);
}

}  // namespace
}  // namespace tarvelo
