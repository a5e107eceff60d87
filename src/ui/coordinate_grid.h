// The vertex and bar tables of the section window: a fixed heading row, a fixed first column
// with the row numbers and two columns of coordinate texts. Typing appends to the current cell
// through the signed decimal filter; Delete leaves a single blank.
#pragma once

#include <vector>

#include <QTableWidget>

#include "model/column_data.h"

namespace tarvelo::ui {

class CoordinateGrid : public QTableWidget {
    Q_OBJECT
  public:
    // firstHeading is the heading of the number column ("Vértice" or "Barra").
    CoordinateGrid(const QString& objectName, const QString& firstHeading,
                   QWidget* parent = nullptr);

    // Data rows (the heading row not counted).
    int DataRowCount() const { return rowCount(); }

    // Sets the number of data rows; the rows that remain keep their texts, new rows are empty.
    // Numbers the rows, centres the columns and makes row 1, column x the current cell.
    void SetDataRowCount(int rows);

    std::vector<GridRow> Rows() const;
    // Replaces every row (the row count follows the list).
    void SetRows(const std::vector<GridRow>& rows);

    QString CellText(int row, int column) const;  // row 0-based, column 1 (x) or 2 (y)
    void SetCellText(int row, int column, const QString& text);

    // Texts longer than 9 characters are cut to their first 8.
    void CutLongTexts();
    // Empties every coordinate cell, keeping the rows.
    void ClearCells();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Number(int fromRow);
};

}  // namespace tarvelo::ui
