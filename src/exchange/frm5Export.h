// The Export page (work page 5): the user's collection in a grid, and the
// backup of all or the selected materials to a ".GLZ" text file, which the
// GLZ reader (CImportNewGLZ) reads back. The page works on its own copy of the
// collection, taken when it opens.
//
// Grid rows address the page's copy only through the hidden fifth column,
// which holds each row's index in it: materials whose identity is not valid
// are not shown, so row and index may differ.
//
// The writer takes the page's copy (or the selected part of it), the folder
// and file name chosen in the save dialog, the range of records, the clock for
// the header's date and the boxes to report a failure through.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "model/GlassRecord.h"
#include "shell/CCommonDialog.h"

class GlassesList;
class IBoxes;
class IBusyCursor;
class IClock;
class IGrid;
class IPlacedWindow;

// Writes glasses first..last (counted from 1, as the page's rows are) to
// folder + fileName, replacing the file (through it when it is a link; what
// is no regular file is refused and named). Every record written is first
// normalised and has its transmission count settled, in the page's copy, as it
// is written. A range outside 1..size or first > last writes nothing and
// returns False; a failed write leaves the old file, shows which file and why
// (exclamation box) and returns False.
bool WriteGLZFile(std::span<GlassRecord> glasses, const std::string& folder, const std::string& fileName,
                  int first, int last, const IClock& clock, IBoxes& boxes);

// The text WriteGLZFile writes, with dateText after the header's version; the
// records are prepared as above. The range must lie within glasses.
std::string MakeGLZText(std::span<GlassRecord> glasses, int first, int last, const std::string& dateText);

// The long date of a date serial as the header carries it: "Tuesday, March 4, 2025".
std::string LongDateText(double dateSerial);

inline constexpr const char* kExportCaption = "Backup material data";
inline constexpr const char* kExportFrameCaption = "Backup to text file: ";
inline constexpr const char* kExportSelCaption = "&Backup selected";
inline constexpr const char* kExportSelTip = "Backup selected glasses to a text file";
inline constexpr const char* kExportAllCaption = "B&ackup all";
inline constexpr const char* kExportAllTip = "Backup all glasses to a text file";
inline constexpr const char* kExportCloseCaption = "&Close";
inline constexpr const char* kExportHeadings[4] = {"Glass", "Source", "Waveband [nm]", "Index range"};
// The grid's columns; the fifth, hidden, holds the row's index in the copy.
inline constexpr int kExportCols = 5;
inline constexpr int kExportIndexCol = 5;
inline constexpr const char* kExportFilter = "Kalvenor (*.GLZ)|*.GLZ";
inline constexpr const char* kExportAllTitle = "Exporting all glass data to text file";
inline constexpr const char* kExportSelTitle = "Exporting selected glass data to text file";
inline constexpr const char* kNoGlassesToBackup = "There are no glasses to backup!";

// The file name the save dialog proposes for one material: its trimmed name
// and ".GLZ", with "*", "/" and "\" (which no file name may hold) each made
// "-"; in the file system's UTF-8.
std::string DefaultExportFileName(const GlassRecord& glass);

class IExportView {
public:
    virtual ~IExportView() = default;
    virtual IGrid& ssGlassesCurr() = 0;
    // The page's file dialog control.
    virtual IFileDialog& fileDialog() = 0;
    virtual IPlacedWindow& placement() = 0;
    // Shows the page; modal: returns when it has closed.
    virtual void showWindow(bool modal) = 0;
    // Closes the page; its closing ends in frm5Export::Form_Unload.
    virtual void closeWindow() = 0;
};

struct ExportPageServices {
    IBoxes* boxes = nullptr;        // required
    GlassesList* store = nullptr;   // required
    const IClock* clock = nullptr;  // required: the date in the file's header
    IBusyCursor* cursor = nullptr;
    std::function<void(int page, bool open)> switchPage;
};

class frm5Export {
public:
    explicit frm5Export(ExportPageServices services);
    frm5Export(const frm5Export&) = delete;
    frm5Export& operator=(const frm5Export&) = delete;

    void setView(IExportView* view) { m_view = view; }

    // Opens the page on a fresh copy of the collection; returns the result (0).
    int Display(bool bModal);
    void ForceUnload();

    void comExportAll_Click();
    void comExportSel_Click();
    void comOK_Click();
    // The window is closing, whatever closed it.
    void Form_Unload();

    bool isOpen() const { return m_open; }
    const std::vector<GlassRecord>& glasses() const { return m_glasses; }

private:
    void FillGrid();
    // The copy's indexes (from 0) of the selected rows, in row order.
    std::vector<int> selectedRecords() const;
    // The save dialog, proposing the name of a lone material, then the
    // writer over glasses; the pointer is the hourglass while it writes.
    void backup(std::span<GlassRecord> glasses, const char* dialogTitle);

    ExportPageServices m_services;
    IExportView* m_view = nullptr;
    CCommonDialog m_dialog;
    std::vector<GlassRecord> m_glasses;
    int m_result = 0;
    bool m_open = false;
};
