// The vertex and bar tables of the section window: a fixed heading row, a fixed first column
// with the row numbers and two columns of coordinate texts. Typing, pasting (Ctrl+V, the middle
// button) and dropping append to the current cell through the signed decimal filter; Backspace
// takes its last character away, Delete empties it, Ctrl+X cuts and Ctrl+Z undoes. F2 or a
// double click edit the cell's text in place, through the same filter.
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
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    struct CellEdit {
        int row;
        int column;
        QString before;
    };

    void Number(int fromRow);
    bool IsCoordinateCell(int row, int column) const;
    // A change typed by the user, kept for Ctrl+Z.
    void EditCell(int row, int column, const QString& text);
    void AppendFiltered(int row, int column, const QString& pasted);

    std::vector<CellEdit> undo_;
};

}  // namespace tarvelo::ui
