#include "ui_common.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPalette>
#include <QPointF>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>
#include <QVariant>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "model/atomic_file.h"

// Resources of a static library must be registered by name, outside any namespace.
static void InitTarveloResource() {
    Q_INIT_RESOURCE(tarvelo);
}

namespace tarvelo::ui {

void InitResources() {
    static const bool done = (InitTarveloResource(), true);
    (void)done;
}

bool InstallQtTranslations() {
    // Dates, sizes and paper units of Qt's dialogs follow the default locale. The program reads
    // and writes its numbers itself, with ".", whatever the locale.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_pt_BR"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

void SetClientSize(QWidget* window, int width, int height) {
    QSize size(width, height);
    if (window->layout() != nullptr) size = size.expandedTo(window->minimumSizeHint());
    window->setFixedSize(size);
}

void CentreOnScreen(QWidget* window) {
    QScreen* screen =
        window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    const QSize frame = window->frameGeometry().size();
    window->move(area.x() + (area.width() - frame.width()) / 2,
                 area.y() + (area.height() - frame.height()) / 2);
}

void CentreOnFirstShow(QWidget* window) {
    static const char* const kPlaced = "tarveloPlaced";
    if (window->property(kPlaced).toBool()) return;
    CentreOnScreen(window);
    window->setProperty(kPlaced, true);
}

void PlaceBeside(QWidget* window, const QWidget* owner) {
    QScreen* screen =
        owner->screen() != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    const QRect beside = owner->frameGeometry();
    const QSize frame = window->frameGeometry().size() - window->size();  // title bar and border
    QSize outer = window->frameGeometry().size();
    // Aligned with the owner's top (or left), kept on the screen; a window larger than the screen
    // keeps its top left corner on it.
    const int top =
        std::max(area.top(), std::min(beside.top(), area.bottom() + 1 - outer.height()));
    const int left =
        std::max(area.left(), std::min(beside.left(), area.right() + 1 - outer.width()));
    const int roomRight = area.right() - beside.right();
    const int roomLeft = beside.left() - area.left();
    if (roomRight >= outer.width()) {
        window->move(beside.right() + 1, top);
    } else if (roomLeft >= outer.width()) {
        window->move(beside.left() - outer.width(), top);
    } else if (area.bottom() - beside.bottom() >= outer.height()) {
        window->move(left, beside.bottom() + 1);
    } else if (beside.top() - area.top() >= outer.height()) {
        window->move(left, beside.top() - outer.height());
    } else {
        const int room = std::max(roomRight, roomLeft);
        const int width = std::max(room - frame.width(), window->minimumWidth());
        if (window->minimumWidth() != window->maximumWidth()) {
            window->resize(width, window->height());
            outer = window->size() + frame;
        }
        window->move(roomRight >= roomLeft ? area.right() + 1 - outer.width() : area.left(), top);
    }
}

void ShowInFront(QWidget* window, QWidget* owner) {
    if (owner != nullptr && owner->window() != window) {
        window->winId();  // creates the native window so it can be given its owner
        QWidget* top = owner->window();
        top->winId();
        if (window->windowHandle() != nullptr && top->windowHandle() != nullptr) {
            window->windowHandle()->setTransientParent(top->windowHandle());
        }
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void SetUpField(QLineEdit* field, int maxLength) {
    field->setAlignment(Qt::AlignCenter);
    if (maxLength > 0) field->setMaxLength(maxLength);
}

void SetUpResultField(QLineEdit* field) {
    field->setAlignment(Qt::AlignCenter);
    field->setReadOnly(true);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, ResultFieldColour());
    palette.setColor(QPalette::Text, Qt::black);
    field->setPalette(palette);
}

QPushButton* CommandButton(const QString& name, const QString& caption, const QString& tip) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}

void Arrowhead(QPainter& p, const QPointF& tip, const QPointF& from, double size,
               double halfWidth) {
    const QPointF d = tip - from;
    const double length = std::hypot(d.x(), d.y());
    if (length <= 0) return;
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    const QPointF base = tip - u * size;
    const QPointF head[3] = {tip, base + n * (size * halfWidth), base - n * (size * halfWidth)};
    const QColor colour = p.pen().color();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head, 3);
    p.restore();
}

bool SaveFileAtomically(const QString& path, const QByteArray& bytes, QString& error) {
    std::string message;
    if (WriteFileAtomically(
            path.toStdString(),
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), message)) {
        return true;
    }
    error = QString::fromStdString(message);
    return false;
}

}  // namespace tarvelo::ui
