// The melt parent picker: a modal dialog over the catalogue program's
// database with the list of glass makers, a grid of the chosen maker's
// glasses, a sort order, and OK/Cancel. OK hands the chosen glass, read into a
// material record, to the melt maker and remembers the maker for next time.
//
// The logic is here, the window behind IMeltParentView. The window calls the
// handlers below for what the user does and Form_Unload when it closes,
// whatever closed it; the glass grid's clicks come in through its events.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "manage/CatalogueDatabase.h"
#include "model/GlassRecord.h"

class IBoxes;
class IBusyCursor;
class IGrid;
class IPlacedWindow;
class ISettings;

inline constexpr const char* kMeltParentCaption = "Melt glass parent";
inline constexpr const char* kMeltParentSection = "MeltParent";
inline constexpr const char* kMeltParentMakerKey = "MeltParentMaker";
inline constexpr int kSortOrderCount = 6;
inline constexpr const char* kSortOrderItems[kSortOrderCount] = {"Sort by ID",    "Sort by Material", "Sort by Code",
                                                                 "Sort by Index", "Sort by V-Value",  "Sort by Status"};
inline constexpr const char* kGlassGridHeadings = "ID\tMaterial\tCode\tIndex\tV-Val\tStatus";
inline constexpr const char* kSelGlassDesignText = "Selected glass:";
inline constexpr const char* kMakerHintText =
    "Select a maker from the list above, to see the glasses available from that maker in the Vitrarch database.  "
    "You will then be able to select a glass.";
inline constexpr const char* kOkCaption = "&OK";
inline constexpr const char* kCancelCaption = "&Cancel";

class IMeltParentView {
public:
    virtual ~IMeltParentView() = default;
    virtual IGrid& glassGrid() = 0;
    virtual IPlacedWindow& placement() = 0;
    // The maker list; selecting a line from here raises no click.
    virtual void setMakers(const std::vector<std::string>& makers) = 0;
    virtual void selectMaker(int index) = 0;
    virtual void selectSortOrder(int index) = 0;
    // The grid with the sort order box.
    virtual void setGridVisible(bool visible) = 0;
    virtual void setSelectedGlass(const std::string& text, bool visible) = 0;
    virtual void setOkEnabled(bool enabled) = 0;
    // Shows the dialog modal: returns when it has closed.
    virtual void showModal() = 0;
    // Closes the dialog; its closing ends in popMeltParent::Form_Unload.
    virtual void closeWindow() = 0;
};

struct MeltParentServices {
    IBoxes* boxes = nullptr;
    ISettings* settings = nullptr;
    IBusyCursor* cursor = nullptr;
    // The catalogue program's folder (GetPathVQ when not given).
    std::function<std::string()> catalogueFolder;
};

class popMeltParent {
public:
    explicit popMeltParent(MeltParentServices services);

    // Also wires the glass grid's clicks to ssGlasses_Click.
    void setView(IMeltParentView* view);

    // Opens the dialog on a blank record. True after OK, glass then holding
    // the chosen glass with its maker and name as parent source and name;
    // otherwise glass is untouched.
    bool Display(GlassRecord& glass);

    void lstMakers_Click(int index);
    void cmbSortOrder_Click(int index);
    void ssGlasses_Click(int col, int row);
    void comOK_Click();
    void comCancel_Click();
    // The dialog is closing (OK, Cancel, its close box).
    void Form_Unload();

    // "  Available?", "  Eco", "  Obsolete", "  Recommended" by the first
    // letter of the trimmed status; any other status as it is.
    static std::string StatusText(const std::string& status);

    const GlassRecord& record() const { return m_record; }
    const std::vector<std::string>& makers() const { return m_makers; }
    int sortColumn() const { return m_sortColumn; }
    bool accepted() const { return m_accepted; }

private:
    bool formLoad();
    void selectMaker(const std::string& maker);
    bool queryMaker(const std::string& maker);
    void fillGlassGrid();
    void setupGlassGrid();
    void sortGlassGrid(int key);
    bool loadGlassByID(const std::string& id, GlassRecord& glass);
    std::string catalogueFolder() const;

    MeltParentServices m_services;
    IMeltParentView* m_view = nullptr;
    GlassRecord m_record;
    CatalogueDatabase m_db;
    DbRowSet m_rows;  // the chosen maker's glasses
    std::vector<std::string> m_makers;
    int m_sortColumn = 1;
    bool m_initialising = false;
    bool m_accepted = false;
    bool m_open = false;
};
