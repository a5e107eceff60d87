// The load cases on the desktop: the loads window keeps every case through files and runs, its
// OK names the refused case, a spreadsheet replaces the cases, and VERIFICAR runs them all.
// With TARVELO_SCREENS_DIR set it also writes the pictures of the new windows.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest/QTest>

#include "cases_table.h"
#include "chart_window.h"
#include "loads_window.h"
#include "main_window.h"
#include "procedures/column_file.h"
#include "procedures/load_cases.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

const QString kExamples = QStringLiteral(TARVELO_EXAMPLES "/");

class LoadCasesWindow : public testing::WindowTest {
  protected:
    void Open(MainWindow& window, const QString& name) {
        files.openName = kExamples + name;
        window.Actions().open->trigger();
        ASSERT_TRUE(presenter.boxes.empty()) << presenter.Texts().join("\n").toStdString();
    }
};

TEST_F(LoadCasesWindow, CasesSurviveTheWindowAndOkNamesTheRefusedCase) {
    MainWindow window;
    Open(window, QStringLiteral("combinacoes-retangular.json"));
    ColumnData file;
    std::string error;
    ASSERT_TRUE(
        ReadColumnFile((kExamples + "combinacoes-retangular.json").toStdString(), file, error));
    LoadsWindow* loads = window.Loads();
    QComboBox* selector = loads->CaseSelector();
    ASSERT_EQ(selector->count(), 5);

    // Going through the cases and back changes nothing; the fields show the selected case.
    window.findChild<QPushButton*>("loadsButton")->click();
    for (int i : {2, 4, 0}) {
        selector->setCurrentIndex(i);
        EXPECT_EQ(loads->Field(FieldId::Fd)->text().toStdString(), Cases(file)[i].Fd);
    }
    ColumnData collected;
    loads->Collect(collected);
    EXPECT_EQ(Cases(collected), Cases(file));

    selector->setCurrentIndex(2);
    loads->Field(FieldId::Fd)->clear();
    selector->setCurrentIndex(0);
    loads->findChild<QPushButton*>("okButton")->click();
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text,
              QStringLiteral("Combinação 3: Forneça a força normal no topo do pilar."));
    EXPECT_EQ(selector->currentIndex(), 2);
    EXPECT_TRUE(loads->isVisible());

    // A spreadsheet replaces the cases; Excluir and Nova keep at least one case, named anew.
    files.openName = kExamples + "combinacoes-retangular.csv";
    loads->findChild<QPushButton*>("importCasesButton")->click();
    loads->Collect(collected);
    EXPECT_EQ(Cases(collected), Cases(file));
    for (int i = 0; i < 5; ++i)
        loads->findChild<QPushButton*>("deleteCaseButton")->click();
    EXPECT_EQ(selector->count(), 1);
    loads->findChild<QPushButton*>("newCaseButton")->click();
    EXPECT_EQ(selector->currentText(), QStringLiteral("2"));
}

TEST_F(LoadCasesWindow, VerifyRunsEveryCaseAndListsThem) {
    MainWindow window;
    window.show();
    Open(window, QStringLiteral("combinacoes-retangular.json"));
    window.findChild<QPushButton*>("verifyButton")->click();
    EXPECT_TRUE(presenter.boxes.empty()) << presenter.Texts().join("\n").toStdString();
    EXPECT_EQ(window.findChild<QLineEdit*>("safetyField")->text(), QStringLiteral("1.04"));
    auto* results = window.findChild<QTreeWidget*>("caseResultsWindow");
    ASSERT_NE(results, nullptr);
    ASSERT_EQ(results->topLevelItemCount(), 5);
    EXPECT_TRUE(results->topLevelItem(1)->text(0).endsWith(QStringLiteral("◀ crítica")));
}

// Rows pasted from a spreadsheet: a decimal comma is a point, new rows are added, and a bad cell
// refuses the whole paste.
TEST_F(LoadCasesWindow, TablePastesSpreadsheetRows) {
    ColumnData file;
    std::string error;
    ASSERT_TRUE(
        ReadColumnFile((kExamples + "combinacoes-retangular.json").toStdString(), file, error));
    CasesTableWindow table;
    table.SetCases(Cases(file));
    table.Grid()->setCurrentCell(4, 0);
    table.Paste(QStringLiteral("Vento -y\t1010\t\t-3,1\t2100\nSísmica\t990,5\t\t\t-1200\n"));
    std::vector<LoadCase> cases = table.Cases();
    ASSERT_EQ(cases.size(), 6u);
    EXPECT_EQ(cases[4], Cases(file)[4]);
    EXPECT_EQ(cases[5], (LoadCase{"Sísmica", {"990.5", "", "", "-1200", "", "", "", "", ""}}));
    table.Paste(QStringLiteral("X\t12a\n"));
    EXPECT_EQ(presenter.Texts(),
              QStringList{QStringLiteral("Linha 1, coluna 2: valor inválido \"12a\".")});
    EXPECT_EQ(table.Cases(), cases);

    const QString dir = QString::fromLocal8Bit(qgetenv("TARVELO_SCREENS_DIR"));
    if (dir.isEmpty()) return;
    table.show();
    QTest::qWait(30);
    EXPECT_TRUE(table.grab().save(dir + "/cases-table.png"));
}

// After a run of several cases the case with the smallest S (then the largest area) is named
// beside its value, and the chart starts with its curve; a design clears the name under S as it
// clears S, and a column of one case shows none.
TEST_F(LoadCasesWindow, GoverningCaseNamedBesideItsValueAndCurve) {
    MainWindow window;
    window.show();
    auto* underS = window.findChild<QLabel*>("governingSLabel");
    auto* underArea = window.findChild<QLabel*>("governingAreaLabel");
    Open(window, QStringLiteral("combinacoes-retangular.json"));
    window.findChild<QPushButton*>("verifyButton")->click();
    auto* results = window.findChild<QTreeWidget*>("caseResultsWindow");
    ASSERT_NE(results, nullptr);
    QTreeWidgetItem* smallest = results->topLevelItem(0);
    for (int i = 1; i < results->topLevelItemCount(); ++i) {
        if (results->topLevelItem(i)->text(1).toDouble() < smallest->text(1).toDouble())
            smallest = results->topLevelItem(i);
    }
    const QString named = smallest->text(0).section(QStringLiteral("  ◀"), 0, 0);
    EXPECT_TRUE(underS->isVisible());
    EXPECT_EQ(underS->text(), QStringLiteral("Combinação crítica: ") + named);

    window.findChild<QPushButton*>("loadCurveButton")->click();
    QComboBox* selector = window.Chart()->CaseSelector();
    ASSERT_TRUE(selector->isVisible());
    EXPECT_EQ(selector->currentText(), named);
    const QList<QPointF> governing = window.Chart()->Series()->points();
    selector->setCurrentIndex(0);
    emit selector->activated(0);
    EXPECT_NE(window.Chart()->Series()->points(), governing);

    window.findChild<QPushButton*>("designButton")->click();
    EXPECT_FALSE(underS->isVisible());
    EXPECT_EQ(underArea->text(), QStringLiteral("Combinação crítica: 2 — Vento +x"));
    ASSERT_TRUE(window.OpenColumnFile(kExamples + "retangular-esbelto-biaxial.json"));
    window.findChild<QPushButton*>("verifyButton")->click();
    EXPECT_FALSE(underS->isVisible() || underArea->isVisible());
    window.findChild<QPushButton*>("loadCurveButton")->click();
    EXPECT_FALSE(window.Chart()->CaseSelector()->isVisible());
}

}  // namespace
}  // namespace tarvelo::ui
