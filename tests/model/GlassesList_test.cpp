#include "model/GlassesList.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "StoreFixtures.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

using namespace std::string_literals;

class StoreTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    FixedClock clock{45500.25};
    TestFolder folder;
    GlassesList store{boxes, clock, folder.path()};
};

// A catalogue name list record at its offsets.
std::vector<std::uint8_t> CatalogRecord(const std::string& name, const std::string& source) {
    std::vector<std::uint8_t> bytes(kCatalogNameRecordBytes, 0x5A);  // the uninterpreted rest is never zero here
    PutText(bytes, 0, name, 30);
    Put<std::int16_t>(bytes, 30, 3);
    PutText(bytes, 32, source, 30);
    return bytes;
}

std::vector<std::uint8_t> SuppliedRecord(const std::string& name, const std::string& source) {
    DesignGlassRecord rec;
    rec.definition.name.set(name);
    rec.definition.source.set(source);
    std::vector<std::uint8_t> bytes(kDesignGlassRecordBytes);
    WriteDesignGlassRecord(rec, bytes.data());
    for (std::size_t i = 516; i < bytes.size(); ++i) bytes[i] = 0xC3;  // the unused tail is ignored
    return bytes;
}

}  // namespace

TEST(GlassIdentityTest, ValidIdentity) {
    struct Case {
        std::string name, source;
        bool valid;
    } cases[] = {
        {"N-BK7", "SCHOTT", true},
        {"N-BK10", "OHARA 0", true},  // the digit 0 is an ordinary character
        {"  N-BK7 ", " SCHOTT  ", true},
        {"", "SCHOTT", false},
        {"     ", "SCHOTT", false},
        {"N-BK7", "", false},
        {"N-BK7", "   ", false},
        {"N-B\0K7"s, "SCHOTT", false},
        {"N-BK7", "SCH\0OTT"s, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + "/" + c.source);
        const GlassRecord g = MakeGlass(c.name, c.source);
        EXPECT_EQ(IsValidGlassIdent(g), c.valid);

        ScriptedBoxes boxes;
        FixedClock clock;
        GlassesList store(boxes, clock, "/nowhere/");
        EXPECT_EQ(store.AddGlass(g, false), c.valid);
        EXPECT_EQ(store.Count(), c.valid ? 1 : 0);
        EXPECT_EQ(store.UserKeys().size(), c.valid ? 1u : 0u);
    }
}

TEST(GlassIdentityTest, KeysTextsAndSameIdentity) {
    EXPECT_EQ(MakeGlassKey("  n-bk7   ", "schott "), "N-BK7|SCHOTT");
    EXPECT_EQ(MakeGlassKey("glas\xE9", "Maker"), "GLAS\xC9|MAKER");  // Windows-1252 é
    EXPECT_EQ(MakeGlassKey("", ""), "|");

    EXPECT_TRUE(IsValidText("N-BK7/SCHOTT"));
    EXPECT_TRUE(IsValidText("0"));
    EXPECT_FALSE(IsValidText(""));
    EXPECT_FALSE(IsValidText("N-BK7/\0"s));

    EXPECT_TRUE(SameGlassIdent(MakeGlass("n-bk7 ", "Schott"), MakeGlass("N-BK7", "SCHOTT  ")));
    EXPECT_FALSE(SameGlassIdent(MakeGlass("N-BK7", "SCHOTT"), MakeGlass("N-BK7", "OHARA")));
    EXPECT_FALSE(SameGlassIdent(MakeGlass("N-BK7", "SCHOTT"), MakeGlass("N-BK8", "SCHOTT")));

    // A name with a NUL never gets a key, whatever its source.
    GlassKeySet keys;
    AddGlassKey(MakeGlass("A\0B"s, "X").definition, keys);
    AddGlassKey(MakeGlass("  ", "X").definition, keys);
    EXPECT_TRUE(keys.empty());
    AddGlassKey(MakeGlass("a", "").definition, keys);  // the name decides, not the source
    AddGlassKey(MakeGlass("A ", "").definition, keys);
    EXPECT_EQ(keys, GlassKeySet{"A|"});
    EXPECT_TRUE(GlassKeyExists(MakeGlass("a", " ").definition, keys));
    ClearGlassKeys(keys);
    EXPECT_TRUE(keys.empty());
}

