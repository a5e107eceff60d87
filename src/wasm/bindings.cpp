// The core for the browser: a thin embind layer that converts between JavaScript values and the
// core's own formats. The column file's text goes in; the JSON of `tarvelo-cli verify|design
// --json`, the column's field texts or the column file's bytes come out. Every decision stays in
// the core, so the browser and the native programs give the same texts.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "model/field_table.h"
#include "model/load_case.h"
#include "procedures/column_file.h"
#include "procedures/envelope_run.h"
#include "procedures/recording_host.h"
#include "procedures/run_json.h"

namespace tarvelo::wasm {
namespace {

using emscripten::val;

// The page's listeners: progress lines and the yes/no questions of the input rules. Unset, the
// progress is dropped and every question is answered No, which goes on as the command line does.
val& ProgressListener() {
    static val listener = val::undefined();
    return listener;
}
val& QuestionListener() {
    static val listener = val::undefined();
    return listener;
}

// Records the run for its JSON and hands progress and questions to the page.
class PageHost : public RecordingHost {
  public:
    bool AskYesNo(std::string_view title, std::string_view text) override {
        const val& ask = QuestionListener();
        answerYes = !ask.isUndefined() && !ask.isNull() &&
                    ask(std::string(title), std::string(text)).as<bool>();
        return RecordingHost::AskYesNo(title, text);
    }
    void ProgressLine(std::string_view line) override {
        RecordingHost::ProgressLine(line);
        const val& listener = ProgressListener();
        if (!listener.isUndefined() && !listener.isNull()) listener(std::string(line));
    }
};

std::string Run(RunKind kind, const std::string& text, const std::string& name) {
    ColumnData data;
    std::string error;
    if (!ParseColumnFile(text, name, data, error)) return FileErrorJson(name, kind, error);
    PageHost host;
    return RunColumnJson(name, kind, data, host);
}

// `name` is the file name that the JSON and the messages carry; without it they carry "".
std::string Verify(const std::string& text, const std::string& name) {
    return Run(RunKind::Verify, text, name);
}
std::string Design(const std::string& text, const std::string& name) {
    return Run(RunKind::Design, text, name);
}
std::string VerifyUnnamed(const std::string& text) {
    return Verify(text, "");
}
std::string DesignUnnamed(const std::string& text) {
    return Design(text, "");
}

// `tarvelo-cli envelope --json` for the page. options: {name, axial (kN; absent: Fd of the
// governing case), angles (72 when absent)}. The browser build has no threads: the rays run one
// after the other.
std::string Envelope(const std::string& text, const val& options) {
    const bool given = !options.isUndefined() && !options.isNull();
    const auto entry = [&](const char* key) { return given ? options[key] : val::undefined(); };
    const std::string name = entry("name").isString() ? entry("name").as<std::string>() : "";
    ColumnData data;
    std::string error;
    if (!ParseColumnFile(text, name, data, error)) return EnvelopeFileErrorJson(name, error);
    PageHost host;
    const auto run = RunEnvelope(CasesOf(data), EnvelopeSource::Verification, host, 1);
    const val axial = entry("axial");
    const double N = axial.isNumber() ? axial.as<double>() : EnvelopeAxialForce(*run);
    if (!std::isfinite(N)) {
        return EnvelopeFileErrorJson(name, "axial: a força normal deve ser um número finito");
    }
    const val angles = entry("angles");
    const int rays = angles.isNumber() ? std::clamp(angles.as<int>(), 1, 3600) : 72;
    std::vector<ContourRay> contour;
    if (run->completed) contour = run->envelope->Contour(N, rays, 1);
    return EnvelopeJson(name, host, *run, N, contour);
}

// Field texts as a plain object: the title, the section kind and the supports by their file
// names, one entry per input field named as its widget ("fckField"), and the two grids as
// arrays of [x, y] texts.
val GridToJs(const std::vector<GridRow>& rows) {
    val array = val::array();
    for (const GridRow& row : rows) {
        val pair = val::array();
        pair.call<void>("push", row.x, row.y);
        array.call<void>("push", pair);
    }
    return array;
}

// A field's text from whatever the page holds: a number becomes its JavaScript text, a missing
// value none.
std::string TextFromJs(const val& v) {
    if (v.isUndefined() || v.isNull()) return {};
    if (v.isString()) return v.as<std::string>();
    return val::global("String")(v).as<std::string>();
}

std::vector<GridRow> GridFromJs(const val& array) {
    std::vector<GridRow> rows;
    if (!val::global("Array").call<bool>("isArray", array)) return rows;
    const int n = array["length"].as<int>();
    for (int i = 0; i < n; ++i) {
        const val pair = array[i];
        const bool isPair = val::global("Array").call<bool>("isArray", pair);
        rows.push_back({isPair ? TextFromJs(pair[0]) : std::string(),
                        isPair ? TextFromJs(pair[1]) : std::string()});
    }
    return rows;
}

val FieldsToJs(const ColumnData& data) {
    val fields = val::object();
    fields.set("title", data.title);
    fields.set("sectionType", std::string(SectionTypeName(data.sectionType)));
    fields.set("baseSupport", std::string(SupportConditionName(data.baseSupport)));
    fields.set("topSupport", std::string(SupportConditionName(data.topSupport)));
    for (const FieldInfo& field : Fields())
        fields.set(std::string(field.widget), data.*field.member);
    fields.set("vertices", GridToJs(data.vertices));
    fields.set("bars", GridToJs(data.bars));
    // The load cases beyond the first, whose loads are the fields above.
    fields.set("firstCaseName", data.firstCaseName);
    val cases = val::array();
    for (const LoadCase& c : data.otherCases) {
        val entry = val::object();
        entry.set("name", c.name);
        for (const LoadCaseKey& key : kLoadCaseKeys)
            entry.set(std::string(key.key), c.*(key.member));
        cases.call<void>("push", entry);
    }
    fields.set("otherCases", cases);
    fields.set("minimumMoments", data.minimumMoments);
    return fields;
}

// Entries that are missing keep the texts of a fresh column, as in a new window.
ColumnData FieldsFromJs(const val& fields) {
    ColumnData data;
    if (fields.typeOf().as<std::string>() != "object" || fields.isNull()) return data;
    const auto text = [&](const char* key, std::string& out) {
        const val v = fields[key];
        if (!v.isUndefined() && !v.isNull()) out = TextFromJs(v);
    };
    text("title", data.title);
    std::string name;
    text("sectionType", name);
    ParseSectionType(name, data.sectionType);
    name.clear();
    text("baseSupport", name);
    ParseSupportCondition(name, data.baseSupport);
    name.clear();
    text("topSupport", name);
    ParseSupportCondition(name, data.topSupport);
    for (const FieldInfo& field : Fields())
        text(std::string(field.widget).c_str(), data.*field.member);
    data.vertices = GridFromJs(fields["vertices"]);
    data.bars = GridFromJs(fields["bars"]);
    text("firstCaseName", data.firstCaseName);
    const val cases = fields["otherCases"];
    if (val::global("Array").call<bool>("isArray", cases)) {
        const int n = cases["length"].as<int>();
        for (int i = 0; i < n; ++i) {
            const val entry = cases[i];
            LoadCase c;
            if (!entry["name"].isUndefined()) c.name = TextFromJs(entry["name"]);
            for (const LoadCaseKey& key : kLoadCaseKeys)
                c.*(key.member) = TextFromJs(entry[std::string(key.key)]);
            data.otherCases.push_back(std::move(c));
        }
    }
    data.minimumMoments = fields["minimumMoments"].isTrue();
    return data;
}

// {fields} for a good file, {error} with the desktop's message otherwise.
val ReadColumnText(const std::string& text, const std::string& name) {
    ColumnData data;
    std::string error;
    val answer = val::object();
    if (ParseColumnFile(text, name, data, error)) {
        answer.set("fields", FieldsToJs(data));
    } else {
        answer.set("error", error);
    }
    return answer;
}

val ReadColumnTextUnnamed(const std::string& text) {
    return ReadColumnText(text, "");
}

std::string FormatColumnText(const val& fields) {
    return FormatColumnFile(FieldsFromJs(fields));
}

void SetProgressListener(const val& listener) {
    ProgressListener() = listener;
}
void SetQuestionListener(const val& listener) {
    QuestionListener() = listener;
}

}  // namespace
}  // namespace tarvelo::wasm

EMSCRIPTEN_BINDINGS(tarvelo_core) {
    using namespace tarvelo::wasm;
    emscripten::function("verify", &Verify);
    emscripten::function("verify", &VerifyUnnamed);
    emscripten::function("design", &Design);
    emscripten::function("design", &DesignUnnamed);
    emscripten::function("envelope", &Envelope);
    emscripten::function("readColumnFile", &ReadColumnText);
    emscripten::function("readColumnFile", &ReadColumnTextUnnamed);
    emscripten::function("formatColumnFile", &FormatColumnText);
    emscripten::function("setProgressListener", &SetProgressListener);
    emscripten::function("setQuestionListener", &SetQuestionListener);
}
