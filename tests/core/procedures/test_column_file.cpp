// Column files: round trips, every kind of malformed or hostile file, on disk and in text.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/core_test_support.h"
#include "model/atomic_file.h"
#include "model/field_table.h"
#include "procedures/column_file.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;

using testing::ReadAll;

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

// A read that fails changes nothing and says which file (and where in it) went wrong.
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
    ColumnData full = d;  // tables at their limit are read
    full.bars.resize(kMaxGridRows, {"1", "2"});
    EXPECT_TRUE(ParseColumnFile(FormatColumnFile(full), "x", back, error)) << error;
}

TEST(ColumnFile, MissingKeysTakeTheWindowDefaultsAndNumbersBecomeTexts) {
    ColumnData d;
    std::string error;
    ASSERT_TRUE(ParseColumnFile(
        R"({"format":"tarvelo-column","version":1,"main":{"barCount":6,"totalSteelArea":12.5},
            "loads":{"Fd":1.0e3,"Mxd_t":-0.1}})",
        "x", d, error))
        << error;
    ColumnData expected;
    expected.barCount = "6";
    expected.totalSteelArea = "12.5";
    expected.Fd = "1000.0";
    expected.Mxd_t = "-0.1";
    EXPECT_EQ(d, expected);
}

TEST(ColumnFile, MalformedAndHostileTextsNameTheKeyOrPlace) {
    const std::string head = R"({"format":"tarvelo-column","version":1,)";
    std::string rows;
    for (int i = 0; i < 300; ++i)
        rows += std::string(i ? "," : "") + R"(["1","2"])";
    const struct {
        std::string text, named;
    } cases[] = {
        {"{\n \"format\": \"tarvelo-column\",\n \"version\": 1,,\n}", "linha 3"},
        {R"({"format":"other","version":1})", "format"},
        {R"({"format":"tarvelo-column","version":3})", "version"},
        {head + R"("main":{"sectionType":"Triangular"}})", "main.sectionType"},
        {head + R"("main":{"fck":true}})", "main.fck"},
        {head + R"("main":{"fkc":"20"}})", "main.fkc"},
        {head + R"("mian":{}})", "arquivo.mian"},
        {head + R"("loads":{"topSupport":"Hinged"}})", "loads.topSupport"},
        {head + R"("loads":{"baseSupport":"Free"}})", "loads.baseSupport"},
        {head + R"("section":{"bars":[["1"]]}})", "section.bars[0]"},
        {head + R"("section":{"Circle":{}}})", "section.Circle"},
        {head + R"("section":{"vertices":[)" + rows + "]}}", "299"},
        {head + R"("main":{"fck":1e400}})", "intervalo"},
        {head + R"("main":{"fck":NaN}})", ""},
        {head + "\"title\":\"\xff\xfe\"}", ""},
        {std::string(200000, '[') + std::string(200000, ']'), "aninhada demais"},
        {std::string(kMaxColumnFileBytes + 1, ' '), ""},
        {"[1, 2]", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_NE(ParseError(c.text).find(c.named), std::string::npos) << c.text.substr(0, 80);
}

// Texts longer than their window's field (accented letters counting once) or of two lines.
TEST(ColumnFile, TextsMustFitTheirFields) {
    const std::string lengths = "233344335666666666668888888888";
    ASSERT_EQ(lengths.size(), Fields().size());
    for (const FieldInfo& field : Fields()) {
        const std::size_t room = lengths[static_cast<std::size_t>(field.id)] - '0';
        ColumnData data;
        data.*field.member = std::string(room - 1, '1') + "\xC3\xA7";  // ends in a "ç"
        EXPECT_EQ(TextThatDoesNotFit(data), "") << field.caption;
        data.*field.member += "1";
        EXPECT_EQ(TextThatDoesNotFit(data), "O valor \"" + data.*field.member + "\" do campo \"" +
                                                std::string(field.caption) + "\" tem mais de " +
                                                std::to_string(room) + " caracteres.");
        data.*field.member = "1\n";
        EXPECT_NE(TextThatDoesNotFit(data).find("tem mais de uma linha"), std::string::npos);
    }
    ColumnData data;
    data.bars.resize(kMaxGridRows);
    EXPECT_EQ(TextThatDoesNotFit(data), "");
    data.bars.emplace_back();
    EXPECT_EQ(TextThatDoesNotFit(data), "As tabelas de coordenadas têm no máximo 299 linhas.");
}

// Files on disk that are no column file are refused naming the file; one at the limit is read.
TEST(ColumnFile, FilesOnDiskThatAreNoColumnFile) {
    const fs::path dir = fs::temp_directory_path() / ("tarvelo-files-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const auto write = [&](const char* name, const std::string& text) {
        std::ofstream((dir / name), std::ios::binary) << text;
        return (dir / name).string();
    };
    const std::string valid = FormatColumnFile(ColumnData{});
    ColumnData column = Sample();
    std::string error;
    EXPECT_TRUE(ReadColumnFile(
        write("limite.json", valid + std::string(kMaxColumnFileBytes - valid.size(), ' ')), column,
        error))
        << error;
    EXPECT_EQ(column, ColumnData{});

    column = Sample();
    for (const std::string& path :
         {write("grande.json", valid + std::string(kMaxColumnFileBytes - valid.size() + 1, ' ')),
          dir.string(), std::string("/dev/zero"), write("vazio.json", ""),
          write("nul.json", std::string("{\"format\"\0:1}", 14)),
          std::string("/nonexistent/p.json")}) {
        EXPECT_FALSE(ReadColumnFile(path, column, error)) << path;
        EXPECT_EQ(column, Sample());
        EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
    }

    // Saving over a folder fails naming the file and leaves the folder alone.
    const fs::path target = dir / "pilar.json";
    fs::create_directories(target / "dentro");
    EXPECT_FALSE(WriteColumnFile(target.string(), column, error));
    EXPECT_NE(error.find(target.string()), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(target / "dentro"));
    fs::remove_all(dir);
}

// The one writer of every file: a failed write keeps the previous file and names it.
TEST(AtomicFile, FailedWritesKeepThePreviousFile) {
    const fs::path dir = fs::temp_directory_path() / ("tarvelo-atomic-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "r.txt").string();
    const std::string before(1000, 'a');
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, before, error)) << error;
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);

    // A child whose file-size limit stops the write of a longer file half-way.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string e;
        const bool written = WriteFileAtomically(path, std::string(100000, 'b'), e);
        _exit(!written && e.find(path) != std::string::npos &&
                      e.find("anterior não foi alterado") != std::string::npos
                  ? 0
                  : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the write should fail with a message naming the file";

    // A folder that does not exist: nothing is created, the message names the file.
    const std::string lost = (dir / "missing" / "r.txt").string();
    EXPECT_FALSE(WriteFileAtomically(lost, "x", error));
    EXPECT_NE(error.find(lost), std::string::npos);

    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
        << "no temporary file is left behind";
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tarvelo
