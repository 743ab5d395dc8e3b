#include "manage/frm2Manage.h"

#include <algorithm>
#include <charconv>

#include "manage/CatalogueOutput.h"
#include "manage/DesignFileOutput.h"
#include "model/GlassData.h"
#include "model/GlassesList.h"
#include "model/NumberFormat.h"
#include "model/Verification.h"
#include "platform/Boxes.h"
#include "platform/BusyCursor.h"
#include "platform/Clock.h"
#include "platform/Grid.h"
#include "platform/PointerBoxes.h"
#include "platform/Text1252.h"
#include "shell/CSWindow.h"
#include "shell/MainMDILogic.h"
#include "shell/ManageForms.h"

namespace {

constexpr Colour kMeltColour = 0x80FFFF;
// Character widths of the six visible columns; names want the most room.
constexpr double kColWidths[6] = {20, 14, 16, 15, 13, 14};

std::string rowText(const GlassRecord& g, int index) {
    const GlassDefinition& d = g.definition;
    float nMin = 0, nMax = 0;
    IndexAtRangeEnds(g, nMin, nMax);
    std::string name = d.name.str(), source = d.source.str();
    // A TAB or a line break in a text would split the block.
    for (std::string* t : {&name, &source})
        for (char& c : *t)
            if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return name + "\t" + source + "\t" + Format(static_cast<double>(d.lowerWavelength), "0.0") + " - " +
           Format(static_cast<double>(d.upperWavelength), "0.0") + "\t" + Format(nMin, "0.000") + " - " +
           Format(nMax, "0.000") + "\t" + ShortDateText(g.lastStored) + "\t" + SetReadyCell(g).text + "\t" +
           std::to_string(index) + "\r\n";
}

}  // namespace

std::string TargetText(int target, const std::string& prefix) {
    switch (target) {
    case kTargetDesign: return prefix + "Lumivar3D/Tol";
    case kTargetCatalogue: return prefix + "Vitrarch only";
    default: return prefix + "Lumivar3D/Tol & Vitrarch";
    }
}

frm2Manage::frm2Manage(ManagePageServices services)
    : m_services(std::move(services)),
      m_deleteDialog([this](const std::vector<GlassRecord>& kept) { SetGlasses(kept); }),
      m_removeDialog(*m_services.boxes) {
    if (m_services.editors) m_services.editors->setManageUpdate([this] { UpdatesGlasssAftEdit(); });
}

frm2Manage::~frm2Manage() {
    if (m_services.editors) m_services.editors->setManageUpdate(nullptr);
}

void frm2Manage::setView(IManageView* view) { m_view = view; }

int frm2Manage::Display(bool bModal) {
    if (m_open || !m_view) return m_result;
    if (m_services.cursor) m_services.cursor->showHourglass();
    m_initialising = true;
    m_result = 0;
    m_glasses = m_services.store->GetGlasses();
    m_open = true;
    // The form's load.
    CSWindow().Center(m_view->placement());
    SetupForm();
    m_initialising = false;
    if (m_services.cursor) m_services.cursor->showDefault();
    m_view->showWindow(bModal);
    return m_result;
}

void frm2Manage::ForceUnload() {
    if (m_open && m_view) m_view->closeWindow();
}

void frm2Manage::comOK_Click() { ForceUnload(); }

void frm2Manage::Form_Unload() {
    if (!m_open) return;  // a page already closed ignores a second close
    m_open = false;
    if (m_services.switchPage) m_services.switchPage(kPageManage, false);
}

void frm2Manage::setEnabled(bool enabled) {
    if (m_view) m_view->setEnabled(enabled);
}

void frm2Manage::bringToFront() {
    if (m_view) m_view->bringToFront();
}

void frm2Manage::SetupForm() {
    m_target = kTargetBoth;
    m_mode = kOverwriteExisting;
    m_view->setUpdateProg(m_target);
    m_view->setDataOverWrite(m_mode);
    IGrid& grid = m_view->ssGlassesCurr();
    grid.clearSelection();
    grid.setMaxCols(kManageCols);
    grid.setColHidden(0, true);
    for (int c = 1; c <= kManageCols - 1; ++c) {
        grid.setText(c, 0, kManageHeadings[c - 1]);
        grid.setColWidth(c, kColWidths[c - 1]);
    }
    grid.setCellType(GridBlock::columns(1, kManageCols), CellType::staticText());
    grid.setColHidden(kManageIndexCol, true);
    FillGrid();
}

