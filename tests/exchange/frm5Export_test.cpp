#include "exchange/frm5Export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "exchange/CImportNewGLZ.h"
#include "exchange/GlzSamples.h"
#include "manage/ManageFixtures.h"
#include "model/FileUtil.h"
#include "model/GlassesList.h"
#include "platform/BusyCursor.h"
#include "platform/Clock.h"
#include "platform/MemoryGrid.h"
#include "shell/ManageForms.h"
#include "support/FakePlacedWindow.h"
#include "support/NotAFile.h"
#include "support/ScriptedBoxes.h"
#include "support/ScriptedFileDialog.h"
#include "support/TestFolder.h"

namespace {

class GlzWriteTest : public ::testing::Test {
protected:
    // Writes the materials and reads the text back.
    std::string writeAndRead(std::vector<GlassRecord>& written) {
        const std::string text = MakeGLZText(written, 1, static_cast<int>(written.size()), "date");
        EXPECT_TRUE(reader.ImportBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), glasses,
                                       count));
        EXPECT_EQ(count, static_cast<int>(written.size()));
        return text;
    }

    ScriptedBoxes boxes;
    CImportNewGLZ reader{boxes};
    std::vector<GlassRecord> glasses;
    int count = 0;
};

// A small material whose file is the fixture: two transmission and two index
// points, a melt pair and a second-table row, numbers in both forms, and texts
// with a quote, line breaks and a tab.
GlassRecord fixtureGlass() {
    GlassRecord g;
    InitGlassRecord(g);
    g.definition.name.set("Crown \"5\"");
    g.definition.source.set("Lab\r\nWest");
    g.definition.formulaType = kSchott;
    g.definition.lowerWavelength = 365;
    g.definition.upperWavelength = 1014;
    g.definition.density = 2.5f;
    g.definition.coefficients[0] = 1e-6;
    g.definition.coefficients[1] = 0.1 + 0.2;
    g.definition.coefficients[2] = 1.5e20;
    g.definition.coefficients[3] = -0.0043;
    g.indexPointCount = 2;
    g.indexDataType = kIndexData;
    g.notes.dnDtType = kSimpleDnDt;
    g.notes.dnDtSimple = 2.5e-6f;
    g.notes.lambdaTK = 365.5f;
    g.notes.referenceTemperature = 20.0f;
    g.notes.expansion = 7.1f;
    g.properties.a3070.set("7.1");
    g.properties.remark.set("tab\there");
    g.properties.status.set("r");
    g.measured.transCount = 2;
    g.measured.thickness = 10.0f;
    g.measured.transDataType = kInternalTransmission;
    g.measured.transWavelength[1] = 1000.0f;
    g.measured.internalTrans[1] = 99.9f;
    g.measured.totalTrans[1] = 91.5f;
    g.measured.absorption[1] = 0.0001f;
    g.measured.transWavelength[2] = 365.0f;
    g.measured.internalTrans[2] = 80.0f;
    g.measured.totalTrans[2] = 73.25f;
    g.measured.absorption[2] = 0.0223144f;
    g.measured.indexWavelength[1] = 1013.98;
    g.measured.index[1] = 1.50731;
    g.measured.weight[1] = 1.0f;
    g.measured.indexWavelength[2] = 365.01;
    g.measured.index[2] = 1.53627;
    g.measured.weight[2] = 0.5f;
    g.melt.meltFlag = kTrue;
    g.melt.parentName.set("N-BK7");
    g.melt.parentSource.set("SCHOTT");
    g.melt.meltCode.set("M1");
    g.melt.pairCount = 1;
    g.melt.pairWavelength[1] = 587.5618f;
    g.melt.pairIndex[1] = 1.51680;
    g.melt.secondCount = 1;
    g.melt.secondTable[1][1] = 1;
    g.melt.secondTable[2][1] = 0.5;
    g.melt.secondTable[3][1] = -2;
    return g;
}

