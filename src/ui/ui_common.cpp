#include "ui_common.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPointF>
#include <QPushButton>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <QWindow>
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