void frm2Manage::FillGrid() {
    if (!m_view) return;
    IGrid& grid = m_view->ssGlassesCurr();
    std::string block;
    std::vector<int> shown;
    for (std::size_t i = 0; i < m_glasses.size(); ++i) {
        if (!IsValidGlassIdent(m_glasses[i])) continue;
        shown.push_back(static_cast<int>(i));
        block += rowText(m_glasses[i], static_cast<int>(i) + 1);
    }
    const int rows = static_cast<int>(shown.size());
    grid.setRedraw(false);
    grid.setMaxRows(rows);
    if (rows > 0) grid.setBlockText(GridBlock::range(1, 1, kManageCols, rows), block);
    for (int r = 1; r <= rows; ++r) {
        const GlassRecord& g = m_glasses[static_cast<std::size_t>(shown[static_cast<std::size_t>(r - 1)])];
        grid.setBackColour(GridBlock::cell(1, r), g.melt.meltFlag != 0 ? kMeltColour : kColourButtonFace);
        grid.setBackColour(GridBlock::cell(kManageReadyCol, r), SetReadyCell(g).backColour);
    }
    grid.setColHidden(kManageIndexCol, true);
    // The active row stays within the rows there are.
    if (rows > 0 && grid.activeRow() > rows) grid.setActiveCell(std::max(grid.activeCol(), 1), rows);
    grid.setRedraw(true);
}

int frm2Manage::recordOfRow(int row) const {
    const IGrid& grid = m_view->ssGlassesCurr();
    if (row < 1 || row > grid.maxRows()) return -1;
    const std::string text = TrimBlanks(grid.text(kManageIndexCol, row));
    int index = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return -1;
    if (index < 1 || index > static_cast<int>(m_glasses.size())) return -1;
    return index - 1;
}

std::vector<int> frm2Manage::GetSelectedRows() const {
    std::vector<int> indexes;
    if (!m_view) return indexes;
    const IGrid& grid = m_view->ssGlassesCurr();
    const int rows = grid.maxRows();
    if (rows < 1) return indexes;
    int first = 0, last = 0;
    if (const auto block = grid.selectedBlock()) {
        first = block->first < 1 ? 1 : block->first;  // -1: whole columns, every row
        last = block->first == -1 || block->last == -1 || block->last > rows ? rows : block->last;
    } else {
        first = last = std::clamp(grid.activeRow(), 1, rows);
    }
    for (int r = first; r <= last; ++r)
        if (const int i = recordOfRow(r); i >= 0) indexes.push_back(i);
    return indexes;
}

int frm2Manage::singleSelectedRecord() const {
    if (!m_view) return -1;
    const IGrid& grid = m_view->ssGlassesCurr();
    const int rows = grid.maxRows();
    if (rows < 1) return -1;
    const auto block = grid.selectedBlock();
    const int row = block ? block->first : grid.activeRow();
    return recordOfRow(std::clamp(row, 1, rows));
}

std::vector<GlassRecord> frm2Manage::CopyGlassRange(const std::vector<int>& indexes) const {
    std::vector<GlassRecord> out;
    out.reserve(indexes.size());
    for (int i : indexes) out.push_back(m_glasses[static_cast<std::size_t>(i)]);
    return out;
}

std::vector<GlassRecord> frm2Manage::shownGlasses() const {
    std::vector<GlassRecord> out;
    for (const auto& g : m_glasses)
        if (IsValidGlassIdent(g)) out.push_back(g);
    return out;
}

void frm2Manage::cmbUpdateProg_Click(int index) {
    if (m_initialising || index < kTargetDesign || index > kTargetBoth) return;
    m_target = index;
}

void frm2Manage::cmbDataOverWrite_Click(int index) {
    if (m_initialising || (index != kOverwriteExisting && index != kLeaveExisting)) return;
    m_mode = static_cast<ExistingMaterials>(index);
}

void frm2Manage::comExtAddAll_Click() {
    const std::vector<GlassRecord> all = shownGlasses();
    if (all.empty()) return;
    deliver(all,
            "Are you sure that you want to export all " + std::to_string(all.size()) + " materials" +
                TargetText(m_target, " to "),
            false);
}

void frm2Manage::comExtAddSel_Click() {
    const std::vector<GlassRecord> selected = CopyGlassRange(GetSelectedRows());
    if (selected.empty()) return;
    std::string question = "Are you sure that you want to export ";
    if (selected.size() == 1)
        question += selected[0].definition.name.str() + " [" + selected[0].definition.source.str() + "]";
    else
        question += "the selected material[s]";
    deliver(selected, question + TargetText(m_target, " to "), false);
}

void frm2Manage::comExtSynch_Click() {
    const std::vector<GlassRecord> all = shownGlasses();
    if (all.empty()) return;
    deliver(all,
            "Are you sure that you want to force " + TargetText(m_target, "") + " to ONLY have these " +
                std::to_string(all.size()) + " materials as the custom glasses",
            true);
}

void frm2Manage::helpNote(const std::string& text) {
    if (m_services.helpNote) m_services.helpNote(text, false);
}

