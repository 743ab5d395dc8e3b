#include "exchange/ImportSamples.h"

#include <gtest/gtest.h>

std::vector<std::uint8_t> Utf16Bytes(const std::string& u8, bool bigEndian) {
    std::vector<std::uint8_t> out = bigEndian ? std::vector<std::uint8_t>{0xFE, 0xFF}
                                              : std::vector<std::uint8_t>{0xFF, 0xFE};
    for (std::size_t i = 0; i < u8.size();) {
        const unsigned c = static_cast<unsigned char>(u8[i]);
        unsigned cp;
        if (c < 0x80) cp = c, i += 1;
        else if (c < 0xE0) cp = (c & 0x1F) << 6 | (u8[i + 1] & 0x3F), i += 2;
        else cp = (c & 0x0F) << 12 | (u8[i + 1] & 0x3F) << 6 | (u8[i + 2] & 0x3F), i += 3;
        const auto hi = static_cast<std::uint8_t>(cp >> 8), lo = static_cast<std::uint8_t>(cp);
        if (bigEndian) out.insert(out.end(), {hi, lo});
        else out.insert(out.end(), {lo, hi});
    }
    return out;
}

std::string WithLineEnds(const std::string& text, const std::string& end) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) out += end, ++i;
        else out += text[i];
    }
    return out;
}

std::vector<EncodedFile> EncodedForms(const std::string& ascii) {
    std::vector<EncodedFile> forms;
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        const std::string ends = end == "\n" ? " LF" : end == "\r" ? " CR" : " CR LF";
        const std::string text = WithLineEnds(ascii, end);
        std::vector<std::uint8_t> bom{0xEF, 0xBB, 0xBF};
        bom.insert(bom.end(), text.begin(), text.end());
        forms.push_back({"ASCII" + ends, {text.begin(), text.end()}});
        forms.push_back({"UTF-8 with BOM" + ends, bom});
        forms.push_back({"UTF-16 LE" + ends, Utf16Bytes(text, false)});
        forms.push_back({"UTF-16 BE" + ends, Utf16Bytes(text, true)});
    }
    return forms;
}

bool ReadText(IMaterialReader& reader, const std::string& text, ImportedMaterials& result,
              const std::string& fileName) {
    return reader.ImportBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), fileName, result);
}

bool ReadBytes(IMaterialReader& reader, const std::vector<std::uint8_t>& bytes, ImportedMaterials& result,
               const std::string& fileName) {
    return reader.ImportBytes(bytes.data(), bytes.size(), fileName, result);
}

void ExpectEveryFormReadsAlike(IMaterialReader& reader, const std::string& asciiCrLf, const std::string& fileName) {
    ImportedMaterials plain, other;
    ASSERT_TRUE(ReadText(reader, asciiCrLf, plain, fileName));
    ASSERT_GE(plain.count(), 1);
    for (const EncodedFile& form : EncodedForms(asciiCrLf)) {
        SCOPED_TRACE(form.what);
        ASSERT_TRUE(ReadBytes(reader, form.bytes, other, fileName));
        EXPECT_TRUE(other.glasses == plain.glasses);
        EXPECT_EQ(other.skipped, plain.skipped);
    }
}
