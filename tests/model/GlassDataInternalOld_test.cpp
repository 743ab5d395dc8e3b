// Conversion of the three older collection files. The fixtures are built at
// the old layouts: the parts an old layout shares with the current record are
// cut from a packed current record, the rest is written at its old offsets.
#include "model/GlassDataInternalOld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "StoreFixtures.h"
#include "model/GlassesList.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace fs = std::filesystem;

namespace {

// Tail of every layout: the five section pairs and the date.
std::vector<std::uint8_t> SectionsAndDate(const std::vector<std::uint8_t>& current) {
    return Slice(current, 12936, 12964);
}

std::vector<std::uint8_t> V1Bytes(const GlassRecord& g) {
    const auto cur = Packed(g);
    std::vector<std::uint8_t> out = Slice(cur, 0, 12070);
    Append(out, SectionsAndDate(cur));
    return out;
}

struct MeltV2 {
    std::int16_t flag = kTrue;
    std::string parentName = "N-BK7", parentSource = "SCHOTT", code = "M-4711";
    std::int16_t pairCount = 5;
    std::int16_t oldSecondCount = 7;
};

float PairWavelength(int i) { return 1000.0f - 25.0f * static_cast<float>(i); }
float PairIndex(int i) { return 1.5168f + 0.0013f * static_cast<float>(i); }
float SecondValue(int column, int row) { return 0.1f * static_cast<float>(column) + 0.0007f * static_cast<float>(row); }

std::vector<std::uint8_t> MeltV2Bytes(const MeltV2& m) {
    std::vector<std::uint8_t> b(kMeltBlockV2Bytes, 0);
    Put<std::int16_t>(b, 0, m.flag);
    PutText(b, 2, "RESERVED", 30);
    PutText(b, 32, m.parentName, 30);
    PutText(b, 62, m.parentSource, 30);
    PutText(b, 92, m.code, 10);
    Put<std::int16_t>(b, 102, m.pairCount);
    for (int i = 1; i <= 20; ++i) {
        Put<float>(b, 104 + 4 * (i - 1), PairWavelength(i));
        Put<float>(b, 184 + 4 * (i - 1), PairIndex(i));
    }
    Put<std::int16_t>(b, 264, m.oldSecondCount);
    for (int column = 1; column <= 3; ++column)
        for (int row = 1; row <= 20; ++row) Put<float>(b, 266 + 80 * (column - 1) + 4 * (row - 1), SecondValue(column, row));
    return b;
}

std::vector<std::uint8_t> V2Bytes(const GlassRecord& g, const MeltV2& melt) {
    const auto cur = Packed(g);
    std::vector<std::uint8_t> out = Slice(cur, 0, 12070);
    Append(out, MeltV2Bytes(melt));
    Append(out, SectionsAndDate(cur));
    return out;
}

// Oldest layout: 12-character name, 20-character source, the rest 28 bytes earlier.
std::vector<std::uint8_t> OldestBytes(const GlassRecord& g) {
    const auto cur = Packed(g);
    std::vector<std::uint8_t> out = Slice(cur, 0, 6);
    std::vector<std::uint8_t> name(12), source(20);
    PutText(name, 0, g.definition.name.str(), 12);
    PutText(source, 0, g.definition.source.str(), 20);
    Append(out, name);
    Append(out, Slice(cur, 36, 38));
    Append(out, source);
    Append(out, Slice(cur, 68, 12070));
    Append(out, SectionsAndDate(cur));
    return out;
}

std::vector<std::uint8_t> Join(const std::vector<std::vector<std::uint8_t>>& records) {
    std::vector<std::uint8_t> out;
    for (const auto& r : records) Append(out, r);
    return out;
}

// What an old layout does not hold is zero, texts included.
GlassRecord WithoutMeltAndFlags(GlassRecord g) {
    g.melt = MeltBlock{};
    for (auto* text : {&g.melt.reserved, &g.melt.parentName, &g.melt.parentSource}) text->bytes.fill('\0');
    g.melt.meltCode.bytes.fill('\0');
    g.catalogFlags = CatalogFlags{};
    return g;
}

class MigrationTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    FixedClock clock;
    TestFolder folder;
    GlassesList store{boxes, clock, folder.path()};

    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path())) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace

TEST(OldRecordTest, LayoutSizes) {
    EXPECT_EQ(V1Bytes(FullGlass("A", "B")).size(), kGlassRecordV1Bytes);
    EXPECT_EQ(V2Bytes(FullGlass("A", "B"), {}).size(), kGlassRecordV2Bytes);
    EXPECT_EQ(OldestBytes(FullGlass("A", "B")).size(), kGlassRecordOldestBytes);
}

