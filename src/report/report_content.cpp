#include "report/report_content.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>
#include <string_view>

#include "model/atomic_file.h"
#include "model/number_reading.h"
#include "procedures/procedures.h"

namespace tarvelo::report {
namespace {

constexpr std::string_view kGap = "     ";  // five blanks between two values of a line

ReportLine Line(std::string text, bool bold = false) {
    ReportLine line;
    line.segments.push_back({0, std::move(text)});
    line.bold = bold;
    return line;
}

ReportLine Blank(bool bold = false) {
    return Line(" ", bold);
}

// Number of table lines to print for a count field: the count as the grids are sized with it,
// never more than the rows the grid really has (a count changed after the grid was filled must
// not reach past the table).
int TableLines(const std::string& countText, std::size_t rows) {
    const CountValue count = ReadCount(countText);
    if (count.overflow || count.value <= 0) return 0;
    return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(count.value), rows));
}

// "Vértice=  3 " at column 30 "X (cm)= " x at column 55 "Y (cm)= " y.
void AddCoordinateLines(std::vector<ReportLine>& out, const char* label,
                        const std::vector<GridRow>& rows, int count) {
    for (int i = 0; i < count; ++i) {
        const GridRow& row = rows[static_cast<std::size_t>(i)];
        ReportLine line;
        line.segments.push_back({0, std::string(label) + FormatReportNumber(i + 1)});
        line.segments.push_back({kColumnX, "X (cm)= " + row.x});
        line.segments.push_back({kColumnY, "Y (cm)= " + row.y});
        out.push_back(std::move(line));
    }
}

void AddSectionDescription(std::vector<ReportLine>& out, const ColumnData& d) {
    const std::string gap(kGap);
    const int barLines = TableLines(d.barCount, d.bars.size());
    switch (d.sectionType) {
        case SectionType::RectangularSolid:
            out.push_back(Line("Seção retangular maciça"));
            out.push_back(Blank());
            out.push_back(
                Line("Dimensões:  hx= " + d.rectHx + " cm" + gap + "hy= " + d.rectHy + " cm"));
            out.push_back(Line("Número de barras de aço= " + d.barCount));
            out.push_back(Line("Coordenadas das barras de aço:"));
            AddCoordinateLines(out, "Barra= ", d.bars, barLines);
            out.push_back(Blank());
            break;
        case SectionType::RectangularHollow:
            out.push_back(Line("Seção retangular vazada"));
            out.push_back(Blank());
            out.push_back(Line("Dimensões externas:  hx= " + d.hollowHx + " cm" + gap +
                               "hy= " + d.hollowHy + " cm"));
            out.push_back(Line("Dimensões internas:  bxo= " + d.hollowBxo + " cm" + gap +
                               "byo= " + d.hollowByo + " cm"));
            out.push_back(Line("Número de barras de aço= " + d.barCount));
            out.push_back(Line("Coordenadas das barras de aço:"));
            AddCoordinateLines(out, "Barra= ", d.bars, barLines);
            out.push_back(Blank());
            break;
        case SectionType::CircularSolid:
            out.push_back(Line("Seção circular maciça"));
            out.push_back(Blank());
            out.push_back(Line("Diâmetro= " + d.circleDiameter + " cm" + gap +
                               "d'= " + d.circleCover + " cm"));
            out.push_back(Blank());
            out.push_back(Line("Número de barras de aço= " + d.barCount));
            out.push_back(Blank());
            break;
        case SectionType::CircularHollow:
            out.push_back(Line("Seção circular vazada"));
            out.push_back(Blank());
            out.push_back(Line("Diâmetro: externo= " + d.hollowCircleDe + " cm" + gap +
                               "interno= " + d.hollowCircleDi + " cm" + gap +
                               "d'= " + d.hollowCircleCover + " cm"));
            out.push_back(Blank());
            out.push_back(Line("Número de barras de aço= " + d.barCount));
            out.push_back(Blank());
            break;
        case SectionType::Polygonal:
            out.push_back(Line("Seção poligonal com " + d.vertexCount + " vértices"));
            out.push_back(Blank());
            out.push_back(Line("Coordenadas dos vértices da seção:"));
            AddCoordinateLines(out, "Vértice= ", d.vertices,
                               TableLines(d.vertexCount, d.vertices.size()));
            out.push_back(Blank());
            out.push_back(Line("Número de barras de aço= " + d.barCount));
            out.push_back(Line("Coordenadas das barras de aço:"));
            AddCoordinateLines(out, "Barra= ", d.bars, barLines);
            out.push_back(Blank());
            break;
    }
}

const char* SupportText(SupportCondition s) {
    switch (s) {
        case SupportCondition::Fixed:
            return "engaste perfeito";
        case SupportCondition::Pinned:
            return "apoio simples";
        case SupportCondition::Free:
            return "livre";
    }
    return "";
}

