#include "report/report_conclusion.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

namespace tarvelo::report {
namespace {

// Joins a value to its symbol and unit so that a line is never cut between them; printed as a
// blank.
constexpr char kTie = '\x1f';

// "x = 12.35 mm" held together.
std::string Value(std::string_view symbol, const std::string& number, std::string_view unit) {
    std::string text(symbol);
    text += kTie;
    text += '=';
    text += kTie;
    text += number;
    text += kTie;
    text += unit;
    return text;
}

// value with `decimals` digits, "." as decimal point, trailing zeros cut when trim is set, and
// no "-0".
std::string Fixed(double value, int decimals, bool trim = false) {
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals)
            .ptr;
    std::string text(buffer, end);
    if (trim && text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text.find_first_not_of("-0.") == std::string::npos) text = text.substr(text[0] == '-');
    return text;
}

// "1.34 vezes as cargas de cálculo", "1 vez ...".
std::string LoadFactor(const AnalysisResult& r) {
    return r.safetyText + (r.safetyText == "1" ? " vez" : " vezes") + " as cargas de cálculo";
}

std::string FailureSentence(const AnalysisResult& r) {
    const FailureSite& f = r.failure;
    const std::string step =
        "etapa de carga " + std::to_string(r.reachedStep) + " (" + LoadFactor(r) + ")";
    if (f.cause == SectionFailure::None) {
        return "Nenhum limite de deformação foi atingido até a " + step + ".";
    }
    if (f.cause == SectionFailure::Diverged) {
        return "Na " + step +
               " a análise não encontrou equilíbrio: as iterações divergiram, e o pilar é "
               "considerado rompido nessa etapa.";
    }
    std::string cause;
    switch (f.cause) {
        case SectionFailure::SteelElongation:
            cause = "por alongamento excessivo da armadura (deformação do aço de " +
                    Fixed(f.limit, 2, true) + kTie + "‰)";
            break;
        case SectionFailure::ConcreteUltimate:
            cause = "por esmagamento do concreto na flexão (encurtamento além de " +
                    Value("εcu", Fixed(f.limit, 2, true), "‰") + ")";
            break;
        case SectionFailure::FullCompression:
            cause =
                "por esmagamento do concreto com a seção toda comprimida (encurtamento além de " +
                Value("εc2", Fixed(f.limit, 2, true), "‰") + ")";
            break;
        default:
            cause = "por seção inválida";
            break;
    }
    return "A ruptura ocorreu na " + step + ", " + cause + ", no elemento " +
           std::to_string(f.element) + " (seção a " + Fixed(f.height, 1, true) + kTie +
           "cm da base do pilar).";
}

std::string DeflectionSentences(const AnalysisResult& r) {
    const DesignLoadDeflections& d = r.designLoad;
    if (!d.reached) {
        return "A análise não chegou às cargas de cálculo (fator de carga 1): não há flechas para "
               "elas.";
    }
    return "Flechas para as cargas de cálculo (fator de carga 1): no topo, " +
           Value("x", Fixed(d.topX, 2), "mm") + " e " + Value("y", Fixed(d.topY, 2), "mm") +
           "; a meia altura, " + Value("x", Fixed(d.midX, 2), "mm") + " e " +
           Value("y", Fixed(d.midY, 2), "mm") +
           ". Na curva carga-flecha, a flecha é a resultante de x e y: no topo, nos pilares em "
           "balanço, e a meia altura, nos demais.";
}

// Number of characters (not bytes) of UTF-8 text.
std::size_t Characters(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

// Cuts the sentence at blanks into lines of at most kConclusionWidth characters (a longer word
// keeps a line of its own); the ties become blanks.
void AddWrapped(std::vector<ReportLine>& out, std::string_view sentence) {
    std::string line;
    const auto emit = [&out, &line] {
        std::replace(line.begin(), line.end(), kTie, ' ');
        out.push_back(ReportLine{{{0, line}}});
        line.clear();
    };
    std::size_t start = 0;
    while (start < sentence.size()) {
        std::size_t end = sentence.find(' ', start);
        if (end == std::string_view::npos) end = sentence.size();
        const std::string_view word = sentence.substr(start, end - start);
        if (!line.empty() && Characters(line) + 1 + Characters(word) > kConclusionWidth) emit();
        if (!line.empty()) line += ' ';
        line += word;
        start = end + 1;
    }
    if (!line.empty()) emit();
}

}  // namespace

std::vector<ReportLine> BuildConclusion(const AnalysisResult& result,
                                        ConcludedProcedure procedure) {
    std::vector<ReportLine> lines;
    if (!result.completed) return lines;
    lines.push_back(ReportLine{{{0, " "}}});
    lines.push_back(ReportLine{{{0, "CONCLUSÃO:"}}});
    if (procedure == ConcludedProcedure::Design) {
        // Compared as the result fields show them, so the sentence agrees with the printed areas.
        const bool minimumGoverns =
            RoundForDisplay(result.requiredSteelArea) < RoundForDisplay(result.minimumSteelArea);
        AddWrapped(lines, minimumGoverns ? "Prevalece a armadura mínima."
                                         : "Prevalece a armadura calculada.");
        return lines;
    }
    // S = k/50 is exactly 1 in step 50, so the comparison is exact.
    AddWrapped(lines, result.safetyCoefficient >= 1.0
                          ? "O pilar resiste às cargas de cálculo (S ≥ 1)."
                          : "O pilar NÃO resiste às cargas de cálculo (S < 1).");
    AddWrapped(lines, FailureSentence(result));
    AddWrapped(lines, DeflectionSentences(result));
    return lines;
}

}  // namespace tarvelo::report
