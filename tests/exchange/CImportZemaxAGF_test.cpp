#include "exchange/CImportZemaxAGF.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "exchange/ImportSamples.h"
#include "model/GlassData.h"
#include "support/TestFolder.h"

namespace {

// One Sellmeier record with every line the reader takes.
std::vector<std::string> sellmeierRecord(const std::string& name = "NSEL") {
    return {
        "NM " + name + " 2 517642.251 1.5168 64.17 0 1 0",
        "GC a glass comment",
        "ED 7.1 8.3 2.51 -0.0009 0",
        "CD 1.03961212 0.00600069867 0.231792344 0.0200179144 1.01046945 103.560653 0 0 0 0",
        "TD 1.86e-6 1.31e-8 -1.37e-11 4.34e-7 6.27e-10 0.17 20",
        "OD 1.0 2 0 1 2.3 -1",
        "LD 0.3 2.5",
        "IT 0.35 0.40 10",
        "IT 0.40 0.80 10",
        "IT 0.50 0.98 10",
        "IT 1.00 0.995 10",
    };
}

std::string catalogue(const std::vector<std::vector<std::string>>& records) {
    std::vector<std::string> lines{"CC Test catalogue"};
    for (const auto& r : records) lines.insert(lines.end(), r.begin(), r.end());
    return CrLfLines(lines);
}

class AgfReadTest : public ::testing::Test {
protected:
    bool read(const std::string& text, const std::string& fileName = "MYCAT.agf") {
        return ReadText(reader, text, result, fileName);
    }
    const GlassRecord& only() {
        EXPECT_EQ(result.count(), 1);
        return result.glasses.at(0);
    }

