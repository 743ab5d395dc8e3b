#include "shell/GlassesListLogic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/GlassesList.h"
#include "shell/MainMDILogic.h"
#include "shell/ManageForms.h"
#include "platform/MemoryGrid.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

GlassRecord MakeGlass(const std::string& name, const std::string& source, bool melt = false) {
    GlassRecord g;
    InitGlassRecord(g);
    g.definition.name.set(name);
    g.definition.source.set(source);
    g.melt.meltFlag = melt ? kTrue : kFalse;
    return g;
}

class ListWindowTest : public ::testing::Test {
protected:
    ListWindowTest() : store(boxes, clock, folder.path()), forms(boxes, [] { return true; }), list(store, forms, grid) {
        store.SetGlasses({MakeGlass("N-BK7", "Schott"), MakeGlass("N-BK7 melt 12", "Lab", true), MakeGlass("F&D", "R&D")});
        store.SetRefreshCallback([this] { list.UpdateTable(); });
        list.setPopup([this](int n, const std::string& text) { popups.emplace_back(n, text); });
        list.Form_Load();
    }

    TestFolder folder;
    ScriptedBoxes boxes;
    FixedClock clock;
    GlassesList store;
    ManageForms forms;
    MemoryGrid grid;
    GlassesListLogic list;
    std::vector<std::pair<int, std::string>> popups;
};

TEST_F(ListWindowTest, TheGridListsTheCollectionInOrderLockedWithMeltGlassesMarked) {
    EXPECT_EQ(grid.maxCols(), 2);
    EXPECT_EQ(grid.maxRows(), 3);
    EXPECT_EQ(grid.text(1, 0), "Material");
    EXPECT_EQ(grid.text(2, 0), "Source");
    EXPECT_EQ(grid.blockText(GridBlock::range(1, 1, 2, 3)), "N-BK7\tSchott\r\nN-BK7 melt 12\tLab\r\nF&D\tR&D\r\n");
    EXPECT_TRUE(grid.locked(1, 1));
    EXPECT_TRUE(grid.locked(2, 3));
    EXPECT_EQ(grid.backColour(1, 1), 0xFFFFFFu);
    EXPECT_EQ(grid.backColour(2, 2), 0x80FFFFu);
    EXPECT_EQ(grid.gridBackColour(), 0x5AD1A8u);
    EXPECT_TRUE(grid.redraw());
}

TEST_F(ListWindowTest, AStoreAndRefreshShowsTheNewOrderAtOnce) {
    store.SetGlasses({MakeGlass("Z", "Lab"), MakeGlass("A", "Lab")});
    store.RefreshListWindow();
    EXPECT_EQ(grid.maxRows(), 2);
    EXPECT_EQ(grid.blockText(GridBlock::range(1, 1, 2, 2)), "Z\tLab\r\nA\tLab\r\n");
    EXPECT_EQ(grid.backColour(1, 2), 0xFFFFFFu);  // the melt colour of the old row 2 is gone
    store.SetGlasses({});
    store.RefreshListWindow();
    EXPECT_EQ(grid.maxRows(), 0);
}

// A .GLZ import can bring names with a TAB or a line break; each stays in its
// cell, so row i is still record i.
TEST_F(ListWindowTest, NamesWithTabsOrLineBreaksKeepEveryRowOnItsRecord) {
    store.SetGlasses({MakeGlass("A\tB", "Src\tX"), MakeGlass("LINE\r\nBREAK", "Lab\n2", true), MakeGlass("C", "D")});
    store.RefreshListWindow();
    ASSERT_EQ(grid.maxRows(), 3);
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"A\tB", "Src\tX"}, {"LINE\r\nBREAK", "Lab\n2"}, {"C", "D"}};
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(grid.text(1, r), rows[static_cast<std::size_t>(r - 1)].first) << r;
        EXPECT_EQ(grid.text(2, r), rows[static_cast<std::size_t>(r - 1)].second) << r;
    }
    EXPECT_EQ(grid.backColour(2, 2), 0x80FFFFu);
    EXPECT_EQ(grid.backColour(1, 3), 0xFFFFFFu);
    grid.userRightClick(1, 3);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0], (std::pair<int, std::string>{3, "C/D"}));
}

TEST_F(ListWindowTest, ARightClickOnAMaterialOffersTheMenuForItsRow) {
    grid.userRightClick(2, 3);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].first, 3);
    EXPECT_EQ(popups[0].second, "F&D/R&D");
    EXPECT_EQ(grid.activeRow(), 3);
}

TEST_F(ListWindowTest, NoMenuOnTheHeadingsOrWhileAPageIsOpen) {
    grid.userRightClick(1, 0);
    forms.SetCurrentPage(kPageManage);
    grid.userRightClick(1, 1);
    EXPECT_TRUE(popups.empty());
}

}  // namespace
