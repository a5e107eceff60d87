#include "procedures/column_file.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <nlohmann/json.hpp>
#include <utility>
#include <vector>

#include "model/atomic_file.h"

namespace tarvelo {
namespace {

using nlohmann::json;

constexpr std::string_view kFormat = "tarvelo-column";
constexpr int kVersion = 1;
constexpr int kMaxNesting = 16;

struct FileError {
    std::string message;
};

// Keys of one JSON object bound to the text fields they fill.
struct TextKey {
    std::string_view key;
    std::string ColumnData::*field;
};

constexpr TextKey kMainKeys[] = {
    {"fck", &ColumnData::fck},
    {"creepCoefficient", &ColumnData::creepCoefficient},
    {"fyk", &ColumnData::fyk},
    {"Es", &ColumnData::Es},
    {"Gamac", &ColumnData::Gamac},
    {"Gamas", &ColumnData::Gamas},
    {"vertexCount", &ColumnData::vertexCount},
    {"barCount", &ColumnData::barCount},
    {"totalSteelArea", &ColumnData::totalSteelArea},
};
constexpr TextKey kRectangularSolidKeys[] = {{"hx", &ColumnData::rectHx},
                                             {"hy", &ColumnData::rectHy}};
constexpr TextKey kRectangularHollowKeys[] = {{"hx", &ColumnData::hollowHx},
                                              {"hy", &ColumnData::hollowHy},
                                              {"bxo", &ColumnData::hollowBxo},
                                              {"byo", &ColumnData::hollowByo}};
constexpr TextKey kCircularSolidKeys[] = {{"diameter", &ColumnData::circleDiameter},
                                          {"cover", &ColumnData::circleCover}};
constexpr TextKey kCircularHollowKeys[] = {{"De", &ColumnData::hollowCircleDe},
                                           {"Di", &ColumnData::hollowCircleDi},
                                           {"cover", &ColumnData::hollowCircleCover}};
constexpr TextKey kLoadKeys[] = {
    {"L", &ColumnData::L},         {"Fd", &ColumnData::Fd},       {"Hxd_t", &ColumnData::Hxd_t},
    {"Hyd_t", &ColumnData::Hyd_t}, {"Mxd_t", &ColumnData::Mxd_t}, {"Myd_t", &ColumnData::Myd_t},
    {"Mxd_b", &ColumnData::Mxd_b}, {"Myd_b", &ColumnData::Myd_b}, {"pxd", &ColumnData::pxd},
    {"pyd", &ColumnData::pyd},
};

struct SectionGroup {
    std::string_view key;
    const TextKey* begin;
    const TextKey* end;
};
constexpr SectionGroup kSectionGroups[] = {
    {"RectangularSolid", std::begin(kRectangularSolidKeys), std::end(kRectangularSolidKeys)},
    {"RectangularHollow", std::begin(kRectangularHollowKeys), std::end(kRectangularHollowKeys)},
    {"CircularSolid", std::begin(kCircularSolidKeys), std::end(kCircularSolidKeys)},
    {"CircularHollow", std::begin(kCircularHollowKeys), std::end(kCircularHollowKeys)},
};

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

    // One key of an object whose keys are text fields.
    void ReadText(const std::string& key, const json& value, const TextKey* begin,
                  const TextKey* end, const std::string& where, ColumnData& data) const {
        for (const TextKey* k = begin; k != end; ++k) {
            if (key == k->key) {
                data.*(k->field) = Text(value, where + "." + key);
                return;
            }
        }
        Fail(where + "." + key, "chave desconhecida");
    }

    void ReadTexts(const json& object, const TextKey* begin, const TextKey* end,
                   const std::string& where, ColumnData& data) const {
        for (auto it = object.begin(); it != object.end(); ++it) {
            ReadText(it.key(), it.value(), begin, end, where, data);
        }
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
                r.ReadText(it.key(), it.value(), std::begin(kMainKeys), std::end(kMainKeys), "main",
                           data);
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
            const SectionGroup* group = nullptr;
            for (const SectionGroup& g : kSectionGroups) {
                if (it.key() == g.key) group = &g;
            }
            if (group == nullptr) r.Fail(where, "chave desconhecida");
            if (!it->is_object()) r.Fail(where, "esperava um objeto");
            r.ReadTexts(it.value(), group->begin, group->end, where, data);
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
            r.ReadText(it.key(), it.value(), std::begin(kLoadKeys), std::end(kLoadKeys), "loads",
                       data);
        }
    }
    return data;
}

json TextsOf(const ColumnData& data, const TextKey* begin, const TextKey* end) {
    json object = json::object();
    for (const TextKey* k = begin; k != end; ++k)
        object[std::string(k->key)] = data.*(k->field);
    return object;
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
    json main = TextsOf(data, std::begin(kMainKeys), std::end(kMainKeys));
    main["sectionType"] = SectionTypeName(data.sectionType);
    root["main"] = main;
    json section = json::object();
    for (const SectionGroup& g : kSectionGroups) {
        section[std::string(g.key)] = TextsOf(data, g.begin, g.end);
    }
    section["vertices"] = RowsOf(data.vertices);
    section["bars"] = RowsOf(data.bars);
    root["section"] = section;
    json loads = TextsOf(data, std::begin(kLoadKeys), std::end(kLoadKeys));
    loads["baseSupport"] = SupportConditionName(data.baseSupport);
    loads["topSupport"] = SupportConditionName(data.topSupport);
    root["loads"] = loads;
    // Texts typed in the windows are UTF-8; anything else is replaced rather than refused.
    return root.dump(1, ' ', false, json::error_handler_t::replace) + "\n";
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
