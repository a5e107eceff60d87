#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QtTest/QTest>
#include <functional>

#include "main_window.h"
#include "startup_windows.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

QWidget* TopLevel(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(name)) return w;
    }
    return nullptr;
}

bool WaitFor(const std::function<bool()>& condition, int ms) {
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QTest::qWait(20);
    }
    return true;
}

class Startup : public testing::WindowTest {};

// Splash for 1.8 s, then the background and the main window; closing the main window shows
// the exit window without asking, and half a second later every window is gone.
TEST_F(Startup, SplashMainWindowAndExit) {
    Program program;
    QElapsedTimer clock;
    clock.start();
    program.Start();
    QWidget* splash = TopLevel("splashWindow");
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(445, 251));
    EXPECT_EQ(program.Main(), nullptr);

    ASSERT_TRUE(WaitFor([&] { return program.Main() != nullptr; }, 5000));
    EXPECT_GE(clock.elapsed(), 1700);
    MainWindow* main = program.Main();
    EXPECT_TRUE(main->isVisible());
    QWidget* background = TopLevel("backgroundWindow");
    ASSERT_NE(background, nullptr);
    EXPECT_TRUE(background->isVisible());
    EXPECT_TRUE(WaitFor([] { return TopLevel("splashWindow") == nullptr; }, 1000));

    EXPECT_TRUE(main->close());
    EXPECT_TRUE(presenter.boxes.empty());
    QWidget* exitWindow = TopLevel("exitWindow");
    ASSERT_NE(exitWindow, nullptr);
    EXPECT_TRUE(exitWindow->isVisible());
    EXPECT_TRUE(
        WaitFor([&] { return !exitWindow->isVisible() && !background->isVisible(); }, 3000));
}

}  // namespace
}  // namespace tarvelo::ui
