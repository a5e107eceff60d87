// tarvelo-cli report: runs a procedure as the buttons would, then writes the calculation report.
#pragma once

#include <string>

namespace tarvelo::cli {

struct ReportOptions {
    std::string file;
    std::string pdf;
    std::string txt;
    std::string after = "verify";
};

int RunReportCommand(const ReportOptions& options, int argc, char** argv);

}  // namespace tarvelo::cli
