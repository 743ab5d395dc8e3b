// The editor's Transmittance tab: each typed quantity with the two computed
// from it, the reflection factor and its refusals, the display units, a new
// thickness, "Sort & check" with its compaction into the design table, "No
// Data Available", clearing and the wavelength picker.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "EditorFixture.h"
#include "editor/TransGrid.h"
#include "model/TransCalcs.h"

namespace {

using Texts = std::vector<std::string>;

class TransTabTest : public EditorTest {
protected:
    // n = 1.5 at every wavelength from 300 to 2500 nm: the reflection factor
    // 2n / (n² + 1) is 12/13 there.
    static GlassRecord constantIndexGlass(std::int16_t transType) {
        GlassRecord g = storedGlass("FLAT", "LAB");
        g.indexDataType = kCoefficients;
        g.definition.formulaType = kCauchy;
        g.definition.coefficients.fill(0);
        g.definition.coefficients[0] = 2.25;  // n² = A0
        g.definition.lowerWavelength = 300;
        g.definition.upperWavelength = 2500;
        MeasuredData& m = g.measured;
        m.transDataType = transType;
        m.transCount = 0;
        m.thickness = 10;
        for (auto* a : {&m.transWavelength, &m.absorption, &m.totalTrans, &m.internalTrans}) a->fill(0);
        return g;
    }
    void open(const GlassRecord& g) {
        editors.DisplayEdit(caller, g);
        form.tabProperties_Click(kEditorTabTrans);
    }
    void openFlat(std::int16_t transType) { open(constantIndexGlass(transType)); }
    Texts row(int r) const {
        Texts out;
        for (int c = 1; c <= kTransGridCols; ++c) out.push_back(view.trans.text(c, r));
        return out;
    }
    void paste(const std::string& text, int col = 1, int row = 1) {
        clipboard.setText(text);
        view.trans.setActiveCell(col, row);
        form.comClipPaste_Click();
    }
    const MeasuredData& m() const { return glass().measured; }
};

}  // namespace

