#include "editor/IndexGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "model/DataEntry.h"
#include "model/GlassData.h"
#include "model/IndexFit.h"
#include "model/NumberFormat.h"
#include "platform/Grid.h"
#include "platform/NumberText.h"
#include "platform/Text1252.h"

namespace {

const char* const kCrLf = "\r\n";

// A number as the grid's cells are read: the text itself, else the text
// cleaned of what cannot belong to a number; 0 when neither is one.
double cleanedNumber(const std::string& text) {
    double v = 0;
    if (ParseNumber(text, v)) return v;
    std::string cleaned;
    for (char c : text)
        if (IsNumberChar(c)) cleaned.push_back(c);
    return ParseNumber(cleaned, v) ? v : 0;
}

// A cell of the point grid as a single; no number gives 0.
float cellSingle(const IGrid& grid, int col, int row) {
    double v = 0;
    return ParseNumber(grid.text(col, row), v) ? static_cast<float>(v) : 0.0f;
}

// Rounded half to even into the 16-bit range; false outside it.
bool toInt16(double v, std::int16_t& out) {
    const double r = std::nearbyint(v);
    if (!(r >= std::numeric_limits<std::int16_t>::min() && r <= std::numeric_limits<std::int16_t>::max())) return false;
    out = static_cast<std::int16_t>(r);
    return true;
}

std::string coefficientText(const GlassDefinition& def, const CoefficientCell& cell) {
    if (cell.slot < 0) return " ";
    return Format(def.coefficients[static_cast<std::size_t>(cell.slot)], kCoefFormat);
}

constexpr CoefficientRow row(const char* name, int slot) { return {{name, slot}, {}}; }
constexpr CoefficientRow row(const char* left, int leftSlot, const char* right, int rightSlot) {
    return {{left, leftSlot}, {right, rightSlot}};
}

const CoefficientLayout kSchottLayout{row("A0 ", 0), row("A1 ", 1), row("A2 ", 2),
                                      row("A3 ", 3), row("A4 ", 4), row("A5 ", 5)};
const CoefficientLayout kSellmeierLayout{row("B1 ", 0, "C1 ", 3), row("B2 ", 1, "C2 ", 4), row("B3 ", 2, "C3 ", 5)};
const CoefficientLayout kSchottPlusLayout{row("A0 ", 5),           row("A5 ", 4, "A1 ", 6), row("A6 ", 3, "A2 ", 7),
                                          row("A7 ", 2, "A3 ", 8), row("A8 ", 1, "A4 ", 9), row("A9 ", 0)};
const CoefficientLayout kCauchyLayout{row("A0 ", 0), row("A1 ", 1), row("A2 ", 2)};
const CoefficientLayout kSellmeierPlusLayout{row("B1 ", 0, "C1 ", 5), row("B2 ", 1, "C2 ", 6), row("B3 ", 2, "C3 ", 7),
                                             row("B4 ", 3, "C4 ", 8), row("B5 ", 4, "C5 ", 9)};
const CoefficientLayout kNoLayout{};

std::string formulaTitle(std::int16_t formulaType) {
    switch (formulaType) {
    case kSchott: return "Schott Polynomial";
    case kSellmeier: return "SellMeier Polynomial";
    case kSchottPlus: return "Extend Schott Polynomial";
    case kCauchy: return "Cauchy Polynomial";
    case kSellmeierPlus: return "Extend SellMeier Polynomial";
    default: return "";
    }
}

std::string fitErrorPrefix(std::int16_t formulaType) {
    switch (formulaType) {
    case kSchott: return "average Schott polynomal fit error: ";
    case kSellmeier:
    case kSellmeierPlus: return "average Sellmeier polynomal fit error: ";
    case kSchottPlus: return "average Schott Plus polynomal fit error: ";
    case kCauchy: return "average Cauchy polynomal fit error ";
    default: return "";
    }
}

// The formula's own evaluator at a wavelength in nm.
bool indexOf(const GlassDefinition& def, float nm, double& n) {
    const auto L = static_cast<float>(static_cast<double>(nm) * 0.001);
    n = 0;
    switch (def.formulaType) {
    case kSchott: return IndexSchott(def, L, n);
    case kSellmeier: return IndexSellmeier(def, L, n);
    case kSchottPlus: return IndexSchottPlus(def, L, n);
    case kCauchy: return IndexCauchy(def, L, n);
    case kSellmeierPlus: return IndexSellmeierPlus(def, L, n);
    default: return false;
    }
}

std::string reportLine(const GlassDefinition& def, float nm, bool& ok) {
    double n = 0;
    ok = indexOf(def, nm, n);
    return Format(nm, "0.0") + std::string(11, ' ') + (ok ? Format(n, "0.000000") : std::string("index < 1 !!")) + kCrLf;
}

}  // namespace

