// Hostile files on disk: too large, not a regular file, not readable as a column; and saving
// over something that cannot be replaced. Each gives a clear error naming the file and leaves
// the column (the windows' texts) and the previous file as they were. Hostile contents (deep
// nesting, bytes that are not UTF-8) are cases of tests/core/procedures/test_column_file.cpp.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "procedures/column_file.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;

class HostileFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tarvelo-hostile-" + std::to_string(getpid()));
        fs::create_directories(dir_);
        column_.title = "nas janelas";
        column_.Fd = "1200";
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& text) const {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    // Reading fails with a message naming the file, and the column is untouched.
    void ExpectRefused(const std::string& path) {
        const ColumnData before = column_;
        std::string error;
        EXPECT_FALSE(ReadColumnFile(path, column_, error)) << path;
        EXPECT_EQ(column_, before);
        EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
    }

    fs::path dir_;
    ColumnData column_;
};

TEST_F(HostileFiles, SizeLimitIsCheckedOnTheFileItself) {
    const std::string valid = FormatColumnFile(ColumnData{});
    // Padded with blanks up to the limit: still a column file.
    const std::string atLimit =
        Write("limite.json", valid + std::string(kMaxColumnFileBytes - valid.size(), ' '));
    ColumnData read;
    std::string error;
    EXPECT_TRUE(ReadColumnFile(atLimit, read, error)) << error;
    EXPECT_EQ(read, ColumnData{});

    const std::string tooLarge =
        Write("grande.json", valid + std::string(kMaxColumnFileBytes - valid.size() + 1, ' '));
    ExpectRefused(tooLarge);
}

TEST_F(HostileFiles, WhatIsNotAColumnFileIsRefused) {
    ExpectRefused(dir_.string());  // a folder
    ExpectRefused("/dev/zero");    // endless: must not be read until memory runs out
    ExpectRefused(Write("vazio.json", ""));
    ExpectRefused(Write("nul.json", std::string("{\"format\"\0:1}", 14)));
}

TEST_F(HostileFiles, SavingOverAFolderFailsAndLeavesNoTemporaryFile) {
    const fs::path target = dir_ / "pilar.json";
    fs::create_directories(target / "dentro");
    std::string error;
    EXPECT_FALSE(WriteColumnFile(target.string(), column_, error));
    EXPECT_NE(error.find(target.string()), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(target / "dentro"));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_))
        ++entries;
    EXPECT_EQ(entries, 1) << "only the folder that was there";

    EXPECT_FALSE(WriteColumnFile((dir_ / "falta" / "p.json").string(), column_, error));
    EXPECT_FALSE(fs::exists(dir_ / "falta"));
}

}  // namespace
}  // namespace tarvelo
