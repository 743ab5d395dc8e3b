#include "melt/frm7Melt.h"

#include <algorithm>

#include "melt/GlassMelt.h"
#include "melt/MeltFit.h"
#include "model/GlassData.h"
#include "model/GlassesList.h"
#include "model/NumberFormat.h"
#include "model/Verification.h"
#include "platform/Boxes.h"
#include "platform/BusyCursor.h"
#include "platform/Clipboard.h"
#include "platform/Grid.h"
#include "platform/NumberText.h"
#include "platform/Text1252.h"
#include "shell/Bas1Setup.h"
#include "shell/CNewMsg.h"
#include "shell/CSApplication.h"
#include "shell/CSWindow.h"

frm7Melt::Refresh::Refresh(frm7Melt& form) : m_form(form) { ++m_form.m_refreshDepth; }

frm7Melt::Refresh::~Refresh() {
    if (--m_form.m_refreshDepth == 0 && m_form.m_view) m_form.m_view->controlsChanged();
}

namespace {

const char* const kCrLf = "\r\n";
const char* const kBlankCell = "  ";

ControlState control(const std::string& text, const std::string& toolTip = "") { return {text, toolTip, true, true}; }

frm7MeltControls designControls() {
    frm7MeltControls c;
    c.caption = "Melt Maker";
    c.comParent = control("&Parent material...", "Select parent material for melt glass");
    c.pnlStatus = {"Index: NOT Ready", kSectionNotReadyColour};
    c.comClipPaste = control("&Paste", "Paste data from clipboard ");
    c.comClear = control("&Clear", "Clear existing data");
    c.comWaveSelRefInd = control("&Useful wavelengths", "Get predefined spectral/laser wavelength[s]");
    c.comMeltSchott = control("", "Schott melt data");
    c.comIndexSort = control("&Sort", "Sort index data by wavelength");
    c.comIndexFit = control("Fit polynomial", "Fit chosen polynomial form to supplied data");
    c.comShowDispConsts = control("Show consts", "show the dispersion constants for melt & parent");
    c.comShowDispConsts.enabled = false;
    c.comShowIndex = control("Show index", "shows index difference over waveband");
    c.comShowIndex.enabled = false;
    c.fraWaveBand = control("Waveband:");
    c.comWaveBand = control("&Add", "Make current wavelenghts into a 'waveband' and add to waveband list");
    c.comAdd = control("&Save", "Add this material to the kalvenor database");
    c.comOK = control("&Close");
    return c;
}

// A grid cell as a number: its text when that is one, else 0.
double cellNumber(const IGrid& grid, int col, int row) {
    double v = 0;
    return ParseNumber(grid.text(col, row), v) ? v : 0;
}

// Columns 4 and 5 of a pair: the parent's index, held as a single, and the
// melt's minus it; blank where the parent gives no index or the melt has none.
std::string parentIndexText(float parentIndex) {
    return parentIndex > 0 ? Format(parentIndex, "0.0000000") : kBlankCell;
}
std::string userDifferenceText(float meltIndex, float parentIndex) {
    return meltIndex > 0 && parentIndex > 0 ? Format(meltIndex - parentIndex, "0.000000") : kBlankCell;
}

// The parent's index at a wavelength, 0 where it gives none.
float parentIndexAt(const GlassRecord& parent, float wave) {
    bool ok = false;
    return static_cast<float>(EvaluateIndex(parent.definition, wave, parent.definition.formulaType, ok));
}

// Longest wavelength first; equal ones keep their order.
template <class T, class Wave>
void sortDescending(std::vector<T>& items, Wave wave) {
    std::stable_sort(items.begin(), items.end(), [&](const T& a, const T& b) { return wave(a) > wave(b); });
}

}  // namespace

std::string MeltMakerHint() {
    return std::string("This form will help you create a melt glass for use in the Lumivar Plus suite") + kCrLf + kCrLf +
           "A melt glass is based upon an existing catalog glass, but its refractive index values are slightly "
           "different." +
           kCrLf + kCrLf + "To define a melt glass, you will need to define:" + kCrLf + "\ta parent material" + kCrLf +
           "\ta code name for the melt" + kCrLf + "\tat least 4 wavelength/index pairs [from melt sheet]" + kCrLf +
           kCrLf +
           "Kalvenor will then calculate the differences from the parent glass, and re-fit the index polynomial. "
           "All non-index related properties will be unchanged, except the glass name, "
           "which will be the parent glass name followed by the melt code";
}

