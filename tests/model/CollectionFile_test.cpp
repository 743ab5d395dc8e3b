// The collection file: load, save, backup, and what happens when the file
// system fails underneath.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "StoreFixtures.h"
#include "model/GlassDataInternalOld.h"
#include "model/GlassesList.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace fs = std::filesystem;

namespace {

class CollectionFileTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    FixedClock clock;
    TestFolder folder;

    std::vector<GlassRecord> loadFresh() {
        GlassesList fresh(boxes, clock, folder.path());
        fresh.LoadUserGlasses();
        return fresh.GetGlasses();
    }

    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path())) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    // The box of a failed load or save: an exclamation naming the file and the reason.
    void expectFailureBox(const std::string& file, const std::string& reason) {
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().style, kBoxExclamation);
        EXPECT_NE(boxes.last().text.find("File: " + file + "\r\n"), std::string::npos) << boxes.last().text;
        EXPECT_NE(boxes.last().text.find("Reason: " + reason), std::string::npos) << boxes.last().text;
    }
};

}  // namespace

TEST_F(CollectionFileTest, SaveWritesPackedRecordsInOrderAndLoadReadsThemBack) {
    GlassesList store(boxes, clock, folder.path());
    const std::vector<GlassRecord> glasses = {FullGlass("N-BK7", "SCHOTT"), FullGlass("S-BSL7", "OHARA")};
    store.SetGlasses(glasses);
    ASSERT_TRUE(store.SaveUserGlasses());

    EXPECT_EQ(folder.read(kCollectionFileName), CollectionBytes(glasses));
    EXPECT_FALSE(folder.exists(kCollectionBackupName));  // nothing to back up the first time
    EXPECT_EQ(folderEntries(), std::vector<std::string>{kCollectionFileName});
    EXPECT_EQ(loadFresh(), glasses);
}

TEST_F(CollectionFileTest, CollectionLargerThanOneWritePieceRoundTrips) {
    std::vector<GlassRecord> glasses;
    for (int i = 0; i < 130; ++i) glasses.push_back(FullGlass("G" + std::to_string(i), "X"));
    GlassesList store(boxes, clock, folder.path());
    store.SetGlasses(glasses);
    ASSERT_TRUE(store.SaveUserGlasses());
    EXPECT_EQ(folder.read(kCollectionFileName), CollectionBytes(glasses));
    EXPECT_EQ(loadFresh(), glasses);
}

TEST_F(CollectionFileTest, LoadDropsRepeatedKeysAndInvalidIdentities) {
    const std::vector<GlassRecord> inFile = {MakeGlass("F2", "SCHOTT", 1), MakeGlass("", "SCHOTT", 2),
                                             MakeGlass("f2  ", "schott", 3), MakeGlass("SF11", "SCHOTT", 4)};
    folder.write(kCollectionFileName, CollectionBytes(inFile));

    GlassesList store(boxes, clock, folder.path());
    store.LoadUserGlasses();
    ASSERT_EQ(store.Count(), 2);
    GlassRecord g;
    ASSERT_TRUE(store.GetGlass(1, g));
    EXPECT_EQ(g.definition.density, 1.0f);  // the first of the two keeps its place
    ASSERT_TRUE(store.GetGlass(2, g));
    EXPECT_EQ(g.definition.name.str(), "SF11");

    ASSERT_TRUE(store.SaveUserGlasses());
    EXPECT_EQ(folder.read(kCollectionFileName), CollectionBytes({inFile[0], inFile[3]}));
}

TEST_F(CollectionFileTest, BackupHoldsTheFileAsItWasBeforeTheLatestSave) {
    GlassesList store(boxes, clock, folder.path());
    ASSERT_TRUE(store.AddGlass(MakeGlass("A", "X"), false));
    ASSERT_TRUE(store.SaveUserGlasses());
    const std::vector<std::uint8_t> afterFirst = folder.read(kCollectionFileName);

    ASSERT_TRUE(store.AddGlass(MakeGlass("B", "X"), false));
    ASSERT_TRUE(store.SaveUserGlasses());
    const std::vector<std::uint8_t> afterSecond = folder.read(kCollectionFileName);
    EXPECT_EQ(folder.read(kCollectionBackupName), afterFirst);
    EXPECT_EQ(afterSecond.size(), 2 * kGlassRecordBytes);

    ASSERT_TRUE(store.AddGlass(MakeGlass("C", "X"), false));
    ASSERT_TRUE(store.SaveUserGlasses());
    EXPECT_EQ(folder.read(kCollectionBackupName), afterSecond);
    EXPECT_EQ(loadFresh().size(), 3u);
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{kCollectionBackupName, kCollectionFileName}));
}

TEST_F(CollectionFileTest, SavingAnEmptyCollectionRemovesTheFileAndKeepsTheBackup) {
    GlassesList store(boxes, clock, folder.path());
    ASSERT_TRUE(store.SaveUserGlasses());  // nothing there, nothing written
    EXPECT_TRUE(folderEntries().empty());

    ASSERT_TRUE(store.AddGlass(MakeGlass("A", "X"), false));
    ASSERT_TRUE(store.SaveUserGlasses());
    const std::vector<std::uint8_t> last = folder.read(kCollectionFileName);
    store.SetGlasses({});
    ASSERT_TRUE(store.SaveUserGlasses());
    EXPECT_FALSE(folder.exists(kCollectionFileName));
    EXPECT_EQ(folder.read(kCollectionBackupName), last);
    EXPECT_TRUE(loadFresh().empty());
}

