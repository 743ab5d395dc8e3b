#include "model/DataEntry.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/ScriptedBoxes.h"

namespace {

class FakeBox : public INumberBox {
public:
    explicit FakeBox(std::string text) : m_text(std::move(text)) {}
    std::string text() const override { return m_text; }
    void setText(const std::string& text) override {
        m_text = text;
        ++writes;
    }
    void select(int start, int length) override {
        selStart = start;
        selLength = length;
    }

    int writes = 0;
    int selStart = -1;
    int selLength = -1;

private:
    std::string m_text;
};

std::string invalidMessage(const std::string& typed) {
    return "    '" + typed + "'\r\n\r\nThis is not a valid number: try again.";
}

struct Case {
    const char* typed;
    bool asTyped;       // a number as typed
    bool afterCleaning;  // a number, as typed or once cleaned
    const char* result;  // the text afterwards
};

// Blanks, sign, digits, one ".", exponent; nothing else, whatever the locale.
const Case kCases[] = {
    {"12.5", true, true, "12.5"},
    {" 7 ", true, true, " 7 "},
    {"-3", true, true, "-3"},
    {"+.5", true, true, "+.5"},
    {"1.5e-3", true, true, "1.5e-3"},
    {"2E5", true, true, "2E5"},
    {"12.5 mm", false, true, "12.5"},
    {"-12.5\xB0" "C", false, true, "-12.5"},
    {"n = 1.52", false, true, "1.52"},
    {"0x1A", false, true, "01"},       // cleaning keeps the digits
    {"1.5 e-3", false, false, "1.5 e-3"},  // cleans to 1.5-3
    {"abc", false, false, "abc"},
    {"", false, false, ""},
    {"1,5", false, false, "1,5"},
    {"1,234.50", false, false, "1,234.50"},
    {"nan", false, false, "nan"},
    {"inf", false, false, "inf"},
    {"1.2.3", false, false, "1.2.3"},
    {"+-3", false, false, "+-3"},
    {"1e999", false, true, "1999"},    // too large as typed; the digits are a number
    {"1.5e-3 mm", false, false, "1.5e-3 mm"},
};

}  // namespace

TEST(DataEntryTest, NumberCharacters) {
    for (char ch : std::string("0123456789.,+-")) EXPECT_TRUE(IsNumberChar(ch)) << ch;
    for (char ch : std::string(" eE\txa_/\xB0")) EXPECT_FALSE(IsNumberChar(ch)) << ch;
}

TEST(DataEntryTest, ValidateNumberStringCleansOnlyWhatIsNoNumber) {
    for (const auto& c : kCases) {
        ScriptedBoxes boxes;
        if (!c.afterCleaning) boxes.answer(kAnswerOk);
        std::string text = c.typed;
        EXPECT_EQ(ValidateNumberString(text, true, boxes), c.afterCleaning) << c.typed;
        EXPECT_EQ(text, c.result) << c.typed;
        if (c.afterCleaning) {
            EXPECT_TRUE(boxes.shown().empty()) << c.typed;
        } else {
            ASSERT_EQ(boxes.shown().size(), 1u) << c.typed;
            EXPECT_EQ(boxes.last().text, invalidMessage(c.typed));
            EXPECT_EQ(boxes.last().style, kBoxInformation);
            EXPECT_EQ(boxes.last().title, "Invalid Number");
        }
    }
}

TEST(DataEntryTest, IsValidNumberNeverCleans) {
    for (const auto& c : kCases) {
        ScriptedBoxes quiet;
        EXPECT_EQ(IsValidNumber(c.typed, false, quiet), c.asTyped) << c.typed;
        EXPECT_TRUE(quiet.shown().empty());

        ScriptedBoxes boxes;
        if (!c.asTyped) boxes.answer(kAnswerOk);
        EXPECT_EQ(IsValidNumber(c.typed, true, boxes), c.asTyped) << c.typed;
        EXPECT_EQ(boxes.shown().size(), c.asTyped ? 0u : 1u) << c.typed;
        if (!c.asTyped) {
            EXPECT_EQ(boxes.last().text, invalidMessage(c.typed));
        }
    }
}

TEST(DataEntryTest, CleanNumberStringTriesTheCleanedTextOnly) {
    ScriptedBoxes boxes;
    std::string text = "12.5 mm";
    EXPECT_TRUE(CleanNumberString(text, false, boxes));
    EXPECT_EQ(text, "12.5");
    // Blanks are no number characters, so cleaning drops them as well.
    text = " 7 ";
    EXPECT_TRUE(CleanNumberString(text, false, boxes));
    EXPECT_EQ(text, "7");
    text = "abc";
    EXPECT_FALSE(CleanNumberString(text, false, boxes));
    EXPECT_EQ(text, "abc");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(DataEntryTest, NumberBox) {
    for (const auto& c : kCases) {
        ScriptedBoxes boxes;
        if (!c.afterCleaning) boxes.answer(kAnswerOk);
        FakeBox box(c.typed);
        EXPECT_EQ(ValidateNumberBox(box, true, boxes), c.afterCleaning) << c.typed;
        EXPECT_EQ(box.text(), c.result) << c.typed;
        // A number as typed is left alone; a failed entry is never rewritten.
        EXPECT_EQ(box.writes, !c.asTyped && c.afterCleaning ? 1 : 0) << c.typed;
        EXPECT_EQ(boxes.shown().size(), c.afterCleaning ? 0u : 1u) << c.typed;
    }

    ScriptedBoxes quiet;
    FakeBox bad("abc");
    EXPECT_FALSE(CleanNumberBox(bad, false, quiet));
    EXPECT_EQ(bad.text(), "abc");
    EXPECT_TRUE(quiet.shown().empty());
}

TEST(DataEntryTest, SelectAllText) {
    FakeBox box("1.2345");
    SelectAllText(box);
    EXPECT_EQ(box.selStart, 0);
    EXPECT_EQ(box.selLength, 6);
}
