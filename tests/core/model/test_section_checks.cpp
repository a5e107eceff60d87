// Self-crossing contours and bars outside the concrete, alone and as a run meets them.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/core_test_support.h"
#include "model/section_checks.h"
#include "model/section_generators.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"

namespace tarvelo {
namespace {

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
