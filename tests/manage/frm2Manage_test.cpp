// The Manage page over a real store, real sibling folders (the 3D design
// program, the tolerancer, the catalogue program with its database) and an
// in-memory grid: what the grid shows, the deliveries and their questions,
// synchronising, edit, duplicate, delete and sort through the grid, and a
// database held by another connection.
#include "manage/frm2Manage.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "manage/CatalogueOutput.h"
#include "manage/DesignFileOutput.h"
#include "manage/DialogViews.h"
#include "manage/ManageFixtures.h"
#include "manage/SiblingFolders.h"
#include "model/GlassesList.h"
#include "model/Verification.h"
#include "platform/BusyCursor.h"
#include "platform/CheckList.h"
#include "platform/Clock.h"
#include "platform/MemoryGrid.h"
#include "shell/MainMDILogic.h"
#include "shell/ManageForms.h"
#include "support/FakePlacedWindow.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

using Strings = std::vector<std::string>;

class FakeManageView : public IManageView {
public:
    explicit FakeManageView(frm2Manage& page) : m_page(page) { page.setView(this); }
    ~FakeManageView() override { m_page.setView(nullptr); }
    IGrid& ssGlassesCurr() override { return grid; }
    void setUpdateProg(int index) override { updateProg = index; }
    void setDataOverWrite(int index) override { dataOverWrite = index; }
    IPlacedWindow& placement() override { return placed; }
    void setEnabled(bool on) override { enabled = on; }
    void bringToFront() override { ++broughtToFront; }
    void showWindow(bool) override { shown = true; }
    void closeWindow() override {
        shown = false;
        m_page.Form_Unload();
    }

    MemoryGrid grid;
    FakePlacedWindow placed{"frm2Manage"};
    int updateProg = -1;
    int dataOverWrite = -1;
    bool enabled = true;
    int broughtToFront = 0;
    bool shown = false;

private:
    frm2Manage& m_page;
};

class FakeEditor : public IGlassEditor {
public:
    void DisplayEdit(ICallerWindow& frmCaller, const GlassRecord& glass) override {
        caller = &frmCaller;
        edited.push_back(glass.definition.name.str());
    }
    void DisplayReview(ICallerWindow&, const GlassRecord&) override {}
    ICallerWindow* caller = nullptr;
    Strings edited;
};

GlassRecord Invalid() {
    GlassRecord g = Material("Nameless");
    g.definition.name.set("   ");
    return g;
}

GlassRecord Melt(const std::string& name) {
    GlassRecord g = Material(name);
    g.melt.meltFlag = kTrue;
    return g;
}

class ManagePageTest : public ::testing::Test, protected SiblingFolders {
protected:
    void SetUp() override {
        installSiblings();
        if (HasFatalFailure()) return;
        store.SetRefreshCallback([this] { ++refreshes; });
        page.deleteDialog().setView(&deleteView);
        page.removeDialog().setView(&removeView);
    }
    void TearDown() override {
        page.deleteDialog().setView(nullptr);
        page.removeDialog().setView(nullptr);
        ResetSetupPaths();
    }


    // The collection in the store and its file, then the page opened on it.
    void open(const std::vector<GlassRecord>& glasses) {
        store.SetGlasses(glasses);
        ASSERT_TRUE(store.SaveUserGlasses());
        page.Display(false);
        ASSERT_TRUE(view.shown);
    }
    ManagePageServices services() {
        ManagePageServices s;
        s.boxes = &boxes;
        s.cursor = &cursor;
        s.store = &store;
        s.editors = &editors;
        s.switchPage = [this](int p, bool open) { switches.push_back({p, open}); };
        s.helpNote = [this](const std::string& text, bool) { helpLine.push_back(text); };
        return s;
    }

