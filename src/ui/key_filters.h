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

// The characters a key event types, as the filters see them. Empty for keys that type nothing
// (Delete, arrows, function keys) and for Tab and Backtab, which move the focus; Backspace,
// Return and Escape type their control codes.
QString TypedText(const QKeyEvent& event);

// Runs every key a text field receives through a filter: accepted characters are typed (a comma
// as a point), rejected ones beep. Keys that type nothing keep their usual meaning.
void InstallKeyFilter(QLineEdit* field, KeyFilterKind kind);

// Filters `typed` with `kind`: returns the accepted characters, beeping once per rejected one.
QString FilterTypedText(KeyFilterKind kind, const QString& typed);

}  // namespace tarvelo::ui
