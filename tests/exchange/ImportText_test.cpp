#include "exchange/ImportText.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Values spread over many decades, the same on every run.
class Spread {
public:
    explicit Spread(std::uint64_t seed) : m_bits(seed) {}
    // A value between 0 and 10^decades, in any of 2 * decades decades below that.
    double value(int decades) {
        const auto decade = static_cast<double>(next() % (2 * static_cast<unsigned>(decades)));
        const double magnitude = std::pow(10.0, decade - decades);
        return (static_cast<double>(next() % 1000000007) / 1000000007.0) * magnitude;
    }

private:
    std::uint64_t next() {
        m_bits ^= m_bits << 13, m_bits ^= m_bits >> 7, m_bits ^= m_bits << 17;
        return m_bits;
    }
    std::uint64_t m_bits;
};

TEST(ValTest, TakesTheLeadingNumber) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"1.5", 1.5},        {"  \t-2.5e3x", -2500}, {"1.5abc", 1.5},   {"+3", 3},      {"-.5", -0.5},
        {"7.", 7},           {"12.34.5", 12.34},    {"1D2", 100},      {"2d-1", 0.2},  {"1E", 1},
        {"1e+", 1},          {"1e-2", 0.01},        {"517642.251", 517642.251},
        {"", 0},             {"abc", 0},            {".", 0},          {"-", 0},       {"e5", 0},
        {"1e999", 0},        {"-1e999", 0},         {"1e-999", 0},     {"nan", 0},     {"inf", 0},
        {"0x1A", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(Val(c.text), c.value) << '"' << c.text << '"';
}

// Numbers as catalogues write them read to the very double the full
// grammar gives, whichever road Val takes to it.
TEST(ValTest, ReadsEveryNumberToTheNearestDouble) {
    Spread spread(88172645463325252u);
    const char* const formats[] = {"%.10E", "%.3f", "%.17g", "%.6f", "%.15E", "%.1E", "%.20f", "%g"};
    for (int i = 0; i < 20000; ++i) {
        const double value = spread.value(30);
        for (const char* format : formats) {
            char text[400];
            std::snprintf(text, sizeof text, format, i % 2 ? -value : value);
            double expected = 0;
            const std::string_view t(text);
            std::from_chars(t.data() + (t[0] == '-'), t.data() + t.size(), expected);
            if (t[0] == '-') expected = -expected;
            ASSERT_EQ(Val(text), expected) << text;
        }
    }
}

// The quick road gives what std::from_chars gives, for doubles and singles
// alike, or leaves the text to the full grammar.
TEST(QuickDecimalTest, AgreesWithFromChars) {
    Spread spread(2463534242u);
    const char* const formats[] = {"%.9g", "%.8E", "%.3f", "%.17g", "%.7g", "%.15E", "%.1f"};
    for (int i = 0; i < 40000; ++i) {
        const double value = spread.value(25);
        for (const char* format : formats) {
            char text[64];
            std::snprintf(text, sizeof text, format, i % 2 ? -value : value);
            const std::string_view t(text);
            double d = 0, expectedD = 0;
            float f = 0, expectedF = 0;
            std::from_chars(t.data(), t.data() + t.size(), expectedD);
            std::from_chars(t.data(), t.data() + t.size(), expectedF);
            if (QuickDecimal(t, d)) {
                ASSERT_EQ(d, expectedD) << text;
            }
            if (QuickDecimal(t, f)) {
                ASSERT_EQ(f, expectedF) << text;
            }
        }
    }
    // The forms files are full of take the quick road.
    double d = 0;
    float f = 0;
    for (const char* common : {"2485.1", "-0.00013", "1.0361212000E+00", "64.17", "1E-06", "0"}) {
        EXPECT_TRUE(QuickDecimal(common, d)) << common;
        EXPECT_TRUE(QuickDecimal(common, f)) << common;
    }
    EXPECT_EQ(d, 0.0);
    // Singles that lie midway between two singles need the full road.
    EXPECT_FALSE(QuickDecimal("16777217", f));  // 2^24 + 1: exactly between 2^24 and 2^24 + 2
    EXPECT_TRUE(QuickDecimal("16777218", f));
    EXPECT_EQ(f, 16777218.0f);
    for (const char* other : {"", "-", "1.", ".5", "+1", "1e", "1e+", "0x10", "1 ", "12345678901234567", "1e23"})
        EXPECT_FALSE(QuickDecimal(other, d)) << other;
}

TEST(ValTest, SingleAndWholeNumbersStayInRange) {
    EXPECT_FLOAT_EQ(ValSingle("2.51"), 2.51f);
    EXPECT_EQ(ValSingle("1e39"), 0.0f);
    std::int64_t v = 7;
    EXPECT_TRUE(WholeNumber(2.5, -10, 10, v));
    EXPECT_EQ(v, 2);  // halves go to the even neighbour
    EXPECT_TRUE(WholeNumber(3.5, -10, 10, v));
    EXPECT_EQ(v, 4);
    EXPECT_FALSE(WholeNumber(10.6, -10, 10, v));
    EXPECT_FALSE(WholeNumber(1e300, -10, 10, v));
}

TEST(SplitFieldsTest, RunsOfBlanksAndTabsSeparate) {
    std::vector<std::string_view> fields{"stale"};
    SplitFields(" \tNM  N-BK7\t2 \t 517642 \t", fields);
    EXPECT_EQ(fields, (std::vector<std::string_view>{"NM", "N-BK7", "2", "517642"}));
    SplitFields(" \t ", fields);
    EXPECT_TRUE(fields.empty());
}

TEST(TextCursorTest, LinesEndAtAnyLineEndAndAreNumbered) {
    TextCursor in("one\r\ntwo\nthree\rfour\r\n\r\nsix");
    std::vector<std::string_view> lines;
    std::vector<int> numbers;
    std::string_view line;
    while (in.readLine(line)) {
        lines.push_back(line);
        numbers.push_back(in.lastLineNumber());
    }
    EXPECT_EQ(lines, (std::vector<std::string_view>{"one", "two", "three", "four", "", "six"}));
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST(TextCursorTest, ItemsRunAcrossLinesAndQuotesHoldCommas) {
    TextCursor in("\"a, b\" , 2\r\n  x y  \r\n\r\n\"open");
    std::vector<std::string_view> items;
    std::string_view item;
    while (in.readItem(item)) items.push_back(item);
    EXPECT_EQ(items, (std::vector<std::string_view>{"a, b", "2", "x y", "", "open"}));
}

TEST(TextCursorTest, OnlyBlanksLeft) {
    TextCursor in("1,2\r\n \t\r\n\r\n");
    std::string_view item;
    in.readItem(item);
    EXPECT_FALSE(in.onlyBlanksLeft());
    in.readItem(item);
    EXPECT_TRUE(in.onlyBlanksLeft());
}

}  // namespace
