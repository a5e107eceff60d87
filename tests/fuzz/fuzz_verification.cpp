// VERIFICAR and DIMENSIONAR on random column texts (a text starting with "{" is read as a column
// file instead). The load steps are capped so that one input runs in a fraction of a second; the
// product's constants are untouched. A run either ends with one of the
// system's messages, or completes with S = k/50 in 0.02..10 in steps of 0.02 (verification) or
// a finite, non-negative steel area (design). Whatever happens, the main window is enabled again
// and every number handed to the windows is finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "model/field_table.h"
#include "procedures/column_file.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "report/report_content.h"

namespace {

// A plain-text form of a column for fuzzing: easy to mutate field by field and easy to read in a
// corpus. Line 1 holds five digits: section kind (0..4 in the order of the main window's
// options), base support (0 Fixed, 1 Pinned), top support (0 Fixed, 1 Pinned, 2 Free), the
// answer to questions (0 No, 1 Yes) and the procedure (0 VERIFICAR, 1 DIMENSIONAR). The next
// lines are the field texts in the order of the field table; then vertex rows "x;y" up to a line
// "#", then bar rows. Missing lines keep the window's default text.
struct ColumnText {
    tarvelo::ColumnData data;
    bool answerYes = false;
    bool design = false;
};

// Grids a little beyond the 299 rows the counts allow, so the row checks are exercised too.
constexpr std::size_t kMaxRows = 310;

ColumnText ParseColumnText(std::string_view text) {
    ColumnText out;
    std::size_t line = 0;
    bool bars = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view row = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line == 0) {
            int digits[5] = {};
            std::size_t k = 0;
            for (char c : row)
                if (k < 5 && c >= '0' && c <= '9') digits[k++] = c - '0';
            out.data.sectionType = static_cast<tarvelo::SectionType>(digits[0] % 5);
            out.data.baseSupport = static_cast<tarvelo::SupportCondition>(digits[1] % 2);
            out.data.topSupport = static_cast<tarvelo::SupportCondition>(digits[2] % 3);
            out.answerYes = digits[3] % 2 == 1;
            out.design = digits[4] % 2 == 1;
        } else if (line <= tarvelo::kFieldCount) {
            out.data.*(tarvelo::Fields()[line - 1].member) = std::string(row);
        } else if (row == "#") {
            bars = true;
        } else {
            auto& grid = bars ? out.data.bars : out.data.vertices;
            if (grid.size() < kMaxRows) {
                const std::size_t split = row.find(';');
                grid.push_back(
                    {std::string(row.substr(0, split)), split == std::string_view::npos
                                                            ? std::string()
                                                            : std::string(row.substr(split + 1))});
            }
        }
        ++line;
    }
    return out;
}

// A step that does not converge costs 100 evaluations of 30 sections; with 299 vertices that is
// about 0.1 s under the sanitizers. The design makes two trials before it can end.
constexpr int kVerifyStepLimit = 8;
constexpr int kDesignStepLimit = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ColumnText column;
    if (!text.empty() && text[0] == '{') {
        std::string error;
        if (!tarvelo::ParseColumnFile(text, "f.json", column.data, error)) return 0;
    } else {
        column = ParseColumnText(text);
    }

    tarvelo::RecordingHost host;
    host.answerYes = column.answerYes;
    tarvelo::ProcedureOptions options;
    options.stepLimit = column.design ? kDesignStepLimit : kVerifyStepLimit;
    const auto result = column.design ? tarvelo::Design(column.data, host, options)
                                      : tarvelo::Verify(column.data, host, options);

    for (const auto& box : host.boxes)
        FUZZ_CHECK((box.title == tarvelo::kProgramTitle || box.title == tarvelo::kPolygonTitle) &&
                       !box.text.empty(),
                   "a message box of the system");
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
