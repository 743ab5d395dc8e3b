#include "model/FileUtil.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <new>
#include <span>
#include <string>
#include <vector>

#include "FileCallProbes.h"
#include "StoreFixtures.h"
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