std::string MeltNameCaption(const std::string& source, const std::string& name, const std::string& code) {
    const std::string s = TrimBlanks(source), n = TrimBlanks(name), c = TrimBlanks(code);
    if (!c.empty()) return s + "  " + n + " *" + c;
    if (!s.empty()) return s + "  " + n + "  -  please enter a melt code!";
    return kNoParentCaption;
}

std::string MeltName(const std::string& parentName, const std::string& code) {
    const std::string name = TrimBlanks(parentName) + " *" + TrimBlanks(code);
    return TrimBlanks(name.substr(0, std::min<std::size_t>(name.size(), 30)));
}

frm7Melt::frm7Melt(MeltMakerServices services) : m_services(std::move(services)), m_controls(designControls()) {
    NewMaterialReset(m_glass);
    InitGlassRecord(m_parent);
}

void frm7Melt::setView(I7MeltView* view) {
    if (m_view) m_view->ssRefInd().events().changed = nullptr;
    m_view = view;
    if (m_view) m_view->ssRefInd().events().changed = [this](int col, int row) { ssRefInd_Change(col, row); };
}

void frm7Melt::setParentPicker(RecordDialog picker) {
    Refresh refresh(*this);
    m_parentPicker = std::move(picker);
    if (m_open) UpdateMeltState();
}

void frm7Melt::setMeltSheet(RecordDialog sheet) {
    Refresh refresh(*this);
    m_meltSheet = std::move(sheet);
    if (m_open) UpdateMeltState();
}

void frm7Melt::setWavelengthPicker(WavelengthPicker picker) {
    Refresh refresh(*this);
    m_wavePicker = std::move(picker);
    if (m_open) UpdateMeltState();
}

IGrid& frm7Melt::ssRefInd() { return m_view->ssRefInd(); }

std::string frm7Melt::catalogueFolder() const {
    return m_services.catalogueFolder ? m_services.catalogueFolder() : GetPathVQ();
}

std::string frm7Melt::programFolder() const {
    return m_services.programFolder ? m_services.programFolder() : CSApplication().Path();
}

// ---- Opening and closing --------------------------------------------------

bool frm7Melt::opening() {
    if (!m_view) return false;
    if (m_open) {
        m_view->showWindow(true);
        return false;
    }
    // Each opening starts from a window as designed, with blank records.
    m_open = true;
    m_controls = designControls();
    m_caller = nullptr;
    m_openingKey.clear();
    m_fitReport.clear();
    m_maySave = true;
    InitGlassRecord(m_parent);
    IGrid& grid = ssRefInd();
    grid.setLock(GridBlock::all(), false);
    grid.clearSelection();
    grid.setEnabled(true);
    return true;
}

std::int16_t frm7Melt::DisplayNew(bool bModal) {
    (void)bModal;  // the page switcher opens the page modeless
    Refresh refresh(*this);
    if (!opening()) return 0;
    m_services.cursor->showDefault();
    m_captionText = kMeltCaptionNew;
    m_mode = kModeNew;
    NewMaterialReset(m_glass);
    m_openedAsDialog = false;
    formLoad();
    m_view->showWindow(false);
    return 0;
}

void frm7Melt::DisplayEdit(ICallerWindow& frmCaller, const GlassRecord& glass) {
    Refresh refresh(*this);
    if (!openOver(frmCaller, glass, kModeEdit)) return;
    m_controls.comAdd.text = "Accept changes";
    m_controls.comAdd.toolTip = "Accept changes made to this melt glass";
}

void frm7Melt::DisplayReview(ICallerWindow& frmCaller, const GlassRecord& glass) {
    Refresh refresh(*this);
    if (!openOver(frmCaller, glass, kModeReview)) return;
    LockForReview();
}

