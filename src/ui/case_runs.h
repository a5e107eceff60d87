// Runs of a column with several load cases in the desktop program: the run itself, the boxes
// for the cases a message ended, and the window "Resultados por combinação".
#pragma once

#include <memory>

#include <QTreeWidget>

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

// VERIFICAR or DIMENSIONAR of every case through `host`; afterwards one box lists the cases
// that a message ended, and the results window opens. Returns the governing case's result (the
// one the fields show), or what the column's checks left when no case completed.
// `reportCases` receives the cases as the report lists them.
std::unique_ptr<AnalysisResult> RunCasesInWindow(bool design, const ColumnData& data,
                                                 ProcedureHost& host, QWidget* owner,
                                                 std::vector<report::ReportCase>& reportCases);

// The cases for the report of `data`: none for a column of one case; otherwise the column's
// cases with the results of the last run when it ran these same cases, without results if not.
std::vector<report::ReportCase> ReportCasesOf(const ColumnData& data,
                                              const std::vector<report::ReportCase>& lastRun);

}  // namespace tarvelo::ui
