// The report's conclusion for each way a verification or a design ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "procedures/recording_host.h"
#include "report/report_conclusion.h"

namespace tarvelo::report {
namespace {

// A finished run and the procedure that made it.
struct Ending {
    AnalysisResult result;
    ConcludedProcedure procedure;
};

Ending Verified(int step, SectionFailure cause, double limit = 0, bool reached = false) {
    AnalysisResult r;
    r.completed = true;
    r.reachedStep = step;
    r.safetyCoefficient = step / 50.0;
    r.safetyText = FormatSafetyCoefficient(step);
    r.failure = {cause, 3, 2, 45, limit};
    r.designLoad = {reached, 0, -0.004, 12.345, -3.2};
    return {r, ConcludedProcedure::Verification};
}

Ending Designed(double required, double minimum) {
    AnalysisResult r;
    r.completed = true;
    r.requiredSteelArea = required;
    r.minimumSteelArea = minimum;
    return {r, ConcludedProcedure::Design};
}

// The sentences after "CONCLUSÃO:" joined again; every line fits the report's width.
std::string Text(const Ending& e) {
    const std::vector<ReportLine> lines = BuildConclusion(e.result, e.procedure);
    if (lines.empty()) return "";
    EXPECT_EQ(lines[1].PlainText(), "CONCLUSÃO:");
    std::string text;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::string line = lines[i].PlainText();
        std::size_t characters = 0;
        for (const char c : line)
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        EXPECT_LE(characters, static_cast<std::size_t>(kConclusionWidth)) << line;
        text += (text.empty() ? "" : " ") + line;
    }
    return text;
}

TEST(ReportConclusion, SentencesForEachEnding) {
    using enum SectionFailure;
    const struct {
        Ending ending;
        std::vector<std::string> parts;  // in this order
    } cases[] = {
        {Verified(38, SteelElongation, 10),
         {"O pilar NÃO resiste às cargas de cálculo (S < 1).",
          "etapa de carga 38 (0.76 vezes as cargas de cálculo)", "alongamento", "10 ‰",
          "no elemento 3 (seção a 45 cm da base do pilar).",
          "A análise não chegou às cargas de cálculo"}},
        {Verified(67, ConcreteUltimate, 3.5, true),
         {"O pilar resiste às cargas de cálculo (S ≥ 1).", "(1.34 vezes", "εcu = 3.5 ‰",
          "no topo, x = 0.00 mm e y = 0.00 mm; a meia altura, x = 12.35 mm e y = -3.20 mm."}},
        {Verified(50, FullCompression, 2.288, false),
         {"(S ≥ 1)", "etapa de carga 50 (1 vez as cargas de cálculo)", "seção toda comprimida",
          "εc2 = 2.29 ‰"}},
        {Verified(500, None, 0, true),
         {"(S ≥ 1)",
          "Nenhum limite de deformação foi atingido até a etapa de carga 500 (10 "
          "vezes as cargas de cálculo).",
          "Flechas para as cargas de cálculo"}},
        {Verified(12, Diverged), {"(S < 1)", "Na etapa de carga 12 (0.24 vezes", "divergiram"}},
        {Designed(0, 3.2), {"Prevalece a armadura mínima."}},
        {Designed(3.204, 3.196), {"Prevalece a armadura calculada."}},  // both "3.2"
        {Designed(14.7, 3.2), {"Prevalece a armadura calculada."}},
    };
    for (const auto& c : cases) {
        const std::string text = Text(c.ending);
        std::size_t at = 0;
        for (const std::string& part : c.parts) {
            const std::size_t found = text.find(part, at);
            EXPECT_NE(found, std::string::npos) << part << "\n in: " << text;
            if (found != std::string::npos) at = found + part.size();
        }
    }
    Ending ended = Verified(38, SteelElongation);
    ended.result.completed = false;
    EXPECT_TRUE(BuildConclusion(ended.result, ended.procedure).empty());
}

}  // namespace
}  // namespace tarvelo::report