bool frm7Melt::openOver(ICallerWindow& frmCaller, const GlassRecord& glass, std::int16_t mode) {
    if (!opening()) return false;
    m_services.cursor->showHourglass();
    m_captionText = mode == kModeEdit ? kMeltCaptionEdit : kMeltCaptionReview;
    m_caller = &frmCaller;
    m_caller->setEnabled(false);
    m_mode = mode;
    m_glass = glass;
    for (int n : {kGeneral, kIndex, kTrans}) SetEditCount(n, 0);
    MeltBlock& melt = m_glass.melt;
    melt.parentName.set(melt.parentName.str());
    melt.parentSource.set(melt.parentSource.str());
    if (mode == kModeEdit) m_openingKey = DisplayKey(m_glass);
    // A parent no longer in the database leaves the parent record blank, and
    // the comparison columns blank with it.
    ReloadParent(catalogueFolder(), melt.parentName.str(), melt.parentSource.str(), m_parent, *m_services.boxes);
    m_openedAsDialog = true;
    m_maySave = mode == kModeEdit;
    formLoad();
    m_view->showWindow(true);
    m_controls.pnlPolyType.text = FormulaName(m_glass.definition.formulaType);
    // A stored melt carries its fitted formula: its constants can be shown.
    m_controls.comShowDispConsts.enabled = m_controls.comShowIndex.enabled = GetReady(kIndex);
    FillPairsGrid();
    m_services.cursor->showDefault();
    return true;
}

void frm7Melt::formLoad() {
    m_services.forms->SetMeltFormOpen(true);
    CSWindow().Center(m_view->placement());
    m_bands = GetMeltWaveBands(programFolder());
    ActivateForm(false);
    FillWaveBandList();
    m_services.cursor->showDefault();
    if (m_services.hints)
        m_services.hints->Display(MeltMakerHint(), kMeltHintKey, true, kMeltHintDelayMs, kMeltHintTitle);
}

void frm7Melt::ActivateForm(bool bSkip) {
    if (!bSkip) {
        m_controls.caption = m_captionText;
        m_controls.comAdd.enabled = m_maySave;
    }
    SetupPairsGrid();
    UpdateMeltState();
}

void frm7Melt::FillWaveBandList() {
    m_listFilling = true;
    MemoryListControl& list = m_controls.lstWaveBand.list;
    list.clear();
    for (std::size_t i = 0; i < m_bands.size(); ++i) {
        const int item = list.addItem(m_bands[i].name);
        list.setItemData(item, static_cast<std::int32_t>(i));
    }
    m_listFilling = false;
}

void frm7Melt::ForceUnload() {
    if (!m_open || !m_view) return;
    m_view->closeWindow();
    Form_Unload();  // in case the window closed without telling
}

void frm7Melt::Form_Unload() {
    if (!m_open) return;  // a window already closed ignores a second close
    m_open = false;
    if (!m_openedAsDialog) m_services.forms->SwitchPage(kPageMelt, false);
    if (m_caller) {
        m_caller->setEnabled(true);
        m_caller->bringToFront();
    }
    m_services.forms->SetMeltFormOpen(false);
    m_caller = nullptr;
    m_services.cursor->showDefault();
}

void frm7Melt::comOK_Click() {
    if (m_open && m_view) m_view->closeWindow();
}

// ---- Section status -------------------------------------------------------

std::int16_t frm7Melt::GetEditCount(int section) const { return ::GetEditCount(m_glass, section); }
bool frm7Melt::GetReady(int section) const { return ::GetReady(m_glass, section); }
void frm7Melt::SetReady(int section, bool ready) { ::SetReady(m_glass, section, ready); }
void frm7Melt::IncrementEditCount(int section) { ::IncrementEditCount(m_glass, section); }
void frm7Melt::SetEditCount(int section, int count) { ::SetEditCount(m_glass, section, count); }
void frm7Melt::NormaliseFormRecord() { NormaliseGlassRecord(m_glass); }

void frm7Melt::ShowSectionStatus() {
    const bool ready = GetReady(kIndex);
    m_controls.pnlStatus.text = std::string(kSectionNames[kIndex]) + (ready ? ": Ready" : ": NOT Ready");
    m_controls.pnlStatus.back = ready ? kSectionReadyColour : kSectionNotReadyColour;
    m_controls.lblGlassCode.text = ready ? std::to_string(m_glass.definition.glassCode) : "";
}

