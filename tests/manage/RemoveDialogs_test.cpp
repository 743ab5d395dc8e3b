// The Manage page's delete and remove dialogs, called as the page calls them,
// on temporary design files and catalogue databases.
#include <gtest/gtest.h>

#include <filesystem>

#include "manage/CatalogueOutput.h"
#include "manage/DesignFileOutput.h"
#include "manage/ManageFixtures.h"
#include "manage/SiblingFolders.h"
#include "manage/frmGlassesDel.h"
#include "manage/frmGlassesDelExt.h"
#include "platform/CheckList.h"
#include "shell/Bas1Setup.h"
#include "manage/DialogViews.h"
#include "support/FakePlacedWindow.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

using Strings = std::vector<std::string>;

// The Manage page as the delete dialog's caller: its array, the selected rows,
// and SetGlasses.
struct ManagePageStub {
    std::vector<GlassRecord> glasses;
    int setGlassesCalls = 0;
    frmGlassesDel dialog{[this](const std::vector<GlassRecord>& kept) {
        glasses = kept;
        ++setGlassesCalls;
    }};

    bool comDelete(int first, int last) { return dialog.Display(glasses, first, last); }
    Strings names() const {
        Strings out;
        for (const auto& g : glasses) out.push_back(g.definition.name.raw().substr(0, 8) + "|" + g.definition.source.str());
        return out;
    }
};

TEST(GlassesDelTest, TheSelectedRowsAreCheckedAndTheCheckedOnesDeleted) {
    ManagePageStub page;
    for (const char* n : {"One", "  Two", "Three ", " Four", "Five", "Six"}) page.glasses.push_back(Material(n, " Mine "));
    FakeDialogView<IRemoveDialogView> view;
    page.dialog.setView(&view);
    view.user = [&] {
        EXPECT_EQ(view.list.texts(), (Strings{"One/Mine", "Two/Mine", "Three/Mine", "Four/Mine", "Five/Mine", "Six/Mine"}));
        EXPECT_EQ(view.list.checkedIndexes(), (std::vector<int>{2, 3, 4}));  // rows 3 .. 5
        view.list.setChecked(3, false);  // Four stays after all
        view.list.setChecked(0, true);
        page.dialog.comDelSel_Click();
    };
    EXPECT_TRUE(page.comDelete(3, 5));
    EXPECT_EQ(page.setGlassesCalls, 1);
    // The kept records come back in order, their names and sources trimmed.
    EXPECT_EQ(page.names(), (Strings{"Two     |Mine", "Four    |Mine", "Six     |Mine"}));
    EXPECT_EQ(view.closes, 1);
}

TEST(GlassesDelTest, NothingCheckedCancelOrTheCloseBoxChangeNothing) {
    struct Case {
        const char* what;
        std::function<void(ManagePageStub&, FakeDialogView<IRemoveDialogView>&)> user;
    };
    const Case cases[] = {
        {"nothing checked", [](ManagePageStub& p, FakeDialogView<IRemoveDialogView>& v) {
             v.list.setChecked(0, false);
             p.dialog.comDelSel_Click();
         }},
        {"cancel", [](ManagePageStub& p, FakeDialogView<IRemoveDialogView>&) { p.dialog.comCancel_Click(); }},
        {"close box", [](ManagePageStub&, FakeDialogView<IRemoveDialogView>&) {}},
    };
    for (const auto& c : cases) {
        ManagePageStub page;
        page.glasses = {Material("A"), Material("B")};
        FakeDialogView<IRemoveDialogView> view;
        page.dialog.setView(&view);
        // A first use that deletes: the next use starts again with no result.
        view.user = [&] { page.dialog.comDelSel_Click(); };
        ASSERT_TRUE(page.comDelete(2, 2));
        view.user = [&] { c.user(page, view); };
        EXPECT_FALSE(page.comDelete(1, 1)) << c.what;
        EXPECT_EQ(page.setGlassesCalls, 1) << c.what;
        EXPECT_EQ(page.names(), (Strings{"A       |Mine"})) << c.what;
    }
}

