// Shared helpers of the core tests: files, columns from files, the command line as users run it.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "procedures/column_file.h"

namespace tarvelo::testing {

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A file in the temporary folder that no other test run on the machine uses at the same time.
inline std::string TempFile(const std::string& name) {
    return ::testing::TempDir() + "/tarvelo-" + std::to_string(getpid()) + "-" + name;
}

inline ColumnData LoadColumn(const std::string& path) {
    ColumnData data;
    std::string error;
    EXPECT_TRUE(ReadColumnFile(path, data, error)) << error;
    return data;
}

// A valid 20 x 40 column with four corner bars, pinned-pinned, lightly loaded.
inline ColumnData ValidColumn() {
    ColumnData d;
    d.barCount = "4";
    d.totalSteelArea = "8";
    d.bars = {{"3", "3"}, {"17", "3"}, {"3", "37"}, {"17", "37"}};
    d.Fd = "300";
    return d;
}

struct ShellRun {
    int status = -1;
    std::string output;
};

// Runs a shell command; the error stream joins the output unless `errors` says where it goes.
inline ShellRun Shell(const std::string& command, const char* errors = "2>&1") {
    ShellRun run;
    FILE* pipe = popen((command + " " + errors).c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

#ifdef TARVELO_CLI_PATH
inline std::string Cli(const std::string& arguments) {
    return std::string("\"") + TARVELO_CLI_PATH + "\" " + arguments;
}
#endif

}  // namespace tarvelo::testing
