#include "manage/DesignFileOutput.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "manage/ManageFixtures.h"
#include "model/FileUtil.h"
#include "support/NotAFile.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

GlassRecord Entry(const std::string& name, const std::string& source, float density) {
    GlassRecord g = Material(name, source);
    g.definition.density = density;
    g.notes.notes[0].set("not part of the design file");
    return g;
}

// The file as the design programs read it: one packed definition and 38 zero
// bytes per material.
Bytes FileOf(const std::vector<GlassRecord>& glasses) {
    Bytes out(glasses.size() * kDesignGlassRecordBytes);
    for (std::size_t i = 0; i < glasses.size(); ++i) {
        DesignGlassRecord r;
        r.definition = glasses[i].definition;
        WriteDesignGlassRecord(r, out.data() + i * kDesignGlassRecordBytes);
    }
    return out;
}

class DesignFileOutputTest : public ::testing::Test {
protected:
    std::string tolerancer() const { return tol.path(); }

    TestFolder lqp;
    TestFolder tol;
    ScriptedBoxes boxes;
    const GlassRecord x = Entry("X", "Other", 3.0f);
    const GlassRecord a = Entry("A", "Mine", 1.0f);
    const GlassRecord newA = Entry(" a ", "MINE", 2.0f);
    const GlassRecord b = Entry("B", "Mine", 4.0f);
    const GlassRecord c = Entry("C", "Mine", 5.0f);
};

TEST_F(DesignFileOutputTest, UpdateMergesIntoThe3DFileAndCopiesItToTheTolerancer) {
    struct Case {
        const char* what;
        ExistingMaterials mode;
        std::vector<GlassRecord> delivered;
        std::vector<GlassRecord> expected;
    };
    const Case cases[] = {
        {"overwrite", kOverwriteExisting, {newA, b}, {x, newA, b}},
        {"leave", kLeaveExisting, {newA, b}, {x, a, b}},
        {"append", kOverwriteExisting, {c, b}, {x, a, c, b}},
        {"nothing delivered", kOverwriteExisting, {}, {x, a}},
    };
    for (const auto& k : cases) {
        const Bytes old = FileOf({x, a});
        const Bytes tolOld = FileOf({c});  // the tolerancer's own file is not read
        lqp.write(kDesignFileName, old);
        tol.write(kDesignFileName, tolOld);
        ASSERT_TRUE(UpdateDesignFiles(lqp.path(), tolerancer(), k.delivered, k.mode, boxes)) << k.what;
        EXPECT_EQ(lqp.read(kDesignFileName), FileOf(k.expected)) << k.what;
        EXPECT_EQ(lqp.read(kDesignBackupName), old) << k.what;
        EXPECT_EQ(tol.read(kDesignFileName), FileOf(k.expected)) << k.what;
        EXPECT_EQ(tol.read(kDesignBackupName), tolOld) << k.what;
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(DesignFileOutputTest, WithoutAFileTheDeliveredMaterialsAreWrittenInOrder) {
    ASSERT_TRUE(UpdateDesignFiles(lqp.path(), "", std::vector<GlassRecord>{b, a}, kLeaveExisting, boxes));
    const Bytes written = lqp.read(kDesignFileName);
    EXPECT_EQ(written, FileOf({b, a}));
    ASSERT_EQ(written.size(), 2 * kDesignGlassRecordBytes);
    EXPECT_EQ(std::string(written.begin(), written.begin() + 30), "B" + std::string(29, ' '));
    EXPECT_EQ(Bytes(written.begin() + 516, written.begin() + 554), Bytes(38, 0));
    EXPECT_FALSE(lqp.exists(kDesignBackupName));
}

TEST_F(DesignFileOutputTest, AnEmptyListLeavesOnlyTheBackup) {
    const Bytes old = FileOf({x, a});
    lqp.write(kDesignFileName, old);
    ASSERT_TRUE(WriteDesignFile(lqp.path(), {}, boxes));
    EXPECT_FALSE(lqp.exists(kDesignFileName));
    EXPECT_EQ(lqp.read(kDesignBackupName), old);
}

TEST_F(DesignFileOutputTest, SynchroniseWritesTheListWithoutReadingTheOldFile) {
    lqp.write(kDesignFileName, FileOf({x, a}));
    ASSERT_TRUE(SynchroniseDesignFiles(lqp.path(), tolerancer(), std::vector<GlassRecord>{b, c}, boxes));
    EXPECT_EQ(lqp.read(kDesignFileName), FileOf({b, c}));
    EXPECT_EQ(tol.read(kDesignFileName), FileOf({b, c}));
    EXPECT_FALSE(tol.exists(kDesignBackupName));
}

TEST_F(DesignFileOutputTest, TheTolerancerIsWrittenOnlyWhenItsFolderIsThere) {
    const std::string missing = tol.path() + "not-installed/";
    for (const std::string& folder : {std::string(), missing}) {
        ASSERT_TRUE(UpdateDesignFiles(lqp.path(), folder, std::vector<GlassRecord>{a}, kOverwriteExisting, boxes));
        EXPECT_FALSE(std::filesystem::exists(missing));
        EXPECT_TRUE(std::filesystem::is_empty(tol.path()));
    }
    // Both programs in one folder: written once, so the backup keeps the old file.
    const Bytes old = FileOf({x});
    lqp.write(kDesignFileName, old);
    ASSERT_TRUE(UpdateDesignFiles(lqp.path(), lqp.path(), std::vector<GlassRecord>{b}, kOverwriteExisting, boxes));
    EXPECT_EQ(lqp.read(kDesignBackupName), old);
}

TEST_F(DesignFileOutputTest, AFailedWriteIsToldAndTheTolerancerIsLeftAlone) {
    const std::string gone = lqp.path() + "removed/";
    const Bytes tolOld = FileOf({c});
    tol.write(kDesignFileName, tolOld);
    boxes.answer(kAnswerOk);
    EXPECT_FALSE(UpdateDesignFiles(gone, tolerancer(), std::vector<GlassRecord>{a}, kOverwriteExisting, boxes));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxExclamation);
    EXPECT_EQ(boxes.last().text.rfind("Unable to write file:\r\n" + gone + kDesignFileName + ": ", 0), 0u)
        << boxes.last().text;
    EXPECT_EQ(tol.read(kDesignFileName), tolOld);
    EXPECT_FALSE(tol.exists(kDesignBackupName));
}

TEST_F(DesignFileOutputTest, ABackupThatCannotBeMadeStopsTheWrite) {
    // Without its backup the previous file would be lost: it stays in place.
    const Bytes old = FileOf({x, a});
    lqp.write(kDesignFileName, old);
    std::filesystem::create_directory(lqp.file(kDesignBackupName));
    for (const std::vector<GlassRecord>& list : {std::vector<GlassRecord>{b}, std::vector<GlassRecord>{}}) {
        boxes.clear();
        boxes.answer(kAnswerOk);
        EXPECT_FALSE(SynchroniseDesignFiles(lqp.path(), tolerancer(), list, boxes)) << list.size();
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().text.rfind("The design programs' material file could not be written.\r\n\r\nFile: " +
                                              lqp.file(kDesignBackupName) + "\r\nReason: it is a folder, not a file",
                                          0),
                  0u)
            << boxes.last().text;
        EXPECT_EQ(lqp.read(kDesignFileName), old) << list.size();
        EXPECT_TRUE(std::filesystem::is_empty(tol.path())) << list.size();
    }
}

