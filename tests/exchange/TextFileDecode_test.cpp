#include "exchange/TextFileDecode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string decode(const std::vector<std::uint8_t>& bytes) { return DecodeTextFile(bytes.data(), bytes.size()); }

TEST(TextFileDecodeTest, TurnsEveryFormIntoWindows1252) {
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::string text;
    } cases[] = {
        {"empty", {}, ""},
        {"ASCII", {'a', '\r', '\n', 'b'}, "a\r\nb"},
        {"Windows-1252 stays", {'e', 0xE9, ' ', 0x80, 0x81}, "e\xE9 \x80\x81"},
        {"UTF-8 without mark", {0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xC5, 0xA0}, "\xE9\x80\x8A"},
        {"UTF-8 with mark", {0xEF, 0xBB, 0xBF, 'a', 0xC2, 0xB5}, "a\xB5"},
        {"UTF-8 mark alone", {0xEF, 0xBB, 0xBF}, ""},
        {"outside the code page", {0xCE, 0xA9, 0xF0, 0x9F, 0x98, 0x80, 'x'}, "??x"},
        {"undefined code page bytes keep their C1 value", {0xEF, 0xBB, 0xBF, 0xC2, 0x81, 0xC2, 0x80}, "\x81?"},
        {"broken UTF-8 after a mark", {0xEF, 0xBB, 0xBF, 0xC3, 'a', 0xE2, 0x82}, "?a??"},
        {"overlong and surrogate forms are no UTF-8", {0xC0, 0xAF, 0xED, 0xA0, 0x80}, "\xC0\xAF\xED\xA0\x80"},
        {"UTF-16 LE", {0xFF, 0xFE, 'a', 0, 0xAC, 0x20, 0x0D, 0, 0x0A, 0}, "a\x80\r\n"},
        {"UTF-16 BE", {0xFE, 0xFF, 0, 'a', 0x20, 0xAC}, "a\x80"},
        {"UTF-16 pair and lone surrogates", {0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xDC, 0x3D, 0xD8}, "???"},
        {"UTF-16 odd last byte", {0xFF, 0xFE, 'a', 0, 'b'}, "a?"},
    };
    for (const auto& c : cases) EXPECT_EQ(decode(c.bytes), c.text) << c.what;
}

// For the program's own files only the marks decide: unmarked bytes that
// form UTF-8 stay as they are.
TEST(TextFileDecodeTest, UnmarkedFilesCanBeTakenAsWindows1252Always) {
    const std::vector<std::uint8_t> unmarked{'a', 0xC3, 0xA9};
    EXPECT_EQ(decode(unmarked), "a\xE9");
    EXPECT_EQ(DecodeTextFile(unmarked.data(), unmarked.size(), Unmarked::k1252), "a\xC3\xA9");
    const std::vector<std::uint8_t> marked{0xEF, 0xBB, 0xBF, 'a', 0xC3, 0xA9};
    EXPECT_EQ(DecodeTextFile(marked.data(), marked.size(), Unmarked::k1252), "a\xE9");
    const std::vector<std::uint8_t> utf16{0xFF, 0xFE, 'a', 0, 0xE9, 0};
    EXPECT_EQ(DecodeTextFile(utf16.data(), utf16.size(), Unmarked::k1252), "a\xE9");
}

}  // namespace
