#include "exchange/frm5Export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "exchange/CImportNewGLZ.h"
#include "exchange/GlzSamples.h"
#include "platform/Clock.h"
#include "model/FileUtil.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

class GlzWriteTest : public ::testing::Test {
protected:
    // Writes the materials and reads the text back.
    std::string writeAndRead(std::vector<GlassRecord>& written) {
        const std::string text = MakeGLZText(written, 1, static_cast<int>(written.size()), "date");
        EXPECT_TRUE(reader.ImportBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), glasses,
                                       count));
        EXPECT_EQ(count, static_cast<int>(written.size()));
        return text;
    }

    ScriptedBoxes boxes;
    CImportNewGLZ reader{boxes};
    std::vector<GlassRecord> glasses;
    int count = 0;
};

// A small material whose file is the fixture: two transmission and two index
// points, a melt pair and a second-table row, numbers in both forms, and texts
// with a quote, line breaks and a tab.
GlassRecord fixtureGlass() {
    GlassRecord g;
    InitGlassRecord(g);
    g.definition.name.set("Crown \"5\"");
    g.definition.source.set("Lab\r\nWest");
    g.definition.formulaType = kSchott;
    g.definition.lowerWavelength = 365;
    g.definition.upperWavelength = 1014;
    g.definition.density = 2.5f;
    g.definition.coefficients[0] = 1e-6;
    g.definition.coefficients[1] = 0.1 + 0.2;
    g.definition.coefficients[2] = 1.5e20;
    g.definition.coefficients[3] = -0.0043;
    g.indexPointCount = 2;
    g.indexDataType = kIndexData;
    g.notes.dnDtType = kSimpleDnDt;
    g.notes.dnDtSimple = 2.5e-6f;
    g.notes.lambdaTK = 365.5f;
    g.notes.referenceTemperature = 20.0f;
    g.notes.expansion = 7.1f;
    g.properties.a3070.set("7.1");
    g.properties.remark.set("tab\there");
    g.properties.status.set("r");
    g.measured.transCount = 2;
    g.measured.thickness = 10.0f;
    g.measured.transDataType = kInternalTransmission;
    g.measured.transWavelength[1] = 1000.0f;
    g.measured.internalTrans[1] = 99.9f;
    g.measured.totalTrans[1] = 91.5f;
    g.measured.absorption[1] = 0.0001f;
    g.measured.transWavelength[2] = 365.0f;
    g.measured.internalTrans[2] = 80.0f;
    g.measured.totalTrans[2] = 73.25f;
    g.measured.absorption[2] = 0.0223144f;
    g.measured.indexWavelength[1] = 1013.98;
    g.measured.index[1] = 1.50731;
    g.measured.weight[1] = 1.0f;
    g.measured.indexWavelength[2] = 365.01;
    g.measured.index[2] = 1.53627;
    g.measured.weight[2] = 0.5f;
    g.melt.meltFlag = kTrue;
    g.melt.parentName.set("N-BK7");
    g.melt.parentSource.set("SCHOTT");
    g.melt.meltCode.set("M1");
    g.melt.pairCount = 1;
    g.melt.pairWavelength[1] = 587.5618f;
    g.melt.pairIndex[1] = 1.51680;
    g.melt.secondCount = 1;
    g.melt.secondTable[1][1] = 1;
    g.melt.secondTable[2][1] = 0.5;
    g.melt.secondTable[3][1] = -2;
    return g;
}

TEST_F(GlzWriteTest, WritesTheFixtureByteForByte) {
    TestFolder folder;
    std::vector<GlassRecord> written = {fixtureGlass()};
    FixedClock clock(DateSerial(2025, 3, 4, 15, 30));
    ASSERT_TRUE(WriteGLZFile(written, folder.path(), "small.GLZ", 1, 1, clock, boxes));
    const auto expected = ReadWholeFile(std::string(KALVENOR_TEST_DATA) + "/exchange/small.GLZ");
    ASSERT_TRUE(expected.has_value());
    const auto bytes = folder.read("small.GLZ");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), std::string(expected->begin(), expected->end()));
}

