#include "shell/ManageForms.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/ToolRibbon.h"
#include "support/ScriptedBoxes.h"

namespace {

// The main window's side: a real ribbon group whose reports go to the
// switcher, as the main window wires them.
class FakeHost : public ISwitcherHost {
public:
    explicit FakeHost(ManageForms& forms, std::vector<std::string>& log) : ribbon(kWorkPageCount), m_log(log) {
        ribbon.setHandler([&forms](int index, bool down) { forms.SwitchPage(index, down); });
        forms.setHost(this);
    }
    bool ribbonDown(int page) const override { return ribbon.isDown(page); }
    void raiseRibbon(int page) override { ribbon.setDown(page, false); }
    void UpdateWallPaper() override { m_log.push_back("wallpaper"); }
    void restorePointer() override { ++pointerRestores; }

    ToolRibbon ribbon;
    int pointerRestores = 0;

private:
    std::vector<std::string>& m_log;
};

// A page whose unload calls back into the switcher, as every work page's
// does, and which ignores a close while it is closing.
class FakePage : public IWorkPage {
public:
    FakePage(int number, ManageForms& forms, std::vector<std::string>& log)
        : m_number(number), m_forms(forms), m_log(log) {}

    void Display(bool bModal) override {
        m_log.push_back("open " + std::to_string(m_number) + (bModal ? " modal" : ""));
        open = true;
        if (m_number == kPageNew) m_forms.SetNewFormOpen(true);
        if (m_number == kPageMelt) m_forms.SetMeltFormOpen(true);
    }
    void ForceUnload() override {
        if (!open || m_closing) return;
        m_closing = true;
        m_log.push_back("close " + std::to_string(m_number));
        open = false;
        if (m_number == kPageNew) m_forms.SetNewFormOpen(false);
        if (m_number == kPageMelt) m_forms.SetMeltFormOpen(false);
        if (callsBackOnUnload) m_forms.SwitchPage(m_number, false);
        m_closing = false;
    }
    // The page closes itself (its own close button).
    void userClose() { ForceUnload(); }
    // An editor opened in edit or review mode, not as a page.
    void openForEdit() {
        open = true;
        callsBackOnUnload = false;
        if (m_number == kPageNew) m_forms.SetNewFormOpen(true);
        if (m_number == kPageMelt) m_forms.SetMeltFormOpen(true);
    }

    bool open = false;
    bool callsBackOnUnload = true;

private:
    int m_number;
    ManageForms& m_forms;
    std::vector<std::string>& m_log;
    bool m_closing = false;
};

class SwitchPageTest : public ::testing::Test {
protected:
    SwitchPageTest() : forms(boxes, [this] { return foundVQ; }), host(forms, log) {
        for (int p = 1; p <= kWorkPageCount; ++p) {
            pages.push_back(std::make_unique<FakePage>(p, forms, log));
            forms.setPage(p, pages.back().get());
        }
    }
    FakePage& page(int p) { return *pages[static_cast<std::size_t>(p - 1)]; }
    void press(int p) { host.ribbon.click(p); }
    int downButtons() const {
        int n = 0;
        for (int p = 1; p <= kWorkPageCount; ++p) n += host.ribbon.isDown(p) ? 1 : 0;
        return n;
    }

