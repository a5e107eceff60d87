// What the load steps record besides the curve: the cause and the section of the failure, and
// the deflections at the design loads.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/engine/column_test_support.h"
#include "engine/column_model.h"

namespace tarvelo {
namespace {

using testing::MakeMaterial;
using testing::MakeRectangle;

struct Column {
    const char* name;
    double steel;  // total, cm2
    ColumnLoads loads;
    SupportCondition base, top;
    SectionFailure cause;
};

ColumnLoads Loads(double Fd, double Hyd_t, double Mxd_t = 0, double Mxd_b = 0) {
    ColumnLoads l;
    l.Fd = Fd;
    l.Hyd_t = Hyd_t;
    l.Mxd_t = Mxd_t;
    l.Mxd_b = Mxd_b;
    return l;
}

// 20 x 40 section, four bars 4 cm from the faces, fck 25 without creep, 1 m high.
TEST(FailureSite, CauseAndSectionOfThreeEvidentFailures) {
    using enum SupportCondition;
    const Column columns[] = {
        // Almost no axial force and 2 cm2 of steel: bending with little steel stretches the
        // tension bars to 10 per mille while the compressed zone is still far from crushing.
        {"under-reinforced cantilever", 2, Loads(10, 5), Fixed, Free,
         SectionFailure::SteelElongation},
        // 8 % of steel and a large axial force: the tension bars hardly stretch, and the
        // concrete edge reaches its ultimate shortening in bending first.
        {"over-reinforced cantilever", 64, Loads(300, 30), Fixed, Free,
         SectionFailure::ConcreteUltimate},
        // Axial force alone on a straight column: a uniform shortening, limited to epsC2.
        {"centred compression", 8, Loads(1000, 0), Fixed, Free, SectionFailure::FullCompression},
    };
    const SectionGeometry s = MakeRectangle(20, 40, {{4, 4}, {16, 4}, {16, 36}, {4, 36}});
    for (const Column& c : columns) {
        auto model = std::make_unique<ColumnModel>();
        model->Assemble(s, c.steel / 4, 100, MakeMaterial(25, 0), c.loads);
        ASSERT_EQ(model->ApplySupportsAndFactor(c.base, c.top), 0);
        LoadDeflectionCurve curve;
        const LoadStepResult r = model->RunLoadSteps(50, 1, curve, nullptr);
        ASSERT_EQ(r.sectionFailure, 1) << c.name;
        EXPECT_EQ(r.failure.cause, c.cause) << c.name << " step " << r.reachedStep;
        // The moment is largest at the fixed base, and a centred force strains every section
        // alike: the first section met from the base fails.
        EXPECT_EQ(r.failure.element, 1) << c.name;
        EXPECT_EQ(r.failure.gaussPoint, 1) << c.name;
        // The lowest of the three Gauss points of a 10 cm element.
        EXPECT_NEAR(r.failure.height, 5 * (1 - std::sqrt(0.6)), 1e-12) << c.name;
    }
}

// The design-load deflections of step 50 agree with the curve's abscissa there: the resultant
// at the top of a cantilever, at mid-height otherwise; a column failing before step 50 has none.
TEST(FailureSite, DesignLoadDeflectionsMatchTheCurveAtStep50) {
    using enum SupportCondition;
    ColumnLoads biaxial = Loads(400, 4);
    biaxial.Hxd_t = 2;
    ColumnLoads pinned = Loads(600, 0, 1500, 1500);
    pinned.Myd_t = 800;
    pinned.Myd_b = -400;
    const struct {
        ColumnLoads loads;
        SupportCondition top;
        bool reached;
    } cases[] = {{biaxial, Free, true}, {pinned, Pinned, true}, {Loads(4000, 20), Free, false}};
    const SectionGeometry s = MakeRectangle(20, 40, {{4, 4}, {16, 4}, {16, 36}, {4, 36}});
    for (const auto& c : cases) {
        auto model = std::make_unique<ColumnModel>();
        model->Assemble(s, 2, 300, MakeMaterial(25, 1), c.loads);
        ASSERT_EQ(model->ApplySupportsAndFactor(c.top == Free ? Fixed : Pinned, c.top), 0);
        LoadDeflectionCurve curve;
        const LoadStepResult r = model->RunLoadSteps(50, 1, curve, nullptr);
        const DesignLoadDeflections& d = r.designLoad;
        ASSERT_EQ(d.reached, c.reached) << r.reachedStep;
        if (!c.reached) continue;
        ASSERT_GT(r.reachedStep, 50);
        const double resultant =
            c.top == Free ? std::hypot(d.topX, d.topY) : std::hypot(d.midX, d.midY);
        EXPECT_NEAR(resultant, curve.rows[50][0], 1e-12 * curve.rows[50][0]);
        EXPECT_GT(std::fabs(d.midX) * std::fabs(d.midY), 0.0);  // bent both ways
        if (c.top == Free) {
            EXPECT_GT(std::fabs(d.topY), std::fabs(d.midY));
        } else {
            EXPECT_EQ(d.topX, 0.0);
            EXPECT_EQ(d.topY, 0.0);
        }
    }
}

}  // namespace
}  // namespace tarvelo
