// The column file reader on arbitrary bytes. Reading either gives a column that writes back to an
// equivalent file (reading the written text gives the same column, and writing that again gives
// the same text), or fails with a message naming the file and leaves the column untouched.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "procedures/column_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tarvelo::ColumnData column;
    column.title = "antes";
    const tarvelo::ColumnData before = column;
    std::string error;
    if (!tarvelo::ParseColumnFile(text, "f.json", column, error)) {
        FUZZ_CHECK(error.rfind("f.json: ", 0) == 0 && error.size() > 8,
                   "a refused file gives a message naming it");
        FUZZ_CHECK(column == before, "a refused file changes nothing");
        return 0;
    }
    FUZZ_CHECK(column.vertices.size() <= tarvelo::kMaxGridRows &&
                   column.bars.size() <= tarvelo::kMaxGridRows,
               "grids within their limit");

    const std::string written = tarvelo::FormatColumnFile(column);
    tarvelo::ColumnData back;
    const bool reread = tarvelo::ParseColumnFile(written, "g.json", back, error);
    if (!reread) std::fprintf(stderr, "%s\n", error.c_str());
    FUZZ_CHECK(reread, "a written file reads back");
    FUZZ_CHECK(back == column, "the column survives writing and reading");
    FUZZ_CHECK(tarvelo::FormatColumnFile(back) == written, "writing is stable");
    return 0;
}
