// Writes pictures of the chart window, the report dialog, a preview page and the first page of
// the PDF into the folder named by TARVELO_SCREENS_DIR (docs/screens); skipped without it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "chart_window.h"
#include "procedures/column_file.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "report_render.h"
#include "report_window.h"

namespace tarvelo::ui {
namespace {

TEST(ReportScreens, WritesThePictures) {
    const QString dir = QString::fromLocal8Bit(qgetenv("TARVELO_SCREENS_DIR"));
    if (dir.isEmpty()) GTEST_SKIP() << "set TARVELO_SCREENS_DIR to write the pictures";
    QDir().mkpath(dir);

    // A real verification of an example column.
    ReportSnapshot s;
    std::string error;
    ASSERT_TRUE(ReadColumnFile(std::string(TARVELO_EXAMPLES) + "/retangular-esbelto-biaxial.json",
                               s.data, error))
        << error;
    RecordingHost host;
    const auto result = Verify(s.data, host);
    ASSERT_TRUE(result->completed);
    s.safetyText = result->safetyText;
    s.requiredText.clear();  // the result fields a verification leaves
    s.minimumText.assign(1, ' ');
    s.hasSectionConstants = result->hasSectionConstants;
    s.sectionConstants = result->sectionConstants;
    s.hasCurve = true;
    s.curve = result->curve;
    s.curvePoints = result->reachedStep;
    s.topFree = s.data.topSupport == SupportCondition::Free;

    ChartWindow chart;
    LoadDeflectionCurve curve = s.curve;
    ASSERT_TRUE(chart.DrawCurve(curve, s.curvePoints, s.topFree));
    QTest::qWait(50);
    EXPECT_TRUE(chart.grab().save(dir + QStringLiteral("/chart-window.png")));

    ReportWindow report;
    report.Open([&] { return s; });
    QTest::qWait(50);
    EXPECT_TRUE(report.grab().save(dir + QStringLiteral("/report-dialog.png")));
    QTest::mouseClick(report.findChild<QPushButton*>(QStringLiteral("previewButton")),
                      Qt::LeftButton);
    QTest::qWait(50);
    EXPECT_TRUE(report.grab().save(dir + QStringLiteral("/report-preview.png")));

    QTemporaryDir tmp;
    const QString pdf = tmp.filePath(QStringLiteral("relatorio.pdf"));
    QString pdfError;
    ASSERT_TRUE(WriteReportPdf(s, pdf, pdfError)) << pdfError.toStdString();
    QProcess::execute(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("70"),
         QStringLiteral("-singlefile"), pdf, dir + QStringLiteral("/report-pdf-page1")});
    QProcess::execute(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("70"), QStringLiteral("-f"),
         QString::number(PrintedReport(s).Pages().size()), QStringLiteral("-singlefile"), pdf,
         dir + QStringLiteral("/report-pdf-chart-page")});
    EXPECT_TRUE(QFile::exists(dir + QStringLiteral("/report-pdf-page1.png")));
}

}  // namespace
}  // namespace tarvelo::ui
