// The program's start and end: splash, background, main window, exit window.
#include <QElapsedTimer>

#include "startup_windows.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

template <class Window>
Window* Shown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(w); window && window->isVisible()) return window;
    return nullptr;
}

class Startup : public testing::WindowTest {};

// Splash for 1.8 s, then the background and the main window; closing the main window shows
// the exit window without asking, and half a second later every window is gone.
TEST_F(Startup, SplashMainWindowAndExit) {
    Program program;
    QElapsedTimer clock;
    clock.start();
    program.Start();
    EXPECT_NE(Shown<SplashWindow>(), nullptr);
    EXPECT_EQ(program.Main(), nullptr);

    ASSERT_TRUE(QTest::qWaitFor([&] { return program.Main() != nullptr; }, 5000));
    EXPECT_GE(clock.elapsed(), 1700);
    EXPECT_TRUE(program.Main()->isVisible());
    EXPECT_NE(Shown<BackgroundWindow>(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([] { return Shown<SplashWindow>() == nullptr; }, 1000));

    EXPECT_TRUE(program.Main()->close());
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_NE(Shown<ExitWindow>(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return Shown<ExitWindow>() == nullptr && Shown<BackgroundWindow>() == nullptr; },
        3000));
}

}  // namespace
}  // namespace tarvelo::ui
