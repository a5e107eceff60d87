// The click-through journey: an example opened, verified, its curve and report shown, designed;
// and the load cases on the desktop: the loads window keeps every case, its OK names the refused
// case, a spreadsheet's rows paste into the table, and VERIFICAR names the governing case.
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineSeries>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

#include "cases_table.h"
#include "chart_window.h"
#include "loads_window.h"
#include "procedures/load_cases.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "progress_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

using FullRun = testing::MainWindowTest;

// The windows show what the procedures report, and nothing else; a run stopped by an input check
// ends at its field and leaves no curve to offer.
TEST_F(FullRun, VerifyThenDesignAnOpenedExample) {
    OpenExample("retangular-esbelto-biaxial.json");
    const ColumnData data = testing::ReadExample("retangular-esbelto-biaxial.json");
    Click("verifyButton");
    RecordingHost reference;
    const auto verified = Verify(data, reference);
    ASSERT_TRUE(verified->completed);
    EXPECT_EQ(Text("safetyField"), QString::fromStdString(verified->safetyText));
    EXPECT_EQ(Text("requiredSteelField"), "");
    EXPECT_EQ(window->Runs().reachedStep, verified->reachedStep);
    EXPECT_EQ(window->focusWidget(), window->findChild<QPushButton*>("loadCurveButton"));
    EXPECT_EQ(presenter.Texts().size(), static_cast<qsizetype>(reference.boxes.size()));

    // The curve of this verification, and the toolbar's curve button with it.
    EXPECT_FALSE(window->Actions().curve->isEnabled());
    Click("loadCurveButton");
    EXPECT_TRUE(window->Chart()->isVisible());
    EXPECT_TRUE(window->Actions().curve->isEnabled());

    // The report keeps the main window disabled until it closes.
    Trigger(window->Actions().print);
    ASSERT_NE(window->Report(), nullptr);
    EXPECT_FALSE(window->isEnabled());
    testing::Click(window->Report(), "cancelButton");
    EXPECT_TRUE(window->isEnabled());

    presenter.boxes.clear();
    Field("fckField")->setText("95");
    Click("verifyButton");
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(window->focusWidget(), Field("fckField"));
    EXPECT_FALSE(Enabled("loadCurveButton"));
    // A question answered Yes ends the run too, and leaves the steel area as it was.
    Field("fckField")->setText("15");
    presenter.answers = {true};
    Click("designButton");
    EXPECT_EQ(presenter.boxes.back().kind, testing::RecordedBox::Question);
    EXPECT_EQ(Text("steelAreaField"), QString::fromStdString(data.totalSteelArea));
    Field("fckField")->setText(QString::fromStdString(data.fck));

    Click("designButton");
    RecordingHost designHost;
    const auto designed = Design(data, designHost);
    ASSERT_TRUE(designed->completed);
    EXPECT_EQ(Text("requiredSteelField"), QString::fromStdString(designed->requiredText));
    EXPECT_EQ(Text("minimumSteelField"), QString::fromStdString(designed->minimumText));
    EXPECT_EQ(Text("safetyField"), " ");
    // A design leaves no curve, for the button nor for the report.
    EXPECT_FALSE(Enabled("loadCurveButton"));
    EXPECT_FALSE(window->Snapshot().runs.hasCurve);
}

// While a longer design runs the main window takes no input and cannot be closed; the progress
// window appears only once the run has lasted kShowDelayMs, so a short run never flashes it.
TEST_F(FullRun, TheProgressWindowPaintsWhileTheMainWindowWaits) {
    ASSERT_TRUE(window->OpenColumnFile(testing::ExamplePath("circular-macico.json")));
    int checks = 0;
    bool seen = false;
    QElapsedTimer clock;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        ++checks;
        EXPECT_TRUE(window->IsRunning());
        EXPECT_FALSE(window->isEnabled());
        EXPECT_FALSE(window->close());
        EXPECT_FALSE(window->Progress()->close());
        if (!window->Progress()->isVisible()) return;
        EXPECT_GE(clock.elapsed(), ProgressWindow::kShowDelayMs);
        seen = true;
    });
    poll.start();
    clock.start();
    Click("designButton");
    poll.stop();
    EXPECT_GT(checks, 0);
    EXPECT_TRUE(seen || clock.elapsed() <=
                            ProgressWindow::kShowDelayMs + 3 * ProgressWindow::kRepaintIntervalMs);
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(window->Progress()->isVisible());
}

class LoadCasesWindow : public testing::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        OpenExample("combinacoes-retangular.json");
    }
    const std::vector<LoadCase> fileCases =
        Cases(testing::ReadExample("combinacoes-retangular.json"));
};

