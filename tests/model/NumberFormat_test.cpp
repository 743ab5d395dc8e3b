#include "model/NumberFormat.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

TEST(NumberFormatTest, PatternsInUse) {
    struct Case {
        double value;
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {2.27, "+0.00000000e+00;-0.00000000e+00", "+2.27000000e+00"},
        {-0.01, "+0.00000000e+00;-0.00000000e+00", "-1.00000000e-02"},
        {0, "+0.00000000e+00;-0.00000000e+00", "+0.00000000e+00"},
        {103.560653, "+0.00000000e+00;-0.00000000e+00", "+1.03560653e+02"},
        {9.999999999e-5, "+0.00000000e+00;-0.00000000e+00", "+1.00000000e-04"},  // the carry moves the exponent
        {1.5e-123, "+0.00000000e+00;-0.00000000e+00", "+1.50000000e-123"},
        {-2.5e-6, "0.000e+00", "-2.500e-06"},
        {12345.0, "0.000e+00", "1.235e+04"},
        {1.5168, "0.000000", "1.516800"},
        {0.0000004, "0.000000", "0.000000"},
        {0.0000005, "0.000000", "0.000001"},
        {-0.0000123, "0.000000", "-0.000012"},
        {-0.001, "0.00", "-0.00"},  // the sign of the value, as the platform shows it
        {400, "0.0", "400.0"},
        {656.25, "0.0", "656.3"},
        {-656.25, "0.0", "-656.3"},
        {0.125, "0.00", "0.13"},   // half away from zero
        {2.675, "0.00", "2.68"},   // on the decimal value, not the binary one
        {1.005, "0.00", "1.01"},
        {0.5, "0", "1"},
        {1.5, "0", "2"},
        {2.5, "0", "3"},
        {7, "000", "007"},
        {1234, "000", "1234"},
        {3.7, "0.", "4."},
        {12, "0.0000", "12.0000"},
        {1.23456789, "0.0000000", "1.2345679"},
        {656.2725, "0.0###", "656.2725"},
        {656, "0.0###", "656.0"},
        {656.27, "0.0###", "656.27"},
        {656.272549, "0.0###", "656.2725"},
        {0, "#", ""},
        {5, "#", "5"},
        {0.256, "0.0%", "25.6%"},
        {55.5, "0.00;\\----", "55.50"},
        {-1, "0.00;\\----", "----"},
        {-1, "0.0000;\\----", "----"},
        {0, "0.00000;\\----", "0.00000"},
        {-3, "0.0;", "-3.0"},                 // an empty negative section uses the first
        {0, "0.0;(0.0);\\z\\e\\r\\o", "zero"},
        {-2, "0.0;(0.0);\\z\\e\\r\\o", "(2.0)"},
        {0.25, "\"n=\"0.00", "n=0.25"},
        {99999.95, "0.0", "100000.0"},
        {1e20, "0", "100000000000000000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
}

TEST(NumberFormatTest, SinglesRoundOnSevenDigits) {
    // 1.2345679f is 1.23456788... as a double; its seven digits are 1.234568.
    EXPECT_EQ(Format(1.23456789f, "0.0000000"), "1.2345680");
    EXPECT_EQ(Format(1.23456789, "0.0000000"), "1.2345679");
    EXPECT_EQ(Format(0.1f, "0.000000000"), "0.100000000");
    EXPECT_EQ(Format(486.1327f, "0.0"), "486.1");
    EXPECT_EQ(Format(3, "0"), "3");
}

TEST(NumberFormatTest, PlainAndOddValues) {
    EXPECT_EQ(Format(0.1, ""), "0.1");
    EXPECT_EQ(Format(1.5f, ""), "1.5");
    EXPECT_EQ(Format(std::numeric_limits<double>::infinity(), "0.00"), "inf");
    EXPECT_EQ(Format(-0.0, "0.00"), "0.00");
    EXPECT_EQ(GeneralText(1.03961212), "1.03961212");
    EXPECT_EQ(GeneralText(0.1 + 0.2), "0.3");  // 15 digits, not the shortest round trip
    EXPECT_EQ(GeneralText(1.5168f), "1.5168");
    EXPECT_EQ(GeneralText(64.16768646f), "64.16769");
}

TEST(NumberFormatTest, IndependentOfTheLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    const bool switched = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8");
    EXPECT_EQ(Format(1.5, "0.000"), "1.500");
    EXPECT_EQ(Format(1.5, "+0.00000000e+00;-0.00000000e+00"), "+1.50000000e+00");
    EXPECT_EQ(GeneralText(1.5), "1.5");
    if (switched) std::setlocale(LC_ALL, saved.c_str());
}
