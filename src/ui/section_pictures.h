// Explanatory pictures of the section window: one per section kind with the meaning of its
// dimensions, and the numbering sketches of the polygonal kind.
#pragma once

#include <QWidget>

namespace tarvelo::ui {

enum class SectionPictureKind {
    RectangularSolid,
    RectangularHollow,
    CircularSolid,
    CircularHollow,
    VertexNumbering,
    BarNumbering,
};

class SectionPicture : public QWidget {
    Q_OBJECT
  public:
    explicit SectionPicture(SectionPictureKind kind, QWidget* parent = nullptr);
    SectionPictureKind Kind() const { return kind_; }
    QSize sizeHint() const override { return {150, 120}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    SectionPictureKind kind_;
};

}  // namespace tarvelo::ui
