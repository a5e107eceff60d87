#include "case_runs.h"

#include <algorithm>

#include <QHeaderView>
#include <QPointer>

#include "message_presenter.h"
#include "ui_common.h"

namespace tarvelo::ui {
namespace {

enum Column { kName, kResult, kMinimum, kStep, kConvergence, kMessage, kColumns };

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CaseResultsWindow::CaseResultsWindow(QWidget* parent) : QTreeWidget(parent) {
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("caseResultsWindow"));
    setWindowTitle(QStringLiteral(" Resultados por combinação"));
    setColumnCount(kColumns);
    setRootIsDecorated(true);
    setAlternatingRowColors(true);
    header()->setStretchLastSection(true);
    resize(640, 240);
}

void CaseResultsWindow::Show(RunKind kind, const CasesRun& run) {
    const bool verify = kind == RunKind::Verify;
    clear();
    setHeaderLabels({QStringLiteral("Combinação"),
                     verify ? QStringLiteral("S") : QStringLiteral("Armadura calculada (cm2)"),
                     verify ? QString() : QStringLiteral("Armadura mínima (cm2)"),
                     QStringLiteral("Etapa"), QString(), QStringLiteral("Mensagem")});
    setColumnHidden(kMinimum, verify);
    setColumnHidden(kStep, !verify);
    setColumnHidden(kConvergence, !verify);
    QTreeWidgetItem* parentRow = nullptr;
    for (std::size_t i = 0; i < run.cases.size(); ++i) {
        const CaseRun& c = run.cases[i];
        const AnalysisResult& r = *c.result;
        auto* row =
            c.generated && parentRow ? new QTreeWidgetItem(parentRow) : new QTreeWidgetItem(this);
        if (!c.generated) parentRow = row;
        row->setText(kName, Q(std::to_string(c.position) + " — " + c.name));
        if (r.completed) {
            row->setText(kResult, Q(verify ? r.safetyText : r.requiredText));
            row->setText(kMinimum, Q(r.minimumText));
            row->setText(kStep, QString::number(r.reachedStep));
            if (r.notConverged != 0) row->setText(kConvergence, QStringLiteral("não convergiu"));
        }
        if (!c.host.boxes.empty()) row->setText(kMessage, Q(c.host.boxes.back().text));
        if (static_cast<int>(i) == run.governing) {
            row->setText(kName, row->text(kName) + QStringLiteral("  ◀ crítica"));
            QFont bold = row->font(kName);
            bold.setBold(true);
            for (int column = 0; column < kColumns; ++column)
                row->setFont(column, bold);
            // A governing minimum-moment case is shown, not folded away.
            if (QTreeWidgetItem* up = row->parent()) up->setExpanded(true);
        }
    }
    for (int column = 0; column < kColumns - 1; ++column)
        resizeColumnToContents(column);
    if (!isVisible()) CentreOnFirstShow(this);
    show();
    raise();
}

std::vector<report::ReportCase> ReportCasesOf(const ColumnData& data,
                                              const std::vector<report::ReportCase>& lastRun) {
    if (!RunsByCase(data)) return {};
    const std::vector<LoadCase> cases = Cases(data);
    std::vector<report::ReportCase> listed;
    for (const report::ReportCase& c : lastRun) {
        if (!c.generated) listed.push_back(c);
    }
    const bool sameCases =
        listed.size() == cases.size() &&
        std::equal(cases.begin(), cases.end(), listed.begin(),
                   [](const LoadCase& a, const report::ReportCase& b) { return a == b.loads; });
    if (sameCases) return lastRun;
    listed.clear();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        report::ReportCase c;
        c.label = "Combinação " + std::to_string(i + 1) + " — " + cases[i].name;
        c.loads = cases[i];
        c.result = "não calculada";
        listed.push_back(std::move(c));
    }
    return listed;
}

CasesOutcome RunCasesInWindow(bool design, const ColumnData& data, ProcedureHost& host,
                              QWidget* owner, std::vector<report::ReportCase>& reportCases) {
    const RunKind kind = design ? RunKind::Design : RunKind::Verify;
    CasesRun run = RunCases(kind, data, host);
    CasesOutcome outcome;
    reportCases.clear();
    if (run.columnEnded) {
        outcome.result = std::move(run.columnResult);
        return outcome;
    }
    reportCases = report::ReportCases(kind, run, Cases(data));

    QString ended;
    for (const CaseRun& c : run.cases) {
        if (const std::string message = c.EndingMessage(); !message.empty()) {
            ended += Q(message) + QStringLiteral("\n");
        }
    }
    if (!ended.isEmpty()) {
        Presenter().Warning(
            owner, QStringLiteral("TARVELO"),
            QStringLiteral("O cálculo destas combinações foi interrompido:\n") + ended.trimmed());
    }
    static QPointer<CaseResultsWindow> window;
    if (!window) window = new CaseResultsWindow(owner);
    window->Show(kind, run);
    if (run.governing < 0) {
        outcome.result = std::move(run.columnResult);
        return outcome;
    }
    for (std::size_t i = 0; i < run.cases.size() && !design; ++i) {
        const CaseRun& c = run.cases[i];
        if (!c.result->completed) continue;
        if (static_cast<int>(i) == run.governing) {
            outcome.governingCurve = static_cast<int>(outcome.curves.size());
        }
        outcome.curves.push_back({Q(std::to_string(c.position) + " — " + c.name), c.result->curve,
                                  c.result->reachedStep});
    }
    outcome.governingLabel = run.GoverningLabel();
    outcome.result = std::move(run.cases[static_cast<std::size_t>(run.governing)].result);
    return outcome;
}

}  // namespace tarvelo::ui
