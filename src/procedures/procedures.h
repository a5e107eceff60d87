// VERIFICAR and DIMENSIONAR, and the checks that the windows share with them. Each run reads the
// column texts into numbers once at its start, checks them in their fixed order and talks to its
// caller only through the ProcedureHost.
#pragma once

#include <memory>
#include <string>

#include "engine/column_model.h"
#include "model/column_data.h"
#include "model/section_geometry.h"
#include "procedures/procedure_host.h"

namespace tarvelo {

struct AnalysisResult {
    bool completed = false;         // false when a message ended the run
    RuleId endedBy = RuleId::None;  // the input rule that ended the run, if any

    // Verification.
    int reachedStep = 0;
    int notConverged = 0;
    double safetyCoefficient = 0.0;
    std::string safetyText;  // as written into the S field, e.g. "1.34"
    // The failure load refined within the failing step (the load factor carried; 10 when all
    // 500 steps passed) and its text "1.003", empty when there was nothing to refine.
    double refinedSafety = 0.0;
    std::string refinedSafetyText;

    // Design.
    double requiredSteelArea = 0.0;
    double minimumSteelArea = 0.0;
    std::string requiredText;  // as written into "Armadura calculada (cm2)="
    std::string minimumText;   // as written into "Armadura mínima (cm2)="
    int trials = 0;            // analyses that actually ran
    // The smallest area whose refined S is at least 1.000 and its text "15.85", empty when there
    // is none (the design ended with a message, or needs no steel even when refined).
    double refinedRequiredSteelArea = 0.0;
    std::string refinedRequiredText;
    int refinementTrials = 0;  // verifications the refined area took

    // Section constants kept for the report (area, inertias, slenderness).
    bool hasSectionConstants = false;
    SectionConstants sectionConstants;

    // Load-deflection rows (rows[0] = (0, 0)); valid rows are 1..reachedStep (and 501 when all
    // 500 steps passed).
    LoadDeflectionCurve curve;

    // How the verification's analysis ended, for the report's conclusion: the section failure of
    // step reachedStep (cause None when no section failed), and the deflections at the design
    // loads when the analysis carried them.
    FailureSite failure;
    DesignLoadDeflections designLoad;
};

// Tuning for tests and fuzzing only: a cap on the load steps of every analysis (0 = none).
struct ProcedureOptions {
    int stepLimit = 0;
    bool refine = true;  // off: the specified results alone, as before the refined ones existed
};

std::unique_ptr<AnalysisResult> Verify(const ColumnData& data, ProcedureHost& host,
                                       const ProcedureOptions& options = {});
std::unique_ptr<AnalysisResult> Design(const ColumnData& data, ProcedureHost& host,
                                       const ProcedureOptions& options = {});

// "Ver seção": bar-count checks, section generation with its checks, centring and the
// coincident-bar check, with their messages. True when the section can be drawn.
bool BuildSectionForDrawing(const ColumnData& data, ProcedureHost& host, SectionGeometry& out);

// The loads window's OK: height, axial force and the hypostatic combination, in that order,
// with their messages. True when accepted.
bool CheckLoadsWindow(const ColumnData& data, ProcedureHost& host);

// "Dados da seção": the count checks done before the section window opens. True when the
// window may open; vertexCount/barCount receive the counts to size the grids with.
bool CheckSectionWindowCounts(const ColumnData& data, ProcedureHost& host, int& vertexCount,
                              int& barCount);

// S = k/50 as an exact decimal without trailing zeros: 67 -> "1.34", 75 -> "1.5", 50 -> "1".
std::string FormatSafetyCoefficient(int reachedStep);

// Two-decimal display rounding: 100*value rounded half to even below 32766 in magnitude, cut
// down otherwise; written with "." and without trailing zeros (10.125 -> "10.12").
double RoundForDisplay(double value);
std::string FormatDisplayValue(double value);

}  // namespace tarvelo
