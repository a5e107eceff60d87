// The envelope window on real columns: its pictures and points are written in every format,
// and with TARVELO_SCREENS_DIR set (docs/screens) it writes the rectangle's and the L's windows.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "envelope_window.h"
#include "procedures/column_file.h"

namespace tarvelo::ui {
namespace {

ColumnData Example(const char* name) {
    ColumnData data;
    std::string error;
    EXPECT_TRUE(ReadColumnFile(std::string(TARVELO_EXAMPLES) + "/" + name, data, error)) << error;
    return data;
}

TEST(EnvelopeWindow, SavesBothViewsInEveryFormat) {
    EnvelopeWindow window;
    ASSERT_TRUE(window.Prepare(Example("poligonal-L.json"), EnvelopeSource::Verification));
    QTemporaryDir dir;
    for (int view : {0, 1}) {
        window.Views()->setCurrentIndex(view);
        for (const char* suffix : {"png", "svg", "pdf"}) {
            const QString path = dir.filePath(QStringLiteral("v%1.%2").arg(view).arg(suffix));
            QString error;
            EXPECT_TRUE(window.SaveChart(path, error)) << error.toStdString();
            EXPECT_GT(QFile(path).size(), 1000) << path.toStdString();
        }
        const QString csv = dir.filePath(QStringLiteral("v%1.csv").arg(view));
        QString error;
        ASSERT_TRUE(window.SavePoints(csv, error)) << error.toStdString();
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const int rows = QString::fromUtf8(file.readAll()).count(QLatin1Char('\n'));
        EXPECT_EQ(rows, view == 0 ? 1 + 72 : 1 + 81);
    }
}

TEST(EnvelopeScreens, WritesThePictures) {
    const QString dir = QString::fromLocal8Bit(qgetenv("TARVELO_SCREENS_DIR"));
    if (dir.isEmpty()) GTEST_SKIP() << "set TARVELO_SCREENS_DIR to write the pictures";
    QDir().mkpath(dir);
    for (const auto& [file, picture] :
         {std::pair{"retangular-esbelto-biaxial.json", "envelope-rectangular.png"},
          std::pair{"poligonal-L.json", "envelope-L.png"}}) {
        EnvelopeWindow window;
        ASSERT_TRUE(window.ShowEnvelope(Example(file), EnvelopeSource::Verification));
        QTest::qWait(100);
        EXPECT_TRUE(window.grab().save(dir + QLatin1Char('/') + QLatin1String(picture)));
    }
}

}  // namespace
}  // namespace tarvelo::ui

// Appended: the envelope in the report window and the two CSV forms of "Salvar pontos".
#include <QCheckBox>
#include <QPushButton>

#include "procedures/recording_host.h"
#include "report/report_envelope.h"
#include "report_render.h"
#include "report_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

class EnvelopeFiles : public testing::WindowTest {
  protected:
    QTemporaryDir dir;
    QByteArray Saved(const QString& name) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

// Ticked after a completed run, the text report is today's followed by the envelope's table;
// unticked, or after a run that did not complete, it is today's.
TEST_F(EnvelopeFiles, ReportEndsWithTheTableOnlyWhenAsked) {
    const ColumnData data = Example("poligonal-L.json");
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
        QTest::mouseClick(window.findChild<QPushButton*>("saveTextButton"), Qt::LeftButton);
        EXPECT_EQ(Saved("r.txt"), expected) << ready << click;
    }
}

// Both views' points: the dialog's first form is the Portuguese spreadsheet's, and it carries
// the very numbers of the international form.
TEST_F(EnvelopeFiles, PointsInBothCsvForms) {
    EnvelopeWindow window;
    ASSERT_TRUE(window.Prepare(Example("poligonal-L.json"), EnvelopeSource::Verification));
    for (int view : {0, 1}) {
        window.Views()->setCurrentIndex(view);
        files.saveName = dir.filePath("pt");  // ".csv" is added
        for (QPushButton* b : window.findChildren<QPushButton*>())
            if (b->text() == QLatin1String("Salvar pontos")) b->click();
        QString error;
        ASSERT_TRUE(
            window.SavePoints(dir.filePath("en.csv"), error, PointsFormat::CommaDecimalPoint));
        const QByteArray portuguese = Saved("pt.csv");
        EXPECT_FALSE(portuguese.mid(portuguese.indexOf('\n')).contains('.')) << view;
        EXPECT_EQ(QByteArray(portuguese).replace(',', '.').replace(';', ','), Saved("en.csv"));
    }
    EXPECT_TRUE(presenter.Texts().empty());
}

// The column was changed after its run so that a rule ends it: the window says why.
TEST_F(EnvelopeFiles, ARunEndedByARuleIsExplained) {
    ColumnData data = Example("poligonal-L.json");
    data.L = "0";
    EnvelopeWindow window;
    EXPECT_FALSE(window.ShowEnvelope(data, EnvelopeSource::Verification));
    EXPECT_FALSE(window.isVisible());
    ASSERT_EQ(presenter.Texts().size(), 1u);
    EXPECT_GT(presenter.Texts()[0].count(QLatin1Char('\n')), 1)
        << presenter.Texts()[0].toStdString();
}

}  // namespace
}  // namespace tarvelo::ui
