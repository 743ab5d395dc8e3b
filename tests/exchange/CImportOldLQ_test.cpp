#include "exchange/CImportOldLQ.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "exchange/ImportSamples.h"
#include "model/GlassData.h"
#include "model/TransCalcs.h"
#include "support/TestFolder.h"

namespace {

// An N-BK7-like material; its transmission points come short to long, as a
// hand-made file may list them.
std::vector<std::string> glaLines() {
    return {
        "\"N-TEST\",8,\"OLDMAKER\",123456,2.51",
        "0,3",
        "1014.0,1.5024,1",
        "587.5618,1.5168,1",
        "404.66,1.5302,0.5",
        "310,2325",
        "2",
        "1.03961212,0.231792344,1.01046945,0.00600069867,0.0200179144,103.560653,0,0,0,0,0,0,0,0",
        "3,1,10",
        "350,40,44,0.08",
        "500,90.1,98,0.002",
        "1000,91.5,99.5,0.0005",
    };
}

TEST(OldGlaReadTest, EveryFieldLandsInTheRecord) {
    CImportOldLQ reader;
    ImportedMaterials result;
    ASSERT_TRUE(ReadText(reader, CrLfLines(glaLines()), result));
    ASSERT_EQ(result.count(), 1);
    EXPECT_EQ(result.fitErrors, std::vector<float>{0.0f});
    EXPECT_TRUE(result.skipped.empty());
    const GlassRecord& g = result.glasses[0];
    const GlassDefinition& d = g.definition;
    EXPECT_EQ(d.name.str(), "N-TEST");
    EXPECT_EQ(d.catalogNumber, 8);
    EXPECT_EQ(d.source.str(), "OLDMAKER");
    EXPECT_FLOAT_EQ(d.density, 2.51f);
    EXPECT_EQ(g.indexDataType, kIndexData);
    ASSERT_EQ(g.indexPointCount, 3);
    // Index points keep their file order, with µm and n² beside them.
    const MeasuredData& m = g.measured;
    EXPECT_DOUBLE_EQ(m.indexWavelength[1], 1014.0);
    EXPECT_DOUBLE_EQ(m.indexWavelength[3], 404.66);
    EXPECT_DOUBLE_EQ(m.indexWavelengthUm[2], 0.5875618);
    EXPECT_DOUBLE_EQ(m.indexSquared[2], 1.5168 * 1.5168);
    EXPECT_FLOAT_EQ(m.weight[3], 0.5f);
    EXPECT_EQ(d.lowerWavelength, 310);
    EXPECT_EQ(d.upperWavelength, 2325);
    EXPECT_EQ(d.formulaType, kSellmeier);
    EXPECT_DOUBLE_EQ(d.coefficients[5], 103.560653);
    // The glass code of the file gives way to the one of the formula.
    EXPECT_EQ(d.glassCode, 517642);

    // Transmission points end up longest first, total before internal as in the file.
    ASSERT_EQ(m.transCount, 3);
    EXPECT_EQ(m.transDataType, kInternalTransmission);
    EXPECT_FLOAT_EQ(m.thickness, 10.0f);
    const float waves[] = {1000, 500, 350}, total[] = {91.5f, 90.1f, 40}, internal[] = {99.5f, 98, 44},
                alphas[] = {0.0005f, 0.002f, 0.08f};
    for (std::size_t i = 1; i <= 3; ++i) {
        EXPECT_EQ(m.transWavelength[i], waves[i - 1]) << i;
        EXPECT_EQ(m.totalTrans[i], total[i - 1]) << i;
        EXPECT_EQ(m.internalTrans[i], internal[i - 1]) << i;
        EXPECT_EQ(m.absorption[i], alphas[i - 1]) << i;
        EXPECT_EQ(d.transWavelength[i - 1], waves[i - 1]) << i;
        EXPECT_EQ(d.transAbsorption[i - 1], alphas[i - 1]) << i;
    }
    for (std::size_t i = 3; i < 40; ++i) EXPECT_EQ(d.transAbsorption[i], 99.0f) << i;
    EXPECT_EQ(d.transAbsorption[40], 0.0f);  // the 41st entry keeps its blank value
    std::array<float, kStandardTransCount> expected{};
    AbsorptionAtStandardWavelengths(expected, 10, m.transWavelength.items, m.absorption.items);
    EXPECT_EQ(g.standardAbsorption, expected);
    EXPECT_FLOAT_EQ(g.standardAbsorption[24], 0.002f);  // 500 nm, a measured point

    EXPECT_EQ(g.properties.status.str(), "A");
    for (int s : {kGeneral, kIndex, kTrans, kDnDt, kOther}) EXPECT_EQ(g.sections[s].ready, kTrue) << s;
}

TEST(OldGlaReadTest, EncodingsAndLineEndsGiveTheSameRecord) {
    CImportOldLQ reader;
    ExpectEveryFormReadsAlike(reader, CrLfLines(glaLines()));
}

TEST(OldGlaReadTest, OddValuesAreMadeSafe) {
    const struct {
        const char* what;
        std::size_t line;
        std::string text;
        std::int16_t lower, upper;
        float thickness;
    } cases[] = {
        {"thickness 0 reads as 10 mm", 8, "3,1,0", 310, 2325, 10},
        {"negative thickness reads as 10 mm", 8, "3,1,-4", 310, 2325, 10},
        {"limits beyond the record's range are held at its edges", 5, "-20,40000", 0, 32000, 10},
        {"an empty number item reads as 0", 5, ",2325", 0, 2325, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto lines = glaLines();
        lines.at(c.line) = c.text;
        CImportOldLQ reader;
        ImportedMaterials result;
        ASSERT_TRUE(ReadText(reader, CrLfLines(lines), result));
        ASSERT_EQ(result.count(), 1);
        const GlassRecord& g = result.glasses[0];
        EXPECT_EQ(g.definition.lowerWavelength, c.lower);
        EXPECT_EQ(g.definition.upperWavelength, c.upper);
        EXPECT_FLOAT_EQ(g.measured.thickness, c.thickness);
        // The standard absorption was taken at that thickness: a measured point reads back.
        EXPECT_FLOAT_EQ(g.standardAbsorption[24], 0.002f);
    }
}

TEST(OldGlaReadTest, ReadErrorsKeepNothing) {
    auto with = [](std::size_t line, const std::string& text) {
        auto lines = glaLines();
        lines.at(line) = text;
        return CrLfLines(lines);
    };
    auto cut = [](std::size_t lines) {
        auto all = glaLines();
        all.resize(lines);
        return CrLfLines(all) + "1000,91.5";  // and half a point
    };
    std::string manyIndex = with(1, "0,151");
    for (int i = 0; i < 148; ++i) manyIndex.insert(manyIndex.find("310,2325"), "500,1.5,1\r\n");
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty file", ""},
        {"a text where a number belongs", with(0, "\"N-TEST\",eight,\"OLDMAKER\",123456,2.51")},
        {"an Integer beyond its range", with(6, "40000")},
        {"ends inside the transmission points", cut(11)},
        {"ends before the formula", cut(6)},
        {"151 index points", manyIndex},
        {"negative index count", with(1, "0,-1")},
        {"42 transmission points", with(8, "42,1,10")},
        {"negative transmission count", with(8, "-3,1,10")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CImportOldLQ reader;
        ImportedMaterials result;
        result.glasses.resize(2);  // nothing of what the caller held survives
        EXPECT_FALSE(ReadText(reader, c.text, result));
        EXPECT_TRUE(result.glasses.empty());
        EXPECT_TRUE(result.fitErrors.empty());
        EXPECT_TRUE(result.errorText.empty());
    }
}

TEST(OldGlaReadTest, ReadsTheFileOnDisk) {
    TestFolder folder;
    folder.write("n-test.gla", CrLfLines(glaLines()));
    CImportOldLQ reader;
    ImportedMaterials result;
    ASSERT_TRUE(reader.ImportFile(folder.file("n-test.gla"), result));
    ASSERT_EQ(result.count(), 1);
    EXPECT_EQ(result.glasses[0].definition.name.str(), "N-TEST");
    EXPECT_FALSE(reader.ImportFile(folder.file("missing.gla"), result));
    EXPECT_EQ(result.count(), 0);
}

}  // namespace
