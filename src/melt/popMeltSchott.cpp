#include "melt/popMeltSchott.h"

#include <algorithm>
#include <optional>

#include "model/WaveNames.h"
#include "model/DataEntry.h"
#include "model/GlassData.h"
#include "model/NumberFormat.h"
#include "platform/Boxes.h"
#include "platform/BusyCursor.h"
#include "platform/NumberText.h"
#include "shell/CNewMsg.h"
#include "shell/CSWindow.h"

namespace {

const char* const kCrLf = "\r\n";
constexpr double kLowestIndex = 1.1;
constexpr double kHighestIndex = 2.2;
constexpr double kLargestSheetValue = 2.5;

const char* const kHintText =
    "Schott melt sheets provide index data as a mixture of values and differences.\r\n"
    "To save you haveing to work out a chain of calculations, all you have to do is enter the values given on the "
    "melt sheet\r\n\r\n"
    "Kalvenor will then calculate the index values at the C, C', F, F' & g wavelengths, and return these to the melt "
    "maker form";

// The seven lines of the pairs, longest first.
constexpr float kSheetLines[kSheetPairs] = {kLineC, kLineCp, kLineD, kLineE, kLineF, kLineFp, kLineG};

double& sheetCell(MeltBlock& block, int i) {
    return block.secondTable[kSheetColumn][static_cast<std::size_t>(i)];
}
double sheetCell(const MeltBlock& block, int i) {
    return block.secondTable[kSheetColumn][static_cast<std::size_t>(i)];
}

// The indices at the seven lines, in the order of kSheetLines.
std::array<double, kSheetPairs> sheetIndices(const MeltBlock& block) {
    auto v = [&](int i) { return sheetCell(block, i); };
    const double nd = v(1), ne = v(2);
    const double nC = nd - v(4);
    const double nF = v(5) + nd;
    const double ng = v(7) + nF;
    const double nFp = v(9) + ne;
    const double nCp = nFp - v(8);
    return {nC, nCp, nd, ne, nF, nFp, ng};
}

}  // namespace

std::array<double, kSheetValues> ComputeCatalogValues(const GlassRecord& glass) {
    const GlassDefinition& d = glass.definition;
    // An index the formula does not give is left out: a value that needs it
    // is 0 (not shown), never a difference against 0.
    auto n = [&](float wavelength) -> std::optional<double> {
        bool ok = false;
        const double value = EvaluateIndex(d, wavelength, d.formulaType, ok);
        return ok ? std::optional<double>(value) : std::nullopt;
    };
    const auto nC = n(kLineC), nCp = n(kLineCp), nd = n(kLineD), ne = n(kLineE), nF = n(kLineF), nFp = n(kLineFp),
               ng = n(kLineG);
    auto value = [](const std::optional<double>& a) { return a ? *a : 0.0; };
    auto difference = [](const std::optional<double>& a, const std::optional<double>& b) {
        return a && b ? *a - *b : 0.0;
    };
    return {value(nd),          value(ne),          difference(nF, nC),
            difference(nd, nC), difference(nF, nd), difference(nF, ne),
            difference(ng, nF), difference(nFp, nCp), difference(nFp, ne)};
}

std::string CatalogValueText(double value) { return value == 0 ? "" : "(" + Format(value, "0.000000") + ")"; }

std::string SheetValueText(double value) { return value == 0 ? "" : Format(value, "0.000000"); }

bool CheckMeltPairs(const MeltBlock& block, IBoxes& boxes) {
    const int count = std::min<int>(block.pairCount, kMaxMeltPairs);
    for (int i = 1; i <= count; ++i) {
        const double n = block.pairIndex[static_cast<std::size_t>(i)];
        if (!(n >= kLowestIndex && n <= kHighestIndex)) {
            boxes.show(kBoxExclamation, kSheetRangeText);
            return false;
        }
    }
    for (int i = 1; i < count; ++i) {
        if (block.pairIndex[static_cast<std::size_t>(i)] > block.pairIndex[static_cast<std::size_t>(i + 1)]) {
            boxes.show(kBoxExclamation, kSheetRisingText);
            return false;
        }
    }
    return true;
}

