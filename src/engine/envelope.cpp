// Resistance envelope. For a neutral-axis direction the ultimate strain planes form one family,
// turning about three pivots in turn: the most tensioned bar at +0.01 (from pure tension until
// the most compressed vertex reaches -epsCu), that vertex at -epsCu (until the least compressed
// vertex reaches 0), and the point (1 - epsC2/epsCu) h from the most compressed vertex at
// -epsC2 (until the strain is uniform). N grows along the family, so the plane of a given N is
// a root in the family parameter. Sweeping the direction traces the contour at that N; the
// resisting moment along a ray is the root in the direction at which the contour's moment
// points along the ray, solved for each ray rather than interpolated, since the contour has
// corners where bars start to yield.
#include "engine/envelope.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <thread>

namespace tarvelo {

namespace {

constexpr double kBarStrainLimit = 0.01;
constexpr double kFamilyEnd = 3.0;  // family parameter of pure compression
constexpr double kDegree = std::numbers::pi / 180.0;
constexpr int kSampleChunk = 9;  // samples solved in a row, each from its predecessor's root

static_assert(ResistanceEnvelope::kSampleDirections % kSampleChunk == 0);

// Brent's method on [a, b] with fa = f(a) and fb = f(b) of opposite signs: the bisection's
// safety with inverse quadratic steps, so corners of f cost a few bisections only. Stops when
// the bracket is below xTolerance or |f| below fTolerance.
template <class F>
double FindRoot(F&& f, double a, double b, double fa, double fb, double xTolerance,
                double fTolerance) {
    if (fa == 0.0) return a;
    if (fb == 0.0) return b;
    double c = b, fc = fb, d = b - a, e = d;
    for (int iteration = 0; iteration < 200; ++iteration) {
        if ((fb > 0.0) == (fc > 0.0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b, b = c, c = a;
            fa = fb, fb = fc, fc = fa;
        }
        const double tolerance =
            2.0 * std::numeric_limits<double>::epsilon() * std::fabs(b) + 0.5 * xTolerance;
        const double half = 0.5 * (c - b);
        if (std::fabs(half) <= tolerance || std::fabs(fb) <= fTolerance) return b;
        if (std::fabs(e) >= tolerance && std::fabs(fa) > std::fabs(fb)) {
            const double s = fb / fa;
            double p, q;
            if (a == c) {
                p = 2.0 * half * s;
                q = 1.0 - s;
            } else {
                const double qa = fa / fc, r = fb / fc;
                p = s * (2.0 * half * qa * (qa - r) - (b - a) * (r - 1.0));
                q = (qa - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0) q = -q;
            p = std::fabs(p);
            if (2.0 * p < std::min(3.0 * half * q - std::fabs(tolerance * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = e = half;
            }
        } else {
            d = e = half;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tolerance ? d : std::copysign(tolerance, half);
        fb = f(b);
        if (fb == 0.0) return b;
    }
    return b;
}

// Neutral-axis direction alpha: s = x cos(alpha) + y sin(alpha) grows towards the compressed
// side; the extreme vertices and the most tensioned bar along s.
struct Direction {
    double alpha = 0.0;
    double c = 1.0;
    double s = 0.0;
    double top = 0.0;     // most compressed vertex
    double bottom = 0.0;  // least compressed vertex
    double bar = 0.0;     // most tensioned bar
};

// A solved point of the family: direction, parameter and forces.
struct FamilyPoint {
    double alpha = 0.0;
    double t = 0.0;
    SectionForces forces;
    SectionStrain plane;
};

}  // namespace

// The working state of one thread: its own section integrator.
class EnvelopeSolver {
  public:
    explicit EnvelopeSolver(const ResistanceEnvelope& envelope)
        : env_(envelope), integrator_(std::make_unique<SectionIntegrator>()) {}

    Direction DirectionAt(double alpha) const {
        const SectionGeometry& g = env_.section_;
        Direction d;
        d.alpha = alpha;
        d.c = std::cos(alpha);
        d.s = std::sin(alpha);
        for (int i = 0; i < g.nv; ++i) {
            const double s = g.vertices[i].x * d.c + g.vertices[i].y * d.s;
            d.top = i == 0 ? s : std::max(d.top, s);
            d.bottom = i == 0 ? s : std::min(d.bottom, s);
        }
        d.bar = d.bottom;
        for (int j = 0; j < g.nb; ++j) {
            const double s = g.bars[j].x * d.c + g.bars[j].y * d.s;
            d.bar = j == 0 ? s : std::min(d.bar, s);
        }
        return d;
    }

    // Strain plane of the family: strain(s) = pivot strain - curvature * (s - pivot).
    SectionStrain Plane(const Direction& d, double t) const {
        const MaterialParameters& m = env_.material_;
        const double ecu = m.epsCu / 1000.0;
        const double ec2 = m.epsC2 / 1000.0;
        const double h = d.top - d.bottom;
        // Bars level with the compressed edge (or beyond it) leave no lever arm; keep the
        // family finite.
        const double lever = std::max(d.top - d.bar, 1e-9 * h);
        const double kA = (kBarStrainLimit + ecu) / lever;  // end of the turn about the bar
        const double kB = ecu / h;                          // end of the turn about the edge
        t = std::clamp(t, 0.0, kFamilyEnd);
        double curvature, pivot, strain;
        if (t <= 1.0) {
            curvature = t * kA, pivot = d.bar, strain = kBarStrainLimit;
        } else if (t <= 2.0) {
            curvature = kA + (t - 1.0) * (kB - kA), pivot = d.top, strain = -ecu;
        } else {
            curvature = (kFamilyEnd - t) * kB, pivot = d.top - (1.0 - ec2 / ecu) * h, strain = -ec2;
        }
        return {strain + curvature * pivot, -curvature * d.c, -curvature * d.s};
    }

    SectionForces Forces(const SectionStrain& e) {
        const SectionGeometry& g = env_.section_;
        const SectionResultants r = integrator_->IntegrateSectionUnchecked(
            e, g.vertices.data(), g.nv, g.bars.data(), g.nb, env_.area_, env_.material_);
        return {-r.N, r.momentX, r.momentY};
    }

    // The family point of direction d whose N is `target` (within [Nt, N0]), searched from
    // the guess outwards. Beyond the root N stays above the target: a possible overshoot of
    // N0 near pure compression lies wholly above any target up to N0.
    FamilyPoint SolveAxial(const Direction& d, double target, double guess) {
        FamilyPoint last;
        bool evaluated = false;
        const auto excess = [&](double t) {
            evaluated = true;
            last.t = t;
            last.plane = Plane(d, t);
            last.forces = Forces(last.plane);
            return last.forces.N - target;
        };
        const double tolerance = 1e-12 * std::max(env_.squash_, -env_.tension_);
        double lo = 0.0, hi = kFamilyEnd;
        double flo = env_.tension_ - target, fhi = env_.squash_ - target;
        double t;
        if (flo >= 0.0) {
            t = 0.0;
        } else if (fhi <= 0.0) {
            t = kFamilyEnd;
        } else {
            if (guess > 0.0 && guess < kFamilyEnd) {
                const double fg = excess(guess);
                double step = 0.02;
                if (fg < 0.0) {
                    lo = guess, flo = fg;
                    for (double x = guess + step; x < kFamilyEnd; step *= 2.0, x = lo + step) {
                        const double fx = excess(x);
                        if (fx >= 0.0) {
                            hi = x, fhi = fx;
                            break;
                        }
                        lo = x, flo = fx;
                    }
                } else {
                    hi = guess, fhi = fg;
                    for (double x = guess - step; x > 0.0; step *= 2.0, x = hi - step) {
                        const double fx = excess(x);
                        if (fx <= 0.0) {
                            lo = x, flo = fx;
                            break;
                        }
                        hi = x, fhi = fx;
                    }
                }
            }
            t = FindRoot(excess, lo, hi, flo, fhi, 1e-14, tolerance);
        }
        if (!evaluated || last.t != t) excess(t);
        last.alpha = d.alpha;
        return last;
    }

    // Samples first .. first + count - 1 of the contour at N, each from its predecessor.
    void SampleChunk(double N, int first, int count, std::vector<FamilyPoint>& samples) {
        double guess = -1.0;
        for (int j = first; j < first + count; ++j) {
            const double alpha = 2.0 * std::numbers::pi * j / ResistanceEnvelope::kSampleDirections;
            samples[j] = SolveAxial(DirectionAt(alpha), N, guess);
            guess = samples[j].t;
        }
    }

    std::vector<FamilyPoint> Samples(double N) {
        std::vector<FamilyPoint> samples(ResistanceEnvelope::kSampleDirections);
        for (int first = 0; first < ResistanceEnvelope::kSampleDirections; first += kSampleChunk)
            SampleChunk(N, first, kSampleChunk, samples);
        return samples;
    }

    // The farthest point where the contour sampled at N meets the ray theta.
    std::optional<ResistingPoint> SolveRay(double N, double theta,
                                           const std::vector<FamilyPoint>& samples) {
        const double ux = std::cos(theta), uy = std::sin(theta);
        const auto across = [&](const SectionForces& f) { return ux * f.My - uy * f.Mx; };
        const auto along = [&](const SectionForces& f) { return ux * f.Mx + uy * f.My; };
        const auto point = [&](const FamilyPoint& p) {
            return ResistingPoint{along(p.forces), p.forces, p.plane};
        };

        // A contour shrunk to the origin (pure compression or tension of a symmetric section).
        double largest = 0.0;
        for (const FamilyPoint& p : samples)
            largest = std::max(largest, std::hypot(p.forces.Mx, p.forces.My));
        if (largest <= 1e-9 * env_.momentScale_) {
            return ResistingPoint{0.0, samples[0].forces, samples[0].plane};
        }

        std::optional<ResistingPoint> best;
        const auto keep = [&](const ResistingPoint& p) {
            if (p.moment > 0.0 && (!best || p.moment > best->moment)) best = p;
        };
        const int count = static_cast<int>(samples.size());
        for (int j = 0; j < count; ++j) {
            const FamilyPoint& a = samples[j];
            FamilyPoint b = samples[(j + 1) % count];
            if (j + 1 == count) b.alpha += 2.0 * std::numbers::pi;
            const double ga = across(a.forces), gb = across(b.forces);
            if (ga == 0.0) {
                keep(point(a));
                continue;
            }
            if (gb == 0.0 || (ga > 0.0) == (gb > 0.0)) continue;
            if (along(a.forces) <= 0.0 && along(b.forces) <= 0.0) continue;
            FamilyPoint last;
            bool evaluated = false;
            const auto g = [&](double alpha) {
                evaluated = true;
                const double guess = a.t + (b.t - a.t) * (alpha - a.alpha) / (b.alpha - a.alpha);
                last = SolveAxial(DirectionAt(alpha), N, guess);
                return across(last.forces);
            };
            const double alpha =
                FindRoot(g, a.alpha, b.alpha, ga, gb, 1e-13, 1e-13 * env_.momentScale_);
            if (!evaluated || last.alpha != alpha) g(alpha);
            keep(point(last));
        }
        return best;
    }

  private:
    const ResistanceEnvelope& env_;
    std::unique_ptr<SectionIntegrator> integrator_;
};

namespace {

// Runs work(solver, i) for i = 0 .. count - 1 on up to `threads` threads (0: one per core),
// each with its own solver. Which thread takes an index never changes its result.
template <class Work>
void ParallelFor(const ResistanceEnvelope& envelope, int count, int threads, Work&& work) {
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::max(1, std::min(threads, count));
    const auto run = [&](int offset) {
        EnvelopeSolver solver(envelope);
        for (int i = offset; i < count; i += threads)
            work(solver, i);
    };
    std::vector<std::thread> pool;
    for (int k = 1; k < threads; ++k)
        pool.emplace_back(run, k);
    run(0);
    for (std::thread& t : pool)
        t.join();
}

bool Within(double N, const ResistanceEnvelope& e) {
    return e.valid() && N >= e.tension() && N <= e.squash();
}

}  // namespace

MaterialParameters ShortTermMaterial(double fckMPa, double fykMPa, double EsGPa, double gamac,
                                     double gamas) {
    MaterialParameters m;
    ComputeConcreteParameters(fckMPa, m);
    m.fcd = fckMPa / 10 / gamac;
    m.fyd = fykMPa / 10 / gamas;
    CompleteMaterialParameters(0.0, m);
    m.Es = EsGPa * 100;
    return m;
}

SectionExtents ExtentsOf(const SectionGeometry& section) {
    SectionExtents e;
    const int nv = std::clamp(section.nv, 0, kMaxVertices);
    if (nv == 0) return e;
    double x0 = section.vertices[0].x, x1 = x0, y0 = section.vertices[0].y, y1 = y0;
    for (int i = 1; i < nv; ++i) {
        x0 = std::min(x0, section.vertices[i].x), x1 = std::max(x1, section.vertices[i].x);
        y0 = std::min(y0, section.vertices[i].y), y1 = std::max(y1, section.vertices[i].y);
    }
    return {x1 - x0, y1 - y0};
}

ResistanceEnvelope::ResistanceEnvelope(const SectionGeometry& section, double barArea,
                                       const MaterialParameters& m)
    : section_(section), material_(m) {
    const bool counts =
        section.nv >= 3 && section.nv <= kMaxVertices && section.nb >= 0 && section.nb <= kMaxBars;
    const bool laws = m.fcd > 0 && m.fyd > 0 && m.Es > 0 && m.epsC2 > 0 && m.epsCu > m.epsC2 &&
                      m.n > 0 && m.peakStrain > 0 && std::isfinite(m.initialModulus);
    if (!counts || !laws || !(barArea >= 0.0) || !std::isfinite(barArea)) return;
    for (int j = 0; j < section_.nb; ++j)
        section_.bars[j].area = barArea;
    area_ = ComputeSectionProperties(section_.vertices.data(), section_.nv).area;
    double radius = 0.0;
    bool finite = std::isfinite(area_);
    for (int i = 0; i < section_.nv; ++i) {
        radius = std::max(radius, std::hypot(section_.vertices[i].x, section_.vertices[i].y));
        finite = finite && std::isfinite(section_.vertices[i].x + section_.vertices[i].y);
    }
    for (int j = 0; j < section_.nb; ++j)
        finite = finite && std::isfinite(section_.bars[j].x + section_.bars[j].y);
    if (!finite || !(area_ > 0.0)) return;

    EnvelopeSolver solver(*this);
    squash_ = solver.Forces({-m.epsC2 / 1000.0, 0.0, 0.0}).N;
    tension_ = solver.Forces({kBarStrainLimit, 0.0, 0.0}).N;
    momentScale_ = std::max(squash_, -tension_) * radius;
    valid_ = std::isfinite(momentScale_) && momentScale_ > 0.0;
}

SectionForces ResistanceEnvelope::UltimatePlaneForces(double alpha, double t) const {
    if (!valid_) return {};
    EnvelopeSolver solver(*this);
    return solver.Forces(solver.Plane(solver.DirectionAt(alpha), t));
}

std::optional<ResistingPoint> ResistanceEnvelope::Resisting(double N, double thetaDegrees) const {
    if (!Within(N, *this) || !std::isfinite(thetaDegrees)) return std::nullopt;
    EnvelopeSolver solver(*this);
    return solver.SolveRay(N, thetaDegrees * kDegree, solver.Samples(N));
}

std::optional<double> ResistanceEnvelope::ResistingMoment(double N, double thetaDegrees) const {
    const std::optional<ResistingPoint> p = Resisting(N, thetaDegrees);
    if (!p) return std::nullopt;
    return p->moment;
}

std::vector<ContourRay> ResistanceEnvelope::Contour(double N, int rays, int threads) const {
    std::vector<ContourRay> contour(std::max(rays, 0));
    for (int i = 0; i < rays; ++i)
        contour[i].angle = 360.0 * i / rays;
    if (!Within(N, *this) || rays < 1) return contour;

    std::vector<FamilyPoint> samples(kSampleDirections);
    ParallelFor(*this, kSampleDirections / kSampleChunk, threads,
                [&](EnvelopeSolver& solver, int chunk) {
                    solver.SampleChunk(N, chunk * kSampleChunk, kSampleChunk, samples);
                });
    ParallelFor(*this, rays, threads, [&](EnvelopeSolver& solver, int i) {
        if (const auto p = solver.SolveRay(N, contour[i].angle * kDegree, samples)) {
            contour[i].moment = p->moment;
        }
    });
    return contour;
}

std::vector<CurvePoint> ResistanceEnvelope::InteractionCurve(double thetaDegrees, int points,
                                                             int threads) const {
    std::vector<CurvePoint> curve(std::max(points, 0));
    if (points < 2) return curve;
    for (int i = 0; i < points; ++i)
        curve[i].N = tension_ + (squash_ - tension_) * i / (points - 1);
    curve.back().N = squash_;
    if (!valid_ || !std::isfinite(thetaDegrees)) return curve;
    ParallelFor(*this, points, threads, [&](EnvelopeSolver& solver, int i) {
        const double N = curve[i].N;
        if (const auto p = solver.SolveRay(N, thetaDegrees * kDegree, solver.Samples(N))) {
            curve[i].moment = p->moment;
        }
    });
    return curve;
}

std::optional<double> ResistanceEnvelope::Utilisation(double Nd, double Mx, double My) const {
    if (!Within(Nd, *this) || !std::isfinite(Mx) || !std::isfinite(My)) return std::nullopt;
    const double Md = std::hypot(Mx, My);
    if (Md > 0.0) {
        const std::optional<double> MRd = ResistingMoment(Nd, std::atan2(My, Mx) / kDegree);
        if (!MRd || !(*MRd > 0.0)) return std::nullopt;
        return Md / *MRd;
    }
    // A zero moment: inside when the contour winds around the origin.
    EnvelopeSolver solver(*this);
    const std::vector<FamilyPoint> samples = solver.Samples(Nd);
    double turn = 0.0;
    for (size_t j = 0; j < samples.size(); ++j) {
        const SectionForces& p = samples[j].forces;
        const SectionForces& q = samples[(j + 1) % samples.size()].forces;
        turn += std::atan2(p.Mx * q.My - p.My * q.Mx, p.Mx * q.Mx + p.My * q.My);
    }
    if (std::fabs(turn) > std::numbers::pi) return 0.0;
    return std::nullopt;
}

MinimumEnvelopeCheck ResistanceEnvelope::CheckMinimumEnvelope(double Fd, double hx, double hy,
                                                              int threads) const {
    MinimumEnvelopeCheck check;
    check.semiAxisX = Fd * (1.5 + 0.03 * hx);
    check.semiAxisY = Fd * (1.5 + 0.03 * hy);
    const double a = check.semiAxisX, b = check.semiAxisY;
    const std::vector<ContourRay> contour = Contour(Fd, kMinimumEnvelopeRays, threads);
    check.worstRatio = -1.0;
    for (const ContourRay& ray : contour) {
        const double c = std::cos(ray.angle * kDegree), s = std::sin(ray.angle * kDegree);
        const double radius = a * b / std::hypot(b * c, a * s);  // the ellipse along the ray
        const double ratio = !ray.moment || !(*ray.moment > 0.0)
                                 ? std::numeric_limits<double>::infinity()
                                 : radius / *ray.moment;
        if (ratio > check.worstRatio) check.worstRatio = ratio, check.worstAngle = ray.angle;
    }
    check.inside = check.worstRatio <= 1.0;
    return check;
}

}  // namespace tarvelo
