#include "exchange/CImportOldLQ.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <string_view>

#include "exchange/ImportRecord.h"
#include "exchange/ImportText.h"
#include "exchange/TextFileDecode.h"
#include "platform/NumberText.h"

namespace {

// The wavelength limits as the record holds them.
constexpr double kMaxWavelength = 32000;

bool readGlaTail(TextCursor&, GlassRecord& glass) {
    glass.properties.status.set("A");
    return true;
}

}  // namespace

bool OldItemReader::text(std::string& value) {
    std::string_view item;
    if (!m_in.readItem(item)) return false;
    value.assign(item);
    return true;
}

bool OldItemReader::number(double& value) {
    std::string_view item;
    if (!m_in.readItem(item)) return false;
    if (TrimBlanks(item).empty()) {
        value = 0;
        return true;
    }
    return ParseNumber(item, value);
}

bool OldItemReader::single(float& value) {
    double d;
    if (!number(d) || std::fabs(d) > static_cast<double>(std::numeric_limits<float>::max())) return false;
    value = static_cast<float>(d);
    return true;
}

bool OldItemReader::integer(std::int16_t& value) {
    double d;
    std::int64_t whole;
    if (!number(d) || !WholeNumber(d, -32768, 32767, whole)) return false;
    value = static_cast<std::int16_t>(whole);
    return true;
}

bool OldItemReader::longInteger(std::int32_t& value) {
    double d;
    std::int64_t whole;
    if (!number(d) || !WholeNumber(d, INT32_MIN, INT32_MAX, whole)) return false;
    value = static_cast<std::int32_t>(whole);
    return true;
}

bool ReadOldMaterialLayout(OldItemReader& in, GlassRecord& g) {
    GlassDefinition& d = g.definition;
    MeasuredData& md = g.measured;
    std::int16_t n = 0;
    if (!in.text(d.name) || !in.integer(d.catalogNumber) || !in.text(d.source) || !in.longInteger(d.glassCode) ||
        !in.single(d.density) || !in.integer(g.indexDataType) || !in.integer(n))
        return false;
    if (n < 0 || n > kMaxIndexPoints) return false;
    g.indexPointCount = n;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(n); ++i) {
        if (!in.number(md.indexWavelength[i]) || !in.number(md.index[i]) || !in.single(md.weight[i])) return false;
        md.indexWavelengthUm[i] = md.indexWavelength[i] / 1000;
        md.indexSquared[i] = md.index[i] * md.index[i];
    }
    // Limits beyond what the record holds are kept at its edges.
    double lower = 0, upper = 0;
    if (!in.number(lower) || !in.number(upper)) return false;
    std::int64_t whole = 0;
    WholeNumber(std::clamp(lower, 0.0, kMaxWavelength), 0, 32000, whole);
    d.lowerWavelength = static_cast<std::int16_t>(whole);
    WholeNumber(std::clamp(upper, 0.0, kMaxWavelength), 0, 32000, whole);
    d.upperWavelength = static_cast<std::int16_t>(whole);
    if (!in.integer(d.formulaType)) return false;
    for (double& c : d.coefficients)
        if (!in.number(c)) return false;
    std::int16_t m = 0;
    if (!in.integer(m) || !in.integer(md.transDataType) || !in.single(md.thickness)) return false;
    if (m < 0 || m > kStandardTransCount) return false;
    md.transCount = m;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(m); ++i) {
        if (!in.single(md.transWavelength[i]) || !in.single(md.totalTrans[i]) || !in.single(md.internalTrans[i]) ||
            !in.single(md.absorption[i]))
            return false;
    }
    SortTransPoints(md);
    FillDesignTable(g);
    return true;
}

void FinishOldMaterial(GlassRecord& glass) {
    for (SectionStatus& s : glass.sections) s.ready = kTrue;
    FinishImported(glass);
}

bool ImportOldMaterial(const std::uint8_t* bytes, std::size_t size, ImportedMaterials& result,
                       bool (*tail)(TextCursor& in, GlassRecord& glass)) {
    result.clear();
    try {
        std::string converted;
        TextCursor in(DecodeTextFile(bytes, size, converted));
        OldItemReader items(in);
        GlassRecord glass;
        InitGlassRecord(glass);
        if (!ReadOldMaterialLayout(items, glass) || !tail(in, glass)) return false;
        FinishOldMaterial(glass);
        result.glasses.push_back(glass);
        result.fitErrors.push_back(0);
        return true;
    } catch (const std::bad_alloc&) {
        result.clear();
        return false;
    }
}

bool CImportOldLQ::ImportBytes(const std::uint8_t* bytes, std::size_t size, const std::string&,
                               ImportedMaterials& result) {
    return ImportOldMaterial(bytes, size, result, readGlaTail);
}
