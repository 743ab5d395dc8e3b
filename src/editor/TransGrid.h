// The transmission points of a material as the editor's Transmittance tab
// keeps them: each a wavelength with total transmittance, internal
// transmittance (both percent) and absorption coefficient (1/mm) at the
// record's sample thickness. One of the three is typed; the others follow
// from it, the total through the reflection loss of the two surfaces, which
// the refractive index formula gives.
#pragma once

#include <cstdint>
#include <string>

#include "model/GlassRecord.h"

inline constexpr int kTransGridRows = kMaxTransPoints;
inline constexpr int kTransGridCols = 4;
inline constexpr float kDefaultThickness = 10.0f;  // mm
// A total transmittance that cannot be computed (no reflection factor).
inline constexpr float kNoTotal = -1.0f;

inline constexpr const char* kThicknessZeroMessage = "Transmition Data: thickness was zero, set to10mm";
inline constexpr const char* kTransThicknessFormat = "0.0";

// Why the reflection factor of a wavelength cannot be had.
enum class FactorProblem {
    None,
    NoWavelength,     // the point has no wavelength
    IndexNotReady,    // the Index section is not ready
    OutsideWaveband,  // outside the formula's minimum and maximum wavelength
    NoIndex           // the formula gives no index there
};

// The message a typed total transmittance gets when the factor cannot be had.
std::string FactorProblemMessage(FactorProblem problem);

// f = 2n / (n² + 1) at the wavelength (nm), n from the record's formula;
// T = Ti × f. Only with the Index section ready and the wavelength inside the
// formula's waveband (both ends included).
FactorProblem ReflectionFactor(const GlassRecord& glass, float wavelength, double& factor);

// α = −ln(Ti / 100) / t. A transmittance of 0 or less, or above 100, has no
// absorption coefficient: false, alpha unchanged.
bool AbsorptionFromInternal(double internal, double thickness, float& alpha);
// Ti = 100 × exp(−α × t).
float InternalFromAbsorption(double alpha, double thickness);

// The message when a total would need an internal transmittance of 100 % or more.
std::string ReflectionLossMessage(double factor);

// A stored transmittance (percent) as shown: percent "0.00", or as a fraction
// "0.0000"; a negative one (no value) as "----".
std::string FormatTransmittance(float percent, int displayUnit);
std::string FormatAbsorption(float alpha);
// Point i (1-based) as one grid row of four cells, TAB between them; the
// cells of a point that holds nothing are empty, and so is the wavelength
// cell of a point without a wavelength.
std::string TransRowText(const MeasuredData& m, int i, int displayUnit);
bool TransPointEmpty(const MeasuredData& m, int i);

// The points of all rows with a wavelength above 0 and an absorption
// coefficient not below 0, sorted by wavelength, longest first (equal ones
// keep their order), become points 1..count; the entries after them are
// emptied. The first 41 go into the definition's transmission table, whose
// other entries become wavelength 0, absorption 99. Returns the count.
int CompactTransPoints(GlassRecord& glass);

// After a change of thickness: every point that holds something is computed
// again from the quantity the data type names. A total whose factor cannot
// be had becomes −1; a total that would need 100 % or more internally is
// capped there. A point whose typed quantity is no transmittance (0 or less,
// above 100) keeps its values.
void RecalculateTransPoints(GlassRecord& glass);

// "No Data Available": every transmission table of the record says so
// (absorption 99, the empty value).
void MarkNoTransData(GlassRecord& glass);
