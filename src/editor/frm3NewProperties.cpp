// The editor's dn/dt and Other properties tabs: the temperature coefficient
// of the index as one value or as the constants of the Schott equation, and
// the property rows of the property table with the density, which the
// material needs, the status code, the price and the remarks.
#include "editor/frm3New.h"
#include "model/DataEntry.h"
#include "model/NumberFormat.h"
#include "model/PropertyTable.h"
#include "platform/Grid.h"
#include "platform/NumberText.h"
#include "platform/Text1252.h"

namespace {

constexpr int kDensityRow = 9;
constexpr int kStatusRow = 22;
constexpr int kRemarksRow = 24;
constexpr Colour kRequiredColour = 0x00FFFF;  // yellow
constexpr const char* kDnDtFormat = "0.000e+00";
constexpr const char* kDensityFormat = "0.000";
constexpr int kThermBoxes = 7;

// Calls f with the text field of a property row; false for the density row,
// the empty rows and rows outside the table.
template <class F>
bool withPropertyField(GlassProperties& p, int row, F&& f) {
    switch (row) {
    case 1: f(p.a3070); return true;
    case 2: f(p.a20300); return true;
    case 3: f(p.tg); return true;
    case 4: f(p.t1013); return true;
    case 5: f(p.t1076); return true;
    case 6: f(p.cp); return true;
    case 7: f(p.lambda); return true;
    case 10: f(p.eMod); return true;
    case 11: f(p.poisson); return true;
    case 12: f(p.torsion); return true;
    case 13: f(p.knoop); return true;
    case 15: f(p.cr); return true;
    case 16: f(p.fr); return true;
    case 17: f(p.sr); return true;
    case 18: f(p.ar); return true;
    case 19: f(p.pr); return true;
    case 21: f(p.bubble); return true;
    case kStatusRow: f(p.status); return true;
    case 23: f(p.price); return true;
    case kRemarksRow: f(p.remark); return true;
    default: return false;
    }
}

// A stored property text as its cell shows it: a number through the row's
// format, any other text as it stands.
std::string formatPropertyValue(int row, const std::string& stored) {
    const std::string text = TrimBlanks(stored);
    const std::string format = GetPropertyFormat(row);
    double v = 0;
    if (text.empty() || format.empty() || !ParseNumber(text, v)) return text;
    return Format(v, format);
}

// A typed property value as it is stored: the number, cleaned of what cannot
// belong to one and rounded to the row's format; no number gives "".
std::string convertPropertyValue(int row, const std::string& typed, IBoxes& boxes) {
    std::string text = TrimBlanks(typed);
    double v = 0;
    if (text.empty() || !ValidateNumberString(text, false, boxes) || !ParseNumber(text, v)) return "";
    double rounded = 0;
    float single = 0;
    if (!ParseNumber(Format(v, GetPropertyFormat(row)), rounded) || !ToSingle(rounded, single)) return "";
    return ShortestText(single);
}

}  // namespace

// ---- dn/dt ----------------------------------------------------------------

void frm3New::applyDnDtTypeStates() {
    const std::int16_t type = m_glass.notes.dnDtType;
    for (std::size_t i = 0; i < static_cast<std::size_t>(kThermBoxes); ++i) {
        const bool used = type == kSchottDnDt || (type == kSimpleDnDt && i == 0);
        m_controls.txtTherm[i].enabled = used;
        m_controls.lblTherm[i].visible = used;
    }
    m_controls.lblTherm[0].text = type == kSimpleDnDt ? "dn/dt" : "D0";
    m_controls.lblDnDtLinear.visible = type == kSimpleDnDt;
}

void frm3New::lstThermal_Click(int index) {
    if (!m_open || !editable() || index < kNoDnDt || index > kSchottDnDt) return;
    Refresh refresh(*this);
    m_controls.lstThermal.list.select(index);
    if (m_eventGuard || index == m_glass.notes.dnDtType) return;
    m_glass.notes.dnDtType = static_cast<std::int16_t>(index);
    applyDnDtTypeStates();
    // The first box edits another value now; it shows that one.
    FillDnDt();
}

void frm3New::FillDnDt() {
    const NotesAndDnDt& n = m_glass.notes;
    auto& boxes = m_controls.txtTherm;
    if (n.dnDtType == kSimpleDnDt) {
        boxes[0].text = Format(n.dnDtSimple, kDnDtFormat);
    } else if (n.dnDtType == kSchottDnDt) {
        const float constants[6] = {n.d0, n.d1, n.d2, n.e0, n.e1, n.lambdaTK};
        for (std::size_t i = 0; i < 6; ++i) boxes[i].text = Format(constants[i], kDnDtFormat);
        boxes[6].text = ShortestText(n.referenceTemperature);
    }
}

