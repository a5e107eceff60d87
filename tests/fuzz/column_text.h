// A plain-text form of a column for fuzzing: easy to mutate field by field and easy to read in a
// corpus. Line 1 holds five digits: section kind (0..4 in the order of the main window's
// options), base support (0 Fixed, 1 Pinned), top support (0 Fixed, 1 Pinned, 2 Free), the
// answer to questions (0 No, 1 Yes) and the procedure (0 VERIFICAR, 1 DIMENSIONAR). The next
// lines are the field texts in the order of the field table; then vertex rows "x;y" up to a line
// "#", then bar rows. Missing lines keep the window's default text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/column_data.h"
#include "model/field_table.h"

namespace tarvelo::fuzz {

struct ColumnText {
    ColumnData data;
    bool answerYes = false;
    bool design = false;
};

// Grids a little beyond the 299 rows the counts allow, so the row checks are exercised too.
inline constexpr std::size_t kMaxRows = 310;

inline ColumnText ParseColumnText(std::string_view text) {
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
            for (char c : row) {
                if (k < 5 && c >= '0' && c <= '9') digits[k++] = c - '0';
            }
            out.data.sectionType = static_cast<SectionType>(digits[0] % 5);
            out.data.baseSupport = static_cast<SupportCondition>(digits[1] % 2);
            out.data.topSupport = static_cast<SupportCondition>(digits[2] % 3);
            out.answerYes = digits[3] % 2 == 1;
            out.design = digits[4] % 2 == 1;
        } else if (line <= kFieldCount) {
            out.data.*(Fields()[line - 1].member) = std::string(row);
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

}  // namespace tarvelo::fuzz
