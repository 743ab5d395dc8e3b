#include "melt/MeltFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "melt/MeltFixtures.h"
#include "model/IndexFit.h"
#include "model/NumberFormat.h"
#include "support/ScriptedBoxes.h"

namespace {

const char* const kQuadFailure = "Failed to fit Quadratic Polynomial\r\nCheck data or try another polynomial form";

// The lines of a Schott melt sheet, longest first.
const std::vector<float> kSheetLines = {kLineC, kLineCp, kLineD, kLineE, kLineF, kLineFp, kLineG};

// The melt's index offset from its parent: linear in the wavelength, so the
// quadratic of the differences carries it exactly.
double offsetAt(double nm) { return 2e-5 + 2e-9 * (nm - 587.5618); }

void setPairs(GlassRecord& melt, const GlassRecord& parent, const std::vector<float>& waves) {
    melt.melt.pairCount = static_cast<std::int16_t>(waves.size());
    for (std::size_t i = 0; i < waves.size(); ++i) {
        melt.melt.pairWavelength[i + 1] = waves[i];
        melt.melt.pairIndex[i + 1] = IndexOf(parent, waves[i]) + offsetAt(waves[i]);
    }
}

// N-BK7 described by another formula type, fitted to its Sellmeier indices
// over 400..1000 nm.
GlassRecord parentOfType(std::int16_t type) {
    GlassRecord g = SellmeierParent("P" + std::to_string(type), "Schott");
    g.definition.lowerWavelength = 400;
    g.definition.upperWavelength = 1000;
    if (type == kSellmeier) return g;
    if (type == kSellmeierPlus) {
        g.definition.formulaType = kSellmeierPlus;
        g.definition.coefficients = {1.03961212, 0.231792344, 1.01046945, 0.001,  0.001,
                                     0.00600069867, 0.0200179144, 103.560653, 0.05, 0.1};
        return g;
    }
    MeasuredData data;
    const std::int16_t count = 31;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(count); ++i) {
        const float nm = 1000.0f - 20.0f * static_cast<float>(i - 1);
        data.indexWavelength[i] = nm;
        data.indexWavelengthUm[i] = nm * 0.001;
        data.index[i] = IndexOf(g, nm);
        data.indexSquared[i] = data.index[i] * data.index[i];
        data.weight[i] = 1;
    }
    ScriptedBoxes boxes;
    std::string report;
    std::int16_t terms = 0;
    bool ok = false;
    if (type == kSchott) ok = FitSchott(terms, count, report, g.definition, data, boxes);
    if (type == kSchottPlus) ok = FitExtendedSchott(terms, count, report, g.definition, data, boxes);
    if (type == kCauchy) ok = FitCauchy(terms, count, report, g.definition, data, boxes);
    EXPECT_TRUE(ok) << type;
    g.definition.formulaType = type;
    return g;
}

// A parent whose index exists only below about 2100 nm: n² = 0.9 + 0.45/L².
GlassRecord shortWaveParent() {
    GlassRecord g = SellmeierParent("Short", "Mine");
    g.definition.formulaType = kCauchy;
    g.definition.coefficients = {0.9, 0.45};
    g.definition.lowerWavelength = 400;
    g.definition.upperWavelength = 2500;
    return g;
}

TEST(MeltFitTest, TheWavebandIsSampledInTwentyStepsOfASingle) {
    const std::vector<double> band = MeltSampleWavelengths(400, 700);
    ASSERT_EQ(band.size(), 21u);
    for (std::size_t j = 0; j < 21; ++j) EXPECT_EQ(band[j], 700.0 - 15.0 * static_cast<double>(j)) << j;

    // The single passes just below 365 after the 20th value.
    const std::vector<double> odd = MeltSampleWavelengths(365, 1014);
    ASSERT_EQ(odd.size(), 20u);
    EXPECT_EQ(odd.front(), 1014.0);
    EXPECT_NEAR(odd.back(), 397.45, 1e-3);
    for (std::size_t j = 1; j < odd.size(); ++j) EXPECT_LT(odd[j], odd[j - 1]);

    const std::pair<std::int16_t, std::int16_t> refused[] = {{0, 0}, {700, 700}, {700, 400}, {0, 700}, {-10, 700}};
    for (const auto& [lo, hi] : refused) EXPECT_TRUE(MeltSampleWavelengths(lo, hi).empty()) << lo << " " << hi;
}

