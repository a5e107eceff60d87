#include "model/column_numbers.h"

namespace tarvelo {
namespace {

std::vector<Point> ReadGrid(const std::vector<GridRow>& grid) {
    std::vector<Point> points;
    points.reserve(grid.size());
    for (const GridRow& row : grid)
        points.push_back(Point{ReadNumber(row.x), ReadNumber(row.y)});
    return points;
}

}  // namespace

ColumnNumbers ReadColumnNumbers(const ColumnData& data) {
    ColumnNumbers numbers;
    for (const FieldInfo& field : Fields()) {
        numbers.values[static_cast<std::size_t>(field.id)] = ReadNumber(data.*field.member);
    }
    numbers.vertexCount = RoundToCount(numbers[FieldId::VertexCount]);
    numbers.barCount = RoundToCount(numbers[FieldId::BarCount]);
    numbers.vertices = ReadGrid(data.vertices);
    numbers.bars = ReadGrid(data.bars);
    numbers.sectionType = data.sectionType;
    numbers.baseSupport = data.baseSupport;
    numbers.topSupport = data.topSupport;
    return numbers;
}

}  // namespace tarvelo
