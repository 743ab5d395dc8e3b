#include "app/DemoFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "manage/CatalogueDatabase.h"
#include "manage/CatalogueOutput.h"
#include "melt/GlassMelt.h"
#include "melt/MeltFit.h"
#include "model/FileUtil.h"
#include "model/GlassData.h"
#include "model/GlassesList.h"
#include "model/Verification.h"
#include "shell/Bas1Setup.h"
#include "platform/Settings.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

TEST(DemoFolderTest, TheGlassesHaveThePublishedIndexAndAbbeNumber) {
    FixedClock clock;
    std::vector<PublishedGlass> all = DemoCatalogue();
    all.insert(all.end(), DemoCatalogueParents().begin(), DemoCatalogueParents().end());
    for (const PublishedGlass& p : all) {
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

TEST(DemoFolderTest, TheCatalogueDatabaseHoldsParentsToMakeMeltGlassesFrom) {
    TestFolder folder;
    MemorySettings settings;
    FixedClock clock;
    std::string error;
    ASSERT_TRUE(MakeDemo(folder.path() + "demo", settings, clock, error)) << error;
    CatalogueDatabase db;
    ASSERT_TRUE(db.open(DemoFolders(folder.path() + "demo").catalogue));
    DbRowSet own;
    ASSERT_TRUE(db.findRows(kGlassDataTable, OwnRowCriteria(), own));
    EXPECT_TRUE(own.rows.empty());  // the catalogue's glasses, not this program's: synchronising keeps them

    DbRowSet rows;
    ASSERT_TRUE(OpenRecordSet(db, GlassQuery("Schott"), rows));
    ASSERT_EQ(rows.rows.size(), DemoCatalogueParents().size());
    for (std::size_t r = 0; r < rows.rows.size(); ++r) {
        const PublishedGlass& p = DemoCatalogueParents()[r];
        SCOPED_TRACE(p.name);
        GlassRecord parent;
        InitGlassRecord(parent);
        ReadGlassRow(rows, r, parent);
        EXPECT_EQ(parent.definition.name.str(), p.name);
        EXPECT_NEAR(parent.constants.nd, p.nd, 0.6e-5);
        bool ok = false;
        EXPECT_NEAR(EvaluateIndex(parent.definition, kLineD, parent.definition.formulaType, ok), p.nd, 1e-5);

        // A melt 5e-5 above its parent at the Ohara lines fits.
        GlassRecord melt = parent;
        const float lines[] = {kLineC, kLineD, kLineF, kLineG};
        melt.melt.pairCount = 4;
        for (std::size_t i = 1; i <= 4; ++i) {
            melt.melt.pairWavelength[i] = lines[i - 1];
            melt.melt.pairIndex[i] = EvaluateIndex(parent.definition, lines[i - 1], kSellmeier, ok) + 5e-5;
        }
        ScriptedBoxes boxes;
        std::string report;
        EXPECT_EQ(FitMeltGlass(melt, parent, report, boxes).outcome, MeltFitOutcome::kFitted);
    }
}

}  // namespace
