// "Tabela de combinações": every load case of the column in one grid, one row per case (name
// and the nine loads), that takes rows pasted from a spreadsheet.
#pragma once

#include <vector>

#include <QDialog>

#include "model/load_case.h"

class QTableWidget;

namespace tarvelo::ui {

class CasesTableWindow : public QDialog {
    Q_OBJECT
  public:
    explicit CasesTableWindow(QWidget* parent = nullptr);

    void SetCases(const std::vector<LoadCase>& cases);
    // The rows as cases; an empty name becomes the row's number.
    std::vector<LoadCase> Cases() const;
    QTableWidget* Grid() const { return grid_; }

    // Ctrl+V: tab-separated rows (as LibreOffice Calc and Excel copy them, a decimal comma read
    // as a point) written from the current cell on, adding rows as needed up to 99. A cell that
    // is not a number of its load refuses the whole paste with its row and column.
    void Paste(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QTableWidget* grid_ = nullptr;
};

}  // namespace tarvelo::ui
