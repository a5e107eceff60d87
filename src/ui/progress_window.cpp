#include "progress_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "ui_common.h"

namespace tarvelo::ui {
namespace {

// Painting runs vector code of the graphics library that leaves the upper halves of the wide
// vector registers in use. The analysis is built for the plain SSE2 instruction set, and until
// those halves are cleared the processor slows its floating-point instructions down (a design
// run measured about 15 % slower after each repaint). Clearing them after painting costs one
// instruction.
void ClearUpperVectorState() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) __asm__ volatile("vzeroupper" ::: "memory");
#endif
}

}  // namespace

ProgressText::ProgressText(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("progressText"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
}

int ProgressText::LineHeight() const {
    return fontMetrics().height();
}

void ProgressText::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int lineHeight = fontMetrics().height();
    int y = fontMetrics().ascent();
    for (const QString& line : lines_) {
        p.drawText(2, y, line);
        y += lineHeight;
    }
}

ProgressWindow::ProgressWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("progressWindow"));
    setWindowTitle(QStringLiteral(" TARVELO - calculando"));
    text_ = new ProgressText(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(text_);
    // Room for the 320 pixels of text and the line that passes them.
    const int lineHeight = text_->fontMetrics().height();
    text_->setMinimumSize(
        text_->fontMetrics().horizontalAdvance(QStringLiteral("  Etapa de carga =  500    ")),
        kRestartPixels + 2 * lineHeight);
    // Wide enough for the whole title beside the title bar's buttons.
    const int titleWidth =
        QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(windowTitle());
    setFixedSize(sizeHint().expandedTo(QSize(std::max(240, titleWidth * 5 / 4 + 120), 0)));
    CentreOnScreen(this);
}

void ProgressWindow::PrintLine(const QString& line) {
    if (PrintPosition() > kRestartPixels) text_->Clear();
    text_->Append(line);
    KeepResponsive();
}

void ProgressWindow::KeepResponsive() {
    if (sinceRunStart_.isValid() && sinceRunStart_.elapsed() >= kShowDelayMs) {
        sinceRunStart_.invalidate();
        show();
        raise();
        RepaintNow();
        return;
    }
    if (!sinceRepaint_.isValid()) sinceRepaint_.start();
    if (sinceRepaint_.elapsed() >= kRepaintIntervalMs) RepaintNow();
}

void ProgressWindow::Clear() {
    text_->Clear();
    text_->update();
}

void ProgressWindow::ShowLines(const QStringList& lines) {
    // With many cores the running cases may not all fit: the first ones are shown.
    text_->Replace(
        lines.first(std::min<qsizetype>(lines.size(), kRestartPixels / text_->LineHeight() + 1)));
    text_->update();
    KeepResponsive();
}

QStringList ProgressWindow::Lines() const {
    return text_->Lines();
}

int ProgressWindow::PrintPosition() const {
    return static_cast<int>(text_->Lines().size()) * text_->LineHeight();
}

void ProgressWindow::ShowNow() {
    sinceRunStart_.start();
    sinceRepaint_.restart();
}

void ProgressWindow::Finish() {
    sinceRunStart_.invalidate();
    hide();
}

void ProgressWindow::RepaintNow() {
    text_->update();
    // The analysis runs in this thread: let the window system paint, but take no clicks or
    // keys, so nothing can start while the run goes on.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ClearUpperVectorState();
    sinceRepaint_.restart();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    // The window belongs to the running analysis; it goes away when the run ends.
    event->ignore();
}

}  // namespace tarvelo::ui