TEST_F(GlzWriteTest, WritesTheFixtureByteForByte) {
    TestFolder folder;
    std::vector<GlassRecord> written = {fixtureGlass()};
    FixedClock clock(DateSerial(2025, 3, 4, 15, 30));
    ASSERT_TRUE(WriteGLZFile(written, folder.path(), "small.GLZ", 1, 1, clock, boxes));
    const auto expected = ReadWholeFile(std::string(KALVENOR_TEST_DATA) + "/exchange/small.GLZ");
    ASSERT_TRUE(expected.has_value());
    const auto bytes = folder.read("small.GLZ");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), std::string(expected->begin(), expected->end()));
}

TEST_F(GlzWriteTest, TextsCannotBreakTheFile) {
    std::vector<GlassRecord> written = {GlzSample("Quote \" and\r\nbreak", {2, 1, 1, 1})};
    written[0].definition.source.set("\"Maker\"\x01");
    written[0].properties.remark.set("a\rb\nc\td");
    written[0].melt.parentName.set("Parent \"P\"");
    written[0].melt.meltCode.set("\r\nM\"");
    writeAndRead(written);
    const GlassRecord& g = glasses.at(0);
    EXPECT_EQ(g.definition.name.str(), "Quote ' and  break");
    EXPECT_EQ(g.definition.source.str(), "'Maker'");
    EXPECT_EQ(g.properties.remark.str(), "a b c d");
    EXPECT_EQ(g.melt.parentName.str(), "Parent 'P'");
    EXPECT_EQ(g.melt.meltCode.str(), "M'");
    EXPECT_EQ(g.melt.pairCount, 1);  // the items after the texts are still in step
}

TEST_F(GlzWriteTest, NumbersWithoutATextAreWrittenAsZero) {
    std::vector<GlassRecord> written = {GlzSample("NaN", {2, 1, 0, 0})};
    written[0].definition.coefficients[5] = std::numeric_limits<double>::quiet_NaN();
    written[0].definition.density = std::numeric_limits<float>::infinity();
    written[0].measured.index[1] = -std::numeric_limits<double>::infinity();
    const std::string text = writeAndRead(written);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_EQ(text.find("inf"), std::string::npos);
    EXPECT_EQ(glasses.at(0).definition.coefficients[5], 0.0);
    EXPECT_EQ(glasses.at(0).definition.density, 0.0f);
    EXPECT_EQ(glasses.at(0).measured.index[1], 0.0);
}

TEST_F(GlzWriteTest, StoredCountsBeyondTheArraysAreWrittenWithinThem) {
    std::vector<GlassRecord> written = {GlzSample("Big", {2, 150, 20, 20}), GlzSample("Negative", {2, 0, 2, 0})};
    written[0].indexPointCount = 500;
    written[0].melt.pairCount = 99;
    written[0].melt.secondCount = 25;
    written[1].indexPointCount = -3;
    written[1].melt.secondCount = -1;
    writeAndRead(written);
    EXPECT_EQ(glasses.at(0).indexPointCount, 150);
    EXPECT_EQ(glasses.at(0).melt.pairCount, 20);
    EXPECT_EQ(glasses.at(0).melt.secondCount, 20);
    EXPECT_EQ(glasses.at(1).indexPointCount, 0);
    EXPECT_EQ(glasses.at(1).melt.pairCount, 2);
    EXPECT_EQ(glasses.at(1).melt.secondCount, 0);
}

TEST_F(GlzWriteTest, OptionalSectionsOnlyWithTheirData) {
    std::vector<GlassRecord> written = {GlzSample("Plain", {2, 0, 0, 0})};
    written[0].melt.meltFlag = kTrue;  // a melt flag without pairs
    const std::string text = writeAndRead(written);
    EXPECT_EQ(text.find("#     -- Ref Index --"), std::string::npos);
    EXPECT_EQ(text.find("-- Melt [optional] --"), std::string::npos);
    EXPECT_EQ(glasses.at(0).indexPointCount, 0);
    EXPECT_EQ(glasses.at(0).melt.meltFlag, kFalse);
}

