// The command-line program as a user runs it: exit codes, JSON, the report's text and PDF.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "core/core_test_support.h"
#include "procedures/column_file.h"
#include "report/report_content.h"

#ifdef TARVELO_CLI_PATH

namespace tarvelo {
namespace {

using testing::Cli;
using testing::ReadAll;
using testing::Shell;
using testing::ShellRun;
using testing::TempFile;

const std::string kData = TARVELO_TEST_DATA "/reference/";
const std::string kExample = std::string(TARVELO_EXAMPLES) + "/retangular-esbelto-biaxial.json";

// Status 0 done, 1 ended by a message or a Sim, 2 usage, file or write error; output names it.
TEST(Cli, ExitCodesAndMessages) {
    const std::string fck15 = TempFile("fck15.json");
    std::ofstream(fck15) << R"({"format":"tarvelo-column","version":1,
        "main":{"fck":"15","barCount":"4"},
        "section":{"bars":[["3","3"],["17","3"],["3","37"],["17","37"]]},"loads":{"Fd":"200"}})";
    const struct {
        std::string arguments;
        int status;
        std::string shown;
    } cases[] = {
        {"", 2, ""},
        {"verify", 2, ""},
        {"frobnicate x.json", 2, ""},
        {"verify /nonexistent/column.json", 2, "/nonexistent/column.json"},
        {"verify " + kData + "rect-25x50-pinned-pinned-uniaxial.json", 0,
         "Coeficiente de segurança S= 1.14"},
        {"verify " + fck15, 0, "-> Não"},
        {"verify --stop-on-question " + fck15, 1, "-> Sim"},
        {"report /nonexistent/column.json --txt " + TempFile("x.txt"), 2, "/nonexistent"},
        {"report " + kExample, 2, "Nada a gravar"},
        {"report " + kExample + " --txt /nonexistent-dir/r.txt", 2, "/nonexistent-dir/r.txt"},
    };
    for (const auto& c : cases) {
        const ShellRun run = Shell(Cli(c.arguments));
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.shown), std::string::npos) << c.arguments << "\n" << run.output;
    }
}

TEST(Cli, JsonInTheOrderGivenWithParallelRuns) {
    const ShellRun verify =
        Shell(Cli("verify --json -j 2 " + kData + "rejected-rect-12x40-bmin.json " + kData +
                  "rect-25x50-pinned-pinned-uniaxial.json"),
              "2>/dev/null");
    EXPECT_EQ(verify.status, 1) << "one run was ended by a message";
    std::vector<nlohmann::json> objects;
    std::istringstream lines(verify.output);
    for (std::string line; std::getline(lines, line);)
        objects.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]["status"], "ended");
    EXPECT_EQ(objects[0]["messages"][0],
              "A NBR-6118 não admite pilares com dimensão menor que 14 cm. Revise seu projeto.");
    EXPECT_EQ(objects[1]["status"], "completed");
    EXPECT_EQ(objects[1]["curve"].size(), objects[1]["reachedStep"].get<std::size_t>());
    EXPECT_EQ(objects[1]["curve"][0], nlohmann::json::array({0.0, 0.0}));
}

// Runs of blanks as one blank: the PDF's text comes back with its own spacing.
std::string Squeeze(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\t';
        if (blank && !out.empty() && out.back() == ' ') continue;
        out += blank ? ' ' : c;
    }
    return out;
}

