// The number-reading rule of every field, counts rounded half to even in 16 bits, bar area texts.
#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <string>

#include "model/bar_area.h"
#include "model/column_numbers.h"
#include "model/number_reading.h"

namespace tarvelo {
namespace {

struct TextCase {
    std::string text;
    double value;
};

TEST(ReadNumber, TableOfTexts) {
    // Plain; the comma ends the number; units and blanks anywhere; exponents with E or D, whole
    // or not; hexadecimal and octal with no 16-bit wrap-around; beyond the range.
    const TextCase shortTexts[] = {
        {"20", 20},       {"1.15", 1.15},      {"1,5", 1},     {"1.2.3", 1.2},
        {"12cm", 12},     {"-.5", -0.5},       {"+7.", 7},     {"000.0025", 0.0025},
        {" 1 2 ", 12},    {"\t- 2\n.5", -2.5}, {"1 e 2", 100}, {"2.5e1", 25},
        {"1D2", 100},     {"1d-2", 0.01},      {"3E+2x", 300}, {"1e", 1},
        {"1e+", 1},       {"1ex5", 1},         {"1e2e3", 100}, {"&H1F", 31},
        {" &h ff ", 255}, {"&HFFFF", 65535},   {"&O17", 15},   {"&O19", 1},
        {"&H", 0},        {"&X1", 0},          {"-&H1", 0},    {"1e400", HUGE_VAL},
        {"1e-400", 0},
    };
    const TextCase cases[] = {
        {"-1e99999999999999999999999", -HUGE_VAL},
        {"4.9406564584124654e-324", 4.9406564584124654e-324},
        // Long digit strings convert exactly as their short form.
        {"0." + std::string(5000, '0') + "25e5002", 25},
        {std::string(3000, '9'), HUGE_VAL},
        // 2^53 + 1 lies halfway between two doubles; a nonzero digit far beyond decides upwards.
        {"9007199254740993", 9007199254740992.0},
        {"9007199254740993." + std::string(2000, '0') + "1", 9007199254740994.0},
        {"9007199254740993." + std::string(2000, '0'), 9007199254740992.0},
        // The edges of the range round to the nearest double as every conforming C library does,
        // so the native and the browser builds read the same bits.
        {"1.7976931348623158e308", 0x1.fffffffffffffp+1023},
        {"1.7976931348623159e308", HUGE_VAL},
        {"2.4703282292062328e-324", 0x1p-1074},
        {"2.4703282292062327e-324", 0},
        {"2.2250738585072011e-308", 0x0.fffffffffffffp-1022},
        {"-1e-309", -0x0.0b8157268fdafp-1022},
    };
    for (const auto table :
         {std::span<const TextCase>(shortTexts), std::span<const TextCase>(cases)}) {
        for (const TextCase& c : table)
            EXPECT_EQ(ReadNumber(c.text), c.value) << '"' << c.text.substr(0, 40) << '"';
    }
    // Nothing numeric reads as zero, never as -0.
    for (const char* text :
         {"", "   ", ".", "-", "+", "-.", "abc", ",5", "e5", "--5", "\r5", "-0.0"}) {
        EXPECT_EQ(ReadNumber(text), 0.0) << '"' << text << '"';
        EXPECT_FALSE(std::signbit(ReadNumber(text))) << '"' << text << '"';
    }
}

TEST(ReadCount, HalvesToEvenAndSixteenBits) {
    const struct {
        const char* text;
        int value;
        bool overflow;
    } cases[] = {
        {"3.5", 4, false},   {"4.5", 4, false},         {"4.51", 5, false},
        {"-2.5", -2, false}, {"-3.5", -4, false},       {"-0.4", 0, false},
        {"", 0, false},      {"32767.4", 32767, false}, {"-32768.5", -32768, false},
        {"40000", 0, true},  {"32767.5", 0, true},      {"-32769", 0, true},
        {"1e400", 0, true},
    };
    for (const auto& c : cases) {
        const CountValue count = ReadCount(c.text);
        EXPECT_EQ(count.overflow, c.overflow) << c.text;
        EXPECT_EQ(count.value, c.value) << c.text;
    }
    EXPECT_EQ(RoundToCount(-0.49999999999999994).value, 0);
    EXPECT_EQ(RoundToCount(0.49999999999999994).value, 0);
    EXPECT_TRUE(RoundToCount(std::nan("")).overflow);
}

// A run reads every field once through the field table, each into its own number.
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

// count × π d²/4 in cm², two decimals while they fit the 5 characters of the field.
TEST(BarAreaText, CountTimesTheBarAreaAsTheFieldHoldsIt) {
    struct Case {
        const char* count;
        double diameter;
        const char* text;
    } const cases[] = {
        {"8", 16, "16.08"},   {"4", 5, "0.79"},    {"1", 6.3, "0.31"},  {"6", 10, "4.71"},
        {"10", 32, "80.42"},  {"12", 40, "150.8"}, {"299", 40, "3757"}, {"2.5", 16, "4.02"},
        {" 4 ", 20, "12.57"}, {"0", 16, ""},       {"-3", 16, ""},      {"abc", 16, ""},
        {"99999", 40, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BarAreaText(c.count, c.diameter, 5), c.text) << c.count << " x " << c.diameter;
    }
}

}  // namespace
}  // namespace tarvelo
