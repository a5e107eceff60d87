// The calls the browser page makes besides the command line's: the field table it builds its
// form from, a run that reports its boxes, focus and result fields, the section for the live
// drawing, the report's printed sheets (with the envelope's table when asked), the load cases of
// a spreadsheet file, every case's load-deflection curve and the envelope with its design points
// and its N–M curve. Like the rest of this layer it only converts; the
// rules, the messages, the geometry and the report lines are the core's.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <nlohmann/json.hpp>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "model/field_table.h"
#include "model/load_case.h"
#include "procedures/column_file.h"
#include "procedures/envelope_run.h"
#include "procedures/load_case_csv.h"
#include "procedures/load_cases.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "procedures/run_json.h"
#include "report/report_cases.h"
#include "report/report_content.h"
#include "report/report_envelope.h"
#include "report/report_snapshot.h"

namespace tarvelo::wasm {
namespace {

using emscripten::val;
using nlohmann::json;

std::string Dump(const json& j) {
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string_view FilterName(KeyFilterKind kind) {
    switch (kind) {
        case KeyFilterKind::Decimal:
            return "decimal";
        case KeyFilterKind::SignedDecimal:
            return "signedDecimal";
        case KeyFilterKind::Digit:
            return "digit";
    }
    return "decimal";
}

// The page's name for the control that takes the focus: a main-window field by its widget
// name, the loads window's fields by theirs, and the two buttons that open the section and
// loads windows by the part of the page that stands for them.
std::string FocusName(FocusTarget target) {
    switch (target) {
        case FocusTarget::None:
            return "";
        case FocusTarget::SectionData:
            return "sectionData";
        case FocusTarget::Loads:
            return "loads";
        case FocusTarget::LoadsHeight:
            return std::string(Field(FieldId::L).widget);
        case FocusTarget::LoadsAxialForce:
            return std::string(Field(FieldId::Fd).widget);
        default:
            break;
    }
    for (const FieldInfo& field : Fields()) {
        if (field.window == FieldWindow::Main && field.focus == target) {
            return std::string(field.widget);
        }
    }
    return "";
}

// Questions take the page's answers in order; one beyond them is answered Yes, which ends the
// run, so the page can ask the user and run again with the answer.
class AnsweringHost : public RecordingHost {
  public:
    AnsweringHost(std::vector<bool> answers, val progress)
        : answers_(std::move(answers)), progress_(std::move(progress)) {}

    bool AskYesNo(std::string_view title, std::string_view text) override {
        answerYes = asked_ < answers_.size() ? answers_[asked_] : true;
        ++asked_;
        return RecordingHost::AskYesNo(title, text);
    }
    void ProgressLine(std::string_view line) override {
        RecordingHost::ProgressLine(line);
        if (!progress_.isUndefined() && !progress_.isNull()) progress_(std::string(line));
    }

  private:
    std::vector<bool> answers_;
    std::size_t asked_ = 0;
    val progress_;
};

bool IsCaseLoad(std::string_view group, std::string_view key) {
    return group == "loads" && std::any_of(kLoadCaseKeys.begin(), kLoadCaseKeys.end(),
                                           [&](const LoadCaseKey& k) { return k.key == key; });
}

// [{widget, group, key, caption, maxLength, filter, perCase}] for every input field; perCase
// marks the nine loads that each load case holds.
std::string FieldTable() {
    json rows = json::array();
    for (const FieldInfo& f : Fields()) {
        rows.push_back({{"widget", f.widget},
                        {"group", f.fileGroup},
                        {"key", f.fileKey},
                        {"caption", f.caption},
                        {"maxLength", f.maxLength},
                        {"filter", FilterName(f.filter)},
                        {"perCase", IsCaseLoad(f.fileGroup, f.fileKey)}});
    }
    return Dump(rows);
}

json CaseJson(const LoadCase& c) {
    json entry = {{"name", c.name}};
    for (const LoadCaseKey& key : kLoadCaseKeys)
        entry[std::string(key.key)] = c.*(key.member);
    return entry;
}

// "Importar…": {cases: [{name, Fd, …}]} from a CSV or text file, or {error} naming its line.
std::string PageReadLoadCases(const std::string& text, const std::string& name) {
    std::vector<LoadCase> cases;
    std::string error;
    if (!ReadLoadCaseCsv(text, name, cases, error)) return Dump({{"error", error}});
    json rows = json::array();
    for (const LoadCase& c : cases)
        rows.push_back(CaseJson(c));
    return Dump({{"cases", rows}});
}

// {text} with the column file's bytes as the desktop writes them, or {error} with its message.
std::string PageReadColumnFile(const std::string& text, const std::string& name) {
    ColumnData data;
    std::string error;
    if (!ParseColumnFile(text, name, data, error)) return Dump({{"error", error}});
    if (const std::string problem = TextThatDoesNotFit(data); !problem.empty()) {
        return Dump({{"error", problem}});
    }
    return Dump({{"text", FormatColumnFile(data)}});
}

// The load-deflection curves of a verification of several cases, as the chart's case selector
// offers them: every completed case, named "3 — Vento +x", with the rows its analysis wrote
// (at most the chart's 500), and the index of the governing case among them (-1: none).
json CaseCurves(const CasesRun& run, int& governing) {
    constexpr int kDrawnSteps = 500;
    json curves = json::array();
    governing = -1;
    for (std::size_t i = 0; i < run.cases.size(); ++i) {
        const CaseRun& c = run.cases[i];
        if (!c.result->completed) continue;
        if (static_cast<int>(i) == run.governing) governing = static_cast<int>(curves.size());
        json rows = json::array();
        for (int r = 0; r < std::min(c.result->reachedStep, kDrawnSteps); ++r)
            rows.push_back({c.result->curve.rows[r][0], c.result->curve.rows[r][1]});
        curves.push_back({{"name", std::to_string(c.position) + " — " + c.name},
                          {"reachedStep", c.result->reachedStep},
                          {"curve", rows}});
    }
    return curves;
}

// VERIFICAR or DIMENSIONAR: {json, boxes, focus, governingLabel, caseCurves, governingCurve,
// fields}. `json` is the command line's text; a verification of several cases adds every
// completed case's curve (CaseCurves), which the command line's text does not carry.
std::string PageRun(const std::string& kind, const std::string& text, const std::string& answers,
                    val progress) {
    const RunKind run = kind == "design" ? RunKind::Design : RunKind::Verify;
    ColumnData data;
    std::string error;
    if (!ParseColumnFile(text, "", data, error)) {
        return Dump({{"json", FileErrorJson("", run, error)},
                     {"boxes", json::array()},
                     {"focus", ""},
                     {"governingLabel", ""},
                     {"caseCurves", json::array()},
                     {"governingCurve", -1},
                     {"fields", json::object()}});
    }
    AnsweringHost host(json::parse(answers).get<std::vector<bool>>(), std::move(progress));
    // A run of several cases also names its governing case as the desktop's label does.
    std::string runJson;
    std::string governingLabel;
    json caseCurves = json::array();
    int governingCurve = -1;
    if (RunsByCase(data)) {
        const CasesRun cases = RunCases(run, data, host);
        runJson = CasesRunJson("", run, host, cases);
        governingLabel = cases.GoverningLabel();
        if (run == RunKind::Verify && cases.governing >= 0) {
            caseCurves = CaseCurves(cases, governingCurve);
        }
    } else {
        runJson = RunResultJson("", run, host, *RunProcedure(run, data, host));
    }
    json boxes = json::array();
    for (const RecordingHost::Box& b : host.boxes) {
        boxes.push_back(
            {{"title", b.title}, {"text", b.text}, {"question", b.question}, {"answer", b.answer}});
    }
    json fields = json::object();
    const std::pair<ResultField, const char*> names[] = {
        {ResultField::TotalSteelArea, "totalSteelArea"},
        {ResultField::SafetyCoefficient, "S"},
        {ResultField::RequiredSteel, "required"},
        {ResultField::MinimumSteel, "minimum"}};
    for (const auto& [field, name] : names) {
        if (const auto it = host.fields.find(field); it != host.fields.end()) {
            fields[name] = it->second;
        }
    }
    return Dump({{"json", runJson},
                 {"boxes", boxes},
                 {"focus", FocusName(host.focus)},
                 {"governingLabel", governingLabel},
                 {"caseCurves", caseCurves},
                 {"governingCurve", governingCurve},
                 {"fields", fields}});
}

// "Ver seção" for the live drawing: {outline, bars, messages, focus}. Questions are answered
// No, so the drawing shows what a run would analyse.
std::string PageSection(const std::string& text) {
    ColumnData data;
    std::string error;
    json answer = {{"outline", json::array()}, {"bars", json::array()}};
    if (!ParseColumnFile(text, "", data, error)) {
        answer["messages"] = {error};
        answer["focus"] = "";
        return Dump(answer);
    }
    RecordingHost host;
    auto section = std::make_unique<SectionGeometry>();
    if (BuildSectionForDrawing(data, host, *section)) {
        for (int i = 0; i <= section->nv; ++i)
            answer["outline"].push_back({section->vertices[i].x, section->vertices[i].y});
        for (int j = 0; j < section->nb; ++j)
            answer["bars"].push_back({section->bars[j].x, section->bars[j].y});
    }
    answer["messages"] = host.Messages();
    answer["focus"] = FocusName(host.focus);
    return Dump(answer);
}

// The envelope window's rays and N–M points.
constexpr int kContourRays = 72;
constexpr int kCurvePoints = 81;

json CurveJson(const std::vector<CurvePoint>& curve) {
    json rows = json::array();
    for (const CurvePoint& p : curve)
        rows.push_back({p.N, p.moment ? json(*p.moment) : json(nullptr)});
    return rows;
}

// A case's N–M curve as the envelope window draws it: M_Rd from Nt to N0 along the direction of
// the total moment at the critical section (of the first-order top moment when the column fails
// before the design loads) and along the opposite direction, which gives the curve's other half;
// {angle (degrees), points: [[N, M]], opposite: [[N, M]], point: [Md, Nd] or null}.
json InteractionJson(const ResistanceEnvelope& envelope, const EnvelopeCaseResult& c) {
    const SectionForces& d = c.designLoadReached ? c.criticalForces : c.topMoment;
    const double angle =
        d.Mx == 0 && d.My == 0 ? 0.0 : std::atan2(d.My, d.Mx) * 180 / std::numbers::pi;
    return {{"angle", angle},
            {"points", CurveJson(envelope.InteractionCurve(angle, kCurvePoints, 1))},
            {"opposite", CurveJson(envelope.InteractionCurve(angle + 180, kCurvePoints, 1))},
            {"point",
             c.designLoadReached ? json::array({std::hypot(d.Mx, d.My), d.N}) : json(nullptr)}};
}

// The drawing of case `shown` (0-based) of an envelope run: {json, cases: [{top, base,
// ellipse}], curve, shown}. `json` is the command line's envelope object at the case's Fd with that
// case alone; `cases` adds its first-order end moments [Mx, My] and the semi-axes of its
// minimum-moment ellipse, kNcm; `curve` is its N–M curve (InteractionJson), null when the run
// ended.
json EnvelopeDrawingJson(const RecordingHost& host, EnvelopeRun& run, int shown) {
    const bool drawn = run.completed && !run.cases.empty();
    if (drawn) {
        shown = std::clamp(shown, 0, static_cast<int>(run.cases.size()) - 1);
        run.cases = {run.cases[static_cast<std::size_t>(shown)]};
        run.governing = 0;
    }
    const double N = EnvelopeAxialForce(run);
    std::vector<ContourRay> contour;
    if (drawn) contour = run.envelope->Contour(N, kContourRays, 1);
    json cases = json::array();
    for (const EnvelopeCaseResult& c : run.cases) {
        cases.push_back({{"top", {c.topMoment.Mx, c.topMoment.My}},
                         {"base", {c.baseMoment.Mx, c.baseMoment.My}},
                         {"ellipse", {c.minimum.semiAxisX, c.minimum.semiAxisY}}});
    }
    return {{"json", EnvelopeJson("", host, run, N, contour)},
            {"cases", cases},
            {"curve", drawn ? InteractionJson(*run.envelope, run.cases.front()) : json(nullptr)},
            {"shown", shown}};
}

// The envelope chart after a completed run (EnvelopeDrawingJson). options: {source: "verify" |
// "design", case}: a column of several cases gives the contour at the Fd of its case `case`
// (0-based; without one, or -1, the case of greatest utilisation) and that case's points, every
// case run as the desktop runs them (after a design, with the one steel the column needs).
std::string PageEnvelope(const std::string& text, const std::string& options) {
    ColumnData data;
    std::string error;
    if (!ParseColumnFile(text, "", data, error)) {
        return Dump({{"json", EnvelopeFileErrorJson("", error)},
                     {"cases", json::array()},
                     {"curve", nullptr},
                     {"shown", 0}});
    }
    const json in = json::parse(options);
    const int k =
        in.contains("case") && in["case"].is_number_integer() ? in["case"].get<int>() : -1;
    RecordingHost host;
    const EnvelopeSource source = in.value("source", "verify") == "design"
                                      ? EnvelopeSource::Design
                                      : EnvelopeSource::Verification;
    // Every case runs (a design's steel is the one the column needs); the chart shows one.
    const auto run = RunEnvelope(CasesOf(data), source, host, 1);
    return Dump(EnvelopeDrawingJson(host, *run, k >= 0 ? k : run->governing));
}

// The printed report: [{number, lines: [{text, bold}], chart, envelope}]. `input` carries the
// result fields and the section constants of the last run, whether its curve gets a chart page,
// and whether the report ends with the envelope's page: the Mx–My drawing of the case with the
// greatest utilisation (`envelope`, as EnvelopeDrawingJson gives it) above the envelope's table.
std::string PageReport(const std::string& text, const std::string& input) {
    ColumnData data;
    std::string error;
    if (!ParseColumnFile(text, "", data, error)) return Dump(json::array());
    const json in = json::parse(input);
    const json& r = in.at("results");
    report::ReportResultTexts results{.safety = r.at("S").get<std::string>(),
                                      .required = r.at("required").get<std::string>(),
                                      .minimum = r.at("minimum").get<std::string>()};
    // After a completed run the report adds what the desktop's adds: the refined value and the
    // conclusion, which the run leaves in its result; a run of several cases adds every case's
    // loads and result. The run is repeated (it is deterministic, and a run that completed
    // answered every question No, as this host does).
    const std::string command = in.value("command", "");
    const bool design = command == "design";
    const bool completed = command == "verify" || design;
    if (completed) {
        RecordingHost host;
        report::ReportedRun run =
            report::RunForReport(design ? RunKind::Design : RunKind::Verify, data, host);
        results.cases = std::move(run.cases);
        const std::unique_ptr<AnalysisResult>& result = run.result;
        if (result->completed) {
            report::RunRecord runs;
            runs.Record(*result, design);
            results.refinedSafety = design ? "" : result->refinedSafetyText;
            results.refinedRequired = design ? result->refinedRequiredText : "";
            results.conclusion = runs.conclusion;
        }
        // A run of several cases reports the refined values its fields hold, as the command
        // line's report does.
        if (RunsByCase(data)) {
            const auto field = [&](ResultField f) {
                const auto it = host.fields.find(f);
                return it != host.fields.end() ? it->second : std::string();
            };
            results.refinedSafety = field(ResultField::RefinedSafetyCoefficient);
            results.refinedRequired = field(ResultField::RefinedRequiredSteel);
        }
    }
    SectionConstants kept;
    if (const json& s = in.at("section"); s.is_object()) {
        kept.area = s.at("area").get<double>();
        kept.inertiaX = s.at("inertiaX").get<double>();
        kept.inertiaY = s.at("inertiaY").get<double>();
        kept.slendernessX = s.at("slendernessX").get<double>();
        kept.slendernessY = s.at("slendernessY").get<double>();
    }
    const report::ReportContent content =
        report::BuildReportContent(data, results, kept, report::ReportVariant::Printer);
    json pages = json::array();
    for (const report::PrinterPage& page :
         report::PaginatePrinter(content, in.at("chart").get<bool>())) {
        json lines = json::array();
        for (const report::ReportLine& line : page.lines)
            lines.push_back({{"text", line.PlainText()}, {"bold", line.bold}});
        pages.push_back({{"number", page.number}, {"lines", lines}, {"chart", page.chart}});
    }
    // The envelope of the run the report follows, run quietly: its messages were the run's.
    if (completed && in.value("envelope", false)) {
        RecordingHost quiet;
        const auto run =
            RunEnvelope(CasesOf(data),
                        design ? EnvelopeSource::Design : EnvelopeSource::Verification, quiet, 1);
        if (run->completed && !run->cases.empty()) {
            json lines = json::array();
            for (const report::ReportLine& line : report::BuildEnvelopeLines(*run))
                lines.push_back({{"text", line.PlainText()}, {"bold", line.bold}});
            const int number = pages.empty() ? 1 : pages.back()["number"].get<int>() + 1;
            pages.push_back({{"number", number},
                             {"lines", lines},
                             {"chart", false},
                             {"envelope", EnvelopeDrawingJson(quiet, *run, run->governing)}});
        }
    }
    return Dump(pages);
}

}  // namespace
}  // namespace tarvelo::wasm

EMSCRIPTEN_BINDINGS(tarvelo_page) {
    using namespace tarvelo::wasm;
    emscripten::function("fieldTable", &FieldTable);
    emscripten::function("pageReadColumnFile", &PageReadColumnFile);
    emscripten::function("pageRun", &PageRun);
    emscripten::function("pageSection", &PageSection);
    emscripten::function("pageReport", &PageReport);
    emscripten::function("pageReadLoadCases", &PageReadLoadCases);
    emscripten::function("pageEnvelope", &PageEnvelope);
}
