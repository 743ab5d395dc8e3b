#include "shell/CSApplication.h"

#include <gtest/gtest.h>

#include "model/FileUtil.h"
#include "shell/CSWindow.h"
#include "shell/INICode.h"
#include "support/ProgramFolder.h"
#include "support/TestFolder.h"

namespace {

// A window on a small screen: 800 x 600 pixels in twips.
constexpr TwipSize kSmallScreen{12000, 9000};

class FakeWindow : public IPlacedWindow {
public:
    std::string name() const override { return "frmMainMDI"; }
    TwipRect normalGeometry() const override { return geometry; }
    TwipSize screenSize() const override { return kSmallScreen; }
    TwipSize centreArea() const override { return area; }
    void moveTo(double left, double top) override {
        geometry.left = left;
        geometry.top = top;
        ++moves;
    }
    void moveAndSize(const TwipRect& g) override {
        geometry = g;
        ++sizes;
    }
    TwipRect geometry{0, 0, 9000, 7000};
    TwipSize area = kSmallScreen;
    int moves = 0;
    int sizes = 0;
};

}  // namespace

TEST(CSApplicationTest, SavedPlacementIsKeptOnASmallScreen) {
    struct Case {
        SavedPlacement saved;  // top, left, height, width
        bool mainForm;
        TwipRect expected;     // left, top, width, height
    };
    const Case cases[] = {
        // Fits: as saved.
        {{300, 600, 6000, 8000}, true, {600, 300, 8000, 6000}},
        // Negative top and left become 0.
        {{-300, -15, 6000, 8000}, true, {0, 0, 8000, 6000}},
        // Too tall and too wide: 0.9 of the screen, pulled up and left to stay on it.
        {{4000, 5000, 900000, 20000}, true, {1200, 900, 10800, 8100}},
        // Any other window: 0.5 of the screen.
        {{0, 0, 900000, 20000}, false, {0, 0, 6000, 4500}},
        // A main window saved with no size gets half the screen.
        {{0, 0, 0, -5}, true, {0, 0, 6000, 4500}},
        // Past the right and bottom edges: pulled back.
        {{8000, 11000, 2000, 3000}, true, {9000, 7000, 3000, 2000}},
    };
    for (const auto& c : cases) {
        const TwipRect r = PlaceWindow(c.saved, {1, 1}, kSmallScreen, c.mainForm);
        EXPECT_EQ(r, c.expected) << c.saved.top << " " << c.saved.left << " " << c.saved.height << " " << c.saved.width;
    }
    // The platform's own example: a 11520-twip high screen and a saved height of 900000.
    const TwipRect r = PlaceWindow(SavedPlacement{5000, 0, 900000, 9000}, {1, 1}, {15360, 11520}, true);
    EXPECT_EQ(r.height, 10368);
    EXPECT_EQ(r.top, 11520 - 10368);
}

TEST(CSApplicationTest, WithoutASavedPlacementTheWindowIsCentredRoundingTiesToEven) {
    const TwipRect r = PlaceWindow(std::nullopt, {9000.5, 7001}, kSmallScreen, true);
    EXPECT_EQ(r.width, 9000);  // 9000.5 ties to the even 9000
    EXPECT_EQ(r.height, 7001);
    EXPECT_EQ(r.left, 1500);
    EXPECT_EQ(r.top, 1000);  // (9000 - 7001) / 2 = 999.5 ties to 1000
}

TEST(CSApplicationTest, PositionIsSavedWithHeightUnderFWidthAndRestored) {
    TestFolder dir;
    ProgramFolderOverride home(dir.path());
    FakeWindow w;
    w.geometry = {1500, 750, 10000, 8000};
    ASSERT_TRUE(CSApplication().ThisFormPosnSave(w));
    const auto file = dir.read(kIniFileName);
    EXPECT_EQ(std::string(file.begin(), file.end()),
              "[FormPosNonChild_frmMainMDI]\r\nfTop=750\r\nfLeft=1500\r\nfWidth=8000\r\nfHeight=10000\r\n");

    FakeWindow restored;
    CSApplication().ThisFormPosnGet(restored, true, false);
    EXPECT_EQ(restored.geometry, (TwipRect{1500, 750, 10000, 8000}));
    EXPECT_EQ(restored.sizes, 1);

    FakeWindow moved;
    CSApplication().ThisFormPosnGet(moved, true, true);
    EXPECT_EQ(moved.geometry, (TwipRect{1500, 750, 9000, 7000}));  // position only
    EXPECT_EQ(moved.sizes, 0);
}

TEST(CSApplicationTest, ABlankTopIsNoEntryAndTheWindowIsCentred) {
    TestFolder dir;
    ProgramFolderOverride home(dir.path());
    dir.write(kIniFileName, "[FormPosNonChild_frmMainMDI]\r\nfTop=  \r\nfLeft=5\r\nfWidth=5\r\nfHeight=5\r\n");
    FakeWindow w;
    CSApplication().ThisFormPosnGet(w, true, false);
    EXPECT_EQ(w.geometry, (TwipRect{1500, 1000, 9000, 7000}));
    // No settings file at all: the same.
    TestFolder empty;
    ProgramFolderOverride home2(empty.path());
    FakeWindow w2;
    CSApplication().ThisFormPosnGet(w2, true, false);
    EXPECT_EQ(w2.geometry, (TwipRect{1500, 1000, 9000, 7000}));
    EXPECT_FALSE(empty.exists(kIniFileName));
}

TEST(CSApplicationTest, CentreUsesTheWindowsArea) {
    FakeWindow w;
    w.geometry = {77, 88, 4000, 3000};
    w.area = {10000, 5000};  // a child window in the main window's client area
    CSWindow().Center(w);
    EXPECT_EQ(w.geometry, (TwipRect{3000, 1000, 4000, 3000}));
}

TEST(CSApplicationTest, ProgramFolderRule) {
    struct Case {
        const char* kalvenorHome;
        const char* exeFolder;
        bool writable;
        const char* dataHome;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {"/data/kalv", "/opt/kalv", true, nullptr, "/home/u", "/data/kalv/"},
        {"/data/kalv//", "/opt/kalv", true, nullptr, "/home/u", "/data/kalv/"},
        {"", "/opt/kalv/", true, nullptr, "/home/u", "/opt/kalv/"},
        {nullptr, "/opt/kalv", false, nullptr, "/home/u", "/home/u/.local/share/KalvenorQX/"},
        {nullptr, "/opt/kalv", false, "/xdg/data", "/home/u", "/xdg/data/KalvenorQX/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolveProgramFolder(c.kalvenorHome, c.exeFolder, c.writable, c.dataHome, c.home), c.expected)
            << (c.kalvenorHome ? c.kalvenorHome : "(unset)") << " " << c.exeFolder;

    TestFolder dir;
    ProgramFolderOverride home(dir.path() + "sub//");
    EXPECT_EQ(CSApplication().Path(), dir.path() + "sub/");
    EXPECT_TRUE(FolderExists(dir.path() + "sub"));
}

TEST(CSApplicationTest, TitleAndVersionTexts) {
    const CSApplication app;
    EXPECT_EQ(app.Title(), "KalvenorQX");
    EXPECT_EQ(app.Version(), "Version: 1.0.0");
    EXPECT_EQ(app.TitleVer(), "KalvenorQX 1.0.0");
    EXPECT_EQ(app.TitleVerShort(), "KalvenorQX 1.0");
}
