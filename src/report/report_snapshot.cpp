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
    ReportResultTexts texts;
    texts.safety = safetyText;
    texts.required = requiredText;
    texts.minimum = minimumText;
    texts.refinedSafety = refinedSafetyText;
    texts.refinedRequired = refinedRequiredText;
    texts.conclusion = conclusion;
    texts.cases = cases;
    return texts;
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
    s.cases = results.cases;
    return s;
}

}  // namespace tarvelo::report
