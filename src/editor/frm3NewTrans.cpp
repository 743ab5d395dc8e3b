// The editor's Transmittance tab: points typed as total or internal
// transmittance or as absorption coefficient, the other two computed, shown
// in percent or as fractions, recalculated for a new sample thickness, and
// sorted and checked into the record's transmission tables.
#include <span>

#include "editor/TransGrid.h"
#include "editor/frm3New.h"
#include "model/DataEntry.h"
#include "model/NumberFormat.h"
#include "model/TransCalcs.h"
#include "platform/Boxes.h"
#include "platform/Clipboard.h"
#include "platform/Grid.h"
#include "platform/NumberText.h"

namespace {

// A cell as the edit rule reads it: a number as a single, anything else 0.
float cellValue(const IGrid& grid, int col, int row) {
    double v = 0;
    return ParseNumber(grid.text(col, row), v) ? static_cast<float>(v) : 0.0f;
}

}  // namespace

void frm3New::ClearTransGrid() { ssTrans().clearText(GridBlock::all()); }

void frm3New::SetupTransGrid() {
    IGrid& grid = ssTrans();
    const bool percent = m_transDisplayUnit == 0;
    grid.setMaxRows(kTransGridRows);
    grid.setMaxCols(kTransGridCols);
    const char* const headings[kTransGridCols] = {"wave [nm]", percent ? "Total trans [%]" : "Total trans",
                                                  percent ? "Internal trans [%]" : "Internal trans",
                                                  "Absorption coeff"};
    const double widths[kTransGridCols] = {11, 16, 19, 17};
    for (int c = 1; c <= kTransGridCols; ++c) {
        grid.setText(c, 0, headings[c - 1]);
        grid.setColWidth(c, widths[c - 1]);
    }
    grid.setCellType(GridBlock::columns(1, 1), CellType::number(2, 10, 30000));
    grid.setLock(GridBlock::columns(1, 1), false);
    // Of the three quantities only the one the user gives is typed in.
    const std::int16_t given = m_glass.measured.transDataType;
    for (int c = 2; c <= kTransGridCols; ++c) {
        const bool input = given == c - 2;
        CellType type = CellType::staticText(CellAlign::Right);  // computed numbers line up with typed ones
        if (input && c == 4) type = CellType::number(6, 0, 1);
        else if (input) type = percent ? CellType::number(1, 0, 100) : CellType::number(4, 0, 1);
        grid.setCellType(GridBlock::columns(c, c), type);
        grid.setLock(GridBlock::columns(c, c), !input);
    }
}

void frm3New::FillTransGrid() {
    TransPointCount(m_glass);
    showTransThickness();
    std::string text;
    for (int i = 1; i <= kTransGridRows; ++i) text += TransRowText(m_glass.measured, i, m_transDisplayUnit) + "\r\n";
    ssTrans().setBlockText(GridBlock::range(1, 1, kTransGridCols, kTransGridRows), text);
}

void frm3New::showTransThickness() {
    MeasuredData& m = m_glass.measured;
    if (!(m.thickness > 0)) {
        m.thickness = kDefaultThickness;
        if (!m_filling) m_boxes.show(kBoxPlain, kThicknessZeroMessage);
    }
    m_controls.txtTransGlassWidth.text = Format(m.thickness, kTransThicknessFormat);
}

void frm3New::showTransRow(int row) {
    ssTrans().setBlockText(GridBlock::range(1, row, kTransGridCols, row),
                           TransRowText(m_glass.measured, row, m_transDisplayUnit));
}

void frm3New::applyTransTypeStates() {
    const bool data = m_glass.measured.transDataType != kNoTransData;
    m_controls.txtTransGlassWidth.enabled = data;
    m_controls.comTransSort.enabled = data;
    ssTrans().setEnabled(data);
}

void frm3New::cmbTransType_Click(int index) {
    if (!m_open || !editable() || index < kTotalTransmission || index > kNoTransData) return;
    Refresh refresh(*this);
    m_controls.cmbTransType.list.select(index);
    MeasuredData& m = m_glass.measured;
    if (m_eventGuard) return;
    // Chosen again, "No Data Available" makes the section ready again (after
    // a clear); a point type chosen again only shows its points again.
    const bool leftNoData = m.transDataType == kNoTransData && index != kNoTransData;
    m.transDataType = static_cast<std::int16_t>(index);
    applyTransTypeStates();
    if (index == kNoTransData) {
        // 0 would read as fully transparent; 99 is the empty value.
        MarkNoTransData(m_glass);
        SetReady(kTrans, true);
    } else {
        IGrid& grid = ssTrans();
        grid.setRedraw(false);
        SetupTransGrid();
        FillTransGrid();
        grid.setRedraw(true);
        // The tables hold no data now; the points need a check first.
        if (leftNoData) SetReady(kTrans, false);
    }
    UpdateStatusPanels();
}

void frm3New::cmbTransDisp_Click(int index) {
    if (!m_open || index < 0 || index > 1) return;
    Refresh refresh(*this);
    m_controls.cmbTransDisp.list.select(index);
    if (m_eventGuard || index == m_transDisplayUnit) return;
    m_transDisplayUnit = static_cast<std::int16_t>(index);
    SetupTransGrid();
    FillTransGrid();
}

