#include "key_filters.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

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

// The common test, without the beep: comma to point when allowed, then the range
// lowerBound..57 without "/".
bool PassesRange(char16_t& keyCode, char16_t lowerBound, bool commaToPoint) {
    if (commaToPoint && keyCode == kComma) keyCode = kPoint;
    return keyCode >= lowerBound && keyCode <= kNine && keyCode != kSlash;
}

bool Passes(KeyFilterKind kind, char16_t& keyCode) {
    switch (kind) {
        case KeyFilterKind::Decimal:
            return PassesRange(keyCode, kPoint, true);
        case KeyFilterKind::SignedDecimal:
            return PassesRange(keyCode, kMinus, true);
        case KeyFilterKind::Digit:
            return PassesRange(keyCode, 48, false);
    }
    return false;
}

// The characters of `text` the filter lets through; `refused` tells whether it dropped any.
QString Filtered(KeyFilterKind kind, const QString& text, bool& refused) {
    QString accepted;
    refused = false;
    for (QChar c : text) {
        char16_t code = c.unicode();
        if (Passes(kind, code)) {
            accepted.append(QChar(code));
        } else {
            refused = true;
        }
    }
    return accepted;
}

// Every way text can enter a line edit, each sent through the same filter.
class LineEditKeyFilter final : public QObject {
  public:
    LineEditKeyFilter(QLineEdit* field, KeyFilterKind kind) : QObject(field), kind_(kind) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (field == nullptr) return false;
        switch (event->type()) {
            case QEvent::KeyPress:
                return KeyPressed(*field, *static_cast<QKeyEvent*>(event));
            case QEvent::MouseButtonRelease:
                return MiddleButtonReleased(*field, *static_cast<QMouseEvent*>(event));
            case QEvent::Drop:
                return Dropped(*field, *static_cast<QDropEvent*>(event));
            case QEvent::InputMethod:
                return InputMethodText(*field, *static_cast<QInputMethodEvent*>(event));
            case QEvent::ContextMenu:
                return ContextMenu(*field, *static_cast<QContextMenuEvent*>(event));
            default:
                return false;
        }
    }

  private:
    bool KeyPressed(QLineEdit& field, const QKeyEvent& event) {
        if (event.matches(QKeySequence::Paste)) {
            Paste(field, QClipboard::Clipboard);
            return true;
        }
        if (IsEditingKey(event)) return false;
        const QString accepted = FilterTypedText(kind_, event.text());
        if (!accepted.isEmpty() && !field.isReadOnly()) field.insert(accepted);
        return true;
    }

    // The middle button pastes the selection where the press put the cursor (X11).
    bool MiddleButtonReleased(QLineEdit& field, const QMouseEvent& event) {
        if (event.button() != Qt::MiddleButton || field.isReadOnly()) return false;
        if (!QGuiApplication::clipboard()->supportsSelection()) return false;
        field.deselect();
        Paste(field, QClipboard::Selection);
        return true;
    }

    // A drop whose text passes unchanged is left to the field (it may move text within it).
    bool Dropped(QLineEdit& field, QDropEvent& event) {
        const QString text = event.mimeData()->text();
        if (text.isEmpty() || field.isReadOnly()) return false;
        bool refused = false;
        const QString accepted = Filtered(kind_, text, refused);
        if (accepted == text) return false;
        if (refused) Beep();
        field.setCursorPosition(field.cursorPositionAt(event.position().toPoint()));
        field.insert(accepted);
        event.setDropAction(Qt::CopyAction);
        event.accept();
        return true;
    }

    bool InputMethodText(QLineEdit& field, const QInputMethodEvent& event) {
        const QString text = event.commitString();
        bool refused = false;
        const QString accepted = Filtered(kind_, text, refused);
        if (accepted == text) return false;
        if (refused) Beep();
        QInputMethodEvent filtered(event.preeditString(), event.attributes());
        filtered.setCommitString(accepted, event.replacementStart(), event.replacementLength());
        QCoreApplication::sendEvent(&field, &filtered);
        return true;
    }

    // The field's own menu, its "Colar" sent through the filter.
    bool ContextMenu(QLineEdit& field, const QContextMenuEvent& event) {
        QMenu* menu = field.createStandardContextMenu();
        for (QAction* action : menu->actions()) {
            // The menu's own caption of its paste item, in the language in use.
            if (!action->text().startsWith(QLineEdit::tr("&Paste"))) continue;
            QObject::disconnect(action, &QAction::triggered, &field, nullptr);
            QObject::connect(action, &QAction::triggered, &field,
                             [this, &field] { Paste(field, QClipboard::Clipboard); });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(event.globalPos());
        return true;
    }

    void Paste(QLineEdit& field, QClipboard::Mode mode) {
        if (field.isReadOnly()) return;
        const QString accepted = FilterPastedText(kind_, QGuiApplication::clipboard()->text(mode));
        if (!accepted.isEmpty() || field.hasSelectedText()) field.insert(accepted);
    }

    KeyFilterKind kind_;
};

}  // namespace

void DecimalKeyFilter(char16_t& keyCode) {
    ApplyKeyFilter(KeyFilterKind::Decimal, keyCode);
}

void SignedDecimalKeyFilter(char16_t& keyCode) {
    ApplyKeyFilter(KeyFilterKind::SignedDecimal, keyCode);
}

void DigitKeyFilter(char16_t& keyCode) {
    ApplyKeyFilter(KeyFilterKind::Digit, keyCode);
}

void ApplyKeyFilter(KeyFilterKind kind, char16_t& keyCode) {
    if (!Passes(kind, keyCode)) {
        keyCode = 0;
        Beep();
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

bool IsEditingKey(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty() || !text.front().isPrint()) return true;
    // Ctrl+letter shortcuts carry the letter on some systems. Ctrl with Alt is AltGr on
    // Windows, which types characters: those go through the filter.
    const Qt::KeyboardModifiers m = event.modifiers();
    return (m & (Qt::ControlModifier | Qt::MetaModifier)) && !(m & Qt::AltModifier);
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

QString FilterPastedText(KeyFilterKind kind, const QString& pasted) {
    bool refused = false;
    QString accepted = Filtered(kind, pasted, refused);
    if (refused) Beep();
    return accepted;
}

void InstallKeyFilter(QLineEdit* field, KeyFilterKind kind) {
    field->installEventFilter(new LineEditKeyFilter(field, kind));
}

}  // namespace tarvelo::ui