TEST_F(GlzWriteTest, TextsCannotBreakTheFile) {
    std::vector<GlassRecord> written = {GlzSample("Quote \" and\r\nbreak", {2, 1, 1, 1})};
    written[0].definition.source.set("\"Maker\"\x01");
    written[0].properties.remark.set("a\rb\nc\td");
    written[0].melt.parentName.set("Parent \"P\"");
    written[0].melt.meltCode.set("\r\nM\"");
    writeAndRead(written);
    const GlassRecord& g = glasses.at(0);
    EXPECT_EQ(g.definition.name.str(), "Quote ' and  break");
    EXPECT_EQ(g.definition.source.str(), "'Maker'");
    EXPECT_EQ(g.properties.remark.str(), "a b c d");
    EXPECT_EQ(g.melt.parentName.str(), "Parent 'P'");
    EXPECT_EQ(g.melt.meltCode.str(), "M'");
    EXPECT_EQ(g.melt.pairCount, 1);  // the items after the texts are still in step
}

TEST_F(GlzWriteTest, NumbersWithoutATextAreWrittenAsZero) {
    std::vector<GlassRecord> written = {GlzSample("NaN", {2, 1, 0, 0})};
    written[0].definition.coefficients[5] = std::numeric_limits<double>::quiet_NaN();
    written[0].definition.density = std::numeric_limits<float>::infinity();
    written[0].measured.index[1] = -std::numeric_limits<double>::infinity();
    const std::string text = writeAndRead(written);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_EQ(text.find("inf"), std::string::npos);
    EXPECT_EQ(glasses.at(0).definition.coefficients[5], 0.0);
    EXPECT_EQ(glasses.at(0).definition.density, 0.0f);
    EXPECT_EQ(glasses.at(0).measured.index[1], 0.0);
}

TEST_F(GlzWriteTest, StoredCountsBeyondTheArraysAreWrittenWithinThem) {
    std::vector<GlassRecord> written = {GlzSample("Big", {2, 150, 20, 20}), GlzSample("Negative", {2, 0, 2, 0})};
    written[0].indexPointCount = 500;
    written[0].melt.pairCount = 99;
    written[0].melt.secondCount = 25;
    written[1].indexPointCount = -3;
    written[1].melt.secondCount = -1;
    writeAndRead(written);
    EXPECT_EQ(glasses.at(0).indexPointCount, 150);
    EXPECT_EQ(glasses.at(0).melt.pairCount, 20);
    EXPECT_EQ(glasses.at(0).melt.secondCount, 20);
    EXPECT_EQ(glasses.at(1).indexPointCount, 0);
    EXPECT_EQ(glasses.at(1).melt.pairCount, 2);
    EXPECT_EQ(glasses.at(1).melt.secondCount, 0);
}

TEST_F(GlzWriteTest, OptionalSectionsOnlyWithTheirData) {
    std::vector<GlassRecord> written = {GlzSample("Plain", {2, 0, 0, 0})};
    written[0].melt.meltFlag = kTrue;  // a melt flag without pairs
    const std::string text = writeAndRead(written);
    EXPECT_EQ(text.find("#     -- Ref Index --"), std::string::npos);
    EXPECT_EQ(text.find("-- Melt [optional] --"), std::string::npos);
    EXPECT_EQ(glasses.at(0).indexPointCount, 0);
    EXPECT_EQ(glasses.at(0).melt.meltFlag, kFalse);
}

TEST_F(GlzWriteTest, EachRecordIsSettledInThePagesCopy) {
    std::vector<GlassRecord> written = {GlzSample("X", {25, 0, 0, 0})};
    written[0].properties.status.set("X");
    writeAndRead(written);
    EXPECT_EQ(written[0].properties.status.str(), "A");
    EXPECT_EQ(written[0].measured.transCount, 150);
    EXPECT_EQ(glasses.at(0).properties.status.str(), "A");
    EXPECT_EQ(glasses.at(0).measured.transCount, 150);
}

