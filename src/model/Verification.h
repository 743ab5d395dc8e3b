// Whether a material may be stored, written or delivered: the status and
// glass code made current before storing, the check that all five editor
// sections are complete, and the readiness cell of the Manage and Import grids.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/GlassRecord.h"

class IBoxes;
class IGrid;

// A status other than "A", "E", "R" or "O" (trimmed, upper-cased) becomes
// "A"; a valid one is kept exactly as stored. When the Index section is
// ready the glass code is recomputed from the formula. Nothing else changes.
void NormaliseGlassRecord(GlassRecord& glass);

// True when all five sections are ready. Otherwise appends
// "name/source - check: <missing sections>\r\n" to msg and returns False.
bool ListMissingSections(const GlassRecord& glass, std::string& msg);

// True when records nFirst..nLast (1-based positions in glasses, clamped to
// it) are all ready. Otherwise one information box lists every record that
// is not, and the result is False.
bool CheckReadyForExport(int nFirst, int nLast, std::span<const GlassRecord> glasses, IBoxes& boxes);

// Back colours of the readiness cell, as the grid takes them (0xBBGGRR).
constexpr std::uint32_t kReadyColour = 0x00FF00;     // green
constexpr std::uint32_t kNotReadyColour = 0x0000FF;  // red

struct ReadyCell {
    std::string text;  // "OK", or the missing sections
    std::uint32_t backColour = 0;

    bool operator==(const ReadyCell&) const = default;
};

// What the readiness cell of a record shows.
ReadyCell SetReadyCell(const GlassRecord& glass);
// Makes (nCol, nRow) the grid's current cell and gives it the readiness
// colour; returns the text for it, which the caller writes into the cell.
std::string SetReadyCell(IGrid& grid, int nRow, int nCol, const GlassRecord& glass);