TEST_F(StoreTest, SameKeyIsRefusedOrReplacedInPlace) {
    ASSERT_TRUE(store.AddGlass(MakeGlass("F2", "SCHOTT", 1.0f), false));
    ASSERT_TRUE(store.AddGlass(MakeGlass("N-BK7", "SCHOTT", 2.0f), false));
    ASSERT_TRUE(store.AddGlass(MakeGlass("SF11", "SCHOTT", 3.0f), false));

    EXPECT_FALSE(store.AddGlass(MakeGlass("n-bk7  ", "schott", 9.0f), false));
    GlassRecord g;
    ASSERT_TRUE(store.GetGlass(2, g));
    EXPECT_EQ(g.definition.density, 2.0f);

    EXPECT_TRUE(store.AddGlass(MakeGlass("n-bk7  ", "schott", 9.0f), true));
    EXPECT_EQ(store.Count(), 3);
    ASSERT_TRUE(store.GetGlass(2, g));
    EXPECT_EQ(g.definition.density, 9.0f);
    EXPECT_EQ(g.definition.name.str(), "n-bk7");  // the whole new record, as given
    ASSERT_TRUE(store.GetGlass(3, g));
    EXPECT_EQ(g.definition.name.str(), "SF11");

    // bReplace on a new key simply adds it.
    EXPECT_TRUE(store.AddGlass(MakeGlass("LAK9", "SCHOTT"), true));
    EXPECT_EQ(store.Count(), 4);
}

TEST_F(StoreTest, StampedAddDatesTheCallersRecordEvenWhenRefused) {
    GlassRecord g = MakeGlass("F2", "SCHOTT");
    ASSERT_TRUE(store.AddGlassStamped(g, false));
    EXPECT_EQ(g.lastStored, 45500.25);
    GlassRecord stored;
    ASSERT_TRUE(store.GetGlass(1, stored));
    EXPECT_EQ(stored.lastStored, 45500.25);

    clock.set(45600.0);
    GlassRecord again = MakeGlass("F2", "SCHOTT");
    EXPECT_FALSE(store.AddGlassStamped(again, false));
    EXPECT_EQ(again.lastStored, 45600.0);
    ASSERT_TRUE(store.GetGlass(1, stored));
    EXPECT_EQ(stored.lastStored, 45500.25);
}

TEST_F(StoreTest, GetGlassOutsideTheCollectionLeavesTheRecord) {
    ASSERT_TRUE(store.AddGlass(MakeGlass("F2", "SCHOTT"), false));
    GlassRecord g = MakeGlass("UNTOUCHED", "ME", 7.0f);
    const GlassRecord before = g;
    for (int index : {0, -1, 2}) {
        EXPECT_FALSE(store.GetGlass(index, g)) << index;
        EXPECT_EQ(g, before);
    }
}

TEST_F(StoreTest, SetGlassesRebuildsTheUserKeys) {
    ASSERT_TRUE(store.AddGlass(MakeGlass("OLD", "ME"), false));
    const std::vector<GlassRecord> glasses = {MakeGlass("A", "X", 1), MakeGlass("a ", "x", 2), MakeGlass("", "X"),
                                              MakeGlass("B", "Y")};
    store.SetGlasses(glasses);
    EXPECT_EQ(store.Count(), 4);  // kept as given, repeats and blanks included
    EXPECT_EQ(store.UserKeys(), (GlassKeySet{"A|X", "B|Y"}));
    EXPECT_FALSE(store.IsCustomGlass(MakeGlass("OLD", "ME")));
    EXPECT_TRUE(store.IsCustomGlass(MakeGlass("b", "y")));

    std::vector<GlassRecord> copy = store.GetGlasses();
    ASSERT_EQ(copy.size(), 4u);
    EXPECT_EQ(copy[1].definition.density, 2.0f);  // element i is record i + 1
    copy[0].definition.density = 99;
    GlassRecord g;
    ASSERT_TRUE(store.GetGlass(1, g));
    EXPECT_EQ(g.definition.density, 1.0f);

    store.SetGlasses({});
    EXPECT_EQ(store.Count(), 0);
    EXPECT_TRUE(store.UserKeys().empty());
    EXPECT_TRUE(store.GetGlasses().empty());
}

