// The command-line program as a user runs it: exit codes, JSON, order of parallel output.
#include <gtest/gtest.h>
#include <unistd.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#ifdef TARVELO_CLI_PATH

namespace {

struct Output {
    int status = -1;
    std::string text;
};

Output RunCli(const std::string& arguments) {
    Output out;
    const std::string command = std::string(TARVELO_CLI_PATH) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.text.append(buffer.data(), n);
    const int status = pclose(pipe);
    out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

std::vector<nlohmann::json> Lines(const std::string& text) {
    std::vector<nlohmann::json> objects;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        objects.push_back(nlohmann::json::parse(line));
    return objects;
}

const std::string kData = TARVELO_TEST_DATA "/reference/";

TEST(Cli, VerifyPrintsTheSafetyCoefficientInPortuguese) {
    const Output out = RunCli("verify " + kData + "rect-25x50-pinned-pinned-uniaxial.json");
    EXPECT_EQ(out.status, 0);
    EXPECT_NE(out.text.find("Coeficiente de segurança S= 1.14"), std::string::npos) << out.text;
}

TEST(Cli, JsonInTheOrderGivenWithParallelRuns) {
    const Output out = RunCli("verify --json -j 2 " + kData + "rejected-rect-12x40-bmin.json " +
                              kData + "rect-25x50-pinned-pinned-uniaxial.json");
    EXPECT_EQ(out.status, 1) << "one run was ended by a message";
    const auto objects = Lines(out.text);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]["status"], "ended");
    EXPECT_EQ(objects[0]["messages"][0],
              "A NBR-6118 não admite pilares com dimensão menor que 14 cm. Revise seu projeto.");
    EXPECT_EQ(objects[1]["status"], "completed");
    EXPECT_EQ(objects[1]["S"], "1.14");
    EXPECT_EQ(objects[1]["reachedStep"], 57);
    EXPECT_EQ(objects[1]["curve"].size(), 57u);
    EXPECT_EQ(objects[1]["curve"][0], nlohmann::json::array({0.0, 0.0}));
    EXPECT_DOUBLE_EQ(objects[1]["section"]["area"].get<double>(), 1250.0);
}

TEST(Cli, DesignJsonCarriesTheFieldTexts) {
    const Output out = RunCli("design --json " + kData + "rect-25x50-pinned-pinned-uniaxial.json");
    EXPECT_EQ(out.status, 0);
    const auto objects = Lines(out.text);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]["requiredSteelArea"], "8.7");
    EXPECT_EQ(objects[0]["minimumSteelArea"], "5");
    EXPECT_EQ(objects[0]["trials"], 3);
}

TEST(Cli, UsageAndFileErrorsExitWithTwo) {
    EXPECT_EQ(RunCli("").status, 2);
    EXPECT_EQ(RunCli("verify").status, 2);
    EXPECT_EQ(RunCli("frobnicate x.json").status, 2);
    const Output missing = RunCli("verify /nonexistent/column.json");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.text.find("/nonexistent/column.json"), std::string::npos);
}

TEST(Cli, QuestionsAreAnsweredNoUnlessAskedToStop) {
    const std::string path =
        testing::TempDir() + "/tarvelo-" + std::to_string(getpid()) + "-fck15.json";
    FILE* f = fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs(R"({"format":"tarvelo-column","version":1,"main":{"fck":"15","barCount":"4"},
        "section":{"bars":[["3","3"],["17","3"],["3","37"],["17","37"]]},
        "loads":{"Fd":"200"}})",
          f);
    fclose(f);
    const Output goOn = RunCli("verify " + path);
    EXPECT_EQ(goOn.status, 0);
    EXPECT_NE(goOn.text.find("-> Não"), std::string::npos) << goOn.text;
    const Output stop = RunCli("verify --stop-on-question " + path);
    EXPECT_EQ(stop.status, 1);
    EXPECT_NE(stop.text.find("-> Sim"), std::string::npos) << stop.text;
}

}  // namespace

#endif