TEST_F(GlzWriteTest, EachRecordIsSettledInThePagesCopy) {
    std::vector<GlassRecord> written = {GlzSample("X", {25, 0, 0, 0})};
    written[0].properties.status.set("X");
    writeAndRead(written);
    EXPECT_EQ(written[0].properties.status.str(), "A");
    EXPECT_EQ(written[0].measured.transCount, 150);
    EXPECT_EQ(glasses.at(0).properties.status.str(), "A");
    EXPECT_EQ(glasses.at(0).measured.transCount, 150);
}

TEST_F(GlzWriteTest, WritesTheRangeAndReplacesTheFile) {
    TestFolder folder;
    FixedClock clock;
    std::vector<GlassRecord> written = {GlzSample("One", {2, 0, 0, 0}), GlzSample("Two", {2, 0, 0, 0}),
                                        GlzSample("Three", {2, 0, 0, 0})};
    folder.write("out.GLZ", std::string("old content"));
    ASSERT_TRUE(WriteGLZFile(written, folder.path(), "out.GLZ", 2, 3, clock, boxes));
    ASSERT_TRUE(reader.ImportFile(folder.file("out.GLZ"), glasses, count));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(glasses[0].definition.name.str(), "Two");
    EXPECT_EQ(glasses[1].definition.name.str(), "Three");
}

TEST_F(GlzWriteTest, ALargeBackupIsWrittenWholeAcrossPieces) {
    TestFolder folder;
    FixedClock clock;
    std::vector<GlassRecord> written;
    for (int i = 1; i <= 400; ++i) written.push_back(GlzSample("Glass " + std::to_string(i), {150, 20, i % 3, 2}));
    std::vector<GlassRecord> copy = written;
    const std::string expected = MakeGLZText(copy, 2, 400, LongDateText(clock.now()));
    ASSERT_GT(expected.size(), 2u << 20);  // several of the writer's pieces
    ASSERT_TRUE(WriteGLZFile(written, folder.path(), "big.GLZ", 2, 400, clock, boxes));
    const auto bytes = folder.read("big.GLZ");
    EXPECT_TRUE(std::string(bytes.begin(), bytes.end()) == expected);
    EXPECT_TRUE(written == copy);  // the page's copy is settled the same way
}

TEST_F(GlzWriteTest, ARangeOutsideTheArrayWritesNothing) {
    TestFolder folder;
    FixedClock clock;
    std::vector<GlassRecord> written = {GlzSample("One", {2, 0, 0, 0}), GlzSample("Two", {2, 0, 0, 0})};
    for (auto [first, last] : {std::pair{0, 1}, std::pair{1, 3}, std::pair{2, 1}, std::pair{-1, -1}}) {
        EXPECT_FALSE(WriteGLZFile(written, folder.path(), "none.GLZ", first, last, clock, boxes));
        EXPECT_FALSE(folder.exists("none.GLZ"));
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(GlzWriteTest, AFailedWriteSaysWhichFile) {
    TestFolder folder;
    FixedClock clock;
    std::vector<GlassRecord> written = {GlzSample("One", {2, 0, 0, 0})};
    boxes.answer(kAnswerOk);
    const std::string missing = folder.path() + "no such folder";
    EXPECT_FALSE(WriteGLZFile(written, missing, "x.GLZ", 1, 1, clock, boxes));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxExclamation);
    EXPECT_NE(boxes.last().text.find(missing + "/x.GLZ"), std::string::npos) << boxes.last().text;
}

// A backup file kept in another folder and linked into this one: the file
// the link leads to takes the text, and the link stays.
TEST_F(GlzWriteTest, WritesThroughALinkToAFileInAnotherFolder) {
    TestFolder here, elsewhere;
    FixedClock clock;
    std::vector<GlassRecord> written = {GlzSample("One", {2, 0, 0, 0})};
    elsewhere.write("real.GLZ", std::string("old content"));
    std::filesystem::create_symlink(elsewhere.file("real.GLZ"), here.file("out.GLZ"));
    ASSERT_TRUE(WriteGLZFile(written, here.path(), "out.GLZ", 1, 1, clock, boxes));
    EXPECT_TRUE(std::filesystem::is_symlink(here.file("out.GLZ")));
    ASSERT_TRUE(reader.ImportFile(elsewhere.file("real.GLZ"), glasses, count));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(here.path()), {}), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(elsewhere.path()), {}), 1);
}

