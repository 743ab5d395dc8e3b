// The melt maker (work page 7): a melt glass made from a parent catalogue
// glass and the wavelength/index pairs of its melt certificate. The user picks
// the parent from the catalogue database, types a melt code, enters at least
// four pairs (typed, pasted, from a waveband, from the wavelength picker or
// from a Schott melt sheet), fits and saves. The saved material is the
// parent's record with new index points, a refitted formula, the name
// parent & " *" & code, the melt flag set and the pairs in its MeltBlock.
//
// Opened empty as page 7, on a copy of a stored melt to change it, or
// read-only to review it. This is the window's logic: it keeps the working
// and the parent record and the state of every control in controls(); the
// window (qt/frm7MeltWindow) shows that state after each handler and hands
// the user's actions to the handlers below. The pairs grid is the window's.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/GlassEditing.h"
#include "model/WaveNames.h"
#include "editor/frm3New.h"
#include "model/GlassRecord.h"
#include "shell/GlassEditors.h"
#include "shell/ManageForms.h"

class CNewMsg;
class GlassesList;
class IBoxes;
class IBusyCursor;
class IClipboard;
class IGrid;
class IPlacedWindow;

inline constexpr int kPairRows = 20;
inline constexpr int kPairCols = 6;
// Columns of the pairs grid.
enum PairColumn : int { kPairSymbol = 1, kPairWave = 2, kPairMelt = 3, kPairParent = 4, kPairUserDiff = 5, kPairFitDiff = 6 };

inline constexpr const char* kMeltCaptionNew = "Melt glass: new";
inline constexpr const char* kMeltCaptionEdit = "Melt glass: edit";
inline constexpr const char* kMeltCaptionReview = "Melt glass: review";
inline constexpr const char* kEnterMeltCode = "Enter melt code!";
inline constexpr const char* kNoParentCaption = "<- select a parent glass for the melt";
inline constexpr const char* kMeltHintKey = "MeltMaker";
inline constexpr const char* kMeltHintTitle = "Melt derivative";
inline constexpr float kMeltHintDelayMs = 250;
inline constexpr const char* kBandNamePrompt = "Enter a name for this waveband";
inline constexpr int kMinBandWaves = 3;

// The one-time hint of the melt maker.
std::string MeltMakerHint();

// The name line: source & "  " & name & " *" & code; without a code the
// request for one; without a source the request for a parent.
std::string MeltNameCaption(const std::string& source, const std::string& name, const std::string& code);

// The material name of a melt: the parent's name, " *" and the code, cut to
// 30 characters and trimmed.
std::string MeltName(const std::string& parentName, const std::string& code);

struct frm7MeltControls {
    std::string caption;  // the window's
    ControlState comParent, txtMeltCode, lblMeltName, pnlPolyType, lblGlassCode, lblError;
    StatusPanelState pnlStatus;  // the Index section
    // The grid and its tools.
    ControlState pnlMelt, comClipPaste, comClear, comWaveSelRefInd, comMeltSchott, comIndexSort, comIndexFit,
        comShowDispConsts, comShowIndex;
    ControlState fraWaveBand, comWaveBand;
    ComboState lstWaveBand;
    ControlState comAdd, comOK;
};

// The window as the logic sees it.
class I7MeltView {
public:
    virtual ~I7MeltView() = default;
    virtual IGrid& ssRefInd() = 0;
    virtual IPlacedWindow& placement() = 0;
    // Shows the window, modeless; in front of the others when asked.
    virtual void showWindow(bool bringToFront) = 0;
    // Closes the window; the close ends in frm7Melt::Form_Unload.
    virtual void closeWindow() = 0;
    // The control states changed: show them.
    virtual void controlsChanged() = 0;
};

// A modal dialog over a record: True when the user accepted, the record then
// changed (popMeltParent, popMeltSchott).
using RecordDialog = std::function<bool(GlassRecord& glass)>;

struct MeltMakerServices {
    GlassesList* store = nullptr;  // all required but the folders
    ManageForms* forms = nullptr;
    GlassEditors* editors = nullptr;
    IBoxes* boxes = nullptr;
    IBusyCursor* cursor = nullptr;
    IClipboard* clipboard = nullptr;
    CNewMsg* hints = nullptr;
    // The catalogue program's folder (GetPathVQ when not given) and the
    // program folder of the wavebands file (this run's when not given).
    std::function<std::string()> catalogueFolder;
    std::function<std::string()> programFolder;
};

