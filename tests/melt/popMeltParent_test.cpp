#include "melt/popMeltParent.h"

#include <gtest/gtest.h>

#include <functional>

#include "manage/ManageFixtures.h"
#include "melt/MeltFixtures.h"
#include "model/FileUtil.h"
#include "platform/BusyCursor.h"
#include "platform/MemoryGrid.h"
#include "platform/Settings.h"
#include "support/FakePlacedWindow.h"
#include "support/ScriptedBoxes.h"

namespace {

// The dialog without a window: what the page shows, and the user's actions
// as a script run while it is "modal".
class FakeParentView : public IMeltParentView {
public:
    IGrid& glassGrid() override { return grid; }
    IPlacedWindow& placement() override { return place; }
    void setMakers(const std::vector<std::string>& m) override {
        makers = m;
        selectedMaker = -1;
    }
    void selectMaker(int index) override { selectedMaker = index; }
    void selectSortOrder(int index) override { sortOrder = index; }
    void setGridVisible(bool visible) override { gridVisible = visible; }
    void setSelectedGlass(const std::string& text, bool visible) override {
        selectedText = text;
        selectedVisible = visible;
    }
    void setOkEnabled(bool enabled) override { okEnabled = enabled; }
    void showModal() override {
        ++shown;
        if (user) user();
    }
    void closeWindow() override { ++closed; }

    MemoryGrid grid;
    FakePlacedWindow place{"popMeltParent"};
    std::vector<std::string> makers;
    int selectedMaker = -1;
    int sortOrder = -1;
    bool gridVisible = true;
    std::string selectedText;
    bool selectedVisible = true;
    bool okEnabled = true;
    int shown = 0;
    int closed = 0;
    std::function<void()> user;
};

class PopMeltParentTest : public ::testing::Test {
protected:
    void SetUp() override {
        addGlass(3, "N-SF11", "Schott", "R", 785257);
        addGlass(1, "N-BK7", "Schott", "A", 517642);
        addGlass(2, "F2", "SCHOTT", "R", 620364);
        addGlass(7, "S-BSL7", "Ohara", "E", 516641);
        addGlass(5, "N-SK16", "Schott", "O", 620603);
        page.setView(&view);
    }
    void addGlass(std::int64_t id, const std::string& name, const std::string& source, const std::string& status,
                  std::int32_t code) {
        GlassRecord g = SellmeierParent(name, source);
        g.properties.status.set(status);
        g.definition.glassCode = code;
        g.definition.coefficients[0] = 0.5 + code * 1e-6;  // nd rises with the code
        cat.addGlass(id, g);
    }
    MeltParentServices services() {
        MeltParentServices s;
        s.boxes = &boxes;
        s.settings = &settings;
        s.cursor = &cursor;
        s.catalogueFolder = [this] { return folder; };
        return s;
    }
    int makerIndex(const std::string& maker) const {
        for (std::size_t i = 0; i < view.makers.size(); ++i)
            if (view.makers[i] == maker) return static_cast<int>(i);
        ADD_FAILURE() << maker;
        return -1;
    }
    std::vector<std::string> column(int col) const {
        std::vector<std::string> out;
        for (int r = 1; r <= view.grid.maxRows(); ++r) out.push_back(view.grid.text(col, r));
        return out;
    }
    int rowOf(const std::string& name) const {
        for (int r = 1; r <= view.grid.maxRows(); ++r)
            if (view.grid.text(2, r) == "  " + name) return r;
        ADD_FAILURE() << name;
        return 1;
    }

