// The material editor (work page 3): one material on five tabs (General,
// Refractive index, Transmittance, dn/dt, Other), opened empty for a new
// material, on a copy of a stored one to change it, or read-only to review it,
// and stored into the collection by its save button.
//
// This is the window's logic. It keeps the working record and the state of
// every control (captions, texts, enabled and visible flags, the status
// panels) in controls(); the window (qt/frm3NewWindow) shows that state after
// each handler (I3NewView::controlsChanged) and hands the user's actions to
// the handlers below, and only those: a program write into a control is never
// an action. The grids are the window's, reached through the view.
//
// The unit is split by tab: the frame and the General tab here and in
// frm3New.cpp, the Refractive index tab in frm3NewIndex.cpp, the Transmittance
// tab in frm3NewTrans.cpp, the dn/dt and Other tabs in frm3NewProperties.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/GlassEditing.h"
#include "model/GlassRecord.h"
#include "platform/Colour.h"
#include "platform/ListControl.h"
#include "shell/GlassEditors.h"
#include "shell/ManageForms.h"

class GlassesList;
class IBoxes;
class IBusyCursor;
class IClipboard;
class IGrid;
class IPlacedWindow;

enum EditorTab : int { kEditorTabMaterial = 0, kEditorTabIndex = 1, kEditorTabTrans = 2, kEditorTabDnDt = 3, kEditorTabOther = 4 };
inline constexpr int kEditorTabCount = 5;

inline constexpr const char* kEditorTabCaptions[kEditorTabCount] = {
    "&Material", "&Refractive index", "&Transmittance", "&dn/dt", "&Other properties"};
inline constexpr const char* kSectionNames[kEditorTabCount] = {"General", "Index", "Trans", "dn/dt", "Other"};
inline constexpr Colour kSectionReadyColour = 0x00FF00;     // green
inline constexpr Colour kSectionNotReadyColour = 0x0000FF;  // red
inline constexpr const char* kReviewCaption = "Reviewing data";

// A button, label or text box as the window shows it.
struct ControlState {
    std::string text;  // caption of a button or label, text of a text box
    std::string toolTip;
    bool enabled = true;
    bool visible = true;
};

// A combo box or list: its items with their item data, the selection, and
// whether the user may choose.
struct ComboState {
    MemoryListControl list;
    bool enabled = true;
};

struct StatusPanelState {
    std::string text;
    Colour back = kColourNone;
};

struct frm3NewControls {
    std::string caption;  // the window's
    int tab = kEditorTabMaterial;
    // The frame.
    ControlState comAdd, comClipPaste, comClear, comWaveSelRefInd, comMelt, comOK;
    std::array<StatusPanelState, kEditorTabCount> pnlStatus;
    ControlState lblGlassCode;
    // General.
    ControlState txtGenGlass, txtGenSource, lblGlassSource, lblGenNew;
    // Refractive index (the grid is ssRefInd).
    ComboState cmbIndexDataType, cmbIndexPolyType;
    ControlState comIndexFit, comIndexShow, comIndexSort, lblIndexMinDataPoints, lblError;
    // Transmittance (the grid is ssTrans).
    ComboState cmbTransType, cmbTransDisp;
    ControlState txtTransGlassWidth, comTransSort;
    // dn/dt.
    ComboState lstThermal;
    std::array<ControlState, 7> txtTherm, lblTherm;
    ControlState lblDnDtLinear;
    // Other properties: the grid ssOther alone.
};

// The window as the logic sees it.
class I3NewView {
public:
    virtual ~I3NewView() = default;
    virtual IGrid& ssRefInd() = 0;
    virtual IGrid& ssTrans() = 0;
    virtual IGrid& ssOther() = 0;
    virtual IPlacedWindow& placement() = 0;
    // Shows the window, modeless; in front of the others when asked.
    virtual void showWindow(bool bringToFront) = 0;
    // Closes the window; the close ends in frm3New::Form_Unload.
    virtual void closeWindow() = 0;
    // The control states changed: show them.
    virtual void controlsChanged() = 0;
};

// The wavelength picker: opened with the start wavelength and its first tab
// (0 spectral lines, 2 transmission wavelengths); on True nWaves is the
// number picked, sWave the one picked and sWaves all of them in order.
using WavelengthPicker = std::function<bool(int& nWaves, float& sWave, std::vector<float>& sWaves, int nTab)>;

class frm3New : public IGlassEditor, public IWorkPage {
public:
    // Each must outlive the editor.
    frm3New(GlassesList& store, ManageForms& forms, GlassEditors& editors, IBoxes& boxes, IBusyCursor& cursor,
            IClipboard& clipboard);

    // The window; its grids report the user's edits from here on.
    void setView(I3NewView* view);
    // The picker behind "&Useful wavelengths"; without one the button stays disabled.
    void setWavelengthPicker(WavelengthPicker picker);

    // Entry points. Each opens the window unless it is open already (then it
    // is only brought to the front).
    std::int16_t DisplayNew();
    void DisplayEdit(ICallerWindow& frmCaller, const GlassRecord& glass) override;
    void DisplayReview(ICallerWindow& frmCaller, const GlassRecord& glass) override;
    void Display(bool bModal) override;  // the page switcher's open: DisplayNew
    void ForceUnload() override;
    // The window is closing, whatever closed it.
    void Form_Unload();

