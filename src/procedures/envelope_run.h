// The resistance envelope of a column and its load cases' design points: the column is prepared
// and analysed as a verification (or a design) does it, with the same rules and messages, and its
// section's short-term resistance (creep coefficient 0) is set against the forces of each case.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/envelope.h"
#include "procedures/procedures.h"

namespace tarvelo {

// A load case as the envelope takes it: its name and the one-case column with that case's loads.
struct EnvelopeCaseInput {
    std::string name;
    ColumnData column;
};

// The cases of a column: one case is "Combinação 1"; several are "Combinação 3 — Vento +x", each
// with the column of its loads alone.
std::vector<EnvelopeCaseInput> CasesOf(const ColumnData& data);

// One case's design points, N in kN (compression positive), moments in kNcm on the axes of the
// loads window (see engine/envelope.h).
struct EnvelopeCaseResult {
    std::string name;
    double Nd = 0.0;          // Fd
    SectionForces topMoment;  // first-order end moments, at Nd
    SectionForces baseMoment;
    // The column carried the design loads (load step 50); otherwise it failed before them and
    // there is no design point ("ruptura antes da carga de cálculo"). A design's steel makes
    // step 50 the failing step: its points are those of the last step carried, at loadFactor.
    bool designLoadReached = false;
    double loadFactor = 1.0;
    // The Gauss point whose utilisation is greatest at the design loads, its forces (the total
    // moment of the critical section), the resisting moment along that moment and the
    // utilisation |Md| / M_Rd; no utilisation when the ray of Md misses the contour.
    GaussPointForces critical;
    SectionForces criticalForces;
    std::optional<double> resistingMoment;
    std::optional<double> utilisation;
    MinimumEnvelopeCheck minimum;  // the minimum-moment ellipse against the contour at Nd
};

struct EnvelopeRun {
    bool completed = false;                    // false when a message ended the run of a case
    std::unique_ptr<AnalysisResult> analysis;  // of the case that ended the run, or the last one
    std::unique_ptr<ResistanceEnvelope> envelope;
    SectionExtents extents;  // hx, hy in cm
    std::vector<EnvelopeCaseResult> cases;
    int governing = 0;  // the case with the greatest utilisation (a failure before Nd first)
};

enum class EnvelopeSource { Verification, Design };

// Each case is run (VERIFICAR, or DIMENSIONAR for the designed steel; with several cases, the
// steel of the case that needs the most) through `host`; the first message that ends a run ends
// the whole. threads 0: one per core.
std::unique_ptr<EnvelopeRun> RunEnvelope(const std::vector<EnvelopeCaseInput>& cases,
                                         EnvelopeSource source, ProcedureHost& host,
                                         int threads = 0);

// The axial force of the contour when none is given: Fd of the governing case.
double EnvelopeAxialForce(const EnvelopeRun& run);

// The moments (Mx, My) of a contour ray, kNcm: zero exactly across the axes, and the same last
// digits on every platform.
SectionForces ContourPoint(const ContourRay& ray, double N);

// The text of a case whose column failed before the design loads.
inline constexpr const char* kFailsBeforeDesignLoad = "ruptura antes da carga de cálculo";

}  // namespace tarvelo