    // Each row as "Glass|Source|Waveband|Index range|Date|Status|index".
    Strings gridRows() const {
        Strings out;
        for (int r = 1; r <= view.grid.maxRows(); ++r) {
            std::string row;
            for (int c = 1; c <= kManageCols; ++c) row += (c > 1 ? "|" : "") + view.grid.text(c, r);
            out.push_back(row);
        }
        return out;
    }
    Strings gridNames() const {
        Strings out;
        for (int r = 1; r <= view.grid.maxRows(); ++r) out.push_back(view.grid.text(1, r));
        return out;
    }
    static Strings names(const std::vector<GlassRecord>& list) {
        Strings out;
        for (const auto& g : list) out.push_back(g.definition.name.str());
        return out;
    }
    // The collection as its file holds it now.
    Strings savedNames() {
        ScriptedBoxes quiet;
        GlassesList reread(quiet, clock, program.path());
        reread.LoadUserGlasses();
        return names(reread.GetGlasses());
    }
    static Strings designNames(const std::string& folder) {
        const auto list = ReadDesignFile(folder);
        return list ? names(*list) : Strings{"unreadable"};
    }
    Strings catalogueNames(const char* table = kGlassDataTable) const {
        RawConnection raw(dbPath());
        Strings out;
        for (const auto& r : raw.rows(std::string("SELECT GlassName FROM ") + table + " WHERE s1 = 8 ORDER BY rowid"))
            out.push_back(r[0]);
        return out;
    }

    TestFolder program;
    ScriptedBoxes boxes;
    FixedClock clock{DateSerial(2024, 11, 5, 14, 30)};
    GlassesList store{boxes, clock, program.path()};
    GlassEditors editors;
    RecordingBusyCursor cursor;
    std::vector<std::pair<int, bool>> switches;
    Strings helpLine;
    int refreshes = 0;
    frm2Manage page{services()};
    FakeManageView view{page};
    FakeDialogView<IRemoveDialogView> deleteView;
    FakeExtView removeView;
};

TEST_F(ManagePageTest, TheGridShowsTheValidMaterialsWithTheirIndexInTheHiddenColumn) {
    GlassRecord a = Material("  N-BK7 ", " Mine ");
    a.lastStored = DateSerial(2023, 7, 14, 9, 5);
    GlassRecord m = Melt("Melt1");
    m.lastStored = DateSerial(2024, 1, 2);
    m.sections[kGeneral].ready = kFalse;
    m.sections[kTrans].ready = kFalse;
    GlassRecord none = Material("Empty");  // no formula limits
    none.definition.lowerWavelength = 0;
    none.definition.upperWavelength = 0;
    none.lastStored = DateSerial(2020, 12, 31);
    open({a, Invalid(), m, none});

    EXPECT_EQ(view.updateProg, kTargetBoth);
    EXPECT_EQ(view.dataOverWrite, kOverwriteExisting);
    EXPECT_TRUE(view.grid.colHidden(kManageIndexCol));
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(view.grid.text(c, 0), kManageHeadings[c - 1]);
    // N-BK7 from 310 to 2325 nm (coefficients typed in, no measured points).
    EXPECT_EQ(gridRows(), (Strings{"N-BK7|Mine|310.0 - 2325.0|1.549 - 1.489|7/14/2023|OK|1",
                                   "Melt1|Mine|310.0 - 2325.0|1.549 - 1.489|1/2/2024|General Trans|3",
                                   "Empty|Mine|0.0 - 0.0|0.000 - 0.000|12/31/2020|OK|4"}));
    EXPECT_EQ(view.grid.backColour(1, 1), kColourButtonFace);
    EXPECT_EQ(view.grid.backColour(1, 2), 0x80FFFFu);
    EXPECT_EQ(view.grid.backColour(6, 1), kReadyColour);
    EXPECT_EQ(view.grid.backColour(6, 2), kNotReadyColour);

    page.comOK_Click();
    EXPECT_FALSE(page.isOpen());
    EXPECT_EQ(switches, (std::vector<std::pair<int, bool>>{{kPageManage, false}}));
}

// The question of every delivery names its target; Cancel writes nothing.
TEST_F(ManagePageTest, TheQuestionsNameTheTargetAndCancelWritesNothing) {
    open({Material("A"), Material("B", "Ohara"), Material("C")});
    const auto before = DumpCatalogue(dbPath());
    struct Action {
        const char* what;
        std::function<void()> click;
        const char* question;  // % stands for the target text
    };
    const Action actions[] = {
        {"all", [&] { page.comExtAddAll_Click(); }, "Are you sure that you want to export all 3 materials to %"},
        {"one selected",
         [&] {
             view.grid.userSelect({{2, 2}});
             page.comExtAddSel_Click();
         },
         "Are you sure that you want to export B [Ohara] to %"},
        {"several selected",
         [&] {
             view.grid.userSelect({{1, 2}});
             page.comExtAddSel_Click();
         },
         "Are you sure that you want to export the selected material[s] to %"},
        {"synchronise", [&] { page.comExtSynch_Click(); },
         "Are you sure that you want to force % to ONLY have these 3 materials as the custom glasses"},
    };
    const char* targets[] = {"Lumivar3D/Tol", "Vitrarch only", "Lumivar3D/Tol & Vitrarch"};
    for (int target = kTargetDesign; target <= kTargetBoth; ++target) {
        page.cmbUpdateProg_Click(target);
        for (const auto& a : actions) {
            SCOPED_TRACE(std::string(a.what) + " / " + targets[target]);
            boxes.clear();
            boxes.answer(kAnswerCancel);
            a.click();
            std::string expected = a.question;
            expected.replace(expected.find('%'), 1, targets[target]);
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(boxes.last().text, expected);
            EXPECT_EQ(boxes.last().style, kBoxQuestionOkCancel);
        }
    }
    EXPECT_FALSE(lqp.exists(kDesignFileName));
    EXPECT_FALSE(tol.exists(kDesignFileName));
    EXPECT_EQ(DumpCatalogue(dbPath()), before);
}

