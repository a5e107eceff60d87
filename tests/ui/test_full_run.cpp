#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QtTest/QTest>

#include "chart_window.h"
#include "main_window.h"
#include "procedures/column_file.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "progress_window.h"
#include "report_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

const QString kExample = QStringLiteral(TARVELO_EXAMPLES "/retangular-esbelto-biaxial.json");

class FullRun : public testing::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window = std::make_unique<MainWindow>();
        window->show();
        files.openName = kExample;
        QWidget* open = window->Toolbar()->widgetForAction(window->Actions().open);
        QTest::mouseClick(open, Qt::LeftButton);
        ASSERT_TRUE(presenter.boxes.empty()) << presenter.Texts().join("\n").toStdString();
        std::string error;
        ASSERT_TRUE(ReadColumnFile(kExample.toStdString(), data, error)) << error;
    }
    void TearDown() override {
        window.reset();
        WindowTest::TearDown();
    }
    QString Text(const char* name) const { return window->findChild<QLineEdit*>(name)->text(); }
    QPushButton* Command(const char* name) const { return window->findChild<QPushButton*>(name); }

    std::unique_ptr<MainWindow> window;
    ColumnData data;
};

// The windows show what the procedures report, and nothing else.
TEST_F(FullRun, VerifyThenDesignAnOpenedExample) {
    EXPECT_EQ(window->CollectColumnData(), data);

    QTest::mouseClick(Command("verifyButton"), Qt::LeftButton);
    RecordingHost reference;
    const auto verified = Verify(data, reference);
    ASSERT_TRUE(verified->completed);
    EXPECT_EQ(Text("safetyField"), QString::fromStdString(verified->safetyText));
    EXPECT_EQ(Text("requiredSteelField"), "");
    EXPECT_EQ(Text("minimumSteelField"), " ");
    EXPECT_EQ(window->Runs().reachedStep, verified->reachedStep);
    EXPECT_EQ(window->focusWidget(), Command("loadCurveButton"));
    EXPECT_EQ(presenter.Texts().size(), static_cast<qsizetype>(reference.boxes.size()));
    EXPECT_TRUE(window->Snapshot().runs.hasCurve);

    // The curve of this verification, and the toolbar's curve button with it.
    EXPECT_FALSE(window->Actions().curve->isEnabled());
    QTest::mouseClick(Command("loadCurveButton"), Qt::LeftButton);
    EXPECT_TRUE(window->Chart()->isVisible());
    EXPECT_TRUE(window->Actions().curve->isEnabled());

    // The report keeps the main window disabled until it closes.
    QWidget* print = window->Toolbar()->widgetForAction(window->Actions().print);
    QTest::mouseClick(print, Qt::LeftButton);
    ASSERT_NE(window->Report(), nullptr);
    EXPECT_FALSE(window->isEnabled());
    QTest::mouseClick(window->Report()->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    EXPECT_TRUE(window->isEnabled());

    QTest::mouseClick(Command("designButton"), Qt::LeftButton);
    RecordingHost designHost;
    const auto designed = Design(data, designHost);
    ASSERT_TRUE(designed->completed);
    EXPECT_EQ(Text("requiredSteelField"), QString::fromStdString(designed->requiredText));
    EXPECT_EQ(Text("minimumSteelField"), QString::fromStdString(designed->minimumText));
    EXPECT_FALSE(Text("requiredSteelField").isEmpty());
    EXPECT_EQ(Text("safetyField"), " ");
    EXPECT_FALSE(Command("loadCurveButton")->isEnabled());
    // A design leaves no curve for the report.
    EXPECT_FALSE(window->Snapshot().runs.hasCurve);
}

TEST_F(FullRun, ARunStoppedByAnInputCheckEndsWithTheMainWindowUsable) {
    QTest::mouseClick(Command("verifyButton"), Qt::LeftButton);
    ASSERT_TRUE(Command("loadCurveButton")->isEnabled());
    presenter.boxes.clear();
    // The stopped run leaves no curve: its button goes off as before a first run.
    window->findChild<QLineEdit*>("fckField")->setText("95");
    QTest::mouseClick(Command("verifyButton"), Qt::LeftButton);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_TRUE(presenter.boxes[0].text.startsWith("A maior resistência admitida"));
    EXPECT_EQ(window->focusWidget(), window->findChild<QLineEdit*>("fckField"));
    EXPECT_FALSE(Command("loadCurveButton")->isEnabled());

    // A question answered Yes ends the run at its field too.
    window->findChild<QLineEdit*>("fckField")->setText("15");
    presenter.answers = {true};
    QTest::mouseClick(Command("designButton"), Qt::LeftButton);
    EXPECT_EQ(presenter.boxes.back().kind, testing::RecordedBox::Question);
    EXPECT_FALSE(presenter.boxes.back().defaultNo);
    EXPECT_EQ(Text("steelAreaField"), QString::fromStdString(data.totalSteelArea));
}

// A longer design: while it runs the main window takes no input and cannot be closed, and the
// progress window shows and keeps painting.
TEST_F(FullRun, TheProgressWindowPaintsWhileTheMainWindowWaits) {
    ASSERT_TRUE(window->OpenColumnFile(QStringLiteral(TARVELO_EXAMPLES "/circular-macico.json")));
    int exits = 0;
    window->SetExitHandler([&exits] { ++exits; });
    // Looked at whenever the run lets events through: the window appears only once the run has
    // lasted kShowDelayMs, so a short run never flashes it.
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
    QTest::mouseClick(Command("designButton"), Qt::LeftButton);
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