// The text report holds the run's S; the PDF the same sheets plus the chart page.
TEST(Cli, ReportWritesPdfAndTextOfAVerification) {
    if (Shell("pdfinfo -v").status != 0 || Shell("pdftotext -v").status != 0)
        GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) not installed";
    const std::string pdf = TempFile("report-cli.pdf");
    const std::string txt = TempFile("report-cli.txt");
    const ShellRun run =
        Shell(Cli("report \"" + kExample + "\" --pdf \"" + pdf + "\" --txt \"" + txt + "\""));
    if (run.status == 2 && run.output.find("sem Qt") != std::string::npos)
        GTEST_SKIP() << "command line built without Qt";
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string text = ReadAll(txt);
    const std::size_t s = text.find("Coeficiente de segurança S= ");
    ASSERT_NE(s, std::string::npos);
    const std::string sLine =
        text.substr(text.rfind('\n', s) + 1, text.find('\n', s) - text.rfind('\n', s) - 1);

    SectionConstants kept;
    const report::ReportContent content = report::BuildReportContent(
        testing::LoadColumn(kExample), {}, kept, report::ReportVariant::Printer);
    const std::size_t sheets = report::PaginatePrinter(content, true).size();
    const ShellRun info = Shell("pdfinfo \"" + pdf + "\"");
    EXPECT_NE(info.output.find("Pages:           " + std::to_string(sheets) + "\n"),
              std::string::npos)
        << info.output;
    EXPECT_NE(info.output.find("A4"), std::string::npos) << info.output;
    const std::string squeezed =
        Squeeze(Shell("pdftotext -layout -enc UTF-8 \"" + pdf + "\" -").output);
    EXPECT_NE(squeezed.find(Squeeze(sLine)), std::string::npos) << sLine << "\n" << squeezed;
}

// After a design `report --txt` leaves S and the given area blank and gives the refined area and
// the conclusion after the results (after a verification the golden report texts hold them).
TEST(Cli, ReportAfterDesign) {
    const struct {
        std::string file;
        const char* refinedLine;
        const char* conclusion;
    } cases[] = {
        {kData + "rect-25x50-pinned-pinned-uniaxial.json",
         "Armadura calculada refinada (cm2)= 9.04", "Prevalece a armadura calculada."},
        {std::string(TARVELO_EXAMPLES) + "/poligonal-L.json",
         "Armadura calculada refinada (cm2)= 5.59", "Prevalece a armadura mínima."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string txt = TempFile("conclusion.txt");
        const ShellRun run =
            Shell(Cli("report \"" + c.file + "\" --after design --txt \"" + txt + "\""));
        ASSERT_EQ(run.status, 0) << run.output;
        const std::string text = ReadAll(txt);
        EXPECT_NE(text.find("As=  cm2     Coeficiente de segurança S= "), std::string::npos);
        EXPECT_EQ(text.find("Armadura calculada As=  cm2"), std::string::npos);
        EXPECT_EQ(text.find("Armadura mínima As,min=  cm2"), std::string::npos);
        const std::size_t results = text.find("Armadura mínima As,min=");
        const std::size_t conclusion = text.find("\nCONCLUSÃO:\n");
        ASSERT_NE(results, std::string::npos);
        EXPECT_NE(text.find(std::string("\n") + c.refinedLine + "\n"), std::string::npos);
        ASSERT_NE(conclusion, std::string::npos);
        EXPECT_LT(results, conclusion);
        EXPECT_NE(text.find(std::string("\n") + c.conclusion + "\n", conclusion), std::string::npos)
            << text.substr(conclusion);
    }
}

TEST(Cli, ReportWriteFailingHalfWayKeepsThePreviousReport) {
    const std::string txt = TempFile("report-limit.txt");
    const std::string report = Cli("report \"" + kExample + "\" --txt \"" + txt + "\"");
    ASSERT_EQ(Shell(report).status, 0);
    const std::string before = ReadAll(txt);
    // A 512-byte file-size limit stops the write half-way; SIGXFSZ ignored turns it into an error.
    const ShellRun limited = Shell("sh -c 'trap \"\" XFSZ; ulimit -f 1; exec " + report + "'");
    EXPECT_EQ(limited.status, 2) << limited.output;
    EXPECT_NE(limited.output.find(txt), std::string::npos) << limited.output;
    EXPECT_EQ(ReadAll(txt), before);
}

}  // namespace
}  // namespace tarvelo

#endif
