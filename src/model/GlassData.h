// The formula half of the glass data: dispersion formulas, the index at a
// wavelength, the indices at the ends of the valid range, the glass code, and
// the conversion of imported Conrady and Herzberger formulas to Schott.
#pragma once

#include <cstdint>
#include <string>

#include "model/GlassRecord.h"

class IBoxes;
class IListControl;

// Spectral lines, single-precision nm.
constexpr float kLineD = 587.5618f;
constexpr float kLineC = 656.2725f;
constexpr float kLineF = 486.1327f;
// The further lines of the dispersion constants.
constexpr float kLineS = 852.11f;
constexpr float kLineCp = 643.8469f;  // C'
constexpr float kLineE = 546.074f;
constexpr float kLineFp = 479.9914f;  // F'
constexpr float kLineG = 435.8343f;

// The index of definition at wavelengthNm by formulaType (callers pass the
// definition's own). ok is True only for a finite index meeting the formula's
// validity rule; otherwise the result is 0.
double EvaluateIndex(const GlassDefinition& definition, float wavelengthNm, std::int16_t formulaType, bool& ok);

// The evaluators behind EvaluateIndex; L in µm. n is 0 when the result is invalid.
bool IndexSchott(const GlassDefinition& definition, float L, double& n);
bool IndexSellmeier(const GlassDefinition& definition, float L, double& n);
bool IndexSchottPlus(const GlassDefinition& definition, float L, double& n);
bool IndexCauchy(const GlassDefinition& definition, float L, double& n);
bool IndexSellmeierPlus(const GlassDefinition& definition, float L, double& n);
bool IndexConrady(const GlassDefinition& definition, float L, double& n);
bool IndexHerzberger(const GlassDefinition& definition, float L, double& n);

// The indices at the formula's wavelength limits; 0 for a limit of 0 or an
// invalid evaluation.
void IndexAtRangeEnds(const GlassRecord& glass, float& nMin, float& nMax);
// The glass code field from nd and vd at the d, C and F lines; 0 when the
// formula is invalid at the d line.
void ComputeGlassCode(GlassRecord& glass);
// The six-digit code from nd and vd texts ("1.5168", "64.17" give 517642),
// halves rounded to even; 0 when nd is 0 or no number. Texts use ".".
std::int32_t MakeGlassCode(const std::string& ndText, const std::string& vdText);

// Samples the formula densely over its range and fits a Schott formula to
// the samples, then checks it on a finer grid. On True the definition holds
// that formula (type 1) and rms its root-mean-square error over the grid. On
// False the formula is unchanged: an empty range or one from 0 nm (no box),
// the Schott fit's failure (its box), or a Schott formula that is no index
// somewhere in the range, n² of 0 or less or n below 1 (a box naming the
// wavelength). A Herzberger definition keeps its lower limit raised to 650 nm
// either way.
bool ConvertToSchott(GlassDefinition& definition, float& rms, IBoxes& boxes);

std::string FormulaName(std::int16_t formulaType);
// The number of measured points the editor asks for before fitting.
std::int16_t FormulaCoefCount(std::int16_t formulaType);

// The formula choice list: "Schott" 1, "Sellmeier" 2, "Cauchy" 4, "Schott Plus" 3,
// each entry carrying its code as item data.
void FillFormulaCombo(IListControl& combo);
// Selects the first entry whose item data is value; no match leaves the selection.
void SelectComboByItemData(std::int16_t value, IListControl& combo);
// The glass makers of the melt parent picker.
void FillMakerList(IListControl& list);
