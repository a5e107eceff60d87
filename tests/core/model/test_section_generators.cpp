#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/section_integration.h"
#include "model/section_generators.h"

namespace tarvelo {
namespace {

ColumnData WithBars(SectionType type, std::initializer_list<GridRow> bars) {
    ColumnData data;
    data.sectionType = type;
    data.bars = bars;
    return data;
}

bool At(const Point& p, double x, double y) {
    return p.x == x && p.y == y;
}

const std::initializer_list<GridRow> kFourBars{{"4", "4"}, {"16", "4"}, {"16", "36"}, {"4", "36"}};

TEST(GenerateSection, SolidCircleWithGeneratedBars) {
    ColumnData data = WithBars(SectionType::CircularSolid, {{"99", "99"}});  // grid is ignored
    data.circleCover = "3";
    SectionGeometry s;
    ASSERT_EQ(GenerateSection(ReadColumnNumbers(data), 6, s), RuleId::None);
    ASSERT_EQ(s.nv, 50);
    EXPECT_TRUE(At(s.vertices[0], 10, 0) && At(s.vertices[50], 10, 0));
    EXPECT_EQ(s.bmin, 20.0);
    ASSERT_EQ(s.nb, 6);
    EXPECT_EQ(s.bars[0].x, 7.0);
    // Half a turn is the ten-digit 3.141592654, a little beyond pi: bar 4 sits just below the axis.
    EXPECT_NEAR(s.bars[3].y, 7 * std::sin(3.141592654), 1e-13);
    EXPECT_LT(s.bars[3].y, -2e-9);

    data.circleCover = "10";
    EXPECT_EQ(GenerateSection(ReadColumnNumbers(data), 6, s), RuleId::CircleCoverTooLarge);
    data.circleCover = "";
    EXPECT_EQ(GenerateSection(ReadColumnNumbers(data), 6, s), RuleId::CircleZeroDimension);
}

TEST(GenerateSection, HollowCircleInnerRingAndChecks) {
    ColumnData data;
    data.sectionType = SectionType::CircularHollow;
    data.hollowCircleCover = "4";
    SectionGeometry s;
    // No inner diameter: the full circle of diameter De.
    ASSERT_EQ(GenerateSection(ReadColumnNumbers(data), 8, s), RuleId::None);
    EXPECT_EQ(s.nv, 50);
    EXPECT_EQ(s.bmin, 40.0);
    EXPECT_EQ(s.bars[0].x, 16.0);

    data.hollowCircleDi = "20";
    ASSERT_EQ(GenerateSection(ReadColumnNumbers(data), 8, s), RuleId::None);
    ASSERT_EQ(s.nv, 102);
    EXPECT_TRUE(At(s.vertices[50], 20, 0) && At(s.vertices[51], 10, 0));  // along the slit
    EXPECT_LT(s.vertices[52].y, 0.0);  // the inner ring runs clockwise
    EXPECT_NEAR(s.vertices[101].x, 10.0, 1e-7);
    EXPECT_NEAR(s.vertices[101].y, 0.0, 1e-7);
    EXPECT_TRUE(At(s.vertices[102], 20, 0));

    data.hollowCircleCover = "10";
    EXPECT_EQ(GenerateSection(ReadColumnNumbers(data), 8, s), RuleId::HollowCircleCoverTooLarge);
    data.hollowCircleDi = "40";
    EXPECT_EQ(GenerateSection(ReadColumnNumbers(data), 8, s), RuleId::HollowCircleDiameters);
    data.hollowCircleDe = " ";
    EXPECT_EQ(GenerateSection(ReadColumnNumbers(data), 8, s), RuleId::HollowCircleZeroDimension);
}

TEST(GenerateSection, PolygonCountsAndGrids) {
    ColumnData data = WithBars(SectionType::Polygonal, kFourBars);
    data.vertices = {{"0", "0"}, {"20", "0"}, {"20", "40"}};
    SectionGeometry s;
    data.vertexCount = "40000";
    EXPECT_EQ(GenerateSection(ReadColumnNumbers(data), 4, s), RuleId::VertexCountOverflow);
    data.vertexCount = "2.5";  // rounds to 2
    EXPECT_EQ(GenerateSection(ReadColumnNumbers(data), 4, s), RuleId::VertexCountBelow3);
    data.vertexCount = "300";
    EXPECT_EQ(GenerateSection(ReadColumnNumbers(data), 4, s), RuleId::VertexCountAbove299);
    data.vertexCount = "4";
    EXPECT_EQ(GenerateSection(ReadColumnNumbers(data), 4, s), RuleId::VertexGridRows);
    data.vertexCount = "3";
    EXPECT_EQ(GenerateSection(ReadColumnNumbers(data), 5, s), RuleId::PolygonBarGridRows);
    EXPECT_EQ(GenerateSection(ReadColumnNumbers(data), 4, s), RuleId::None);
    data.bars.resize(40000);
    EXPECT_EQ(GenerateSection(ReadColumnNumbers(data), 4, s), RuleId::GridRowOverflow);
}

TEST(GenerateSection, PolygonBminIsMeasuredFromTheFirstTypedVertex) {
    ColumnData data = WithBars(SectionType::Polygonal, kFourBars);
    data.vertexCount = "4";
    data.vertices = {{"100", "200"}, {"130", "200"}, {"130", "250"}, {"100", "250"}};
    SectionGeometry s;
    ASSERT_EQ(GenerateSection(ReadColumnNumbers(data), 4, s), RuleId::None);
    EXPECT_EQ(s.bmin, 30.0);
    EXPECT_EQ(s.vertices[4].x, 100.0);
    // A diamond 40 wide and 60 high numbered from a tip: the extents seen from there fall short.
    data.vertices = {{"40", "0"}, {"20", "30"}, {"0", "0"}, {"20", "-30"}};
    ASSERT_EQ(GenerateSection(ReadColumnNumbers(data), 4, s), RuleId::None);
    EXPECT_EQ(s.bmin, 30.0);
    data.vertices = {{"20", "-30"}, {"40", "0"}, {"20", "30"}, {"0", "0"}};
    ASSERT_EQ(GenerateSection(ReadColumnNumbers(data), 4, s), RuleId::None);
    EXPECT_EQ(s.bmin, 20.0);
}

// Clockwise, degenerate and overflowing polygons have no centroid; a refused one stays put.
TEST(CentreSection, RejectsClockwiseDegenerateAndOverflowingPolygons) {
    ColumnData data = WithBars(SectionType::Polygonal, kFourBars);
    data.vertexCount = "4";
    data.vertices = {{"0", "0"}, {"0", "40"}, {"20", "40"}, {"20", "0"}};
    SectionGeometry s;
    double area = 0;
    ASSERT_EQ(GenerateSection(ReadColumnNumbers(data), 4, s), RuleId::None);
    EXPECT_FALSE(CentreSection(s, area));
    EXPECT_EQ(s.vertices[1].y, 40.0);
    data.vertices = {{"0", "0"}, {"10", "10"}, {"20", "20"}, {"30", "30"}};
    ASSERT_EQ(GenerateSection(ReadColumnNumbers(data), 4, s), RuleId::None);
    EXPECT_FALSE(CentreSection(s, area));
    data = WithBars(SectionType::RectangularSolid, kFourBars);
    data.rectHx = "1e400";  // reads as infinity
    ASSERT_EQ(GenerateSection(ReadColumnNumbers(data), 4, s), RuleId::None);
    EXPECT_FALSE(CentreSection(s, area));
}

// A bar at the centroid is one bar, not a pair with the empty places after the last bar.
TEST(CentreSection, CoincidentBarsAreCountedAmongTheBarsOnly) {
    SectionGeometry s;
    s.nb = 1;
    EXPECT_FALSE(HasCoincidentBars(s));
    s.nb = 2;
    EXPECT_TRUE(HasCoincidentBars(s));
}

}  // namespace
}  // namespace tarvelo
