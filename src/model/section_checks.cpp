#include "model/section_checks.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvelo {
namespace {

// p lies on the closed segment a-b.
bool OnSegment(const Point& a, const Point& b, const Point& p) {
    return Orientation(a, b, p) == 0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) &&
           std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y);
}

// p lies on the segment a-b and is neither of its ends.
bool InsideSegment(const Point& a, const Point& b, const Point& p) {
    const bool isEnd = (p.x == a.x && p.y == a.y) || (p.x == b.x && p.y == b.y);
    return !isEnd && OnSegment(a, b, p);
}

// The segments meet at a single point inside both: each one has the ends of the other strictly
// on opposite sides. A touching end or a collinear overlap gives a zero orientation.
bool CrossProperly(const Point& a, const Point& b, const Point& c, const Point& d) {
    return Orientation(a, b, c) * Orientation(a, b, d) < 0 &&
           Orientation(c, d, a) * Orientation(c, d, b) < 0;
}

// Directions from p towards a and b coincide.
bool SameDirection(const Point& p, const Point& a, const Point& b) {
    return Orientation(p, a, b) == 0 && (a.x - p.x) * (b.x - p.x) + (a.y - p.y) * (b.y - p.y) > 0;
}

// The direction from p towards d lies strictly inside the counter-clockwise turn from the
// direction of a to that of b (directions distinct, d on neither).
bool InsideTurn(const Point& p, const Point& a, const Point& b, const Point& d) {
    const int turn = Orientation(p, a, b);
    if (turn > 0) return Orientation(p, a, d) > 0 && Orientation(p, d, b) > 0;
    if (turn < 0) return !(Orientation(p, b, d) >= 0 && Orientation(p, d, a) >= 0);
    return Orientation(p, a, d) > 0;  // a and b opposite: the half-plane left of a
}

// The contour passes twice through the point p, arriving from a1 and leaving to a2, then from b1
// to b2: it crosses itself there when b1 and b2 lie on different sides of the first passage.
// Passages that share a direction (a slit walked both ways) only touch.
bool CrossAtSharedVertex(const Point& p, const Point& a1, const Point& a2, const Point& b1,
                         const Point& b2) {
    for (const Point* q : {&a1, &a2, &b1, &b2}) {
        if (q->x == p.x && q->y == p.y) return false;
    }
    if (SameDirection(p, a1, a2) || SameDirection(p, b1, b2) || SameDirection(p, a1, b1) ||
        SameDirection(p, a1, b2) || SameDirection(p, a2, b1) || SameDirection(p, a2, b2)) {
        return false;
    }
    return InsideTurn(p, a1, a2, b1) != InsideTurn(p, a1, a2, b2);
}

}  // namespace

int Orientation(const Point& a, const Point& b, const Point& c) {
    const double dx1 = b.x - a.x;
    const double dy1 = b.y - a.y;
    const double dx2 = c.x - a.x;
    const double dy2 = c.y - a.y;
    const double cross = dx1 * dy2 - dy1 * dx2;
    // Typed decimals such as 0.19 are stored to within half a unit in the last place of their
    // size, so three points collinear as typed can come out off their line by that much; the
    // differences and products above round within the same order. A cross product inside that
    // margin is collinearity as typed.
    const double u = std::numeric_limits<double>::epsilon() / 2;
    const double size = std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(b.x), std::fabs(b.y),
                                  std::fabs(c.x), std::fabs(c.y)});
    const double margin =
        8 * u *
        (size * (std::fabs(dx1) + std::fabs(dy1) + std::fabs(dx2) + std::fabs(dy2)) +
         std::fabs(dx1 * dy2) + std::fabs(dy1 * dx2));
    if (cross > margin) return 1;
    if (cross < -margin) return -1;
    return 0;
}

EdgeCrossing FindCrossingEdges(const SectionGeometry& section) {
    const int nv = std::clamp(section.nv, 0, kMaxVertices);
    const auto& v = section.vertices;

    // Two edges crossing at a point inside both.
    for (int i = 0; i < nv; ++i) {
        for (int j = i + 1; j < nv; ++j) {
            if (CrossProperly(v[i], v[i + 1], v[j], v[j + 1])) return {i + 1, j + 1};
        }
    }
    // The contour crossing an edge through one of its own vertices: the vertex lies inside the
    // edge, and the edges before and after it go off to strictly opposite sides of that edge.
    for (int k = 0; k < nv; ++k) {
        const Point& before = v[k == 0 ? nv - 1 : k - 1];
        const Point& after = v[k + 1];
        for (int i = 0; i < nv; ++i) {
            if (!InsideSegment(v[i], v[i + 1], v[k])) continue;
            if (Orientation(v[i], v[i + 1], before) * Orientation(v[i], v[i + 1], after) < 0) {
                return {std::min(i, k) + 1, std::max(i, k) + 1};
            }
        }
    }
    // The contour crossing itself at a vertex it passes through twice.
    for (int k = 0; k < nv; ++k) {
        for (int m = k + 1; m < nv; ++m) {
            if (v[k].x != v[m].x || v[k].y != v[m].y) continue;
            if (CrossAtSharedVertex(v[k], v[k == 0 ? nv - 1 : k - 1], v[k + 1], v[m - 1],
                                    v[m + 1])) {
                return {k + 1, m + 1};
            }
        }
    }
    return {};
}

bool ContainsPoint(const Point* vertices, int nv, const Point& p) {
    if (vertices == nullptr || nv < 1 || nv > kMaxVertices) return false;
    // Winding number, counted on the edges that span the height of p; a point on any edge
    // (slits included) is on the concrete.
    int winding = 0;
    for (int i = 0; i < nv; ++i) {
        const Point& a = vertices[i];
        const Point& b = vertices[i + 1];
        if (OnSegment(a, b, p)) return true;
        const bool upward = a.y <= p.y && p.y < b.y;
        const bool downward = b.y <= p.y && p.y < a.y;
        if (!upward && !downward) continue;
        const int side = Orientation(a, b, p);
        if (side == 0) return true;  // on the edge where it spans the height of p
        if (upward && side > 0) ++winding;
        if (downward && side < 0) --winding;
    }
    return winding != 0;
}

int FindBarOutsideConcrete(const SectionGeometry& section) {
    const int nb = std::clamp(section.nb, 0, kMaxBars);
    for (int j = 0; j < nb; ++j) {
        const Point centre{section.bars[j].x, section.bars[j].y};
        if (!ContainsPoint(section.vertices.data(), section.nv, centre)) return j + 1;
    }
    return 0;
}

}  // namespace tarvelo
