// The column as ten beam-column elements with five degrees of freedom per node (axial, y, y',
// x, x'), its linear stiffness factorised once, and the load-step analysis to failure.
#pragma once

#include <array>
#include <string_view>

#include "engine/material.h"
#include "engine/section_integration.h"
#include "model/column_data.h"
#include "model/section_geometry.h"

namespace tarvelo {

// Design loads as the loads window gives them (kN, kNcm, kN/cm); Fd positive in compression.
struct ColumnLoads {
    double Fd = 0.0;
    double Hxd_t = 0.0;
    double Hyd_t = 0.0;
    double Mxd_t = 0.0;
    double Myd_t = 0.0;
    double Mxd_b = 0.0;
    double Myd_b = 0.0;
    double pxd = 0.0;
    double pyd = 0.0;
};

// Rows of (deflection in mm, axial load in kN); rows[0] is (0, 0), rows[k] is written after
// load step k.
struct LoadDeflectionCurve {
    static constexpr int kRows = 1000;
    std::array<std::array<double, 2>, kRows> rows{};
    void Clear() { rows.fill({0.0, 0.0}); }
};

// Receives the progress lines ("  Etapa de carga =  k") while the load steps run.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void ProgressLine(std::string_view line) = 0;
};

struct LoadStepResult {
    int reachedStep = 0;     // last load step started, 1..10*nSteps
    int sectionFailure = 0;  // 1 when a strain limit was exceeded in reachedStep
    int notConverged = 0;    // 1 when a load step ended without convergence
    // Work counts, for the benchmarks.
    long solutions = 0;
    long internalForceEvaluations = 0;
};

class ColumnModel {
public:
    static constexpr int kElements = 10;
    static constexpr int kMaxElements = 20;
    static constexpr int kMaxDofs = 105;
    static constexpr int kBand = 10;
    static constexpr int kMaxRestraints = 40;

    // Model set-up in the order of the procedures: element lengths L/10, connectivity, the
    // section copy with every bar given barArea, F, Fint, the banded matrix and Ke cleared;
    // per element section properties, stiffness with m.initialModulus and m.Es, assembly; nodal
    // loads at base and top, distributed loads, P = F. Returns the section constants of the last
    // element (area, moments; slenderness left 0).
    SectionConstants Assemble(const SectionGeometry& section, double barArea, double L,
                              const MaterialParameters& m, const ColumnLoads& loads);

    // Restraint list by the supports (base first), ApplySupports and FactorBand.
    // Returns the factorisation flag: 0 on success, 1 for a singular matrix.
    int ApplySupportsAndFactor(SupportCondition base, SupportCondition top);

    // Load steps k = 1..10*nSteps of k/nSteps of the design loads until a section fails.
    // The curve follows the top node for a free top, node 6 otherwise. stepLimit > 0 caps the
    // number of steps (for tests and fuzzing only; the procedures pass 0).
    LoadStepResult RunLoadSteps(int nSteps, int geometricNonlinearity, LoadDeflectionCurve& curve,
                                ProgressSink* progress, int stepLimit = 0);

    // Lower-level pieces (to be completed by the engine): AddNodalLoads, AddDistributedLoads,
    // BuildElementStiffness, ComputeInternalForces, the vectors F, P, U, Fint.
};

}  // namespace tarvelo
