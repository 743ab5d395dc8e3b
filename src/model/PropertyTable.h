// The description of the property rows on the editor's Other tab: per row a
// short label with its unit, a long name, and a flag letter ("T", or "F" for
// the one required property, density) followed by a number format pattern.
// Rows 8, 14 and 20 are empty; they separate the groups.
//
// This belongs with the glass data; it has its own file so that it can be
// built and tested apart from the formulas. Texts are Windows-1252 bytes.
#pragma once

#include <string>

#include "model/FixedText.h"

constexpr int kPropertyRows = 24;
constexpr int kPropertyColumns = 3;

// table[row][column], rows 1..24, columns 1..3.
using PropertyTable = OneBased<OneBased<std::string, kPropertyColumns>, kPropertyRows>;

// A copy of the whole table; the table is built on the first call.
PropertyTable GetPropertyTable();

// Column 3 of row nRow without its flag letter: the number format of that
// row, "" for the remarks row, the empty rows and rows outside 1..24.
std::string GetPropertyFormat(int nRow);
