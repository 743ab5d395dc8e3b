// The refractive index grid of a material and what it does with the record:
// measured points (wavelength, index, weight, and after a fit the formula's
// index and the residual) or the formula's coefficients with the waveband,
// the fit of the chosen formula to the points, the test of typed
// coefficients over the waveband, and the constants report.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/GlassRecord.h"

class IBoxes;
class IGrid;

// Index data: 150 rows of wavelength [nm], index, weight, and the fit's two
// columns; coefficients: 8 rows of two name/value pairs, the waveband in row 8.
inline constexpr int kIndexGridRows = 150;
inline constexpr int kIndexGridCols = 5;
inline constexpr int kCoefGridRows = 8;
inline constexpr int kCoefGridCols = 4;
inline constexpr int kWavebandRow = 8;

inline constexpr const char* kCoefFormat = "+0.00000000e+00;-0.00000000e+00";
inline constexpr const char* kFitColumnFormat = "0.0000000";
inline constexpr const char* kNoWavebandMessage =
    "No waveband specified.  Plese enter maximum and minimum wavelengths [in nm].";

// Where a formula's coefficients stand in the coefficient grid: per row the
// left and the right pair, each a name of two characters and a blank with
// its slot; a pair without a coefficient has slot -1.
struct CoefficientCell {
    const char* name = nullptr;
    int slot = -1;
};
struct CoefficientRow {
    CoefficientCell left;
    CoefficientCell right;
};
// Up to seven rows; rows after a formula's last are blank.
using CoefficientLayout = std::array<CoefficientRow, kCoefGridRows - 1>;
const CoefficientLayout& CoefficientLayoutOf(std::int16_t formulaType);

// Sizes, headings, cell types, locks and widths for the index data type,
// after clearing every text. The fit's columns start hidden.
void SetupIndexGrid(IGrid& grid, std::int16_t indexDataType);
// Writes the record into the grid by its index data type: the points
// (rows 1..count, the cells below as they are) or the coefficient table.
void FillIndexGrid(IGrid& grid, const GlassRecord& glass);
// Takes the rows that hold a wavelength and an index (each as a single;
// anything that is no number counts as 0), sorted by wavelength, longest
// first (equal ones keep their order), as the record's points with the
// formula's wavelength limits, and writes them back into the cleared grid.
// No such row: the point count becomes 0, nothing else changes, False.
bool ReadIndexGrid(IGrid& grid, GlassRecord& glass);
// The weight of a row with a wavelength and an index becomes 1 when its cell
// is empty or no number; a typed 0 (the point left out of the fit) stays.
void ApplyDefaultWeight(IGrid& grid, int row);
void ShowFitColumns(IGrid& grid, bool show);
// The formula's index and the residual of each point into the fit's columns.
void FillFitColumns(IGrid& grid, const GlassRecord& glass);

// Fits the record's formula to its points (Schott, three-term Sellmeier,
// Schott Plus, Cauchy, five-term Sellmeier); the fits show their own
// messages. On True report holds the constants and errorText the average
// error line; on False both are left as they were.
bool FitIndexFormula(GlassRecord& glass, std::string& report, std::string& errorText, IBoxes& boxes);

// The coefficients typed into the grid, applied to a copy of the record's
// definition by the formula's layout, with the waveband of row 8.
GlassDefinition ReadCoefficientGrid(const IGrid& grid, const GlassDefinition& definition, bool& wavebandInRange);
// The index table of a definition: its title, the eight standard wavelengths
// and eleven steps over the waveband. ready is True when every step of the
// waveband gave an index. False without a waveband (nothing written).
bool CoefficientReport(const GlassDefinition& definition, std::string& report, bool& ready);

// The constants report of a formula of a stored record (types 1 to 4; others
// give an empty text), and what "Show consts" shows: the report of the last
// fit or else that one, then the waveband.
std::string ConstantsReport(const GlassDefinition& definition);
std::string ShowConstantsText(const GlassDefinition& definition, const std::string& lastFitReport);
