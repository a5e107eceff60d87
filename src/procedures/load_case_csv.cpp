#include "procedures/load_case_csv.h"

#include <cstddef>
#include <optional>
#include <utility>

#include "model/field_table.h"

namespace tarvelo {
namespace {

struct CsvError {
    std::string message;
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// Splits one line at `separator`; a cell may be quoted ("a;b", with "" for a quote), as
// spreadsheets write names that contain the separator.
std::vector<std::string> SplitCells(std::string_view line, char separator) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (quoted) {
            if (ch == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cells.back() += '"';
                ++i;
            } else if (ch == '"') {
                quoted = false;
            } else {
                cells.back() += ch;
            }
        } else if (ch == '"' && Trim(cells.back()).empty()) {
            cells.back().clear();
            quoted = true;
        } else if (ch == separator) {
            cells.emplace_back();
        } else {
            cells.back() += ch;
        }
    }
    return cells;
}

// What a column of the file holds: the case name, or one of the nine loads.
struct Column {
    bool isName = false;
    const LoadCaseKey* load = nullptr;
};

std::optional<Column> ColumnNamed(std::string_view heading) {
    if (heading == "nome" || heading == "name" || heading == "Nome" || heading == "Name") {
        return Column{true, nullptr};
    }
    for (const LoadCaseKey& k : kLoadCaseKeys) {
        if (heading == k.key) return Column{false, &k};
    }
    return std::nullopt;
}

bool IsSkipped(std::string_view line) {
    return Trim(line).empty() || line.front() == '#';
}

}  // namespace

bool NormaliseLoadValue(std::string_view cell, bool decimalComma, bool allowSign,
                        std::string& out) {
    const std::string_view text = Trim(cell);
    std::string value;
    bool point = false;
    bool digit = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char ch = text[i];
        if (ch == ',' && decimalComma) ch = '.';
        if (ch >= '0' && ch <= '9') {
            digit = true;
        } else if (ch == '.' && !point) {
            point = true;
        } else if (!(ch == '-' && allowSign && i == 0)) {
            return false;
        }
        value += ch;
    }
    if (!value.empty() && !digit) return false;
    if (static_cast<int>(value.size()) > Field(FieldId::Fd).maxLength) return false;
    out = std::move(value);
    return true;
}

bool ReadLoadCaseCsv(std::string_view text, std::string_view fileName, std::vector<LoadCase>& out,
                     std::string& error) {
    // Lines with their numbers; a UTF-8 byte-order mark, as spreadsheets write, is dropped.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<std::pair<int, std::string_view>> lines;
    int number = 0;
    while (!text.empty() || number == 0) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        ++number;
        if (!IsSkipped(line)) lines.emplace_back(number, Trim(line));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }

    auto fail = [&](int line, std::size_t column, const std::string& what) {
        std::string where = "linha " + std::to_string(line);
        if (column > 0) where += ", coluna " + std::to_string(column);
        throw CsvError{std::string(fileName) + ": " + where + ": " + what};
    };

    try {
        if (lines.empty()) fail(number, 0, "nenhuma linha de cabeçalho (nome;Fd;Hxd_t;…)");
        const auto [headerLine, header] = lines.front();
        const char separator = header.find(';') != std::string_view::npos    ? ';'
                               : header.find('\t') != std::string_view::npos ? '\t'
                                                                             : ',';
        const bool decimalComma = separator != ',';

        std::vector<Column> columns;
        const std::vector<std::string> headings = SplitCells(header, separator);
        for (std::size_t c = 0; c < headings.size(); ++c) {
            const std::string_view heading = Trim(headings[c]);
            const std::optional<Column> column = ColumnNamed(heading);
            if (!column) {
                fail(headerLine, c + 1,
                     "coluna desconhecida \"" + std::string(heading) +
                         "\" (esperava nome, Fd, Hxd_t, Hyd_t, Mxd_t, Myd_t, Mxd_b, Myd_b, pxd "
                         "ou pyd)");
            }
            for (const Column& seen : columns) {
                if (seen.isName == column->isName && seen.load == column->load) {
                    fail(headerLine, c + 1, "coluna repetida \"" + std::string(heading) + "\"");
                }
            }
            columns.push_back(*column);
        }

        std::vector<LoadCase> cases;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const auto [line, content] = lines[i];
            if (cases.size() == kMaxLoadCases) {
                fail(line, 0,
                     "no máximo " + std::to_string(kMaxLoadCases) + " combinações são aceitas");
            }
            const std::vector<std::string> cells = SplitCells(content, separator);
            if (cells.size() > columns.size()) {
                fail(line, columns.size() + 1, "mais colunas que o cabeçalho");
            }
            LoadCase loadCase;
            loadCase.name = std::to_string(cases.size() + 1);
            for (std::size_t c = 0; c < cells.size(); ++c) {
                const Column& column = columns[c];
                if (column.isName) {
                    const std::string_view name = Trim(cells[c]);
                    if (name.empty()) continue;
                    // Characters, not bytes: the names are UTF-8.
                    std::size_t characters = 0;
                    for (char ch : name)
                        characters += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
                    if (characters > kMaxCaseNameLength) {
                        fail(line, c + 1, "nome com mais de 30 caracteres");
                    }
                    loadCase.name = std::string(name);
                    continue;
                }
                const bool signedLoad = column.load->member != &LoadCase::Fd;
                if (!NormaliseLoadValue(cells[c], decimalComma, signedLoad,
                                        loadCase.*(column.load->member))) {
                    fail(line, c + 1,
                         "valor inválido \"" + std::string(Trim(cells[c])) + "\" para " +
                             std::string(column.load->key));
                }
            }
            for (const LoadCase& earlier : cases) {
                if (earlier.name == loadCase.name) {
                    fail(line, 0, "nome de combinação repetido \"" + loadCase.name + "\"");
                }
            }
            cases.push_back(std::move(loadCase));
        }
        if (cases.empty()) fail(headerLine, 0, "nenhuma combinação abaixo do cabeçalho");
        out = std::move(cases);
        return true;
    } catch (const CsvError& e) {
        error = e.message;
        return false;
    }
}

}  // namespace tarvelo
