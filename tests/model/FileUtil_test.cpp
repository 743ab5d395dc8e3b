#include "model/FileUtil.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <new>
#include <span>
#include <string>
#include <vector>

#include "FileCallProbes.h"
#include "StoreFixtures.h"
#include "support/NotAFile.h"
#include "support/TestFolder.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> entryNames(const TestFolder& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path())) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(FileUtilTest, ReadWholeFileFailsWithoutThrowing) {
    TestFolder folder;
    std::vector<std::uint8_t> big(200000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
    folder.write("big.bin", big);
    folder.write("empty.bin", std::vector<std::uint8_t>{});
    fs::create_directory(folder.file("folder.INI"));
    ASSERT_EQ(::mkfifo(folder.file("fifo.bin").c_str(), 0600), 0);  // never waited on
    // Reading /proc/self/mem from its start fails with an I/O error for any user.
    fs::create_symlink("/proc/self/mem", folder.file("failing.bin"));

    EXPECT_EQ(ReadWholeFile(folder.file("big.bin")), big);
    EXPECT_EQ(ReadWholeFile(folder.file("empty.bin")), std::vector<std::uint8_t>{});
    EXPECT_EQ(ReadWholeFile(folder.file("missing.bin")), std::nullopt);
    EXPECT_EQ(ReadWholeFile(folder.file("folder.INI")), std::nullopt);
    EXPECT_EQ(ReadWholeFile(folder.file("fifo.bin")), std::nullopt);
    EXPECT_EQ(ReadWholeFile(folder.file("failing.bin")), std::nullopt);

    folder.write("target.bin", std::string("kept"));
    std::string error;
    EXPECT_FALSE(CopyFileBytes(folder.file("failing.bin"), folder.file("target.bin"), &error));
    EXPECT_EQ(error.rfind(folder.file("failing.bin") + ": ", 0), 0u) << error;
    EXPECT_EQ(ReadWholeFile(folder.file("target.bin")), (std::vector<std::uint8_t>{'k', 'e', 'p', 't'}));
}

TEST(FileUtilTest, JoinPathPutsOneSeparatorBetweenFolderAndName) {
    struct Case {
        const char* folder;
        const char* joined;
    };
    const Case cases[] = {{"/data/kalv", "/data/kalv/a.DAT"}, {"/data/kalv/", "/data/kalv/a.DAT"},
                          {"/data/kalv//", "/data/kalv/a.DAT"}, {"/", "/a.DAT"}, {"", "a.DAT"}};
    for (const Case& c : cases) EXPECT_EQ(JoinPath(c.folder, "a.DAT"), c.joined) << c.folder;
}

TEST(FileUtilTest, WhatIsNotARegularFileIsNamedWithoutOpeningIt) {
    TestFolder folder;
    folder.write("file.DAT", std::string("x"));
    fs::create_symlink(folder.file("file.DAT"), folder.file("link.DAT"));
    fs::create_directory(folder.file("folder.DAT"));
    ASSERT_EQ(::mkfifo(folder.file("fifo.DAT").c_str(), 0600), 0);
    fs::create_symlink(folder.file("gone.DAT"), folder.file("dangling.DAT"));

    EXPECT_EQ(NotARegularFile(folder.file("file.DAT")), std::nullopt);
    EXPECT_EQ(NotARegularFile(folder.file("link.DAT")), std::nullopt);
    EXPECT_EQ(NotARegularFile(folder.file("missing.DAT")), std::nullopt);
    EXPECT_EQ(NotARegularFile(folder.file("folder.DAT")), "it is a folder, not a file");
    EXPECT_EQ(NotARegularFile(folder.file("fifo.DAT")), "it is not a regular file");
    EXPECT_EQ(NotARegularFile(folder.file("dangling.DAT")),
              "it is a link that leads nowhere (No such file or directory)");
}

