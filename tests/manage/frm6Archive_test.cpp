// The Archive page on a temporary catalogue database: the grids, archive and
// restore of one and of all glasses with the protected ones, the rollback of a
// failed click, and a database held by another connection.
#include "manage/frm6Archive.h"

#include <gtest/gtest.h>

#include "manage/ManageFixtures.h"
#include "platform/BusyCursor.h"
#include "platform/MemoryGrid.h"
#include "shell/ManageForms.h"
#include "support/FakePlacedWindow.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

using Strings = std::vector<std::string>;

class FakeArchiveView : public IArchiveView {
public:
    explicit FakeArchiveView(frm6Archive& page) : m_page(page) { page.setView(this); }
    IGrid& ssGlassCurr() override { return current; }
    IGrid& ssGlassArchive() override { return archive; }
    void setArchiveEnabled(bool enabled) override { archiveEnabled = enabled; }
    void setRestoreEnabled(bool enabled) override { restoreEnabled = enabled; }
    void setSortOrder(int index) override { sortOrder = index; }
    IPlacedWindow& placement() override { return placed; }
    void showWindow(bool) override { shown = true; }
    void closeWindow() override {
        shown = false;
        m_page.Form_Unload();
    }

    MemoryGrid current;
    MemoryGrid archive;
    FakePlacedWindow placed{"frm6Archive"};
    bool archiveEnabled = false;
    bool restoreEnabled = false;
    int sortOrder = 99;
    bool shown = false;

private:
    frm6Archive& m_page;
};

// Each row of a grid as "ID|Material|Source|Code|Status".
Strings gridRows(const MemoryGrid& g) {
    Strings out;
    for (int r = 1; r <= g.maxRows(); ++r) {
        std::string row;
        for (int c = 1; c <= 5; ++c) row += (c > 1 ? "|" : "") + g.text(c, r);
        out.push_back(row);
    }
    return out;
}

Strings column(const MemoryGrid& g, int col) {
    Strings out;
    for (int r = 1; r <= g.maxRows(); ++r) out.push_back(g.text(col, r));
    return out;
}

class ArchivePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateCatalogueDatabase(dbPath()));
        addRow(kGlassDataTable, 5, "N-BK7", "Schott", "R", 517642);
        addRow(kGlassDataTable, 2, "K7", "Schott", "A", 511604);
        addRow(kGlassDataTable, 9, "Mine1", "Mine", "", 500000);
        addRow(kGlassDataTable, 3, "F2", "Schott", "O", 620364);
        addRow(kGlassDataTable, 4, "S-LAH64", "Ohara", "E", 788474);
        addRow(kArchiveTable, 1, "Old", "Ohara", "X", 0);
    }
    void TearDown() override {
        if (page.isOpen()) page.ForceUnload();
    }

    std::string dbPath() const { return folder.file(kCatalogueFileName); }
    void addRow(const char* table, std::int64_t id, const std::string& name, const std::string& source,
                const std::string& status, std::int64_t code) {
        CatalogueDatabase db;
        ASSERT_TRUE(db.open(folder.path()));
        ASSERT_TRUE(db.addRow(table, {{"GlassID", id}, {"s1", std::int64_t{0}}, {"GlassName", name},
                                      {"Source", source}, {"GlassCode", code}, {"Status", status},
                                      {"nd", 1.5}, {"TT1", "note " + name}}));
    }
    Strings rows(const char* table) const { return TableRows(dbPath(), table); }
    // Every column of the row with that ID, wherever it is.
    std::vector<std::string> wholeRow(std::int64_t id) {
        RawConnection raw(dbPath());
        const std::string where = " WHERE GlassID = " + std::to_string(id);
        auto r = raw.rows("SELECT * FROM GlassData" + where);
        for (auto& a : raw.rows("SELECT * FROM Archive" + where)) r.push_back(a);
        EXPECT_EQ(r.size(), 1u) << id;
        return r.empty() ? std::vector<std::string>{} : r.front();
    }
    void open() {
        page.Display(false);
        ASSERT_TRUE(view.shown);
    }
    // Another connection can take the write lock: no transaction was left open.
    bool writable() {
        RawConnection other(dbPath());
        sqlite3_busy_timeout(other.get(), 0);
        return other.exec("BEGIN IMMEDIATE") && other.exec("ROLLBACK");
    }

    TestFolder folder;
    ScriptedBoxes boxes;
    RecordingBusyCursor cursor;
    std::vector<std::pair<int, bool>> switches;
    frm6Archive page{ArchivePageServices{&boxes, &cursor,
                                         [this](int p, bool o) { switches.emplace_back(p, o); },
                                         [this] { return folder.path(); }}};
    FakeArchiveView view{page};
};

