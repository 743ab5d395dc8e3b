#include "shell/INICode.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/FileUtil.h"
#include "support/ProgramFolder.h"
#include "support/TestFolder.h"

namespace {

std::string asText(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

TEST(INICodeTest, ReadsLfAndCrLfFilesIgnoringCaseOfSectionsAndKeys) {
    TestFolder dir;
    for (const char* eol : {"\n", "\r\n"}) {
        const std::string e = eol;
        dir.write("a.ini", "; settings" + e + "[Other]" + e + "fTop=1" + e + "[ FormPosNonChild_frmMainMDI ]" + e +
                               "  fTop = 1440 " + e + "FLEFT=\"  720 \"" + e + "odd=a=b;c" + e + "blank=" + e +
                               "noequals line" + e + "[Last]" + e + "x=9");
        const std::string f = dir.file("a.ini");
        EXPECT_EQ(GetProfileString(f, "formposnonchild_FRMMAINMDI", "FTOP"), "1440");
        EXPECT_EQ(GetProfileString(f, "FormPosNonChild_frmMainMDI", "fLeft"), "  720 ");  // quotes keep their blanks
        EXPECT_EQ(GetProfileString(f, "FormPosNonChild_frmMainMDI", "odd"), "a=b;c");
        EXPECT_EQ(GetProfileString(f, "FormPosNonChild_frmMainMDI", "blank"), "");
        EXPECT_EQ(GetProfileString(f, "FormPosNonChild_frmMainMDI", "x"), std::nullopt);  // in another section
        EXPECT_EQ(GetProfileString(f, "Last", "x"), "9");
        EXPECT_EQ(GetProfileString(f, "Missing", "x"), std::nullopt);
    }
    EXPECT_EQ(GetProfileString(dir.file("none.ini"), "a", "b"), std::nullopt);
}

TEST(INICodeTest, WholeNumbersAreReadAsThePlatformDoes) {
    TestFolder dir;
    dir.write("n.ini", "[s]\nneg=-300\nfrac=1234.5\ntext=abc\nspaced=  12  \nhuge=99999999999\nsci=1e+05\nplus=+7\n");
    const std::string f = dir.file("n.ini");
    const std::pair<const char*, long> cases[] = {{"neg", -300},     {"frac", 1234},   {"text", 0},  {"spaced", 12},
                                                  {"huge", INT32_MAX}, {"sci", 1}, {"plus", 7}, {"missing", 42}};
    for (const auto& [key, value] : cases) EXPECT_EQ(GetProfileInt(f, "s", key, 42), value) << key;
}

TEST(INICodeTest, WritingKeepsEveryOtherLineAndWritesCrLf) {
    TestFolder dir;
    dir.write("k.ini", "; my notes\n[Main]\nfTop=1\n; keep me\nfLeft=2\n\n[Other]\nunknown line\nz=3\n");
    const std::string f = dir.file("k.ini");
    ASSERT_TRUE(WriteProfileString(f, "main", "FTOP", "100"));  // replaced in place
    ASSERT_TRUE(WriteProfileString(f, "Main", "fWidth", "300"));  // after the section's last entry
    ASSERT_TRUE(WriteProfileString(f, "New", "a", "b"));          // a new section at the end
    EXPECT_EQ(asText(dir.read("k.ini")),
              "; my notes\r\n[Main]\r\nFTOP=100\r\n; keep me\r\nfLeft=2\r\nfWidth=300\r\n\r\n"
              "[Other]\r\nunknown line\r\nz=3\r\n[New]\r\na=b\r\n");
}

TEST(INICodeTest, AMissingFileIsCreatedAndUnsafeNamesOrValuesAreRefused) {
    TestFolder dir;
    const std::string f = dir.file("new.ini");
    ASSERT_TRUE(WriteProfileString(f, "S", "k", "v"));
    EXPECT_EQ(asText(dir.read("new.ini")), "[S]\r\nk=v\r\n");
    EXPECT_FALSE(WriteProfileString(f, "S", "k", "two\r\n[lines]"));
    EXPECT_FALSE(WriteProfileString(f, "S", "a=b", "v"));
    EXPECT_FALSE(WriteProfileString(f, "S]x", "k", "v"));
    EXPECT_FALSE(WriteProfileString(f, "", "k", "v"));
    EXPECT_FALSE(WriteProfileString(f, "S", " ", "v"));
    EXPECT_EQ(asText(dir.read("new.ini")), "[S]\r\nk=v\r\n");
    EXPECT_FALSE(WriteProfileString(dir.file("no/such/folder.ini"), "S", "k", "v"));
}

TEST(INICodeTest, TheProgramsSettingsFileLivesInTheProgramFolder) {
    TestFolder dir;
    ProgramFolderOverride home(dir.path());
    EXPECT_EQ(IniFilePath(), dir.file("KalvQX.INI"));
    WriteIniString("Sec", "fTop", "  ");
    WriteIniString("Sec", "long", std::string(250, 'x'));
    WriteIniString("Sec", "nul", std::string("a\0b ", 4));
    EXPECT_EQ(ReadIniString("Sec", "fTop"), "");  // a blank value is no value
    EXPECT_EQ(ReadIniString("Sec", "long"), std::string(199, 'x'));
    EXPECT_EQ(ReadIniString("Sec", "nul"), "a b");
    EXPECT_EQ(ReadIniString("Sec", "missing"), "");
    EXPECT_EQ(ReadIniInt("Sec", "missing"), 0);
}

TEST(INICodeTest, AFolderInPlaceOfTheSettingsFileActsAsNoFile) {
    TestFolder dir;
    ProgramFolderOverride home(dir.path());
    // A folder where the file should be: nothing crashes, the window is centred.
    std::filesystem::create_directory(dir.file(kIniFileName));
    EXPECT_EQ(ReadIniString("FormPosNonChild_frmMainMDI", "fTop"), "");
    EXPECT_EQ(ReadIniInt("FormPosNonChild_frmMainMDI", "fTop"), 0);
    EXPECT_FALSE(WriteProfileString(IniFilePath(), "S", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file(kIniFileName)));
}

TEST(INICodeTest, AnUnreadableFileIsNeverReplaced) {
    TestFolder dir;
    // Reading /proc/self/mem from its start fails for any user, root included.
    const std::string failing = dir.file("failing.ini");
    std::filesystem::create_symlink("/proc/self/mem", failing);
    EXPECT_FALSE(WriteProfileString(failing, "S", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_symlink(failing));

    // Without read permission; root reads it all the same, so that half runs
    // only for other users.
    const std::string f = dir.file("locked.ini");
    dir.write("locked.ini", "[Other]\r\nkeep=1\r\n");
    std::filesystem::permissions(f, std::filesystem::perms::owner_write);
    if (!ReadWholeFile(f)) {
        EXPECT_FALSE(WriteProfileString(f, "S", "k", "v"));
    }
    std::filesystem::permissions(f, std::filesystem::perms::owner_all);
    EXPECT_EQ(asText(dir.read("locked.ini")), "[Other]\r\nkeep=1\r\n");
}
