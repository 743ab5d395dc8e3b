// The wavelength picker: a modal dialog over the three named-wavelength
// tables (spectral lines, laser lines, typical transmission wavelengths).
// One press on a row picks that wavelength and closes the dialog; with
// "Select multiple wavelengths" ticked, blocks of rows are selected and OK
// hands back their wavelengths in the order selected.
//
// The dialog is one object for the whole run: the multiple-selection choice
// and the last result survive from one use to the next. Each use makes a new
// window through the view maker and drops it again when it closes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/WaveNames.h"

class CNewMsg;
class IGrid;
class IPlacedWindow;

inline constexpr const char* kWavePickCaption = "Wavelengths [nm]";
inline constexpr const char* kWavePickTabCaptions[3] = {"&Glass catalog lines", "&Laser lines", "&Trans"};
inline constexpr const char* kWavePickLabelNamed = "Pre-defined spectral && laser wavelengths";
inline constexpr const char* kWavePickLabelTrans = "Typical wavelengths for tranmission";
inline constexpr const char* kWavePickMultiCaption = "Select multiple wavelengths";
inline constexpr const char* kWavePickOkCaption = "&OK";
inline constexpr const char* kWavePickCancelCaption = "&Cancel";
inline constexpr const char* kWavePickHintKey = "WaveSelector";
inline constexpr const char* kWavePickHintTitle = "Standard wavelengths";
inline constexpr float kWavePickHintDelay = 250;

// The tabs, in order; each shows one grid.
enum WavePickTab : int { kTabSpectral = 0, kTabLaser = 1, kTabTrans = 2 };
inline constexpr int kWavePickTabs = 3;

// The one-time hint shown when the picker opens.
std::string WavePickHint();

// A wavelength as the spectral and transmission grids show it: a pad of four
// blanks (up to 999.99), two (up to 9999.99) or one, then "0.0###", the whole
// left-aligned in exactly 12 characters.
std::string FixedWaveText(float wave);

// What the editor and the melt maker call. Opens the picker modally on tab
// nTab (0 spectral, 1 laser, 2 transmission), the row of sWave (the present
// cell's value; 0 for none) made active in each grid.
//  True: the user picked. nWaves wavelengths came back: sWave is the first,
//  sWaves all of them in the order selected (sWaves[k] belongs k rows below
//  the present one). One pick: nWaves 1, sWaves {sWave}.
//  False (Cancel, the close box, OK with nothing selected): the arguments are
//  left as they were.
class IWavePicker {
public:
    virtual ~IWavePicker() = default;
    virtual bool Display(int& nWaves, float& sWave, std::vector<float>& sWaves, int nTab) = 0;
};

// The picker's window as its logic sees it.
class IWaveSelectView {
public:
    virtual ~IWaveSelectView() = default;
    // ssWavesFraun, ssWavesLaser, ssWavesCustom.
    virtual IGrid& grid(int tab) = 0;
    virtual IPlacedWindow& placement() = 0;
    // tabWaveSel. The user's change of tab calls tabWaveSel_Click; the
    // logic's own need not.
    virtual void showTab(int tab) = 0;
    virtual int shownTab() const = 0;
    // lblWave: the text as the system writes it ("&&" shows one "&").
    virtual void setWaveLabel(const std::string& text) = 0;
    // chkMultiWaves. The user's change calls chkMultiWaves_Click; the
    // logic's own need not.
    virtual void setMultiChecked(bool checked) = 0;
    virtual void setOkEnabled(bool enabled) = 0;
    // Shows the window modally; returns when it has closed.
    virtual void showModal() = 0;
    virtual void closeWindow() = 0;
};

class popEditParamWave : public IWavePicker {
public:
    using ViewMaker = std::function<std::unique_ptr<IWaveSelectView>(popEditParamWave&)>;

    // hints must outlive the picker; makeView makes the window of one use.
    popEditParamWave(CNewMsg& hints, ViewMaker makeView);

    bool Display(int& nWaves, float& sWave, std::vector<float>& sWaves, int nTab) override;

    // The window's events.
    void tabWaveSel_Click(int tab);
    void chkMultiWaves_Click(bool checked);
    void comOK_Click();
    void comCancel_Click();

    bool MultiMode() const { return m_multiMode; }
    const NamedWavelength& Picked() const { return m_picked; }

private:
    const std::vector<NamedWavelength>& table(int tab) const;
    void fillGrids();
    void setupGrid(int tab);
    std::string gridText(int tab) const;
    void preselect();
    void ssWaves_MouseDown(int tab, int x, int y);
    void close();

    CNewMsg& m_hints;
    ViewMaker m_makeView;
    IWaveSelectView* m_view = nullptr;  // while a use is open
    bool m_open = false;                // the window is shown and takes the user's choice

    float m_startWave = 0;
    int m_startTab = kTabSpectral;
    std::vector<NamedWavelength> m_spectral, m_laser, m_trans;
    NamedWavelength m_picked;
    int m_count = 0;
    float m_wave = 0;
    std::vector<float> m_waves;
    bool m_multiMode = false;
    bool m_accepted = false;
    bool m_filling = false;
};