TEST_F(StoreTest, RefreshCallsTheRegisteredWindow) {
    store.RefreshListWindow();  // nothing registered yet: no effect
    int calls = 0;
    store.SetRefreshCallback([&] { ++calls; });
    store.RefreshListWindow();
    EXPECT_EQ(calls, 1);
}

TEST_F(StoreTest, CheckNameAllowedMessages) {
    std::vector<std::uint8_t> catalog = CatalogRecord("N-BK7", "SCHOTT");
    Append(catalog, CatalogRecord("BOTH", "X"));
    folder.write(kCatalogNamesFileName, catalog);
    std::vector<std::uint8_t> supplied = SuppliedRecord("SUP", "LUMIVAR");
    Append(supplied, SuppliedRecord("BOTH", "X"));
    folder.write(kSuppliedNamesFileName, supplied);
    store.LoadCatalogNames(folder.path());
    store.LoadSuppliedNames(folder.path());
    ASSERT_TRUE(store.AddGlass(MakeGlass("MINE", "ME"), false));

    const std::string untouched = "untouched";
    struct Case {
        std::string name, source;
        bool ask, allowed;
        std::string msg;
    } cases[] = {
        {"n-bk7", "schott", false, false,
         "n-bk7 - schott is already in the list of catalog materials, and cannot be overwritten!"},
        {"  Both ", "x", true, false, "Both - x is already in the list of catalog materials, and cannot be overwritten!"},
        {"Sup", "Lumivar", true, false,
         "Sup - Lumivar is already in the Harvenne supplied list of generic materials, and cannot be overwritten!"},
        {"Sup", "Lumivar", false, false,
         "Sup - Lumivar is already in the Harvenne supplied list of generic materials, and cannot be overwritten!"},
        {"Mine", "Me ", true, false,
         "Mine - Me is already in your list of custom materials.\r\n\r\nDo you want to overwrite it?"},
        {"Mine", "Me", false, true, untouched},
        {"NEW", "ONE", true, true, untouched},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + "/" + c.source);
        const GlassRecord g = MakeGlass(c.name, c.source);
        std::string msg = untouched;
        EXPECT_EQ(store.CheckNameAllowed(g, c.ask, msg), c.allowed);
        EXPECT_EQ(msg, c.msg);
    }
    EXPECT_TRUE(store.IsCatalogOrSuppliedGlass(MakeGlass("sup", "lumivar")));
    EXPECT_TRUE(store.IsCatalogOrSuppliedGlass(MakeGlass("N-BK7", "SCHOTT")));
    EXPECT_FALSE(store.IsCatalogOrSuppliedGlass(MakeGlass("MINE", "ME")));
    EXPECT_TRUE(store.IsCustomGlass(MakeGlass("mine", "me")));
}

TEST_F(StoreTest, CatalogNamesFoundIgnoringCaseAndTruncatedTailIgnored) {
    std::vector<std::uint8_t> bytes = CatalogRecord("n-bk7   ", "schott");
    Append(bytes, CatalogRecord("", "SCHOTT"));               // no name: no key
    Append(bytes, CatalogRecord("F\0" "2"s, "SCHOTT"));        // a NUL in the name: no key
    Append(bytes, CatalogRecord("F5", ""));                   // the name alone makes a key
    Append(bytes, Slice(CatalogRecord("PARTIAL", "SCHOTT"), 0, 200));  // cut short
    folder.write("sttessaralexa.DAT", bytes);

    store.LoadCatalogNames(folder.path());
    EXPECT_EQ(store.CatalogKeys(), (GlassKeySet{"N-BK7|SCHOTT", "F5|"}));
    EXPECT_TRUE(store.IsCatalogOrSuppliedGlass(MakeGlass("N-BK7", "SCHOTT")));
    std::string msg;
    EXPECT_FALSE(store.CheckNameAllowed(MakeGlass("N-BK7", "SCHOTT"), false, msg));
    EXPECT_TRUE(store.SuppliedKeys().empty());
}