TEST(MeltFitTest, TheMeltFollowsTheParentPlusTheSmoothedDifferences) {
    const GlassRecord parent = SellmeierParent();
    GlassRecord melt = parent;
    melt.definition.lowerWavelength = 400;
    melt.definition.upperWavelength = 700;
    melt.measured.index.fill(9);  // left over from an earlier fit
    melt.measured.transCount = 2;
    melt.measured.transWavelength[1] = 500;
    melt.measured.internalTrans[1] = 90;
    melt.measured.transWavelength[2] = 2400;  // where the working formula below gives no index
    melt.measured.internalTrans[2] = 80;
    melt.measured.totalTrans[2] = 55;
    melt.definition.formulaType = kCauchy;
    melt.definition.coefficients = {0.9, 0.45};

    // Differences on a quadratic: the new points carry it exactly.
    const std::vector<float> x = {435.8343f, 486.1327f, 587.5618f, 656.2725f};
    std::vector<double> y;
    auto quad = [](double nm) { return 1e-4 - 2e-7 * nm + 3e-10 * nm * nm; };
    for (float w : x) y.push_back(quad(w));
    ScriptedBoxes boxes;
    ASSERT_TRUE(MakeMeltIndexPoints(melt, parent, x, y, boxes));
    EXPECT_TRUE(boxes.shown().empty());

    ASSERT_EQ(melt.indexPointCount, 21);
    for (std::size_t j = 1; j <= 21; ++j) {
        const double nm = 700.0 - 15.0 * static_cast<double>(j - 1);
        EXPECT_EQ(melt.measured.indexWavelength[j], nm);
        EXPECT_EQ(melt.measured.indexWavelengthUm[j], nm * 0.001);
        EXPECT_EQ(melt.measured.weight[j], 1.0f);
        EXPECT_NEAR(melt.measured.index[j], IndexOf(parent, static_cast<float>(nm)) + quad(nm), 1e-12) << nm;
        EXPECT_EQ(melt.measured.indexSquared[j], melt.measured.index[j] * melt.measured.index[j]);
    }
    EXPECT_EQ(melt.measured.index[22], 0.0);
    EXPECT_EQ(melt.measured.weight[22], 0.0f);

    // Total transmittance from the internal one with the formula before the refit.
    const double n500 = IndexOf(melt, 500);
    EXPECT_FLOAT_EQ(melt.measured.totalTrans[1], static_cast<float>(90 * 2 * n500 / (n500 * n500 + 1)));
    EXPECT_EQ(melt.measured.totalTrans[2], 55.0f);  // no index there: kept, not 0
    EXPECT_EQ(melt.measured.internalTrans[1], 90.0f);
}

TEST(MeltFitTest, SamplesWhereTheParentGivesNoIndexAreLeftOut) {
    const GlassRecord parent = shortWaveParent();
    GlassRecord melt = parent;
    const std::vector<float> x = {435.8343f, 486.1327f, 587.5618f, 656.2725f};
    const std::vector<double> y(4, 1e-4);
    ScriptedBoxes boxes;
    ASSERT_TRUE(MakeMeltIndexPoints(melt, parent, x, y, boxes));
    // 2500, 2395, 2290 and 2185 nm have n² below 1.
    ASSERT_EQ(melt.indexPointCount, 17);
    EXPECT_EQ(melt.measured.indexWavelength[1], 2080.0);
    EXPECT_EQ(melt.measured.indexWavelength[17], 400.0);
    for (std::size_t j = 1; j <= 17; ++j) {
        const auto nm = static_cast<float>(melt.measured.indexWavelength[j]);
        EXPECT_NEAR(melt.measured.index[j], IndexOf(parent, nm) + 1e-4, 1e-12) << nm;
    }
}