// The remove dialog over real sibling folders: the 3D design program, the
// tolerancer and the catalogue program, each with its executable.
class GlassesDelExtTest : public ::testing::Test, protected SiblingFolders {
protected:
    void SetUp() override {
        installSiblings();
        if (HasFatalFailure()) return;
        dialog.setView(&view);
    }
    void TearDown() override { ResetSetupPaths(); }


    void writeDesignFile(const std::vector<GlassRecord>& list) {
        for (TestFolder* f : {&lqp, &tol}) ASSERT_TRUE(WriteDesignFile(f->path(), list, boxes));
        std::filesystem::remove(lqp.file(kDesignBackupName));
        std::filesystem::remove(tol.file(kDesignBackupName));
    }
    static Strings namesIn(const std::string& folder) {
        Strings out;
        const auto list = ReadDesignFile(folder);
        if (!list) return {"unreadable"};
        for (const auto& g : *list) out.push_back(g.definition.name.str());
        return out;
    }
    void addRow(const char* table, std::int64_t id, const std::string& name, std::int64_t s1 = 8) {
        CatalogueDatabase db;
        ASSERT_TRUE(db.open(vq.path()));
        ASSERT_TRUE(db.addRow(table, {{"GlassID", id}, {"s1", s1}, {"GlassName", name}, {"Source", "Mine"}}));
    }
    Strings rows(const char* table) const { return TableRows(dbPath(), table); }
    // Opens the dialog, lets the user act, and checks it closed.
    void run(const std::function<void()>& user) {
        view.user = user;
        dialog.Display();
    }

    ScriptedBoxes boxes;
    FakeExtView view;
    frmGlassesDelExt dialog{boxes};
};

