// Key filters: the code each filter leaves for a key, and what typing leaves in the fields of the
// main window and the cells of a coordinate grid.
#include "coordinate_grid.h"
#include "section_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

using testing::WindowTest;

class KeyFilters : public WindowTest {};

// Each filter in a field: a comma becomes a point, what the filter refuses beeps once.
TEST_F(KeyFilters, TypingIntoTheMainWindowsFields) {
    const struct {
        const char* field;
        const char* keys;
        const char* text;
        int beeps;
    } cases[] = {{"creepField", "2,5", "2.5", 0},  // creep coefficient: the comma becomes a point
                 {"creepField", "1eA5", "15", 2},  // no exponent, no letters
                 {"fckField", "-1", "1", 1},       // fck takes no sign
                 {"barCountField", "1/2,", "12", 2},  // the bar count takes digits only
                 {"fckField", "255", "25", 0},        // no more than the field's length
                 {"steelAreaField", "12.3456", "12.34", 0},
                 {"safetyField", "12", "", 0},  // the result fields are read-only
                 {"minimumSteelField", "12", "", 0}};
    MainWindow window;
    for (const auto& c : cases) {
        beeps = 0;
        QLineEdit* field = window.findChild<QLineEdit*>(c.field);
        field->clear();
        QTest::keyClicks(field, c.keys);
        EXPECT_EQ(field->text(), c.text) << c.field << " " << c.keys;
        EXPECT_EQ(beeps, c.beeps) << c.field << " " << c.keys;
    }
}

// Cells take keys through the signed filter and the editing keys edit without a beep; Delete
// empties a cell (its text was once a single blank, which the report printed as a coordinate).
// The number column never holds the cursor.
TEST_F(KeyFilters, TypingIntoAGridCell) {
    SectionWindow window;
    window.Prepare(SectionType::RectangularSolid, 0, 4);
    CoordinateGrid* grid = window.BarGrid();
    grid->setCurrentCell(0, 1);
    QTest::keyClicks(grid, "+12,5a");
    EXPECT_EQ(grid->CellText(0, 1), "12.5");
    EXPECT_EQ(beeps, 2);
    QTest::keyClick(grid, Qt::Key_Backspace);
    EXPECT_EQ(grid->CellText(0, 1), "12.");
    QTest::keyClick(grid, Qt::Key_Delete);
    ColumnData data;
    window.Collect(data);
    EXPECT_EQ(data.bars[0].x, "");
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid->CellText(0, 1), "12.");

    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(grid->currentColumn(), 2);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClicks(grid, "-3");
    EXPECT_EQ(grid->CellText(1, 2), "-3");
    grid->setCurrentCell(1, 0);
    QTest::keyClicks(grid, "7");
    EXPECT_EQ(grid->CellText(1, 1), "7");
    EXPECT_EQ(beeps, 2);

    // OK cuts texts longer than nine characters to eight.
    grid->SetCellText(0, 1, "12.3456789");
    grid->SetCellText(0, 2, "12.345678");
    grid->SetCellText(3, 2, "-1234567890");
    window.findChild<QPushButton*>("okButton")->click();
    EXPECT_EQ(grid->CellText(0, 1), "12.34567");
    EXPECT_EQ(grid->CellText(0, 2), "12.345678");
    EXPECT_EQ(grid->CellText(3, 2), "-1234567");
}

}  // namespace
}  // namespace tarvelo::ui
