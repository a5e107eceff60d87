// Compares a design run from the window (progress window, repaints) with the same design
// without windows, as the command line runs it. Set TARVELO_TIMING=1 to run it; the figures go
// to docs/performance.md.
#include <time.h>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "main_window.h"
#include "procedures/column_file.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "progress_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

// CPU time of this thread in milliseconds: the machine may be busy with other work, and the
// window's extra work (painting included) is done in this thread too.
double ThreadMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

class WindowTiming : public testing::WindowTest {};

TEST_F(WindowTiming, DesignFromTheWindowCostsAtMostTenPerCentMore) {
    if (qEnvironmentVariableIsEmpty("TARVELO_TIMING")) GTEST_SKIP() << "set TARVELO_TIMING=1";
    const char* examples[] = {"circular-macico.json", "circular-vazado.json", "poligonal-L.json",
                              "retangular-esbelto-biaxial.json", "retangular-vazado-balanco.json"};
    constexpr int kRuns = 9;
    double totalWindow = 0;
    double totalHeadless = 0;
    std::printf("%-34s %8s %10s %10s %7s\n", "example", "lines", "window", "headless", "ratio");
    for (const char* example : examples) {
        const QString path = QStringLiteral(TARVELO_EXAMPLES "/%1").arg(example);
        MainWindow window;
        window.show();
        ASSERT_TRUE(window.OpenColumnFile(path));
        ColumnData data;
        std::string error;
        ASSERT_TRUE(ReadColumnFile(path.toStdString(), data, error));
        QPushButton* design = window.findChild<QPushButton*>("designButton");
        QLineEdit* steel = window.findChild<QLineEdit*>("steelAreaField");
        std::vector<double> windowMs;
        std::vector<double> headlessMs;
        long lines = 0;
        for (int run = 0; run < kRuns; ++run) {
            // Alternate the two so that a busy machine weighs on both alike.
            steel->setText(QString::fromStdString(data.totalSteelArea));
            double start = ThreadMs();
            design->click();
            windowMs.push_back(ThreadMs() - start);
            ASSERT_FALSE(window.findChild<QLineEdit*>("requiredSteelField")->text().isEmpty());

            RecordingHost host;
            start = ThreadMs();
            const auto result = Design(data, host);
            headlessMs.push_back(ThreadMs() - start);
            ASSERT_TRUE(result->completed);
            lines = host.progressLines;
        }
        const double w = Median(windowMs);
        const double h = Median(headlessMs);
        totalWindow += w;
        totalHeadless += h;
        std::printf("%-34s %8ld %10.1f %10.1f %7.3f\n", example, lines, w, h, w / h);
    }
    std::printf("%-34s %8s %10.1f %10.1f %7.3f\n", "all", "", totalWindow, totalHeadless,
                totalWindow / totalHeadless);
    EXPECT_LE(totalWindow, 1.10 * totalHeadless);
}

}  // namespace
}  // namespace tarvelo::ui
