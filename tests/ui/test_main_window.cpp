#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest/QTest>

#include "coordinate_grid.h"
#include "loads_window.h"
#include "main_window.h"
#include "procedures/column_file.h"
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
    void ClickToolbar(QAction* action) {
        QWidget* button = window->Toolbar()->widgetForAction(action);
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

// From start-up to the calculation buttons, by clicks only (the calculation itself is the full
// run's).
TEST_F(MainWindowTest, EnablingSequenceUpToTheCalculation) {
    // No bar count: the section window stays closed and the count field gets the focus.
    Click("sectionDataButton");
    EXPECT_EQ(presenter.boxes.back().kind, RecordedBox::Warning);
    EXPECT_EQ(window->focusWidget(), Text("barCountField"));
    EXPECT_FALSE(window->Section()->isVisible());
    EXPECT_TRUE(window->isEnabled());

    Type(Text("barCountField"), "6");
    Click("sectionDataButton");
    SectionWindow* section = window->Section();
    EXPECT_FALSE(window->isEnabled());
    EXPECT_TRUE(Enabled("drawSectionButton"));
    EXPECT_FALSE(Enabled("loadsButton"));
    EXPECT_EQ(section->BarGrid()->DataRowCount(), 6);
    // A disabled main window ignores clicks.
    Click("sectionDataButton");
    FillSixBars(section->BarGrid());
    Click(section->findChild<QPushButton*>("okButton"));
    EXPECT_FALSE(section->isVisible());
    EXPECT_TRUE(window->isEnabled());

    Click("drawSectionButton");
    EXPECT_TRUE(window->Drawing()->isVisible());
    EXPECT_TRUE(Enabled("loadsButton"));
    EXPECT_FALSE(Enabled("verifyButton"));

    Click("loadsButton");
    LoadsWindow* loads = window->Loads();
    EXPECT_FALSE(window->isEnabled());
    Type(loads->Field(FieldId::Fd), "300");
    Type(loads->Field(FieldId::Mxd_t), "600");
    Type(loads->Field(FieldId::Mxd_b), "600");
    Click(loads->findChild<QPushButton*>("okButton"));
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(Enabled("designButton"));
    EXPECT_FALSE(Enabled("loadCurveButton"));
}

TEST_F(MainWindowTest, ReopeningWithMoreBarsKeepsTheRowsThatRemain) {
    Type(Text("barCountField"), "8");
    Click("sectionDataButton");
    CoordinateGrid* bars = window->Section()->BarGrid();
    for (int r = 0; r < 8; ++r) {
        bars->SetCellText(r, 1, QString::number(r + 1));
        bars->SetCellText(r, 2, QString::number(10 * (r + 1)));
    }
    Click(window->Section()->findChild<QPushButton*>("okButton"));
    Type(Text("barCountField"), "10");
    Click("sectionDataButton");
    ASSERT_EQ(bars->DataRowCount(), 10);
    for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(bars->CellText(r, 1), QString::number(r + 1));
        EXPECT_EQ(bars->CellText(r, 2), QString::number(10 * (r + 1)));
    }
    EXPECT_EQ(bars->CellText(9, 0), "10");
    EXPECT_TRUE(bars->CellText(9, 1).isEmpty());
    // Shrinking drops the last rows only.
    Click(window->Section()->findChild<QPushButton*>("cancelButton"));
    Type(Text("barCountField"), "4");
    Click("sectionDataButton");
    ASSERT_EQ(bars->DataRowCount(), 4);
    EXPECT_EQ(bars->CellText(3, 2), "40");
}

