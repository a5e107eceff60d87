// The main window with its section and loads windows: the enabling order typed by hand, the
// tables kept across reopening, and column files through "Abrir" and "Salvar".
#include <QComboBox>
#include <QRadioButton>

#include "coordinate_grid.h"
#include "loads_window.h"
#include "section_drawing.h"
#include "section_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

using testing::MainWindowTest;

// From start-up to the calculation buttons, typing and clicking; a refused OK keeps its window
// open with the field in focus. The steel area follows a bar diameter chosen, times the count.
TEST_F(MainWindowTest, EnablingSequenceUpToTheCalculation) {
    auto* diameter = window->findChild<QComboBox*>("barDiameterChooser");
    diameter->setCurrentIndex(diameter->findText("16"));
    emit diameter->activated(diameter->currentIndex());  // no bar count: a warning
    Click("sectionDataButton");  // no bar count: the section window stays closed
    ASSERT_EQ(presenter.boxes.size(), 2u);
    EXPECT_EQ(presenter.boxes.back().kind, testing::RecordedBox::Warning);
    EXPECT_EQ(window->focusWidget(), Field("barCountField"));
    EXPECT_FALSE(window->Section()->isVisible());

    Type(Field("barCountField"), "6");
    emit diameter->activated(diameter->currentIndex());
    EXPECT_EQ(Text("steelAreaField"), "12.06");
    Click("sectionDataButton");
    SectionWindow* section = window->Section();
    EXPECT_FALSE(window->isEnabled());
    EXPECT_TRUE(Enabled("drawSectionButton"));
    EXPECT_FALSE(Enabled("loadsButton"));
    ASSERT_EQ(section->BarGrid()->DataRowCount(), 6);
    section->BarGrid()->SetRows(  // a 20 x 40 rectangle's six bars
        {{"4", "4"}, {"16", "4"}, {"4", "20"}, {"16", "20"}, {"4", "36"}, {"16", "36"}});
    testing::Click(section, "okButton");
    EXPECT_FALSE(section->isVisible());
    EXPECT_TRUE(window->isEnabled());

    Click("drawSectionButton");
    EXPECT_TRUE(window->Drawing()->isVisible());
    EXPECT_TRUE(Enabled("loadsButton"));
    EXPECT_FALSE(Enabled("verifyButton"));

    Click("loadsButton");
    LoadsWindow* loads = window->Loads();
    loads->Field(FieldId::L)->clear();
    testing::Click(loads, "okButton");
    EXPECT_EQ(loads->focusWidget(), loads->Field(FieldId::L));
    EXPECT_TRUE(loads->isVisible());
    EXPECT_FALSE(window->isEnabled());

    Type(loads->Field(FieldId::L), "400");
    loads->Field(FieldId::Fd)->setText("-500");  // negative forces pass this window
    Type(loads->Field(FieldId::Mxd_t), "600");
    loads->TopOption(SupportCondition::Free)->click();
    testing::Click(loads, "okButton");
    EXPECT_EQ(LastBox(), "A estrutura é hipostática.");
    EXPECT_FALSE(Enabled("verifyButton"));

    loads->BaseOption(SupportCondition::Fixed)->click();
    const std::size_t boxes = presenter.boxes.size();
    testing::Click(loads, "okButton");
    EXPECT_EQ(presenter.boxes.size(), boxes);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(Enabled("verifyButton"));
    EXPECT_TRUE(Enabled("designButton"));
    EXPECT_FALSE(Enabled("loadCurveButton"));
    const ColumnData data = window->CollectColumnData();
    EXPECT_EQ(data.baseSupport, SupportCondition::Fixed);
    EXPECT_EQ(data.topSupport, SupportCondition::Free);
    EXPECT_EQ(data.Fd, "-500");
}