// Rows and indexes differ (an invalid record is not shown): the selected rows'
// materials are delivered, then all of them, to both targets.
TEST_F(ManagePageTest, UpdateDeliversTheSelectedRowsMaterialsAndThenAll) {
    open({Material("A"), Invalid(), Material("B"), Material("C"), Material("D")});
    view.grid.userSelect({{2, 3}});  // B and C
    boxes.answer(kAnswerOk);
    page.comExtAddSel_Click();
    EXPECT_EQ(designNames(lqp.path()), (Strings{"B", "C"}));
    EXPECT_EQ(designNames(tol.path()), (Strings{"B", "C"}));
    EXPECT_EQ(catalogueNames(), (Strings{"B", "C"}));
    EXPECT_FALSE(cursor.busy);
    // The help line told the progress and is empty again.
    ASSERT_GE(helpLine.size(), 3u);
    EXPECT_EQ(helpLine[helpLine.size() - 2], "Writing materials to VitrarchQX: 2 of 2");
    EXPECT_EQ(helpLine.back(), "");

    // No block: the active row's material alone.
    view.grid.clearSelection();
    view.grid.userClick(1, 4);
    boxes.answer(kAnswerOk);
    page.comExtAddSel_Click();
    EXPECT_EQ(boxes.last().text, "Are you sure that you want to export D [Mine] to Lumivar3D/Tol & Vitrarch");
    EXPECT_EQ(designNames(lqp.path()), (Strings{"B", "C", "D"}));

    // All, in Leave mode: what the targets hold stays, the others are added.
    page.cmbDataOverWrite_Click(kLeaveExisting);
    boxes.answer(kAnswerOk);
    page.comExtAddAll_Click();
    EXPECT_EQ(boxes.last().text, "Are you sure that you want to export all 4 materials to Lumivar3D/Tol & Vitrarch");
    EXPECT_EQ(designNames(lqp.path()), (Strings{"B", "C", "D", "A"}));
    EXPECT_EQ(designNames(tol.path()), (Strings{"B", "C", "D", "A"}));
    EXPECT_EQ(catalogueNames(), (Strings{"B", "C", "D", "A"}));
}

TEST_F(ManagePageTest, ABlockOverWholeColumnsIsEveryRow) {
    open({Material("A"), Invalid(), Material("B")});
    page.cmbUpdateProg_Click(kTargetDesign);
    view.grid.userSelect({{-1, -1}});
    boxes.answer(kAnswerOk);
    page.comExtAddSel_Click();
    EXPECT_EQ(boxes.last().text, "Are you sure that you want to export the selected material[s] to Lumivar3D/Tol");
    EXPECT_EQ(designNames(lqp.path()), (Strings{"A", "B"}));
    EXPECT_TRUE(catalogueNames().empty());  // design programs only
}

TEST_F(ManagePageTest, AMaterialNotReadyStopsEveryDeliveryBeforeTheQuestion) {
    GlassRecord notReady = Material("B");
    notReady.sections[kIndex].ready = kFalse;
    open({Material("A"), notReady});
    const std::function<void()> clicks[] = {
        [&] { page.comExtAddAll_Click(); },
        [&] {
            view.grid.userSelect({{2, 2}});
            page.comExtAddSel_Click();
        },
        [&] { page.comExtSynch_Click(); },
    };
    for (const auto& click : clicks) {
        boxes.clear();
        boxes.answer(kAnswerOk);
        click();
        ASSERT_EQ(boxes.shown().size(), 1u);  // no question follows
        EXPECT_EQ(boxes.last().text, "The following glass[s] are not ready for export.\r\nB/Mine - check: Index\r\n");
    }
    EXPECT_FALSE(lqp.exists(kDesignFileName));
    EXPECT_TRUE(catalogueNames().empty());
}

