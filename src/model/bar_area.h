// The steel area of a number of equal bars, as the text of the "Área total de aço" field.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tarvelo {

// The commercial bar diameters of NBR 7480, mm.
inline constexpr std::array<double, 11> kBarDiameters = {5,  6.3, 8,  10, 12.5, 16,
                                                         20, 22,  25, 32, 40};

// count × π d² / 4 in cm² (d in mm), written with "." and two decimals ("16.08" for 8 bars of
// 16 mm), or with fewer when the text would not fit in maxLength characters. Empty when the count
// text does not read as at least one bar or the area does not fit even without decimals.
std::string BarAreaText(std::string_view countText, double diameterMm, int maxLength);

}  // namespace tarvelo
