// The Import page over a real store (with catalogue and supplied names), real
// files in a temporary folder, scripted boxes and file dialog and an
// in-memory grid: the messages of each kind of read, the review grid and its
// refit column, what is remembered between reads, the add rules with their
// messages, rename, review, and what the page tells of the materials it could
// not read or add.
#include "exchange/frm4Import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "exchange/Bas4Import.h"
#include "exchange/GlzSamples.h"
#include "exchange/frm5Export.h"
#include "manage/ManageFixtures.h"
#include "model/FileUtil.h"
#include "model/GlassesList.h"
#include "model/NumberFormat.h"
#include "model/Verification.h"
#include "model/StoreFixtures.h"
#include "platform/BusyCursor.h"
#include "platform/MemoryGrid.h"
#include "platform/Settings.h"
#include "shell/CNewMsg.h"
#include "shell/ManageForms.h"
#include "support/FakePlacedWindow.h"
#include "support/ScriptedBoxes.h"
#include "support/ScriptedFileDialog.h"
#include "support/TestFolder.h"

namespace {

using Strings = std::vector<std::string>;

class FakeImportView : public IImportView {
public:
    explicit FakeImportView(frm4Import& page) : m_page(page) { page.setView(this); }
    ~FakeImportView() override { m_page.setView(nullptr); }
    IGrid& ssGlasses() override { return grid; }
    void setCaption(const std::string& text) override { caption = text; }
    void setRefitLabel(const std::string& text) override { refitLabel = text; }
    IFileDialog& fileDialog() override { return dialog; }
    IPlacedWindow& placement() override { return placed; }
    void setEnabled(bool on) override { enabled = on; }
    void bringToFront() override {}
    void showWindow(bool) override { shown = true; }
    void closeWindow() override {
        shown = false;
        m_page.Form_Unload();
    }

    MemoryGrid grid;
    ScriptedFileDialog dialog;
    FakePlacedWindow placed{"frm4Import"};
    std::string caption;
    std::string refitLabel = "unset";
    bool enabled = true;
    bool shown = false;

private:
    frm4Import& m_page;
};

// The editor or the melt maker: records what it was asked to review.
class FakeReviewer : public IGlassEditor {
public:
    void DisplayEdit(ICallerWindow&, const GlassRecord&) override { ADD_FAILURE() << "no edit from the Import page"; }
    void DisplayReview(ICallerWindow& frmCaller, const GlassRecord& glass) override {
        caller = &frmCaller;
        reviewed.push_back(glass.definition.name.str());
    }
    ICallerWindow* caller = nullptr;
    Strings reviewed;
};

std::string glzText(std::vector<GlassRecord> glasses) {
    return MakeGLZText(glasses, 1, static_cast<int>(glasses.size()), "Tuesday, March 4, 2025");
}

// An OSLO catalogue line: a Sellmeier formula, or a Conrady one that the
// reader refits, with three transmission points.
std::string glcLine(const std::string& name, bool conrady) {
    std::string name10 = name;
    name10.resize(10, ' ');
    const std::string formula = conrady ? "3 0 1.4973 0.0073 0.00027"
                                        : "2 0 1.03961212 0.231792344 1.01046945 0.00600069867 0.0200179144 "
                                          "103.560653";
    return name10 + " 1.5168 64.17 2.51 2.1e-6 71 x 1.5 610 12345 0 V " + formula +
           " 0 x 1 3 0.35 0.40 0.5 0.90 1.0 0.995";
}

class ImportPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(folder.file("design"));
        folder.write("design/" + std::string(kCatalogNamesFileName), CatalogueNameBytes("N-BK7", "SCHOTT"));
        folder.write("design/" + std::string(kSuppliedNamesFileName), SuppliedNameBytes("AIR", "LUMIVAR"));
        store.LoadCatalogNames(folder.file("design/"));
        store.LoadSuppliedNames(folder.file("design/"));
        store.SetRefreshCallback([this] { ++refreshes; });
        editors.setEditor(&editor);
        editors.setMeltMaker(&meltMaker);
        page.Display(false);
        ASSERT_TRUE(view.shown);
    }

    ImportPageServices services() {
        ImportPageServices s;
        s.boxes = &boxes;
        s.settings = &settings;
        s.store = &store;
        s.cursor = &cursor;
        s.editors = &editors;
        s.hints = &hints;
        s.switchPage = [this](int p, bool open) { switches.push_back({p, open}); };
        s.helpNote = [this](const std::string& text, bool) { helpLine.push_back(text); };
        return s;
    }

    // The file written into the program folder and opened through the dialog.
    void open(const std::string& name, int type, const std::string& text) {
        folder.write(name, text);
        open(name, type);
    }
    void open(const std::string& name, int type) {
        view.dialog.choose(folder.file(name), type);
        page.comImport_Click();
    }
    // Two complete materials of source "Mine" from a GLZ file.
    void openTwo(const std::string& a = "A", const std::string& b = "B") {
        open("two.GLZ", kImportGLZ, glzText({Material(a), Material(b)}));
        ASSERT_EQ(page.glasses().size(), 2u);
    }

    // Each row as its six cells joined by "|".
    Strings gridRows() const {
        Strings out;
        for (int r = 1; r <= view.grid.maxRows(); ++r) {
            std::string row;
            for (int c = 1; c <= kImportCols; ++c) row += (c > 1 ? "|" : "") + view.grid.text(c, r);
            out.push_back(row);
        }
        return out;
    }
    Strings gridNames() const {
        Strings out;
        for (int r = 1; r <= view.grid.maxRows(); ++r) out.push_back(view.grid.text(1, r));
        return out;
    }
    Strings storeIdents() const {
        Strings out;
        for (const auto& g : store.GetGlasses()) out.push_back(g.definition.name.str() + "/" + g.definition.source.str());
        return out;
    }
    Strings savedNames() {
        ScriptedBoxes quiet;
        GlassesList reread(quiet, clock, folder.path());
        reread.LoadUserGlasses();
        Strings out;
        for (const auto& g : reread.GetGlasses()) out.push_back(g.definition.name.str());
        return out;
    }
    // The collection, in the store and in its file.
    void keep(const std::vector<GlassRecord>& glasses) {
        store.SetGlasses(glasses);
        ASSERT_TRUE(store.SaveUserGlasses());
    }

    TestFolder folder;
    ScriptedBoxes boxes;
    FixedClock clock{DateSerial(2025, 3, 4, 10, 0)};
    MemorySettings settings;
    GlassesList store{boxes, clock, folder.path()};
    FakeReviewer editor, meltMaker;
    GlassEditors editors;
    CNewMsg hints{boxes, settings};
    RecordingBusyCursor cursor;
    std::vector<std::pair<int, bool>> switches;
    Strings helpLine;
    int refreshes = 0;
    frm4Import page{services()};
    FakeImportView view{page};
};

