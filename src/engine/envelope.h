// Resistance envelope of a reinforced-concrete section: the axial forces and moments of the
// ultimate strain planes, the Mx-My contour at an axial force, the N-M curve in one direction
// of the moment, the utilisation of a design point and the minimum-moment check.
//
// Units and signs (the axes of the loads window):
// - N in kN, compression positive: N = -SectionResultants::N.
// - Mx in kNcm is the moment in the plane xz, the plane of Mxd and Hxd: Mx = momentX, the work
//   conjugate of minus the curvature in x. A first-order end moment Mxd (top or base) gives
//   momentX = Mxd at that end of the column model; positive Mx compresses the fibres at +x.
// - My likewise in the plane yz: My = momentY, positive My compresses the fibres at +y.
// - A moment direction theta is in degrees from +Mx towards +My.
#pragma once

#include <optional>
#include <vector>

#include "engine/material.h"
#include "engine/section_integration.h"
#include "model/section_geometry.h"

namespace tarvelo {

// Design laws of a verification of the same column with the creep coefficient taken as 0 (the
// section's short-term resistance), built as a run builds them: fck and fyk in MPa, Es in GPa,
// the partial factors Gamac and Gamas.
MaterialParameters ShortTermMaterial(double fckMPa, double fykMPa, double EsGPa, double gamac,
                                     double gamas);

// A point of the section's resistance: N in kN (compression positive), Mx and My in kNcm.
struct SectionForces {
    double N = 0.0;
    double Mx = 0.0;
    double My = 0.0;
};

// The resisting point found along a moment direction, with the ultimate strain plane that
// produces it (strain at the centroid and curvatures, as SectionIntegrator takes them).
struct ResistingPoint {
    double moment = 0.0;  // kNcm, along the direction
    SectionForces forces;
    SectionStrain plane;
};

// One ray of a contour: no moment when the ray misses the contour.
struct ContourRay {
    double angle = 0.0;  // degrees
    std::optional<double> moment;
};

// One point of an N-M curve.
struct CurvePoint {
    double N = 0.0;
    std::optional<double> moment;
};

// The minimum first-order moment envelope against the contour at Fd: the ellipse with
// semi-axes Fd (1.5 + 0.03 hx) along Mx and Fd (1.5 + 0.03 hy) along My, checked on 72 rays.
struct MinimumEnvelopeCheck {
    bool inside = false;
    double semiAxisX = 0.0;   // kNcm
    double semiAxisY = 0.0;   // kNcm
    double worstRatio = 0.0;  // largest ellipse radius / M_Rd over the rays (infinite: no M_Rd)
    double worstAngle = 0.0;  // degrees, the ray of worstRatio
};

// Extents of the polygon along x and y, cm (hx, hy of the minimum moments).
struct SectionExtents {
    double hx = 0.0;
    double hy = 0.0;
};
SectionExtents ExtentsOf(const SectionGeometry& section);

class ResistanceEnvelope {
  public:
    // Neutral-axis directions at which the contour is sampled once per axial force; each ray
    // is then solved between the two samples that bracket it.
    static constexpr int kSampleDirections = 72;
    // Rays of the minimum-moment check.
    static constexpr int kMinimumEnvelopeRays = 72;

    // `section`: the centred polygon (closing vertex included) and the bar positions; every bar
    // gets barArea (totalSteelArea / barCount, as the verification uses); `m` from
    // ShortTermMaterial or filled the same way (fcd, fyd, Es, epsC2, epsCu, n, then
    // CompleteMaterialParameters(0, m)).
    ResistanceEnvelope(const SectionGeometry& section, double barArea, const MaterialParameters& m);

    // False for a section without area or depth, or with counts beyond the input limits: every
    // query then gives no value.
    bool valid() const { return valid_; }
    // Squash load N0 (uniform strain -epsC2/1000) and tension Nt (uniform +0.01, negative), kN.
    double squash() const { return squash_; }
    double tension() const { return tension_; }

    // Resisting moment M_Rd(N, theta) along the ray theta, the ultimate plane being solved so
    // that its moment points along the ray. No value when N lies outside [Nt, N0] or the ray
    // misses the contour; where the ray meets the contour twice, the farther point.
    std::optional<double> ResistingMoment(double N, double thetaDegrees) const;
    std::optional<ResistingPoint> Resisting(double N, double thetaDegrees) const;

    // The contour at N: `rays` rays at 360 i / rays degrees. threads 0: one per core. The
    // results do not depend on the number of threads.
    std::vector<ContourRay> Contour(double N, int rays, int threads = 0) const;

    // The N-M curve along theta: `points` (>= 2) axial forces evenly from Nt to N0.
    std::vector<CurvePoint> InteractionCurve(double thetaDegrees, int points,
                                             int threads = 0) const;

    // Utilisation |Md| / M_Rd(Nd, direction of Md). No value when there is no M_Rd along that
    // direction (the point lies outside the envelope whatever its size). 0 for a zero moment
    // when the contour at Nd encloses the origin.
    std::optional<double> Utilisation(double Nd, double Mx, double My) const;

    // The minimum-moment ellipse at Fd against the contour at Fd; hx, hy in cm.
    MinimumEnvelopeCheck CheckMinimumEnvelope(double Fd, double hx, double hy,
                                              int threads = 0) const;

    // Forces of the ultimate plane of the neutral-axis direction alpha (radians; the normal
    // towards the compressed side) at the family parameter t in [0, 3]: 0 pure tension, 1 the
    // most tensioned bar at +0.01 with the most compressed vertex at -epsCu, 2 the least
    // compressed vertex at 0, 3 pure compression.
    SectionForces UltimatePlaneForces(double alpha, double t) const;

  private:
    friend class EnvelopeSolver;

    bool valid_ = false;
    SectionGeometry section_{};
    double area_ = 0.0;
    MaterialParameters material_{};
    double squash_ = 0.0;
    double tension_ = 0.0;
    double momentScale_ = 0.0;  // kNcm, max(N0, -Nt) times the section's radius
};

}  // namespace tarvelo
