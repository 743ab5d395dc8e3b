// The editor's Refractive index tab: measured points fitted by a formula, or
// a formula's coefficients typed in and checked over their waveband.
#include "editor/IndexGrid.h"
#include "editor/frm3New.h"
#include "model/GlassData.h"
#include "platform/Boxes.h"
#include "platform/BusyCursor.h"
#include "platform/Clipboard.h"
#include "platform/Grid.h"

namespace {

std::string minPointsText(std::int16_t formulaType) {
    return "Min: " + std::to_string(FormulaCoefCount(formulaType)) + " points";
}

}  // namespace

void frm3New::SetupIndexTab() { SetupIndexGrid(ssRefInd(), m_glass.indexDataType); }

void frm3New::FillIndexTab() { FillIndexGrid(ssRefInd(), m_glass); }

void frm3New::applyIndexDataTypeStates() {
    frm3NewControls& c = m_controls;
    const bool coefficients = m_glass.indexDataType == kCoefficients;
    if (coefficients) {
        c.comIndexFit.text = "Check coeffs";
        c.comIndexFit.enabled = true;
        c.comIndexShow.enabled = false;
        c.lblIndexMinDataPoints.text.clear();
    } else {
        c.comIndexFit.text = "Fit Polynomial";
        c.comIndexShow.enabled = GetReady(kIndex);
        c.lblIndexMinDataPoints.text = minPointsText(m_glass.definition.formulaType);
    }
    c.comIndexSort.enabled = !coefficients;
    refreshToolButtons();
}

void frm3New::cmbIndexDataType_Click(int index) {
    if (!m_open || !editable() || index < 0 || index > 1) return;
    Refresh refresh(*this);
    m_controls.cmbIndexDataType.list.select(index);
    if (m_eventGuard || index == m_glass.indexDataType) {
        applyIndexDataTypeStates();
        return;
    }
    m_glass.indexDataType = static_cast<std::int16_t>(index);
    IGrid& grid = ssRefInd();
    grid.setRedraw(false);
    SetupIndexTab();
    FillIndexTab();
    grid.setRedraw(true);
    applyIndexDataTypeStates();
}

void frm3New::cmbIndexPolyType_Click(int index) {
    if (!m_open || !editable() || m_eventGuard) return;
    MemoryListControl& list = m_controls.cmbIndexPolyType.list;
    if (index < 0 || index >= list.count()) return;
    Refresh refresh(*this);
    list.select(index);
    const auto formulaType = static_cast<std::int16_t>(list.itemData(index));
    if (formulaType == m_glass.definition.formulaType) return;
    const bool coefficients = m_glass.indexDataType == kCoefficients;
    if (coefficients) {
        m_glass.definition.coefficients.fill(0);
    } else {
        ShowFitColumns(ssRefInd(), false);
        m_controls.comIndexShow.enabled = false;
    }
    // The coefficients no longer belong to the formula, whichever way the
    // index is given.
    SetReady(kIndex, false);
    UpdateStatusPanels();
    m_controls.comIndexFit.enabled = true;
    m_glass.definition.formulaType = formulaType;
    m_controls.lblError.text.clear();
    m_controls.lblIndexMinDataPoints.text = coefficients ? "" : minPointsText(formulaType);
    // The coefficient table takes the formula's layout; points stay as typed.
    if (coefficients) FillIndexTab();
}

void frm3New::ssRefInd_Change(int col, int row) {
    (void)col;
    if (!m_open || !editable()) return;
    Refresh refresh(*this);
    if (m_glass.indexDataType == kIndexData) {
        ApplyDefaultWeight(ssRefInd(), row);
        ShowFitColumns(ssRefInd(), false);
    }
    m_controls.comIndexFit.enabled = true;
    m_controls.comIndexShow.enabled = false;
    SetReady(kIndex, false);
    UpdateStatusPanels();
}

