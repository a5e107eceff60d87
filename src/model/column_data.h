// The column as the windows hold it: every input field as the text the user typed.
// The windows, the column files and the procedures share this one record; the procedures
// convert and check the texts afresh at every run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/load_case.h"

namespace tarvelo {

enum class SectionType {
    RectangularSolid,
    RectangularHollow,
    CircularSolid,
    CircularHollow,
    Polygonal
};

enum class SupportCondition { Fixed, Pinned, Free };

// One data row of the vertex or bar grid: the texts of columns 1 (x) and 2 (y).
struct GridRow {
    std::string x;
    std::string y;
    bool operator==(const GridRow&) const = default;
};

// The loads window's nine design-load fields are the base: they are the first load case.
struct ColumnData : DesignLoads {
    std::string title;  // "Título do exemplo" of the report

    // Main window: materials, section kind, counts and the steel area.
    std::string fck = "20";  // MPa
    std::string creepCoefficient = "2.5";
    std::string fyk = "500";                                  // MPa
    std::string Es = "200";                                   // GPa
    std::string Gamac = "1.4";                                // partial factor of the concrete
    std::string Gamas = "1.15";                               // partial factor of the steel
    SectionType sectionType = SectionType::RectangularSolid;  // the five section-kind buttons
    std::string vertexCount;                                  // only for polygons
    std::string barCount;
    std::string totalSteelArea;  // cm2, the steel of a verification

    // Section data window, one group per kind, cm.
    std::string rectHx = "20";
    std::string rectHy = "40";
    std::string hollowHx = "60";
    std::string hollowHy = "60";
    std::string hollowBxo;  // opening along x
    std::string hollowByo;  // opening along y
    std::string circleDiameter = "20";
    std::string circleCover;
    std::string hollowCircleDe = "40";
    std::string hollowCircleDi;
    std::string hollowCircleCover;

    // The vertex grid and the bar grid: the data rows 1..n. The grid's row count is
    // size() + 1 (the heading row); a fresh window has the heading row only.
    std::vector<GridRow> vertices;
    std::vector<GridRow> bars;

    // Loads window.
    std::string L = "400";                                    // cm
    SupportCondition baseSupport = SupportCondition::Pinned;  // Fixed or Pinned
    SupportCondition topSupport = SupportCondition::Pinned;   // Fixed, Pinned or Free

    // Load cases ("combinações"). The nine load texts of the base are the first case, named
    // firstCaseName; otherCases holds cases 2..n, so a column with one case is exactly the
    // column every single-case path knows. See procedures/load_cases.h.
    std::string firstCaseName = "1";
    std::vector<LoadCase> otherCases;
    bool minimumMoments = false;  // "Incluir momentos mínimos (NBR 6118)"

    bool operator==(const ColumnData&) const = default;
};

// Names used in files and messages ("RectangularSolid", ..., "Fixed", "Pinned", "Free").
std::string_view SectionTypeName(SectionType type);
std::string_view SupportConditionName(SupportCondition support);
bool ParseSectionType(std::string_view name, SectionType& out);
bool ParseSupportCondition(std::string_view name, SupportCondition& out);

}  // namespace tarvelo
