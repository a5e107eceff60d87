#include "procedures/run_json.h"

#include <nlohmann/json.hpp>
#include <span>

#include "procedures/load_cases.h"

namespace tarvelo {
namespace {

using nlohmann::json;

const char* CommandName(RunKind kind) {
    return kind == RunKind::Verify ? "verify" : "design";
}

// Texts typed in the windows are UTF-8; anything else is replaced rather than refused.
std::string Dump(const json& j) {
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

// The rows the analysis wrote: rows 0..reachedStep-1, and row 500 too when all steps passed.
int CurveRowsWritten(const AnalysisResult& r) {
    if (r.reachedStep <= 0) return 0;
    return r.reachedStep == 500 ? 501 : r.reachedStep;
}

json SectionJson(const AnalysisResult& r) {
    if (!r.hasSectionConstants) return nullptr;
    const auto& c = r.sectionConstants;
    return {{"area", c.area},
            {"inertiaX", c.inertiaX},
            {"inertiaY", c.inertiaY},
            {"slendernessX", c.slendernessX},
            {"slendernessY", c.slendernessY}};
}

// The result field as the procedure left it; one it never wrote is empty.
std::string Field(const RecordingHost& host, ResultField field) {
    const auto it = host.fields.find(field);
    return it != host.fields.end() ? it->second : std::string();
}

json Optional(const std::optional<double>& value) {
    return value ? json(*value) : json(nullptr);
}

json ContourJson(const std::vector<ContourRay>& contour) {
    json rows = json::array();
    for (const ContourRay& ray : contour) {
        json row = {{"angle", ray.angle}, {"Mx", nullptr}, {"My", nullptr}};
        if (ray.moment) {
            const SectionForces point = ContourPoint(ray, 0.0);
            row["Mx"] = point.Mx;
            row["My"] = point.My;
        }
        rows.push_back(row);
    }
    return rows;
}

json CaseJson(const EnvelopeCaseResult& c) {
    const bool reached = c.designLoadReached;
    return {{"name", c.name},
            {"Nd", c.Nd},
            {"utilisation", reached ? Optional(c.utilisation) : json(nullptr)},
            {"criticalMoment",
             reached ? json::array({c.criticalForces.Mx, c.criticalForces.My}) : json(nullptr)},
            {"criticalAxial", reached ? json(c.criticalForces.N) : json(nullptr)},
            {"criticalHeight", reached ? json(c.critical.height) : json(nullptr)},
            {"loadFactor", reached ? json(c.loadFactor) : json(nullptr)},
            {"resistingMoment", reached ? Optional(c.resistingMoment) : json(nullptr)},
            {"minimumEnvelopeInside", c.minimum.inside},
            {"note", reached ? json(nullptr) : json(kFailsBeforeDesignLoad)}};
}

}  // namespace

std::unique_ptr<AnalysisResult> RunProcedure(RunKind kind, const ColumnData& data,
                                             ProcedureHost& host, const ProcedureOptions& options) {
    return kind == RunKind::Verify ? Verify(data, host, options) : Design(data, host, options);
}

std::string FileErrorJson(std::string_view file, RunKind kind, std::string_view error) {
    return Dump(
        {{"file", file}, {"command", CommandName(kind)}, {"status", "error"}, {"error", error}});
}

std::string RunResultJson(std::string_view file, RunKind kind, const RecordingHost& host,
                          const AnalysisResult& result) {
    json j;
    j["file"] = file;
    j["command"] = CommandName(kind);
    j["status"] = result.completed ? "completed" : "ended";
    j["messages"] = host.Messages();
    if (kind == RunKind::Verify) {
        j["S"] = Field(host, ResultField::SafetyCoefficient);
        j["reachedStep"] = result.completed ? json(result.reachedStep) : nullptr;
        j["notConverged"] = result.completed ? json(result.notConverged != 0) : nullptr;
        json curve = json::array();
        for (int i = 0; i < CurveRowsWritten(result); ++i)
            curve.push_back({result.curve.rows[i][0], result.curve.rows[i][1]});
        j["curve"] = curve;
        j["refinedS"] = Field(host, ResultField::RefinedSafetyCoefficient);
    } else {
        j["requiredSteelArea"] = Field(host, ResultField::RequiredSteel);
        j["minimumSteelArea"] = Field(host, ResultField::MinimumSteel);
        j["trials"] = result.trials;
        j["refinedRequiredSteelArea"] = Field(host, ResultField::RefinedRequiredSteel);
    }
    j["section"] = SectionJson(result);
    return Dump(j);
}

std::string EnvelopeFileErrorJson(std::string_view file, std::string_view error) {
    return Dump({{"file", file}, {"command", "envelope"}, {"status", "error"}, {"error", error}});
}

std::string EnvelopeJson(std::string_view file, const RecordingHost& host, const EnvelopeRun& run,
                         double axial, const std::vector<ContourRay>& contour) {
    json j;
    j["file"] = file;
    j["command"] = "envelope";
    j["status"] = run.completed ? "completed" : "ended";
    j["messages"] = host.Messages();
    j["axial"] = run.completed ? json(axial) : nullptr;
    j["squash"] = run.completed ? json(run.envelope->squash()) : nullptr;
    j["tension"] = run.completed ? json(run.envelope->tension()) : nullptr;
    j["contour"] = ContourJson(contour);
    json cases = json::array();
    for (const EnvelopeCaseResult& c : run.cases)
        cases.push_back(CaseJson(c));
    j["cases"] = cases;
    return Dump(j);
}

// ---- Runs of several load cases ----

std::string RunColumnJson(std::string_view file, RunKind kind, const ColumnData& data,
                          RecordingHost& host) {
    if (!RunsByCase(data)) return RunResultJson(file, kind, host, *RunProcedure(kind, data, host));
    return CasesRunJson(file, kind, host, RunCases(kind, data, host));
}

std::string CasesRunJson(std::string_view file, RunKind kind, const RecordingHost& host,
                         const CasesRun& run) {
    const bool verify = kind == RunKind::Verify;
    // The top level reads as the governing case's own run; a run the column's checks ended, or
    // in which no case completed, reads as a run that ended.
    json top = json::parse(RunResultJson(file, kind, host, *run.columnResult));
    if (run.governing >= 0) {
        const CaseRun& g = run.cases[static_cast<std::size_t>(run.governing)];
        top = json::parse(RunResultJson(file, kind, g.host, *g.result));
    }
    json messages = host.Messages();
    json cases = json::array();
    for (const CaseRun& c : run.cases) {
        const json own = json::parse(RunResultJson(file, kind, c.host, *c.result));
        json entry = {{"name", c.name}, {"status", own["status"]}, {"messages", own["messages"]}};
        static constexpr const char* kVerifyKeys[] = {"S", "reachedStep", "notConverged",
                                                      "refinedS"};
        static constexpr const char* kDesignKeys[] = {"requiredSteelArea", "minimumSteelArea",
                                                      "refinedRequiredSteelArea"};
        for (const char* key : verify ? std::span<const char* const>(kVerifyKeys)
                                      : std::span<const char* const>(kDesignKeys)) {
            entry[key] = own[key];
        }
        if (c.generated) entry["generated"] = true;
        cases.push_back(entry);
        if (const std::string ending = c.EndingMessage(); !ending.empty()) {
            messages.push_back(ending);
        }
    }
    top["messages"] = messages;
    top["status"] = run.AllCompleted() ? "completed" : "ended";
    if (!verify && run.largestMinimum >= 0) {
        top["minimumSteelArea"] =
            run.cases[static_cast<std::size_t>(run.largestMinimum)].host.fields.at(
                ResultField::MinimumSteel);
    }
    top["cases"] = cases;
    top["governing"] = run.governing >= 0
                           ? json(run.cases[static_cast<std::size_t>(run.governing)].name)
                           : json(nullptr);
    return Dump(top);
}

}  // namespace tarvelo