TEST(ArchiveStatusTest, StatusCodesAndProtectedGlasses) {
    const std::pair<const char*, const char*> codes[] = {
        {"A", "  Available?"}, {"E", "  Eco"}, {"O", "  Obsolete"}, {"R", "  Recommended"},
        {" R ", "  Recommended"}, {"r", ""}, {"X", ""}, {"", ""}};
    for (const auto& [code, text] : codes) EXPECT_EQ(StatusText(code), text) << code;
    EXPECT_TRUE(IsProtectedGlass("K7", "Schott"));
    EXPECT_TRUE(IsProtectedGlass(" f2 ", "SCHOTT"));
    EXPECT_FALSE(IsProtectedGlass("K7", "Mine"));
    EXPECT_FALSE(IsProtectedGlass("N-K7", "Schott"));
}

TEST_F(ArchivePageTest, OpeningShowsBothTablesInTheirOrder) {
    open();
    EXPECT_GT(view.placed.moves, 0);  // centred
    EXPECT_EQ(view.sortOrder, -1);
    EXPECT_EQ(gridRows(view.current), (Strings{"5|N-BK7|Schott|517642|  Recommended", "2|K7|Schott|511604|  Available?",
                                               "9|Mine1|Mine|500000|", "3|F2|Schott|620364|  Obsolete",
                                               "4|S-LAH64|Ohara|788474|  Eco"}));
    EXPECT_EQ(gridRows(view.archive), (Strings{"1|Old|Ohara|0|"}));
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(view.current.text(c, 0), kArchiveHeadings[c - 1]);
    EXPECT_TRUE(view.archiveEnabled);
    EXPECT_TRUE(view.restoreEnabled);
    EXPECT_EQ(page.currentIDs(), (std::vector<std::int64_t>{5, 2, 9, 3, 4}));
    EXPECT_FALSE(cursor.busy);
    EXPECT_TRUE(boxes.shown().empty());

    page.comOK_Click();
    EXPECT_FALSE(page.isOpen());
    EXPECT_EQ(switches, (std::vector<std::pair<int, bool>>{{kPageArchive, false}}));
    page.ForceUnload();  // a closed page ignores a second close
    EXPECT_EQ(switches.size(), 1u);
}

TEST_F(ArchivePageTest, ArchiveAndRestoreOneGlassMoveItsWholeRow) {
    {
        RawConnection raw(dbPath());
        ASSERT_TRUE(raw.exec("DELETE FROM Archive"));
    }
    open();
    EXPECT_FALSE(view.restoreEnabled);
    EXPECT_TRUE(view.archive.maxRows() == 0);
    const auto before = wholeRow(9);

    view.current.userSelect({{3, 3}});  // Mine1
    page.comArchive_Click();
    EXPECT_EQ(rows(kGlassDataTable), (Strings{"5 N-BK7", "2 K7", "3 F2", "4 S-LAH64"}));
    EXPECT_EQ(rows(kArchiveTable), (Strings{"9 Mine1"}));
    EXPECT_EQ(wholeRow(9), before);
    EXPECT_EQ(column(view.archive, 2), (Strings{"Mine1"}));
    EXPECT_TRUE(view.restoreEnabled);
    EXPECT_TRUE(view.current.selectedBlocks().empty());  // rows have moved under the selection

    // Without a selection the row last clicked; a click with Ctrl held is not remembered.
    view.archive.userClick(2, 1);
    view.archive.userKeyDown(kKeyControl);
    view.archive.userClick(2, 0);
    view.archive.userKeyUp(kKeyControl);
    page.comDeArchive_Click();
    EXPECT_EQ(rows(kGlassDataTable), (Strings{"5 N-BK7", "2 K7", "3 F2", "4 S-LAH64", "9 Mine1"}));
    EXPECT_TRUE(rows(kArchiveTable).empty());
    EXPECT_EQ(wholeRow(9), before);
    EXPECT_FALSE(view.restoreEnabled);
    EXPECT_FALSE(cursor.busy);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(writable());
}

