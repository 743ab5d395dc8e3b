// The editor's Refractive index tab: points entered by paste and by the
// wavelength picker, sorted and fitted by every formula, and coefficients
// checked over their waveband.
#include <gtest/gtest.h>

#include <cmath>

#include "EditorFixture.h"
#include "editor/IndexGrid.h"
#include "model/IndexFit.h"
#include "model/NumberFormat.h"

namespace {

class IndexTabTest : public EditorTest {
protected:
    void openNew() {
        form.DisplayNew();
        form.tabProperties_Click(kEditorTabIndex);
    }
    void paste(const std::string& text, int col = 1, int row = 1) {
        clipboard.setText(text);
        view.index.setActiveCell(col, row);
        form.comClipPaste_Click();
    }
    // The formula list offers Schott, Sellmeier, Cauchy and Schott Plus.
    void chooseFormula(std::int16_t type) {
        const MemoryListControl& list = controls().cmbIndexPolyType.list;
        for (int i = 0; i < list.count(); ++i)
            if (list.itemData(i) == type) form.cmbIndexPolyType_Click(i);
        ASSERT_EQ(glass().definition.formulaType, type);
    }
    std::vector<std::string> column(int col, int rows) const {
        std::vector<std::string> out;
        for (int r = 1; r <= rows; ++r) out.push_back(view.index.text(col, r));
        return out;
    }
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(IndexTabTest, PastedRowsGoThroughTheCellRule) {
    openNew();
    ASSERT_TRUE(view.index.userType(1, 3, "700"));
    paste("500\t1.52\r\n600\t1.51\t0\n\r\n\n");
    EXPECT_EQ(column(1, 3), (Texts{"500.0000", "600.0000", "700.0000"}));
    EXPECT_EQ(column(2, 3), (Texts{"1.5200000", "1.5100000", ""}));
    // A missing weight gets the default; a pasted 0 stays and leaves the point out.
    EXPECT_EQ(column(3, 3), (Texts{"1.00", "0.00", ""}));
    EXPECT_FALSE(form.GetReady(kIndex));
    EXPECT_TRUE(controls().comIndexFit.enabled);

    // Texts a cell refuses, locked cells and rows past the grid are skipped.
    paste("abc\t1.6\t0.5\tfit\terror", 1, 4);
    EXPECT_EQ(view.index.blockText(GridBlock::range(1, 4, 5, 4)), "\t1.6000000\t0.50\t\t\r\n");
    paste("800\t1.50\r\n900\t1.49\r\n", 1, kIndexGridRows);
    EXPECT_EQ(view.index.text(1, kIndexGridRows), "800.0000");
    EXPECT_EQ(view.index.text(3, kIndexGridRows), "1.00");
}

TEST_F(IndexTabTest, DefaultWeightOfAnEditedRow) {
    openNew();
    struct Case {
        std::string wave, index, weight, expected;
    };
    const Case cases[] = {
        {"500", "1.5", "", "1.00"},
        {"500", "1.5", "0", "0.00"},  // typed 0 excludes the point
        {"500", "1.5", "0.25", "0.25"},
        {"500", "1", "", ""},  // an index of 1 is no index
        {"", "1.5", "", ""},
    };
    int row = 1;
    for (const Case& c : cases) {
        if (!c.wave.empty()) view.index.userType(1, row, c.wave);
        if (!c.weight.empty()) view.index.userType(3, row, c.weight);
        view.index.userType(2, row, c.index);
        EXPECT_EQ(view.index.text(3, row), c.expected) << row;
        ++row;
    }
}

TEST_F(IndexTabTest, SortKeepsCompleteRowsLongestFirst) {
    openNew();
    paste("600\t1.51\t0.5\r\n587.56\t1.5168\r\n900\r\n600\t1.52\r\n1000.4\t1.507\r\n");
    form.comIndexSort_Click();
    EXPECT_EQ(column(1, 5), (Texts{"1000.4000", "600.0000", "600.0000", "587.5600", ""}));
    EXPECT_EQ(column(2, 4), (Texts{"1.5070000", "1.5100000", "1.5200000", "1.5168000"}));
    EXPECT_EQ(column(3, 4), (Texts{"1.00", "0.50", "1.00", "1.00"}));
    EXPECT_EQ(glass().indexPointCount, 4);
    EXPECT_EQ(glass().definition.upperWavelength, 1000);
    EXPECT_EQ(glass().definition.lowerWavelength, 588);
    EXPECT_DOUBLE_EQ(glass().measured.indexWavelengthUm[1], static_cast<double>(1000.4f) * 0.001);
    EXPECT_EQ(glass().measured.index[2], static_cast<double>(1.51f));
    EXPECT_EQ(glass().measured.indexSquared[2], static_cast<double>(1.51f) * static_cast<double>(1.51f));
}

TEST_F(IndexTabTest, EachFormulaIsFittedWithItsReport) {
    struct Case {
        std::int16_t type;
        int points;
        std::string prefix;
        std::string (*report)(const GlassDefinition&, const std::string&);
    };
    const Case cases[] = {
        {kSchott, 8, "average Schott polynomal fit error: ", SchottReport},
        {kSellmeier, 8, "average Sellmeier polynomal fit error: ", SellmeierReport},
        {kCauchy, 6, "average Cauchy polynomal fit error ", CauchyReport},
        {kSchottPlus, 14, "average Schott Plus polynomal fit error: ", ExtendedSchottReport},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        openNew();
        chooseFormula(c.type);
        EXPECT_EQ(controls().lblIndexMinDataPoints.text, "Min: " + std::to_string(FormulaCoefCount(c.type)) + " points");
        paste(PointsText(Nbk7Sellmeier(), Wavelengths(c.points, 400, 1000)));
        form.comIndexFit_Click();
        EXPECT_TRUE(boxes.shown().empty());
        ASSERT_TRUE(form.GetReady(kIndex));
        const GlassRecord& g = glass();
        EXPECT_EQ(controls().lblError.text,
                  c.prefix + Format(std::sqrt(g.measured.sumOfSquares / c.points), "0.0000000"));
        EXPECT_EQ(form.fitReport(), c.report(g.definition, ""));
        EXPECT_EQ(form.GetEditCount(kIndex), 1);
        EXPECT_EQ(controls().pnlStatus[kIndex].text, "Index: Ready");
        EXPECT_FALSE(controls().comIndexFit.enabled);
        EXPECT_TRUE(controls().comIndexShow.enabled);
        EXPECT_FALSE(view.index.colHidden(4) || view.index.colHidden(5));
        EXPECT_EQ(view.index.text(4, 1), Format(g.measured.fittedIndex[1], "0.0000000"));
        EXPECT_EQ(view.index.text(5, c.points), Format(g.measured.residual[static_cast<std::size_t>(c.points)], "0.0000000"));
        // The glass code of the fitted formula, at once.
        GlassRecord coded = g;
        ComputeGlassCode(coded);
        EXPECT_NE(coded.definition.glassCode, 0);
        EXPECT_EQ(controls().lblGlassCode.text, std::to_string(coded.definition.glassCode));

        boxes.answer(kAnswerOk);
        form.comIndexShow_Click();
        EXPECT_EQ(boxes.last().text, form.fitReport() + "\r\n\r\nWaveLen Min:   400nm\r\nWaveLen Max:   1000nm");
        EXPECT_EQ(boxes.last().style, kBoxPlain);
        form.comOK_Click();
        boxes.clear();
    }
}

TEST_F(IndexTabTest, FiveTermSellmeierOfAStoredMaterialIsFittedToo) {
    GlassRecord plus = storedGlass("PLUS", "ME");
    plus.indexDataType = kIndexData;
    plus.definition.formulaType = kSellmeierPlus;
    plus.sections[kIndex].ready = kFalse;
    form.DisplayEdit(caller, plus);
    form.tabProperties_Click(kEditorTabIndex);
    EXPECT_EQ(controls().lblIndexMinDataPoints.text, "Min: 12 points");
    paste(PointsText(Nbk7Sellmeier(), Wavelengths(17, 365, 2325)));
    // The two extra terms are barely determined by these points; the fit
    // still asks nothing.
    form.comIndexFit_Click();
    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_TRUE(form.GetReady(kIndex));
    EXPECT_EQ(controls().lblError.text.rfind("average Sellmeier polynomal fit error: 0.0000", 0), 0u);
    EXPECT_EQ(form.fitReport().rfind("Extend Sellmeier Polynomial Constants\r\n\r\nB1:   ", 0), 0u);
    EXPECT_EQ(glass().definition.formulaType, kSellmeierPlus);
}

// A designer's first try: N-BK7's ten catalogue lines to six decimals. The
// fit asks nothing and reproduces every line to its last decimal.
TEST_F(IndexTabTest, CatalogueLinesToSixDecimalsAreFittedWithoutAQuestion) {
    openNew();
    chooseFormula(kSellmeier);
    std::string text;
    for (float w : {365.0146f, 404.6561f, 435.8343f, 479.9914f, 486.1327f, 546.074f, 587.5618f, 643.8469f, 656.2725f,
                    1013.98f}) {
        bool ok = false;
        text += Format(w, "0.0###") + "\t" + Format(EvaluateIndex(Nbk7Sellmeier(), w, kSellmeier, ok), "0.000000") + "\r\n";
    }
    paste(text);
    form.comIndexFit_Click();
    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_TRUE(form.GetReady(kIndex));
    for (std::size_t i = 1; i <= 10; ++i) EXPECT_LE(std::fabs(glass().measured.residual[i]), 0.5e-6) << i;
}

TEST_F(IndexTabTest, TooFewPointsAreToldBeforeFitting) {
    openNew();
    paste(PointsText(Nbk7Sellmeier(), Wavelengths(5, 400, 1000)) + "650\r\n");
    boxes.answer(kAnswerOk);
    form.comIndexFit_Click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().text, "You need at least 6 full data points to fit a Schott polynomial.");
    EXPECT_EQ(boxes.last().style, kBoxExclamation);
    EXPECT_EQ(glass().indexPointCount, 5);  // the row without an index is gone
    EXPECT_EQ(view.index.text(1, 6), "");
    EXPECT_FALSE(form.GetReady(kIndex));
    EXPECT_EQ(controls().lblError.text, "");
}

TEST_F(IndexTabTest, AFailedFitShowsNoResiduals) {
    openNew();
    chooseFormula(kCauchy);
    paste(PointsText(Nbk7Sellmeier(), Wavelengths(4, 400, 1000)));
    form.comIndexFit_Click();
    ASSERT_TRUE(form.GetReady(kIndex));
    // Every point left out: nothing to fit.
    for (int r = 1; r <= 4; ++r) view.index.userType(3, r, "0");
    EXPECT_TRUE(view.index.colHidden(4));
    boxes.answer(kAnswerOk);
    form.comIndexFit_Click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().text, "Failed to fit Cauchy Polynomial\r\nCheck data or try another polynomial form");
    EXPECT_FALSE(form.GetReady(kIndex));
    EXPECT_TRUE(view.index.colHidden(4) && view.index.colHidden(5));
    EXPECT_EQ(controls().lblError.text, "");
    EXPECT_FALSE(controls().comIndexShow.enabled);
    EXPECT_EQ(controls().lblGlassCode.text, "");
}