const CoefficientLayout& CoefficientLayoutOf(std::int16_t formulaType) {
    switch (formulaType) {
    case kSchott: return kSchottLayout;
    case kSellmeier: return kSellmeierLayout;
    case kSchottPlus: return kSchottPlusLayout;
    case kCauchy: return kCauchyLayout;
    case kSellmeierPlus: return kSellmeierPlusLayout;
    default: return kNoLayout;
    }
}

void SetupIndexGrid(IGrid& grid, std::int16_t indexDataType) {
    grid.clearText(GridBlock::all());
    if (indexDataType == kCoefficients) {
        grid.setMaxRows(kCoefGridRows);
        grid.setMaxCols(kCoefGridCols);
        const char* const headings[] = {"Constant", "Value", "Constant", "Value"};
        for (int c = 1; c <= kCoefGridCols; ++c) {
            grid.setText(c, 0, headings[c - 1]);
            const bool name = c == 1 || c == 3;
            grid.setCellType(GridBlock::columns(c, c), name ? CellType::staticText() : CellType::editText());
            grid.setLock(GridBlock::columns(c, c), name);
            grid.setColWidth(c, name ? 12 : 20);  // "WavLn Max", "+1.03961212e+00"
            grid.setColHidden(c, false);
        }
        return;
    }
    grid.setMaxRows(kIndexGridRows);
    grid.setMaxCols(kIndexGridCols);
    const char* const headings[] = {"wave [nm]", "index ", "weight [0-1]", "index calc", "error"};
    // The fit's numbers line up with the typed ones.
    const CellType types[] = {CellType::number(4, 10, 30000), CellType::number(7, 1, 9), CellType::number(2, 0, 1),
                              CellType::staticText(CellAlign::Right), CellType::staticText(CellAlign::Right)};
    // Room for the headings and for numbers such as "1000.0000" and "-0.0000012".
    const double widths[] = {12, 12, 13, 12, 13};
    for (int c = 1; c <= kIndexGridCols; ++c) {
        grid.setText(c, 0, headings[c - 1]);
        grid.setCellType(GridBlock::columns(c, c), types[c - 1]);
        grid.setLock(GridBlock::columns(c, c), c >= 4);
        grid.setColWidth(c, widths[c - 1]);
    }
    ShowFitColumns(grid, false);
}

void FillIndexGrid(IGrid& grid, const GlassRecord& glass) {
    if (glass.indexDataType == kCoefficients) {
        const GlassDefinition& def = glass.definition;
        std::string text;
        for (const CoefficientRow& r : CoefficientLayoutOf(def.formulaType)) {
            text += r.left.name ? r.left.name : " ";
            text += '\t' + coefficientText(def, r.left) + '\t';
            text += r.right.name ? r.right.name : " ";
            text += '\t' + coefficientText(def, r.right) + kCrLf;
        }
        text += "WavLn Min\t" + std::to_string(def.lowerWavelength) + "nm\tWavLn Max\t" +
                std::to_string(def.upperWavelength) + "nm" + kCrLf;
        grid.setBlockText(GridBlock::range(1, 1, kCoefGridCols, kCoefGridRows), text);
        return;
    }
    const int count = std::clamp<int>(glass.indexPointCount, 0, kMaxIndexPoints);
    if (count == 0) return;
    const MeasuredData& m = glass.measured;
    std::string text;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(count); ++i) {
        text += ShortestText(m.indexWavelength[i]) + '\t' + ShortestText(m.index[i]) + '\t';
        if (m.indexWavelength[i] != 0 || m.index[i] != 0) text += ShortestText(m.weight[i]);
        text += kCrLf;
    }
    grid.setBlockText(GridBlock::range(1, 1, 3, count), text);
}

bool ReadIndexGrid(IGrid& grid, GlassRecord& glass) {
    struct Point {
        float wave, index, weight;
    };
    std::vector<Point> points;
    for (int r = 1; r <= grid.maxRows(); ++r) {
        const Point p{cellSingle(grid, 1, r), cellSingle(grid, 2, r), cellSingle(grid, 3, r)};
        if (p.wave != 0 && p.index != 0) points.push_back(p);
    }
    if (points.size() > static_cast<std::size_t>(kMaxIndexPoints)) points.resize(kMaxIndexPoints);
    glass.indexPointCount = static_cast<std::int16_t>(points.size());
    if (points.empty()) return false;
    std::stable_sort(points.begin(), points.end(), [](const Point& a, const Point& b) { return a.wave > b.wave; });
    MeasuredData& m = glass.measured;
    for (std::size_t i = 1; i <= points.size(); ++i) {
        const Point& p = points[i - 1];
        const double n = p.index;
        m.indexWavelength[i] = p.wave;
        m.indexWavelengthUm[i] = static_cast<double>(p.wave) * 0.001;
        m.weight[i] = p.weight;
        m.index[i] = n;
        m.indexSquared[i] = n * n;
    }
    // The cells hold 10..30000 nm, well inside the 16-bit range.
    toInt16(points.front().wave, glass.definition.upperWavelength);
    toInt16(points.back().wave, glass.definition.lowerWavelength);
    grid.clearText(GridBlock::all());
    FillIndexGrid(grid, glass);
    return true;
}

