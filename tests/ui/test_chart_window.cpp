// The load-deflection chart: what it draws from the curve's table, and its files.
#include <QLineSeries>
#include <QValueAxis>

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

// The drawn rows with 5 % on each side (an axis without extent opened to a readable range),
// the same on a second click; too few rows give the message, no window, the table untouched.
TEST_F(ChartWindowTest, RangesOfTheDrawnRows) {
    LoadDeflectionCurve axialOnly, cleared;
    axialOnly.Clear();
    cleared.Clear();  // every row at the origin
    for (int i = 0; i < 3; ++i)
        axialOnly.rows[i] = {0.0, 100.0 * i};
    // Each curve, its steps, and the ranges of its axes.
    const std::tuple<LoadDeflectionCurve, int, double, double, double, double> cases[] = {
        {FiveSteps(), 5, -0.3, 6.3, -2, 42},  // the never-drawn 99 does not count
        {axialOnly, 3, -1, 1, -10, 210},
        {cleared, 4, -1, 1, -1, 1}};
    for (auto [curve, steps, xmin, xmax, ymin, ymax] : cases) {
        SCOPED_TRACE(steps);
        ChartWindow w;
        ASSERT_TRUE(w.DrawCurve(curve, steps, false));
        const QList<QPointF> first = w.Series()->points();
        ASSERT_TRUE(w.DrawCurve(curve, steps, false));  // a second click
        EXPECT_EQ(w.Series()->points(), first);
        EXPECT_DOUBLE_EQ(w.AxisX()->min(), xmin);
        EXPECT_DOUBLE_EQ(w.AxisX()->max(), xmax);
        EXPECT_DOUBLE_EQ(w.AxisY()->min(), ymin);
        EXPECT_DOUBLE_EQ(w.AxisY()->max(), ymax);
    }
    EXPECT_TRUE(presenter.Texts().empty());
    ChartWindow none;
    LoadDeflectionCurve few = FiveSteps();
    EXPECT_FALSE(none.DrawCurve(few, 1, false));
    EXPECT_FALSE(none.isVisible());
    EXPECT_EQ(presenter.Texts().size(), 1);
    EXPECT_EQ(few.rows[5][0], 99);
}

// A free top mirrors rows 4 down to 1 into rows 6..9, over the step-5 row, and draws them. The
// points are saved in the Portuguese spreadsheet's form the dialog offers first, the chart in
// every format; write errors and a format it does not write are said, naming the file.
TEST_F(ChartWindowTest, FreeTopMirrorsTheTableAndSavesInEveryFormatOrSaysWhyNot) {
    ChartWindow w;
    LoadDeflectionCurve c = FiveSteps();
    c.rows[1][0] = 0.1;
    ASSERT_TRUE(w.DrawCurve(c, 5, true));
    EXPECT_EQ(c.rows[5], c.rows[3]);
    EXPECT_EQ(c.rows[8], c.rows[0]);
    EXPECT_EQ(c.rows[9], (std::array<double, 2>{0, 0}));
    EXPECT_EQ(w.Series()->points().value(5), QPointF(4, 30));
    EXPECT_DOUBLE_EQ(w.AxisY()->max(), 42.0);
    const auto save = [&](const char* button, const QString& name) {
        files.saveName = name.startsWith('/') ? name : dir.filePath(name);
        testing::Click(&w, button);
        return Saved(files.saveName);
    };
    EXPECT_EQ(QString::fromUtf8(save("savePointsButton", "pontos.csv")),
              "Flecha no topo (mm);Força normal (kN)\n0;0\n0,1;10\n2,5;20\n4;30\n6;40\n");
    EXPECT_TRUE(save("saveChartButton", "grafico.png").startsWith("\x89PNG"));
    EXPECT_TRUE(save("saveChartButton", "grafico.svg").startsWith("<?xml"));
    EXPECT_TRUE(save("saveChartButton", "grafico.pdf").startsWith("%PDF"));
    EXPECT_TRUE(presenter.Texts().empty());

    save("savePointsButton", "/nonexistent-folder/pontos.csv");
    save("saveChartButton", "/nonexistent-folder/grafico.png");
    EXPECT_TRUE(save("saveChartButton", "grafico.jpg").isEmpty());
    ASSERT_EQ(presenter.Texts().size(), 3u);
    EXPECT_TRUE(presenter.Texts()[0].contains("/nonexistent-folder/pontos.csv"));
    EXPECT_TRUE(presenter.Texts()[1].contains("/nonexistent-folder/grafico.png"));
    EXPECT_TRUE(presenter.Texts()[2].contains(".png, .svg ou .pdf"));
}

}  // namespace
}  // namespace tarvelo::ui
