// The input rules as a run meets them: order, messages, box kinds, answers and focus.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/core_test_support.h"
#include "model/field_table.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"

namespace tarvelo {
namespace {

using testing::ValidColumn;

struct Run {
    RecordingHost host;
    std::unique_ptr<AnalysisResult> result;
};

std::unique_ptr<Run> VerifyOnce(const ColumnData& d, bool answerYes = false) {
    auto run = std::make_unique<Run>();
    run->host.answerYes = answerYes;
    run->result = Verify(d, run->host, ProcedureOptions{1});
    return run;
}

// A change of the valid column: the section kind and up to three field texts.
struct Edit {
    SectionType kind = SectionType::RectangularSolid;
    std::vector<std::pair<FieldId, const char*>> fields;
};

ColumnData Edited(const Edit& edit) {
    ColumnData d = ValidColumn();
    d.sectionType = edit.kind;
    for (const auto& [id, text] : edit.fields)
        FieldText(d, id) = text;
    return d;
}

// Each rule that ends a run, from a change that breaks only it: its message, title and focus.
TEST(InputRules, EndingRulesEndTheRunWithTheirMessageAndFocus) {
    using enum FieldId;
    using enum SectionType;
    const std::pair<Edit, RuleId> cases[] = {
        {{RectangularSolid, {{Fck, "95"}}}, RuleId::FckAbove90},
        {{RectangularSolid, {{Fck, ""}}}, RuleId::FckNotPositive},
        {{RectangularSolid, {{Fyk, "0"}}}, RuleId::FykNotPositive},
        {{RectangularSolid, {{Es, ""}}}, RuleId::EsNotPositive},
        {{RectangularSolid, {{Gamac, "0.9"}}}, RuleId::GamacBelowOne},
        {{RectangularSolid, {{Gamas, "0.99"}}}, RuleId::GamasBelowOne},
        {{RectangularSolid, {{CreepCoefficient, "-2"}}}, RuleId::CreepMakesNoStrain},
        {{RectangularSolid, {{BarCount, "0"}}}, RuleId::BarCountNotPositive},
        {{RectangularSolid, {{BarCount, "300"}}}, RuleId::BarCountAbove299},
        {{RectangularSolid, {{BarCount, "40000"}}}, RuleId::BarCountOverflow},
        {{RectangularSolid, {{BarCount, "3"}}}, RuleId::RectangleBarsBelow4},
        {{CircularSolid, {{BarCount, "5"}}}, RuleId::CircleBarsBelow6},
        {{Polygonal, {{BarCount, "3"}}}, RuleId::PolygonBarsBelow4},
        {{Polygonal, {{VertexCount, "2"}}}, RuleId::VertexCountBelow3},
        {{Polygonal, {{VertexCount, "4"}}}, RuleId::VertexGridRows},
        {{RectangularSolid, {{BarCount, "5"}}}, RuleId::RectangleBarGridRows},
        {{RectangularSolid, {{RectHy, ""}}}, RuleId::RectangleZeroDimension},
        {{RectangularHollow, {{HollowBxo, "60"}}}, RuleId::HollowRectangleOpening},
        {{CircularSolid, {{BarCount, "6"}, {CircleCover, "10"}}}, RuleId::CircleCoverTooLarge},
        {{CircularHollow, {{BarCount, "6"}, {HollowCircleCover, "3"}, {HollowCircleDi, "40"}}},
         RuleId::HollowCircleDiameters},
        {{RectangularSolid, {{L, "0"}}}, RuleId::HeightZero},
        {{RectangularSolid, {{Fd, ""}}}, RuleId::AxialForceZero},
    };
    std::vector<std::pair<ColumnData, RuleId>> columns;
    for (const auto& [edit, rule] : cases)
        columns.emplace_back(Edited(edit), rule);
    ColumnData d = Edited({Polygonal, {{VertexCount, "4"}}});
    d.vertices = {{"0", "0"}, {"0", "40"}, {"20", "40"}, {"20", "0"}};
    columns.emplace_back(d, RuleId::PolygonOrientation);
    d = Edited({RectangularSolid, {{RectHx, "12"}}});
    d.bars = {{"3", "3"}, {"9", "3"}, {"3", "37"}, {"9", "37"}};
    columns.emplace_back(d, RuleId::BminBelow14);
    d = ValidColumn();
    d.bars[3] = d.bars[0];
    columns.emplace_back(d, RuleId::CoincidentBars);
    d = ValidColumn();
    d.topSupport = SupportCondition::Free;
    columns.emplace_back(d, RuleId::Hypostatic);
    for (const auto& [column, id] : columns) {
        const RuleInfo& rule = Rule(id);
        SCOPED_TRACE(rule.message);
        auto run = VerifyOnce(column);
        EXPECT_FALSE(run->result->completed);
        ASSERT_FALSE(run->host.boxes.empty());
        EXPECT_EQ(run->host.boxes.back().text, rule.message);
        EXPECT_EQ(run->host.boxes.back().title, rule.title);
        EXPECT_EQ(run->host.focus, rule.focus);
        EXPECT_EQ(run->host.fields[ResultField::SafetyCoefficient], " ");
    }
}

// Columns that run without a word, warn, ask, or stop at the first rule in the checks' order (the
// loads first): the messages in order and whether the run completes; a Sim to a question stops.
TEST(InputRules, MessagesInOrderAndWhetherTheRunGoesOn) {
    using enum RuleId;
    const struct {
        void (*edit)(ColumnData&);
        std::vector<RuleId> shown;
        bool completed;
    } cases[] = {
        {[](ColumnData&) {}, {}, true},
        {[](ColumnData& d) { d.fyk = "600", d.Es = "210"; }, {}, true},
        {[](ColumnData& d) { d.fyk = "505"; }, {FykNotStandard}, true},  // 50.5 is not CA-50
        {[](ColumnData& d) { d.L = "5"; }, {ShortColumn}, true},
        {[](ColumnData& d) {
             d.rectHx = "15", d.rectHy = "20";
             d.bars = {{"3", "3"}, {"12", "3"}, {"3", "17"}, {"12", "17"}};
         },
         {BminBelow19, AreaBelow360},
         true},
        {[](ColumnData& d) { d.fck = "95", d.L = "", d.Fd = ""; }, {HeightZero}, false},
        {[](ColumnData& d) { d.fck = "95", d.Fd = ""; }, {AxialForceZero}, false},
        {[](ColumnData& d) { d.fck = "15"; }, {FckBelow20}, true},
        {[](ColumnData& d) { d.fyk = "250"; }, {FykNotStandard}, true},
        {[](ColumnData& d) { d.Es = "205"; }, {EsNotStandard}, true},
        {[](ColumnData& d) { d.creepCoefficient = "6"; }, {CreepTooHigh}, true},
        {[](ColumnData& d) { d.rectHx = "18"; }, {BminBelow19}, true},
    };
    for (const auto& c : cases) {
        ColumnData d = ValidColumn();
        c.edit(d);
        auto run = VerifyOnce(d);
        std::vector<std::string> expected;
        for (const RuleId id : c.shown)
            expected.emplace_back(Rule(id).message);
        EXPECT_EQ(run->host.Messages(), expected);
        EXPECT_EQ(run->result->completed, c.completed);
        if (!c.completed) continue;
        EXPECT_EQ(run->host.focus, FocusTarget::None);
        if (c.shown.empty() || Rule(c.shown[0]).outcome != RuleOutcome::YesNo) continue;
        auto yes = VerifyOnce(d, true);
        ASSERT_EQ(yes->host.boxes.size(), 1u) << expected[0];
        EXPECT_TRUE(yes->host.boxes[0].question);
        EXPECT_FALSE(yes->result->completed);
        EXPECT_EQ(yes->host.focus, Rule(c.shown[0]).focus);
    }
}

TEST(InputRules, SectionWindowCountsAndDrawing) {
    RecordingHost host;
    ColumnData d = ValidColumn();
    int nv = 0, nb = 0;
    EXPECT_TRUE(CheckSectionWindowCounts(d, host, nv, nb));
    EXPECT_EQ(nb, 4);
    d.sectionType = SectionType::CircularSolid;
    EXPECT_FALSE(CheckSectionWindowCounts(d, host, nv, nb));
    EXPECT_EQ(host.boxes.back().text, Rule(RuleId::CircleBarsBelow6).message);
    EXPECT_EQ(host.focus, FocusTarget::BarCount);

    SectionGeometry section;
    d = ValidColumn();
    EXPECT_TRUE(BuildSectionForDrawing(d, host, section));
    EXPECT_EQ(section.nv, 4);
    d.fck = "95";  // material rules do not concern the drawing
    EXPECT_TRUE(BuildSectionForDrawing(d, host, section));
    d.bars[1] = d.bars[2];
    EXPECT_FALSE(BuildSectionForDrawing(d, host, section));
}

}  // namespace
}  // namespace tarvelo
