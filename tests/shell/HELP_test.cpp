#include "shell/HELP.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/UrlOpener.h"
#include "support/ScriptedBoxes.h"
#include "support/TestFolder.h"

namespace {

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override { ResetHelpFile(); }
    void TearDown() override { ResetHelpFile(); }

    TestFolder folder;
    ScriptedBoxes boxes;
    RecordingUrlOpener viewer;
};

struct SearchCase {
    const char* onDisk;  // nullptr: the folder holds no help file
    bool winHelp;
    const char* found;   // the setting's file name when found, nullptr: stays "Kalvo.HLP"
};

}  // namespace

TEST_F(HelpTest, TheHelpFileIsFoundInTheProgramFolderIgnoringTheCaseOfItsName) {
    const SearchCase cases[] = {
        {"Kalvo.chm", false, "Kalvo.chm"},
        {"KALVO.CHM", false, "KALVO.CHM"},   // the name as it is on disk, so that it opens
        {"Kalvo.HLP", false, nullptr},       // the compiled HTML form is wanted
        {"Kalvo.HLP", true, "Kalvo.HLP"},
        {"kalvo.hlp", true, "kalvo.hlp"},
        {"Kalvo.chm", true, nullptr},
        {"Kalvo.chm.bak", false, nullptr},
        {nullptr, false, nullptr},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(std::string(c.onDisk ? c.onDisk : "(none)") + (c.winHelp ? " old form" : " compiled HTML"));
        ResetHelpFile();
        TestFolder program;
        if (c.onDisk) program.write(c.onDisk, "help");
        SetHelpFile(program.path(), c.winHelp);
        EXPECT_EQ(AppHelpFile(), c.found ? program.path() + c.found : std::string("Kalvo.HLP"));
    }
}

TEST_F(HelpTest, AFolderWithoutItsTrailingSeparatorAndAFolderNamedLikeTheFileAreHandled) {
    std::filesystem::create_directory(folder.file("Kalvo.chm"));
    SetHelpFile(folder.path(), false);
    EXPECT_EQ(AppHelpFile(), "Kalvo.HLP");

    TestFolder other;
    other.write("kalvo.CHM", "help");
    std::string bare = other.path();
    bare.pop_back();
    SetHelpFile(bare, false);
    EXPECT_EQ(AppHelpFile(), other.path() + "kalvo.CHM");
}

TEST_F(HelpTest, TheHelpKeyOpensTheFoundFileWithTheViewer) {
    folder.write("Kalvo.chm", "help");
    SetHelpFile(folder.path(), false);
    ShowHelpFile(viewer, boxes);
    ASSERT_EQ(viewer.opened.size(), 1u);
    EXPECT_EQ(viewer.opened[0], FileUrl(folder.path() + "Kalvo.chm"));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(HelpTest, WithoutAHelpFileTheHelpKeySaysWhichFileIsMissingAndWhere) {
    SetHelpFile(folder.path(), false);
    boxes.answer(kAnswerOk);
    ShowHelpFile(viewer, boxes);
    EXPECT_TRUE(viewer.opened.empty());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxInformation);
    EXPECT_EQ(boxes.last().text,
              "No help is available: the help file Kalvo.chm is not in the program folder:\r\n" + folder.path());

    // A file found at start that has gone since is not handed to the viewer.
    folder.write("Kalvo.chm", "help");
    SetHelpFile(folder.path(), false);
    std::filesystem::remove(folder.file("Kalvo.chm"));
    boxes.answer(kAnswerOk);
    ShowHelpFile(viewer, boxes);
    EXPECT_TRUE(viewer.opened.empty());
    EXPECT_EQ(boxes.shown().size(), 2u);
}

TEST_F(HelpTest, AViewerThatCannotBeLaunchedIsReported) {
    folder.write("Kalvo.chm", "help");
    SetHelpFile(folder.path(), false);
    viewer.result = false;
    boxes.answer(kAnswerOk);
    ShowHelpFile(viewer, boxes);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxExclamation);
    EXPECT_EQ(boxes.last().text, "Sorry: cannot show the help file at this time:\r\n" + folder.path() +
                                     "Kalvo.chm\r\nIs a viewer for .chm files installed?");
}

TEST(HelpFileUrlTest, BytesOutsideTheUnreservedOnesAreEncoded) {
    EXPECT_EQ(FileUrl("/opt/Kalvenor/Kalvo.chm"), "file:///opt/Kalvenor/Kalvo.chm");
    EXPECT_EQ(FileUrl("/home/j\xC3\xB6rg/my help#1/Kalvo.chm"),
              "file:///home/j%C3%B6rg/my%20help%231/Kalvo.chm");
    EXPECT_EQ(FileUrl("/a/100%/b?c"), "file:///a/100%25/b%3Fc");
}
