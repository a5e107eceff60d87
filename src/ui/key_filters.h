// The key filters of the numeric fields. Each takes the code of a typed character and leaves
// it, replaces it (comma becomes point) or sets it to 0 after a beep, which discards the key.
#pragma once

#include <functional>

#include <QObject>

#include "model/field_table.h"

class QKeyEvent;
class QLineEdit;

namespace tarvelo::ui {

// "." and the digits; comma becomes point.
void DecimalKeyFilter(char16_t& keyCode);
// "-", "." and the digits; comma becomes point.
void SignedDecimalKeyFilter(char16_t& keyCode);
// The digits only.
void DigitKeyFilter(char16_t& keyCode);

void ApplyKeyFilter(KeyFilterKind kind, char16_t& keyCode);

// The beep of a rejected key. Tests replace it to count beeps; nullptr restores the system beep.
void Beep();
void SetBeepHandler(std::function<void()> handler);

// True for keys that edit or move rather than type: keys without text, control codes
// (Backspace, Return, Escape) and shortcuts with Ctrl or Meta. The filters never see them.
bool IsEditingKey(const QKeyEvent& event);

// Runs all text that enters a field through a filter, character by character: typed keys,
// pastes (Ctrl+V, Shift+Insert, the context menu, the middle button), drops and input-method
// text. Accepted characters go in (a comma as a point); rejected ones are dropped, with one beep
// per key, paste or drop. Editing keys keep their usual meaning.
void InstallKeyFilter(QLineEdit* field, KeyFilterKind kind);

// Filters `typed` with `kind`: returns the accepted characters, beeping once per rejected one.
QString FilterTypedText(KeyFilterKind kind, const QString& typed);
// Filters pasted or dropped text with `kind`: returns the accepted characters, beeping once if
// any was rejected.
QString FilterPastedText(KeyFilterKind kind, const QString& pasted);

}  // namespace tarvelo::ui
