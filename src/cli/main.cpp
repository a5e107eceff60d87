// tarvelo-cli: verifies and designs columns from column files, without windows.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "cli/envelope_command.h"
#include "cli/report_command.h"
#include "procedures/column_file.h"
#include "procedures/load_case_csv.h"
#include "procedures/load_cases.h"
#include "procedures/recording_host.h"
#include "procedures/run_json.h"

namespace {

using tarvelo::RecordingHost;
using tarvelo::RunKind;

struct RunOutput {
    int status = 0;  // 0 completed, 1 ended by a message, 2 file error
    std::string text;
};

struct Options {
    RunKind command = RunKind::Verify;
    bool json = false;
    bool stopOnQuestion = false;
    // --combinations: the load cases that replace every column's own (empty: keep them).
    std::vector<tarvelo::LoadCase> cases;
};

// The result lines of a completed run: S, or the calculated and minimum areas (the minimum is
// passed: for several cases it is the largest over them), each followed by its refined value.
// The refined values have lines of their own only when there are any.
void PrintResult(const tarvelo::AnalysisResult& r, bool verify, const std::string& minimum,
                 const char* indent, std::string& t) {
    if (verify) {
        t += indent + ("Coeficiente de segurança S= " + r.safetyText) + "\n";
        if (!r.refinedSafetyText.empty())
            t += indent + ("S refinado= " + r.refinedSafetyText) + "\n";
    } else {
        t += indent + ("Armadura calculada (cm2)= " + r.requiredText) + "\n";
        t += indent + ("Armadura mínima (cm2)= " + minimum) + "\n";
        if (!r.refinedRequiredText.empty())
            t += indent + ("Armadura refinada (cm2)= " + r.refinedRequiredText) + "\n";
    }
}

// A column of several load cases: the column's own boxes, each case with its messages and
// result, then the governing case.
void PrintCases(const tarvelo::CasesRun& run, bool verify, std::string& t) {
    auto boxLine = [&t](const RecordingHost::Box& box, const char* indent) {
        t += indent;
        t += box.question ? "Pergunta: " + box.text + " -> " + (box.answer ? "Sim" : "Não")
                          : "Aviso: " + box.text;
        t += "\n";
    };
    for (const tarvelo::CaseRun& c : run.cases) {
        t += "  " + c.Label() + " — " +
             (c.generated ? c.name.substr(c.name.find(" — ") + 5) : c.name) + "\n";
        for (const RecordingHost::Box& box : c.host.boxes)
            boxLine(box, "    ");
        if (c.result->completed) {
            PrintResult(*c.result, verify, c.result->minimumText, "    ", t);
        } else {
            t += "    Cálculo interrompido.\n";
        }
    }
    if (run.governing < 0) {
        t += "  Cálculo interrompido.\n";
        return;
    }
    const tarvelo::CaseRun& g = run.cases[static_cast<std::size_t>(run.governing)];
    t += "  " + run.GoverningLabel() + "\n";
    const std::string& minimum =
        verify ? g.result->minimumText
               : run.cases[static_cast<std::size_t>(run.largestMinimum)].result->minimumText;
    PrintResult(*g.result, verify, minimum, "  ", t);
    if (!run.AllCompleted()) t += "  Atenção: há combinações cujo cálculo foi interrompido.\n";
}

RunOutput RunOne(const std::string& path, const Options& options) {
    RunOutput out;
    tarvelo::ColumnData data;
    std::string error;
    if (!tarvelo::ReadColumnFile(path, data, error)) {
        out.status = 2;
        out.text = options.json ? tarvelo::FileErrorJson(path, options.command, error) + "\n"
                                : "Erro: " + error + "\n";
        return out;
    }

    if (!options.cases.empty()) tarvelo::SetCases(data, options.cases);

    RecordingHost host;
    host.answerYes = options.stopOnQuestion;
    if (tarvelo::RunsByCase(data)) {
        const tarvelo::CasesRun run = tarvelo::RunCases(options.command, data, host);
        out.status = run.AllCompleted() ? 0 : 1;
        if (options.json) {
            out.text = tarvelo::CasesRunJson(path, options.command, host, run) + "\n";
            return out;
        }
        const bool verify = options.command == RunKind::Verify;
        out.text = path + ": " + (verify ? "VERIFICAR" : "DIMENSIONAR") + "\n";
        for (const RecordingHost::Box& box : host.boxes) {
            out.text += box.question ? "  Pergunta: " + box.text + " -> " +
                                           (box.answer ? "Sim" : "Não") + "\n"
                                     : "  Aviso: " + box.text + "\n";
        }
        if (run.columnEnded) {
            out.text += "  Cálculo interrompido.\n";
        } else {
            PrintCases(run, verify, out.text);
        }
        return out;
    }
    const auto result = tarvelo::RunProcedure(options.command, data, host);
    out.status = result->completed ? 0 : 1;
    if (options.json) {
        out.text = tarvelo::RunResultJson(path, options.command, host, *result) + "\n";
        return out;
    }

    const bool verify = options.command == RunKind::Verify;
    std::string& t = out.text;
    t += path + ": " + (verify ? "VERIFICAR" : "DIMENSIONAR") + "\n";
    for (const RecordingHost::Box& box : host.boxes) {
        if (box.question) {
            t += "  Pergunta: " + box.text + " -> " + (box.answer ? "Sim" : "Não") + "\n";
        } else {
            t += "  Aviso: " + box.text + "\n";
        }
    }
    if (result->completed) {
        PrintResult(*result, verify, result->minimumText, "  ", t);
    } else {
        t += "  Cálculo interrompido.\n";
    }
    return out;
}

int RunFiles(const std::vector<std::string>& files, const Options& options, int jobs) {
    std::vector<RunOutput> outputs(files.size());
    std::atomic<std::size_t> next{0};
    auto worker = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++) {
            outputs[i] = RunOne(files[i], options);
        }
    };
    const int threads = std::max(1, std::min<int>(jobs, static_cast<int>(files.size())));
    std::vector<std::thread> pool;
    for (int i = 1; i < threads; ++i)
        pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool)
        t.join();

    int status = 0;
    for (const RunOutput& o : outputs) {
        std::fputs(o.text.c_str(), stdout);
        status = std::max(status, o.status);
    }
    return status;
}