TEST_F(ImportPageTest, OpensEmptyWithItsHeadings) {
    EXPECT_EQ(view.caption, kImportCaption);
    EXPECT_EQ(view.refitLabel, "");
    EXPECT_EQ(view.grid.maxRows(), 0);
    for (int c = 1; c <= kImportCols; ++c) EXPECT_EQ(view.grid.text(c, 0), kImportHeadings[c - 1]);
    EXPECT_TRUE(view.grid.colHidden(kImportRefitCol));
    EXPECT_FALSE(cursor.busy);
}

TEST_F(ImportPageTest, TheGridShowsEachMaterialRead) {
    GlassRecord measured = Material("Measured", "Lab");
    measured.indexPointCount = 2;
    measured.indexDataType = kIndexData;
    measured.measured.indexWavelength[1] = 1013.98;
    measured.measured.index[1] = 1.50731;
    measured.measured.weight[1] = 1;
    measured.measured.indexWavelength[2] = 404.66;
    measured.measured.index[2] = 1.53024;
    measured.measured.weight[2] = 1;
    GlassRecord oneLimit = Material("OneLimit", "Lab");
    oneLimit.definition.lowerWavelength = 0;
    GlassRecord tabbed = Material("Tab\there", "  Lab ");
    open("three.GLZ", kImportGLZ, glzText({measured, oneLimit, tabbed}));
    EXPECT_TRUE(boxes.shown().empty());
    // Measured points: the last point's index, then the first's; without
    // points the indices at the limits, or 0 unless both limits are set.
    EXPECT_EQ(gridRows(), (Strings{"Measured|Lab|310.0 - 2325.0|1.5302 - 1.5073|OK|not refitted ",
                                   "OneLimit|Lab|0.0 - 2325.0|0.0000 - 0.0000|OK|not refitted ",
                                   "Tab here|Lab|310.0 - 2325.0|1.5494 - 1.4892|OK|not refitted "}));
    EXPECT_EQ(view.grid.backColour(kImportStatusCol, 1), kReadyColour);
    EXPECT_TRUE(view.grid.colHidden(kImportRefitCol));
    EXPECT_EQ(view.grid.activeCol(), kImportRefitCol);
    EXPECT_EQ(view.caption, "Import material data from text file: three.GLZ");
    EXPECT_FALSE(cursor.busy);
}

