#include "model/FileUtil.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <new>
#include <span>
#include <string>
#include <vector>

#include "FsyncProbe.h"
#include "support/TestFolder.h"

namespace fs = std::filesystem;

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
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path())) ++entries;
    EXPECT_EQ(entries, 1u);
}
