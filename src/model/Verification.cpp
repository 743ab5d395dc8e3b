#include "model/Verification.h"

#include <algorithm>
#include <utility>

#include "model/GlassData.h"
#include "platform/Boxes.h"
#include "platform/Grid.h"

namespace {

constexpr const char* kSectionNames[5] = {"General", "Index", "Trans", "dn/dt", "Other"};

// The names of the sections that are not ready, in tab order, one blank apart.
std::string missingSections(const GlassRecord& glass) {
    std::string list;
    for (int s = 0; s < 5; ++s) {
        if (glass.sections[s].ready != kFalse) continue;
        if (!list.empty()) list += ' ';
        list += kSectionNames[s];
    }
    return list;
}

}  // namespace

void NormaliseGlassRecord(GlassRecord& glass) {
    const std::string status = UpperCase1252(glass.properties.status.str());
    if (status != "A" && status != "E" && status != "R" && status != "O") glass.properties.status.set("A");
    if (glass.sections[kIndex].ready != kFalse) ComputeGlassCode(glass);
}

bool ListMissingSections(const GlassRecord& glass, std::string& msg) {
    const std::string list = missingSections(glass);
    if (list.empty()) return true;
    msg += glass.definition.name.str() + "/" + glass.definition.source.str() + " - check: " + list + "\r\n";
    return false;
}

bool CheckReadyForExport(int nFirst, int nLast, std::span<const GlassRecord> glasses, IBoxes& boxes) {
    std::string msg = "The following glass[s] are not ready for export.\r\n";
    const long first = std::max(nFirst, 1);
    const long last = std::min<long>(nLast, static_cast<long>(glasses.size()));
    bool allReady = true;
    for (long k = first; k <= last; ++k)
        if (!ListMissingSections(glasses[static_cast<std::size_t>(k - 1)], msg)) allReady = false;
    if (allReady) return true;
    boxes.show(kBoxInformation, msg);
    return false;
}

ReadyCell SetReadyCell(const GlassRecord& glass) {
    std::string list = missingSections(glass);
    if (list.empty()) return {"OK", kReadyColour};
    return {std::move(list), kNotReadyColour};
}

std::string SetReadyCell(IGrid& grid, int nRow, int nCol, const GlassRecord& glass) {
    ReadyCell cell = SetReadyCell(glass);
    grid.setActiveCell(nCol, nRow);
    grid.setBackColour(GridBlock::cell(nCol, nRow), cell.backColour);
    return std::move(cell.text);
}