    // The five status operations on the working record, by section.
    std::int16_t GetEditCount(int section) const;
    bool GetReady(int section) const;
    void SetReady(int section, bool ready);
    void IncrementEditCount(int section);
    void SetEditCount(int section, int count);
    void NormaliseFormRecord();

    // The frame and the General tab.
    void tabProperties_Click(int tab);
    // Enter or leaving the box: commits the name or the source.
    void txtGenGlass_Commit(const std::string& text);
    void txtGenSource_Commit(const std::string& text);
    void comAdd_Click();
    void comClipPaste_Click();
    void comClear_Click();
    void comWaveSelRefInd_Click();
    void comMelt_Click() {}
    void comOK_Click();

    // The Refractive index tab.
    void cmbIndexDataType_Click(int index);
    void cmbIndexPolyType_Click(int index);
    void ssRefInd_Change(int col, int row);
    void comIndexFit_Click();
    void comIndexShow_Click();
    void comIndexSort_Click();

    // Picked wavelengths into column 1 of grid from row down, each through the
    // grid's cell-edit rule (the index grid's or the transmission grid's).
    void PutPickedWavelengths(IGrid& grid, int row, const std::vector<float>& waves);

    // The Transmittance tab.
    void cmbTransType_Click(int index);
    void cmbTransDisp_Click(int index);
    // Enter or leaving the box: the thickness. A text as it was shown stores
    // nothing (a rounded display never overwrites the stored value).
    void txtTransGlassWidth_Commit(const std::string& text);
    void ssTrans_Change(int col, int row);
    void comTransSort_Click();

    // The dn/dt tab; a commit of a text as it was shown stores nothing.
    void lstThermal_Click(int index);
    void txtTherm_Commit(int box, const std::string& text);

    // The Other properties tab: its grid's cell-edit rule.
    void ssOther_Change(int col, int row);

    bool isOpen() const { return m_open; }
    int mode() const { return m_mode; }
    const GlassRecord& record() const { return m_glass; }
    const frm3NewControls& controls() const { return m_controls; }
    // The DisplayKey the window was opened with in edit mode.
    const std::string& openedIdentity() const { return m_openedIdentity; }
    // The constants report of the last fit in this window.
    const std::string& fitReport() const { return m_fitReport; }
    int transDisplayUnit() const { return m_transDisplayUnit; }
    bool filling() const { return m_filling; }

private:
    // Shows the control states once the outermost handler is done, so that
    // the window never shows a half-made state.
    class Refresh {
    public:
        explicit Refresh(frm3New& form);
        ~Refresh();
        Refresh(const Refresh&) = delete;
        Refresh& operator=(const Refresh&) = delete;

    private:
        frm3New& m_form;
    };

    bool opening();  // false: the window is open already
    // Edit and review: on a copy of glass, over the window that opened it.
    bool openOver(ICallerWindow& frmCaller, const GlassRecord& glass, std::int16_t mode);
    void formLoad();
    void fill(bool firstTime);
    bool editable() const { return m_mode != kModeReview; }
    std::string buildCaption() const;
    void showCaption();
    void UpdateStatusPanels();
    void refreshToolButtons();
    void applyReviewLock();
    void commitIdentity(bool isName, const std::string& text);
    bool identityAllowed(const std::string& name, const std::string& source);
    void resetAfterSave();

    // Refractive index tab members (frm3NewIndex.cpp).
    void SetupIndexTab();
    void FillIndexTab();
    void applyIndexDataTypeStates();
    void fitIndexPoints();
    void checkCoefficients();
    void ClearIndex();
    void PasteIndex();
    void indexBecameReady();

    // Transmittance tab members (frm3NewTrans.cpp).
    void ClearTransGrid();
    void SetupTransGrid();
    void FillTransGrid();
    void ClearTrans();
    void PasteTrans();
    void applyTransTypeStates();
    void showTransThickness();
    void showTransRow(int row);

    // dn/dt and Other tab members (frm3NewProperties.cpp).
    void FillDnDt();
    void ClearDnDt();
    void SetupOtherGrid();
    void FillOtherGrid();
    void ClearOther();
    void applyDnDtTypeStates();

    IGrid& ssRefInd();
    IGrid& ssTrans();
    IGrid& ssOther();

    GlassesList& m_store;
    ManageForms& m_forms;
    GlassEditors& m_editors;
    IBoxes& m_boxes;
    IBusyCursor& m_cursor;
    IClipboard& m_clipboard;
    I3NewView* m_view = nullptr;
    WavelengthPicker m_picker;

    GlassRecord m_glass;
    frm3NewControls m_controls;
    std::int16_t m_mode = kModeNew;
    ICallerWindow* m_caller = nullptr;
    std::string m_openedIdentity;
    std::string m_fitReport;
    std::int16_t m_transDisplayUnit = 0;
    bool m_openedByCaller = false;
    bool m_saveAllowed = true;
    bool m_filling = false;
    bool m_eventGuard = false;
    bool m_open = false;
    bool m_committing = false;  // a commit whose box takes the focus calls again
    int m_refreshDepth = 0;
};
