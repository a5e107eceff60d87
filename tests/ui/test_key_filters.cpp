#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "coordinate_grid.h"
#include "main_window.h"
#include "section_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

using testing::WindowTest;

// The filters alone: the code each one leaves, and whether it beeped.
TEST(KeyFilterCodes, AcceptReplaceOrDiscardWithOneBeep) {
    int beeps = 0;
    SetBeepHandler([&beeps] { ++beeps; });
    struct Case {
        KeyFilterKind kind;
        char16_t in;
        char16_t out;
    };
    const Case cases[] = {
        {KeyFilterKind::Decimal, u',', u'.'},
        {KeyFilterKind::Decimal, u'.', u'.'},
        {KeyFilterKind::Decimal, u'0', u'0'},
        {KeyFilterKind::Decimal, u'9', u'9'},
        {KeyFilterKind::Decimal, u'-', 0},
        {KeyFilterKind::Decimal, u'/', 0},
        {KeyFilterKind::Decimal, 8, 0},
        {KeyFilterKind::Decimal, u'e', 0},
        {KeyFilterKind::SignedDecimal, u',', u'.'},
        {KeyFilterKind::SignedDecimal, u'-', u'-'},
        {KeyFilterKind::SignedDecimal, u'/', 0},
        {KeyFilterKind::SignedDecimal, u'+', 0},
        {KeyFilterKind::SignedDecimal, 13, 0},
        {KeyFilterKind::Digit, u'7', u'7'},
        {KeyFilterKind::Digit, u',', 0},
        {KeyFilterKind::Digit, u'.', 0},
        {KeyFilterKind::Digit, u'/', 0},
        {KeyFilterKind::Digit, u'-', 0},
        {KeyFilterKind::Decimal, u'é', 0},
    };
    for (const Case& c : cases) {
        beeps = 0;
        char16_t code = c.in;
        ApplyKeyFilter(c.kind, code);
        EXPECT_EQ(code, c.out) << "code " << static_cast<int>(c.in);
        EXPECT_EQ(beeps, c.out == 0 ? 1 : 0) << "code " << static_cast<int>(c.in);
    }
    SetBeepHandler(nullptr);
}

class MainWindowKeys : public WindowTest {
  protected:
    QLineEdit* Field(const char* name) { return window.findChild<QLineEdit*>(name); }
    MainWindow window;
};

TEST_F(MainWindowKeys, CommaBecomesPointInTheCreepField) {
    QLineEdit* creep = Field("creepField");
    creep->clear();
    QTest::keyClicks(creep, "2,5");
    EXPECT_EQ(creep->text(), "2.5");
    EXPECT_EQ(beeps, 0);
}

TEST_F(MainWindowKeys, MinusIsRefusedInFckWithOneBeep) {
    QLineEdit* fck = Field("fckField");
    fck->clear();
    QTest::keyClicks(fck, "-1");
    EXPECT_EQ(fck->text(), "1");
    EXPECT_EQ(beeps, 1);
}

TEST_F(MainWindowKeys, SlashIsRefusedInTheBarCountWithOneBeep) {
    QLineEdit* bars = Field("barCountField");
    QTest::keyClicks(bars, "1/2");
    EXPECT_EQ(bars->text(), "12");
    EXPECT_EQ(beeps, 1);
    // The digit filter does not turn a comma into a point.
    QTest::keyClicks(bars, ",");
    EXPECT_EQ(bars->text(), "12");
    EXPECT_EQ(beeps, 2);
}

TEST_F(MainWindowKeys, FieldsAcceptNoMoreThanTheirLength) {
    QLineEdit* fck = Field("fckField");
    fck->clear();
    QTest::keyClicks(fck, "255");
    EXPECT_EQ(fck->text(), "25");
    QLineEdit* area = Field("steelAreaField");
    QTest::keyClicks(area, "12.3456");
    EXPECT_EQ(area->text(), "12.34");
}

TEST_F(MainWindowKeys, ResultFieldsAreLockedAndLightCyan) {
    for (const char* name : {"safetyField", "requiredSteelField", "minimumSteelField"}) {
        QLineEdit* field = Field(name);
        ASSERT_NE(field, nullptr) << name;
        EXPECT_TRUE(field->isReadOnly()) << name;
        EXPECT_EQ(field->palette().color(QPalette::Base), QColor(192, 255, 255)) << name;
        EXPECT_EQ(field->alignment(), Qt::AlignCenter) << name;
        QTest::keyClicks(field, "12");
        EXPECT_TRUE(field->text().isEmpty()) << name;
    }
}

class GridKeys : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window.Prepare(SectionType::RectangularSolid, 0, 4);
        grid = window.BarGrid();
        grid->setCurrentCell(0, 1);
    }
    SectionWindow window;
    CoordinateGrid* grid = nullptr;
};

TEST_F(GridKeys, TypingAppendsToTheCurrentCellThroughTheSignedFilter) {
    QTest::keyClicks(grid, "12,5");
    EXPECT_EQ(grid->CellText(0, 1), "12.5");
    EXPECT_EQ(beeps, 0);
    QTest::keyClicks(grid, "a");
    EXPECT_EQ(grid->CellText(0, 1), "12.5");
    EXPECT_EQ(beeps, 1);
    grid->setCurrentCell(1, 2);
    QTest::keyClicks(grid, "-3");
    EXPECT_EQ(grid->CellText(1, 2), "-3");
}

TEST_F(GridKeys, ArrowsMoveAndTheNumberColumnNeverHoldsTheCursor) {
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(grid->currentColumn(), 2);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->currentRow(), 1);
    grid->setCurrentCell(1, 0);
    EXPECT_EQ(grid->currentColumn(), 1);
    QTest::keyClicks(grid, "7");
    EXPECT_EQ(grid->CellText(1, 1), "7");
    EXPECT_EQ(grid->CellText(1, 0), "2");
}

TEST_F(GridKeys, OkCutsTextsLongerThanNineCharactersToEight) {
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
