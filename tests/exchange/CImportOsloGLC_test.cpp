#include "exchange/CImportOsloGLC.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "exchange/ImportSamples.h"
#include "model/GlassData.h"
#include "model/NumberFormat.h"
#include "platform/NumberText.h"

namespace {

const std::vector<std::string> kSellmeierFields = {"1.03961212", "0.231792344", "1.01046945",
                                                   "0.00600069867", "0.0200179144", "103.560653"};
const std::vector<std::string> kDnDtFields = {"1", "x", "1.86e-6", "1.31e-8", "-1.37e-11",
                                              "4.34e-7", "6.27e-10", "0.17"};
// Three points listed short to long: micrometres and fractions.
const std::vector<std::string> kThreePoints = {"1", "3", "0.35", "0.40", "0.5", "0.90", "1.0", "0.995"};

struct GlcLine {
    std::string name = "NBK7";
    std::string formula = "2";
    std::vector<std::string> coefficients = kSellmeierFields;
    std::vector<std::string> dnDt = kDnDtFields;
    std::vector<std::string> transmission = kThreePoints;
    std::string status = "V";
    std::string chemical = "12345";
    std::string bubble = "0";

    std::string text() const {
        std::string name10 = name;
        name10.resize(10, ' ');
        std::vector<std::string> fields = {"1.5168", "64.17", "2.51",   "2.1e-6", "71",  "x",
                                           "1.5",    "610",   chemical, bubble,   status, formula, "0"};
        for (const auto* part : {&coefficients, &dnDt, &transmission})
            fields.insert(fields.end(), part->begin(), part->end());
        std::string line = name10;
        for (const std::string& f : fields) line += " " + f;
        return line;
    }
};

std::string catalogue(const std::vector<GlcLine>& lines, const std::string& first = "OSLO glass catalog MYCAT") {
    std::vector<std::string> text{first};
    for (const GlcLine& l : lines) text.push_back(l.text());
    return CrLfLines(text);
}

class GlcReadTest : public ::testing::Test {
protected:
    bool read(const std::string& text) { return ReadText(reader, text, result); }

