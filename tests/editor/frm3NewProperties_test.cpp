// The editor's dn/dt and Other properties tabs: the dn/dt boxes by type,
// their formats and commits; the property grid's formats, what a typed value
// is stored as, the density that makes the section ready, the status codes,
// and clearing both tabs.
#include <gtest/gtest.h>

#include <functional>

#include "EditorFixture.h"

namespace {

using Texts = std::vector<std::string>;

class PropertiesTest : public EditorTest {
protected:
    // A stored material with some properties and the Schott dn/dt constants.
    static GlassRecord withProperties() {
        GlassRecord g = storedGlass("PROPS", "LAB");
        GlassProperties& p = g.properties;
        p.a3070.set("7.06");
        p.tg.set("557.4");
        p.cp.set("0.858");
        p.eMod.set("82");
        p.bubble.clear();
        p.status.set("R");
        p.price.set("cheap");
        p.remark.set("keep\tdry");
        g.definition.density = 2.51f;
        NotesAndDnDt& n = g.notes;
        n.dnDtType = kSchottDnDt;
        n.dnDtSimple = 2.5f;
        n.d0 = 1.23456e-5f;
        n.d1 = 1.1e-8f;
        n.d2 = -3e-11f;
        n.e0 = 4.5e-7f;
        n.e1 = 5e-10f;
        n.lambdaTK = 0.17f;
        n.referenceTemperature = 20;
        return g;
    }
    void open(const GlassRecord& g, int tab) {
        editors.DisplayEdit(caller, g);
        form.tabProperties_Click(tab);
    }
    Texts values() const {
        Texts out;
        for (int r = 1; r <= 24; ++r) out.push_back(view.other.text(2, r));
        return out;
    }
    Texts thermTexts() const {
        Texts out;
        for (const ControlState& box : controls().txtTherm) out.push_back(box.text);
        return out;
    }
};

}  // namespace

TEST_F(PropertiesTest, TheGridShowsEachRowThroughItsFormat) {
    open(withProperties(), kEditorTabOther);
    EXPECT_EQ(view.other.maxRows(), 24);
    EXPECT_EQ(view.other.text(1, 0), "Parameter");
    EXPECT_EQ(view.other.text(1, 9), "p [g/cm\xB3] ");
    EXPECT_EQ(view.other.text(3, 9), "Density   [REQUIRED]");
    EXPECT_EQ(view.other.backColour(2, 9), Colour{0x00FFFF});
    EXPECT_TRUE(view.other.locked(1, 1) && view.other.locked(3, 1));
    EXPECT_FALSE(view.other.locked(2, 1));
    const Texts shown = values();
    EXPECT_EQ(shown[0], "7.1");     // "0.0"
    EXPECT_EQ(shown[2], "0557");    // "0000"
    EXPECT_EQ(shown[5], "0.858");   // "0.000"
    EXPECT_EQ(shown[7], " ");       // a row between groups
    EXPECT_EQ(shown[8], "2.510");   // the density
    EXPECT_EQ(shown[9], "082");     // "000"
    EXPECT_EQ(shown[20], "");       // an empty text stays empty
    EXPECT_EQ(shown[21], "R");      // no number: as it stands
    EXPECT_EQ(shown[22], "cheap");
    EXPECT_EQ(shown[23], "keep\tdry");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(PropertiesTest, ATypedValueIsStoredRoundedToItsRow) {
    struct Case {
        int row;
        const char* typed;
        std::function<std::string(const GlassProperties&)> field;
        const char* stored;
        const char* shown;
    };
    const auto a3070 = [](const GlassProperties& p) { return p.a3070.raw(); };
    const Case cases[] = {
        {1, "7.06", a3070, "7.1            ", "7.1"},
        {1, "abc", a3070, "               ", ""},
        {1, "", a3070, "               ", ""},
        {1, "1e39", a3070, "               ", ""},  // beyond a single's range
        {3, "557.5", [](const GlassProperties& p) { return p.tg.raw(); }, "558            ", "0558"},
        {6, "12.5 J", [](const GlassProperties& p) { return p.cp.raw(); }, "12.5           ", "12.500"},
        {11, "0.2085", [](const GlassProperties& p) { return p.poisson.raw(); }, "0.209          ", "0.209"},
        {17, "52.34", [](const GlassProperties& p) { return p.sr.raw(); }, "52.3     ", "52.3"},
        {23, "10", [](const GlassProperties& p) { return p.price.raw(); }, "10             ", "10.0"},
        {24, "Fine annealed, 2 mm", [](const GlassProperties& p) { return p.remark.str(); }, "Fine annealed, 2 mm",
         "Fine annealed, 2 mm"},
    };
    open(withProperties(), kEditorTabOther);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + " " + c.typed);
        ASSERT_TRUE(view.other.userType(2, c.row, c.typed) || std::string(c.typed).empty());
        EXPECT_EQ(c.field(glass().properties), c.stored);
        EXPECT_EQ(view.other.text(2, c.row), c.shown);
    }
    EXPECT_TRUE(form.GetReady(kOther));  // only the density changes it
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(PropertiesTest, TheDensityMakesTheSectionReady) {
    form.DisplayNew();
    form.tabProperties_Click(kEditorTabOther);
    EXPECT_EQ(view.other.text(2, 9), "0.000");
    for (const char* refused : {"0", "-2.5", "1e39"}) {  // the last beyond a single's range
        ASSERT_TRUE(view.other.userType(2, 9, refused));
        EXPECT_EQ(glass().definition.density, 0.0f);
        EXPECT_FALSE(form.GetReady(kOther));
        EXPECT_EQ(view.other.text(2, 9), "0.000");  // put back
    }
    ASSERT_TRUE(view.other.userType(2, 9, "2.51"));
    EXPECT_EQ(glass().definition.density, 2.51f);
    EXPECT_TRUE(form.GetReady(kOther));
    EXPECT_EQ(panels()[kOther], "Other: Ready");
    EXPECT_EQ(view.other.text(2, 9), "2.510");
    ASSERT_TRUE(view.other.userType(2, 9, "0"));
    EXPECT_EQ(glass().definition.density, 2.51f);
    EXPECT_TRUE(form.GetReady(kOther));
    EXPECT_EQ(view.other.text(2, 9), "2.510");
}

