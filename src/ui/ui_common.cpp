#include "ui_common.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <QWindow>

// Resources of a static library must be registered by name, outside any namespace.
static void InitTarveloResource() {
    Q_INIT_RESOURCE(tarvelo);
}

namespace tarvelo::ui {

void InitResources() {
    static const bool done = (InitTarveloResource(), true);
    (void)done;
}

void SetClientSize(QWidget* window, int widthTwips, int heightTwips) {
    QSize size(Px(widthTwips), Px(heightTwips));
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

}  // namespace tarvelo::ui