// --combinations: the load cases of a CSV file (at most as large as a column file).
bool ReadCombinations(const std::string& path, std::vector<tarvelo::LoadCase>& out,
                      std::string& error) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) {
        error = path + ": não foi possível ler o arquivo";
        return false;
    }
    if (size > tarvelo::kMaxColumnFileBytes) {
        error = path + ": arquivo grande demais (mais de 2 MiB)";
        return false;
    }
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    return tarvelo::ReadLoadCaseCsv(text, path, out, error);
}

// The PDF is painted with Qt, which the analysis commands must not load: `report --pdf` is
// handed, with all its arguments, to tarvelo-report-pdf in this program's own folder.
int RunPdfReportProgram(char** argv) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string program = (self.parent_path() / "tarvelo-report-pdf").string();
    argv[0] = const_cast<char*>(program.c_str());
    ::execv(program.c_str(), argv);
    std::fprintf(stderr,
                 "Esta versão foi compilada sem Qt: o relatório em PDF não está disponível "
                 "(use --txt). %s: %s\n",
                 program.c_str(), std::strerror(errno));
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"TARVELO - verificação e dimensionamento de pilares esbeltos de concreto armado"};
    app.require_subcommand(1);

    Options options;
    std::vector<std::string> files;
    int jobs = 1;
    std::string combinations;
    auto addRunOptions = [&](CLI::App* sub) {
        sub->add_option("files", files, "Arquivos de pilar (.json)")->required();
        sub->add_flag("--json", options.json, "Um objeto JSON por arquivo");
        sub->add_option("-j,--jobs", jobs, "Arquivos calculados em paralelo")
            ->check(CLI::Range(1, 256));
        sub->add_option("--combinations", combinations,
                        "Combinações de um arquivo CSV no lugar das do pilar");
        sub->add_flag("--stop-on-question", options.stopOnQuestion,
                      "Responder Sim às perguntas (encerra o cálculo)");
    };
    CLI::App* verify = app.add_subcommand("verify", "VERIFICAR: coeficiente de segurança S");
    addRunOptions(verify);
    CLI::App* design = app.add_subcommand("design", "DIMENSIONAR: área de aço necessária");
    addRunOptions(design);

    tarvelo::cli::EnvelopeOptions envelope;
    CLI::App* envelopeCommand = tarvelo::cli::AddEnvelopeCommand(app, envelope);

    tarvelo::cli::ReportOptions report;
    CLI::App* reportCommand = tarvelo::cli::AddReportCommand(app, report);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }

    if (*envelopeCommand) return tarvelo::cli::RunEnvelopeCommand(envelope);
    if (*reportCommand) {
        if (!report.pdf.empty()) return RunPdfReportProgram(argv);
        return tarvelo::cli::RunReportCommand(report, nullptr);
    }
    options.command = *design ? RunKind::Design : RunKind::Verify;
    if (!combinations.empty()) {
        std::string error;
        if (!ReadCombinations(combinations, options.cases, error)) {
            std::fprintf(stderr, "Erro: %s\n", error.c_str());
            return 2;
        }
    }
    return RunFiles(files, options, jobs);
}