TEST(MeltFitTest, TheRefitKeepsTheParentsFormulaTypeAndCarriesTheMeltOffset) {
    struct Case {
        std::int16_t type;
        std::vector<float> waves;
        std::int16_t terms;  // written by the linear fits
        double tolerance;    // of the melt's offset; 0: not checked
    };
    const std::vector<float> ohara = {kLineC, kLineD, kLineF, kLineG};  // exactly four pairs
    // The extended Schott fit itself is only good to about 1e-5 over this band,
    // so its offset is no measure of the melt fit.
    const Case cases[] = {
        {kSchott, kSheetLines, 6, 3e-6}, {kSchottPlus, kSheetLines, 10, 0}, {kCauchy, ohara, 3, 3e-6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const GlassRecord parent = parentOfType(c.type);
        GlassRecord melt = parent;
        melt.sections[kIndex] = {4, kFalse};
        melt.definition.glassCode = 0;
        setPairs(melt, parent, c.waves);
        ScriptedBoxes boxes;
        std::string report;
        const MeltFitResult result = FitMeltGlass(melt, parent, report, boxes);
        EXPECT_TRUE(boxes.shown().empty());
        ASSERT_EQ(result.outcome, MeltFitOutcome::kFitted);
        EXPECT_EQ(melt.definition.formulaType, c.type);
        EXPECT_EQ(melt.reserved, c.terms);
        EXPECT_EQ(melt.indexPointCount, 21);
        EXPECT_EQ(melt.sections[kIndex], (SectionStatus{5, kTrue}));
        EXPECT_NE(report.find("Polynomial Constants"), std::string::npos);
        GlassRecord coded = melt;
        ComputeGlassCode(coded);
        EXPECT_NE(melt.definition.glassCode, 0);
        EXPECT_EQ(melt.definition.glassCode, coded.definition.glassCode);
        for (float w : c.waves) {
            if (c.tolerance == 0) break;
            EXPECT_NEAR(IndexOf(melt, w) - IndexOf(parent, w), offsetAt(w), c.tolerance) << w;
        }

        ASSERT_EQ(result.differences.cells.size(), c.waves.size());
        for (std::size_t i = 0; i < c.waves.size(); ++i) {
            const float w = c.waves[i];
            EXPECT_EQ(result.differences.cells[i], Format(IndexOf(melt, w) - IndexOf(parent, w), "0.000000"));
        }
        EXPECT_EQ(result.differences.columnText.substr(0, 10), result.differences.cells[0] + "\r\n");
        EXPECT_EQ(result.differences.averageLine.rfind(kAverageErrorPrefix, 0), 0u);
    }
}

// N-SF11 by its published Sellmeier formula, 370..2500 nm.
GlassRecord nsf11() {
    GlassRecord g = SellmeierParent("N-SF11", "SCHOTT");
    g.definition.coefficients = {1.73759695, 0.313747346, 1.89878101, 0.013188707, 0.0623068142, 155.23629};
    g.definition.lowerWavelength = 370;
    g.definition.upperWavelength = 2500;
    return g;
}

// The melt fit of a Sellmeier parent whose melt lies offset above it at the
// seven sheet lines: the refit starts from the parent's own coefficients.
void expectSellmeierRefitConverges(const GlassRecord& parent, double offset) {
    SCOPED_TRACE(parent.definition.name.str() + " offset " + std::to_string(offset));
    GlassRecord melt = parent;
    melt.melt.pairCount = 7;
    for (std::size_t i = 1; i <= 7; ++i) {
        melt.melt.pairWavelength[i] = kSheetLines[i - 1];
        melt.melt.pairIndex[i] = IndexOf(parent, kSheetLines[i - 1]) + offset;
    }
    ScriptedBoxes boxes;
    std::string report;
    const MeltFitResult result = FitMeltGlass(melt, parent, report, boxes);
    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_EQ(result.outcome, MeltFitOutcome::kFitted);
    EXPECT_EQ(melt.definition.formulaType, parent.definition.formulaType);
    for (float w : kSheetLines) EXPECT_NEAR(IndexOf(melt, w) - IndexOf(parent, w), offset, 2e-7 + offset / 50) << w;
    if (parent.definition.formulaType == kSellmeierPlus) {
        EXPECT_NE(melt.definition.coefficients[9], 0.0);
    }
    EXPECT_EQ(melt.sections[kIndex].ready, kTrue);
}

TEST(MeltFitTest, ASellmeierRefitStartsFromTheParentAndConverges) {
    expectSellmeierRefitConverges(SellmeierParent(), 1e-4);
    expectSellmeierRefitConverges(SellmeierParent(), 1e-6);
    expectSellmeierRefitConverges(nsf11(), 1e-4);
    expectSellmeierRefitConverges(parentOfType(kSellmeierPlus), 1e-4);
}

// A start this good leaves the iteration nothing to gain: a rejected step
// then means converged, never "Sellmeier seems to be failing to converge".
TEST(MeltFitTest, ASellmeierRefitFromAnAlmostExactStartConverges) {
    expectSellmeierRefitConverges(nsf11(), 1e-6);
    expectSellmeierRefitConverges(nsf11(), 1e-5);
}

TEST(MeltFitTest, FewerThanFourPairsChangeNothing) {
    const GlassRecord parent = parentOfType(kSchott);
    GlassRecord melt = parent;
    setPairs(melt, parent, {kLineC, kLineD, kLineF});
    const GlassRecord before = melt;
    ScriptedBoxes boxes;
    boxes.answer(kAnswerOk);
    std::string report;
    EXPECT_EQ(FitMeltGlass(melt, parent, report, boxes).outcome, MeltFitOutcome::kTooFewPairs);
    EXPECT_EQ(melt, before);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxExclamation);
    EXPECT_EQ(boxes.last().text, "You need at least 4 full melt index/wavelength pairs to create a melt glass");
}

