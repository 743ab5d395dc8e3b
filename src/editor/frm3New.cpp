#include "editor/frm3New.h"

#include "editor/IndexGrid.h"
#include "model/GlassData.h"
#include "model/GlassesList.h"
#include "model/Verification.h"
#include "platform/Boxes.h"
#include "platform/BusyCursor.h"
#include "platform/Clipboard.h"
#include "platform/Grid.h"
#include "platform/NumberText.h"
#include "platform/Text1252.h"
#include "shell/CSWindow.h"

frm3New::Refresh::Refresh(frm3New& form) : m_form(form) { ++m_form.m_refreshDepth; }

frm3New::Refresh::~Refresh() {
    if (--m_form.m_refreshDepth == 0 && m_form.m_view) m_form.m_view->controlsChanged();
}

namespace {

ControlState control(const std::string& text, const std::string& toolTip = "") { return {text, toolTip, true, true}; }

void fillList(MemoryListControl& list, std::initializer_list<const char*> items) {
    list.clear();
    for (const char* item : items) list.addItem(item);
}

// The controls as the window is designed, before any opening sets them.
frm3NewControls designControls() {
    frm3NewControls c;
    c.caption = "New material";
    c.comAdd = control("&Save");
    c.comClipPaste = control("&Paste");
    c.comClear = control("&Clear", "Clear existing data");
    c.comWaveSelRefInd =
        control("&Useful wavelengths", "Select from a set of predefined standard & laser wavelengths");
    c.comMelt = control("&Melt derivative", "Create a melt derivative od an existing glass");
    c.comOK = control("&Close");
    c.lblGenNew = control("if a material with the same name & source exists, then you will be warned.");
    c.lblGenNew.visible = false;
    c.comIndexFit = control("Fit polynomial", "Fit chosen polynomial form to supplied data");
    c.comIndexShow = control("Show consts");
    c.comIndexSort = control("&Sort", "Sort index data by wavelength");
    fillList(c.cmbIndexDataType.list, {"Index data", "Coefficients"});
    fillList(c.cmbTransType.list,
             {"Total transmission", "Internal transmission", "Absorption coefficient", "No Data Available"});
    fillList(c.cmbTransDisp.list, {"percent", "fraction"});
    fillList(c.lstThermal.list, {"No known data", "Simple dn/dt", "Schott Sellmeier equation"});
    c.comTransSort = control("&Sort && check");
    const char* const thermLabels[7] = {"D0", "D1", "D2", "E0", "E1", "lambda TK", "ref. temp "};
    for (std::size_t i = 0; i < 7; ++i) c.lblTherm[i] = control(thermLabels[i]);
    c.lblDnDtLinear = control("Abs. value 20\xB0" "C at 546nm (e) [units: 10^-6/K]");
    c.lblDnDtLinear.visible = false;
    return c;
}

// A grid as a freshly made window has it: no texts, nothing locked.
void resetGrid(IGrid& grid) {
    grid.clearText(GridBlock::all());
    grid.setLock(GridBlock::all(), false);
    grid.setEnabled(true);
}

}  // namespace

frm3New::frm3New(GlassesList& store, ManageForms& forms, GlassEditors& editors, IBoxes& boxes, IBusyCursor& cursor,
                 IClipboard& clipboard)
    : m_store(store),
      m_forms(forms),
      m_editors(editors),
      m_boxes(boxes),
      m_cursor(cursor),
      m_clipboard(clipboard),
      m_controls(designControls()) {
    NewMaterialReset(m_glass);
}

void frm3New::setView(I3NewView* view) {
    if (m_view) {
        m_view->ssRefInd().events().changed = nullptr;
        m_view->ssTrans().events().changed = nullptr;
        m_view->ssOther().events().changed = nullptr;
    }
    m_view = view;
    if (!m_view) return;
    m_view->ssRefInd().events().changed = [this](int col, int row) { ssRefInd_Change(col, row); };
    m_view->ssTrans().events().changed = [this](int col, int row) { ssTrans_Change(col, row); };
    m_view->ssOther().events().changed = [this](int col, int row) { ssOther_Change(col, row); };
}

