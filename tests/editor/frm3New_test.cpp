// The editor's frame: its three modes and how each opens and closes, the
// review lock, the name and source rules with the caption, the tab tools,
// and saving with every refusal.
#include "editor/frm3New.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "EditorFixture.h"
#include "editor/IndexGrid.h"

namespace {

using Texts = std::vector<std::string>;

const Texts kNewPanels{"General: NOT Ready", "Index: NOT Ready", "Trans: NOT Ready", "dn/dt: Ready", "Other: NOT Ready"};
const Texts kAllReady{"General: Ready", "Index: Ready", "Trans: Ready", "dn/dt: Ready", "Other: Ready"};

}  // namespace

TEST_F(EditorTest, NewModeOpensAsPageThreeAndClosesIt) {
    forms.SwitchPage(kPageNew, true);  // the ribbon's New button
    ASSERT_TRUE(form.isOpen());
    EXPECT_TRUE(view.shown);
    EXPECT_TRUE(forms.NewFormOpen());
    EXPECT_EQ(form.mode(), kModeNew);
    EXPECT_EQ(controls().caption, "New material data  ");
    EXPECT_EQ(controls().comAdd.text, "Add to list");
    EXPECT_EQ(controls().comAdd.toolTip, "Add this new material to the kalvenor database");
    EXPECT_TRUE(controls().comAdd.enabled);
    EXPECT_TRUE(controls().lblGenNew.visible);
    EXPECT_EQ(panels(), kNewPanels);
    EXPECT_EQ(controls().pnlStatus[kGeneral].back, kSectionNotReadyColour);
    EXPECT_EQ(controls().pnlStatus[kDnDt].back, kSectionReadyColour);
    EXPECT_EQ(controls().lblGlassCode.text, "");
    EXPECT_EQ(controls().tab, kEditorTabMaterial);
    EXPECT_FALSE(controls().comClipPaste.enabled);
    EXPECT_FALSE(controls().comClear.enabled);
    EXPECT_TRUE(controls().comIndexFit.enabled);
    EXPECT_EQ(controls().comIndexFit.text, "Fit Polynomial");
    EXPECT_EQ(controls().lblIndexMinDataPoints.text, "Min: 6 points");
    EXPECT_EQ(controls().cmbIndexPolyType.list.text(controls().cmbIndexPolyType.list.currentIndex()), "Schott");
    EXPECT_EQ(glass().definition.catalogNumber, kOwnCatalogNumber);
    EXPECT_EQ(glass().definition.formulaType, kSchott);
    EXPECT_EQ(glass().measured.thickness, 10.0f);
    EXPECT_EQ(glass().properties.status.str(), "A");
    // The point grid, its fit columns hidden.
    EXPECT_EQ(view.index.maxRows(), kIndexGridRows);
    EXPECT_EQ(view.index.text(3, 0), "weight [0-1]");
    EXPECT_TRUE(view.index.colHidden(4) && view.index.colHidden(5));
    EXPECT_FALSE(cursor.busy);
    EXPECT_FALSE(form.filling());

    form.comOK_Click();
    EXPECT_FALSE(form.isOpen());
    EXPECT_FALSE(view.shown);
    EXPECT_FALSE(forms.NewFormOpen());
    EXPECT_EQ(forms.CurrentPage(), kPageNone);
}

