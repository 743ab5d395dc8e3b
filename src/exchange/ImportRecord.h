// The steps the readers of material files share once a material is read:
// transmission points from transmittances, their order, the design table,
// the refit of a formula the program cannot keep, and the final rules every
// imported record goes through.
#pragma once

#include <string>

#include "model/GlassRecord.h"

// The sample thickness of a file that gives none, or 0 or less.
constexpr float kDefaultThickness = 10.0f;

// mm as a file gives it; 0 or less (or no number) is the default thickness.
float ThicknessOrDefault(double mm);

// The absorption coefficient (1/mm) of an internal transmittance in percent
// measured at thickness mm: -ln(T/100) / thickness for 0 < T <= 100, and 0
// above 100. A transmittance of 0 or less is an opaque sample, not a clear
// one: it gets the coefficient at which the sample would pass a millionth.
float AbsorptionFromTransmittance(float percent, float thickness);

// Transmission points 1..transCount put in the order the interpolation needs,
// longest wavelength first; points of equal wavelength keep their order.
void SortTransPoints(MeasuredData& measured);

// The design transmission table from the first 41 transmission points: its
// first 40 absorption entries start empty (99) and the last keeps its value
// unless a 41st point fills it. A point without a wavelength fills nothing.
void FillDesignTable(GlassRecord& glass);

// The last rules of every imported record, after its ready flags are set: a
// thickness of 0 or less becomes the default, the absorption at the standard
// wavelengths is taken from the points, and the record is normalised.
void FinishImported(GlassRecord& glass);

// ConvertToSchott without showing anything: on False, reason tells why the
// refit failed, for the list of materials the read could not keep.
bool RefitToSchott(GlassDefinition& definition, float& rms, std::string& reason);
