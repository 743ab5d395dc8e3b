// The Import page (work page 4): the user opens a material file of one of the
// five kinds, the page reads its materials into its own list and shows them in
// a review grid, and the user reviews one of them read-only, renames their
// source, or adds all or the selected ones to the collection.
//
// The list lives as long as the page is open; every read replaces it, and a
// read that fails leaves it empty. Grid row i shows material i of the list.
// Materials the reader could not keep, and materials the collection refuses
// on an add, are named to the user; none is dropped without a word.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "exchange/ImportReader.h"
#include "model/GlassRecord.h"
#include "shell/Bas1Setup.h"
#include "shell/CCommonDialog.h"
#include "shell/GlassEditors.h"

class CNewMsg;
class GlassesList;
class IBoxes;
class IBusyCursor;
class IGrid;
class IPlacedWindow;
class ISettings;

inline constexpr const char* kImportCaption = "Import material data from text file";
inline constexpr const char* kImportOpenCaption = "&Open file...";
inline constexpr const char* kImportOpenTip = "open glass data text file for inspection";
inline constexpr const char* kImportReviewCaption = "&Pre-view";
inline constexpr const char* kImportReviewTip = "Review the data for the selected glass";
inline constexpr const char* kImportCloseCaption = "&Close";
inline constexpr const char* kImportFrameCaption = "Update local material list: ";
inline constexpr const char* kImportAddSelCaption = "&Import selected";
inline constexpr const char* kImportAddSelTip = "Add the selected material[s] to the kalvenor database";
inline constexpr const char* kImportAddAllCaption = "I&mport all";
inline constexpr const char* kImportAddAllTip = "Add all these materials to the kalvenor database";
inline constexpr const char* kImportRenameCaption = "&Rename 'source'";
inline constexpr const char* kImportRenameTip = "Change the 'source' name of  these imported materials";
inline constexpr const char* kImportHeadings[6] = {"Glass",       "Source", "Waveband [nm]",
                                                   "Index range", "Status", "Refit error [mean]"};
inline constexpr int kImportCols = 6;
inline constexpr int kImportStatusCol = 5;
inline constexpr int kImportRefitCol = 6;

inline constexpr const char* kImportFilter =
    "Kalvenor (*.GLZ)|*.GLZ|Lumivar old (*.GLA)|*.GLA|Vitrarch [old] (*.GLS)|*.GLS|OSLO GLC (*.GLC)|*.GLC|"
    "Zemax AGF (*.AGF)|*.AGF";
inline constexpr const char* kImportDialogTitle = "Importing data to Kalvenor";
inline constexpr const char* kRenamePrompt = "Enter new source name for these materials";
inline constexpr const char* kRefitHintKey = "ImportPolyRefit";
inline constexpr const char* kRefitHintTitle = "Enhanced import";
inline constexpr const char* kNoImportQuestion =
    "No materials have been imported, so none can be added to the main list!\r\n\r\n"
    "Do you wish to open a material text file now?";

// The one-time hint after a catalogue read that refitted formulas.
std::string RefitNotice();
// The label under the grid for a number of refitted materials ("" for none).
std::string RefitLabelText(int refitCount);

class IImportView {
public:
    virtual ~IImportView() = default;
    virtual IGrid& ssGlasses() = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setRefitLabel(const std::string& text) = 0;
    // The page's file dialog control.
    virtual IFileDialog& fileDialog() = 0;
    virtual IPlacedWindow& placement() = 0;
    // While a review opened from the page is open the page is disabled.
    virtual void setEnabled(bool enabled) = 0;
    virtual void bringToFront() = 0;
    // Shows the page; modal: returns when it has closed.
    virtual void showWindow(bool modal) = 0;
    // Closes the page; its closing ends in frm4Import::Form_Unload.
    virtual void closeWindow() = 0;
};

struct ImportPageServices {
    IBoxes* boxes = nullptr;        // required
    ISettings* settings = nullptr;  // required
    GlassesList* store = nullptr;   // required; its folder is where a first dialog starts
    IBusyCursor* cursor = nullptr;
    GlassEditors* editors = nullptr;
    CNewMsg* hints = nullptr;
    std::function<void(int page, bool open)> switchPage;
    // The help line, which tells the progress of a long add; the main
    // window's repaints at once and keeps the windows painted.
    HelpNoteFn helpNote;
};

class frm4Import : public ICallerWindow {
public:
    explicit frm4Import(ImportPageServices services);
    frm4Import(const frm4Import&) = delete;
    frm4Import& operator=(const frm4Import&) = delete;

    void setView(IImportView* view);

    // Opens the page with an empty list; returns the result (0).
    int Display(bool bModal);
    void ForceUnload();

    void comImport_Click();
    void comReview_Click();
    void comAddSel_Click();
    void comAddAll_Click();
    void comRenameSource_Click();
    void comOK_Click();
    void ssGlasses_Click(int col, int row);
    void ssGlasses_DblClick(int col, int row);
    // The window is closing, whatever closed it.
    void Form_Unload();

    // ICallerWindow: the review opened from the page.
    void setEnabled(bool enabled) override;
    void bringToFront() override;

    bool isOpen() const { return m_open; }
    const std::vector<GlassRecord>& glasses() const { return m_imported.glasses; }
    const std::vector<float>& fitErrors() const { return m_imported.fitErrors; }
    int refitCount() const { return m_imported.refitCount; }
    int importType() const { return m_importType; }
    int selectedRow() const { return m_selectedRow; }

private:
    // Reads the file into the list (emptied first, whatever the read gives)
    // and says what went wrong or was left out.
    void readFile(const std::string& path, const std::string& fileTitle);
    void FillGrid();
    // Adds materials first..last (from 1) under the collection's rules;
    // bAll tells which button asked, for the icon of the catalogue message.
    void addRange(int first, int last, bool bAll);

    ImportPageServices m_services;
    IImportView* m_view = nullptr;
    CCommonDialog m_dialog;
    ImportedMaterials m_imported;
    int m_importType = 1;
    int m_selectedRow = 0;
    int m_result = 0;
    bool m_open = false;
};