void frm7Melt::UpdateMeltState() {
    MeltBlock& melt = m_glass.melt;
    melt.meltCode.set(melt.meltCode.str());
    melt.parentName.set(melt.parentName.str());
    melt.parentSource.set(melt.parentSource.str());
    const std::string code = melt.meltCode.str();
    const bool hasParent = !melt.parentName.isBlank();
    bool canSave = hasParent && !code.empty();
    m_controls.txtMeltCode.text = code.empty() ? kEnterMeltCode : code;

    // Nothing of a review may change the pairs, whatever the parent.
    const bool tools = hasParent && editable();
    frm7MeltControls& c = m_controls;
    c.pnlMelt.visible = hasParent;
    c.comClipPaste.enabled = tools;
    c.comClear.enabled = tools;
    c.comWaveSelRefInd.enabled = tools && static_cast<bool>(m_wavePicker);
    c.comMeltSchott.enabled = tools && static_cast<bool>(m_meltSheet);
    c.fraWaveBand.enabled = tools;
    for (ControlState* s : {&c.comClear, &c.comWaveSelRefInd, &c.comMeltSchott, &c.fraWaveBand})
        s->visible = hasParent;
    c.comParent.enabled = editable() && static_cast<bool>(m_parentPicker);

    canSave = canSave && GetReady(kIndex);
    ShowSectionStatus();
    c.lblMeltName.text = MeltNameCaption(melt.parentSource.str(), melt.parentName.str(), code);
    c.comAdd.enabled = canSave && m_maySave;
}

void frm7Melt::LockForReview() {
    frm7MeltControls& c = m_controls;
    for (ControlState* s : {&c.comClear, &c.comWaveSelRefInd, &c.comClipPaste, &c.comIndexFit, &c.comIndexSort,
                            &c.comMeltSchott, &c.comWaveBand, &c.comAdd, &c.comParent, &c.txtMeltCode})
        s->enabled = false;
    c.lstWaveBand.enabled = false;
    ssRefInd().setLock(GridBlock::all(), true);
}

// ---- The pairs grid -------------------------------------------------------

void frm7Melt::SetupPairsGrid() {
    IGrid& grid = ssRefInd();
    grid.clearText(GridBlock::all());
    grid.setMaxRows(kPairRows);
    grid.setMaxCols(kPairCols);
    const char* const headings[kPairCols] = {" ",
                                             "wave [nm]",
                                             "melt glass index [user data]",
                                             "parent glass index [cat data]",
                                             "difference [user-cat]",
                                             "difference [fit-cat]"};
    const CellType types[kPairCols] = {CellType::staticText(),
                                       CellType::number(4, 10, 30000),
                                       CellType::number(7, 1, 9),
                                       CellType::staticText(CellAlign::Right),
                                       CellType::staticText(CellAlign::Right),
                                       CellType::staticText(CellAlign::Right)};
    // Room for each heading whole; the numbers ("30000.0000", "1.5168000") are narrower.
    const double widths[kPairCols] = {3, 11, 28, 29, 21, 20};
    for (int c = 1; c <= kPairCols; ++c) {
        grid.setText(c, 0, headings[c - 1]);
        grid.setCellType(GridBlock::columns(c, c), types[c - 1]);
        grid.setLock(GridBlock::columns(c, c), c != kPairWave && c != kPairMelt);
        grid.setColWidth(c, widths[c - 1]);
    }
    hideFitColumn();
}

void frm7Melt::hideFitColumn() { ssRefInd().setColHidden(kPairFitDiff, true); }

void frm7Melt::SetWaveSymbol(int row, float wave) { ssRefInd().setText(kPairSymbol, row, WaveSymbolText(wave)); }

void frm7Melt::RefreshPairRow(int row) {
    IGrid& grid = ssRefInd();
    const auto wave = static_cast<float>(cellNumber(grid, kPairWave, row));
    float parentIndex = 0;
    if (wave != 0) {
        parentIndex = parentIndexAt(m_parent, wave);
        SetWaveSymbol(row, wave);
    } else {
        grid.setText(kPairSymbol, row, "");  // no wavelength, no line
    }
    const auto meltIndex = static_cast<float>(cellNumber(grid, kPairMelt, row));
    grid.setText(kPairParent, row, parentIndexText(parentIndex));
    grid.setText(kPairUserDiff, row, userDifferenceText(meltIndex, parentIndex));
}

void frm7Melt::FillPairsGrid() {
    const MeltBlock& melt = m_glass.melt;
    const int count = std::clamp<int>(melt.pairCount, 0, kMaxMeltPairs);
    if (count == 0) return;
    std::string text;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(count); ++i) {
        const float wave = melt.pairWavelength[i];
        const double meltIndex = melt.pairIndex[i];
        const float parentIndex = parentIndexAt(m_parent, wave);
        text += WaveSymbolText(wave) + '\t' + ShortestText(wave) + '\t' + ShortestText(meltIndex) + '\t' +
                parentIndexText(parentIndex) + '\t' + userDifferenceText(static_cast<float>(meltIndex), parentIndex) +
                kCrLf;
    }
    ssRefInd().setBlockText(GridBlock::range(kPairSymbol, 1, kPairUserDiff, count), text);
}

