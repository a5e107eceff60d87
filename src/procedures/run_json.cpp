#include "procedures/run_json.h"

#include <nlohmann/json.hpp>

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

}  // namespace tarvelo