TEST_F(MigrationTest, OldestFileBecomesTheCurrentFileAndIsDeleted) {
    GlassRecord a = FullGlass("N-BK7", "SCHOTT");
    GlassRecord b = FullGlass("OLDNAME12345", "A SOURCE OF TWENTY C");
    b.definition.coefficients[13] = 7.25;
    b.measured.internalTrans[150] = 12.5f;
    folder.write(kCollectionOldestFileName,
                 Join({OldestBytes(a), OldestBytes(FullGlass("n-bk7 ", "schott")), OldestBytes(FullGlass("", "X")),
                       OldestBytes(b)}));

    store.LoadUserGlasses();
    const std::vector<GlassRecord> expected = {WithoutMeltAndFlags(a), WithoutMeltAndFlags(b)};
    EXPECT_EQ(store.GetGlasses(), expected);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{kCollectionFileName});
    const std::vector<std::uint8_t> file = folder.read(kCollectionFileName);
    ASSERT_EQ(file.size(), 2 * kGlassRecordBytes);
    EXPECT_EQ(std::string(file.begin() + kGlassRecordBytes + 6, file.begin() + kGlassRecordBytes + 36),
              "OLDNAME12345" + std::string(18, ' '));
    EXPECT_EQ(std::string(file.begin() + kGlassRecordBytes + 38, file.begin() + kGlassRecordBytes + 68),
              "A SOURCE OF TWENTY C" + std::string(10, ' '));
    EXPECT_EQ(file, CollectionBytes(expected));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(MigrationTest, OldestFieldsAtTheirOldOffsets) {
    std::vector<std::uint8_t> old = OldestBytes(FullGlass("F2", "SCHOTT"));
    Put<std::int16_t>(old, 18, 8);             // catalogue number
    Put<double>(old, 50 + 13 * 8, -4.5);       // coefficient 13
    Put<float>(old, 494, 1.62f);               // nd
    PutText(old, 710 + 339, "R", 4);           // status
    Put<float>(old, 1068 + 720 + 34, 21.5f);   // reference temperature
    Put<std::int16_t>(old, 1826 + 7810, 3);    // transmission count
    Put<std::int16_t>(old, 12042 + 8, 17);     // edit count of the Trans section
    Put<double>(old, 12062, 44000.5);          // last stored
    GlassRecord g;
    ConvertOldestRecord(old.data(), g);
    EXPECT_EQ(g.definition.catalogNumber, 8);
    EXPECT_EQ(g.definition.coefficients[13], -4.5);
    EXPECT_EQ(g.constants.nd, 1.62f);
    EXPECT_EQ(g.properties.status.str(), "R");
    EXPECT_EQ(g.notes.referenceTemperature, 21.5f);
    EXPECT_EQ(g.measured.transCount, 3);
    EXPECT_EQ(g.sections[kTrans].editCount, 17);
    EXPECT_EQ(g.lastStored, 44000.5);
}

TEST_F(MigrationTest, OnlyTheNewestOlderFileIsConverted) {
    const std::vector<std::uint8_t> v1 = V1Bytes(FullGlass("FROM V1", "X"));
    folder.write(kCollectionV1FileName, v1);
    folder.write(kCollectionV2FileName, V2Bytes(FullGlass("FROM V2", "X"), {}));

    store.LoadUserGlasses();
    ASSERT_EQ(store.Count(), 1);
    EXPECT_EQ(store.Records()[0].definition.name.str(), "FROM V2");
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{kCollectionV1FileName, kCollectionFileName}));
    EXPECT_EQ(folder.read(kCollectionV1FileName), v1);
}

TEST_F(MigrationTest, V2MeltGlassKeepsItsMeltData) {
    const GlassRecord base = FullGlass("MELT 1", "ME");
    MeltV2 melt;
    melt.pairCount = 20;  // every pair of the table
    std::vector<std::uint8_t> old = V2Bytes(base, melt);
    Put<double>(old, 12596, 44000.5);
    Put<std::int16_t>(old, 12576 + 18, kTrue);  // Other section ready
    folder.write(kCollectionV2FileName, old);

    store.LoadUserGlasses();
    ASSERT_EQ(store.Count(), 1);
    const GlassRecord& g = store.Records()[0];
    EXPECT_EQ(g.definition, base.definition);
    EXPECT_EQ(g.measured, base.measured);
    EXPECT_EQ(g.melt.meltFlag, kTrue);
    EXPECT_EQ(g.melt.reserved.str(), "RESERVED");
    EXPECT_EQ(g.melt.parentName.str(), "N-BK7");
    EXPECT_EQ(g.melt.parentSource.str(), "SCHOTT");
    EXPECT_EQ(g.melt.meltCode.str(), "M-4711");
    EXPECT_EQ(g.melt.pairCount, 20);
    EXPECT_EQ(g.melt.secondCount, 0);
    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(g.melt.pairWavelength[i], PairWavelength(i)) << i;
        EXPECT_EQ(g.melt.pairIndex[i], static_cast<double>(PairIndex(i))) << i;
        for (int column = 1; column <= 3; ++column)
            EXPECT_EQ(g.melt.secondTable[column][i], static_cast<double>(SecondValue(column, i))) << column << "," << i;
    }
    EXPECT_EQ(g.catalogFlags, CatalogFlags{});
    EXPECT_EQ(g.sections[kOther].ready, kTrue);
    EXPECT_EQ(g.lastStored, 44000.5);
    EXPECT_FALSE(folder.exists(kCollectionV2FileName));
}

