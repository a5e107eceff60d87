// VERIFICAR and DIMENSIONAR on random column texts (see column_text.h; a text starting with "{"
// is read as a column file instead). The load steps are capped so that one input runs in a
// fraction of a second; the product's constants are untouched. A run either ends with one of the
// system's messages, or completes with S = k/50 in 0.02..10 in steps of 0.02 (verification) or
// a finite, non-negative steel area (design). Whatever happens, the main window is enabled again
// and every number handed to the windows is finite.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "column_text.h"
#include "fuzz_support.h"
#include "procedures/column_file.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "report/report_content.h"

namespace {

// A step that does not converge costs 100 evaluations of 30 sections; with 299 vertices that is
// about 0.1 s under the sanitizers. The design makes two trials before it can end.
constexpr int kVerifyStepLimit = 8;
constexpr int kDesignStepLimit = 4;

bool KnownTitle(const std::string& title) {
    return title == tarvelo::kProgramTitle || title == tarvelo::kPolygonTitle;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tarvelo::fuzz::ColumnText column;
    if (!text.empty() && text[0] == '{') {
        std::string error;
        if (!tarvelo::ParseColumnFile(text, "f.json", column.data, error)) return 0;
    } else {
        column = tarvelo::fuzz::ParseColumnText(text);
    }

    tarvelo::RecordingHost host;
    host.answerYes = column.answerYes;
    tarvelo::ProcedureOptions options;
    options.stepLimit = column.design ? kDesignStepLimit : kVerifyStepLimit;
    const auto result = column.design ? tarvelo::Design(column.data, host, options)
                                      : tarvelo::Verify(column.data, host, options);

    for (const auto& box : host.boxes) {
        FUZZ_CHECK(KnownTitle(box.title) && !box.text.empty(), "a message box of the system");
    }
    const auto mainWindow = host.enabled.find(tarvelo::Control::MainWindow);
    FUZZ_CHECK(mainWindow == host.enabled.end() || mainWindow->second,
               "the main window is enabled again");

    // The windows keep the section constants of the last run for the report, even when a later
    // step (a singular matrix) ends that run.
    if (result->hasSectionConstants) {
        const auto& c = result->sectionConstants;
        FUZZ_CHECK(std::isfinite(c.area) && c.area > 0 && std::isfinite(c.inertiaX) &&
                       std::isfinite(c.inertiaY) && std::isfinite(c.slendernessX) &&
                       std::isfinite(c.slendernessY),
                   "finite section constants for the report");
    }
    // The report of whatever the windows now hold: field texts as typed, results, constants.
    const tarvelo::report::ReportResultTexts texts{
        .safety = host.fields[tarvelo::ResultField::SafetyCoefficient],
        .required = host.fields[tarvelo::ResultField::RequiredSteel],
        .minimum = host.fields[tarvelo::ResultField::MinimumSteel]};
    for (auto variant :
         {tarvelo::report::ReportVariant::Preview, tarvelo::report::ReportVariant::Printer}) {
        tarvelo::SectionConstants kept =
            result->hasSectionConstants ? result->sectionConstants : tarvelo::SectionConstants{};
        const auto content = tarvelo::report::BuildReportContent(column.data, texts, kept, variant);
        FUZZ_CHECK(!content.heading.empty() && !content.body.empty(), "a report has lines");
        if (variant == tarvelo::report::ReportVariant::Preview) {
            const auto first = tarvelo::report::ProducePreviewPage(content, 1);
            FUZZ_CHECK(first.pageTotal >= 1, "a preview has pages");
            tarvelo::report::ProducePreviewPage(content, first.pageTotal);
        } else {
            const auto pages = tarvelo::report::PaginatePrinter(content, result->completed);
            FUZZ_CHECK(!pages.empty(), "a printed report has sheets");
            const std::string text = tarvelo::report::RenderReportText(pages);
            FUZZ_CHECK(text.find("nan") == std::string::npos ||
                           tarvelo::FormatColumnFile(column.data).find("nan") != std::string::npos,
                       "no NaN printed that was not typed");
        }
    }

    if (!result->completed) {
        FUZZ_CHECK(!host.boxes.empty(), "a run that did not complete ended with a message");
        return 0;
    }
    if (!column.design) {
        const int k = result->reachedStep;
        FUZZ_CHECK(k >= 1 && k <= kVerifyStepLimit, "load step within the run");
        FUZZ_CHECK(result->safetyCoefficient == k / 50.0, "S = k/50");
        FUZZ_CHECK(result->safetyCoefficient >= 0.02 && result->safetyCoefficient <= 10.0,
                   "S in 0.02..10");
        FUZZ_CHECK(result->safetyText == tarvelo::FormatSafetyCoefficient(k) &&
                       host.fields[tarvelo::ResultField::SafetyCoefficient] == result->safetyText,
                   "S written as k/50");
        for (int row = 0; row <= k && row < tarvelo::LoadDeflectionCurve::kRows; ++row) {
            FUZZ_CHECK(std::isfinite(result->curve.rows[row][0]) &&
                           std::isfinite(result->curve.rows[row][1]),
                       "finite load-deflection points");
        }
    } else {
        FUZZ_CHECK(std::isfinite(result->requiredSteelArea) && result->requiredSteelArea >= 0,
                   "finite, non-negative steel area");
        FUZZ_CHECK(std::isfinite(result->minimumSteelArea) && result->minimumSteelArea >= 0,
                   "finite, non-negative minimum steel area");
        FUZZ_CHECK(!result->requiredText.empty() && !result->minimumText.empty(),
                   "both areas written");
    }
    return 0;
}
