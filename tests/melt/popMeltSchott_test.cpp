#include "melt/popMeltSchott.h"

#include <gtest/gtest.h>

#include <functional>

#include "melt/MeltFixtures.h"
#include "model/DataEntry.h"
#include "model/NumberFormat.h"
#include "platform/Settings.h"
#include "shell/CNewMsg.h"
#include "support/FakePlacedWindow.h"
#include "support/ScriptedBoxes.h"

namespace {

// The nine values of a sheet for N-BK7, in the order of the boxes.
const double kSheet[kSheetValues] = {1.5168, 1.5187, 0.00805, 0.00244, 0.00561, 0.00371, 0.00456, 0.00811, 0.00536};

void setSheet(MeltBlock& block, const double (&values)[kSheetValues]) {
    for (int i = 1; i <= kSheetValues; ++i)
        block.secondTable[kSheetColumn][static_cast<std::size_t>(i)] = static_cast<float>(values[i - 1]);
}

TEST(MeltSheetTest, TheSheetBecomesSevenRisingPairs) {
    MeltBlock block;
    setSheet(block, kSheet);
    block.pairCount = 12;  // pairs of an earlier certificate
    for (std::size_t p = 1; p <= 12; ++p) {
        block.pairWavelength[p] = 1000.0f - static_cast<float>(p);
        block.pairIndex[p] = 1.6;
    }
    ScriptedBoxes boxes;
    boxes.answer(kAnswerOk);
    ASSERT_TRUE(ConvertMeltSheet(block, true, boxes));
    ASSERT_EQ(block.pairCount, 7);
    const float waves[] = {656.2725f, 643.8469f, 587.5618f, 546.074f, 486.1327f, 479.9914f, 435.8343f};
    const double indices[] = {1.51436, 1.51595, 1.5168, 1.5187, 1.52241, 1.52406, 1.52697};
    for (std::size_t p = 1; p <= 7; ++p) {
        EXPECT_EQ(block.pairWavelength[p], waves[p - 1]) << p;
        EXPECT_NEAR(block.pairIndex[p], indices[p - 1], 2e-7) << p;
    }
    for (std::size_t p = 8; p <= kMaxMeltPairs; ++p) {
        EXPECT_EQ(block.pairWavelength[p], 0.0f) << p;  // cleared, not left over
        EXPECT_EQ(block.pairIndex[p], 0.0) << p;
    }
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxPlain);
    EXPECT_EQ(boxes.last().text,
              " \twavelength\tindex\r\n"
              "C \t656.2725\t\t1.514360\r\nC'\t643.8469\t\t1.515950\r\nd \t587.5618\t\t1.516800\r\n"
              "e \t546.0740\t\t1.518700\r\nF \t486.1327\t\t1.522410\r\nF'\t479.9914\t\t1.524060\r\n"
              "g \t435.8343\t\t1.526970\r\n");

    MeltBlock quiet;
    setSheet(quiet, kSheet);
    ScriptedBoxes none;
    EXPECT_TRUE(ConvertMeltSheet(quiet, false, none));
    EXPECT_TRUE(none.shown().empty());
}