    CatalogueFolder cat;
    std::string folder = cat.dir();
    ScriptedBoxes boxes;
    MemorySettings settings;
    RecordingBusyCursor cursor;
    FakeParentView view;
    popMeltParent page{services()};
};

using Strings = std::vector<std::string>;

TEST_F(PopMeltParentTest, FirstUseChoosesAMakerThenAGlassAndRemembersTheMaker) {
    GlassRecord glass = SellmeierParent("Untouched", "Mine");
    view.user = [&] {
        EXPECT_EQ(view.makers,
                  (Strings{"Corning", "Hikari", "Hoya", "Ohara", "Pilkington", "Schott", "Sumita", "CDGM"}));
        EXPECT_EQ(view.selectedMaker, -1);  // no maker stored yet
        EXPECT_FALSE(view.gridVisible);
        EXPECT_FALSE(view.okEnabled);
        EXPECT_EQ(view.sortOrder, 0);
        EXPECT_EQ(view.grid.blockText(GridBlock::range(1, 0, 6, 0)), "ID\tMaterial\tCode\tIndex\tV-Val\tStatus\r\n");
        EXPECT_EQ(view.grid.colWidth(1), 4);

        view.grid.userClick(1, 1);  // nothing to click yet
        page.lstMakers_Click(makerIndex("Schott"));
        EXPECT_TRUE(view.gridVisible);
        EXPECT_FALSE(view.okEnabled);
        EXPECT_FALSE(view.selectedVisible);
        EXPECT_EQ(column(1), (Strings{"1", "2", "3", "5"}));  // by ID; makers match ignoring case
        EXPECT_EQ(column(2), (Strings{"  N-BK7", "  F2", "  N-SF11", "  N-SK16"}));
        EXPECT_EQ(column(3), (Strings{"517642", "620364", "785257", "620603"}));
        EXPECT_EQ(view.grid.text(6, 1), "  Available?");
        EXPECT_TRUE(view.grid.locked(2, 1));
        EXPECT_EQ(view.grid.text(2, 0), "Material");  // the headings stay

        view.grid.userClick(3, rowOf("N-SF11"));
        EXPECT_TRUE(view.okEnabled);
        EXPECT_TRUE(view.selectedVisible);
        EXPECT_EQ(view.selectedText, "Select glass: Schott  N-SF11");
        page.comOK_Click();
    };
    ASSERT_TRUE(page.Display(glass));
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(glass.definition.name.str(), "N-SF11");
    EXPECT_EQ(glass.definition.formulaType, kSellmeier);
    EXPECT_EQ(glass.definition.glassCode, 785257);
    EXPECT_EQ(glass.melt.parentName.str(), "N-SF11");
    EXPECT_EQ(glass.melt.parentSource.str(), "Schott");
    EXPECT_EQ(glass.melt.meltCode.str(), "");
    EXPECT_EQ(glass.melt.pairCount, 0);
    EXPECT_EQ(settings.get(kMeltParentSection, kMeltParentMakerKey), std::optional<std::string>("Schott"));
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_FALSE(cursor.busy);
}

TEST_F(PopMeltParentTest, TheRememberedMakerIsListedAtOnce) {
    settings.set(kMeltParentSection, kMeltParentMakerKey, "Ohara");
    GlassRecord glass;
    view.user = [&] {
        EXPECT_EQ(view.selectedMaker, makerIndex("Ohara"));
        EXPECT_TRUE(view.gridVisible);
        EXPECT_EQ(column(2), (Strings{"  S-BSL7"}));
        EXPECT_EQ(view.grid.text(6, 1), "  Eco");
        page.comCancel_Click();
    };
    EXPECT_FALSE(page.Display(glass));

    for (const char* stored : {"Nikon", "ohara"}) {  // no longer listed; not the list's spelling
        settings.set(kMeltParentSection, kMeltParentMakerKey, stored);
        view.user = [&] {
            EXPECT_EQ(view.selectedMaker, -1) << stored;
            EXPECT_EQ(view.grid.maxRows(), 0) << stored;
            EXPECT_FALSE(view.gridVisible) << stored;
            page.comCancel_Click();
        };
        EXPECT_FALSE(page.Display(glass));
    }
}

TEST_F(PopMeltParentTest, SortOrdersAndStatusTexts) {
    view.user = [&] {
        page.lstMakers_Click(makerIndex("Schott"));
        const std::pair<int, Strings> orders[] = {
            {1, {"  F2", "  N-BK7", "  N-SF11", "  N-SK16"}},  // Material
            {3, {"  N-BK7", "  F2", "  N-SK16", "  N-SF11"}},  // Index
            {5, {"  N-BK7", "  N-SK16", "  F2", "  N-SF11"}},  // Status, then Material
            {0, {"  N-BK7", "  F2", "  N-SF11", "  N-SK16"}},  // ID
        };
        for (const auto& [index, names] : orders) {
            page.cmbSortOrder_Click(index);
            EXPECT_EQ(page.sortColumn(), index + 1);
            EXPECT_EQ(column(2), names) << index;
        }
        page.comCancel_Click();
    };
    GlassRecord glass;
    EXPECT_FALSE(page.Display(glass));

    const std::pair<const char*, const char*> statuses[] = {{"A", "  Available?"}, {" R ", "  Recommended"},
                                                            {"Eco", "  Eco"},        {"O", "  Obsolete"},
                                                            {"X", "X"},              {"", ""}};
    for (const auto& [status, text] : statuses) EXPECT_EQ(popMeltParent::StatusText(status), text) << status;
}

TEST_F(PopMeltParentTest, ASecondGlassLeavesNothingOfTheFirst) {
    GlassRecord tr = SellmeierParent("Tr", "Hoya");
    tr.standardAbsorption.fill(static_cast<float>(kEmptyAbsorption));
    for (std::size_t k = 20; k < 30; ++k) tr.standardAbsorption[k] = 0.001f;
    tr.properties.knoop.set("500");
    cat.addGlass(20, tr);
    cat.addRow({{"GlassID", std::int64_t{21}}, {"GlassName", "Bare"}, {"Source", "Hoya"}});
    GlassRecord glass;
    view.user = [&] {
        page.lstMakers_Click(makerIndex("Hoya"));
        view.grid.userClick(1, rowOf("Tr"));
        EXPECT_EQ(page.record().measured.transCount, 10);
        view.grid.userClick(1, rowOf("Bare"));
        page.comOK_Click();
    };
    ASSERT_TRUE(page.Display(glass));
    EXPECT_EQ(glass.definition.name.str(), "Bare");
    EXPECT_EQ(glass.measured.transCount, 0);
    EXPECT_EQ(glass.measured.transWavelength[1], 0.0f);
    EXPECT_EQ(glass.definition.transWavelength[0], 0.0f);
    EXPECT_EQ(glass.properties.knoop.str(), "");
    EXPECT_EQ(glass.definition.formulaType, 0);
}

TEST_F(PopMeltParentTest, CancelTheCloseBoxOrAFailedOpenLeaveEverything) {
    settings.set(kMeltParentSection, kMeltParentMakerKey, "Schott");
    const GlassRecord before = SellmeierParent("Kept", "Mine");
    for (const char* how : {"cancel", "close box"}) {
        GlassRecord glass = before;
        view.user = [&] {
            page.lstMakers_Click(makerIndex("Ohara"));
            view.grid.userClick(1, 1);
            EXPECT_TRUE(view.okEnabled);
            if (std::string(how) == "cancel") page.comCancel_Click();
            else page.Form_Unload();
        };
        EXPECT_FALSE(page.Display(glass)) << how;
        EXPECT_EQ(glass, before) << how;
        EXPECT_EQ(settings.get(kMeltParentSection, kMeltParentMakerKey), std::optional<std::string>("Schott"));
    }

    TestFolder empty;
    folder = empty.path();
    boxes.answer(kAnswerOk);
    view.shown = 0;
    GlassRecord glass = before;
    EXPECT_FALSE(page.Display(glass));
    EXPECT_EQ(view.shown, 0);
    EXPECT_EQ(glass, before);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxPlain);
    EXPECT_EQ(boxes.last().text, "Could not find file '" + empty.path() + kCatalogueFileName + "'.");
    EXPECT_FALSE(FileExists(empty.file(kCatalogueFileName)));
}