TEST_F(GlzWriteTest, WritesTheRangeAndReplacesTheFile) {
    TestFolder folder;
    FixedClock clock;
    std::vector<GlassRecord> written = {GlzSample("One", {2, 0, 0, 0}), GlzSample("Two", {2, 0, 0, 0}),
                                        GlzSample("Three", {2, 0, 0, 0})};
    folder.write("out.GLZ", std::string("old content"));
    ASSERT_TRUE(WriteGLZFile(written, folder.path(), "out.GLZ", 2, 3, clock, boxes));
    ASSERT_TRUE(reader.ImportFile(folder.file("out.GLZ"), glasses, count));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(glasses[0].definition.name.str(), "Two");
    EXPECT_EQ(glasses[1].definition.name.str(), "Three");
}

TEST_F(GlzWriteTest, ALargeBackupIsWrittenWholeAcrossPieces) {
    TestFolder folder;
    FixedClock clock;
    std::vector<GlassRecord> written;
    for (int i = 1; i <= 400; ++i) written.push_back(GlzSample("Glass " + std::to_string(i), {150, 20, i % 3, 2}));
    std::vector<GlassRecord> copy = written;
    const std::string expected = MakeGLZText(copy, 2, 400, LongDateText(clock.now()));
    ASSERT_GT(expected.size(), 2u << 20);  // several of the writer's pieces
    ASSERT_TRUE(WriteGLZFile(written, folder.path(), "big.GLZ", 2, 400, clock, boxes));
    const auto bytes = folder.read("big.GLZ");
    EXPECT_TRUE(std::string(bytes.begin(), bytes.end()) == expected);
    EXPECT_TRUE(written == copy);  // the page's copy is settled the same way
}

TEST_F(GlzWriteTest, ARangeOutsideTheArrayWritesNothing) {
    TestFolder folder;
    FixedClock clock;
    std::vector<GlassRecord> written = {GlzSample("One", {2, 0, 0, 0}), GlzSample("Two", {2, 0, 0, 0})};
    for (auto [first, last] : {std::pair{0, 1}, std::pair{1, 3}, std::pair{2, 1}, std::pair{-1, -1}}) {
        EXPECT_FALSE(WriteGLZFile(written, folder.path(), "none.GLZ", first, last, clock, boxes));
        EXPECT_FALSE(folder.exists("none.GLZ"));
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(GlzWriteTest, AFailedWriteSaysWhichFile) {
    TestFolder folder;
    FixedClock clock;
    std::vector<GlassRecord> written = {GlzSample("One", {2, 0, 0, 0})};
    boxes.answer(kAnswerOk);
    const std::string missing = folder.path() + "no such folder";
    EXPECT_FALSE(WriteGLZFile(written, missing, "x.GLZ", 1, 1, clock, boxes));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxExclamation);
    EXPECT_NE(boxes.last().text.find(missing + "/x.GLZ"), std::string::npos) << boxes.last().text;
}

TEST(GlzLongDateTest, NamesTheDayAndMonth) {
    const struct {
        double serial;
        const char* text;
    } cases[] = {
        {DateSerial(2025, 3, 4, 23, 59), "Tuesday, March 4, 2025"},
        {0.0, "Saturday, December 30, 1899"},
        {DateSerial(2000, 2, 29), "Tuesday, February 29, 2000"},
        {DateSerial(1850, 1, 1, 12), "Tuesday, January 1, 1850"},
        {DateSerial(2100, 12, 31), "Friday, December 31, 2100"},
    };
    for (const auto& c : cases) EXPECT_EQ(LongDateText(c.serial), c.text) << c.serial;
}

}  // namespace
