// The desktop program: splash, main window and the windows it opens.
#include <QApplication>
#include <QIcon>

#include "startup_windows.h"
#include "ui_common.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TARVELO"));
    tarvelo::ui::InitResources();
    tarvelo::ui::InstallQtTranslations();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tarvelo.svg")));
    tarvelo::ui::Program program;
    program.Start();
    return app.exec();
}
