// The load cases on the desktop: the loads window keeps every case, its OK names the refused
// case, a spreadsheet's rows paste into the table, and VERIFICAR names the governing case.
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QTableWidget>
#include <QTreeWidget>

#include "cases_table.h"
#include "chart_window.h"
#include "loads_window.h"
#include "procedures/load_cases.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

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
    for (int i = 1; i < results->topLevelItemCount(); ++i) {
        if (results->topLevelItem(i)->text(1).toDouble() < smallest->text(1).toDouble())
            smallest = results->topLevelItem(i);
    }
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