void frm3New::setWavelengthPicker(WavelengthPicker picker) {
    Refresh refresh(*this);
    m_picker = std::move(picker);
    refreshToolButtons();
}

IGrid& frm3New::ssRefInd() { return m_view->ssRefInd(); }
IGrid& frm3New::ssTrans() { return m_view->ssTrans(); }
IGrid& frm3New::ssOther() { return m_view->ssOther(); }

// ---- Opening and closing --------------------------------------------------

bool frm3New::opening() {
    if (!m_view) return false;
    if (m_open) {
        m_view->showWindow(true);
        return false;
    }
    // Each opening starts from a window as designed.
    m_open = true;
    m_controls = designControls();
    m_caller = nullptr;
    m_openedIdentity.clear();
    m_fitReport.clear();
    m_eventGuard = false;
    m_committing = false;
    resetGrid(ssRefInd());
    resetGrid(ssTrans());
    resetGrid(ssOther());
    return true;
}

std::int16_t frm3New::DisplayNew() {
    Refresh refresh(*this);
    if (!opening()) return 0;
    m_cursor.showHourglass();
    m_mode = kModeNew;
    NewMaterialReset(m_glass);
    for (int n : {kGeneral, kIndex, kTrans}) {
        SetReady(n, false);
        SetEditCount(n, 0);
    }
    m_transDisplayUnit = 0;
    m_controls.caption = buildCaption();
    m_openedByCaller = false;
    m_saveAllowed = true;
    m_filling = true;
    formLoad();
    m_view->showWindow(false);
    m_controls.comAdd.text = "Add to list";
    m_controls.comAdd.toolTip = "Add this new material to the kalvenor database";
    m_controls.lblGenNew.visible = true;
    return 0;
}

void frm3New::DisplayEdit(ICallerWindow& frmCaller, const GlassRecord& glass) {
    Refresh refresh(*this);
    if (!openOver(frmCaller, glass, kModeEdit)) return;
    m_controls.comAdd.text = "Accept changes";
    m_controls.comAdd.toolTip = "Accept changes made to this material";
}

void frm3New::DisplayReview(ICallerWindow& frmCaller, const GlassRecord& glass) {
    Refresh refresh(*this);
    if (!openOver(frmCaller, glass, kModeReview)) return;
    applyReviewLock();
}

bool frm3New::openOver(ICallerWindow& frmCaller, const GlassRecord& glass, std::int16_t mode) {
    if (!opening()) return false;
    m_cursor.showHourglass();
    m_caller = &frmCaller;
    m_caller->setEnabled(false);
    m_mode = mode;
    m_glass = glass;
    for (int n : {kGeneral, kIndex, kTrans}) SetEditCount(n, 0);
    if (mode == kModeEdit) m_openedIdentity = DisplayKey(m_glass);
    m_transDisplayUnit = 0;
    m_controls.caption = buildCaption();
    m_openedByCaller = true;
    m_saveAllowed = mode == kModeEdit;
    m_filling = true;
    formLoad();
    m_view->showWindow(true);
    return true;
}

void frm3New::Display(bool bModal) {
    (void)bModal;
    DisplayNew();
}

void frm3New::formLoad() {
    m_forms.SetNewFormOpen(true);
    CSWindow().Center(m_view->placement());
    fill(true);
    m_filling = false;
    m_cursor.showDefault();
}

void frm3New::ForceUnload() {
    if (!m_open || !m_view) return;
    m_view->closeWindow();
    Form_Unload();  // in case the window closed without telling
}

void frm3New::Form_Unload() {
    if (!m_open) return;  // a window already closed ignores a second close
    m_open = false;
    if (!m_openedByCaller) m_forms.SwitchPage(kPageNew, false);
    if (m_caller) {
        m_caller->setEnabled(true);
        m_caller->bringToFront();
    }
    m_forms.SetNewFormOpen(false);
    m_caller = nullptr;
    m_cursor.showDefault();
}

