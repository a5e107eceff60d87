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
    QString SaveFileNameAs(QWidget* parent, const QString& caption, const QString& filters,
                           const QString& suggestedName, QString& chosenFilter) override {
        chosenFilter = filters.section(QStringLiteral(";;"), 0, 0);
        return QFileDialog::getSaveFileName(parent, caption, suggestedName, filters, &chosenFilter);
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