void frm7Melt::ReadPairsFromGrid() {
    IGrid& grid = ssRefInd();
    struct Pair {
        float wave;
        double index;
    };
    std::vector<Pair> pairs;
    for (int r = 1; r <= grid.maxRows(); ++r) {
        const auto wave = static_cast<float>(cellNumber(grid, kPairWave, r));
        // The index as a single, as the grid holds it: about seven digits.
        const double index = static_cast<float>(cellNumber(grid, kPairMelt, r));
        if (wave != 0 && index != 0) pairs.push_back({wave, index});
    }
    if (pairs.size() > static_cast<std::size_t>(kMaxMeltPairs)) pairs.resize(kMaxMeltPairs);
    sortDescending(pairs, [](const Pair& p) { return p.wave; });
    MeltBlock& melt = m_glass.melt;
    melt.pairCount = static_cast<std::int16_t>(pairs.size());
    melt.pairWavelength.fill(0);
    melt.pairIndex.fill(0);
    for (std::size_t i = 1; i <= pairs.size(); ++i) {
        melt.pairWavelength[i] = pairs[i - 1].wave;
        melt.pairIndex[i] = pairs[i - 1].index;
    }
    grid.clearText(GridBlock::all());
    FillPairsGrid();
}

std::vector<float> frm7Melt::ReadGridWavelengths() const {
    IGrid& grid = m_view->ssRefInd();
    std::vector<float> waves;
    for (int r = 1; r <= grid.maxRows(); ++r) {
        double v = 0;
        if (ParseNumber(grid.text(kPairWave, r), v) && v != 0) waves.push_back(static_cast<float>(v));
    }
    sortDescending(waves, [](float w) { return w; });
    return waves;
}

void frm7Melt::pairsChanged() {
    hideFitColumn();
    m_controls.comIndexFit.enabled = true;
    m_controls.comShowDispConsts.enabled = false;
    m_controls.comShowIndex.enabled = false;
    m_controls.lblError.text.clear();
    SetReady(kIndex, false);
    UpdateMeltState();
}

void frm7Melt::ssRefInd_Change(int col, int row) {
    if (!m_open || !editable() || (col != kPairWave && col != kPairMelt) || row < 1 || row > kPairRows) return;
    Refresh refresh(*this);
    RefreshPairRow(row);
    pairsChanged();
}

void frm7Melt::comClear_Click() {
    if (!m_open || !editable()) return;
    Refresh refresh(*this);
    ssRefInd().clearText(GridBlock::all());
    MeltBlock& melt = m_glass.melt;
    melt.meltFlag = kFalse;
    melt.pairCount = 0;
    melt.secondCount = 0;
    melt.pairWavelength.fill(0);
    melt.pairIndex.fill(0);
    melt.secondTable[1].fill(0);
    melt.secondTable[3].fill(0);
    pairsChanged();
}

void frm7Melt::comClipPaste_Click() {
    if (!m_open || !editable() || m_glass.melt.parentName.isBlank()) return;
    Refresh refresh(*this);
    IGrid& grid = ssRefInd();
    // Only the wavelength and the index take typing: a paste starts in one of them.
    const int col = grid.activeCol() == kPairMelt ? kPairMelt : kPairWave;
    PasteGridText(grid, col, std::max(grid.activeRow(), 1), m_services.clipboard->text(),
                  [this](int c, int r) { ssRefInd_Change(c, r); });
}

void frm7Melt::comWaveSelRefInd_Click() {
    if (!m_open || !editable() || !m_wavePicker || m_glass.melt.parentName.isBlank()) return;
    Refresh refresh(*this);
    IGrid& grid = ssRefInd();
    const int row = grid.activeRow();
    if (row < 1) return;
    int nWaves = 0;
    auto sWave = static_cast<float>(cellNumber(grid, kPairWave, row));
    std::vector<float> sWaves;
    if (!m_wavePicker(nWaves, sWave, sWaves, 0) || nWaves < 1) return;
    if (nWaves == 1) sWaves = {sWave};
    else if (sWaves.size() > static_cast<std::size_t>(nWaves)) sWaves.resize(static_cast<std::size_t>(nWaves));
    std::vector<std::string> values;
    for (float w : sWaves) values.push_back(ShortestText(w));
    // Rows past the last one are dropped; each written cell counts as typed.
    PutColumnValues(grid, kPairWave, row, values, [this](int c, int r) { ssRefInd_Change(c, r); });
}