// A long name the file system takes is written, not refused as too long.
TEST_F(GlzWriteTest, ANameOf250BytesIsWritten) {
    TestFolder folder;
    FixedClock clock;
    std::vector<GlassRecord> written = {GlzSample("One", {2, 0, 0, 0})};
    const std::string name = std::string(246, 'g') + ".GLZ";
    ASSERT_TRUE(WriteGLZFile(written, folder.path(), name, 1, 1, clock, boxes));
    ASSERT_TRUE(reader.ImportFile(folder.file(name), glasses, count));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    EXPECT_TRUE(boxes.shown().empty());
}

// A pipe, a folder or a link to nothing in the file's place is named to the
// user and left as it is.
TEST_F(GlzWriteTest, WhatIsNotAFileInItsPlaceIsRefusedAndNamed) {
    for (const NotAFile& c : kNotAFile) {
        SCOPED_TRACE(c.what);
        TestFolder folder;
        FixedClock clock;
        std::vector<GlassRecord> written = {GlzSample("One", {2, 0, 0, 0})};
        const std::string path = folder.file("out.GLZ");
        c.make(path);
        const auto type = std::filesystem::symlink_status(path).type();
        boxes.clear();
        boxes.answer(kAnswerOk);
        EXPECT_FALSE(WriteGLZFile(written, folder.path(), "out.GLZ", 1, 1, clock, boxes));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().style, kBoxExclamation);
        EXPECT_EQ(boxes.last().text, "Your materials could not be backed up.\r\n\r\nFile: " + path +
                                         "\r\nReason: " + c.reason +
                                         "\r\n\r\nAny earlier backup file was left as it was.");
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), type);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    }
}

TEST(GlzLongDateTest, NamesTheDayAndMonth) {
    const struct {
        double serial;
        const char* text;
    } cases[] = {
        {DateSerial(2025, 3, 4, 23, 59), "Tuesday, March 4, 2025"},
        {0.0, "Saturday, December 30, 1899"},
        {DateSerial(2000, 2, 29), "Tuesday, February 29, 2000"},
        {DateSerial(1850, 1, 1, 12), "Tuesday, January 1, 1850"},
        {DateSerial(2100, 12, 31), "Friday, December 31, 2100"},
    };
    for (const auto& c : cases) EXPECT_EQ(LongDateText(c.serial), c.text) << c.serial;
}

using Strings = std::vector<std::string>;

class FakeExportView : public IExportView {
public:
    explicit FakeExportView(frm5Export& page) : m_page(page) { page.setView(this); }
    ~FakeExportView() override { m_page.setView(nullptr); }
    IGrid& ssGlassesCurr() override { return grid; }
    IFileDialog& fileDialog() override { return dialog; }
    IPlacedWindow& placement() override { return placed; }
    void showWindow(bool) override { shown = true; }
    void closeWindow() override {
        shown = false;
        m_page.Form_Unload();
    }

    MemoryGrid grid;
    ScriptedFileDialog dialog;
    FakePlacedWindow placed{"frm5Export"};
    bool shown = false;

private:
    frm5Export& m_page;
};

