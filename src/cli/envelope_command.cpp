#include "cli/envelope_command.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "procedures/column_file.h"
#include "procedures/envelope_run.h"
#include "procedures/recording_host.h"
#include "procedures/run_json.h"

namespace tarvelo::cli {
namespace {

std::string Number(double value, const char* format = "%.1f") {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The contour's rows for --csv: file, angle, Mx, My; empty moments where a ray misses.
std::string ContourCsv(const std::string& file, const std::vector<ContourRay>& contour) {
    std::string t;
    for (const ContourRay& ray : contour) {
        t += file + "," + Number(ray.angle, "%.10g") + ",";
        if (ray.moment) {
            const SectionForces point = ContourPoint(ray, 0.0);
            t += Number(point.Mx, "%.10g") + "," + Number(point.My, "%.10g");
        } else {
            t += ",";
        }
        t += "\n";
    }
    return t;
}

std::string Summary(const std::string& file, const RecordingHost& host, const EnvelopeRun& run,
                    double axial, const std::vector<ContourRay>& contour) {
    std::string t = file + ": ENVOLTÓRIA RESISTENTE\n";
    for (const RecordingHost::Box& box : host.boxes) {
        t += (box.question ? "  Pergunta: " + box.text + " -> " + (box.answer ? "Sim" : "Não")
                           : "  Aviso: " + box.text) +
             "\n";
    }
    if (!run.completed) return t + "  Cálculo interrompido.\n";
    t += "  Resistência de curta duração (coeficiente de fluência = 0)\n";
    t += "  N0 = " + Number(run.envelope->squash()) +
         " kN, Nt = " + Number(run.envelope->tension()) + " kN\n";
    t += "  Contorno Mx-My em N = " + Number(axial) + " kN (" + std::to_string(contour.size()) +
         " raios)";
    const auto at = [&](double angle) -> std::string {
        for (const ContourRay& ray : contour) {
            if (ray.angle == angle) return ray.moment ? Number(*ray.moment) : "-";
        }
        return {};
    };
    if (!at(0).empty()) t += ": M_Rd(0°) = " + at(0) + " kNcm";
    if (!at(90).empty()) t += ", M_Rd(90°) = " + at(90) + " kNcm";
    t += "\n";
    for (const EnvelopeCaseResult& c : run.cases) {
        t += "  " + c.name + ": Nd = " + Number(c.Nd) + " kN";
        if (!c.designLoadReached) {
            t += ", " + std::string(kFailsBeforeDesignLoad);
        } else {
            const SectionForces& f = c.criticalForces;
            t += ", Md,tot = (" + Number(f.Mx) + ", " + Number(f.My) + ") kNcm a " +
                 Number(c.critical.height) + " cm da base";
            t += c.resistingMoment ? ", M_Rd = " + Number(*c.resistingMoment) + " kNcm" : "";
            t += c.utilisation ? ", η = " + Number(*c.utilisation, "%.3f")
                               : ", η: fora da envoltória";
        }
        t += std::string(", envoltória mínima ") +
             (c.minimum.inside ? "atendida" : "NÃO atendida") + "\n";
    }
    return t;
}

}  // namespace

CLI::App* AddEnvelopeCommand(CLI::App& app, EnvelopeOptions& options) {
    CLI::App* command =
        app.add_subcommand("envelope", "Envoltória resistente da seção (Mx-My e utilização)");
    command->add_option("files", options.files, "Arquivos de pilar (.json)")->required();
    command
        ->add_option("--axial", options.axial,
                     "Força normal do contorno, kN (padrão: Fd da combinação determinante)")
        ->check(
            [](const std::string& text) {
                return std::isfinite(std::strtod(text.c_str(), nullptr))
                           ? std::string()
                           : std::string("a força normal deve ser um número finito");
            },
            "número finito");
    command->add_option("--angles", options.angles, "Número de raios do contorno")
        ->check(CLI::Range(1, 3600));
    command->add_flag("--json", options.json, "Um objeto JSON por arquivo");
    command->add_flag("--csv", options.csv, "Pontos do contorno (arquivo, ângulo, Mx, My)");
    command->get_option("--csv")->excludes(command->get_option("--json"));
    return command;
}

int RunEnvelopeCommand(const EnvelopeOptions& options) {
    int status = 0;
    if (options.csv) std::fputs("file,angle,Mx,My\n", stdout);
    for (const std::string& file : options.files) {
        ColumnData data;
        std::string error;
        if (!ReadColumnFile(file, data, error)) {
            status = 2;
            const std::string text =
                options.json ? EnvelopeFileErrorJson(file, error) + "\n" : "Erro: " + error + "\n";
            std::fputs(text.c_str(), options.csv ? stderr : stdout);
            continue;
        }
        RecordingHost host;
        const auto run = RunEnvelope(CasesOf(data), EnvelopeSource::Verification, host);
        status = std::max(status, run->completed ? 0 : 1);
        const double axial = options.axial.value_or(EnvelopeAxialForce(*run));
        std::vector<ContourRay> contour;
        if (run->completed) contour = run->envelope->Contour(axial, options.angles);
        std::string text;
        if (options.json) {
            text = EnvelopeJson(file, host, *run, axial, contour) + "\n";
        } else if (options.csv) {
            text = ContourCsv(file, contour);
        } else {
            text = Summary(file, host, *run, axial, contour);
        }
        std::fputs(text.c_str(), stdout);
    }
    return status;
}

}  // namespace tarvelo::cli
