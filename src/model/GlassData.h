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

void IndexAtRangeEnds(const GlassRecord& glass, float& nMin, float& nMax);
void ComputeGlassCode(GlassRecord& glass);
std::int32_t MakeGlassCode(const std::string& ndText, const std::string& vdText);

// On True the definition holds a Schott formula fitted to its old one and rms
// the fit's root-mean-square error; on False the definition is unchanged.
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
