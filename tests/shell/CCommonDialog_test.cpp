#include "shell/CCommonDialog.h"

#include <gtest/gtest.h>

#include "support/ScriptedBoxes.h"
#include "support/ScriptedFileDialog.h"

namespace {

const char* kGlzFilter = "Kalvenor (*.GLZ)|*.GLZ";

}  // namespace

TEST(CCommonDialogTest, SaveGivesFolderWithSeparatorTitleAndFilter) {
    ScriptedBoxes boxes;
    ScriptedFileDialog chooser;
    CCommonDialog dlg(boxes);
    dlg.SetDialog(chooser);
    chooser.choose("/data/Out.GLZ", 2);
    int index = 1;
    std::string folder, title = "AB-C.GLZ";
    ASSERT_TRUE(dlg.FileSave(kGlzFilter, index, "GLZ", "Exporting all glass data to text file", folder, title));
    EXPECT_EQ(folder, "/data/");
    EXPECT_EQ(title, "Out.GLZ");
    EXPECT_EQ(index, 2);
    const FileDialogRequest& req = chooser.requests().front();
    EXPECT_TRUE(req.save);
    EXPECT_EQ(req.proposedName, "AB-C.GLZ");
    EXPECT_EQ(req.defaultExt, "GLZ");
    EXPECT_EQ(req.title, "Exporting all glass data to text file");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(CCommonDialogTest, CancelChangesNothingAndOnlySaveReportsOtherErrors) {
    ScriptedBoxes boxes;
    ScriptedFileDialog chooser;
    CCommonDialog dlg(boxes);
    dlg.SetDialog(chooser);
    chooser.cancel().fail("disk not ready").cancel().fail("disk not ready");
    int index = 3;
    std::string folder = "/keep/", title = "keep.GLZ";
    EXPECT_FALSE(dlg.FileSave(kGlzFilter, index, "GLZ", "t", folder, title));
    EXPECT_TRUE(boxes.shown().empty());
    boxes.answer(kAnswerOk);
    EXPECT_FALSE(dlg.FileSave(kGlzFilter, index, "GLZ", "t", folder, title));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxPlain);
    EXPECT_EQ(boxes.last().text, "File save error: disk not ready");
    EXPECT_FALSE(dlg.FileRead(kGlzFilter, index, "GLZ", "t", folder, title));
    EXPECT_FALSE(dlg.FileRead(kGlzFilter, index, "GLZ", "t", folder, title));
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(folder, "/keep/");
    EXPECT_EQ(title, "keep.GLZ");
    EXPECT_EQ(index, 3);
}

TEST(CCommonDialogTest, ASecondOpenProposesTheFileChosenFirst) {
    ScriptedBoxes boxes;
    ScriptedFileDialog chooser;
    CCommonDialog dlg(boxes);
    dlg.SetDialog(chooser);
    chooser.choose("/imports/cat.AGF", 5).choose("/other/x.GLC", 4);
    int index = 1;
    std::string folder = "/start/", title;
    ASSERT_TRUE(dlg.FileRead("a|*.a", index, "GLZ", "Importing data to Kalvenor", folder, title));
    EXPECT_EQ(folder, "/imports/");
    EXPECT_EQ(title, "cat.AGF");
    EXPECT_EQ(index, 5);
    ASSERT_TRUE(dlg.FileRead("a|*.a", index, "GLZ", "Importing data to Kalvenor", folder, title));
    ASSERT_EQ(chooser.requests().size(), 2u);
    EXPECT_EQ(chooser.requests()[0].initialFolder, "/start/");
    EXPECT_EQ(chooser.requests()[0].proposedName, "");
    EXPECT_FALSE(chooser.requests()[0].save);
    EXPECT_EQ(chooser.requests()[1].initialFolder, "/imports/");
    EXPECT_EQ(chooser.requests()[1].proposedName, "/imports/cat.AGF");
}

TEST(CCommonDialogTest, WithoutAChooserNothingIsChosen) {
    ScriptedBoxes boxes;
    CCommonDialog dlg(boxes);
    int index = 1;
    std::string folder, title;
    EXPECT_FALSE(dlg.FileRead("a|*.a", index, "", "t", folder, title));
    boxes.answer(kAnswerOk);
    EXPECT_FALSE(dlg.FileSave("a|*.a", index, "", "t", folder, title));
    EXPECT_EQ(boxes.shown().size(), 1u);
}
