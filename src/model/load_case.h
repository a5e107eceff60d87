// One design load case ("combinação") of a column: a name and the nine design-load texts of the
// loads window. The height and the supports belong to the column, not to a case.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace tarvelo {

inline constexpr std::size_t kMaxLoadCases = 99;
inline constexpr std::size_t kMaxCaseNameLength = 30;  // characters

// The nine design-load texts of the loads window. The column's own load fields are its first
// case's loads (ColumnData derives from this), so both hold the nine texts under one set of names.
struct DesignLoads {
    std::string Fd;     // kN, compression positive
    std::string Hxd_t;  // kN
    std::string Hyd_t;  // kN
    std::string Mxd_t;  // kNcm
    std::string Myd_t;  // kNcm
    std::string Mxd_b;  // kNcm
    std::string Myd_b;  // kNcm
    std::string pxd;    // kN/cm
    std::string pyd;    // kN/cm
    bool operator==(const DesignLoads&) const = default;
};

struct LoadCase : DesignLoads {
    LoadCase() = default;
    LoadCase(std::string caseName, DesignLoads loads)
        : DesignLoads(std::move(loads)), name(std::move(caseName)) {}
    std::string name;
    bool operator==(const LoadCase&) const = default;
};

// The nine loads of a case in the order of the loads window and of the files' columns, with
// the key that names each in column files and spreadsheets.
struct LoadCaseKey {
    std::string_view key;
    std::string DesignLoads::*member;
};
inline constexpr std::array<LoadCaseKey, 9> kLoadCaseKeys{{
    {"Fd", &DesignLoads::Fd},
    {"Hxd_t", &DesignLoads::Hxd_t},
    {"Hyd_t", &DesignLoads::Hyd_t},
    {"Mxd_t", &DesignLoads::Mxd_t},
    {"Myd_t", &DesignLoads::Myd_t},
    {"Mxd_b", &DesignLoads::Mxd_b},
    {"Myd_b", &DesignLoads::Myd_b},
    {"pxd", &DesignLoads::pxd},
    {"pyd", &DesignLoads::pyd},
}};

}  // namespace tarvelo
