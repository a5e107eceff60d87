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
    std::string safetyText;           // "Coeficiente de segurança S="
    std::string requiredText;         // "Armadura calculada (cm2)="
    std::string minimumText;          // "Armadura mínima (cm2)="
    std::string refinedSafetyText;    // "S refinado ="
    std::string refinedRequiredText;  // "Armadura refinada (cm2) ="
    std::vector<ReportLine> conclusion;
    bool hasSectionConstants = false;
    SectionConstants sectionConstants;
    bool hasCurve = false;  // a completed verification left a curve
    LoadDeflectionCurve curve;
    int curvePoints = 0;  // n, the last load step reached
    bool topFree = false;

    // The result texts and the conclusion, as the report content is built from them.
    ReportResultTexts ResultTexts() const;
};

ReportSnapshot MakeReportSnapshot(const ColumnData& data, const ReportResultTexts& results,
                                  const RunRecord& runs);

}  // namespace tarvelo::report
