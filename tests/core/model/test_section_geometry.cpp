#include <gtest/gtest.h>

#include <cmath>

#include "engine/section_integration.h"
#include "model/section_generators.h"

namespace tarvelo {
namespace {

using namespace std::string_literals;

SectionGeometry Generated(const ColumnData& data, int barCount) {
    SectionGeometry s;
    EXPECT_EQ(GenerateSection(ReadColumnNumbers(data), barCount, s), RuleId::None);
    return s;
}

ColumnData Rectangle20x40() {
    ColumnData data;
    data.bars = {{"4", "4"}, {"16", "4"}, {"16", "36"}, {"4", "36"}};
    return data;
}

TEST(CentreSection, RejectsClockwiseDegenerateAndOverflowingPolygons) {
    ColumnData data = Rectangle20x40();
    data.sectionType = SectionType::Polygonal;
    data.vertexCount = "4"s;
    data.vertices = {{"0", "0"}, {"0", "40"}, {"20", "40"}, {"20", "0"}};
    SectionGeometry s = Generated(data, 4);
    double area = 0;
    EXPECT_FALSE(CentreSection(s, area));
    EXPECT_EQ(s.vertices[1].y, 40.0);  // left where it was

    data.vertices = {{"0", "0"}, {"10", "10"}, {"20", "20"}, {"30", "30"}};  // no area
    s = Generated(data, 4);
    EXPECT_FALSE(CentreSection(s, area));

    data = Rectangle20x40();
    data.rectHx = "1e400"s;  // reads as infinity: no finite centroid
    s = Generated(data, 4);
    EXPECT_FALSE(CentreSection(s, area));
}

}  // namespace
}  // namespace tarvelo
