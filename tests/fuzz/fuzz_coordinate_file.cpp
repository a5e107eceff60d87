// The coordinate text files of "Ler de arquivo" on arbitrary bytes: either every pair read is
// two plain decimal numbers (which the number-reading rule reads as typed), or the reader names
// a line of the text and leaves the table untouched.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "coordinate_file.h"
#include "fuzz_support.h"
#include "model/number_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto lines = 1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));

    const std::vector<tarvelo::GridRow> before = {{"antes", "antes"}};
    std::vector<tarvelo::GridRow> rows = before;
    int badLine = -1;
    std::string error;
    if (!tarvelo::ui::ParseCoordinateText(text, rows, badLine, error)) {
        FUZZ_CHECK(rows == before, "a refused file changes nothing");
        FUZZ_CHECK(badLine >= 1 && static_cast<std::size_t>(badLine) <= lines,
                   "the bad line is a line of the file");
        FUZZ_CHECK(!error.empty(), "a refused file says why");
        return 0;
    }
    FUZZ_CHECK(rows.size() <= lines, "at most one pair a line");
    for (const tarvelo::GridRow& row : rows)
        for (const std::string* token : {&row.x, &row.y}) {
            FUZZ_CHECK(tarvelo::ui::IsPlainNumber(*token), "pairs are plain numbers");
            FUZZ_CHECK(!std::isnan(tarvelo::ReadNumber(*token)), "a pair reads as a number");
        }
    return 0;
}
