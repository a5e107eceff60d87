// Column files: one column per JSON file, every field as the text the windows hold, so that a
// file gives back exactly what was typed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/column_data.h"

namespace tarvelo {

inline constexpr std::size_t kMaxColumnFileBytes = 2 * 1024 * 1024;
inline constexpr std::size_t kMaxGridRows = 299;

// Parses the text of a column file. On failure returns false with a message naming `name` and
// the key (or the line and column of a syntax error), and leaves `out` unchanged.
bool ParseColumnFile(std::string_view text, std::string_view name, ColumnData& out,
                     std::string& error);

// The file's text for a column.
std::string FormatColumnFile(const ColumnData& data);

// A column whose texts would not fit the windows' fields (longer than a field accepts, more than
// one line, more grid rows than the counts allow) is refused when opened rather than changed
// behind the user's back. Returns the message naming the field, or "" when everything fits.
std::string TextThatDoesNotFit(const ColumnData& data);

bool ReadColumnFile(const std::string& path, ColumnData& out, std::string& error);

// Writes through a temporary file in the same folder and renames it over the target, so the
// previous file survives a failed write.
bool WriteColumnFile(const std::string& path, const ColumnData& data, std::string& error);

}  // namespace tarvelo