TEST_F(EditorTest, EditModeOpensOverItsCallerOnACopy) {
    GlassRecord mine = storedGlass("mine", "me");
    keep(mine);
    editors.DisplayEdit(caller, mine);
    ASSERT_TRUE(form.isOpen());
    EXPECT_FALSE(caller.enabled);
    EXPECT_TRUE(view.inFront);
    EXPECT_EQ(form.mode(), kModeEdit);
    EXPECT_EQ(form.openedIdentity(), "MINE [ME]");
    EXPECT_EQ(controls().caption, "Editing data  mine::me");
    EXPECT_EQ(controls().comAdd.text, "Accept changes");
    EXPECT_EQ(controls().comAdd.toolTip, "Accept changes made to this material");
    EXPECT_FALSE(controls().lblGenNew.visible);
    EXPECT_EQ(controls().txtGenGlass.text, "mine");
    EXPECT_EQ(controls().lblGlassSource.text, "MINE [ME]");
    EXPECT_EQ(panels(), kAllReady);
    EXPECT_EQ(controls().lblGlassCode.text, "517642");
    for (int n : {kGeneral, kIndex, kTrans}) EXPECT_EQ(form.GetEditCount(n), 0) << n;
    EXPECT_EQ(form.GetEditCount(kOther), 1);
    // Coefficients typed in: the coefficient table and its check.
    EXPECT_EQ(view.index.maxRows(), kCoefGridRows);
    EXPECT_EQ(view.index.text(1, 1), "B1 ");
    EXPECT_EQ(view.index.text(2, 1), "+1.03961212e+00");
    EXPECT_EQ(view.index.text(3, 1), "C1 ");
    EXPECT_EQ(view.index.text(2, kWavebandRow), "300nm");
    EXPECT_EQ(controls().comIndexFit.text, "Check coeffs");
    EXPECT_FALSE(controls().comIndexShow.enabled);
    EXPECT_FALSE(controls().comIndexSort.enabled);

    form.comOK_Click();
    EXPECT_TRUE(caller.enabled);
    EXPECT_EQ(caller.fronts, 1);
    EXPECT_FALSE(forms.NewFormOpen());
}

TEST_F(EditorTest, ReviewModeLocksEverythingButClose) {
    // Given by points, whose tools (fit, sort) an editable window would offer.
    const GlassRecord review = [] {
        GlassRecord g = storedGlass("IMPORTED", "FILE");
        g.indexDataType = kIndexData;
        return g;
    }();
    editors.DisplayReview(caller, review);
    ASSERT_TRUE(form.isOpen());
    EXPECT_FALSE(caller.enabled);
    EXPECT_EQ(controls().caption, "Reviewing data");
    EXPECT_EQ(controls().comAdd.text, "&Save");
    EXPECT_FALSE(controls().comAdd.enabled);
    EXPECT_TRUE(controls().comOK.enabled);
    const frm3NewControls& c = controls();
    for (const ControlState* s : {&c.comClear, &c.comWaveSelRefInd, &c.comClipPaste, &c.comIndexFit, &c.comIndexSort,
                                  &c.comTransSort, &c.comMelt, &c.txtGenGlass, &c.txtGenSource, &c.txtTransGlassWidth})
        EXPECT_FALSE(s->enabled) << s->text;
    for (const ComboState* s : {&c.cmbIndexDataType, &c.cmbIndexPolyType, &c.cmbTransType, &c.cmbTransDisp, &c.lstThermal})
        EXPECT_FALSE(s->enabled);
    for (MemoryGrid* g : {&view.index, &view.trans, &view.other}) EXPECT_TRUE(g->locked(2, 1));

    // Nothing can be typed, pasted, cleared or fitted, not even on the index tab.
    form.tabProperties_Click(kEditorTabIndex);
    EXPECT_FALSE(controls().comClipPaste.enabled);
    EXPECT_FALSE(controls().comClear.enabled);
    EXPECT_FALSE(view.index.userType(2, 1, "1.5"));
    form.txtGenGlass_Commit("CHANGED");
    form.comClear_Click();
    form.comAdd_Click();
    EXPECT_EQ(glass(), [&] {
        GlassRecord expected = review;
        for (int n : {kGeneral, kIndex, kTrans}) expected.sections[static_cast<std::size_t>(n)].editCount = 0;
        expected.measured.transCount = kMaxTransPoints;  // showing the points counts them as the writers do
        return expected;
    }());
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(store.Count(), 0);

    // The next opening starts from a window as designed again.
    form.comOK_Click();
    EXPECT_TRUE(caller.enabled);
    form.DisplayNew();
    EXPECT_TRUE(controls().txtGenGlass.enabled);
    EXPECT_TRUE(controls().comAdd.enabled);
    EXPECT_FALSE(view.index.locked(1, 1));
}

TEST_F(EditorTest, AnOpenEditorIsOnlyBroughtToTheFront) {
    const GlassRecord mine = storedGlass("MINE", "ME");
    form.DisplayEdit(caller, mine);
    FakeCaller other;
    view.inFront = false;
    form.DisplayReview(other, storedGlass("ELSE", "ME"));
    EXPECT_TRUE(view.inFront);
    EXPECT_TRUE(other.enabled);
    EXPECT_EQ(form.mode(), kModeEdit);
    EXPECT_EQ(glass().definition.name.str(), "MINE");
}