TEST_F(MigrationTest, V1RecordHasNoMeltDataAndSectionsAtTheOldPlace) {
    const GlassRecord base = FullGlass("PLAIN", "ME");
    std::vector<std::uint8_t> old = V1Bytes(base);
    Put<std::int16_t>(old, 12070 + 12, 33);  // dn/dt edit count
    Put<double>(old, 12090, 43000.25);
    GlassRecord g;
    ConvertV1Record(old.data(), g);

    GlassRecord expected = WithoutMeltAndFlags(base);
    expected.sections[kDnDt].editCount = 33;
    expected.lastStored = 43000.25;
    EXPECT_EQ(g, expected);
}

TEST_F(MigrationTest, NoFileAtAllLeavesTheCollectionEmptyAndWritesNothing) {
    store.LoadUserGlasses();
    EXPECT_EQ(store.Count(), 0);
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(MigrationTest, CurrentFilePresentLeavesOlderFilesAlone) {
    folder.write(kCollectionFileName, CollectionBytes({MakeGlass("CURRENT", "X")}));
    folder.write(kCollectionV2FileName, V2Bytes(FullGlass("OLD", "X"), {}));
    store.LoadUserGlasses();
    ASSERT_EQ(store.Count(), 1);
    EXPECT_EQ(store.Records()[0].definition.name.str(), "CURRENT");
    EXPECT_TRUE(folder.exists(kCollectionV2FileName));
}

TEST_F(MigrationTest, FailedWriteKeepsTheOldFile) {
    const std::vector<std::uint8_t> old = Join({V1Bytes(FullGlass("A", "X")), V1Bytes(FullGlass("B", "X"))});
    folder.write(kCollectionV1FileName, old);
    boxes.answer(kAnswerOk);

    {
        const FileSizeLimit limit(kGlassRecordBytes);  // the current file cannot be written whole
        store.LoadUserGlasses();
    }
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxExclamation);
    EXPECT_NE(boxes.last().text.find(folder.file(kCollectionFileName)), std::string::npos);
    EXPECT_EQ(folder.read(kCollectionV1FileName), old);
    EXPECT_EQ(store.Count(), 2);  // the materials are there for this run
    EXPECT_EQ(folderEntries(), std::vector<std::string>{kCollectionV1FileName});
}

// A damaged older file is converted as far as it is sound; its copy stays
// when the old file goes.
TEST_F(MigrationTest, DamagedOlderFileConvertsItsSoundRecordsAndKeepsACopy) {
    MeltV2 wild;
    wild.pairCount = 99;
    const std::vector<std::uint8_t> old =
        Join({V2Bytes(FullGlass("GOOD", "X"), {}), V2Bytes(FullGlass("BAD", "X"), wild)});
    folder.write(kCollectionV2FileName, old);
    boxes.answer(kAnswerOk);

    store.LoadUserGlasses();
    ASSERT_EQ(store.Count(), 1);
    EXPECT_EQ(store.Records()[0].definition.name.str(), "GOOD");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_NE(boxes.last().text.find("(record 2: melt pair count 99)"), std::string::npos) << boxes.last().text;
    const std::string copy = std::string(kCollectionV2FileName) + kDamagedCopySuffix;
    EXPECT_EQ(folder.read(copy), old);
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{copy, kCollectionFileName}));
}

TEST_F(MigrationTest, UnreadableOldFileStopsTheMigration) {
    fs::create_symlink("/proc/self/mem", folder.file(kCollectionV2FileName));  // reads fail with EIO
    const std::vector<std::uint8_t> v1 = V1Bytes(FullGlass("FROM V1", "X"));
    folder.write(kCollectionV1FileName, v1);
    boxes.answer(kAnswerOk);

    store.LoadUserGlasses();
    EXPECT_EQ(store.Count(), 0);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_NE(boxes.last().text.find(folder.file(kCollectionV2FileName)), std::string::npos);
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{kCollectionV1FileName, kCollectionV2FileName}));
    EXPECT_EQ(folder.read(kCollectionV1FileName), v1);

    // A current file written now would hide the unconverted old one for good.
    ASSERT_TRUE(store.AddGlass(MakeGlass("NEW", "X"), false));
    boxes.answer(kAnswerOk);
    EXPECT_FALSE(store.SaveUserGlasses());
    EXPECT_NE(boxes.last().text.find(folder.file(kCollectionV2FileName)), std::string::npos);
    EXPECT_FALSE(folder.exists(kCollectionFileName));
}
