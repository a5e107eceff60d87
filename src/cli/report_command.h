// tarvelo-cli report: runs a procedure as the buttons would, then writes the calculation report.
// The text needs only the core; the PDF is painted with Qt, so `report --pdf` runs in a program
// of its own (tarvelo-report-pdf) and the command line that verifies never loads Qt.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>

#include "report/report_snapshot.h"

namespace tarvelo::cli {

struct ReportOptions {
    std::string file;
    std::string pdf;
    std::string txt;
    std::string after = "verify";
    bool envelope = false;  // the resistance envelope after the report (page and table)
};

// The `report` subcommand with its arguments, the same in both programs.
CLI::App* AddReportCommand(CLI::App& app, ReportOptions& options);

// Writes the PDF of a run; false with a message on failure.
using PdfWriter = std::function<bool(const report::ReportSnapshot& snapshot,
                                     const std::string& path, std::string& error)>;

// The report command. `writePdf` is empty in the command line, which hands a --pdf request to
// tarvelo-report-pdf before it gets here.
int RunReportCommand(const ReportOptions& options, const PdfWriter& writePdf);

}  // namespace tarvelo::cli