TEST_F(CollectionFileTest, IncompleteLastRecordIsIgnored) {
    std::vector<std::uint8_t> bytes = CollectionBytes({MakeGlass("A", "X"), MakeGlass("B", "X")});
    Append(bytes, Slice(Packed(MakeGlass("CUT", "X")), 0, 5000));
    folder.write(kCollectionFileName, bytes);

    const std::vector<GlassRecord> loaded = loadFresh();
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[1].definition.name.str(), "B");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(CollectionFileTest, CountsBeyondTheArraysAreKeptAsStored) {
    GlassRecord g = FullGlass("WILD", "COUNTS");
    g.indexPointCount = 9999;
    g.measured.transCount = -7;
    g.melt.pairCount = 300;
    g.melt.secondCount = 32000;
    folder.write(kCollectionFileName, CollectionBytes({g}));

    GlassesList store(boxes, clock, folder.path());
    store.LoadUserGlasses();
    ASSERT_EQ(store.GetGlasses(), std::vector<GlassRecord>{g});
    ASSERT_TRUE(store.SaveUserGlasses());
    EXPECT_EQ(folder.read(kCollectionFileName), CollectionBytes({g}));
}

TEST_F(CollectionFileTest, FailedWriteLeavesFileAndBackupAndSaysWhy) {
    const std::vector<std::uint8_t> oldFile = CollectionBytes({MakeGlass("OLD", "X")});
    const std::vector<std::uint8_t> oldBackup = CollectionBytes({MakeGlass("OLDER", "X")});
    folder.write(kCollectionFileName, oldFile);
    folder.write(kCollectionBackupName, oldBackup);
    GlassesList store(boxes, clock, folder.path());
    store.SetGlasses({MakeGlass("A", "X"), MakeGlass("B", "X"), MakeGlass("C", "X")});
    boxes.answer(kAnswerOk);

    // A file size limit fails the write part-way, like a full disk, and also
    // for root (a read-only folder would not stop root).
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 2 * kGlassRecordBytes;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved3 = store.SaveUserGlasses();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved3);
    expectFailureBox(folder.file(kCollectionFileName), "File too large");
    EXPECT_EQ(folder.read(kCollectionFileName), oldFile);
    EXPECT_EQ(folder.read(kCollectionBackupName), oldBackup);
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{kCollectionBackupName, kCollectionFileName}));
    EXPECT_EQ(store.Count(), 3);  // the collection in memory is not lost

    boxes.clear();
    EXPECT_TRUE(store.SaveUserGlasses());  // once the cause is gone
    EXPECT_EQ(folder.read(kCollectionBackupName), oldFile);
}

TEST_F(CollectionFileTest, FailedBackupKeepsTheOldFile) {
    const std::vector<std::uint8_t> oldFile = CollectionBytes({MakeGlass("OLD", "X")});
    folder.write(kCollectionFileName, oldFile);
    fs::create_directory(folder.file(kCollectionBackupName));
    folder.write(std::string(kCollectionBackupName) + "/inside", "x");
    GlassesList store(boxes, clock, folder.path());
    store.SetGlasses({MakeGlass("NEW", "X")});
    boxes.answer(kAnswerOk);

    EXPECT_FALSE(store.SaveUserGlasses());
    expectFailureBox(folder.file(kCollectionBackupName), "Is a directory");
    EXPECT_EQ(folder.read(kCollectionFileName), oldFile);
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{kCollectionBackupName, kCollectionFileName}));
}

TEST_F(CollectionFileTest, SaveIntoAMissingFolderSaysWhichFile) {
    const std::string gone = folder.path() + "gone/";
    GlassesList store(boxes, clock, gone);
    store.SetGlasses({MakeGlass("A", "X")});
    boxes.answer(kAnswerOk);
    EXPECT_FALSE(store.SaveUserGlasses());
    expectFailureBox(gone + kCollectionFileName, "No such file or directory");
}

TEST_F(CollectionFileTest, UnreadableFileLeavesTheStoreEmptyDeletesNothingAndSaysWhy) {
    // Reading /proc/self/mem from its start fails with an I/O error for any
    // user, root included, so it stands in for a failing disk.
    fs::create_symlink("/proc/self/mem", folder.file(kCollectionFileName));
    folder.write(kCollectionV2FileName, std::vector<std::uint8_t>(kGlassRecordV2Bytes, ' '));
    GlassesList store(boxes, clock, folder.path());
    ASSERT_TRUE(store.AddGlass(MakeGlass("BEFORE", "X"), false));
    boxes.answer(kAnswerOk);

    store.LoadUserGlasses();
    EXPECT_EQ(store.Count(), 0);
    EXPECT_TRUE(store.UserKeys().empty());
    expectFailureBox(folder.file(kCollectionFileName), "Input/output error");
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{kCollectionV2FileName, kCollectionFileName}));

    // A material added now must not replace the file that was never read, nor
    // push it out of the backup by a second save.
    boxes.clear();
    ASSERT_TRUE(store.AddGlass(MakeGlass("AFTER", "X"), false));
    boxes.answer(kAnswerOk);
    EXPECT_FALSE(store.SaveUserGlasses());
    expectFailureBox(folder.file(kCollectionFileName), "it could not be read when the program started");
    EXPECT_TRUE(fs::is_symlink(folder.file(kCollectionFileName)));
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{kCollectionV2FileName, kCollectionFileName}));
    EXPECT_EQ(store.Count(), 1);

    // Once a load succeeds, saving works again.
    fs::remove(folder.file(kCollectionFileName));
    folder.write(kCollectionFileName, CollectionBytes({MakeGlass("READABLE", "X")}));
    boxes.clear();
    store.LoadUserGlasses();
    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_TRUE(store.AddGlass(MakeGlass("AFTER", "X"), false));
    EXPECT_TRUE(store.SaveUserGlasses());
    EXPECT_EQ(loadFresh().size(), 2u);
}
