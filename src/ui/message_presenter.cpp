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
        const auto answer =
            QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                  defaultNo ? QMessageBox::No : QMessageBox::Yes);
        return answer == QMessageBox::Yes;
    }
    void Information(QWidget* parent, const QString& title, const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
        box.exec();
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

}  // namespace tarvelo::ui
