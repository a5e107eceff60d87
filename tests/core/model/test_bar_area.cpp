#include <gtest/gtest.h>

#include <string>

#include "model/bar_area.h"

namespace tarvelo {
namespace {

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