void frm3New::txtTherm_Commit(int box, const std::string& text) {
    NotesAndDnDt& n = m_glass.notes;
    if (!m_open || !editable() || box < 0 || box >= kThermBoxes || n.dnDtType == kNoDnDt) return;
    Refresh refresh(*this);
    if (text == m_controls.txtTherm[static_cast<std::size_t>(box)].text) return;
    std::string typed = text;
    double v = 0;
    float value = 0;
    if (ValidateNumberString(typed, true, m_boxes) && ParseNumber(typed, v) && ToSingle(v, value)) {
        float* const constants[kThermBoxes] = {&n.d0, &n.d1, &n.d2, &n.e0, &n.e1, &n.lambdaTK, &n.referenceTemperature};
        float& target = n.dnDtType == kSimpleDnDt ? n.dnDtSimple : *constants[box];
        target = value;
    }
    // The boxes show what is stored, also after a text that was no number.
    FillDnDt();
}

void frm3New::ClearDnDt() {
    NotesAndDnDt& n = m_glass.notes;
    n.dnDtSimple = 0;
    n.d0 = n.d1 = n.d2 = n.e0 = n.e1 = n.lambdaTK = 0;
    FillDnDt();
}

// ---- Other properties -----------------------------------------------------

void frm3New::SetupOtherGrid() {
    IGrid& grid = ssOther();
    const PropertyTable table = GetPropertyTable();
    grid.setMaxRows(kPropertyRows);
    grid.setMaxCols(kPropertyColumns);
    const char* const headings[kPropertyColumns] = {"Parameter", "Value", "Notes"};
    const double widths[kPropertyColumns] = {27, 14, 46};
    for (int c = 1; c <= kPropertyColumns; ++c) {
        grid.setText(c, 0, headings[c - 1]);
        grid.setColWidth(c, widths[c - 1]);
    }
    grid.setCellType(GridBlock::columns(1, 1), CellType::staticText());
    grid.setCellType(GridBlock::columns(3, 3), CellType::staticText());
    grid.setLock(GridBlock::columns(1, 1), true);
    grid.setLock(GridBlock::columns(3, 3), true);
    grid.setLock(GridBlock::columns(2, 2), false);
    std::string labels, names;
    for (std::size_t r = 1; r <= static_cast<std::size_t>(kPropertyRows); ++r) {
        labels += table[r][1] + " \r\n";
        names += table[r][2] + "\r\n";
        const std::string& flag = table[r][3];
        const char kind = flag.empty() ? 'T' : flag.front();
        CellType type = kind == 'F' ? CellType::number(3, 0, 0)
                        : kind == 'I' ? CellType::integer(0, 0)
                                      : CellType::editText();
        type.align = CellAlign::Left;  // one column of values, numbers or texts
        grid.setCellType(GridBlock::cell(2, static_cast<int>(r)), type);
    }
    grid.setBlockText(GridBlock::range(1, 1, 1, kPropertyRows), labels);
    grid.setBlockText(GridBlock::range(3, 1, 3, kPropertyRows), names);
}

void frm3New::FillOtherGrid() {
    IGrid& grid = ssOther();
    std::string values;
    for (int row = 1; row <= kPropertyRows; ++row) {
        std::string shown = " ";  // the empty rows between the groups
        if (row == kDensityRow) {
            shown = Format(m_glass.definition.density, kDensityFormat);
        } else if (row == kRemarksRow) {
            shown.clear();  // set alone below: a remark may hold a TAB
        } else {
            withPropertyField(m_glass.properties, row,
                              [&](const auto& field) { shown = formatPropertyValue(row, field.raw()); });
        }
        values += shown + "\r\n";
    }
    grid.setBlockText(GridBlock::range(2, 1, 2, kPropertyRows), values);
    grid.setText(2, kRemarksRow, m_glass.properties.remark.str());
    grid.setBackColour(GridBlock::range(1, kDensityRow, kPropertyColumns, kDensityRow), kRequiredColour);
    grid.setRedraw(true);
}

void frm3New::ssOther_Change(int col, int row) {
    if (!m_open || !editable() || col != 2 || row < 1 || row > kPropertyRows) return;
    Refresh refresh(*this);
    const std::string text = ssOther().text(col, row);
    if (row == kDensityRow) {
        double v = 0;
        float density = 0;
        if (!ParseNumber(text, v) || !ToSingle(v, density)) density = 0;
        // A density of 0 or less is not stored; the refill puts the stored one back.
        if (density > 0) {
            m_glass.definition.density = density;
            SetReady(kOther, true);
            UpdateStatusPanels();
        }
    } else if (row == kStatusRow) {
        const std::string typed = UpperCase1252(TrimBlanks(text));
        if (!typed.empty() && std::string_view("REAO").find(typed.front()) != std::string_view::npos)
            m_glass.properties.status.set(typed.substr(0, 1));
    } else if (row == kRemarksRow) {
        m_glass.properties.remark.set(text);
    } else {
        withPropertyField(m_glass.properties, row,
                          [&](auto& field) { field.set(convertPropertyValue(row, text, m_boxes)); });
    }
    FillOtherGrid();
}

void frm3New::ClearOther() {
    ssOther().clearText(GridBlock::columns(2, 2));
    m_glass.definition.density = 0;
    GlassRecord blank;
    InitGlassRecord(blank);
    m_glass.properties = blank.properties;
    m_glass.properties.status.set("A");
    SetReady(kOther, false);
    SetupOtherGrid();
    FillOtherGrid();
    UpdateStatusPanels();
}
