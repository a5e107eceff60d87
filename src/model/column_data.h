// The column as the windows hold it: every input field as the text the user typed.
// The windows, the column files and the procedures share this one record; the procedures
// convert and check the texts afresh at every run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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

struct ColumnData {
    std::string title;  // "Título do exemplo" of the report

    // Main window (Form17).
    std::string fck = "20";                                   // Text1, MPa
    std::string creepCoefficient = "2.5";                     // Text15
    std::string fyk = "500";                                  // Text2, MPa
    std::string Es = "200";                                   // Text3, GPa
    std::string Gamac = "1.4";                                // Text10
    std::string Gamas = "1.15";                               // Text14
    SectionType sectionType = SectionType::RectangularSolid;  // Option1..Option5
    std::string vertexCount;                                  // Text4, only for polygons
    std::string barCount;                                     // Text5
    std::string totalSteelArea;                               // Text6, cm2

    // Section data window (Form17b), one group per kind, cm.
    std::string rectHx = "20";          // Text1
    std::string rectHy = "40";          // Text2
    std::string hollowHx = "60";        // Text3
    std::string hollowHy = "60";        // Text4
    std::string hollowBxo;              // Text5, opening along x
    std::string hollowByo;              // Text6, opening along y
    std::string circleDiameter = "20";  // Text7
    std::string circleCover;            // Text8
    std::string hollowCircleDe = "40";  // Text9
    std::string hollowCircleDi;         // Text10
    std::string hollowCircleCover;      // Text11

    // Grade1 (vertices) and Grade2 (bars): the data rows 1..n. The grid's row count is
    // size() + 1 (the heading row); a fresh window has the heading row only.
    std::vector<GridRow> vertices;
    std::vector<GridRow> bars;

    // Loads window (Form17d).
    std::string L = "400";                                    // Text1, cm
    std::string Fd;                                           // Text7, kN, compression positive
    std::string Hxd_t;                                        // Text8, kN
    std::string Hyd_t;                                        // Text9, kN
    std::string Mxd_t;                                        // Text10, kNcm
    std::string Myd_t;                                        // Text11, kNcm
    std::string Mxd_b;                                        // Text5, kNcm
    std::string Myd_b;                                        // Text6, kNcm
    std::string pxd;                                          // Text2, kN/cm
    std::string pyd;                                          // Text3, kN/cm
    SupportCondition baseSupport = SupportCondition::Pinned;  // Option1 Fixed / Option2 Pinned
    SupportCondition topSupport = SupportCondition::Pinned;   // Option4 / Option5 / Option6

    bool operator==(const ColumnData&) const = default;
};

// Names used in files and messages ("RectangularSolid", ..., "Fixed", "Pinned", "Free").
std::string_view SectionTypeName(SectionType type);
std::string_view SupportConditionName(SupportCondition support);
bool ParseSectionType(std::string_view name, SectionType& out);
bool ParseSupportCondition(std::string_view name, SupportCondition& out);

}  // namespace tarvelo
