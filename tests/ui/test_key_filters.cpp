// Key filters in the cells of a coordinate grid: what typing, pasting, dropping and the editing
// keys leave there (the fields of the main window are tested in test_desktop_editing.cpp).
#include <QClipboard>

#include "coordinate_grid.h"
#include "section_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

using KeyFilters = testing::WindowTest;

// Cells take keys, pastes and drops through the signed filter (one beep per refused key or per
// paste that lost characters) and the editing keys edit without a beep; Delete empties a cell
// (its text was once a single blank, which the report printed as a coordinate). The number
// column never holds the cursor.
TEST_F(KeyFilters, TypingAndPastingIntoAGridCell) {
    SectionWindow window;
    window.Prepare(SectionType::RectangularSolid, 0, 4);
    window.show();
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
    grid->setCurrentCell(2, 1);
    QGuiApplication::clipboard()->setText("-1,5cm");
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid->CellText(2, 1), "-1.5");
    testing::Drop(grid->viewport(), grid->visualItemRect(grid->item(2, 2)).center(), "7x");
    EXPECT_EQ(grid->CellText(2, 2), "7");
    EXPECT_EQ(beeps, 4);

    // OK cuts texts longer than nine characters to eight.
    grid->SetRows({{"12.3456789", "12.345678"}, {}, {}, {"", "-1234567890"}});
    testing::Click(&window, "okButton");
    EXPECT_EQ(grid->Rows(),
              (std::vector<GridRow>{{"12.34567", "12.345678"}, {}, {}, {"", "-1234567"}}));
}

}  // namespace
}  // namespace tarvelo::ui