class frm7Melt : public IGlassEditor, public IWorkPage {
public:
    explicit frm7Melt(MeltMakerServices services);

    // The window; its grid reports the user's edits from here on.
    void setView(I7MeltView* view);
    // The dialogs: the parent picker, the melt sheet converter and the
    // wavelength picker. Without one its button stays disabled.
    void setParentPicker(RecordDialog picker);
    void setMeltSheet(RecordDialog sheet);
    void setWavelengthPicker(WavelengthPicker picker);

    // Entry points. Each opens the window unless it is open already (then it
    // is only brought to the front).
    std::int16_t DisplayNew(bool bModal);
    void DisplayEdit(ICallerWindow& frmCaller, const GlassRecord& glass) override;
    void DisplayReview(ICallerWindow& frmCaller, const GlassRecord& glass) override;
    void Display(bool bModal) override { DisplayNew(bModal); }
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

    // The user's actions.
    void comParent_Click();
    // Enter in the melt code box, or leaving it.
    void txtMeltCode_Commit(const std::string& text);
    void ssRefInd_Change(int col, int row);
    void comClipPaste_Click();
    void comClear_Click();
    void comWaveSelRefInd_Click();
    void comMeltSchott_Click();
    void comIndexSort_Click();
    void comIndexFit_Click();
    void comShowDispConsts_Click();
    void comShowIndex_Click();
    void lstWaveBand_Click(int index);
    void comWaveBand_Click();
    void comAdd_Click();
    void comOK_Click();

    bool isOpen() const { return m_open; }
    int mode() const { return m_mode; }
    const GlassRecord& record() const { return m_glass; }
    const GlassRecord& parent() const { return m_parent; }
    const frm7MeltControls& controls() const { return m_controls; }
    const std::vector<MeltWaveBand>& bands() const { return m_bands; }
    // The DisplayKey the window was opened with in edit mode.
    const std::string& openingKey() const { return m_openingKey; }
    // The constants report of the last fit.
    const std::string& fitReport() const { return m_fitReport; }

private:
    // Shows the control states once the outermost handler is done.
    class Refresh {
    public:
        explicit Refresh(frm7Melt& form);
        ~Refresh();
        Refresh(const Refresh&) = delete;
        Refresh& operator=(const Refresh&) = delete;

    private:
        frm7Melt& m_form;
    };

    bool opening();  // false: the window is open already
    bool openOver(ICallerWindow& frmCaller, const GlassRecord& glass, std::int16_t mode);
    void formLoad();
    void ActivateForm(bool bSkip);
    void FillWaveBandList();
    bool editable() const { return m_mode != kModeReview; }

    void SetupPairsGrid();
    void RefreshPairRow(int row);
    void SetWaveSymbol(int row, float wave);
    void FillPairsGrid();
    void ReadPairsFromGrid();
    std::vector<float> ReadGridWavelengths() const;
    // What every change of the pairs does: the fit is due again.
    void pairsChanged();
    void hideFitColumn();

    void UpdateMeltState();
    void ShowSectionStatus();
    void LockForReview();
    std::string BuildMeltName(GlassRecord& glass) const;
    void resetAfterSave();
    std::string catalogueFolder() const;
    std::string programFolder() const;

    IGrid& ssRefInd();

    MeltMakerServices m_services;
    I7MeltView* m_view = nullptr;
    RecordDialog m_parentPicker;
    RecordDialog m_meltSheet;
    WavelengthPicker m_wavePicker;

    GlassRecord m_glass;
    GlassRecord m_parent;
    frm7MeltControls m_controls;
    std::int16_t m_mode = kModeNew;
    std::string m_captionText;
    ICallerWindow* m_caller = nullptr;
    bool m_openedAsDialog = false;
    bool m_maySave = true;
    bool m_listFilling = false;
    std::vector<MeltWaveBand> m_bands;
    std::string m_openingKey;
    std::string m_fitReport;
    bool m_open = false;
    int m_refreshDepth = 0;
};
