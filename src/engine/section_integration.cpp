// Stress resultants of the section: the polygon is cut along the strain contours 0 and
// -plateauStrain into the stress-free, parabolic and constant zones; the constant zone is
// integrated in closed form, the parabolic zone by Green's theorem with a closed-form primitive
// of the stress and Gauss points along each edge; the bars are summed point by point.
#include "engine/section_integration.h"

#include <cmath>
#include <limits>

#include "engine/portable_math.h"

namespace tarvelo {

namespace {

constexpr double kCurvatureCut = 1e-12;        // smaller curvatures count as 0
constexpr double kSelectionTolerance = 1e-12;  // zone membership of a point
constexpr double kEdgeTolerance = 1e-11;       // edges too flat in strain are not cut
constexpr double kResultantCut = 1e-9;         // tiny resultants are cleaned to 0
constexpr double kPropertyCut = 1e-10;         // tiny section properties are cleaned to 0
constexpr double kBarStrainLimit = 0.01;       // steel elongation limit

double CleanResultant(double value) {
    return std::fabs(value) < kResultantCut ? 0.0 : value;
}

double StrainAt(const SectionStrain& e, double x, double y) {
    return e.axialStrain + x * e.curvatureX + y * e.curvatureY;
}

// Order of the Taylor expansion used for nearly uniform parabolic zones.
constexpr int kTaylorOrder = 6;

}  // namespace

void SetGaussRule(GaussRule& rule, int count) {
    switch (count) {
        case 2:
            rule.abscissa = {-1.0 / std::sqrt(3.0), 1.0 / std::sqrt(3.0), 0.0, 0.0, 0.0};
            rule.weight = {1.0, 1.0, 0.0, 0.0, 0.0};
            break;
        case 3:
            rule.abscissa = {-std::sqrt(0.6), 0.0, std::sqrt(0.6), 0.0, 0.0};
            rule.weight = {5.0 / 9.0, 8.0 / 9.0, 5.0 / 9.0, 0.0, 0.0};
            break;
        case 4:
            rule.abscissa = {-0.861136311594053, -0.339981043584856, 0.339981043584856,
                             0.861136311594053, 0.0};
            rule.weight = {0.347854845137454, 0.652145154862546, 0.652145154862546,
                           0.347854845137454, 0.0};
            break;
        case 5:
            rule.abscissa = {-0.906179845938664, -0.538469310101057, 0.0, 0.538469310101057,
                             0.906179845938664};
            rule.weight = {0.236926885056189, 0.478628670499366, 128.0 / 225.0, 0.478628670499366,
                           0.236926885056189};
            break;
        default:
            return;
    }
    rule.count = count;
}

SectionConstants ComputeSectionProperties(const Point* vertices, int nv) {
    SectionConstants c;
    if (vertices == nullptr || nv < 1 || nv > kMaxVertices) return c;
    GaussRule rule;
    SetGaussRule(rule, 3);
    double A = 0.0, Qx = 0.0, Qy = 0.0, Ixx = 0.0, Iyy = 0.0, Ixy = 0.0;
    for (int i = 0; i < nv; ++i) {
        const Point& p = vertices[i];
        const Point& q = vertices[i + 1];
        const double xm = (p.x + q.x) / 2.0;
        const double ym = (p.y + q.y) / 2.0;
        const double dx = q.x - p.x;
        const double dy = q.y - p.y;
        for (int g = 0; g < rule.count; ++g) {
            const double t = rule.abscissa[g];
            const double w = rule.weight[g];
            const double x = xm + 0.5 * dx * t;
            const double y = ym + 0.5 * dy * t;
            // Green's theorem: every area integral becomes an edge integral.
            A += 0.5 * dy * x * w;
            Qx -= 0.5 * dx * x * y * w;
            Qy += 0.5 * dy * x * y * w;
            Ixx -= 0.5 * dx * x * x * y * w;
            Iyy += 0.5 * dy * x * y * y * w;
            Ixy += 0.25 * (0.5 * dy * x * x * y - 0.5 * dx * x * y * y) * w;
        }
    }
    // The first moments and the product moment only feed the iteration matrix; round-off
    // residues of a centred section are cleaned away.
    if (Qx < kPropertyCut) Qx = 0.0;
    if (Qy < kPropertyCut) Qy = 0.0;
    if (Ixy < kPropertyCut) Ixy = 0.0;
    c.area = A;
    c.firstMomentX = Qx;
    c.firstMomentY = Qy;
    c.inertiaX = Ixx;
    c.inertiaY = Iyy;
    c.productOfInertia = Ixy;
    return c;
}

SectionResultants SectionIntegrator::IntegrateSection(const SectionStrain& strain,
                                                      const Point* vertices, int nv,
                                                      const Bar* bars, int nb, double area,
                                                      const MaterialParameters& m,
                                                      int& sectionFailure) {
    sectionFailure = 0;
    // A section the input rules would not let through cannot carry load; never read beyond
    // the caller's tables or our own.
    if (!CountsUsable(vertices, nv, bars, nb)) {
        sectionFailure = static_cast<int>(SectionFailure::Unusable);
        return {};
    }
    const SectionStrain e = WithCurvatureCut(strain);
    if (const SectionFailure limit = CheckStrainLimits(e, vertices, nv, bars, nb, m);
        limit != SectionFailure::None) {
        sectionFailure = static_cast<int>(limit);
        return {};
    }
    return Integrate(e, vertices, nv, bars, nb, area, m);
}

SectionResultants SectionIntegrator::IntegrateSectionUnchecked(const SectionStrain& strain,
                                                               const Point* vertices, int nv,
                                                               const Bar* bars, int nb, double area,
                                                               const MaterialParameters& m) {
    if (!CountsUsable(vertices, nv, bars, nb)) return {};
    return Integrate(WithCurvatureCut(strain), vertices, nv, bars, nb, area, m);
}

bool SectionIntegrator::CountsUsable(const Point* vertices, int nv, const Bar* bars, int nb) {
    return vertices != nullptr && nv >= 1 && nv <= kMaxVertices && nb >= 0 && nb <= kMaxBars &&
           (nb == 0 || bars != nullptr);
}

SectionResultants SectionIntegrator::Integrate(const SectionStrain& e, const Point* vertices,
                                               int nv, const Bar* bars, int nb, double area,
                                               const MaterialParameters& m) {
    ConcreteTotals concrete;
    if (e.curvatureX == 0.0 && e.curvatureY == 0.0) {
        concrete.N = ConcreteStress(m, e.axialStrain) * area;  // uniform strain
    } else {
        concrete = IntegrateConcrete(e, vertices, nv, m);
    }
    const ConcreteTotals steel = IntegrateBars(e, bars, nb, m);
    concrete.N += steel.N;
    concrete.Sx += steel.Sx;
    concrete.Sy += steel.Sy;

    // Moments are minus the first moments of the forces (0 - S keeps a zero moment +0).
    SectionResultants result;
    result.N = concrete.N;
    result.momentX = 0.0 - concrete.Sx;
    result.momentY = 0.0 - concrete.Sy;
    return result;
}

SectionStrain SectionIntegrator::WithCurvatureCut(const SectionStrain& strain) {
    return {strain.axialStrain,
            std::fabs(strain.curvatureX) < kCurvatureCut ? 0.0 : strain.curvatureX,
            std::fabs(strain.curvatureY) < kCurvatureCut ? 0.0 : strain.curvatureY};
}

SectionFailure SectionIntegrator::CheckStrainLimits(const SectionStrain& e, const Point* vertices,
                                                    int nv, const Bar* bars, int nb,
                                                    const MaterialParameters& m) {
    using enum SectionFailure;
    // Steel elongation limit; compressed bars have none.
    for (int j = 0; j < nb; ++j) {
        if (StrainAt(e, bars[j].x, bars[j].y) >= kBarStrainLimit) return SteelElongation;
    }
    // Uniform compression is limited to the strain at the peak of the parabola.
    if (e.curvatureX == 0.0 && e.curvatureY == 0.0) {
        return e.axialStrain <= -m.epsC2 / 1000.0 ? FullCompression : None;
    }

    // Bending: no fibre beyond the ultimate strain; with any fibre in tension that is all.
    const double ultimate = -m.epsCu / 1000.0;
    bool tension = false;
    for (int i = 0; i < nv; ++i) {
        const double strain = StrainAt(e, vertices[i].x, vertices[i].y);
        if (strain < ultimate) return ConcreteUltimate;
        if (strain > 0.0) tension = true;
    }
    if (tension) return None;

    // Whole section compressed: the strain is limited to -epsC2 at the fibre lying
    // (1 - epsC2/epsCu) h from the most compressed one (the pivot of the code's domain 5).
    const double k = std::sqrt(e.curvatureX * e.curvatureX + e.curvatureY * e.curvatureY);
    double dmax = 0.0;
    double dmin = 0.0;
    for (int i = 0; i < nv; ++i) {
        const double d = std::fabs(StrainAt(e, vertices[i].x, vertices[i].y) / k);
        if (i == 0 || d > dmax) dmax = d;
        if (i == 0 || d < dmin) dmin = d;
    }
    const double h = dmax - dmin;
    const double dc = dmax - h * (1.0 - m.epsC2 / m.epsCu);
    return -dc * k < -m.epsC2 / 1000.0 ? FullCompression : None;
}

SectionIntegrator::ConcreteTotals SectionIntegrator::IntegrateConcrete(
    const SectionStrain& e, const Point* vertices, int nv, const MaterialParameters& m) {
    for (int k = 0; k < nv; ++k) {
        const Point& v = vertices[k];
        polygon_.points[k] = {v.x, v.y, StrainAt(e, v.x, v.y)};
    }
    polygon_.points[nv] = polygon_.points[0];
    polygon_.count = nv + 1;

    // Cut at the neutral axis, then at the start of the plateau.
    ClipPolygonAtStrain(e, 0.0, polygon_, clipped_);
    ClipPolygonAtStrain(e, -m.plateauStrain, clipped_, polygon_);

    ConcreteTotals totals;
    SelectZonePoints(-(m.plateauStrain + kSelectionTolerance), kSelectionTolerance);
    IntegrateParabolicZone(e, m, totals);
    SelectZonePoints(-std::numeric_limits<double>::infinity(),
                     -(m.plateauStrain - kSelectionTolerance));
    IntegrateConstantZone(m, totals);
    return totals;
}

// Walks the closed polygon `in` and writes it to `out` with a point added inside every edge
// that the contour line strain = target crosses, so `out` walks the boundary in order. `in`
// holds at most 2 nv + 1 points, so `out` never exceeds 4 nv + 1 <= kMaxWorkPoints.
void SectionIntegrator::ClipPolygonAtStrain(const SectionStrain& e, double target,
                                            const WorkPolygon& in, WorkPolygon& out) {
    out.count = 0;
    for (int i = 0; i + 1 < in.count; ++i) {
        const WorkPoint& p = in.points[i];
        const WorkPoint& q = in.points[i + 1];
        out.points[out.count++] = p;
        if (std::fabs(q.strain - p.strain) < kEdgeTolerance) continue;
        const double xm = (p.x + q.x) / 2.0;
        const double ym = (p.y + q.y) / 2.0;
        const double dx = q.x - p.x;
        const double dy = q.y - p.y;
        const double em = StrainAt(e, xm, ym);
        const double h = 0.5 * (dx * e.curvatureX + dy * e.curvatureY);
        if (std::fabs(h) < kEdgeTolerance) continue;
        const double t = (target - em) / h;
        // Strictly inside: a contour through a vertex adds nothing, the vertex is selected.
        if (-1.0 < t && t < 1.0 && out.count < kMaxWorkPoints) {
            const double x = xm + 0.5 * dx * t;
            const double y = ym + 0.5 * dy * t;
            out.points[out.count++] = {x, y, StrainAt(e, x, y)};
        }
    }
    if (in.count > 0) out.points[out.count++] = in.points[in.count - 1];
}

void SectionIntegrator::SelectZonePoints(double lowest, double highest) {
    zone_.count = 0;
    for (int k = 0; k < polygon_.count; ++k) {
        const double strain = polygon_.points[k].strain;
        if (lowest <= strain && strain <= highest) zone_.points[zone_.count++] = polygon_.points[k];
    }
    if (zone_.count > 0) zone_.points[zone_.count++] = zone_.points[0];  // closing point
}

// Parabolic zone, stress -1.1 fcd (1 - u^n) with u = 1 - strain/e0' = 1 - a - b x - c y.
// Green's theorem turns the area integrals into edge integrals of the stress's primitive in x
// (or in y), taken with 3 Gauss points per edge.
//
// That primitive carries u^(n+1)/b and u^(n+2)/b^2: large terms that cancel along the boundary
// down to the result. With V = |b| * (extent of the zone in x), the normalised strain
// variation across the zone, the round-off relative to the result grows like 1/V for N and
// like 1/V^3 for a moment that the strain variation alone produces (a zone symmetric about the
// axis). Measured against an extended-precision integration, such a moment is 2e-4 off at
// V = 1e-4, 2e-7 at V = 1e-3 and 3e-10 at V = 1e-2, and the absolute noise on the moments of
// a 50 cm section is still 1e-9 kNcm at V = 1e-2. Below V = 1e-2 in both directions the
// stress is therefore taken as a Taylor series about the zone's centre, integrated with the
// zone's area moments: at order 6 its truncation error is below (V/u)^7 with u >= 0.34 on the
// parabola, under 1e-12 relative. Where V >= 1e-2 in x the primitive in x is used as it is;
// where only the variation in y is that large, the primitive in y.
void SectionIntegrator::IntegrateParabolicZone(const SectionStrain& e, const MaterialParameters& m,
                                               ConcreteTotals& totals) const {
    const int mz = zone_.count - 1;  // zone points without the closing copy
    if (mz <= 1) return;

    const double e0p = -(1.0 + m.effectiveCreep) * m.epsC2 / 1000.0;
    const double a = e.axialStrain / e0p;
    const double b = e.curvatureX / e0p;
    const double c = e.curvatureY / e0p;

    const WorkPoint* zone = zone_.points.data();
    double xmin = zone[0].x, xmax = zone[0].x, ymin = zone[0].y, ymax = zone[0].y;
    for (int i = 1; i < mz; ++i) {
        xmin = std::fmin(xmin, zone[i].x);
        xmax = std::fmax(xmax, zone[i].x);
        ymin = std::fmin(ymin, zone[i].y);
        ymax = std::fmax(ymax, zone[i].y);
    }
    bool alongX = b != 0.0 && std::fabs(b) * (xmax - xmin) >= kPrimitiveVariation;
    const bool alongY = !alongX && c != 0.0 && std::fabs(c) * (ymax - ymin) >= kPrimitiveVariation;
    if (!alongX && !alongY) {
        const double xr = 0.5 * (xmin + xmax);
        const double yr = 0.5 * (ymin + ymax);
        if (IntegrateParabolicZoneByTaylor(m, a, b, c, xr, yr, totals)) return;
        alongX = b != 0.0;
    }
    IntegrateParabolicZoneByPrimitive(m, a, b, c, !alongX, totals);
}

// Green's theorem with the primitive of the stress along one coordinate s (x, or y when
// alongY): the area integrals of f, f s and f t (t the other coordinate) become the boundary
// integrals of P1 dt, P2 dt and t P1 dt, with P1 = K (s + u^(n+1)/d1) and
// P2 = K (s^2/2 + s u^(n+1)/d1 + u^(n+2)/d2), d1 = (n+1) slope, d2 = (n+1)(n+2) slope^2 and
// slope = b or c. Running the boundary with y as s reverses its orientation, hence the sign.
void SectionIntegrator::IntegrateParabolicZoneByPrimitive(const MaterialParameters& m, double a,
                                                          double b, double c, bool alongY,
                                                          ConcreteTotals& totals) const {
    const int mz = zone_.count - 1;
    const double K = -m.peakFactor * m.fcd;
    const double n = m.n;
    const double n1 = n + 1.0;
    const double n2 = n + 2.0;
    const double slope = alongY ? c : b;
    const double d1 = n1 * slope;
    const double d2 = n1 * n2 * slope * slope;
    double sumN = 0.0, sumAlong = 0.0, sumAcross = 0.0;
    for (int i = 0; i < mz; ++i) {
        const WorkPoint& p = zone_.points[i];
        const WorkPoint& q = zone_.points[i + 1];
        const double dx = q.x - p.x;
        const double dy = q.y - p.y;
        const double dt = alongY ? dx : dy;
        if (dt == 0.0) continue;  // contributes exactly 0
        const double xm = (p.x + q.x) / 2.0;
        const double ym = (p.y + q.y) / 2.0;
        for (int g = 0; g < 3; ++g) {
            const double t = gauss_.abscissa[g];
            const double w = gauss_.weight[g];
            const double x = xm + 0.5 * dx * t;
            const double y = ym + 0.5 * dy * t;
            const double along = alongY ? y : x;
            const double across = alongY ? x : y;
            double u = 1.0 - a - b * x - c * y;
            if (u < 0.0) u = 0.0;
            const double u1 = PortablePow(u, n1);
            const double P1 = K * (along + u1 / d1);
            const double P2 = K * (along * along / 2.0 + along * u1 / d1 + PortablePow(u, n2) / d2);
            sumN += 0.5 * dt * P1 * w;
            sumAcross += 0.5 * dt * across * P1 * w;
            sumAlong += 0.5 * dt * P2 * w;
        }
    }
    if (alongY) {
        sumN = -sumN;
        sumAlong = -sumAlong;
        sumAcross = -sumAcross;
    }
    totals.N = CleanResultant(sumN);
    totals.Sx = CleanResultant(alongY ? sumAcross : sumAlong);
    totals.Sy = CleanResultant(alongY ? sumAlong : sumAcross);
}

// Nearly uniform parabolic zone. With s = strain/e0' = a + b x + c y, the stress
// f(s) = -1.1 fcd (1 - (1 - s)^n) is expanded about s_r, its value at the centre (xr, yr) of
// the zone's bounding box: f = sum over k of f_k d^k with d = b (x - xr) + c (y - yr), |d| <= V.
// The integrals of d^k, d^k (x - xr) and d^k (y - yr) over the zone are exact sums over the
// triangles that the edges form with the centre, all of small, well-scaled terms.
// Returns false (nothing written) if u at the centre is not positive.
bool SectionIntegrator::IntegrateParabolicZoneByTaylor(const MaterialParameters& m, double a,
                                                       double b, double c, double xr, double yr,
                                                       ConcreteTotals& totals) const {
    const int mz = zone_.count - 1;
    const double sr = a + b * xr + c * yr;
    const double ur = 1.0 - sr;
    if (!(ur > 0.0)) return false;

    constexpr int K = kTaylorOrder;
    double M[K + 1] = {}, MX[K + 1] = {}, MY[K + 1] = {};
    for (int i = 0; i < mz; ++i) {
        const double X0 = zone_.points[i].x - xr, Y0 = zone_.points[i].y - yr;
        const double X1 = zone_.points[i + 1].x - xr, Y1 = zone_.points[i + 1].y - yr;
        const double twoA = X0 * Y1 - X1 * Y0;  // twice the signed area of the triangle
        if (twoA == 0.0) continue;
        const double D0 = b * X0 + c * Y0;
        const double D1 = b * X1 + c * Y1;
        double p0[K + 1], p1[K + 1];
        p0[0] = p1[0] = 1.0;
        for (int k = 1; k <= K; ++k) {
            p0[k] = p0[k - 1] * D0;
            p1[k] = p1[k - 1] * D1;
        }
        // Over a triangle with a vertex at the centre, for d and X linear and zero there:
        // integral of d^k = 2A/((k+1)(k+2)) * sum_p D0^p D1^(k-p), integral of d^k X =
        // 2A/((k+1)(k+2)(k+3)) * sum_p D0^p D1^(k-p) ((p+1) X0 + (k-p+1) X1).
        for (int k = 0; k <= K; ++k) {
            double h = 0.0, gx = 0.0, gy = 0.0;
            for (int p = 0; p <= k; ++p) {
                const double term = p0[p] * p1[k - p];
                h += term;
                gx += term * ((p + 1) * X0 + (k - p + 1) * X1);
                gy += term * ((p + 1) * Y0 + (k - p + 1) * Y1);
            }
            const double k1 = k + 1.0, k2 = k + 2.0, k3 = k + 3.0;
            M[k] += twoA * h / (k1 * k2);
            MX[k] += twoA * gx / (k1 * k2 * k3);
            MY[k] += twoA * gy / (k1 * k2 * k3);
        }
    }

    // f_0 = -1.1 fcd (1 - ur^n) without cancellation near s = 0;
    // f_k = 1.1 fcd (-1)^k C(n, k) ur^(n-k) for k >= 1.
    const double fc = m.peakFactor * m.fcd;
    const double n = m.n;
    double f[K + 1];
    f[0] = fc * PortableExpm1(n * PortableLog1p(-sr));
    double binomial = 1.0;
    double power = PortablePow(ur, n - K);  // ur^(n-k), built up from k = K
    double powers[K + 1];
    for (int k = K; k >= 1; --k) {
        powers[k] = power;
        power *= ur;
    }
    for (int k = 1; k <= K; ++k) {
        binomial *= (n - (k - 1)) / k;
        f[k] = fc * (k % 2 == 1 ? -binomial : binomial) * powers[k];
    }
    double sumN = 0.0, sumX = 0.0, sumY = 0.0;
    for (int k = K; k >= 0; --k) {
        sumN += f[k] * M[k];
        sumX += f[k] * MX[k];
        sumY += f[k] * MY[k];
    }
    totals.N = CleanResultant(sumN);
    totals.Sx = CleanResultant(xr * sumN + sumX);
    totals.Sy = CleanResultant(yr * sumN + sumY);
    return true;
}

// Constant zone at -0.85 fcd: area and first moments of the zone polygon in closed form.
void SectionIntegrator::IntegrateConstantZone(const MaterialParameters& m,
                                              ConcreteTotals& totals) const {
    const int mz = zone_.count - 1;
    if (mz <= 1) return;
    double twoA = 0.0, sixQx = 0.0, sixQy = 0.0;
    for (int i = 0; i < mz; ++i) {
        const WorkPoint& p = zone_.points[i];
        const WorkPoint& q = zone_.points[i + 1];
        const double dx = q.x - p.x;
        const double dy = q.y - p.y;
        twoA += (2.0 * p.x + dx) * dy;
        sixQx += (dx * dx + 3.0 * p.x * q.x) * dy;
        sixQy -= (dy * dy + 3.0 * p.y * q.y) * dx;
    }
    const double A = twoA / 2.0;
    const double Qx = sixQx / 6.0;
    const double Qy = sixQy / 6.0;
    const double s = m.plateauFactor * m.fcd;
    totals.N = CleanResultant(totals.N - s * A);
    totals.Sx = CleanResultant(totals.Sx - s * Qx);
    totals.Sy = CleanResultant(totals.Sy - s * Qy);
}

SectionIntegrator::ConcreteTotals SectionIntegrator::IntegrateBars(const SectionStrain& e,
                                                                   const Bar* bars, int nb,
                                                                   const MaterialParameters& m) {
    ConcreteTotals s;
    for (int j = 0; j < nb; ++j) {
        const Bar& bar = bars[j];
        const double stress = SteelStress(m, StrainAt(e, bar.x, bar.y));
        s.N += stress * bar.area;
        s.Sx += stress * bar.area * bar.x;
        s.Sy += stress * bar.area * bar.y;
    }
    s.N = CleanResultant(s.N);
    s.Sx = CleanResultant(s.Sx);
    s.Sy = CleanResultant(s.Sy);
    return s;
}

}  // namespace tarvelo
