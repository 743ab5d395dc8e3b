#include "editor/popEditParamWave.h"

#include <algorithm>
#include <cmath>

#include "model/NumberFormat.h"
#include "platform/Grid.h"
#include "platform/NumberText.h"
#include "shell/CNewMsg.h"
#include "shell/CSWindow.h"

namespace {

constexpr std::size_t kFixedWaveWidth = 12;
constexpr float kPreselectTolerance = 0.001f;

struct GridLayout {
    int cols;
    const char* headings[4];
    double widths[4];  // characters; 0 hides the column
};

// Widths leave room for the cell margins around the 12-character wavelengths.
// Spectral: wavelength, symbol, description. Laser: wavelength, laser, the
// empty column between the tagged lines' two TABs, tag. Transmission:
// wavelength, name (none of the built-in rows has one), an unused column.
constexpr GridLayout kLayouts[kWavePickTabs] = {
    {3, {"Wavelength", "Line", "Source"}, {14, 5, 18}},
    {4, {"Wavelength", "Laser", " ", "Line"}, {11, 18, 0, 8}},
    {3, {"Wavelength", " ", " "}, {14, 18, 0}},
};

std::string pad(float wave) {
    const double w = wave;
    if (w <= 999.99) return "    ";
    if (w <= 9999.99) return "  ";
    return " ";
}

bool blankOrNumber(const std::string& name) {
    return name.find_first_not_of(' ') == std::string::npos || IsNumberText(name);
}

}  // namespace

std::string WavePickHint() {
    return std::string("By ticking the check box at the bottom of this form, you can select multople wavelengths "
                       "for insertion.") +
           "\r\n\r\n" + "Use the mouse to select a block" + "\r\n" +
           "If you want to select non-adjacent wavelengths, then hold down the CTRL key";
}

std::string FixedWaveText(float wave) {
    std::string text = pad(wave) + Format(wave, "0.0###");
    text.resize(kFixedWaveWidth, ' ');
    return text;
}

popEditParamWave::popEditParamWave(CNewMsg& hints, ViewMaker makeView)
    : m_hints(hints), m_makeView(std::move(makeView)) {}

const std::vector<NamedWavelength>& popEditParamWave::table(int tab) const {
    switch (tab) {
        case kTabLaser: return m_laser;
        case kTabTrans: return m_trans;
        default: return m_spectral;
    }
}

bool popEditParamWave::Display(int& nWaves, float& sWave, std::vector<float>& sWaves, int nTab) {
    if (m_view || !m_makeView) return false;  // a use is already open
    m_count = 1;
    m_accepted = false;
    m_startWave = sWave;
    m_startTab = (nTab >= 0 && nTab < kWavePickTabs) ? nTab : kTabSpectral;
    m_trans = GetTransWavelengths();
    m_spectral = GetSpectralLines();
    m_laser = GetLaserLines();

    std::unique_ptr<IWaveSelectView> view = m_makeView(*this);
    if (!view) return false;
    m_view = view.get();
    for (int tab = 0; tab < kWavePickTabs; ++tab)
        m_view->grid(tab).events().mouseDown = [this, tab](int, int, int x, int y) { ssWaves_MouseDown(tab, x, y); };

    CSWindow().Center(m_view->placement());
    m_view->showTab(m_startTab);
    tabWaveSel_Click(m_startTab);
    m_view->setMultiChecked(m_multiMode);
    chkMultiWaves_Click(m_multiMode);
    m_hints.Display(WavePickHint(), kWavePickHintKey, true, kWavePickHintDelay, kWavePickHintTitle);
    fillGrids();
    // After the fill: a grid takes an active cell only among its rows.
    preselect();

    m_open = true;
    m_view->showModal();
    m_open = false;
    m_view = nullptr;
    view.reset();

    if (!m_accepted) return false;
    nWaves = m_count;
    sWave = m_wave;
    sWaves = m_waves;
    return true;
}

void popEditParamWave::setupGrid(int tab) {
    const GridLayout& layout = kLayouts[tab];
    IGrid& grid = m_view->grid(tab);
    grid.setMaxCols(layout.cols);
    grid.setColHidden(0, true);
    for (int c = 1; c <= layout.cols; ++c) {
        grid.setText(c, 0, layout.headings[c - 1]);
        const double width = layout.widths[c - 1];
        grid.setColHidden(c, width == 0);
        if (width > 0) grid.setColWidth(c, width);
    }
    grid.setCellType(GridBlock::all(), CellType::staticText());
    grid.setLock(GridBlock::all(), true);
}

