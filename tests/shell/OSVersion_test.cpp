#include "shell/OSVersion.h"

#include <gtest/gtest.h>

namespace {

struct VersionCase {
    std::optional<OsVersionInfo> version;
    bool winHelp;
};

}  // namespace

TEST(OSVersionTest, OnlyNT60And61AndUnknownPlatformsTakeTheCompiledHtmlHelp) {
    const VersionCase cases[] = {
        {std::nullopt, true},                   // the query failed
        {OsVersionInfo{kPlatformWin16, 3, 1}, true},
        {OsVersionInfo{kPlatformWin32, 4, 10}, true},
        {OsVersionInfo{kPlatformNT, 2, 0}, true},
        {OsVersionInfo{kPlatformNT, 3, 51}, true},
        {OsVersionInfo{kPlatformNT, 4, 0}, true},
        {OsVersionInfo{kPlatformNT, 5, 1}, true},
        {OsVersionInfo{kPlatformNT, 6, 0}, false},
        {OsVersionInfo{kPlatformNT, 6, 1}, false},
        {OsVersionInfo{kPlatformNT, 6, 2}, true},
        {OsVersionInfo{kPlatformNT, 6, 3}, true},
        {OsVersionInfo{kPlatformNT, 10, 0}, true},
        {OsVersionInfo{kPlatformOther, 6, 1}, false},
        {OsVersionInfo{9, 5, 1}, false},
        {OsVersionInfo{-1, 5, 1}, false},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.version ? std::to_string(c.version->platformId) + " " + std::to_string(c.version->major) + "." +
                                     std::to_string(c.version->minor)
                               : std::string("failed query"));
        EXPECT_EQ(IsWinHelpOS(c.version), c.winHelp);
    }
}

TEST(OSVersionTest, ThisSystemIsOutsideTheWindowsFamiliesAndTakesTheCompiledHtmlHelp) {
    const std::optional<OsVersionInfo> version = QueryOsVersion();
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->platformId, kPlatformOther);
    EXPECT_GT(version->major, 0);  // the kernel's release, for the record
    EXPECT_FALSE(IsWinHelpOS());
}
