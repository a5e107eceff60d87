#include <cmath>

#include "model/section_generators.h"

namespace tarvelo {

bool CentreSection(SectionGeometry& section, double& area) {
    area = 0.0;
    if (section.nv < 1 || section.nv > kMaxVertices) return false;
    if (section.nb < 0 || section.nb > kMaxBars) return false;

    // Area and first moments by the edges of the closed polygon (Green's theorem).
    double A = 0.0;
    double Qx = 0.0;
    double Qy = 0.0;
    for (int i = 0; i < section.nv; ++i) {
        const Point& p = section.vertices[i];
        const Point& q = section.vertices[i + 1];
        const double dx = q.x - p.x;
        const double dy = q.y - p.y;
        A = A + (p.x + q.x) * dy / 2;
        Qx = Qx + (3 * p.x * q.x + dx * dx) * dy / 6;
        Qy = Qy - (3 * p.y * q.y + dy * dy) * dx / 6;
    }
    area = A;
    // A clockwise, degenerate or self-cancelling polygon has no positive area. Coordinates so
    // large that the sums overflow leave no usable centroid either.
    if (!(A > 0) || !std::isfinite(A)) return false;
    const double xg = Qx / A;
    const double yg = Qy / A;
    if (!std::isfinite(xg) || !std::isfinite(yg)) return false;

    for (int i = 0; i <= section.nv; ++i) {
        section.vertices[i].x = section.vertices[i].x - xg;
        section.vertices[i].y = section.vertices[i].y - yg;
    }
    for (int j = 0; j < section.nb; ++j) {
        section.bars[j].x = section.bars[j].x - xg;
        section.bars[j].y = section.bars[j].y - yg;
    }
    return true;
}

bool HasCoincidentBars(const SectionGeometry& section) {
    const int nb = section.nb < 0 ? 0 : (section.nb > kMaxBars ? kMaxBars : section.nb);
    for (int i = 0; i < nb; ++i) {
        for (int j = i + 1; j < nb; ++j) {
            if (section.bars[i].x == section.bars[j].x && section.bars[i].y == section.bars[j].y) {
                return true;
            }
        }
    }
    return false;
}

double EffectiveLength(double L, SupportCondition base, SupportCondition top) {
    if (base == SupportCondition::Fixed) {
        switch (top) {
            case SupportCondition::Fixed:
                return 0.5 * L;
            case SupportCondition::Pinned:
                return 0.7 * L;
            case SupportCondition::Free:
                return 2 * L;
        }
    } else if (base == SupportCondition::Pinned) {
        switch (top) {
            case SupportCondition::Fixed:
                return 0.7 * L;
            case SupportCondition::Pinned:
                return L;
            case SupportCondition::Free:
                return 0.0;  // a mechanism: no buckling length
        }
    }
    return 0.0;
}

void ComputeSlenderness(SectionConstants& constants, double L, SupportCondition base,
                        SupportCondition top) {
    const double le = EffectiveLength(L, base, top);
    constants.slendernessX = 0.0;
    constants.slendernessY = 0.0;
    if (!(constants.area > 0)) return;
    // Radii of gyration about the centroid.
    const double ix = std::sqrt(constants.inertiaX / constants.area);
    const double iy = std::sqrt(constants.inertiaY / constants.area);
    if (ix > 0) constants.slendernessX = le / ix;
    if (iy > 0) constants.slendernessY = le / iy;
}

}  // namespace tarvelo