TEST_F(ImportPageTest, EachFailedReadSaysSoAndLeavesAnEmptyGrid) {
    const std::string longLine = "CC " + std::string(300, 'x');
    const std::string agfRefusal =
        "This file cannot be read properly, because it does not contain any 'carraige returns'.\r\n\r\n"
        "To correct this, simply:\r\n\t1) read the file in Windows Notepad\r\n\t2) re-save it\r\n"
        "\t3) try importing again";
    const struct {
        const char* file;
        int type;
        const char* text;  // nullptr: no such file
        std::string message;
    } cases[] = {
        {"cut.GLZ", kImportGLZ,
         "Brevane - Kalvenor  - text file V2\r\n#-- Material Data Start --\r\n#     -- General --\r\n\"A\",\"B\"\r\n",
         "Failure in file read cut.GLZ!"},
        {"missing.GLZ", kImportGLZ, nullptr, "Failure in file read missing.GLZ!"},
        {"bad.GLA", kImportGLA, "\"A\",x\r\n", "Unable to import any glasses from file bad.GLA!"},
        {"bad.GLS", kImportGLS, "\"A\",8\r\n", "Unable to import any glasses from file bad.GLS!"},
        {"missing.GLC", kImportGLC, nullptr, "Failure in file read missing.GLC!"},
        {"missing.AGF", kImportAGF, nullptr, "Failure in file read missing.AGF!"},
        {"oneline.AGF", kImportAGF, longLine.c_str(), agfRefusal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        open("two.GLZ", kImportGLZ, glzText({Material("A"), Material("B")}));
        ASSERT_EQ(view.grid.maxRows(), 2);
        boxes.clear();
        boxes.answer(kAnswerOk);
        if (c.text) folder.write(c.file, std::string(c.text));
        open(c.file, c.type);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.last().style, kBoxInformation);
        EXPECT_EQ(boxes.last().text, c.message);
        EXPECT_EQ(boxes.last().title, kAppTitle);
        EXPECT_TRUE(page.glasses().empty());
        EXPECT_EQ(view.grid.maxRows(), 0);
        EXPECT_EQ(view.refitLabel, "");
        EXPECT_EQ(settings.get(kImportSection, kImportLastTypeKey), std::to_string(c.type));
    }
}

TEST_F(ImportPageTest, AReadWithoutMaterialsSaysSo) {
    boxes.answer(kAnswerOk);
    open("empty.GLC", kImportGLC, std::string("OSLO catalog EMPTY\r\n"));
    EXPECT_EQ(boxes.last().text, "Unable to import any glasses from file empty.GLC!");

    // A foreign first line: the reader's own word, then the page's.
    boxes.clear();
    boxes.answer(kAnswerOk).answer(kAnswerOk);
    open("foreign.GLZ", kImportGLZ, std::string("GLZ\r\nEOF\r\n"));
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text, "This is not a Harvenne GLZ material data file.  Import will abort.");
    EXPECT_EQ(boxes.shown()[1].text, "Unable to import any glasses from file foreign.GLZ!");
    EXPECT_EQ(view.grid.maxRows(), 0);
}

