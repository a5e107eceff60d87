#include <gtest/gtest.h>

#include <QChart>
#include <QFile>
#include <QLineSeries>
#include <QPushButton>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QtTest/QTest>
#include <vector>

#include "chart_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

class ChartWindowTest : public testing::WindowTest {};

// Rows 1..5 of a verification that stopped in step 5, and row 6 = step 5, never drawn.
LoadDeflectionCurve FiveSteps() {
    LoadDeflectionCurve c;
    c.Clear();
    const double rows[6][2] = {{0, 0}, {1, 10}, {2.5, 20}, {4, 30}, {6, 40}, {99, 50}};
    for (int i = 0; i < 6; ++i)
        c.rows[i] = {rows[i][0], rows[i][1]};
    return c;
}

std::vector<QPointF> Points(const ChartWindow& w) {
    const QList<QPointF> p = w.Series()->points();
    return {p.begin(), p.end()};
}

TEST_F(ChartWindowTest, MirroredTableAndRangesForAFreeTop) {
    ChartWindow w;
    LoadDeflectionCurve c = FiveSteps();
    ASSERT_TRUE(w.DrawCurve(c, 5, true));
    // Rows 6..9 now hold rows 4 down to 1; the step-5 row is overwritten.
    EXPECT_EQ(c.rows[5], c.rows[3]);
    EXPECT_EQ(c.rows[8], c.rows[0]);
    EXPECT_EQ(c.rows[9], (std::array<double, 2>{0, 0}));
    const std::vector<QPointF> p = Points(w);
    ASSERT_EQ(p.size(), 1000u);
    EXPECT_EQ(p[5], QPointF(4, 30));
    // Rows 1..5 plus 5 % on each side; the overwritten 99 never counted.
    EXPECT_DOUBLE_EQ(w.AxisX()->min(), -0.3);
    EXPECT_DOUBLE_EQ(w.AxisX()->max(), 6.3);
    EXPECT_DOUBLE_EQ(w.AxisY()->min(), -2.0);
    EXPECT_DOUBLE_EQ(w.AxisY()->max(), 42.0);
}

TEST_F(ChartWindowTest, PinnedTopAndSecondClickDrawTheSameChart) {
    ChartWindow w;
    LoadDeflectionCurve c = FiveSteps();
    ASSERT_TRUE(w.DrawCurve(c, 5, false));
    const std::vector<QPointF> first = Points(w);
    const double xmin = w.AxisX()->min(), ymax = w.AxisY()->max();
    ASSERT_TRUE(w.DrawCurve(c, 5, false));
    EXPECT_EQ(Points(w), first);
    EXPECT_EQ(w.AxisX()->min(), xmin);
    EXPECT_EQ(w.AxisY()->max(), ymax);
    EXPECT_TRUE(presenter.Texts().empty());
    // Too few points: the message, no window, the table left alone.
    ChartWindow none;
    LoadDeflectionCurve few = FiveSteps();
    EXPECT_FALSE(none.DrawCurve(few, 1, false));
    EXPECT_FALSE(none.isVisible());
    EXPECT_EQ(presenter.Texts().size(), 1);
    EXPECT_EQ(few.rows[5][0], 99);
}

TEST_F(ChartWindowTest, EqualValuesGetAReadableRange) {
    ChartWindow w;
    LoadDeflectionCurve c;
    c.Clear();
    for (int i = 0; i < 3; ++i)
        c.rows[i] = {0.0, 100.0 * i};  // axial load only: no deflection
    ASSERT_TRUE(w.DrawCurve(c, 3, false));
    EXPECT_DOUBLE_EQ(w.AxisX()->max(), 1.0);
    EXPECT_DOUBLE_EQ(w.AxisY()->min(), -10.0);
    // A cleared curve (all rows at the origin) opens both axes around zero.
    LoadDeflectionCurve cleared;
    cleared.Clear();
    ASSERT_TRUE(w.DrawCurve(cleared, 4, false));
    EXPECT_DOUBLE_EQ(w.AxisY()->min(), -1.0);
    EXPECT_DOUBLE_EQ(w.AxisY()->max(), 1.0);
}

TEST_F(ChartWindowTest, SavesPointsAndChartInEveryFormatOrSaysWhyNot) {
    QTemporaryDir dir;
    ChartWindow w;
    LoadDeflectionCurve c = FiveSteps();
    c.rows[1][0] = 0.1;
    ASSERT_TRUE(w.DrawCurve(c, 5, true));
    const auto read = [&] {
        QFile f(files.saveName);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const auto save = [&](const char* button, const QString& name) {
        files.saveName = name.startsWith('/') ? name : dir.filePath(name);
        QTest::mouseClick(w.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
        return read();
    };
    // The dialog offers the Portuguese spreadsheet's form first; the other is one choice away.
    EXPECT_EQ(QString::fromUtf8(save("savePointsButton", "pontos.csv")),
              QString::fromUtf8("Flecha no topo (mm);Força normal (kN)\n0;0\n0,1;10\n2,5;20\n"
                                "4;30\n6;40\n"));
    QString error;
    ASSERT_TRUE(w.SavePoints(files.saveName, ChartWindow::PointsFormat::CommaDecimalPoint, error));
    EXPECT_EQ(QString::fromUtf8(read()),
              QString::fromUtf8("Flecha no topo (mm),Força normal (kN)\n0,0\n0.1,10\n2.5,20\n"
                                "4,30\n6,40\n"));
    EXPECT_TRUE(save("saveChartButton", "grafico.png").startsWith("\x89PNG"));
    EXPECT_TRUE(save("saveChartButton", "grafico.svg").startsWith("<?xml"));
    EXPECT_TRUE(save("saveChartButton", "grafico.pdf").startsWith("%PDF"));
    EXPECT_TRUE(presenter.Texts().empty());

    // Write errors are shown, naming the file; a format it does not write is refused.
    save("savePointsButton", "/nonexistent-folder/pontos.csv");
    save("saveChartButton", "/nonexistent-folder/grafico.png");
    EXPECT_TRUE(save("saveChartButton", "grafico.jpg").isEmpty());
    ASSERT_EQ(presenter.Texts().size(), 3u);
    EXPECT_TRUE(presenter.Texts()[0].contains(QStringLiteral("/nonexistent-folder/pontos.csv")));
    EXPECT_TRUE(presenter.Texts()[2].contains(QStringLiteral(".png, .svg ou .pdf")));
}

}  // namespace
}  // namespace tarvelo::ui
