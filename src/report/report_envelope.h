// The report's resistance-envelope table: per load case the design axial force, the total moment
// at the critical section, the resisting moment along it, the utilisation and the minimum-moment
// check, under a heading that says the resistance is the short-term one.
#pragma once

#include <string>
#include <vector>

#include "procedures/envelope_run.h"
#include "report/report_content.h"

namespace tarvelo::report {

std::vector<ReportLine> BuildEnvelopeLines(const EnvelopeRun& run);

// The table as the text report ends with it: an empty line, then its lines.
std::string EnvelopeText(const EnvelopeRun& run);

}  // namespace tarvelo::report
