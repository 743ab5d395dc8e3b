// The collection file: load, save, backup, and what happens when the file
// system fails underneath.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "FileCallProbes.h"
#include "StoreFixtures.h"
#include "model/FileUtil.h"
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

    // The name the copy of a damaged collection file takes first.
    const std::string damagedCopy = std::string(kCollectionFileName) + kDamagedCopySuffix;

    // A collection file of one material whose end is cut short; its bytes.
    std::vector<std::uint8_t> writeFileCutShort() const {
        std::vector<std::uint8_t> bytes = CollectionBytes({MakeGlass("A", "X")});
        Append(bytes, std::vector<std::uint8_t>(10, 0));
        folder.write(kCollectionFileName, bytes);
        return bytes;
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

// More records than one write piece and than the heap keeps (its records
// then live in a large block of their own).
TEST_F(CollectionFileTest, CollectionLargerThanOneWritePieceRoundTrips) {
    std::vector<GlassRecord> glasses;
    for (int i = 0; i < 300; ++i) glasses.push_back(FullGlass("G" + std::to_string(i), "X"));
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

// A damaged file gives its sound records, keeps a copy of itself as it was
// and says once what was found; saving afterwards works and leaves the copy.
TEST_F(CollectionFileTest, DamagedFileLoadsItsSoundRecordsAndKeepsACopy) {
    const std::vector<std::uint8_t> a = Packed(MakeGlass("A", "X")), b = Packed(MakeGlass("B", "X"));
    auto poked = [&](auto poke) {
        GlassRecord g = FullGlass("BAD", "X");
        poke(g);
        return Packed(g);
    };
    std::vector<std::uint8_t> noise(3 * kGlassRecordBytes + 100);
    std::uint32_t seed = 12345;
    for (std::uint8_t& byte : noise) byte = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    struct Case {
        const char* what;
        std::vector<std::vector<std::uint8_t>> parts;
        std::vector<std::string> loaded;
        std::string found;
    };
    const Case cases[] = {
        {"cut", {a, b, Slice(Packed(MakeGlass("CUT", "X")), 0, 5000)}, {"A", "B"},
         "Found: the file ends 5000 bytes into a record of 12964 bytes\r\n"},
        {"melt flag", {a, poked([](GlassRecord& g) { g.melt.meltFlag = 7; }), b}, {"A", "B"},
         "Found: 1 record of 3 is damaged (record 2: melt flag 7)\r\n"},
        {"ready flag", {poked([](GlassRecord& g) { g.sections[kOther].ready = 1; }), a}, {"A"},
         "(record 1: Other ready flag 1)"},
        {"index points", {a, poked([](GlassRecord& g) { g.indexPointCount = 9999; })}, {"A"},
         "(record 2: index point count 9999)"},
        {"transmission points", {poked([](GlassRecord& g) { g.measured.transCount = -7; }), b}, {"B"},
         "(record 1: transmission point count -7)"},
        {"melt pairs", {poked([](GlassRecord& g) { g.melt.pairCount = 21; }), b}, {"B"}, "melt pair count 21"},
        {"second table", {poked([](GlassRecord& g) { g.melt.secondCount = 32000; }), b}, {"B"},
         "second melt table count 32000"},
        {"random bytes", {noise}, {},
         "Found: 3 records of 3 are damaged (record 1: melt flag"},
        {"both", {poked([](GlassRecord& g) { g.catalogFlags.statusECO = 2; }), a, Slice(b, 0, 12)}, {"A"},
         "Found: 1 record of 2 is damaged (record 1: ECO flag 2); the file ends 12 bytes into a record"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestFolder here;
        std::vector<std::uint8_t> bytes;
        for (const auto& part : c.parts) Append(bytes, part);
        here.write(kCollectionFileName, bytes);
        ScriptedBoxes told;
        told.answer(kAnswerOk);
        GlassesList store(told, clock, here.path());
        store.LoadUserGlasses();

        std::vector<std::string> names;
        for (const GlassRecord& g : store.Records()) names.push_back(g.definition.name.str());
        EXPECT_EQ(names, c.loaded);
        ASSERT_EQ(told.shown().size(), 1u);
        const std::string& text = told.last().text;
        EXPECT_EQ(told.last().style, kBoxExclamation);
        const std::string head = "Your collection file is damaged.\r\n\r\nFile: " + here.file(kCollectionFileName);
        EXPECT_EQ(text.rfind(head + "\r\n", 0), 0u) << text;
        EXPECT_NE(text.find(c.found), std::string::npos) << text;
        const std::string copy = std::string(kCollectionFileName) + kDamagedCopySuffix;
        EXPECT_NE(text.find("The file as it was is kept as:\r\n" + here.file(copy)), std::string::npos) << text;
        EXPECT_EQ(here.read(copy), bytes);

        // The next save writes the sound records; the copy stays as it was.
        ASSERT_TRUE(store.AddGlass(MakeGlass("NEW", "X"), false));
        ASSERT_TRUE(store.SaveUserGlasses());
        EXPECT_EQ(here.read(copy), bytes);
        EXPECT_EQ(here.read(kCollectionBackupName), bytes);
        ScriptedBoxes quiet;
        GlassesList again(quiet, clock, here.path());
        again.LoadUserGlasses();
        EXPECT_EQ(again.Count(), static_cast<int>(c.loaded.size()) + 1);
    }
}

TEST_F(CollectionFileTest, TheCopyOfADamagedFileNeverReplacesAnotherFile) {
    const std::vector<std::uint8_t> bytes = writeFileCutShort();
    folder.write(damagedCopy, std::string("earlier"));
    boxes.answer(kAnswerOk);

    EXPECT_EQ(loadFresh().size(), 1u);
    EXPECT_NE(boxes.last().text.find("kept as:\r\n" + folder.file(damagedCopy + ".2")), std::string::npos)
        << boxes.last().text;
    EXPECT_EQ(folder.read(damagedCopy + ".2"), bytes);
    EXPECT_EQ(folder.read(damagedCopy), (std::vector<std::uint8_t>{'e', 'a', 'r', 'l', 'i', 'e', 'r'}));
}

// A damaged file that is loaded again (the program started once more before
// anything was saved) is not copied again: one copy per start would use up
// the names and then block every save.
TEST_F(CollectionFileTest, ADamagedFileAlreadyKeptIsNotCopiedAgain) {
    struct Case {
        const char* what;
        std::function<void(const std::vector<std::uint8_t>&)> before;
    };
    const Case cases[] = {
        {"loaded before",
         [&](const std::vector<std::uint8_t>&) {
             boxes.answer(kAnswerOk);
             loadFresh();
         }},
        {"copied byte for byte", [&](const std::vector<std::uint8_t>& bytes) { folder.write(damagedCopy, bytes); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& name : folderEntries()) fs::remove(folder.file(name));
        const std::vector<std::uint8_t> bytes = writeFileCutShort();
        c.before(bytes);
        boxes.answer(kAnswerOk);

        EXPECT_EQ(loadFresh().size(), 1u);
        EXPECT_NE(boxes.last().text.find("kept as:\r\n" + folder.file(damagedCopy)), std::string::npos)
            << boxes.last().text;
        EXPECT_EQ(folderEntries(), (std::vector<std::string>{kCollectionFileName, damagedCopy}));
        EXPECT_EQ(folder.read(damagedCopy), bytes);
    }
}

// Without a copy the records that could not be loaded would be lost by the
// next save, so nothing is saved in this run.
TEST_F(CollectionFileTest, ADamagedFileThatCannotBeCopiedIsNeverReplaced) {
    const std::vector<std::uint8_t> bytes = writeFileCutShort();
    folder.write(damagedCopy, std::string("taken"));
    for (int n = 2; n <= 99; ++n) folder.write(damagedCopy + "." + std::to_string(n), std::string("taken"));
    GlassesList store(boxes, clock, folder.path());
    boxes.answer(kAnswerOk);

    store.LoadUserGlasses();
    EXPECT_EQ(store.Count(), 1);
    EXPECT_NE(boxes.last().text.find("No copy of the file as it was could be kept"), std::string::npos)
        << boxes.last().text;
    boxes.clear();
    boxes.answer(kAnswerOk);
    EXPECT_FALSE(store.SaveUserGlasses());
    expectFailureBox(folder.file(kCollectionFileName), "it is damaged and no copy of it could be kept");
    EXPECT_EQ(folder.read(kCollectionFileName), bytes);
}

// Whatever a record in the store holds, the file written from it loads whole
// and without a word: flags other than 0 are written as -1, counts beyond
// their arrays as the array's size.
TEST_F(CollectionFileTest, EveryRecordTheProgramWritesLoadsAsSound) {
    GlassRecord wild = FullGlass("WILD", "VALUES");
    wild.melt.meltFlag = 1;
    wild.catalogFlags.statusMold = 5;
    wild.sections[kIndex].ready = 2;
    wild.indexPointCount = 9999;
    wild.measured.transCount = -7;
    wild.melt.pairCount = 300;
    wild.melt.secondCount = 21;
    const GlassRecord plain = FullGlass("PLAIN", "VALUES");
    GlassesList store(boxes, clock, folder.path());
    store.SetGlasses({wild, plain});
    ASSERT_TRUE(store.SaveUserGlasses());

    GlassRecord expected = wild;
    expected.melt.meltFlag = kTrue;
    expected.catalogFlags.statusMold = kTrue;
    expected.sections[kIndex].ready = kTrue;
    expected.indexPointCount = kMaxIndexPoints;
    expected.measured.transCount = 0;
    expected.melt.pairCount = kMaxMeltPairs;
    expected.melt.secondCount = kMaxMeltPairs;
    EXPECT_EQ(loadFresh(), (std::vector<GlassRecord>{expected, plain}));
    EXPECT_TRUE(boxes.shown().empty());
}

// Something other than a file in the collection file's place: the user is
// told at once, nothing is loaded or converted, and no save replaces it.
TEST_F(CollectionFileTest, AFolderOrAFifoInTheFilesPlaceIsToldAndNeverReplaced) {
    struct Case {
        const char* what;
        std::function<void(const std::string&)> make;
        std::string reason;
        fs::file_type type;
    };
    const Case cases[] = {
        {"folder", [](const std::string& p) { fs::create_directory(p); }, "it is a folder, not a file",
         fs::file_type::directory},
        {"fifo", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, "it is not a regular file",
         fs::file_type::fifo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestFolder here;
        const std::string file = here.file(kCollectionFileName);
        c.make(file);
        here.write(kCollectionV2FileName, std::vector<std::uint8_t>(kGlassRecordV2Bytes, ' '));
        ScriptedBoxes told;
        told.answer(kAnswerOk);
        GlassesList store(told, clock, here.path());
        store.LoadUserGlasses();
        EXPECT_EQ(store.Count(), 0);
        ASSERT_EQ(told.shown().size(), 1u);
        EXPECT_NE(told.last().text.find("Your materials could not be loaded."), std::string::npos);
        EXPECT_NE(told.last().text.find("File: " + file + "\r\nReason: " + c.reason), std::string::npos)
            << told.last().text;
        EXPECT_TRUE(here.exists(kCollectionV2FileName));  // not converted over it

        ASSERT_TRUE(store.AddGlass(MakeGlass("A", "X"), false));
        told.answer(kAnswerOk);
        EXPECT_FALSE(store.SaveUserGlasses());
        EXPECT_EQ(fs::status(file).type(), c.type);
        EXPECT_FALSE(here.exists(kCollectionBackupName));
    }
}

// One that appears while the program runs is not replaced either.
TEST_F(CollectionFileTest, AFifoPutInTheFilesPlaceLaterIsNotReplaced) {
    GlassesList store(boxes, clock, folder.path());
    store.LoadUserGlasses();
    ASSERT_EQ(::mkfifo(folder.file(kCollectionFileName).c_str(), 0600), 0);
    ASSERT_TRUE(store.AddGlass(MakeGlass("A", "X"), false));
    boxes.answer(kAnswerOk);
    EXPECT_FALSE(store.SaveUserGlasses());
    expectFailureBox(folder.file(kCollectionFileName), "it is not a regular file");
    EXPECT_EQ(fs::status(folder.file(kCollectionFileName)).type(), fs::file_type::fifo);
}

TEST_F(CollectionFileTest, FailedWriteLeavesFileAndBackupAndSaysWhy) {
    const std::vector<std::uint8_t> oldFile = CollectionBytes({MakeGlass("OLD", "X")});
    const std::vector<std::uint8_t> oldBackup = CollectionBytes({MakeGlass("OLDER", "X")});
    folder.write(kCollectionFileName, oldFile);
    folder.write(kCollectionBackupName, oldBackup);
    GlassesList store(boxes, clock, folder.path());
    store.SetGlasses({MakeGlass("A", "X"), MakeGlass("B", "X"), MakeGlass("C", "X")});
    boxes.answer(kAnswerOk);

    bool saved3 = true;
    {
        const FileSizeLimit limit(2 * kGlassRecordBytes);
        saved3 = store.SaveUserGlasses();
    }

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
    expectFailureBox(folder.file(kCollectionBackupName), "it is a folder, not a file");
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

// A save that failed at its last rename leaves the file and its backup as two
// names of one file; the next good save must not leave its temporary backup
// name behind.
TEST_F(CollectionFileTest, ASaveAfterOneThatFailedAtItsLastStepLeavesNoTemporaryFile) {
    const std::vector<std::uint8_t> old = CollectionBytes({MakeGlass("OLD", "X")});
    folder.write(kCollectionFileName, old);
    ASSERT_EQ(::link(folder.file(kCollectionFileName).c_str(), folder.file(kCollectionBackupName).c_str()), 0);
    GlassesList store(boxes, clock, folder.path());
    store.SetGlasses({MakeGlass("NEW", "X")});

    ASSERT_TRUE(store.SaveUserGlasses());
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{kCollectionBackupName, kCollectionFileName}));
    EXPECT_EQ(folder.read(kCollectionBackupName), old);
    EXPECT_EQ(folder.read(kCollectionFileName), CollectionBytes({MakeGlass("NEW", "X")}));
}

// The folder is flushed once the new file has its name: a power cut after
// the save cannot bring the old file back.
TEST_F(CollectionFileTest, ASaveIsOnDiskWhenItReturns) {
    folder.write(kCollectionFileName, CollectionBytes({MakeGlass("OLD", "X")}));
    GlassesList store(boxes, clock, folder.path());
    store.SetGlasses({MakeGlass("NEW", "X")});
    const std::vector<std::uint8_t> saved = CollectionBytes({MakeGlass("NEW", "X")});
    const std::string dir = folder.path().substr(0, folder.path().size() - 1);
    bool flushedAfterRename = false;
    WatchFsync([&](const std::string& path) {
        if (path == dir && ReadWholeFile(folder.file(kCollectionFileName)) == saved) flushedAfterRename = true;
    });
    const bool ok = store.SaveUserGlasses();
    WatchFsync(nullptr);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(flushedAfterRename);
}

// A folder that cannot be flushed fails the save before the swap: the old
// file stays, and no copy of the new collection is left beside it.
TEST_F(CollectionFileTest, AFailedFolderFlushLeavesNoNewFileBehind) {
    const std::vector<std::uint8_t> old = CollectionBytes({MakeGlass("OLD", "X")});
    folder.write(kCollectionFileName, old);
    GlassesList store(boxes, clock, folder.path());
    store.SetGlasses({MakeGlass("NEW", "X")});
    boxes.answer(kAnswerOk);

    FailFsyncOf(folder.path().substr(0, folder.path().size() - 1), EIO);
    const bool saved = store.SaveUserGlasses();
    FailFsyncOf("", 0);

    EXPECT_FALSE(saved);
    expectFailureBox(folder.file(kCollectionBackupName), "the folder could not be flushed to disk: Input/output error");
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{kCollectionBackupName, kCollectionFileName}));
    EXPECT_EQ(folder.read(kCollectionFileName), old);
}

// A file only its owner may read stays so, and so does its backup.
TEST_F(CollectionFileTest, APrivateCollectionFileStaysPrivateAfterASave) {
    folder.write(kCollectionFileName, CollectionBytes({MakeGlass("OLD", "X")}));
    ASSERT_EQ(::chmod(folder.file(kCollectionFileName).c_str(), 0600), 0);
    GlassesList store(boxes, clock, folder.path());
    store.SetGlasses({MakeGlass("NEW", "X")});
    ASSERT_TRUE(store.SaveUserGlasses());
    for (const char* name : {kCollectionFileName, kCollectionBackupName}) {
        struct stat info {};
        ASSERT_EQ(::stat(folder.file(name).c_str(), &info), 0) << name;
        EXPECT_EQ(info.st_mode & 0777, 0600u) << name;
    }
}

// Two copies of the program saving the one collection at the same moment:
// both saves succeed, file and backup are each one whole collection, and no
// temporary file is left.
TEST_F(CollectionFileTest, TwoSavesOfOneCollectionAtOnceLeaveWholeFiles) {
    std::vector<GlassRecord> mine, theirs;
    for (int i = 0; i < 20; ++i) {
        mine.push_back(FullGlass("MINE" + std::to_string(i), "X"));
        theirs.push_back(FullGlass("THEIRS" + std::to_string(i), "X"));
    }
    const std::vector<std::uint8_t> old = CollectionBytes({MakeGlass("OLD", "X")});
    const std::vector<std::uint8_t> mineBytes = CollectionBytes(mine), theirBytes = CollectionBytes(theirs);
    folder.write(kCollectionFileName, old);
    ScriptedBoxes otherBoxes;
    GlassesList first(boxes, clock, folder.path()), second(otherBoxes, clock, folder.path());
    first.SetGlasses(mine);
    second.SetGlasses(theirs);
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(BothAtOnce([&] { return first.SaveUserGlasses(); }, [&] { return second.SaveUserGlasses(); }),
                  std::make_pair(true, true));
        const std::vector<std::uint8_t> file = folder.read(kCollectionFileName);
        const std::vector<std::uint8_t> backup = folder.read(kCollectionBackupName);
        EXPECT_TRUE(file == mineBytes || file == theirBytes);
        EXPECT_TRUE(backup == old || backup == mineBytes || backup == theirBytes);
        EXPECT_EQ(folderEntries(), (std::vector<std::string>{kCollectionBackupName, kCollectionFileName}));
    }
}

// A collection file of no whole record beside a backup of materials: the
// user is told, the file is kept aside, and no save puts it over the backup.
TEST_F(CollectionFileTest, AnEmptyFileBesideAGoodBackupIsToldAndNeverReplacesTheBackup) {
    const std::vector<std::uint8_t> good = CollectionBytes({MakeGlass("A", "X"), MakeGlass("B", "X")});
    struct Case {
        const char* what;
        std::vector<std::uint8_t> file;
        std::vector<GlassRecord> saved;
        std::string told;
    };
    const Case cases[] = {
        {"empty, a material added", {}, {MakeGlass("NEW", "X")}, "Your collection file is empty.\r\n"},
        {"empty, nothing added", {}, {}, "Your collection file is empty.\r\n"},
        {"shorter than a record", Slice(good, 0, 100), {MakeGlass("NEW", "X")},
         "Your collection file is damaged.\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestFolder here;
        here.write(kCollectionFileName, c.file);
        here.write(kCollectionBackupName, good);
        ScriptedBoxes told;
        told.answer(kAnswerOk);
        GlassesList store(told, clock, here.path());
        store.LoadUserGlasses();
        ASSERT_EQ(told.shown().size(), 1u);
        EXPECT_EQ(told.last().style, kBoxExclamation);
        EXPECT_EQ(told.last().text.rfind(c.told, 0), 0u) << told.last().text;
        EXPECT_EQ(here.read(damagedCopy), c.file);

        store.SetGlasses(c.saved);
        ASSERT_TRUE(store.SaveUserGlasses());
        EXPECT_EQ(here.read(kCollectionBackupName), good);
        if (c.saved.empty()) EXPECT_FALSE(here.exists(kCollectionFileName));
        else EXPECT_EQ(here.read(kCollectionFileName), CollectionBytes(c.saved));
        EXPECT_EQ(told.shown().size(), 1u);
    }

    // The whole box for an empty file.
    folder.write(kCollectionFileName, std::vector<std::uint8_t>{});
    boxes.answer(kAnswerOk);
    loadFresh();
    const std::string file = folder.file(kCollectionFileName);
    EXPECT_EQ(boxes.last().text, "Your collection file is empty.\r\n\r\nFile: " + file +
                                     "\r\nFound: the file holds 0 bytes, not one record of 12964 bytes\r\n\r\n"
                                     "No material was loaded from it.\r\nThe file as it was is kept as:\r\n" +
                                     file + kDamagedCopySuffix);
}

// A collection kept in another folder and linked into the program folder, a
// backup linked likewise, or a backup that is a link to the collection file
// itself: every save writes the files the links lead to, the links stay, the
// backup is a copy of its own and no temporary file is left anywhere. An
// empty collection takes the link away and leaves the file it led to.
TEST_F(CollectionFileTest, SavesWriteThroughLinksAndTheBackupNeverBecomesALink) {
    enum Backup { kNoBackup, kPlainBackup, kBackupElsewhere, kBackupLinkedToTheFile };
    struct Case {
        const char* what;
        bool fileElsewhere;
        Backup backup;
    };
    const Case cases[] = {
        {"file linked, no backup", true, kNoBackup},
        {"file linked, backup beside it", true, kPlainBackup},
        {"backup linked", false, kBackupElsewhere},
        {"both linked", true, kBackupElsewhere},
        {"backup a link to the linked file", true, kBackupLinkedToTheFile},
        {"backup a link to the file", false, kBackupLinkedToTheFile},
    };
    const std::vector<std::uint8_t> old = CollectionBytes({MakeGlass("OLD", "X")});
    const std::vector<std::uint8_t> older = CollectionBytes({MakeGlass("OLDER", "X")});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestFolder here, elsewhere;
        const std::string file = here.file(kCollectionFileName), backup = here.file(kCollectionBackupName);
        std::string realFile = file, realBackup = backup;
        if (c.fileElsewhere) {
            realFile = elsewhere.file("collection.DAT");
            elsewhere.write("collection.DAT", old);
            fs::create_symlink(realFile, file);
        } else {
            here.write(kCollectionFileName, old);
        }
        if (c.backup == kPlainBackup) here.write(kCollectionBackupName, older);
        if (c.backup == kBackupElsewhere) {
            realBackup = elsewhere.file("backup.DAT");
            elsewhere.write("backup.DAT", older);
            fs::create_symlink(realBackup, backup);
        }
        if (c.backup == kBackupLinkedToTheFile) fs::create_symlink(realFile, backup);
        const auto noTemporaries = [&] {
            for (const TestFolder* f : {&here, &elsewhere})
                for (const auto& entry : fs::directory_iterator(f->path()))
                    EXPECT_FALSE(entry.path().string().ends_with(".tmp~")) << entry.path();
        };
        const auto linksStay = [&] {
            EXPECT_EQ(fs::is_symlink(backup), c.backup == kBackupElsewhere);
            if (c.backup == kBackupElsewhere) { EXPECT_EQ(fs::read_symlink(backup), realBackup); }
        };
        GlassesList store(boxes, clock, here.path());

        store.SetGlasses({MakeGlass("A", "X")});
        ASSERT_TRUE(store.SaveUserGlasses());
        EXPECT_EQ(ReadWholeFile(realFile), CollectionBytes({MakeGlass("A", "X")}));
        EXPECT_EQ(ReadWholeFile(realBackup), old);
        EXPECT_EQ(fs::is_symlink(file), c.fileElsewhere);
        linksStay();
        noTemporaries();

        store.SetGlasses({MakeGlass("A", "X"), MakeGlass("B", "X")});
        ASSERT_TRUE(store.SaveUserGlasses());
        const std::vector<std::uint8_t> second = CollectionBytes({MakeGlass("A", "X"), MakeGlass("B", "X")});
        EXPECT_EQ(ReadWholeFile(realFile), second);
        EXPECT_EQ(ReadWholeFile(realBackup), CollectionBytes({MakeGlass("A", "X")}));
        EXPECT_EQ(fs::is_symlink(file), c.fileElsewhere);
        linksStay();
        noTemporaries();

        store.SetGlasses({});
        ASSERT_TRUE(store.SaveUserGlasses());
        EXPECT_FALSE(fs::exists(fs::symlink_status(file)));
        EXPECT_EQ(ReadWholeFile(realBackup), second);
        if (c.fileElsewhere) { EXPECT_EQ(ReadWholeFile(realFile), second); }
        linksStay();
        noTemporaries();
    }
    EXPECT_TRUE(boxes.shown().empty());
}

// A save killed while it writes leaves its temporary file behind; the next
// save of the collection removes it, but not the one another save is writing
// at that moment, which then ends as it should.
TEST_F(CollectionFileTest, TheNextSaveRemovesAKilledSavesTemporaryFileButNotALiveOne) {
    const std::string file = folder.file(kCollectionFileName);
    folder.write(kCollectionFileName, CollectionBytes({MakeGlass("OLD", "X")}));
    const auto temporaryOfTheFile = [&](const std::string& path) { return path.rfind(file + ".", 0) == 0; };

    // Killed in the flush of its complete temporary file, the lock still held.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t killed = ::fork();
    ASSERT_GE(killed, 0);
    if (killed == 0) {
        WatchFsync([&](const std::string& path) {
            if (!temporaryOfTheFile(path)) return;
            (void)!::write(ready[1], "k", 1);
            for (;;) ::pause();
        });
        GlassesList store(boxes, clock, folder.path());
        store.SetGlasses({MakeGlass("KILLED", "X")});
        store.SaveUserGlasses();
        ::_exit(1);
    }
    char byte = 0;
    const bool stopped = ::read(ready[0], &byte, 1) == 1;
    ::kill(killed, SIGKILL);
    ::waitpid(killed, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_TRUE(stopped);
    std::vector<std::string> left = folderEntries();
    std::erase(left, kCollectionFileName);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(fs::file_size(folder.file(left[0])), kGlassRecordBytes);

    // The live save stops likewise, on a thread of its own, until the next
    // save is done.
    static thread_local bool stopsHere = false;
    std::latch writing(1), goOn(1);
    std::string live;
    WatchFsync([&](const std::string& path) {
        if (!stopsHere || !temporaryOfTheFile(path)) return;
        live = fs::path(path).filename();
        writing.count_down();
        goOn.wait();
    });
    bool liveSaved = false;
    std::thread other([&] {
        stopsHere = true;
        ScriptedBoxes otherBoxes;
        GlassesList store(otherBoxes, clock, folder.path());
        store.SetGlasses({MakeGlass("LIVE", "X")});
        liveSaved = store.SaveUserGlasses();
    });
    writing.wait();
    GlassesList store(boxes, clock, folder.path());
    store.SetGlasses({MakeGlass("NEXT", "X")});
    const bool nextSaved = store.SaveUserGlasses();
    const std::vector<std::string> during = folderEntries();
    goOn.count_down();
    other.join();
    WatchFsync(nullptr);

    EXPECT_TRUE(nextSaved);
    std::vector<std::string> expected = {kCollectionBackupName, kCollectionFileName, live};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(during, expected);
    EXPECT_TRUE(liveSaved);
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{kCollectionBackupName, kCollectionFileName}));
    EXPECT_EQ(folder.read(kCollectionFileName), CollectionBytes({MakeGlass("LIVE", "X")}));
    EXPECT_EQ(folder.read(kCollectionBackupName), CollectionBytes({MakeGlass("NEXT", "X")}));
}