TEST_F(ImportPageTest, RefittedGlassesShowTheirErrorAndTheHintOnce) {
    const std::string glc = CrLfLines({"OSLO glass catalog MYCAT", glcLine("KEPT", false), glcLine("REFIT1", true),
                                       glcLine("REFIT2", true)});
    boxes.answer(kAnswerNo);  // the hint: not again
    open("cat.GLC", kImportGLC, glc);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxYesNo);
    EXPECT_EQ(boxes.last().title, kRefitHintTitle);
    EXPECT_EQ(boxes.last().text,
              "Sept 2004 - enhanced glass import for Oslo & Zemax files. \r\n\r\n"
              "These files may contain glasses whose refractive index polynomial is not currently supported by "
              "Lumivar or Vitrarch.\r\n\r\nNow, kalvenor will try to refit these to one of the supported polynomials.  "
              "The average error in the refit is shown in the right most column\r\n\r\n"
              "Do you want to see this message again?");
    EXPECT_EQ(view.refitLabel,
              "2 glasses have been refited to index polynomial[s] used in Lumivar.  The average error is in the last "
              "column.");
    EXPECT_FALSE(view.grid.colHidden(kImportRefitCol));
    EXPECT_EQ(view.grid.text(kImportRefitCol, 1), "not refitted ");
    for (int r : {2, 3}) {
        const std::string cell = view.grid.text(kImportRefitCol, r);
        EXPECT_EQ(cell, Format(page.fitErrors()[static_cast<std::size_t>(r - 1)], "0.000000") + "-Schott");
        EXPECT_NE(page.fitErrors()[static_cast<std::size_t>(r - 1)], 0.0f);
    }
    EXPECT_EQ(gridNames(), (Strings{"KEPT", "REFIT1", "REFIT2"}));

    // Read again: the hint was declined and stays away.
    boxes.clear();
    open("cat.GLC", kImportGLC);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(page.refitCount(), 2);

    // One refit: the label in the singular.
    open("one.GLC", kImportGLC, CrLfLines({"OSLO glass catalog MYCAT", glcLine("REFIT", true)}));
    EXPECT_EQ(view.refitLabel,
              "1 glass has been refited to an index polynomial used in Lumivar.  The average error is in the last "
              "column.");
}

TEST_F(ImportPageTest, MaterialsTheReaderLeftOutAreNamed) {
    std::filesystem::copy_file(std::string(KALVENOR_TEST_DATA) + "/exchange/Tessa.agf", folder.file("Tessa.agf"));
    boxes.answer(kAnswerOk).answer(kAnswerYes);  // the list, then the refit hint
    open("Tessa.agf", kImportAGF);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].style, kBoxInformation);
    EXPECT_EQ(boxes.shown()[0].text,
              "1 material in Tessa.agf could not be imported:\r\n\r\nT-GRIN, line 19: its formula 13 is not supported");
    EXPECT_EQ(gridNames(), (Strings{"T-SK16", "T-HERZ"}));

    // Many left out, none kept: counted past the first dozen.
    std::string agf;
    for (int i = 1; i <= 15; ++i) agf += "NM GRIN" + std::to_string(i) + " 13 0 1.6 40\r\nLD 0.4 0.7\r\n";
    agf += "NM  2 0 1.5 60\r\nLD 0.4 0.7\r\n";
    boxes.clear();
    boxes.answer(kAnswerOk);
    open("many.agf", kImportAGF, agf);
    ASSERT_EQ(boxes.shown().size(), 1u);
    const std::string& text = boxes.last().text;
    EXPECT_EQ(text.rfind("Unable to import any glasses from file many.agf!\r\n\r\n16 materials in many.agf could not "
                         "be imported:\r\n\r\nGRIN1, line 1: its formula 13 is not supported\r\n",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("GRIN12, line 23: its formula 13 is not supported\r\n... and 4 more."), std::string::npos)
        << text;
    EXPECT_EQ(text.find("GRIN13"), std::string::npos);
}

TEST_F(ImportPageTest, TheDialogStartsWhereTheLastOfItsTypeWasChosen) {
    // Nothing stored: the first type, in the program folder.
    view.dialog.cancel();
    page.comImport_Click();
    ASSERT_EQ(view.dialog.requests().size(), 1u);
    const FileDialogRequest& first = view.dialog.requests()[0];
    EXPECT_FALSE(first.save);
    EXPECT_EQ(first.filter, kImportFilter);
    EXPECT_EQ(first.filterIndex, 1);
    EXPECT_EQ(first.defaultExt, "GLZ");
    EXPECT_EQ(first.title, kImportDialogTitle);
    EXPECT_EQ(first.initialFolder, folder.path());
    EXPECT_EQ(settings.size(), 0u);  // a cancel stores nothing

    std::filesystem::create_directory(folder.file("oslo"));
    folder.write("oslo/cat.GLC", CrLfLines({"OSLO glass catalog MYCAT", glcLine("KEPT", false)}));
    view.dialog.choose(folder.file("oslo/cat.GLC"), kImportGLC);
    page.comImport_Click();
    EXPECT_EQ(settings.get(kImportSection, kImportLastTypeKey), "4");
    EXPECT_EQ(settings.get(kImportSection, "B4ImpPathOslo_GLC"), folder.file("oslo/"));
    EXPECT_EQ(page.importType(), kImportGLC);

    // The next dialog: that type and folder, proposing that file; a cancel
    // keeps the grid and the settings.
    view.dialog.cancel();
    page.comImport_Click();
    const FileDialogRequest& next = view.dialog.requests().back();
    EXPECT_EQ(next.filterIndex, kImportGLC);
    EXPECT_EQ(next.initialFolder, folder.file("oslo/"));
    EXPECT_EQ(next.proposedName, folder.file("oslo/cat.GLC"));
    EXPECT_EQ(gridNames(), Strings{"KEPT"});
    EXPECT_EQ(view.caption, "Import material data from text file: cat.GLC");
    EXPECT_EQ(settings.size(), 2u);
}

