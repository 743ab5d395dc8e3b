#include "shell/MainMDILogic.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "model/FileUtil.h"
#include "model/GlassesList.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

GlassRecord MakeGlass(const std::string& name, const std::string& source, double stored = 45000.25) {
    GlassRecord g;
    InitGlassRecord(g);
    g.definition.name.set(name);
    g.definition.source.set(source);
    g.definition.density = 2.5f;
    g.lastStored = stored;
    return g;
}

std::vector<std::string> NamesInFile(const std::string& path) {
    std::vector<std::string> names;
    auto bytes = ReadWholeFile(path);
    if (!bytes) return names;
    for (std::size_t at = 0; at + kGlassRecordBytes <= bytes->size(); at += kGlassRecordBytes) {
        GlassRecord g;
        ReadGlassRecord(bytes->data() + at, g);
        names.push_back(g.definition.name.str() + "/" + g.definition.source.str());
    }
    return names;
}

class FixedRandom : public IRandom {
public:
    explicit FixedRandom(std::deque<double> values) : m_values(std::move(values)) {}
    double Rnd() override {
        if (m_values.empty()) return 0.0;
        const double v = m_values.front();
        m_values.pop_front();
        return v;
    }
    std::size_t left() const { return m_values.size(); }

private:
    std::deque<double> m_values;
};

class PopupTest : public ::testing::Test {
protected:
    PopupTest()
        : store(boxes, clock, folder.path()),
          forms(boxes, [] { return true; }),
          random({}),
          logic(store, boxes, forms, random) {
        store.SetRefreshCallback([this] { ++refreshes; });
        store.SetGlasses({MakeGlass("N-BK7", "Schott"), MakeGlass("N-SF11", "Schott"), MakeGlass("Mine", "Lab")});
        EXPECT_TRUE(store.SaveUserGlasses());
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const GlassRecord& g : store.Records()) out.push_back(g.definition.name.str() + "/" + g.definition.source.str());
        return out;
    }
    std::string collectionFile() const { return folder.file(kCollectionFileName); }
    std::string backupFile() const { return folder.file(kCollectionBackupName); }

    TestFolder folder;
    ScriptedBoxes boxes;
    FixedClock clock;
    GlassesList store;
    ManageForms forms;
    FixedRandom random;
    MainMDILogic logic;
    int refreshes = 0;
};

using Names = std::vector<std::string>;

TEST_F(PopupTest, DeleteAsksAndRemovesTheMaterialKeepingTheOrder) {
    boxes.answer(kAnswerYes);
    logic.PrepForPopup(2, "N-SF11/Schott");
    logic.PopupClick(kPopupDelete);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxQuestionYesNo);
    EXPECT_EQ(boxes.last().text, "Are you sure that you wish to delete N-SF11 - Schott?");
    EXPECT_EQ(boxes.last().title, "KalvenorQX");
    EXPECT_EQ(names(), (Names{"N-BK7/Schott", "Mine/Lab"}));
    EXPECT_EQ(NamesInFile(collectionFile()), (Names{"N-BK7/Schott", "Mine/Lab"}));
    EXPECT_EQ(NamesInFile(backupFile()), (Names{"N-BK7/Schott", "N-SF11/Schott", "Mine/Lab"}));
    EXPECT_EQ(refreshes, 1);
}

TEST_F(PopupTest, DeleteAnsweredNoChangesNothing) {
    boxes.answer(kAnswerNo);
    EXPECT_FALSE(logic.DeleteGlass(1));
    EXPECT_EQ(names().size(), 3u);
    EXPECT_FALSE(FileExists(backupFile()));
    EXPECT_EQ(refreshes, 0);
}

TEST_F(PopupTest, DeletingTheOnlyMaterialEmptiesTheCollection) {
    store.SetGlasses({MakeGlass("Only", "Lab")});
    boxes.answer(kAnswerYes);
    EXPECT_TRUE(logic.DeleteGlass(1));
    EXPECT_EQ(store.Count(), 0);
    EXPECT_TRUE(NamesInFile(collectionFile()).empty());
    EXPECT_EQ(refreshes, 1);
}

