// Sections generated from the window's data and centred; self-crossing contours and bars outside
// the concrete, alone and as a run meets them.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/core_test_support.h"
#include "engine/section_integration.h"
#include "model/section_checks.h"
#include "model/section_generators.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"

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

SectionGeometry Polygon(std::initializer_list<Point> vertices) {
    SectionGeometry s;
    for (const Point& v : vertices)
        s.vertices[s.nv++] = v;
    s.vertices[s.nv] = s.vertices[0];
    return s;
}

const SectionGeometry kHollowSquare = Polygon(
    {{0, 0}, {50, 0}, {50, 50}, {0, 50}, {0, 0}, {10, 10}, {10, 40}, {40, 40}, {40, 10}, {10, 10}});

// On the line y = 0.3 x + 0.1 as typed, though not as stored in binary; a hair off it is not.
TEST(SectionChecks, PointsCollinearAsTypedAreCollinear) {
    EXPECT_EQ(Orientation({0.3, 0.19}, {3.1, 1.03}, {4.2, 1.36}), 0);
    EXPECT_EQ(Orientation({500000.3, 200000.19}, {500003.1, 200001.03}, {500004.2, 200001.36}), 0);
    EXPECT_EQ(Orientation({0.3, 0.19}, {3.1, 1.03}, {4.2, 1.36000000000004}), 1);
    EXPECT_EQ(Orientation({0.3, 0.19}, {3.1, 1.03}, {4.2, 1.35999999999996}), -1);
}

TEST(SectionChecks, CrossingEdgesAreFoundAndTouchingOrOverlappingOnesAllowed) {
    const struct {
        const char* name;
        SectionGeometry polygon;
        int first, second;  // 0, 0: accepted
    } cases[] = {
        {"the reported polygon: edge 4 goes down through edge 1",
         Polygon({{0, 0}, {40, 0}, {40, 40}, {20, 40}, {20, -10}}), 1, 4},
        {"bow tie", Polygon({{0, 0}, {40, 40}, {40, 0}, {0, 40}}), 1, 3},
        {"through a vertex lying inside an edge",
         Polygon({{0, 0}, {40, 0}, {40, 40}, {20, 40}, {20, 0}, {10, -10}}), 1, 5},
        {"twice through one point, crossing there",
         Polygon({{0, 0}, {20, 20}, {40, 40}, {40, 0}, {20, 20}, {0, 40}}), 2, 5},
        {"twice through one point, touching there",
         Polygon({{0, 0}, {20, 20}, {40, 0}, {40, 40}, {20, 20}, {0, 40}}), 0, 0},
        {"hollow square, slit walked both ways", kHollowSquare, 0, 0},
        {"a vertex touching an edge from inside",
         Polygon({{0, 0}, {40, 0}, {40, 40}, {20, 40}, {20, 0}, {0, 20}}), 0, 0},
        {"a spike along an edge and back",
         Polygon({{0, 0}, {40, 0}, {40, 40}, {40, 20}, {40, 40}, {0, 40}}), 0, 0},
        {"touching a slanted edge at a point collinear as typed",
         Polygon({{0.3, 0.19}, {4.2, 1.36}, {4.2, 5}, {3.1, 1.03}, {2, 5}}), 0, 0},
    };
    for (const auto& c : cases) {
        const EdgeCrossing found = FindCrossingEdges(c.polygon);
        EXPECT_EQ(found.first, c.first) << c.name;
        EXPECT_EQ(found.second, c.second) << c.name;
    }
}

TEST(SectionChecks, BarsOutsideTheConcreteOrInTheOpeningAreNamed) {
    const SectionGeometry rectangle = Polygon({{0, 0}, {20, 0}, {20, 40}, {0, 40}});
    const SectionGeometry slanted = Polygon({{0.3, 0.19}, {4.2, 1.36}, {4.2, 5}, {0.3, 5}});
    const struct {
        const SectionGeometry* polygon;
        Point bar;
        bool inside;
    } cases[] = {
        {&rectangle, {3, 3}, true},        {&rectangle, {100, 100}, false},
        {&rectangle, {20, 17.3}, true},  // on an edge
        {&rectangle, {20, 40}, true},    // on a vertex
        {&rectangle, {20.001, 20}, false}, {&rectangle, {10, -1e-9}, false},
        {&kHollowSquare, {25, 25}, false},  // in the opening
        {&kHollowSquare, {10, 25}, true},   // on the opening's edge
        {&kHollowSquare, {5, 5}, true},     // on the slit
        {&slanted, {3.1, 1.03}, true},      // on the slanted edge as typed
    };
    for (const auto& c : cases) {
        // Bar 1 on the first vertex, inside: bar 2 is the one judged.
        SectionGeometry s = *c.polygon;
        s.bars[0] = {s.vertices[0].x, s.vertices[0].y, 0};
        s.bars[1] = {c.bar.x, c.bar.y, 0};
        s.nb = 2;
        EXPECT_EQ(FindBarOutsideConcrete(s), c.inside ? 0 : 2) << c.bar.x << ", " << c.bar.y;
    }
}

// The valid test column made polygonal, with four bars.
ColumnData PolygonalColumn(std::initializer_list<GridRow> vertices,
                           std::initializer_list<GridRow> bars) {
    ColumnData d = testing::ValidColumn();
    d.sectionType = SectionType::Polygonal;
    d.vertexCount = std::to_string(vertices.size());
    d.vertices = vertices;
    d.bars = bars;
    return d;
}

TEST(SectionChecks, RunsRefuseWithTheNamedMessageAndFocus) {
    const struct {
        ColumnData data;
        std::string message;  // "" when the run goes through
        FocusTarget focus;
    } cases[] = {
        {PolygonalColumn({{"0", "0"}, {"40", "0"}, {"40", "40"}, {"20", "40"}, {"20", "-10"}},
                         {{"3", "3"}, {"37", "3"}, {"37", "37"}, {"23", "37"}}),
         CrossingEdgesMessage(1, 4, 5), FocusTarget::SectionVertexGrid},
        {PolygonalColumn({{"0", "0"}, {"20", "0"}, {"20", "40"}, {"0", "40"}},
                         {{"3", "3"}, {"17", "3"}, {"100", "100"}, {"3", "37"}}),
         BarOutsideMessage(3), FocusTarget::SectionBarGrid},
        {PolygonalColumn({{"0", "0"}, {"20", "0"}, {"20", "40"}, {"0", "40"}},
                         {{"0", "0"}, {"20", "0"}, {"20", "17.3"}, {"0", "40"}}),
         "", FocusTarget::None},
    };
    for (const auto& c : cases) {
        RecordingHost host;
        const auto result = Verify(c.data, host, ProcedureOptions{1});
        EXPECT_EQ(result->completed, c.message.empty());
        EXPECT_EQ(host.Messages(), c.message.empty() ? std::vector<std::string>{}
                                                     : std::vector<std::string>{c.message});
        EXPECT_EQ(host.focus, c.focus);
    }
    // An edge is named by its two vertices; the last one closes back to vertex 1.
    const std::string edges = "1 (entre os vértices 1 e 2) e 4 (entre os vértices 4 e 5)";
    EXPECT_NE(CrossingEdgesMessage(1, 4, 5).find(edges), std::string::npos);
    EXPECT_NE(CrossingEdgesMessage(2, 5, 5).find("5 (entre os vértices 5 e 1)"), std::string::npos);
}

}  // namespace
}  // namespace tarvelo
