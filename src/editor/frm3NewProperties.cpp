// The editor's dn/dt and Other properties tabs: the property grid's layout
// from the property table. Their values, edits and clears come with the rest
// of these tabs.
#include "editor/frm3New.h"
#include "model/PropertyTable.h"
#include "platform/Grid.h"

namespace {

constexpr int kDensityRow = 9;
constexpr Colour kRequiredColour = 0x00FFFF;  // yellow

}  // namespace

void frm3New::FillDnDt() {}

void frm3New::ClearDnDt() {}

void frm3New::SetupOtherGrid() {
    IGrid& grid = ssOther();
    const PropertyTable table = GetPropertyTable();
    grid.setMaxRows(kPropertyRows);
    grid.setMaxCols(kPropertyColumns);
    const char* const headings[kPropertyColumns] = {"Parameter", "Value", "Notes"};
    const double widths[kPropertyColumns] = {27, 14, 46};
    for (int c = 1; c <= kPropertyColumns; ++c) {
        grid.setText(c, 0, headings[c - 1]);
        grid.setColWidth(c, widths[c - 1]);
    }
    grid.setCellType(GridBlock::columns(1, 1), CellType::staticText());
    grid.setCellType(GridBlock::columns(3, 3), CellType::staticText());
    grid.setLock(GridBlock::columns(1, 1), true);
    grid.setLock(GridBlock::columns(3, 3), true);
    grid.setLock(GridBlock::columns(2, 2), false);
    std::string labels, names;
    for (std::size_t r = 1; r <= static_cast<std::size_t>(kPropertyRows); ++r) {
        labels += table[r][1] + " \r\n";
        names += table[r][2] + "\r\n";
        const std::string& flag = table[r][3];
        const char kind = flag.empty() ? 'T' : flag.front();
        const CellType type = kind == 'F' ? CellType::number(3, 0, 0)
                              : kind == 'I' ? CellType::integer(0, 0)
                                            : CellType::editText();
        grid.setCellType(GridBlock::cell(2, static_cast<int>(r)), type);
    }
    grid.setBlockText(GridBlock::range(1, 1, 1, kPropertyRows), labels);
    grid.setBlockText(GridBlock::range(3, 1, 3, kPropertyRows), names);
    grid.setBackColour(GridBlock::range(1, kDensityRow, kPropertyColumns, kDensityRow), kRequiredColour);
}

void frm3New::FillOtherGrid() {}

void frm3New::ClearOther() {}
