// The Manage page (work page 2): the user's collection in a grid with each
// material's readiness, and the collection-wide actions: edit, duplicate,
// delete and sort, and the delivery of the selected or all materials to the
// design programs' custom material files and the catalogue database, or the
// synchronising of both with the collection.
//
// The page works on its own copy of the collection. Every change it makes is
// handed back to the store at once, saved and shown in the list window.
//
// Grid rows address the page's array only through the hidden seventh column,
// which holds each row's index in it: materials whose identity is not valid
// are not shown, so row and index may differ.
//
// One page object lives for the whole run, with the delete and the remove
// dialog it opens; while it exists the editors' update after an edit started
// here comes to UpdatesGlasssAftEdit.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "manage/ExistingMaterials.h"
#include "manage/frmGlassesDel.h"
#include "manage/frmGlassesDelExt.h"
#include "model/GlassRecord.h"
#include "shell/Bas1Setup.h"
#include "shell/GlassEditors.h"

class GlassesList;
class IBoxes;
class IBusyCursor;
class IGrid;
class IPlacedWindow;

inline constexpr const char* kManageCaption = "Manage materials in Kalvenor database";
inline constexpr const char* kUpdateFrameCaption = "Update external programs: ";
inline constexpr const char* kUpdateProgItems[3] = {"Lumivar3D/Tol only", "VitrarchQX only",
                                                    "Lumivar3D/Tol & VitrarchQX"};
inline constexpr const char* kDataOverWriteItems[2] = {"Overwrite existing materials", "Leave existing materials!"};
inline constexpr const char* kExtAddSelCaption = "&Update with selected materials";
inline constexpr const char* kExtAddAllCaption = "U&pdate with all materials";
inline constexpr const char* kExtSynchCaption = "&Synchronise materials";
inline constexpr const char* kExtSynchTip =
    "Force external programs to have only glasses listed here [overwriting any old data]";
inline constexpr const char* kExtRemoveCaption = "&Remove materials";
inline constexpr const char* kExtRemoveTip = "Remove selected materials from databas of external program";
inline constexpr const char* kManageHeadings[6] = {"Glass",        "Source",       "Waveband [nm]",
                                                   "Index range",  "Date defined", "Status"};
inline constexpr const char* kManageCloseCaption = "&Close";
inline constexpr const char* kEditCaption = "&Edit";
inline constexpr const char* kEditTip = "Edit the data for the selected glass";
inline constexpr const char* kDeleteCaption = "&Delete";
inline constexpr const char* kDeleteTip = "Delete selected glass[s] from this list";
inline constexpr const char* kSortCaption = "&Sort";
inline constexpr const char* kSortTip = "Sort by Glass-name or by Source";
inline constexpr const char* kDuplicateCaption = "&Duplicate";
inline constexpr const char* kDuplicateTip = "Make a copy of an existing material, but with a new name";
inline constexpr const char* kSortQuestion =
    "Select sort order:\r\n\r\n\tYes   \t\tto sort by 'Glass'\r\n\r\n\tNo    \t\tto sort by 'Source'\r\n\r\n"
    "\tCancel\t\tto abort\r\n";

// Where a delivery goes: the index of cmbUpdateProg.
enum UpdateTarget : int { kTargetDesign = 0, kTargetCatalogue = 1, kTargetBoth = 2 };

// The target as the questions name it, after prefix.
std::string TargetText(int target, const std::string& prefix);

// The grid's columns; the seventh, hidden, holds the row's index in the array.
inline constexpr int kManageCols = 7;
inline constexpr int kManageIndexCol = 7;
inline constexpr int kManageReadyCol = 6;

class IManageView {
public:
    virtual ~IManageView() = default;
    virtual IGrid& ssGlassesCurr() = 0;
    // Select the item without raising the list's click.
    virtual void setUpdateProg(int index) = 0;
    virtual void setDataOverWrite(int index) = 0;
    virtual IPlacedWindow& placement() = 0;
    // While an editor opened from the page is open the page is disabled.
    virtual void setEnabled(bool enabled) = 0;
    virtual void bringToFront() = 0;
    // Shows the page; modal: returns when it has closed.
    virtual void showWindow(bool modal) = 0;
    // Closes the page; its closing ends in frm2Manage::Form_Unload.
    virtual void closeWindow() = 0;
};

struct ManagePageServices {
    IBoxes* boxes = nullptr;  // required
    IBusyCursor* cursor = nullptr;
    GlassesList* store = nullptr;  // required
    GlassEditors* editors = nullptr;
    std::function<void(int page, bool open)> switchPage;
    // The help line, which tells the progress of a delivery; the main
    // window's repaints at once and keeps the windows painted.
    HelpNoteFn helpNote;
};

class frm2Manage : public ICallerWindow {
public:
    explicit frm2Manage(ManagePageServices services);
    ~frm2Manage() override;
    frm2Manage(const frm2Manage&) = delete;
    frm2Manage& operator=(const frm2Manage&) = delete;

    void setView(IManageView* view);
    // The dialogs the page opens; their windows bind to them.
    frmGlassesDel& deleteDialog() { return m_deleteDialog; }
    frmGlassesDelExt& removeDialog() { return m_removeDialog; }

    // Opens the page on a fresh copy of the collection; returns the result (0).
    int Display(bool bModal);
    void ForceUnload();
    // The editors call it after saving an edit started here: the page's copy
    // and its grid are taken from the store again.
    void UpdatesGlasssAftEdit();
    // The delete dialog hands the kept records back through this.
    void SetGlasses(const std::vector<GlassRecord>& glasses);

    void comExtAddSel_Click();
    void comExtAddAll_Click();
    void comExtSynch_Click();
    void comExtRemove_Click();
    void cmbUpdateProg_Click(int index);
    void cmbDataOverWrite_Click(int index);
    void comEdit_Click();
    void comDuplicate_Click();
    void comDelete_Click();
    void comSort_Click();
    void comOK_Click();
    // The window is closing, whatever closed it.
    void Form_Unload();

    // ICallerWindow: the editor opened from the page.
    void setEnabled(bool enabled) override;
    void bringToFront() override;

    bool isOpen() const { return m_open; }
    const std::vector<GlassRecord>& glasses() const { return m_glasses; }
    int target() const { return m_target; }
    ExistingMaterials mode() const { return m_mode; }

private:
    void SetupForm();
    void FillGrid();
    void SortGrid(int key1, bool ascending, int key2);
    // The array indices (from 0) of the selected rows, in row order.
    std::vector<int> GetSelectedRows() const;
    // The array index (from 0) of the one row Edit and Duplicate take; -1 for none.
    int singleSelectedRecord() const;
    // The array index (from 0) a grid row stands for; -1 when it holds none.
    int recordOfRow(int row) const;
    std::vector<GlassRecord> CopyGlassRange(const std::vector<int>& indexes) const;
    std::vector<GlassRecord> shownGlasses() const;
    void deliver(const std::vector<GlassRecord>& glasses, const std::string& question, bool synchronise);
    void finish();
    void helpNote(const std::string& text);

    ManagePageServices m_services;
    IManageView* m_view = nullptr;
    frmGlassesDel m_deleteDialog;
    frmGlassesDelExt m_removeDialog;
    std::vector<GlassRecord> m_glasses;
    bool m_initialising = false;
    bool m_open = false;
    int m_result = 0;
    int m_target = kTargetBoth;
    ExistingMaterials m_mode = kOverwriteExisting;
};
