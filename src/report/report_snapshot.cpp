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

ReportResultTexts ReportSnapshot::ResultTexts() const {
    return {safetyText,        requiredText,        minimumText,
            refinedSafetyText, refinedRequiredText, conclusion};
}

ReportSnapshot MakeReportSnapshot(const ColumnData& data, const ReportResultTexts& results,
                                  const RunRecord& runs) {
    ReportSnapshot s;
    s.data = data;
    s.safetyText = results.safety;
    s.requiredText = results.required;
    s.minimumText = results.minimum;
    s.refinedSafetyText = results.refinedSafety;
    s.refinedRequiredText = results.refinedRequired;
    s.conclusion = runs.conclusion;
    s.hasSectionConstants = runs.hasSectionConstants;
    s.sectionConstants = runs.hasSectionConstants ? runs.sectionConstants : SectionConstants{};
    s.hasCurve = runs.hasCurve;
    s.curve = runs.curve;
    s.curvePoints = runs.reachedStep;
    s.topFree = data.topSupport == SupportCondition::Free;
    return s;
}

}  // namespace tarvelo::report
