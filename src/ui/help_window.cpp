#include "help_window.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui_common.h"

namespace tarvelo::ui {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    InitResources();
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral(" Ajuda"));
    richTextBox_ = new QTextBrowser(this);
    richTextBox_->setObjectName(QStringLiteral("helpText"));
    richTextBox_->setOpenLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(richTextBox_);
    resize(527, 532);
}

bool HelpWindow::Load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        richTextBox_->setPlainText(
            QStringLiteral("Não foi possível abrir o arquivo de ajuda (%1).").arg(path));
        return false;
    }
    richTextBox_->setHtml(QString::fromUtf8(file.readAll()));
    return true;
}

void HelpWindow::ShowHelp() {
    Load(QString::fromLatin1(kHelpResource));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + static_cast<int>(area.width() - 1.01 * frameGeometry().width()),
             area.y() + static_cast<int>(0.01 * area.height()));
    }
    show();
    raise();
    activateWindow();
}

}  // namespace tarvelo::ui