    ScriptedBoxes boxes;
    bool foundVQ = true;
    std::vector<std::string> log;
    ManageForms forms;
    FakeHost host;
    std::vector<std::unique_ptr<FakePage>> pages;
};

using Log = std::vector<std::string>;

TEST_F(SwitchPageTest, OpeningFromNothingShowsThePageAndChangesTheWallpaper) {
    press(kPageManage);
    EXPECT_EQ(forms.CurrentPage(), kPageManage);
    EXPECT_EQ(log, (Log{"open 2", "wallpaper"}));
    EXPECT_TRUE(host.ribbon.isDown(kPageManage));
}

TEST_F(SwitchPageTest, TheSetupPageOpensWithoutAWallpaperChange) {
    press(kPageSetup);
    EXPECT_EQ(forms.CurrentPage(), kPageSetup);
    EXPECT_EQ(log, (Log{"open 1"}));
    EXPECT_EQ(host.pointerRestores, 0);
}

TEST_F(SwitchPageTest, SwitchingClosesTheCurrentPageBeforeTheNextOpens) {
    press(kPageExport);
    log.clear();
    press(kPageImport);
    EXPECT_EQ(log, (Log{"close 5", "open 4", "wallpaper"}));
    EXPECT_EQ(forms.CurrentPage(), kPageImport);
    EXPECT_FALSE(page(kPageExport).open);
    EXPECT_EQ(downButtons(), 1);
}

TEST_F(SwitchPageTest, APageClosingItselfLeavesNoPageAndRaisesItsButton) {
    press(kPageExport);
    log.clear();
    page(kPageExport).userClose();
    EXPECT_EQ(forms.CurrentPage(), kPageNone);
    EXPECT_EQ(log, (Log{"close 5"}));
    EXPECT_EQ(downButtons(), 0);
}

TEST_F(SwitchPageTest, RaisingTheButtonOfTheOpenPageClosesIt) {
    press(kPageExport);
    log.clear();
    press(kPageExport);
    EXPECT_EQ(forms.CurrentPage(), kPageNone);
    EXPECT_EQ(log, (Log{"close 5"}));
    EXPECT_FALSE(page(kPageExport).open);
}

TEST_F(SwitchPageTest, ACloseRequestNamingAnotherPageClosesTheCurrentOne) {
    press(kPageManage);
    log.clear();
    forms.SwitchPage(kPageMelt, false);
    EXPECT_EQ(forms.CurrentPage(), kPageNone);
    EXPECT_EQ(log, (Log{"close 2"}));
    EXPECT_EQ(downButtons(), 0);
}

TEST_F(SwitchPageTest, ACloseRequestWithNoPageOpenDoesNothing) {
    forms.SwitchPage(kPageManage, false);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(host.pointerRestores, 0);
}

TEST_F(SwitchPageTest, OpeningTheCurrentPageAgainDoesNothing) {
    press(kPageManage);
    log.clear();
    forms.SwitchPage(kPageManage, true);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(forms.CurrentPage(), kPageManage);
}

TEST_F(SwitchPageTest, NewOverManageOrImportKeepsThePageAndTheEditorOpen) {
    for (int c : {kPageManage, kPageImport}) {
        SCOPED_TRACE(c);
        press(c);
        page(kPageNew).openForEdit();  // editing a material of the page
        log.clear();
        press(kPageNew);
        EXPECT_EQ(log, (Log{"wallpaper"}));
        EXPECT_EQ(forms.CurrentPage(), c);
        EXPECT_TRUE(page(c).open);
        EXPECT_TRUE(page(kPageNew).open);
        // A later close request for any page closes the current page and
        // the editor that was opened from it.
        log.clear();
        forms.SwitchPage(kPageNew, false);
        EXPECT_EQ(forms.CurrentPage(), kPageNone);
        EXPECT_EQ(log, (Log{"close 3", "close " + std::to_string(c)}));
        EXPECT_FALSE(forms.NewFormOpen());
        host.ribbon.setDown(kPageNew, false);  // left down by the press, reports a close that finds nothing
    }
}

TEST_F(SwitchPageTest, LeavingManageOrImportClosesEditorAndMeltMakerOpenedFromIt) {
    for (int c : {kPageManage, kPageImport}) {
        SCOPED_TRACE(c);
        press(c);
        page(kPageNew).openForEdit();
        page(kPageMelt).openForEdit();
        log.clear();
        press(kPageExport);
        EXPECT_EQ(log, (Log{"close 3", "close 7", "close " + std::to_string(c), "open 5", "wallpaper"}));
        EXPECT_FALSE(forms.NewFormOpen());
        EXPECT_FALSE(forms.MeltFormOpen());
        press(kPageExport);
    }
}

TEST_F(SwitchPageTest, OpeningAPageClosesAnEditorOpenOverNoPage) {
    page(kPageNew).openForEdit();  // from the list window's pop-up menu
    page(kPageMelt).openForEdit();
    press(kPageExport);
    EXPECT_EQ(log, (Log{"close 3", "close 7", "open 5", "wallpaper"}));
    EXPECT_EQ(forms.CurrentPage(), kPageExport);
}

TEST_F(SwitchPageTest, TheEditorAsANewMaterialPageClosesThroughTheSwitcher) {
    press(kPageNew);
    EXPECT_TRUE(forms.NewFormOpen());
    log.clear();
    page(kPageNew).userClose();
    EXPECT_EQ(forms.CurrentPage(), kPageNone);
    EXPECT_FALSE(forms.NewFormOpen());
    EXPECT_EQ(downButtons(), 0);
    EXPECT_EQ(log, (Log{"close 3"}));
}

TEST_F(SwitchPageTest, ArchiveIsRefusedFromEveryStateWhileTheCatalogueProgramIsMissing) {
    foundVQ = false;
    for (int c : {kPageNone, kPageSetup, kPageManage, kPageMelt}) {
        SCOPED_TRACE(c);
        if (c != kPageNone) press(c);
        boxes.answer(kAnswerOk);
        log.clear();
        press(kPageArchive);
        ASSERT_FALSE(boxes.shown().empty());
        EXPECT_EQ(boxes.last().style, kBoxInformation);
        EXPECT_EQ(boxes.last().text, "You cannot use the 'Archive' form until Vitrarch is installed!");
        EXPECT_EQ(boxes.last().title, "KalvenorQX");
        EXPECT_FALSE(host.ribbon.isDown(kPageArchive));
        EXPECT_EQ(downButtons(), 0);
        EXPECT_EQ(forms.CurrentPage(), kPageNone);
        EXPECT_FALSE(page(kPageArchive).open);
        if (c != kPageNone) {
            EXPECT_EQ(log, (Log{"close " + std::to_string(c)}));
        } else {
            EXPECT_TRUE(log.empty());
        }
    }
}

TEST_F(SwitchPageTest, ArchiveOpensOnceTheCatalogueProgramIsFound) {
    press(kPageArchive);
    EXPECT_EQ(forms.CurrentPage(), kPageArchive);
    EXPECT_TRUE(page(kPageArchive).open);
}

TEST_F(SwitchPageTest, APageNotBuiltYetIsSkippedWithoutHarm) {
    forms.setPage(kPageExport, nullptr);
    press(kPageExport);
    EXPECT_EQ(forms.CurrentPage(), kPageExport);
    press(kPageManage);
    EXPECT_EQ(forms.CurrentPage(), kPageManage);
    EXPECT_EQ(log, (Log{"wallpaper", "open 2", "wallpaper"}));
}

TEST(ToolRibbonTest, OneButtonIsDownAndOnlyReportedChangesReachTheHandler) {
    ToolRibbon ribbon(7);
    std::vector<std::pair<int, bool>> reports;
    ribbon.setHandler([&](int i, bool down) { reports.emplace_back(i, down); });
    ribbon.click(2);
    ribbon.click(5);  // raises 2 silently
    ribbon.setDown(5, false);
    ribbon.setDown(5, false);  // no change, no report
    ribbon.setEnabled(3, false);
    ribbon.click(3);
    EXPECT_FALSE(ribbon.isDown(3));
    EXPECT_EQ(reports, (std::vector<std::pair<int, bool>>{{2, true}, {5, true}, {5, false}}));
}

}  // namespace
