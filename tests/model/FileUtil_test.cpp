#include "model/FileUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TestFolder.h"

namespace fs = std::filesystem;

TEST(FileUtilTest, ReadWholeFileFailsWithoutThrowing) {
    TestFolder folder;
    std::vector<std::uint8_t> big(200000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
    folder.write("big.bin", big);
    folder.write("empty.bin", std::vector<std::uint8_t>{});
    fs::create_directory(folder.file("folder.INI"));
    // Reading /proc/self/mem from its start fails with an I/O error for any user.
    fs::create_symlink("/proc/self/mem", folder.file("failing.bin"));

    EXPECT_EQ(ReadWholeFile(folder.file("big.bin")), big);
    EXPECT_EQ(ReadWholeFile(folder.file("empty.bin")), std::vector<std::uint8_t>{});
    EXPECT_EQ(ReadWholeFile(folder.file("missing.bin")), std::nullopt);
    EXPECT_EQ(ReadWholeFile(folder.file("folder.INI")), std::nullopt);
    EXPECT_EQ(ReadWholeFile(folder.file("failing.bin")), std::nullopt);

    folder.write("target.bin", std::string("kept"));
    std::string error;
    EXPECT_FALSE(CopyFileBytes(folder.file("failing.bin"), folder.file("target.bin"), &error));
    EXPECT_EQ(error.rfind(folder.file("failing.bin") + ": ", 0), 0u) << error;
    EXPECT_EQ(ReadWholeFile(folder.file("target.bin")), (std::vector<std::uint8_t>{'k', 'e', 'p', 't'}));
}
