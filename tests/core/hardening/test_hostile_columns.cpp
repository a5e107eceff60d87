// Hostile columns: a run ends with a message or a sound result, never a non-finite number.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/core_test_support.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"

namespace tarvelo {
namespace {

using testing::ValidColumn;

struct Outcome {
    RecordingHost host;
    std::unique_ptr<AnalysisResult> result;
};

std::unique_ptr<Outcome> RunColumn(const ColumnData& d, bool design) {
    auto o = std::make_unique<Outcome>();
    const ProcedureOptions options{2};
    o->result = design ? Design(d, o->host, options) : Verify(d, o->host, options);
    return o;
}

// What every run honours.
void ExpectSound(const Outcome& o, const std::string& what) {
    SCOPED_TRACE(what);
    const AnalysisResult& r = *o.result;
    const SectionConstants& c = r.sectionConstants;
    for (const double v : {c.area, c.inertiaX, c.inertiaY, c.slendernessX, c.slendernessY})
        EXPECT_TRUE(!r.hasSectionConstants || std::isfinite(v));
    for (const auto& [field, text] : o.host.fields) {
        EXPECT_EQ(text.find("nan"), std::string::npos) << text;
        EXPECT_EQ(text.find("inf"), std::string::npos) << text;
    }
    if (!r.completed) {
        EXPECT_FALSE(o.host.boxes.empty()) << "a run that stops says why";
    } else if (r.requiredText.empty()) {
        EXPECT_GE(r.safetyCoefficient, 0.02);
        EXPECT_LE(r.safetyCoefficient, 10.0);
    }
    const auto main = o.host.enabled.find(Control::MainWindow);
    EXPECT_TRUE(main == o.host.enabled.end() || main->second);
}

ColumnData Circle(const char* diameter) {
    ColumnData d;
    d.sectionType = SectionType::CircularSolid;
    d.circleDiameter = diameter;
    d.circleCover = "4";
    d.barCount = "8";
    d.totalSteelArea = "20";
    d.L = "600";
    d.Fd = "1800";
    return d;
}

// Coordinates around 1e77 cm: a finite area but infinite second moments end the run first.
TEST(HostileColumns, SectionWhoseMomentsOverflowEndsBeforeTheAnalysis) {
    ColumnData polygon = ValidColumn();
    polygon.sectionType = SectionType::Polygonal;
    polygon.vertexCount = "4";
    polygon.vertices = {{"0", "0"}, {"2e77", "0"}, {"2e77", "4e77"}, {"0", "4e77"}};
    polygon.bars = {{"3e76", "3e76"}, {"1.7e77", "3e76"}, {"3e76", "3.7e77"}, {"1.7e77", "3.7e77"}};
    for (const ColumnData& d : {Circle("1e80"), Circle("1e100"), polygon}) {
        for (bool design : {false, true}) {
            auto o = RunColumn(d, design);
            ExpectSound(*o, design ? "design" : "verification");
            EXPECT_FALSE(o->result->completed);
            EXPECT_FALSE(o->result->hasSectionConstants);
            ASSERT_FALSE(o->host.boxes.empty());
            EXPECT_NE(o->host.boxes.back().text.find("da seção estão fora do intervalo numérico"),
                      std::string::npos);
            EXPECT_EQ(o->host.focus, FocusTarget::SectionData);
        }
    }
    // Large but representable sections are still analysed.
    auto o = RunColumn(Circle("1e6"), false);
    ExpectSound(*o, "D = 1e6");
    EXPECT_TRUE(o->result->hasSectionConstants);
}

// A free top doubles 1e308 cm into an infinite buckling length: the height is refused.
TEST(HostileColumns, HeightWhoseBucklingLengthOverflowsIsRefused) {
    ColumnData d = ValidColumn();
    d.L = "1e308";
    d.baseSupport = SupportCondition::Fixed;
    d.topSupport = SupportCondition::Free;
    for (bool design : {false, true}) {
        auto o = RunColumn(d, design);
        ExpectSound(*o, "free top");
        EXPECT_FALSE(o->result->hasSectionConstants);
        ASSERT_FALSE(o->host.boxes.empty());
        EXPECT_NE(o->host.boxes.back().text.find("Altura do pilar L"), std::string::npos);
        EXPECT_EQ(o->host.focus, FocusTarget::Loads);
    }
    d.topSupport = SupportCondition::Pinned;  // 0.7 L stays finite: the run goes on
    ExpectSound(*RunColumn(d, false), "pinned top");
}

// Texts a user can type or a file can hold, each in a valid column.
TEST(HostileColumns, GarbageTextsEndWithTheSystemsMessagesOrASoundResult) {
    const std::pair<std::string ColumnData::*, std::vector<const char*>> cases[] = {
        {&ColumnData::fck, {"NaN", "-30", "1e-300"}},
        {&ColumnData::creepCoefficient, {"-1.76", "1e400"}},
        {&ColumnData::fyk, {"inf"}},
        {&ColumnData::Es, {"1e400", "1e-320"}},
        {&ColumnData::Gamac, {"1e308"}},
        {&ColumnData::Gamas, {"-1"}},
        {&ColumnData::barCount, {"1e10", "-4"}},
        {&ColumnData::totalSteelArea, {"1e400", "-8", "1e300"}},
        {&ColumnData::rectHx, {"0", "-20"}},
        {&ColumnData::rectHy, {"1e200"}},
        {&ColumnData::L, {"-400", "1e-300"}},
        {&ColumnData::Fd, {"-300", "1e300"}},
        {&ColumnData::Mxd_t, {"&HFFFFFFFFFFFFFFFFFFFF"}},
        {&ColumnData::pxd, {"1e400"}},
    };
    for (const auto& [field, texts] : cases) {
        for (const char* text : texts) {
            ColumnData d = ValidColumn();
            d.*field = text;
            for (bool design : {false, true})
                ExpectSound(*RunColumn(d, design), text);
        }
    }

    ColumnData rows = ValidColumn();
    rows.sectionType = SectionType::Polygonal;
    rows.vertexCount = "300";
    rows.barCount = "300";
    for (int i = 0; i < 300; ++i) {
        rows.vertices.push_back({std::to_string(i), std::to_string(i % 7)});
        rows.bars.push_back({std::to_string(i), "1"});
    }
    ExpectSound(*RunColumn(rows, false), "300 rows");
    rows.vertexCount = "299";
    rows.barCount = "4";
    ExpectSound(*RunColumn(rows, false), "grids longer than the counts");
}

}  // namespace
}  // namespace tarvelo
