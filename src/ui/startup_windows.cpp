#include "startup_windows.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "main_window.h"
#include "ui_common.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tarvelo::ui {

std::string SavedDecimalSeparator;

void RestoreDecimalSeparator() {
#ifdef Q_OS_WIN
    const LCID locale = GetUserDefaultLCID();
    const int size = GetLocaleInfoA(locale, LOCALE_SDECIMAL, nullptr, 0);
    if (size <= 0) return;
    std::string current(static_cast<std::size_t>(size), '\0');
    GetLocaleInfoA(locale, LOCALE_SDECIMAL, current.data(), size);
    current.resize(current.find('\0') == std::string::npos ? current.size() : current.find('\0'));
    if (!SavedDecimalSeparator.empty() && SavedDecimalSeparator != current) {
        SetLocaleInfoA(locale, LOCALE_SDECIMAL, SavedDecimalSeparator.c_str());
    }
#endif
}

// --- Splash ----------------------------------------------------------------------------------

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    InitResources();
    setObjectName(QStringLiteral("splashWindow"));
    setWindowTitle(QStringLiteral("TARVELO"));
    setFixedSize(445, 251);
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("closeTimer"));
    timer_->setInterval(kIntervalMs);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &SplashWindow::finished);
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), SplashColour());
    p.setPen(QPen(QColor(60, 60, 170), 2));
    p.drawRect(rect().adjusted(1, 1, -2, -2));

    // The picture: a slender column bending under its load.
    const QRectF picture(24, 40, 110, 170);
    p.fillRect(picture, QColor(235, 235, 255));
    p.setPen(QPen(QColor(40, 40, 90), 1));
    p.drawRect(picture);
    p.save();
    p.translate(picture.topLeft());
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(QRectF(20, 150, 70, 8));
    p.drawRect(QRectF(20, 18, 70, 8));
    QPainterPath column;
    column.moveTo(47, 26);
    column.cubicTo(33, 70, 33, 106, 47, 150);
    column.lineTo(63, 150);
    column.cubicTo(49, 106, 49, 70, 63, 26);
    column.closeSubpath();
    p.setBrush(QColor(200, 200, 200));
    p.drawPath(column);
    p.setPen(QPen(QColor(190, 0, 0), 2.5));
    p.drawLine(QPointF(55, 0), QPointF(55, 14));
    p.drawLine(QPointF(55, 16), QPointF(50, 9));
    p.drawLine(QPointF(55, 16), QPointF(60, 9));
    p.restore();

    // The icon and the texts.
    QIcon(QStringLiteral(":/icons/tarvelo.svg")).paint(&p, QRect(width() - 64, 16, 44, 44));
    const QRectF texts(150, 30, width() - 170, height() - 50);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(40);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(texts.left(), texts.top() + 20, texts.width(), 50), Qt::AlignLeft,
               QStringLiteral("TARVELO"));
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(QColor(20, 20, 70));
    p.drawText(QRectF(texts.left(), texts.top() + 76, texts.width(), 66),
               Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Dimensionamento e verificação de pilares esbeltos de concreto "
                              "armado"));
    font.setBold(false);
    font.setPixelSize(12);
    p.setFont(font);
    p.drawText(QRectF(texts.left(), texts.top() + 146, texts.width(), 20), Qt::AlignLeft,
               QStringLiteral("Versão 3.0 / 2014"));
    font.setItalic(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(texts.left(), texts.bottom() - 22, texts.width(), 20), Qt::AlignLeft,
               QStringLiteral("Carregando...Aguarde!"));
}

// --- Background ------------------------------------------------------------------------------

BackgroundWindow::BackgroundWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint |
                          Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("backgroundWindow"));
    setWindowTitle(QStringLiteral("TARVELO"));
}

void BackgroundWindow::ShowBehind() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
    showMaximized();
    lower();
}

void BackgroundWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The picture is 800 x 761 pixels on an 800 x 600 screen, stretched with the screen.
    const QSize screen = QGuiApplication::primaryScreen() != nullptr
                             ? QGuiApplication::primaryScreen()->size()
                             : size();
    const QRectF picture(0, 0, 800 * (screen.width() / 800.0), 761 * (screen.height() / 600.0));
    QLinearGradient sky(picture.topLeft(), picture.bottomLeft());
    sky.setColorAt(0, QColor(70, 90, 170));
    sky.setColorAt(1, QColor(200, 210, 240));
    p.fillRect(picture, sky);
    // A row of columns, as on a building frame.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    const double w = picture.width();
    const double h = std::min(picture.height(), static_cast<double>(height()));
    p.drawRect(QRectF(0, h * 0.18, w, h * 0.04));
    p.drawRect(QRectF(0, h * 0.86, w, h * 0.04));
    for (int i = 0; i < 6; ++i) {
        p.drawRect(QRectF(w * (0.07 + 0.17 * i), h * 0.22, w * 0.03, h * 0.64));
    }
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(std::max(24, static_cast<int>(h / 12)));
    p.setFont(font);
    p.setPen(QColor(255, 255, 255, 70));
    p.drawText(QRectF(0, h * 0.02, w * 0.97, h * 0.15), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("TARVELO"));
}

// --- Exit ------------------------------------------------------------------------------------

ExitWindow::ExitWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("exitWindow"));
    setWindowTitle(QStringLiteral("TARVELO"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, SplashColour());
    setPalette(palette);
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("closeTimer"));
    timer_->setInterval(kIntervalMs);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &ExitWindow::finished);
}

// --- Program ---------------------------------------------------------------------------------

Program::Program() = default;

Program::~Program() = default;

void Program::Start() {
    InitResources();
    splash_ = std::make_unique<SplashWindow>();
    CentreOnScreen(splash_.get());
    connect(splash_.get(), &SplashWindow::finished, this, &Program::ShowMainWindow);
    splash_->show();
    splash_->Timer()->start();
}

void Program::ShowMainWindow() {
    background_ = std::make_unique<BackgroundWindow>();
    background_->ShowBehind();
    main_ = std::make_unique<MainWindow>();
    main_->SetExitHandler([this] { StartExit(); });
    CentreOnScreen(main_.get());
    main_->show();
    main_->raise();
    main_->activateWindow();
    if (splash_) {
        splash_->hide();
        splash_.release()->deleteLater();
    }
}

void Program::StartExit() {
    if (exit_) return;
    if (background_) background_->ShowBehind();
    exit_ = std::make_unique<ExitWindow>();
    connect(exit_.get(), &ExitWindow::finished, this, &Program::Finish);
    if (QScreen* screen = QGuiApplication::primaryScreen()) exit_->setGeometry(screen->geometry());
    exit_->showMaximized();
    exit_->raise();
    RestoreDecimalSeparator();
    exit_->Timer()->start();
}

void Program::Finish() {
    // Unload the windows, the most recently created first, then end.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it)
        (*it)->hide();
    QCoreApplication::quit();
}

}  // namespace tarvelo::ui
