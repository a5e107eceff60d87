// The input fields of one window, made from the rows of the field table and found by FieldId.
// A window places each field where its layout wants it; the texts go to and from ColumnData by
// the table, so a new row of the table needs no code here.
#pragma once

#include <vector>

#include "model/column_data.h"
#include "model/field_table.h"

class QLineEdit;
class QWidget;

namespace tarvelo::ui {

class FieldSet {
  public:
    // One field per row of `window`: the table's object name, length and key filter, the text
    // of a fresh ColumnData, and the window's field width in pixels. The fields have no parent
    // until the window's layout takes them.
    FieldSet(FieldWindow window, int widthPixels);

    // The field of a row of this window; nullptr for rows of other windows.
    QLineEdit* operator[](FieldId id) const { return fields_[static_cast<std::size_t>(id)]; }

    void Collect(ColumnData& data) const;
    void Apply(const ColumnData& data);

  private:
    FieldWindow window_;
    std::vector<QLineEdit*> fields_;  // by FieldId
};

}  // namespace tarvelo::ui
