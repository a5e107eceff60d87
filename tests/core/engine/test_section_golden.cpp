// Bit-for-bit guard of the section integration on random strain fields of five sections. For an
// intended change: TARVELO_WRITE_SECTION_GOLDEN=tests/data/section_resultants.golden rewrites it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "engine/section_integration.h"
#include "test_section_reference.h"

namespace tarvelo {
namespace {

constexpr int kFieldsPerSection = 640;

struct Random {
    std::uint64_t state;
    double Uniform(double lo, double hi) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return lo + (hi - lo) * static_cast<double>(state >> 11) * 0x1.0p-53;
    }
    int Index(int count) { return static_cast<int>(Uniform(0, count)) % count; }
};

// Strain fields of every kind the analysis meets, down to the curvature cut-off.
SectionStrain RandomField(Random& random, const testing::TestSection& s,
                          const MaterialParameters& m, int index) {
    double R = 0.0;
    for (const Point& p : s.vertices)
        R = std::fmax(R, std::hypot(p.x, p.y));
    const double angle = random.Uniform(0, 2 * std::numbers::pi);
    const double cx = std::cos(angle), cy = std::sin(angle);
    switch (index % 6) {
        case 0:
        case 1: {  // strains across the section from 1e-5 to 1e-2
            const double k = std::pow(10.0, random.Uniform(-5, -2)) / R;
            return {random.Uniform(-0.004, 0.011), k * cx, k * cy};
        }
        case 2: {  // nearly uniform: curvatures from below the cut-off to the Taylor range
            const double k = std::pow(10.0, random.Uniform(-13, -5));
            return {random.Uniform(-0.0022, 0.0005), k * cx, k * cy};
        }
        case 3:  // uniform
            return {random.Uniform(-0.0025, 0.012), 0.0, 0.0};
        case 4: {  // one axis only
            const double k = std::pow(10.0, random.Uniform(-6, -3.5));
            const double e0 = random.Uniform(-0.003, 0.003);
            return random.Index(2) ? SectionStrain{e0, k * cx, 0.0}
                                   : SectionStrain{e0, 0.0, k * cy};
        }
        default: {  // neutral axis or start of the plateau through a vertex
            const double k = std::pow(10.0, random.Uniform(-5, -3.5)) / R * 10.0;
            const Point& v = s.vertices[random.Index(s.nv())];
            const double level = random.Index(2) ? 0.0 : -m.plateauStrain;
            return {level - (v.x * k * cx + v.y * k * cy), k * cx, k * cy};
        }
    }
}

// One line per field: "F" for a failed section, otherwise N, momentX, momentY as hex floats.
std::vector<std::string> CurrentLines() {
    const MaterialParameters materials[] = {
        testing::MakeMaterial(25), testing::MakeMaterial(40, 1.0), testing::MakeMaterial(60, 2.0),
        testing::MakeMaterial(90, 0.5)};
    SectionIntegrator integrator;  // one integrator throughout, as the analysis reuses it
    Random random{0x2545f4914f6cdd1dull};
    std::vector<std::string> lines;
    for (const testing::NamedSection& g : testing::NamedSections()) {
        const testing::TestSection& s = g.section;
        for (int i = 0; i < kFieldsPerSection; ++i) {
            const MaterialParameters& m = materials[random.Index(4)];
            const SectionStrain e = RandomField(random, s, m, i);
            int failure = -1;
            const SectionResultants r =
                integrator.IntegrateSection(e, s.vertices.data(), s.nv(), s.bars.data(),
                                            static_cast<int>(s.bars.size()), s.area, m, failure);
            char line[96];
            std::snprintf(line, sizeof line, "%a %a %a", r.N, r.momentX, r.momentY);
            lines.push_back(failure != 0 ? "F" : line);
        }
    }
    return lines;
}

TEST(SectionGolden, ResultantsBitIdenticalToTheRecordedOnes) {
    const std::vector<std::string> lines = CurrentLines();
    if (const char* out = std::getenv("TARVELO_WRITE_SECTION_GOLDEN")) {
        std::ofstream file(out);
        for (const std::string& line : lines)
            file << line << '\n';
        ASSERT_TRUE(file.good()) << out;
        GTEST_SKIP() << "golden file written to " << out;
    }
    std::ifstream file(TARVELO_TEST_DATA "/section_resultants.golden");
    ASSERT_TRUE(file.is_open());
    std::vector<std::string> golden;
    for (std::string line; std::getline(file, line);)
        golden.push_back(line);
    ASSERT_EQ(golden.size(), lines.size());

    // Hex floats name every bit: -0 and +0 differ, as do the last units in the last place.
    int differences = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != golden[i] && ++differences <= 10) {
            ADD_FAILURE() << testing::NamedSections()[i / kFieldsPerSection].name << ", field "
                          << i % kFieldsPerSection << ": got " << lines[i] << ", recorded "
                          << golden[i];
        }
    }
    EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace tarvelo