void frm3New::comOK_Click() {
    if (m_open && m_view) m_view->closeWindow();
}

// ---- Section status -------------------------------------------------------

std::int16_t frm3New::GetEditCount(int section) const { return ::GetEditCount(m_glass, section); }
bool frm3New::GetReady(int section) const { return ::GetReady(m_glass, section); }
void frm3New::SetReady(int section, bool ready) { ::SetReady(m_glass, section, ready); }
void frm3New::IncrementEditCount(int section) { ::IncrementEditCount(m_glass, section); }
void frm3New::SetEditCount(int section, int count) { ::SetEditCount(m_glass, section, count); }
void frm3New::NormaliseFormRecord() { NormaliseGlassRecord(m_glass); }

void frm3New::UpdateStatusPanels() {
    for (int k = 0; k < kEditorTabCount; ++k) {
        const bool ready = GetReady(k);
        StatusPanelState& panel = m_controls.pnlStatus[static_cast<std::size_t>(k)];
        panel.text = std::string(kSectionNames[k]) + (ready ? ": Ready" : ": NOT Ready");
        panel.back = ready ? kSectionReadyColour : kSectionNotReadyColour;
    }
    m_controls.lblGlassCode.text = GetReady(kIndex) ? std::to_string(m_glass.definition.glassCode) : "";
}

// ---- The fill routine -----------------------------------------------------

void frm3New::fill(bool firstTime) {
    frm3NewControls& c = m_controls;
    if (firstTime) {
        c.tab = kEditorTabMaterial;
        c.comAdd.enabled = m_saveAllowed;
        FillFormulaCombo(c.cmbIndexPolyType.list);
    }
    // The selections follow the record; what the data type's handler would
    // set on the buttons is set here too.
    m_eventGuard = true;
    SelectComboByItemData(m_glass.definition.formulaType, c.cmbIndexPolyType.list);
    c.cmbIndexDataType.list.select(m_glass.indexDataType);
    c.cmbTransType.list.select(m_glass.measured.transDataType);
    c.lstThermal.list.select(m_glass.notes.dnDtType);
    c.cmbTransDisp.list.select(m_transDisplayUnit);
    applyIndexDataTypeStates();
    applyTransTypeStates();
    applyDnDtTypeStates();
    m_eventGuard = false;

    c.txtGenGlass.text = m_glass.definition.name.str();
    c.txtGenSource.text = m_glass.definition.source.str();
    c.lblGlassSource.text = DisplayKey(m_glass);

    ClearTransGrid();
    SetupIndexTab();
    if (m_mode == kModeNew) {
        c.comIndexFit.enabled = true;
        ssRefInd().clearText(GridBlock::all());
    }
    c.lblError.text.clear();
    FillIndexTab();
    SetupTransGrid();
    FillTransGrid();
    FillDnDt();
    SetupOtherGrid();
    FillOtherGrid();
    UpdateStatusPanels();
}

// ---- Caption, name and source ---------------------------------------------

std::string frm3New::buildCaption() const {
    if (m_mode == kModeReview) return kReviewCaption;
    std::string caption = m_mode == kModeNew ? "New material data  " : "Editing data  ";
    const std::string name = m_glass.definition.name.str();
    const std::string source = m_glass.definition.source.str();
    if (!name.empty() && !source.empty()) caption += name + "::" + source;
    else if (!name.empty()) caption += "?? ::";
    return caption;
}

void frm3New::showCaption() { m_controls.caption = buildCaption(); }

void frm3New::txtGenGlass_Commit(const std::string& text) { commitIdentity(true, text); }
void frm3New::txtGenSource_Commit(const std::string& text) { commitIdentity(false, text); }

