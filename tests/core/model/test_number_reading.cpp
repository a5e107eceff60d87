#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/column_numbers.h"
#include "model/number_reading.h"

namespace tarvelo {
namespace {

TEST(ReadNumber, TakesTheLeadingNumberWithPointAsDecimalSeparator) {
    EXPECT_EQ(ReadNumber("20"), 20.0);
    EXPECT_EQ(ReadNumber("1.15"), 1.15);
    EXPECT_EQ(ReadNumber("1,5"), 1.0);  // the comma ends the number
    EXPECT_EQ(ReadNumber("1.2.3"), 1.2);
    EXPECT_EQ(ReadNumber("12cm"), 12.0);
    EXPECT_EQ(ReadNumber("-.5"), -0.5);
    EXPECT_EQ(ReadNumber("+7."), 7.0);
    EXPECT_EQ(ReadNumber("000.0025"), 0.0025);
}

TEST(ReadNumber, EmptyOrNonNumericGivesZero) {
    for (const char* text : {"", "   ", ".", "-", "+", "-.", "abc", ",5", "e5", "--5", "\r5"}) {
        EXPECT_EQ(ReadNumber(text), 0.0) << '"' << text << '"';
        EXPECT_FALSE(std::signbit(ReadNumber(text))) << '"' << text << '"';
    }
    EXPECT_FALSE(std::signbit(ReadNumber("-0.0")));
}

TEST(ReadNumber, IgnoresBlanksTabsAndLineFeedsAnywhere) {
    EXPECT_EQ(ReadNumber(" 1 2 "), 12.0);
    EXPECT_EQ(ReadNumber("\t- 2\n.5"), -2.5);
    EXPECT_EQ(ReadNumber("1 e 2"), 100.0);
}

TEST(ReadNumber, ExponentWithEOrDNeedsDigits) {
    EXPECT_EQ(ReadNumber("2.5e1"), 25.0);
    EXPECT_EQ(ReadNumber("1D2"), 100.0);
    EXPECT_EQ(ReadNumber("1d-2"), 0.01);
    EXPECT_EQ(ReadNumber("3E+2x"), 300.0);
    EXPECT_EQ(ReadNumber("1e"), 1.0);
    EXPECT_EQ(ReadNumber("1e+"), 1.0);
    EXPECT_EQ(ReadNumber("1ex5"), 1.0);
    EXPECT_EQ(ReadNumber("1e2e3"), 100.0);
}

TEST(ReadNumber, ExtremeTextsStayDefined) {
    EXPECT_EQ(ReadNumber("1e400"), HUGE_VAL);
    EXPECT_EQ(ReadNumber("-1e99999999999999999999999"), -HUGE_VAL);
    EXPECT_EQ(ReadNumber("1e-400"), 0.0);
    EXPECT_EQ(ReadNumber("4.9406564584124654e-324"), 4.9406564584124654e-324);
    // Long digit strings convert exactly as their short form.
    EXPECT_EQ(ReadNumber("0." + std::string(5000, '0') + "25e5002"), 25.0);
    EXPECT_EQ(ReadNumber(std::string(3000, '9')), HUGE_VAL);
    // 2^53 + 1 lies halfway between two doubles; a nonzero digit far beyond decides upwards.
    EXPECT_EQ(ReadNumber("9007199254740993"), 9007199254740992.0);
    EXPECT_EQ(ReadNumber("9007199254740993." + std::string(2000, '0') + "1"), 9007199254740994.0);
}

// The conversion rounds to the nearest double as every conforming C library does, so the native
// and the browser builds read the same bits; these texts sit on the edges of the range.
TEST(ReadNumber, RangeEdgesRoundToTheNearestDouble) {
    EXPECT_EQ(ReadNumber("1.7976931348623158e308"), 0x1.fffffffffffffp+1023);
    EXPECT_EQ(ReadNumber("1.7976931348623159e308"), HUGE_VAL);
    EXPECT_EQ(ReadNumber("2.4703282292062328e-324"), 0x1p-1074);
    EXPECT_EQ(ReadNumber("2.4703282292062327e-324"), 0.0);
    EXPECT_EQ(ReadNumber("2.2250738585072011e-308"), 0x0.fffffffffffffp-1022);
    EXPECT_EQ(ReadNumber("-1e-309"), -0x0.0b8157268fdafp-1022);
}

TEST(ReadNumber, HexadecimalAndOctalPrefixesGiveUnsignedIntegers) {
    EXPECT_EQ(ReadNumber("&H1F"), 31.0);
    EXPECT_EQ(ReadNumber(" &h ff "), 255.0);
    EXPECT_EQ(ReadNumber("&HFFFF"), 65535.0);  // no 16-bit wrap-around
    EXPECT_EQ(ReadNumber("&O17"), 15.0);
    EXPECT_EQ(ReadNumber("&O19"), 1.0);
    EXPECT_EQ(ReadNumber("&H"), 0.0);
    EXPECT_EQ(ReadNumber("&X1"), 0.0);
    EXPECT_EQ(ReadNumber("-&H1"), 0.0);
}

TEST(ReadCount, RoundsHalvesToEven) {
    EXPECT_EQ(ReadCount("3.5").value, 4);
    EXPECT_EQ(ReadCount("4.5").value, 4);
    EXPECT_EQ(ReadCount("4.51").value, 5);
    EXPECT_EQ(ReadCount("-2.5").value, -2);
    EXPECT_EQ(ReadCount("-3.5").value, -4);
    EXPECT_EQ(ReadCount("-0.4").value, 0);
    EXPECT_EQ(RoundToCount(-0.49999999999999994).value, 0);
    EXPECT_EQ(RoundToCount(0.49999999999999994).value, 0);
    EXPECT_EQ(ReadCount("").value, 0);
    EXPECT_FALSE(ReadCount("").overflow);
}

TEST(ReadCount, OutsideSixteenBitsIsAnOverflow) {
    EXPECT_TRUE(ReadCount("40000").overflow);
    EXPECT_EQ(ReadCount("40000").value, 0);
    EXPECT_TRUE(ReadCount("32767.5").overflow);
    EXPECT_TRUE(ReadCount("-32769").overflow);
    EXPECT_TRUE(ReadCount("1e400").overflow);
    EXPECT_TRUE(RoundToCount(std::nan("")).overflow);
    EXPECT_FALSE(ReadCount("32767.4").overflow);
    EXPECT_EQ(ReadCount("32767.4").value, 32767);
    EXPECT_EQ(ReadCount("-32768.5").value, -32768);
}

// A run reads every field once through the field table: each text must land on its own number,
// and the counts and grids must be read by the same rule.
TEST(ReadColumnNumbers, EveryFieldReadsIntoItsOwnNumber) {
    ColumnData data;
    for (const FieldInfo& field : Fields())
        data.*field.member = std::to_string(static_cast<int>(field.id) + 1) + ".5";
    data.bars = {{"1e400", "&H10"}};
    const ColumnNumbers numbers = ReadColumnNumbers(data);
    for (const FieldInfo& field : Fields())
        EXPECT_EQ(numbers[field.id], static_cast<int>(field.id) + 1.5) << field.fileKey;
    EXPECT_EQ(numbers.vertexCount.value, ReadCount(data.vertexCount).value);
    EXPECT_EQ(numbers.barCount.value, ReadCount(data.barCount).value);
    ASSERT_EQ(numbers.bars.size(), 1u);
    EXPECT_TRUE(std::isinf(numbers.bars[0].x));
    EXPECT_EQ(numbers.bars[0].y, 16.0);
}

}  // namespace
}  // namespace tarvelo
