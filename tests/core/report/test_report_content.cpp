#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "report/report_content.h"

namespace tarvelo::report {
namespace {

std::vector<std::string> Texts(const std::vector<ReportLine>& lines) {
    std::vector<std::string> out;
    for (const ReportLine& l : lines)
        out.push_back(l.PlainText());
    return out;
}

std::string Pad(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

ColumnData Rectangle4Bars() {
    ColumnData d;
    d.title = "Pilar P1";
    d.barCount = "4";
    d.totalSteelArea = "8";
    d.bars = {{"4", "4"}, {"16", "4"}, {"16", "36"}, {"4", "36"}};
    d.L = "300";
    d.Fd = "800";
    d.Hxd_t = "";
    d.Mxd_t = "1200";
    d.Myd_b = "-500";
    d.pyd = "0.01";
    d.baseSupport = SupportCondition::Fixed;
    d.topSupport = SupportCondition::Free;
    return d;
}

SectionConstants RectangleConstants() {
    SectionConstants c;
    c.area = 800;
    c.inertiaX = 26666.666666666668;
    c.inertiaY = 106666.66666666667;
    c.slendernessX = 103.92304845413264;
    c.slendernessY = 51.96152422706632;
    return c;
}

TEST(ReportContent, RectangleWithFourBarsPreview) {
    SectionConstants kept = RectangleConstants();
    const ReportContent r =
        BuildReportContent(Rectangle4Bars(), {.safety = "1.34", .required = "", .minimum = " "},
                           kept, ReportVariant::Preview);
    EXPECT_EQ(Texts(r.heading),
              (std::vector<std::string>{
                  "RELATÓRIO DE CÁLCULO - TARVELO",
                  "Análise e dimensionamento de pilares esbeltos de concreto armado",
                  "Denominação: Pilar P1", " ", " "}));
    for (const ReportLine& l : r.heading)
        EXPECT_TRUE(l.bold);
    const std::vector<std::string> expected = {
        "Propriedades dos materiais:",
        "Concreto: fck= 20 MPa     Coeficiente de fluência= 2.5",
        "Aço: fyk= 500 MPa     Es= 200 GPa",
        " ",
        "Coeficientes parciais de segurança:",
        "Gamac= 1.4     Gamas= 1.15",
        " ",
        "Seção retangular maciça",
        " ",
        "Dimensões:  hx= 20 cm     hy= 40 cm",
        "Número de barras de aço= 4",
        "Coordenadas das barras de aço:",
        "Barra=  1 " + Pad(19) + "X (cm)= 4" + Pad(16) + "Y (cm)= 4",
        "Barra=  2 " + Pad(19) + "X (cm)= 16" + Pad(15) + "Y (cm)= 4",
        "Barra=  3 " + Pad(19) + "X (cm)= 16" + Pad(15) + "Y (cm)= 36",
        "Barra=  4 " + Pad(19) + "X (cm)= 4" + Pad(16) + "Y (cm)= 36",
        " ",
        "Altura do pilar= 300 cm",
        "Área da seção de concreto=  800  cm2",
        "Momento de inércia segundo a direção x=  26666.66  cm4",
        "Momento de inércia segundo a direção y=  106666.66  cm4",
        "Índice de esbeltez segundo a direção x=  103.92 ",
        "Índice de esbeltez segundo a direção y=  51.96 ",
        " ",
        "Carregamento de cálculo do pilar:",
        " ",
        "Força normal de cálculo: Fd = 800 kN",
        "Forças horizontais no topo : Hxd,t=  kN     Hyd,t=  kN",
        "Momentos fletores iniciais:",
        "No topo: Mxd,t= 1200 kNcm     Myd,t=  kNcm",
        "Na base: Mxd,b=  kNcm     Myd,b= -500 kNcm",
        "Cargas distribuídas: pxd=  kN/cm     pyd= 0.01 kN/cm",
        " ",
        "Condições de contorno:",
        "Na base: engaste perfeito",
        "No topo: livre",
        " ",
        "RESULTADOS:",
        " ",
        "VERIFICAÇÃO:",
        "As= 8 cm2     Coeficiente de segurança S= 1.34",
        " ",
        "DIMENSIONAMENTO:",
        "Armadura calculada As=  cm2",
        "Armadura mínima As,min=   cm2",
    };
    EXPECT_EQ(Texts(r.body), expected);
    for (const ReportLine& l : r.body)
        EXPECT_FALSE(l.bold);
}

TEST(ReportContent, PrinterVariantLabelsAndExtraBlankLines) {
    SectionConstants kept = RectangleConstants();
    ColumnData d = Rectangle4Bars();
    const ReportContent preview = BuildReportContent(d, {}, kept, ReportVariant::Preview);
    const ReportContent printer = BuildReportContent(d, {}, kept, ReportVariant::Printer);
    ASSERT_EQ(printer.body.size(), preview.body.size() + 3);
    EXPECT_EQ(Texts(printer.heading), Texts(preview.heading));
    const std::vector<std::string> p = Texts(printer.body);
    EXPECT_EQ(p[7], " ");  // before the section title
    EXPECT_EQ(p[8], "Seção retangular maciça");
    EXPECT_EQ(p[18], "Altura do pilar= 300 cm");
    EXPECT_EQ(p[19], " ");
    EXPECT_EQ(p[20], "Área da seção de concreto= 800  cm2");
    EXPECT_EQ(p[21], "Momento de inércia segundo a direção x= 26666.66  cm4");
    EXPECT_EQ(p[22], "Momento de inércia segundo a direção y= 106666.66  cm4");
    EXPECT_EQ(p[23], "Índice de esbeltez segundo a direção x= 103.92 ");
    EXPECT_EQ(p[24], "Índice de esbeltez segundo a direção y= 51.96 ");
    EXPECT_EQ(p[35], "Condições de contorno:");
    EXPECT_EQ(p[36], " ");
    EXPECT_EQ(p[37], "Na base: engaste perfeito");
}

TEST(ReportContent, HollowCirclePrintsItsOwnCoverAndNoBars) {
    ColumnData d;
    d.sectionType = SectionType::CircularHollow;
    d.barCount = "10";
    d.bars = {{"1", "2"}};  // a left-over bar table is not the circle's
    d.circleCover = "3";
    d.hollowHx = "99";
    d.hollowCircleDe = "60";
    d.hollowCircleDi = "30";
    d.hollowCircleCover = "4.5";
    SectionConstants kept;
    const std::vector<std::string> b =
        Texts(BuildReportContent(d, {}, kept, ReportVariant::Preview).body);
    const std::vector<std::string> section(b.begin() + 7, b.begin() + 13);
    EXPECT_EQ(section, (std::vector<std::string>{
                           "Seção circular vazada", " ",
                           "Diâmetro: externo= 60 cm     interno= 30 cm     d'= 4.5 cm", " ",
                           "Número de barras de aço= 10", " "}));
    EXPECT_EQ(b[13], "Altura do pilar= 400 cm");

    d.sectionType = SectionType::CircularSolid;
    const std::vector<std::string> solid =
        Texts(BuildReportContent(d, {}, kept, ReportVariant::Preview).body);
    EXPECT_EQ(solid[7], "Seção circular maciça");
    EXPECT_EQ(solid[9], "Diâmetro= 20 cm     d'= 3 cm");
}

TEST(ReportContent, HollowRectangleDimensions) {
    ColumnData d;
    d.sectionType = SectionType::RectangularHollow;
    d.hollowBxo = "40";
    d.hollowByo = "30";
    d.barCount = "1";
    d.bars = {{"5", "5"}};
    SectionConstants kept;
    const std::vector<std::string> b =
        Texts(BuildReportContent(d, {}, kept, ReportVariant::Preview).body);
    EXPECT_EQ(b[7], "Seção retangular vazada");
    EXPECT_EQ(b[9], "Dimensões externas:  hx= 60 cm     hy= 60 cm");
    EXPECT_EQ(b[10], "Dimensões internas:  bxo= 40 cm     byo= 30 cm");
    EXPECT_EQ(b[13], "Barra=  1 " + Pad(19) + "X (cm)= 5" + Pad(16) + "Y (cm)= 5");
}

ColumnData Polygon20Vertices12Bars() {
    ColumnData d;
    d.sectionType = SectionType::Polygonal;
    d.vertexCount = "20";
    d.barCount = "12";
    for (int i = 0; i < 20; ++i)
        d.vertices.push_back({std::to_string(i), std::to_string(2 * i)});
    for (int i = 0; i < 12; ++i)
        d.bars.push_back({std::to_string(i + 1), "3.5"});
    return d;
}

TEST(ReportContent, PolygonWithTwentyVerticesSpansTwoPreviewPages) {
    SectionConstants kept;
    const ReportContent r =
        BuildReportContent(Polygon20Vertices12Bars(), {}, kept, ReportVariant::Preview);
    const std::vector<std::string> b = Texts(r.body);
    EXPECT_EQ(b[7], "Seção poligonal com 20 vértices");
    EXPECT_EQ(b[9], "Coordenadas dos vértices da seção:");
    EXPECT_EQ(b[10], "Vértice=  1 " + Pad(17) + "X (cm)= 0" + Pad(16) + "Y (cm)= 0");
    EXPECT_EQ(b[29], "Vértice=  20 " + Pad(16) + "X (cm)= 19" + Pad(15) + "Y (cm)= 38");
    EXPECT_EQ(b[30], " ");
    EXPECT_EQ(b[31], "Número de barras de aço= 12");
    EXPECT_EQ(b[33], "Barra=  1 " + Pad(19) + "X (cm)= 1" + Pad(16) + "Y (cm)= 3.5");
    EXPECT_EQ(b[44], "Barra=  12 " + Pad(18) + "X (cm)= 12" + Pad(15) + "Y (cm)= 3.5");

    const PreviewPage first = ProducePreviewPage(r, 1);
    const PreviewPage second = ProducePreviewPage(r, 2);
    EXPECT_EQ(first.pageTotal, 3);
    EXPECT_EQ(second.pageTotal, 3);
    // Page 1: two blank lines, the heading, B1 and counted lines 8..38 (body[1..31]).
    ASSERT_EQ(first.lines.size(), 2u + 5u + 1u + 31u);
    EXPECT_EQ(first.lines[2].PlainText(), "RELATÓRIO DE CÁLCULO - TARVELO");
    EXPECT_EQ(first.lines.back().PlainText(), b[31]);
    // Page 2 continues the table without repeating the heading.
    ASSERT_EQ(second.lines.size(), 1u + 38u);
    EXPECT_EQ(second.lines[1].PlainText(), b[32]);
    EXPECT_EQ(second.lines[2].PlainText(), b[33]);
    // The printed sheets: heading plus 49 body lines, then the rest.
    SectionConstants kept2;
    const auto pages = PaginatePrinter(
        BuildReportContent(Polygon20Vertices12Bars(), {}, kept2, ReportVariant::Printer), true);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].lines.size(), 54u);
    EXPECT_EQ(pages[1].number, 2);
    EXPECT_FALSE(pages[1].chart);
    EXPECT_TRUE(pages[2].chart);
    EXPECT_TRUE(pages[2].lines.empty());
}

TEST(ReportContent, TablesNeverReachPastTheGrid) {
    ColumnData d = Polygon20Vertices12Bars();
    d.barCount = "40";  // changed after the grid was filled with 12 rows
    d.vertexCount = "-3";
    SectionConstants kept;
    const std::vector<std::string> b =
        Texts(BuildReportContent(d, {}, kept, ReportVariant::Preview).body);
    int bars = 0, vertices = 0;
    for (const std::string& s : b) {
        bars += s.rfind("Barra=", 0) == 0;
        vertices += s.rfind("Vértice=", 0) == 0;
    }
    EXPECT_EQ(bars, 12);
    EXPECT_EQ(vertices, 0);
    d.barCount = "99999";  // beyond a count's range
    EXPECT_NO_THROW(BuildReportContent(d, {}, kept, ReportVariant::Printer));
}

TEST(ReportContent, SectionPropertiesAreRoundedAndKeptRounded) {
    SectionConstants kept;
    kept.slendernessX = 45.678;
    kept.slendernessY = 0.125;  // 12.5 hundredths: halves go to the even neighbour
    kept.area = 1234.5678;      // beyond 327.66 the hundredths are cut, not rounded
    kept.inertiaX = 213333.3333;
    kept.inertiaY = 1200;
    const ReportContent r = BuildReportContent({}, {}, kept, ReportVariant::Preview);
    EXPECT_EQ(kept.slendernessX, 45.68);
    EXPECT_EQ(kept.slendernessY, 0.12);
    EXPECT_EQ(kept.area, 1234.56);
    EXPECT_EQ(kept.inertiaX, 213333.33);
    EXPECT_EQ(kept.inertiaY, 1200);
    const std::vector<std::string> b = Texts(r.body);
    EXPECT_EQ(b[14], "Área da seção de concreto=  1234.56  cm2");
    EXPECT_EQ(b[15], "Momento de inércia segundo a direção x=  213333.33  cm4");
    EXPECT_EQ(b[16], "Momento de inércia segundo a direção y=  1200  cm4");
    EXPECT_EQ(b[17], "Índice de esbeltez segundo a direção x=  45.68 ");
    EXPECT_EQ(b[18], "Índice de esbeltez segundo a direção y=  0.12 ");
    // A second report rounds the rounded values again and changes nothing.
    const SectionConstants once = kept;
    BuildReportContent({}, {}, kept, ReportVariant::Printer);
    EXPECT_EQ(kept.area, once.area);
    EXPECT_EQ(kept.inertiaX, once.inertiaX);
    EXPECT_EQ(kept.slendernessX, once.slendernessX);
}

TEST(ReportContent, GeneralNumberForm) {
    EXPECT_EQ(FormatReportNumber(12), " 12 ");
    EXPECT_EQ(FormatReportNumber(-1.5), "-1.5 ");
    EXPECT_EQ(FormatReportNumber(-0.0), " 0 ");
    EXPECT_EQ(FormatReportNumber(0.1 + 0.2), " 0.3 ");  // 15 significant digits
    EXPECT_EQ(FormatReportNumber(1e15), " 1E+15 ");
}

TEST(ReportContent, EmptyTitleAndBothResultGroupsAlwaysPresent) {
    ColumnData d;
    d.title.clear();
    d.totalSteelArea.clear();
    SectionConstants kept;
    const ReportContent r = BuildReportContent(d, {}, kept, ReportVariant::Preview);
    EXPECT_EQ(r.heading[2].PlainText(), "Denominação: ");
    const std::vector<std::string> b = Texts(r.body);
    const std::vector<std::string> tail(b.end() - 8, b.end());
    EXPECT_EQ(
        tail,
        (std::vector<std::string>{
            "RESULTADOS:", " ", "VERIFICAÇÃO:", "As=  cm2     Coeficiente de segurança S= ", " ",
            "DIMENSIONAMENTO:", "Armadura calculada As=  cm2", "Armadura mínima As,min=  cm2"}));
}

// "B7": a name and a number, built without the literal + string form that trips g++ 12's
// -Wrestrict.
std::string Numbered(const char* name, int i) {
    std::string text(name);
    text += std::to_string(i);
    return text;
}

ReportContent Synthetic(int bodyLines) {
    ReportContent r;
    for (int i = 0; i < 5; ++i)
        r.heading.push_back({{{0, Numbered("H", i + 1)}}, true});
    for (int i = 0; i < bodyLines; ++i)
        r.body.push_back({{{0, Numbered("B", i + 1)}}});
    return r;
}

TEST(ReportPaging, PreviewCountsThirtyEightLinesToAPage) {
    // B1 is not counted and the heading stands for lines 1 to 7: 24 body lines end at line 30.
    EXPECT_EQ(ProducePreviewPage(Synthetic(24), 1).pageTotal, 1);
    EXPECT_EQ(ProducePreviewPage(Synthetic(32), 1).pageTotal, 1);  // last line 38
    const ReportContent r = Synthetic(33);                         // last line 39
    EXPECT_EQ(ProducePreviewPage(r, 1).pageTotal, 2);
    const PreviewPage two = ProducePreviewPage(r, 2);
    ASSERT_EQ(two.lines.size(), 2u);
    EXPECT_EQ(two.lines[1].PlainText(), "B33");
    EXPECT_TRUE(two.lines[0].bold);
    EXPECT_EQ(ProducePreviewPage(r, 3).lines.size(), 1u);  // beyond the end: the blank only
}

TEST(ReportPaging, PrinterPagesOfFiftyFourLines) {
    const auto pages = PaginatePrinter(Synthetic(50), false);
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_EQ(pages[0].lines.size(), 54u);
    EXPECT_EQ(pages[0].lines[48 + 5].PlainText(), "B49");
    EXPECT_EQ(pages[1].number, 2);
    EXPECT_EQ(pages[1].lines.front().PlainText(), "B50");

    // A report that fills its sheet exactly ends there, with or without the chart page.
    EXPECT_EQ(PaginatePrinter(Synthetic(49), false).size(), 1u);
    const auto withChart = PaginatePrinter(Synthetic(49 + 54), true);
    ASSERT_EQ(withChart.size(), 3u);
    EXPECT_EQ(withChart[1].lines.size(), 54u);
    EXPECT_TRUE(withChart[2].chart);
    EXPECT_EQ(withChart[2].number, 3);
}

TEST(ReportPaging, TextHasPageNumbersAndFormFeeds) {
    const std::string text = RenderReportText(PaginatePrinter(Synthetic(50), true));
    ASSERT_EQ(std::count(text.begin(), text.end(), '\f'), 1);
    EXPECT_EQ(text.substr(0, 41), Pad(39) + "1\n");
    EXPECT_NE(text.find("B49\n\f" + Pad(39) + "2\n\nB50\n"), std::string::npos);
}

}  // namespace
}  // namespace tarvelo::report
