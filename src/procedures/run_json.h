// The JSON account of one verification or design, as `tarvelo-cli verify|design --json` prints it
// and the browser module returns it: one object per column file, the same text on every build.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "procedures/procedures.h"
#include "procedures/recording_host.h"

namespace tarvelo {

enum class RunKind { Verify, Design };

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

}  // namespace tarvelo
