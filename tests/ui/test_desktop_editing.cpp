// What a user of any desktop program expects: text enters a field or a coordinate cell only
// through its filter, unsaved changes are never lost without a question, and Qt's own boxes and
// menus speak Portuguese.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <functional>

#include "coordinate_grid.h"
#include "section_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

using testing::Drop;
using testing::MainWindowTest;

// Each way in, typed or pasted, into a field of each filter: only what the filter accepts arrives
// (a comma as a point, no more than the field's length, nothing into a result field), with one beep
// per refused key or per paste that lost characters.
TEST_F(MainWindowTest, EverythingTypedOrPastedGoesThroughTheFilter) {
    ReportWindow report;
    report.show();
    std::vector<std::function<void(QLineEdit*)>> paths = {
        [](QLineEdit* f) { QTest::keyClicks(f, QGuiApplication::clipboard()->text()); },
        [](QLineEdit* f) { QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier); },
        [](QLineEdit* f) { QTest::keyClick(f, Qt::Key_Insert, Qt::ShiftModifier); },
        [](QLineEdit* f) { Drop(f, f->rect().center(), QGuiApplication::clipboard()->text()); },
        [](QLineEdit* f) {  // "Colar" of the field's menu
            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, f->rect().center(),
                                        f->mapToGlobal(f->rect().center()));
            QCoreApplication::sendEvent(f, &menuEvent);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* item : menu->actions())
                if (item->text().startsWith(QLineEdit::tr("&Paste"))) item->trigger();
            menu->close();
        },
    };
    // The middle button pastes the selection where there is one (X11, not the offscreen
    // platform).
    if (QGuiApplication::clipboard()->supportsSelection()) {
        paths.push_back([](QLineEdit* f) {
            QClipboard* clipboard = QGuiApplication::clipboard();
            clipboard->setText(clipboard->text(), QClipboard::Selection);
            QTest::mouseClick(f, Qt::MiddleButton, {}, f->rect().center());
        });
    }
    const struct {
        QLineEdit* field;
        const char* text;
        const char* arrives;
        int typedBeeps, pastedBeeps;
    } cases[] = {{Field("creepField"), "2,5", "2.5", 0, 0},  // decimal
                 {Field("creepField"), "1eA5", "15", 2, 1},  // no exponent, no letters
                 {Field("fckField"), "-1", "1", 1, 1},       // no sign
                 {Field("fckField"), "255", "25", 0, 0},
                 {Field("steelAreaField"), "12.3456", "12.34", 0, 0},
                 {Field("barCountField"), "1/2,", "12", 2, 1},  // digits
                 {report.findChild<QLineEdit*>("copiesField"), "1A", "1", 1, 1},
                 {Field("safetyField"), "12", "", 0, 0},
                 {Field("minimumSteelField"), "12", "", 0, 0}};
    for (std::size_t p = 0; p < paths.size(); ++p) {
        for (const auto& c : cases) {
            SCOPED_TRACE("path " + std::to_string(p) + ", " + c.field->objectName().toStdString() +
                         ", " + c.text);
            c.field->clear();
            QGuiApplication::clipboard()->setText(QString::fromUtf8(c.text));
            beeps = 0;
            paths[p](c.field);
            EXPECT_EQ(c.field->text(), c.arrives);
            EXPECT_EQ(beeps, p == 0 ? c.typedBeeps : c.pastedBeeps);
        }
    }
}

// No changes: "Sair" asks with No as default. Changes: Yes saves and goes on, No goes on without
// saving, Cancel stays; for "Abrir", "Sair" and the window's close button alike, and never
// "Deseja sair do programa?" on top of the save question.
TEST_F(MainWindowTest, UnsavedChangesAreNeverLostWithoutAQuestion) {
    Trigger(window->Actions().exit);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_TRUE(presenter.boxes[0].defaultNo);
    EXPECT_EQ(exits, 0);
    presenter.boxes.clear();

    const auto change = [this] { Field("fckField")->setText("27"); };
    change();
    EXPECT_TRUE(window->isWindowModified());
    Field("fckField")->setText("20");  // back as started
    EXPECT_FALSE(window->isWindowModified());
    change();

    files.openName = testing::ExamplePath("poligonal-L.json");
    presenter.saveAnswers = {SaveAnswer::Cancel};
    Trigger(window->Actions().open);
    EXPECT_EQ(files.asked, 0);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(exits, 0);

    files.saveName = dir.filePath("meu.json");
    presenter.saveAnswers = {SaveAnswer::Save};
    Trigger(window->Actions().open);
    EXPECT_EQ(files.asked, 2);  // the save dialog, then the open dialog
    EXPECT_TRUE(QFile::exists(files.saveName));
    EXPECT_FALSE(window->isWindowModified());

    change();
    presenter.saveAnswers = {SaveAnswer::Discard};
    Trigger(window->Actions().exit);
    EXPECT_EQ(presenter.boxes.back().text, "Salvar as alterações em \"poligonal-L.json\"?");
    EXPECT_EQ(exits, 1);
    presenter.saveAnswers = {SaveAnswer::Discard};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(exits, 2);
    for (const testing::RecordedBox& box : presenter.boxes)
        EXPECT_EQ(box.kind, testing::RecordedBox::AskSave);
}

// Qt's own texts in Portuguese: the standard buttons of the boxes and the fields' menus.
TEST(Portuguese, StandardButtonsAndMenus) {
    auto texts = [](const auto& items) {
        QStringList list;
        for (const auto* item : items)
            list << item->text().remove('&');
        list.sort();
        return list.join('|');
    };
    EXPECT_EQ(texts(QuestionBox(nullptr, "TARVELO", "?", true)->buttons()), "Não|Sim");
    EXPECT_EQ(texts(SaveBox(nullptr, "TARVELO", "?")->buttons()), "Cancelar|Não|Sim");
    QLineEdit field;
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    EXPECT_TRUE(texts(menu->actions()).contains("Colar")) << texts(menu->actions()).toStdString();
}

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