class ExportPageTest : public ::testing::Test {
protected:
    ExportPageServices services() {
        ExportPageServices s;
        s.boxes = &boxes;
        s.store = &store;
        s.clock = &clock;
        s.cursor = &cursor;
        s.switchPage = [this](int p, bool open) { switches.push_back({p, open}); };
        return s;
    }
    void open(const std::vector<GlassRecord>& glasses) {
        store.SetGlasses(glasses);
        page.Display(false);
        ASSERT_TRUE(view.shown);
    }
    // The names in a written file, in file order.
    Strings namesIn(const std::string& name) {
        std::vector<GlassRecord> read;
        int count = 0;
        CImportNewGLZ reader(boxes);
        if (!reader.ImportFile(folder.file(name), read, count)) return {"unreadable"};
        Strings out;
        for (const auto& g : read) out.push_back(g.definition.name.str());
        return out;
    }
    Strings gridRows() const {
        Strings out;
        for (int r = 1; r <= view.grid.maxRows(); ++r) {
            std::string row;
            for (int c = 1; c <= kExportCols; ++c) row += (c > 1 ? "|" : "") + view.grid.text(c, r);
            out.push_back(row);
        }
        return out;
    }

    TestFolder folder;
    ScriptedBoxes boxes;
    FixedClock clock{DateSerial(2025, 3, 4, 10, 0)};
    GlassesList store{boxes, clock, folder.path()};
    RecordingBusyCursor cursor;
    std::vector<std::pair<int, bool>> switches;
    frm5Export page{services()};
    FakeExportView view{page};
};

GlassRecord invalidGlass() {
    GlassRecord g = Material("Nameless");
    g.definition.name.set("  ");
    return g;
}

TEST_F(ExportPageTest, TheGridShowsTheValidMaterialsWithTheirIndexInTheHiddenColumn) {
    GlassRecord measured = Material("Measured", " Lab ");
    measured.indexPointCount = 2;
    measured.measured.index[1] = 1.50731;
    measured.measured.index[2] = 1.53024;
    GlassRecord melt = Material("Melt");
    melt.melt.meltFlag = kTrue;
    open({measured, invalidGlass(), melt});
    for (int c = 1; c < kExportCols; ++c) EXPECT_EQ(view.grid.text(c, 0), kExportHeadings[c - 1]);
    EXPECT_TRUE(view.grid.colHidden(kExportIndexCol));
    EXPECT_EQ(gridRows(), (Strings{"Measured|Lab|310.0 - 2325.0|1.530 - 1.507|1",
                                   "Melt|Mine|310.0 - 2325.0|1.549 - 1.489|3"}));
    EXPECT_EQ(view.grid.backColour(1, 1), kColourButtonFace);
    EXPECT_EQ(view.grid.backColour(1, 2), 0x80FFFFu);
    EXPECT_FALSE(cursor.busy);
}

TEST_F(ExportPageTest, TheProposedNameIsTheLoneMaterialsName) {
    const struct {
        const char* name;
        const char* file;
    } cases[] = {
        {"AB*C", "AB-C.GLZ"},
        {"  N-BK7 ", "N-BK7.GLZ"},
        {"a/b\\c*", "a-b-c-.GLZ"},
        {"Glas\xE4", "Glas\xC3\xA4.GLZ"},  // the code page's a-umlaut, as a file name in UTF-8
    };
    for (const auto& c : cases) {
        GlassRecord g = Material("x");
        g.definition.name.set(c.name);
        EXPECT_EQ(DefaultExportFileName(g), c.file) << c.name;
    }
}

TEST_F(ExportPageTest, BackupAllWritesTheWholeCopy) {
    open({Material("AB*C")});
    view.dialog.choose(folder.file("one.GLZ"));
    page.comExportAll_Click();
    ASSERT_EQ(view.dialog.requests().size(), 1u);
    const FileDialogRequest& r = view.dialog.requests()[0];
    EXPECT_TRUE(r.save);
    EXPECT_EQ(r.filter, "Kalvenor (*.GLZ)|*.GLZ");
    EXPECT_EQ(r.filterIndex, 1);
    EXPECT_EQ(r.defaultExt, "GLZ");
    EXPECT_EQ(r.title, kExportAllTitle);
    EXPECT_EQ(r.proposedName, "AB-C.GLZ");
    EXPECT_EQ(namesIn("one.GLZ"), Strings{"AB*C"});

    page.comOK_Click();
    open({Material("A"), Material("B"), Material("C")});
    view.dialog.choose(folder.file("all.GLZ"));
    page.comExportAll_Click();
    EXPECT_EQ(view.dialog.requests().back().proposedName, "");  // several: no name
    EXPECT_EQ(namesIn("all.GLZ"), (Strings{"A", "B", "C"}));
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_FALSE(cursor.busy);
}