void frm3New::commitIdentity(bool isName, const std::string& text) {
    if (!m_open || !editable() || m_committing) return;
    Refresh refresh(*this);
    m_committing = true;
    FixedText<30>& field = isName ? m_glass.definition.name : m_glass.definition.source;
    FixedText<30>& other = isName ? m_glass.definition.source : m_glass.definition.name;
    const std::string typed = TrimBlanks(text);
    const std::string upper = UpperCase1252(typed);
    if (upper != UpperCase1252(field.str())) {
        const std::string otherUpper = UpperCase1252(other.str());
        bool allowed = true;
        if (!upper.empty() && !otherUpper.empty()) {
            allowed = isName ? identityAllowed(upper, otherUpper) : identityAllowed(otherUpper, upper);
        } else {
            SetReady(kGeneral, false);
        }
        other.set(otherUpper);
        if (allowed) {
            field.set(typed);
            IncrementEditCount(kGeneral);
        }
        UpdateStatusPanels();
    }
    // The boxes show what the record holds, whatever was typed.
    m_controls.txtGenGlass.text = m_glass.definition.name.str();
    m_controls.txtGenSource.text = m_glass.definition.source.str();
    showCaption();
    m_controls.lblGlassSource.text = DisplayKey(m_glass);
    m_committing = false;
}

bool frm3New::identityAllowed(const std::string& name, const std::string& source) {
    GlassRecord candidate = m_glass;
    candidate.definition.name.set(name);
    candidate.definition.source.set(source);
    // Back to the identity it was opened with, an edited material is itself,
    // not an existing one to overwrite.
    const bool itself = m_mode == kModeEdit && DisplayKeyOf(name, source) == m_openedIdentity;
    std::string msg;
    if (!m_store.CheckNameAllowed(candidate, !itself, msg)) {
        m_boxes.show(kBoxInformation, msg);
        SetReady(kGeneral, false);
        return false;
    }
    SetReady(kGeneral, true);
    return true;
}

// ---- Tabs and tools -------------------------------------------------------

void frm3New::tabProperties_Click(int tab) {
    if (tab < 0 || tab >= kEditorTabCount || tab == m_controls.tab) return;
    Refresh refresh(*this);
    m_controls.tab = tab;
    refreshToolButtons();
    // Only a ready section matches its record; typed rows that no fit has
    // read yet stay in the grid.
    if (tab == kEditorTabIndex && m_open && GetReady(kIndex)) FillIndexTab();
}

void frm3New::refreshToolButtons() {
    frm3NewControls& c = m_controls;
    const bool ed = editable();
    const bool picker = static_cast<bool>(m_picker);
    switch (c.tab) {
    case kEditorTabIndex:
        c.comClipPaste.text = "&Paste index";
        c.comClipPaste.enabled = ed;
        c.comClear.text = "&Clear index";
        c.comClear.enabled = ed;
        c.comWaveSelRefInd.enabled = ed && picker && m_glass.indexDataType != kCoefficients;
        break;
    case kEditorTabTrans:
        c.comClipPaste.text = "&Paste trans";
        c.comClipPaste.enabled = ed;
        c.comClear.text = "&Clear trans";
        c.comClear.enabled = ed;
        c.comWaveSelRefInd.enabled = ed && picker;
        break;
    case kEditorTabDnDt:
    case kEditorTabOther:
        c.comClipPaste.text = "&Paste";
        c.comClipPaste.enabled = false;
        c.comClear.text = c.tab == kEditorTabDnDt ? "&Clear dndt" : "&Clear other";
        c.comClear.enabled = ed;
        c.comWaveSelRefInd.enabled = false;
        break;
    default:
        c.comClipPaste.text = "&Paste";
        c.comClipPaste.enabled = false;
        c.comClear.text = "&Clear";
        c.comClear.enabled = false;
        c.comWaveSelRefInd.enabled = false;
        break;
    }
}