void frm2Manage::deliver(const std::vector<GlassRecord>& glasses, const std::string& question, bool synchronise) {
    IBoxes& boxes = *m_services.boxes;
    const int n = static_cast<int>(glasses.size());
    if (!CheckReadyForExport(1, n, glasses, boxes)) return;
    if (boxes.show(kBoxQuestionOkCancel, question) != kAnswerOk) return;
    PointerBoxes toldBoxes(boxes, m_services.cursor);
    const auto hourglass = [this] {
        if (m_services.cursor) m_services.cursor->showHourglass();
    };
    bool ok = true;
    if ((m_target == kTargetDesign || m_target == kTargetBoth) && FoundLQP()) {
        hourglass();
        helpNote("Writing " + std::to_string(n) + " materials to the Lumivar3D/Tol material files ...");
        // The tolerancer's file only where its folder is set and exists.
        ok = synchronise ? SynchroniseDesignFiles(GetPathLQP(), GetPathLQTol(), glasses, toldBoxes)
                         : UpdateDesignFiles(GetPathLQP(), GetPathLQTol(), glasses, m_mode, toldBoxes);
    }
    if (ok && (m_target == kTargetCatalogue || m_target == kTargetBoth) && FoundVQ()) {
        hourglass();
        // About fifty steps, each repainting the windows.
        const std::size_t step = std::max<std::size_t>(1, glasses.size() / 50);
        const OutputProgress progress = [this, step](std::size_t done, std::size_t total) {
            if (done % step == 0 || done == total)
                helpNote("Writing materials to VitrarchQX: " + std::to_string(done) + " of " + std::to_string(total));
        };
        if (synchronise) SynchroniseCatalogue(GetPathVQ(), glasses, m_mode, toldBoxes, progress);
        else ExportToCatalogue(GetPathVQ(), glasses, m_mode, toldBoxes, progress);
    }
    helpNote("");
    if (m_services.cursor) m_services.cursor->showDefault();
}

void frm2Manage::comExtRemove_Click() { m_removeDialog.Display(); }

void frm2Manage::comEdit_Click() {
    const int i = singleSelectedRecord();
    if (i < 0 || !m_services.editors) return;
    m_services.editors->DisplayEdit(*this, m_glasses[static_cast<std::size_t>(i)]);
}

void frm2Manage::UpdatesGlasssAftEdit() {
    m_glasses = m_services.store->GetGlasses();
    FillGrid();
}

void frm2Manage::SetGlasses(const std::vector<GlassRecord>& glasses) { m_glasses = glasses; }

void frm2Manage::finish() {
    FillGrid();
    GlassesList& store = *m_services.store;
    store.SetGlasses(m_glasses);
    store.SaveUserGlasses();
    store.RefreshListWindow();
}

void frm2Manage::comDuplicate_Click() {
    const int r = singleSelectedRecord();
    if (r < 0) return;
    GlassRecord copy = m_glasses[static_cast<std::size_t>(r)];
    // Cancel, or a name of blanks only, ends it with nothing changed.
    if (!AskDuplicateName(*m_services.boxes, *m_services.store, copy)) return;
    m_glasses.insert(m_glasses.begin() + r + 1, copy);
    finish();
}

void frm2Manage::comDelete_Click() {
    const std::vector<int> selected = GetSelectedRows();
    if (m_glasses.empty() || selected.empty()) return;
    const auto [first, last] = std::minmax_element(selected.begin(), selected.end());
    if (m_deleteDialog.Display(m_glasses, *first + 1, *last + 1)) finish();
    if (m_view) m_view->ssGlassesCurr().clearSelection();
}

void frm2Manage::SortGrid(int key1, bool ascending, int key2) {
    if (m_initialising || !m_view) return;
    std::vector<SortKey> keys = {{key1, ascending}};
    if (key2 > 0) keys.push_back({key2, ascending});
    m_view->ssGlassesCurr().sort(GridBlock::all(), keys);
}

void frm2Manage::comSort_Click() {
    if (m_glasses.empty() || !m_view) return;
    const int answer = m_services.boxes->show(kBoxQuestionYesNoCancel, kSortQuestion);
    if (answer == kAnswerYes) SortGrid(1, true, 0);
    else if (answer == kAnswerNo) SortGrid(2, true, 1);
    else return;
    // The array in the grid's new order; the records the grid does not show
    // follow in their old order, so that none is lost.
    const IGrid& grid = m_view->ssGlassesCurr();
    std::vector<bool> taken(m_glasses.size(), false);
    std::vector<GlassRecord> sorted;
    sorted.reserve(m_glasses.size());
    for (int row = 1; row <= grid.maxRows(); ++row) {
        const int i = recordOfRow(row);
        if (i < 0 || taken[static_cast<std::size_t>(i)]) continue;
        taken[static_cast<std::size_t>(i)] = true;
        sorted.push_back(m_glasses[static_cast<std::size_t>(i)]);
    }
    for (std::size_t i = 0; i < m_glasses.size(); ++i)
        if (!taken[i]) sorted.push_back(m_glasses[i]);
    m_glasses = std::move(sorted);
    finish();
}