TEST_F(StoreTest, SuppliedNamesIgnoreTheUnusedBytes) {
    std::vector<std::uint8_t> bytes = SuppliedRecord("Air", "Lumivar ");
    Append(bytes, SuppliedRecord("water", "lumivar"));
    Append(bytes, Slice(SuppliedRecord("PARTIAL", "LUMIVAR"), 0, 553));
    folder.write("SPTESSARAL.DAT", bytes);

    store.LoadSuppliedNames(folder.path());
    EXPECT_EQ(store.SuppliedKeys(), (GlassKeySet{"AIR|LUMIVAR", "WATER|LUMIVAR"}));
    EXPECT_TRUE(store.CatalogKeys().empty());
}

TEST_F(StoreTest, NameListsMissingOrEmptyGiveNoKeys) {
    store.LoadCatalogNames(folder.path());  // no file
    folder.write(kSuppliedNamesFileName, std::vector<std::uint8_t>{});
    store.LoadSuppliedNames(folder.path());
    EXPECT_TRUE(store.CatalogKeys().empty());
    EXPECT_TRUE(store.SuppliedKeys().empty());
    store.LoadCatalogNames(folder.path() + "missing/");
    EXPECT_TRUE(store.CatalogKeys().empty());
}

TEST_F(StoreTest, UnsetDesignFolderReadsNothingFromTheCurrentFolder) {
    folder.write(kCatalogNamesFileName, CatalogRecord("N-BK7", "SCHOTT"));
    folder.write(kSuppliedNamesFileName, SuppliedRecord("AIR", "LUMIVAR"));
    const std::string before = std::filesystem::current_path().string();
    ASSERT_EQ(::chdir(folder.path().c_str()), 0);
    store.LoadCatalogNames("");
    store.LoadSuppliedNames("");
    ASSERT_EQ(::chdir(before.c_str()), 0);
    EXPECT_TRUE(store.CatalogKeys().empty());
    EXPECT_TRUE(store.SuppliedKeys().empty());
}

TEST(DesignRecordsTest, BlankRecords) {
    DesignGlassRecord design;
    design.definition.name.set("X");
    design.definition.coefficients[3] = 1;
    design.unused[37] = 9;
    InitDesignFileRecord(design);
    std::vector<std::uint8_t> bytes(kDesignGlassRecordBytes, 0xAB);
    WriteDesignGlassRecord(design, bytes.data());
    std::vector<std::uint8_t> expected(kDesignGlassRecordBytes, 0);
    std::fill(expected.begin(), expected.begin() + 30, ' ');
    std::fill(expected.begin() + 32, expected.begin() + 62, ' ');
    EXPECT_EQ(bytes, expected);

    CatalogNameRecord catalog;
    ReadCatalogNameRecord(CatalogRecord("N-BK7", "SCHOTT").data(), catalog);
    EXPECT_EQ(catalog.name.str(), "N-BK7");
    EXPECT_EQ(catalog.value, 3);
    EXPECT_EQ(catalog.source.str(), "SCHOTT");
    EXPECT_EQ(catalog.rest[432], 0x5A);
    InitCatalogNameRecord(catalog);
    EXPECT_EQ(catalog.name.raw(), std::string(30, ' '));
    EXPECT_EQ(catalog.source.raw(), std::string(30, ' '));
    EXPECT_EQ(catalog.value, 0);
    EXPECT_TRUE(std::all_of(catalog.rest.begin(), catalog.rest.end(), [](std::uint8_t b) { return b == 0; }));
}
