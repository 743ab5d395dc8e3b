// The melt fit: a melt certificate's few wavelength/index pairs turned into a
// full index description of the melt glass without giving up its parent's
// dispersion shape. The differences between the melt's indices and the
// parent's formula are smoothed by a quadratic in the wavelength, new index
// points are made over the parent's waveband from the parent's formula plus
// that quadratic, and the parent's formula type is fitted anew to them.
//
// Everything works on the melt maker's two records, the working record (the
// melt, whose MeltBlock holds the pairs, wavelengths descending) and the
// parent record, and tells the user through the boxes; the window only binds
// the results to its controls.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/GlassRecord.h"

class IBoxes;

inline constexpr int kMinMeltPairs = 4;
inline constexpr int kMaxMeltSamples = 21;
inline constexpr const char* kMeltMakerTitle = "Melt Maker";
inline constexpr const char* kNoWavebandText =
    "No waveband specified.  Please enter maximum and minimum wavelengths [in nm].";
inline constexpr const char* kAverageErrorPrefix = "Average error [user-fitted] indices at above wavelengths: ";

// True with at least four pairs in the working record's MeltBlock; otherwise
// the exclamation box asking for them.
bool CheckPairCount(const GlassRecord& working, IBoxes& boxes);

// x: the pair wavelengths ascending; y: melt index minus the parent's index
// there. False, with a box and x and y untouched, when the parent gives no
// index at one of the pair wavelengths (no row read, no formula, type 0).
bool ComputeMeltDifferences(const GlassRecord& working, const GlassRecord& parent, std::vector<float>& x,
                            std::vector<double>& y, IBoxes& boxes);

// The sample wavelengths from upper down to lower in 20 steps, the running
// value kept as a single: at most 21, the last one left out when the single
// has passed just below lower. Empty unless 0 < lower < upper.
std::vector<double> MeltSampleWavelengths(std::int16_t lower, std::int16_t upper);

// Replaces the working record's measured index points by the parent's index
// plus the quadratic of the differences at each sample wavelength of the
// working record's waveband (weight 1, descending); a sample where the parent
// gives no index is left out. A failing quadratic has shown its message and
// the differences count as 0. Then the total transmittance is made again
// from the internal one with the working formula as it stands (a point where
// that formula gives no index keeps its value). False, with a box and the
// record untouched, when the waveband is not 0 < lower < upper.
bool MakeMeltIndexPoints(GlassRecord& working, const GlassRecord& parent, std::span<const float> x,
                         std::span<const double> y, IBoxes& boxes);

// Fits the working record's formula type to its measured points (Sellmeier
// and Sellmeier Plus starting from the parent's coefficients). On success the
// Index edit count goes up and the Index section is ready; on failure, or for
// a type without a fit, the Index section is not ready. report receives the
// fit's constants report.
bool RefitMeltFormula(GlassRecord& working, const GlassRecord& parent, std::string& report, IBoxes& boxes);

// Per pair, the fitted minus the parent's index: the texts of the pairs
// grid's sixth column ("0.000000", blank where either gives no index), and the
// average line under the grid.
struct FitDifferences {
    std::vector<std::string> cells;  // one per pair, in pair order
    std::string columnText;          // the cells as a block text, each ending in CR LF
    std::string averageLine;         // "" when no pair gave both indices
};
FitDifferences ShowFitDifferences(const GlassRecord& working, const GlassRecord& parent);

enum class MeltFitOutcome {
    kTooFewPairs,      // nothing done but the check; the error line is to be emptied
    kParentUnusable,   // told; the record is unchanged
    kNoWaveband,       // told; the record is unchanged
    kFitFailed,        // points made, the formula fit failed: Index not ready
    kFitted            // Index ready, glass code recomputed
};

struct MeltFitResult {
    MeltFitOutcome outcome = MeltFitOutcome::kTooFewPairs;
    FitDifferences differences;  // after a fit was tried (kFitFailed, kFitted)
};

// "Fit polynomial", after the window has read its pairs into the working
// record: the pair check, the differences, the new points, the refit, the
// normalisation of a ready record and the fit differences.
MeltFitResult FitMeltGlass(GlassRecord& working, const GlassRecord& parent, std::string& report, IBoxes& boxes);

// "Show index": the parent's and the melt's index over the parent's
// waveband, in a box titled "Melt Maker".
std::string IndexComparisonText(const GlassRecord& working, const GlassRecord& parent);
void ShowIndexComparison(const GlassRecord& working, const GlassRecord& parent, IBoxes& boxes);

// "Show consts": the constants of the melt's and the parent's formula and the
// melt's waveband, in a plain box.
std::string DispersionConstantsText(const GlassRecord& working, const GlassRecord& parent);
void ShowDispersionConstants(const GlassRecord& working, const GlassRecord& parent, IBoxes& boxes);
