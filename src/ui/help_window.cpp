#include "help_window.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui_common.h"

namespace tarvelo::ui {
namespace {
constexpr int kWidth = 527;  // pixels, when the screen has room beside the owner
}

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
    setMinimumWidth(300);
    resize(kWidth, 532);
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

void HelpWindow::ShowHelp(const QWidget* owner) {
    Load(QString::fromLatin1(kHelpResource));
    if (owner != nullptr) {
        resize(kWidth, height());
        PlaceBeside(this, owner);
    }
    show();
    raise();
    activateWindow();
}

}  // namespace tarvelo::ui
