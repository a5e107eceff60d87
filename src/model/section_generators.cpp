#include "model/section_generators.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "model/exact_trig.h"
#include "model/field_table.h"

namespace tarvelo {
namespace {

// The circle is drawn as a 50-sided polygon; full turn and half turn as ten-digit constants.
constexpr int kCircleSides = 50;
constexpr double kFullTurn = 6.283185308;
constexpr double kPi = 3.141592654;

// A grid row count is held as a 16-bit integer, like every count.
constexpr std::size_t kMaxGridRows = 32767;

enum class GridCheck { Ok, Mismatch, Overflow };

// The grid has its heading row plus one row per entry, and must have exactly count + 1 rows.
GridCheck CheckGridRows(const std::vector<Point>& grid, int count) {
    const std::size_t rows = grid.size() + 1;
    if (rows > kMaxGridRows) return GridCheck::Overflow;
    return rows == static_cast<std::size_t>(count) + 1 ? GridCheck::Ok : GridCheck::Mismatch;
}

void CopyBars(const std::vector<Point>& grid, int barCount, SectionGeometry& out) {
    for (int j = 0; j < barCount; ++j) {
        const Point& row = grid[static_cast<std::size_t>(j)];
        out.bars[j] = Bar{row.x, row.y, 0.0};
    }
}

// Vertices first..first+49 on a circle about the origin, counter-clockwise from (radius, 0).
// The angle is accumulated step by step, as the drawing of the section does.
void GenerateCircle(double radius, int first, SectionGeometry& out) {
    const double step = kFullTurn / kCircleSides;
    double angle = -step;
    for (int i = 0; i < kCircleSides; ++i) {
        angle = angle + step;
        out.vertices[first + i] = Point{radius * ExactCos(angle), radius * ExactSin(angle)};
    }
}

// barCount bars equally spaced on a circle of the given radius, the first at (radius, 0).
void GenerateCircularBars(double radius, int barCount, SectionGeometry& out) {
    const double step = 2 * kPi / barCount;
    double angle = -step;
    for (int j = 0; j < barCount; ++j) {
        angle = angle + step;
        out.bars[j] = Bar{radius * ExactCos(angle), radius * ExactSin(angle), 0.0};
    }
}

RuleId GenerateRectangularSolid(const ColumnNumbers& column, int barCount, SectionGeometry& out) {
    const double hx = column[FieldId::RectHx];
    const double hy = column[FieldId::RectHy];
    if (hx == 0 || hy == 0) return RuleId::RectangleZeroDimension;
    out.bmin = hx < hy ? hx : hy;

    out.nv = 4;
    out.vertices[0] = Point{0, 0};
    out.vertices[1] = Point{hx, 0};
    out.vertices[2] = Point{hx, hy};
    out.vertices[3] = Point{0, hy};
    out.vertices[4] = out.vertices[0];

    switch (CheckGridRows(column.bars, barCount)) {
        case GridCheck::Overflow:
            return RuleId::GridRowOverflow;
        case GridCheck::Mismatch:
            return RuleId::RectangleBarGridRows;
        case GridCheck::Ok:
            break;
    }
    CopyBars(column.bars, barCount, out);
    return RuleId::None;
}

// The opening, centred in the outer rectangle, is walked clockwise and joined to the outer
// boundary by a slit from (0, 0) to its corner (a, b), walked once each way; the slit adds
// nothing to any boundary integral, so the section stays one polygon.
RuleId GenerateRectangularHollow(const ColumnNumbers& column, int barCount, SectionGeometry& out) {
    const double hx = column[FieldId::HollowHx];
    const double hy = column[FieldId::HollowHy];
    const double bxo = column[FieldId::HollowBxo];
    const double byo = column[FieldId::HollowByo];
    if (hx == 0 || hy == 0) return RuleId::HollowRectangleZeroDimension;
    if (!(bxo < hx) || !(byo < hy)) return RuleId::HollowRectangleOpening;
    out.bmin = hx < hy ? hx : hy;

    const double a = (hx - bxo) / 2;
    const double b = (hy - byo) / 2;
    out.nv = 10;
    out.vertices[0] = Point{0, 0};
    out.vertices[1] = Point{hx, 0};
    out.vertices[2] = Point{hx, hy};
    out.vertices[3] = Point{0, hy};
    out.vertices[4] = Point{0, 0};
    out.vertices[5] = Point{a, b};
    out.vertices[6] = Point{a, b + byo};
    out.vertices[7] = Point{a + bxo, b + byo};
    out.vertices[8] = Point{a + bxo, b};
    out.vertices[9] = Point{a, b};
    out.vertices[10] = out.vertices[0];

    switch (CheckGridRows(column.bars, barCount)) {
        case GridCheck::Overflow:
            return RuleId::GridRowOverflow;
        case GridCheck::Mismatch:
            return RuleId::HollowRectangleBarGridRows;
        case GridCheck::Ok:
            break;
    }
    CopyBars(column.bars, barCount, out);
    return RuleId::None;
}

RuleId GenerateCircularSolid(const ColumnNumbers& column, int barCount, SectionGeometry& out) {
    const double diameter = column[FieldId::CircleDiameter];
    const double cover = column[FieldId::CircleCover];
    if (diameter == 0 || cover == 0) return RuleId::CircleZeroDimension;
    if (diameter / 2 <= cover) return RuleId::CircleCoverTooLarge;
    out.bmin = diameter;

    out.nv = kCircleSides;
    GenerateCircle(diameter / 2, 0, out);
    out.vertices[kCircleSides] = out.vertices[0];
    GenerateCircularBars(diameter / 2 - cover, barCount, out);
    return RuleId::None;
}

// The inner circle runs clockwise from (r, 0) through 51 vertices, the last one back on the
// first; the slit along the positive x axis joins it to the outer circle.
RuleId GenerateCircularHollow(const ColumnNumbers& column, int barCount, SectionGeometry& out) {
    const double De = column[FieldId::HollowCircleDe];
    const double Di = column[FieldId::HollowCircleDi];
    const double cover = column[FieldId::HollowCircleCover];
    if (De == 0 || cover == 0) return RuleId::HollowCircleZeroDimension;
    if (!(Di < De)) return RuleId::HollowCircleDiameters;
    if ((De - Di) / 2 <= cover) return RuleId::HollowCircleCoverTooLarge;
    out.bmin = De;

    out.nv = kCircleSides;
    GenerateCircle(De / 2, 0, out);
    out.vertices[kCircleSides] = out.vertices[0];
    if (Di > 0) {
        const double r = Di / 2;
        const double step = kFullTurn / kCircleSides;
        double angle = step;
        for (int i = kCircleSides + 1; i <= 2 * kCircleSides + 1; ++i) {
            angle = angle - step;
            out.vertices[i] = Point{r * ExactCos(angle), r * ExactSin(angle)};
        }
        out.nv = 2 * kCircleSides + 2;
        out.vertices[out.nv] = out.vertices[0];
    }
    GenerateCircularBars(De / 2 - cover, barCount, out);
    return RuleId::None;
}

RuleId GeneratePolygonal(const ColumnNumbers& column, int barCount, SectionGeometry& out) {
    if (RuleId id = CheckVertexCount(column.vertexCount); id != RuleId::None) return id;
    const int nv = column.vertexCount.value;
    switch (CheckGridRows(column.vertices, nv)) {
        case GridCheck::Overflow:
            return RuleId::GridRowOverflow;
        case GridCheck::Mismatch:
            return RuleId::VertexGridRows;
        case GridCheck::Ok:
            break;
    }
    switch (CheckGridRows(column.bars, barCount)) {
        case GridCheck::Overflow:
            return RuleId::GridRowOverflow;
        case GridCheck::Mismatch:
            return RuleId::PolygonBarGridRows;
        case GridCheck::Ok:
            break;
    }

    out.nv = nv;
    for (int i = 0; i < nv; ++i) {
        out.vertices[i] = column.vertices[static_cast<std::size_t>(i)];
    }
    out.vertices[nv] = out.vertices[0];
    CopyBars(column.bars, barCount, out);

    // Extents measured from the first vertex, on the coordinates as typed: the width and height
    // of the polygon when the first vertex is a corner of its bounding box.
    double dxMax = 0;
    double dyMax = 0;
    for (int i = 1; i <= nv; ++i) {
        const double dx = std::fabs(out.vertices[i].x - out.vertices[0].x);
        const double dy = std::fabs(out.vertices[i].y - out.vertices[0].y);
        if (dx > dxMax) dxMax = dx;
        if (dy > dyMax) dyMax = dy;
    }
    out.bmin = dxMax < dyMax ? dxMax : dyMax;
    return RuleId::None;
}

}  // namespace

RuleId CheckVertexCount(CountValue count) {
    if (count.overflow) return RuleId::VertexCountOverflow;
    if (count.value < 3) return RuleId::VertexCountBelow3;
    if (count.value > kMaxVertices) return RuleId::VertexCountAbove299;
    return RuleId::None;
}

RuleId GenerateSection(const ColumnNumbers& column, int barCount, SectionGeometry& out) {
    out.nv = 0;
    out.nb = 0;
    out.bmin = 0;
    // The caller has checked the bar count; a count outside the tables is refused all the same.
    if (barCount <= 0) return RuleId::BarCountNotPositive;
    if (barCount > kMaxBars) return RuleId::BarCountAbove299;

    RuleId result = RuleId::None;
    switch (column.sectionType) {
        case SectionType::RectangularSolid:
            result = GenerateRectangularSolid(column, barCount, out);
            break;
        case SectionType::RectangularHollow:
            result = GenerateRectangularHollow(column, barCount, out);
            break;
        case SectionType::CircularSolid:
            result = GenerateCircularSolid(column, barCount, out);
            break;
        case SectionType::CircularHollow:
            result = GenerateCircularHollow(column, barCount, out);
            break;
        case SectionType::Polygonal:
            result = GeneratePolygonal(column, barCount, out);
            break;
    }
    if (result != RuleId::None) {
        // No partial section leaves the generator.
        out.nv = 0;
        out.nb = 0;
        out.bmin = 0;
        return result;
    }
    out.nb = barCount;
    return RuleId::None;
}

}  // namespace tarvelo
