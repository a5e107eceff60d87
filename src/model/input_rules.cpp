#include "model/input_rules.h"

#include <array>
#include <cstddef>

namespace tarvelo {
namespace {

using enum RuleId;
constexpr auto W = BoxKind::Warning;
constexpr auto Q = BoxKind::Question;
constexpr auto End = RuleOutcome::End;
constexpr auto YesNo = RuleOutcome::YesNo;
constexpr auto Go = RuleOutcome::Continue;
constexpr std::string_view T = kProgramTitle;

constexpr std::string_view kZeroDimension = "Uma das dimensões da seção é nula. Revise os dados.";
constexpr std::string_view kBarGrid = "Atualize as coordenadas das barras da armadura.";
constexpr std::string_view kCover = "Distância d' é excessiva. Revise os dados.";
constexpr std::string_view kGamma = "O coeficiente parcial de segurança não pode ser menor que 1.";

constexpr std::array kRules{
    RuleInfo{None, "", T, W, Go, FocusTarget::None},
    RuleInfo{FckBelow20,
             "De acordo com a NBR-6118, esse concreto só pode ser empregado em fundações e em "
             "obras provisórias. VOCÊ QUER ALTERAR O fck?",
             T, Q, YesNo, FocusTarget::Fck},
    RuleInfo{FckAbove90,
             "A maior resistência admitida na NBR-8953 é igual a 90MPa. Os modelos de cálculo não "
             "se aplicam ao concreto considerado.",
             T, W, End, FocusTarget::Fck},
    RuleInfo{FckNotPositive,
             "O fck deve ser positivo: não é possível calcular com fck nulo ou negativo. Revise o "
             "valor de fck.",
             T, W, End, FocusTarget::Fck},
    RuleInfo{FykNotPositive, "Forneça um valor positivo para fyk.", T, W, End, FocusTarget::Fyk},
    RuleInfo{EsNotPositive, "Forneça um valor positivo para o módulo de elasticidade do aço.", T, W,
             End, FocusTarget::Es},
    RuleInfo{FykNotStandard,
             "O valor de fyk não corresponde aos aços CA-50 ou CA-60. VOCÊ QUER ALTERAR O VALOR DE "
             "fyk?",
             T, Q, YesNo, FocusTarget::Fyk},
    RuleInfo{EsNotStandard,
             "O valor de Es não é indicado pela NBR-6118 ou pelo CEB. VOCÊ QUER ALTERAR O VALOR DE "
             "Es?",
             T, Q, YesNo, FocusTarget::Es},
    RuleInfo{CreepTooHigh,
             "O coeficiente de fluência é muito elevado. VOCÊ QUER ALTERAR O SEU VALOR?", T, Q,
             YesNo, FocusTarget::CreepCoefficient},
    RuleInfo{GamacBelowOne, kGamma, T, W, End, FocusTarget::Gamac},
    RuleInfo{GamasBelowOne, kGamma, T, W, End, FocusTarget::Gamas},
    RuleInfo{BarCountOverflow,
             "O número de barras de aço está fora do intervalo aceito (-32768 a 32767). Revise o "
             "campo \"Número de barras de aço\".",
             T, W, End, FocusTarget::BarCount},
    RuleInfo{BarCountNotPositive, "Forneça um valor positivo para o número de barras de aço.", T, W,
             End, FocusTarget::BarCount},
    RuleInfo{BarCountAbove299, "Este programa está limitado a 299 barras de aço.", T, W, End,
             FocusTarget::BarCount},
    RuleInfo{PolygonBarsBelow4, "Uma seção poligonal não pode ter menos do que 4 barras.", T, W,
             End, FocusTarget::BarCount},
    RuleInfo{RectangleBarsBelow4, "O número mínimo de barras em uma seção retangular é igual a 4.",
             T, W, End, FocusTarget::BarCount},
    RuleInfo{CircleBarsBelow6, "O número mínimo de barras em uma seção circular é igual a 6.", T, W,
             End, FocusTarget::BarCount},
    RuleInfo{VertexCountOverflow,
             "O número de vértices está fora do intervalo aceito (-32768 a 32767). Revise o campo "
             "\"Número de vértices\".",
             T, W, End, FocusTarget::VertexCount},
    RuleInfo{VertexCountBelow3, "O número de vértices da seção deve ser maior ou igual a 3.", T, W,
             End, FocusTarget::VertexCount},
    RuleInfo{VertexCountAbove299,
             "Este programa está limitado a seções com um máximo de 299 vértices.", T, W, End,
             FocusTarget::VertexCount},
    RuleInfo{VertexGridRows, "Atualize as coordenadas dos vértices da seção.", T, W, End,
             FocusTarget::SectionData},
    RuleInfo{PolygonBarGridRows, kBarGrid, T, W, End, FocusTarget::SectionData},
    RuleInfo{RectangleZeroDimension, kZeroDimension, T, W, End, FocusTarget::SectionData},
    RuleInfo{RectangleBarGridRows, kBarGrid, T, W, End, FocusTarget::SectionData},
    RuleInfo{HollowRectangleZeroDimension, kZeroDimension, T, W, End, FocusTarget::SectionData},
    RuleInfo{HollowRectangleOpening, "As dimensões da abertura são incompatíveis. Revise os dados.",
             T, W, End, FocusTarget::SectionData},
    RuleInfo{HollowRectangleBarGridRows, kBarGrid, T, W, End, FocusTarget::SectionData},
    RuleInfo{CircleZeroDimension, kZeroDimension, T, W, End, FocusTarget::SectionData},
    RuleInfo{CircleCoverTooLarge, kCover, T, W, End, FocusTarget::SectionData},
    RuleInfo{HollowCircleZeroDimension, kZeroDimension, T, W, End, FocusTarget::SectionData},
    RuleInfo{HollowCircleDiameters,
             "O diâmetro interno deve ser menor que o diâmetro externo. Revise os dados.", T, W,
             End, FocusTarget::SectionData},
    RuleInfo{HollowCircleCoverTooLarge, kCover, T, W, End, FocusTarget::SectionData},
    RuleInfo{PolygonOrientation, "Erro! Verifique as coordenadas dos vértices da seção.",
             kPolygonTitle, W, End, FocusTarget::None},
    RuleInfo{CoincidentBars,
             "Duas ou mais barras estão localizadas na mesma posição. Revise os dados.", T, W, End,
             FocusTarget::SectionData},
    RuleInfo{BminBelow14,
             "A NBR-6118 não admite pilares com dimensão menor que 14 cm. Revise seu projeto.", T,
             W, End, FocusTarget::SectionData},
    RuleInfo{BminBelow19,
             "Como a menor dimensão da seção (bmin) é inferior a 19 cm, a NBR-6118 exige que o "
             "coeficiente Gamaf seja multiplicado por 1,95-bmin/20.      VOCÊ QUER CORRIGIR A "
             "CARGA DE CÁLCULO?",
             T, Q, YesNo, FocusTarget::Loads},
    RuleInfo{AreaBelow360,
             "ATENÇÃO: A área da seção do pilar é menor que 360cm2, o que não é permitido pela "
             "NBR-6118.",
             T, W, Go, FocusTarget::None},
    RuleInfo{ShortColumn,
             "O pilar é muito curto segundo uma ou mais direções. Esses casos podem apresentar "
             "problemas de instabilidade numérica com resultados pouco confiáveis. ",
             T, W, Go, FocusTarget::None},
    RuleInfo{HeightZero, "A altura do pilar não pode ser nula.", T, W, End,
             FocusTarget::LoadsHeight},
    RuleInfo{AxialForceZero, "Forneça a força normal no topo do pilar.", T, W, End,
             FocusTarget::LoadsAxialForce},
    RuleInfo{Hypostatic, "A estrutura é hipostática.", T, W, End, FocusTarget::None},
    RuleInfo{CreepMakesNoStrain,
             "O coeficiente de fluência é negativo demais: a deformação de pico do concreto "
             "resultaria nula ou negativa. Revise o coeficiente de fluência.",
             T, W, End, FocusTarget::CreepCoefficient},
    RuleInfo{GridRowOverflow,
             "As tabelas de coordenadas têm linhas demais. Revise os dados da seção.", T, W, End,
             FocusTarget::SectionData},
    RuleInfo{SelfCrossingPolygon,
             "As arestas %1 e %2 do polígono se cruzam. O contorno da seção não pode cruzar a si "
             "mesmo; arestas que apenas se tocam ou se sobrepõem, como as do corte que liga o "
             "contorno externo ao de uma abertura, são aceitas. Revise as coordenadas dos "
             "vértices.",
             T, W, End, FocusTarget::SectionVertexGrid},
    RuleInfo{BarOutsideConcrete,
             "O centro da barra %1 está fora da seção de concreto (ou dentro de uma abertura). "
             "Revise as coordenadas das barras.",
             T, W, End, FocusTarget::SectionBarGrid},
};

constexpr bool TableInOrder() {
    for (std::size_t i = 0; i < kRules.size(); ++i) {
        if (static_cast<std::size_t>(kRules[i].id) != i) return false;
    }
    return true;
}
static_assert(TableInOrder(), "rule table must follow the RuleId order");

}  // namespace

const RuleInfo& Rule(RuleId id) {
    return kRules[static_cast<std::size_t>(id)];
}

namespace {

// The rule's message with each %1, %2 replaced by the given texts.
std::string FillMessage(RuleId id, std::string_view first, std::string_view second = {}) {
    const std::string_view message = Rule(id).message;
    std::string text;
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '%' && i + 1 < message.size() &&
            (message[i + 1] == '1' || message[i + 1] == '2')) {
            text += message[i + 1] == '1' ? first : second;
            ++i;
        } else {
            text += message[i];
        }
    }
    return text;
}

// "2 (entre os vértices 2 e 3)"; the last edge closes the contour on vertex 1.
std::string EdgeText(int edge, int vertexCount) {
    const int next = edge >= vertexCount ? 1 : edge + 1;
    return std::to_string(edge) + " (entre os vértices " + std::to_string(edge) + " e " +
           std::to_string(next) + ")";
}

}  // namespace

std::string CrossingEdgesMessage(int firstEdge, int secondEdge, int vertexCount) {
    return FillMessage(RuleId::SelfCrossingPolygon, EdgeText(firstEdge, vertexCount),
                       EdgeText(secondEdge, vertexCount));
}

std::string BarOutsideMessage(int bar) {
    return FillMessage(RuleId::BarOutsideConcrete, std::to_string(bar));
}

}  // namespace tarvelo
