#include <gtest/gtest.h>

#include <QImage>

#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "section_drawing.h"
#include "ui_common.h"

namespace tarvelo::ui {
namespace {

// The darkest pixel around a point (an antialiased line may fall between pixels).
int DarkestNear(const QImage& image, QPoint at) {
    int darkest = 255;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            darkest = std::min(darkest, image.pixelColor(at + QPoint(dx, dy)).lightness());
    return darkest;
}

// The centroidal section as the procedures build it for "Ver seção": its longer side fills
// kSize twips, its box centred on the picture, larger y drawn higher, with the outline and the
// bars painted at the mapped points. A section without extent draws nothing.
TEST(SectionDrawingTest, FillsTheLongerSideCentredAndPaintsAtTheMappedPoints) {
    using Mapping = SectionDrawingMapping;
    for (const auto& [hx, hy] : {std::pair{"20", "40"}, {"100", "20"}}) {
        ColumnData data;
        data.rectHx = hx;
        data.rectHy = hy;
        data.barCount = "4";
        data.bars = {{"4", "4"}, {"16", "4"}, {"4", "16"}, {"16", "16"}};
        RecordingHost host;
        SectionGeometry built;
        ASSERT_TRUE(BuildSectionForDrawing(data, host, built));
        SectionDrawingWindow drawing;
        drawing.Draw(built);
        drawing.show();
        const SectionGeometry& section = drawing.Canvas()->Section();
        const Mapping m = ComputeSectionMapping(section);
        ASSERT_TRUE(m.valid);
        const QPointF low = m.Map(m.xmin, m.ymin), high = m.Map(m.xmax, m.ymax);
        const double w = std::stod(hx), h = std::stod(hy);
        EXPECT_DOUBLE_EQ(std::max(high.x() - low.x(), low.y() - high.y()), Mapping::kSize);
        EXPECT_DOUBLE_EQ((high.x() - low.x()) / w, (low.y() - high.y()) / h);
        EXPECT_DOUBLE_EQ((low.x() + high.x()) / 2, Mapping::kCentreX);
        EXPECT_DOUBLE_EQ((low.y() + high.y()) / 2, Mapping::kCentreY);

        const QImage image = drawing.Canvas()->grab().toImage();
        for (int j = 0; j < section.nb; ++j) {
            const QPointF at = m.Map(section.bars[j].x, section.bars[j].y) / kTwipsPerPixel;
            EXPECT_LT(DarkestNear(image, at.toPoint()), 40) << "bar " << j + 1;
        }
        const QPointF corner = m.Map(section.vertices[0].x, section.vertices[0].y);
        EXPECT_LT(DarkestNear(image, (corner / kTwipsPerPixel).toPoint()), 160);
        const QPointF centroid = m.Map(0, 0) / kTwipsPerPixel;
        EXPECT_EQ(image.pixelColor(centroid.toPoint()), QColor(Qt::white));
    }
    SectionGeometry point;
    point.nv = 3;
    EXPECT_FALSE(ComputeSectionMapping(point).valid);
}

}  // namespace
}  // namespace tarvelo::ui
