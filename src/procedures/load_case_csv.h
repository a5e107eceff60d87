// Load cases from a spreadsheet: the CSV or text file a frame-analysis program or a spreadsheet
// exports, one case per line under a header line that names the columns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/load_case.h"

namespace tarvelo {

// The header line names the columns: "nome" (or "name") and any of the nine load keys
// (Fd, Hxd_t, Hyd_t, Mxd_t, Myd_t, Mxd_b, Myd_b, pxd, pyd), in any order; load columns that are
// missing stay blank, and without a name column the cases are named "1", "2", … . The separator
// is the header's first ";", else its first tab, else ",". With ";" or a tab a decimal comma is
// read as a decimal point. Blank lines and lines whose first character is "#" are skipped.
//
// On success `out` receives the cases in file order. A bad line (unknown column, too many cells,
// a value that is not a number a load field accepts, a name too long or repeated, more than 99
// cases) gives false with an error naming `fileName`, the line and the column, and `out` is
// left unchanged.
bool ReadLoadCaseCsv(std::string_view text, std::string_view fileName, std::vector<LoadCase>& out,
                     std::string& error);

// A load value as a field would hold it: blanks trimmed, a decimal comma read as a point when
// `decimalComma`. Returns false when the text is not a plain decimal number that fits a load
// field (an optional "-" where `allowSign`, digits with at most one ".", at most 8 characters).
bool NormaliseLoadValue(std::string_view cell, bool decimalComma, bool allowSign, std::string& out);

}  // namespace tarvelo
