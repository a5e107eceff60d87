#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QtTest/QTest>

#include "about_window.h"
#include "coordinate_grid.h"
#include "help_window.h"
#include "loads_window.h"
#include "main_window.h"
#include "procedures/column_file.h"
#include "progress_window.h"
#include "section_drawing.h"
#include "section_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

using testing::RecordedBox;
using testing::WindowTest;

class MainWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window = std::make_unique<MainWindow>();
        window->SetExitHandler([this] { ++exits; });
        window->show();
    }
    void TearDown() override {
        window.reset();
        WindowTest::TearDown();
    }

    template <typename T>
    T* Main(const char* name) const {
        T* widget = window->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* Text(const char* name) const { return Main<QLineEdit>(name); }
    QPushButton* Command(const char* name) const { return Main<QPushButton>(name); }
    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void Click(const char* name) { Click(Command(name)); }
    void ClickToolbar(int position) {
        QWidget* button = window->Toolbar()->widgetForAction(window->ToolbarButton(position));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Own enabled state, whether or not the window around it is disabled.
    bool Enabled(const char* name) const { return Command(name)->isEnabledTo(window.get()); }
    QString LastBox() const {
        return presenter.boxes.empty() ? QString() : presenter.boxes.back().text;
    }
    void Type(QLineEdit* field, const QString& text) {
        field->clear();
        QTest::keyClicks(field, text);
    }

    std::unique_ptr<MainWindow> window;
    int exits = 0;
};

// A 20 x 40 rectangle with six bars, ready to calculate.
void FillSixBars(CoordinateGrid* grid) {
    const char* rows[6][2] = {{"4", "4"},   {"16", "4"}, {"4", "20"},
                              {"16", "20"}, {"4", "36"}, {"16", "36"}};
    for (int r = 0; r < 6; ++r) {
        grid->SetCellText(r, 1, rows[r][0]);
        grid->SetCellText(r, 2, rows[r][1]);
    }
}

TEST_F(MainWindowTest, StartsWithOnlyTheSectionButtonAndTheFreeToolbarButtons) {
    EXPECT_EQ(window->objectName(), "Form17");
    EXPECT_EQ(window->windowTitle(), " TARVELO");
    EXPECT_TRUE(Enabled("Command3"));
    for (const char* name : {"Command5", "Command1", "Command4", "Command12", "Command8"}) {
        EXPECT_FALSE(Enabled(name)) << name;
    }
    const char* captions[8] = {"", "Abrir", "Salvar", "Imprimir", "Ajuda", "", "TARVELO", "Sair"};
    const bool enabled[8] = {false, true, false, false, true, false, true, true};
    for (int i = 1; i <= 7; ++i) {
        EXPECT_EQ(window->ToolbarButton(i)->iconText(), captions[i]) << i;
        EXPECT_EQ(window->ToolbarButton(i)->isEnabled(), enabled[i]) << i;
    }
    EXPECT_EQ(Text("Text1")->text(), "20");
    EXPECT_EQ(Text("Text15")->text(), "2.5");
    EXPECT_EQ(Text("Text14")->text(), "1.15");
    EXPECT_EQ(Text("Text10")->maxLength(), 4);
    EXPECT_TRUE(Main<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(Text("Text4")->isVisible());
    EXPECT_FALSE(Main<QLabel>("Label17")->isVisible());
    EXPECT_EQ(window->Section()->VertexGrid()->DataRowCount(), 0);
    EXPECT_EQ(window->Section()->BarGrid()->DataRowCount(), 0);
}

TEST_F(MainWindowTest, TheVertexCountShowsForPolygonsOnly) {
    Main<QRadioButton>("Option5")->click();
    EXPECT_TRUE(Text("Text4")->isVisible());
    EXPECT_TRUE(Main<QLabel>("Label17")->isVisible());
    Main<QRadioButton>("Option3")->click();
    EXPECT_FALSE(Text("Text4")->isVisible());
    EXPECT_TRUE(Text("Text5")->isVisible());
}

// From start-up to a completed verification, by clicks only.
TEST_F(MainWindowTest, EnablingSequenceUpToACompletedVerification) {
    // No bar count: the section window stays closed and the count field gets the focus.
    Click("Command3");
    EXPECT_EQ(LastBox(), "Forneça um valor positivo para o número de barras de aço.");
    EXPECT_EQ(presenter.boxes.back().kind, RecordedBox::Warning);
    EXPECT_EQ(presenter.boxes.back().title, "TARVELO");
    EXPECT_EQ(window->focusWidget(), Text("Text5"));
    EXPECT_FALSE(window->Section()->isVisible());
    EXPECT_TRUE(window->isEnabled());

    Type(Text("Text5"), "6");
    Click("Command3");
    SectionWindow* section = window->Section();
    EXPECT_TRUE(section->isVisible());
    EXPECT_FALSE(window->isEnabled());
    EXPECT_TRUE(section->isEnabled());
    EXPECT_TRUE(Enabled("Command5"));
    EXPECT_FALSE(Enabled("Command1"));
    EXPECT_EQ(section->BarGrid()->DataRowCount(), 6);
    EXPECT_EQ(section->Field(13)->text(), "6");
    // A disabled main window ignores clicks.
    Click("Command3");
    FillSixBars(section->BarGrid());
    Click(section->findChild<QPushButton*>("Command2"));
    EXPECT_FALSE(section->isVisible());
    EXPECT_TRUE(window->isEnabled());

    Click("Command5");
    EXPECT_TRUE(window->Drawing()->isVisible());
    EXPECT_TRUE(Enabled("Command1"));
    EXPECT_FALSE(Enabled("Command4"));

    Click("Command1");
    LoadsWindow* loads = window->Loads();
    EXPECT_TRUE(loads->isVisible());
    EXPECT_FALSE(window->Drawing()->isVisible());
    EXPECT_FALSE(window->isEnabled());
    Type(loads->Field(7), "300");
    Type(loads->Field(10), "600");
    Type(loads->Field(5), "600");
    Click(loads->findChild<QPushButton*>("Command1"));
    EXPECT_FALSE(loads->isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(Enabled("Command4"));
    EXPECT_TRUE(Enabled("Command12"));
    EXPECT_FALSE(Enabled("Command8"));

    Type(Text("Text6"), "6");
    presenter.boxes.clear();
    Click("Command4");
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(presenter.boxes.empty()) << presenter.Texts().join("\n").toStdString();
    EXPECT_FALSE(Text("Text11")->text().trimmed().isEmpty());
    EXPECT_GT(Text("Text11")->text().toDouble(), 0.0);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(window->Progress()->isVisible());
    EXPECT_TRUE(window->Progress()->Lines().isEmpty());
    EXPECT_TRUE(Enabled("Command8"));
    EXPECT_EQ(window->focusWidget(), Command("Command8"));
    EXPECT_TRUE(window->ToolbarButton(2)->isEnabled());
    EXPECT_TRUE(window->ToolbarButton(3)->isEnabled());
    EXPECT_GT(window->LastReachedStep(), 0);
    EXPECT_TRUE(window->HasSectionConstants());
}

TEST_F(MainWindowTest, CountChecksKeepTheSectionWindowClosed) {
    Main<QRadioButton>("Option3")->click();
    Type(Text("Text5"), "4");
    Click("Command3");
    EXPECT_EQ(LastBox(), "O número mínimo de barras em uma seção circular é igual a 6.");
    Type(Text("Text5"), "300");
    Click("Command3");
    EXPECT_EQ(LastBox(), "Este programa está limitado a 299 barras de aço.");
    EXPECT_EQ(window->focusWidget(), Text("Text5"));

    Main<QRadioButton>("Option5")->click();
    Type(Text("Text5"), "4");
    Type(Text("Text4"), "2");
    Click("Command3");
    EXPECT_EQ(LastBox(), "O número de vértices da seção deve ser maior ou igual a 3.");
    EXPECT_EQ(window->focusWidget(), Text("Text4"));
    EXPECT_FALSE(window->Section()->isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(Enabled("Command5"));
}

TEST_F(MainWindowTest, ReopeningWithMoreBarsKeepsTheRowsThatRemain) {
    Type(Text("Text5"), "8");
    Click("Command3");
    CoordinateGrid* bars = window->Section()->BarGrid();
    for (int r = 0; r < 8; ++r) {
        bars->SetCellText(r, 1, QString::number(r + 1));
        bars->SetCellText(r, 2, QString::number(10 * (r + 1)));
    }
    Click(window->Section()->findChild<QPushButton*>("Command2"));
    Type(Text("Text5"), "10");
    Click("Command3");
    ASSERT_EQ(bars->DataRowCount(), 10);
    for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(bars->CellText(r, 1), QString::number(r + 1));
        EXPECT_EQ(bars->CellText(r, 2), QString::number(10 * (r + 1)));
    }
    for (int r = 8; r < 10; ++r) {
        EXPECT_EQ(bars->CellText(r, 0), QString::number(r + 1));
        EXPECT_TRUE(bars->CellText(r, 1).isEmpty());
        EXPECT_TRUE(bars->CellText(r, 2).isEmpty());
    }
    EXPECT_EQ(bars->currentRow(), 0);
    EXPECT_EQ(bars->currentColumn(), 1);
    // Shrinking drops the last rows only.
    Click(window->Section()->findChild<QPushButton*>("Command5"));
    Type(Text("Text5"), "4");
    Click("Command3");
    ASSERT_EQ(bars->DataRowCount(), 4);
    EXPECT_EQ(bars->CellText(3, 2), "40");
}

TEST_F(MainWindowTest, EachKindShowsItsOwnParts) {
    SectionWindow* section = window->Section();
    Type(Text("Text5"), "6");
    Main<QRadioButton>("Option4")->click();
    Click("Command3");
    EXPECT_FALSE(section->VertexGrid()->isVisible());
    EXPECT_FALSE(section->BarGrid()->isVisible());
    EXPECT_TRUE(section->Field(9)->isVisible());
    EXPECT_FALSE(section->Field(1)->isVisible());
    EXPECT_FALSE(section->findChild<QPushButton*>("Command4")->isVisible());
    Click(section->findChild<QPushButton*>("Command5"));

    Main<QRadioButton>("Option5")->click();
    Type(Text("Text4"), "5");
    Click("Command3");
    EXPECT_TRUE(section->VertexGrid()->isVisible());
    EXPECT_TRUE(section->BarGrid()->isVisible());
    EXPECT_EQ(section->VertexGrid()->DataRowCount(), 5);
    EXPECT_EQ(section->Field(12)->text(), "5");
    EXPECT_FALSE(section->Field(9)->isVisible());
    EXPECT_TRUE(section->findChild<QPushButton*>("Command4")->isVisible());
    // The title-bar button behaves as "Cancelar": the main window comes back.
    section->close();
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(MainWindowTest, ClearAllEmptiesTheFieldsAndCellsOfTheCurrentKind) {
    Type(Text("Text5"), "4");
    Click("Command3");
    SectionWindow* section = window->Section();
    section->BarGrid()->SetCellText(2, 1, "7");
    Click(section->findChild<QPushButton*>("Command1"));
    EXPECT_TRUE(section->Field(1)->text().isEmpty());
    EXPECT_TRUE(section->Field(2)->text().isEmpty());
    EXPECT_EQ(section->Field(3)->text(), "60");
    EXPECT_EQ(section->Field(7)->text(), "20");
    EXPECT_EQ(section->BarGrid()->DataRowCount(), 4);
    EXPECT_TRUE(section->BarGrid()->CellText(2, 1).isEmpty());
}

TEST_F(MainWindowTest, LoadsWindowChecksItsThreeRulesInOrder) {
    window->findChild<QPushButton*>("Command1")->setEnabled(true);
    Click("Command1");
    LoadsWindow* loads = window->Loads();
    QPushButton* ok = loads->findChild<QPushButton*>("Command1");
    EXPECT_EQ(loads->Field(1)->text(), "400");
    EXPECT_TRUE(loads->Option(2)->isChecked());
    EXPECT_TRUE(loads->Option(5)->isChecked());

    loads->Field(1)->clear();
    Click(ok);
    EXPECT_EQ(LastBox(), "A altura do pilar não pode ser nula.");
    EXPECT_EQ(loads->focusWidget(), loads->Field(1));
    EXPECT_TRUE(loads->isVisible());
    EXPECT_FALSE(window->isEnabled());

    Type(loads->Field(1), "400");
    Click(ok);
    EXPECT_EQ(LastBox(), "Forneça a força normal no topo do pilar.");
    EXPECT_EQ(loads->focusWidget(), loads->Field(7));

    loads->Field(7)->setText("-500");  // negative forces pass this window
    loads->Option(6)->click();
    Click(ok);
    EXPECT_EQ(LastBox(), "A estrutura é hipostática.");
    EXPECT_FALSE(Enabled("Command4"));

    loads->Option(1)->click();
    const std::size_t boxes = presenter.boxes.size();
    Click(ok);
    EXPECT_EQ(presenter.boxes.size(), boxes);
    EXPECT_FALSE(loads->isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(Enabled("Command4"));
    EXPECT_TRUE(Enabled("Command12"));
    const ColumnData data = window->CollectColumnData();
    EXPECT_EQ(data.baseSupport, SupportCondition::Fixed);
    EXPECT_EQ(data.topSupport, SupportCondition::Free);
    EXPECT_EQ(data.Fd, "-500");
}

TEST_F(MainWindowTest, ExitAsksWithNoAsDefaultAndClosingDoesNotAsk) {
    ClickToolbar(7);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].kind, RecordedBox::Question);
    EXPECT_EQ(presenter.boxes[0].text, "Deseja sair do programa?");
    EXPECT_EQ(presenter.boxes[0].title, "TARVELO");
    EXPECT_TRUE(presenter.boxes[0].defaultNo);
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(window->isVisible());

    presenter.answers = {true};
    ClickToolbar(7);
    EXPECT_EQ(exits, 1);

    EXPECT_TRUE(window->close());
    EXPECT_EQ(exits, 2);
    EXPECT_EQ(presenter.boxes.size(), 2u);
}

TEST_F(MainWindowTest, ColumnFilesRoundTripThroughTheWindows) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ColumnData data;
    data.title = "Pilar de teste";
    data.fck = "30";
    data.sectionType = SectionType::Polygonal;
    data.vertexCount = "4";
    data.barCount = "4";
    data.totalSteelArea = "12.5";
    data.vertices = {{"0", "0"}, {"30", "0"}, {"30", "50"}, {"0", "50"}};
    data.bars = {{"4", "4"}, {"26", "4"}, {"26", "46"}, {"4", "46"}};
    data.hollowBxo = "20";
    data.L = "350";
    data.Fd = "900";
    data.Mxd_b = "-1500";
    data.pyd = "0.02";
    data.baseSupport = SupportCondition::Fixed;
    data.topSupport = SupportCondition::Free;
    const QString path = dir.filePath("pilar.json");
    std::string error;
    ASSERT_TRUE(WriteColumnFile(path.toStdString(), data, error)) << error;

    files.openName = path;
    ClickToolbar(1);
    EXPECT_TRUE(presenter.boxes.empty()) << presenter.Texts().join("\n").toStdString();
    EXPECT_EQ(window->CollectColumnData(), data);
    EXPECT_EQ(window->windowTitle(), " TARVELO - pilar.json");
    EXPECT_TRUE(Text("Text4")->isVisible());
    EXPECT_EQ(window->Section()->VertexGrid()->DataRowCount(), 4);
    for (const char* name : {"Command5", "Command1", "Command4", "Command12"}) {
        EXPECT_TRUE(Enabled(name)) << name;
    }
    EXPECT_FALSE(Enabled("Command8"));

    // Saving gives back the same file.
    window->ToolbarButton(2)->setEnabled(true);
    files.saveName = dir.filePath("copia");
    ClickToolbar(2);
    ColumnData reread;
    ASSERT_TRUE(ReadColumnFile(dir.filePath("copia.json").toStdString(), reread, error)) << error;
    EXPECT_EQ(reread, data);
}

TEST_F(MainWindowTest, AFailedOpenLeavesEveryFieldAsItWas) {
    QTemporaryDir dir;
    Type(Text("Text5"), "7");
    const ColumnData before = window->CollectColumnData();

    const QString broken = dir.filePath("quebrado.json");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ \"format\": \"tarvelo-column\", ");
    file.close();
    EXPECT_FALSE(window->OpenColumnFile(broken));
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_TRUE(
        presenter.boxes[0].text.startsWith("Não foi possível ler o arquivo \"quebrado.json\"."));

    // A text longer than its field would be cut by the field: the file is refused.
    ColumnData tooLong;
    tooLong.fck = "25.5";
    const QString longPath = dir.filePath("longo.json");
    std::string error;
    ASSERT_TRUE(WriteColumnFile(longPath.toStdString(), tooLong, error));
    EXPECT_FALSE(window->OpenColumnFile(longPath));
    EXPECT_TRUE(presenter.boxes.back().text.contains("fck (MPa)="));

    EXPECT_FALSE(window->OpenColumnFile(dir.filePath("nao-existe.json")));
    EXPECT_EQ(presenter.boxes.size(), 3u);
    EXPECT_EQ(window->CollectColumnData(), before);
    EXPECT_EQ(window->windowTitle(), " TARVELO");
    EXPECT_FALSE(Enabled("Command4"));
}

TEST_F(MainWindowTest, HelpAboutAndSystemInformation) {
    ClickToolbar(4);
    HelpWindow* help = window->Help();
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), " Ajuda");
    EXPECT_TRUE(help->TextBox()->toPlainText().contains("Tipos de seção"));
    EXPECT_TRUE(help->TextBox()->toPlainText().contains("coeficiente de segurança S"));
    // A help file that cannot be read leaves a message, not a failure.
    EXPECT_FALSE(help->Load("/nao/existe/ajuda.html"));
    EXPECT_TRUE(help->TextBox()->toPlainText().startsWith("Não foi possível abrir"));

    ClickToolbar(6);
    AboutWindow* about = window->About();
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), "Sobre o TARVELO");
    EXPECT_EQ(about->findChild<QLabel*>("lblTitle")->text(), "TARVELO - 2014");
    EXPECT_EQ(about->findChild<QLabel*>("lblVersion")->text(), "Versão 3.0");
    QTest::mouseClick(about->findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].kind, RecordedBox::Information);
    EXPECT_TRUE(presenter.boxes[0].text.contains(qVersion()));
    QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
}

