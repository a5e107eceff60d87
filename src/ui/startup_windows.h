// The windows around the main window: the splash at start, the background that covers the
// screen behind the main window, and the exit window, and the program that strings them together.
#pragma once

#include <memory>
#include <string>

#include <QTimer>
#include <QWidget>

namespace tarvelo::ui {

class MainWindow;

// The splash window: title, subtitle and version on light blue while the program loads.
class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kIntervalMs = 1800;
    explicit SplashWindow(QWidget* parent = nullptr);
    QTimer* Timer() const { return timer_; }

  signals:
    void finished();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QTimer* timer_ = nullptr;
};

// The background window: borderless, covering the screen, always behind the program's other
// windows.
class BackgroundWindow : public QWidget {
    Q_OBJECT
  public:
    explicit BackgroundWindow(QWidget* parent = nullptr);
    // Sizes the picture from the screen and shows the window maximized.
    void ShowBehind();

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// The exit window: light blue over the whole screen for half a second, then the program ends.
class ExitWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kIntervalMs = 500;
    explicit ExitWindow(QWidget* parent = nullptr);
    QTimer* Timer() const { return timer_; }

  signals:
    void finished();

  private:
    QTimer* timer_ = nullptr;
};

// The decimal separator the program would restore at exit; nothing ever assigns it, so the
// exit leaves the user's settings as they are.
extern std::string SavedDecimalSeparator;
// Writes SavedDecimalSeparator back as the user's decimal separator when it is set and differs
// from the current one. Only Windows keeps such a setting; elsewhere it does nothing.
void RestoreDecimalSeparator();

// Start-up and exit sequence of the desktop program.
class Program : public QObject {
    Q_OBJECT
  public:
    Program();
    ~Program() override;
    // Shows the splash; the main window follows when its timer fires.
    void Start();
    MainWindow* Main() const { return main_.get(); }

  private:
    void ShowMainWindow();
    void StartExit();
    void Finish();

    std::unique_ptr<SplashWindow> splash_;
    std::unique_ptr<BackgroundWindow> background_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<ExitWindow> exit_;
};

}  // namespace tarvelo::ui