// The design file or its backup kept in another folder and linked into the
// program's: the files the links lead to are written, the links stay, and no
// temporary file is left in either folder.
TEST_F(DesignFileOutputTest, TheFileAndItsBackupAreWrittenThroughTheirLinks) {
    struct Case {
        const char* what;
        bool fileLinked, backupLinked;
    };
    const Case cases[] = {{"file", true, false}, {"backup", false, true}, {"both", true, true}};
    const Bytes old = FileOf({x, a}), older = FileOf({c});
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        TestFolder here, elsewhere;
        // The file's bytes, in the other folder when it is linked; where they are.
        const auto place = [&](const char* name, bool linked, const Bytes& bytes) {
            const TestFolder& real = linked ? elsewhere : here;
            real.write(name, bytes);
            if (linked) std::filesystem::create_symlink(real.file(name), here.file(name));
            return real.file(name);
        };
        const std::string file = place(kDesignFileName, k.fileLinked, old);
        const std::string backup = place(kDesignBackupName, k.backupLinked, older);

        ASSERT_TRUE(WriteDesignFile(here.path(), {b}, boxes));
        EXPECT_EQ(ReadWholeFile(file), FileOf({b}));
        EXPECT_EQ(ReadWholeFile(backup), old);
        EXPECT_EQ(std::filesystem::is_symlink(here.file(kDesignFileName)), k.fileLinked);
        EXPECT_EQ(std::filesystem::is_symlink(here.file(kDesignBackupName)), k.backupLinked);
        for (const TestFolder* f : {&here, &elsewhere})
            for (const auto& entry : std::filesystem::directory_iterator(f->path()))
                EXPECT_FALSE(entry.path().string().ends_with(".tmp~")) << entry.path();
    }
    EXPECT_TRUE(boxes.shown().empty());
}