TEST_F(IndexTabTest, ANewFormulaForFittedPointsNeedsAFit) {
    openNew();
    const std::string points = PointsText(Nbk7Sellmeier(), Wavelengths(8, 400, 1000));
    paste(points);
    form.comIndexFit_Click();
    ASSERT_TRUE(form.GetReady(kIndex));
    const std::string grid = view.index.blockText(GridBlock::range(1, 1, 3, 8));
    chooseFormula(kSellmeier);
    EXPECT_FALSE(form.GetReady(kIndex));
    EXPECT_EQ(controls().pnlStatus[kIndex].text, "Index: NOT Ready");
    EXPECT_TRUE(controls().comIndexFit.enabled);
    EXPECT_FALSE(controls().comIndexShow.enabled);
    EXPECT_TRUE(view.index.colHidden(4));
    EXPECT_EQ(controls().lblError.text, "");
    EXPECT_EQ(view.index.blockText(GridBlock::range(1, 1, 3, 8)), grid);
    form.comIndexFit_Click();
    EXPECT_TRUE(form.GetReady(kIndex));
}

TEST_F(IndexTabTest, DataTypeChoosesTheGrid) {
    openNew();
    paste(PointsText(Nbk7Sellmeier(), Wavelengths(8, 400, 1000)));
    form.comIndexFit_Click();
    form.cmbIndexDataType_Click(kCoefficients);
    EXPECT_EQ(glass().indexDataType, kCoefficients);
    EXPECT_EQ(view.index.maxRows(), kCoefGridRows);
    EXPECT_EQ(view.index.maxCols(), kCoefGridCols);
    EXPECT_EQ(view.index.text(2, 0), "Value");
    EXPECT_EQ(view.index.blockText(GridBlock::range(1, 1, 4, 1)),
              "A0 \t" + Format(glass().definition.coefficients[0], kCoefFormat) + "\t \t \r\n");
    EXPECT_EQ(view.index.blockText(GridBlock::range(1, 7, 4, 8)), " \t \t \t \r\nWavLn Min\t400nm\tWavLn Max\t1000nm\r\n");
    EXPECT_TRUE(view.index.locked(1, 1) && view.index.locked(3, 1));
    EXPECT_FALSE(view.index.locked(2, 1) || view.index.locked(4, 1));
    EXPECT_EQ(controls().comIndexFit.text, "Check coeffs");
    EXPECT_TRUE(controls().comIndexFit.enabled);
    EXPECT_FALSE(controls().comIndexShow.enabled);
    EXPECT_FALSE(controls().comIndexSort.enabled);
    EXPECT_EQ(controls().lblIndexMinDataPoints.text, "");

    // A new formula clears the coefficients and lays out its own.
    chooseFormula(kSellmeier);
    EXPECT_EQ(glass().definition.coefficients, (std::array<double, kCoefficientSlots>{}));
    EXPECT_EQ(view.index.blockText(GridBlock::range(1, 2, 4, 2)), "B2 \t+0.00000000e+00\tC2 \t+0.00000000e+00\r\n");
    EXPECT_FALSE(form.GetReady(kIndex));

    form.cmbIndexDataType_Click(kIndexData);
    EXPECT_EQ(view.index.maxRows(), kIndexGridRows);
    EXPECT_EQ(view.index.text(1, 1), "1000.0000");  // the points are still the record's
    EXPECT_EQ(controls().comIndexFit.text, "Fit Polynomial");
    EXPECT_EQ(controls().lblIndexMinDataPoints.text, "Min: 6 points");
    EXPECT_TRUE(controls().comIndexSort.enabled);
}