void frm7Melt::comMeltSchott_Click() {
    if (!m_open || !editable() || !m_meltSheet || m_glass.melt.parentName.isBlank()) return;
    Refresh refresh(*this);
    GlassRecord sheet = m_glass;
    if (!m_meltSheet(sheet)) return;
    m_glass = sheet;
    // The sheet's seven pairs replace every row, not only the first seven.
    ssRefInd().clearText(GridBlock::all());
    FillPairsGrid();
    pairsChanged();
}

void frm7Melt::comIndexSort_Click() {
    if (!m_open || !editable()) return;
    Refresh refresh(*this);
    ReadPairsFromGrid();
    // A fitted melt's pairs are in order already: its fit column still belongs to them.
    IGrid& grid = ssRefInd();
    if (GetReady(kIndex) && !grid.colHidden(kPairFitDiff)) {
        const FitDifferences differences = ShowFitDifferences(m_glass, m_parent);
        if (m_glass.melt.pairCount > 0)
            grid.setBlockText(GridBlock::range(kPairFitDiff, 1, kPairFitDiff, m_glass.melt.pairCount),
                              differences.columnText);
    }
}

void frm7Melt::lstWaveBand_Click(int index) {
    if (!m_open || !editable() || m_listFilling) return;
    const MemoryListControl& list = m_controls.lstWaveBand.list;
    if (index < 0 || index >= list.count()) return;
    const std::int32_t b = list.itemData(index);
    if (b < 0 || b >= static_cast<std::int32_t>(m_bands.size())) return;
    Refresh refresh(*this);
    m_controls.lstWaveBand.list.select(index);
    IGrid& grid = ssRefInd();
    grid.clearText(GridBlock::all());
    const std::vector<float>& waves = m_bands[static_cast<std::size_t>(b)].waves;
    const int n = std::min<int>(static_cast<int>(waves.size()), kPairRows);
    for (int k = 1; k <= n; ++k) {
        grid.setText(kPairWave, k, ShortestText(waves[static_cast<std::size_t>(k - 1)]));
        RefreshPairRow(k);
    }
    pairsChanged();
}

void frm7Melt::comWaveBand_Click() {
    if (!m_open || !editable()) return;
    Refresh refresh(*this);
    IBoxes& boxes = *m_services.boxes;
    const std::string name = boxes.input(kBandNamePrompt, kBandNameTitle, "");
    if (name.empty()) return;
    std::vector<float> waves = ReadGridWavelengths();
    if (static_cast<int>(waves.size()) < kMinBandWaves) return;
    if (!AddMeltWaveBand(m_bands, name, std::move(waves), boxes)) return;
    FillWaveBandList();
    std::string error;
    if (!SaveMeltWaveBands(m_bands, programFolder(), &error))
        boxes.show(kBoxExclamation, "The waveband '" + name + "' is in the list for now, but it could not be kept in '" +
                                        kMeltWaveBandFile + "':" + kCrLf + kCrLf + error,
                   kBandNameTitle);
}

// ---- Melt code and parent ---------------------------------------------------

void frm7Melt::txtMeltCode_Commit(const std::string& text) {
    if (!m_open || !editable()) return;
    Refresh refresh(*this);
    std::string typed = TrimBlanks(text);
    // Typed after the request without replacing it: the code is what follows.
    const std::string_view request = kEnterMeltCode;
    if (typed.size() > request.size() && typed.compare(0, request.size(), request) == 0)
        typed = TrimBlanks(typed.substr(request.size()));
    if (typed != kEnterMeltCode && UpperCase1252(typed) != UpperCase1252(m_glass.melt.meltCode.str())) {
        m_glass.melt.meltCode.set(typed);
    }
    // The box shows the code the record holds, whatever was typed.
    UpdateMeltState();
}

