// The melt maker without a window: its three modes, the parent and the melt
// code, the pairs grid and every way the pairs change, the wavebands, the fit
// buttons, and saving with its refusals.
#include "melt/frm7Melt.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <optional>

#include "MeltFixtures.h"
#include "melt/GlassMelt.h"
#include "melt/MeltFit.h"
#include "model/FileUtil.h"
#include "model/GlassesList.h"
#include "model/NumberFormat.h"
#include "model/StoreFixtures.h"
#include "platform/BusyCursor.h"
#include "platform/Clipboard.h"
#include "platform/MemoryGrid.h"
#include "platform/NumberText.h"
#include "platform/Settings.h"
#include "shell/CNewMsg.h"
#include "support/FakeCaller.h"
#include "support/FakePlacedWindow.h"
#include "support/ScriptedBoxes.h"

namespace {

class FakeMeltView : public I7MeltView {
public:
    explicit FakeMeltView(frm7Melt& form) : m_form(form) {}
    IGrid& ssRefInd() override { return grid; }
    IPlacedWindow& placement() override { return placed; }
    void showWindow(bool bringToFront) override {
        shown = true;
        inFront = bringToFront;
    }
    void closeWindow() override {
        shown = false;
        m_form.Form_Unload();
    }
    void controlsChanged() override { ++refreshes; }

    MemoryGrid grid;
    FakePlacedWindow placed{"frm7Melt"};
    bool shown = false;
    bool inFront = false;
    int refreshes = 0;

private:
    frm7Melt& m_form;
};

// Boxes that also note whether the hourglass showed while each box was up.
class PointerBoxes : public ScriptedBoxes {
public:
    int show(int style, const std::string& text, const std::string& title) override {
        busyAtShow.push_back(cursor && cursor->busy);
        return ScriptedBoxes::show(style, text, title);
    }
    const RecordingBusyCursor* cursor = nullptr;
    std::vector<bool> busyAtShow;
};

// The lines of the built-in band "Schott - standard".
const std::vector<float> kSchottLines{656.2725f, 643.8469f, 587.5618f, 546.074f, 486.1327f, 479.9914f, 435.8343f};
constexpr int kOharaStandard = 0, kOharaAdvanced = 1, kSchottStandard = 2;
constexpr double kOffset = 2e-4;

// What the window shows of the Index section and the fit.
struct FitState {
    bool ready, fitEnabled, constsEnabled, indexEnabled, saveEnabled, fitColumnShown;
    std::string error;
    bool operator==(const FitState&) const = default;
};
const FitState kFitDue{false, true, false, false, false, false, ""};

class MeltMakerTest : public ::testing::Test {
protected:
    MeltMakerTest()
        : store(boxes, clock, folder.path()),
          forms(boxes, [] { return true; }),
          hints(boxes, settings),
          form(services()),
          view(form) {
        settings.set(kNewMsgSection, kMeltHintKey, "-1");
        boxes.cursor = &cursor;
        store.SetRefreshCallback([this] { ++listRefreshes; });
        editors.setMeltMaker(&form);
        editors.setManageUpdate([this] { ++manageUpdates; });
        forms.setPage(kPageMelt, &form);
        form.setView(&view);
        form.setParentPicker([this](GlassRecord& g) {
            ++pickerOpened;
            if (!chosen) return false;
            g = *chosen;
            return true;
        });
        form.setMeltSheet([this](GlassRecord& g) { return sheet && sheet(g); });
        form.setWavelengthPicker([this](int& n, float& w, std::vector<float>& ws, int tab) {
            pickerTab = tab;
            pickerStart = w;
            if (picked.empty()) return false;
            n = static_cast<int>(picked.size());
            w = picked.front();
            ws = picked;
            return true;
        });
        catalogue.addGlass(1, SellmeierParent("N-BK7", "SCHOTT"));
        GlassRecord plus = SellmeierParent("N-PLUS", "SCHOTT");
        plus.definition.formulaType = kSellmeierPlus;  // stored with no Polytype: reads back as type 0
        catalogue.addGlass(2, plus);
    }

    MeltMakerServices services() {
        MeltMakerServices s;
        s.store = &store;
        s.forms = &forms;
        s.editors = &editors;
        s.boxes = &boxes;
        s.cursor = &cursor;
        s.clipboard = &clipboard;
        s.hints = &hints;
        s.catalogueFolder = [this] { return catalogue.dir(); };
        s.programFolder = [this] { return folder.path(); };
        return s;
    }

    const frm7MeltControls& controls() const { return form.controls(); }
    const GlassRecord& glass() const { return form.record(); }
    MemoryGrid& grid() { return view.grid; }

    // A parent as the picker hands it over: read from the catalogue database.
    GlassRecord catalogueParent(const std::string& name) {
        GlassRecord g;
        InitGlassRecord(g);
        EXPECT_TRUE(ReloadParent(catalogue.dir(), name, "SCHOTT", g, boxes));
        return g;
    }

    void openWithParent(const std::string& name = "N-BK7") {
        form.DisplayNew(false);
        chosen = catalogueParent(name);
        form.comParent_Click();
    }