TEST_F(PropertiesTest, TheStatusTakesOnlyTheFourCodes) {
    struct Case {
        const char* typed;
        const char* stored;
    };
    const Case cases[] = {{"o", "O"}, {"x", "O"}, {" r ", "R"}, {"Eco", "E"}, {"", "E"}, {"available", "A"}};
    open(withProperties(), kEditorTabOther);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        view.other.userType(2, 22, c.typed);
        EXPECT_EQ(glass().properties.status.raw(), std::string(c.stored) + "   ");
        EXPECT_EQ(view.other.text(2, 22), c.stored);
    }
}

TEST_F(PropertiesTest, AnUnknownStatusIsSavedAsAvailable) {
    GlassRecord g = withProperties();
    keep(g);
    g.properties.status.set("q");
    open(g, kEditorTabOther);
    EXPECT_EQ(view.other.text(2, 22), "q");
    form.comAdd_Click();
    ASSERT_EQ(fileRecords().size(), 1u);
    EXPECT_EQ(fileRecords()[0].properties.status.str(), "A");
    EXPECT_EQ(fileRecords()[0].properties.a3070.str(), "7.06");  // stored texts are not reformatted
}

TEST_F(PropertiesTest, ClearOtherBlanksThePropertiesAndTheDensity) {
    GlassRecord g = withProperties();
    g.properties.cc.set("37/34");
    open(g, kEditorTabOther);
    ASSERT_EQ(controls().comClear.text, "&Clear other");
    form.comClear_Click();
    GlassRecord blank;
    InitGlassRecord(blank);
    GlassProperties expected = blank.properties;
    expected.status.set("A");
    EXPECT_EQ(glass().properties, expected);
    EXPECT_EQ(glass().definition.density, 0.0f);
    EXPECT_FALSE(form.GetReady(kOther));
    EXPECT_EQ(panels()[kOther], "Other: NOT Ready");
    const Texts shown = values();
    EXPECT_EQ(shown[0], "");
    EXPECT_EQ(shown[8], "0.000");
    EXPECT_EQ(shown[21], "A");
    EXPECT_EQ(shown[23], "");
    EXPECT_EQ(view.other.text(1, 1), "A -30/+70\xB0" "C [10^-6/K] ");
    // The dn/dt section is untouched.
    EXPECT_EQ(glass().notes.d0, 1.23456e-5f);
}

