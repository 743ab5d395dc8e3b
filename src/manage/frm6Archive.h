// The Archive page (work page 6): the catalogue database's current glasses
// ("GlassData") beside its archived ones ("Archive"), and the moves of
// selected glasses from one table to the other, so that the catalogue program
// stops or starts listing them. It works on every row of both tables, not
// only on this program's own.
//
// Each click of Archive or Restore is one transaction: every selected glass
// moves, or, on any failure, none does. A move adds exactly one row to one
// table and deletes exactly one from the other. Schott's K7 and F2 are never
// archived.
//
// The database stays open while the page is; the page opens only when the
// catalogue program is installed and refuses a file another program holds.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "manage/CatalogueDatabase.h"

class IBoxes;
class IBusyCursor;
class IGrid;
class IPlacedWindow;

inline constexpr const char* kArchivePageCaption = "Vitrarch materials";
inline constexpr const char* kArchiveButtonCaption = ">> &Archive >>";
inline constexpr const char* kArchiveButtonTip = "Archive selected glasses from Vitrarch database";
inline constexpr const char* kRestoreButtonCaption = "<< &Restore <<";
inline constexpr const char* kRestoreButtonTip = "Restore selected archive glasses to Vitrarch database";
inline constexpr const char* kArchiveCloseCaption = "&Close";
inline constexpr const char* kArchivedGlassesLabel = "Archived Glasses";
inline constexpr const char* kCurrentGlassesLabel = "Current Glasses";
inline constexpr const char* kArchiveSortItems[5] = {"Sort by ID", "Sort by Material", "Sort by Source",
                                                     "Sort by Code", "Sort by Status"};
inline constexpr const char* kArchiveHeadings[5] = {"ID", "Material", "Source", "Code", "Status"};
inline constexpr const char* kArchiveAllQuestion =
    "Are you really sure that you want to archive ALL the glasses in Vitrarch?";
inline constexpr const char* kArchiveFailure = "Error in archiving glass. Process rolled back.";
inline constexpr const char* kRestoreFailure = "Error in restoring glass.  Process rolled back. ";
inline constexpr const char* kCatalogueAlreadyOpen =
    "The database file 'TessaralExA.MDB' is already open.  Please close Vitrarch, and try again";

// "A" Available?, "E" Eco, "O" Obsolete, "R" Recommended, each after two
// blanks; any other code gives "".
std::string StatusText(const std::string& code);
// Schott's K7 and F2 stay in the catalogue.
bool IsProtectedGlass(const std::string& name, const std::string& source);

class IArchiveView {
public:
    virtual ~IArchiveView() = default;
    virtual IGrid& ssGlassCurr() = 0;
    virtual IGrid& ssGlassArchive() = 0;
    virtual void setArchiveEnabled(bool enabled) = 0;  // comArchive
    virtual void setRestoreEnabled(bool enabled) = 0;  // comDeArchive
    // The sort order of cmbSortOrder; -1: the tables' own order, shown as the
    // first item (the catalogue keeps its rows by ID).
    virtual void setSortOrder(int index) = 0;
    virtual IPlacedWindow& placement() = 0;
    // Shows the page; modal: returns when it has closed.
    virtual void showWindow(bool modal) = 0;
    // Closes the page; its closing ends in frm6Archive::Form_Unload.
    virtual void closeWindow() = 0;
};

struct ArchivePageServices {
    IBoxes* boxes = nullptr;
    IBusyCursor* cursor = nullptr;
    std::function<void(int page, bool open)> switchPage;
    // The catalogue program's folder; when not given, GetPathVQ.
    std::function<std::string()> catalogueFolder;
};

class frm6Archive {
public:
    explicit frm6Archive(ArchivePageServices services);

    void setView(IArchiveView* view);

    // Opens the page on the catalogue database; a database that cannot be
    // opened is told and the page closes again at once. Returns the result (0).
    int Display(bool bModal);
    // Result 0, then the page closes.
    void ForceUnload();

    void comArchive_Click();
    void comDeArchive_Click();
    void cmbSortOrder_Click(int index);
    void comOK_Click();
    // The window is closing, whatever closed it.
    void Form_Unload();

    bool isOpen() const { return m_open; }
    const std::vector<std::int64_t>& currentIDs() const { return m_currentIDs; }
    const std::vector<std::int64_t>& archiveIDs() const { return m_archiveIDs; }

private:
    struct GridState {
        bool ctrl = false;    // Ctrl is held down in the grid
        int clickedRow = 0;  // the row last clicked without Ctrl
    };

    bool OpenCatalogue();
    bool loadTables();
    bool LoadIDs(const char* table, std::vector<std::int64_t>& ids, DbRowSet& rows);
    void FillGrid(IGrid& grid, const DbRowSet& rows);
    void SetupGrid(IGrid& grid);
    void SortGrids();
    void reload();
    void bindGrid(IGrid& grid, GridState& state);
    // The IDs of the grid's selected rows, in block order, each once; wholeGrid
    // tells whether a block covers every row.
    std::vector<std::int64_t> selectedIDs(const IGrid& grid, const GridState& state, bool& wholeGrid) const;
    void moveSelected(bool archive);
    bool moveGlass(const char* from, const char* to, std::int64_t id, bool protect);
    void hourglass();
    void normalPointer();

    ArchivePageServices m_services;
    IArchiveView* m_view = nullptr;
    CatalogueDatabase m_db;
    std::vector<std::int64_t> m_currentIDs;
    std::vector<std::int64_t> m_archiveIDs;
    GridState m_currState;
    GridState m_archiveState;
    bool m_open = false;
    bool m_loading = false;
    int m_sortIndex = -1;  // the order the user chose; -1: the tables' own
    int m_result = 0;
};
