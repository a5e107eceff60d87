#include "about_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

#include "message_presenter.h"
#include "ui_common.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <QFileInfo>
#include <QProcess>
#endif

namespace tarvelo::ui {
namespace {

const QString kUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

#ifdef Q_OS_WIN
// Reads a registry value under HKEY_LOCAL_MACHINE. A string comes back without its trailing NUL,
// a 32-bit number as hexadecimal text; another kind leaves `value` as it was and still counts as
// read.
bool GetKeyValue(HKEY root, const char* keyName, const char* valueName, QString& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        value.clear();
        return false;
    }
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG status =
        RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        value.clear();
        return false;
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        DWORD length = size;
        if (length > 0 && buffer[length - 1] == '\0') --length;
        value = QString::fromLocal8Bit(buffer, static_cast<qsizetype>(length));
    } else if (type == REG_DWORD && size >= sizeof(DWORD)) {
        DWORD number = 0;
        memcpy(&number, buffer, sizeof number);
        value = QString::number(number, 16).toUpper();
    }
    return true;
}
#endif

}  // namespace

QString SystemDescription() {
    const QString os = QSysInfo::prettyProductName();
    const QString cpu = QSysInfo::currentCpuArchitecture();
    if (os.isEmpty() && cpu.isEmpty()) return kUnavailable;
    return QStringLiteral(
               "Sistema operacional: %1\nArquitetura do processador: %2\n"
               "Núcleo: %3 %4\nVersão do Qt: %5")
        .arg(os, cpu, QSysInfo::kernelType(), QSysInfo::kernelVersion(),
             QString::fromLatin1(qVersion()));
}

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    InitResources();
    setObjectName(QStringLiteral("aboutWindow"));
    setWindowTitle(QStringLiteral("Sobre o TARVELO"));

    auto* icon = new QLabel;
    icon->setPixmap(QIcon(QStringLiteral(":/icons/tarvelo.svg")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    auto* title = new QLabel(QStringLiteral("TARVELO - 2014"));
    title->setObjectName(QStringLiteral("titleLabel"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* version = new QLabel(QStringLiteral("Versão 3.0"));
    version->setObjectName(QStringLiteral("versionLabel"));
    auto* description = new QLabel(QStringLiteral(
        "Programa para dimensionamento e verificação de pilares esbeltos de concreto armado de "
        "seções poligonais arbitrárias, submetidos à flexo-compressão oblíqua. Realiza a análise "
        "pelo Método dos Elementos Finitos."));
    description->setObjectName(QStringLiteral("descriptionLabel"));
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* sysInfo = new QPushButton(QStringLiteral("&Info. do sistema ..."));
    sysInfo->setObjectName(QStringLiteral("systemInfoButton"));
    sysInfo->setAutoDefault(false);

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addSpacing(10);
    texts->addWidget(description, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(10);
    top->addLayout(texts, 1);

    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addLayout(buttons);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(14, 14, 14, 12);
    root->addLayout(top, 1);
    root->addWidget(line);
    root->addLayout(bottom);

    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    connect(sysInfo, &QPushButton::clicked, this, &AboutWindow::StartSysInfo);
    SetClientSize(this, 421, 271);
    CentreOnScreen(this);
}

void AboutWindow::StartSysInfo() {
#ifdef Q_OS_WIN
    QString path;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                    path) &&
        !path.isEmpty() && QProcess::startDetached(path, {})) {
        return;
    }
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                    path)) {
        const QString tool = path + QStringLiteral("\\MSINFO32.EXE");
        if (QFileInfo::exists(tool) && QProcess::startDetached(tool, {})) return;
    }
    Presenter().Information(this, QStringLiteral("TARVELO"), kUnavailable);
#else
    Presenter().Information(this, QStringLiteral("TARVELO"), SystemDescription());
#endif
}

}  // namespace tarvelo::ui
