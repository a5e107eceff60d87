#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "coordinate_file.h"
#include "coordinate_grid.h"
#include "main_window.h"
#include "section_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

TEST(CoordinateText, ReadsPairsWithAnyOfTheSeparators) {
    std::vector<GridRow> rows;
    int line = 0;
    std::string error;
    ASSERT_TRUE(ParseCoordinateText(
        "\xEF\xBB\xBF# barras\n4 4\r\n 21\t4\n\n4;25\n21 , 25\n-1.5e1 +3.\n", rows, line, error))
        << error;
    const std::vector<GridRow> expected = {
        {"4", "4"}, {"21", "4"}, {"4", "25"}, {"21", "25"}, {"-1.5e1", "+3."}};
    EXPECT_EQ(rows, expected);
    ASSERT_TRUE(ParseCoordinateText("", rows, line, error));
    EXPECT_TRUE(rows.empty());
}

TEST(CoordinateText, ABadLineIsReportedByNumberAndNothingIsRead) {
    const std::vector<GridRow> before = {{"1", "2"}};
    struct Case {
        const char* text;
        int line;
    };
    const Case cases[] = {
        {"4 4\n12,5 3\n", 2},  // a decimal comma is a separator: three values
        {"4 4\n\n7\n", 3},    {"4 4\nx 3\n", 2}, {"1e 3\n", 1}, {"1.2.3 4\n", 1}, {"- 4\n", 1},
    };
    for (const Case& c : cases) {
        std::vector<GridRow> rows = before;
        int line = 0;
        std::string error;
        EXPECT_FALSE(ParseCoordinateText(c.text, rows, line, error)) << c.text;
        EXPECT_EQ(line, c.line) << c.text;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(rows, before);
    }
}

class ReadFromFile : public testing::WindowTest {
  protected:
    QString Write(const char* name, const QByteArray& text) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(ReadFromFile, FillsTheBarTableAndTheCountFollowsTheFile) {
    MainWindow window;
    window.findChild<QLineEdit*>("barCountField")->setText("4");
    SectionWindow* section = window.Section();
    section->Prepare(SectionType::RectangularSolid, 0, 4);
    EXPECT_TRUE(
        section->ReadCoordinateFile(Write("b.txt", "4 4\n16 4\n4 36\n16 36\n10 20\n"), false));
    EXPECT_TRUE(presenter.boxes.empty());
    ASSERT_EQ(section->BarGrid()->DataRowCount(), 5);
    EXPECT_EQ(section->BarGrid()->CellText(4, 1), "10");
    EXPECT_EQ(section->BarGrid()->CellText(4, 0), "5");
    EXPECT_EQ(window.findChild<QLineEdit*>("barCountField")->text(), "5");
}

TEST_F(ReadFromFile, ABadFileChangesNothing) {
    SectionWindow section;
    section.Prepare(SectionType::Polygonal, 3, 4);
    section.VertexGrid()->SetCellText(0, 1, "9");
    const std::vector<GridRow> vertices = section.VertexGrid()->Rows();
    EXPECT_FALSE(section.ReadCoordinateFile(Write("v.txt", "0 0\n60 0\n60 abc\n0 60\n"), true));
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_TRUE(presenter.boxes[0].text.startsWith("Erro na linha 3 do arquivo \"v.txt\""));
    EXPECT_EQ(section.VertexGrid()->Rows(), vertices);

    EXPECT_FALSE(section.ReadCoordinateFile(Write("dois.txt", "0 0\n1 1\n"), true));
    EXPECT_FALSE(section.ReadCoordinateFile(Write("vazio.txt", "\n# nada\n"), false));
    QByteArray many;
    for (int i = 0; i < 300; ++i)
        many += QByteArray::number(i) + " 1\n";
    EXPECT_FALSE(section.ReadCoordinateFile(Write("muitos.txt", many), false));
    EXPECT_FALSE(section.ReadCoordinateFile(dir.filePath("nao-existe.txt"), false));
    EXPECT_EQ(presenter.boxes.size(), 5u);
    EXPECT_EQ(section.VertexGrid()->Rows(), vertices);
    EXPECT_EQ(section.BarGrid()->DataRowCount(), 4);
}

TEST_F(ReadFromFile, PolygonsAskWhichTableTheFileFills) {
    SectionWindow section;
    section.Prepare(SectionType::Polygonal, 3, 4);
    files.openName = Write("v.txt", "0 0\n60 0\n60 20\n0 20\n");
    presenter.answers = {true};
    section.findChild<QPushButton*>("readFileButton")->click();
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].kind, testing::RecordedBox::Question);
    EXPECT_EQ(section.VertexGrid()->DataRowCount(), 4);
    EXPECT_EQ(section.BarGrid()->Rows(), std::vector<GridRow>(4));
}

}  // namespace
}  // namespace tarvelo::ui