TEST_F(ArchivePageTest, ArchivingAllAsksFirstAndKeepsTheProtectedGlasses) {
    open();
    view.current.userSelect({{-1, -1}});
    boxes.answer(kAnswerCancel);
    page.comArchive_Click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxQuestionOkCancel);
    EXPECT_EQ(boxes.last().text, "Are you really sure that you want to archive ALL the glasses in Vitrarch?");
    EXPECT_EQ(rows(kArchiveTable), (Strings{"1 Old"}));
    EXPECT_FALSE(cursor.busy);
    EXPECT_TRUE(writable());  // Cancel left no transaction open

    view.current.userSelect({{-1, -1}});
    boxes.answer(kAnswerOk);
    page.comArchive_Click();
    EXPECT_EQ(rows(kGlassDataTable), (Strings{"2 K7", "3 F2"}));
    EXPECT_EQ(rows(kArchiveTable), (Strings{"1 Old", "5 N-BK7", "9 Mine1", "4 S-LAH64"}));
    EXPECT_TRUE(view.archiveEnabled);  // K7 and F2 stay

    // Restoring all asks nothing; then every glass is current and nothing is left to restore.
    view.archive.userSelect({{-1, -1}});
    page.comDeArchive_Click();
    EXPECT_EQ(rows(kGlassDataTable), (Strings{"2 K7", "3 F2", "1 Old", "5 N-BK7", "9 Mine1", "4 S-LAH64"}));
    EXPECT_TRUE(rows(kArchiveTable).empty());
    EXPECT_FALSE(view.restoreEnabled);
    EXPECT_EQ(view.archive.maxRows(), 0);
    EXPECT_EQ(boxes.shown().size(), 2u);
}

TEST_F(ArchivePageTest, ArchivingEveryRowDisablesArchiveUntilOneIsRestored) {
    {
        RawConnection raw(dbPath());
        ASSERT_TRUE(raw.exec("DELETE FROM GlassData WHERE GlassName IN ('K7', 'F2')"));
    }
    open();
    // Overlapping blocks in the order selected: each glass moves once.
    view.current.userSelect({{3, 3}, {1, 2}, {2, -1}});
    page.comArchive_Click();
    EXPECT_TRUE(rows(kGlassDataTable).empty());
    EXPECT_EQ(rows(kArchiveTable), (Strings{"1 Old", "4 S-LAH64", "5 N-BK7", "9 Mine1"}));
    EXPECT_FALSE(view.archiveEnabled);
    view.archive.userSelect({{2, 2}});
    page.comDeArchive_Click();
    EXPECT_EQ(rows(kGlassDataTable), (Strings{"4 S-LAH64"}));
    EXPECT_TRUE(view.archiveEnabled);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ArchivePageTest, AFailedMoveRollsTheWholeClickBack) {
    struct Case {
        const char* what;
        const char* sql;  // done behind the page's back after it opened
        bool archive;
        std::vector<RowSpan> selection;
        std::string told;
    };
    const Case cases[] = {
        {"the ID is taken in the archive", "INSERT INTO Archive (GlassID, GlassName) VALUES (4, 'Taken')", true,
         {{1, 1}, {5, 5}},
         "Error in archiving glass. Process rolled back.\r\n\r\n3022\tThe changes were not made because they would "
         "create duplicate values in the index"},
        {"the row is gone", "DELETE FROM GlassData WHERE GlassID = 4", true, {{1, 1}, {5, 5}},
         "Error in archiving glass. Process rolled back.\r\n\r\n3021\tNo current record."},
        // A rule of the catalogue program's that keeps the row silently: a copy
        // without its deletion would leave the glass in both tables.
        {"the row is kept", "CREATE TRIGGER keep BEFORE DELETE ON GlassData WHEN OLD.GlassID = 4 "
                            "BEGIN SELECT RAISE(IGNORE); END",
         true, {{1, 1}, {5, 5}}, "Error in archiving glass. Process rolled back.\r\n\r\n3021\tNo current record."},
        // The same rule on the other table drops the copy: the deletion alone
        // would lose the glass.
        {"the copy is dropped", "CREATE TRIGGER keep BEFORE INSERT ON Archive WHEN NEW.GlassID = 4 "
                                "BEGIN SELECT RAISE(IGNORE); END",
         true, {{1, 1}, {5, 5}}, "Error in archiving glass. Process rolled back.\r\n\r\n3021\tNo current record."},
        {"restoring onto a taken ID", "INSERT INTO GlassData (GlassID, GlassName) VALUES (1, 'Taken')", false,
         {{1, 1}},
         "Error in restoring glass.  Process rolled back. \r\n\r\n3022\tThe changes were not made because they "
         "would create duplicate values in the index"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        open();
        {
            RawConnection raw(dbPath());
            ASSERT_TRUE(raw.exec(c.sql));
        }
        const auto before = DumpCatalogue(dbPath());
        (c.archive ? view.current : view.archive).userSelect(c.selection);
        boxes.clear();
        boxes.answer(kAnswerOk);
        c.archive ? page.comArchive_Click() : page.comDeArchive_Click();
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().style, kBoxExclamation);
        EXPECT_EQ(boxes.last().text.rfind(c.told, 0), 0u) << boxes.last().text;
        EXPECT_EQ(DumpCatalogue(dbPath()), before);
        EXPECT_TRUE(writable());
        EXPECT_FALSE(cursor.busy);
        // The grids show the tables as they are now.
        EXPECT_EQ(column(view.current, 1).size(), rows(kGlassDataTable).size());
        EXPECT_EQ(column(view.archive, 1).size(), rows(kArchiveTable).size());
        page.comOK_Click();
        // Back to the fixture's tables for the next case.
        RawConnection raw(dbPath());
        ASSERT_TRUE(raw.exec("DROP TRIGGER IF EXISTS keep; DELETE FROM Archive WHERE GlassName = 'Taken'; "
                             "DELETE FROM GlassData WHERE GlassName = 'Taken';"));
        if (rows(kGlassDataTable).size() == 4) addRow(kGlassDataTable, 4, "S-LAH64", "Ohara", "E", 788474);
    }
}

