// The command line's report: runs the procedure, then writes the text and the PDF; the PDF is
// checked with poppler's pdfinfo and pdftotext.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "procedures/column_file.h"
#include "report/report_content.h"

namespace tarvelo::report {
namespace {

#ifdef TARVELO_CLI_PATH

struct ShellRun {
    int status = -1;
    std::string output;
};

ShellRun Shell(const std::string& command) {
    ShellRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.output.append(buffer.data(), n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

// A file in the temporary folder that no other test run on the machine uses at the same time.
std::string TempFile(const std::string& name) {
    return testing::TempDir() + "/tarvelo-" + std::to_string(getpid()) + "-" + name;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
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

TEST(ReportCommandLine, WritesPdfAndTextOfAVerification) {
    if (Shell("pdfinfo -v").status != 0 || Shell("pdftotext -v").status != 0) {
        GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) not installed";
    }
    const std::string file = std::string(TARVELO_EXAMPLES) + "/retangular-esbelto-biaxial.json";
    const std::string pdf = TempFile("report-cli.pdf");
    const std::string txt = TempFile("report-cli.txt");
    std::remove(pdf.c_str());
    std::remove(txt.c_str());
    const ShellRun run = Shell(std::string("\"") + TARVELO_CLI_PATH + "\" report \"" + file +
                               "\" --pdf \"" + pdf + "\" --txt \"" + txt + "\"");
    if (run.status == 2 && run.output.find("sem Qt") != std::string::npos) {
        GTEST_SKIP() << "command line built without Qt";
    }
    ASSERT_EQ(run.status, 0) << run.output;

    // The text: the printed sheets, the heading first, the S of the run in the S line.
    ColumnData data;
    std::string error;
    ASSERT_TRUE(ReadColumnFile(file, data, error)) << error;
    const std::string text = ReadAll(txt);
    ASSERT_NE(text.find("RELATÓRIO DE CÁLCULO - TARVELO\n"), std::string::npos);
    ASSERT_NE(text.find("Denominação: " + data.title + "\n"), std::string::npos);
    const std::string sLabel = "Coeficiente de segurança S= ";
    const std::size_t s = text.find(sLabel);
    ASSERT_NE(s, std::string::npos);
    const std::string sLine =
        text.substr(text.rfind('\n', s) + 1, text.find('\n', s) - text.rfind('\n', s) - 1);
    EXPECT_NE(sLine.substr(sLine.find(sLabel) + sLabel.size()), "");

    // The PDF: the same sheets plus the chart page of the verification.
    SectionConstants kept;
    const std::size_t sheets =
        PaginatePrinter(BuildReportContent(data, {}, kept, ReportVariant::Printer), true).size();
    const ShellRun info = Shell("pdfinfo \"" + pdf + "\"");
    ASSERT_EQ(info.status, 0) << info.output;
    EXPECT_NE(info.output.find("Pages:           " + std::to_string(sheets) + "\n"),
              std::string::npos)
        << info.output;
    EXPECT_NE(info.output.find("A4"), std::string::npos) << info.output;
    const ShellRun pdfText = Shell("pdftotext -layout -enc UTF-8 \"" + pdf + "\" -");
    ASSERT_EQ(pdfText.status, 0);
    const std::string squeezed = Squeeze(pdfText.output);
    EXPECT_NE(squeezed.find("RELATÓRIO DE CÁLCULO - TARVELO"), std::string::npos);
    EXPECT_NE(squeezed.find(Squeeze(sLine)), std::string::npos) << sLine << "\n" << squeezed;
}

TEST(ReportCommandLine, AfterDesignHasNoChartPage) {
    if (Shell("pdfinfo -v").status != 0) GTEST_SKIP() << "poppler-utils not installed";
    const std::string file = std::string(TARVELO_EXAMPLES) + "/retangular-esbelto-biaxial.json";
    const std::string pdf = TempFile("report-design.pdf");
    const std::string txt = TempFile("report-design.txt");
    const ShellRun run = Shell(std::string("\"") + TARVELO_CLI_PATH + "\" report \"" + file +
                               "\" --after design --pdf \"" + pdf + "\" --txt \"" + txt + "\"");
    if (run.status == 2 && run.output.find("sem Qt") != std::string::npos) {
        GTEST_SKIP() << "command line built without Qt";
    }
    ASSERT_EQ(run.status, 0) << run.output;
    ColumnData data;
    std::string error;
    ASSERT_TRUE(ReadColumnFile(file, data, error)) << error;
    SectionConstants kept;
    const std::size_t sheets =
        PaginatePrinter(BuildReportContent(data, {}, kept, ReportVariant::Printer), false).size();
    EXPECT_NE(Shell("pdfinfo \"" + pdf + "\"")
                  .output.find("Pages:           " + std::to_string(sheets) + "\n"),
              std::string::npos);
    const std::string text = ReadAll(txt);
    // The design empties the given steel area and writes the two areas.
    EXPECT_NE(text.find("As=  cm2     Coeficiente de segurança S= "), std::string::npos);
    EXPECT_EQ(text.find("Armadura calculada As=  cm2"), std::string::npos);
    EXPECT_EQ(text.find("Armadura mínima As,min=  cm2"), std::string::npos);
}

TEST(ReportCommandLine, UnreadableFileAndNothingToWrite) {
    const std::string dir = testing::TempDir();
    EXPECT_EQ(Shell(std::string("\"") + TARVELO_CLI_PATH + "\" report \"" + dir +
                    "/missing.json\" --txt \"" + dir + "/x.txt\"")
                  .status,
              2);
    const std::string file = std::string(TARVELO_EXAMPLES) + "/retangular-esbelto-biaxial.json";
    EXPECT_EQ(Shell(std::string("\"") + TARVELO_CLI_PATH + "\" report \"" + file + "\"").status, 2);
    // A text file that cannot be created is an error, not a silent success.
    EXPECT_EQ(Shell(std::string("\"") + TARVELO_CLI_PATH + "\" report \"" + file +
                    "\" --txt /nonexistent-dir/r.txt")
                  .status,
              2);
}

TEST(ReportCommandLine, WriteFailingHalfWayKeepsThePreviousReport) {
    const std::string file = std::string(TARVELO_EXAMPLES) + "/retangular-esbelto-biaxial.json";
    const std::string txt = TempFile("report-limit.txt");
    const std::string report =
        std::string("\"") + TARVELO_CLI_PATH + "\" report \"" + file + "\" --txt \"" + txt + "\"";
    ASSERT_EQ(Shell(report).status, 0);
    const std::string before = ReadAll(txt);
    // A 512-byte file-size limit stops the write half-way; SIGXFSZ ignored turns it into an error.
    const ShellRun limited = Shell("sh -c 'trap \"\" XFSZ; ulimit -f 1; exec " + report + "'");
    EXPECT_EQ(limited.status, 2) << limited.output;
    EXPECT_NE(limited.output.find(txt), std::string::npos) << limited.output;
    EXPECT_EQ(ReadAll(txt), before);
}

#endif

}  // namespace
}  // namespace tarvelo::report