TEST_F(TransTabTest, EachTypedQuantityGivesTheOtherTwo) {
    struct Case {
        std::int16_t type;
        int unit, col;
        const char* typed;
        float total, internal, alpha;
        Texts shown;
    };
    const Case cases[] = {
        {kTotalTransmission, 0, 2, "80", 80.0f, 86.66667f, 0.01431008f, {"500.00", "80.0", "86.67", "0.01431"}},
        {kInternalTransmission, 0, 3, "90", 83.07692f, 90.0f, 0.01053605f, {"500.00", "83.08", "90.0", "0.01054"}},
        {kAbsorptionCoefficient, 0, 4, "0.01", 83.52345f, 90.48374f, 0.01f, {"500.00", "83.52", "90.48", "0.010000"}},
        // Fractions are shown, percent stored.
        {kInternalTransmission, 1, 3, "0.9", 83.07692f, 90.0f, 0.01053605f, {"500.00", "0.8308", "0.9000", "0.01054"}},
        {kTotalTransmission, 1, 2, "0.8", 80.0f, 86.66667f, 0.01431008f, {"500.00", "0.8000", "0.8667", "0.01431"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        openFlat(c.type);
        form.cmbTransDisp_Click(c.unit);
        ASSERT_TRUE(view.trans.userType(1, 1, "500"));
        ASSERT_TRUE(view.trans.userType(c.col, 1, c.typed));
        EXPECT_NEAR(m().totalTrans[1], c.total, 1e-4);
        EXPECT_NEAR(m().internalTrans[1], c.internal, 1e-4);
        EXPECT_NEAR(m().absorption[1], c.alpha, 1e-7);
        EXPECT_EQ(row(1), c.shown);
        EXPECT_FALSE(form.GetReady(kTrans));
        EXPECT_EQ(panels()[kTrans], "Trans: NOT Ready");
        form.comOK_Click();
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(TransTabTest, WithoutAReflectionFactorATotalIsToldAndPutBack) {
    struct Case {
        const char* why;
        std::function<void(GlassRecord&)> change;
        float wave;
        const char* message;
    };
    const Case cases[] = {
        {"no wavelength", nullptr, 0,
         "You need to specify a wavelength\r\nto get the absorption coeff\r\nfrom the total Transmission"},
        {"index not ready", [](GlassRecord& g) { g.sections[kIndex].ready = kFalse; }, 500,
         "The Index Data must be READY\r\nto get the absorption coeff\r\nfrom the total Transmission"},
        {"outside the waveband", nullptr, 299.5f, "Wavelength outside waveband covered by refractive index polynomial"},
        // A failed evaluation gives n = 0: the factor would divide by zero.
        {"no index there", [](GlassRecord& g) { g.definition.coefficients[0] = 0.5; }, 500,
         "The refractive index polynomial gives no index at this wavelength\r\nto get the absorption coeff\r\nfrom "
         "the total Transmission"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        GlassRecord g = constantIndexGlass(kTotalTransmission);
        g.measured.transWavelength[1] = c.wave;
        g.measured.totalTrans[1] = 60;
        g.measured.internalTrans[1] = 65;
        g.measured.absorption[1] = 0.04f;
        if (c.change) c.change(g);
        open(g);
        const Texts before = row(1);
        boxes.clear();
        boxes.answer(kAnswerOk);
        ASSERT_TRUE(view.trans.userType(2, 1, "70"));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().style, kBoxPlain);
        EXPECT_EQ(boxes.last().text, c.message);
        EXPECT_EQ(m().totalTrans[1], 60.0f);
        EXPECT_EQ(m().absorption[1], 0.04f);
        EXPECT_EQ(row(1), before);
        EXPECT_EQ(view.trans.text(2, 1), "60.0");
        form.comOK_Click();
    }
}

TEST_F(TransTabTest, ATotalAboveTheReflectionLossIsRefused) {
    openFlat(kTotalTransmission);
    view.trans.userType(1, 1, "500");
    boxes.answer(kAnswerOk);
    view.trans.userType(2, 1, "95");  // internal 102.9 %
    EXPECT_EQ(boxes.last().text,
              "Reflection Loss at this wavelength  7.7%\r\nTherefore total transmittance must be less than  92.3%");
    EXPECT_EQ(m().totalTrans[1], 0.0f);
    EXPECT_EQ(m().internalTrans[1], 0.0f);
    EXPECT_EQ(m().absorption[1], 0.0f);
    EXPECT_EQ(row(1), (Texts{"500.00", "0.0", "0.00", "0.00000"}));
}

TEST_F(TransTabTest, AnOpaqueOrEmptyTransmittanceLeavesTheRowAsItWas) {
    struct Case {
        std::int16_t type;
        int col;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {kTotalTransmission, 2, "80", "0"},
        {kTotalTransmission, 2, "80", ""},
        {kInternalTransmission, 3, "90", "0"},
        {kInternalTransmission, 3, "90", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " then '" + c.second + "'");
        openFlat(c.type);
        view.trans.userType(1, 1, "500");
        view.trans.userType(c.col, 1, c.first);
        const MeasuredData before = m();
        const Texts shown = row(1);
        ASSERT_TRUE(view.trans.userType(c.col, 1, c.second));
        // 0 % as an absorption coefficient of 0 would be fully transparent.
        EXPECT_EQ(m(), before);
        EXPECT_EQ(row(1), shown);
        form.comOK_Click();
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(TransTabTest, AClearedWavelengthIsNoneAndTheValuesStay) {
    openFlat(kAbsorptionCoefficient);
    view.trans.userType(1, 1, "500");
    view.trans.userType(4, 1, "0.01");
    ASSERT_TRUE(view.trans.userType(1, 1, ""));
    EXPECT_EQ(m().transWavelength[1], 0.0f);
    EXPECT_EQ(m().absorption[1], 0.01f);
    EXPECT_EQ(row(1), (Texts{"", "83.52", "90.48", "0.010000"}));
    // The grid itself takes nothing above 30000 nm.
    EXPECT_FALSE(view.trans.userType(1, 1, "100000"));
}

TEST_F(TransTabTest, DisplayUnitChangesHeadingsAndInputCells) {
    openFlat(kInternalTransmission);
    EXPECT_EQ(controls().cmbTransDisp.list.currentIndex(), 0);
    EXPECT_EQ(view.trans.text(2, 0), "Total trans [%]");
    EXPECT_EQ(view.trans.text(3, 0), "Internal trans [%]");
    EXPECT_EQ(view.trans.cellType(3, 1), CellType::number(1, 0, 100));
    EXPECT_TRUE(view.trans.locked(2, 1) && view.trans.locked(4, 1));
    form.cmbTransDisp_Click(1);
    EXPECT_EQ(form.transDisplayUnit(), 1);
    EXPECT_EQ(view.trans.text(2, 0), "Total trans");
    EXPECT_EQ(view.trans.text(3, 0), "Internal trans");
    EXPECT_EQ(view.trans.text(4, 0), "Absorption coeff");
    EXPECT_EQ(view.trans.cellType(3, 1), CellType::number(4, 0, 1));
    EXPECT_FALSE(view.trans.userType(3, 1, "90"));  // a percent is no fraction

    // Another type makes another column the input.
    form.cmbTransType_Click(kAbsorptionCoefficient);
    EXPECT_EQ(glass().measured.transDataType, kAbsorptionCoefficient);
    EXPECT_EQ(view.trans.cellType(4, 1), CellType::number(6, 0, 1));
    EXPECT_FALSE(view.trans.locked(4, 1));
    EXPECT_TRUE(view.trans.locked(3, 1));
}

TEST_F(TransTabTest, ANewThicknessRecalculatesFromTheTypedQuantity) {
    struct Case {
        std::int16_t type;
        int col;
        const char* typed;
        Texts at5mm;
    };
    const Case cases[] = {
        {kTotalTransmission, 2, "80", {"500.00", "80.0", "86.67", "0.02862"}},
        {kInternalTransmission, 3, "90", {"500.00", "83.08", "90.0", "0.02107"}},
        {kAbsorptionCoefficient, 4, "0.01", {"500.00", "87.81", "95.12", "0.010000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        openFlat(c.type);
        view.trans.userType(1, 1, "500");
        view.trans.userType(c.col, 1, c.typed);
        form.txtTransGlassWidth_Commit("5");
        EXPECT_EQ(m().thickness, 5.0f);
        EXPECT_EQ(controls().txtTransGlassWidth.text, "5.0");
        EXPECT_EQ(row(1), c.at5mm);
        EXPECT_EQ(row(2), (Texts{"", "", "", ""}));  // an empty point stays empty
        EXPECT_EQ(m().totalTrans[2], 0.0f);
        form.comOK_Click();
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(TransTabTest, TheThicknessBoxStoresOnlyWhatWasTyped) {
    GlassRecord g = constantIndexGlass(kInternalTransmission);
    g.measured.thickness = 2.25f;
    g.measured.transWavelength[1] = 500;
    g.measured.internalTrans[1] = 90;
    g.measured.absorption[1] = 0.04682645f;
    open(g);
    EXPECT_EQ(controls().txtTransGlassWidth.text, "2.3");
    // Leaving the box as it was shown keeps 2.25 mm, rounded display or not.
    form.txtTransGlassWidth_Commit("2.3");
    EXPECT_EQ(m().thickness, 2.25f);
    EXPECT_TRUE(form.GetReady(kTrans));
    form.txtTransGlassWidth_Commit("0");
    EXPECT_EQ(m().thickness, 2.25f);
    EXPECT_EQ(controls().txtTransGlassWidth.text, "2.3");
    // Beyond the range of a single it would be stored as infinity.
    form.txtTransGlassWidth_Commit("1e39");
    EXPECT_EQ(m().thickness, 2.25f);
    EXPECT_EQ(controls().txtTransGlassWidth.text, "2.3");

    boxes.answer(kAnswerOk);
    form.txtTransGlassWidth_Commit("thin");
    EXPECT_EQ(boxes.last().text, "    'thin'\r\n\r\nThis is not a valid number: try again.");
    EXPECT_EQ(boxes.last().title, "Invalid Number");
    EXPECT_EQ(m().thickness, 2.25f);
    EXPECT_EQ(controls().txtTransGlassWidth.text, "2.3");

    form.txtTransGlassWidth_Commit("4 mm");
    EXPECT_EQ(m().thickness, 4.0f);
    EXPECT_EQ(controls().txtTransGlassWidth.text, "4.0");
    EXPECT_NEAR(m().absorption[1], 0.02634, 1e-5);
    // The standard tables were made at the old thickness: a new check is needed.
    EXPECT_FALSE(form.GetReady(kTrans));
}

TEST_F(TransTabTest, AThicknessOfZeroBecomesTenMillimetresQuietlyAtOpening) {
    GlassRecord g = constantIndexGlass(kTotalTransmission);
    g.measured.thickness = 0;
    open(g);
    EXPECT_EQ(m().thickness, 10.0f);
    EXPECT_EQ(controls().txtTransGlassWidth.text, "10.0");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(TransTabTest, SortAndCheckNeedsThreePoints) {
    openFlat(kAbsorptionCoefficient);
    paste("400\t\t\t0.02\r\n\r\n700\t\t\t0.001\r\n");
    form.comTransSort_Click();
    EXPECT_EQ(m().transCount, 2);
    EXPECT_FALSE(form.GetReady(kTrans));
    EXPECT_EQ(row(1)[0], "700.00");
    EXPECT_EQ(row(2)[0], "400.00");
    EXPECT_EQ(form.GetEditCount(kTrans), 1);

    paste("500\t\t\t0.01\r\n", 1, 5);
    form.comTransSort_Click();
    EXPECT_TRUE(form.GetReady(kTrans));
    EXPECT_EQ(panels()[kTrans], "Trans: Ready");
    EXPECT_EQ(form.GetEditCount(kTrans), 2);
    EXPECT_EQ((Texts{row(1)[0], row(2)[0], row(3)[0], row(4)[0]}), (Texts{"700.00", "500.00", "400.00", ""}));
    // The design table takes the points, the standard table their interpolation.
    const GlassDefinition& def = glass().definition;
    EXPECT_EQ(def.transWavelength[1], 500.0f);
    EXPECT_EQ(def.transAbsorption[2], 0.02f);
    EXPECT_EQ(def.transWavelength[3], 0.0f);
    EXPECT_EQ(def.transAbsorption[3], 99.0f);
    const auto at = [&](float nm) {
        for (std::size_t i = 0; i < StandardTransWavelengths.size(); ++i)
            if (StandardTransWavelengths[i] == nm) return glass().standardAbsorption[i];
        return -1.0f;
    };
    EXPECT_NEAR(at(500), 0.01f, 1e-6);
    EXPECT_NEAR(at(400), 0.02f, 1e-6);
    EXPECT_EQ(at(800), 99.0f);
}

TEST_F(TransTabTest, AWavelengthWithoutItsValueIsNoPoint) {
    openFlat(kTotalTransmission);
    ASSERT_TRUE(view.trans.userType(1, 1, "450"));
    EXPECT_EQ(row(1), (Texts{"450.00", "----", "----", "----"}));
    paste("700\t90\r\n600\t85\r\n500\t80\r\n", 1, 2);
    form.comTransSort_Click();
    // Kept as a point, the bare wavelength would have read as fully transparent.
    EXPECT_EQ(m().transCount, 3);
    EXPECT_EQ(row(3)[0], "500.00");
    EXPECT_EQ(row(4)[0], "");
    EXPECT_TRUE(form.GetReady(kTrans));

    // Its value typed later makes it a point like any other.
    ASSERT_TRUE(view.trans.userType(1, 4, "450"));
    ASSERT_TRUE(view.trans.userType(2, 4, "75"));
    form.comTransSort_Click();
    EXPECT_EQ(m().transCount, 4);
    EXPECT_EQ(m().transWavelength[4], 450.0f);
    EXPECT_NEAR(m().totalTrans[4], 75.0f, 1e-4);
}

TEST_F(TransTabTest, ADeletedPointDoesNotComeBack) {
    openFlat(kAbsorptionCoefficient);
    std::string points;
    for (int i = 0; i < 12; ++i) points += std::to_string(1200 - 50 * i) + "\t\t\t0.01\r\n";
    paste(points);
    form.comTransSort_Click();
    ASSERT_EQ(m().transWavelength[12], 650.0f);
    view.trans.userType(1, 5, "");  // 1000 nm
    form.comTransSort_Click();
    // Eleven points are shown as a count of 150: the twelfth entry must be empty.
    EXPECT_EQ(m().transCount, kMaxTransPoints);
    EXPECT_EQ(m().transWavelength[11], 650.0f);
    EXPECT_EQ(m().transWavelength[12], 0.0f);
    EXPECT_EQ(m().absorption[12], 0.0f);
    EXPECT_EQ(row(12), (Texts{"", "", "", ""}));
    form.comTransSort_Click();
    EXPECT_EQ(m().transWavelength[12], 0.0f);
    EXPECT_EQ(glass().definition.transWavelength[11], 0.0f);
}

TEST_F(TransTabTest, TheDesignTableTakesTheLongestFortyOnePoints) {
    GlassRecord g = constantIndexGlass(kAbsorptionCoefficient);
    for (std::size_t i = 1; i <= 45; ++i) {
        g.measured.transWavelength[i] = 300.0f + 10.0f * static_cast<float>(i);  // shortest first
        g.measured.absorption[i] = 0.001f * static_cast<float>(i);
        g.measured.internalTrans[i] = 50;
    }
    g.measured.absorption[20] = -1;  // a point without a coefficient is dropped
    open(g);
    form.comTransSort_Click();
    EXPECT_EQ(m().transWavelength[45], 0.0f);
    const GlassDefinition& def = glass().definition;
    EXPECT_EQ(def.transWavelength[0], 750.0f);
    EXPECT_EQ(def.transAbsorption[0], 0.045f);
    EXPECT_EQ(def.transWavelength[40], 340.0f);
    EXPECT_EQ(m().transWavelength[44], 310.0f);
}

TEST_F(TransTabTest, NoDataAvailableIsReadyWithEmptyTables) {
    openFlat(kAbsorptionCoefficient);
    paste("700\t\t\t0.001\r\n600\t\t\t0.002\r\n500\t\t\t0.003\r\n");
    form.comTransSort_Click();
    ASSERT_TRUE(form.GetReady(kTrans));
    form.cmbTransType_Click(kNoTransData);
    EXPECT_EQ(m().transDataType, kNoTransData);
    EXPECT_TRUE(form.GetReady(kTrans));
    EXPECT_FALSE(controls().txtTransGlassWidth.enabled);
    EXPECT_FALSE(controls().comTransSort.enabled);
    EXPECT_FALSE(view.trans.userType(1, 4, "400"));
    // 99 is the empty value; 0 would say the glass lets everything through.
    for (float a : glass().standardAbsorption) EXPECT_EQ(a, 99.0f);
    for (float a : glass().definition.transAbsorption) EXPECT_EQ(a, 99.0f);
    EXPECT_EQ(m().transWavelength[1], 700.0f);  // the points stay for a way back

    form.cmbTransType_Click(kAbsorptionCoefficient);
    EXPECT_FALSE(form.GetReady(kTrans));
    EXPECT_EQ(panels()[kTrans], "Trans: NOT Ready");
    EXPECT_TRUE(controls().txtTransGlassWidth.enabled);
    EXPECT_TRUE(controls().comTransSort.enabled);
    EXPECT_EQ(row(1)[0], "700.00");
    form.comTransSort_Click();
    EXPECT_TRUE(form.GetReady(kTrans));
}

TEST_F(TransTabTest, NoDataAvailableTakesNoPointsByPasteOrPicker) {
    openFlat(kNoTransData);
    bool pickerOpened = false;
    form.setWavelengthPicker([&](int& nWaves, float& sWave, std::vector<float>& sWaves, int) {
        pickerOpened = true;
        nWaves = 1;
        sWave = 1060;
        sWaves = {1060};
        return true;
    });
    form.cmbTransType_Click(kNoTransData);
    ASSERT_TRUE(form.GetReady(kTrans));
    paste("700\t90\r\n600\t80\r\n");
    view.trans.setActiveCell(1, 3);
    form.comWaveSelRefInd_Click();
    EXPECT_FALSE(pickerOpened);
    EXPECT_TRUE(form.GetReady(kTrans));
    EXPECT_EQ(panels()[kTrans], "Trans: Ready");
    EXPECT_EQ(m().transWavelength[1], 0.0f);
    EXPECT_EQ(m().transWavelength[3], 0.0f);
    EXPECT_EQ(row(1), (Texts{"", "", "", ""}));
    EXPECT_EQ(row(3), (Texts{"", "", "", ""}));
}

TEST_F(TransTabTest, NoDataAvailableChosenAgainAfterAClearIsReadyAgain) {
    openFlat(kNoTransData);
    form.comClear_Click();
    ASSERT_FALSE(form.GetReady(kTrans));
    form.cmbTransType_Click(kNoTransData);
    EXPECT_TRUE(form.GetReady(kTrans));
    EXPECT_EQ(panels()[kTrans], "Trans: Ready");
    EXPECT_FALSE(controls().comTransSort.enabled);

    // A point type chosen again leaves the section as it was.
    form.cmbTransType_Click(kInternalTransmission);
    paste("700\t\t90\r\n600\t\t80\r\n500\t\t70\r\n");
    form.comTransSort_Click();
    ASSERT_TRUE(form.GetReady(kTrans));
    form.cmbTransType_Click(kInternalTransmission);
    EXPECT_TRUE(form.GetReady(kTrans));
    EXPECT_EQ(row(3)[2], "70.0");
}

TEST_F(TransTabTest, AMaterialWithoutDataOpensWithTheTabLocked) {
    GlassRecord g = constantIndexGlass(kNoTransData);
    open(g);
    EXPECT_EQ(controls().cmbTransType.list.currentIndex(), kNoTransData);
    EXPECT_FALSE(controls().comTransSort.enabled);
    EXPECT_FALSE(view.trans.userType(1, 1, "500"));
}

TEST_F(TransTabTest, ClearEmptiesThePoints) {
    openFlat(kAbsorptionCoefficient);
    paste("700\t\t\t0.001\r\n600\t\t\t0.002\r\n500\t\t\t0.003\r\n");
    form.comTransSort_Click();
    ASSERT_EQ(controls().comClear.text, "&Clear trans");
    form.comClear_Click();
    EXPECT_FALSE(form.GetReady(kTrans));
    EXPECT_EQ(m().transWavelength[1], 0.0f);
    EXPECT_EQ(m().absorption[3], 0.0f);
    EXPECT_EQ(row(1), (Texts{"", "", "", ""}));
    EXPECT_EQ(view.trans.text(4, 0), "Absorption coeff");
}

TEST_F(TransTabTest, PickedWavelengthsGoIntoTheFirstColumn) {
    openFlat(kInternalTransmission);
    int openedTab = -1;
    form.setWavelengthPicker([&](int& nWaves, float& sWave, std::vector<float>& sWaves, int nTab) {
        openedTab = nTab;
        nWaves = 2;
        sWave = 1060;
        sWaves = {1060, 546.1f};
        return true;
    });
    ASSERT_TRUE(controls().comWaveSelRefInd.enabled);
    view.trans.setActiveCell(1, 2);
    form.comWaveSelRefInd_Click();
    EXPECT_EQ(openedTab, 2);
    EXPECT_EQ(m().transWavelength[2], 1060.0f);
    EXPECT_EQ(m().transWavelength[3], 546.1f);
    EXPECT_EQ(row(3)[0], "546.10");
}
