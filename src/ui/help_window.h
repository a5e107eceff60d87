// The help window: the help text, beside the window it was asked from.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace tarvelo::ui {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr const char* kHelpResource = ":/help/ajuda.html";

    explicit HelpWindow(QWidget* parent = nullptr);

    // Loads a help file (HTML) into the text box. A file that cannot be read leaves a message in
    // the text box instead; returns false then.
    bool Load(const QString& path);
    // Places the window beside `owner` (narrower if it must be, never over it; without an owner
    // where it was last), loads the help and shows it.
    void ShowHelp(const QWidget* owner = nullptr);

    QTextBrowser* TextBox() const { return richTextBox_; }

  private:
    QTextBrowser* richTextBox_ = nullptr;
};

}  // namespace tarvelo::ui