// A new bar count keeps the rows that remain; "Limpar", answered Yes, empties only the fields
// and cells of the current kind.
TEST_F(MainWindowTest, BarTableAcrossCountsAndClearing) {
    Type(Field("barCountField"), "8");
    Click("sectionDataButton");
    SectionWindow* section = window->Section();
    CoordinateGrid* bars = section->BarGrid();
    for (int r = 0; r < 8; ++r) {
        bars->SetCellText(r, 1, QString::number(r + 1));
        bars->SetCellText(r, 2, QString::number(10 * (r + 1)));
    }
    testing::Click(section, "okButton");
    const std::vector<GridRow> eight = bars->Rows();
    Type(Field("barCountField"), "10");
    Click("sectionDataButton");
    std::vector<GridRow> ten = eight;
    ten.resize(10);
    EXPECT_EQ(bars->Rows(), ten);
    testing::Click(section, "cancelButton");
    Type(Field("barCountField"), "4");
    Click("sectionDataButton");
    EXPECT_EQ(bars->Rows(), std::vector<GridRow>(eight.begin(), eight.begin() + 4));

    testing::Click(section, "clearButton");  // answered No: nothing changes
    EXPECT_TRUE(presenter.boxes.back().defaultNo);
    EXPECT_EQ(bars->CellText(2, 1), "3");
    presenter.answers = {true};
    testing::Click(section, "clearButton");
    EXPECT_TRUE(section->Field(FieldId::RectHy)->text().isEmpty());
    EXPECT_EQ(section->Field(FieldId::HollowHx)->text(), "60");  // another kind's field stays
    EXPECT_EQ(bars->Rows(), std::vector<GridRow>(4));
}

// Every example, with a field of another section kind and other supports, goes through
// "Abrir" and "Salvar" unchanged.
TEST_F(MainWindowTest, ColumnFilesRoundTripThroughTheWindows) {
    for (const char* example : {"retangular-esbelto-biaxial.json", "retangular-vazado-balanco.json",
                                "circular-macico.json", "circular-vazado.json", "poligonal-L.json",
                                "combinacoes-retangular.json"}) {
        SCOPED_TRACE(example);
        ColumnData data = testing::ReadExample(example);
        data.hollowBxo = "20";
        data.baseSupport = SupportCondition::Fixed;
        data.topSupport = SupportCondition::Free;
        std::string error;
        ASSERT_TRUE(WriteColumnFile(dir.filePath("pilar.json").toStdString(), data, error));

        files.openName = dir.filePath("pilar.json");
        Trigger(window->Actions().open);
        EXPECT_TRUE(presenter.boxes.empty()) << presenter.Texts().join("\n").toStdString();
        EXPECT_EQ(window->CollectColumnData(), data);
        EXPECT_FALSE(window->isWindowModified());
        EXPECT_TRUE(Enabled("designButton"));

        files.saveName = dir.filePath("copia");  // ".json" is added
        Trigger(window->Actions().save);
        ColumnData reread;
        ASSERT_TRUE(ReadColumnFile(dir.filePath("copia.json").toStdString(), reread, error));
        EXPECT_EQ(reread, data);
    }
}

// A file that cannot be opened is named in a message and changes nothing.
TEST_F(MainWindowTest, AFailedOpenLeavesEveryFieldAsItWas) {
    Type(Field("barCountField"), "7");
    const ColumnData before = window->CollectColumnData();
    Write("quebrado.json", "{ \"format\": \"tarvelo-column\", ");
    // A text longer than its field would be cut by the field.
    Write("longo.json", R"({"format": "tarvelo-column", "version": 1, "main": {"fck": "25.5"}})");

    // Each file and what its message names.
    for (const auto& [file, named] : {std::pair{"quebrado.json", "\"quebrado.json\""},
                                      {"longo.json", "fck (MPa)="},
                                      {"nao-existe.json", "nao-existe.json"}}) {
        SCOPED_TRACE(file);
        presenter.boxes.clear();
        EXPECT_FALSE(window->OpenColumnFile(dir.filePath(file)));
        ASSERT_EQ(presenter.boxes.size(), 1u);
        EXPECT_TRUE(LastBox().contains(named)) << LastBox().toStdString();
        EXPECT_EQ(window->CollectColumnData(), before);
    }
    EXPECT_FALSE(Enabled("verifyButton"));
}

}  // namespace
}  // namespace tarvelo::ui
