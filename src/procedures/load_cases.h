// The load cases of a column and their runs. A column holds its first case in the nine load
// texts of ColumnData (so every single-case path sees the column it always saw) and cases
// 2..n in otherCases; a run of several cases checks the column once, through the caller's host,
// then runs every case as an independent VERIFICAR or DIMENSIONAR on its own model, in parallel,
// and names the governing one.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/column_data.h"
#include "model/load_case.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "procedures/run_json.h"

namespace tarvelo {

// Every case of the column, the first one first.
std::vector<LoadCase> Cases(const ColumnData& data);

// Replaces the column's cases; `cases` must hold at least one.
void SetCases(ColumnData& data, std::vector<LoadCase> cases);

// The loads window's OK for every case. One case: exactly CheckLoadsWindow. Several: each case
// through the same checks, its message named ("Combinação 3: Forneça a força normal …"), and a
// case without a name or with the name of an earlier case refused. Returns the index of the
// refused case, or -1 when every case passes.
int CheckLoadsWindowCases(const ColumnData& data, ProcedureHost& host);

// The one-case column that runs `loadCase`: the column with the case's nine loads.
ColumnData ColumnForCase(const ColumnData& data, const LoadCase& loadCase);

// True when a run must go case by case: more than one case, or the minimum moments on.
bool RunsByCase(const ColumnData& data);

// The code's minimum first-order moment, M1d,min = Fd (1.5 + 0.03 h) in kNcm, with Fd in kN
// and h in cm the section's extent in the plane of the moment.
double MinimumFirstOrderMoment(double Fd, double h);

// The eight cases of the minimum-moment envelope of `loadCase`, at θ = 0°, 45°, …, 315°:
// the case's Fd, Mxd = M1d,min,x cos θ and Myd = M1d,min,y sin θ at top and base alike, no
// horizontal or distributed loads; hx and hy are the section's extents along x and y (cm).
std::vector<LoadCase> MinimumMomentCases(const LoadCase& loadCase, double hx, double hy);

// The section's extents along x and y (cm) as the minimum moments take them: those of the
// generated outline, except that a circular section takes its diameter both ways (its outline
// has vertices at 0° and 180° but none at 90°). False when the section cannot be built.
bool MinimumMomentExtents(const ColumnData& data, double& hx, double& hy);

// One case of a run.
struct CaseRun {
    std::string name;
    int position = 0;        // 1-based position of the user's case (of the parent, if generated)
    bool generated = false;  // a minimum-moment case of the case at `position`
    RecordingHost host;      // the case's own messages and result fields
    std::unique_ptr<AnalysisResult> result;

    // "Combinação 3" or "Combinação 3, Mín. 45°": how messages name the case.
    std::string Label() const;
    // The message that ended the case, named ("Combinação 3: A matriz …"); empty if completed.
    std::string EndingMessage() const;
};

struct CasesRun {
    // A rule of the column (materials, section, bars, height, supports) ended the whole run;
    // columnResult then holds what that run left.
    bool columnEnded = false;
    std::unique_ptr<AnalysisResult> columnResult;
    std::vector<CaseRun> cases;  // in case order, each user case followed by its generated ones
    int governing = -1;          // index into cases; -1 when no case completed
    int largestMinimum = -1;     // design: the case with the largest minimum steel
    bool AllCompleted() const;
    // "Combinação crítica: 3 — Vento +x".
    std::string GoverningLabel() const;
};

struct CaseRunOptions {
    int threads = 0;  // 0: one per core
    ProcedureOptions procedure;
};

// VERIFICAR or DIMENSIONAR of every case. The column's own checks run first through `host`, with
// its boxes and answers; each case then runs with a recording host of its own that does not
// repeat them. While they run, `host` receives every few milliseconds the progress of the
// running cases (ReplaceProgress: each one's "Combinação k de n" above its last progress line);
// then the results of the governing case in its fields, and the enabled states of a completed
// run.
CasesRun RunCases(RunKind kind, const ColumnData& data, ProcedureHost& host,
                  const CaseRunOptions& options = {});

// The governing case: verification, the smallest S; design, the largest calculated area; ties
// go to the earlier case. -1 when no case completed.
int GoverningCase(RunKind kind, const std::vector<CaseRun>& cases);

// The completed case with the largest minimum steel area (it grows with Fd); ties go to the
// earlier case. -1 when no case completed.
int LargestMinimumCase(const std::vector<CaseRun>& cases);

}  // namespace tarvelo
