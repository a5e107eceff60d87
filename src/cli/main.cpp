// tarvelo-cli: verifies and designs columns from column files, without windows.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "cli/report_command.h"
#include "procedures/column_file.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"

namespace {

using tarvelo::AnalysisResult;
using tarvelo::ColumnData;
using tarvelo::RecordingHost;

enum class Command { Verify, Design };

struct RunOutput {
    int status = 0;  // 0 completed, 1 ended by a message, 2 file error
    std::string text;
};

struct Options {
    Command command = Command::Verify;
    bool json = false;
    bool stopOnQuestion = false;
};

// The rows the analysis wrote: rows 0..reachedStep-1, and row 500 too when all steps passed.
int CurveRowsWritten(const AnalysisResult& r) {
    if (r.reachedStep <= 0) return 0;
    return r.reachedStep == 500 ? 501 : r.reachedStep;
}

nlohmann::json SectionJson(const AnalysisResult& r) {
    if (!r.hasSectionConstants) return nullptr;
    const auto& c = r.sectionConstants;
    return {{"area", c.area},
            {"inertiaX", c.inertiaX},
            {"inertiaY", c.inertiaY},
            {"slendernessX", c.slendernessX},
            {"slendernessY", c.slendernessY}};
}

RunOutput RunOne(const std::string& path, const Options& options) {
    RunOutput out;
    const bool verify = options.command == Command::Verify;
    const char* commandName = verify ? "verify" : "design";
    ColumnData data;
    std::string error;
    if (!tarvelo::ReadColumnFile(path, data, error)) {
        out.status = 2;
        if (options.json) {
            nlohmann::json j = {
                {"file", path}, {"command", commandName}, {"status", "error"}, {"error", error}};
            out.text = j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
        } else {
            out.text = "Erro: " + error + "\n";
        }
        return out;
    }

    RecordingHost host;
    host.answerYes = options.stopOnQuestion;
    std::unique_ptr<AnalysisResult> result =
        verify ? tarvelo::Verify(data, host) : tarvelo::Design(data, host);
    out.status = result->completed ? 0 : 1;

    if (options.json) {
        nlohmann::json j;
        j["file"] = path;
        j["command"] = commandName;
        j["status"] = result->completed ? "completed" : "ended";
        j["messages"] = host.Messages();
        if (verify) {
            j["S"] = host.fields[tarvelo::ResultField::SafetyCoefficient];
            j["reachedStep"] = result->completed ? nlohmann::json(result->reachedStep) : nullptr;
            j["notConverged"] =
                result->completed ? nlohmann::json(result->notConverged != 0) : nullptr;
            nlohmann::json curve = nlohmann::json::array();
            for (int i = 0; i < CurveRowsWritten(*result); ++i) {
                curve.push_back({result->curve.rows[i][0], result->curve.rows[i][1]});
            }
            j["curve"] = curve;
        } else {
            j["requiredSteelArea"] = host.fields[tarvelo::ResultField::RequiredSteel];
            j["minimumSteelArea"] = host.fields[tarvelo::ResultField::MinimumSteel];
            j["trials"] = result->trials;
        }
        j["section"] = SectionJson(*result);
        out.text = j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
        return out;
    }

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
    } else {
        t += "  Armadura calculada (cm2)= " + result->requiredText + "\n";
        t += "  Armadura mínima (cm2)= " + result->minimumText + "\n";
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
    CLI::App* reportCommand =
        app.add_subcommand("report", "Relatório de cálculo em PDF e/ou texto");
    reportCommand->add_option("file", report.file, "Arquivo de pilar (.json)")->required();
    reportCommand->add_option("--pdf", report.pdf, "Relatório em PDF");
    reportCommand->add_option("--txt", report.txt, "Relatório em texto");
    reportCommand->add_option("--after", report.after, "Procedimento antes do relatório")
        ->check(CLI::IsMember({"verify", "design"}));

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }

    if (*reportCommand) return tarvelo::cli::RunReportCommand(report, argc, argv);
    options.command = *design ? Command::Design : Command::Verify;
    return RunFiles(files, options, jobs);
}
