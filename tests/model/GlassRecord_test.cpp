#include "model/GlassRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

std::vector<std::uint8_t> packed(const GlassRecord& g) {
    std::vector<std::uint8_t> bytes(kGlassRecordBytes, 0xAB);
    WriteGlassRecord(g, bytes.data());
    return bytes;
}

template <class T>
T at(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    T v;
    std::memcpy(&v, bytes.data() + offset, sizeof v);  // the test machine is little-endian
    return v;
}

}  // namespace

TEST(GlassRecordTest, BlankRecordByteForByte) {
    GlassRecord g;
    g.measured.thickness = 5;  // overwritten by the blank
    InitGlassRecord(g);
    const auto bytes = packed(g);

    std::vector<std::uint8_t> expected(kGlassRecordBytes, 0);
    const std::pair<std::size_t, std::size_t> blankTexts[] = {
        {6, 36}, {38, 68}, {738, 1069}, {1073, 1096}, {1096, 1816}, {12072, 12172}};
    for (auto [from, to] : blankTexts)
        for (std::size_t i = from; i < to; ++i) expected[i] = ' ';
    expected[12950] = 0xFF;  // dn/dt ready flag = -1
    expected[12951] = 0xFF;
    EXPECT_EQ(bytes, expected);
}

TEST(GlassRecordTest, OneFieldOfEveryBlockAtItsOffset) {
    GlassRecord g;
    InitGlassRecord(g);
    g.indexPointCount = 7;
    g.definition.name.set("N-BK7");
    g.definition.source.set("SCHOTT");
    g.definition.formulaType = kSellmeier;
    g.definition.coefficients[13] = 2.5;
    g.definition.transAbsorption[40] = 99.0f;
    g.constants.nd = 1.5168f;
    g.constants.nFp = 1.25f;
    g.standardAbsorption[0] = 0.5f;
    g.properties.price.set("1.0");
    g.properties.reserved = {1, 2, 3, 4};
    g.notes.notes[5].set("last note");
    g.notes.referenceTemperature = 20.0f;
    g.measured.indexWavelength[1] = 587.5618;
    g.measured.sumOfSquares = 1e-9;
    g.measured.internalTrans[150] = 42.0f;
    g.melt.meltFlag = kTrue;
    g.melt.pairIndex[20] = 1.6;
    g.melt.secondTable[3][20] = 3.25;
    g.catalogFlags.abrasion = 123;
    g.catalogFlags.dataDate = 40000.25;
    g.sections[kOther].ready = kTrue;
    g.lastStored = 45000.75;
    const auto b = packed(g);

    EXPECT_EQ(at<std::int16_t>(b, 4), 7);
    EXPECT_EQ(std::string(b.begin() + 6, b.begin() + 36), std::string("N-BK7") + std::string(25, ' '));
    EXPECT_EQ(std::string(b.begin() + 38, b.begin() + 44), "SCHOTT");
    EXPECT_EQ(at<std::int16_t>(b, 76), kSellmeier);
    EXPECT_EQ(at<double>(b, 78 + 13 * 8), 2.5);
    EXPECT_EQ(at<float>(b, 358 + 40 * 4), 99.0f);
    EXPECT_EQ(at<float>(b, 522), 1.5168f);
    EXPECT_EQ(at<float>(b, 522 + 12 * 4), 1.25f);
    EXPECT_EQ(at<float>(b, 574), 0.5f);
    EXPECT_EQ(std::string(b.begin() + 1081, b.begin() + 1084), "1.0");
    EXPECT_EQ(b[1069], 1);
    EXPECT_EQ(b[1072], 4);
    EXPECT_EQ(std::string(b.begin() + 1096 + 600, b.begin() + 1096 + 609), "last note");
    EXPECT_EQ(at<float>(b, 1850), 20.0f);
    EXPECT_EQ(at<double>(b, 1854), 587.5618);
    EXPECT_EQ(at<double>(b, 9654), 1e-9);
    EXPECT_EQ(at<float>(b, 11470 + 149 * 4), 42.0f);
    EXPECT_EQ(at<std::int16_t>(b, 12070), -1);
    EXPECT_EQ(at<double>(b, 12254 + 19 * 8), 1.6);
    EXPECT_EQ(at<double>(b, 12736 + 19 * 8), 3.25);
    EXPECT_EQ(at<std::int16_t>(b, 12908), 123);
    EXPECT_EQ(at<double>(b, 12928), 40000.25);
    EXPECT_EQ(at<std::int16_t>(b, 12936 + 4 * 4 + 2), -1);
    EXPECT_EQ(at<double>(b, 12956), 45000.75);

    GlassRecord back;
    ReadGlassRecord(b.data(), back);
    EXPECT_EQ(back, g);
}

TEST(GlassRecordTest, DesignRecordIsThePackedDefinitionAndZeros) {
    DesignGlassRecord rec;
    rec.definition.name.set("F2");
    rec.definition.upperWavelength = 2325;
    std::vector<std::uint8_t> bytes(kDesignGlassRecordBytes, 0xAB);
    WriteDesignGlassRecord(rec, bytes.data());

    std::vector<std::uint8_t> def(kGlassDefinitionBytes);
    WriteGlassDefinition(rec.definition, def.data());
    EXPECT_TRUE(std::equal(def.begin(), def.end(), bytes.begin()));
    EXPECT_EQ(at<std::int16_t>(bytes, 186), 2325);
    EXPECT_TRUE(std::all_of(bytes.begin() + 516, bytes.end(), [](std::uint8_t c) { return c == 0; }));

    DesignGlassRecord back;
    ReadDesignGlassRecord(bytes.data(), back);
    EXPECT_EQ(back, rec);
}

TEST(GlassRecordTest, TextsAreCutAndTrimmed) {
    FixedText<5> t("  abcdefg");
    EXPECT_EQ(t.raw(), "  abc");
    EXPECT_EQ(t.str(), "abc");
    EXPECT_EQ(UpperCase1252("glas\xE9 \xFF"), "GLAS\xC9 \x9F");
}
