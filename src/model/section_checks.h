// Geometric checks of a section as typed: a contour that crosses itself, and bars whose centre
// lies outside the concrete. Both rest on one orientation predicate that takes points collinear
// as typed for collinear, so a vertex or a bar typed on an edge is found on it, whatever the
// binary rounding of its decimals.
#pragma once

#include "model/section_geometry.h"

namespace tarvelo {

// Sign of the turn a -> b -> c: +1 counter-clockwise, -1 clockwise, 0 when the three points are
// collinear to within the precision the coordinates are stored with (a few units in the last
// place of the largest one): (0.3, 0.19), (3.1, 1.03), (4.2, 1.36) are collinear.
int Orientation(const Point& a, const Point& b, const Point& c);

// Two edges of the polygon that cross, numbered from 1: edge k joins vertex k to vertex k + 1,
// the last edge joins vertex nv to vertex 1. Both 0 when no edges cross.
struct EdgeCrossing {
    int first = 0;
    int second = 0;
    bool found() const { return first != 0; }
};

// A pair of edges where the contour crosses itself: first two edges that cross at a point
// inside both; then an edge that the contour crosses through a vertex lying inside it; then a
// point the contour passes through twice, crossing itself there (the edges leaving it are
// named). Edges that only touch, or overlap along a line, do not count: the slit that joins an
// outer contour to the contour of an opening is walked once each way and must stay allowed.
EdgeCrossing FindCrossingEdges(const SectionGeometry& section);

// True when p lies inside the polygon vertices[0..nv] (closed) or on its boundary. The slit of a
// hollow section counts as boundary; a point in the opening is outside.
bool ContainsPoint(const Point* vertices, int nv, const Point& p);

// The number (from 1) of the first bar whose centre lies outside the concrete; 0 when every bar
// is inside it or on its contour.
int FindBarOutsideConcrete(const SectionGeometry& section);

}  // namespace tarvelo
