#include "message_presenter.h"

#include <QMessageBox>

namespace tarvelo::ui {
namespace {

class BoxPresenter final : public MessagePresenter {
  public:
    void Warning(QWidget* parent, const QString& title, const QString& text) override {
        QMessageBox::warning(parent, title, text, QMessageBox::Ok);
    }
    bool Question(QWidget* parent, const QString& title, const QString& text,
                  bool defaultNo) override {
        return QuestionBox(parent, title, text, defaultNo)->exec() == QMessageBox::Yes;
    }
    void Information(QWidget* parent, const QString& title, const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
        box.exec();
    }
    SaveAnswer AskSave(QWidget* parent, const QString& title, const QString& text) override {
        switch (SaveBox(parent, title, text)->exec()) {
            case QMessageBox::Yes:
                return SaveAnswer::Save;
            case QMessageBox::No:
                return SaveAnswer::Discard;
            default:
                return SaveAnswer::Cancel;  // also Escape and the title-bar button
        }
    }
};

BoxPresenter& DefaultPresenter() {
    static BoxPresenter presenter;
    return presenter;
}

MessagePresenter* current = nullptr;

}  // namespace

MessagePresenter& Presenter() {
    return current != nullptr ? *current : DefaultPresenter();
}

void SetPresenter(MessagePresenter* presenter) {
    current = presenter;
}

std::unique_ptr<QMessageBox> QuestionBox(QWidget* parent, const QString& title, const QString& text,
                                         bool defaultNo) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, title, text,
                                             QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    return box;
}

std::unique_ptr<QMessageBox> SaveBox(QWidget* parent, const QString& title, const QString& text) {
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::Question, title, text,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

}  // namespace tarvelo::ui
