#include "editor/popEditParamWave.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/MemoryGrid.h"
#include "platform/PlacedWindow.h"
#include "platform/Settings.h"
#include "shell/CNewMsg.h"
#include "support/ScriptedBoxes.h"

namespace {

class FakePlacement : public IPlacedWindow {
public:
    std::string name() const override { return "popEditParamWave"; }
    TwipRect normalGeometry() const override { return m_rect; }
    TwipSize screenSize() const override { return {15000, 12000}; }
    TwipSize centreArea() const override { return screenSize(); }
    void moveTo(double left, double top) override { m_rect.left = left, m_rect.top = top; }
    void moveAndSize(const TwipRect& g) override { m_rect = g; }

private:
    TwipRect m_rect{0, 0, 7000, 6000};
};

// The picker's window without a screen; showModal runs the test's user.
class FakeWaveView : public IWaveSelectView {
public:
    FakeWaveView(popEditParamWave& page, std::function<void(FakeWaveView&)> user) : page(page), m_user(std::move(user)) {}

    IGrid& grid(int tab) override { return grids[static_cast<std::size_t>(tab)]; }
    IPlacedWindow& placement() override { return m_placement; }
    void showTab(int t) override { tab = t; }
    int shownTab() const override { return tab; }
    void setWaveLabel(const std::string& text) override { label = text; }
    void setMultiChecked(bool checked) override { multi = checked; }
    void setOkEnabled(bool enabled) override { okEnabled = enabled; }
    void showModal() override {
        open = true;
        if (m_user) m_user(*this);
    }
    void closeWindow() override { open = false; }

    // The user's actions.
    void userTab(int t) {
        tab = t;
        page.tabWaveSel_Click(t);
    }
    void userCheck(bool checked) {
        multi = checked;
        page.chkMultiWaves_Click(checked);
    }
    void userPress(int t, int col, int row) {
        const GridPoint p = grids[static_cast<std::size_t>(t)].pointOf(col, row);
        grids[static_cast<std::size_t>(t)].userMouseDown(kMouseLeft, 0, p.x, p.y);
    }

    popEditParamWave& page;
    std::array<MemoryGrid, kWavePickTabs> grids;
    int tab = -1;
    std::string label;
    bool multi = false;
    bool okEnabled = true;
    bool open = false;

private:
    FakePlacement m_placement;
    std::function<void(FakeWaveView&)> m_user;
};

class WavePickerTest : public ::testing::Test {
protected:
    WavePickerTest() { settings.set(kNewMsgSection, kWavePickHintKey, "-1"); }

    // One use of the picker with the user's actions.
    bool pick(float& sWave, int nTab, std::function<void(FakeWaveView&)> user) {
        bool shown = false;
        m_user = [&](FakeWaveView& v) {
            shown = true;
            user(v);
        };
        const bool result = picker.Display(nWaves, sWave, sWaves, nTab);
        EXPECT_TRUE(shown);
        return result;
    }

    ScriptedBoxes boxes;
    MemorySettings settings;
    CNewMsg hints{boxes, settings};
    std::function<void(FakeWaveView&)> m_user;
    popEditParamWave picker{hints, [this](popEditParamWave& page) {
                                return std::make_unique<FakeWaveView>(page, m_user);
                            }};
    int nWaves = -7;
    std::vector<float> sWaves{-7};
};

}  // namespace

TEST(FixedWaveText, PadsAndCutsToTwelveCharacters) {
    struct Case {
        float wave;
        std::string text;
    } cases[] = {
        {656.2725f, "    656.2725"}, {2500, "  2500.0    "},   {1060, "  1060.0    "},
        {999.99f, "    999.99  "},  {1000, "  1000.0    "},   {12345.6f, " 12345.6    "},
        {1529.582f, "  1529.582  "}, {123456.8f, " 123456.8   "},
    };
    for (const Case& c : cases) EXPECT_EQ(FixedWaveText(c.wave), c.text) << c.wave;
}

