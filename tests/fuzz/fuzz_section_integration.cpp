// IntegrateSection and ComputeSectionProperties on arbitrary polygons (1 to 299 vertices:
// convex, self-crossing, with repeated and collinear points) and arbitrary plane strain fields,
// for every concrete class and creep. Invariants: finite resultants and properties,
// sectionFailure 0 or a failure code with zero resultants on failure, the same answer when the same
// integrator is used again, and for a convex counter-clockwise polygon without bars a concrete
// force between -0.85 fcd A and 0 (the stress never exceeds the plateau).
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>

#include "engine/material.h"
#include "engine/section_integration.h"
#include "fuzz_support.h"

namespace {

enum class Shape { Free, Grid, Convex };

// A coordinate within +-range, sometimes a tiny or a grid value to provoke ties.
double Coordinate(FuzzedDataProvider& in, Shape shape, double range) {
    if (shape == Shape::Grid) return in.ConsumeIntegralInRange<int>(-3, 3) * range / 3.0;
    return in.ConsumeFloatingPointInRange<double>(-range, range);
}

// A magnitude spread over many decades (including exactly 0 and values near the 1e-12 and 1e-11
// cut-offs), with a sign.
double Spread(FuzzedDataProvider& in, double largest) {
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            return 0.0;
        case 1:
            return in.ConsumeFloatingPointInRange<double>(-largest, largest);
        default: {
            const double decade =
                in.ConsumeFloatingPointInRange<double>(-16.0, std::log10(largest));
            return (in.ConsumeBool() ? -1.0 : 1.0) * std::pow(10.0, decade);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);

    tarvelo::MaterialParameters m;
    const double fckMPa = in.ConsumeIntegralInRange<int>(20, 90);
    tarvelo::ComputeConcreteParameters(fckMPa, m);
    m.fcd = fckMPa / 10.0 / in.ConsumeFloatingPointInRange<double>(1.0, 2.0);
    m.fyd = (in.ConsumeBool() ? 50.0 : 60.0) / 1.15;
    m.Es = in.ConsumeBool() ? 20000.0 : 21000.0;
    tarvelo::CompleteMaterialParameters(in.ConsumeFloatingPointInRange<double>(0.0, 5.0), m);

    const Shape shape = static_cast<Shape>(in.ConsumeIntegralInRange<int>(0, 2));
    const double range = std::pow(10.0, in.ConsumeIntegralInRange<int>(0, 4));  // 1 cm .. 100 m
    const int nv = in.ConsumeIntegralInRange<int>(1, tarvelo::kMaxVertices);
    std::array<tarvelo::Point, tarvelo::kMaxVertices + 1> vertices{};
    if (shape == Shape::Convex) {
        // A convex counter-clockwise polygon: increasing angles on an ellipse, shifted.
        const double rx = in.ConsumeFloatingPointInRange<double>(0.1, 1.0) * range;
        const double ry = in.ConsumeFloatingPointInRange<double>(0.1, 1.0) * range;
        const double cx = in.ConsumeFloatingPointInRange<double>(-range, range);
        const double cy = in.ConsumeFloatingPointInRange<double>(-range, range);
        for (int i = 0; i < nv; ++i) {
            const double angle =
                6.283185307179586 * (i + in.ConsumeFloatingPointInRange<double>(0.0, 0.9)) / nv;
            vertices[i] = {cx + rx * std::cos(angle), cy + ry * std::sin(angle)};
        }
    } else {
        // A braced list is evaluated left to right: x is drawn before y.
        for (int i = 0; i < nv; ++i)
            vertices[i] = {Coordinate(in, shape, range), Coordinate(in, shape, range)};
    }
    vertices[nv] = vertices[0];

    const int nb = shape == Shape::Convex && in.ConsumeBool()
                       ? 0
                       : in.ConsumeIntegralInRange<int>(0, tarvelo::kMaxBars);
    std::array<tarvelo::Bar, tarvelo::kMaxBars> bars{};
    for (int j = 0; j < nb; ++j) {
        bars[j].x = Coordinate(in, Shape::Free, range);
        bars[j].y = Coordinate(in, Shape::Free, range);
        bars[j].area = in.ConsumeFloatingPointInRange<double>(0.0, 10.0);
    }

    const tarvelo::SectionStrain strain{.axialStrain = Spread(in, 1.0),
                                        .curvatureX = Spread(in, 1.0),
                                        .curvatureY = Spread(in, 1.0)};

    const tarvelo::SectionConstants props = tarvelo::ComputeSectionProperties(vertices.data(), nv);
    FUZZ_CHECK(std::isfinite(props.area) && std::isfinite(props.firstMomentX) &&
                   std::isfinite(props.firstMomentY) && std::isfinite(props.inertiaX) &&
                   std::isfinite(props.inertiaY) && std::isfinite(props.productOfInertia),
               "finite section properties");

    auto integrator = std::make_unique<tarvelo::SectionIntegrator>();
    int failure = -1;
    const tarvelo::SectionResultants r = integrator->IntegrateSection(
        strain, vertices.data(), nv, bars.data(), nb, props.area, m, failure);
    FUZZ_CHECK(failure >= 0 && failure <= static_cast<int>(tarvelo::SectionFailure::Unusable),
               "sectionFailure is 0 or the code of a section failure");
    FUZZ_CHECK(std::isfinite(r.N) && std::isfinite(r.momentX) && std::isfinite(r.momentY),
               "finite resultants");
    FUZZ_CHECK(failure == 0 || (r.N == 0.0 && r.momentX == 0.0 && r.momentY == 0.0),
               "a failed section carries nothing");

    int failure2 = -1;
    const tarvelo::SectionResultants r2 = integrator->IntegrateSection(
        strain, vertices.data(), nv, bars.data(), nb, props.area, m, failure2);
    FUZZ_CHECK(
        failure2 == failure && r2.N == r.N && r2.momentX == r.momentX && r2.momentY == r.momentY,
        "no state carried between calls");

    if (shape == Shape::Convex && nb == 0 && failure == 0 && nv >= 3) {
        const double limit = 0.85 * m.fcd * props.area;
        const double slack = 1e-6 * limit + 1e-9;
        FUZZ_CHECK(r.N <= slack && r.N >= -limit - slack, "concrete force within the plateau");
    }
    return 0;
}