// A rename is durable only once the folder holding the new name is flushed;
// flushing it before the rename would not cover the rename.
TEST(FileUtilTest, AnAtomicWriteFlushesTheFolderAfterTheRename) {
    TestFolder folder;
    folder.write("out.DAT", std::string("old"));
    const std::string dir = folder.path().substr(0, folder.path().size() - 1);
    std::vector<std::string> flushedWithNewFile;
    WatchFsync([&](const std::string& path) {
        if (path == dir && ReadWholeFile(folder.file("out.DAT")) == std::vector<std::uint8_t>{'n', 'e', 'w'})
            flushedWithNewFile.push_back(path);
    });
    const bool written = WriteFileAtomic(folder.file("out.DAT"), {'n', 'e', 'w'});
    WatchFsync(nullptr);
    ASSERT_TRUE(written);
    EXPECT_EQ(flushedWithNewFile, std::vector<std::string>{dir});
}

TEST(FileUtilTest, ReadFileBufferHoldsTheWholeFile) {
    TestFolder folder;
    std::vector<std::uint8_t> big(300001);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 13);
    folder.write("big.bin", big);
    const auto file = ReadFileBuffer(folder.file("big.bin"));
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(std::vector<std::uint8_t>(file->bytes.get(), file->bytes.get() + file->size), big);
    // A file whose size is not known beforehand is read whole too.
    const auto stat = ReadFileBuffer("/proc/self/stat");
    ASSERT_TRUE(stat.has_value());
    EXPECT_GT(stat->size, 0u);
    EXPECT_EQ(ReadFileBuffer(folder.file("missing.bin")), std::nullopt);
}

// A piece that cannot be made fails the write and leaves the old file alone,
// with no half-written temporary file beside it.
TEST(FileUtilTest, APieceRunningOutOfMemoryFailsTheWrite) {
    TestFolder folder;
    folder.write("out.bin", std::string("old"));
    const std::vector<std::uint8_t> first(1000, 'x');
    int calls = 0;
    std::string error;
    EXPECT_FALSE(WriteFileAtomicInPieces(
        folder.file("out.bin"),
        [&]() -> std::span<const std::uint8_t> {
            if (++calls == 1) return first;
            throw std::bad_alloc();
        },
        &error));
    EXPECT_EQ(error, folder.file("out.bin") + ": not enough memory");
    EXPECT_EQ(ReadWholeFile(folder.file("out.bin")), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(entryNames(folder), std::vector<std::string>{"out.bin"});
}

// The temporary file is made exclusively: a link planted at its name, as
// another user might plant one, is neither followed nor replaced; the write
// takes another name.
TEST(FileUtilTest, ALinkPlantedAtTheTemporaryNameIsLeftAlone) {
    TestFolder folder;
    folder.write("out.DAT", std::string("old"));
    const std::vector<std::uint8_t> victim = {'m', 'i', 'n', 'e'};
    folder.write("victim", victim);
    const std::string prefix = folder.file("out.DAT") + ".";
    std::string planted;
    WatchOpen([&](const std::string& path, int flags) {
        if (planted.empty() && (flags & O_CREAT) != 0 && path.rfind(prefix, 0) == 0) {
            planted = path;
            fs::create_symlink(folder.file("victim"), path);
        }
    });
    const bool written = WriteFileAtomic(folder.file("out.DAT"), {'n', 'e', 'w'});
    WatchOpen(nullptr);

    ASSERT_TRUE(written);
    ASSERT_FALSE(planted.empty());
    EXPECT_EQ(ReadWholeFile(folder.file("out.DAT")), (std::vector<std::uint8_t>{'n', 'e', 'w'}));
    EXPECT_EQ(ReadWholeFile(folder.file("victim")), victim);
    EXPECT_TRUE(fs::is_symlink(planted));
    EXPECT_EQ(fs::read_symlink(planted), folder.file("victim"));
    EXPECT_EQ(entryNames(folder), (std::vector<std::string>{"out.DAT", fs::path(planted).filename(), "victim"}));
}

// A written file keeps the permission bits of the one it replaces, whatever
// the umask; a new one gets 0644 under the umask.
TEST(FileUtilTest, AWrittenFileKeepsThePermissionBitsOfTheOneItReplaces) {
    struct Case {
        int before;  // -1: no file yet
        mode_t umask;
        int after;
    };
    const Case cases[] = {{0600, 022, 0600}, {0640, 077, 0640}, {0666, 022, 0666},
                          {-1, 022, 0644},   {-1, 027, 0640}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.before << " umask " << c.umask);
        TestFolder folder;
        const std::string path = folder.file("out.DAT");
        if (c.before >= 0) {
            folder.write("out.DAT", std::string("old"));
            ASSERT_EQ(::chmod(path.c_str(), static_cast<mode_t>(c.before)), 0);
        }
        const mode_t saved = ::umask(c.umask);
        const bool written = WriteFileAtomic(path, {'n', 'e', 'w'});
        ::umask(saved);
        ASSERT_TRUE(written);
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, static_cast<mode_t>(c.after));
    }
}