    // Types the melt's index, the parent's plus kOffset, beside each wavelength.
    void typeIndices() {
        for (int r = 1; r <= kPairRows; ++r) {
            double w = 0;
            if (!ParseNumber(grid().text(kPairWave, r), w)) continue;
            ASSERT_TRUE(grid().userType(kPairMelt, r, Format(IndexOf(form.parent(), static_cast<float>(w)) + kOffset, "0.0000000")));
        }
    }

    // A fitted melt of N-BK7 at the Schott lines, with its code.
    void fittedMelt(const std::string& code = "M1") {
        openWithParent();
        form.txtMeltCode_Commit(code);
        form.lstWaveBand_Click(kSchottStandard);
        typeIndices();
        form.comIndexFit_Click();
        ASSERT_TRUE(form.GetReady(kIndex)) << (boxes.shown().empty() ? "" : boxes.last().text);
    }

    // A stored melt, as the collection holds it after a save.
    GlassRecord storedMelt(const std::string& code) {
        fittedMelt(code);
        form.comAdd_Click();
        EXPECT_TRUE(boxes.shown().empty());
        form.comOK_Click();
        const GlassRecord* melt = nullptr;
        for (const GlassRecord& g : store.Records())
            if (g.definition.name.str() == "N-BK7 *" + code) melt = &g;
        EXPECT_TRUE(melt);
        return melt ? *melt : GlassRecord{};
    }

    std::vector<GlassRecord> fileRecords() const { return CollectionFileRecords(folder.file(kCollectionFileName)); }

    std::string row(int r) const {
        std::string out;
        for (int c = 1; c <= kPairCols; ++c) out += (c > 1 ? "|" : "") + view.grid.text(c, r);
        return out;
    }

    FitState fitState() {
        const frm7MeltControls& c = controls();
        return {form.GetReady(kIndex), c.comIndexFit.enabled, c.comShowDispConsts.enabled, c.comShowIndex.enabled,
                c.comAdd.enabled, !grid().colHidden(kPairFitDiff), c.lblError.text};
    }

