// One design load case ("combinação") of a column: a name and the nine design-load texts of the
// loads window. The height and the supports belong to the column, not to a case.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tarvelo {

inline constexpr std::size_t kMaxLoadCases = 99;
inline constexpr std::size_t kMaxCaseNameLength = 30;  // characters

struct LoadCase {
    std::string name;
    std::string Fd;     // kN, compression positive
    std::string Hxd_t;  // kN
    std::string Hyd_t;  // kN
    std::string Mxd_t;  // kNcm
    std::string Myd_t;  // kNcm
    std::string Mxd_b;  // kNcm
    std::string Myd_b;  // kNcm
    std::string pxd;    // kN/cm
    std::string pyd;    // kN/cm
    bool operator==(const LoadCase&) const = default;
};

// The nine loads of a case in the order of the loads window and of the files' columns, with
// the key that names each in column files and spreadsheets.
struct LoadCaseKey {
    std::string_view key;
    std::string LoadCase::*member;
};
inline constexpr std::array<LoadCaseKey, 9> kLoadCaseKeys{{
    {"Fd", &LoadCase::Fd},
    {"Hxd_t", &LoadCase::Hxd_t},
    {"Hyd_t", &LoadCase::Hyd_t},
    {"Mxd_t", &LoadCase::Mxd_t},
    {"Myd_t", &LoadCase::Myd_t},
    {"Mxd_b", &LoadCase::Mxd_b},
    {"Myd_b", &LoadCase::Myd_b},
    {"pxd", &LoadCase::pxd},
    {"pyd", &LoadCase::pyd},
}};

}  // namespace tarvelo