TEST_F(ImportPageTest, AStoredTypeThatIsNoneOfTheFiveStartsWithTheFirst) {
    const struct {
        const char* stored;
        int type;
    } cases[] = {{"0", 1}, {"3", 3}, {" 5 ", 5}, {"6", 1}, {"-2", 1}, {"2.5", 1}, {"GLC", 1}, {"", 1}};
    for (const auto& c : cases) {
        settings.set(kImportSection, kImportLastTypeKey, c.stored);
        EXPECT_EQ(LastImportType(settings), c.type) << c.stored;
    }
    settings.set(kImportSection, "B4ImpPathOldVtrq_GLS", "/old/gls/");
    EXPECT_EQ(ImportFolder(settings, kImportGLS, "/prog/"), "/old/gls/");
    EXPECT_EQ(ImportFolder(settings, kImportGLA, "/prog/"), "/prog/");
}

TEST_F(ImportPageTest, AddAllStoresNewMaterialsWithProgressAndSavesOnce) {
    openTwo();
    page.comAddAll_Click();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(storeIdents(), (Strings{"A/Mine", "B/Mine"}));
    EXPECT_EQ(savedNames(), (Strings{"A", "B"}));
    EXPECT_EQ(refreshes, 1);
    for (const auto& g : store.GetGlasses()) EXPECT_EQ(g.lastStored, clock.now());
    ASSERT_FALSE(helpLine.empty());
    EXPECT_EQ(helpLine.back(), "");
    EXPECT_EQ(helpLine[helpLine.size() - 2], "Adding materials to your collection: 2 of 2");
    EXPECT_FALSE(cursor.busy);
}

TEST_F(ImportPageTest, ALargeAddTellsItsProgressAsItGoes) {
    std::vector<GlassRecord> many;
    for (int i = 1; i <= 300; ++i) many.push_back(Material("G" + std::to_string(i)));
    open("many.GLZ", kImportGLZ, glzText(many));
    page.comAddAll_Click();
    EXPECT_EQ(store.Count(), 300);
    // Notes along the way, not only at the end, and the line cleared after.
    EXPECT_NE(std::find(helpLine.begin(), helpLine.end(), "Adding materials to your collection: 150 of 300"),
              helpLine.end());
    EXPECT_EQ(helpLine.back(), "");
}

TEST_F(ImportPageTest, ACatalogueGlassInTheRangeAddsNothing) {
    open("mixed.GLZ", kImportGLZ,
         glzText({Material("New"), Material("N-BK7", "schott "), Material("Air", "Lumivar")}));
    const std::string message =
        "The following materials are catalog glasses and cannot be overwritten!\r\n\r\n"
        "N-BK7/schott, Air/Lumivar\r\n\r\nIf you really want to use this data, then rename the 'Source'.";
    boxes.answer(kAnswerOk);
    page.comAddAll_Click();
    EXPECT_EQ(boxes.last().style, kBoxExclamation);
    EXPECT_EQ(boxes.last().text, message);

    // Selected: the new one with a catalogue glass, a box without an icon.
    view.grid.userSelect({{1, 2}});
    boxes.answer(kAnswerOk);
    page.comAddSel_Click();
    EXPECT_EQ(boxes.last().style, kBoxPlain);
    EXPECT_EQ(boxes.last().text,
              "The following materials are catalog glasses and cannot be overwritten!\r\n\r\n"
              "N-BK7/schott\r\n\r\nIf you really want to use this data, then rename the 'Source'.");
    EXPECT_EQ(store.Count(), 0);
    EXPECT_FALSE(folder.exists(kCollectionFileName));
}

