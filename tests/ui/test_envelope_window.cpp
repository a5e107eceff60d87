// The envelope window on a real column, and the envelope's table in the report's text.
#include <QCheckBox>
#include <QTabWidget>

#include "envelope_window.h"
#include "procedures/recording_host.h"
#include "report/report_envelope.h"
#include "report_render.h"
#include "report_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

using testing::ReadExample;

using EnvelopeFiles = testing::WindowTest;

// Both views: the picture in every format, and the points in the dialog's first form (the
// Portuguese spreadsheet's) carrying the very numbers of the international form. When the column
// is then changed so that a rule ends its run, the old drawing goes away and the message says why.
TEST_F(EnvelopeFiles, BothViewsSaveInEveryFormatUntilARuleEndsTheRun) {
    ColumnData data = ReadExample("poligonal-L.json");
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
    const ColumnData data = ReadExample("poligonal-L.json");
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
