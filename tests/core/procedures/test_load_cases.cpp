// Load cases: files, CSV import, runs of every case, minimum-moment cases, thread count.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>

#include "core/core_test_support.h"
#include "model/number_reading.h"
#include "procedures/column_file.h"
#include "procedures/load_case_csv.h"
#include "procedures/load_cases.h"
#include "procedures/run_json.h"
#include "report/report_content.h"

namespace tarvelo {
namespace {

using testing::ShellRun;

ColumnData Example() {
    return testing::LoadColumn(TARVELO_EXAMPLES "/combinacoes-retangular.json");
}

TEST(LoadCases, FilesKeepOneCaseAsVersionOneAndSeveralAsVersionTwo) {
    ColumnData one;
    one.Fd = "1200";
    one.Mxd_t = "-35,0";  // texts as typed
    ColumnData named = one;
    named.firstCaseName = "Máx. Nd";
    ColumnData several = one;
    several.otherCases = {{"Vento +x", {"980", "2.5", "", "3100", "", "", "", "", ""}},
                          {"3", {"", "", "", "", "", "", "", "", "-0.02"}}};
    ColumnData minimum = one;
    minimum.minimumMoments = true;
    const std::pair<ColumnData, bool> table[] = {
        {one, true}, {named, false}, {several, false}, {minimum, false}};
    for (const auto& [d, v1] : table) {
        const std::string text = FormatColumnFile(d);
        ColumnData back;
        std::string error;
        ASSERT_TRUE(ParseColumnFile(text, "x", back, error)) << error;
        EXPECT_EQ(back, d);
        EXPECT_EQ(FormatColumnFile(back), text);
        // One case "1" without minimum moments is written as before cases existed (version 1).
        EXPECT_EQ(text.find("\"version\": 1\n") != std::string::npos, v1) << text;
        EXPECT_EQ(text.find("\"cases\"") == std::string::npos, v1) << text;
    }
    EXPECT_EQ(Cases(Example()).size(), 5u);
}

TEST(LoadCases, MalformedCaseFilesNameFileAndKeyAndChangeNothing) {
    const std::string head = R"({"format": "tarvelo-column", "version": 2, "loads": {"L": "300", )";
    std::string hundred = "\"cases\": [";
    for (int i = 0; i < 100; ++i)
        hundred += (i ? ", " : "") + std::string("{\"Fd\": \"1\"}");
    hundred += "]";
    const struct {
        std::string loads, key;
    } cases[] = {
        {R"("cases": [{"Fd": "1", "Mzd": "2"}]})", "loads.cases[0].Mzd: chave desconhecida"},
        {R"("cases": []})", "loads.cases: a lista de combinações está vazia"},
        {R"("cases": {}})", "loads.cases: esperava uma lista"},
        {R"("Fd": "1"})", "loads.Fd: chave desconhecida"},
        {R"("baseSupport": "Fixed"})", "loads.cases: falta a lista"},
        {R"("cases": [{"name": "A"}, {"name": "A"}]})", "loads.cases[1].name: nome repetido"},
        {R"("cases": [{"name": "1234567890123456789012345678901"}]})",
         "loads.cases[0].name: o nome tem mais de 30"},
        {R"("cases": [{"Fd": "1"}], "minimumMoments": "sim"})", "loads.minimumMoments"},
        {hundred + "}", "loads.cases: no máximo 99"},
    };
    for (const auto& c : cases) {
        ColumnData d = Example();
        const ColumnData before = d;
        std::string error;
        EXPECT_FALSE(ParseColumnFile(head + c.loads + "}", "p.json", d, error)) << c.loads;
        EXPECT_EQ(d, before);
        EXPECT_EQ(error.rfind("p.json: " + c.key, 0), 0u) << error;
    }
    // A version 1 file knows nothing of cases.
    ColumnData d;
    std::string error;
    EXPECT_FALSE(ParseColumnFile(
        R"({"format": "tarvelo-column", "version": 1, "loads": {"minimumMoments": true}})", "v1", d,
        error));
    EXPECT_EQ(error, "v1: loads.minimumMoments: chave desconhecida");
}

// A case whose own loads break a rule ends alone, named; a rule of the column ends everything.
TEST(LoadCases, ACaseEndedByItsMessageLeavesTheOthersRunning) {
    ColumnData d = Example();
    d.otherCases[1].Fd = "0";         // case 3: no axial force
    d.otherCases[3].Hxd_t = "1e400";  // case 5: a load out of range
    for (RunKind kind : {RunKind::Verify, RunKind::Design}) {
        RecordingHost host;
        const CasesRun run = RunCases(kind, d, host);
        ASSERT_EQ(run.cases.size(), 5u);
        EXPECT_TRUE(host.boxes.empty());
        for (int i : {0, 1, 3})
            EXPECT_TRUE(run.cases[i].result->completed) << i;
        EXPECT_EQ(run.cases[2].EndingMessage(),
                  "Combinação 3: Forneça a força normal no topo do pilar.");
        EXPECT_EQ(run.cases[4].EndingMessage().rfind("Combinação 5: O valor do campo \"Hxd,t\"", 0),
                  0u);
        EXPECT_FALSE(run.AllCompleted());
        EXPECT_GE(run.governing, 0);
    }
    // A question of the column's checks is asked once; No lets every case run.
    ColumnData creep = Example();
    creep.creepCoefficient = "9";
    RecordingHost asked;
    EXPECT_TRUE(RunCases(RunKind::Verify, creep, asked).AllCompleted());
    ASSERT_EQ(asked.boxes.size(), 1u);
    EXPECT_TRUE(asked.boxes[0].question);
    d.fck = "95";
    RecordingHost host;
    const CasesRun run = RunCases(RunKind::Verify, d, host);
    EXPECT_TRUE(run.columnEnded);
    EXPECT_TRUE(run.cases.empty());
    EXPECT_EQ(host.boxes.size(), 1u);
}

// Ties go to the refined S or area, then to the earlier case.
TEST(LoadCases, GoverningCaseAndLargestMinimumTieToTheEarlierCase) {
    struct Case {
        bool completed;
        int reachedStep;
        double refinedS, area, refinedArea, minimum;
    };
    const std::vector<Case> table = {{true, 70, 1.39, 3.0, 3.1, 4.0},
                                     {false, 10, 0.19, 99.0, 99.0, 9.0},  // ended: never governs
                                     {true, 55, 1.095, 7.0, 7.2, 5.0},
                                     {true, 55, 1.095, 7.0, 7.2, 5.0},
                                     {true, 55, 1.091, 7.0, 7.3, 4.5},
                                     {true, 60, 1.19, 2.0, 2.1, 4.5}};
    std::vector<CaseRun> runs(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        runs[i].result = std::make_unique<AnalysisResult>();
        runs[i].result->completed = table[i].completed;
        runs[i].result->reachedStep = table[i].reachedStep;
        runs[i].result->refinedSafety = table[i].refinedS;
        runs[i].result->requiredSteelArea = table[i].area;
        runs[i].result->refinedRequiredSteelArea = table[i].refinedArea;
        runs[i].result->minimumSteelArea = table[i].minimum;
    }
    EXPECT_EQ(GoverningCase(RunKind::Verify, runs), 4);
    EXPECT_EQ(GoverningCase(RunKind::Design, runs), 4);
    EXPECT_EQ(LargestMinimumCase(runs), 2);
    runs[4].result->refinedSafety = 1.095;
    runs[4].result->refinedRequiredSteelArea = 7.2;
    EXPECT_EQ(GoverningCase(RunKind::Verify, runs), 2);
    EXPECT_EQ(GoverningCase(RunKind::Design, runs), 2);
    runs[0].result->reachedStep = 20;  // the first case governs too
    EXPECT_EQ(GoverningCase(RunKind::Verify, runs), 0);
}

// M1d,min = Fd (1.5 + 0.03 h) kNcm by hand: 20x40 at 500 kN 1050 and 1350, D 30 at 800 kN 1920.
TEST(LoadCases, MinimumMomentCasesOfARectangleAndACircle) {
    ColumnData rect;
    rect.barCount = "4";
    rect.rectHx = "20";
    rect.rectHy = "40";
    rect.bars = {{"4", "4"}, {"16", "4"}, {"4", "36"}, {"16", "36"}};
    ColumnData circle;
    circle.sectionType = SectionType::CircularSolid;
    circle.barCount = "6";
    circle.circleDiameter = "30";
    circle.circleCover = "4";
    const struct {
        const ColumnData* column;
        const char* Fd;
        double mx, my;
    } sections[] = {{&rect, "500", 1050, 1350}, {&circle, "800", 1920, 1920}};
    for (const auto& s : sections) {
        double hx = 0, hy = 0;
        ASSERT_TRUE(MinimumMomentExtents(*s.column, hx, hy));
        const std::vector<LoadCase> cases =
            MinimumMomentCases({"Vento", {s.Fd, "9", "9", "", "", "", "", "9", "9"}}, hx, hy);
        ASSERT_EQ(cases.size(), 8u);
        for (int k = 0; k < 8; ++k) {
            const LoadCase& c = cases[k];
            const double theta = k * M_PI / 4;
            EXPECT_EQ(c.name, "Mín. " + std::to_string(45 * k) + "° — Vento");
            EXPECT_EQ(c.Fd, s.Fd);
            EXPECT_NEAR(ReadNumber(c.Mxd_t), s.mx * std::cos(theta), 1e-9);
            EXPECT_NEAR(ReadNumber(c.Myd_t), s.my * std::sin(theta), 1e-9);
            EXPECT_EQ(c.Mxd_b, c.Mxd_t);
            EXPECT_EQ(c.Myd_b, c.Myd_t);
            EXPECT_EQ(c.Hxd_t + c.Hyd_t + c.pxd + c.pyd, "");
        }
        EXPECT_EQ(cases[1].Mxd_t, s.column == &rect ? "742.462120245875" : "1357.6450198781713");
    }
    ColumnData triangle = rect;  // the extents of a polygon come from all its vertices
    triangle.sectionType = SectionType::Polygonal;
    triangle.vertexCount = "3";
    triangle.vertices = {{"0", "0"}, {"40", "20"}, {"0", "50"}};
    triangle.bars = {{"5", "20"}, {"10", "15"}, {"10", "25"}, {"5", "30"}};
    double hx = 0, hy = 0;
    ASSERT_TRUE(MinimumMomentExtents(triangle, hx, hy));
    EXPECT_EQ(hx, 40);
    EXPECT_EQ(hy, 50);
}

TEST(LoadCases, OneAndTwoThreadsGiveTheSameJson) {
    const ColumnData d = Example();
    std::string json[2];
    for (int threads : {1, 2}) {
        RecordingHost host;
        const CasesRun run = RunCases(RunKind::Verify, d, host, {threads, {}});
        json[threads - 1] = CasesRunJson("c.json", RunKind::Verify, host, run);
    }
    EXPECT_EQ(json[0], json[1]);
    EXPECT_NE(json[0].find("\"governing\":\""), std::string::npos);
}

// The report of several cases lists each case's loads and results, the governing one marked.
TEST(LoadCases, ReportListsTheCasesAndMarksTheGoverningOne) {
    const ColumnData d = Example();
    RecordingHost host;
    const CasesRun run = RunCases(RunKind::Verify, d, host);
    const report::ReportResultTexts results{
        .safety = host.fields[ResultField::SafetyCoefficient],
        .cases = report::ReportCases(RunKind::Verify, run, Cases(d))};
    SectionConstants kept = run.cases[1].result->sectionConstants;
    std::string text;
    for (const auto& line :
         report::BuildReportContent(d, results, kept, report::ReportVariant::Printer).body)
        text += line.PlainText() + "\n";
    EXPECT_EQ(text.find("Força normal de cálculo"), std::string::npos);
    EXPECT_NE(text.find("Combinação 2 — Vento +x:\n  Fd= 1050 kN  Hxd,t= 2.5 kN"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Coeficiente de segurança S= 1.04\n"), std::string::npos);
    EXPECT_NE(text.find("Combinação 2 — Vento +x: S= 1.04  <- crítica\n"
                        "Combinação 3 — Vento -x: S= 1.56\n"),
              std::string::npos)
        << text;
}

#ifdef TARVELO_CLI_PATH
ShellRun Cli(const std::string& arguments) {
    return testing::Shell(testing::Cli(arguments));
}

// --combinations with the example CSV equals the multi-case example; a bad CSV runs nothing.
TEST(LoadCases, CommandLineRunsTheCasesOfACsvFile) {
    const std::string examples = TARVELO_EXAMPLES "/";
    const ShellRun csv = Cli("design --json " + examples + "retangular-esbelto-biaxial.json " +
                             "--combinations " + examples + "combinacoes-retangular.csv");
    EXPECT_EQ(csv.status, 0);
    const auto fromCsv = nlohmann::json::parse(csv.output);
    auto fromFile = nlohmann::json::parse(
        Cli("design --json " + examples + "combinacoes-retangular.json").output);
    fromFile["file"] = fromCsv["file"];
    EXPECT_EQ(fromCsv, fromFile);
    EXPECT_EQ(fromCsv["cases"].size(), 5u);
    EXPECT_EQ(fromCsv["governing"], "Vento +x");
    EXPECT_EQ(fromCsv["requiredSteelArea"], fromCsv["cases"][1]["requiredSteelArea"]);

    const std::string bad = testing::TempFile("bad.csv");
    std::ofstream(bad) << "nome;Fd\nA;12x\n";
    const ShellRun error =
        Cli("verify " + examples + "combinacoes-retangular.json --combinations " + bad);
    EXPECT_EQ(error.status, 2);
    EXPECT_NE(error.output.find(bad + ": linha 2, coluna 2"), std::string::npos) << error.output;
}
#endif

// A case from its name and its leading loads in the order of the loads window.
LoadCase Case(std::string name, std::initializer_list<const char*> loads = {}) {
    LoadCase c{};
    c.name = std::move(name);
    std::size_t i = 0;
    for (const char* load : loads)
        c.*(kLoadCaseKeys[i++].member) = load;
    return c;
}

// Separators, decimal commas, reordered and missing columns, quoting, comments.
TEST(LoadCaseCsv, ReadsWhatSpreadsheetsWrite) {
    const std::pair<const char*, std::vector<LoadCase>> cases[] = {
        {"nome;Fd;Mxd_t\n1;1200,5;-300\n", {Case("1", {"1200.5", "", "", "-300"})}},
        {"\xEF\xBB\xBF# exported\nMxd_b\tFd\tnome\n\n-1,5\t800\tVento +x\n",
         {Case("Vento +x", {"800", "", "", "", "", "-1.5"})}},
        {"Fd,Myd_t\n100,2.5\n200,\n", {Case("1", {"100", "", "", "", "2.5"}), Case("2", {"200"})}},
        {"Fd \t;Mxd_t\r\n1 ;2\t\r\n", {Case("1", {"1", "", "", "2"})}},  // blanks around cells
        {"name;Fd\n\"Sobrecarga; vento\";10\n\"\";20\r\n",
         {Case("Sobrecarga; vento", {"10"}), Case("2", {"20"})}},
        {"nome;Fd;Hxd_t;Hyd_t;Mxd_t;Myd_t;Mxd_b;Myd_b;pxd;pyd\nA;1;2;3;4;5;6;7;8;9\n",
         {Case("A", {"1", "2", "3", "4", "5", "6", "7", "8", "9"})}},
    };
    for (const auto& [text, expected] : cases) {
        std::vector<LoadCase> out;
        std::string error;
        ASSERT_TRUE(ReadLoadCaseCsv(text, "c.csv", out, error)) << text << error;
        EXPECT_EQ(out, expected) << text;
    }
}

// Every kind of bad line names the file, the line and the column, and imports nothing.
TEST(LoadCaseCsv, RefusesBadLinesWholly) {
    std::string hundred = "Fd\n";
    for (int i = 0; i < 100; ++i)
        hundred += "1\n";
    const std::pair<std::string, std::string> cases[] = {
        {"", "c.csv: linha 1: nenhuma linha de cabeçalho"},
        {"nome;Fd;Mz\n", "c.csv: linha 1, coluna 3: coluna desconhecida \"Mz\""},
        {"Fd;Fd\n", "c.csv: linha 1, coluna 2: coluna repetida"},
        {"nome;Fd\n", "c.csv: linha 1: nenhuma combinação"},
        {"nome;Fd\n\nA;1;2\n", "c.csv: linha 3, coluna 3: mais colunas"},
        {"nome;Fd\nA;-10\n", "c.csv: linha 2, coluna 2: valor inválido \"-10\" para Fd"},
        {"nome,Fd,Mxd_t\nA,1,1,5\n", "c.csv: linha 2, coluna 4: mais colunas"},
        {"Fd;Mxd_t\n1;2e3\n", "c.csv: linha 2, coluna 2: valor inválido \"2e3\""},
        {"Fd;Mxd_t\n1;1.2.3\n", "c.csv: linha 2, coluna 2: valor inválido"},
        {"Fd;Mxd_t\n1;123456789\n", "c.csv: linha 2, coluna 2: valor inválido"},
        {"Fd;Mxd_t\n1;-\n", "c.csv: linha 2, coluna 2: valor inválido"},
        {"nome;Fd\nA;1\nA;2\n", "c.csv: linha 3: nome de combinação repetido \"A\""},
        {"nome;Fd\n" + std::string(31, 'x') + ";1\n", "c.csv: linha 2, coluna 1: nome com mais"},
        {hundred, "c.csv: linha 101: no máximo 99 combinações"},
    };
    for (const auto& [text, message] : cases) {
        std::vector<LoadCase> out(1, Case("kept"));
        std::string error;
        EXPECT_FALSE(ReadLoadCaseCsv(text, "c.csv", out, error)) << text;
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
        EXPECT_EQ(out.size(), 1u);
        EXPECT_EQ(out[0].name, "kept");
    }
    // Thirty accented characters are thirty characters, not sixty bytes.
    std::string accented;
    for (int i = 0; i < 30; ++i)
        accented += "\xC3\xA7";
    std::vector<LoadCase> out;
    std::string error;
    EXPECT_TRUE(ReadLoadCaseCsv("nome;Fd\n" + accented + ";1\n", "c.csv", out, error)) << error;
}

}  // namespace
}  // namespace tarvelo