    CImportZemaxAGF reader;
    ImportedMaterials result;
};

double indexAt(const GlassDefinition& d, float nm) {
    bool ok = false;
    const double n = EvaluateIndex(d, nm, d.formulaType, ok);
    EXPECT_TRUE(ok) << nm;
    return n;
}

TEST_F(AgfReadTest, EveryLineOfARecordLandsInTheRecord) {
    ASSERT_TRUE(read(catalogue({sellmeierRecord()})));
    EXPECT_TRUE(result.skipped.empty());
    EXPECT_EQ(result.refitCount, 0);
    EXPECT_EQ(result.fitErrors, std::vector<float>{0.0f});
    const GlassRecord& g = only();
    const GlassDefinition& d = g.definition;
    EXPECT_EQ(d.name.str(), "NSEL");
    EXPECT_EQ(d.source.str(), "MYCAT");
    EXPECT_EQ(d.catalogNumber, 8);
    EXPECT_EQ(g.indexDataType, kCoefficients);  // constants, not points to fit
    EXPECT_EQ(d.formulaType, kSellmeier);
    // K1 L1 K2 L2 K3 L3 become the three K terms, then the three L terms.
    const double slots[] = {1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(d.coefficients[i], slots[i]) << i;
    EXPECT_EQ(d.glassCode, 517642);
    const GlassProperties& p = g.properties;
    EXPECT_EQ(p.a3070.str(), "7.1");
    EXPECT_EQ(p.a20300.str(), "8.3");
    EXPECT_FLOAT_EQ(d.density, 2.51f);
    const NotesAndDnDt& t = g.notes;
    EXPECT_EQ(t.dnDtType, kSchottDnDt);
    EXPECT_FLOAT_EQ(t.d0, 1.86e-6f);
    EXPECT_FLOAT_EQ(t.e1, 6.27e-10f);
    EXPECT_FLOAT_EQ(t.lambdaTK, 0.17f);
    EXPECT_FLOAT_EQ(t.referenceTemperature, 20.0f);
    EXPECT_EQ(p.price.str(), "10");
    EXPECT_EQ(p.cr.str(), "2");
    EXPECT_EQ(p.fr.str(), "0");
    EXPECT_EQ(p.sr.str(), "1");
    EXPECT_EQ(p.ar.str(), "2.3");
    EXPECT_EQ(p.pr.str(), "");  // -1: not known
    EXPECT_EQ(p.status.str(), "A");
    EXPECT_EQ(d.lowerWavelength, 300);
    EXPECT_EQ(d.upperWavelength, 2500);

    const MeasuredData& m = g.measured;
    ASSERT_EQ(m.transCount, 4);
    EXPECT_EQ(m.transDataType, kAbsorptionCoefficient);
    EXPECT_FLOAT_EQ(m.thickness, 10.0f);
    const float waves[] = {1000, 500, 400, 350}, internal[] = {99.5f, 98, 80, 40};
    for (std::size_t i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(m.transWavelength[i], waves[i - 1]);
        EXPECT_FLOAT_EQ(m.internalTrans[i], internal[i - 1]);
        EXPECT_NEAR(m.absorption[i], -std::log(internal[i - 1] / 100.0) / 10, 1e-7);
        const double n = indexAt(d, waves[i - 1]);
        EXPECT_NEAR(m.totalTrans[i], internal[i - 1] * 2 * n / (n * n + 1), 1e-4);
        EXPECT_FLOAT_EQ(d.transWavelength[i - 1], waves[i - 1]);
        EXPECT_FLOAT_EQ(d.transAbsorption[i - 1], m.absorption[i]);
    }
    EXPECT_EQ(d.transAbsorption[4], 99.0f);
    EXPECT_NEAR(g.standardAbsorption[17], m.absorption[3], 1e-6);  // 400 nm
    // 80 % at 400 nm; 5 % is not reached, so ten nm below the last point.
    EXPECT_EQ(p.cc.str(), "40/34");

    EXPECT_EQ(g.sections[kGeneral].ready, kTrue);
    EXPECT_EQ(g.sections[kIndex].ready, kTrue);
    EXPECT_EQ(g.sections[kDnDt].ready, kTrue);
    EXPECT_EQ(g.sections[kTrans].ready, kFalse);  // points to be looked at in the editor
    EXPECT_EQ(g.sections[kOther].ready, kTrue);
}

TEST_F(AgfReadTest, MissingLinesTakeTheirDefaults) {
    ASSERT_TRUE(read(catalogue({{"NM BARE 1 0 1.5 60", "CD 2.27 -0.01 0.012 0 0 0", "LD 0.4 0.7"}})));
    const GlassRecord& g = only();
    EXPECT_FLOAT_EQ(g.definition.density, 0.0f);
    EXPECT_EQ(g.properties.a3070.str(), "");
    EXPECT_EQ(g.notes.dnDtType, kNoDnDt);
    EXPECT_FLOAT_EQ(g.notes.referenceTemperature, 20.0f);
    EXPECT_EQ(g.properties.status.str(), "A");
    // No IT line: the range's two ends, with nothing said of the transmission.
    const MeasuredData& m = g.measured;
    ASSERT_EQ(m.transCount, 2);
    EXPECT_EQ(m.transDataType, kInternalTransmission);
    EXPECT_FLOAT_EQ(m.thickness, 10.0f);
    EXPECT_FLOAT_EQ(m.transWavelength[1], 700.0f);
    EXPECT_FLOAT_EQ(m.transWavelength[2], 400.0f);
    EXPECT_EQ(m.internalTrans[1], 0.0f);
    EXPECT_EQ(m.absorption[1], 0.0f);
    EXPECT_EQ(g.sections[kTrans].ready, kTrue);
    EXPECT_EQ(g.sections[kOther].ready, kFalse);  // no density
}

// Found by fuzzing: the two ends of a range given upside down were stored
// shortest first, against the order every point list keeps.
TEST_F(AgfReadTest, ARangeGivenUpsideDownKeepsItsEndsLongestFirst) {
    ASSERT_TRUE(read(catalogue({{"NM BARE 1 0 1.5 60", "CD 2.27 -0.01 0.012 0 0 0", "LD 0.36 0"}})));
    const MeasuredData& m = only().measured;
    ASSERT_EQ(m.transCount, 2);
    EXPECT_FLOAT_EQ(m.transWavelength[1], 360.0f);
    EXPECT_FLOAT_EQ(m.transWavelength[2], 0.0f);
}

// Found by fuzzing: a thickness too small for a single was taken as one
// above 0 and gave an infinite absorption.
TEST_F(AgfReadTest, AThicknessTooSmallForTheRecordIsTakenAsNone) {
    auto record = sellmeierRecord();
    record[7] = "IT 0.35 0.40 1e-64";
    record[8] = "IT 0.40 0.80 1e-40";
    ASSERT_TRUE(read(catalogue({record})));
    const MeasuredData& m = only().measured;
    EXPECT_FLOAT_EQ(m.thickness, 10.0f);
    EXPECT_NEAR(m.absorption[4], -std::log(0.40) / 10, 1e-7);
    EXPECT_TRUE(std::isfinite(m.absorption[3]));
    EXPECT_TRUE(std::isfinite(only().definition.transAbsorption[2]));
}

TEST_F(AgfReadTest, FieldRules) {
    const struct {
        const char* what;
        std::size_t line;
        std::string text;
        std::function<void(const GlassRecord&)> check;
    } cases[] = {
        {"Sellmeier constants 1..6", 3, "CD 1 2 3 4 5 6",
         [](const GlassRecord& g) {
             const double slots[] = {1, 3, 5, 2, 4, 6};
             for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(g.definition.coefficients[i], slots[i]) << i;
         }},
        {"TD without a temperature", 4, "TD 1e-6 0 0 0 0 0",
         [](const GlassRecord& g) {
             EXPECT_FLOAT_EQ(g.notes.referenceTemperature, 20.0f);
             EXPECT_EQ(g.notes.dnDtType, kSchottDnDt);
         }},
        {"TD at 25 C", 4, "TD 0 0 0 0 0 0 25",
         [](const GlassRecord& g) {
             EXPECT_FLOAT_EQ(g.notes.referenceTemperature, 25.0f);
             EXPECT_EQ(g.notes.dnDtType, kNoDnDt);
         }},
        {"cost unknown", 5, "OD -1 -1 -1 -1 -1 -1",
         [](const GlassRecord& g) {
             EXPECT_EQ(g.properties.price.str() + g.properties.cr.str() + g.properties.ar.str(), "");
             EXPECT_EQ(g.properties.status.str(), "A");
         }},
        {"50 micrometres", 6, "LD 0.3 50",
         [](const GlassRecord& g) { EXPECT_EQ(g.definition.upperWavelength, 32000); }},
        {"limits beyond the record's range", 6, "LD -0.3 1e300",
         [](const GlassRecord& g) {
             EXPECT_EQ(g.definition.lowerWavelength, 0);
             EXPECT_EQ(g.definition.upperWavelength, 32000);
         }},
        {"numbers that do not parse", 2, "ED abc 8.3x - 0",
         [](const GlassRecord& g) {
             EXPECT_EQ(g.properties.a3070.str(), "0");
             EXPECT_EQ(g.properties.a20300.str(), "8.3");
             EXPECT_EQ(g.definition.density, 0.0f);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto record = sellmeierRecord();
        record.at(c.line) = c.text;
        ASSERT_TRUE(read(catalogue({record})));
        c.check(only());
    }
}

TEST_F(AgfReadTest, CatalogueNumberAndTheChengduSource) {
    CImportZemaxAGF twelve(12), five(5);
    ImportedMaterials r;
    ASSERT_TRUE(ReadText(twelve, catalogue({sellmeierRecord()}), r, "X.AGF"));
    EXPECT_EQ(r.glasses.at(0).definition.catalogNumber, 12);
    ASSERT_TRUE(ReadText(five, catalogue({sellmeierRecord()}), r, "X.AGF"));
    EXPECT_EQ(r.glasses.at(0).definition.catalogNumber, 8);

    auto shortRange = sellmeierRecord("H-K9L");
    shortRange[6] = "LD 0.3 0.9";
    ASSERT_TRUE(read(catalogue({sellmeierRecord(), shortRange}), "chengdu.agf"));
    ASSERT_EQ(result.count(), 2);
    EXPECT_EQ(result.glasses[0].definition.source.str(), "CDGM");
    EXPECT_EQ(result.glasses[0].definition.upperWavelength, 2500);
    EXPECT_EQ(result.glasses[1].definition.upperWavelength, 1020);
    ASSERT_TRUE(read(catalogue({shortRange}), " Other.Cat.agf"));
    EXPECT_EQ(only().definition.source.str(), "Other");
    EXPECT_EQ(only().definition.upperWavelength, 900);
}

TEST_F(AgfReadTest, RecordsAreFoundByKeywordWhateverTheLayout) {
    ASSERT_TRUE(read(catalogue({sellmeierRecord("ONE"), sellmeierRecord("TWO")})));
    const auto clean = result.glasses;
    ASSERT_EQ(clean.size(), 2u);

    std::vector<std::string> messy = {
        "! a comment before the first record",
        "",
        "NM\tONE\t2  517642.251\t1.5168 64.17 0 1 0  \t",
        "MD 0 0",
        "ED 7.1   8.3 2.51 -0.0009 0",
        "BD 1 2 3",
        "! the constants go on over two more lines",
        "CD 1.03961212 0.00600069867 0.231792344",
        "   0.0200179144 1.01046945",
        "103.560653 0 0 0 0",
        "GC moved after CD",
        "TD 1.86e-6 1.31e-8 -1.37e-11 4.34e-7 6.27e-10 0.17 20",
        "ZZ an unknown keyword",
        "LD 0.3 2.5",
        "OD 1.0 2 0 1 2.3 -1",
        "IT 0.35 0.40 10\t",
        "",
        "IT  0.40\t0.80 10",
        "IT 0.50 0.98 10   ",
        "IT 1.00 0.995 10",
        "",
        "",
    };
    auto two = sellmeierRecord("TWO");
    messy.insert(messy.end(), two.begin(), two.end());
    ASSERT_TRUE(read(CrLfLines(messy)));
    ASSERT_EQ(result.count(), 2);
    EXPECT_TRUE(result.glasses[0] == clean[0]);
    EXPECT_TRUE(result.glasses[1] == clean[1]);
    EXPECT_TRUE(result.skipped.empty());
}

TEST_F(AgfReadTest, EncodingsAndLineEndsGiveTheSameRecords) {
    ExpectEveryFormReadsAlike(reader, catalogue({sellmeierRecord("ONE"), sellmeierRecord("TWO")}), "MYCAT.agf");
}

TEST_F(AgfReadTest, EachItLineIsTakenAtItsOwnThickness) {
    auto record = sellmeierRecord();
    record[8] = "IT 0.40 0.80 25";
    record[9] = "IT 0.50 0.98 0";  // no thickness: 10 mm
    ASSERT_TRUE(read(catalogue({record})));
    const MeasuredData& m = only().measured;
    EXPECT_FLOAT_EQ(m.thickness, 10.0f);  // the first line's
    ASSERT_FLOAT_EQ(m.transWavelength[3], 400.0f);
    EXPECT_NEAR(m.absorption[3], -std::log(0.80) / 25, 1e-7);
    // Restated at the record's 10 mm: more passes than through 25 mm.
    EXPECT_NEAR(m.internalTrans[3], 100 * std::pow(0.80, 10.0 / 25.0), 1e-3);
    EXPECT_NEAR(m.absorption[2], -std::log(0.98) / 10, 1e-7);
    EXPECT_FLOAT_EQ(m.internalTrans[2], 98.0f);

    record[7] = "IT 0.35 0.40 25";  // now the record is at 25 mm
    ASSERT_TRUE(read(catalogue({record})));
    const MeasuredData& m25 = only().measured;
    EXPECT_FLOAT_EQ(m25.thickness, 25.0f);
    EXPECT_FLOAT_EQ(m25.internalTrans[3], 80.0f);
    EXPECT_NEAR(m25.internalTrans[2], 100 * std::pow(0.98, 25.0 / 10.0), 1e-3);
    // The standard absorption at a measured wavelength is that point's own coefficient.
    EXPECT_NEAR(only().standardAbsorption[24], -std::log(0.98) / 10, 1e-6);  // 500 nm
}

TEST_F(AgfReadTest, ItLinesAreSortedLongestFirst) {
    auto record = sellmeierRecord();
    record[7] = "IT 0.50 0.98 10";
    record[8] = "IT 0.35 0.40 10";
    record[9] = "IT 1.00 0.995 10";
    record[10] = "IT 0.40 0.80 10";
    ASSERT_TRUE(read(catalogue({record})));
    const MeasuredData& m = only().measured;
    const float waves[] = {1000, 500, 400, 350}, internal[] = {99.5f, 98, 80, 40};
    for (std::size_t i = 1; i <= 4; ++i) {
        EXPECT_FLOAT_EQ(m.transWavelength[i], waves[i - 1]) << i;
        EXPECT_FLOAT_EQ(m.internalTrans[i], internal[i - 1]) << i;
    }
    EXPECT_NEAR(only().standardAbsorption[17], -std::log(0.80) / 10, 1e-6);  // 400 nm
}

TEST_F(AgfReadTest, AnOpaqueItLineIsNotTakenForAClearOne) {
    auto record = sellmeierRecord();
    record.insert(record.begin() + 7, "IT 0.30 0 10");
    ASSERT_TRUE(read(catalogue({record})));
    const GlassRecord& g = only();
    ASSERT_FLOAT_EQ(g.measured.transWavelength[5], 300.0f);
    EXPECT_EQ(g.measured.internalTrans[5], 0.0f);
    EXPECT_LT(std::exp(-10 * g.standardAbsorption[5]), 1e-5);  // 300 nm
}

TEST_F(AgfReadTest, HerzbergerAndConradyFormulasAreRefittedToSchott) {
    const std::vector<std::string> herzberger = {"NM HERZ 3 0 1.6 40", "ED 0 0 3.2",
                                                 "CD 1.5880 0.0121 0.0002 -0.0030 0.00001 -1e-7",
                                                 "LD 0.365 1.0"};
    const std::vector<std::string> conrady = {"NM CONR 5 0 1.51 60", "ED 0 0 2.5", "CD 1.4973 0.0073 0.00027",
                                              "LD 0.4 0.7"};
    ASSERT_TRUE(read(catalogue({herzberger, sellmeierRecord(), conrady})));
    ASSERT_EQ(result.count(), 3);
    EXPECT_EQ(result.refitCount, 2);
    ASSERT_EQ(result.fitErrors.size(), 3u);
    EXPECT_EQ(result.fitErrors[1], 0.0f);
    GlassDefinition original;
    const struct {
        std::size_t at;
        std::int16_t type;
        std::vector<double> c;
        std::int16_t lower;
        std::vector<float> probes;
    } cases[] = {
        // The Herzberger form is refitted from 650 nm on, and keeps that limit.
        {0, kHerzberger, {1.5880, 0.0121, 0.0002, -0.0030, 0.00001, -1e-7}, 650, {650, 800, 1000}},
        {2, kConrady, {1.4973, 0.0073, 0.00027}, 400, {400, 587.5618f, 700}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const GlassRecord& g = result.glasses[c.at];
        EXPECT_EQ(g.definition.formulaType, kSchott);
        EXPECT_EQ(g.definition.lowerWavelength, c.lower);
        EXPECT_GT(result.fitErrors[c.at], 0.0f);
        EXPECT_LT(result.fitErrors[c.at], 1e-4f);
        original.formulaType = c.type;
        original.coefficients = {};
        for (std::size_t i = 0; i < c.c.size(); ++i) original.coefficients[i] = c.c[i];
        for (float nm : c.probes) EXPECT_NEAR(indexAt(g.definition, nm), indexAt(original, nm), 2e-4) << nm;
        // Total transmittance is taken with the refitted formula.
        EXPECT_EQ(g.measured.transCount, 2);
    }
}

// An infrared crystal over 0.65-25 µm (KBr in the Herzberger form) is kept
// with a Schott formula valid over all of it; a record whose refit is no index
// somewhere in its range is left out, with where and why.
TEST_F(AgfReadTest, ARefitMustBeAnIndexOverTheWholeRange) {
    const std::vector<std::string> kbr = {"NM KBR 3 0 1.56 33.6", "ED 0 0 2.75",
                                          "CD 1.53687291 0.00745380903 -3.83851452e-05 -0.000102914087 "
                                          "-1.84799136e-08 -5.24950867e-12",
                                          "LD 0.65 25"};
    const std::vector<std::string> bent = {"NM BENT 3 0 1.4 40", "CD 1.42 -0.0071 0 -0.00096 1.8e-7 6.8e-10",
                                           "LD 0.65 25"};
    ASSERT_TRUE(read(catalogue({kbr, bent})));
    ASSERT_EQ(result.count(), 1);
    EXPECT_EQ(result.refitCount, 1);
    const GlassDefinition& d = result.glasses[0].definition;
    EXPECT_EQ(d.formulaType, kSchott);
    GlassDefinition original;
    original.formulaType = kHerzberger;
    original.coefficients = {1.53687291, 0.00745380903, -3.83851452e-05, -0.000102914087, -1.84799136e-08,
                             -5.24950867e-12};
    for (int nm = 650; nm <= 25000; nm += 10) {
        const double n = indexAt(d, static_cast<float>(nm));
        EXPECT_NEAR(n, indexAt(original, static_cast<float>(nm)), 2e-3) << nm;
    }
    EXPECT_LT(result.fitErrors[0], 1e-3f);

    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].name, "BENT");
    EXPECT_EQ(result.skipped[0].line, 6);
    const std::string& why = result.skipped[0].reason;
    EXPECT_EQ(why.rfind("the refit to a Schott formula failed (Schott formula invalid at ", 0), 0u) << why;
    EXPECT_TRUE(why.ends_with(" nm: n below 1)")) << why;
}

TEST_F(AgfReadTest, RecordsThatCannotBeKeptAreListedWithTheirReason) {
    std::vector<std::string> many = sellmeierRecord("MANY");
    for (int i = 0; i < 151; ++i) many.push_back("IT 0.5 0.9 10");
    const std::string text = catalogue({
        sellmeierRecord("KEPT1"),                                     // lines 2-12
        {"NM SELL2 4 0 1.5 60", "CD 1 2 3 4 5 6", "LD 0.4 0.7"},      // 13
        {"NM GRADIUM 12 0 1.5 60", "LD 0.4 0.7"},                     // 16
        {"NM", "CD 1 2 3"},                                           // 18
        {"NM FLAT 5 0 1.5 60", "CD 1.5 0.007 0.0003", "LD 0.5 0.5"},  // 20
        {"NM NOFORMULA"},                                             // 23
        many,                                                         // 24
        sellmeierRecord("KEPT2"),
    });
    ASSERT_TRUE(read(text));
    ASSERT_EQ(result.count(), 2);
    EXPECT_EQ(result.glasses[0].definition.name.str(), "KEPT1");
    EXPECT_EQ(result.glasses[1].definition.name.str(), "KEPT2");
    EXPECT_EQ(result.fitErrors.size(), 2u);
    EXPECT_EQ(result.refitCount, 0);
    const std::vector<SkippedMaterial> expected = {
        {"SELL2", 13, "its formula 4 is not supported"},
        {"GRADIUM", 16, "its formula 12 is not supported"},
        {"", 18, "it has no name"},
        {"FLAT", 20, "the refit to a Schott formula failed (no wavelength range)"},
        {"NOFORMULA", 23, "its formula (none) is not supported"},
        {"MANY", 24, "it has more than 150 transmission points"},
    };
    EXPECT_EQ(result.skipped, expected);
}

TEST_F(AgfReadTest, AFileWithoutLineEndsIsRefused) {
    const std::string noLineEnds = catalogue({sellmeierRecord(), sellmeierRecord()});
    std::string joined;
    for (char c : noLineEnds) joined += c == '\r' || c == '\n' ? ' ' : c;
    ASSERT_GT(joined.size(), 300u);
    result.glasses.resize(1);
    EXPECT_FALSE(read(joined));
    EXPECT_TRUE(result.glasses.empty());
    EXPECT_EQ(result.errorText,
              "This file cannot be read properly, because it does not contain any 'carraige returns'.\r\n\r\n"
              "To correct this, simply:\r\n\t1) read the file in Windows Notepad\r\n\t2) re-save it\r\n"
              "\t3) try importing again");

    // Only a first line past 200 characters counts, whichever line end it has.
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        ASSERT_TRUE(read("CC " + std::string(197, 'x') + end + WithLineEnds(catalogue({sellmeierRecord()}), end)));
        EXPECT_EQ(result.count(), 1);
        EXPECT_TRUE(result.errorText.empty());
    }
    EXPECT_FALSE(read("CC " + std::string(198, 'x') + "\r\n" + catalogue({sellmeierRecord()})));
}

TEST_F(AgfReadTest, ImportFileReadsAUtf16CatalogueOnDisk) {
    ASSERT_TRUE(reader.ImportFile(std::string(KALVENOR_TEST_DATA) + "/exchange/Tessa.agf", result));
    ASSERT_EQ(result.count(), 2);
    EXPECT_EQ(result.refitCount, 1);
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].name, "T-GRIN");
    const GlassRecord& first = result.glasses[0];
    EXPECT_EQ(first.definition.name.str(), "T-SK16");
    EXPECT_EQ(first.definition.source.str(), "Tessa");
    EXPECT_EQ(first.measured.transCount, 3);
    EXPECT_FLOAT_EQ(first.measured.thickness, 25.0f);
    EXPECT_EQ(result.glasses[1].definition.formulaType, kSchott);  // refitted

    TestFolder folder;
    EXPECT_FALSE(reader.ImportFile(folder.file("missing.agf"), result));
    EXPECT_TRUE(result.errorText.empty());
}

TEST_F(AgfReadTest, TheSourceFromAFileNameIsInTheRecordsCodePage) {
    // The file system names files in UTF-8; the record keeps Windows-1252.
    TestFolder folder;
    folder.write("Glash\xC3\xBCtte.agf", catalogue({sellmeierRecord()}));
    ASSERT_TRUE(reader.ImportFile(folder.file("Glash\xC3\xBCtte.agf"), result));
    EXPECT_EQ(only().definition.source.str(), "Glash\xFCtte");
}

}  // namespace
