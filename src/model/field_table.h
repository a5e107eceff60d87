// The input fields of a column, one row each: where the text lives in ColumnData, where it is
// kept in a column file, how the windows caption, limit and filter it, and which control takes
// the focus when its value is refused. Windows, column files, the runs' number reading and the
// fuzzers all walk this one table, so a new field is one new row here plus its widget's place
// on its window.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "model/column_data.h"
#include "model/input_rules.h"

namespace tarvelo {

// What a field's key filter lets through: "." and digits; "-", "." and digits; digits only.
enum class KeyFilterKind { Decimal, SignedDecimal, Digit };

// The window that holds a field.
enum class FieldWindow { Main, Section, Loads };

enum class FieldId {
    // Main window: materials, coefficients, counts and the steel area.
    Fck,
    CreepCoefficient,
    Fyk,
    Es,
    Gamac,
    Gamas,
    VertexCount,
    BarCount,
    TotalSteelArea,
    // Section window: the dimensions of the four parametric kinds.
    RectHx,
    RectHy,
    HollowHx,
    HollowHy,
    HollowBxo,
    HollowByo,
    CircleDiameter,
    CircleCover,
    HollowCircleDe,
    HollowCircleDi,
    HollowCircleCover,
    // Loads window: height and design loads.
    L,
    Fd,
    Hxd_t,
    Hyd_t,
    Mxd_t,
    Myd_t,
    Mxd_b,
    Myd_b,
    pxd,
    pyd,
};
inline constexpr std::size_t kFieldCount = static_cast<std::size_t>(FieldId::pyd) + 1;

struct FieldInfo {
    FieldId id;
    std::string ColumnData::*member;
    FieldWindow window;
    // Column file: the object that holds the key ("main", "section.CircularSolid", "loads").
    std::string_view fileGroup;
    std::string_view fileKey;
    // The field's caption on its window, as a file whose text does not fit names it.
    std::string_view caption;
    // How a run names the field when its value is out of the numeric range (empty for fields
    // whose range is checked by an input rule instead).
    std::string_view rangeLabel;
    int maxLength;  // characters the field accepts
    KeyFilterKind filter;
    FocusTarget focus;        // where the focus goes when the value is refused
    std::string_view widget;  // the widget's object name, e.g. "fckField"
};

// Every field, in the order of the enumeration.
std::span<const FieldInfo> Fields();
const FieldInfo& Field(FieldId id);

inline std::string& FieldText(ColumnData& data, FieldId id) {
    return data.*(Field(id).member);
}
inline const std::string& FieldText(const ColumnData& data, FieldId id) {
    return data.*(Field(id).member);
}

}  // namespace tarvelo
