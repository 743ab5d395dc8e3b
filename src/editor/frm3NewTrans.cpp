// The editor's Transmittance tab: the grid's layout by the kind of data the
// user types and the unit shown. Filling the grid from the record, its
// cell-edit rule and its clear come with the rest of this tab.
#include "editor/frm3New.h"
#include "platform/Clipboard.h"
#include "platform/Grid.h"

namespace {

constexpr int kTransRows = 150;
constexpr int kTransCols = 4;

}  // namespace

void frm3New::ClearTransGrid() { ssTrans().clearText(GridBlock::all()); }

void frm3New::SetupTransGrid() {
    IGrid& grid = ssTrans();
    const bool percent = m_transDisplayUnit == 0;
    grid.setMaxRows(kTransRows);
    grid.setMaxCols(kTransCols);
    const char* const headings[kTransCols] = {"wave [nm]", percent ? "Total trans [%]" : "Total trans",
                                              percent ? "Internal trans [%]" : "Internal trans", "Absorption coeff"};
    const double widths[kTransCols] = {11, 16, 19, 17};
    for (int c = 1; c <= kTransCols; ++c) {
        grid.setText(c, 0, headings[c - 1]);
        grid.setColWidth(c, widths[c - 1]);
    }
    grid.setCellType(GridBlock::columns(1, 1), CellType::number(2, 10, 30000));
    grid.setLock(GridBlock::columns(1, 1), false);
    // Of the three quantities only the one the user gives is typed in.
    const std::int16_t given = m_glass.measured.transDataType;
    for (int c = 2; c <= kTransCols; ++c) {
        const bool input = given == c - 2;
        CellType type = CellType::staticText();
        if (input && c == 4) type = CellType::number(6, 0, 1);
        else if (input) type = percent ? CellType::number(1, 0, 100) : CellType::number(4, 0, 1);
        grid.setCellType(GridBlock::columns(c, c), type);
        grid.setLock(GridBlock::columns(c, c), !input);
    }
}

void frm3New::FillTransGrid() {}

void frm3New::ClearTrans() {}

void frm3New::PasteTrans() {
    IGrid& grid = ssTrans();
    PasteGridText(grid, std::max(grid.activeCol(), 1), std::max(grid.activeRow(), 1), m_clipboard.text(),
                  [this](int col, int row) { ssTrans_Change(col, row); });
}

void frm3New::ssTrans_Change(int col, int row) {
    (void)col;
    (void)row;
}
