#include "melt/popMeltParent.h"

#include "melt/GlassMelt.h"
#include "model/GlassData.h"
#include "platform/Boxes.h"
#include "platform/BusyCursor.h"
#include "platform/Grid.h"
#include "platform/ListControl.h"
#include "platform/NumberText.h"
#include "platform/Settings.h"
#include "shell/Bas1Setup.h"
#include "shell/CSWindow.h"

namespace {

constexpr int kGlassGridCols = 6;
constexpr int kStatusColumn = 6;
constexpr int kMaterialColumn = 2;
// Characters; the ID column is 4 wide, the others fit their usual contents.
constexpr double kColumnWidths[kGlassGridCols] = {4, 16, 8, 9, 8, 14};

}  // namespace

popMeltParent::popMeltParent(MeltParentServices services) : m_services(std::move(services)) {
    InitGlassRecord(m_record);
}

void popMeltParent::setView(IMeltParentView* view) {
    if (m_view) m_view->glassGrid().events().clicked = nullptr;
    m_view = view;
    if (m_view) m_view->glassGrid().events().clicked = [this](int col, int row) { ssGlasses_Click(col, row); };
}

std::string popMeltParent::catalogueFolder() const {
    return m_services.catalogueFolder ? m_services.catalogueFolder() : GetPathVQ();
}

bool popMeltParent::Display(GlassRecord& glass) {
    if (!m_view || m_open) return false;
    InitGlassRecord(m_record);
    m_rows = {};
    m_initialising = true;
    m_accepted = false;
    m_open = true;
    if (!formLoad()) {
        Form_Unload();
        return false;
    }
    m_view->showModal();
    Form_Unload();  // in case the window closed without telling
    if (!m_accepted) return false;
    glass = m_record;
    return true;
}

bool popMeltParent::formLoad() {
    CSWindow().Center(m_view->placement());
    if (!OpenCatalogDatabase(m_db, catalogueFolder(), *m_services.boxes)) return false;

    m_sortColumn = 1;
    m_view->selectSortOrder(0);
    MemoryListControl list;
    FillMakerList(list);
    m_makers.clear();
    for (int i = 0; i < list.count(); ++i) m_makers.push_back(list.text(i));
    m_view->setMakers(m_makers);
    setupGlassGrid();
    m_view->setGridVisible(false);
    m_view->setSelectedGlass(kSelGlassDesignText, false);
    m_view->setOkEnabled(false);

    selectMaker(m_services.settings->getOr(kMeltParentSection, kMeltParentMakerKey, ""));
    m_initialising = false;
    if (m_services.cursor) m_services.cursor->showDefault();
    return true;
}

void popMeltParent::selectMaker(const std::string& maker) {
    for (std::size_t i = 0; i < m_makers.size(); ++i) {
        if (m_makers[i] != maker) continue;
        m_initialising = false;
        m_view->selectMaker(static_cast<int>(i));
        lstMakers_Click(static_cast<int>(i));
        return;
    }
}

void popMeltParent::setupGlassGrid() {
    IGrid& grid = m_view->glassGrid();
    grid.setMaxRows(0);
    grid.setMaxCols(kGlassGridCols);
    for (int c = 1; c <= kGlassGridCols; ++c) grid.setColWidth(c, kColumnWidths[c - 1]);
    grid.setColHidden(0, true);
    grid.setBlockText(GridBlock::range(1, 0, kGlassGridCols, 0), kGlassGridHeadings);
    grid.setCellType(GridBlock::all(), CellType::staticText());
}

void popMeltParent::lstMakers_Click(int index) {
    if (m_initialising || !m_view || index < 0 || index >= static_cast<int>(m_makers.size())) return;
    const std::string maker = m_makers[static_cast<std::size_t>(index)];
    // Taken only with the maker's rows: after a failed query the glass chosen
    // before (still in the grid, OK still enabled) keeps its own maker.
    if (!queryMaker(maker)) return;
    m_record.melt.parentSource.set(maker);
    if (m_services.cursor) m_services.cursor->showHourglass();
    fillGlassGrid();
    m_view->setGridVisible(true);
    m_view->setSelectedGlass(kSelGlassDesignText, false);
    m_view->setOkEnabled(false);
    if (m_services.cursor) m_services.cursor->showDefault();
}

