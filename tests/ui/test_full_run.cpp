// The click-through journey: an example opened, verified, its curve and report shown, designed.
#include <QElapsedTimer>
#include <QTimer>

#include "chart_window.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "progress_window.h"
#include "report_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

using FullRun = testing::MainWindowTest;

// The windows show what the procedures report, and nothing else; a run stopped by an input check
// ends at its field and leaves no curve to offer.
TEST_F(FullRun, VerifyThenDesignAnOpenedExample) {
    OpenExample("retangular-esbelto-biaxial.json");
    const ColumnData data = testing::ReadExample("retangular-esbelto-biaxial.json");
    Click("verifyButton");
    RecordingHost reference;
    const auto verified = Verify(data, reference);
    ASSERT_TRUE(verified->completed);
    EXPECT_EQ(Text("safetyField"), QString::fromStdString(verified->safetyText));
    EXPECT_EQ(Text("requiredSteelField"), "");
    EXPECT_EQ(window->Runs().reachedStep, verified->reachedStep);
    EXPECT_EQ(window->focusWidget(), window->findChild<QPushButton*>("loadCurveButton"));
    EXPECT_EQ(presenter.Texts().size(), static_cast<qsizetype>(reference.boxes.size()));

    // The curve of this verification, and the toolbar's curve button with it.
    EXPECT_FALSE(window->Actions().curve->isEnabled());
    Click("loadCurveButton");
    EXPECT_TRUE(window->Chart()->isVisible());
    EXPECT_TRUE(window->Actions().curve->isEnabled());

    // The report keeps the main window disabled until it closes.
    Trigger(window->Actions().print);
    ASSERT_NE(window->Report(), nullptr);
    EXPECT_FALSE(window->isEnabled());
    testing::Click(window->Report(), "cancelButton");
    EXPECT_TRUE(window->isEnabled());

    presenter.boxes.clear();
    Field("fckField")->setText("95");
    Click("verifyButton");
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(window->focusWidget(), Field("fckField"));
    EXPECT_FALSE(Enabled("loadCurveButton"));
    // A question answered Yes ends the run too, and leaves the steel area as it was.
    Field("fckField")->setText("15");
    presenter.answers = {true};
    Click("designButton");
    EXPECT_EQ(presenter.boxes.back().kind, testing::RecordedBox::Question);
    EXPECT_EQ(Text("steelAreaField"), QString::fromStdString(data.totalSteelArea));
    Field("fckField")->setText(QString::fromStdString(data.fck));

    Click("designButton");
    RecordingHost designHost;
    const auto designed = Design(data, designHost);
    ASSERT_TRUE(designed->completed);
    EXPECT_EQ(Text("requiredSteelField"), QString::fromStdString(designed->requiredText));
    EXPECT_EQ(Text("minimumSteelField"), QString::fromStdString(designed->minimumText));
    EXPECT_EQ(Text("safetyField"), " ");
    // A design leaves no curve, for the button nor for the report.
    EXPECT_FALSE(Enabled("loadCurveButton"));
    EXPECT_FALSE(window->Snapshot().runs.hasCurve);
}

// While a longer design runs the main window takes no input and cannot be closed; the progress
// window appears only once the run has lasted kShowDelayMs, so a short run never flashes it.
TEST_F(FullRun, TheProgressWindowPaintsWhileTheMainWindowWaits) {
    ASSERT_TRUE(window->OpenColumnFile(testing::ExamplePath("circular-macico.json")));
    int checks = 0;
    bool seen = false;
    QElapsedTimer clock;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        ++checks;
        EXPECT_TRUE(window->IsRunning());
        EXPECT_FALSE(window->isEnabled());
        EXPECT_FALSE(window->close());
        EXPECT_FALSE(window->Progress()->close());
        if (!window->Progress()->isVisible()) return;
        EXPECT_GE(clock.elapsed(), ProgressWindow::kShowDelayMs);
        seen = true;
    });
    poll.start();
    clock.start();
    Click("designButton");
    poll.stop();
    EXPECT_GT(checks, 0);
    if (clock.elapsed() > ProgressWindow::kShowDelayMs + 3 * ProgressWindow::kRepaintIntervalMs) {
        EXPECT_TRUE(seen);
    }
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(window->Progress()->isVisible());
}

}  // namespace
}  // namespace tarvelo::ui