TEST(MeltFitTest, AParentWithoutIndexOrWavebandStopsTheFitBeforeAnythingChanges) {
    const GlassRecord good = parentOfType(kSchott);
    GlassRecord blank;
    InitGlassRecord(blank);  // no row was read
    GlassRecord typeZero = good;
    typeZero.definition.formulaType = 0;  // a Sellmeier Plus row read back
    GlassRecord noFormula = good;
    noFormula.definition.formulaType = kNoFormula;
    struct Case {
        const char* what;
        GlassRecord parent;
        std::int16_t lower, upper;
        MeltFitOutcome outcome;
        std::string text;
    };
    const std::string noIndex = "The parent glass gives no index at 656.2725 nm, so the melt cannot be fitted.";
    const Case cases[] = {
        {"no row read", blank, 400, 1000, MeltFitOutcome::kParentUnusable, noIndex},
        {"formula type 0", typeZero, 400, 1000, MeltFitOutcome::kParentUnusable, noIndex},
        {"no formula", noFormula, 400, 1000, MeltFitOutcome::kParentUnusable, noIndex},
        {"no waveband", good, 0, 0, MeltFitOutcome::kNoWaveband,
         "The wavelength range of the parent glass (0 nm to 0 nm) is not valid"},
        {"equal limits", good, 700, 700, MeltFitOutcome::kNoWaveband, "(700 nm to 700 nm)"},
        {"limits the wrong way", good, 900, 400, MeltFitOutcome::kNoWaveband, "(900 nm to 400 nm)"},
        {"negative lower limit", good, -20, 700, MeltFitOutcome::kNoWaveband, "(-20 nm to 700 nm)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GlassRecord melt = good;
        melt.definition.lowerWavelength = c.lower;
        melt.definition.upperWavelength = c.upper;
        melt.sections[kIndex] = {2, kTrue};
        setPairs(melt, good, kSheetLines);
        const GlassRecord before = melt;
        ScriptedBoxes boxes;
        boxes.answer(kAnswerOk);
        std::string report;
        EXPECT_EQ(FitMeltGlass(melt, c.parent, report, boxes).outcome, c.outcome);
        EXPECT_EQ(melt, before);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().style, kBoxExclamation);
        EXPECT_NE(boxes.last().text.find(c.text), std::string::npos) << boxes.last().text;
    }
}

TEST(MeltFitTest, PairsOnTwoWavelengthsGiveTheParentsIndicesAndStillRefit) {
    const GlassRecord parent = parentOfType(kSchott);
    GlassRecord melt = parent;
    setPairs(melt, parent, {kLineC, kLineC, kLineF, kLineF});
    melt.melt.pairIndex[2] += 1e-5;  // the same line measured twice, slightly apart
    ScriptedBoxes boxes;
    boxes.answer(kAnswerOk);
    std::string report;
    EXPECT_EQ(FitMeltGlass(melt, parent, report, boxes).outcome, MeltFitOutcome::kFitted);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().text, kQuadFailure);
    ASSERT_EQ(melt.indexPointCount, 21);
    for (std::size_t j = 1; j <= 21; ++j)
        EXPECT_EQ(melt.measured.index[j], IndexOf(parent, static_cast<float>(melt.measured.indexWavelength[j])));
}

TEST(MeltFitTest, AFormulaTypeWithoutAFitLeavesTheIndexNotReady) {
    GlassRecord parent = parentOfType(kSchott);
    parent.definition.formulaType = kConrady;
    parent.definition.coefficients = {1.5, 0.005, 0.0001};
    GlassRecord melt = parent;
    melt.sections[kIndex] = {3, kTrue};
    setPairs(melt, parent, kSheetLines);
    ScriptedBoxes boxes;
    std::string report;
    const MeltFitResult result = FitMeltGlass(melt, parent, report, boxes);
    EXPECT_EQ(result.outcome, MeltFitOutcome::kFitFailed);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(melt.sections[kIndex], (SectionStatus{3, kFalse}));
    EXPECT_EQ(melt.definition.coefficients, parent.definition.coefficients);
    EXPECT_EQ(melt.indexPointCount, 21);  // the points were made
    ASSERT_EQ(result.differences.cells.size(), 7u);
    EXPECT_EQ(result.differences.cells[0], "0.000000");
}