bool ConvertMeltSheet(MeltBlock& block, bool bShowTable, IBoxes& boxes) {
    MeltBlock copy = block;
    const auto indices = sheetIndices(copy);
    copy.pairCount = kSheetPairs;
    std::string table = std::string(" \twavelength\tindex") + kCrLf;
    for (int k = 0; k < kSheetPairs; ++k) {
        const auto p = static_cast<std::size_t>(k + 1);
        const auto pk = static_cast<std::size_t>(k);
        copy.pairWavelength[p] = kSheetLines[pk];
        copy.pairIndex[p] = indices[pk];
        table += WaveSymbolText(kSheetLines[pk]) + "\t" + Format(kSheetLines[pk], "0.0000") + "\t\t" +
                 Format(indices[pk], "0.000000") + kCrLf;
    }
    // Pairs left over from before would be taken for the sheet's own.
    for (std::size_t p = kSheetPairs + 1; p <= kMaxMeltPairs; ++p) {
        copy.pairWavelength[p] = 0;
        copy.pairIndex[p] = 0;
    }
    if (!CheckMeltPairs(copy, boxes)) return false;
    if (bShowTable) boxes.show(kBoxPlain, table);
    block = copy;
    return true;
}

popMeltSchott::popMeltSchott(MeltSchottServices services) : m_services(services) { InitGlassRecord(m_record); }

double popMeltSchott::sheetValue(int i) const {
    if (i < 1 || i > kSheetValues) return 0;
    return sheetCell(m_record.melt, i);
}

bool popMeltSchott::Display(GlassRecord& glass) {
    if (!m_view || m_open) return false;
    InitGlassRecord(m_record);
    m_record = glass;
    m_initialising = true;
    m_accepted = false;
    m_open = true;

    CSWindow().Center(m_view->placement());
    ShowSheetValues();
    ShowCatalogValues();
    // Both start disabled, also over a sheet entered before: a committed
    // value or a click on the picture weighs the nine values again.
    m_view->setOkEnabled(false);
    m_view->setShowIndexEnabled(false);
    m_initialising = false;
    if (m_services.hints)
        m_services.hints->Display(kHintText, kSheetHintKey, true, kSheetHintDelayMs, kMeltSchottCaption);
    if (m_services.cursor) m_services.cursor->showDefault();

    m_view->showModal();
    Form_Unload();  // in case the window closed without telling
    if (!m_accepted) return false;
    glass = m_record;
    return true;
}

void popMeltSchott::ShowSheetValue(int i) {
    m_view->valueBox(i).setText(SheetValueText(sheetValue(i)));
}

void popMeltSchott::ShowSheetValues() {
    for (int i = 1; i <= kSheetValues; ++i) ShowSheetValue(i);
}

void popMeltSchott::ShowCatalogValues() {
    const auto values = ComputeCatalogValues(m_record);
    for (int i = 1; i <= kSheetValues; ++i)
        m_view->setCatalogText(i, CatalogValueText(values[static_cast<std::size_t>(i - 1)]));
}

bool popMeltSchott::UpdateOKState() {
    bool all = true;
    for (int i = 1; i <= kSheetValues; ++i) all = all && sheetValue(i) > 0;
    m_view->setOkEnabled(all);
    m_view->setShowIndexEnabled(all);
    return all;
}

void popMeltSchott::txtIndex_GotFocus(int i) {
    if (!m_view || i < 1 || i > kSheetValues) return;
    SelectAllText(m_view->valueBox(i));
}

void popMeltSchott::txtIndex_Commit(int i) {
    if (!m_view || m_initialising || !m_open || i < 1 || i > kSheetValues) return;
    INumberBox& box = m_view->valueBox(i);
    if (!ValidateNumberBox(box, true, *m_services.boxes)) return;
    double typed = 0;
    ParseNumber(box.text(), typed);
    const auto v = static_cast<float>(typed);
    if (v > 0 && v <= kLargestSheetValue) {
        sheetCell(m_record.melt, i) = v;
        UpdateOKState();
    }
    ShowSheetValue(i);
}

void popMeltSchott::pctSchott_Click() {
    if (!m_view) return;
    ShowSheetValues();
    UpdateOKState();
}

void popMeltSchott::comShowIndex_Click() { ConvertMeltSheet(m_record.melt, true, *m_services.boxes); }

void popMeltSchott::comOK_Click() {
    m_accepted = ConvertMeltSheet(m_record.melt, false, *m_services.boxes);
    if (!m_accepted) return;  // the dialog stays open after a failed check
    if (m_view) m_view->closeWindow();
    Form_Unload();
}

void popMeltSchott::comCancel_Click() {
    m_accepted = false;
    if (m_view) m_view->closeWindow();
    Form_Unload();
}

void popMeltSchott::Form_Unload() { m_open = false; }
