#include "engine/band_solver.h"

#include <algorithm>
#include <cmath>

namespace tarvelo {

namespace {

bool ValidSize(int nEquations, int band) {
    return nEquations >= 1 && nEquations <= kBandMaxEquations && band >= 1 && band <= kBandMaxWidth;
}

// A pivot must be a positive finite number; NaN and infinity fail like zero does.
bool BadPivot(double s) {
    return !(s > 0.0) || !std::isfinite(s);
}

}  // namespace

void AssembleElement(BandMatrix& kb, const ElementMatrix& ke, std::span<const int> connectivity,
                     int dofsPerNode, int element, int nodesPerElement) {
    const int nDofs = dofsPerNode * nodesPerElement;
    if (dofsPerNode < 1 || nodesPerElement < 1 || nDofs > kElementDofs || element < 1) return;
    const std::size_t first = static_cast<std::size_t>(element - 1) * nodesPerElement;
    if (first + nodesPerElement > connectivity.size()) return;
    for (int a = 1; a <= nDofs; ++a) {
        const int nodeA = connectivity[first + (a - 1) / dofsPerNode];
        const int ga = (nodeA - 1) * dofsPerNode + (a - 1) % dofsPerNode + 1;
        for (int b = 1; b <= nDofs; ++b) {
            const int nodeB = connectivity[first + (b - 1) / dofsPerNode];
            const int gb = (nodeB - 1) * dofsPerNode + (b - 1) % dofsPerNode + 1;
            if (ga > gb) continue;  // lower triangle: the matrix is symmetric
            const int c = gb - ga + 1;
            if (ga < 1 || gb > kBandMaxEquations || c > kBandMaxWidth) continue;
            kb(ga, c) += ke(a, b);
        }
    }
}

void ApplySupports(BandMatrix& kb, std::span<double> F, std::span<const int> restraintNodes,
                   std::span<const int> restraintDofs, int dofsPerNode, int nEquations,
                   int restraintCount, int band) {
    if (!ValidSize(nEquations, band)) return;
    const int count = std::min<int>({restraintCount, static_cast<int>(restraintNodes.size()),
                                     static_cast<int>(restraintDofs.size())});
    const auto equation = [&](int r) {
        return (restraintNodes[r] - 1) * dofsPerNode + restraintDofs[r];
    };
    for (int r = 0; r < count; ++r) {
        const int k = equation(r);
        if (k < 1 || k > nEquations) continue;
        for (int i = std::max(1, k - band + 1); i <= k; ++i)
            kb(i, k - i + 1) = 0.0;
        for (int j = k + 1; j <= std::min(k + band - 1, nEquations); ++j)
            kb(k, j - k + 1) = 0.0;
        kb(k, 1) = 1.0;
    }
    for (int r = 0; r < count; ++r) {
        const int k = equation(r);
        if (k < 1 || k > nEquations || k > static_cast<int>(F.size())) continue;
        F[k - 1] = 0.0;
    }
}

int FactorBand(BandMatrix& kb, int nEquations, int band) {
    if (!ValidSize(nEquations, band)) return 1;
    const int n = nEquations;
    if (BadPivot(kb(1, 1))) return 1;
    kb(1, 1) = std::sqrt(kb(1, 1));
    for (int c = 2; c <= band; ++c)
        kb(1, c) = kb(1, c) / kb(1, 1);
    if (n == 1) return 0;

    for (int i = 2; i <= n - 1; ++i) {
        double sum = 0.0;
        for (int k = std::max(1, i - band + 1); k <= i - 1; ++k) {
            sum += kb(k, i - k + 1) * kb(k, i - k + 1);
        }
        const double pivot = kb(i, 1) - sum;
        if (BadPivot(pivot)) return 1;
        kb(i, 1) = std::sqrt(pivot);
        for (int j = i + 1; j <= std::min(i + band - 1, n); ++j) {
            double dot = 0.0;
            for (int k = std::max(1, j - band + 1); k <= i - 1; ++k) {
                dot += kb(k, i - k + 1) * kb(k, j - k + 1);
            }
            kb(i, j - i + 1) = (kb(i, j - i + 1) - dot) / kb(i, 1);
        }
    }

    double sum = 0.0;
    for (int k = std::max(1, n - band + 1); k <= n - 1; ++k) {
        sum += kb(k, n - k + 1) * kb(k, n - k + 1);
    }
    const double pivot = kb(n, 1) - sum;
    if (BadPivot(pivot)) return 1;
    kb(n, 1) = std::sqrt(pivot);
    return 0;
}

void SolveBand(const BandMatrix& kb, std::span<double> b, int nEquations, int band) {
    if (!ValidSize(nEquations, band) || static_cast<int>(b.size()) < nEquations) return;
    const int n = nEquations;
    // Forward: U^T y = b.
    b[0] = b[0] / kb(1, 1);
    for (int i = 2; i <= n; ++i) {
        double sum = 0.0;
        for (int k = std::max(1, i - band + 1); k <= i - 1; ++k)
            sum += kb(k, i - k + 1) * b[k - 1];
        b[i - 1] = (b[i - 1] - sum) / kb(i, 1);
    }
    // Backward: U x = y.
    b[n - 1] = b[n - 1] / kb(n, 1);
    for (int i = n - 1; i >= 1; --i) {
        double sum = 0.0;
        for (int j = i + 1; j <= std::min(i + band - 1, n); ++j)
            sum += kb(i, j - i + 1) * b[j - 1];
        b[i - 1] = (b[i - 1] - sum) / kb(i, 1);
    }
}

}  // namespace tarvelo
