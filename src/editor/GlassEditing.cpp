#include "editor/GlassEditing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/GlassesList.h"
#include "model/Verification.h"
#include "platform/Boxes.h"
#include "platform/Grid.h"
#include "platform/Text1252.h"

namespace {

const char* const kCrLf = "\r\n";

SectionStatus& section(GlassRecord& glass, int n) { return glass.sections.at(static_cast<std::size_t>(n)); }
const SectionStatus& section(const GlassRecord& glass, int n) { return glass.sections.at(static_cast<std::size_t>(n)); }

// Lines of a pasted text: CR LF, LF and CR end a line; empty lines at the end
// are no rows.
std::vector<std::string> pastedLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    bool open = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            open = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur.push_back(c);
            open = true;
        }
    }
    if (open) lines.push_back(cur);
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

std::vector<std::string> tabFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = line.find('\t', start);
        fields.push_back(line.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return fields;
        start = at + 1;
    }
}

}  // namespace

void NewMaterialReset(GlassRecord& glass) {
    InitGlassRecord(glass);
    glass.indexDataType = kIndexData;
    glass.measured.transDataType = kTotalTransmission;
    glass.measured.thickness = 10.0f;
    glass.definition.formulaType = kSchott;
    glass.definition.catalogNumber = kOwnCatalogNumber;
    glass.definition.density = 0;
    NormaliseGlassRecord(glass);
}

std::string DisplayKeyOf(std::string_view name, std::string_view source) {
    const std::string n = UpperCase1252(TrimBlanks(name));
    const std::string s = UpperCase1252(TrimBlanks(source));
    if (s.empty()) return n;
    if (s.front() == '[') return n + " " + s;
    return n + " [" + s + "]";
}

std::string DisplayKey(GlassRecord& glass) {
    glass.definition.name.set(glass.definition.name.str());
    glass.definition.source.set(glass.definition.source.str());
    return DisplayKeyOf(glass.definition.name.str(), glass.definition.source.str());
}

std::int16_t GetEditCount(const GlassRecord& glass, int n) { return section(glass, n).editCount; }

bool GetReady(const GlassRecord& glass, int n) { return section(glass, n).ready != 0; }

void SetReady(GlassRecord& glass, int n, bool ready) { section(glass, n).ready = ready ? kTrue : kFalse; }

void IncrementEditCount(GlassRecord& glass, int n) {
    std::int16_t& count = section(glass, n).editCount;
    if (count < std::numeric_limits<std::int16_t>::max()) ++count;
}

void SetEditCount(GlassRecord& glass, int n, int count) {
    section(glass, n).editCount = static_cast<std::int16_t>(
        std::clamp(count, static_cast<int>(std::numeric_limits<std::int16_t>::min()),
                   static_cast<int>(std::numeric_limits<std::int16_t>::max())));
}

SaveResult SaveGlassRecord(GlassRecord& glass, const SaveRequest& request, GlassesList& store, IBoxes& boxes) {
    for (int n = kGeneral; n <= kOther; ++n) {
        if (!GetReady(glass, n)) {
            boxes.show(kBoxExclamation, kIncompleteMessage);
            return SaveResult::Incomplete;
        }
    }
    NormaliseGlassRecord(glass);
    const std::string key = request.keyOf ? request.keyOf(glass) : DisplayKey(glass);
    if (store.IsCatalogOrSuppliedGlass(glass)) {
        boxes.show(kBoxExclamation, key + " is a catalog glass and cannot be overwritten!" + kCrLf + kCrLf +
                                        "If you really want to use this data, then change the 'name' and /or 'source'.");
        return SaveResult::CatalogGlass;
    }
    if ((request.isNew || key != request.openedKey) && store.IsCustomGlass(glass)) {
        if (boxes.show(kBoxQuestionYesNo, key + " is already in your collection." + kCrLf + kCrLf +
                                              "Do you want to overwrite the existing data?") == kAnswerNo)
            return SaveResult::Declined;
    }
    // The window keeps its record until the collection really holds it.
    GlassRecord stored = glass;
    if (request.beforeStore) request.beforeStore(stored);
    const std::vector<GlassRecord> before = store.GetGlasses();
    if (!store.AddGlassStamped(stored, true)) {
        boxes.show(kBoxExclamation,
                   key + " could not be added to your collection: its name or source is not valid.");
        return SaveResult::StoreRefused;
    }
    if (!store.SaveUserGlasses()) {
        store.SetGlasses(before);  // memory keeps what the file holds
        return SaveResult::NotWritten;
    }
    glass = stored;
    store.RefreshListWindow();
    return SaveResult::Saved;
}

bool ToSingle(double value, float& single) {
    if (!(std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max()))) return false;
    single = static_cast<float>(value);
    return true;
}

bool EnterCellText(IGrid& grid, int col, int row, const std::string& text) {
    if (col < 1 || row < 1 || col > grid.maxCols() || row > grid.maxRows() || grid.locked(col, row)) return false;
    std::string stored;
    if (!AcceptCellInput(grid.cellType(col, row), text, stored)) return false;
    if (stored == grid.text(col, row)) return false;
    grid.setText(col, row, stored);
    return true;
}

void PasteGridText(IGrid& grid, int col, int row, const std::string& text, const CellEdited& cellEdited) {
    if (col < 1 || row < 1) return;
    const std::vector<std::string> lines = pastedLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int r = row + static_cast<int>(i);
        if (r > grid.maxRows()) break;
        if (lines[i].empty()) continue;
        const std::vector<std::string> fields = tabFields(lines[i]);
        for (std::size_t j = 0; j < fields.size(); ++j) {
            const int c = col + static_cast<int>(j);
            if (c > grid.maxCols()) break;
            if (EnterCellText(grid, c, r, fields[j]) && cellEdited) cellEdited(c, r);
        }
    }
}

void PutColumnValues(IGrid& grid, int col, int row, const std::vector<std::string>& values,
                     const CellEdited& cellEdited) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int r = row + static_cast<int>(i);
        if (r < 1) continue;
        if (r > grid.maxRows()) break;
        if (EnterCellText(grid, col, r, values[i]) && cellEdited) cellEdited(col, r);
    }
}