TEST_F(IndexTabTest, CheckCoeffsTabulatesTheFormula) {
    const GlassRecord mine = storedGlass("MINE", "ME");
    form.DisplayEdit(caller, mine);
    form.tabProperties_Click(kEditorTabIndex);
    form.SetReady(kIndex, false);
    boxes.answer(kAnswerOk);
    form.comIndexFit_Click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxPlain);
    auto line = [&](float nm) {
        bool ok = false;
        return Format(nm, "0.0") + "           " + Format(EvaluateIndex(mine.definition, nm, kSellmeier, ok), "0.000000") +
               "\r\n";
    };
    std::string expected = "SellMeier Polynomial\r\n\r\nWavLn[nm]     Index\r\n";
    for (float nm : {435.8f, 480.0f, 486.1f, 546.1f, 587.6f, 589.0f, 643.8f, 656.3f}) expected += line(nm);
    expected += "\r\n";
    for (int k = 0; k <= 10; ++k) expected += line(300.0f + 220.0f * static_cast<float>(k));
    EXPECT_EQ(boxes.last().text, expected);
    EXPECT_TRUE(form.GetReady(kIndex));
    EXPECT_EQ(controls().lblGlassCode.text, "517642");

    // A formula without an index somewhere in its waveband is not ready.
    view.index.userType(2, 1, "-5");
    boxes.answer(kAnswerOk);
    form.comIndexFit_Click();
    EXPECT_NE(boxes.last().text.find("index < 1 !!\r\n"), std::string::npos);
    EXPECT_FALSE(form.GetReady(kIndex));
    EXPECT_EQ(glass().definition.coefficients[0], -5);
}

