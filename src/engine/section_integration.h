// Stress resultants of a reinforced-concrete section under a plane strain field, exact over the
// polygon, and the strain limits that define the failure of a section.
#pragma once

#include <array>

#include "engine/material.h"
#include "model/section_geometry.h"

namespace tarvelo {

// Plane strain field: strain at (x, y) = axialStrain + x * curvatureX + y * curvatureY.
struct SectionStrain {
    double axialStrain = 0.0;
    double curvatureX = 0.0;  // 1/cm
    double curvatureY = 0.0;  // 1/cm
};

// N in kN (compression negative); momentX = -(integral of stress * x + sum of bar force * x),
// momentY likewise with y, in kNcm.
struct SectionResultants {
    double N = 0.0;
    double momentX = 0.0;
    double momentY = 0.0;
};

// What ends a section's strength: the value IntegrateSection gives in sectionFailure (0 when the
// section holds, so any nonzero value means failure).
enum class SectionFailure : int {
    None = 0,
    SteelElongation = 1,   // a bar stretched to 10 per mille
    ConcreteUltimate = 2,  // a fibre shortened beyond epsCu in bending
    FullCompression = 3,   // the whole section compressed beyond epsC2 at its pivot fibre
    Unusable = 4,          // a section the input rules would not let through
    Diverged = 5,          // set by the column's load steps: the iteration ran away, no section
};

// Gauss-Legendre abscissae and weights on [-1, 1].
struct GaussRule {
    int count = 0;
    std::array<double, 5> abscissa{};
    std::array<double, 5> weight{};
};

// Fills the rule for count 2, 3, 4 or 5; any other count leaves it as it is.
void SetGaussRule(GaussRule& rule, int count);

// Area, first moments, second moments and product moment of the closed polygon
// vertices[0..nv] (vertices[nv] equal to vertices[0]), by 3-point Gauss along the edges. The
// first moments and the product moment are set to 0 when below 1e-10. Slenderness left 0.
SectionConstants ComputeSectionProperties(const Point* vertices, int nv);

// Reusable working state: the clipped polygons and the zone list live here, sized for the input
// limit, so an integration allocates nothing. The strain field is an argument of every step;
// the integrator keeps no state from one call to the next.
class SectionIntegrator {
  public:
    // Room for the nv + 1 points plus the points two clippings can add (one per edge each).
    static constexpr int kMaxWorkPoints = 4 * (kMaxVertices + 1) + 1;

    SectionIntegrator() { SetGaussRule(gauss_, 3); }

    // Resultants of the section (polygon vertices[0..nv] closed, nb bars with their areas) for
    // the strain. `area` is the polygon's area from ComputeSectionProperties (used by the
    // uniform-strain case). On a strain-limit violation sectionFailure becomes the nonzero code
    // of the limit (SectionFailure) and the resultants are 0; otherwise sectionFailure is 0.
    SectionResultants IntegrateSection(const SectionStrain& strain, const Point* vertices, int nv,
                                       const Bar* bars, int nb, double area,
                                       const MaterialParameters& m, int& sectionFailure);

    // The same resultants without the strain-limit check, for strain planes that lie exactly
    // on the limits (the resistance envelope). Bad counts give zero resultants.
    SectionResultants IntegrateSectionUnchecked(const SectionStrain& strain, const Point* vertices,
                                                int nv, const Bar* bars, int nb, double area,
                                                const MaterialParameters& m);

  private:
    friend class SectionIntegratorTestPeer;

    // A point of a working polygon or of a zone: position and the strain there (evaluated once,
    // when the point is made).
    struct WorkPoint {
        double x;
        double y;
        double strain;
    };

    // Closed point list: points[count - 1] repeats points[0].
    struct WorkPolygon {
        int count = 0;
        std::array<WorkPoint, kMaxWorkPoints + 1> points{};
    };

    // Concrete totals while the zones are integrated: N, integral of stress * x, of stress * y.
    struct ConcreteTotals {
        double N = 0.0;
        double Sx = 0.0;
        double Sy = 0.0;
    };

    // Normalised strain variation across a parabolic zone (curvature / peak strain times the
    // zone's extent) below which the closed-form primitive along that coordinate loses too
    // many digits; see IntegrateParabolicZone.
    static constexpr double kPrimitiveVariation = 1e-2;

    // The strain field with curvatures below the cut-off set to 0, as every step uses it.
    static SectionStrain WithCurvatureCut(const SectionStrain& strain);

    static bool CountsUsable(const Point* vertices, int nv, const Bar* bars, int nb);
    SectionResultants Integrate(const SectionStrain& e, const Point* vertices, int nv,
                                const Bar* bars, int nb, double area, const MaterialParameters& m);
    static SectionFailure CheckStrainLimits(const SectionStrain& e, const Point* vertices, int nv,
                                            const Bar* bars, int nb, const MaterialParameters& m);
    ConcreteTotals IntegrateConcrete(const SectionStrain& e, const Point* vertices, int nv,
                                     const MaterialParameters& m);
    static void ClipPolygonAtStrain(const SectionStrain& e, double target, const WorkPolygon& in,
                                    WorkPolygon& out);
    void SelectZonePoints(double lowest, double highest);
    void IntegrateParabolicZone(const SectionStrain& e, const MaterialParameters& m,
                                ConcreteTotals& totals) const;
    void IntegrateParabolicZoneByPrimitive(const MaterialParameters& m, double a, double b,
                                           double c, bool alongY, ConcreteTotals& totals) const;
    bool IntegrateParabolicZoneByTaylor(const MaterialParameters& m, double a, double b, double c,
                                        double xr, double yr, ConcreteTotals& totals) const;
    void IntegrateConstantZone(const MaterialParameters& m, ConcreteTotals& totals) const;
    static ConcreteTotals IntegrateBars(const SectionStrain& e, const Bar* bars, int nb,
                                        const MaterialParameters& m);

    GaussRule gauss_{};  // 3 points along each edge of the parabolic zone
    // The polygon with its strains; clipped_ holds it cut at the neutral axis, and polygon_
    // then receives that cut again at the start of the plateau.
    WorkPolygon polygon_{};
    WorkPolygon clipped_{};
    // Points of one zone (parabolic, then constant), closed by a copy of its first point.
    WorkPolygon zone_{};
};

}  // namespace tarvelo