TEST_F(PopMeltParentTest, AFailingQueryIsToldOnceAndTheGridKeepsItsRows) {
    GlassRecord glass;
    view.user = [&] {
        page.lstMakers_Click(makerIndex("Schott"));
        ASSERT_EQ(view.grid.maxRows(), 4);
        view.grid.userClick(1, rowOf("N-SF11"));
        {
            RawConnection raw(cat.path());
            ASSERT_TRUE(raw.exec("DROP TABLE GlassData"));
        }
        boxes.answer(kAnswerOk);
        page.lstMakers_Click(makerIndex("Ohara"));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().style, kBoxInformation);
        EXPECT_EQ(boxes.last().text, "There is an error in the database query");
        EXPECT_EQ(view.grid.maxRows(), 4);
        // The glass chosen before is still the one OK hands over, with its own maker.
        EXPECT_TRUE(view.okEnabled);
        page.comOK_Click();
    };
    ASSERT_TRUE(page.Display(glass));
    EXPECT_EQ(glass.melt.parentName.str(), "N-SF11");
    EXPECT_EQ(glass.melt.parentSource.str(), "Schott");
    EXPECT_EQ(settings.get(kMeltParentSection, kMeltParentMakerKey), std::optional<std::string>("Schott"));
}

}  // namespace
