// What the report reads at the moment it is produced: the input texts, the result field texts,
// the section constants kept by the last run and the curve of the last verification. The windows
// and `tarvelo-cli report` both build it with MakeReportSnapshot.
#pragma once

#include <string>
#include <vector>

#include "engine/column_model.h"
#include "model/column_data.h"
#include "model/section_geometry.h"
#include "report/report_content.h"

namespace tarvelo {
struct AnalysisResult;
}

namespace tarvelo::report {

// What the runs so far leave for the report: the section constants of the last run that computed
// them, the curve of the last run with the last load step any run reached, and whether that
// curve is a completed verification's.
struct RunRecord {
    bool hasSectionConstants = false;
    SectionConstants sectionConstants;
    bool hasCurve = false;
    LoadDeflectionCurve curve{};
    int reachedStep = 0;
    std::vector<ReportLine> conclusion;  // of the last run; empty when a message ended it

    // Takes in the result of a run that has just ended.
    void Record(const AnalysisResult& result, bool design);
};

struct ReportSnapshot {
    ColumnData data;
    ReportResultTexts results;  // the result fields' texts, the last run's conclusion, the cases
    RunRecord runs;             // the section constants and the curve the runs left
    bool withEnvelope = false;  // a resistance-envelope page after the sheets (on request)

    // A completed verification left a curve of at least two points for the chart page.
    bool HasChart() const { return runs.hasCurve && runs.reachedStep >= 2; }
    bool TopFree() const { return data.topSupport == SupportCondition::Free; }
};

// The report's conclusion is the one the runs recorded.
ReportSnapshot MakeReportSnapshot(const ColumnData& data, ReportResultTexts results,
                                  const RunRecord& runs);

}  // namespace tarvelo::report
