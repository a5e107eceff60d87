// The load cases in the report of a column with several: the loads of each case in place of the
// single set of loads, and after the results one line per case with its result, the governing
// case marked.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/column_data.h"
#include "model/load_case.h"

namespace tarvelo {
struct AnalysisResult;
struct CasesRun;
class ProcedureHost;
enum class RunKind;
}  // namespace tarvelo

namespace tarvelo::report {

struct ReportLine;

struct ReportCase {
    std::string label;  // "Combinação 2 — Vento +x", "Combinação 2, Mín. 45° — Vento +x"
    LoadCase loads;
    bool generated = false;  // a minimum-moment case: its loads follow from its case's
    std::string result;      // "S= 1.04", "As= 14.32 cm2  As,min= 4 cm2", or the ending message
    bool governing = false;
};

// The cases of a run, in its order; `loads` are the column's cases (procedures' Cases).
std::vector<ReportCase> ReportCases(RunKind kind, const CasesRun& run,
                                    const std::vector<LoadCase>& loads);

// A run as the report follows it: VERIFICAR or DIMENSIONAR of the column through `host` (every
// case when it has several), the result whose fields and curve the report takes (the governing
// case's, completed only when every case completed) and each case's line.
struct ReportedRun {
    std::unique_ptr<AnalysisResult> result;
    std::vector<ReportCase> cases;  // empty for a column of one case
};
ReportedRun RunForReport(RunKind kind, const ColumnData& data, ProcedureHost& host);

// Replaces the body's lines of the one set of loads ("Força normal de cálculo" to "Cargas
// distribuídas") by the loads of every case, and appends the results by case. Nothing when
// `cases` is empty.
void AddLoadCases(const std::vector<ReportCase>& cases, std::vector<ReportLine>& body);

}  // namespace tarvelo::report
