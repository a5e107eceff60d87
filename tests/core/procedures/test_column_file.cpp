// Column files: round trips, every kind of malformed file, and saving that never destroys the
// previous file.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "procedures/column_file.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;

ColumnData Sample() {
    ColumnData d;
    d.title = "Pilar P1 – térreo";
    d.sectionType = SectionType::Polygonal;
    d.vertexCount = "4";
    d.barCount = "4";
    d.totalSteelArea = "12.5";
    d.vertices = {{"0", "0"}, {"30", "0"}, {"30", "40"}, {"0", "40"}};
    d.bars = {{"4", "4"}, {"26", "4"}, {"26", "36"}, {" 4", "36 "}};
    d.Fd = "1200";
    d.Mxd_t = "-350";
    d.topSupport = SupportCondition::Free;
    d.baseSupport = SupportCondition::Fixed;
    d.hollowBxo = "1,5";  // texts are kept as typed, even those that read oddly
    return d;
}

std::string ParseError(const std::string& text) {
    ColumnData d = Sample();
    const ColumnData before = d;
    std::string error;
    EXPECT_FALSE(ParseColumnFile(text, "p.json", d, error)) << text.substr(0, 80);
    EXPECT_EQ(d, before) << "a failed read must change nothing";
    EXPECT_EQ(error.rfind("p.json: ", 0), 0u) << error;
    return error;
}

TEST(ColumnFile, RoundTripKeepsEveryTextAsTyped) {
    const ColumnData d = Sample();
    ColumnData back;
    std::string error;
    ASSERT_TRUE(ParseColumnFile(FormatColumnFile(d), "x", back, error)) << error;
    EXPECT_EQ(back, d);
    EXPECT_EQ(FormatColumnFile(back), FormatColumnFile(d));
    // Each vertex and bar is one line, so two versions of a column compare line by line.
    const std::string text = FormatColumnFile(d);
    EXPECT_NE(text.find("\n   [\"30\", \"40\"],\n   [\"0\", \"40\"]\n  ]\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("\n   [\" 4\", \"36 \"]\n  ],\n"), std::string::npos) << text;
}

TEST(ColumnFile, MissingKeysTakeTheWindowDefaultsAndNumbersBecomeTexts) {
    ColumnData d;
    std::string error;
    ASSERT_TRUE(ParseColumnFile(
        R"({"format":"tarvelo-column","version":1,"main":{"barCount":6,"totalSteelArea":12.5},
            "loads":{"Fd":1.0e3,"Mxd_t":-0.1}})",
        "x", d, error))
        << error;
    EXPECT_EQ(d.barCount, "6");
    EXPECT_EQ(d.totalSteelArea, "12.5");
    EXPECT_EQ(d.Fd, "1000.0");
    EXPECT_EQ(d.Mxd_t, "-0.1");
    EXPECT_EQ(d.fck, "20");
    EXPECT_EQ(d.L, "400");
    EXPECT_EQ(d.rectHy, "40");
    EXPECT_TRUE(d.bars.empty());
}

TEST(ColumnFile, MalformedFilesNameTheKeyOrPlace) {
    const std::string head = R"({"format":"tarvelo-column","version":1,)";
    EXPECT_NE(
        ParseError("{\n \"format\": \"tarvelo-column\",\n \"version\": 1,,\n}").find("linha 3"),
        std::string::npos);
    EXPECT_NE(ParseError(R"({"format":"other","version":1})").find("format"), std::string::npos);
    EXPECT_NE(ParseError(R"({"format":"tarvelo-column","version":2})").find("version"),
              std::string::npos);
    EXPECT_NE(ParseError(head + R"("main":{"sectionType":"Triangular"}})").find("main.sectionType"),
              std::string::npos);
    EXPECT_NE(ParseError(head + R"("main":{"fck":true}})").find("main.fck"), std::string::npos);
    EXPECT_NE(ParseError(head + R"("main":{"fkc":"20"}})").find("main.fkc"), std::string::npos);
    EXPECT_NE(ParseError(head + R"("loads":{"topSupport":"Hinged"}})").find("loads.topSupport"),
              std::string::npos);
    EXPECT_NE(ParseError(head + R"("loads":{"baseSupport":"Free"}})").find("loads.baseSupport"),
              std::string::npos);
    EXPECT_NE(ParseError(head + R"("section":{"bars":[["1"]]}})").find("section.bars[0]"),
              std::string::npos);
    EXPECT_NE(ParseError(head + R"("section":{"Circle":{}}})").find("section.Circle"),
              std::string::npos);
    ParseError("[1, 2]");
    ParseError("");
}

TEST(ColumnFile, HostileFilesAreRefusedCleanly) {
    const std::string head = R"({"format":"tarvelo-column","version":1,)";
    ParseError(std::string(200000, '[') + std::string(200000, ']'));
    std::string rows;
    for (int i = 0; i < 300; ++i)
        rows += std::string(i ? "," : "") + R"(["1","2"])";
    EXPECT_NE(ParseError(head + R"("section":{"vertices":[)" + rows + "]}}").find("299"),
              std::string::npos);
    ParseError(head + "\"title\":\"\xff\xfe\"}");
    EXPECT_NE(ParseError(head + R"("main":{"fck":1e400}})").find("intervalo"), std::string::npos);
    ParseError(head + R"("main":{"fck":NaN}})");
    ParseError(std::string(kMaxColumnFileBytes + 1, ' '));
}

TEST(ColumnFile, ReadingMissingFileNamesIt) {
    ColumnData d;
    std::string error;
    EXPECT_FALSE(ReadColumnFile("/nonexistent/p.json", d, error));
    EXPECT_NE(error.find("/nonexistent/p.json"), std::string::npos);
}

TEST(ColumnFile, FailedSaveKeepsThePreviousFile) {
    const fs::path dir = fs::temp_directory_path() / ("tarvelo-save-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "p.json").string();
    std::string error;
    ASSERT_TRUE(WriteColumnFile(path, Sample(), error)) << error;
    const std::string before = FormatColumnFile(Sample());

    // A child process whose file-size limit makes the write fail half-way.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
        ColumnData other = Sample();
        other.title = "outro";
        std::string e;
        _exit(WriteColumnFile(path, other, e) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write should have failed";

    std::ifstream in(path);
    const std::string after((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(after, before);
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
        ++files;
    EXPECT_EQ(files, 1) << "no temporary file is left behind";
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tarvelo
