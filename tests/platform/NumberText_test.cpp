#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

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

// The quick road must give the very characters of std::to_chars. Every float
// was compared once; here the edges of the quick road and a spread of values.
TEST(NumberTextTest, ShortestCharsWritesWhatToCharsWrites) {
    std::vector<float> values = {0.0f,      -0.0f,     1.0f,       0.1f,     1e-5f,      9.99999e-6f, 1e-6f,
                                 16777215.0f, 16777216.0f, 1e7f,    1.2e6f,   1234567.0f, 0.00013f,    2485.1f,
                                 99.5f,     -103.56f,  3.4028235e38f, 1.4e-45f, 0.5f,     8388607.5f};
    for (float v : {1e-5f, 1.0f, 16777216.0f}) {
        values.push_back(std::nextafter(v, 0.0f));
        values.push_back(std::nextafter(v, 1e30f));
    }
    std::uint32_t bits = 12345;
    for (int i = 0; i < 200000; ++i) {
        bits = bits * 1664525u + 1013904223u;  // a spread over every exponent
        const float f = std::bit_cast<float>(bits);
        if (std::isfinite(f)) values.push_back(f);
        values.push_back(static_cast<float>(i) / 1000.0f);  // and the values files are full of
    }
    for (float v : values) {
        char expected[64], got[64];
        const char* e = std::to_chars(expected, expected + 64, v).ptr;
        const char* g = ShortestChars(got, got + 64, v);
        ASSERT_EQ(std::string(got, static_cast<std::size_t>(g - got)),
                  std::string(expected, static_cast<std::size_t>(e - expected)))
            << std::bit_cast<std::uint32_t>(v);
    }
    char small[8];  // too little room for the quick road
    const char* end = ShortestChars(small, small + 8, 2.5f);
    EXPECT_EQ(std::string(small, static_cast<std::size_t>(end - small)), "2.5");
}
