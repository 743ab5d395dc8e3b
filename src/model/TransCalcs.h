// Transmission on the 41 standard wavelengths: the grid itself, the reduction
// of a record's transmission points to it, the point count the windows and
// writers rely on, and the colour code of a glass from its transmission edge.
//
// Point lists are in the editor's order, longest wavelength first; trailing
// entries with a wavelength of 0 or less are empty. They are taken as spans
// so that the record's 150-entry arrays (pass `.items`) and short test lists
// serve alike.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "model/GlassRecord.h"

// nm; entry i of a record's standard absorption array belongs to entry i here.
// A constant table, so nothing can read it before it is filled.
inline constexpr std::array<float, kStandardTransCount> StandardTransWavelengths = {
    250.0f,  260.0f,  270.0f,  280.0f,  290.0f,  300.0f,  310.0f,  320.0f,  330.0f,
    334.1f,  340.0f,  350.0f,  360.0f,  365.0f,  370.0f,  380.0f,  390.0f,  400.0f,
    404.7f,  420.0f,  435.8f,  440.0f,  460.0f,  480.0f,  500.0f,  546.1f,  550.0f,
    580.0f,  600.0f,  620.0f,  650.0f,  660.0f,  700.0f,  800.0f,  900.0f,  1000.0f,
    1060.0f, 1529.6f, 1970.1f, 2325.4f, 2500.0f};

// Start-up still calls this where the table used to be filled; the table is
// constant, so there is nothing left to do.
inline void InitStandardWavelengths() {}

// out[i] = InterpolateAbsorption(StandardTransWavelengths[i], waves, alphas, thickness).
void AbsorptionAtStandardWavelengths(std::array<float, kStandardTransCount>& out, float thickness,
                                     std::span<const float> waves, std::span<const float> alphas);

// Absorption coefficient in 1/mm at wavelength (nm), interpolated linearly in
// transmittance at the sample thickness (mm) between the two bracketing
// points; both ends of the measured range count as inside. 99 (no value)
// outside the range, for an empty list, between two points of equal
// wavelength, for a thickness of 0 or less, and wherever the result would not
// be a finite number (a transmittance of 0 or less at the wavelength).
float InterpolateAbsorption(float wavelength, std::span<const float> waves, std::span<const float> alphas,
                            float thickness);

// The record's transmission count: 1 to 10 stays; anything else becomes 150,
// the capacity of the point arrays, and is stored in the record.
std::int16_t TransPointCount(GlassRecord& glass);

// Sets the record's colour code "aa/bb": the wavelengths, in tens of nm, at
// which the internal transmittance (percent) of a 10 mm sample reaches 80 %
// and 5 %, from a curve measured at thickness (mm). The code is left as it
// was with fewer than two points, or when no point of the curve reaches one
// of the two levels.
void ComputeColourCode(GlassRecord& glass, float thickness, std::span<const float> waves,
                       std::span<const float> transmittances);
