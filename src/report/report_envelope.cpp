#include "report/report_envelope.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace tarvelo::report {
namespace {

// Character columns of the table.
constexpr int kCaseColumn = 0;  // the line's start
constexpr int kAxialColumn = 16;
constexpr int kMomentColumn = 26;
constexpr int kResistingColumn = 39;
constexpr int kUtilisationColumn = 51;
constexpr int kMinimumColumn = 58;

std::string Fixed(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

ReportLine Row(const std::string& name, const std::string& axial, const std::string& moment,
               const std::string& resisting, const std::string& eta, const std::string& minimum,
               bool bold = false) {
    return {{{kCaseColumn, name},
             {kAxialColumn, axial},
             {kMomentColumn, moment},
             {kResistingColumn, resisting},
             {kUtilisationColumn, eta},
             {kMinimumColumn, minimum}},
            bold};
}

// Characters of a UTF-8 text.
std::size_t Characters(const std::string& text) {
    std::size_t n = 0;
    for (const char c : text)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// A case's row; a name too long for the case column ("Combinação 12 — Vento +x") stands on a
// line of its own above the row.
void AddCaseRow(std::vector<ReportLine>& lines, const std::string& name, const std::string& axial,
                const std::string& moment, const std::string& resisting, const std::string& eta,
                const std::string& minimum) {
    const bool fits = Characters(name) < static_cast<std::size_t>(kAxialColumn - 1);
    if (!fits) lines.push_back({{{kCaseColumn, name}}, false});
    lines.push_back(Row(fits ? name : "", axial, moment, resisting, eta, minimum));
}

}  // namespace

std::vector<ReportLine> BuildEnvelopeLines(const EnvelopeRun& run) {
    std::vector<ReportLine> lines;
    lines.push_back({{{0, "Envoltória resistente:"}}, true});
    lines.push_back({{{0, "Resistência de curta duração (coeficiente de fluência = 0)."}}, false});
    lines.push_back(
        {{{0, "Mínimo: a elipse dos momentos mínimos de 1ª ordem dentro da envoltória."}}, false});
    lines.push_back({});
    lines.push_back(
        Row("Combinação", "Nd (kN)", "Md,tot (kNcm)", "M_Rd (kNcm)", "η", "Mínimo", true));
    for (const EnvelopeCaseResult& c : run.cases) {
        const std::string minimum = c.minimum.inside ? "atendida" : "não atendida";
        if (!c.designLoadReached) {
            AddCaseRow(lines, c.name, Fixed(c.Nd, 1), kFailsBeforeDesignLoad, "", "", minimum);
            continue;
        }
        const double Md = std::hypot(c.criticalForces.Mx, c.criticalForces.My);
        AddCaseRow(lines, c.name, Fixed(c.Nd, 1), Fixed(Md, 1),
                   c.resistingMoment ? Fixed(*c.resistingMoment, 1) : "-",
                   c.utilisation ? Fixed(*c.utilisation, 3) : "> 1", minimum);
    }
    return lines;
}

std::string EnvelopeText(const EnvelopeRun& run) {
    std::string text = "\n";
    for (const ReportLine& line : BuildEnvelopeLines(run))
        text += line.PlainText() + "\n";
    return text;
}

}  // namespace tarvelo::report