bool popMeltParent::queryMaker(const std::string& maker) {
    if (m_services.cursor) m_services.cursor->showDefault();
    DbRowSet rows;
    if (!OpenRecordSet(m_db, GlassQuery(maker), rows)) {
        m_services.boxes->show(kBoxInformation, kQueryErrorText);
        return false;
    }
    m_rows = std::move(rows);
    return true;
}

void popMeltParent::fillGlassGrid() {
    std::string text;
    int count = 0;
    for (std::size_t r = 0; r < m_rows.rows.size(); ++r) {
        auto cell = [&](const char* column) { return NullToText(m_rows.value(r, column)); };
        text += cell("GlassID") + "\t  " + cell("GlassName") + "\t" + cell("GlassCode") + "\t" + cell("nd") + "\t" +
                cell("vd") + "\t" + StatusText(cell("Status")) + "\r\n";
        ++count;
    }
    IGrid& grid = m_view->glassGrid();
    grid.setRedraw(false);
    grid.setMaxRows(0);  // the rows of the maker before go, the headings stay
    grid.setMaxRows(count);
    if (count > 0) grid.setBlockText(GridBlock::range(1, 1, kGlassGridCols, count), text);
    grid.setLock(GridBlock::all(), true);
    grid.setRedraw(true);
    sortGlassGrid(m_sortColumn);
}

void popMeltParent::sortGlassGrid(int key) {
    if (m_initialising) return;
    std::vector<SortKey> keys{{key, true}};
    if (key == kStatusColumn) keys.push_back({kMaterialColumn, true});
    m_view->glassGrid().sort(GridBlock::all(), keys);
}

void popMeltParent::cmbSortOrder_Click(int index) {
    if (m_initialising || !m_view || index < 0 || index >= kSortOrderCount) return;
    m_sortColumn = index + 1;
    sortGlassGrid(m_sortColumn);
}

void popMeltParent::ssGlasses_Click(int col, int row) {
    if (m_initialising || !m_view || col < 1 || row < 1) return;
    IGrid& grid = m_view->glassGrid();
    if (row > grid.maxRows()) return;
    const std::string id = grid.text(1, row);
    const std::string maker = m_record.melt.parentSource.str();
    const std::string name = TrimBlanks(grid.text(kMaterialColumn, row));
    // Each glass is read into a blank record, so nothing of a glass clicked
    // before stays in the fields this one does not fill.
    GlassRecord glass;
    InitGlassRecord(glass);
    glass.melt.parentSource.set(maker);
    glass.melt.parentName.set(name);
    if (!loadGlassByID(id, glass)) return;
    m_record = glass;
    m_view->setSelectedGlass("Select glass: " + maker + "  " + name, true);
    m_view->setOkEnabled(true);
}

bool popMeltParent::loadGlassByID(const std::string& id, GlassRecord& glass) {
    double wanted = 0;
    if (ParseNumber(id, wanted)) {
        for (std::size_t r = 0; r < m_rows.rows.size(); ++r) {
            const auto n = DbNumber(m_rows.value(r, "GlassID"));
            if (!n || *n != wanted) continue;
            ReadGlassRow(m_rows, r, glass);
            return true;
        }
    }
    m_services.boxes->show(kBoxPlain, kNoMatchText);
    return false;
}

void popMeltParent::comOK_Click() {
    m_accepted = true;
    if (m_view) m_view->closeWindow();
    Form_Unload();
}

void popMeltParent::comCancel_Click() {
    m_accepted = false;
    if (m_view) m_view->closeWindow();
    Form_Unload();
}

void popMeltParent::Form_Unload() {
    if (!m_open) return;
    m_open = false;
    if (m_accepted)
        m_services.settings->set(kMeltParentSection, kMeltParentMakerKey, m_record.melt.parentSource.str());
    m_db.close();
    m_rows = {};
}

std::string popMeltParent::StatusText(const std::string& status) {
    const std::string trimmed = TrimBlanks(status);
    if (!trimmed.empty()) {
        switch (trimmed[0]) {
            case 'A': return "  Available?";
            case 'E': return "  Eco";
            case 'O': return "  Obsolete";
            case 'R': return "  Recommended";
            default: break;
        }
    }
    return status;
}
