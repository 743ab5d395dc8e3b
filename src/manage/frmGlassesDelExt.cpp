#include "manage/frmGlassesDelExt.h"

#include "manage/CatalogueDatabase.h"
#include "manage/CatalogueOutput.h"
#include "manage/DesignFileOutput.h"
#include "model/FileUtil.h"
#include "platform/Boxes.h"
#include "platform/CheckList.h"
#include "shell/Bas1Setup.h"
#include "shell/CSWindow.h"

namespace {

std::string errorLines(const DbError& e) { return std::to_string(e.number) + "\t" + e.description; }

std::string textOf(const DbValue& v) {
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    return {};
}

}  // namespace

frmGlassesDelExt::frmGlassesDelExt(IBoxes& boxes) : m_boxes(boxes) {}

void frmGlassesDelExt::Display() {
    m_result = false;
    m_mode = kRemoveFromDesignFiles;
    m_initialising = true;
    if (!m_view) return;
    formLoad();
    m_view->showModal();
}

void frmGlassesDelExt::formLoad() {
    CSWindow().Center(m_view->placement());
    m_view->setLabel(kRemoveLabelAtOpening);
    fillFileList();
    m_view->selectOption(kRemoveFromDesignFiles);
    m_initialising = false;
}

void frmGlassesDelExt::optUpdateProg_Click(int index) {
    if (m_initialising || !m_view || (index != kRemoveFromDesignFiles && index != kRemoveFromCatalogue)) return;
    m_mode = index;
    if (index == kRemoveFromCatalogue) fillCatalogueList();
    else fillFileList();
    m_view->setLabel(kRemoveTargetLabels[index]);
}

void frmGlassesDelExt::fillFileList() {
    ICheckList& list = m_view->lstGlasses();
    list.clear();
    m_records.clear();
    m_catalogueItems.clear();
    const std::string folder = GetPathLQP();
    if (folder.empty()) return;
    auto entries = ReadDesignFile(folder);
    if (!entries) {
        const auto path = FindFileIgnoreCase(folder, kDesignFileName);
        m_boxes.show(kBoxExclamation, "Unable to read file:\r\n" + path.value_or(JoinPath(folder, kDesignFileName)));
        return;
    }
    for (const GlassRecord& g : *entries) {
        m_records.push_back(g);
        list.addItem(GlassItemText(g.definition.name.str(), g.definition.source.str()));
    }
}

void frmGlassesDelExt::fillCatalogueList() {
    ICheckList& list = m_view->lstGlasses();
    list.clear();  // a second choice of the catalogue must not list its rows twice
    m_records.clear();
    m_catalogueItems.clear();
    if (!FoundVQ()) return;
    CatalogueDatabase db;
    if (!OpenCatalogueDatabase(db, GetPathVQ(), m_boxes)) return;
    for (const bool archived : {false, true}) {
        const char* table = archived ? kArchiveTable : kGlassDataTable;
        DbRowSet rows;
        if (!db.findRows(table, OwnRowCriteria(), rows)) {
            m_boxes.show(kBoxExclamation, std::string(kReadCatalogueFailure) + "\r\n" + errorLines(db.lastError()));
            return;
        }
        for (std::size_t r = 0; r < rows.rows.size(); ++r) {
            const auto id = DbNumber(rows.value(r, "GlassID"));
            if (!id) continue;  // a row without an ID cannot be named for removal
            list.addItem(GlassItemText(textOf(rows.value(r, "GlassName")), textOf(rows.value(r, "Source"))));
            m_catalogueItems.push_back({archived, static_cast<std::int64_t>(*id)});
        }
    }
}

void frmGlassesDelExt::comDelSel_Click() {
    if (!m_view) return;
    m_result = RemoveChecked();
    m_view->closeWindow();
}

void frmGlassesDelExt::comCancel_Click() {
    m_result = false;
    if (m_view) m_view->closeWindow();
}

bool frmGlassesDelExt::RemoveChecked() {
    return m_mode == kRemoveFromCatalogue ? RemoveFromCatalogue() : removeFromDesignFiles();
}

bool frmGlassesDelExt::removeFromDesignFiles() {
    const ICheckList& list = m_view->lstGlasses();
    std::vector<GlassRecord> kept;
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (!list.checked(static_cast<int>(i))) kept.push_back(m_records[i]);
    if (kept.size() == m_records.size()) return false;
    m_records = kept;
    // The tolerancer's file only where its folder is set and exists.
    const std::string tolerancer = FoundLQTol() ? GetPathLQTol() : std::string();
    const bool tolerancerThere = !tolerancer.empty() && FolderExists(tolerancer);
    if (FoundLQP()) return SynchroniseDesignFiles(GetPathLQP(), tolerancerThere ? tolerancer : "", kept, m_boxes);
    if (tolerancerThere) return WriteDesignFile(tolerancer, kept, m_boxes);
    return true;
}

bool frmGlassesDelExt::RemoveFromCatalogue() {
    if (!FoundVQ()) return false;
    const ICheckList& list = m_view->lstGlasses();
    bool any = false;
    for (std::size_t i = 0; i < m_catalogueItems.size(); ++i) any = any || list.checked(static_cast<int>(i));
    if (!any) return false;  // as for the design file: nothing to do, the database is not opened
    CatalogueDatabase db;
    if (!OpenCatalogueDatabase(db, GetPathVQ(), m_boxes)) return false;
    db.clearError();
    bool ok = db.beginTrans();
    for (std::size_t i = 0; ok && i < m_catalogueItems.size(); ++i)
        if (list.checked(static_cast<int>(i))) ok = DeleteOwnRowByID(db, m_catalogueItems[i]);
    if (ok && db.commitTrans()) return true;
    const DbError e = db.lastError();
    db.rollback();
    m_boxes.show(kBoxExclamation, std::string(kRemoveCatalogueFailure) + "\r\n" + errorLines(e) + "\r\n\r\n" +
                                      kRolledBackText);
    return false;
}

bool frmGlassesDelExt::DeleteOwnRowByID(CatalogueDatabase& db, const CatalogueItem& item) {
    // Only from the table the item was listed from: the other table may hold
    // a row with the same ID.
    DbCriteria criteria = OwnRowCriteria();
    criteria.push_back({"GlassID", item.id});
    bool deleted = false;
    if (!DeleteMatchingRows(db, item.archived ? kArchiveTable : kGlassDataTable, criteria, deleted)) return false;
    return deleted;
}
