// Helpers of the core tests: files, columns from files, the command line, material, rectangles.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>

#include "engine/column_model.h"
#include "engine/material.h"
#include "model/section_geometry.h"
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

// Design material of the tests: fck in MPa, fyk 500 MPa, Es 200 GPa, Gamac 1.4, Gamas 1.15.
inline MaterialParameters MakeMaterial(double fckMPa, double creep = 0.0) {
    MaterialParameters m;
    ComputeConcreteParameters(fckMPa, m);
    m.fcd = fckMPa / 10 / 1.4;
    m.fyd = 50.0 / 1.15;
    m.Es = 20000.0;
    CompleteMaterialParameters(creep, m);
    return m;
}

// Rectangle bx by hy centred at the origin, bars given from its corner (-bx/2, -hy/2).
inline SectionGeometry MakeRectangle(double bx, double hy,
                                     std::initializer_list<std::pair<double, double>> bars) {
    SectionGeometry s;
    s.nv = 4;
    const double x0 = bx / 2, y0 = hy / 2;
    s.vertices[0] = {0 - x0, 0 - y0};
    s.vertices[1] = {bx - x0, 0 - y0};
    s.vertices[2] = {bx - x0, hy - y0};
    s.vertices[3] = {0 - x0, hy - y0};
    s.vertices[4] = s.vertices[0];
    for (const auto& [x, y] : bars)
        s.bars[s.nb++] = {x - x0, y - y0, 0.0};
    s.bmin = std::min(bx, hy);
    return s;
}

#ifdef TARVELO_CLI_PATH
inline std::string Cli(const std::string& arguments) {
    return std::string("\"") + TARVELO_CLI_PATH + "\" " + arguments;
}
#endif

}  // namespace tarvelo::testing
