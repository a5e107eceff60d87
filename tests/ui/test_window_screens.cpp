// Writes a picture of every window of the program into the folder named by
// TARVELO_SCREENS_DIR (docs/screens); skipped without it. scripts/screenshots runs it.
#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QtTest/QTest>

#include "about_window.h"
#include "help_window.h"
#include "loads_window.h"
#include "main_window.h"
#include "progress_window.h"
#include "section_drawing.h"
#include "section_window.h"
#include "startup_windows.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

class WindowScreens : public testing::WindowTest {
  protected:
    void Save(QWidget* window, const char* name) {
        window->show();
        QTest::qWait(30);
        EXPECT_TRUE(window->grab().save(dir + QStringLiteral("/%1.png").arg(name))) << name;
    }
    void Open(MainWindow& window, const char* example) {
        files.openName = QStringLiteral(TARVELO_EXAMPLES "/%1").arg(example);
        window.Actions().open->trigger();
        ASSERT_TRUE(presenter.boxes.empty()) << presenter.Texts().join("\n").toStdString();
    }
    QString dir;
};

TEST_F(WindowScreens, WritesThePictures) {
    dir = QString::fromLocal8Bit(qgetenv("TARVELO_SCREENS_DIR"));
    if (dir.isEmpty()) GTEST_SKIP() << "set TARVELO_SCREENS_DIR to write the pictures";
    QDir().mkpath(dir);

    {
        MainWindow start;
        Save(&start, "main-window-start");
    }

    MainWindow window;
    window.show();
    Open(window, "retangular-esbelto-biaxial.json");
    window.findChild<QPushButton*>("verifyButton")->click();
    ASSERT_TRUE(presenter.boxes.empty()) << presenter.Texts().join("\n").toStdString();
    Save(&window, "main-window");

    SectionWindow* section = window.Section();
    window.findChild<QPushButton*>("sectionDataButton")->click();
    Save(section, "section-rectangular");
    section->findChild<QPushButton*>("okButton")->click();
    window.findChild<QPushButton*>("drawSectionButton")->click();
    ASSERT_TRUE(window.Drawing()->Canvas()->HasSection());
    Save(window.Drawing(), "section-drawing");
    window.Drawing()->hide();
    window.findChild<QPushButton*>("loadsButton")->click();
    Save(window.Loads(), "loads");
    window.Loads()->findChild<QPushButton*>("okButton")->click();

    const struct {
        const char* example;
        const char* name;
    } kinds[] = {{"retangular-vazado-balanco.json", "section-rectangular-hollow"},
                 {"circular-macico.json", "section-circular"},
                 {"circular-vazado.json", "section-circular-hollow"},
                 {"poligonal-L.json", "section-polygonal"}};
    for (const auto& kind : kinds) {
        Open(window, kind.example);
        window.findChild<QPushButton*>("sectionDataButton")->click();
        Save(section, kind.name);
        section->findChild<QPushButton*>("okButton")->click();
    }
    window.findChild<QPushButton*>("drawSectionButton")->click();
    Save(window.Drawing(), "section-drawing-polygonal");

    ProgressWindow progress;
    progress.PrintLine("  Iteração =  3");
    for (int k = 1; k <= 12; ++k)
        progress.PrintLine(QStringLiteral("  Etapa de carga =  %1").arg(k));
    Save(&progress, "progress");

    Save(window.About(), "about");
    window.Help()->ShowHelp();
    Save(window.Help(), "help");

    SplashWindow splash;
    Save(&splash, "splash");
    BackgroundWindow background;
    background.resize(640, 400);
    EXPECT_TRUE(background.grab().save(dir + QStringLiteral("/background.png")));
}

}  // namespace
}  // namespace tarvelo::ui