void frm7Melt::comParent_Click() {
    if (!m_open || !editable() || !m_parentPicker) return;
    Refresh refresh(*this);
    GlassRecord chosen;
    InitGlassRecord(chosen);
    if (!m_parentPicker(chosen)) return;
    m_glass = chosen;
    m_parent = chosen;
    m_fitReport.clear();
    m_controls.pnlPolyType.text = FormulaName(m_glass.definition.formulaType);
    UpdateMeltState();
    ssRefInd().clearText(GridBlock::all());
    m_controls.comIndexFit.enabled = true;
    m_controls.comShowDispConsts.enabled = false;
    m_controls.comShowIndex.enabled = false;
    m_controls.lblError.text.clear();
    hideFitColumn();
}

// ---- The fit and its two boxes ----------------------------------------------

void frm7Melt::comIndexFit_Click() {
    if (!m_open || !editable()) return;
    Refresh refresh(*this);
    m_services.cursor->showHourglass();
    ReadPairsFromGrid();
    if (m_glass.melt.pairCount < kMinMeltPairs) m_services.cursor->showDefault();  // before the box asks for more
    const MeltFitResult result = FitMeltGlass(m_glass, m_parent, m_fitReport, *m_services.boxes);
    frm7MeltControls& c = m_controls;
    IGrid& grid = ssRefInd();
    switch (result.outcome) {
    case MeltFitOutcome::kFitted: {
        const int n = m_glass.melt.pairCount;
        grid.setRedraw(false);
        if (n > 0) grid.setBlockText(GridBlock::range(kPairFitDiff, 1, kPairFitDiff, n), result.differences.columnText);
        grid.setRedraw(true);
        grid.setColHidden(kPairFitDiff, false);
        c.lblError.text = result.differences.averageLine;
        c.comIndexFit.enabled = false;
        c.comShowDispConsts.enabled = true;
        c.comShowIndex.enabled = true;
        break;
    }
    case MeltFitOutcome::kFitFailed:
        // The differences would be those of the formula before the fit.
        hideFitColumn();
        c.lblError.text.clear();
        c.comShowDispConsts.enabled = false;
        c.comShowIndex.enabled = false;
        break;
    case MeltFitOutcome::kTooFewPairs:
        c.lblError.text.clear();
        break;
    case MeltFitOutcome::kParentUnusable:
    case MeltFitOutcome::kNoWaveband:
        break;
    }
    UpdateMeltState();
    m_services.cursor->showDefault();
}

void frm7Melt::comShowDispConsts_Click() {
    if (m_open) ShowDispersionConstants(m_glass, m_parent, *m_services.boxes);
}

void frm7Melt::comShowIndex_Click() {
    if (m_open) ShowIndexComparison(m_glass, m_parent, *m_services.boxes);
}

// ---- Save -----------------------------------------------------------------

std::string frm7Melt::BuildMeltName(GlassRecord& glass) const {
    glass.definition.name.set(MeltName(glass.melt.parentName.str(), glass.melt.meltCode.str()));
    return DisplayKey(glass);
}

void frm7Melt::comAdd_Click() {
    if (!m_open || !m_maySave) return;
    Refresh refresh(*this);
    SaveRequest request;
    request.isNew = m_mode == kModeNew;
    request.openedKey = m_openingKey;
    request.keyOf = [this](GlassRecord& glass) { return BuildMeltName(glass); };
    request.beforeStore = [](GlassRecord& glass) { glass.melt.meltFlag = kTrue; };
    const SaveResult result = SaveGlassRecord(m_glass, request, *m_services.store, *m_services.boxes);
    if (result != SaveResult::Saved) {
        UpdateMeltState();  // the normalisation may have renewed the glass code
        return;
    }
    if (m_mode == kModeNew) resetAfterSave();
    else if (m_services.forms->CurrentPage() == kPageManage && m_services.editors) m_services.editors->UpdatesGlasssAftEdit();
    SetEditCount(kGeneral, 0);
    UpdateMeltState();
}

void frm7Melt::resetAfterSave() {
    InitGlassRecord(m_glass);
    for (int n : {kGeneral, kIndex, kTrans, kOther}) SetReady(n, false);
    SetReady(kDnDt, true);
    // The next melt starts from nothing: its parent is chosen anew.
    InitGlassRecord(m_parent);
    m_fitReport.clear();
    m_controls.pnlPolyType.text.clear();
    m_controls.lblError.text.clear();
    m_controls.comIndexFit.enabled = true;
    m_controls.comShowDispConsts.enabled = false;
    m_controls.comShowIndex.enabled = false;
    ActivateForm(true);
}
