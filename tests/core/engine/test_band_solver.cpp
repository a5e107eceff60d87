#include "engine/band_solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace tarvelo {
namespace {

using Dense = std::vector<std::vector<double>>;

BandMatrix ToBand(const Dense& a, int band) {
    BandMatrix kb;
    const int n = static_cast<int>(a.size());
    for (int i = 1; i <= n; ++i) {
        for (int c = 1; c <= band && i + c - 1 <= n; ++c)
            kb(i, c) = a[i - 1][i + c - 2];
    }
    return kb;
}

// Random diagonally dominant banded systems of 3 to 83 equations, every band width: A x = b to
// rounding, first and last rows included.
TEST(BandSolver, SolvesRandomBandedSystems) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int trial = 0; trial < 40; ++trial) {
        const int n = trial < 3 ? 3 : 5 + trial * 2;
        const int width = 1 + trial % kBandMaxWidth;
        Dense a(n, std::vector<double>(n, 0.0));
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < std::min(n, i + width); ++j)
                a[i][j] = a[j][i] = u(rng);
            a[i][i] = 2.0 * width;
        }
        std::vector<double> b(n);
        for (double& v : b)
            v = 10.0 * u(rng);
        BandMatrix kb = ToBand(a, width);
        ASSERT_EQ(FactorBand(kb, n, width), 0);
        std::vector<double> x = b;
        SolveBand(kb, x, n, width);
        for (int i = 0; i < n; ++i) {
            double ax = 0.0;
            for (int j = 0; j < n; ++j)
                ax += a[i][j] * x[j];
            EXPECT_NEAR(ax, b[i], 1e-12) << "n " << n << " row " << i;
        }
    }
}

TEST(BandSolver, NonPositivePivotsAreReported) {
    Dense a = {{4, 1, 0}, {1, 3, 1}, {0, 1, 2}};
    BandMatrix kb = ToBand(a, 3);
    kb(1, 1) = 0.0;
    EXPECT_EQ(FactorBand(kb, 3, 3), 1);
    EXPECT_EQ(kb(1, 1), 0.0);  // returned before any square root

    // Singular (rows 1 and 2 equal), indefinite in the last row, a NaN or an infinity on the
    // diagonal: none may pass the pivot test.
    const Dense bad[] = {{{1, 1, 0}, {1, 1, 0}, {0, 0, 1}},
                         {{1, 0, 0}, {0, 1, 2}, {0, 2, 1}},
                         {{4, 1, 0}, {1, NAN, 1}, {0, 1, 2}},
                         {{4, 1, 0}, {1, 3, 1}, {0, 1, INFINITY}}};
    for (const Dense& d : bad) {
        kb = ToBand(d, 3);
        EXPECT_EQ(FactorBand(kb, 3, 3), 1);
    }
    // Sizes outside the storage.
    kb = ToBand(a, 3);
    EXPECT_EQ(FactorBand(kb, 0, 3), 1);
    EXPECT_EQ(FactorBand(kb, kBandMaxEquations + 1, 3), 1);
    EXPECT_EQ(FactorBand(kb, 3, kBandMaxWidth + 1), 1);
    // The largest system the storage holds is still solved.
    kb.Clear();
    for (int k = 1; k <= kBandMaxEquations; ++k)
        kb(k, 1) = 4.0;
    EXPECT_EQ(FactorBand(kb, kBandMaxEquations, kBandMaxWidth), 0);
    std::vector<double> untouched = {18.0, 1.0, 2.0};
    SolveBand(kb, untouched, 0, 3);
    SolveBand(kb, untouched, 3, kBandMaxWidth + 1);
    EXPECT_EQ(untouched, (std::vector<double>{18.0, 1.0, 2.0}));
    // A single equation.
    kb.Clear();
    kb(1, 1) = 9.0;
    ASSERT_EQ(FactorBand(kb, 1, 3), 0);
    std::vector<double> b = {18.0};
    SolveBand(kb, b, 1, 3);
    EXPECT_DOUBLE_EQ(b[0], 2.0);
}

// Assembly and supports write only inside the matrix, the band and the given restraints; scalar
// (one dof per node) and one-node elements are assembled as any other.
TEST(BandSolver, AssemblyAndSupportsStayInsideTheirArguments) {
    ElementMatrix ke;
    ke(1, 1) = ke(2, 2) = 1.0;
    ke(1, 2) = ke(2, 1) = -1.0;
    // Guard storage on both sides shows a write before or after the matrix.
    struct Guarded {
        std::array<double, 2> before{};
        BandMatrix kb;
        std::array<double, 2> after{};
    } g;
    const auto written = [&g] {
        const auto nonzero = [](const auto& a) {
            return std::count_if(a.begin(), a.end(), [](double v) { return v != 0.0; });
        };
        return nonzero(g.before) + nonzero(g.kb.kb) + nonzero(g.after);
    };
    BandMatrix& kb = g.kb;
    const int chain[] = {1, 2};
    AssembleElement(kb, ke, chain, 1, 1, 2);
    EXPECT_EQ(written(), 3);
    EXPECT_EQ(kb(1, 2), -1.0);
    AssembleElement(kb, ke, chain, 1, 2, 1);  // a spring from node 2 to the ground
    EXPECT_EQ(kb(2, 1), 2.0);
    // Node 106 lies beyond the last equation and node 0 before the first: only (105, 105) is
    // written.
    for (const auto& nodes : {std::array{105, 106}, std::array{0, 105}}) {
        kb.Clear();
        AssembleElement(kb, ke, nodes, 1, 1, 2);
        EXPECT_EQ(written(), 1) << nodes[0];
        EXPECT_EQ(kb(105, 1), 1.0) << nodes[0];
    }
    // Only the first restraintCount restraints hold.
    kb.Clear();
    for (int k = 1; k <= 3; ++k)
        kb(k, 1) = 4.0;
    std::vector<double> F = {1.0, 2.0, 3.0};
    const int nodes[] = {2, 3}, dofs[] = {1, 1};
    ApplySupports(kb, F, nodes, dofs, 1, 3, 1, 2);
    EXPECT_EQ(F, (std::vector<double>{1.0, 0.0, 3.0}));
    EXPECT_EQ(kb(3, 1), 4.0);
}

}  // namespace
}  // namespace tarvelo
