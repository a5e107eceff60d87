#include "key_filters.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace tarvelo::ui {
namespace {

constexpr char16_t kComma = 44;
constexpr char16_t kMinus = 45;
constexpr char16_t kPoint = 46;
constexpr char16_t kSlash = 47;
constexpr char16_t kNine = 57;

std::function<void()>& BeepHandler() {
    static std::function<void()> handler;
    return handler;
}

// The common test: comma to point when allowed, then the range lowerBound..57 without "/".
void FilterRange(char16_t& keyCode, char16_t lowerBound, bool commaToPoint) {
    if (commaToPoint && keyCode == kComma) keyCode = kPoint;
    if (keyCode < lowerBound || keyCode > kNine) {
        keyCode = 0;
        Beep();
        return;
    }
    if (keyCode == kSlash) {
        keyCode = 0;
        Beep();
    }
}

class LineEditKeyFilter final : public QObject {
  public:
    LineEditKeyFilter(QLineEdit* field, KeyFilterKind kind) : QObject(field), kind_(kind) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (field == nullptr) return false;
        const QString typed = TypedText(*static_cast<QKeyEvent*>(event));
        if (typed.isEmpty()) return false;
        const QString accepted = FilterTypedText(kind_, typed);
        if (!accepted.isEmpty() && !field->isReadOnly()) field->insert(accepted);
        return true;
    }

  private:
    KeyFilterKind kind_;
};

}  // namespace

void DecimalKeyFilter(char16_t& keyCode) {
    FilterRange(keyCode, kPoint, true);
}

void SignedDecimalKeyFilter(char16_t& keyCode) {
    FilterRange(keyCode, kMinus, true);
}

void DigitKeyFilter(char16_t& keyCode) {
    FilterRange(keyCode, 48, false);
}

void ApplyKeyFilter(KeyFilterKind kind, char16_t& keyCode) {
    switch (kind) {
        case KeyFilterKind::Decimal:
            DecimalKeyFilter(keyCode);
            break;
        case KeyFilterKind::SignedDecimal:
            SignedDecimalKeyFilter(keyCode);
            break;
        case KeyFilterKind::Digit:
            DigitKeyFilter(keyCode);
            break;
    }
}

void Beep() {
    if (BeepHandler()) {
        BeepHandler()();
    } else {
        QApplication::beep();
    }
}

void SetBeepHandler(std::function<void()> handler) {
    BeepHandler() = std::move(handler);
}

QString TypedText(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return {};
        case Qt::Key_Backspace:
            return QString(QChar(8));
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return QString(QChar(13));
        case Qt::Key_Escape:
            return QString(QChar(27));
        default:
            break;
    }
    QString text = event.text();
    // Delete types U+007F on some systems; it is an editing key, not a character.
    if (text == QString(QChar(127))) return {};
    return text;
}

QString FilterTypedText(KeyFilterKind kind, const QString& typed) {
    QString accepted;
    for (QChar c : typed) {
        char16_t code = c.unicode();
        ApplyKeyFilter(kind, code);
        if (code != 0) accepted.append(QChar(code));
    }
    return accepted;
}

void InstallKeyFilter(QLineEdit* field, KeyFilterKind kind) {
    field->installEventFilter(new LineEditKeyFilter(field, kind));
}

}  // namespace tarvelo::ui
