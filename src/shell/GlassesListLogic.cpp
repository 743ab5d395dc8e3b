#include "shell/GlassesListLogic.h"

#include <utility>

#include "model/GlassesList.h"
#include "platform/Grid.h"
#include "shell/MainMDILogic.h"
#include "shell/ManageForms.h"

void FillListTable(const GlassesList& store, IGrid& grid) {
    // Cell by cell, so that a name holding a TAB or a line break stays in its
    // cell and row i is always record i.
    const auto glasses = store.Records();
    GridRows rows;
    rows.cols = 2;
    rows.locked = true;
    rows.texts.reserve(2 * glasses.size());
    rows.backs.reserve(glasses.size());
    for (const GlassRecord& g : glasses) {
        rows.texts.push_back(g.definition.name.str());
        rows.texts.push_back(g.definition.source.str());
        rows.backs.push_back(g.melt.meltFlag != 0 ? kMeltRowColour : kPlainRowColour);
    }
    grid.setRedraw(false);
    grid.setRows(std::move(rows));
    grid.setGridBackColour(kHeaderColour);
    grid.setRedraw(true);
}

GlassesListLogic::GlassesListLogic(GlassesList& store, ManageForms& forms, IGrid& grid)
    : m_store(store), m_forms(forms), m_grid(grid) {
    m_grid.events().rightClicked = [this](int col, int row) { RightClick(col, row); };
}

void GlassesListLogic::Form_Load() {
    m_grid.setMaxCols(2);
    m_grid.setText(1, 0, "Material");
    m_grid.setText(2, 0, "Source");
    m_grid.setColWidth(1, m_grid.colWidth(1) * 2);
    m_grid.setColWidth(2, 12);
    m_grid.setColHidden(0, true);
    m_grid.setCellType(GridBlock::columns(1, 2), CellType::staticText());
    m_grid.setGridBackColour(kHeaderColour);
    UpdateTable();
}

void GlassesListLogic::UpdateTable() { FillListTable(m_store, m_grid); }

bool GlassesListLogic::RightClick(int col, int row) {
    if (m_forms.CurrentPage() != kPageNone || row < 1 || row > m_grid.maxRows()) return false;
    m_grid.setActiveCell(col >= 1 ? col : 1, row);
    const std::string joined = m_grid.text(1, row) + "/" + m_grid.text(2, row);
    if (!IsValidText(joined)) return false;
    if (m_popup) m_popup(row, joined);
    return true;
}
