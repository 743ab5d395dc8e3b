#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

TEST(NumberTextTest, GrammarIsAFullMatch) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"1.5", true, 1.5},       {"  -2 ", true, -2},     {"+.5", true, 0.5},   {"3.", true, 3},
        {"1e-3", true, 1e-3},     {"1.5E+2", true, 150},   {"0", true, 0},       {"", false, 0},
        {"   ", false, 0},        {".", false, 0},         {"-", false, 0},      {"nan", false, 0},
        {"inf", false, 0},        {"0x1A", false, 0},      {"1,5", false, 0},    {"1.5 e-3", false, 0},
        {"1.2.3", false, 0},      {"1e", false, 0},        {"e5", false, 0},     {"--1", false, 0},
        {"1e999", false, 0},      {"1\t", false, 0},      {"1e-999", true, 0},
    };
    for (const auto& c : cases) {
        double v = -77;
        EXPECT_EQ(ParseNumber(c.text, v), c.ok) << c.text;
        if (c.ok) EXPECT_DOUBLE_EQ(v, c.value) << c.text;
        else EXPECT_EQ(v, -77) << c.text;
    }
}

TEST(NumberTextTest, IndependentOfTheLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    std::string saved = old ? old : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        double v = 0;
        EXPECT_TRUE(ParseNumber("1.25", v));
        EXPECT_EQ(v, 1.25);
        EXPECT_EQ(ShortestText(1.25), "1.25");
        std::setlocale(LC_ALL, saved.c_str());
    }
}

TEST(NumberTextTest, ShortestTextRoundTrips) {
    for (double d : {0.1, 1.0 / 3.0, 1e-6, 123456789.125, -0.0}) {
        double back = 0;
        ASSERT_TRUE(ParseNumber(ShortestText(d), back)) << ShortestText(d);
        EXPECT_EQ(back, d);
    }
    EXPECT_EQ(ShortestText(0.1f), "0.1");
    EXPECT_EQ(ShortestText(1.5), "1.5");
}