TEST_F(PopupTest, DuplicateIsListedBelowItsOriginalWithTheSameSourceAndDate) {
    boxes.answerInput("N-BK7 copy");
    logic.PrepForPopup(1, "N-BK7/Schott");
    logic.PopupClick(kPopupDuplicate);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(boxes.last().isInput);
    EXPECT_EQ(boxes.last().text, kDuplicatePrompt);
    EXPECT_EQ(boxes.last().defaultText, "N-BK7");
    EXPECT_EQ(names(), (Names{"N-BK7/Schott", "N-BK7 copy/Schott", "N-SF11/Schott", "Mine/Lab"}));
    EXPECT_EQ(store.Records()[1].lastStored, 45000.25);
    EXPECT_EQ(NamesInFile(collectionFile()), names());
    EXPECT_EQ(NamesInFile(backupFile()), (Names{"N-BK7/Schott", "N-SF11/Schott", "Mine/Lab"}));
    EXPECT_EQ(refreshes, 1);
}

TEST_F(PopupTest, DuplicateAsksAgainSilentlyWhileTheNameIsTaken) {
    boxes.answerInput("n-sf11  ").answerInput("N-BK7").answerInput("Third");
    EXPECT_TRUE(logic.DuplicateGlass(1));
    ASSERT_EQ(boxes.shown().size(), 3u);
    for (const ShownBox& b : boxes.shown()) EXPECT_TRUE(b.isInput);
    // Each new question proposes what was typed last, trimmed.
    EXPECT_EQ(boxes.shown()[1].defaultText, "n-sf11");
    EXPECT_EQ(names()[1], "Third/Schott");
}

TEST_F(PopupTest, DuplicateCancelledByAnEmptyOrBlankAnswerChangesNothing) {
    for (const char* answer : {"", "   "}) {
        boxes.answerInput(answer);
        EXPECT_FALSE(logic.DuplicateGlass(3)) << '"' << answer << '"';
    }
    EXPECT_EQ(names().size(), 3u);
    EXPECT_FALSE(FileExists(backupFile()));
    EXPECT_EQ(refreshes, 0);
}

TEST_F(PopupTest, ALongNameIsCutToTheFieldBeforeItIsChecked) {
    const std::string thirty = "A-Name-Of-Thirty-Characters-XY";
    ASSERT_EQ(thirty.size(), 30u);
    store.SetGlasses({MakeGlass("N-BK7", "Schott"), MakeGlass(thirty, "Schott")});
    // Cut to 30, the first answer is the second material's identity.
    boxes.answerInput(thirty + "-longer").answerInput("Fresh");
    EXPECT_TRUE(logic.DuplicateGlass(1));
    EXPECT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(names(), (Names{"N-BK7/Schott", "Fresh/Schott", thirty + "/Schott"}));
}

TEST_F(PopupTest, ANameWithAnAmpersandShowsAsTypedInTheMenu) {
    logic.PrepForPopup(3, "R&D glass/Lab");
    EXPECT_EQ(logic.popupCaption(kPopupDuplicate), "&Duplicate   R&&D glass/Lab");
    EXPECT_EQ(logic.popupCaption(kPopupEdit), "&Edit");
    EXPECT_EQ(logic.popupCaption(kPopupDelete), "De&lete");
    EXPECT_EQ(logic.popupGlass(), 3);
}

TEST_F(PopupTest, AnIndexThatNoLongerNamesARecordDoesNothing) {
    logic.PrepForPopup(3, "Mine/Lab");
    store.SetGlasses({MakeGlass("N-BK7", "Schott")});
    logic.PopupClick(kPopupDelete);
    logic.PopupClick(kPopupDuplicate);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(store.Count(), 1);
}

TEST_F(PopupTest, EditIsOfferedOnlyOnceAnEditorIsThere) {
    EXPECT_FALSE(logic.popupItemEnabled(kPopupEdit));
    EXPECT_TRUE(logic.popupItemEnabled(kPopupDuplicate));
    std::string edited;
    logic.setEditHandler([&](const GlassRecord& g) { edited = g.definition.name.str(); });
    EXPECT_TRUE(logic.popupItemEnabled(kPopupEdit));
    logic.PrepForPopup(2, "N-SF11/Schott");
    logic.PopupClick(kPopupEdit);
    EXPECT_EQ(edited, "N-SF11");
}

