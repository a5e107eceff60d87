// Runs of a column with several load cases in the desktop program: the run itself, the boxes
// for the cases a message ended, and the window "Resultados por combinação".
#pragma once

#include <memory>

#include <QTreeWidget>

#include "procedures/load_cases.h"

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
std::unique_ptr<AnalysisResult> RunCasesInWindow(bool design, const ColumnData& data,
                                                 ProcedureHost& host, QWidget* owner);

}  // namespace tarvelo::ui