TEST_F(ExportPageTest, BackupSelectedWritesTheMaterialsOfTheSelectedRows) {
    open({Material("A"), invalidGlass(), Material("B"), Material("C"), Material("D")});
    const struct {
        std::vector<RowSpan> block;
        int activeRow;
        Strings written;
        const char* proposed;
    } cases[] = {
        {{{2, 3}}, 1, {"B", "C"}, ""},          // rows 2 and 3 are the third and fourth records
        {{}, 4, {"D"}, "D.GLZ"},                // the active row alone
        {{{-1, -1}}, 1, {"A", "B", "C", "D"}, ""},  // whole columns: every row
        {{{3, 9}}, 1, {"C", "D"}, ""},          // rows past the grid are not there
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string file = "sel" + std::to_string(++n) + ".GLZ";
        view.grid.setActiveCell(1, c.activeRow);
        view.grid.userSelect(c.block);
        view.dialog.choose(folder.file(file));
        page.comExportSel_Click();
        EXPECT_EQ(view.dialog.requests().back().title, kExportSelTitle);
        EXPECT_EQ(view.dialog.requests().back().proposedName, c.proposed) << file;
        EXPECT_EQ(namesIn(file), c.written) << file;
    }
}

TEST_F(ExportPageTest, NothingToBackUpWritesNothing) {
    open({});
    for (auto backup : {&frm5Export::comExportAll_Click, &frm5Export::comExportSel_Click}) {
        boxes.answer(kAnswerOk);
        (page.*backup)();
        EXPECT_EQ(boxes.last().style, kBoxExclamation);
        EXPECT_EQ(boxes.last().text, kNoGlassesToBackup);
    }
    page.comOK_Click();

    // No active row, or a cancelled dialog: no file.
    open({Material("A")});
    page.comExportSel_Click();
    EXPECT_TRUE(view.dialog.requests().empty());
    view.dialog.cancel();
    page.comExportAll_Click();
    EXPECT_EQ(view.dialog.requests().size(), 1u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 0);
    EXPECT_EQ(boxes.shown().size(), 2u);
}

TEST_F(ExportPageTest, AFailedBackupSaysWhichFileAndLeavesNothingBehind) {
    open({Material("A")});
    // A folder of that name with something in it cannot be replaced.
    std::filesystem::create_directory(folder.file("taken.GLZ"));
    folder.write("taken.GLZ/inside", std::string("kept"));
    view.dialog.choose(folder.file("taken.GLZ"));
    boxes.answer(kAnswerOk);
    page.comExportAll_Click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxExclamation);
    EXPECT_EQ(boxes.last().text.rfind("Your materials could not be backed up.\r\n\r\nFile: " + folder.file("taken.GLZ") +
                                          "\r\n",
                                      0),
              0u)
        << boxes.last().text;
    EXPECT_EQ(folder.read("taken.GLZ/inside").size(), 4u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);  // no temporary file left
    EXPECT_FALSE(cursor.busy);
}

TEST_F(ExportPageTest, ClosingTellsTheSwitcher) {
    open({Material("A")});
    page.comOK_Click();
    EXPECT_FALSE(page.isOpen());
    EXPECT_EQ(switches, (std::vector<std::pair<int, bool>>{{kPageExport, false}}));
    page.Form_Unload();
    EXPECT_EQ(switches.size(), 1u);
}

}  // namespace