TEST_F(IndexTabTest, CheckCoeffsWithoutAUsableWavebandStoresNothing) {
    form.DisplayEdit(caller, storedGlass("MINE", "ME"));
    form.tabProperties_Click(kEditorTabIndex);
    view.index.userType(2, 1, "1.2");
    const GlassRecord before = glass();
    for (auto [lower, upper] : {std::pair{"500nm", "500nm"}, {"700", "400"}, {"400", "40000"}, {"-40000", "400"}, {"400", "70000"}}) {
        SCOPED_TRACE(std::string(lower) + " " + upper);
        view.index.userType(2, kWavebandRow, lower);
        view.index.userType(4, kWavebandRow, upper);
        boxes.clear();
        boxes.answer(kAnswerOk);
        form.comIndexFit_Click();
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().text, kNoWavebandMessage);
        EXPECT_EQ(boxes.last().style, kBoxPlain);
        EXPECT_EQ(glass().definition, before.definition);
    }
}

TEST_F(IndexTabTest, ShowConstsOfAStoredFormula) {
    const GlassRecord mine = storedGlass("MINE", "ME");
    form.DisplayEdit(caller, mine);
    boxes.answer(kAnswerOk);
    form.comIndexShow_Click();
    EXPECT_EQ(boxes.last().text, SellmeierReport(mine.definition, "") + "\r\n\r\nWaveLen Min:   300nm\r\nWaveLen Max:   2500nm");
}

