// The calculation report as data: the heading and body lines with their texts, weights and
// tabulation, built from the column's field texts, the result field texts and the section
// properties kept by the last run; and the two ways of cutting the lines into pages (the preview
// area and the printed sheet). Every output (preview, printer, PDF, text) renders these lines.
#pragma once

#include <string>
#include <vector>

#include "model/column_data.h"
#include "model/section_geometry.h"

namespace tarvelo::report {

inline constexpr int kPreviewLinesPerPage = 38;
inline constexpr int kPrinterLinesPerPage = 54;
// Character columns where the coordinates of a vertex or bar line start.
inline constexpr int kColumnX = 30;
inline constexpr int kColumnY = 55;

inline constexpr const char* kReportSubtitle =
    "Análise e dimensionamento de pilares esbeltos de concreto armado";

// A piece of a line. column > 0: printing continues at that character column (1-based), like a
// typewriter tab; column 0: right after the previous piece.
struct ReportSegment {
    int column = 0;
    std::string text;
    bool operator==(const ReportSegment&) const = default;
};

struct ReportLine {
    std::vector<ReportSegment> segments;
    bool bold = false;

    // The line as plain characters: a tab pads with blanks up to its column, or puts a single
    // blank when the text before it already reaches past the column.
    std::string PlainText() const;
    bool operator==(const ReportLine&) const = default;
};

// Preview area and printer differ in the labels of the section properties and in three blank
// lines that only the printed sheet has.
enum class ReportVariant { Preview, Printer };

// The texts of the main window's result fields when the report is produced.
struct ReportResultTexts {
    std::string safety;    // "Coeficiente de segurança S="
    std::string required;  // "Armadura calculada (cm2)="
    std::string minimum;   // "Armadura mínima (cm2)="
    // The refined results ("S refinado =", "Armadura refinada (cm2) ="); each prints its line
    // only when it is not empty.
    std::string refinedSafety;
    std::string refinedRequired;
    // The last run's conclusion (BuildConclusion), printed after the results.
    std::vector<ReportLine> conclusion;
};

struct ReportContent {
    std::vector<ReportLine> heading;  // title, subtitle, "Denominação:", two blank lines
    std::vector<ReportLine> body;     // from "Propriedades dos materiais:" to the conclusion
};

// A computed number as the report prints it: shortest form with up to 15 significant digits,
// "." as decimal point, one leading blank unless negative, one trailing blank.
std::string FormatReportNumber(double value);

// Rounds area, inertias and slenderness to two decimals for printing (halves to even below 32766
// hundredths, cut down beyond). The caller's values are changed: the report keeps them rounded.
void RoundReportedProperties(SectionConstants& kept);

// Builds the report. `kept` are the section properties of the last run; they are rounded in place
// first.
ReportContent BuildReportContent(const ColumnData& data, const ReportResultTexts& results,
                                 SectionConstants& kept, ReportVariant variant);

// One page of the preview area, as the preview run draws it: a blank line, on page 1 a further
// blank line, the heading and the first body line, then the counted body lines of the page.
struct PreviewPage {
    std::vector<ReportLine> lines;
    int pageTotal = 0;  // pages found while running through the whole report
};
// `content` must be the preview variant. A page beyond the last one gives no body lines.
PreviewPage ProducePreviewPage(const ReportContent& content, int pageToShow);

// One printed sheet: its number (printed at the top) and its lines from the first line position
// down. A chart page holds no lines: the load-deflection chart goes below the page number.
struct PrinterPage {
    int number = 1;
    std::vector<ReportLine> lines;
    bool chart = false;
};
// `content` must be the printer variant. Page 1 holds the heading and 49 body lines, every
// further page 54 lines; with includeChart the chart follows on a page of its own.
std::vector<PrinterPage> PaginatePrinter(const ReportContent& content, bool includeChart);

// The printed sheets as text: each page starts with its number, pages are separated by a form
// feed; chart pages are left out.
std::string RenderReportText(const std::vector<PrinterPage>& pages);

// Builds the printer report and writes it as UTF-8 text. False with a message on a write error.
bool WriteReportText(const ColumnData& data, const ReportResultTexts& results,
                     SectionConstants kept, const std::string& path, std::string& error);

}  // namespace tarvelo::report
