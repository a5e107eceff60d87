// Form17d: column height, design loads and support conditions.
#pragma once

#include <QWidget>

#include "model/column_data.h"

class QLineEdit;
class QRadioButton;

namespace tarvelo::ui {

class LoadsWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LoadsWindow(QWidget* parent = nullptr);

    void Collect(ColumnData& data) const;
    void Apply(const ColumnData& data);

    QLineEdit* Field(int number) const;      // Text1 .. Text11 (Text4 does not exist)
    QRadioButton* Option(int number) const;  // Option1, 2 (base), Option4, 5, 6 (top)
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
    QLineEdit* text_[12] = {};
    QRadioButton* option_[7] = {};
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