TEST(MeltSheetTest, IndicesOutOfRangeOrFallingAreRefusedAndChangeNothing) {
    struct Case {
        const char* what;
        int value;  // 1-based
        double to;
        const char* text;
    };
    const Case cases[] = {
        {"nd above 2.2", 1, 2.3, kSheetRangeText},
        {"nd below 1.1", 1, 1.05, kSheetRangeText},
        {"nC above nC'", 4, 0.0001, kSheetRisingText},
        {"ng below nF", 7, 0.0, kSheetRisingText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeltBlock block;
        setSheet(block, kSheet);
        block.secondTable[kSheetColumn][static_cast<std::size_t>(c.value)] = c.to;
        if (c.value == 7) block.secondTable[kSheetColumn][7] = -0.001;
        const MeltBlock before = block;
        ScriptedBoxes boxes;
        boxes.answer(kAnswerOk);
        EXPECT_FALSE(ConvertMeltSheet(block, true, boxes));
        EXPECT_EQ(block, before);
        ASSERT_EQ(boxes.shown().size(), 1u);  // the first failure only
        EXPECT_EQ(boxes.last().style, kBoxExclamation);
        EXPECT_EQ(boxes.last().text, c.text);
    }
}

TEST(MeltSheetTest, CatalogueValuesComeFromTheRecordsFormula) {
    const GlassRecord parent = SellmeierParent();
    const auto values = ComputeCatalogValues(parent);
    const double nd = IndexOf(parent, kLineD), nC = IndexOf(parent, kLineC), nF = IndexOf(parent, kLineF);
    EXPECT_EQ(values[0], nd);
    EXPECT_EQ(values[2], nF - nC);
    EXPECT_EQ(values[8], IndexOf(parent, kLineFp) - IndexOf(parent, kLineE));
    EXPECT_EQ(CatalogValueText(values[0]), "(" + Format(nd, "0.000000") + ")");

    GlassRecord none;
    InitGlassRecord(none);  // no formula: nothing to show, not differences against 0
    for (double v : ComputeCatalogValues(none)) EXPECT_EQ(v, 0.0);
    EXPECT_EQ(CatalogValueText(0), "");

    // A formula without an index at g (n² below 0 there) loses only ng - nF.
    GlassRecord shortOfG;
    InitGlassRecord(shortOfG);
    shortOfG.definition.formulaType = kSchott;
    shortOfG.definition.coefficients = {1.2, 0, -0.25};
    bool ok = true;
    EvaluateIndex(shortOfG.definition, kLineG, kSchott, ok);
    ASSERT_FALSE(ok);
    const auto partial = ComputeCatalogValues(shortOfG);
    EXPECT_EQ(partial[0], IndexOf(shortOfG, kLineD));
    EXPECT_EQ(partial[5], IndexOf(shortOfG, kLineF) - IndexOf(shortOfG, kLineE));
    EXPECT_EQ(partial[6], 0.0);
    EXPECT_EQ(partial[8], IndexOf(shortOfG, kLineFp) - IndexOf(shortOfG, kLineE));
}

class FakeBox : public INumberBox {
public:
    std::string text() const override { return m_text; }
    void setText(const std::string& text) override { m_text = text; }
    void select(int start, int length) override { selection = {start, length}; }
    std::pair<int, int> selection{-1, -1};

private:
    std::string m_text;
};

class FakeSheetView : public IMeltSchottView {
public:
    INumberBox& valueBox(int i) override { return boxes[static_cast<std::size_t>(i - 1)]; }
    void setCatalogText(int i, const std::string& text) override { catalog[static_cast<std::size_t>(i - 1)] = text; }
    void setOkEnabled(bool enabled) override { ok = enabled; }
    void setShowIndexEnabled(bool enabled) override { showIndex = enabled; }
    IPlacedWindow& placement() override { return place; }
    void showModal() override {
        if (user) user();
    }
    void closeWindow() override { ++closed; }

    std::array<FakeBox, kSheetValues> boxes;
    std::array<std::string, kSheetValues> catalog;
    bool ok = true;
    bool showIndex = true;
    int closed = 0;
    FakePlacedWindow place{"popMeltSchott"};
    std::function<void()> user;
};

class PopMeltSchottTest : public ::testing::Test {
protected:
    void SetUp() override { page.setView(&view); }
    void type(int i, const std::string& text) {
        page.txtIndex_GotFocus(i);
        view.boxes[static_cast<std::size_t>(i - 1)].setText(text);
        page.txtIndex_Commit(i);
    }
    std::string shown(int i) const { return view.boxes[static_cast<std::size_t>(i - 1)].text(); }

    ScriptedBoxes boxes;
    MemorySettings settings;
    CNewMsg hints{boxes, settings};
    FakeSheetView view;
    popMeltSchott page{{&boxes, &hints, nullptr}};
};

TEST_F(PopMeltSchottTest, TypedSheetValuesBecomeTheMeltsPairs) {
    GlassRecord melt = SellmeierParent();
    melt.melt.pairCount = 9;
    boxes.answer(kAnswerNo);  // the hint: not again
    view.user = [&] {
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().title, "Schott melt data");
        EXPECT_EQ(boxes.last().text.rfind("Schott melt sheets provide index data as a mixture", 0), 0u);
        EXPECT_FALSE(view.ok);
        EXPECT_FALSE(view.showIndex);
        EXPECT_EQ(shown(1), "");
        EXPECT_EQ(view.catalog[0], "(" + Format(IndexOf(melt, kLineD), "0.000000") + ")");

        for (int i = 1; i <= kSheetValues; ++i) {
            EXPECT_FALSE(view.ok) << i;
            type(i, GeneralText(kSheet[i - 1]));
        }
        EXPECT_TRUE(view.ok);
        EXPECT_TRUE(view.showIndex);
        EXPECT_EQ(shown(3), "0.008050");
        EXPECT_EQ(view.boxes[0].selection, (std::pair<int, int>{0, 0}));  // selected on focus
        page.comOK_Click();
    };
    ASSERT_TRUE(page.Display(melt));
    EXPECT_EQ(view.closed, 1);
    ASSERT_EQ(melt.melt.pairCount, 7);
    EXPECT_NEAR(melt.melt.pairIndex[1], 1.51436, 2e-7);
    EXPECT_EQ(melt.melt.pairWavelength[8], 0.0f);
    EXPECT_EQ(melt.melt.secondTable[kSheetColumn][1], static_cast<double>(1.5168f));
    EXPECT_EQ(settings.get(kNewMsgSection, kSheetHintKey), std::optional<std::string>("-1"));
}