void frm3New::comIndexFit_Click() {
    if (!m_open || !editable()) return;
    Refresh refresh(*this);
    if (m_glass.indexDataType == kCoefficients) checkCoefficients();
    else fitIndexPoints();
}

void frm3New::fitIndexPoints() {
    IGrid& grid = ssRefInd();
    ReadIndexGrid(grid, m_glass);
    const std::int16_t formulaType = m_glass.definition.formulaType;
    const std::int16_t needed = FormulaCoefCount(formulaType);
    if (m_glass.indexPointCount < needed) {
        m_boxes.show(kBoxExclamation, "You need at least " + std::to_string(needed) + " full data points to fit a " +
                                          FormulaName(formulaType) + " polynomial.");
        m_controls.lblError.text.clear();
        return;
    }
    m_cursor.showHourglass();
    std::string errorText;
    const bool ok = FitIndexFormula(m_glass, m_fitReport, errorText, m_boxes);
    m_controls.lblError.text = ok ? errorText : "";
    if (ok) IncrementEditCount(kIndex);
    SetReady(kIndex, ok);
    if (ok) {
        FillFitColumns(grid, m_glass);
        indexBecameReady();
        m_controls.comIndexFit.enabled = false;
        m_controls.comIndexShow.enabled = true;
    } else {
        m_controls.comIndexShow.enabled = false;
    }
    // Residuals of a failed fit would belong to the formula before it.
    ShowFitColumns(grid, ok);
    UpdateStatusPanels();
    m_cursor.showDefault();
}

void frm3New::checkCoefficients() {
    bool inRange = false;
    const GlassDefinition checked = ReadCoefficientGrid(ssRefInd(), m_glass.definition, inRange);
    std::string report;
    bool ready = false;
    if (!inRange || !CoefficientReport(checked, report, ready)) {
        m_boxes.show(kBoxPlain, kNoWavebandMessage);
        return;
    }
    m_glass.definition = checked;
    SetReady(kIndex, ready);
    if (ready) indexBecameReady();
    UpdateStatusPanels();
    m_boxes.show(kBoxPlain, report);
}

void frm3New::indexBecameReady() { ComputeGlassCode(m_glass); }

void frm3New::comIndexShow_Click() {
    if (!m_open) return;
    m_boxes.show(kBoxPlain, ShowConstantsText(m_glass.definition, m_fitReport));
}

void frm3New::comIndexSort_Click() {
    if (!m_open || !editable() || m_glass.indexDataType != kIndexData) return;
    Refresh refresh(*this);
    IGrid& grid = ssRefInd();
    if (!ReadIndexGrid(grid, m_glass)) return;
    // A fitted record is sorted already: its fit columns still belong to its rows.
    if (GetReady(kIndex)) FillFitColumns(grid, m_glass);
    else ShowFitColumns(grid, false);
}

void frm3New::ClearIndex() {
    IGrid& grid = ssRefInd();
    grid.clearText(GridBlock::all());
    MeasuredData& m = m_glass.measured;
    for (auto* a : {&m.indexWavelength, &m.indexWavelengthUm, &m.index, &m.indexSquared, &m.fittedIndex, &m.residual})
        a->fill(0);
    m.weight.fill(0);
    m_glass.definition.coefficients.fill(0);
    m_glass.indexPointCount = 0;
    m_glass.definition.lowerWavelength = 0;
    m_glass.definition.upperWavelength = 0;
    m_glass.definition.glassCode = 0;
    SetReady(kIndex, false);
    SetupIndexTab();
    FillIndexTab();
    m_controls.lblError.text.clear();
    applyIndexDataTypeStates();
    UpdateStatusPanels();
}

void frm3New::PasteIndex() {
    IGrid& grid = ssRefInd();
    PasteGridText(grid, std::max(grid.activeCol(), 1), std::max(grid.activeRow(), 1), m_clipboard.text(),
                  [this](int col, int row) { ssRefInd_Change(col, row); });
}
