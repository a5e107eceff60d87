// tarvelo-cli: verifies and designs columns from column files, without windows.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "cli/report_command.h"
#include "procedures/column_file.h"
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
};

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

    RecordingHost host;
    host.answerYes = options.stopOnQuestion;
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
    if (!result->completed) {
        t += "  Cálculo interrompido.\n";
    } else if (verify) {
        t += "  Coeficiente de segurança S= " + result->safetyText + "\n";
        // The refined values have lines of their own only when there are any.
        if (!result->refinedSafetyText.empty())
            t += "  S refinado= " + result->refinedSafetyText + "\n";
    } else {
        t += "  Armadura calculada (cm2)= " + result->requiredText + "\n";
        t += "  Armadura mínima (cm2)= " + result->minimumText + "\n";
        if (!result->refinedRequiredText.empty())
            t += "  Armadura refinada (cm2)= " + result->refinedRequiredText + "\n";
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
    auto addRunOptions = [&](CLI::App* sub) {
        sub->add_option("files", files, "Arquivos de pilar (.json)")->required();
        sub->add_flag("--json", options.json, "Um objeto JSON por arquivo");
        sub->add_option("-j,--jobs", jobs, "Arquivos calculados em paralelo")
            ->check(CLI::Range(1, 256));
        sub->add_flag("--stop-on-question", options.stopOnQuestion,
                      "Responder Sim às perguntas (encerra o cálculo)");
    };
    CLI::App* verify = app.add_subcommand("verify", "VERIFICAR: coeficiente de segurança S");
    addRunOptions(verify);
    CLI::App* design = app.add_subcommand("design", "DIMENSIONAR: área de aço necessária");
    addRunOptions(design);

    tarvelo::cli::ReportOptions report;
    CLI::App* reportCommand = tarvelo::cli::AddReportCommand(app, report);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }

    if (*reportCommand) {
        if (!report.pdf.empty()) return RunPdfReportProgram(argv);
        return tarvelo::cli::RunReportCommand(report, nullptr);
    }
    options.command = *design ? RunKind::Design : RunKind::Verify;
    return RunFiles(files, options, jobs);
}