std::string popEditParamWave::gridText(int tab) const {
    std::string text;
    for (const NamedWavelength& row : table(tab)) {
        switch (tab) {
            case kTabSpectral: text += FixedWaveText(row.wavelength) + "\t" + FormatWaveName(row, true); break;
            case kTabLaser:
                text += pad(row.wavelength) + GeneralText(row.wavelength) + "\t" + FormatWaveName(row, true);
                break;
            default:
                text += FixedWaveText(row.wavelength) + "\t" + (blankOrNumber(row.name) ? "" : row.name);
                break;
        }
        text += "\r\n";
    }
    return text;
}

void popEditParamWave::fillGrids() {
    m_filling = true;
    for (int tab = 0; tab < kWavePickTabs; ++tab) {
        IGrid& grid = m_view->grid(tab);
        grid.setRedraw(false);
        setupGrid(tab);
        grid.setMaxRows(static_cast<int>(table(tab).size()));
        grid.setBlockText(GridBlock::all(), gridText(tab));
        if (tab == kTabTrans) {
            // The typical transmission wavelengths have no names: no empty
            // column beside them.
            const auto& rows = table(tab);
            grid.setColHidden(2, std::all_of(rows.begin(), rows.end(),
                                             [](const NamedWavelength& r) { return blankOrNumber(r.name); }));
        }
        grid.setRedraw(true);
    }
    m_filling = false;
}

void popEditParamWave::preselect() {
    if (!(m_startWave > 0)) return;
    for (int tab = 0; tab < kWavePickTabs; ++tab) {
        const auto& rows = table(tab);
        const auto found = std::find_if(rows.begin(), rows.end(), [&](const NamedWavelength& r) {
            return std::fabs(r.wavelength - m_startWave) < kPreselectTolerance;
        });
        if (found != rows.end()) m_view->grid(tab).setActiveCell(1, static_cast<int>(found - rows.begin()) + 1);
    }
}

void popEditParamWave::tabWaveSel_Click(int tab) {
    if (!m_view) return;
    m_view->setWaveLabel(tab == kTabTrans ? kWavePickLabelTrans : kWavePickLabelNamed);
}

void popEditParamWave::chkMultiWaves_Click(bool checked) {
    if (!m_view) return;
    m_multiMode = checked;
    if (!checked) m_count = 1;
    m_view->setOkEnabled(checked);
}

void popEditParamWave::ssWaves_MouseDown(int tab, int x, int y) {
    if (!m_open || m_filling || m_multiMode) return;
    const auto cell = m_view->grid(tab).cellAt(x, y);
    const auto& rows = table(tab);
    // The headings and the empty area below the last row pick nothing.
    if (!cell || cell->row < 1 || cell->row > static_cast<int>(rows.size())) return;
    m_picked = rows[static_cast<std::size_t>(cell->row - 1)];
    if (!(m_picked.wavelength > 0)) return;
    m_count = 1;
    m_wave = m_picked.wavelength;
    m_waves = {m_wave};
    m_accepted = true;
    close();
}

void popEditParamWave::comOK_Click() {
    if (!m_open || !m_multiMode) return;
    const int tab = m_view->shownTab();
    const auto& rows = table(tab);
    const int last = static_cast<int>(rows.size());
    std::vector<float> picked;
    for (const RowSpan& block : m_view->grid(tab).selectedBlocks()) {
        int first = block.first, second = block.last;
        if (first < 1 && second < 1) first = 1, second = last;  // a selection of whole columns
        // Within a block from its top row down, however it was dragged.
        const int top = std::max(1, std::min(first, second));
        const int bottom = std::min(last, std::max(first, second));
        for (int r = top; r <= bottom; ++r) picked.push_back(rows[static_cast<std::size_t>(r - 1)].wavelength);
    }
    if (!picked.empty()) {
        m_waves = std::move(picked);
        m_count = static_cast<int>(m_waves.size());
        m_wave = m_waves.front();
        m_accepted = true;
    }
    close();
}

void popEditParamWave::comCancel_Click() {
    if (!m_open) return;
    m_accepted = false;
    close();
}

void popEditParamWave::close() {
    m_open = false;  // nothing more is taken from this use
    m_view->closeWindow();
}
