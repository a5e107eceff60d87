// The section drawing window: the section as the calculation sees it, outline and bars, scaled so
// that its larger extent measures 2560 twips and centred on the picture area. The slit that joins
// an opening to the outline is not drawn.
#pragma once

#include <QPointF>
#include <QWidget>

#include "model/section_geometry.h"

namespace tarvelo::ui {

// Drawing coordinates are twips of the picture area, x to the right and y downwards.
struct SectionDrawingMapping {
    static constexpr double kCentreX = 2467;  // centre of the 4935 x 3015 twip picture area
    static constexpr double kCentreY = 1507;
    static constexpr double kSize = 2560;      // larger extent of the section, twips
    static constexpr double kBarRadius = 0.8;  // cm

    bool valid = false;  // false for a section without extent
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    double scale = 0;  // twips per cm
    double x0 = 0, y0 = 0;

    QPointF Map(double x, double y) const {
        return {(x - xmin) * scale + x0, (ymax - y) * scale + y0};
    }
    double BarRadius() const { return kBarRadius * scale; }
};

SectionDrawingMapping ComputeSectionMapping(const SectionGeometry& section);

// The white picture area that holds the drawing.
class SectionCanvas : public QWidget {
    Q_OBJECT
  public:
    explicit SectionCanvas(QWidget* parent = nullptr);
    void SetSection(const SectionGeometry& section);
    const SectionGeometry& Section() const { return section_; }
    bool HasSection() const { return hasSection_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    SectionGeometry section_;
    bool hasSection_ = false;
};

class SectionDrawingWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SectionDrawingWindow(QWidget* parent = nullptr);
    // Keeps the section and redraws it (also whenever the window is uncovered).
    void Draw(const SectionGeometry& section);
    SectionCanvas* Canvas() const { return canvas_; }

  private:
    SectionCanvas* canvas_ = nullptr;
};

}  // namespace tarvelo::ui