TEST_F(ManagePageTest, TheTolerancersFileIsWrittenOnlyWhereItsFolderIsSetAndExists) {
    struct Case {
        const char* what;
        bool set;
        bool gone;
    };
    const Case cases[] = {{"not set", false, false}, {"set, folder gone", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetSetupPaths();
        ASSERT_TRUE(SetPathLQP(lqp.path()));
        TestFolder spare;
        if (c.set) {
            ASSERT_TRUE(SetPathLQTol(tol.path()));
        }
        if (c.gone) std::filesystem::rename(tol.path(), spare.file("moved"));
        open({Material("A")});
        page.cmbUpdateProg_Click(kTargetDesign);
        boxes.answer(kAnswerOk);
        page.comExtAddAll_Click();
        EXPECT_EQ(designNames(lqp.path()), Strings{"A"});
        EXPECT_FALSE(std::filesystem::exists(kDesignFileName));  // nothing in the working folder
        if (c.gone) {
            EXPECT_FALSE(std::filesystem::exists(tol.path()));  // not made again
            std::filesystem::rename(spare.file("moved"), tol.path());
        }
        EXPECT_FALSE(tol.exists(kDesignFileName));
        page.ForceUnload();
    }
}

TEST_F(ManagePageTest, SynchroniseLeavesOnlyTheCollectionInBothTargets) {
    ASSERT_TRUE(WriteDesignFile(lqp.path(), {Material("Old"), Material("A")}, boxes));
    ASSERT_TRUE(ExportToCatalogue(vq.path(), std::vector<GlassRecord>{Material("Old"), Material("Gone")},
                                  kOverwriteExisting, boxes));
    {
        CatalogueDatabase db;  // an archived own row, and a catalogue glass of the maker
        ASSERT_TRUE(db.open(vq.path()));
        ASSERT_TRUE(db.addRow(kArchiveTable, {{"GlassID", std::int64_t{40}}, {"s1", std::int64_t{8}},
                                              {"GlassName", "Shelved"}, {"Source", "Mine"}}));
        ASSERT_TRUE(db.addRow(kGlassDataTable, {{"GlassID", std::int64_t{41}}, {"s1", std::int64_t{0}},
                                                {"GlassName", "N-BK7"}, {"Source", "Schott"}}));
    }
    open({Material("A"), Invalid(), Material("B")});
    boxes.answer(kAnswerOk);
    page.comExtSynch_Click();
    EXPECT_EQ(boxes.last().text,
              "Are you sure that you want to force Lumivar3D/Tol & Vitrarch to ONLY have these 2 materials as the "
              "custom glasses");
    EXPECT_EQ(designNames(lqp.path()), (Strings{"A", "B"}));
    EXPECT_EQ(designNames(tol.path()), (Strings{"A", "B"}));
    EXPECT_EQ(catalogueNames(), (Strings{"A", "B"}));
    EXPECT_TRUE(catalogueNames(kArchiveTable).empty());
    EXPECT_EQ(TableRows(dbPath(), kGlassDataTable).front(), "41 N-BK7");  // not an own row: stays
}

TEST_F(ManagePageTest, ASynchroniseThatFailsLeavesTheDatabaseAsItWas) {
    ASSERT_TRUE(ExportToCatalogue(vq.path(), std::vector<GlassRecord>{Material("Old")}, kOverwriteExisting, boxes));
    const auto before = DumpCatalogue(dbPath());
    GlassRecord bad = Material("B");
    bad.properties.tg.set("hot");  // a number column given a text
    open({Material("A"), bad});
    page.cmbUpdateProg_Click(kTargetCatalogue);
    boxes.answer(kAnswerOk).answer(kAnswerOk);
    page.comExtSynch_Click();
    EXPECT_EQ(boxes.last().style, kBoxExclamation);
    EXPECT_EQ(boxes.last().text.rfind("Error while adding data to database.\r\n", 0), 0u) << boxes.last().text;
    EXPECT_NE(boxes.last().text.find(kRolledBackText), std::string::npos);
    EXPECT_EQ(DumpCatalogue(dbPath()), before);
    EXPECT_FALSE(cursor.busy);
}

TEST_F(ManagePageTest, ADatabaseHeldByAnotherConnectionIsToldAndLeftAlone) {
    open({Material("A")});
    page.cmbUpdateProg_Click(kTargetCatalogue);
    RawConnection other(dbPath());
    ASSERT_TRUE(other.exec("BEGIN IMMEDIATE; UPDATE GlassData SET Source = 'Busy';"));
    for (bool synchronise : {false, true}) {
        boxes.answer(kAnswerOk).answer(kAnswerOk);
        synchronise ? page.comExtSynch_Click() : page.comExtAddAll_Click();
        EXPECT_EQ(boxes.last().text.rfind("Unable to open database in path:\r\n" + vq.path() + "\r\n", 0), 0u)
            << boxes.last().text;
    }
    ASSERT_TRUE(other.exec("ROLLBACK"));
    EXPECT_TRUE(catalogueNames().empty());
    // Free again: the same click delivers.
    boxes.answer(kAnswerOk);
    page.comExtAddAll_Click();
    EXPECT_EQ(catalogueNames(), Strings{"A"});
}

TEST_F(ManagePageTest, TheCatalogueTargetWithoutTheCatalogueProgramDoesNothingAfterTheQuestion) {
    ResetSetupPaths();
    ASSERT_TRUE(SetPathLQP(lqp.path()));
    open({Material("A")});
    page.cmbUpdateProg_Click(kTargetCatalogue);
    boxes.answer(kAnswerOk);
    page.comExtAddAll_Click();
    EXPECT_FALSE(lqp.exists(kDesignFileName));
    EXPECT_TRUE(catalogueNames().empty());
}

TEST_F(ManagePageTest, AnEmptyCollectionEndsEveryActionAtOnce) {
    open({});
    EXPECT_EQ(view.grid.maxRows(), 0);
    for (const auto& click : {&frm2Manage::comExtAddAll_Click, &frm2Manage::comExtAddSel_Click,
                              &frm2Manage::comExtSynch_Click, &frm2Manage::comDuplicate_Click,
                              &frm2Manage::comDelete_Click, &frm2Manage::comSort_Click, &frm2Manage::comEdit_Click})
        (page.*click)();  // an unscripted box would fail the test
    EXPECT_EQ(deleteView.opened, 0);
    EXPECT_FALSE(lqp.exists(kDesignFileName));
    EXPECT_EQ(refreshes, 0);
}

TEST_F(ManagePageTest, EditOpensTheSelectedRowsMaterialInTheEditorOrTheMeltMaker) {
    FakeEditor editor, meltMaker;
    editors.setEditor(&editor);
    editors.setMeltMaker(&meltMaker);
    open({Material("A"), Invalid(), Melt("M"), Material("C")});
    view.grid.userSelect({{2, 3}});  // the block's first row
    page.comEdit_Click();
    view.grid.userSelect({{3, 3}});
    page.comEdit_Click();
    EXPECT_EQ(meltMaker.edited, Strings{"M"});
    EXPECT_EQ(editor.edited, Strings{"C"});
    ASSERT_EQ(editor.caller, static_cast<ICallerWindow*>(&page));
    editor.caller->setEnabled(false);
    EXPECT_FALSE(view.enabled);

    // The editor saves C under a new name and tells the page.
    GlassRecord changed = Material("C2");
    std::vector<GlassRecord> all = store.GetGlasses();
    all[3] = changed;
    store.SetGlasses(all);
    editors.UpdatesGlasssAftEdit();
    EXPECT_EQ(gridNames(), (Strings{"A", "M", "C2"}));
    EXPECT_EQ(names(page.glasses())[3], "C2");
}

TEST_F(ManagePageTest, DuplicateInsertsTheCopyUnderANewNameAfterTheSelectedRow) {
    open({Material("A"), Invalid(), Material("B"), Material("C")});
    view.grid.userClick(1, 2);  // B, index 3
    boxes.answerInput("   ");    // blanks only: Cancel
    page.comDuplicate_Click();
    EXPECT_EQ(boxes.last().defaultText, "B");
    EXPECT_EQ(boxes.last().text, kDuplicatePrompt);
    EXPECT_EQ(names(page.glasses()), (Strings{"A", "", "B", "C"}));
    EXPECT_EQ(refreshes, 0);

    boxes.answerInput("a").answerInput("B2");  // a name in use is asked for again
    page.comDuplicate_Click();
    EXPECT_EQ(boxes.last().defaultText, "a");
    EXPECT_EQ(names(page.glasses()), (Strings{"A", "", "B", "B2", "C"}));
    EXPECT_EQ(gridNames(), (Strings{"A", "B", "B2", "C"}));
    EXPECT_EQ(savedNames(), (Strings{"A", "B", "B2", "C"}));  // the invalid record is not loaded back
    EXPECT_EQ(names(store.GetGlasses()), names(page.glasses()));
    EXPECT_EQ(refreshes, 1);
}

TEST_F(ManagePageTest, DeleteOffersTheSelectedRowsMaterialsCheckedAndStoresTheRest) {
    open({Material("A"), Invalid(), Material("B"), Material("C"), Material("D")});
    view.grid.userSelect({{2, 3}});  // B and C: indexes 3 and 4
    deleteView.user = [&] {
        EXPECT_EQ(deleteView.list.checkedIndexes(), (std::vector<int>{2, 3}));
        page.deleteDialog().comDelSel_Click();
    };
    page.comDelete_Click();
    EXPECT_EQ(names(page.glasses()), (Strings{"A", "", "D"}));
    EXPECT_EQ(gridNames(), (Strings{"A", "D"}));
    EXPECT_EQ(names(store.GetGlasses()), (Strings{"A", "", "D"}));
    EXPECT_EQ(savedNames(), (Strings{"A", "D"}));
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(view.grid.selectedBlocks().empty());

    // A cancelled dialog changes nothing.
    view.grid.userClick(1, 2);
    deleteView.user = [&] { page.deleteDialog().comCancel_Click(); };
    page.comDelete_Click();
    EXPECT_EQ(refreshes, 1);

    // D, on the active row, deleted: the row no longer exists, and Edit takes
    // the first row instead of reading beyond the grid.
    deleteView.user = [&] {
        EXPECT_EQ(deleteView.list.checkedIndexes(), (std::vector<int>{2}));
        page.deleteDialog().comDelSel_Click();
    };
    page.comDelete_Click();
    EXPECT_EQ(gridNames(), Strings{"A"});
    FakeEditor editor;
    editors.setEditor(&editor);
    page.comEdit_Click();
    EXPECT_EQ(editor.edited, Strings{"A"});
}

TEST_F(ManagePageTest, SortOrdersByGlassOrBySourceAndKeepsTheHiddenRecords) {
    const GlassRecord start[] = {Material("b2", "Ohara"), Material("A1", "schott"), Invalid(), Material("c3", "Ohara"),
                                 Material("a0", "Ohara")};
    open(std::vector<GlassRecord>(std::begin(start), std::end(start)));
    boxes.answer(kAnswerCancel);
    page.comSort_Click();
    EXPECT_EQ(boxes.last().text, kSortQuestion);
    EXPECT_EQ(boxes.last().style, kBoxQuestionYesNoCancel);
    EXPECT_EQ(refreshes, 0);

    boxes.answer(kAnswerYes);
    page.comSort_Click();
    EXPECT_EQ(gridNames(), (Strings{"a0", "A1", "b2", "c3"}));
    EXPECT_EQ(names(page.glasses()), (Strings{"a0", "A1", "b2", "c3", ""}));
    EXPECT_EQ(names(store.GetGlasses()), names(page.glasses()));

    boxes.answer(kAnswerNo);
    page.comSort_Click();
    EXPECT_EQ(gridNames(), (Strings{"a0", "b2", "c3", "A1"}));  // Ohara by name, then Schott
    EXPECT_EQ(savedNames(), (Strings{"a0", "b2", "c3", "A1"}));
    // The hidden column follows the new order.
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(view.grid.text(kManageIndexCol, r), std::to_string(r));
    EXPECT_EQ(refreshes, 2);
}

TEST_F(ManagePageTest, RemoveOpensTheRemoveDialog) {
    ASSERT_TRUE(WriteDesignFile(lqp.path(), {Material("A"), Material("B")}, boxes));
    open({Material("A")});
    removeView.user = [&] {
        EXPECT_EQ(removeView.list.texts(), (Strings{"A/Mine", "B/Mine"}));
        page.removeDialog().comCancel_Click();
    };
    page.comExtRemove_Click();
    EXPECT_EQ(removeView.opened, 1);
}

}  // namespace