    TestFolder folder;
    CatalogueFolder catalogue;
    FixedClock clock;
    PointerBoxes boxes;
    MemorySettings settings;
    GlassesList store;
    ManageForms forms;
    GlassEditors editors;
    RecordingBusyCursor cursor;
    MemoryClipboard clipboard;
    CNewMsg hints;
    frm7Melt form;
    FakeMeltView view;
    FakeCaller caller;
    std::optional<GlassRecord> chosen;
    std::function<bool(GlassRecord&)> sheet;
    std::vector<float> picked;
    int pickerOpened = 0;
    int pickerTab = -1;
    float pickerStart = -1;
    int manageUpdates = 0;
    int listRefreshes = 0;
};

TEST_F(MeltMakerTest, NewModeOpensAsPageSevenWaitingForAParent) {
    settings.remove(kNewMsgSection, kMeltHintKey);
    boxes.answer(kAnswerNo);
    forms.SwitchPage(kPageMelt, true);  // the ribbon's Melt button
    ASSERT_TRUE(form.isOpen());
    EXPECT_TRUE(view.shown);
    EXPECT_TRUE(forms.MeltFormOpen());
    EXPECT_EQ(form.mode(), kModeNew);
    ASSERT_EQ(boxes.shown().size(), 1u);  // the one-time hint, not again after No
    EXPECT_EQ(boxes.last().title, kMeltHintTitle);
    EXPECT_EQ(boxes.last().text.rfind("This form will help you create a melt glass for use in the Lumivar Plus suite\r\n\r\n", 0), 0u);
    EXPECT_NE(boxes.last().text.find("\tat least 4 wavelength/index pairs [from melt sheet]\r\n"), std::string::npos);
    EXPECT_NE(boxes.last().text.find("re-fit the index polynomial. All non-index related properties will be unchanged, "
                                     "except the glass name, which will be the parent glass name followed by the melt code"),
              std::string::npos);

    const frm7MeltControls& c = controls();
    EXPECT_EQ(c.caption, "Melt glass: new");
    EXPECT_EQ(c.lblMeltName.text, "<- select a parent glass for the melt");
    EXPECT_EQ(c.txtMeltCode.text, "Enter melt code!");
    EXPECT_EQ(c.pnlStatus.text, "Index: NOT Ready");
    EXPECT_EQ(c.pnlStatus.back, kSectionNotReadyColour);
    EXPECT_EQ(c.comAdd.text, "&Save");
    EXPECT_FALSE(c.comAdd.enabled);
    EXPECT_TRUE(c.comParent.enabled);
    // Nothing to enter pairs into before there is a parent.
    EXPECT_FALSE(c.pnlMelt.visible);
    for (const ControlState* s : {&c.comClear, &c.comWaveSelRefInd, &c.comMeltSchott, &c.fraWaveBand}) {
        EXPECT_FALSE(s->enabled);
        EXPECT_FALSE(s->visible);
    }
    EXPECT_FALSE(c.comClipPaste.enabled);
    // The built-in wavebands, in order.
    ASSERT_EQ(c.lstWaveBand.list.count(), 3);
    EXPECT_EQ(c.lstWaveBand.list.text(kSchottStandard), "Schott - standard");
    // The pairs grid: the user types wavelengths and indices only.
    EXPECT_EQ(grid().maxRows(), kPairRows);
    EXPECT_EQ(grid().maxCols(), kPairCols);
    EXPECT_EQ(grid().text(kPairMelt, 0), "melt glass index [user data]");
    EXPECT_EQ(grid().text(kPairFitDiff, 0), "difference [fit-cat]");
    EXPECT_TRUE(grid().colHidden(kPairFitDiff));
    for (int col = 1; col <= kPairCols; ++col)
        EXPECT_EQ(grid().locked(col, 1), col != kPairWave && col != kPairMelt) << col;
    EXPECT_FALSE(cursor.busy);

    form.comOK_Click();
    EXPECT_FALSE(form.isOpen());
    EXPECT_FALSE(forms.MeltFormOpen());
    EXPECT_EQ(forms.CurrentPage(), kPageNone);
    EXPECT_EQ(settings.get(kNewMsgSection, kMeltHintKey), std::optional<std::string>("-1"));
}

TEST_F(MeltMakerTest, TheChosenParentBecomesTheMeltAndTheCodeNamesIt) {
    form.DisplayNew(false);
    form.comParent_Click();  // cancelled: nothing changes
    EXPECT_EQ(pickerOpened, 1);
    EXPECT_EQ(controls().lblMeltName.text, "<- select a parent glass for the melt");

    chosen = catalogueParent("N-BK7");
    form.comParent_Click();
    EXPECT_EQ(glass().definition.name.str(), "N-BK7");
    EXPECT_EQ(form.parent().definition.coefficients, chosen->definition.coefficients);
    EXPECT_EQ(controls().pnlPolyType.text, "Sellmeier");
    EXPECT_EQ(controls().lblMeltName.text, "SCHOTT  N-BK7  -  please enter a melt code!");
    EXPECT_TRUE(controls().pnlMelt.visible);
    for (const ControlState* s : {&controls().comClipPaste, &controls().comClear, &controls().comWaveSelRefInd,
                                  &controls().comMeltSchott, &controls().fraWaveBand})
        EXPECT_TRUE(s->enabled && s->visible);
    EXPECT_FALSE(controls().comAdd.enabled);

    struct Case {
        const char* typed;
        std::string code, box, name;
    };
    const Case cases[] = {
        {" m-17 ", "m-17", "m-17", "SCHOTT  N-BK7 *m-17"},
        {"M-17", "m-17", "m-17", "SCHOTT  N-BK7 *m-17"},  // a change of case alone is not taken
        {"Enter melt code!", "m-17", "m-17", "SCHOTT  N-BK7 *m-17"},
        {"A123456789XYZ", "A123456789", "A123456789", "SCHOTT  N-BK7 *A123456789"},
        {"Enter melt code! b2", "b2", "b2", "SCHOTT  N-BK7 *b2"},  // typed behind the request
        {"", "", "Enter melt code!", "SCHOTT  N-BK7  -  please enter a melt code!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        form.txtMeltCode_Commit(c.typed);
        EXPECT_EQ(glass().melt.meltCode.str(), c.code);
        EXPECT_EQ(controls().txtMeltCode.text, c.box);
        EXPECT_EQ(controls().lblMeltName.text, c.name);
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(MeltMakerTest, MeltNames) {
    const std::string long28(28, 'N');
    struct Case {
        std::string parent, code, name;
    };
    const Case cases[] = {
        {"N-BK7", "M1", "N-BK7 *M1"},
        {" N-BK7 ", " m1 ", "N-BK7 *m1"},
        {long28, "AB", long28 + " *"},                  // cut to the name's 30 characters
        {std::string(29, 'N'), "AB", std::string(29, 'N')},  // and trimmed after the cut
    };
    for (const Case& c : cases) EXPECT_EQ(MeltName(c.parent, c.code), c.name) << c.parent << c.code;
    EXPECT_EQ(MeltNameCaption(" SCHOTT ", "N-BK7", "m1"), "SCHOTT  N-BK7 *m1");
    EXPECT_EQ(MeltNameCaption("", "", ""), "<- select a parent glass for the melt");
}

TEST_F(MeltMakerTest, TypedCellsShowTheLineAndTheParentsIndex) {
    openWithParent();
    const std::string nC = Format(static_cast<float>(IndexOf(form.parent(), 656.2725f)), "0.0000000");
    struct Case {
        int col;
        std::string typed;
        std::string row;
    };
    const Case cases[] = {
        {kPairWave, "656.2725", "C |656.2725||" + nC + "|  |"},
        {kPairMelt, "1.5", "C |656.2725|1.5000000|" + nC + "|" +
                               Format(1.5f - static_cast<float>(IndexOf(form.parent(), 656.2725f)), "0.000000") + "|"},
        {kPairWave, "700", " |700.0000|1.5000000|" +
                               Format(static_cast<float>(IndexOf(form.parent(), 700.0f)), "0.0000000") + "|" +
                               Format(1.5f - static_cast<float>(IndexOf(form.parent(), 700.0f)), "0.000000") + "|"},
        {kPairWave, "", "||1.5000000|  |  |"},  // no wavelength: no line, no comparison
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        if (c.typed.empty()) {
            grid().clearText(GridBlock::cell(kPairWave, 3));  // as the user's Delete key does
            form.ssRefInd_Change(kPairWave, 3);
        } else {
            ASSERT_TRUE(grid().userType(c.col, 3, c.typed));
        }
        EXPECT_EQ(row(3), c.row);
        EXPECT_EQ(fitState(), kFitDue);
    }
    // Text the cells refuse never arrives.
    EXPECT_FALSE(grid().userType(kPairMelt, 3, "12"));
    EXPECT_FALSE(grid().userType(kPairParent, 3, "1.5"));
}

TEST_F(MeltMakerTest, AFitMakesTheIndexReadyAndSavingMakesTheMelt) {
    openWithParent();
    form.lstWaveBand_Click(kSchottStandard);
    for (std::size_t i = 0; i < kSchottLines.size(); ++i)
        EXPECT_EQ(grid().text(kPairWave, static_cast<int>(i) + 1), Format(kSchottLines[i], "0.0000"));
    EXPECT_EQ(grid().text(kPairSymbol, 2), "C'");
    EXPECT_EQ(grid().text(kPairSymbol, 3), "d ");
    typeIndices();
    form.comIndexFit_Click();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(controls().pnlStatus.text, "Index: Ready");
    EXPECT_EQ(controls().pnlStatus.back, kSectionReadyColour);
    EXPECT_EQ(controls().lblGlassCode.text, std::to_string(glass().definition.glassCode));
    EXPECT_NE(glass().definition.glassCode, 0);
    EXPECT_EQ(glass().melt.pairCount, 7);
    for (int r = 1; r <= 7; ++r) EXPECT_EQ(grid().text(kPairFitDiff, r), "0.000200") << r;
    EXPECT_EQ(controls().lblError.text.rfind(kAverageErrorPrefix, 0), 0u);
    // Without a code there is nothing to name the melt by.
    EXPECT_EQ(fitState(), (FitState{true, false, true, true, false, true, controls().lblError.text}));
    form.txtMeltCode_Commit("M1");
    EXPECT_TRUE(controls().comAdd.enabled);

    boxes.answer(kAnswerOk);
    form.comShowIndex_Click();
    EXPECT_EQ(boxes.last().title, kMeltMakerTitle);
    EXPECT_EQ(boxes.last().text.rfind("Index comparison over waveband [parent & melt glasses]", 0), 0u);
    boxes.answer(kAnswerOk);
    form.comShowDispConsts_Click();
    EXPECT_NE(boxes.last().text.find("WaveLen Max:   2325nm"), std::string::npos);
    boxes.clear();

    const GlassRecord fitted = glass();
    form.comAdd_Click();
    EXPECT_TRUE(boxes.shown().empty());
    const std::vector<GlassRecord> file = fileRecords();
    ASSERT_EQ(file.size(), 1u);
    const GlassRecord& melt = file[0];
    EXPECT_EQ(melt.definition.name.str(), "N-BK7 *M1");
    EXPECT_EQ(melt.definition.source.str(), "SCHOTT");
    EXPECT_EQ(melt.melt.meltFlag, kTrue);
    EXPECT_EQ(melt.melt.parentName.str(), "N-BK7");
    EXPECT_EQ(melt.melt.meltCode.str(), "M1");
    EXPECT_EQ(melt.melt.pairCount, 7);
    EXPECT_EQ(melt.definition.coefficients, fitted.definition.coefficients);
    EXPECT_EQ(melt.indexPointCount, fitted.indexPointCount);
    EXPECT_EQ(melt.lastStored, clock.now());
    EXPECT_EQ(listRefreshes, 1);
    EXPECT_EQ(manageUpdates, 0);

    // The window is blank again: the next melt starts with its parent.
    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(controls().lblMeltName.text, "<- select a parent glass for the melt");
    EXPECT_EQ(controls().txtMeltCode.text, "Enter melt code!");
    EXPECT_FALSE(controls().pnlMelt.visible);
    EXPECT_EQ(controls().pnlPolyType.text, "");
    EXPECT_EQ(row(1), "|||||");
    EXPECT_EQ(fitState(), (FitState{false, true, false, false, false, false, ""}));
    EXPECT_TRUE(form.GetReady(kDnDt));
    EXPECT_FALSE(form.GetReady(kGeneral));
}

// Melts of published Sellmeier parents, their certificates to five decimals
// at the seven lines of "Schott - standard", fitted through the page: no
// question, and a melt formula that is sound over the whole range the melt
// claims, the parent's.
TEST_F(MeltMakerTest, MeltsOfSellmeierParentsAreFittedSoundlyWithoutAQuestion) {
    const struct {
        const char* name;
        std::array<double, 6> a;
    } parents[] = {
        {"N-SF11", {1.73759695, 0.313747346, 1.89878101, 0.013188707, 0.0623068142, 155.23629}},
        {"F2", {1.34533359, 0.209073176, 0.937357162, 0.00997743871, 0.0470450767, 111.886764}},
        {"N-LASF9", {2.00029547, 0.298926886, 1.80691843, 0.0121426017, 0.0538736236, 156.530829}},
    };
    std::int64_t id = 10;
    for (const auto& p : parents) {
        GlassRecord g = SellmeierParent(p.name, "SCHOTT");
        std::copy(p.a.begin(), p.a.end(), g.definition.coefficients.begin());
        catalogue.addGlass(id++, g);
    }
    form.DisplayNew(false);
    for (const char* name : {"N-BK7", "N-SF11", "F2", "N-LASF9"}) {
        for (int melt = 0; melt < 5; ++melt) {
            SCOPED_TRACE(std::string(name) + " melt " + std::to_string(melt));
            chosen = catalogueParent(name);
            form.comParent_Click();
            form.lstWaveBand_Click(kSchottStandard);
            const double offset = (melt - 2) * 3e-4, slope = (melt % 3 - 1) * 2e-8;
            for (int r = 1; r <= static_cast<int>(kSchottLines.size()); ++r) {
                const float w = kSchottLines[static_cast<std::size_t>(r - 1)];
                const double n = IndexOf(form.parent(), w) + offset + slope * (587.5618 - w);
                ASSERT_TRUE(grid().userType(kPairMelt, r, Format(n, "0.00000")));
            }
            form.comIndexFit_Click();
            EXPECT_TRUE(boxes.shown().empty()) << (boxes.shown().empty() ? "" : boxes.last().text);
            boxes.clear();
            ASSERT_TRUE(form.GetReady(kIndex));
            const GlassDefinition& def = glass().definition;
            for (std::size_t k = 0; k < 3; ++k) {
                EXPECT_LE(std::fabs(def.coefficients[k]), 100);
                const double pole = std::sqrt(std::fabs(def.coefficients[k + 3])) * 1000;
                EXPECT_FALSE(def.coefficients[k + 3] > 0 && pole >= def.lowerWavelength && pole <= def.upperWavelength)
                    << "a pole at " << pole << " nm";
            }
            for (int nm = def.lowerWavelength; nm <= def.upperWavelength; ++nm) {
                bool ok = false;
                const double n = EvaluateIndex(def, static_cast<float>(nm), def.formulaType, ok);
                ASSERT_TRUE(ok && n > 1) << nm << " nm";
            }
        }
    }
}

TEST_F(MeltMakerTest, TheFitAsksForFourPairsAndAParentThatGivesAnIndex) {
    openWithParent();
    // Three complete pairs and a wavelength without its index.
    form.lstWaveBand_Click(kOharaStandard);
    typeIndices();
    grid().clearText(GridBlock::cell(kPairMelt, 4));
    boxes.answer(kAnswerOk);
    form.comIndexFit_Click();
    EXPECT_EQ(boxes.last().text, "You need at least 4 full melt index/wavelength pairs to create a melt glass");
    EXPECT_FALSE(boxes.busyAtShow.back());  // the pointer is back before the box asks
    EXPECT_FALSE(cursor.busy);
    EXPECT_EQ(glass().melt.pairCount, 3);  // the incomplete row is no pair
    EXPECT_EQ(row(4), "|||||");
    EXPECT_EQ(fitState(), kFitDue);

    // A Sellmeier Plus parent reads back without a formula: nothing to fit to.
    openWithParent("N-PLUS");
    form.lstWaveBand_Click(kOharaStandard);
    for (int r = 1; r <= 4; ++r) ASSERT_TRUE(grid().userType(kPairMelt, r, "1.52"));
    const GlassRecord before = glass();
    boxes.answer(kAnswerOk);
    form.comIndexFit_Click();
    EXPECT_EQ(boxes.last().text.rfind("The parent glass gives no index at 656.2725 nm", 0), 0u);
    EXPECT_EQ(glass().definition, before.definition);
    EXPECT_FALSE(controls().comAdd.enabled);
}

TEST_F(MeltMakerTest, EveryChangeOfThePairsMakesTheFitDueAgain) {
    struct Case {
        const char* what;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"typed", [&] { ASSERT_TRUE(grid().userType(kPairMelt, 2, "1.5200000")); }},
        {"pasted", [&] {
             clipboard.setText("700\t1.5130000\r\n656.2725\t1.5150000\r\n");
             grid().setActiveCell(kPairWave, 8);
             form.comClipPaste_Click();
             EXPECT_EQ(row(9).substr(0, 24), "C |656.2725|1.5150000|1.");
         }},
        {"picked", [&] {
             picked = {404.6561f, 365.0146f};
             grid().setActiveCell(kPairMelt, 8);
             form.comWaveSelRefInd_Click();
             EXPECT_EQ(pickerTab, 0);
             EXPECT_EQ(row(9).substr(0, 12), "i |365.0146|");
         }},
        {"sheet", [&] {
             sheet = [](GlassRecord& g) {
                 g.melt.pairCount = 4;
                 for (std::size_t i = 1; i <= 4; ++i) {
                     g.melt.pairWavelength[i] = kSchottLines[i - 1];
                     g.melt.pairIndex[i] = 1.52 + 0.001 * static_cast<double>(i);
                 }
                 for (std::size_t i = 5; i <= kMaxMeltPairs; ++i) g.melt.pairWavelength[i] = 0, g.melt.pairIndex[i] = 0;
                 return true;
             };
             form.comMeltSchott_Click();
             // Rows the sheet does not fill are empty, not left over from before.
             EXPECT_EQ(row(4).substr(0, 22), "e |546.0740|1.5240000|");
             for (int r = 5; r <= kPairRows; ++r) EXPECT_EQ(row(r), "|||||") << r;
         }},
        {"waveband", [&] {
             form.lstWaveBand_Click(kOharaStandard);
             EXPECT_EQ(row(2).substr(0, 13), "d |587.5618||");  // indices typed before are gone
         }},
        {"cleared", [&] {
             form.comClear_Click();
             EXPECT_EQ(row(1), "|||||");
             EXPECT_EQ(glass().melt.pairCount, 0);
             EXPECT_EQ(glass().melt.meltFlag, kFalse);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fittedMelt();
        c.change();
        EXPECT_EQ(fitState(), kFitDue);
        EXPECT_EQ(controls().pnlStatus.text, "Index: NOT Ready");
        form.comOK_Click();
    }
}

TEST_F(MeltMakerTest, PickedWavelengthsFillTheRowsBelowTheActiveOneAndNoMore) {
    openWithParent();
    ASSERT_TRUE(grid().userType(kPairWave, 19, "587.5618"));
    grid().setActiveCell(kPairWave, 19);
    picked = {656.2725f, 643.8469f, 632.8f, 486.1327f};
    form.comWaveSelRefInd_Click();
    EXPECT_EQ(pickerStart, 587.5618f);  // the picker opens on the row's wavelength
    EXPECT_EQ(grid().text(kPairWave, 19), "656.2725");
    EXPECT_EQ(grid().text(kPairWave, 20), "643.8469");
    EXPECT_EQ(grid().maxRows(), kPairRows);

    // One pick goes into the active row alone.
    picked = {1013.98f};
    grid().setActiveCell(kPairMelt, 3);
    form.comWaveSelRefInd_Click();
    EXPECT_EQ(row(3).substr(0, 12), "t |1013.9800");
    EXPECT_EQ(row(4), "|||||");

    // Cancelled: nothing changes.
    picked.clear();
    const std::string before = grid().blockText(GridBlock::all());
    form.comWaveSelRefInd_Click();
    EXPECT_EQ(grid().blockText(GridBlock::all()), before);
}

TEST_F(MeltMakerTest, SortKeepsCompletePairsLongestWavelengthFirst) {
    openWithParent();
    const char* const rows[][2] = {{"486.1327", "1.5232"}, {"700", ""}, {"656.2725", "1.5145"}, {"", "1.6"},
                                   {"587.5618", "1.5170"}, {"656.2725", "1.5146"}};
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 2; ++c)
            if (*rows[r][c]) {
                ASSERT_TRUE(grid().userType(kPairWave + c, r + 1, rows[r][c]));
            }
    form.comIndexSort_Click();
    const MeltBlock& m = glass().melt;
    ASSERT_EQ(m.pairCount, 4);
    EXPECT_EQ(m.pairIndex[1], static_cast<double>(1.5145f));  // equal wavelengths keep their order
    EXPECT_EQ(m.pairIndex[2], static_cast<double>(1.5146f));
    EXPECT_EQ(m.pairWavelength[4], 486.1327f);
    EXPECT_EQ(row(1).substr(0, 22), "C |656.2725|1.5145000|");
    EXPECT_EQ(row(3).substr(0, 3), "d |");
    EXPECT_EQ(row(5), "|||||");
}

TEST_F(MeltMakerTest, WavebandsAreAddedFromTheGridAndKept) {
    openWithParent();
    const std::string file = folder.file(std::string(kUserDataFolder) + "/" + kMeltWaveBandFile);
    // Two wavelengths are no band.
    ASSERT_TRUE(grid().userType(kPairWave, 1, "486.1327"));
    ASSERT_TRUE(grid().userType(kPairWave, 2, "656.2725"));
    boxes.answerInput("Two");
    form.comWaveBand_Click();
    EXPECT_EQ(controls().lstWaveBand.list.count(), 3);
    EXPECT_FALSE(FileExists(file));

    ASSERT_TRUE(grid().userType(kPairWave, 4, "1013.98"));
    boxes.answerInput("");  // cancelled
    form.comWaveBand_Click();
    EXPECT_EQ(controls().lstWaveBand.list.count(), 3);
    boxes.answerInput("Bad|name").answer(kAnswerOk);
    form.comWaveBand_Click();
    EXPECT_EQ(boxes.last().text, kBandNameRefused);
    EXPECT_EQ(controls().lstWaveBand.list.count(), 3);

    boxes.answerInput("Lab lines");
    form.comWaveBand_Click();
    ASSERT_EQ(controls().lstWaveBand.list.count(), 4);
    EXPECT_EQ(controls().lstWaveBand.list.text(3), "Lab lines");
    EXPECT_EQ(form.bands().back().waves, (std::vector<float>{1013.98f, 656.2725f, 486.1327f}));
    const auto written = ReadWholeFile(file);
    ASSERT_TRUE(written);
    EXPECT_EQ(std::string(written->begin(), written->end()), "Lab lines|3|1013.98|656.2725|486.1327\r\n");

    // The new band fills the grid like the built-in ones.
    form.lstWaveBand_Click(3);
    EXPECT_EQ(row(1).substr(0, 13), "t |1013.9800|");
    EXPECT_EQ(row(4), "|||||");
}

TEST_F(MeltMakerTest, ABandThatCannotBeWrittenIsToldAndStaysForTheRun) {
    openWithParent();
    std::filesystem::create_directories(folder.file(std::string(kUserDataFolder) + "/" + kMeltWaveBandFile));
    form.lstWaveBand_Click(kOharaStandard);
    boxes.answerInput("Kept").answer(kAnswerOk);
    form.comWaveBand_Click();
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.last().style, kBoxExclamation);
    EXPECT_EQ(boxes.last().text.rfind("The waveband 'Kept' is in the list for now, but it could not be kept in "
                                      "'MeltWaveBand.lst':",
                                      0),
              0u);
    EXPECT_EQ(controls().lstWaveBand.list.count(), 4);
}

TEST_F(MeltMakerTest, EditModeOpensAStoredMeltOverItsCallerAndReplacesIt) {
    const GlassRecord melt = storedMelt("M1");
    storedMelt("M2");
    ASSERT_EQ(store.Count(), 2);
    forms.SetCurrentPage(kPageManage);
    ASSERT_TRUE(editors.DisplayEdit(caller, melt));  // routed here by its melt flag
    ASSERT_TRUE(form.isOpen());
    EXPECT_EQ(form.mode(), kModeEdit);
    EXPECT_FALSE(caller.enabled);
    EXPECT_TRUE(view.inFront);
    EXPECT_EQ(form.openingKey(), "N-BK7 *M1 [SCHOTT]");
    const frm7MeltControls& c = controls();
    EXPECT_EQ(c.caption, "Melt glass: edit");
    EXPECT_EQ(c.comAdd.text, "Accept changes");
    EXPECT_EQ(c.comAdd.toolTip, "Accept changes made to this melt glass");
    EXPECT_TRUE(c.comAdd.enabled);
    EXPECT_EQ(c.lblMeltName.text, "SCHOTT  N-BK7 *M1");
    EXPECT_EQ(c.pnlPolyType.text, "Sellmeier");
    EXPECT_EQ(c.pnlStatus.text, "Index: Ready");
    EXPECT_TRUE(c.comShowIndex.enabled && c.comShowDispConsts.enabled);
    for (int n : {kGeneral, kIndex, kTrans}) EXPECT_EQ(form.GetEditCount(n), 0) << n;
    // The pairs against the parent as the database holds it now.
    const float nC = static_cast<float>(IndexOf(form.parent(), 656.2725f));
    EXPECT_EQ(row(1), "C |656.2725|" + Format(melt.melt.pairIndex[1], "0.0000000") + "|" + Format(nC, "0.0000000") +
                          "|0.000200|");
    EXPECT_EQ(row(8), "|||||");
    EXPECT_FALSE(cursor.busy);

    // Saved under its own name: replaced without a question.
    form.comAdd_Click();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(store.Count(), 2);
    EXPECT_EQ(manageUpdates, 1);
    EXPECT_EQ(form.GetEditCount(kGeneral), 0);

    // Under the code of the other melt: asked first.
    form.txtMeltCode_Commit("M2");
    boxes.answer(kAnswerNo);
    form.comAdd_Click();
    EXPECT_EQ(boxes.last().text, "N-BK7 *M2 [SCHOTT] is already in your collection.\r\n\r\nDo you want to overwrite the existing data?");
    EXPECT_EQ(manageUpdates, 1);

    form.comOK_Click();
    EXPECT_TRUE(caller.enabled);
    EXPECT_EQ(caller.fronts, 1);
    EXPECT_EQ(forms.CurrentPage(), kPageManage);  // the page that opened it stays
    EXPECT_FALSE(forms.MeltFormOpen());
}

TEST_F(MeltMakerTest, APairWithoutAParentIndexShowsBlankComparisons) {
    GlassRecord melt = storedMelt("M1");
    struct Case {
        const char* what;
        std::string parentName;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"parent no longer in the database", "N-GONE", {kNoMatchText}},
        {"parent without a formula", "N-PLUS", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        melt.melt.parentName.set(c.parentName);
        boxes.clear();
        for (std::size_t i = 0; i < c.boxes.size(); ++i) boxes.answer(kAnswerOk);
        form.DisplayEdit(caller, melt);
        std::vector<std::string> shown;
        for (const ShownBox& b : boxes.shown()) shown.push_back(b.text);
        EXPECT_EQ(shown, c.boxes);
        EXPECT_EQ(row(1), "C |656.2725|" + Format(melt.melt.pairIndex[1], "0.0000000") + "|  |  |");
        form.comOK_Click();
    }
}

TEST_F(MeltMakerTest, AReviewChangesNothing) {
    const GlassRecord melt = storedMelt("M1");
    const std::vector<GlassRecord> before = store.GetGlasses();
    ASSERT_TRUE(editors.DisplayReview(caller, melt));
    EXPECT_EQ(form.mode(), kModeReview);
    EXPECT_FALSE(caller.enabled);
    const frm7MeltControls& c = controls();
    EXPECT_EQ(c.caption, "Melt glass: review");
    EXPECT_EQ(c.comAdd.text, "&Save");
    for (const ControlState* s : {&c.comParent, &c.txtMeltCode, &c.comClear, &c.comWaveSelRefInd, &c.comClipPaste,
                                  &c.comIndexFit, &c.comIndexSort, &c.comMeltSchott, &c.comWaveBand, &c.comAdd})
        EXPECT_FALSE(s->enabled);
    EXPECT_FALSE(c.lstWaveBand.enabled);
    EXPECT_TRUE(c.comShowIndex.enabled);
    EXPECT_TRUE(c.comOK.enabled);
    EXPECT_FALSE(grid().userType(kPairMelt, 1, "1.6"));

    // Whatever reaches the handlers changes nothing either.
    chosen = catalogueParent("N-BK7");
    const std::string shown = grid().blockText(GridBlock::all());
    const int pickerUses = pickerOpened;
    form.comParent_Click();
    form.comClear_Click();
    form.lstWaveBand_Click(kOharaStandard);
    form.txtMeltCode_Commit("X");
    form.comIndexFit_Click();
    form.comAdd_Click();
    EXPECT_EQ(pickerOpened, pickerUses);
    EXPECT_EQ(grid().blockText(GridBlock::all()), shown);
    EXPECT_EQ(glass().melt, melt.melt);
    EXPECT_EQ(glass().definition, melt.definition);
    EXPECT_EQ(store.GetGlasses(), before);
    EXPECT_TRUE(boxes.shown().empty());

    form.comOK_Click();
    EXPECT_TRUE(caller.enabled);
}

TEST_F(MeltMakerTest, ARefusedSaveIsToldAndLosesNothing) {
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::vector<int> answers;
        std::string message;
        std::function<void()> undo;
    };
    const Case cases[] = {
        {"incomplete", [&] { form.SetReady(kTrans, false); }, {kAnswerOk}, kIncompleteMessage, [] {}},
        {"declined", [&] {
             GlassRecord twin = glass();
             twin.definition.name.set("N-BK7 *M1");
             ASSERT_TRUE(store.AddGlassStamped(twin, false));
         },
         {kAnswerNo}, "N-BK7 *M1 [SCHOTT] is already in your collection.\r\n\r\nDo you want to overwrite the existing data?",
         [&] { store.SetGlasses({}); }},
        {"store refused", [&] {
             // A parent without a source: the store takes no material without one.
             GlassRecord g = glass();
             g.definition.source.clear();
             g.melt.parentSource.clear();
             chosen = g;
             form.comParent_Click();
             form.txtMeltCode_Commit("M1");
             form.lstWaveBand_Click(kSchottStandard);
             typeIndices();
             form.comIndexFit_Click();
         },
         {kAnswerOk}, "N-BK7 *M1 could not be added to your collection: its name or source is not valid.", [] {}},
        {"file not written", [&] { std::filesystem::create_directory(folder.file(kCollectionFileName)); },
         {kAnswerOk}, "", [&] { std::filesystem::remove(folder.file(kCollectionFileName)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fittedMelt();
        c.prepare();
        const GlassRecord working = glass();
        const frm7MeltControls shown = controls();
        const std::string pairs = grid().blockText(GridBlock::all());
        const std::vector<GlassRecord> before = store.GetGlasses();
        const int refreshes = listRefreshes;
        boxes.clear();
        for (int a : c.answers) boxes.answer(a);
        form.comAdd_Click();
        ASSERT_EQ(boxes.shown().size(), 1u);
        if (!c.message.empty()) EXPECT_EQ(boxes.last().text, c.message);
        else EXPECT_EQ(boxes.last().text.rfind("Your materials could not be saved.", 0), 0u);
        EXPECT_EQ(store.GetGlasses(), before);
        EXPECT_EQ(listRefreshes, refreshes);
        // The window keeps the melt for another try.
        EXPECT_EQ(glass().melt, working.melt);
        EXPECT_EQ(glass().definition.coefficients, working.definition.coefficients);
        EXPECT_EQ(glass().sections, working.sections);
        EXPECT_EQ(controls().lblMeltName.text, shown.lblMeltName.text);
        EXPECT_EQ(controls().comAdd.enabled, shown.comAdd.enabled);
        EXPECT_EQ(grid().blockText(GridBlock::all()), pairs);
        c.undo();
        form.comOK_Click();
    }
    EXPECT_TRUE(fileRecords().empty());
}

TEST_F(MeltMakerTest, AnOpenMeltMakerIsOnlyBroughtToTheFront) {
    const GlassRecord melt = storedMelt("M1");
    openWithParent();
    form.txtMeltCode_Commit("NEW");
    view.inFront = false;
    form.DisplayEdit(caller, melt);
    EXPECT_TRUE(view.inFront);
    EXPECT_EQ(form.mode(), kModeNew);
    EXPECT_TRUE(caller.enabled);
    EXPECT_EQ(glass().melt.meltCode.str(), "NEW");
}

}  // namespace