TEST_F(IndexTabTest, ClearEmptiesTheTabAndItsRecord) {
    openNew();
    paste(PointsText(Nbk7Sellmeier(), Wavelengths(8, 400, 1000)));
    form.comIndexFit_Click();
    ASSERT_TRUE(form.GetReady(kIndex));
    form.comClear_Click();
    std::string empty;
    for (int r = 0; r < 8; ++r) empty += "\t\t\t\t\r\n";
    EXPECT_EQ(view.index.blockText(GridBlock::range(1, 1, 5, 8)), empty);
    const GlassRecord& g = glass();
    EXPECT_EQ(g.indexPointCount, 0);
    EXPECT_EQ(g.measured.indexWavelength[1], 0);
    EXPECT_EQ(g.measured.fittedIndex[8], 0);
    EXPECT_EQ(g.definition.coefficients, (std::array<double, kCoefficientSlots>{}));
    EXPECT_EQ(g.definition.upperWavelength, 0);
    EXPECT_EQ(g.definition.glassCode, 0);
    EXPECT_FALSE(form.GetReady(kIndex));
    EXPECT_TRUE(view.index.colHidden(4));
    EXPECT_EQ(controls().lblError.text, "");
    EXPECT_FALSE(controls().comIndexShow.enabled);
}

TEST_F(IndexTabTest, PickedWavelengthsGoThroughTheCellRule) {
    openNew();
    std::vector<float> picked;
    int opened = 0, openedTab = -1;
    float start = -1;
    form.setWavelengthPicker([&](int& nWaves, float& sWave, std::vector<float>& sWaves, int nTab) {
        ++opened;
        openedTab = nTab;
        start = sWave;
        nWaves = static_cast<int>(picked.size());
        sWave = picked.front();
        sWaves = picked;
        return true;
    });
    paste("\t1.52\r\n\t1.51\r\n", 1, 2);
    view.index.userType(1, 2, "400");
    picked = {656.2725f, 587.5618f, 486.1327f};
    form.comWaveSelRefInd_Click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(openedTab, 0);
    EXPECT_EQ(start, 400.0f);
    EXPECT_EQ(column(1, 4), (Texts{"", "656.2725", "587.5618", "486.1327"}));
    EXPECT_EQ(column(3, 4), (Texts{"", "1.00", "1.00", ""}));  // row 4 has no index
    EXPECT_FALSE(form.GetReady(kIndex));

    // From the last row only what fits.
    view.index.setActiveCell(1, kIndexGridRows);
    form.comWaveSelRefInd_Click();
    EXPECT_EQ(view.index.text(1, kIndexGridRows), "656.2725");

    // The hook the picker calls writes the same way.
    form.PutPickedWavelengths(view.index, 10, {1060.0f});
    EXPECT_EQ(view.index.text(1, 10), "1060.0000");
}
