// The main window with its section and loads windows: the enabling order typed by hand, the
// tables kept across reopening, column files through "Abrir" and "Salvar", coordinates read from
// text files, the section drawing, and the program's start and end around the main window.
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QRadioButton>

#include "coordinate_file.h"
#include "coordinate_grid.h"
#include "loads_window.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "section_drawing.h"
#include "section_window.h"
#include "startup_windows.h"
#include "ui_common.h"
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

// The darkest pixel around a point (an antialiased line may fall between pixels).
int DarkestNear(const QImage& image, QPoint at) {
    int darkest = 255;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            darkest = std::min(darkest, image.pixelColor(at + QPoint(dx, dy)).lightness());
    return darkest;
}

// The centroidal section as the procedures build it for "Ver seção": its longer side fills
// kSize twips, its box centred on the picture, larger y drawn higher, with the outline and the
// bars painted at the mapped points. A section without extent draws nothing.
TEST(SectionDrawingTest, FillsTheLongerSideCentredAndPaintsAtTheMappedPoints) {
    using Mapping = SectionDrawingMapping;
    for (const auto& [hx, hy] : {std::pair{"20", "40"}, {"100", "20"}}) {
        ColumnData data;
        data.rectHx = hx;
        data.rectHy = hy;
        data.barCount = "4";
        data.bars = {{"4", "4"}, {"16", "4"}, {"4", "16"}, {"16", "16"}};
        RecordingHost host;
        SectionGeometry built;
        ASSERT_TRUE(BuildSectionForDrawing(data, host, built));
        SectionDrawingWindow drawing;
        drawing.Draw(built);
        drawing.show();
        const SectionGeometry& section = drawing.Canvas()->Section();
        const Mapping m = ComputeSectionMapping(section);
        ASSERT_TRUE(m.valid);
        const QPointF low = m.Map(m.xmin, m.ymin), high = m.Map(m.xmax, m.ymax);
        const double w = std::stod(hx), h = std::stod(hy);
        EXPECT_DOUBLE_EQ(std::max(high.x() - low.x(), low.y() - high.y()), Mapping::kSize);
        EXPECT_DOUBLE_EQ((high.x() - low.x()) / w, (low.y() - high.y()) / h);
        EXPECT_DOUBLE_EQ((low.x() + high.x()) / 2, Mapping::kCentreX);
        EXPECT_DOUBLE_EQ((low.y() + high.y()) / 2, Mapping::kCentreY);

        const QImage image = drawing.Canvas()->grab().toImage();
        for (int j = 0; j < section.nb; ++j) {
            const QPointF at = m.Map(section.bars[j].x, section.bars[j].y) / kTwipsPerPixel;
            EXPECT_LT(DarkestNear(image, at.toPoint()), 40) << "bar " << j + 1;
        }
        const QPointF corner = m.Map(section.vertices[0].x, section.vertices[0].y);
        EXPECT_LT(DarkestNear(image, (corner / kTwipsPerPixel).toPoint()), 160);
        const QPointF centroid = m.Map(0, 0) / kTwipsPerPixel;
        EXPECT_EQ(image.pixelColor(centroid.toPoint()), QColor(Qt::white));
    }
    SectionGeometry point;
    point.nv = 3;
    EXPECT_FALSE(ComputeSectionMapping(point).valid);
}

template <class Window>
Window* Shown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(w); window && window->isVisible()) return window;
    return nullptr;
}

using Startup = testing::WindowTest;

// Splash for 1.8 s, then the background and the main window; closing the main window shows
// the exit window without asking, and half a second later every window is gone.
TEST_F(Startup, SplashMainWindowAndExit) {
    Program program;
    QElapsedTimer clock;
    clock.start();
    program.Start();
    EXPECT_NE(Shown<SplashWindow>(), nullptr);
    EXPECT_EQ(program.Main(), nullptr);

    ASSERT_TRUE(QTest::qWaitFor([&] { return program.Main() != nullptr; }, 5000));
    EXPECT_GE(clock.elapsed(), 1700);
    EXPECT_TRUE(program.Main()->isVisible());
    EXPECT_NE(Shown<BackgroundWindow>(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([] { return Shown<SplashWindow>() == nullptr; }, 1000));

    EXPECT_TRUE(program.Main()->close());
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_NE(Shown<ExitWindow>(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return Shown<ExitWindow>() == nullptr && Shown<BackgroundWindow>() == nullptr; },
        3000));
}