TEST_F(GlassesDelExtTest, ACheckedEntryLeavesTheDesignFilesOfTheProgramsFound) {
    struct Case {
        const char* what;
        bool tolerancerFound;
        bool tolerancerFolderGone;
        bool lqpFound;
    };
    const Case cases[] = {
        {"both found", true, false, true},
        {"only the 3D program found", false, false, true},
        {"the tolerancer's folder gone", true, true, true},
        {"only the tolerancer found", true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetSetupPaths();
        writeDesignFile({Material("A"), Material(" B ", "Other"), Material("C")});
        const auto old3D = lqp.read(kDesignFileName);
        ASSERT_EQ(SetPathLQP(lqp.path()), true);
        if (c.tolerancerFound) {
            ASSERT_TRUE(SetPathLQTol(tol.path()));
        }
        if (!c.lqpFound) {
            std::filesystem::remove(lqp.file("Lumivar3D.EXE"));
            ASSERT_FALSE(SetPathLQP(lqp.path()));  // the folder is kept, the program is not found
        }
        TestFolder spare;
        const std::string tolerancerFolder = tol.path();
        if (c.tolerancerFolderGone) std::filesystem::rename(tolerancerFolder, spare.file("moved"));
        run([&] {
            EXPECT_EQ(view.label, kRemoveLabelAtOpening);
            EXPECT_EQ(view.option, kRemoveFromDesignFiles);
            EXPECT_EQ(view.list.texts(), (Strings{"A/Mine", "B/Other", "C/Mine"}));
            view.list.setChecked(1, true);
            dialog.comDelSel_Click();
        });
        EXPECT_TRUE(dialog.result());
        EXPECT_EQ(view.open, false);
        EXPECT_EQ(namesIn(lqp.path()), c.lqpFound ? (Strings{"A", "C"}) : (Strings{"A", "B", "C"}));
        EXPECT_EQ(lqp.exists(kDesignBackupName), c.lqpFound);
        if (c.lqpFound) {
            EXPECT_EQ(lqp.read(kDesignBackupName), old3D);
        }
        if (c.tolerancerFolderGone) {
            EXPECT_FALSE(std::filesystem::exists(tolerancerFolder));  // not made again
            std::filesystem::rename(spare.file("moved"), tolerancerFolder);
        } else {
            EXPECT_EQ(namesIn(tol.path()), c.tolerancerFound ? (Strings{"A", "C"}) : (Strings{"A", "B", "C"}));
            EXPECT_EQ(tol.exists(kDesignBackupName), c.tolerancerFound);
        }
        EXPECT_TRUE(boxes.shown().empty());
        touch(lqp.file("Lumivar3D.EXE"));
    }
}

TEST_F(GlassesDelExtTest, RemovingEveryEntryLeavesOnlyTheBackups) {
    writeDesignFile({Material("A"), Material("B")});
    run([&] {
        view.list.setChecked(0, true);
        view.list.setChecked(1, true);
        dialog.comDelSel_Click();
    });
    EXPECT_TRUE(dialog.result());
    for (TestFolder* f : {&lqp, &tol}) {
        EXPECT_FALSE(f->exists(kDesignFileName));
        EXPECT_TRUE(f->exists(kDesignBackupName));
    }
}

TEST_F(GlassesDelExtTest, NothingCheckedOrCancelTouchesNoFileAndNoRow) {
    writeDesignFile({Material("A")});
    addRow(kGlassDataTable, 1, "Own");
    const auto before = DumpCatalogue(dbPath());
    for (int target : {kRemoveFromDesignFiles, kRemoveFromCatalogue}) {
        for (bool cancel : {false, true}) {
            run([&] {
                dialog.optUpdateProg_Click(target);
                ASSERT_EQ(view.list.count(), 1);
                if (cancel) {
                    view.list.setChecked(0, true);
                    dialog.comCancel_Click();
                } else {
                    dialog.comDelSel_Click();
                }
            });
            EXPECT_FALSE(dialog.result()) << target << cancel;
        }
    }
    EXPECT_FALSE(lqp.exists(kDesignBackupName));
    EXPECT_FALSE(tol.exists(kDesignBackupName));
    EXPECT_EQ(DumpCatalogue(dbPath()), before);
}

TEST_F(GlassesDelExtTest, ACatalogueRowIsDeletedOnlyFromTheTableItWasListedFrom) {
    addRow(kGlassDataTable, 1, "Own1");
    addRow(kGlassDataTable, 2, "K7", 0);
    addRow(kGlassDataTable, 3, "Own3");
    addRow(kArchiveTable, 3, "Arch3");  // the same ID in the other table
    addRow(kArchiveTable, 7, "Arch7");
    run([&] {
        dialog.optUpdateProg_Click(kRemoveFromCatalogue);
        EXPECT_EQ(view.label, "Select materials to remove from VitrarchQX database");
        // Choosing the catalogue again lists its rows once.
        dialog.optUpdateProg_Click(kRemoveFromCatalogue);
        EXPECT_EQ(view.list.texts(), (Strings{"Own1/Mine", "Own3/Mine", "Arch3/Mine", "Arch7/Mine"}));
        view.list.setChecked(2, true);
        dialog.comDelSel_Click();
    });
    EXPECT_TRUE(dialog.result());
    EXPECT_EQ(rows(kGlassDataTable), (Strings{"1 Own1", "2 K7", "3 Own3"}));
    EXPECT_EQ(rows(kArchiveTable), (Strings{"7 Arch7"}));

    run([&] {
        dialog.optUpdateProg_Click(kRemoveFromCatalogue);
        view.list.setChecked(0, true);
        view.list.setChecked(1, true);
        view.list.setChecked(2, true);
        dialog.comDelSel_Click();
    });
    EXPECT_EQ(rows(kGlassDataTable), (Strings{"2 K7"}));
    EXPECT_TRUE(rows(kArchiveTable).empty());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(GlassesDelExtTest, EachTargetShowsItsOwnListAndLabel) {
    writeDesignFile({Material("InFile")});
    addRow(kArchiveTable, 4, "InCatalogue");
    run([&] {
        EXPECT_EQ(view.label, "Select materials to remove from external program database");
        dialog.optUpdateProg_Click(kRemoveFromCatalogue);
        EXPECT_EQ(view.list.texts(), Strings{"InCatalogue/Mine"});
        dialog.optUpdateProg_Click(kRemoveFromDesignFiles);
        EXPECT_EQ(view.label, "Select materials to remove from Lumivar3D/Tol databases");
        EXPECT_EQ(view.list.texts(), Strings{"InFile/Mine"});
        EXPECT_EQ(dialog.mode(), kRemoveFromDesignFiles);
        dialog.comCancel_Click();
    });
    // Each use opens on the design file, whatever was chosen last.
    run([&] {
        dialog.optUpdateProg_Click(kRemoveFromCatalogue);
        dialog.comCancel_Click();
    });
    run([&] {
        EXPECT_EQ(dialog.mode(), kRemoveFromDesignFiles);
        EXPECT_EQ(view.label, kRemoveLabelAtOpening);
        EXPECT_EQ(view.list.texts(), Strings{"InFile/Mine"});
    });
    // Without the catalogue program its list stays empty and nothing is removed.
    ResetSetupPaths();
    run([&] {
        dialog.optUpdateProg_Click(kRemoveFromCatalogue);
        EXPECT_EQ(view.list.count(), 0);
        dialog.comDelSel_Click();
    });
    EXPECT_FALSE(dialog.result());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(GlassesDelExtTest, ARowThatCannotBeDeletedRollsTheWholeRemovalBack) {
    addRow(kGlassDataTable, 1, "First");
    addRow(kGlassDataTable, 2, "Kept");
    addRow(kGlassDataTable, 3, "Gone");
    {
        RawConnection raw(dbPath());
        ASSERT_TRUE(raw.exec("CREATE TRIGGER keep BEFORE DELETE ON GlassData WHEN OLD.GlassName = 'Kept' "
                             "BEGIN SELECT RAISE(ABORT, 'row kept'); END"));
    }
    struct Case {
        int checked;  // with First before it
        std::string error;
    };
    const Case cases[] = {
        {1, "1811\trow kept"},
        {2, "0\t"},  // deleted behind the dialog's back: no row to delete, no engine error
    };
    for (const auto& c : cases) {
        boxes.clear();
        const auto before = DumpCatalogue(dbPath());
        run([&] {
            dialog.optUpdateProg_Click(kRemoveFromCatalogue);
            view.list.setChecked(0, true);
            view.list.setChecked(c.checked, true);
            if (c.checked == 2) {
                RawConnection raw(dbPath());
                ASSERT_TRUE(raw.exec("DELETE FROM GlassData WHERE GlassID = 3"));
            }
            boxes.answer(kAnswerOk);
            dialog.comDelSel_Click();
        });
        EXPECT_FALSE(dialog.result());
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().style, kBoxExclamation);
        EXPECT_EQ(boxes.last().text, "Error while removing user glasses from database.\r\n" + c.error +
                                         "\r\n\r\nDatabase has been returned to original state!");
        auto expected = before;
        if (c.checked == 2) expected.pop_back();  // the row the other connection deleted
        EXPECT_EQ(DumpCatalogue(dbPath()), expected);
    }
}

TEST_F(GlassesDelExtTest, ADatabaseHeldByAnotherConnectionIsToldAndLeftAlone) {
    addRow(kGlassDataTable, 1, "Own");
    const auto before = DumpCatalogue(dbPath());
    const std::string told = "Unable to open database in path:\r\n" + vq.path() + "\r\nCould not use '" + dbPath() +
                             "'; file already in use.";
    // Held while the list is read, and held after it was read, when Remove opens it again.
    for (bool heldFromStart : {true, false}) {
        boxes.clear();
        auto other = std::make_unique<RawConnection>(dbPath());
        if (heldFromStart) {
            ASSERT_TRUE(other->exec("BEGIN IMMEDIATE; UPDATE GlassData SET Source = 'Busy';"));
        }
        run([&] {
            boxes.answer(kAnswerOk);
            dialog.optUpdateProg_Click(kRemoveFromCatalogue);
            if (heldFromStart) {
                EXPECT_EQ(view.list.count(), 0);
                return;
            }
            ASSERT_EQ(view.list.count(), 1);
            view.list.setChecked(0, true);
            ASSERT_TRUE(other->exec("BEGIN IMMEDIATE; UPDATE GlassData SET Source = 'Busy';"));
            dialog.comDelSel_Click();
        });
        EXPECT_FALSE(dialog.result());
        ASSERT_EQ(boxes.shown().size(), 1u) << heldFromStart;
        EXPECT_EQ(boxes.last().style, kBoxExclamation);
        EXPECT_EQ(boxes.last().text, told);
        ASSERT_TRUE(other->exec("ROLLBACK"));
        other.reset();
        EXPECT_EQ(DumpCatalogue(dbPath()), before);
    }
}

}  // namespace
