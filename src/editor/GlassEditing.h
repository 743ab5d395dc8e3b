// What the material editor and the melt maker share: the reset of a new
// material, the identity as the user sees it, the five section-status
// operations on a record, the save rule with its messages, and the way values
// other than typed ones (a paste, the wavelength picker) reach a point grid.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/GlassRecord.h"

class GlassesList;
class IBoxes;
class IGrid;

// The modes of an editor window.
enum EditorMode : std::int16_t { kModeNew = 0, kModeEdit = 1, kModeReview = 2 };

inline constexpr const char* kIncompleteMessage =
    "Data for new material is incomplete.  Please add required information!";

// A blank record as a new material starts: index data, total transmission at
// 10 mm, a Schott formula, this program's catalogue number, no density; then
// normalised (status "A").
void NewMaterialReset(GlassRecord& glass);

// The upper-cased name, a blank and the upper-cased source in square brackets
// ("N-BK7 [SCHOTT]"); the name alone without a source, and the source as it
// stands when it already starts with "[". Name and source are taken trimmed.
std::string DisplayKeyOf(std::string_view name, std::string_view source);
// The same of the record, whose name and source are stored back trimmed.
std::string DisplayKey(GlassRecord& glass);

// The five {edit count, ready} pairs, by section (kGeneral .. kOther).
std::int16_t GetEditCount(const GlassRecord& glass, int section);
bool GetReady(const GlassRecord& glass, int section);
void SetReady(GlassRecord& glass, int section, bool ready);
// Adds 1; the count stops at the largest 16-bit value.
void IncrementEditCount(GlassRecord& glass, int section);
// Clamped to the 16-bit range.
void SetEditCount(GlassRecord& glass, int section, int count);

enum class SaveResult {
    Incomplete,    // a section is not ready (told)
    CatalogGlass,  // the identity is a catalogue or supplied material (told)
    Declined,      // the user would not overwrite a material of the collection
    StoreRefused,  // the store did not take the record (told)
    NotWritten,    // the collection file could not be written (told by the store); the store is as before
    Saved
};

struct SaveRequest {
    // New mode, or edit mode: then the overwrite question is asked only when
    // the identity differs from openedKey.
    bool isNew = true;
    std::string openedKey;
    // The identity the messages show, taken after the record is normalised
    // (the editor's DisplayKey, the melt maker's melt name).
    std::function<std::string(GlassRecord&)> keyOf;
    // The last change before the record is stored (the melt maker's flag).
    std::function<void(GlassRecord&)> beforeStore;
};

// The save of an editor's working record: all five sections ready, the record
// normalised, a catalogue or supplied identity refused, an existing material
// of the collection replaced only after the question, then stored (stamped
// with the date), the collection file written and the list refreshed. On any
// result but Saved the collection and its file are as they were, and the
// record differs from before only by the normalisation.
SaveResult SaveGlassRecord(GlassRecord& glass, const SaveRequest& request, GlassesList& store, IBoxes& boxes);

// A typed number as the single a record field keeps; false beyond the range
// of a single, which would be kept as infinity.
bool ToSingle(double value, float& single);

// A cell's edit rule, run for each cell whose text a paste or the picker
// changed, as for one the user typed.
using CellEdited = std::function<void(int col, int row)>;

// Writes text into a cell as if the user had typed it: a locked or static
// cell, or one whose type refuses the text, keeps its text. True when the
// cell's text changed.
bool EnterCellText(IGrid& grid, int col, int row, const std::string& text);

// Pastes text with its top-left cell at (col, row): TAB between cells, CR LF
// or LF between rows, trailing empty lines ignored, an empty line in between
// a row left as it is. Cells are entered row by row, left to right, each
// through EnterCellText and then cellEdited; what falls beyond the grid is
// dropped.
void PasteGridText(IGrid& grid, int col, int row, const std::string& text, const CellEdited& cellEdited);

// Writes values into column col from row down, one per row, the same way;
// values beyond the last row are dropped.
void PutColumnValues(IGrid& grid, int col, int row, const std::vector<std::string>& values,
                     const CellEdited& cellEdited);
