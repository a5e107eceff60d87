// The loads window: column height, design loads and support conditions.
#pragma once

#include <array>
#include <memory>

#include <QWidget>

#include "model/column_data.h"
#include "model/field_table.h"

class QLineEdit;
class QRadioButton;

namespace tarvelo::ui {

class FieldSet;

class LoadsWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LoadsWindow(QWidget* parent = nullptr);
    ~LoadsWindow() override;

    void Collect(ColumnData& data) const;
    void Apply(const ColumnData& data);

    QLineEdit* Field(FieldId id) const;  // a field of this window; nullptr for other fields
    // The support options; the base has no free option (nullptr).
    QRadioButton* TopOption(SupportCondition support) const;
    QRadioButton* BaseOption(SupportCondition support) const;
    bool TopIsFree() const;

  signals:
    // "&OK": the main window runs the window's checks and, when they pass, closes it.
    void confirmRequested();
    void helpRequested();
    // The title-bar button: the window closes without enabling the calculation buttons.
    void closedWithoutConfirming();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::unique_ptr<FieldSet> fields_;
    std::array<QRadioButton*, 3> topOptions_{};   // by SupportCondition
    std::array<QRadioButton*, 3> baseOptions_{};  // by SupportCondition, no free base
};

// The sketch "Sentido positivo das forças e momentos": the column in its two planes with the
// positive senses of the forces and moments.
class LoadsSketch : public QWidget {
    Q_OBJECT
  public:
    explicit LoadsSketch(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {300, 230}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tarvelo::ui
