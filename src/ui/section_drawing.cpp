#include "section_drawing.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "ui_common.h"

namespace tarvelo::ui {
namespace {

// An edge of the slit by which a single polygon joins an outer contour to an inner one: it runs
// along another edge of the polygon in the opposite direction. It bounds no concrete, so it is
// not drawn.
bool IsSlitEdge(const SectionGeometry& section, int edge) {
    const Point& a = section.vertices[static_cast<std::size_t>(edge)];
    const Point& b = section.vertices[static_cast<std::size_t>(edge + 1)];
    const double ux = b.x - a.x;
    const double uy = b.y - a.y;
    const double length2 = ux * ux + uy * uy;
    if (!(length2 > 0)) return false;
    // The generated circles close their turn with a rounded 2π, so the two edges of their slit
    // are not exactly parallel: "along" allows a ten-thousandth.
    constexpr double kAlong = 1e-4;
    for (int other = 0; other < section.nv; ++other) {
        if (other == edge) continue;
        const Point& c = section.vertices[static_cast<std::size_t>(other)];
        const Point& d = section.vertices[static_cast<std::size_t>(other + 1)];
        const double vx = d.x - c.x;
        const double vy = d.y - c.y;
        // Opposite direction, on the same line.
        if (ux * vx + uy * vy >= 0) continue;
        if (std::fabs(ux * vy - uy * vx) > kAlong * std::sqrt(length2 * (vx * vx + vy * vy))) {
            continue;
        }
        if (std::fabs(ux * (c.y - a.y) - uy * (c.x - a.x)) > kAlong * length2) continue;
        // Overlapping for a length, not only touching at an end.
        const double tc = (ux * (c.x - a.x) + uy * (c.y - a.y)) / length2;
        const double td = (ux * (d.x - a.x) + uy * (d.y - a.y)) / length2;
        if (std::min(std::max(tc, td), 1.0) - std::max(std::min(tc, td), 0.0) > 1e-9) return true;
    }
    return false;
}

}  // namespace

SectionDrawingMapping ComputeSectionMapping(const SectionGeometry& section) {
    SectionDrawingMapping m;
    if (section.nv < 1) return m;
    m.xmin = m.xmax = section.vertices[0].x;
    m.ymin = m.ymax = section.vertices[0].y;
    for (int i = 1; i < section.nv; ++i) {
        const Point& v = section.vertices[static_cast<std::size_t>(i)];
        if (v.x < m.xmin) m.xmin = v.x;
        if (v.x > m.xmax) m.xmax = v.x;
        if (v.y < m.ymin) m.ymin = v.y;
        if (v.y > m.ymax) m.ymax = v.y;
    }
    const double w = std::fabs(m.xmax - m.xmin);
    const double h = std::fabs(m.ymax - m.ymin);
    double d = w;
    if (w < h) d = h;
    if (!(d > 0) || !std::isfinite(d)) return m;
    m.scale = SectionDrawingMapping::kSize / d;
    m.x0 = SectionDrawingMapping::kCentreX - 0.5 * w * m.scale;
    m.y0 = SectionDrawingMapping::kCentreY - 0.5 * h * m.scale;
    m.valid = std::isfinite(m.scale);
    return m;
}

SectionCanvas::SectionCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("drawingCanvas"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

void SectionCanvas::SetSection(const SectionGeometry& section) {
    section_ = section;
    hasSection_ = true;
    update();
}

void SectionCanvas::paintEvent(QPaintEvent*) {
    if (!hasSection_) return;
    const SectionDrawingMapping m = ComputeSectionMapping(section_);
    if (!m.valid) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
    QPen outline(Qt::black);
    outline.setCosmetic(true);
    outline.setWidthF(1.0);
    p.setPen(outline);
    const int n = section_.nv;
    for (int i = 0; i < n; ++i) {
        if (IsSlitEdge(section_, i)) continue;
        const Point& a = section_.vertices[static_cast<std::size_t>(i)];
        const Point& b = section_.vertices[static_cast<std::size_t>(i + 1)];
        p.drawLine(m.Map(a.x, a.y), m.Map(b.x, b.y));
    }
    p.setBrush(Qt::black);
    const double r = m.BarRadius();
    for (int j = 0; j < section_.nb; ++j) {
        const Bar& bar = section_.bars[static_cast<std::size_t>(j)];
        p.drawEllipse(m.Map(bar.x, bar.y), r, r);
    }
}

SectionDrawingWindow::SectionDrawingWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("sectionDrawingWindow"));
    setWindowTitle(QStringLiteral(" TARVELO"));
    canvas_ = new SectionCanvas(this);
    canvas_->setGeometry(24, 24, 329, 201);
    setFixedSize(379, 254);
}

void SectionDrawingWindow::Draw(const SectionGeometry& section) {
    canvas_->SetSection(section);
}

}  // namespace tarvelo::ui
