// The about window: title, version and description of the program, and the system information.
#pragma once

#include <QWidget>

namespace tarvelo::ui {

class AboutWindow : public QWidget {
    Q_OBJECT
  public:
    explicit AboutWindow(QWidget* parent = nullptr);

    // "Info. do sistema": the system-information tool where there is one, otherwise a box with
    // the operating system, the processor architecture and the Qt version.
    void StartSysInfo();
};

// The text of the system-information box on systems without the tool.
QString SystemDescription();

}  // namespace tarvelo::ui
