// Linear algebra of the column's stiffness: assembly of element matrices into a symmetric band,
// zero displacements at restrained degrees of freedom, band Cholesky factorisation and the
// forward and back substitution. All storage is fixed-size; indices are 1-based as in the
// structural numbering (node j, DOF k -> equation (j - 1) * dofsPerNode + k).
#pragma once

#include <array>
#include <span>

namespace tarvelo {

inline constexpr int kBandMaxEquations = 105;
inline constexpr int kBandMaxWidth = 10;
inline constexpr int kElementDofs = 10;

// Upper band of a symmetric matrix: entry (i, c) holds K(i, i + c - 1), so column 1 is the
// diagonal; stored column by column, (i, c) at (i - 1) + (c - 1) * 105. After FactorBand it
// holds the upper Cholesky factor U (K = U^T U) in the same layout.
struct BandMatrix {
    std::array<double, kBandMaxEquations * kBandMaxWidth> kb{};

    double& operator()(int i, int c) { return kb[(i - 1) + (c - 1) * kBandMaxEquations]; }
    double operator()(int i, int c) const { return kb[(i - 1) + (c - 1) * kBandMaxEquations]; }
    void Clear() { kb.fill(0.0); }
};

// Symmetric element matrix Ke(a, b), a, b = 1..10.
struct ElementMatrix {
    std::array<double, kElementDofs * kElementDofs> ke{};

    double& operator()(int a, int b) { return ke[(a - 1) * kElementDofs + (b - 1)]; }
    double operator()(int a, int b) const { return ke[(a - 1) * kElementDofs + (b - 1)]; }
    void Clear() { ke.fill(0.0); }
};

// KB += upper triangle of Ke at the global equations of the element's nodes. connectivity holds
// nodesPerElement consecutive node numbers per element. Entries that would fall outside the
// matrix or outside the band are dropped (they cannot occur for two-node elements with
// consecutive node numbers).
void AssembleElement(BandMatrix& kb, const ElementMatrix& ke, std::span<const int> connectivity,
                     int dofsPerNode, int element, int nodesPerElement);

// Zero displacement at every restraint (node, dof): its row and column of KB are cleared, its
// diagonal becomes 1 and its load F is 0. Restraints outside 1..nEquations are ignored.
void ApplySupports(BandMatrix& kb, std::span<double> F, std::span<const int> restraintNodes,
                   std::span<const int> restraintDofs, int dofsPerNode, int nEquations,
                   int restraintCount, int band);

// In-place band Cholesky factorisation. Returns 0 on success and 1 when a pivot is not
// positive (a singular or indefinite matrix, or one holding non-finite numbers); the factor is
// then incomplete. Counts outside 1..105 and 1..10 also give 1.
int FactorBand(BandMatrix& kb, int nEquations, int band);

// b = K^-1 b with the factor left in KB by a successful FactorBand.
void SolveBand(const BandMatrix& kb, std::span<double> b, int nEquations, int band);

}  // namespace tarvelo
