// Turns each section kind of the column data into the polygon-plus-bars form, with bmin.
#pragma once

#include "model/column_data.h"
#include "model/column_numbers.h"
#include "model/input_rules.h"
#include "model/section_geometry.h"

namespace tarvelo {

// The vertex-count checks of a polygon; RuleId::None when the count is usable.
RuleId CheckVertexCount(CountValue count);

// Builds the polygon and bars of column.sectionType from the dimensions, the vertex count
// (polygons) and the grids of `column`, and runs that kind's dimension checks in their order
// interleaved with the generation. barCount is the already checked bar count (1..299).
// Returns the first rule that failed (the section is then unusable), or RuleId::None.
// Bar areas are left 0; bars of the circular kinds are generated, the others read from the grid.
RuleId GenerateSection(const ColumnNumbers& column, int barCount, SectionGeometry& out);

// Moves vertices and bars to the centroid of the concrete polygon. Returns false, moving nothing,
// when the signed area is <= 0 (clockwise, degenerate or self-cancelling polygon). `area`
// receives the signed area in every case.
bool CentreSection(SectionGeometry& section, double& area);

// True when two bars have exactly the same x and exactly the same y.
bool HasCoincidentBars(const SectionGeometry& section);

// Effective length by the supports; the pinned base under a free top has none (returns 0).
double EffectiveLength(double L, SupportCondition base, SupportCondition top);

// Radii of gyration and slenderness in both directions from area, inertiaX and inertiaY.
void ComputeSlenderness(SectionConstants& constants, double L, SupportCondition base,
                        SupportCondition top);

}  // namespace tarvelo