TEST_F(ArchivePageTest, ADatabaseHeldByAnotherConnection) {
    {
        // Held as the page opens: told, and the page closes again.
        RawConnection other(dbPath());
        ASSERT_TRUE(other.exec("BEGIN IMMEDIATE; UPDATE GlassData SET Source = 'Busy';"));
        boxes.answer(kAnswerOk);
        page.Display(false);
        EXPECT_FALSE(view.shown);
        EXPECT_FALSE(page.isOpen());
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().style, kBoxExclamation);
        EXPECT_EQ(boxes.last().text,
                  "The database file 'TessaralExA.MDB' is already open.  Please close Vitrarch, and try again");
        EXPECT_EQ(switches, (std::vector<std::pair<int, bool>>{{kPageArchive, false}}));
        EXPECT_FALSE(cursor.busy);
        ASSERT_TRUE(other.exec("ROLLBACK"));
    }
    // Taken while the page is open: the click changes nothing and says why.
    open();
    const auto before = DumpCatalogue(dbPath());
    RawConnection other(dbPath());
    ASSERT_TRUE(other.exec("BEGIN IMMEDIATE; UPDATE GlassData SET Source = 'Busy';"));
    view.current.userSelect({{1, 1}});
    boxes.answer(kAnswerOk);
    page.comArchive_Click();
    EXPECT_EQ(boxes.last().text.rfind("Error in archiving glass. Process rolled back.\r\n\r\n3045\t", 0), 0u)
        << boxes.last().text;
    ASSERT_TRUE(other.exec("ROLLBACK"));
    EXPECT_EQ(DumpCatalogue(dbPath()), before);
    EXPECT_EQ(gridRows(view.current).size(), 5u);
}

TEST_F(ArchivePageTest, AMissingDatabaseIsToldByTheEngine) {
    TestFolder empty;
    frm6Archive other{ArchivePageServices{&boxes, &cursor, nullptr, [&] { return empty.path(); }}};
    FakeArchiveView otherView{other};
    boxes.answer(kAnswerOk);
    other.Display(false);
    EXPECT_FALSE(other.isOpen());
    EXPECT_EQ(boxes.last().text, "Could not find file '" + empty.path() + "TessaralExA.mdb'.");
}

TEST_F(ArchivePageTest, SortingOrdersBothGridsAndHoldsAfterAMove) {
    addRow(kArchiveTable, 12, "K5", "Schott", "R", 522595);
    addRow(kArchiveTable, 11, "BK7", "Schott", "R", 517642);
    open();
    struct Case {
        int index;
        Strings currentIDs;
    };
    const Case cases[] = {
        {0, {"2", "3", "4", "5", "9"}},
        {1, {"3", "2", "9", "5", "4"}},  // by material
        {2, {"9", "4", "3", "2", "5"}},  // by source, then material
        {3, {"9", "2", "5", "3", "4"}},  // by code
        {4, {"2", "4", "3", "5", "9"}},  // by status, then source, then material; no status last
    };
    for (const auto& c : cases) {
        page.cmbSortOrder_Click(c.index);
        EXPECT_EQ(column(view.current, 1), c.currentIDs) << c.index;
    }
    EXPECT_EQ(column(view.archive, 1), (Strings{"11", "12", "1"}));  // R Schott BK7, R Schott K5, X: no status text
    page.cmbSortOrder_Click(1);
    view.current.userSelect({{1, 1}});  // F2 is protected: nothing moves, the grids reload
    page.comArchive_Click();
    EXPECT_EQ(column(view.current, 1), (Strings{"3", "2", "9", "5", "4"}));
    EXPECT_EQ(column(view.archive, 2), (Strings{"BK7", "K5", "Old"}));
}

}  // namespace