TEST_F(ImportPageTest, ExistingMaterialsAreReplacedOnlyAfterOneQuestion) {
    GlassRecord oldA = Material("A");
    oldA.definition.density = 9.0f;
    keep({Material("Z"), oldA, Material("b", "MINE")});
    openTwo();
    const std::string question =
        "The following materials are already in your collection:\r\n\r\nA/Mine, B/Mine\r\n\r\n"
        "Do you want to overwrite the existing data?";
    boxes.answer(kAnswerNo);
    page.comAddAll_Click();
    EXPECT_EQ(boxes.last().style, kBoxQuestionYesNo);
    EXPECT_EQ(boxes.last().text, question);
    EXPECT_FLOAT_EQ(store.GetGlasses()[1].definition.density, 9.0f);
    EXPECT_EQ(refreshes, 0);

    boxes.answer(kAnswerYes);
    page.comAddAll_Click();
    EXPECT_EQ(boxes.shown().size(), 2u);
    // Replaced in their places.
    EXPECT_EQ(storeIdents(), (Strings{"Z/Mine", "A/Mine", "B/Mine"}));
    EXPECT_FLOAT_EQ(store.GetGlasses()[1].definition.density, 2.51f);
    EXPECT_EQ(savedNames(), (Strings{"Z", "A", "B"}));
}

TEST_F(ImportPageTest, AnAddOfManyCatalogueGlassesNamesAFewAndCountsTheRest) {
    // A maker's catalogue imported as it is: the refusal names a few and
    // counts the rest; the overwrite question names every material it would
    // overwrite.
    std::vector<GlassRecord> glasses;
    std::vector<std::uint8_t> catalogue;
    std::string named, all;
    for (int i = 1; i <= 14; ++i) {
        const std::string name = "G" + std::to_string(i);
        glasses.push_back(Material(name));
        const auto record = CatalogueNameBytes(name, "Mine");
        catalogue.insert(catalogue.end(), record.begin(), record.end());
        if (i <= 12) named += (i > 1 ? ", " : "") + name + "/Mine";
        all += (i > 1 ? ", " : "") + name + "/Mine";
    }
    keep(glasses);
    open("again.GLZ", kImportGLZ, glzText(glasses));
    boxes.answer(kAnswerNo);
    page.comAddAll_Click();
    EXPECT_EQ(boxes.last().text, "The following materials are already in your collection:\r\n\r\n" + all +
                                     "\r\n\r\nDo you want to overwrite the existing data?");

    folder.write("design/" + std::string(kCatalogNamesFileName), catalogue);
    store.LoadCatalogNames(folder.file("design/"));
    boxes.answer(kAnswerOk);
    page.comAddAll_Click();
    EXPECT_EQ(boxes.last().text, "The following materials are catalog glasses and cannot be overwritten!\r\n\r\n" +
                                     named + " and 2 more\r\n\r\nIf you really want to use this data, then rename "
                                             "the 'Source'.");
}

