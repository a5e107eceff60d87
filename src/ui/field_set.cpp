#include "field_set.h"

#include <QLineEdit>

#include "key_filters.h"
#include "ui_common.h"

namespace tarvelo::ui {

FieldSet::FieldSet(FieldWindow window, int widthPixels)
    : window_(window), fields_(Fields().size(), nullptr) {
    const ColumnData defaults;
    for (const FieldInfo& row : Fields()) {
        if (row.window != window) continue;
        auto* field = new QLineEdit(ToQ(defaults.*row.member));
        field->setObjectName(ToQ(row.widget));
        SetUpField(field, row.maxLength);
        InstallKeyFilter(field, row.filter);
        field->setFixedWidth(widthPixels);
        fields_[static_cast<std::size_t>(row.id)] = field;
    }
}

void FieldSet::Collect(ColumnData& data) const {
    for (const FieldInfo& row : Fields()) {
        if (row.window == window_) data.*row.member = FromQ((*this)[row.id]->text());
    }
}

void FieldSet::Apply(const ColumnData& data) {
    for (const FieldInfo& row : Fields()) {
        if (row.window == window_) (*this)[row.id]->setText(ToQ(data.*row.member));
    }
}

}  // namespace tarvelo::ui
