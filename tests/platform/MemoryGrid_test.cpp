#include "platform/MemoryGrid.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Changes {
    std::vector<GridCell> cells;
    void attach(IGrid& g) {
        g.events().changed = [this](int c, int r) { cells.push_back({c, r}); };
    }
};

MemoryGrid makeGrid(int cols, int rows) {
    MemoryGrid g;
    g.setMaxCols(cols);
    g.setMaxRows(rows);
    return g;
}

}  // namespace

TEST(MemoryGridTest, BlockTextFillsFromTheTopLeftWithinTheBlock) {
    MemoryGrid g = makeGrid(3, 4);
    g.setText(3, 2, "keep");
    g.setBlockText(GridBlock::range(1, 1, 2, 3), "a\tb\tcut\r\nc\r\n\td\ne\tf\r\nbeyond\r\n");
    EXPECT_EQ(g.blockText(GridBlock::all()), "a\tb\t\r\nc\t\tkeep\r\n\td\t\r\n\t\t\r\n");
    EXPECT_EQ(g.text(1, 3), "");
    // Headings as a block of row 0, cells of -1 for every column.
    g.setBlockText(GridBlock::range(1, 0, 3, 0), "ID\tMaterial\tCode");
    EXPECT_EQ(g.text(2, 0), "Material");
    g.setBlockText(GridBlock::all(), "x\ty\tz\tw");
    EXPECT_EQ(g.blockText(GridBlock::rows(1, 1)), "x\ty\tz\r\n");
    g.clearText(GridBlock::columns(2, 3));
    EXPECT_EQ(g.blockText(GridBlock::rows(1, 2)), "x\t\t\r\nc\t\t\r\n");
    EXPECT_EQ(g.text(2, 0), "Material");  // clearing data rows leaves the headings
    // A second corner of -1 runs to the last column and row.
    g.setBackColour(GridBlock::range(2, 3, -1, -1), 0x80FFFF);
    EXPECT_EQ(g.backColour(3, 4), Colour(0x80FFFF));
    EXPECT_EQ(g.backColour(2, 3), Colour(0x80FFFF));
    EXPECT_EQ(g.backColour(1, 3), kColourNone);
    EXPECT_EQ(g.backColour(2, 2), kColourNone);
}

// A whole list at once: each text in its own cell as it is, each row its
// colour, every cell locked; rows beyond the list go, rows kept keep their
// cell types and new rows take their columns'.
TEST(MemoryGridTest, SetRowsRefillsEveryRowCellByCell) {
    MemoryGrid g = makeGrid(3, 3);
    g.setCellType(GridBlock::columns(2, 2), CellType::number(2, 0, 0));
    g.setCellType(GridBlock::cell(3, 1), CellType::staticText());
    g.setText(3, 2, "old");
    g.setBackColour(GridBlock::all(), 0x123456);
    g.setRows({2, {"a\tb", "1.5", "x\r\ny", "7"}, {0xFFFFFF, 0x80FFFF}, true});
    EXPECT_EQ(g.maxRows(), 2);
    EXPECT_EQ(g.text(1, 1), "a\tb");
    EXPECT_EQ(g.text(2, 1), "1.50");
    EXPECT_EQ(g.text(1, 2), "x\r\ny");
    EXPECT_EQ(g.text(2, 2), "7.00");
    EXPECT_EQ(g.text(3, 2), "");  // beyond the texts of a row
    EXPECT_EQ(g.cellType(3, 1), CellType::staticText());
    EXPECT_EQ(g.backColour(3, 1), Colour(0xFFFFFF));
    EXPECT_EQ(g.backColour(1, 2), Colour(0x80FFFF));
    EXPECT_TRUE(g.locked(1, 1) && g.locked(3, 2));

    g.setRows({2, {"p", "2", "q", "3", "r", "4"}, {0xFFFFFF, 0xFFFFFF, 0x80FFFF}, false});
    EXPECT_EQ(g.maxRows(), 3);
    EXPECT_EQ(g.blockText(GridBlock::all()), "p\t2.00\t\r\nq\t3.00\t\r\nr\t4.00\t\r\n");
    EXPECT_EQ(g.cellType(2, 3), CellType::number(2, 0, 0));
    EXPECT_EQ(g.backColour(1, 3), Colour(0x80FFFF));
    EXPECT_FALSE(g.locked(2, 3));
    g.setRows({});
    EXPECT_EQ(g.maxRows(), 0);
}