void frm3New::txtTransGlassWidth_Commit(const std::string& text) {
    if (!m_open || !editable() || m_glass.measured.transDataType == kNoTransData) return;
    Refresh refresh(*this);
    if (text == m_controls.txtTransGlassWidth.text) return;
    std::string typed = text;
    double value = 0;
    float thickness = 0;
    if (ValidateNumberString(typed, true, m_boxes) && ParseNumber(typed, value) && ToSingle(value, thickness)) {
        MeasuredData& m = m_glass.measured;
        if (thickness > 0 && thickness != m.thickness) {
            m.thickness = thickness;
            RecalculateTransPoints(m_glass);
            FillTransGrid();
            // The standard tables were made at the old thickness.
            SetReady(kTrans, false);
            UpdateStatusPanels();
        }
    }
    showTransThickness();
}

void frm3New::ssTrans_Change(int col, int row) {
    if (!m_open || !editable() || row < 1 || row > kTransGridRows) return;
    // "No Data Available" takes no points (the grid is disabled).
    if (m_glass.measured.transDataType == kNoTransData) return;
    Refresh refresh(*this);
    MeasuredData& m = m_glass.measured;
    const auto k = static_cast<std::size_t>(row);
    const float value = cellValue(ssTrans(), col, row);
    const float maximum = m_transDisplayUnit == 1 ? 1.0f : 100.0f;
    const float percent = m_transDisplayUnit == 1 ? value * 100 : value;
    const double thickness = m.thickness;
    // A transmittance of 0 or less is refused like one above the maximum: as
    // an absorption coefficient it would read as fully transparent.
    const bool transmittance = value > 0 && value <= maximum;
    double f = 0;
    switch (col) {
    case 1: {
        const bool noPoint = m.transWavelength[k] == 0 && m.absorption[k] == 0 && m.totalTrans[k] == 0 &&
                             m.internalTrans[k] == 0;
        m.transWavelength[k] = value < 1 || value >= 100000 ? 0.0f : value;
        // A wavelength alone is no point yet: until its value is typed the row
        // shows "----", and "Sort & check" leaves it out rather than keep it
        // as a fully transparent point.
        if (noPoint && m.transWavelength[k] > 0) m.absorption[k] = m.totalTrans[k] = m.internalTrans[k] = kNoTotal;
        break;
    }
    case 2: {
        if (!transmittance) break;
        const FactorProblem problem = ReflectionFactor(m_glass, m.transWavelength[k], f);
        if (problem != FactorProblem::None) {
            m_boxes.show(kBoxPlain, FactorProblemMessage(problem));
            break;
        }
        m.totalTrans[k] = percent;
        const double internal = percent / f;
        if (internal >= 100) {
            m_boxes.show(kBoxPlain, ReflectionLossMessage(f));
            m.totalTrans[k] = 0;
            m.internalTrans[k] = 0;
            m.absorption[k] = 0;
        } else {
            AbsorptionFromInternal(internal, thickness, m.absorption[k]);
            m.internalTrans[k] = static_cast<float>(internal);
        }
        break;
    }
    case 3:
        if (!transmittance || !AbsorptionFromInternal(percent, thickness, m.absorption[k])) break;
        m.internalTrans[k] = percent;
        m.totalTrans[k] = ReflectionFactor(m_glass, m.transWavelength[k], f) == FactorProblem::None
                              ? static_cast<float>(percent * f)
                              : kNoTotal;
        break;
    case 4:
        if (value < 0 || value > 1) break;
        m.absorption[k] = value;
        m.internalTrans[k] = InternalFromAbsorption(value, thickness);
        m.totalTrans[k] = ReflectionFactor(m_glass, m.transWavelength[k], f) == FactorProblem::None
                              ? static_cast<float>(m.internalTrans[k] * f)
                              : kNoTotal;
        break;
    default: return;
    }
    // The row shows what is stored: a refused value is put back.
    showTransRow(row);
    SetReady(kTrans, false);
    UpdateStatusPanels();
}

void frm3New::comTransSort_Click() {
    if (!m_open || !editable() || m_glass.measured.transDataType == kNoTransData) return;
    Refresh refresh(*this);
    const int count = CompactTransPoints(m_glass);
    IGrid& grid = ssTrans();
    grid.setRedraw(false);
    ClearTransGrid();
    FillTransGrid();
    grid.setRedraw(true);
    MeasuredData& m = m_glass.measured;
    AbsorptionAtStandardWavelengths(m_glass.standardAbsorption, m.thickness, std::span(m.transWavelength.items),
                                    std::span(m.absorption.items));
    SetReady(kTrans, count >= 3);
    IncrementEditCount(kTrans);
    UpdateStatusPanels();
}

void frm3New::ClearTrans() {
    ClearTransGrid();
    MeasuredData& m = m_glass.measured;
    m.transCount = 0;
    for (auto* a : {&m.transWavelength, &m.absorption, &m.totalTrans, &m.internalTrans}) a->fill(0);
    SetReady(kTrans, false);
    SetupTransGrid();
    FillTransGrid();
    UpdateStatusPanels();
}

void frm3New::PasteTrans() {
    if (m_glass.measured.transDataType == kNoTransData) return;  // the grid is disabled
    IGrid& grid = ssTrans();
    PasteGridText(grid, std::max(grid.activeCol(), 1), std::max(grid.activeRow(), 1), m_clipboard.text(),
                  [this](int col, int row) { ssTrans_Change(col, row); });
}
