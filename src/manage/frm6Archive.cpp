#include "manage/frm6Archive.h"

#include <charconv>
#include <set>

#include "platform/Boxes.h"
#include "platform/BusyCursor.h"
#include "platform/Grid.h"
#include "platform/NumberText.h"
#include "platform/Text1252.h"
#include "shell/Bas1Setup.h"
#include "shell/CSWindow.h"
#include "shell/ManageForms.h"

namespace {

constexpr int kArchiveCols = 5;
constexpr double kColWidths[kArchiveCols] = {5, 14, 10, 9, 15};

std::string textOf(const DbValue& v) {
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    return {};
}

// A field as its cell shows it; TAB and line breaks would split the block.
std::string cellText(const DbValue& v) {
    std::string out;
    if (const auto* i = std::get_if<std::int64_t>(&v)) out = std::to_string(*i);
    else if (const auto* d = std::get_if<double>(&v)) out = ShortestText(*d);
    else out = textOf(v);
    for (char& c : out)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return out;
}

std::optional<std::int64_t> idOf(const std::string& text) {
    const std::string t = TrimBlanks(text);
    std::int64_t id = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), id);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return id;
}

}  // namespace

std::string StatusText(const std::string& code) {
    const std::string c = TrimBlanks(code);
    if (c == "A") return "  Available?";
    if (c == "E") return "  Eco";
    if (c == "O") return "  Obsolete";
    if (c == "R") return "  Recommended";
    return "";
}

bool IsProtectedGlass(const std::string& name, const std::string& source) {
    const std::string n = TrimBlanks(name);
    return EqualsIgnoreCase(TrimBlanks(source), "Schott") && (EqualsIgnoreCase(n, "K7") || EqualsIgnoreCase(n, "F2"));
}

frm6Archive::frm6Archive(ArchivePageServices services) : m_services(std::move(services)) {}

void frm6Archive::setView(IArchiveView* view) {
    m_view = view;
    if (!m_view) return;
    bindGrid(m_view->ssGlassCurr(), m_currState);
    bindGrid(m_view->ssGlassArchive(), m_archiveState);
}

void frm6Archive::bindGrid(IGrid& grid, GridState& state) {
    GridEvents& events = grid.events();
    events.clicked = [&state](int, int row) {
        if (!state.ctrl && row >= 1) state.clickedRow = row;
    };
    events.keyDown = [&state](int key, int) {
        if (key == kKeyControl) state.ctrl = true;
    };
    events.keyUp = [&state](int key, int) {
        if (key == kKeyControl) state.ctrl = false;
    };
}

void frm6Archive::hourglass() {
    if (m_services.cursor) m_services.cursor->showHourglass();
}

void frm6Archive::normalPointer() {
    if (m_services.cursor) m_services.cursor->showDefault();
}

int frm6Archive::Display(bool bModal) {
    if (m_open || !m_view) return m_result;
    m_result = 0;
    m_loading = true;
    m_open = true;
    m_sortIndex = -1;
    m_currState = {};
    m_archiveState = {};
    CSWindow().Center(m_view->placement());
    m_view->setSortOrder(-1);
    hourglass();
    if (!OpenCatalogue()) {
        const DbError e = m_db.lastError();
        normalPointer();
        m_services.boxes->show(kBoxExclamation, e.number == kDbErrFileInUse ? kCatalogueAlreadyOpen : e.description);
        m_loading = false;
        Form_Unload();
        return m_result;
    }
    m_loading = false;
    normalPointer();
    m_view->showWindow(bModal);
    return m_result;
}

void frm6Archive::ForceUnload() {
    m_result = 0;
    if (m_open && m_view) m_view->closeWindow();
}

void frm6Archive::comOK_Click() {
    if (m_open && m_view) m_view->closeWindow();
}

void frm6Archive::Form_Unload() {
    if (!m_open) return;  // a page already closed ignores a second close
    m_open = false;
    m_db.close();
    if (m_services.switchPage) m_services.switchPage(kPageArchive, false);
    normalPointer();
}

bool frm6Archive::OpenCatalogue() {
    const std::string folder = m_services.catalogueFolder ? m_services.catalogueFolder() : GetPathVQ();
    return m_db.open(folder) && loadTables();
}

bool frm6Archive::LoadIDs(const char* table, std::vector<std::int64_t>& ids, DbRowSet& rows) {
    ids.clear();
    if (!m_db.findRows(table, {}, rows)) return false;
    for (std::size_t r = 0; r < rows.rows.size(); ++r)
        if (const auto id = DbNumber(rows.value(r, "GlassID"))) ids.push_back(static_cast<std::int64_t>(*id));
    return true;
}

bool frm6Archive::loadTables() {
    DbRowSet current, archived;
    if (!LoadIDs(kGlassDataTable, m_currentIDs, current) || !LoadIDs(kArchiveTable, m_archiveIDs, archived))
        return false;
    m_view->setArchiveEnabled(!current.rows.empty());
    m_view->setRestoreEnabled(!archived.rows.empty());
    SetupGrid(m_view->ssGlassCurr());
    FillGrid(m_view->ssGlassCurr(), current);
    SetupGrid(m_view->ssGlassArchive());
    FillGrid(m_view->ssGlassArchive(), archived);
    if (m_sortIndex >= 0) SortGrids();
    return true;
}

