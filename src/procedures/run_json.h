// The JSON account of one verification or design, as `tarvelo-cli verify|design --json` prints it
// and the browser module returns it: one object per column file, the same text on every build.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "procedures/envelope_run.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"

namespace tarvelo {

enum class RunKind { Verify, Design };
struct CasesRun;

// VERIFICAR or DIMENSIONAR on a column that was read, through `host`.
std::unique_ptr<AnalysisResult> RunProcedure(RunKind kind, const ColumnData& data,
                                             ProcedureHost& host,
                                             const ProcedureOptions& options = {});

// A file that could not be read: {"file", "command", "status": "error", "error"}.
std::string FileErrorJson(std::string_view file, RunKind kind, std::string_view error);

// A run: its status, messages, results (S, the curve and the step for a verification; the steel
// areas and the trials for a design), the refined S or area ("refinedS",
// "refinedRequiredSteelArea": always present, "" when there is none) and the section constants.
// One line, no line break.
std::string RunResultJson(std::string_view file, RunKind kind, const RecordingHost& host,
                          const AnalysisResult& result);

// `tarvelo-cli envelope --json` and the browser's envelope: the contour at `axial` (kN) with
// `rays` rays at 360 i / rays degrees (null moments where a ray misses), N0, Nt and each case's
// utilisation, critical moment and minimum-moment check. A file that could not be read gives
// {"file", "command", "status": "error", "error"}. One line each.
std::string EnvelopeJson(std::string_view file, const RecordingHost& host, const EnvelopeRun& run,
                         double axial, const std::vector<ContourRay>& contour);
std::string EnvelopeFileErrorJson(std::string_view file, std::string_view error);
// VERIFICAR or DIMENSIONAR of a column that was read, as its JSON: RunResultJson for a column of
// one case, CasesRunJson for a column of several.
std::string RunColumnJson(std::string_view file, RunKind kind, const ColumnData& data,
                          RecordingHost& host);

// A run of several load cases (procedures/load_cases.h): the fields of a run for the governing
// case, with "messages" those of the column's checks followed by the message that ended each
// case that ended, "status" completed only when every case completed, "minimumSteelArea" the
// largest over the cases, and "cases" (name, status, messages, the case's results) and
// "governing" (its name, or null). `host` is the host the run's column checks went through.
std::string CasesRunJson(std::string_view file, RunKind kind, const RecordingHost& host,
                         const CasesRun& run);

}  // namespace tarvelo