TEST(MeltFitTest, ShowIndexListsParentMeltAndDifferenceOverTheParentsWaveband) {
    const GlassRecord parent = parentOfType(kSchott);
    GlassRecord melt = parent;
    setPairs(melt, parent, kSheetLines);
    ScriptedBoxes quiet;
    std::string report;
    ASSERT_EQ(FitMeltGlass(melt, parent, report, quiet).outcome, MeltFitOutcome::kFitted);

    const std::string header =
        "Index comparison over waveband [parent & melt glasses]\r\n\r\nWave\t\tParent\tMelt\t\tDifference\r\n";
    GlassRecord narrow = parent;
    narrow.definition.lowerWavelength = 400;
    narrow.definition.upperWavelength = 700;
    const std::string text = IndexComparisonText(melt, narrow);
    ASSERT_EQ(text.substr(0, header.size()), header);
    std::vector<std::string> lines;
    for (std::size_t at = header.size(); at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    ASSERT_EQ(lines.size(), 21u);
    const double nP = IndexOf(parent, 400), nM = IndexOf(melt, 400);
    EXPECT_EQ(lines[0], "400.0\t   \t" + Format(nP, "0.000000  ") + "\t" + Format(nM, "0.000000") + "\t\t" +
                            Format(nM - nP, "0.000000"));
    EXPECT_EQ(lines[20].substr(0, 6), "700.0\t");

    GlassRecord wide = parent;
    wide.definition.lowerWavelength = 365;
    wide.definition.upperWavelength = 1014;
    EXPECT_EQ(IndexComparisonText(melt, wide).find("1014.0"), std::string::npos);  // 20 lines, from 365 up

    ScriptedBoxes boxes;
    boxes.answer(kAnswerOk);
    GlassRecord none = parent;
    none.definition.upperWavelength = none.definition.lowerWavelength;
    ShowIndexComparison(melt, none, boxes);
    EXPECT_EQ(boxes.last().text, kNoWavebandText);
    EXPECT_EQ(boxes.last().style, kBoxPlain);
    EXPECT_EQ(boxes.last().title, "Melt Maker");
}

TEST(MeltFitTest, ShowIndexLeavesBlankWhatAFormulaDoesNotGive) {
    const GlassRecord parent = shortWaveParent();  // no index above about 2100 nm
    GlassRecord melt = parent;
    melt.definition.coefficients = {2.2, 0.01};
    const std::string text = IndexComparisonText(melt, parent);
    const std::string nM = Format(IndexOf(melt, 2500), "0.000000");
    EXPECT_NE(text.find("2500.0\t   \t          \t" + nM + "\t\t\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("400.0\t   \t" + Format(IndexOf(parent, 400), "0.000000  ")), std::string::npos);

    melt.definition.coefficients = {0.5, 0.01};  // the melt gives no index anywhere
    const std::string failing = IndexComparisonText(melt, parent);
    EXPECT_NE(failing.find("400.0\t           index < 1 !!\r\n"), std::string::npos) << failing;
}

TEST(MeltFitTest, ShowConstsReportsMeltAndParentAndTheWaveband) {
    const GlassRecord parent = parentOfType(kSchott);
    GlassRecord melt = parent;
    melt.definition.coefficients[0] += 1e-4;
    const std::string range = "\r\n\r\nWaveLen Min:   400nm\r\nWaveLen Max:   1000nm";
    EXPECT_EQ(DispersionConstantsText(melt, parent),
              SchottReport(melt.definition, "Melt glass: ") + "\r\n\r\n" +
                  SchottReport(parent.definition, "Parent glass: ") + range);
    GlassRecord plus = parentOfType(kSellmeierPlus);
    EXPECT_EQ(DispersionConstantsText(plus, plus), range);

    ScriptedBoxes boxes;
    boxes.answer(kAnswerOk);
    ShowDispersionConstants(melt, parent, boxes);
    EXPECT_EQ(boxes.last().style, kBoxPlain);
    EXPECT_EQ(boxes.last().title, kAppTitle);
    EXPECT_EQ(boxes.last().text.rfind("Melt glass: Schott Polynomial Constants", 0), 0u);
}

}  // namespace