TEST_F(PopMeltSchottTest, RefusedEntriesShowTheStoredValueAgain) {
    settings.set(kNewMsgSection, kSheetHintKey, "-1");
    GlassRecord melt = SellmeierParent();
    setSheet(melt.melt, kSheet);
    view.user = [&] {
        EXPECT_EQ(shown(1), "1.516800");
        const std::pair<const char*, const char*> refused[] = {{"-0.00244", "0.002440"}, {"0", "0.002440"},
                                                               {"2.6", "0.002440"}};
        for (const auto& [typed, again] : refused) {
            type(4, typed);
            EXPECT_EQ(shown(4), again) << typed;
        }
        type(1, "2.3");  // accepted at entry, refused at conversion
        EXPECT_EQ(shown(1), "2.300000");
        boxes.answer(kAnswerOk);
        page.comOK_Click();
        EXPECT_EQ(boxes.last().text, kSheetRangeText);
        EXPECT_EQ(view.closed, 0);  // stays open
        EXPECT_FALSE(page.accepted());

        boxes.answer(kAnswerOk);
        type(2, "1.5x187");  // cleaned to a number silently
        EXPECT_EQ(shown(2), "1.518700");
        type(2, "abc");
        EXPECT_EQ(boxes.last().title, "Invalid Number");
        EXPECT_EQ(shown(2), "abc");  // left for the user to mend
        page.pctSchott_Click();
        EXPECT_EQ(shown(2), "1.518700");
        page.comCancel_Click();
    };
    const GlassRecord before = melt;
    EXPECT_FALSE(page.Display(melt));
    EXPECT_EQ(melt, before);
}

TEST_F(PopMeltSchottTest, ASheetEnteredBeforeOpensWithTheButtonsDisabled) {
    settings.set(kNewMsgSection, kSheetHintKey, "-1");
    GlassRecord melt = SellmeierParent();
    setSheet(melt.melt, kSheet);
    struct Case {
        const char* what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"the picture", [&] { page.pctSchott_Click(); }},
        {"a value committed again", [&] { page.txtIndex_Commit(5); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view.user = [&] {
            EXPECT_EQ(shown(9), "0.005360");
            EXPECT_FALSE(view.ok);
            EXPECT_FALSE(view.showIndex);
            c.act();
            EXPECT_TRUE(view.ok);
            EXPECT_TRUE(view.showIndex);
            page.comCancel_Click();
        };
        view.ok = view.showIndex = true;
        EXPECT_FALSE(page.Display(melt));
    }
}

TEST_F(PopMeltSchottTest, CancelAfterShowIndiciesLeavesTheMeltAsItWas) {
    settings.set(kNewMsgSection, kSheetHintKey, "-1");
    GlassRecord melt = SellmeierParent();
    setSheet(melt.melt, kSheet);
    melt.melt.pairCount = 3;
    const GlassRecord before = melt;
    view.user = [&] {
        boxes.answer(kAnswerOk);
        page.comShowIndex_Click();
        EXPECT_EQ(boxes.last().text.rfind(" \twavelength\tindex\r\nC \t656.2725", 0), 0u);
        EXPECT_EQ(page.record().melt.pairCount, 7);
        page.comCancel_Click();
    };
    EXPECT_FALSE(page.Display(melt));
    EXPECT_EQ(melt, before);
}

}  // namespace
