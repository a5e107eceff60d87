#include "procedures/envelope_run.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>

#include "model/exact_trig.h"
#include "procedures/load_cases.h"

namespace tarvelo {
namespace {

// A Gauss point's forces on the envelope's axes: compression positive.
SectionForces OnEnvelopeAxes(const SectionResultants& r) {
    return {-r.N, r.momentX, r.momentY};
}

// How a case ranks for the governing one: a failure before the design loads, then a moment whose
// ray misses the contour, then the utilisation.
double Rank(const EnvelopeCaseResult& c) {
    if (!c.designLoadReached || !c.utilisation) return std::numeric_limits<double>::infinity();
    return *c.utilisation;
}

// The design points of one analysed case against the envelope.
EnvelopeCaseResult EvaluateCase(const std::string& name, const EnvelopeBasis& basis,
                                EnvelopeSource source, const ResistanceEnvelope& envelope,
                                const SectionExtents& extents, int threads) {
    EnvelopeCaseResult c;
    c.name = name;
    const ColumnLoads& loads = basis.loads;
    c.Nd = loads.Fd;
    c.topMoment = {loads.Fd, loads.Mxd_t, loads.Myd_t};
    c.baseMoment = {loads.Fd, loads.Mxd_b, loads.Myd_b};
    c.minimum = envelope.CheckMinimumEnvelope(loads.Fd, extents.hx, extents.hy, threads);
    c.designLoadReached = basis.designLoadReached;
    const bool designed =
        source == EnvelopeSource::Design && !c.designLoadReached && basis.carriedFactor > 0.0;
    if (!c.designLoadReached && !designed) return c;
    const ColumnModel::GaussPointTable& forces =
        designed ? basis.carriedForces : basis.designLoadForces;
    if (designed) {
        c.designLoadReached = true;
        c.loadFactor = basis.carriedFactor;
    }

    // The critical section: the greatest utilisation; a ray that misses the contour is beyond any.
    double worst = -1.0;
    for (int i = 0; i < basis.gaussPointCount; ++i) {
        const GaussPointForces& g = forces[i];
        const SectionForces f = OnEnvelopeAxes(g.forces);
        const std::optional<double> eta = envelope.Utilisation(f.N, f.Mx, f.My);
        const double rank = eta ? *eta : std::numeric_limits<double>::infinity();
        if (rank > worst) {
            worst = rank;
            c.critical = g;
            c.criticalForces = f;
            c.utilisation = eta;
        }
        if (!eta) break;
    }
    const SectionForces& f = c.criticalForces;
    if (c.utilisation && *c.utilisation > 0.0) {
        c.resistingMoment = std::hypot(f.Mx, f.My) / *c.utilisation;
    }
    return c;
}

}  // namespace

std::vector<EnvelopeCaseInput> CasesOf(const ColumnData& data) {
    const std::vector<LoadCase> cases = Cases(data);
    if (cases.size() == 1) return {{"Combinação 1", data}};
    std::vector<EnvelopeCaseInput> inputs;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        inputs.push_back({"Combinação " + std::to_string(i + 1) + " — " + cases[i].name,
                          ColumnForCase(data, cases[i])});
    }
    return inputs;
}

std::unique_ptr<EnvelopeRun> RunEnvelope(const std::vector<EnvelopeCaseInput>& cases,
                                         EnvelopeSource source, ProcedureHost& host, int threads) {
    auto run = std::make_unique<EnvelopeRun>();
    if (cases.empty()) return run;

    // A design of several cases gives the column one steel, the largest area a case needs. That
    // case is analysed as its design (its points at the last step carried); the others are
    // verified with the same steel, so that every point stands against the one contour.
    std::string designedSteel;
    std::size_t designedCase = 0;
    if (source == EnvelopeSource::Design && cases.size() > 1) {
        ProcedureOptions plain;
        plain.refine = false;
        double largest = -1.0;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            run->analysis = Design(cases[i].column, host, plain);
            if (!run->analysis->completed) return run;
            if (run->analysis->requiredSteelArea > largest) {
                largest = run->analysis->requiredSteelArea;
                // Every digit: the verified cases carry exactly the designed steel.
                char text[32];
                std::snprintf(text, sizeof text, "%.17g", largest);
                designedSteel = text;
                designedCase = i;
            }
        }
    }
    // The case that gives the steel first: its basis makes the contour.
    std::vector<std::size_t> order{designedCase};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        if (i != designedCase) order.push_back(i);
    }

    auto basis = std::make_unique<EnvelopeBasis>();
    ProcedureOptions options;
    options.envelopeBasis = basis.get();
    std::vector<EnvelopeCaseResult> results(cases.size());
    for (const std::size_t i : order) {
        const bool asDesign =
            source == EnvelopeSource::Design && (designedSteel.empty() || i == designedCase);
        if (asDesign) {
            run->analysis = Design(cases[i].column, host, options);
        } else if (!designedSteel.empty()) {
            ColumnData withSteel = cases[i].column;
            withSteel.totalSteelArea = designedSteel;
            run->analysis = Verify(withSteel, host, options);
        } else {
            run->analysis = Verify(cases[i].column, host, options);
        }
        if (!run->analysis->completed) return run;
        // The section and the steel are those of the first column analysed.
        if (!run->envelope) {
            run->envelope = std::make_unique<ResistanceEnvelope>(basis->section, basis->barArea,
                                                                 basis->shortTermMaterial);
            run->extents = ExtentsOf(basis->section);
        }
        results[i] = EvaluateCase(cases[i].name, *basis,
                                  asDesign ? EnvelopeSource::Design : EnvelopeSource::Verification,
                                  *run->envelope, run->extents, threads);
    }
    run->cases = std::move(results);
    for (int i = 1; i < static_cast<int>(run->cases.size()); ++i) {
        if (Rank(run->cases[i]) > Rank(run->cases[run->governing])) run->governing = i;
    }
    run->completed = run->envelope != nullptr && run->envelope->valid();
    return run;
}

SectionForces ContourPoint(const ContourRay& ray, double N) {
    if (!ray.moment) return {N, 0.0, 0.0};
    // Quarter turns are placed on the axes; other angles by correctly rounded trigonometry.
    const double quarters = ray.angle / 90;
    if (quarters == std::nearbyint(quarters)) {
        static constexpr double kCos[] = {1, 0, -1, 0};
        const int q = static_cast<int>(std::fmod(std::fmod(quarters, 4) + 4, 4));
        return {N, *ray.moment * kCos[q], *ray.moment * kCos[(q + 3) % 4]};
    }
    const double a = ray.angle * std::numbers::pi / 180;
    return {N, *ray.moment * ExactCos(a), *ray.moment * ExactSin(a)};
}

double EnvelopeAxialForce(const EnvelopeRun& run) {
    return run.cases.empty() ? 0.0 : run.cases[run.governing].Nd;
}

}  // namespace tarvelo