// The window paints (and lets pending events run, user input excepted) 30 ms after it was
// shown and then at most every 30 ms, so thousands of lines cost the analysis next to nothing.
TEST(ProgressWindowTest, PaintsAtMostEveryThirtyMilliseconds) {
    ProgressWindow progress;
    progress.ShowNow();
    int ran = 0;
    QTimer::singleShot(0, &progress, [&ran] { ++ran; });
    QElapsedTimer clock;
    clock.start();
    for (int k = 1; k <= 1000 && clock.elapsed() < ProgressWindow::kRepaintIntervalMs / 3; ++k) {
        progress.PrintLine(QStringLiteral("  Etapa de carga =  %1").arg(k));
    }
    EXPECT_EQ(ran, 0);
    QThread::msleep(ProgressWindow::kRepaintIntervalMs + 5);
    progress.PrintLine("  Etapa de carga =  1001");
    EXPECT_EQ(ran, 1);
    QTimer::singleShot(0, &progress, [&ran] { ++ran; });
    progress.PrintLine("  Etapa de carga =  1002");
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(progress.Lines().last(), "  Etapa de carga =  1002");
}

TEST(ProgressWindowTest, TextRestartsAtTheTopOncePast4800Twips) {
    ProgressWindow progress;
    EXPECT_EQ(progress.PrintPositionTwips(), 0);
    progress.PrintLine("  Iteração =  1");
    const int step = progress.PrintPositionTwips();
    ASSERT_GT(step, 0);
    int longest = 1;
    for (int k = 1; k <= 200; ++k) {
        progress.PrintLine(QStringLiteral("  Etapa de carga =  %1").arg(k));
        longest = std::max(longest, static_cast<int>(progress.Lines().size()));
        // Never more than the lines that fit until the print position passes 4800 twips.
        EXPECT_LE((progress.Lines().size() - 1) * step, ProgressWindow::kRestartTwips);
    }
    EXPECT_EQ(longest, ProgressWindow::kRestartTwips / step + 1);
    EXPECT_EQ(progress.Lines().back(), "  Etapa de carga =  200");
    progress.Clear();
    EXPECT_TRUE(progress.Lines().isEmpty());
}

}  // namespace
}  // namespace tarvelo::ui
