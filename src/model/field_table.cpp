#include "model/field_table.h"

#include <array>
#include <cstddef>

namespace tarvelo {
namespace {

using K = KeyFilterKind;
using W = FieldWindow;
using F = FocusTarget;
using C = ColumnData;

constexpr int kDimensionLength = 6;
constexpr int kLoadLength = 8;

// clang-format off
constexpr std::array<FieldInfo, kFieldCount> kFields{{
    {FieldId::Fck, &C::fck, W::Main, "main", "fck", "fck (MPa)=", "", 2, K::Decimal, F::Fck, "fckField"},
    {FieldId::CreepCoefficient, &C::creepCoefficient, W::Main, "main", "creepCoefficient", "Coef. de fluência", "Coef. de fluência", 3, K::Decimal, F::CreepCoefficient, "creepField"},
    {FieldId::Fyk, &C::fyk, W::Main, "main", "fyk", "fyk (MPa)=", "fyk (MPa)", 3, K::Decimal, F::Fyk, "fykField"},
    {FieldId::Es, &C::Es, W::Main, "main", "Es", "Es (GPa)=", "Es (GPa)", 3, K::Decimal, F::Es, "esField"},
    {FieldId::Gamac, &C::Gamac, W::Main, "main", "Gamac", "Coeficiente parcial do concreto", "Coeficiente parcial do concreto", 4, K::Decimal, F::Gamac, "gamacField"},
    {FieldId::Gamas, &C::Gamas, W::Main, "main", "Gamas", "Coeficiente parcial do aço", "Coeficiente parcial do aço", 4, K::Decimal, F::Gamas, "gamasField"},
    {FieldId::VertexCount, &C::vertexCount, W::Main, "main", "vertexCount", "Número de vértices=", "", 3, K::Digit, F::VertexCount, "vertexCountField"},
    {FieldId::BarCount, &C::barCount, W::Main, "main", "barCount", "Número de barras de aço=", "", 3, K::Digit, F::BarCount, "barCountField"},
    {FieldId::TotalSteelArea, &C::totalSteelArea, W::Main, "main", "totalSteelArea", "Área total de aço (cm2):", "Área total de aço", 5, K::Decimal, F::None, "steelAreaField"},
    {FieldId::RectHx, &C::rectHx, W::Section, "section.RectangularSolid", "hx", "hx", "", kDimensionLength, K::Decimal, F::SectionData, "rectHxField"},
    {FieldId::RectHy, &C::rectHy, W::Section, "section.RectangularSolid", "hy", "hy", "", kDimensionLength, K::Decimal, F::SectionData, "rectHyField"},
    {FieldId::HollowHx, &C::hollowHx, W::Section, "section.RectangularHollow", "hx", "hx", "", kDimensionLength, K::Decimal, F::SectionData, "hollowHxField"},
    {FieldId::HollowHy, &C::hollowHy, W::Section, "section.RectangularHollow", "hy", "hy", "", kDimensionLength, K::Decimal, F::SectionData, "hollowHyField"},
    {FieldId::HollowBxo, &C::hollowBxo, W::Section, "section.RectangularHollow", "bxo", "bx", "", kDimensionLength, K::Decimal, F::SectionData, "hollowBxoField"},
    {FieldId::HollowByo, &C::hollowByo, W::Section, "section.RectangularHollow", "byo", "by", "", kDimensionLength, K::Decimal, F::SectionData, "hollowByoField"},
    {FieldId::CircleDiameter, &C::circleDiameter, W::Section, "section.CircularSolid", "diameter", "D", "", kDimensionLength, K::Decimal, F::SectionData, "circleDiameterField"},
    {FieldId::CircleCover, &C::circleCover, W::Section, "section.CircularSolid", "cover", "d'", "", kDimensionLength, K::Decimal, F::SectionData, "circleCoverField"},
    {FieldId::HollowCircleDe, &C::hollowCircleDe, W::Section, "section.CircularHollow", "De", "De", "", kDimensionLength, K::Decimal, F::SectionData, "hollowCircleDeField"},
    {FieldId::HollowCircleDi, &C::hollowCircleDi, W::Section, "section.CircularHollow", "Di", "Di", "", kDimensionLength, K::Decimal, F::SectionData, "hollowCircleDiField"},
    {FieldId::HollowCircleCover, &C::hollowCircleCover, W::Section, "section.CircularHollow", "cover", "d'", "", kDimensionLength, K::Decimal, F::SectionData, "hollowCircleCoverField"},
    {FieldId::L, &C::L, W::Loads, "loads", "L", "Altura do pilar L  (cm) =", "Altura do pilar L", kLoadLength, K::Decimal, F::Loads, "heightField"},
    {FieldId::Fd, &C::Fd, W::Loads, "loads", "Fd", "Fd,t (kN)=", "Fd,t", kLoadLength, K::Decimal, F::Loads, "fdField"},
    {FieldId::Hxd_t, &C::Hxd_t, W::Loads, "loads", "Hxd_t", "Hxd,t (kN) =", "Hxd,t", kLoadLength, K::SignedDecimal, F::Loads, "hxdTopField"},
    {FieldId::Hyd_t, &C::Hyd_t, W::Loads, "loads", "Hyd_t", "Hyd,t (kN) =", "Hyd,t", kLoadLength, K::SignedDecimal, F::Loads, "hydTopField"},
    {FieldId::Mxd_t, &C::Mxd_t, W::Loads, "loads", "Mxd_t", "Mxd,t (kN cm) =", "Mxd,t", kLoadLength, K::SignedDecimal, F::Loads, "mxdTopField"},
    {FieldId::Myd_t, &C::Myd_t, W::Loads, "loads", "Myd_t", "Myd,t (kN cm) =", "Myd,t", kLoadLength, K::SignedDecimal, F::Loads, "mydTopField"},
    {FieldId::Mxd_b, &C::Mxd_b, W::Loads, "loads", "Mxd_b", "Mxd,b (kN cm) =", "Mxd,b", kLoadLength, K::SignedDecimal, F::Loads, "mxdBaseField"},
    {FieldId::Myd_b, &C::Myd_b, W::Loads, "loads", "Myd_b", "Myd,b (kN cm) =", "Myd,b", kLoadLength, K::SignedDecimal, F::Loads, "mydBaseField"},
    {FieldId::pxd, &C::pxd, W::Loads, "loads", "pxd", "pxd (kN/cm) =", "pxd", kLoadLength, K::SignedDecimal, F::Loads, "pxdField"},
    {FieldId::pyd, &C::pyd, W::Loads, "loads", "pyd", "pyd (kN/cm) =", "pyd", kLoadLength, K::SignedDecimal, F::Loads, "pydField"},
}};
// clang-format on

constexpr bool InEnumerationOrder() {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (static_cast<std::size_t>(kFields[i].id) != i) return false;
    }
    return true;
}
static_assert(InEnumerationOrder(), "the rows follow FieldId");

}  // namespace

std::span<const FieldInfo> Fields() {
    return kFields;
}

const FieldInfo& Field(FieldId id) {
    return kFields[static_cast<std::size_t>(id)];
}

}  // namespace tarvelo