TEST_F(WavePickerTest, FillsTheThreeGrids) {
    float wave = 0;
    pick(wave, kTabSpectral, [](FakeWaveView& v) {
        const IGrid& fraun = v.grid(kTabSpectral);
        ASSERT_EQ(fraun.maxRows(), 22);
        EXPECT_EQ(fraun.blockText(GridBlock::rows(9, 9)), "    656.2725\tC  \tH alpha\r\n");
        EXPECT_EQ(fraun.blockText(GridBlock::rows(21, 21)), "    312.5663\t\t\r\n");
        EXPECT_EQ(fraun.blockText(GridBlock::rows(1, 1)), "  2325.42   \t   \tHg\r\n");

        const IGrid& laser = v.grid(kTabLaser);
        ASSERT_EQ(laser.maxRows(), 81);
        EXPECT_EQ(laser.blockText(GridBlock::rows(1, 1)), "  2940\tEr:YAG\t\t\r\n");
        EXPECT_EQ(laser.blockText(GridBlock::rows(28, 28)), "    694.3\tRuby \t\tmain\r\n");
        EXPECT_EQ(laser.blockText(GridBlock::rows(14, 14)), "  1064\tNd:YAG, Nd:YVO4\t\t\r\n");

        const IGrid& trans = v.grid(kTabTrans);
        ASSERT_EQ(trans.maxRows(), 30);
        EXPECT_EQ(trans.blockText(GridBlock::rows(1, 2)), "  2500.0    \t\t\r\n  2325.4    \t\t\r\n");
        // Columns without a text stay out of sight: the names of the
        // transmission wavelengths and the laser tags' spacer.
        EXPECT_TRUE(trans.colHidden(2));
        EXPECT_TRUE(trans.colHidden(3));
        EXPECT_TRUE(laser.colHidden(3));
        EXPECT_FALSE(fraun.colHidden(2));

        // Nothing in the grids can be typed over.
        EXPECT_FALSE(v.grids[kTabSpectral].userType(1, 9, "1"));
        v.page.comCancel_Click();
    });
}

TEST_F(WavePickerTest, PreselectsTheRowOfTheStartWaveInEachGrid) {
    struct Case {
        float start;
        int tab;
        std::array<int, kWavePickTabs> activeRows;  // 0: none
        const char* label;
    } cases[] = {
        {656.2725f, kTabSpectral, {9, 0, 0}, "Pre-defined spectral && laser wavelengths"},
        {656.3f, kTabSpectral, {0, 0, 0}, "Pre-defined spectral && laser wavelengths"},  // 0.0275 off
        {0, kTabLaser, {0, 0, 0}, "Pre-defined spectral && laser wavelengths"},
        {632.8f, kTabLaser, {11, 34, 0}, "Pre-defined spectral && laser wavelengths"},
        {1060, kTabTrans, {4, 15, 5}, "Typical wavelengths for tranmission"},
        {250, 7, {0, 0, 30}, "Pre-defined spectral && laser wavelengths"},  // no such tab: the first
    };
    for (const Case& c : cases) {
        float wave = c.start;
        EXPECT_FALSE(pick(wave, c.tab, [&](FakeWaveView& v) {
            for (int t = 0; t < kWavePickTabs; ++t)
                EXPECT_EQ(v.grid(t).activeRow(), c.activeRows[static_cast<std::size_t>(t)]) << c.start << " tab " << t;
            EXPECT_EQ(v.shownTab(), c.tab == 7 ? kTabSpectral : c.tab);
            EXPECT_EQ(v.label, c.label);
            v.page.comCancel_Click();
        }));
        EXPECT_EQ(wave, c.start);
    }
}

TEST_F(WavePickerTest, APressPicksOneWavelength) {
    float wave = 500;
    EXPECT_TRUE(pick(wave, kTabTrans, [](FakeWaveView& v) {
        EXPECT_FALSE(v.okEnabled);
        v.userTab(kTabSpectral);
        v.userTab(kTabTrans);
        EXPECT_EQ(v.label, "Typical wavelengths for tranmission");
        v.userPress(kTabTrans, 1, 0);  // the headings pick nothing
        ASSERT_TRUE(v.open);
        v.userPress(kTabTrans, 1, 5);
        EXPECT_FALSE(v.open);
        v.userPress(kTabTrans, 1, 6);  // the window is gone: ignored
    }));
    EXPECT_EQ(nWaves, 1);
    EXPECT_EQ(wave, 1060.0f);
    EXPECT_EQ(sWaves, std::vector<float>{1060.0f});
    EXPECT_EQ(picker.Picked(), (NamedWavelength{"", 1060.0f}));

    // A press on a laser row takes that grid's own row.
    EXPECT_TRUE(pick(wave, kTabSpectral, [](FakeWaveView& v) { v.userPress(kTabLaser, 2, 28); }));
    EXPECT_EQ(wave, 694.3f);
    EXPECT_EQ(picker.Picked().name, "Ruby |\tmain");
}

