// The calculation report: golden texts of the examples, paging, bounds, rounding, conclusions.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/core_test_support.h"
#include "procedures/column_file.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "report/report_conclusion.h"
#include "report/report_content.h"
#include "report/report_snapshot.h"

namespace tarvelo::report {
namespace {

namespace fs = std::filesystem;

using tarvelo::testing::ReadAll;

// The text report after a verification (a new example needs `tarvelo-cli report F --txt T`).
std::string ReportAfterVerification(const fs::path& file) {
    ColumnData data = tarvelo::testing::LoadColumn(file.string());
    RecordingHost host;
    const auto result = Verify(data, host);
    if (host.fields.count(ResultField::TotalSteelArea) != 0)
        data.totalSteelArea = host.fields[ResultField::TotalSteelArea];
    RunRecord runs;
    runs.Record(*result, false);
    ReportResultTexts fields;
    fields.safety = host.fields[ResultField::SafetyCoefficient];
    fields.required = host.fields[ResultField::RequiredSteel];
    fields.minimum = host.fields[ResultField::MinimumSteel];
    fields.refinedSafety = host.fields[ResultField::RefinedSafetyCoefficient];
    fields.refinedRequired = host.fields[ResultField::RefinedRequiredSteel];
    const ReportSnapshot s = MakeReportSnapshot(data, fields, runs);
    const std::string out = tarvelo::testing::TempFile("report-content.txt");
    std::string error;
    EXPECT_TRUE(WriteReportText(s.data, s.results, s.runs.sectionConstants, out, error)) << error;
    return ReadAll(out);
}

TEST(ReportContent, ExamplesPrintTheirGoldenTexts) {
    for (const fs::directory_entry& entry : fs::directory_iterator(TARVELO_EXAMPLES)) {
        // The columns of one load case; the report of several is the load cases' test's.
        const std::string name = entry.path().stem().string();
        if (entry.path().extension() != ".json" || name.starts_with("combinacoes")) continue;
        EXPECT_EQ(ReportAfterVerification(entry.path()),
                  ReadAll((fs::path(TARVELO_TEST_DATA) / "reports" / (name + ".txt")).string()))
            << name;
    }
}

TEST(ReportContent, TablesNeverReachPastTheGrid) {
    ColumnData d;
    d.sectionType = SectionType::Polygonal;
    d.vertices.assign(20, {"1", "2"});
    d.bars.assign(12, {"1", "3.5"});
    d.barCount = "40";  // changed after the grid was filled with 12 rows
    d.vertexCount = "-3";
    SectionConstants kept;
    int bars = 0, vertices = 0;
    for (const ReportLine& line : BuildReportContent(d, {}, kept, ReportVariant::Preview).body) {
        const std::string s = line.PlainText();
        bars += s.rfind("Barra=", 0) == 0;
        vertices += s.rfind("Vértice=", 0) == 0;
    }
    EXPECT_EQ(bars, 12);
    EXPECT_EQ(vertices, 0);
    d.barCount = "99999";  // beyond a count's range
    for (const ReportLine& line : BuildReportContent(d, {}, kept, ReportVariant::Printer).heading)
        EXPECT_TRUE(line.bold);
    // A text that runs into the next column keeps one blank before it.
    EXPECT_EQ((ReportLine{{{0, "Armadura"}, {5, "x"}}}).PlainText(), "Armadura x");
}

// Heading lines H1..H5 and body lines B1..Bn.
ReportContent Synthetic(int bodyLines) {
    ReportContent r;
    for (int i = 1; i <= 5; ++i)
        r.heading.push_back({{{0, "H" + std::to_string(i)}}, true});
    for (int i = 1; i <= bodyLines; ++i)
        r.body.push_back({{{0, "B" + std::to_string(i)}}});
    return r;
}

TEST(ReportPaging, PreviewCountsThirtyEightLinesToAPage) {
    // B1 is not counted and the heading stands for lines 1 to 7: 24 body lines end at line 30.
    EXPECT_EQ(ProducePreviewPage(Synthetic(24), 1).pageTotal, 1);
    EXPECT_EQ(ProducePreviewPage(Synthetic(32), 1).pageTotal, 1);  // last line 38
    const ReportContent r = Synthetic(33);                         // last line 39
    const PreviewPage one = ProducePreviewPage(r, 1);
    EXPECT_EQ(one.pageTotal, 2);
    ASSERT_EQ(one.lines.size(), 2u + 5u + 32u);  // two blanks, the heading, B1..B32
    EXPECT_EQ(one.lines[2].PlainText(), "H1");
    EXPECT_EQ(one.lines.back().PlainText(), "B32");
    const PreviewPage two = ProducePreviewPage(r, 2);
    ASSERT_EQ(two.lines.size(), 2u);
    EXPECT_EQ(two.lines[1].PlainText(), "B33");
    EXPECT_TRUE(two.lines[0].bold);
    EXPECT_EQ(ProducePreviewPage(r, 3).lines.size(), 1u);  // beyond the end: the blank only
}

TEST(ReportPaging, PrinterPagesOfFiftyFourLines) {
    const auto pages = PaginatePrinter(Synthetic(50), false);
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_EQ(pages[0].lines.size(), 54u);
    EXPECT_EQ(pages[0].lines[48 + 5].PlainText(), "B49");
    EXPECT_EQ(pages[1].number, 2);
    EXPECT_EQ(pages[1].lines.front().PlainText(), "B50");

    // A report that fills its sheet exactly ends there, with or without the chart page.
    EXPECT_EQ(PaginatePrinter(Synthetic(49), false).size(), 1u);
    const auto withChart = PaginatePrinter(Synthetic(49 + 54), true);
    ASSERT_EQ(withChart.size(), 3u);
    EXPECT_EQ(withChart[1].lines.size(), 54u);
    EXPECT_FALSE(withChart[1].chart);
    EXPECT_TRUE(withChart[2].chart);
    EXPECT_TRUE(withChart[2].lines.empty());
    EXPECT_EQ(withChart[2].number, 3);
}

// A finished run and the procedure that made it.
struct Ending {
    AnalysisResult result;
    ConcludedProcedure procedure;
};

Ending Verified(int step, SectionFailure cause, double limit = 0, bool reached = false) {
    AnalysisResult r;
    r.completed = true;
    r.reachedStep = step;
    r.safetyCoefficient = step / 50.0;
    r.safetyText = FormatSafetyCoefficient(step);
    r.failure = {cause, 3, 2, 45, limit};
    r.designLoad = {reached, 0, -0.004, 12.345, -3.2};
    return {r, ConcludedProcedure::Verification};
}

Ending Designed(double required, double minimum) {
    AnalysisResult r;
    r.completed = true;
    r.requiredSteelArea = required;
    r.minimumSteelArea = minimum;
    return {r, ConcludedProcedure::Design};
}

// The sentences after "CONCLUSÃO:" joined again; every line fits the report's width.
std::string Text(const Ending& e) {
    const std::vector<ReportLine> lines = BuildConclusion(e.result, e.procedure);
    if (lines.empty()) return "";
    EXPECT_EQ(lines[1].PlainText(), "CONCLUSÃO:");
    std::string text;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::string line = lines[i].PlainText();
        std::size_t characters = 0;
        for (const char c : line)
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        EXPECT_LE(characters, static_cast<std::size_t>(kConclusionWidth)) << line;
        text += (text.empty() ? "" : " ") + line;
    }
    return text;
}

TEST(ReportConclusion, SentencesForEachEnding) {
    using enum SectionFailure;
    const struct {
        Ending ending;
        std::vector<std::string> parts;  // in this order
    } cases[] = {
        {Verified(38, SteelElongation, 10),
         {"O pilar NÃO resiste às cargas de cálculo (S < 1).",
          "etapa de carga 38 (0.76 vezes as cargas de cálculo)", "alongamento", "10 ‰",
          "no elemento 3 (seção a 45 cm da base do pilar).",
          "A análise não chegou às cargas de cálculo"}},
        {Verified(67, ConcreteUltimate, 3.5, true),
         {"O pilar resiste às cargas de cálculo (S ≥ 1).", "(1.34 vezes", "εcu = 3.5 ‰",
          "no topo, x = 0.00 mm e y = 0.00 mm; a meia altura, x = 12.35 mm e y = -3.20 mm."}},
        {Verified(50, FullCompression, 2.288, false),
         {"(S ≥ 1)", "etapa de carga 50 (1 vez as cargas de cálculo)", "seção toda comprimida",
          "εc2 = 2.29 ‰"}},
        {Verified(500, None, 0, true),
         {"(S ≥ 1)",
          "Nenhum limite de deformação foi atingido até a etapa de carga 500 (10 "
          "vezes as cargas de cálculo).",
          "Flechas para as cargas de cálculo"}},
        {Verified(12, Diverged), {"(S < 1)", "Na etapa de carga 12 (0.24 vezes", "divergiram"}},
        {Designed(0, 3.2), {"Prevalece a armadura mínima."}},
        {Designed(3.204, 3.196), {"Prevalece a armadura calculada."}},  // both "3.2"
        {Designed(14.7, 3.2), {"Prevalece a armadura calculada."}},
    };
    for (const auto& c : cases) {
        const std::string text = Text(c.ending);
        std::size_t at = 0;
        for (const std::string& part : c.parts) {
            const std::size_t found = text.find(part, at);
            EXPECT_NE(found, std::string::npos) << part << "\n in: " << text;
            if (found != std::string::npos) at = found + part.size();
        }
    }
    Ending ended = Verified(38, SteelElongation);
    ended.result.completed = false;
    EXPECT_TRUE(BuildConclusion(ended.result, ended.procedure).empty());
}

}  // namespace
}  // namespace tarvelo::report
