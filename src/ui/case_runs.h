// Runs of a column with several load cases in the desktop program: the run itself, the boxes
// for the cases a message ended, and the window "Resultados por combinação".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QTreeWidget>

#include "chart_window.h"

#include "procedures/load_cases.h"
#include "report/report_cases.h"

namespace tarvelo::ui {

// Lists each case of a run: name, S (or the steel areas), the load step reached, "não
// convergiu", and the message that ended it. The governing row is marked; the minimum-moment
// cases sit folded under their case.
class CaseResultsWindow : public QTreeWidget {
    Q_OBJECT
  public:
    explicit CaseResultsWindow(QWidget* parent = nullptr);
    void Show(RunKind kind, const CasesRun& run);
};

// What a run of several cases leaves the main window.
struct CasesOutcome {
    // The governing case's result (the one the fields show), or what the column's checks left
    // when no case completed.
    std::unique_ptr<AnalysisResult> result;
    std::string governingLabel;     // "Combinação crítica: 3 — Vento +x"; empty without one
    std::vector<CaseCurve> curves;  // verification: every completed case's curve, in case order
    int governingCurve = -1;        // the governing case's index into curves
};

// VERIFICAR or DIMENSIONAR of every case through `host`; afterwards one box lists the cases
// that a message ended, and the results window opens. `reportCases` receives the cases as the
// report lists them.
CasesOutcome RunCasesInWindow(bool design, const ColumnData& data, ProcedureHost& host,
                              QWidget* owner, std::vector<report::ReportCase>& reportCases);

// The cases for the report of `data`: none for a column of one case; otherwise the column's
// cases with the results of the last run when it ran these same cases, without results if not.
std::vector<report::ReportCase> ReportCasesOf(const ColumnData& data,
                                              const std::vector<report::ReportCase>& lastRun);

}  // namespace tarvelo::ui
