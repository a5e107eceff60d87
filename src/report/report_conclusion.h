// The report's conclusion: what the results of the last run mean, said in words after them.
#pragma once

#include <vector>

#include "procedures/procedures.h"
#include "report/report_content.h"

namespace tarvelo::report {

// Longest conclusion line, in characters: the width of the report's longest fixed lines.
inline constexpr int kConclusionWidth = 66;

enum class ConcludedProcedure { Verification, Design };

// A blank line, "CONCLUSÃO:" and the sentences, cut at blanks into lines of at most
// kConclusionWidth characters. A verification states whether the column resists its design loads
// (S >= 1), the load step and the cause of the failure with the section where it happened, and
// the deflections at the design loads; a design states which steel area governs. A run that a
// message ended (not completed) has no conclusion: the result is empty.
std::vector<ReportLine> BuildConclusion(const AnalysisResult& result, ConcludedProcedure procedure);

}  // namespace tarvelo::report
