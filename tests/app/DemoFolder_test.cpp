#include "app/DemoFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "manage/CatalogueDatabase.h"
#include "model/FileUtil.h"
#include "model/GlassesList.h"
#include "model/Verification.h"
#include "shell/Bas1Setup.h"
#include "platform/Settings.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

TEST(DemoFolderTest, TheGlassesHaveThePublishedIndexAndAbbeNumber) {
    FixedClock clock;
    for (const PublishedGlass& p : DemoCatalogue()) {
        SCOPED_TRACE(p.name);
        const GlassRecord g = MakeDemoGlass(p, clock);
        EXPECT_NEAR(g.constants.nd, p.nd, 0.6e-5);
        EXPECT_NEAR(g.constants.vd, p.vd, 0.006);
        EXPECT_EQ(g.definition.glassCode,
                  static_cast<int>(std::lround((p.nd - 1) * 1000)) * 1000 + static_cast<int>(std::lround(p.vd * 10)));
        std::string missing;
        EXPECT_TRUE(ListMissingSections(g, missing)) << missing;
        EXPECT_EQ(g.properties.status.str(), "A");
        EXPECT_EQ(g.lastStored, clock.now());
    }
}

TEST(DemoFolderTest, TheProgramFindsTheDemoThroughItsOwnFilesAndSettings) {
    TestFolder folder;
    MemorySettings settings;
    FixedClock clock;
    std::string error;
    ASSERT_TRUE(MakeDemo(folder.path() + "demo", settings, clock, error)) << error;
    const DemoLayout demo = DemoFolders(folder.path() + "demo");

    ResetSetupPaths();
    LoadSetupPaths(settings);
    EXPECT_FALSE(FirstLoad());
    EXPECT_TRUE(FoundLQP());
    EXPECT_TRUE(FoundLQTol());
    EXPECT_TRUE(FoundVQ());
    EXPECT_EQ(GetPathLQP(), demo.design3D);
    CatalogueDatabase db;
    EXPECT_TRUE(db.open(GetPathVQ()));

    ScriptedBoxes boxes;
    GlassesList store(boxes, clock, demo.program);
    store.LoadCatalogNames(GetPathLQP());
    store.LoadSuppliedNames(GetPathLQP());
    store.LoadUserGlasses();
    ASSERT_EQ(store.Count(), static_cast<int>(DemoCatalogue().size()));
    EXPECT_EQ(store.Records()[0].definition.name.str(), "N-BK7");
    EXPECT_EQ(store.CatalogKeys().count("S-BSL7|OHARA"), 1u);
    EXPECT_EQ(store.SuppliedKeys().count("CAF2|GENERIC"), 1u);
    EXPECT_TRUE(boxes.shown().empty());

    // Made once: a second run keeps what the user did with the demo.
    EXPECT_FALSE(MakeDemo(folder.path() + "demo", settings, clock, error));
    EXPECT_NE(error.find("UserDefineGlassesV3.DAT"), std::string::npos);
    // A demo cut short before its collection was written is made again over what is there.
    ASSERT_EQ(std::remove((demo.program + kCollectionFileName).c_str()), 0);
    EXPECT_TRUE(MakeDemo(folder.path() + "demo", settings, clock, error)) << error;
    EXPECT_TRUE(FileExists(demo.program + kCollectionFileName));
    ResetSetupPaths();
}

}  // namespace
