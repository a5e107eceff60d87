#include "file_chooser.h"

#include <QFileDialog>

namespace tarvelo::ui {
namespace {

class DialogChooser final : public FileChooser {
  public:
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    }
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                         const QString& suggestedName) override {
        return QFileDialog::getSaveFileName(parent, caption, suggestedName, filter);
    }
};

FileChooser* current = nullptr;

}  // namespace

FileChooser& Files() {
    static DialogChooser dialogs;
    return current != nullptr ? *current : dialogs;
}

void SetFileChooser(FileChooser* chooser) {
    current = chooser;
}

}  // namespace tarvelo::ui