// A refined result after its specified one, with what it is: the refined numbers are those an
// engineer signs, the specified ones keep the resolution of the load steps. Nothing when empty.
void AddRefinedSafety(std::vector<ReportLine>& out, const std::string& text) {
    if (text.empty()) return;
    out.push_back(Line("Coeficiente de segurança refinado S= " + text));
    out.push_back(Line("(fator de carga da ruptura, refinado por bisseção dentro da etapa"));
    out.push_back(Line("de carga e arredondado para baixo)"));
}

void AddRefinedRequired(std::vector<ReportLine>& out, const std::string& text) {
    if (text.empty()) return;
    out.push_back(Line("Armadura calculada refinada (cm2)= " + text));
    out.push_back(Line("(menor armadura com S refinado ≥ 1.000, arredondada para cima)"));
}

}  // namespace

std::string ReportLine::PlainText() const {
    std::string text;
    std::size_t column = 0;  // characters printed so far (UTF-8 sequences count once)
    for (const ReportSegment& s : segments) {
        if (s.column > 0) {
            const auto target = static_cast<std::size_t>(s.column - 1);
            const std::size_t pad = column < target ? target - column : 1;
            text.append(pad, ' ');
            column += pad;
        }
        text += s.text;
        for (const char c : s.text) {
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++column;
        }
    }
    return text;
}

std::string FormatReportNumber(double value) {
    if (value == 0.0) value = 0.0;  // no "-0"
    // Fifteen significant digits as C's "%.15g" gives them, in the classic locale whatever the
    // program's locale is, and with the same digits on every C++ library.
    std::ostringstream digits;
    digits.imbue(std::locale::classic());
    digits << std::setprecision(15) << value;
    std::string text = digits.str();
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (text == "INF" || text == "NAN") text = text == "INF" ? "Infinito" : "NaN";
    return (std::signbit(value) ? "" : " ") + text + " ";
}

void RoundReportedProperties(SectionConstants& kept) {
    kept.area = RoundForDisplay(kept.area);
    kept.inertiaX = RoundForDisplay(kept.inertiaX);
    kept.inertiaY = RoundForDisplay(kept.inertiaY);
    kept.slendernessX = RoundForDisplay(kept.slendernessX);
    kept.slendernessY = RoundForDisplay(kept.slendernessY);
}

ReportContent BuildReportContent(const ColumnData& d, const ReportResultTexts& results,
                                 SectionConstants& kept, ReportVariant variant) {
    const bool printer = variant == ReportVariant::Printer;
    const std::string gap(kGap);
    RoundReportedProperties(kept);

    ReportContent r;
    r.heading.push_back(Line("RELATÓRIO DE CÁLCULO - TARVELO", true));
    r.heading.push_back(Line(kReportSubtitle, true));
    r.heading.push_back(Line("Denominação: " + d.title, true));
    r.heading.push_back(Blank(true));
    r.heading.push_back(Blank(true));

    std::vector<ReportLine>& b = r.body;
    b.push_back(Line("Propriedades dos materiais:"));
    b.push_back(Line("Concreto: fck= " + d.fck + " MPa" + gap +
                     "Coeficiente de fluência= " + d.creepCoefficient));
    b.push_back(Line("Aço: fyk= " + d.fyk + " MPa" + gap + "Es= " + d.Es + " GPa"));
    b.push_back(Blank());
    b.push_back(Line("Coeficientes parciais de segurança:"));
    b.push_back(Line("Gamac= " + d.Gamac + gap + "Gamas= " + d.Gamas));
    b.push_back(Blank());
    if (printer) b.push_back(Blank());
    AddSectionDescription(b, d);
    b.push_back(Line("Altura do pilar= " + d.L + " cm"));
    if (printer) b.push_back(Blank());
    // On the sheet the number's own leading blank separates it from the label.
    const char* eq = printer ? "=" : "= ";
    b.push_back(Line(std::string("Área da seção de concreto") + eq + FormatReportNumber(kept.area) +
                     " cm2"));
    b.push_back(Line(std::string("Momento de inércia segundo a direção x") + eq +
                     FormatReportNumber(kept.inertiaX) + " cm4"));
    b.push_back(Line(std::string("Momento de inércia segundo a direção y") + eq +
                     FormatReportNumber(kept.inertiaY) + " cm4"));
    b.push_back(Line(std::string("Índice de esbeltez segundo a direção x") + eq +
                     FormatReportNumber(kept.slendernessX)));
    b.push_back(Line(std::string("Índice de esbeltez segundo a direção y") + eq +
                     FormatReportNumber(kept.slendernessY)));
    b.push_back(Blank());
    b.push_back(Line("Carregamento de cálculo do pilar:"));
    b.push_back(Blank());
    b.push_back(Line("Força normal de cálculo: Fd = " + d.Fd + " kN"));
    b.push_back(Line("Forças horizontais no topo : Hxd,t= " + d.Hxd_t + " kN" + gap +
                     "Hyd,t= " + d.Hyd_t + " kN"));
    b.push_back(Line("Momentos fletores iniciais:"));
    b.push_back(Line("No topo: Mxd,t= " + d.Mxd_t + " kNcm" + gap + "Myd,t= " + d.Myd_t + " kNcm"));
    b.push_back(Line("Na base: Mxd,b= " + d.Mxd_b + " kNcm" + gap + "Myd,b= " + d.Myd_b + " kNcm"));
    b.push_back(
        Line("Cargas distribuídas: pxd= " + d.pxd + " kN/cm" + gap + "pyd= " + d.pyd + " kN/cm"));
    b.push_back(Blank());
    b.push_back(Line("Condições de contorno:"));
    if (printer) b.push_back(Blank());
    b.push_back(Line(std::string("Na base: ") + SupportText(d.baseSupport)));
    b.push_back(Line(std::string("No topo: ") + SupportText(d.topSupport)));
    b.push_back(Blank());
    b.push_back(Line("RESULTADOS:"));
    b.push_back(Blank());
    b.push_back(Line("VERIFICAÇÃO:"));
    b.push_back(Line("As= " + d.totalSteelArea + " cm2" + gap +
                     "Coeficiente de segurança S= " + results.safety));
    AddRefinedSafety(b, results.refinedSafety);
    b.push_back(Blank());
    b.push_back(Line("DIMENSIONAMENTO:"));
    b.push_back(Line("Armadura calculada As= " + results.required + " cm2"));
    b.push_back(Line("Armadura mínima As,min= " + results.minimum + " cm2"));
    AddRefinedRequired(b, results.refinedRequired);
    b.insert(b.end(), results.conclusion.begin(), results.conclusion.end());
    return r;
}

