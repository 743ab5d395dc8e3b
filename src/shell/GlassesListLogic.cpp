#include "shell/GlassesListLogic.h"

#include "model/GlassesList.h"
#include "platform/Grid.h"
#include "shell/MainMDILogic.h"
#include "shell/ManageForms.h"

void FillListTable(const GlassesList& store, IGrid& grid) {
    const auto& glasses = store.Records();
    const int count = static_cast<int>(glasses.size());
    grid.setRedraw(false);
    grid.setMaxRows(count);
    std::string text;
    for (const GlassRecord& g : glasses) {
        text += g.definition.name.str();
        text += '\t';
        text += g.definition.source.str();
        text += "\r\n";
    }
    const GridBlock rows = GridBlock::range(1, 1, grid.maxCols(), count);
    grid.setBlockText(rows, text);
    grid.setLock(rows, true);
    for (int i = 1; i <= count; ++i) {
        const bool melt = glasses[static_cast<std::size_t>(i - 1)].melt.meltFlag != 0;
        grid.setBackColour(GridBlock::range(1, i, grid.maxCols(), i), melt ? kMeltRowColour : kPlainRowColour);
    }
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
