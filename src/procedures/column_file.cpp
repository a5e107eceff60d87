#include "procedures/column_file.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <utility>
#include <vector>

#include "model/atomic_file.h"
#include "model/field_table.h"

namespace tarvelo {
namespace {

using nlohmann::json;

constexpr std::string_view kFormat = "tarvelo-column";
constexpr int kVersion = 1;
constexpr int kMaxNesting = 16;

struct FileError {
    std::string message;
};

// The field kept under `key` in the file object `group` ("main", "section.CircularSolid",
// "loads"), or nullptr.
const FieldInfo* FileField(std::string_view group, std::string_view key) {
    for (const FieldInfo& field : Fields()) {
        if (field.fileGroup == group && field.fileKey == key) return &field;
    }
    return nullptr;
}

bool IsFileGroup(std::string_view group) {
    for (const FieldInfo& field : Fields()) {
        if (field.fileGroup == group) return true;
    }
    return false;
}

// The object of a dotted group path ("section.CircularSolid"), created as needed.
json& GroupObject(json& root, std::string_view group) {
    json* object = &root;
    while (true) {
        const std::size_t dot = group.find('.');
        object = &(*object)[std::string(group.substr(0, dot))];
        if (dot == std::string_view::npos) return *object;
        group = group.substr(dot + 1);
    }
}

class Reader {
  public:
    explicit Reader(std::string_view name) : name_(name) {}

    [[noreturn]] void Fail(const std::string& where, const std::string& what) const {
        throw FileError{std::string(name_) + ": " + where + ": " + what};
    }

    // A text value: a string as it is, or a number kept as its shortest decimal text.
    std::string Text(const json& value, const std::string& where) const {
        if (value.is_string()) return value.get<std::string>();
        if (value.is_number_integer() || value.is_number_unsigned()) return value.dump();
        if (value.is_number_float()) {
            const double d = value.get<double>();
            if (!std::isfinite(d)) Fail(where, "número fora do intervalo aceito");
            return value.dump();
        }
        Fail(where, "esperava um texto ou um número");
    }

    const json& Object(const json& parent, std::string_view key, const std::string& where) const {
        const json& value = parent.at(std::string(key));
        if (!value.is_object()) Fail(where, "esperava um objeto");
        return value;
    }

    void CheckKeys(const json& object, std::initializer_list<std::string_view> known,
                   const std::string& where) const {
        for (auto it = object.begin(); it != object.end(); ++it) {
            bool found = false;
            for (std::string_view k : known)
                found = found || it.key() == k;
            if (!found) Fail(where + "." + it.key(), "chave desconhecida");
        }
    }

    // One key of the file object `group`, whose keys are text fields.
    void ReadText(const std::string& group, const std::string& key, const json& value,
                  ColumnData& data) const {
        const FieldInfo* field = FileField(group, key);
        if (field == nullptr) Fail(group + "." + key, "chave desconhecida");
        data.*(field->member) = Text(value, group + "." + key);
    }

    std::vector<GridRow> Rows(const json& value, const std::string& where) const {
        if (!value.is_array()) Fail(where, "esperava uma lista de pares [x, y]");
        if (value.size() > kMaxGridRows) {
            Fail(where, "no máximo " + std::to_string(kMaxGridRows) + " linhas são aceitas");
        }
        std::vector<GridRow> rows;
        for (std::size_t i = 0; i < value.size(); ++i) {
            const std::string at = where + "[" + std::to_string(i) + "]";
            const json& pair = value[i];
            if (!pair.is_array() || pair.size() != 2) Fail(at, "esperava um par [x, y]");
            rows.push_back({Text(pair[0], at + "[0]"), Text(pair[1], at + "[1]")});
        }
        return rows;
    }

  private:
    std::string_view name_;
};

// Deeply nested input is refused before parsing.
bool NestingTooDeep(std::string_view text) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (char ch : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (ch == '\\') {
                escaped = true;
            } else if (ch == '"') {
                inString = false;
            }
            continue;
        }
        if (ch == '"') {
            inString = true;
        } else if (ch == '[' || ch == '{') {
            if (++depth > kMaxNesting) return true;
        } else if (ch == ']' || ch == '}') {
            --depth;
        }
    }
    return false;
}

