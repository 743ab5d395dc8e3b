#include "platform/Text1252.h"

#include <gtest/gtest.h>

TEST(Text1252Test, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = Utf8From1252(all);
    EXPECT_EQ(Text1252FromUtf8(utf8, BrokenUtf8::Question), all);
    EXPECT_EQ(Utf8From1252("\x80"), "\xE2\x82\xAC");  // the euro sign
    EXPECT_EQ(Utf8From1252("\xE9"), "\xC3\xA9");
}

TEST(Text1252Test, BrokenUtf8AndCharactersOutsideTheCodePage) {
    // A lone Latin-1 byte: a '?' for files that claimed UTF-8, itself for the database.
    EXPECT_EQ(Text1252FromUtf8("Schott \xE9", BrokenUtf8::Question), "Schott ?");
    EXPECT_EQ(Text1252FromUtf8("Schott \xE9", BrokenUtf8::KeepByte), "Schott \xE9");
    // Overlong form, a surrogate, and a character the code page lacks.
    EXPECT_EQ(Text1252FromUtf8("\xC0\xAF", BrokenUtf8::Question), "??");
    EXPECT_EQ(Text1252FromUtf8("\xED\xA0\x80", BrokenUtf8::KeepByte), "\xED\xA0\x80");
    EXPECT_EQ(Text1252FromUtf8("\xE2\x88\x9E", BrokenUtf8::Question), "?");  // infinity
    EXPECT_EQ(Byte1252From(0x2122), '\x99');
    EXPECT_EQ(UnicodeFrom1252(0x81), 0x0081);  // undefined byte: its C1 control
}

TEST(Text1252Test, UpperCaseCoversTheCodePagesLetters) {
    EXPECT_EQ(UpperCase1252("n-bk7 \xE9\xF7\x9A\xFF"), "N-BK7 \xC9\xF7\x8A\x9F");
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_TRUE(EqualsIgnoreCase("KalvQX.ini", "KALVQX.INI"));
    EXPECT_FALSE(EqualsIgnoreCase("\xE9", "\xC9"));  // only ASCII letters for file names
}
