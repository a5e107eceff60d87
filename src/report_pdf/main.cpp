// tarvelo-report-pdf: `tarvelo-cli report` when a PDF is asked for. It takes the command line's
// arguments unchanged and runs the same report command, with the Qt painter of the desktop's
// report for the PDF; the command line starts it so that its own analyses never load Qt.
#include <CLI/CLI.hpp>
#include <QString>
#include <memory>

#include "cli/report_command.h"
#include "report_render.h"
#include "report_window.h"

namespace {

bool WritePdf(const tarvelo::cli::ReportRun& run, const std::string& path, std::string& error) {
    auto snapshot = std::make_unique<tarvelo::ui::ReportSnapshot>();
    snapshot->data = run.data;
    snapshot->safetyText = run.results.safety;
    snapshot->requiredText = run.results.required;
    snapshot->minimumText = run.results.minimum;
    snapshot->hasSectionConstants = run.hasSectionConstants;
    snapshot->sectionConstants = run.sectionConstants;
    snapshot->hasCurve = run.hasCurve;
    snapshot->curve = run.curve;
    snapshot->curvePoints = run.curvePoints;
    snapshot->topFree = run.data.topSupport == tarvelo::SupportCondition::Free;
    QString pdfError;
    if (tarvelo::ui::WriteReportPdf(*snapshot, QString::fromStdString(path), pdfError)) return true;
    error = pdfError.toStdString();
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"TARVELO - relatório de cálculo em PDF (chamado por tarvelo-cli report)"};
    app.require_subcommand(1);
    tarvelo::cli::ReportOptions options;
    tarvelo::cli::AddReportCommand(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }
    return tarvelo::cli::RunReportCommand(options, WritePdf);
}
