// What the Import and the Export page show of a material in their grids.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/GlassRecord.h"

// A record text as a cell shows it: trimmed, with a TAB or a line break
// (which would split the grid's block text) turned into a blank.
std::string CellText(std::string_view text);

// The index range a grid row shows: with measured index points, the index of
// the last point and then of the first; else the indices at the lower and the
// upper wavelength limit. needBothLimits: both are 0 unless both limits are
// at least 1 nm.
void ShownIndexRange(const GlassRecord& glass, bool needBothLimits, double& first, double& second);

// "lower - upper" of the formula's wavelength limits, "0.0" each.
std::string WavebandText(const GlassDefinition& definition);

// Up to most lines of the list, each on its own line, then "... and n more."
// for the rest.
std::string ListedLines(const std::vector<std::string>& lines, std::size_t most);
