#include "model/Verification.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/MemoryGrid.h"
#include "support/ScriptedBoxes.h"

namespace {

GlassRecord readyGlass(const char* name = "N-BK7", const char* source = "SCHOTT") {
    GlassRecord g;
    InitGlassRecord(g);
    g.definition.name.set(name);
    g.definition.source.set(source);
    for (auto& s : g.sections) s.ready = kTrue;
    return g;
}

void setSellmeierBK7(GlassDefinition& d) {
    d.formulaType = kSellmeier;
    const double c[] = {1.03961212, 0.231792344, 1.01046945, 0.00600069867, 0.0200179144, 103.560653};
    for (int i = 0; i < 6; ++i) d.coefficients[i] = c[i];
}

}  // namespace

TEST(VerificationTest, StatusIsKeptWhenValidElseBecomesA) {
    const std::pair<const char*, const char*> cases[] = {
        {" r  ", " r  "}, {"o", "o   "},  {"R", "R   "},  {"E", "E   "},   {"A", "A   "}, {"O", "O   "},
        {"X", "A   "},   {"", "A   "},   {"    ", "A   "}, {"RR", "A   "}, {"?", "A   "},
    };
    for (auto [stored, expected] : cases) {
        GlassRecord g = readyGlass();
        g.sections[kIndex].ready = kFalse;
        g.properties.status.set(stored);
        NormaliseGlassRecord(g);
        EXPECT_EQ(g.properties.status.raw(), expected) << '"' << stored << '"';
    }
}

TEST(VerificationTest, GlassCodeRecomputedOnlyWhenIndexIsReady) {
    GlassRecord g = readyGlass();
    setSellmeierBK7(g.definition);
    g.definition.glassCode = 123456;
    g.properties.status.set("R");

    GlassRecord notReady = g;
    notReady.sections[kIndex].ready = kFalse;
    const GlassRecord before = notReady;
    NormaliseGlassRecord(notReady);
    EXPECT_EQ(notReady, before);  // nothing else changes either

    NormaliseGlassRecord(g);
    EXPECT_EQ(g.definition.glassCode, 517642);
    g.definition.glassCode = 123456;
    GlassRecord expected = before;
    expected.sections[kIndex].ready = kTrue;
    EXPECT_EQ(g, expected);
}

TEST(VerificationTest, MissingSectionsInTabOrder) {
    GlassRecord g = readyGlass("  N-BK7 ", " SCHOTT  ");
    std::string msg = "head\r\n";
    EXPECT_TRUE(ListMissingSections(g, msg));
    EXPECT_EQ(msg, "head\r\n");

    g.sections[kOther].ready = 1;  // any value but 0 is ready
    EXPECT_TRUE(ListMissingSections(g, msg));

    for (auto& s : g.sections) s.ready = kFalse;
    EXPECT_FALSE(ListMissingSections(g, msg));
    EXPECT_EQ(msg, "head\r\nN-BK7/SCHOTT - check: General Index Trans dn/dt Other\r\n");
}

TEST(VerificationTest, NotReadyRecordsReportedInOneBox) {
    std::vector<GlassRecord> glasses = {readyGlass("F2 ", "  USER"), readyGlass(), readyGlass("SF6", "HOYA")};
    glasses[0].sections[kTrans].ready = kFalse;
    glasses[0].sections[kOther].ready = kFalse;
    glasses[2].sections[kGeneral].ready = kFalse;
    ScriptedBoxes boxes;
    boxes.answer(kAnswerOk);

    EXPECT_FALSE(CheckReadyForExport(1, 3, glasses, boxes));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().style, kBoxInformation);
    EXPECT_EQ(boxes.last().title, kAppTitle);
    EXPECT_EQ(boxes.last().text,
              "The following glass[s] are not ready for export.\r\n"
              "F2/USER - check: Trans Other\r\n"
              "SF6/HOYA - check: General\r\n");
}

TEST(VerificationTest, RangeIsInclusiveAndClampedToTheArray) {
    std::vector<GlassRecord> glasses = {readyGlass("A1", "U"), readyGlass("A2", "U"), readyGlass("A3", "U")};
    glasses[0].sections[kIndex].ready = kFalse;
    glasses[2].sections[kIndex].ready = kFalse;
    ScriptedBoxes boxes;

    EXPECT_TRUE(CheckReadyForExport(2, 2, glasses, boxes));
    EXPECT_TRUE(CheckReadyForExport(3, 1, glasses, boxes));  // nothing to check
    EXPECT_TRUE(CheckReadyForExport(4, 9, glasses, boxes));  // wholly past the end
    EXPECT_TRUE(CheckReadyForExport(1, 1, std::vector<GlassRecord>{}, boxes));
    EXPECT_TRUE(boxes.shown().empty());

    boxes.answer(kAnswerOk);
    EXPECT_FALSE(CheckReadyForExport(-5, 40, glasses, boxes));
    EXPECT_EQ(boxes.last().text,
              "The following glass[s] are not ready for export.\r\nA1/U - check: Index\r\nA3/U - check: Index\r\n");
}

TEST(VerificationTest, ReadyCell) {
    GlassRecord g = readyGlass();
    EXPECT_EQ(SetReadyCell(g), (ReadyCell{"OK", 0x00FF00}));
    g.sections[kGeneral].ready = kFalse;
    EXPECT_EQ(SetReadyCell(g), (ReadyCell{"General", 0x0000FF}));
    g.sections[kDnDt].ready = kFalse;
    EXPECT_EQ(SetReadyCell(g), (ReadyCell{"General dn/dt", 0x0000FF}));
}

TEST(VerificationTest, ReadyCellOnTheGrid) {
    MemoryGrid grid;
    grid.setMaxCols(4);
    grid.setMaxRows(3);
    grid.setText(3, 2, "old");
    GlassRecord g = readyGlass();
    g.sections[kTrans].ready = kFalse;
    g.sections[kOther].ready = kFalse;

    EXPECT_EQ(SetReadyCell(grid, 2, 3, g), "Trans Other");
    EXPECT_EQ(grid.activeCol(), 3);
    EXPECT_EQ(grid.activeRow(), 2);
    EXPECT_EQ(grid.backColour(3, 2), kNotReadyColour);
    EXPECT_EQ(grid.backColour(2, 3), kColourNone);  // only the one cell: not row 3, column 2
    EXPECT_EQ(grid.text(3, 2), "old");              // the caller writes the text

    EXPECT_EQ(SetReadyCell(grid, 3, 4, readyGlass()), "OK");
    EXPECT_EQ(grid.activeCol(), 4);
    EXPECT_EQ(grid.activeRow(), 3);
    EXPECT_EQ(grid.backColour(4, 3), kReadyColour);
    EXPECT_EQ(grid.backColour(3, 2), kNotReadyColour);
}