TEST_F(PropertiesTest, TheDnDtTypeChoosesTheBoxes) {
    struct Case {
        std::int16_t type;
        int usedBoxes;
        const char* firstLabel;
        bool linear;
    };
    const Case cases[] = {{kNoDnDt, 0, "D0", false}, {kSimpleDnDt, 1, "dn/dt", true}, {kSchottDnDt, 7, "D0", false}};
    open(withProperties(), kEditorTabDnDt);
    EXPECT_EQ(controls().lstThermal.list.currentIndex(), kSchottDnDt);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        form.lstThermal_Click(c.type == kSchottDnDt ? kNoDnDt : kSchottDnDt);  // from elsewhere
        form.lstThermal_Click(c.type);
        EXPECT_EQ(glass().notes.dnDtType, c.type);
        for (int i = 0; i < 7; ++i) {
            const auto k = static_cast<std::size_t>(i);
            EXPECT_EQ(controls().txtTherm[k].enabled, i < c.usedBoxes) << i;
            EXPECT_EQ(controls().lblTherm[k].visible, i < c.usedBoxes) << i;
        }
        EXPECT_EQ(controls().lblTherm[0].text, c.firstLabel);
        EXPECT_EQ(controls().lblDnDtLinear.visible, c.linear);
        EXPECT_EQ(controls().lblDnDtLinear.text, "Abs. value 20\xB0" "C at 546nm (e) [units: 10^-6/K]");
    }
    EXPECT_EQ(thermTexts(), (Texts{"1.235e-05", "1.100e-08", "-3.000e-11", "4.500e-07", "5.000e-10", "1.700e-01", "20"}));
    form.lstThermal_Click(kSimpleDnDt);
    EXPECT_EQ(thermTexts()[0], "2.500e+00");
    // No known data keeps what is stored.
    form.lstThermal_Click(kNoDnDt);
    EXPECT_EQ(glass().notes.d0, 1.23456e-5f);
    EXPECT_EQ(glass().notes.dnDtSimple, 2.5f);
    EXPECT_TRUE(form.GetReady(kDnDt));
}

TEST_F(PropertiesTest, ADnDtBoxStoresOnlyWhatWasTyped) {
    open(withProperties(), kEditorTabDnDt);
    // The box as shown, a rounded text, keeps the stored constant.
    form.txtTherm_Commit(0, "1.235e-05");
    EXPECT_EQ(glass().notes.d0, 1.23456e-5f);
    form.txtTherm_Commit(0, "2e-6");
    EXPECT_EQ(glass().notes.d0, 2e-6f);
    EXPECT_EQ(thermTexts()[0], "2.000e-06");
    form.txtTherm_Commit(6, "25 C");
    EXPECT_EQ(glass().notes.referenceTemperature, 25.0f);
    EXPECT_EQ(thermTexts()[6], "25");

    boxes.answer(kAnswerOk);
    form.txtTherm_Commit(1, "n/a");
    EXPECT_EQ(boxes.last().text, "    'n/a'\r\n\r\nThis is not a valid number: try again.");
    EXPECT_EQ(glass().notes.d1, 1.1e-8f);
    EXPECT_EQ(thermTexts()[1], "1.100e-08");
    form.txtTherm_Commit(1, "1e39");  // beyond a single's range
    EXPECT_EQ(glass().notes.d1, 1.1e-8f);
    EXPECT_EQ(thermTexts()[1], "1.100e-08");

    form.lstThermal_Click(kSimpleDnDt);
    form.txtTherm_Commit(0, "3.1");
    EXPECT_EQ(glass().notes.dnDtSimple, 3.1f);
    EXPECT_EQ(glass().notes.d0, 2e-6f);
    EXPECT_EQ(thermTexts()[0], "3.100e+00");
    EXPECT_EQ(form.GetEditCount(kDnDt), storedGlass("PROPS", "LAB").sections[kDnDt].editCount);
}

TEST_F(PropertiesTest, ClearDnDtZeroesTheConstantsButNotTheTemperature) {
    open(withProperties(), kEditorTabDnDt);
    ASSERT_EQ(controls().comClear.text, "&Clear dndt");
    form.comClear_Click();
    const NotesAndDnDt& n = glass().notes;
    for (float v : {n.dnDtSimple, n.d0, n.d1, n.d2, n.e0, n.e1, n.lambdaTK}) EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(n.referenceTemperature, 20.0f);
    EXPECT_EQ(n.dnDtType, kSchottDnDt);
    EXPECT_EQ(thermTexts(), (Texts{"0.000e+00", "0.000e+00", "0.000e+00", "0.000e+00", "0.000e+00", "0.000e+00", "20"}));
    EXPECT_TRUE(form.GetReady(kDnDt));
}
