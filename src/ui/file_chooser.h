// The file dialogs of the program, behind an interface so tests can name files without a modal
// dialog.
#pragma once

#include <QString>

class QWidget;

namespace tarvelo::ui {

class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // An existing file to read; empty when the user cancels.
    virtual QString OpenFileName(QWidget* parent, const QString& caption,
                                 const QString& filter) = 0;
    // A file to write; empty when the user cancels.
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                 const QString& suggestedName) = 0;
    // A file to write in one of several formats (filters separated by ";;", the first one
    // offered first); `chosenFilter` says which one the user chose.
    virtual QString SaveFileNameAs(QWidget* parent, const QString& caption, const QString& filters,
                                   const QString& suggestedName, QString& chosenFilter) {
        chosenFilter = filters.section(QStringLiteral(";;"), 0, 0);
        return SaveFileName(parent, caption, filters, suggestedName);
    }
};

// The chooser in use: QFileDialog unless a test installed another one.
FileChooser& Files();
// Installs a chooser (nullptr restores the dialogs). Not owned.
void SetFileChooser(FileChooser* chooser);

}  // namespace tarvelo::ui
