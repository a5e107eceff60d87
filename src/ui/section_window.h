// Form17b: the dimensions of the chosen section kind and the vertex and bar tables.
#pragma once

#include <array>

#include <QWidget>

#include "model/column_data.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvelo::ui {

class CoordinateGrid;
class SectionPicture;

class SectionWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SectionWindow(QWidget* parent = nullptr);

    // Shows the parts of the kind, sizes the shown tables to the counts (keeping the rows that
    // remain) and writes the counts into the hidden count fields. Does not show the window.
    void Prepare(SectionType kind, int vertexCount, int barCount);
    SectionType Kind() const { return kind_; }

    // The dimension texts and the table rows.
    void Collect(ColumnData& data) const;
    void Apply(const ColumnData& data);

    CoordinateGrid* VertexGrid() const { return grade1_; }
    CoordinateGrid* BarGrid() const { return grade2_; }
    QLineEdit* Field(int number) const;  // Text1 .. Text13

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
    std::array<QLineEdit*, 14> text_{};  // text_[1] .. text_[13]
    std::array<QGroupBox*, 4> frames_{};
    std::array<SectionPicture*, 4> pictures_{};
    QWidget* vertexPanel_ = nullptr;
    QWidget* barPanel_ = nullptr;
    QWidget* vertexNumbering_ = nullptr;
    QWidget* barNumbering_ = nullptr;
    CoordinateGrid* grade1_ = nullptr;
    CoordinateGrid* grade2_ = nullptr;
    QPushButton* readButton_ = nullptr;
};

}  // namespace tarvelo::ui
