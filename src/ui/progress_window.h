// The progress window: the running output of an analysis, one line per load step (and per design
// trial). The text restarts at the top once it has run past 320 pixels, so it never scrolls.
#pragma once

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>

namespace tarvelo::ui {

class ProgressText : public QWidget {
    Q_OBJECT
  public:
    explicit ProgressText(QWidget* parent = nullptr);
    const QStringList& Lines() const { return lines_; }
    void Append(const QString& line) { lines_.append(line); }
    void Replace(const QStringList& lines) { lines_ = lines; }
    void Clear() { lines_.clear(); }
    int LineHeight() const;  // pixels

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QStringList lines_;
};

class ProgressWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kRestartPixels = 320;
    // The window repaints at most this often while an analysis prints.
    static constexpr int kRepaintIntervalMs = 30;

    explicit ProgressWindow(QWidget* parent = nullptr);

    // Prints a line below the previous one, first clearing the text when its print position is
    // more than 320 pixels from the top. Every 30 ms lets the windows repaint, without accepting
    // any input.
    void PrintLine(const QString& line);
    // The run goes on without a line: shows the window once the run has lasted kShowDelayMs and
    // repaints it at most every kRepaintIntervalMs.
    void KeepResponsive();
    // Clears the text (print position back at the top).
    void Clear();
    // The whole text at once (the running cases of a run of several): shown as one picture,
    // never half replaced.
    void ShowLines(const QStringList& lines);

    QStringList Lines() const;
    // Vertical print position in pixels: where the next line would start.
    int PrintPosition() const;

    // A run begins: the window appears once the run has lasted kShowDelayMs (at a printed line),
    // so a short run shows no flash of a window. It paints with the lines printed since.
    void ShowNow();
    // The run is over: hides the window, or keeps it from appearing.
    void Finish();
    static constexpr int kShowDelayMs = 300;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void RepaintNow();

    ProgressText* text_ = nullptr;
    QElapsedTimer sinceRepaint_;
    QElapsedTimer sinceRunStart_;  // valid while the window waits to appear
};

}  // namespace tarvelo::ui
