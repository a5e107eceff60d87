// The column as ten beam-column elements with five degrees of freedom per node (axial, y, y',
// x, x'), its linear stiffness factorised once, and the load-step analysis to failure.
#pragma once

#include <array>
#include <string_view>

#include "engine/band_solver.h"
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

// Where and why a section failed: the strain limit exceeded (or a diverged iteration, which has
// no section), the element (1 at the base) and its Gauss point (1 nearest the base), the height
// of that section above the base (cm) and the limit in per mille (magnitude).
struct FailureSite {
    SectionFailure cause = SectionFailure::None;
    int element = 0;
    int gaussPoint = 0;
    double height = 0.0;
    double limit = 0.0;
};

// Lateral displacements (mm) at the design loads, load step nSteps: of the top node and of the
// mid-height node, in x and in y. Taken when that step ends without a section failure.
struct DesignLoadDeflections {
    bool reached = false;
    double topX = 0.0;
    double topY = 0.0;
    double midX = 0.0;
    double midY = 0.0;
};

struct LoadStepResult {
    int reachedStep = 0;     // last load step started, 1..10*nSteps
    int sectionFailure = 0;  // 1 when a strain limit was exceeded in reachedStep
    int notConverged = 0;    // 1 when a load step ended without convergence
    FailureSite failure;     // the section that failed in reachedStep, when one did
    DesignLoadDeflections designLoad;
    // Work counts, for the benchmarks.
    long solutions = 0;
    long internalForceEvaluations = 0;
};

// The failure load located between the last load step carried and the failing one. Load
// factors are in times the design loads.
struct FailureLoadRefinement {
    bool refined = false;        // the last run ended in a section failure and was bracketed
    double carriedFactor = 0.0;  // highest load factor carried; without a failure, the last step's
    double failedFactor = 0.0;   // lowest load factor that failed (refined runs only)
    int trials = 0;              // partial load steps tried
    // Work counts, for the benchmarks.
    long solutions = 0;
    long internalForceEvaluations = 0;
};

// Stress resultants of the column's section for a plane strain field. The model integrates its
// own section exactly; a reference integration can be put in its place to check the analysis.
class SectionResponse {
  public:
    virtual ~SectionResponse() = default;
    virtual SectionResultants Resultants(const SectionStrain& strain, int& sectionFailure) = 0;
};

class ColumnModel {
  public:
    static constexpr int kElements = 10;
    static constexpr int kMaxElements = 20;
    static constexpr int kMaxDofs = 105;
    static constexpr int kBand = 10;
    static constexpr int kMaxRestraints = 40;
    static constexpr int kDofsPerNode = 5;
    static constexpr int kNodesPerElement = 2;
    static constexpr int kMaxUpdates = 20;  // room for BFGS update vectors (10 are used)

    using DofVector = std::array<double, kMaxDofs>;

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
    // number of steps (for tests and fuzzing only; the procedures pass 0). Without a successful
    // ApplySupportsAndFactor, or with nSteps < 1, no step is made (reachedStep 0).
    LoadStepResult RunLoadSteps(int nSteps, int geometricNonlinearity, LoadDeflectionCurve& curve,
                                ProgressSink* progress, int stepLimit = 0);

    // Bisection of the failure load after a run that ended in a section failure in step k:
    // each trial starts again from the displacements that ended step k - 1 and makes one load
    // step to a load factor between (k - 1)/nSteps and k/nSteps with the iteration of a load
    // step; a strain limit exceeded or a step ending without convergence counts as failure.
    // It stops once the bracket is narrower than kRefinementWidth (times the design loads).
    // Without a failure (all steps carried, or a capped run) nothing is refined and
    // carriedFactor is that of the last step. The run's result and curve, and U, F and Fint,
    // are left as the run left them.
    static constexpr double kRefinementWidth = 0.0005;
    FailureLoadRefinement RefineFailureLoad(int geometricNonlinearity);

    // Lower-level pieces, with 1-based node, element and DOF numbers.