// ---- Name and source --------------------------------------------------------

TEST_F(EditorTest, NameAndSourceCommitsInNewMode) {
    keep(storedGlass("MINE", "ME"));
    form.DisplayNew();
    struct Step {
        bool name;
        std::string typed;
        std::string boxText;  // "" when no box
        std::string storedName, storedSource;
        bool generalReady;
        std::string caption, key;
    };
    const Step steps[] = {
        {true, "  abc ", "", "abc", "", false, "New material data  ?? ::", "ABC"},
        // Committing one field stores the other upper-cased.
        {false, "def", "", "ABC", "def", true, "New material data  ABC::def", "ABC [DEF]"},
        {true, "n-bk7", "", "n-bk7", "DEF", true, "New material data  n-bk7::DEF", "N-BK7 [DEF]"},
        // A catalogue, a supplied and an existing custom identity are refused.
        {false, "schott",
         "N-BK7 - SCHOTT is already in the list of catalog materials, and cannot be overwritten!", "N-BK7", "DEF",
         false, "New material data  N-BK7::DEF", "N-BK7 [DEF]"},
        {true, "Air", "", "Air", "DEF", true, "New material data  Air::DEF", "AIR [DEF]"},
        {false, "[lumivar]", "", "AIR", "[lumivar]", true, "New material data  AIR::[lumivar]", "AIR [LUMIVAR]"},
        {false, "lumivar",
         "AIR - LUMIVAR is already in the Harvenne supplied list of generic materials, and cannot be overwritten!",
         "AIR", "[lumivar]", false, "New material data  AIR::[lumivar]", "AIR [LUMIVAR]"},
        {true, "Mine", "", "Mine", "[LUMIVAR]", true, "New material data  Mine::[LUMIVAR]", "MINE [LUMIVAR]"},
        {false, "me", "MINE - ME is already in your list of custom materials.\r\n\r\nDo you want to overwrite it?",
         "MINE", "[LUMIVAR]", false, "New material data  MINE::[LUMIVAR]", "MINE [LUMIVAR]"},
        // The same text in another case stores nothing.
        {false, "[Lumivar]", "", "MINE", "[LUMIVAR]", false, "New material data  MINE::[LUMIVAR]", "MINE [LUMIVAR]"},
        {true, "", "", "", "[LUMIVAR]", false, "New material data  ", " [LUMIVAR]"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.typed);
        boxes.clear();
        if (!s.boxText.empty()) boxes.answer(kAnswerOk);
        if (s.name) form.txtGenGlass_Commit(s.typed);
        else form.txtGenSource_Commit(s.typed);
        if (s.boxText.empty()) {
            EXPECT_TRUE(boxes.shown().empty());
        } else {
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(boxes.last().text, s.boxText);
            EXPECT_EQ(boxes.last().style, kBoxInformation);
        }
        EXPECT_EQ(glass().definition.name.str(), s.storedName);
        EXPECT_EQ(glass().definition.source.str(), s.storedSource);
        EXPECT_EQ(controls().txtGenGlass.text, s.storedName);
        EXPECT_EQ(controls().txtGenSource.text, s.storedSource);
        EXPECT_EQ(form.GetReady(kGeneral), s.generalReady);
        EXPECT_EQ(controls().pnlStatus[kGeneral].text, s.generalReady ? "General: Ready" : "General: NOT Ready");
        EXPECT_EQ(controls().caption, s.caption);
        EXPECT_EQ(controls().lblGlassSource.text, s.key);
    }
}

TEST_F(EditorTest, AnEditedMaterialMayTakeBackTheIdentityItWasOpenedWith) {
    keep(storedGlass("MINE", "ME"));
    keep(storedGlass("OTHER", "ME"));
    form.DisplayEdit(caller, storedGlass("MINE", "ME"));
    boxes.answer(kAnswerOk);
    form.txtGenGlass_Commit("other");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().text, "OTHER - ME is already in your list of custom materials.\r\n\r\nDo you want to overwrite it?");
    EXPECT_FALSE(form.GetReady(kGeneral));
    EXPECT_EQ(glass().definition.name.str(), "MINE");

    boxes.clear();
    form.txtGenGlass_Commit("Renamed");
    form.txtGenGlass_Commit("mine");  // back: the material itself
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(form.GetReady(kGeneral));
    EXPECT_EQ(glass().definition.name.str(), "mine");
    EXPECT_EQ(controls().caption, "Editing data  mine::ME");
    EXPECT_EQ(form.GetEditCount(kGeneral), 2);
}

