// tarvelo-report-pdf: `tarvelo-cli report` when a PDF is asked for. It takes the command line's
// arguments unchanged and runs the same report command, with the Qt painter of the desktop's
// report for the PDF; the command line starts it so that its own analyses never load Qt.
#include <CLI/CLI.hpp>
#include <QString>

#include "cli/report_command.h"
#include "report_render.h"

namespace {

bool WritePdf(const tarvelo::report::ReportSnapshot& snapshot, const std::string& path,
              std::string& error) {
    QString pdfError;
    if (tarvelo::ui::WriteReportPdf(snapshot, QString::fromStdString(path), pdfError)) return true;
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