// Cells keep their places when columns come and go, and a list of tens of
// thousands of rows (one large block of cells) survives growing, sorting and
// shrinking.
TEST(MemoryGridTest, CellsKeepTheirPlacesThroughChangesOfShape) {
    MemoryGrid g = makeGrid(2, 3);
    g.setCellType(GridBlock::columns(2, 2), CellType::integer(0, 0));
    g.setBlockText(GridBlock::all(), "a\t1\r\nb\t2\r\nc\t3\r\n");
    g.setBackColour(GridBlock::cell(1, 2), 0x80FFFF);
    g.setText(0, 2, "row 2");
    g.setMaxCols(4);
    EXPECT_EQ(g.blockText(GridBlock::all()), "a\t1\t\t\r\nb\t2\t\t\r\nc\t3\t\t\r\n");
    EXPECT_EQ(g.backColour(1, 2), Colour(0x80FFFF));
    EXPECT_EQ(g.text(0, 2), "row 2");
    EXPECT_EQ(g.cellType(2, 3), CellType::integer(0, 0));
    EXPECT_EQ(g.cellType(4, 1), CellType::editText());
    g.setMaxCols(1);
    EXPECT_EQ(g.blockText(GridBlock::all()), "a\r\nb\r\nc\r\n");

    constexpr int kRows = 40000;
    GridRows rows{2, {}, {}, false};
    for (int r = 1; r <= kRows; ++r) {
        rows.texts.push_back("M" + std::to_string(r));
        rows.texts.push_back(std::to_string(r % 7));
        rows.backs.push_back(r % 2 ? 0xFFFFFF : 0x80FFFF);
    }
    MemoryGrid big = makeGrid(2, 0);
    big.setRows(std::move(rows));
    big.setMaxRows(kRows + 1);
    big.setText(1, kRows + 1, "last");
    EXPECT_EQ(big.text(1, 12345), "M12345");
    EXPECT_EQ(big.backColour(2, 12346), Colour(0x80FFFF));
    big.sort(GridBlock::all(), {{2, false}, {1, true}});
    EXPECT_EQ(big.text(1, 1), "M1000");  // the first of the sixes by name
    EXPECT_EQ(big.text(2, 1), "6");
    EXPECT_EQ(big.backColour(1, 1), Colour(0x80FFFF));
    EXPECT_EQ(big.text(1, kRows + 1), "last");  // an empty key sorts last
    big.setMaxRows(2);
    EXPECT_EQ(big.blockText(GridBlock::all()), "M1000\t6\r\nM10002\t6\r\n");
}

TEST(MemoryGridTest, NumberCellsKeepTheirNumbersFormattedAndTypesCarryToNewRows) {
    MemoryGrid g = makeGrid(3, 2);
    g.setCellType(GridBlock::columns(1, 1), CellType::number(4, 10, 30000));
    g.setCellType(GridBlock::columns(2, 2), CellType::integer(0, 100));
    g.setBlockText(GridBlock::all(), "587.56\t2.6\tfree text\r\n5\t-0.0001\t1.5\r\n");
    EXPECT_EQ(g.blockText(GridBlock::all()), "587.5600\t3\tfree text\r\n5.0000\t0\t1.5\r\n");
    g.setText(1, 1, "n/a");  // the program may write what it likes
    EXPECT_EQ(g.text(1, 1), "n/a");
    g.setMaxRows(3);
    EXPECT_EQ(g.cellType(1, 3), CellType::number(4, 10, 30000));
    EXPECT_EQ(g.cellType(3, 3), CellType::editText());
}

TEST(MemoryGridTest, ProgramWritesRaiseNoEventButTheUsersEditsDo) {
    MemoryGrid g = makeGrid(3, 3);
    Changes changes;
    changes.attach(g);
    g.setCellType(GridBlock::columns(1, 1), CellType::number(2, 0, 1));
    g.setCellType(GridBlock::columns(3, 3), CellType::staticText());
    g.setBlockText(GridBlock::all(), "0.5\tx\ty\r\n");
    g.setText(2, 2, "z");
    g.clearText(GridBlock::all());
    g.sort(GridBlock::all(), {{1, true}});
    EXPECT_TRUE(changes.cells.empty());

    EXPECT_TRUE(g.userType(1, 2, " .25 "));
    EXPECT_EQ(g.text(1, 2), "0.25");
    EXPECT_TRUE(g.userType(1, 2, "0.25"));  // the same text again: no change
    EXPECT_FALSE(g.userType(1, 2, "2"));    // beyond the upper limit
    EXPECT_FALSE(g.userType(1, 2, "abc"));
    EXPECT_FALSE(g.userType(3, 1, "static"));
    g.setLock(GridBlock::range(2, 1, 2, 1), true);
    EXPECT_FALSE(g.userType(2, 1, "locked"));
    EXPECT_TRUE(g.userType(2, 2, "free"));
    EXPECT_EQ(changes.cells, (std::vector<GridCell>{{1, 2}, {2, 2}}));
    EXPECT_EQ(g.text(1, 2), "0.25");
    EXPECT_EQ(g.activeRow(), 2);
}