class NullPage : public IWorkPage {
public:
    void Display(bool) override {}
    void ForceUnload() override {}
};

TEST_F(PopupTest, PageButtonsFollowTheFirstRunAndWhetherTheirPageIsBuilt) {
    NullPage setup, manage;
    forms.setPage(kPageSetup, &setup);
    forms.setPage(kPageManage, &manage);
    bool firstLoad = true;
    logic.setFirstLoadSource([&] { return firstLoad; });
    logic.EnableTools(true);
    EXPECT_TRUE(logic.ribbon().isEnabled(kPageSetup));
    EXPECT_FALSE(logic.ribbon().isEnabled(kPageManage));
    // Closing the first Setup page ends the first run.
    logic.ribbon().click(kPageSetup);
    firstLoad = false;
    logic.ribbon().click(kPageSetup);
    EXPECT_TRUE(logic.ribbon().isEnabled(kPageManage));
    for (int p = kPageNew; p <= kPageMelt; ++p) EXPECT_FALSE(logic.ribbon().isEnabled(p)) << p;
}

TEST(WallpaperTest, TheDrawRoundsHalvesToEvenAndNeverRepeatsThePicture) {
    // 0.5/8 draws round(0.5) = 0 -> picture 1, the current one: drawn again.
    // 2.5/8 gives round(2.5) = 2 -> picture 3. 8 draws past the last picture.
    FixedRandom random({0.5 / 8, 1.0 - 1e-9, 2.5 / 8});
    EXPECT_EQ(PickWallpaper(1, 8, random), 3);
    EXPECT_EQ(random.left(), 0u);
    FixedRandom another({1.5 / 8});
    EXPECT_EQ(PickWallpaper(0, 8, another), 3);
}

TEST(WallpaperTest, FewerThanTwoPicturesStillEndTheDraw) {
    FixedRandom random({});
    EXPECT_EQ(PickWallpaper(1, 1, random), 1);
    EXPECT_EQ(PickWallpaper(0, 0, random), 0);
    // A source stuck on the current picture cannot hang the draw either.
    class Stuck : public IRandom {
        double Rnd() override { return 0.0; }
    } stuck;
    EXPECT_EQ(PickWallpaper(1, 8, stuck), 2);
}

TEST(WallpaperTest, TheNextBackColourIsNeverBlackOrBrightWhite) {
    FixedRandom random({0.0, 0.999999});
    EXPECT_EQ(WallpaperBackColourIndex(random), 1);
    EXPECT_EQ(WallpaperBackColourIndex(random), 14);
    EXPECT_EQ(QBColor(12), 0x0000FFu);  // light red, as the platform writes colours
    EXPECT_EQ(QBColor(9), 0xFF0000u);   // light blue
}

TEST(MainWindowTextsTest, CaptionPanelsAndToolTips) {
    EXPECT_EQ(MainWindowCaption("Version: 1.0.0"), "Harvenne - Kalvenor for Lumivar & VitrarchQX:   Version: 1.0.0");
    struct PanelCase {
        int panel;
        bool found;
        Colour back;
        const char* caption;
    } cases[] = {
        {0, true, 0xFF00, " VitrarchQX found"},      {0, false, 0xFF, " VitrarchQX not found"},
        {1, true, 0xFF00, " Lumivar3D found"},       {1, false, 0xFF, " Lumivar3D not found"},
        {2, true, 0xFF00, " DazirireraVI found"},    {2, false, 0xFF, " DazirireraVI not found"},
    };
    for (const PanelCase& c : cases) {
        const PanelLook look = InstalledPanelLook(c.panel, c.found);
        EXPECT_EQ(look.back, c.back);
        EXPECT_EQ(look.caption, c.caption);
    }
    EXPECT_EQ(RibbonToolTip(0), "End Kalvenor");
    EXPECT_EQ(RibbonToolTip(2),
              "List, edit & delete materials in local database, plus update LumivarPlus/Tol & Vitrarch.");
    EXPECT_EQ(RibbonToolTip(5), "Backup materials in local list to text file [Kalvenor format]");
}

}  // namespace
