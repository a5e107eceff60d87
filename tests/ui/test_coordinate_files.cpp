// Coordinates read from text files into the tables of the section window.
#include <QFileInfo>

#include "coordinate_file.h"
#include "coordinate_grid.h"
#include "section_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

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

using ReadFromFile = testing::MainWindowTest;

// "Ler arquivo" of a polygon asks which table the file fills (Yes: the vertices); the bar count
// follows a file of bars; a file that cannot be read, or has the wrong number of rows, is named
// in a message and changes nothing.
TEST_F(ReadFromFile, FillsATableWholeOrNotAtAll) {
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