// Pairs with any of the separators, or the number of the first bad line and nothing read.
TEST(CoordinateText, PairsOrTheFirstBadLine) {
    const std::vector<GridRow> before = {{"1", "2"}};
    // Each text, the line first refused (0: read) and the rows it leaves.
    const std::tuple<const char*, int, std::vector<GridRow>> cases[] = {
        {"\xEF\xBB\xBF# barras\n4 4\r\n 21\t4\n\n4;25\n21 , 25\n-1.5e1 +3.\n",
         0,
         {{"4", "4"}, {"21", "4"}, {"4", "25"}, {"21", "25"}, {"-1.5e1", "+3."}}},
        {"", 0, {}},
        {"4 4\n12,5 3\n", 2, before},  // a decimal comma is a separator: three values
        {"4 4\n\n7\n", 3, before},
        {"4 4\nx 3\n", 2, before},
        {"1e 3\n", 1, before},
        {"1.2.3 4\n", 1, before},
        {"- 4\n", 1, before},
    };
    for (const auto& [text, badLine, left] : cases) {
        SCOPED_TRACE(text);
        std::vector<GridRow> rows = before;
        int line = 0;
        std::string error;
        const bool read = ParseCoordinateText(text, rows, line, error);
        EXPECT_EQ(read ? 0 : line, badLine);
        EXPECT_EQ(error.empty(), read);
        EXPECT_EQ(rows, left);
    }
}

// "Ler arquivo" of a polygon asks which table the file fills (Yes: the vertices); the bar count
// follows a file of bars; a file that cannot be read, or has the wrong number of rows, is named
// in a message and changes nothing.
TEST_F(MainWindowTest, ReadFromFileFillsATableWholeOrNotAtAll) {
    Field("barCountField")->setText("4");
    SectionWindow* section = window->Section();
    section->Prepare(SectionType::Polygonal, 3, 4);
    files.openName = Write("quatro.txt", "0 0\n60 0\n60 20\n0 20\n");
    presenter.answers = {true};
    testing::Click(section, "readFileButton");
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].kind, testing::RecordedBox::Question);
    EXPECT_EQ(section->VertexGrid()->DataRowCount(), 4);
    EXPECT_EQ(section->BarGrid()->Rows(), std::vector<GridRow>(4));

    presenter.boxes.clear();
    EXPECT_TRUE(
        section->ReadCoordinateFile(Write("b.txt", "4 4\n16 4\n4 36\n16 36\n10 20\n"), false));
    EXPECT_TRUE(presenter.boxes.empty());
    ASSERT_EQ(section->BarGrid()->DataRowCount(), 5);
    EXPECT_EQ(section->BarGrid()->CellText(4, 0), "5");
    EXPECT_EQ(section->BarGrid()->CellText(4, 1), "10");
    EXPECT_EQ(Text("barCountField"), "5");

    section->VertexGrid()->SetCellText(0, 1, "9");
    const std::vector<GridRow> vertices = section->VertexGrid()->Rows();
    const std::vector<GridRow> bars = section->BarGrid()->Rows();
    QByteArray many;
    for (int i = 0; i < 300; ++i)
        many += QByteArray::number(i) + " 1\n";
    // Each file and whether it is read as vertices.
    const std::pair<QString, bool> bad[] = {{Write("v.txt", "0 0\n60 0\n60 abc\n0 60\n"), true},
                                            {Write("dois.txt", "0 0\n1 1\n"), true},
                                            {Write("vazio.txt", "\n# nada\n"), false},
                                            {Write("muitos.txt", many), false},
                                            {dir.filePath("nao-existe.txt"), false}};
    for (const auto& [path, asVertices] : bad) {
        presenter.boxes.clear();
        EXPECT_FALSE(section->ReadCoordinateFile(path, asVertices));
        ASSERT_EQ(presenter.boxes.size(), 1u);
        EXPECT_TRUE(LastBox().contains(QFileInfo(path).fileName())) << LastBox().toStdString();
        EXPECT_EQ(section->VertexGrid()->Rows(), vertices);
        EXPECT_EQ(section->BarGrid()->Rows(), bars);
    }
}

}  // namespace
}  // namespace tarvelo::ui
