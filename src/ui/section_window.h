// The section window: the dimensions of the chosen section kind and the vertex and bar tables.
#pragma once

#include <array>
#include <memory>

#include <QWidget>

#include "model/column_data.h"
#include "model/field_table.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvelo::ui {

class CoordinateGrid;
class FieldSet;
class SectionPicture;

class SectionWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SectionWindow(QWidget* parent = nullptr);
    ~SectionWindow() override;

    // Shows the parts of the kind and sizes the shown tables to the counts (keeping the rows
    // that remain). Does not show the window.
    void Prepare(SectionType kind, int vertexCount, int barCount);
    SectionType Kind() const { return kind_; }

    // The dimension texts and the table rows.
    void Collect(ColumnData& data) const;
    void Apply(const ColumnData& data);

    CoordinateGrid* VertexGrid() const { return vertexGrid_; }
    CoordinateGrid* BarGrid() const { return barGrid_; }
    QLineEdit* Field(FieldId id) const;  // a dimension field; nullptr for other fields

    // "Apagar tudo": empties the dimension fields and the table cells of the current kind.
    void ClearCurrentKind();
    // "Ler de arquivo" with a chosen file: returns false after a message naming the bad line.
    // For polygons `vertices` chooses the vertex table, otherwise the bar table is read.
    bool ReadCoordinateFile(const QString& path, bool vertices);

  signals:
    // OK, Cancel or the title-bar button: the main window enables itself again.
    void closed(bool confirmed);
    void helpRequested();
    // "Ler de arquivo" changed the number of rows of a table: the main window's count follows.
    void vertexCountChanged(int count);
    void barCountChanged(int count);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Confirm();
    void Cancel();
    void ReadFromFile();

    SectionType kind_ = SectionType::RectangularSolid;
    std::unique_ptr<FieldSet> fields_;
    std::array<QGroupBox*, 4> frames_{};  // the dimensions of the parametric kinds
    std::array<SectionPicture*, 4> pictures_{};
    QWidget* vertexPanel_ = nullptr;
    QWidget* barPanel_ = nullptr;
    QWidget* vertexNumbering_ = nullptr;
    QWidget* barNumbering_ = nullptr;
    CoordinateGrid* vertexGrid_ = nullptr;
    CoordinateGrid* barGrid_ = nullptr;
    QPushButton* readButton_ = nullptr;
};

}  // namespace tarvelo::ui
