// Materials for the GLZ tests, and the part of a record the GLZ file carries.
#pragma once

#include <string>
#include <vector>

#include "model/GlassRecord.h"

struct GlzSampleShape {
    int transPoints = 0;
    int indexPoints = 0;
    int meltPairs = 0;   // > 0 makes a melt glass
    int secondRows = 0;
};

// A material with every field the file carries set to a value of its own,
// numbers chosen so that a digit lost on the way would show.
GlassRecord GlzSample(const std::string& name, const GlzSampleShape& shape);

// A blank record holding only what the GLZ file carries of glass: counts,
// the points within them and the melt data when they are written.
GlassRecord GlzCarried(const GlassRecord& glass);

// Lines joined by CR LF, each line ended.
std::string CrLfLines(const std::vector<std::string>& lines);

// The header line of a GLZ file.
std::string GlzHeaderLine();

// The lines of one complete, valid block whose sections can be swapped out.
std::vector<std::string> GlzMinimalBlock();
