#include "exchange/MaterialRows.h"

#include <algorithm>

#include "model/GlassData.h"
#include "model/NumberFormat.h"
#include "platform/Text1252.h"

std::string CellText(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return TrimBlanks(out);
}

void ShownIndexRange(const GlassRecord& glass, bool needBothLimits, double& first, double& second) {
    first = second = 0;
    const int points = std::clamp<int>(glass.indexPointCount, 0, kMaxIndexPoints);
    if (points >= 1) {
        first = glass.measured.index[points];
        second = glass.measured.index[1];
        return;
    }
    const GlassDefinition& d = glass.definition;
    if (needBothLimits && (d.lowerWavelength < 1 || d.upperWavelength < 1)) return;
    float nMin = 0, nMax = 0;
    IndexAtRangeEnds(glass, nMin, nMax);
    first = nMin;
    second = nMax;
}

std::string WavebandText(const GlassDefinition& definition) {
    return Format(static_cast<double>(definition.lowerWavelength), "0.0") + " - " +
           Format(static_cast<double>(definition.upperWavelength), "0.0");
}

std::string ListedLines(const std::vector<std::string>& lines, std::size_t most) {
    std::string out;
    const std::size_t shown = std::min(lines.size(), most);
    for (std::size_t i = 0; i < shown; ++i) out += (i > 0 ? "\r\n" : "") + lines[i];
    if (lines.size() > shown) out += "\r\n... and " + std::to_string(lines.size() - shown) + " more.";
    return out;
}