void LineAndColumn(std::string_view text, std::size_t byte, std::size_t& line,
                   std::size_t& column) {
    line = 1;
    column = 1;
    for (std::size_t i = 0; i < byte && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
}

ColumnData Parse(std::string_view text, std::string_view name) {
    Reader r(name);
    if (text.size() > kMaxColumnFileBytes) {
        r.Fail("arquivo", "grande demais para um arquivo de pilar (mais de 2 MiB)");
    }
    if (NestingTooDeep(text)) r.Fail("arquivo", "estrutura aninhada demais");
    json root;
    try {
        root = json::parse(text.begin(), text.end());
    } catch (const json::parse_error& e) {
        std::size_t line = 0;
        std::size_t column = 0;
        LineAndColumn(text, e.byte > 0 ? e.byte - 1 : 0, line, column);
        r.Fail("linha " + std::to_string(line) + ", coluna " + std::to_string(column),
               "JSON inválido");
    } catch (const json::out_of_range&) {
        r.Fail("arquivo", "um número está fora do intervalo numérico aceito");
    }
    if (!root.is_object()) r.Fail("arquivo", "esperava um objeto JSON");
    r.CheckKeys(root, {"format", "version", "title", "main", "section", "loads"}, "arquivo");
    if (!root.contains("format") || !root["format"].is_string() ||
        root["format"].get<std::string>() != kFormat) {
        r.Fail("format", "não é um arquivo de pilar (esperava \"tarvelo-column\")");
    }
    if (!root.contains("version") || !root["version"].is_number_integer() ||
        root["version"].get<long long>() != kVersion) {
        r.Fail("version", "versão não suportada (esperava 1)");
    }

    ColumnData data;
    if (root.contains("title")) data.title = r.Text(root["title"], "title");

    if (root.contains("main")) {
        const json& main = r.Object(root, "main", "main");
        for (auto it = main.begin(); it != main.end(); ++it) {
            if (it.key() == "sectionType") {
                if (!it->is_string() ||
                    !ParseSectionType(it->get<std::string>(), data.sectionType)) {
                    r.Fail("main.sectionType",
                           "tipo de seção desconhecido (RectangularSolid, RectangularHollow, "
                           "CircularSolid, CircularHollow ou Polygonal)");
                }
            } else {
                r.ReadText("main", it.key(), it.value(), data);
            }
        }
    }

    if (root.contains("section")) {
        const json& section = r.Object(root, "section", "section");
        for (auto it = section.begin(); it != section.end(); ++it) {
            const std::string where = "section." + it.key();
            if (it.key() == "vertices") {
                data.vertices = r.Rows(it.value(), where);
                continue;
            }
            if (it.key() == "bars") {
                data.bars = r.Rows(it.value(), where);
                continue;
            }
            if (!IsFileGroup(where)) r.Fail(where, "chave desconhecida");
            if (!it->is_object()) r.Fail(where, "esperava um objeto");
            for (auto field = it->begin(); field != it->end(); ++field) {
                r.ReadText(where, field.key(), field.value(), data);
            }
        }
    }

    if (root.contains("loads")) {
        const json& loads = r.Object(root, "loads", "loads");
        for (auto it = loads.begin(); it != loads.end(); ++it) {
            const std::string where = "loads." + it.key();
            if (it.key() == "baseSupport" || it.key() == "topSupport") {
                SupportCondition support{};
                if (!it->is_string() || !ParseSupportCondition(it->get<std::string>(), support)) {
                    r.Fail(where, "condição de apoio desconhecida (Fixed, Pinned ou Free)");
                }
                if (it.key() == "baseSupport") {
                    if (support == SupportCondition::Free) {
                        r.Fail(where, "a base não pode ser livre (Fixed ou Pinned)");
                    }
                    data.baseSupport = support;
                } else {
                    data.topSupport = support;
                }
                continue;
            }
            r.ReadText("loads", it.key(), it.value(), data);
        }
    }
    return data;
}

// A text as JSON. Texts typed in the windows are UTF-8; anything else is replaced rather than
// refused.
std::string Scalar(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

// The file's layout: one key per line, indented by one blank per level, except that a grid row
// (an array of texts) stays on one line, so that two versions of a column compare line by line.
void Write(const json& value, int depth, std::string& out) {
    const bool object = value.is_object();
    if (!object && !value.is_array()) {
        out += Scalar(value);
        return;
    }
    if (value.empty()) {
        out += object ? "{}" : "[]";
        return;
    }
    if (!object && std::none_of(value.begin(), value.end(),
                                [](const json& item) { return item.is_structured(); })) {
        out += '[';
        for (auto it = value.begin(); it != value.end(); ++it) {
            if (it != value.begin()) out += ", ";
            out += Scalar(*it);
        }
        out += ']';
        return;
    }
    out += object ? "{\n" : "[\n";
    for (auto it = value.begin(); it != value.end(); ++it) {
        if (it != value.begin()) out += ",\n";
        out.append(static_cast<std::size_t>(depth) + 1, ' ');
        if (object) out += Scalar(it.key()) + ": ";
        Write(it.value(), depth + 1, out);
    }
    out += '\n';
    out.append(static_cast<std::size_t>(depth), ' ');
    out += object ? '}' : ']';
}

json RowsOf(const std::vector<GridRow>& rows) {
    json array = json::array();
    for (const GridRow& row : rows)
        array.push_back(json::array({row.x, row.y}));
    return array;
}

}  // namespace

bool ParseColumnFile(std::string_view text, std::string_view name, ColumnData& out,
                     std::string& error) {
    try {
        ColumnData data = Parse(text, name);
        out = std::move(data);
        return true;
    } catch (const FileError& e) {
        error = e.message;
    } catch (const json::exception& e) {
        error = std::string(name) + ": " + e.what();
    }
    return false;
}

std::string FormatColumnFile(const ColumnData& data) {
    json root;
    root["format"] = kFormat;
    root["version"] = kVersion;
    root["title"] = data.title;
    for (const FieldInfo& field : Fields()) {
        GroupObject(root, field.fileGroup)[std::string(field.fileKey)] = data.*(field.member);
    }
    root["main"]["sectionType"] = SectionTypeName(data.sectionType);
    root["section"]["vertices"] = RowsOf(data.vertices);
    root["section"]["bars"] = RowsOf(data.bars);
    root["loads"]["baseSupport"] = SupportConditionName(data.baseSupport);
    root["loads"]["topSupport"] = SupportConditionName(data.topSupport);
    std::string text;
    Write(root, 0, text);
    return text + "\n";
}

bool ReadColumnFile(const std::string& path, ColumnData& out, std::string& error) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        error = path + ": não foi possível ler o arquivo (" + ec.message() + ")";
        return false;
    }
    if (size > kMaxColumnFileBytes) {
        error = path + ": arquivo grande demais para um arquivo de pilar (mais de 2 MiB)";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": não foi possível abrir o arquivo";
        return false;
    }
    std::string text;
    text.resize(static_cast<std::size_t>(size));
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        error = path + ": erro de leitura";
        return false;
    }
    return ParseColumnFile(text, path, out, error);
}

bool WriteColumnFile(const std::string& path, const ColumnData& data, std::string& error) {
    return WriteFileAtomically(path, FormatColumnFile(data), error);
}

}  // namespace tarvelo
