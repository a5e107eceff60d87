#include "coordinate_file.h"

namespace tarvelo::ui {
namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ';' || c == ',' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool IsPlainNumber(std::string_view token) {
    std::size_t i = 0;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
    int digits = 0;
    while (i < token.size() && IsDigit(token[i]))
        ++i, ++digits;
    if (i < token.size() && token[i] == '.') {
        ++i;
        while (i < token.size() && IsDigit(token[i]))
            ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        ++i;
        if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
        int exponentDigits = 0;
        while (i < token.size() && IsDigit(token[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == token.size();
}

bool ParseCoordinateText(std::string_view text, std::vector<GridRow>& rows, int& badLine,
                         std::string& error) {
    std::vector<GridRow> read;
    badLine = 0;
    int lineNumber = 0;
    std::size_t start = 0;
    // A UTF-8 byte order mark is not part of the first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") start = 3;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        ++lineNumber;
        start = end + 1;

        std::vector<std::string_view> tokens;
        std::size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && IsSeparator(line[i]))
                ++i;
            const std::size_t tokenStart = i;
            while (i < line.size() && !IsSeparator(line[i]))
                ++i;
            if (i > tokenStart) tokens.push_back(line.substr(tokenStart, i - tokenStart));
        }
        if (tokens.empty() || tokens.front().front() == '#') {
            if (end == text.size()) break;
            continue;
        }
        if (tokens.size() != 2) {
            badLine = lineNumber;
            error.assign("esperavam-se dois números (x e y) e a linha tem ");
            error.append(std::to_string(tokens.size()));
            error.append(tokens.size() == 1 ? " valor." : " valores.");
            return false;
        }
        for (std::string_view token : tokens) {
            if (!IsPlainNumber(token)) {
                badLine = lineNumber;
                error.clear();
                error.push_back('"');
                error.append(token);
                error.append("\" não é um número (use o ponto como separador decimal).");
                return false;
            }
        }
        read.push_back({std::string(tokens[0]), std::string(tokens[1])});
        if (end == text.size()) break;
    }
    rows = std::move(read);
    return true;
}

}  // namespace tarvelo::ui