// A design file only its owner (or group) may read: its backup neither
// becomes readable to others nor keeps the bits of an earlier backup.
TEST_F(DesignFileOutputTest, TheBackupHasTheDesignFilesPermissionBits) {
    for (const mode_t mode : {mode_t{0600}, mode_t{0640}}) {
        for (const bool earlierBackup : {false, true}) {
            SCOPED_TRACE(testing::Message() << std::oct << mode << (earlierBackup ? " over a backup" : ""));
            TestFolder here;
            here.write(kDesignFileName, FileOf({x}));
            ASSERT_EQ(::chmod(here.file(kDesignFileName).c_str(), mode), 0);
            if (earlierBackup) {
                here.write(kDesignBackupName, FileOf({a}));
                ASSERT_EQ(::chmod(here.file(kDesignBackupName).c_str(), 0644), 0);
            }
            ASSERT_TRUE(WriteDesignFile(here.path(), {b}, boxes));
            for (const char* name : {kDesignFileName, kDesignBackupName}) {
                struct stat info {};
                ASSERT_EQ(::stat(here.file(name).c_str(), &info), 0) << name;
                EXPECT_EQ(info.st_mode & 0777, mode) << name;
            }
        }
    }
}

// A pipe, a folder or a link to nothing where the file goes, or a pipe where
// its backup goes, is named to the user and left as it is; nothing is
// written, for the tolerancer neither.
TEST_F(DesignFileOutputTest, WhatIsNotAFileInEitherPlaceIsRefusedAndNamed) {
    std::vector<std::pair<const char*, NotAFile>> cases;
    for (const NotAFile& odd : kNotAFile) cases.emplace_back(kDesignFileName, odd);
    cases.emplace_back(kDesignBackupName, kNotAFile[0]);
    for (const auto& [name, odd] : cases) {
        SCOPED_TRACE(std::string(odd.what) + " as " + name);
        TestFolder here;
        const bool atTheBackup = std::string(name) == kDesignBackupName;
        if (atTheBackup) here.write(kDesignFileName, FileOf({x}));
        const std::string path = here.file(name);
        odd.make(path);
        const auto type = std::filesystem::symlink_status(path).type();
        const auto before = std::distance(std::filesystem::directory_iterator(here.path()), {});
        boxes.clear();
        boxes.answer(kAnswerOk);

        EXPECT_FALSE(UpdateDesignFiles(here.path(), tolerancer(), std::vector<GlassRecord>{b}, kOverwriteExisting,
                                       boxes));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().style, kBoxExclamation);
        EXPECT_EQ(boxes.last().text, "The design programs' material file could not be written.\r\n\r\nFile: " +
                                         path + "\r\nReason: " + odd.reason +
                                         "\r\n\r\nAny earlier material file was left as it was.");
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), type);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(here.path()), {}), before);
        if (atTheBackup) {
            EXPECT_EQ(here.read(kDesignFileName), FileOf({x}));
        }
        EXPECT_TRUE(std::filesystem::is_empty(tol.path()));
    }
}

TEST_F(DesignFileOutputTest, ReadingDropsBlankNamesAndFindsTheFileIgnoringCase) {
    GlassRecord blank = Entry("", "Mine", 1.0f);
    GlassRecord nul = Entry("", "Mine", 1.0f);
    nul.definition.name.bytes[3] = '\0';
    nul.definition.name.bytes[0] = 'N';
    Bytes file = FileOf({blank, x, nul, a});
    const Bytes tail = FileOf({b});
    file.insert(file.end(), tail.begin(), tail.begin() + 100);  // a short last record
    lqp.write("ustessaral.DAT", file);

    const auto list = ReadDesignFile(lqp.path());
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 3u);
    EXPECT_EQ((*list)[0].definition, x.definition);
    EXPECT_EQ((*list)[1].definition, a.definition);
    EXPECT_EQ((*list)[2].definition.name.str(), "B");
    EXPECT_EQ((*list)[2].definition.density, 4.0f);
    EXPECT_EQ((*list)[2].definition.coefficients[5], 0.0);  // beyond the short record
    EXPECT_TRUE((*list)[0].notes.notes[0].isBlank());        // the rest of a record stays blank

    ASSERT_TRUE(UpdateDesignFiles(lqp.path(), "", std::vector<GlassRecord>{}, kOverwriteExisting, boxes));
    EXPECT_FALSE(lqp.exists(kDesignFileName));
    EXPECT_EQ(lqp.read("ustessaral.DAT").size(), 3 * kDesignGlassRecordBytes);
    EXPECT_EQ(lqp.read(kDesignBackupName), file);
}

TEST(DesignRecordTest, OnlyTheDefinitionTravels) {
    GlassRecord g = Entry("N-SF6", "Schott", 3.37f);
    g.definition.transAbsorption.fill(99.0f);
    const DesignGlassRecord r = ToDesignRecord(g);
    EXPECT_EQ(r.definition, g.definition);
    EXPECT_EQ(r.unused, (std::array<std::uint8_t, 38>{}));
    GlassRecord back = Entry("Old", "Data", 1.0f);
    FromDesignRecord(r, back);
    GlassRecord expected;
    InitGlassRecord(expected);
    expected.definition = g.definition;
    EXPECT_EQ(back, expected);
}

}  // namespace
