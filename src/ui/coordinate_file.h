// Text files of coordinates for the vertex and bar tables: one "x y" pair a line, the two
// numbers separated by blanks, tabs, ";" or ",". Blank lines and lines starting with "#" are
// skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/column_data.h"

namespace tarvelo::ui {

inline constexpr std::size_t kMaxCoordinateFileBytes = 1024 * 1024;

// Reads every pair as the texts typed in the file. On a bad line returns false with the line
// number (1-based) and a message, leaving `rows` unchanged.
bool ParseCoordinateText(std::string_view text, std::vector<GridRow>& rows, int& badLine,
                         std::string& error);

// True for a plain decimal number: optional sign, digits with at most one point, optional
// exponent (E and an optional sign and digits).
bool IsPlainNumber(std::string_view token);

}  // namespace tarvelo::ui