TEST(MemoryGridTest, PasteGoesFromTheActiveCellIntoWhatTheUserCouldType) {
    MemoryGrid g = makeGrid(3, 3);
    Changes changes;
    changes.attach(g);
    g.setCellType(GridBlock::columns(1, 1), CellType::number(1, 10, 30000));
    g.setLock(GridBlock::cell(3, 2), true);
    g.setActiveCell(1, 2);
    g.setClipboard("656.3\t1.5\t9\t9\n5\tb\tc\nlost\r\n");  // 5 is below the limit; row 4 does not exist
    g.pasteClipboard();
    EXPECT_EQ(g.blockText(GridBlock::rows(2, 3)), "656.3\t1.5\t\r\n\tb\tc\r\n");
    EXPECT_EQ(changes.cells, (std::vector<GridCell>{{1, 2}, {2, 2}, {2, 3}, {3, 3}}));
}

TEST(MemoryGridTest, SortComparesNumbersByValueTextsIgnoringCaseAndIsStable) {
    MemoryGrid g = makeGrid(3, 6);
    g.setBlockText(GridBlock::all(),
                   "100\tschott\ta\r\n12\tOhara\tb\r\n\tHoya\tc\r\n12\tHoya\td\r\n9.5\tohara\te\r\n12\tOHARA\tf\r\n");
    g.setBackColour(GridBlock::cell(3, 1), RgbColour(255, 255, 128));
    g.sort(GridBlock::all(), {{1, true}});
    EXPECT_EQ(g.blockText(GridBlock::columns(3, 3)), "e\r\nb\r\nd\r\nf\r\na\r\nc\r\n");  // empty last
    EXPECT_EQ(g.backColour(3, 5), RgbColour(255, 255, 128));                          // colours move with the row
    g.sort(GridBlock::all(), {{2, true}, {1, false}});
    EXPECT_EQ(g.blockText(GridBlock::columns(3, 3)), "d\r\nc\r\nb\r\nf\r\ne\r\na\r\n");
    g.sort(GridBlock::all(), {{2, false}});
    EXPECT_EQ(g.blockText(GridBlock::columns(3, 3)), "a\r\nb\r\nf\r\ne\r\nd\r\nc\r\n");
    // Sorting a part of the rows leaves the others.
    g.sort(GridBlock::range(1, 1, 3, 2), {{3, false}});
    EXPECT_EQ(g.blockText(GridBlock::columns(3, 3)), "b\r\na\r\nf\r\ne\r\nd\r\nc\r\n");
}

TEST(MemoryGridTest, SelectionHitTestAndClicksAsTheUserMakesThem) {
    MemoryGrid g = makeGrid(3, 20);
    g.setColWidth(1, 4);
    g.setColHidden(2, true);
    g.userSelect({{9, 11}, {13, 13}});
    EXPECT_EQ(g.selectedBlocks(), (std::vector<RowSpan>{{9, 11}, {13, 13}}));
    EXPECT_EQ(g.selectedBlock(), (RowSpan{13, 13}));
    g.clearSelection();
    EXPECT_EQ(g.selectedBlock(), std::nullopt);

    const GridPoint p = g.pointOf(3, 7);
    EXPECT_EQ(g.cellAt(p.x, p.y), (GridCell{3, 7}));  // the hidden column takes no room
    const GridPoint h = g.pointOf(1, 0);
    EXPECT_EQ(g.cellAt(h.x, h.y), (GridCell{1, 0}));
    EXPECT_EQ(g.cellAt(p.x, 10000), std::nullopt);

    std::vector<GridCell> clicks;
    g.events().rightClicked = [&](int c, int r) { clicks.push_back({c, r}); };
    g.userRightClick(2, 0);
    EXPECT_EQ(clicks, (std::vector<GridCell>{{2, 0}}));
    g.userSelect({{9, 11}, {13, 13}});
    g.setMaxRows(10);
    EXPECT_EQ(g.selectedBlocks(), (std::vector<RowSpan>{{9, 10}}));
}