void frm6Archive::SetupGrid(IGrid& grid) {
    grid.clearSelection();
    grid.setMaxRows(0);
    grid.setMaxCols(kArchiveCols);
    grid.setColHidden(0, true);
    for (int c = 1; c <= kArchiveCols; ++c) {
        grid.setText(c, 0, kArchiveHeadings[c - 1]);
        grid.setColWidth(c, kColWidths[c - 1]);
        const bool number = c == 1 || c == 4;
        grid.setCellType(GridBlock::columns(c, c),
                         CellType::staticText(number ? CellAlign::Right : CellAlign::Left));
    }
}

void frm6Archive::FillGrid(IGrid& grid, const DbRowSet& rows) {
    const int n = static_cast<int>(rows.rows.size());
    if (n == 0) return;
    // The archive's status column may be called "l" in an older file.
    const char* status = rows.ordinal("Status") < 0 && rows.ordinal("l") >= 0 ? "l" : "Status";
    std::string block;
    for (std::size_t r = 0; r < rows.rows.size(); ++r) {
        block += cellText(rows.value(r, "GlassID")) + "\t" + cellText(rows.value(r, "GlassName")) + "\t" +
                 cellText(rows.value(r, "Source")) + "\t" + cellText(rows.value(r, "GlassCode")) + "\t" +
                 StatusText(textOf(rows.value(r, status))) + "\r\n";
    }
    grid.setRedraw(false);
    grid.setMaxRows(n);
    grid.setBlockText(GridBlock::range(1, 1, kArchiveCols, n), block);
    grid.setRedraw(true);
}

void frm6Archive::cmbSortOrder_Click(int index) {
    if (m_loading || !m_open || !m_view || index < 0 || index >= kArchiveCols) return;
    m_sortIndex = index;
    SortGrids();
}

void frm6Archive::SortGrids() {
    const int key = m_sortIndex + 1;
    std::vector<SortKey> keys = {{key, true}};
    if (key == 3) keys.push_back({2, true});
    if (key == 5) keys.insert(keys.end(), {{3, true}, {2, true}});
    m_view->ssGlassCurr().sort(GridBlock::all(), keys);
    m_view->ssGlassArchive().sort(GridBlock::all(), keys);
}

std::vector<std::int64_t> frm6Archive::selectedIDs(const IGrid& grid, const GridState& state, bool& wholeGrid) const {
    const int rows = grid.maxRows();
    std::vector<RowSpan> blocks = grid.selectedBlocks();
    // Without a selection, the row last clicked.
    if (blocks.empty() && state.clickedRow >= 1 && state.clickedRow <= rows)
        blocks.push_back({state.clickedRow, state.clickedRow});
    wholeGrid = false;
    std::vector<std::int64_t> ids;
    std::set<std::int64_t> seen;
    for (RowSpan b : blocks) {
        if (b.first == -1) {
            wholeGrid = true;
            b.first = 1;
        }
        if (b.last == -1 || b.last > rows) b.last = rows;
        for (int r = std::max(b.first, 1); r <= b.last; ++r) {
            const auto id = idOf(grid.text(1, r));
            if (id && seen.insert(*id).second) ids.push_back(*id);
        }
    }
    return ids;
}

void frm6Archive::comArchive_Click() { moveSelected(true); }

void frm6Archive::comDeArchive_Click() { moveSelected(false); }

void frm6Archive::moveSelected(bool archive) {
    if (!m_open || !m_view) return;
    const IGrid& grid = archive ? m_view->ssGlassCurr() : m_view->ssGlassArchive();
    bool wholeGrid = false;
    const std::vector<std::int64_t> ids = selectedIDs(grid, archive ? m_currState : m_archiveState, wholeGrid);
    // Asked before anything is changed, so that Cancel leaves no transaction behind.
    if (archive && wholeGrid) {
        normalPointer();
        if (m_services.boxes->show(kBoxQuestionOkCancel, kArchiveAllQuestion) != kAnswerOk) return;
    }
    if (ids.empty()) return;
    hourglass();
    const char* from = archive ? kGlassDataTable : kArchiveTable;
    const char* to = archive ? kArchiveTable : kGlassDataTable;
    m_db.clearError();
    bool ok = m_db.beginTrans();
    for (std::size_t i = 0; ok && i < ids.size(); ++i) ok = moveGlass(from, to, ids[i], archive);
    if (ok) ok = m_db.commitTrans();
    if (!ok) {
        const DbError e = m_db.lastError();
        m_db.rollback();
        normalPointer();
        m_services.boxes->show(kBoxExclamation,
                               std::string(archive ? kArchiveFailure : kRestoreFailure) + "\r\n\r\n" + DbErrorLines(e));
    }
    reload();
    normalPointer();
}

bool frm6Archive::moveGlass(const char* from, const char* to, std::int64_t id, bool protect) {
    DbRowSet found;
    bool there = false;
    if (!m_db.seekID(from, id, found, there)) return false;
    if (!there) {
        m_db.setError({kDbErrNoCurrentRecord, "No current record."});
        return false;
    }
    const DbRow& row = found.rows.front();
    if (protect && IsProtectedGlass(textOf(found.value(0, "GlassName")), textOf(found.value(0, "Source")))) return true;
    // One row in, the same one row out: anything else fails the whole click.
    return m_db.addRowByPosition(to, row.values) && m_db.deleteRow(from, row.rowId);
}

void frm6Archive::reload() {
    m_currState.clickedRow = 0;
    m_archiveState.clickedRow = 0;
    if (loadTables()) return;
    const DbError e = m_db.lastError();
    for (IGrid* grid : {&m_view->ssGlassCurr(), &m_view->ssGlassArchive()}) SetupGrid(*grid);
    m_view->setArchiveEnabled(false);
    m_view->setRestoreEnabled(false);
    normalPointer();
    m_services.boxes->show(kBoxExclamation, DbErrorLines(e));
}
