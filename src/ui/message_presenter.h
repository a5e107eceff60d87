// Every message box of the program goes through the presenter, so tests can answer them
// without a modal box blocking.
#pragma once

#include <memory>

#include <QString>

class QMessageBox;
class QWidget;

namespace tarvelo::ui {

// The answers to "Salvar as alterações…?".
enum class SaveAnswer { Save, Discard, Cancel };

class MessagePresenter {
  public:
    virtual ~MessagePresenter() = default;
    // Exclamation icon, OK.
    virtual void Warning(QWidget* parent, const QString& title, const QString& text) = 0;
    // Question icon, Yes and No; defaultNo makes No the default button. True for Yes.
    virtual bool Question(QWidget* parent, const QString& title, const QString& text,
                          bool defaultNo) = 0;
    // Plain box with an OK button only (no icon).
    virtual void Information(QWidget* parent, const QString& title, const QString& text) = 0;
    // Question icon, Yes (save), No (discard) and Cancel, Yes the default.
    virtual SaveAnswer AskSave(QWidget* parent, const QString& title, const QString& text) = 0;
};

// The presenter in use: QMessageBox unless a test installed another one.
MessagePresenter& Presenter();
// Installs a presenter (nullptr restores the QMessageBox one). Not owned.
void SetPresenter(MessagePresenter* presenter);

// The boxes of Question and AskSave as the presenter shows them, not yet shown.
std::unique_ptr<QMessageBox> QuestionBox(QWidget* parent, const QString& title, const QString& text,
                                         bool defaultNo);
std::unique_ptr<QMessageBox> SaveBox(QWidget* parent, const QString& title, const QString& text);

}  // namespace tarvelo::ui
