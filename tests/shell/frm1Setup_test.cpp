#include "shell/frm1Setup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/BusyCursor.h"
#include "platform/PlacedWindow.h"
#include "platform/Settings.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedBoxes.h"
#include "support/ScriptedFileDialog.h"
#include "support/TestFolder.h"

namespace fs = std::filesystem;

namespace {

void touch(const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << "MZ";
}

class FakePlaced : public IPlacedWindow {
public:
    std::string name() const override { return "frm1Setup"; }
    TwipRect normalGeometry() const override { return geometry; }
    TwipSize screenSize() const override { return {12000, 9000}; }
    TwipSize centreArea() const override { return {12000, 9000}; }
    void moveTo(double l, double t) override { geometry.left = l, geometry.top = t; }
    void moveAndSize(const TwipRect& g) override { geometry = g; }
    TwipRect geometry{0, 0, 6000, 3000};
};

class FakeSetupView : public ISetupView {
public:
    explicit FakeSetupView(frm1Setup& page) : m_page(page) { page.setView(this); }
    void setPathLabel(int program, const std::string& text) override { labels[static_cast<std::size_t>(program)] = text; }
    IPlacedWindow& placement() override { return placed; }
    IFileDialog& fileDialog() override { return chooser; }
    void showWindow(bool modal) override {
        shown = true;
        shownModal = modal;
    }
    void closeWindow() override {
        ++closes;
        shown = false;
        m_page.Form_Unload();
    }
    std::array<std::string, kSiblingCount> labels;
    FakePlaced placed;
    ScriptedFileDialog chooser;
    bool shown = false;
    bool shownModal = false;
    int closes = 0;

private:
    frm1Setup& m_page;
};

class SetupPageTest : public ::testing::Test {
protected:
    SetupPageTest() : home(tree.path() + "progs/Kalvenor/") { ResetSetupPaths(); }
    ~SetupPageTest() override { ResetSetupPaths(); }

    SetupPageServices services() {
        SetupPageServices s;
        s.boxes = &boxes;
        s.settings = &registry;
        s.cursor = &cursor;
        s.feedback.helpNote = [this](const std::string& t, bool bold) { notes.emplace_back(t, bold); };
        s.showInstalledProgs = [this] { ++panelRefreshes; };
        s.switchPage = [this](int page, bool open) { switches.emplace_back(page, open); };
        s.searchRoots = [this] { return std::vector<std::string>{tree.path() + "wine/drive_c/"}; };
        return s;
    }

    TestFolder tree;
    ProgramFolderOverride home;
    ScriptedBoxes boxes;
    MemorySettings registry;
    RecordingBusyCursor cursor;
    std::vector<std::pair<std::string, bool>> notes;
    std::vector<std::pair<int, bool>> switches;
    int panelRefreshes = 0;
};

}  // namespace

