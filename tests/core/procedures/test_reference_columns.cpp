// The reference columns verified and designed end to end against an independent implementation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "procedures/column_file.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::vector<std::string> ReferenceNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(TARVELO_TEST_DATA "/reference")) {
        const std::string file = entry.path().filename().string();
        if (file.ends_with(".json") && !file.ends_with(".expected.json")) {
            names.push_back(file.substr(0, file.size() - 5));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ReferenceColumn : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        const std::string base = std::string(TARVELO_TEST_DATA "/reference/") + GetParam();
        std::string error;
        ASSERT_TRUE(ReadColumnFile(base + ".json", data_, error)) << error;
        std::ifstream in(base + ".expected.json");
        expected_ = json::parse(in);
    }
    ColumnData data_;
    json expected_;
};

void ExpectSection(const json& expected, const AnalysisResult& r) {
    if (expected.is_null()) return;
    ASSERT_TRUE(r.hasSectionConstants);
    const SectionConstants& c = r.sectionConstants;
    EXPECT_NEAR(c.area, expected["area"].get<double>(), 1e-9 * c.area);
    EXPECT_NEAR(c.inertiaX, expected["inertiaX"].get<double>(), 1e-9 * c.inertiaX);
    EXPECT_NEAR(c.inertiaY, expected["inertiaY"].get<double>(), 1e-9 * c.inertiaY);
    EXPECT_NEAR(c.slendernessX, expected["slendernessX"].get<double>(), 1e-9 * c.slendernessX);
    EXPECT_NEAR(c.slendernessY, expected["slendernessY"].get<double>(), 1e-9 * c.slendernessY);
}

TEST_P(ReferenceColumn, VerificationReachesTheSameLoadStep) {
    RecordingHost host;
    auto r = Verify(data_, host);
    const json& e = expected_["verify"];
    EXPECT_EQ(r->completed, e["status"] == "completed");
    EXPECT_EQ(host.Messages(), e["messages"].get<std::vector<std::string>>());
    EXPECT_EQ(host.fields[ResultField::SafetyCoefficient], e["S"].get<std::string>());
    if (!r->completed) return;
    EXPECT_EQ(r->reachedStep, e["reachedStep"].get<int>());
    EXPECT_EQ(r->notConverged != 0, e["notConverged"].get<bool>());
    const auto& last = r->curve.rows[r->reachedStep == 500 ? 500 : r->reachedStep - 1];
    EXPECT_NEAR(last[0], e["curveLastRow"][0].get<double>(), 1e-6 * std::max(1.0, last[0]));
    EXPECT_DOUBLE_EQ(last[1], e["curveLastRow"][1].get<double>());
    ExpectSection(expected_["section"], *r);
}

TEST_P(ReferenceColumn, DesignFindsTheSameSteelArea) {
    RecordingHost host;
    auto r = Design(data_, host);
    const json& e = expected_["design"];
    EXPECT_EQ(r->completed, e["status"] == "completed");
    EXPECT_EQ(host.Messages(), e["messages"].get<std::vector<std::string>>());
    EXPECT_EQ(host.fields[ResultField::RequiredSteel], e["requiredSteelArea"].get<std::string>());
    EXPECT_EQ(host.fields[ResultField::MinimumSteel], e["minimumSteelArea"].get<std::string>());
    EXPECT_EQ(r->trials, e["trials"].get<int>());
    if (r->completed) {
        EXPECT_EQ(host.fields[ResultField::TotalSteelArea], "");
        EXPECT_FALSE(host.enabled[Control::LoadCurve]);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReferenceColumn, ::testing::ValuesIn(ReferenceNames()),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& ch : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace tarvelo