TEST_F(EditorTest, ACommitWhoseBoxTakesTheFocusIsNotRunAgain) {
    // The box takes the focus from the text box, which finishes its edit once
    // more while the box is still open.
    class ReenteringBoxes : public ScriptedBoxes {
    public:
        std::function<void()> onShow;
        int show(int style, const std::string& text, const std::string& title) override {
            if (onShow) onShow();
            return ScriptedBoxes::show(style, text, title);
        }
    };
    keep(storedGlass("MINE", "ME"));
    ReenteringBoxes reentering;
    frm3New editor(store, forms, editors, reentering, cursor, clipboard);
    FakeEditorView editorView(editor);
    editor.setView(&editorView);
    editor.DisplayNew();
    editor.txtGenSource_Commit("ME");
    reentering.onShow = [&] { editor.txtGenGlass_Commit("MINE"); };
    reentering.answer(kAnswerOk);
    editor.txtGenGlass_Commit("MINE");
    EXPECT_EQ(reentering.shown().size(), 1u);
    EXPECT_EQ(editor.record().definition.name.str(), "");
}

// ---- Tabs -------------------------------------------------------------------

TEST_F(EditorTest, EachTabSetsItsTools) {
    form.DisplayNew();
    struct Case {
        int tab;
        std::string paste, clear;
        bool pasteOn, clearOn, waveOn;
    };
    const Case cases[] = {
        {kEditorTabIndex, "&Paste index", "&Clear index", true, true, true},
        {kEditorTabTrans, "&Paste trans", "&Clear trans", true, true, true},
        {kEditorTabDnDt, "&Paste", "&Clear dndt", false, true, false},
        {kEditorTabOther, "&Paste", "&Clear other", false, true, false},
        {kEditorTabMaterial, "&Paste", "&Clear", false, false, false},
    };
    form.setWavelengthPicker([](int&, float&, std::vector<float>&, int) { return false; });
    for (const Case& c : cases) {
        form.tabProperties_Click(c.tab);
        EXPECT_EQ(controls().tab, c.tab);
        EXPECT_EQ(controls().comClipPaste.text, c.paste);
        EXPECT_EQ(controls().comClear.text, c.clear);
        EXPECT_EQ(controls().comClipPaste.enabled, c.pasteOn) << c.tab;
        EXPECT_EQ(controls().comClear.enabled, c.clearOn) << c.tab;
        EXPECT_EQ(controls().comWaveSelRefInd.enabled, c.waveOn) << c.tab;
    }
    // Coefficients take no wavelengths; without a picker no tab offers it.
    form.tabProperties_Click(kEditorTabIndex);
    form.cmbIndexDataType_Click(kCoefficients);
    EXPECT_FALSE(controls().comWaveSelRefInd.enabled);
    form.cmbIndexDataType_Click(kIndexData);
    EXPECT_TRUE(controls().comWaveSelRefInd.enabled);
    form.setWavelengthPicker(nullptr);
    EXPECT_FALSE(controls().comWaveSelRefInd.enabled);
}

TEST_F(EditorTest, SwitchingTabsKeepsTypedRowsThatNoFitHasRead) {
    form.DisplayNew();
    form.tabProperties_Click(kEditorTabIndex);
    clipboard.setText(PointsText(Nbk7Sellmeier(), Wavelengths(8, 400, 1000)));
    form.comClipPaste_Click();
    form.comIndexFit_Click();
    ASSERT_TRUE(form.GetReady(kIndex));
    ASSERT_TRUE(view.index.userType(1, 1, "1010"));
    ASSERT_TRUE(view.index.userType(2, 9, "1.55"));
    form.tabProperties_Click(kEditorTabMaterial);
    form.tabProperties_Click(kEditorTabIndex);
    EXPECT_EQ(view.index.text(1, 1), "1010.0000");
    EXPECT_EQ(view.index.text(2, 9), "1.5500000");
    EXPECT_EQ(glass().measured.indexWavelength[1], 1000);

    // A ready section is shown as its record holds it.
    form.comIndexFit_Click();
    ASSERT_TRUE(form.GetReady(kIndex));
    view.index.setText(1, 1, "999");
    form.tabProperties_Click(kEditorTabMaterial);
    form.tabProperties_Click(kEditorTabIndex);
    EXPECT_EQ(view.index.text(1, 1), "1010.0000");
}