void ApplyDefaultWeight(IGrid& grid, int row) {
    if (cellSingle(grid, 1, row) <= 0 || cellSingle(grid, 2, row) <= 1) return;
    const std::string weight = TrimBlanks(grid.text(3, row));
    if (weight.empty() || !IsNumberText(weight)) grid.setText(3, row, "1");
}

void ShowFitColumns(IGrid& grid, bool show) {
    grid.setColHidden(4, !show);
    grid.setColHidden(5, !show);
}

void FillFitColumns(IGrid& grid, const GlassRecord& glass) {
    const int count = std::clamp<int>(glass.indexPointCount, 0, kMaxIndexPoints);
    if (count == 0) return;
    std::string text;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(count); ++i)
        text += Format(glass.measured.fittedIndex[i], kFitColumnFormat) + '\t' +
                Format(glass.measured.residual[i], kFitColumnFormat) + kCrLf;
    grid.setBlockText(GridBlock::range(4, 1, 5, count), text);
}

bool FitIndexFormula(GlassRecord& glass, std::string& report, std::string& errorText, IBoxes& boxes) {
    const std::int16_t count = glass.indexPointCount;
    GlassDefinition& def = glass.definition;
    MeasuredData& data = glass.measured;
    std::int16_t nTerms = 0;
    std::string fitReport;
    bool ok = false;
    switch (def.formulaType) {
    case kSchott: ok = FitSchott(nTerms, count, fitReport, def, data, boxes); break;
    case kSellmeier: ok = FitSellmeier(count, 3, fitReport, def, data, def, false, true, boxes); break;
    case kSchottPlus: ok = FitExtendedSchott(nTerms, count, fitReport, def, data, boxes); break;
    case kCauchy: ok = FitCauchy(nTerms, count, fitReport, def, data, boxes); break;
    case kSellmeierPlus: ok = FitSellmeier(count, 5, fitReport, def, data, def, false, true, boxes); break;
    default: break;
    }
    if (!ok || count < 1) return false;
    report = fitReport;
    errorText = fitErrorPrefix(def.formulaType) + Format(std::sqrt(data.sumOfSquares / count), kFitColumnFormat);
    return true;
}

GlassDefinition ReadCoefficientGrid(const IGrid& grid, const GlassDefinition& definition, bool& wavebandInRange) {
    GlassDefinition def = definition;
    const CoefficientLayout& layout = CoefficientLayoutOf(def.formulaType);
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        if (layout[i].left.slot >= 0)
            def.coefficients[static_cast<std::size_t>(layout[i].left.slot)] = cleanedNumber(grid.text(2, r));
        if (layout[i].right.slot >= 0)
            def.coefficients[static_cast<std::size_t>(layout[i].right.slot)] = cleanedNumber(grid.text(4, r));
    }
    std::int16_t lower = 0, upper = 0;
    wavebandInRange = toInt16(cleanedNumber(grid.text(2, kWavebandRow)), lower) &&
                      toInt16(cleanedNumber(grid.text(4, kWavebandRow)), upper);
    if (wavebandInRange) {
        def.lowerWavelength = lower;
        def.upperWavelength = upper;
    }
    return def;
}

bool CoefficientReport(const GlassDefinition& def, std::string& report, bool& ready) {
    const float minimum = def.lowerWavelength, maximum = def.upperWavelength;
    const float step = (maximum - minimum) / 10.0f;
    if (!(step > 0)) return false;
    std::string text = formulaTitle(def.formulaType) + kCrLf + kCrLf + "WavLn[nm]     Index" + kCrLf;
    bool ok = false;
    for (float nm : {435.8f, 480.0f, 486.1f, 546.1f, 587.6f, 589.0f, 643.8f, 656.3f}) text += reportLine(def, nm, ok);
    text += kCrLf;
    ready = true;
    for (float nm = minimum; nm <= maximum; nm += step) {
        text += reportLine(def, nm, ok);
        ready = ready && ok;
    }
    report = text;
    return true;
}

std::string ConstantsReport(const GlassDefinition& definition) {
    switch (definition.formulaType) {
    case kSchott: return SchottReport(definition, "");
    case kSellmeier: return SellmeierReport(definition, "");
    case kSchottPlus: return ExtendedSchottReport(definition, "");
    case kCauchy: return CauchyReport(definition, "");
    default: return "";
    }
}

std::string ShowConstantsText(const GlassDefinition& definition, const std::string& lastFitReport) {
    std::string text = TrimBlanks(lastFitReport).empty() ? ConstantsReport(definition) : lastFitReport;
    return text + kCrLf + kCrLf + "WaveLen Min:   " + std::to_string(definition.lowerWavelength) + "nm" + kCrLf +
           "WaveLen Max:   " + std::to_string(definition.upperWavelength) + "nm";
}
