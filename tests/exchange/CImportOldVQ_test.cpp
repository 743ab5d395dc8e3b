#include "exchange/CImportOldVQ.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/CImportOldLQ.h"
#include "exchange/ImportSamples.h"

namespace {

std::vector<std::string> layoutLines() {
    return {
        "\"N-TEST\",8,\"OLDCAT\",517642,2.51",
        "1,0",
        "310,2325",
        "2",
        "1.03961212,0.231792344,1.01046945,0.00600069867,0.0200179144,103.560653,0,0,0,0,0,0,0,0",
        "2,1,25",
        "1000,91.5,99.5,0.0005",
        "500,90.1,98,0.002",
    };
}

std::vector<std::string> tailLines() {
    return {
        "1.5168,1.51432,1.52238,64.17,0.00806,\"x\"",
        "1.51872,1.51472,1.52283,63.96,0.00811",
        "\"7.1\",\" null \"",
        "\"557\",\"NULL\",\"719\"",
        "\"0.858\",\"Null\"",
        "\"82\",\"0.206\",\"34\",\"610\"",
        "\"1\",\"0\",\"1.0\",\"2.3\",\"0\"",
        "\"a remark\"",
        "\"33/29\",\"ignored\",\"0\",\"NULL\",\"1.0\"",
        "0.3098,0.5436,0.5332",
        "\"note 1\",\"" + std::string(130, 'n') + "\",\"\",\"\",\"\",\"note 6\"",
    };
}

std::string glsText(bool withTail, const std::string& after = "") {
    auto lines = layoutLines();
    if (withTail) {
        const auto tail = tailLines();
        lines.insert(lines.end(), tail.begin(), tail.end());
    }
    return CrLfLines(lines) + after;
}

TEST(OldGlsReadTest, TheTailFillsConstantsPropertiesAndNotes) {
    CImportOldVQ reader;
    ImportedMaterials result;
    ASSERT_TRUE(ReadText(reader, glsText(true), result));
    ASSERT_EQ(result.count(), 1);
    const GlassRecord& g = result.glasses[0];
    const DispersionConstants& c = g.constants;
    EXPECT_FLOAT_EQ(c.nd, 1.5168f);
    EXPECT_FLOAT_EQ(c.nC, 1.51432f);
    EXPECT_FLOAT_EQ(c.nF, 1.52238f);
    EXPECT_FLOAT_EQ(c.vd, 64.17f);
    EXPECT_FLOAT_EQ(c.nFnC, 0.00806f);
    EXPECT_FLOAT_EQ(c.ne, 1.51872f);
    EXPECT_FLOAT_EQ(c.nCp, 1.51472f);
    EXPECT_FLOAT_EQ(c.nFp, 1.52283f);
    EXPECT_FLOAT_EQ(c.ve, 63.96f);
    EXPECT_FLOAT_EQ(c.nFpnCp, 0.00811f);
    EXPECT_FLOAT_EQ(c.pCs, 0.3098f);
    EXPECT_FLOAT_EQ(c.pdC, 0.5436f);
    EXPECT_FLOAT_EQ(c.pgF, 0.5332f);
    const GlassProperties& p = g.properties;
    // Texts that read null, in any case and with blanks around, are empty.
    const struct {
        const char* what;
        std::string value, expected;
    } texts[] = {
        {"A3070", p.a3070.str(), "7.1"},   {"A20300", p.a20300.str(), ""},  {"Tg", p.tg.str(), "557"},
        {"T1013", p.t1013.str(), ""},      {"T1076", p.t1076.str(), "719"}, {"Cp", p.cp.str(), "0.858"},
        {"lambda", p.lambda.str(), ""},    {"EMod", p.eMod.str(), "82"},    {"Poisson", p.poisson.str(), "0.206"},
        {"Torsion", p.torsion.str(), "34"}, {"Knoop", p.knoop.str(), "610"}, {"CR", p.cr.str(), "1"},
        {"FR", p.fr.str(), "0"},           {"SR", p.sr.str(), "1.0"},       {"AR", p.ar.str(), "2.3"},
        {"PR", p.pr.str(), "0"},           {"remark", p.remark.str(), "a remark"},
        {"colour code", p.cc.str(), "33/29"}, {"bubble", p.bubble.str(), "0"},
        // A null status is no status: it becomes "A".
        {"status", p.status.str(), "A"},   {"price", p.price.str(), "1.0"},
    };
    for (const auto& t : texts) EXPECT_EQ(t.value, t.expected) << t.what;
    EXPECT_EQ(g.notes.notes[0].str(), "note 1");
    EXPECT_EQ(g.notes.notes[1].str(), std::string(120, 'n'));  // cut to its field
    EXPECT_EQ(g.notes.notes[5].str(), "note 6");
    EXPECT_FLOAT_EQ(g.measured.thickness, 25.0f);
    for (int s : {kGeneral, kIndex, kTrans, kDnDt, kOther}) EXPECT_EQ(g.sections[s].ready, kTrue) << s;
}

TEST(OldGlsReadTest, AFileEndingAfterItsPointsReadsLikeAGlaFile) {
    CImportOldLQ gla;
    ImportedMaterials expected;
    ASSERT_TRUE(ReadText(gla, glsText(false), expected));
    // Blank lines, blanks and tabs after the points are the end of the file too.
    for (const std::string after : {"", "\r\n\r\n", "   \r\n\t\r\n  ", "\n\n\n"}) {
        CImportOldVQ reader;
        ImportedMaterials result;
        ASSERT_TRUE(ReadText(reader, glsText(false, after), result)) << after.size();
        ASSERT_EQ(result.count(), 1);
        EXPECT_TRUE(result.glasses[0] == expected.glasses[0]) << after.size();
        EXPECT_EQ(result.glasses[0].properties.status.str(), "A");
    }
}

TEST(OldGlsReadTest, ATailCutShortIsAReadError) {
    auto tail = tailLines();
    for (std::size_t keep : {std::size_t{1}, std::size_t{5}, tail.size() - 1}) {
        SCOPED_TRACE(keep);
        auto lines = layoutLines();
        lines.insert(lines.end(), tail.begin(), tail.begin() + static_cast<std::ptrdiff_t>(keep));
        CImportOldVQ reader;
        ImportedMaterials result;
        EXPECT_FALSE(ReadText(reader, CrLfLines(lines), result));
        EXPECT_EQ(result.count(), 0);
    }
}

TEST(OldGlsReadTest, EncodingsAndLineEndsGiveTheSameRecord) {
    CImportOldVQ reader;
    ExpectEveryFormReadsAlike(reader, glsText(true, "\r\n\r\n"));
}

}  // namespace