// Two programs saving one file at the same moment: each write is whole, the
// last rename wins, and neither leaves a temporary file.
TEST(FileUtilTest, TwoWritersOfOneFileAtOnceLeaveOneWholeFile) {
    TestFolder folder;
    const std::string path = folder.file("out.DAT");
    const std::vector<std::uint8_t> a(1 << 18, 'a'), b(1 << 18, 'b');
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(BothAtOnce([&] { return WriteFileAtomic(path, a); }, [&] { return WriteFileAtomic(path, b); }),
                  std::make_pair(true, true));
        const auto now = ReadWholeFile(path);
        ASSERT_TRUE(now.has_value());
        EXPECT_TRUE(*now == a || *now == b);
        EXPECT_EQ(entryNames(folder), std::vector<std::string>{"out.DAT"});
    }
}

// A link, for a file kept in another folder: the file it leads to takes the
// new bytes under its own permission bits, the link stays as it was, and no
// temporary file is left in either folder.
TEST(FileUtilTest, AWriteThroughALinkReplacesTheFileItLeadsTo) {
    struct Case {
        const char* what;
        std::string link;  // what the link holds; "{other}" for the other folder
        bool chained;      // through a second link
    };
    const Case cases[] = {{"absolute", "{other}real.DAT", false},
                          {"relative", "../{name}/real.DAT", false},
                          {"two links", "{other}real.DAT", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestFolder here, other;
        other.write("real.DAT", std::string("old"));
        ASSERT_EQ(::chmod(other.file("real.DAT").c_str(), 0640), 0);
        std::string held = c.link;
        const auto put = [&](const std::string& key, const std::string& text) {
            if (const auto at = held.find(key); at != std::string::npos) held.replace(at, key.size(), text);
        };
        put("{other}", other.path());
        put("{name}", fs::path(other.path()).parent_path().filename());
        std::string written = here.file("out.DAT");
        if (c.chained) {
            fs::create_symlink(held, here.file("middle.DAT"));
            fs::create_symlink(here.file("middle.DAT"), written);
        } else {
            fs::create_symlink(held, written);
        }
        const auto linkText = fs::read_symlink(written);

        ASSERT_TRUE(WriteFileAtomic(written, {'n', 'e', 'w'}));
        EXPECT_EQ(other.read("real.DAT"), (std::vector<std::uint8_t>{'n', 'e', 'w'}));
        EXPECT_TRUE(fs::is_symlink(written));
        EXPECT_EQ(fs::read_symlink(written), linkText);
        struct stat info {};
        ASSERT_EQ(::stat(other.file("real.DAT").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0640u);
        EXPECT_EQ(entryNames(other), std::vector<std::string>{"real.DAT"});
        EXPECT_EQ(entryNames(here).size(), c.chained ? 2u : 1u);
    }
}

// A name near the file system's limit still has room for its temporary name,
// which is cut between whole UTF-8 characters.
TEST(FileUtilTest, ANameUpToTheLimitIsWrittenWithATemporaryNameThatFits) {
    TestFolder folder;
    const long limit = ::pathconf(folder.path().c_str(), _PC_NAME_MAX);
    ASSERT_GT(limit, 20);
    const std::string e = "\xC3\xA9";  // é, two bytes
    for (const std::size_t length : {static_cast<std::size_t>(limit) - 14, static_cast<std::size_t>(limit) - 13,
                                     std::size_t{250}, static_cast<std::size_t>(limit)}) {
        SCOPED_TRACE(length);
        std::string name;
        while (name.size() + e.size() <= length) name += e;
        if (name.size() < length) name += 'x';
        std::vector<std::string> temporaries;
        WatchOpen([&](const std::string& path, int flags) {
            if ((flags & O_CREAT) != 0) temporaries.push_back(fs::path(path).filename());
        });
        std::string error;
        const bool written = WriteFileAtomic(folder.file(name), {'x'}, &error);
        WatchOpen(nullptr);
        ASSERT_TRUE(written) << error;
        ASSERT_EQ(temporaries.size(), 1u);
        const std::string& temp = temporaries[0];
        EXPECT_LE(temp.size(), static_cast<std::size_t>(limit));
        const std::size_t kept = temp.size() - 14;
        EXPECT_EQ(temp.substr(0, kept), name.substr(0, kept));
        EXPECT_TRUE(kept == name.size() || (static_cast<unsigned char>(name[kept]) & 0xC0) != 0x80) << kept;
        EXPECT_EQ(entryNames(folder), std::vector<std::string>{name});
        fs::remove(folder.file(name));
    }
}

// Only what a killed save of this very file leaves goes: a file of exactly
// its temporary names that nobody holds a lock on. Look-alikes stay, and so
// does the file a link of that name leads to.
TEST(FileUtilTest, AWriteRemovesOnlyItsOwnStaleTemporaryFiles) {
    TestFolder folder;
    folder.write("out.DAT", std::string("old"));
    folder.write("victim", std::string("mine"));
    folder.write("out.DAT.Ab3dE6gH.tmp~", std::string("left by a killed save"));
    const std::vector<std::string> lookAlikes = {
        "other.DAT.Ab3dE6gH.tmp~",      // another file's
        "out.DAT.Ab3dE6g.tmp~",         // seven letters
        "out.DAT.Ab3dE6gH9.tmp~",       // nine
        "out.DAT.Ab3d-6gH.tmp~",        // not a letter
        "out.DAT.Ab3dE6gH.tmp",         // no ~
        "Out.DAT.Ab3dE6gH.tmp~",        // another case
        "out.DAT.Ab3dE6gH.tmp~.Zz9yX8wV.tmp~",
    };
    for (const std::string& name : lookAlikes) folder.write(name, std::string("kept"));
    fs::create_symlink(folder.file("victim"), folder.file("out.DAT.LinkLink.tmp~"));
    fs::create_directory(folder.file("out.DAT.FolderAb.tmp~"));

    ASSERT_TRUE(WriteFileAtomic(folder.file("out.DAT"), {'n', 'e', 'w'}));
    std::vector<std::string> expected = lookAlikes;
    for (const char* name : {"out.DAT", "victim", "out.DAT.LinkLink.tmp~", "out.DAT.FolderAb.tmp~"})
        expected.push_back(name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entryNames(folder), expected);
    EXPECT_EQ(folder.read("victim"), (std::vector<std::uint8_t>{'m', 'i', 'n', 'e'}));
}

// What is not a regular file is never replaced by one, also where the caller
// did not look first.
TEST(FileUtilTest, AWriteRefusesWhatIsNotARegularFile) {
    for (const NotAFile& c : kNotAFile) {
        SCOPED_TRACE(c.what);
        TestFolder folder;
        const std::string path = folder.file("out.DAT");
        c.make(path);
        const auto type = fs::symlink_status(path).type();
        std::string error;
        EXPECT_FALSE(WriteFileAtomic(path, {'n', 'e', 'w'}, &error));
        EXPECT_EQ(error, path + ": " + c.reason);
        EXPECT_EQ(fs::symlink_status(path).type(), type);
        EXPECT_EQ(entryNames(folder), std::vector<std::string>{"out.DAT"});
    }
}

// A save that looks for stale temporary files in the moment between another
// save's making its file and locking it takes that file for stale and
// removes it; the other save then draws a new name, and both succeed.
TEST(FileUtilTest, ATemporaryFileTakenForStaleBeforeItIsLockedIsMadeAgain) {
    TestFolder folder;
    const std::string path = folder.file("out.DAT");
    bool between = false, inner = false;
    WatchFlock([&](int, int operation) {
        if (between || operation != LOCK_EX) return;  // the first writer's lock on its new file
        between = true;
        inner = WriteFileAtomic(path, {'b'});
    });
    const bool outer = WriteFileAtomic(path, {'a'});
    WatchFlock(nullptr);
    ASSERT_TRUE(between);
    EXPECT_TRUE(inner);
    EXPECT_TRUE(outer);
    EXPECT_EQ(ReadWholeFile(path), std::vector<std::uint8_t>{'a'});
    EXPECT_EQ(entryNames(folder), std::vector<std::string>{"out.DAT"});
}