// The selector shows each case in the fields and keeps what was typed; Duplicar copies it, Nova
// and Excluir keep at least one case, named anew; OK names the case it refuses.
TEST_F(LoadCasesWindow, CaseSelectorKeepsEveryCaseAndOkNamesTheRefusedOne) {
    Click("loadsButton");
    LoadsWindow* loads = window->Loads();
    QComboBox* selector = loads->CaseSelector();
    ASSERT_EQ(selector->count(), 5);
    for (int i : {2, 4, 0}) {
        selector->setCurrentIndex(i);
        EXPECT_EQ(loads->Field(FieldId::Fd)->text().toStdString(), fileCases[i].Fd);
    }
    const auto collected = [loads] {
        ColumnData data;
        loads->Collect(data);
        return Cases(data);
    };
    EXPECT_EQ(collected(), fileCases);

    selector->setCurrentIndex(1);
    loads->Field(FieldId::Fd)->setText("777");
    testing::Click(loads, "duplicateCaseButton");
    std::vector<LoadCase> cases = collected();
    ASSERT_EQ(cases.size(), 6u);
    EXPECT_EQ(cases[1].Fd, "777");
    EXPECT_EQ(cases[5], (LoadCase{"6", cases[1]}));
    testing::Click(loads, "deleteCaseButton");
    EXPECT_EQ(selector->count(), 5);

    selector->setCurrentIndex(2);
    loads->Field(FieldId::Fd)->clear();
    selector->setCurrentIndex(0);
    testing::Click(loads, "okButton");
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(LastBox(), "Combinação 3: Forneça a força normal no topo do pilar.");
    EXPECT_EQ(selector->currentIndex(), 2);
    EXPECT_TRUE(loads->isVisible());

    // A spreadsheet replaces the cases.
    files.openName = testing::ExamplePath("combinacoes-retangular.csv");
    testing::Click(loads, "importCasesButton");
    EXPECT_EQ(collected(), fileCases);
    for (int i = 0; i < 5; ++i)
        testing::Click(loads, "deleteCaseButton");
    EXPECT_EQ(selector->count(), 1);
    testing::Click(loads, "newCaseButton");
    EXPECT_EQ(selector->currentText(), "2");
}

// Rows pasted from a spreadsheet: a decimal comma is a point, new rows are added, and a bad cell
// refuses the whole paste.
TEST_F(LoadCasesWindow, TablePastesSpreadsheetRows) {
    CasesTableWindow table;
    table.SetCases(fileCases);
    table.Grid()->setCurrentCell(4, 0);
    table.Paste("Vento -y\t1010\t\t-3,1\t2100\nSísmica\t990,5\t\t\t-1200\n");
    const std::vector<LoadCase> cases = table.Cases();
    ASSERT_EQ(cases.size(), 6u);
    EXPECT_EQ(cases[4], fileCases[4]);
    EXPECT_EQ(cases[5], (LoadCase{"Sísmica", {"990.5", "", "", "-1200", "", "", "", "", ""}}));
    table.Paste("X\t12a\n");
    EXPECT_EQ(presenter.Texts(), QStringList{"Linha 1, coluna 2: valor inválido \"12a\"."});
    EXPECT_EQ(table.Cases(), cases);
    table.Grid()->setCurrentCell(5, 9);  // the last column; a cell beyond it is dropped
    table.Paste("0,5\t7\n");
    EXPECT_EQ(table.Cases()[5],
              (LoadCase{"Sísmica", {"990.5", "", "", "-1200", "", "", "", "", "0.5"}}));
}

// After a verification of several cases the results list them all, the case with the smallest
// S is marked and named beside S, and the chart starts with its curve; a design names the case
// of the largest area instead, and a column of one case shows none.
TEST_F(LoadCasesWindow, GoverningCaseNamedBesideItsValueAndCurve) {
    auto* underS = window->findChild<QLabel*>("governingSLabel");
    auto* underArea = window->findChild<QLabel*>("governingAreaLabel");
    Click("verifyButton");
    EXPECT_TRUE(presenter.boxes.empty()) << presenter.Texts().join("\n").toStdString();
    auto* results = window->findChild<QTreeWidget*>("caseResultsWindow");
    ASSERT_NE(results, nullptr);
    ASSERT_EQ(results->topLevelItemCount(), 5);
    QTreeWidgetItem* smallest = results->topLevelItem(0);
    for (int i = 1; i < results->topLevelItemCount(); ++i)
        if (results->topLevelItem(i)->text(1).toDouble() < smallest->text(1).toDouble())
            smallest = results->topLevelItem(i);
    EXPECT_EQ(Text("safetyField"), smallest->text(1));
    EXPECT_TRUE(smallest->text(0).endsWith("◀ crítica"));
    const QString named = smallest->text(0).section("  ◀", 0, 0);
    EXPECT_TRUE(underS->isVisible());
    EXPECT_EQ(underS->text(), "Combinação crítica: " + named);

    Click("loadCurveButton");
    QComboBox* selector = window->Chart()->CaseSelector();
    ASSERT_TRUE(selector->isVisible());
    EXPECT_EQ(selector->currentText(), named);
    const QList<QPointF> governing = window->Chart()->Series()->points();
    selector->setCurrentIndex(0);
    emit selector->activated(0);
    EXPECT_NE(window->Chart()->Series()->points(), governing);

    Click("designButton");
    EXPECT_FALSE(underS->isVisible());
    EXPECT_EQ(underArea->text(), "Combinação crítica: 2 — Vento +x");
    ASSERT_TRUE(window->OpenColumnFile(testing::ExamplePath("retangular-esbelto-biaxial.json")));
    Click("verifyButton");
    EXPECT_FALSE(underS->isVisible() || underArea->isVisible());
    Click("loadCurveButton");
    EXPECT_FALSE(window->Chart()->CaseSelector()->isVisible());
}

}  // namespace
}  // namespace tarvelo::ui
