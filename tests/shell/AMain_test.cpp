#include "shell/AMain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/Bas1Setup.h"
#include "platform/BusyCursor.h"
#include "app/DemoFolder.h"
#include "platform/Settings.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

// Records what start-up had prepared when it opened each window.
class FakeMainWindow : public IMainWindowStart {
public:
    FakeMainWindow(AMain& app, RecordingBusyCursor& cursor) : m_app(app), m_cursor(cursor) {}
    void Display() override {
        steps.push_back("Display");
        glassesAtDisplay = m_app.store().Count();
        catalogueKeysAtDisplay = static_cast<int>(m_app.store().CatalogKeys().size());
        busyAtDisplay = m_cursor.busy;
    }
    void LoadList() override { steps.push_back("LoadList"); }

    std::vector<std::string> steps;
    int glassesAtDisplay = -1;
    int catalogueKeysAtDisplay = -1;
    bool busyAtDisplay = false;

private:
    AMain& m_app;
    RecordingBusyCursor& m_cursor;
};

class MainTest : public ::testing::Test {
protected:
    MainTest() : home(DemoFolders(folder.path()).program) {
        std::string error;
        EXPECT_TRUE(MakeDemo(folder.path(), settings, clock, error)) << error;
        ResetSetupPaths();
    }
    ~MainTest() override { ResetSetupPaths(); }

    TestFolder folder;
    ProgramFolderOverride home;
    MemorySettings settings;
    FixedClock clock;
    ScriptedBoxes boxes;
    RecordingBusyCursor cursor;
};

TEST_F(MainTest, EverythingIsLoadedBeforeTheMainWindowOpensAndTheListFollowsIt) {
    AMain app(boxes, clock, settings, cursor);
    FakeMainWindow window(app, cursor);
    app.Main(window);
    EXPECT_EQ(app.ProgramFolder(), DemoFolders(folder.path()).program);
    EXPECT_EQ(window.steps, (std::vector<std::string>{"Display", "LoadList"}));
    EXPECT_EQ(window.glassesAtDisplay, static_cast<int>(DemoCatalogue().size()));
    EXPECT_GT(window.catalogueKeysAtDisplay, 0);
    EXPECT_TRUE(window.busyAtDisplay);
    EXPECT_FALSE(cursor.busy);
    EXPECT_TRUE(FoundLQP());
    EXPECT_EQ(app.store().ProgramFolder(), app.ProgramFolder());
}

TEST_F(MainTest, OnTheFirstRunNoFolderIsReadSoNoNamesAreLoaded) {
    settings.remove(kSetupSection, kFirstLoadValue);
    AMain app(boxes, clock, settings, cursor);
    FakeMainWindow window(app, cursor);
    app.Main(window);
    EXPECT_TRUE(FirstLoad());
    EXPECT_FALSE(FoundLQP());
    EXPECT_EQ(window.catalogueKeysAtDisplay, 0);
    EXPECT_EQ(window.glassesAtDisplay, static_cast<int>(DemoCatalogue().size()));
}

}  // namespace
