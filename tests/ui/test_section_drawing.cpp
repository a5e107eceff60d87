#include <gtest/gtest.h>

#include <QImage>

#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "section_drawing.h"
#include "ui_common.h"

namespace tarvelo::ui {
namespace {

// A centred rectangle, counter-clockwise, with the closing vertex.
SectionGeometry Rectangle(double w, double h) {
    SectionGeometry s;
    s.nv = 4;
    s.vertices[0] = {-w / 2, -h / 2};
    s.vertices[1] = {w / 2, -h / 2};
    s.vertices[2] = {w / 2, h / 2};
    s.vertices[3] = {-w / 2, h / 2};
    s.vertices[4] = s.vertices[0];
    return s;
}

// The section's longer side fills kSize twips, its box centred on the picture, larger y drawn
// higher; a section without extent draws nothing.
TEST(SectionDrawingMappingTest, FillsTheLongerSideCentred) {
    using Mapping = SectionDrawingMapping;
    for (const auto& [w, h] : {std::pair{20.0, 40.0}, {100.0, 20.0}}) {
        const Mapping m = ComputeSectionMapping(Rectangle(w, h));
        ASSERT_TRUE(m.valid);
        const QPointF low = m.Map(-w / 2, -h / 2), high = m.Map(w / 2, h / 2);
        EXPECT_DOUBLE_EQ(std::max(high.x() - low.x(), low.y() - high.y()), Mapping::kSize);
        EXPECT_DOUBLE_EQ((high.x() - low.x()) / w, (low.y() - high.y()) / h);
        EXPECT_DOUBLE_EQ((low.x() + high.x()) / 2, Mapping::kCentreX);
        EXPECT_DOUBLE_EQ((low.y() + high.y()) / 2, Mapping::kCentreY);
    }
    SectionGeometry point;
    point.nv = 3;
    EXPECT_FALSE(ComputeSectionMapping(point).valid);
}

// The darkest pixel around a point (an antialiased line may fall between pixels).
int DarkestNear(const QImage& image, QPoint at) {
    int darkest = 255;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            darkest = std::min(darkest, image.pixelColor(at + QPoint(dx, dy)).lightness());
        }
    }
    return darkest;
}

// The centroidal section as the procedures build it for "Ver seção" (the button itself is a step
// of the main window's enabling sequence), painted at the mapped points.
TEST(SectionDrawingWindowTest, PaintsOutlineAndBarsAtTheMappedPoints) {
    ColumnData data;
    data.barCount = "4";
    data.bars = {{"4", "4"}, {"16", "4"}, {"4", "36"}, {"16", "36"}};
    RecordingHost host;
    SectionGeometry built;
    ASSERT_TRUE(BuildSectionForDrawing(data, host, built));
    SectionDrawingWindow drawing;
    drawing.Draw(built);
    drawing.show();

    const SectionGeometry& section = drawing.Canvas()->Section();
    const SectionDrawingMapping m = ComputeSectionMapping(section);
    const QImage image = drawing.Canvas()->grab().toImage();
    for (int j = 0; j < section.nb; ++j) {
        const QPointF at = m.Map(section.bars[j].x, section.bars[j].y) / kTwipsPerPixel;
        EXPECT_EQ(image.pixelColor(at.toPoint()), QColor(Qt::black)) << "bar " << j + 1;
    }
    const QPointF corner = m.Map(section.vertices[0].x, section.vertices[0].y) / kTwipsPerPixel;
    const QPointF middle = (m.Map(0, 0) / kTwipsPerPixel);
    EXPECT_EQ(image.pixelColor(middle.toPoint()), QColor(Qt::white));
    EXPECT_LT(DarkestNear(image, corner.toPoint()), 160);
}

}  // namespace
}  // namespace tarvelo::ui