PreviewPage ProducePreviewPage(const ReportContent& content, int pageToShow) {
    PreviewPage page;
    page.lines.push_back(Blank(true));
    int pageNumber = 1;
    int lineCount = 0;
    if (pageToShow == 1) {
        page.lines.push_back(Blank(true));
        for (const ReportLine& h : content.heading)
            page.lines.push_back(h);
    }
    // The heading block and the first body line take the place of seven counted lines, so
    // every preview page, the first included, ends with a counted line 38p.
    lineCount = 7;
    if (content.body.empty()) {
        page.pageTotal = pageNumber;
        return page;
    }
    if (pageToShow == 1) page.lines.push_back(content.body.front());
    for (std::size_t i = 1; i < content.body.size(); ++i) {
        ++lineCount;
        if (static_cast<double>(lineCount) / kPreviewLinesPerPage > pageNumber) ++pageNumber;
        if (pageNumber == pageToShow) page.lines.push_back(content.body[i]);
    }
    page.pageTotal = pageNumber;
    return page;
}

std::vector<PrinterPage> PaginatePrinter(const ReportContent& content, bool includeChart) {
    std::vector<PrinterPage> pages(1);
    int lineCount = 0;
    // A full page starts a new sheet only when something follows, so a report that fills its
    // last sheet exactly does not end with a sheet holding nothing but its number.
    bool pageFull = false;
    auto startPageIfFull = [&] {
        if (!pageFull) return;
        PrinterPage next;
        next.number = pages.back().number + 1;
        pages.push_back(std::move(next));
        lineCount = 0;
        pageFull = false;
    };
    for (const ReportLine& h : content.heading) {
        pages.back().lines.push_back(h);
        ++lineCount;
    }
    for (const ReportLine& line : content.body) {
        startPageIfFull();
        pages.back().lines.push_back(line);
        ++lineCount;
        if (lineCount == kPrinterLinesPerPage) pageFull = true;
    }
    if (includeChart) {
        pageFull = true;
        startPageIfFull();
        pages.back().chart = true;
    }
    return pages;
}

std::string RenderReportText(const std::vector<PrinterPage>& pages) {
    std::string text;
    bool first = true;
    for (const PrinterPage& page : pages) {
        if (page.chart) continue;
        if (!first) text += '\f';
        first = false;
        ReportLine number;
        number.segments.push_back({40, std::to_string(page.number)});
        text += number.PlainText() + "\n\n";
        for (const ReportLine& line : page.lines)
            text += line.PlainText() + "\n";
    }
    return text;
}

bool WriteReportText(const ColumnData& data, const ReportResultTexts& results,
                     SectionConstants kept, const std::string& path, std::string& error) {
    const ReportContent content = BuildReportContent(data, results, kept, ReportVariant::Printer);
    const std::string text = RenderReportText(PaginatePrinter(content, false));
    return WriteFileAtomically(path, text, error);
}

}  // namespace tarvelo::report