    // The section shared by all elements (centroidal polygon with its closing vertex, bars), every
    // bar given barArea, and the material of the analysis. Counts beyond the array limits are cut.
    void SetSection(const SectionGeometry& section, double barArea, const MaterialParameters& m);
    // Overwrites F at the five DOFs of the node.
    void AddNodalLoads(int node, double c1, double c2, double c3, double c4, double c5);
    // Adds the consistent nodal loads of uniform loads (kN/cm) on one element of length Le.
    void AddDistributedLoads(int element, double pAxial, double px, double py, double Le);
    // Ke of one element, the exact integral of B^T D B with the rigidities of the section
    // properties last computed (sectionProperties()) and the bars, moduli Ec and Es.
    const ElementMatrix& BuildElementStiffness(int element, double Ec, double Es);
    // Internal forces of displacements U into Fint. Returns sectionFailure (1: a strain limit
    // was exceeded at some Gauss point, the first one met from the base, which failureSite()
    // then describes; Fint is then incomplete).
    int ComputeInternalForces(const DofVector& U, int geometricNonlinearity);

    // Replaces the model's own section integration (nullptr restores it). Not owned.
    void SetSectionResponse(SectionResponse* response) { response_ = response; }

    int elementCount() const { return ne_; }
    int equationCount() const { return kDofsPerNode * (ne_ + 1); }
    double elementLength(int element) const { return length_[element - 1]; }
    const SectionConstants& sectionProperties() const { return props_; }
    const ElementMatrix& elementMatrix() const { return ke_; }
    const BandMatrix& bandMatrix() const { return kb_; }
    // F: the load vector (zero at the restraints once they are applied; after a run, the loads
    // of the last step). P: the design loads (factor 1), as assembled before the supports.
    // U: the displacements of the last step. Fint: the internal forces last computed.
    const DofVector& F() const { return F_; }
    const DofVector& P() const { return P0_; }
    const DofVector& U() const { return U_; }
    const DofVector& Fint() const { return Fint_; }
    const FailureSite& failureSite() const { return failureSite_; }
    int restraintCount() const { return nRestraints_; }
    int restraintNode(int r) const { return restraintNode_[r - 1]; }
    int restraintDof(int r) const { return restraintDof_[r - 1]; }

  private:
    enum class StepEnd { Converged, NotConverged, SectionFailure };

    // One load step from the displacements in U_: the loads go to `factor` times the step load
    // (dP) and the iteration starts from the increment `fraction` times dF. The residual is
    // measured against normDF, the norm of a whole step's increment. Work and failure flags go
    // to `work`.
    StepEnd SolveLoadStep(double factor, double fraction, double normDF, int geometricNonlinearity,
                          LoadStepResult& work);

    // Internal forces of U_ and the residual R = P - Fint (0 at the restraints). Returns false
    // when a section fails or the iteration has produced non-finite numbers.
    bool EvaluateResidual(int geometricNonlinearity, LoadStepResult& result);

    // Keeps the cause and the place of a section failure at Gauss point gaussPoint (0-based)
    // of element (1-based), z along that element.
    void RecordFailure(int sectionFailure, int element, int gaussPoint, double z);

    int ne_ = kElements;
    std::array<double, kMaxElements> length_{};
    std::array<int, 2 * kMaxElements * 5> connectivity_{};  // 200 entries, two per element used

    SectionGeometry section_{};
    SectionConstants props_{};
    MaterialParameters material_{};
    SectionIntegrator integrator_{};
    SectionResponse* response_ = nullptr;
    GaussRule gauss_{};

    ElementMatrix ke_{};
    BandMatrix kb_{};
    bool assembled_ = false;   // Assemble done, supports not yet applied
    bool factorised_ = false;  // supports applied and the band factorised
    SupportCondition top_ = SupportCondition::Pinned;

    int nRestraints_ = 0;
    std::array<int, kMaxRestraints> restraintNode_{};
    std::array<int, kMaxRestraints> restraintDof_{};
    std::array<bool, kMaxDofs> restrained_{};

    DofVector F_{};      // load vector; zero at the restraints after ApplySupportsAndFactor
    DofVector Fsupp_{};  // F as the supports left it: the reference of the load increments
    DofVector P0_{};     // external design load, before the supports
    DofVector Fint_{};   // internal forces
    DofVector U_{};      // total displacements
    // The last section failure ComputeInternalForces met.
    FailureSite failureSite_{};

    // Working vectors of the load steps.
    DofVector dF_{}, dP_{}, Pk_{}, Ustart_{}, R_{}, Rprev_{}, b_{};
    // The last run, as the refinement of its failure load needs it: its step count, the step
    // reached, whether a section failed there, and the displacements that ended the step
    // before it.
    int runSteps_ = 0;
    int runReached_ = 0;
    bool runFailed_ = false;
    DofVector Ucarried_{};
    std::array<DofVector, kMaxUpdates> V_{}, W_{};
};

}  // namespace tarvelo
