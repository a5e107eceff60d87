// Runs the window tests on Qt's offscreen platform unless another one is asked for, in
// Portuguese as the program runs.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui_common.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvelo::ui::InstallQtTranslations();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