TEST_F(WavePickerTest, MultipleSelectionReturnsTheRowsInTheOrderSelected) {
    struct Case {
        const char* what;
        std::vector<RowSpan> blocks;
        std::vector<float> waves;
    } cases[] = {
        {"a block and a Ctrl row", {{9, 11}, {13, 13}}, {656.2725f, 643.8469f, 632.8f, 587.5618f}},
        {"later rows first", {{13, 13}, {9, 10}}, {587.5618f, 656.2725f, 643.8469f}},
        {"a block dragged upwards", {{11, 9}}, {656.2725f, 643.8469f, 632.8f}},
        {"a row in two blocks counts twice", {{12, 13}, {13, 13}}, {589.2938f, 587.5618f, 587.5618f}},
        {"one row", {{17, 17}}, {435.8343f}},
    };
    for (const Case& c : cases) {
        float wave = 0;
        nWaves = -7;
        EXPECT_TRUE(pick(wave, kTabSpectral, [&](FakeWaveView& v) {
            v.userCheck(true);
            EXPECT_TRUE(v.okEnabled);
            v.userPress(kTabSpectral, 1, 9);  // a press only selects now
            ASSERT_TRUE(v.open);
            v.grids[kTabSpectral].userSelect(c.blocks);
            v.page.comOK_Click();
            EXPECT_FALSE(v.open);
        })) << c.what;
        EXPECT_EQ(sWaves, c.waves) << c.what;
        EXPECT_EQ(nWaves, static_cast<int>(c.waves.size())) << c.what;
        EXPECT_EQ(wave, c.waves.front()) << c.what;
    }
}

TEST_F(WavePickerTest, OkTakesTheGridOfTheTabShown) {
    float wave = 0;
    EXPECT_TRUE(pick(wave, kTabSpectral, [](FakeWaveView& v) {
        v.userCheck(true);
        v.grids[kTabSpectral].userSelect({{1, 3}});
        v.grids[kTabTrans].userSelect({{-1, -1}});  // every row, by its column heading
        v.userTab(kTabTrans);
        v.page.comOK_Click();
    }));
    ASSERT_EQ(nWaves, 30);
    EXPECT_EQ(sWaves.front(), 2500.0f);
    EXPECT_EQ(sWaves.back(), 250.0f);
}

TEST_F(WavePickerTest, NothingChosenLeavesTheArgumentsAlone) {
    float wave = 700;
    EXPECT_TRUE(pick(wave, kTabSpectral, [](FakeWaveView& v) { v.userPress(kTabSpectral, 1, 13); }));

    const std::function<void(FakeWaveView&)> ways[] = {
        [](FakeWaveView& v) { v.page.comCancel_Click(); },
        [](FakeWaveView& v) { v.closeWindow(); },  // the close box
        [](FakeWaveView& v) {
            v.userCheck(true);
            v.page.comOK_Click();  // with nothing selected
        },
    };
    for (const auto& way : ways) {
        float again = 123;
        nWaves = -7;
        sWaves = {-7};
        EXPECT_FALSE(pick(again, kTabSpectral, way));
        EXPECT_EQ(again, 123.0f);
        EXPECT_EQ(nWaves, -7);
        EXPECT_EQ(sWaves, std::vector<float>{-7});
    }
}

TEST_F(WavePickerTest, KeepsTheMultipleChoiceForTheNextUse) {
    float wave = 0;
    pick(wave, kTabSpectral, [](FakeWaveView& v) {
        EXPECT_FALSE(v.multi);
        v.userCheck(true);
        v.page.comCancel_Click();
    });
    EXPECT_TRUE(picker.MultiMode());
    pick(wave, kTabSpectral, [](FakeWaveView& v) {
        EXPECT_TRUE(v.multi);
        EXPECT_TRUE(v.okEnabled);
        v.userPress(kTabSpectral, 1, 9);  // no single pick while ticked
        EXPECT_TRUE(v.open);
        v.userCheck(false);
        EXPECT_FALSE(v.okEnabled);
        v.userPress(kTabSpectral, 1, 9);
    });
    EXPECT_FALSE(picker.MultiMode());
    EXPECT_EQ(wave, 656.2725f);
}

TEST_F(WavePickerTest, ShowsItsHintUntilTheUserDeclinesIt) {
    settings.remove(kNewMsgSection, kWavePickHintKey);
    boxes.answer(kAnswerNo);
    float wave = 0;
    const auto cancel = [](FakeWaveView& v) { v.page.comCancel_Click(); };
    pick(wave, kTabSpectral, cancel);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().title, "Standard wavelengths");
    EXPECT_EQ(boxes.last().text,
              "By ticking the check box at the bottom of this form, you can select multople wavelengths for "
              "insertion.\r\n\r\nUse the mouse to select a block\r\nIf you want to select non-adjacent wavelengths, "
              "then hold down the CTRL key\r\n\r\nDo you want to see this message again?");
    pick(wave, kTabSpectral, cancel);
    EXPECT_EQ(boxes.shown().size(), 1u);
}
