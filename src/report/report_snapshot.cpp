#include "report/report_snapshot.h"

#include "procedures/procedures.h"
#include "report/report_conclusion.h"

namespace tarvelo::report {

void RunRecord::Record(const AnalysisResult& result, bool design) {
    curve = result.curve;
    if (result.reachedStep > 0) reachedStep = result.reachedStep;
    if (result.hasSectionConstants) {
        hasSectionConstants = true;
        sectionConstants = result.sectionConstants;
    }
    hasCurve = !design && result.completed;
    conclusion = BuildConclusion(
        result, design ? ConcludedProcedure::Design : ConcludedProcedure::Verification);
}

ReportSnapshot MakeReportSnapshot(const ColumnData& data, ReportResultTexts results,
                                  const RunRecord& runs) {
    ReportSnapshot s{data, std::move(results), runs};
    s.results.conclusion = runs.conclusion;
    return s;
}

}  // namespace tarvelo::report