    CImportOsloGLC reader;
    ImportedMaterials result;
};

double indexAt(const GlassDefinition& d, float nm) {
    bool ok = false;
    const double n = EvaluateIndex(d, nm, d.formulaType, ok);
    EXPECT_TRUE(ok) << nm;
    return n;
}

TEST_F(GlcReadTest, EveryFieldLandsInTheRecord) {
    ASSERT_TRUE(read(catalogue({GlcLine{}})));
    ASSERT_EQ(result.count(), 1);
    EXPECT_EQ(result.refitCount, 0);
    EXPECT_EQ(result.fitErrors, std::vector<float>{0.0f});
    const GlassRecord& g = result.glasses[0];
    const GlassDefinition& d = g.definition;
    EXPECT_EQ(d.name.str(), "NBK7");
    EXPECT_EQ(d.source.str(), "MYCAT");
    EXPECT_EQ(d.catalogNumber, 8);
    EXPECT_EQ(g.indexDataType, kCoefficients);
    EXPECT_EQ(d.glassCode, 517642);
    EXPECT_FLOAT_EQ(d.density, 2.51f);
    EXPECT_EQ(d.formulaType, kSellmeier);
    // Sellmeier constants stay in file order: the B terms, then the C terms.
    EXPECT_DOUBLE_EQ(d.coefficients[0], 1.03961212);
    EXPECT_DOUBLE_EQ(d.coefficients[3], 0.00600069867);
    EXPECT_DOUBLE_EQ(d.coefficients[5], 103.560653);
    const NotesAndDnDt& t = g.notes;
    EXPECT_FLOAT_EQ(t.dnDtSimple, 2.1e-6f);
    EXPECT_FLOAT_EQ(t.expansion, 7.1f);
    EXPECT_EQ(t.dnDtType, kSchottDnDt);
    EXPECT_FLOAT_EQ(t.d0, 1.86e-6f);
    EXPECT_FLOAT_EQ(t.lambdaTK, 0.17f);
    EXPECT_FLOAT_EQ(t.referenceTemperature, 20.0f);
    const GlassProperties& p = g.properties;
    EXPECT_EQ(p.a3070.str(), "7.1");
    EXPECT_EQ(p.price.str(), "15");
    EXPECT_EQ(p.knoop.str(), "610");
    EXPECT_EQ(p.cr.str() + p.fr.str() + p.sr.str() + p.ar.str() + p.pr.str(), "12345");
    EXPECT_EQ(p.pr.str(), "5");
    EXPECT_EQ(p.bubble.str(), "0");
    EXPECT_EQ(p.status.str(), "R");

    // The points, listed short to long, are stored long to short.
    const MeasuredData& m = g.measured;
    ASSERT_EQ(m.transCount, 3);
    EXPECT_EQ(m.transDataType, kInternalTransmission);
    EXPECT_FLOAT_EQ(m.thickness, 5.0f);
    const float waves[] = {1000, 500, 350}, internal[] = {99.5f, 90, 40};
    for (std::size_t i = 1; i <= 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(m.transWavelength[i], waves[i - 1]);
        EXPECT_FLOAT_EQ(m.internalTrans[i], internal[i - 1]);
        EXPECT_NEAR(m.absorption[i], -std::log(internal[i - 1] / 100.0) / 5, 1e-6);
        const double n = indexAt(d, waves[i - 1]);
        EXPECT_NEAR(m.totalTrans[i], internal[i - 1] * 2 * n / (n * n + 1), 1e-4);
        EXPECT_FLOAT_EQ(d.transWavelength[i - 1], waves[i - 1]);
    }
    EXPECT_EQ(d.transAbsorption[3], 99.0f);
    EXPECT_EQ(d.lowerWavelength, 350);
    EXPECT_EQ(d.upperWavelength, 1000);
    EXPECT_NEAR(g.standardAbsorption[24], m.absorption[2], 1e-6);  // 500 nm
    for (int s : {kGeneral, kIndex, kTrans, kDnDt, kOther}) EXPECT_EQ(g.sections[s].ready, kTrue) << s;
}

TEST_F(GlcReadTest, TheCatalogueNameIsTheLastTokenOfTheFirstLine) {
    ASSERT_TRUE(read(catalogue({GlcLine{}}, "OSLO\tcatalog  OTHER")));
    EXPECT_EQ(result.glasses.at(0).definition.source.str(), "OTHER");
    ASSERT_TRUE(read(catalogue({GlcLine{}}, "OSLO catalog MYCAT ")));
    EXPECT_EQ(result.glasses.at(0).definition.source.str(), "");
}

// The name has ten columns; what runs on past them up to the first blank is
// no value, so the values after it stay in their fields.
TEST_F(GlcReadTest, ANameRunningPastItsColumnsIsCutAndTheValuesStayInPlace) {
    GlcLine tenColumns;
    tenColumns.name = "N-LONGNAME";
    ASSERT_TRUE(read(catalogue({tenColumns})));
    ASSERT_EQ(result.count(), 1);
    const GlassRecord expected = result.glasses[0];

    std::string text = catalogue({tenColumns});
    text.replace(text.find("N-LONGNAME"), 10, "N-LONGNAME-EXTRA");
    ASSERT_TRUE(read(text));
    ASSERT_EQ(result.count(), 1);
    EXPECT_TRUE(result.skipped.empty());
    const GlassRecord& g = result.glasses[0];
    EXPECT_EQ(g.definition.name.str(), "N-LONGNAME");
    EXPECT_FLOAT_EQ(g.definition.density, 2.51f);
    EXPECT_EQ(g.definition.formulaType, kSellmeier);
    EXPECT_TRUE(g == expected);
}

// The file's value over ten, rounded once to the single the record keeps.
TEST_F(GlcReadTest, TheExpansionIsTheValueOverTen) {
    for (const char* value : {"71", "0.3", "1.8", "83.7"}) {
        const std::string text = catalogue({GlcLine{}});
        std::string changed = text;
        changed.replace(changed.find(" 71 "), 4, " " + std::string(value) + " ");
        ASSERT_TRUE(read(changed)) << value;
        ASSERT_EQ(result.count(), 1);
        const GlassRecord& g = result.glasses[0];
        double parsed = 0;
        ASSERT_TRUE(ParseNumber(value, parsed)) << value;
        EXPECT_EQ(g.notes.expansion, static_cast<float>(parsed / 10)) << value;
        EXPECT_EQ(g.properties.a3070.str(), GeneralText(static_cast<float>(parsed / 10))) << value;
    }
}

TEST_F(GlcReadTest, StatusLettersMapToTheProgramsCodes) {
    const struct {
        const char* name;
        const char* letter;
        const char* status;
    } cases[] = {
        {"N-XYZ", "V", "E"}, {"XYZ", "V", "R"}, {"N-XYZ", "v", "E"}, {"XYZ", "A", "O"},
        {"XYZ", "N", "A"},   {"XYZ", "?", "A"},  // no status is made "A" by the record rules
    };
    for (const auto& c : cases) {
        GlcLine line;
        line.name = c.name;
        line.status = c.letter;
        ASSERT_TRUE(read(catalogue({line})));
        ASSERT_EQ(result.count(), 1);
        EXPECT_EQ(result.glasses[0].properties.status.str(), c.status) << c.name << " " << c.letter;
    }
}

TEST_F(GlcReadTest, TheDnDtFlagDecidesWhereTheTransmissionFollows) {
    const struct {
        const char* what;
        std::vector<std::string> dnDt;
        std::int16_t type;
        float simple;
    } cases[] = {
        {"flag 0", {"0", "x"}, kNoDnDt, 2.1e-6f},
        {"flag 2 clears the simple dn/dt", {"2", "x", "x"}, kNoDnDt, 0},
        {"flag 1 with six zeros", {"1", "x", "0", "0", "0", "0", "0", "0"}, kNoDnDt, 2.1e-6f},
        {"flag 1", kDnDtFields, kSchottDnDt, 2.1e-6f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GlcLine line;
        line.dnDt = c.dnDt;
        ASSERT_TRUE(read(catalogue({line})));
        ASSERT_EQ(result.count(), 1);
        const GlassRecord& g = result.glasses[0];
        EXPECT_EQ(g.notes.dnDtType, c.type);
        EXPECT_FLOAT_EQ(g.notes.dnDtSimple, c.simple);
        EXPECT_EQ(g.measured.transCount, 3);
        EXPECT_FLOAT_EQ(g.measured.transWavelength[1], 1000.0f);
    }
}

TEST_F(GlcReadTest, WithoutTransmissionTheIndexIsNotReady) {
    GlcLine line;
    line.transmission = {"0"};
    ASSERT_TRUE(read(catalogue({line})));
    ASSERT_EQ(result.count(), 1);
    const GlassRecord& g = result.glasses[0];
    EXPECT_EQ(g.definition.lowerWavelength, 0);
    EXPECT_EQ(g.definition.upperWavelength, 0);
    EXPECT_EQ(g.measured.transCount, 0);
    EXPECT_EQ(g.sections[kIndex].ready, kFalse);
    EXPECT_EQ(g.sections[kTrans].ready, kFalse);
    EXPECT_EQ(g.sections[kGeneral].ready, kTrue);
}

TEST_F(GlcReadTest, AnOpaquePointIsNotTakenForAClearOne) {
    GlcLine line;
    line.transmission = {"1", "3", "0.30", "0", "0.35", "0.40", "0.5", "0.90"};
    ASSERT_TRUE(read(catalogue({line})));
    ASSERT_EQ(result.count(), 1);
    const GlassRecord& g = result.glasses[0];
    ASSERT_FLOAT_EQ(g.measured.transWavelength[3], 300.0f);
    EXPECT_EQ(g.measured.internalTrans[3], 0.0f);
    // At 300 nm a 5 mm sample passes next to nothing.
    EXPECT_LT(std::exp(-5 * g.measured.absorption[3]), 1e-5);
    EXPECT_LT(std::exp(-5 * g.standardAbsorption[5]), 1e-5);  // the standard wavelength 300 nm
}

TEST_F(GlcReadTest, AConradyFormulaIsRefittedToSchott) {
    GlcLine conrady;
    conrady.name = "CONRADY";
    conrady.formula = "3";
    conrady.coefficients = {"1.4973", "0.0073", "0.00027"};
    GlassDefinition original;
    original.formulaType = kConrady;
    original.coefficients[0] = 1.4973;
    original.coefficients[1] = 0.0073;
    original.coefficients[2] = 0.00027;

    ASSERT_TRUE(read(catalogue({GlcLine{}, conrady})));
    ASSERT_EQ(result.count(), 2);
    EXPECT_EQ(result.refitCount, 1);
    ASSERT_EQ(result.fitErrors.size(), 2u);
    EXPECT_EQ(result.fitErrors[0], 0.0f);
    EXPECT_GT(result.fitErrors[1], 0.0f);
    EXPECT_LT(result.fitErrors[1], 1e-4f);
    const GlassDefinition& d = result.glasses[1].definition;
    EXPECT_EQ(d.formulaType, kSchott);
    for (float nm : {350.0f, 587.5618f, 1000.0f}) EXPECT_NEAR(indexAt(d, nm), indexAt(original, nm), 2e-4) << nm;
}

TEST_F(GlcReadTest, LinesThatCannotBeKeptAreListedWithTheirReason) {
    GlcLine noName, formula4, flag3, fortyTwo, cut, rangeless;
    noName.name = "";
    formula4.name = "F4";
    formula4.formula = "4";
    flag3.name = "FLAG3";
    flag3.dnDt = {"3", "x"};
    fortyTwo.name = "MANY";
    fortyTwo.transmission = {"1", "42"};
    for (int i = 0; i < 42; ++i) fortyTwo.transmission.insert(fortyTwo.transmission.end(), {"0.5", "0.9"});
    cut.name = "CUT";
    cut.transmission = {"1", "3", "0.35", "0.40"};
    rangeless.name = "CONRADY";
    rangeless.formula = "3";
    rangeless.coefficients = {"1.4973", "0.0073", "0.00027"};
    rangeless.transmission = {"0"};
    ASSERT_TRUE(read(catalogue({GlcLine{}, noName, formula4, flag3, fortyTwo, cut, rangeless, GlcLine{}}) +
                     "\r\n   \r\n"));
    EXPECT_EQ(result.count(), 2);
    EXPECT_EQ(result.fitErrors.size(), 2u);
    EXPECT_EQ(result.refitCount, 0);
    const std::vector<SkippedMaterial> expected = {
        {"", 3, "it has no name"},
        {"F4", 4, "its formula 4 is not supported"},
        {"FLAG3", 5, "its dn/dt flag 3 is not supported"},
        {"MANY", 6, "it has more than 41 transmission points"},
        {"CUT", 7, "its line has too few fields"},
        {"CONRADY", 8, "the refit to a Schott formula failed (no wavelength range)"},
    };
    EXPECT_EQ(result.skipped, expected);
}

TEST_F(GlcReadTest, TabsAndRunsOfBlanksSeparateFieldsAlike) {
    ASSERT_TRUE(read(catalogue({GlcLine{}})));
    const GlassRecord plain = result.glasses.at(0);
    std::string text = catalogue({GlcLine{}});
    std::string spaced;
    for (char c : text) spaced += c == ' ' ? std::string(" \t  ") : std::string(1, c);
    spaced.replace(spaced.find("NBK7"), 14, "NBK7      ");  // the name keeps its ten columns
    ASSERT_TRUE(read(spaced));
    ASSERT_EQ(result.count(), 1);
    EXPECT_TRUE(result.glasses[0] == plain);
}

TEST_F(GlcReadTest, EncodingsAndLineEndsGiveTheSameRecords) {
    ExpectEveryFormReadsAlike(reader, catalogue({GlcLine{}, GlcLine{}}));
}

}  // namespace
