// The input rules as a run meets them: order, messages, box kinds, answers and focus.
#include <gtest/gtest.h>

#include "procedures/procedures.h"
#include "procedures/recording_host.h"

namespace tarvelo {
namespace {

// A valid 20 x 40 column with four corner bars, pinned-pinned, lightly loaded.
ColumnData ValidColumn() {
    ColumnData d;
    d.barCount = "4";
    d.totalSteelArea = "8";
    d.bars = {{"3", "3"}, {"17", "3"}, {"3", "37"}, {"17", "37"}};
    d.Fd = "300";
    return d;
}

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

// The first box shown, or "" when none.
std::string FirstMessage(const Run& run) {
    return run.host.boxes.empty() ? "" : run.host.boxes.front().text;
}

TEST(InputRules, ValidColumnRunsWithoutMessages) {
    auto run = VerifyOnce(ValidColumn());
    EXPECT_TRUE(run->result->completed);
    EXPECT_TRUE(run->host.boxes.empty()) << FirstMessage(*run);
}

struct EndCase {
    const char* name;
    void (*edit)(ColumnData&);
    RuleId rule;
};

class EndingRules : public ::testing::TestWithParam<EndCase> {};

TEST_P(EndingRules, EndTheRunWithTheirMessageAndFocus) {
    ColumnData d = ValidColumn();
    GetParam().edit(d);
    auto run = VerifyOnce(d);
    const RuleInfo& rule = Rule(GetParam().rule);
    EXPECT_FALSE(run->result->completed);
    ASSERT_FALSE(run->host.boxes.empty());
    EXPECT_EQ(run->host.boxes.back().text, rule.message);
    EXPECT_EQ(run->host.boxes.back().title, rule.title);
    EXPECT_EQ(run->host.focus, rule.focus);
    EXPECT_EQ(run->host.fields[ResultField::SafetyCoefficient], " ");
}

const EndCase kEndCases[] = {
    {"fck95", [](ColumnData& d) { d.fck = "95"; }, RuleId::FckAbove90},
    {"fckZeroAccepted", [](ColumnData& d) { d.fck = ""; }, RuleId::FckNotPositive},
    {"fykZero", [](ColumnData& d) { d.fyk = "0"; }, RuleId::FykNotPositive},
    {"esZero", [](ColumnData& d) { d.Es = ""; }, RuleId::EsNotPositive},
    {"gamac", [](ColumnData& d) { d.Gamac = "0.9"; }, RuleId::GamacBelowOne},
    {"gamas", [](ColumnData& d) { d.Gamas = "0.99"; }, RuleId::GamasBelowOne},
    {"creepNegative", [](ColumnData& d) { d.creepCoefficient = "-2"; }, RuleId::CreepMakesNoStrain},
    {"barsZero", [](ColumnData& d) { d.barCount = "0"; }, RuleId::BarCountNotPositive},
    {"bars300", [](ColumnData& d) { d.barCount = "300"; }, RuleId::BarCountAbove299},
    {"barsOverflow", [](ColumnData& d) { d.barCount = "40000"; }, RuleId::BarCountOverflow},
    {"rectangleThreeBars", [](ColumnData& d) { d.barCount = "3"; }, RuleId::RectangleBarsBelow4},
    {"circleFiveBars",
     [](ColumnData& d) {
         d.sectionType = SectionType::CircularSolid;
         d.barCount = "5";
     },
     RuleId::CircleBarsBelow6},
    {"polygonThreeBars",
     [](ColumnData& d) {
         d.sectionType = SectionType::Polygonal;
         d.barCount = "3";
     },
     RuleId::PolygonBarsBelow4},
    {"polygonTwoVertices",
     [](ColumnData& d) {
         d.sectionType = SectionType::Polygonal;
         d.vertexCount = "2";
     },
     RuleId::VertexCountBelow3},
    {"polygonVertexGrid",
     [](ColumnData& d) {
         d.sectionType = SectionType::Polygonal;
         d.vertexCount = "4";
     },
     RuleId::VertexGridRows},
    {"rectangleBarGrid", [](ColumnData& d) { d.barCount = "5"; }, RuleId::RectangleBarGridRows},
    {"rectangleZero", [](ColumnData& d) { d.rectHy = ""; }, RuleId::RectangleZeroDimension},
    {"hollowOpening",
     [](ColumnData& d) {
         d.sectionType = SectionType::RectangularHollow;
         d.hollowBxo = "60";
     },
     RuleId::HollowRectangleOpening},
    {"circleCover",
     [](ColumnData& d) {
         d.sectionType = SectionType::CircularSolid;
         d.barCount = "6";
         d.circleCover = "10";
     },
     RuleId::CircleCoverTooLarge},
    {"hollowCircleDiameters",
     [](ColumnData& d) {
         d.sectionType = SectionType::CircularHollow;
         d.barCount = "6";
         d.hollowCircleCover = "3";
         d.hollowCircleDi = "40";
     },
     RuleId::HollowCircleDiameters},
    {"clockwisePolygon",
     [](ColumnData& d) {
         d.sectionType = SectionType::Polygonal;
         d.vertexCount = "4";
         d.vertices = {{"0", "0"}, {"0", "40"}, {"20", "40"}, {"20", "0"}};
     },
     RuleId::PolygonOrientation},
    {"coincidentBars", [](ColumnData& d) { d.bars[3] = d.bars[0]; }, RuleId::CoincidentBars},
    {"bmin12",
     [](ColumnData& d) {
         d.rectHx = "12";
         d.bars = {{"3", "3"}, {"9", "3"}, {"3", "37"}, {"9", "37"}};
     },
     RuleId::BminBelow14},
    {"heightZero", [](ColumnData& d) { d.L = "0"; }, RuleId::HeightZero},
    {"axialForceZero", [](ColumnData& d) { d.Fd = ""; }, RuleId::AxialForceZero},
    {"hypostatic", [](ColumnData& d) { d.topSupport = SupportCondition::Free; },
     RuleId::Hypostatic},
};

INSTANTIATE_TEST_SUITE_P(Checks, EndingRules, ::testing::ValuesIn(kEndCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InputRules, QuestionsStopOnYesAndGoOnOnNo) {
    struct Case {
        void (*edit)(ColumnData&);
        RuleId rule;
    };
    const Case cases[] = {
        {[](ColumnData& d) { d.fck = "15"; }, RuleId::FckBelow20},
        {[](ColumnData& d) { d.fyk = "250"; }, RuleId::FykNotStandard},
        {[](ColumnData& d) { d.Es = "205"; }, RuleId::EsNotStandard},
        {[](ColumnData& d) { d.creepCoefficient = "6"; }, RuleId::CreepTooHigh},
        {[](ColumnData& d) { d.rectHx = "18"; }, RuleId::BminBelow19},
    };
    for (const Case& c : cases) {
        ColumnData d = ValidColumn();
        c.edit(d);
        const RuleInfo& rule = Rule(c.rule);
        auto yes = VerifyOnce(d, true);
        ASSERT_EQ(yes->host.boxes.size(), 1u) << rule.message;
        EXPECT_TRUE(yes->host.boxes[0].question);
        EXPECT_EQ(yes->host.boxes[0].text, rule.message);
        EXPECT_FALSE(yes->result->completed);
        EXPECT_EQ(yes->host.focus, rule.focus);

        auto no = VerifyOnce(d, false);
        EXPECT_EQ(FirstMessage(*no), rule.message);
        EXPECT_TRUE(no->result->completed) << rule.message;
        EXPECT_EQ(no->host.focus, FocusTarget::None);
    }
}

TEST(InputRules, ExactComparisonsOfSteelValues) {
    ColumnData d = ValidColumn();
    d.fyk = "600";
    d.Es = "210";
    EXPECT_TRUE(VerifyOnce(d)->host.boxes.empty());
    d.fyk = "505";  // 50.5 kN/cm2 is not CA-50
    EXPECT_EQ(FirstMessage(*VerifyOnce(d)), Rule(RuleId::FykNotStandard).message);
}

TEST(InputRules, SmallSectionAsksThenWarnsAndStillRuns) {
    ColumnData d = ValidColumn();
    d.rectHx = "15";
    d.rectHy = "20";
    d.bars = {{"3", "3"}, {"12", "3"}, {"3", "17"}, {"12", "17"}};
    auto run = VerifyOnce(d);
    ASSERT_GE(run->host.boxes.size(), 2u);
    EXPECT_EQ(run->host.boxes[0].text, Rule(RuleId::BminBelow19).message);
    EXPECT_EQ(run->host.boxes[1].text, Rule(RuleId::AreaBelow360).message);
    EXPECT_TRUE(run->result->completed);
}

TEST(InputRules, ShortColumnWarnsAndGoesOn) {
    ColumnData d = ValidColumn();
    d.L = "5";
    auto run = VerifyOnce(d);
    EXPECT_EQ(FirstMessage(*run), Rule(RuleId::ShortColumn).message);
    EXPECT_EQ(Rule(RuleId::ShortColumn).message.back(), ' ');
    EXPECT_TRUE(run->result->completed);
}

TEST(InputRules, LoadChecksComeBeforeEveryOtherRule) {
    ColumnData d = ValidColumn();
    d.fck = "95";
    d.L = "";
    d.Fd = "";
    EXPECT_EQ(FirstMessage(*VerifyOnce(d)), "A altura do pilar não pode ser nula.");
    d.L = "300";
    EXPECT_EQ(FirstMessage(*VerifyOnce(d)), "Forneça a força normal no topo do pilar.");
}

TEST(InputRules, HugeNumbersEndTheRunNamingTheField) {
    ColumnData d = ValidColumn();
    d.Mxd_t = "1e400";
    auto run = VerifyOnce(d);
    EXPECT_FALSE(run->result->completed);
    EXPECT_NE(FirstMessage(*run).find("Mxd,t"), std::string::npos);
    d = ValidColumn();
    d.rectHx = "1e200";
    d.rectHy = "1e200";
    run = VerifyOnce(d);
    EXPECT_FALSE(run->result->completed);
    EXPECT_EQ(run->host.focus, FocusTarget::SectionData);
}

TEST(InputRules, SectionWindowCountsAndDrawing) {
    RecordingHost host;
    ColumnData d = ValidColumn();
    int nv = 0;
    int nb = 0;
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
