// The windows of results: the load-deflection chart (what it draws from the curve's table, and its
// files), the envelope window on a real column, and the envelope's table in the report's text.
#include <QCheckBox>
#include <QLineSeries>
#include <QTabWidget>
#include <QValueAxis>

#include "chart_window.h"
#include "envelope_window.h"
#include "procedures/recording_host.h"
#include "report/report_envelope.h"
#include "report_render.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

using EnvelopeFiles = testing::WindowTest;
using ChartWindowTest = testing::WindowTest;

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

// Both views: the picture in every format, and the points in the dialog's first form (the
// Portuguese spreadsheet's) carrying the very numbers of the international form. When the column
// is then changed so that a rule ends its run, the old drawing goes away and the message says why.
TEST_F(EnvelopeFiles, BothViewsSaveInEveryFormatUntilARuleEndsTheRun) {
    ColumnData data = testing::ReadExample("poligonal-L.json");
    EnvelopeWindow window;
    ASSERT_TRUE(window.ShowEnvelope(data, EnvelopeSource::Verification));
    EXPECT_TRUE(window.isVisible());
    for (int view : {0, 1}) {
        window.Views()->setCurrentIndex(view);
        for (const char* suffix : {"png", "svg", "pdf"}) {
            const QString name = QStringLiteral("v%1.%2").arg(view).arg(suffix);
            QString error;
            EXPECT_TRUE(window.SaveChart(dir.filePath(name), error)) << error.toStdString();
            EXPECT_GT(Saved(name).size(), 1000) << name.toStdString();
        }
        files.saveName = dir.filePath(QStringLiteral("pt%1").arg(view));  // ".csv" is added
        for (QPushButton* b : window.findChildren<QPushButton*>())
            if (b->text() == QLatin1String("Salvar pontos")) b->click();
        QString error;
        ASSERT_TRUE(
            window.SavePoints(dir.filePath("en.csv"), error, PointsFormat::CommaDecimalPoint));
        const QByteArray portuguese = Saved(QStringLiteral("pt%1.csv").arg(view));
        EXPECT_EQ(portuguese.count('\n'), view == 0 ? 1 + 72 : 1 + 81);
        EXPECT_FALSE(portuguese.mid(portuguese.indexOf('\n')).contains('.')) << view;
        EXPECT_EQ(QByteArray(portuguese).replace(',', '.').replace(';', ','), Saved("en.csv"));
    }
    EXPECT_TRUE(presenter.Texts().empty());

    data.L = "0";
    EXPECT_FALSE(window.ShowEnvelope(data, EnvelopeSource::Verification));
    EXPECT_FALSE(window.isVisible());
    ASSERT_EQ(presenter.Texts().size(), 1u);
    EXPECT_GT(presenter.Texts()[0].count(QLatin1Char('\n')), 1)
        << presenter.Texts()[0].toStdString();
}

// Ticked after a completed run, the text report is today's followed by the envelope's table;
// unticked, or after a run that did not complete, it is today's.
TEST_F(EnvelopeFiles, ReportEndsWithTheTableOnlyWhenAsked) {
    const ColumnData data = testing::ReadExample("poligonal-L.json");
    RecordingHost quiet;
    report::RunRecord runs;
    runs.Record(*Verify(data, quiet), false);
    const ReportSnapshot snapshot = report::MakeReportSnapshot(data, {}, runs);
    QString error;
    ASSERT_TRUE(WriteReportTextFile(snapshot, dir.filePath("today.txt"), error));
    const QByteArray today = Saved("today.txt");
    const QByteArray table = QByteArray::fromStdString(
        report::EnvelopeText(*RunEnvelope(CasesOf(data), EnvelopeSource::Verification, quiet)));
    ReportWindow window;
    files.saveName = dir.filePath("r.txt");
    for (const auto& [ready, click, expected] :
         {std::tuple{true, false, today}, {true, true, today + table}, {false, true, today}}) {
        window.Open([&] { return snapshot; }, ready);
        auto* box = window.findChild<QCheckBox*>("envelopeBox");
        if (click) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        testing::Click(&window, "saveTextButton");
        EXPECT_EQ(Saved("r.txt"), expected) << ready << click;
    }
}

}  // namespace
}  // namespace tarvelo::ui
