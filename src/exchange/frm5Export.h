// The ".GLZ" text file writer of the Export page: a backup of materials of the
// collection that the GLZ reader (CImportNewGLZ) reads back.
//
// The page itself (its grid and buttons) is built on top of WriteGLZFile; the
// writer takes what the page would hand it: its copy of the collection, the
// folder and file name chosen in the save dialog, the range of rows, the clock
// for the header's date and the boxes to report a failure through.
#pragma once

#include <span>
#include <string>

#include "model/GlassRecord.h"

class IBoxes;
class IClock;

// Writes glasses first..last (counted from 1, as the page's rows are) to
// folder + fileName, replacing the file. Every record written is first
// normalised and has its transmission count settled, in the page's copy, as it
// is written. A range outside 1..size or first > last writes nothing and
// returns False; a failed write leaves the old file, shows which file and why
// (exclamation box) and returns False.
bool WriteGLZFile(std::span<GlassRecord> glasses, const std::string& folder, const std::string& fileName,
                  int first, int last, const IClock& clock, IBoxes& boxes);

// The text WriteGLZFile writes, with dateText after the header's version; the
// records are prepared as above. The range must lie within glasses.
std::string MakeGLZText(std::span<GlassRecord> glasses, int first, int last, const std::string& dateText);

// The long date of a date serial as the header carries it: "Tuesday, March 4, 2025".
std::string LongDateText(double dateSerial);