TEST_F(EditorTest, OpeningShowsTheButtonsOfHowTheIndexIsGiven) {
    GlassRecord points = storedGlass("POINTS", "ME");
    points.indexDataType = kIndexData;
    points.indexPointCount = 2;
    points.measured.indexWavelength[1] = 700;
    points.measured.index[1] = 1.51;
    points.measured.weight[1] = 0.5f;
    points.measured.indexWavelength[2] = 500;
    points.measured.index[2] = 1.52;
    form.DisplayEdit(caller, points);
    EXPECT_EQ(controls().comIndexFit.text, "Fit Polynomial");
    EXPECT_TRUE(controls().comIndexShow.enabled);  // the section is ready
    EXPECT_TRUE(controls().comIndexSort.enabled);
    EXPECT_EQ(controls().lblIndexMinDataPoints.text, "Min: 6 points");
    EXPECT_EQ(view.index.blockText(GridBlock::range(1, 1, 3, 3)),
              "700.0000\t1.5100000\t0.50\r\n500.0000\t1.5200000\t0.00\r\n\t\t\r\n");
    EXPECT_EQ(controls().cmbIndexDataType.list.currentIndex(), kIndexData);
    EXPECT_EQ(controls().cmbIndexPolyType.list.text(controls().cmbIndexPolyType.list.currentIndex()), "Sellmeier");
    EXPECT_EQ(panels(), kAllReady);
}

// ---- Saving -----------------------------------------------------------------

TEST_F(EditorTest, ANewMaterialIsStoredAndTheWindowStartsTheNextOne) {
    form.DisplayNew();
    form.txtGenGlass_Commit("My Glass");
    form.txtGenSource_Commit("Lab");
    for (int n : {kIndex, kTrans, kOther}) form.SetReady(n, true);
    form.comAdd_Click();
    EXPECT_TRUE(boxes.shown().empty());
    const std::vector<GlassRecord> file = fileRecords();
    ASSERT_EQ(file.size(), 1u);
    EXPECT_EQ(file[0].definition.name.str(), "MY GLASS");  // the source's commit stored the name upper-cased
    EXPECT_EQ(file[0].definition.source.str(), "Lab");
    EXPECT_EQ(file[0].definition.catalogNumber, kOwnCatalogNumber);
    EXPECT_EQ(file[0].properties.status.str(), "A");
    EXPECT_EQ(file[0].lastStored, clock.now());
    EXPECT_EQ(listRefreshes, 1);
    EXPECT_EQ(store.Count(), 1);

    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(panels(), kNewPanels);
    EXPECT_EQ(controls().caption, "New material data  ");
    EXPECT_EQ(controls().txtGenGlass.text, "");
    EXPECT_EQ(controls().lblGlassSource.text, "");
    EXPECT_EQ(form.GetEditCount(kGeneral), 0);
    EXPECT_EQ(glass().definition.catalogNumber, kOwnCatalogNumber);
    EXPECT_EQ(controls().comAdd.text, "Add to list");
    EXPECT_EQ(manageUpdates, 0);
}

TEST_F(EditorTest, AnEditSavedUnderItsOwnNameReplacesItWithoutAQuestion) {
    keep(storedGlass("FIRST", "ME"));
    keep(storedGlass("MINE", "ME"));
    forms.SetCurrentPage(kPageManage);
    form.DisplayEdit(caller, store.Records()[1]);
    form.comAdd_Click();
    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_EQ(store.Count(), 2);
    EXPECT_EQ(store.Records()[1].definition.name.str(), "MINE");
    EXPECT_EQ(manageUpdates, 1);
    EXPECT_TRUE(form.isOpen());

    // Under a new name it is a second material; the first stays.
    form.txtGenGlass_Commit("MINE 2");
    form.comAdd_Click();
    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_EQ(fileRecords().size(), 3u);
    EXPECT_EQ(fileRecords()[2].definition.name.str(), "MINE 2");
    EXPECT_EQ(form.openedIdentity(), "MINE [ME]");
    EXPECT_EQ(form.GetEditCount(kGeneral), 0);
    EXPECT_EQ(manageUpdates, 2);
}

