#include "report/report_cases.h"

#include <algorithm>

#include "procedures/load_cases.h"
#include "report/report_content.h"

namespace tarvelo::report {
namespace {

ReportLine Text(std::string text, bool bold = false) {
    ReportLine line;
    line.segments.push_back({0, std::move(text)});
    line.bold = bold;
    return line;
}

bool StartsWith(const ReportLine& line, std::string_view start) {
    return line.PlainText().rfind(start, 0) == 0;
}

}  // namespace

ReportedRun RunForReport(RunKind kind, const ColumnData& data, ProcedureHost& host) {
    ReportedRun reported;
    if (!RunsByCase(data)) {
        reported.result = kind == RunKind::Design ? Design(data, host) : Verify(data, host);
        return reported;
    }
    CasesRun run = RunCases(kind, data, host);
    reported.cases = ReportCases(kind, run, Cases(data));
    const bool allCompleted = run.AllCompleted();
    reported.result = run.governing >= 0
                          ? std::move(run.cases[static_cast<std::size_t>(run.governing)].result)
                          : std::move(run.columnResult);
    if (!allCompleted) reported.result->completed = false;
    return reported;
}

std::vector<ReportCase> ReportCases(RunKind kind, const CasesRun& run,
                                    const std::vector<LoadCase>& loads) {
    std::vector<ReportCase> cases;
    for (std::size_t i = 0; i < run.cases.size(); ++i) {
        const CaseRun& c = run.cases[i];
        ReportCase r;
        r.label =
            c.Label() + " — " +
            (c.generated ? c.name.substr(c.name.find(" — ") + std::string(" — ").size()) : c.name);
        const auto position = static_cast<std::size_t>(c.position - 1);
        if (position < loads.size()) r.loads = loads[position];
        r.generated = c.generated;
        r.governing = static_cast<int>(i) == run.governing;
        const AnalysisResult& result = *c.result;
        if (!result.completed) {
            r.result = c.host.boxes.empty() ? "cálculo interrompido"
                                            : "cálculo interrompido: " + c.host.boxes.back().text;
        } else if (kind == RunKind::Verify) {
            r.result = "S= " + result.safetyText;
        } else {
            r.result =
                "As= " + result.requiredText + " cm2  As,min= " + result.minimumText + " cm2";
        }
        cases.push_back(std::move(r));
    }
    return cases;
}

void AddLoadCases(const std::vector<ReportCase>& cases, std::vector<ReportLine>& body) {
    if (cases.empty()) return;
    const auto first = std::find_if(body.begin(), body.end(), [](const ReportLine& line) {
        return StartsWith(line, "Força normal de cálculo:");
    });
    const auto last = std::find_if(first, body.end(), [](const ReportLine& line) {
        return StartsWith(line, "Cargas distribuídas:");
    });
    std::vector<ReportLine> loads;
    for (const ReportCase& c : cases) {
        if (c.generated) continue;
        const LoadCase& l = c.loads;
        loads.push_back(Text(c.label + ":"));
        loads.push_back(Text("  Fd= " + l.Fd + " kN  Hxd,t= " + l.Hxd_t + " kN  Hyd,t= " + l.Hyd_t +
                             " kN  pxd= " + l.pxd + " kN/cm  pyd= " + l.pyd + " kN/cm"));
        loads.push_back(Text("  Mxd,t= " + l.Mxd_t + " kNcm  Myd,t= " + l.Myd_t +
                             " kNcm  Mxd,b= " + l.Mxd_b + " kNcm  Myd,b= " + l.Myd_b + " kNcm"));
    }
    if (std::any_of(cases.begin(), cases.end(), [](const ReportCase& c) { return c.generated; })) {
        loads.push_back(
            Text("Momentos mínimos (NBR 6118): cada combinação com as oito do "
                 "envoltório de M1d,min = Fd (1.5 + 0.03 h)"));
    }
    if (first != body.end() && last != body.end()) {
        const auto at = body.erase(first, last + 1);
        body.insert(at, loads.begin(), loads.end());
    }

    body.push_back(Text(""));
    body.push_back(Text("RESULTADOS POR COMBINAÇÃO:"));
    body.push_back(Text(""));
    for (const ReportCase& c : cases) {
        body.push_back(
            Text(c.label + ": " + c.result + (c.governing ? "  <- crítica" : ""), c.governing));
    }
}

}  // namespace tarvelo::report
