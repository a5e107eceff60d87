#include "cli/report_command.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

#include "model/atomic_file.h"
#include "procedures/column_file.h"
#include "procedures/envelope_run.h"
#include "procedures/load_cases.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "report/report_content.h"
#include "report/report_envelope.h"
#include "report/report_snapshot.h"

namespace tarvelo::cli {
namespace {

// The result field as the procedure left it; a field it did not touch keeps the empty text of
// a freshly started program.
std::string Field(const RecordingHost& host, ResultField field) {
    const auto it = host.fields.find(field);
    return it != host.fields.end() ? it->second : std::string();
}

// The envelope's table after the text report: the column's envelope is run quietly (its
// messages were those of the run just made) and its lines are added to the file.
bool AppendEnvelopeTable(const ColumnData& data, bool verify, const std::string& path,
                         std::string& error) {
    RecordingHost quiet;
    const auto run = RunEnvelope(
        CasesOf(data), verify ? EnvelopeSource::Verification : EnvelopeSource::Design, quiet);
    if (!run->completed) return true;
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text += report::EnvelopeText(*run);
    return WriteFileAtomically(path, text, error);
}

}  // namespace

CLI::App* AddReportCommand(CLI::App& app, ReportOptions& options) {
    CLI::App* command = app.add_subcommand("report", "Relatório de cálculo em PDF e/ou texto");
    command->add_option("file", options.file, "Arquivo de pilar (.json)")->required();
    command->add_option("--pdf", options.pdf, "Relatório em PDF");
    command->add_option("--txt", options.txt, "Relatório em texto");
    command->add_option("--after", options.after, "Procedimento antes do relatório")
        ->check(CLI::IsMember({"verify", "design"}));
    command->add_flag("--envelope", options.envelope,
                      "Envoltória resistente ao fim do relatório (página e tabela)");
    return command;
}

int RunReportCommand(const ReportOptions& options, const PdfWriter& writePdf) {
    if (options.pdf.empty() && options.txt.empty()) {
        std::fprintf(stderr, "Nada a gravar: indique --pdf e/ou --txt.\n");
        return 2;
    }

    ColumnData data;
    std::string error;
    if (!ReadColumnFile(options.file, data, error)) {
        std::fprintf(stderr, "Erro: %s\n", error.c_str());
        return 2;
    }

    // The procedure as its button runs it; questions are answered No, which goes on.
    const bool verify = options.after != "design";
    RecordingHost host;
    report::ReportedRun run =
        report::RunForReport(verify ? RunKind::Verify : RunKind::Design, data, host);
    const std::unique_ptr<AnalysisResult>& result = run.result;
    for (const RecordingHost::Box& box : host.boxes) {
        std::fprintf(stderr, "%s: %s%s\n", box.question ? "Pergunta" : "Aviso", box.text.c_str(),
                     box.question ? (box.answer ? " -> Sim" : " -> Não") : "");
    }

    if (host.fields.count(ResultField::TotalSteelArea) != 0) {
        data.totalSteelArea = host.fields[ResultField::TotalSteelArea];
    }
    report::RunRecord runs;
    runs.Record(*result, !verify);
    report::ReportResultTexts fields;
    fields.safety = Field(host, ResultField::SafetyCoefficient);
    fields.required = Field(host, ResultField::RequiredSteel);
    fields.minimum = Field(host, ResultField::MinimumSteel);
    fields.refinedSafety = Field(host, ResultField::RefinedSafetyCoefficient);
    fields.refinedRequired = Field(host, ResultField::RefinedRequiredSteel);
    fields.cases = std::move(run.cases);
    const auto snapshot =
        std::make_unique<report::ReportSnapshot>(report::MakeReportSnapshot(data, fields, runs));

    snapshot->withEnvelope = options.envelope && result->completed;
    int status = result->completed ? 0 : 1;
    if (!result->completed) std::fprintf(stderr, "Cálculo interrompido.\n");

    if (!options.txt.empty() &&
        !report::WriteReportText(data, snapshot->results, snapshot->runs.sectionConstants,
                                 options.txt, error)) {
        std::fprintf(stderr, "Erro: %s\n", error.c_str());
        status = 2;
    } else if (!options.txt.empty() && options.envelope && result->completed &&
               !AppendEnvelopeTable(data, verify, options.txt, error)) {
        std::fprintf(stderr, "Erro: %s\n", error.c_str());
        status = 2;
    }
    if (!options.pdf.empty() && writePdf && !writePdf(*snapshot, options.pdf, error)) {
        std::fprintf(stderr, "Erro: %s\n", error.c_str());
        status = 2;
    }
    return status;
}

}  // namespace tarvelo::cli
