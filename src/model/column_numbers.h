// The column as a run computes with it: every field's text read into a number once, at the start
// of the run, by the one reading rule, walking the field table. The checks and the section
// generators then work on these numbers in their fixed order.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "model/column_data.h"
#include "model/field_table.h"
#include "model/number_reading.h"
#include "model/section_geometry.h"

namespace tarvelo {

struct ColumnNumbers {
    std::array<double, kFieldCount> values{};  // by FieldId
    // The two counts rounded to whole numbers (with their 16-bit overflow).
    CountValue vertexCount;
    CountValue barCount;
    // The grid rows as typed, one point per row; the grids' row counts are their sizes.
    std::vector<Point> vertices;
    std::vector<Point> bars;
    SectionType sectionType = SectionType::RectangularSolid;
    SupportCondition baseSupport = SupportCondition::Pinned;
    SupportCondition topSupport = SupportCondition::Pinned;

    double operator[](FieldId id) const { return values[static_cast<std::size_t>(id)]; }
};

ColumnNumbers ReadColumnNumbers(const ColumnData& data);

}  // namespace tarvelo