TEST_F(EditorTest, SaveRefusals) {
    struct Case {
        const char* what;
        std::function<void()> open;
        std::vector<int> answers;
        std::string message;
        int style;
    };
    GlassRecord noSource = storedGlass("LONELY", "");
    const Case cases[] = {
        {"incomplete", [&] { form.DisplayEdit(caller, [] {
                                 GlassRecord g = storedGlass("MINE", "ME");
                                 g.sections[kTrans].ready = kFalse;
                                 return g;
                             }()); },
         {kAnswerOk}, kIncompleteMessage, kBoxExclamation},
        // A stored material whose identity has since become a catalogue glass.
        {"catalogue", [&] {
             keep(storedGlass("N-BK7", "SCHOTT"));
             form.DisplayEdit(caller, storedGlass("N-BK7", "SCHOTT"));
         },
         {kAnswerOk},
         "N-BK7 [SCHOTT] is a catalog glass and cannot be overwritten!\r\n\r\nIf you really want to use this data, "
         "then change the 'name' and /or 'source'.",
         kBoxExclamation},
        // A material that another window stored under the identity meanwhile.
        {"declined", [&] {
             form.DisplayNew();
             form.txtGenGlass_Commit("TWIN");
             form.txtGenSource_Commit("ME");
             for (int n : {kIndex, kTrans, kOther}) form.SetReady(n, true);
             keep(storedGlass("TWIN", "ME"));
         },
         {kAnswerNo}, "TWIN [ME] is already in your collection.\r\n\r\nDo you want to overwrite the existing data?",
         kBoxQuestionYesNo},
        {"refused", [&] { form.DisplayEdit(caller, noSource); }, {kAnswerOk},
         "LONELY could not be added to your collection: its name or source is not valid.", kBoxExclamation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.open();
        const std::vector<GlassRecord> before = store.GetGlasses();
        const std::vector<GlassRecord> fileBefore = fileRecords();
        const GlassRecord working = glass();
        const frm3NewControls shown = controls();
        boxes.clear();
        for (int a : c.answers) boxes.answer(a);
        form.comAdd_Click();
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().text, c.message);
        EXPECT_EQ(boxes.last().style, c.style);
        EXPECT_EQ(store.GetGlasses(), before);
        EXPECT_EQ(fileRecords(), fileBefore);
        EXPECT_EQ(glass().definition.name, working.definition.name);
        EXPECT_EQ(glass().sections, working.sections);
        EXPECT_EQ(controls().caption, shown.caption);
        EXPECT_EQ(controls().txtGenGlass.text, shown.txtGenGlass.text);
        form.comOK_Click();
    }
}

TEST_F(EditorTest, ACollectionFileThatCannotBeWrittenLosesNothing) {
    form.DisplayNew();
    form.txtGenGlass_Commit("KEEP");
    form.txtGenSource_Commit("ME");
    for (int n : {kIndex, kTrans, kOther}) form.SetReady(n, true);
    std::filesystem::create_directory(folder.file(kCollectionFileName));  // no file can be put in its place
    boxes.answer(kAnswerOk);
    form.comAdd_Click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().text.rfind("Your materials could not be saved.", 0), 0u);
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(listRefreshes, 0);
    // The window keeps the material for another try.
    EXPECT_EQ(glass().definition.name.str(), "KEEP");
    EXPECT_EQ(panels(), kAllReady);
    EXPECT_EQ(controls().caption, "New material data  KEEP::ME");
    EXPECT_EQ(form.GetEditCount(kGeneral), 2);

    std::filesystem::remove(folder.file(kCollectionFileName));
    form.comAdd_Click();
    EXPECT_EQ(fileRecords().size(), 1u);
    EXPECT_EQ(controls().caption, "New material data  ");
}
