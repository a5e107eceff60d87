#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>

#include "coordinate_grid.h"
#include "main_window.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "section_drawing.h"
#include "section_window.h"
#include "ui_common.h"
#include "ui_test_support.h"

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
    EXPECT_DOUBLE_EQ(high.x() - low.x(), 1280.0);
    EXPECT_DOUBLE_EQ(low.y() - high.y(), 2560.0);
    EXPECT_DOUBLE_EQ((low.x() + high.x()) / 2, 2467.0);
    EXPECT_DOUBLE_EQ((low.y() + high.y()) / 2, 1507.0);
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
    EXPECT_FALSE(ComputeSectionMapping(SectionGeometry{}).valid);
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

class SectionDrawingWindowTest : public testing::WindowTest {};

// "Ver seção" builds the section as the calculation does (its refusals are cases of the input
// rules) and paints outline and bars.
TEST_F(SectionDrawingWindowTest, DrawsTheCheckedSectionAndEnablesTheLoads) {
    MainWindow window;
    window.show();
    window.findChild<QLineEdit*>("barCountField")->setText("4");
    QTest::mouseClick(window.findChild<QPushButton*>("sectionDataButton"), Qt::LeftButton);
    const char* bars[4][2] = {{"4", "4"}, {"16", "4"}, {"4", "36"}, {"16", "36"}};
    auto* grid = window.Section()->BarGrid();
    for (int r = 0; r < 4; ++r) {
        grid->SetCellText(r, 1, bars[r][0]);
        grid->SetCellText(r, 2, bars[r][1]);
    }
    QTest::mouseClick(window.Section()->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton*>("drawSectionButton"), Qt::LeftButton);
    SectionDrawingWindow* drawing = window.Drawing();
    ASSERT_TRUE(drawing->isVisible());
    EXPECT_TRUE(window.findChild<QPushButton*>("loadsButton")->isEnabled());

    // The centroidal section as the procedures build it, painted at the mapped points.
    const SectionGeometry& section = drawing->Canvas()->Section();
    const SectionDrawingMapping m = ComputeSectionMapping(section);
    const QImage image = drawing->Canvas()->grab().toImage();
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