TEST_F(ImportPageTest, AddSelectedTakesTheBlockOrTheActiveRow) {
    open("four.GLZ", kImportGLZ, glzText({Material("A"), Material("B"), Material("C"), Material("D")}));
    const struct {
        std::vector<RowSpan> block;
        int activeRow;
        Strings added;
    } cases[] = {
        {{{2, 3}}, 1, {"B/Mine", "C/Mine"}},
        {{}, 4, {"D/Mine"}},
        {{{-1, -1}}, 1, {"A/Mine", "B/Mine", "C/Mine", "D/Mine"}},  // whole columns
        {{{3, 9}}, 1, {"C/Mine", "D/Mine"}},                         // rows past the list are not there
    };
    for (const auto& c : cases) {
        store.SetGlasses({});
        view.grid.setActiveCell(1, c.activeRow);
        view.grid.userSelect(c.block);
        page.comAddSel_Click();
        EXPECT_EQ(storeIdents(), c.added);
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ImportPageTest, WithNothingImportedAnAddOffersToOpenAFile) {
    for (auto add : {&frm4Import::comAddAll_Click, &frm4Import::comAddSel_Click}) {
        boxes.answer(kAnswerNo);
        (page.*add)();
        EXPECT_EQ(boxes.last().style, kBoxQuestionYesNo);
        EXPECT_EQ(boxes.last().text, kNoImportQuestion);
        EXPECT_TRUE(view.dialog.requests().empty());
    }
    boxes.answer(kAnswerYes);
    view.dialog.cancel();
    page.comAddAll_Click();
    EXPECT_EQ(view.dialog.requests().size(), 1u);
    EXPECT_EQ(store.Count(), 0);
}

TEST_F(ImportPageTest, MaterialsTheCollectionRefusesAreNamedAfterTheAdd) {
    GlassRecord noName = Material("X");
    noName.definition.name.set("");
    GlassRecord noSource = Material("NoSource", "");
    open("odd.GLZ", kImportGLZ, glzText({Material("A"), noName, noSource, Material("B")}));
    boxes.answer(kAnswerOk);
    page.comAddAll_Click();
    EXPECT_EQ(storeIdents(), (Strings{"A/Mine", "B/Mine"}));
    EXPECT_EQ(savedNames(), (Strings{"A", "B"}));
    EXPECT_EQ(boxes.last().style, kBoxInformation);
    EXPECT_EQ(boxes.last().text,
              "2 materials were not added to your collection, because a material needs a name and a source:\r\n\r\n"
              "(no name)/Mine\r\nNoSource/(no source)");
}

TEST_F(ImportPageTest, RenameGivesEveryMaterialTheNewSource) {
    openTwo();
    for (const char* kept : {"", "   "}) {
        boxes.answerInput(kept);
        page.comRenameSource_Click();
        EXPECT_EQ(boxes.last().text, kRenamePrompt);
        EXPECT_TRUE(boxes.last().isInput);
        EXPECT_EQ(boxes.last().defaultText, "");
        EXPECT_EQ(view.grid.text(2, 1), "Mine");
    }
    boxes.answerInput("Bench measurements of the year 2024");
    page.comRenameSource_Click();
    for (const GlassRecord& g : page.glasses()) EXPECT_EQ(g.definition.source.str(), "Bench measurements of the year");
    EXPECT_EQ(view.grid.text(2, 1), "Bench measurements of the year");
    EXPECT_EQ(view.grid.text(2, 2), "Bench measurements of the year");
    page.comAddAll_Click();
    EXPECT_EQ(storeIdents(), (Strings{"A/Bench measurements of the year", "B/Bench measurements of the year"}));
}

TEST_F(ImportPageTest, RenameWithNothingImportedAsksNothing) {
    page.comRenameSource_Click();
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ImportPageTest, ReviewOpensTheClickedMaterialByItsMeltFlag) {
    GlassRecord melt = Material("Melt");
    melt.melt.meltFlag = kTrue;
    melt.melt.pairCount = 1;
    melt.melt.pairWavelength[1] = 587.56f;
    melt.melt.pairIndex[1] = 1.5168;
    open("two.GLZ", kImportGLZ, glzText({Material("Plain"), melt}));

    page.comReview_Click();  // no row clicked yet
    EXPECT_TRUE(editor.reviewed.empty());

    view.grid.userClick(3, 1);
    page.comReview_Click();
    EXPECT_EQ(editor.reviewed, Strings{"Plain"});
    EXPECT_EQ(editor.caller, &page);
    view.grid.userDoubleClick(1, 2);
    EXPECT_EQ(meltMaker.reviewed, Strings{"Melt"});
    EXPECT_EQ(page.selectedRow(), 2);

    // The review window disables the page while it is open.
    editor.caller->setEnabled(false);
    EXPECT_FALSE(view.enabled);
    editor.caller->setEnabled(true);

    // A new read forgets the row: the same button then does nothing, also
    // when the new list is shorter than the row was.
    open("one.GLZ", kImportGLZ, glzText({Material("Other")}));
    EXPECT_EQ(page.selectedRow(), 0);
    page.comReview_Click();
    EXPECT_EQ(editor.reviewed, Strings{"Plain"});
    EXPECT_EQ(meltMaker.reviewed, Strings{"Melt"});
}

TEST_F(ImportPageTest, ClosingDiscardsTheListAndTellsTheSwitcher) {
    openTwo();
    page.comOK_Click();
    EXPECT_FALSE(page.isOpen());
    EXPECT_TRUE(page.glasses().empty());
    EXPECT_EQ(switches, (std::vector<std::pair<int, bool>>{{kPageImport, false}}));
    page.Form_Unload();  // a second close does nothing
    EXPECT_EQ(switches.size(), 1u);

    page.Display(false);
    EXPECT_EQ(view.grid.maxRows(), 0);
    EXPECT_EQ(view.caption, kImportCaption);
}

}  // namespace
