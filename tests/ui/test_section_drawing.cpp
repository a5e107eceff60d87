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

// The section fills the longer side of the picture, centred, larger y drawn higher; bars are
// discs of 0.8 cm; a section without extent draws nothing.
TEST(SectionDrawingMappingTest, ScaleCentreAndBars) {
    const SectionDrawingMapping tall = ComputeSectionMapping(Rectangle(20, 40));
    ASSERT_TRUE(tall.valid);
    EXPECT_DOUBLE_EQ(tall.scale, 64.0);
    const QPointF low = tall.Map(-10, -20), high = tall.Map(10, 20);
    EXPECT_EQ(low, QPointF(2467 - 640, 1507 + 1280));
    EXPECT_EQ(high, QPointF(2467 + 640, 1507 - 1280));
    const SectionDrawingMapping wide = ComputeSectionMapping(Rectangle(100, 20));
    EXPECT_DOUBLE_EQ(wide.scale, 25.6);
    EXPECT_DOUBLE_EQ(wide.Map(0, -10).y() - wide.Map(0, 10).y(), 512.0);

    ColumnData data;
    data.sectionType = SectionType::CircularSolid;
    data.circleDiameter = "20";
    data.circleCover = "3";
    data.barCount = "6";
    RecordingHost host;
    SectionGeometry circle;
    ASSERT_TRUE(BuildSectionForDrawing(data, host, circle));
    EXPECT_NEAR(ComputeSectionMapping(circle).BarRadius(), 0.8 * 2560 / 20, 1e-9);

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
