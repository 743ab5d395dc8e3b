// What every material file reader must hold to on any input, for the fuzz
// targets of the readers: a failed read keeps nothing; the refit data run
// parallel to the materials; every material has its counts in range, a
// sample thickness, wavelength limits the record can hold, finite
// transmission values longest wavelength first and (from catalogues) a name; and what was read exports
// to a ".GLZ" file that reads back whole.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "exchange/CImportNewGLZ.h"
#include "exchange/ImportReader.h"
#include "exchange/frm5Export.h"
#include "platform/Boxes.h"

namespace fuzzchecks {

class SilentBoxes : public IBoxes {
public:
    int show(int, const std::string&, const std::string&) override { return kAnswerOk; }
    std::string input(const std::string&, const std::string&, const std::string&) override { return {}; }
};

inline void check(bool condition) {
    if (!condition) std::abort();
}

inline void checkMaterial(const GlassRecord& g, bool named) {
    const MeasuredData& m = g.measured;
    check(g.indexPointCount >= 0 && g.indexPointCount <= kMaxIndexPoints);
    check(m.transCount >= 0 && m.transCount <= kMaxTransPoints);
    check(m.thickness > 0 && std::isfinite(m.thickness));
    check(g.definition.lowerWavelength >= 0 && g.definition.lowerWavelength <= 32000);
    check(g.definition.upperWavelength >= 0 && g.definition.upperWavelength <= 32000);
    if (named) check(!g.definition.name.isBlank());
    for (int i = 1; i <= m.transCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        check(std::isfinite(m.transWavelength[k]) && std::isfinite(m.absorption[k]) &&
              std::isfinite(m.internalTrans[k]) && std::isfinite(m.totalTrans[k]));
        if (i > 1) check(m.transWavelength[k - 1] >= m.transWavelength[k]);
    }
    for (float a : g.standardAbsorption) check(std::isfinite(a));
    for (float a : g.definition.transAbsorption) check(std::isfinite(a));
}

inline void checkRead(bool ok, ImportedMaterials& result, bool named) {
    check(result.fitErrors.size() == result.glasses.size());
    if (!ok) {
        check(result.glasses.empty() && result.skipped.empty() && result.refitCount == 0);
        return;
    }
    check(result.errorText.empty());
    int refitted = 0;
    for (float e : result.fitErrors) {
        check(e >= 0 && std::isfinite(e));
        if (e > 0) ++refitted;
    }
    check(refitted <= result.refitCount && result.refitCount <= result.count());
    for (const GlassRecord& g : result.glasses) checkMaterial(g, named);
    for (const SkippedMaterial& s : result.skipped) check(!s.reason.empty() && s.line >= 1);
    if (result.glasses.empty()) return;

    // What the page would export reads back whole.
    std::vector<GlassRecord> copies = result.glasses;
    const std::string text = MakeGLZText(copies, 1, static_cast<int>(copies.size()), "Monday, January 1, 2024");
    SilentBoxes boxes;
    CImportNewGLZ glz(boxes);
    std::vector<GlassRecord> back;
    int count = 0;
    check(glz.ImportBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), back, count));
    check(count == result.count());
}

}  // namespace fuzzchecks