TEST_F(MainWindowTest, ClearAllEmptiesTheFieldsAndCellsOfTheCurrentKind) {
    Type(Text("barCountField"), "4");
    Click("sectionDataButton");
    SectionWindow* section = window->Section();
    section->BarGrid()->SetCellText(2, 1, "7");
    Click(section->findChild<QPushButton*>("clearButton"));  // answered No: nothing changes
    EXPECT_EQ(section->BarGrid()->CellText(2, 1), "7");
    EXPECT_TRUE(presenter.boxes.back().defaultNo);
    presenter.answers = {true};
    Click(section->findChild<QPushButton*>("clearButton"));
    EXPECT_TRUE(section->Field(FieldId::RectHy)->text().isEmpty());
    EXPECT_EQ(section->Field(FieldId::HollowHx)->text(), "60");  // another kind's field stays
    EXPECT_EQ(section->BarGrid()->DataRowCount(), 4);
    EXPECT_TRUE(section->BarGrid()->CellText(2, 1).isEmpty());
}

// The loads window's rules (their order is an input-rules case): a refused OK keeps the window
// and the field gets the focus; an accepted one hands the loads and supports to the main window.
TEST_F(MainWindowTest, LoadsWindowRefusesAndAccepts) {
    window->findChild<QPushButton*>("loadsButton")->setEnabled(true);
    Click("loadsButton");
    LoadsWindow* loads = window->Loads();
    QPushButton* ok = loads->findChild<QPushButton*>("okButton");

    loads->Field(FieldId::L)->clear();
    Click(ok);
    EXPECT_EQ(loads->focusWidget(), loads->Field(FieldId::L));
    EXPECT_TRUE(loads->isVisible());
    EXPECT_FALSE(window->isEnabled());

    Type(loads->Field(FieldId::L), "400");

    loads->Field(FieldId::Fd)->setText("-500");  // negative forces pass this window
    loads->TopOption(SupportCondition::Free)->click();
    Click(ok);
    EXPECT_EQ(LastBox(), "A estrutura é hipostática.");
    EXPECT_FALSE(Enabled("verifyButton"));

    loads->BaseOption(SupportCondition::Fixed)->click();
    const std::size_t boxes = presenter.boxes.size();
    Click(ok);
    EXPECT_EQ(presenter.boxes.size(), boxes);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(Enabled("verifyButton"));
    const ColumnData data = window->CollectColumnData();
    EXPECT_EQ(data.baseSupport, SupportCondition::Fixed);
    EXPECT_EQ(data.topSupport, SupportCondition::Free);
    EXPECT_EQ(data.Fd, "-500");
}

TEST_F(MainWindowTest, ExitAsksWithNoAsDefaultAndClosingDoesNotAsk) {
    ClickToolbar(window->Actions().exit);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_TRUE(presenter.boxes[0].defaultNo);
    EXPECT_EQ(exits, 0);

    presenter.answers = {true};
    ClickToolbar(window->Actions().exit);
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
    data.Mxd_b = "-1500";
    data.baseSupport = SupportCondition::Fixed;
    data.topSupport = SupportCondition::Free;
    const QString path = dir.filePath("pilar.json");
    std::string error;
    ASSERT_TRUE(WriteColumnFile(path.toStdString(), data, error)) << error;

    files.openName = path;
    ClickToolbar(window->Actions().open);
    EXPECT_TRUE(presenter.boxes.empty()) << presenter.Texts().join("\n").toStdString();
    EXPECT_EQ(window->CollectColumnData(), data);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(window->Section()->VertexGrid()->DataRowCount(), 4);
    EXPECT_TRUE(Enabled("designButton"));

    // Saving gives back the same file.
    files.saveName = dir.filePath("copia");
    ClickToolbar(window->Actions().save);
    ColumnData reread;
    ASSERT_TRUE(ReadColumnFile(dir.filePath("copia.json").toStdString(), reread, error)) << error;
    EXPECT_EQ(reread, data);
}

TEST_F(MainWindowTest, AFailedOpenLeavesEveryFieldAsItWas) {
    QTemporaryDir dir;
    Type(Text("barCountField"), "7");
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
    EXPECT_FALSE(Enabled("verifyButton"));
}

}  // namespace
}  // namespace tarvelo::ui