TEST_F(SetupPageTest, FirstRunSearchesTellsTheUserAndClearsTheFlagWhenClosed) {
    const std::string r = tree.path();
    touch(r + "progs/Vitrarch/vitrarchqx.exe");                       // beside the program
    touch(r + "wine/drive_c/Program Files/Lumivar/LUMIVAR3D.EXE");    // in the Wine prefix
    LoadSetupPaths(registry);
    ASSERT_TRUE(FirstLoad());

    frm1Setup page(services());
    FakeSetupView view(page);
    boxes.answer(kAnswerOk);
    EXPECT_FALSE(page.Display(false));

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxInformation);
    EXPECT_EQ(boxes.last().title, "KalvenorQX");
    EXPECT_EQ(boxes.last().text,
              "KalvenorQX is designed to create materials for Lumivar3D/DazirireraVI & VitrarchQX.  \r\n\r\n"
              "Kalvenor will work without these being installed. However assuming that they are installed, please "
              "confirm the paths to these programs, in the 'Setup' form which will now be loaded automatically. \r\n\r\n"
              "If you wish to install them later, then, after installation, please load the 'Setup' form manually.");
    EXPECT_EQ(notes.front(), (std::pair<std::string, bool>{
                                 "Searching for installations of VitrarchQX, Lumivar3D & LumivarTolerancer", true}));
    EXPECT_EQ(notes.back(), (std::pair<std::string, bool>{"", false}));
    EXPECT_EQ(view.labels[0], r + "progs/Vitrarch/VitrarchQX.EXE");
    EXPECT_EQ(view.labels[1], r + "wine/drive_c/Program Files/Lumivar/Lumivar3D.EXE");
    EXPECT_EQ(view.labels[2], "Not found");
    EXPECT_TRUE(view.shown);
    EXPECT_FALSE(view.shownModal);
    EXPECT_EQ(view.placed.geometry.left, 3000);  // centred
    EXPECT_EQ(panelRefreshes, 1);
    EXPECT_FALSE(cursor.busy);

    // Cancel: nothing goes to the registry but the first run is over.
    page.comCancel_Click();
    EXPECT_FALSE(page.result());
    EXPECT_FALSE(FirstLoad());
    EXPECT_EQ(registry.get(kSetupSection, kFirstLoadValue), "0");
    EXPECT_EQ(registry.get(kSetupSection, "VitrarchQX"), std::nullopt);
    EXPECT_TRUE(FoundVQ());  // used for the rest of the run
    EXPECT_EQ(switches, (std::vector<std::pair<int, bool>>{{1, false}}));

    // The next start reads the registry and searches no more.
    ResetSetupPaths();
    LoadSetupPaths(registry);
    EXPECT_FALSE(FirstLoad());
    notes.clear();
    frm1Setup again(services());
    FakeSetupView view2(again);
    again.Display(false);
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(view2.labels[0], "Not found");
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(SetupPageTest, OkAppliesTheCopiesAndWritesOnlyFoundFolders) {
    const std::string r = tree.path();
    touch(r + "vq/VitrarchQX.EXE");
    touch(r + "tol/LumivarDazirireraVI.EXE");
    registry.set(kSetupSection, kFirstLoadValue, "0");
    registry.set(kSetupSection, "VitrarchQX", r + "vq/");
    LoadSetupPaths(registry);

    frm1Setup page(services());
    FakeSetupView view(page);
    page.Display(false);
    EXPECT_TRUE(boxes.shown().empty());

    // Browsing: another file is ignored, the right one (any case) is taken.
    view.chooser.choose(r + "tol/readme.txt").choose(r + "tol/lumivardazirireravi.exe").cancel();
    page.comSetupPath_Click(kProgramLQTol);
    EXPECT_EQ(page.folderCopy(kProgramLQTol), "");
    page.comSetupPath_Click(kProgramLQTol);
    EXPECT_EQ(page.folderCopy(kProgramLQTol), r + "tol/");
    EXPECT_EQ(view.labels[2], r + "tol/LumivarDazirireraVI.EXE");
    page.comSetupPath_Click(kProgramLQP);
    const FileDialogRequest& req = view.chooser.requests().back();
    EXPECT_EQ(req.filter, "Lumivar3D (Lumivar3D.EXE)|Lumivar3D.EXE");
    EXPECT_EQ(req.title, "Finding path to Lumivar3D program");
    EXPECT_EQ(req.defaultExt, "EXE");
    EXPECT_EQ(req.initialFolder, "");
    EXPECT_FALSE(FoundLQTol());  // not before OK

    page.comOK_Click();
    EXPECT_TRUE(page.result());
    EXPECT_TRUE(FoundLQTol());
    EXPECT_EQ(registry.get(kSetupSection, "LumivarTolQX"), r + "tol/");
    EXPECT_EQ(registry.get(kSetupSection, "VitrarchQX"), r + "vq/");
    EXPECT_EQ(registry.get(kSetupSection, "LumivarPlusQX"), std::nullopt);
    EXPECT_EQ(panelRefreshes, 2);
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(switches.size(), 1u);

    // A second close request of a closed page does nothing.
    page.ForceUnload();
    page.Form_Unload();
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(switches.size(), 1u);
}

TEST_F(SetupPageTest, ScanFillsOnlyTheMissingCopiesAndForceUnloadGivesFalse) {
    const std::string r = tree.path();
    touch(r + "vq/VitrarchQX.EXE");
    touch(r + "wine/drive_c/L/Lumivar3D.EXE");
    registry.set(kSetupSection, kFirstLoadValue, "0");
    registry.set(kSetupSection, "VitrarchQX", r + "vq/");
    LoadSetupPaths(registry);
    frm1Setup page(services());
    FakeSetupView view(page);
    page.Display(false);
    page.comScan_Click();
    EXPECT_EQ(page.folderCopy(kProgramVQ), r + "vq/");
    EXPECT_EQ(page.folderCopy(kProgramLQP), r + "wine/drive_c/L/");
    EXPECT_EQ(view.labels[1], r + "wine/drive_c/L/Lumivar3D.EXE");
    EXPECT_FALSE(FoundLQP());
    EXPECT_EQ(notes.front().first, "Searching for installations of VitrarchQX, Lumivar3D & LumivarTolerancer");
    EXPECT_GE(cursor.hourglassCount, 2);
    EXPECT_FALSE(cursor.busy);

    page.ForceUnload();
    EXPECT_FALSE(page.result());
    EXPECT_FALSE(page.isOpen());
    EXPECT_FALSE(FoundLQP());
    EXPECT_EQ(registry.get(kSetupSection, "LumivarPlusQX"), std::nullopt);
    EXPECT_EQ(switches, (std::vector<std::pair<int, bool>>{{1, false}}));
}
