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