void frm3New::applyReviewLock() {
    frm3NewControls& c = m_controls;
    for (ControlState* b : {&c.comClear, &c.comWaveSelRefInd, &c.comClipPaste, &c.comIndexFit, &c.comIndexSort,
                            &c.comTransSort, &c.comMelt, &c.txtGenGlass, &c.txtGenSource, &c.txtTransGlassWidth})
        b->enabled = false;
    for (ControlState& box : c.txtTherm) box.enabled = false;
    for (ComboState* combo : {&c.cmbIndexDataType, &c.cmbIndexPolyType, &c.cmbTransType, &c.cmbTransDisp, &c.lstThermal})
        combo->enabled = false;
    for (IGrid* grid : {&ssRefInd(), &ssTrans(), &ssOther()}) grid->setLock(GridBlock::all(), true);
}

void frm3New::comClipPaste_Click() {
    if (!m_open || !editable()) return;
    Refresh refresh(*this);
    if (m_controls.tab == kEditorTabIndex) PasteIndex();
    else if (m_controls.tab == kEditorTabTrans) PasteTrans();
}

void frm3New::comClear_Click() {
    if (!m_open || !editable()) return;
    Refresh refresh(*this);
    switch (m_controls.tab) {
    case kEditorTabIndex: ClearIndex(); break;
    case kEditorTabTrans: ClearTrans(); break;
    case kEditorTabDnDt: ClearDnDt(); break;
    case kEditorTabOther: ClearOther(); break;
    default: break;
    }
}

void frm3New::comWaveSelRefInd_Click() {
    if (!m_open || !editable() || !m_picker) return;
    Refresh refresh(*this);
    IGrid* grid = nullptr;
    int pickerTab = 0;
    if (m_controls.tab == kEditorTabIndex && m_glass.indexDataType == kIndexData) {
        grid = &ssRefInd();
    } else if (m_controls.tab == kEditorTabTrans && m_glass.measured.transDataType != kNoTransData) {
        grid = &ssTrans();
        pickerTab = 2;
    } else {
        return;
    }
    grid->clearSelection();
    const int row = grid->activeRow();
    if (row < 1) return;
    double start = 0;
    if (!ParseNumber(grid->text(1, row), start)) start = 0;
    int nWaves = 0;
    auto sWave = static_cast<float>(start);
    std::vector<float> sWaves;
    if (!m_picker(nWaves, sWave, sWaves, pickerTab) || nWaves < 1) return;
    if (nWaves == 1) sWaves = {sWave};
    else if (sWaves.size() > static_cast<std::size_t>(nWaves)) sWaves.resize(static_cast<std::size_t>(nWaves));
    PutPickedWavelengths(*grid, row, sWaves);
}

void frm3New::PutPickedWavelengths(IGrid& grid, int row, const std::vector<float>& waves) {
    if (!m_open || !editable() || !m_view) return;
    Refresh refresh(*this);
    std::vector<std::string> values;
    for (float w : waves) values.push_back(ShortestText(w));
    const bool index = &grid == &ssRefInd();
    PutColumnValues(grid, 1, row, values, [this, index](int col, int r) {
        if (index) ssRefInd_Change(col, r);
        else ssTrans_Change(col, r);
    });
}

// ---- Save -----------------------------------------------------------------

void frm3New::comAdd_Click() {
    if (!m_open || !m_saveAllowed) return;
    Refresh refresh(*this);
    SaveRequest request;
    request.isNew = m_mode == kModeNew;
    request.openedKey = m_openedIdentity;
    request.keyOf = [](GlassRecord& glass) { return DisplayKey(glass); };
    const SaveResult result = SaveGlassRecord(m_glass, request, m_store, m_boxes);
    if (result != SaveResult::Saved) {
        UpdateStatusPanels();  // the normalisation may have renewed the glass code
        return;
    }
    if (m_mode == kModeNew) resetAfterSave();
    else if (m_forms.CurrentPage() == kPageManage) m_editors.UpdatesGlasssAftEdit();
    SetEditCount(kGeneral, 0);
    UpdateStatusPanels();
}

void frm3New::resetAfterSave() {
    NewMaterialReset(m_glass);
    for (int n : {kGeneral, kIndex, kTrans, kOther}) SetReady(n, false);
    SetReady(kDnDt, true);
    fill(false);
    showCaption();
}
