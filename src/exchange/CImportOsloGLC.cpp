#include "exchange/CImportOsloGLC.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "exchange/ImportRecord.h"
#include "exchange/ImportText.h"
#include "exchange/TextFileDecode.h"
#include "model/GlassData.h"
#include "model/NumberFormat.h"

namespace {

constexpr std::size_t kNameColumns = 10;
constexpr float kGlcThickness = 5.0f;  // mm, every catalogue's transmission sample
constexpr float kReferenceTemperature = 20.0f;

// The catalogue's name: the last blank-separated token of the first line; a
// line that ends in a blank gives an empty name.
std::string catalogNameOf(std::string_view line) {
    const std::size_t at = line.find_last_of(" \t");
    return std::string(at == std::string_view::npos ? line : line.substr(at + 1));
}

bool isBlankLine(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// A field as a whole number the way the file's flags are read; 0 for a text
// without a number, and also for one far out of range, which no flag has.
int wholeField(std::string_view text) {
    std::int64_t v = 0;
    return WholeNumber(Val(text), -32768, 32767, v) ? static_cast<int>(v) : 0;
}

// The status letter as this program keeps it.
std::string statusOf(std::string_view field, const std::string& name) {
    if (field == "?") return "";
    const std::string letter = UpperCase1252(TrimBlanks(field));
    if (letter == "V") return name.size() >= 2 && name[1] == '-' ? "E" : "R";
    if (letter == "A") return "O";
    return "A";
}

}  // namespace

bool CImportOsloGLC::ParseGlassLine(std::string_view line, const std::string& catalogName, GlassRecord& g,
                                    bool& refitted, float& fitError, std::string& reason) {
    refitted = false;
    fitError = 0;
    const std::string name = TrimBlanks(line.substr(0, std::min(kNameColumns, line.size())));
    if (name.empty()) {
        reason = "it has no name";
        return false;
    }
    // Field 0 is whatever stands before the first blank after the name's
    // columns: nothing, unless the name runs on past them, and then that
    // overflow is no value.
    const std::string_view rest = line.substr(std::min(kNameColumns, line.size()));
    SplitFields(rest, m_fields);
    if (!rest.empty() && rest[0] != ' ' && rest[0] != '\t') m_fields.erase(m_fields.begin());
    const auto& f = m_fields;
    const std::size_t have = f.size();
    // Field k of the line, counted from 1.
    auto field = [&](std::size_t k) { return f[k - 1]; };
    const char* const tooFew = "its line has too few fields";
    if (have < 12) {
        reason = tooFew;
        return false;
    }

    GlassDefinition& d = g.definition;
    std::size_t p = 0, slots = 0;
    switch (wholeField(field(12))) {
    case 1: d.formulaType = kSchott; p = 19; slots = 6; break;
    case 2: d.formulaType = kSellmeier; p = 19; slots = 6; break;
    case 3: d.formulaType = kConrady; p = 16; slots = 3; break;
    default: reason = "its formula " + std::string(field(12)) + " is not supported"; return false;
    }
    if (have < p + 1) {
        reason = tooFew;
        return false;
    }
    NotesAndDnDt& t = g.notes;
    std::size_t q = 0;
    const int dnDtFlag = wholeField(field(p + 1));
    switch (dnDtFlag) {
    case 1: q = p + 8; break;
    case 2: q = p + 3; break;
    case 0: q = p + 2; break;
    default: reason = "its dn/dt flag " + std::string(field(p + 1)) + " is not supported"; return false;
    }
    if (have < q + 1) {
        reason = tooFew;
        return false;
    }
    const int transFlag = wholeField(field(q + 1));
    std::int64_t pointCount = 0;
    if (transFlag != 0) {
        if (have < q + 2) {
            reason = tooFew;
            return false;
        }
        if (!WholeNumber(Val(field(q + 2)), 0, 32767, pointCount)) {
            reason = "its transmission point count " + std::string(field(q + 2)) + " is out of range";
            return false;
        }
        if (pointCount > kStandardTransCount) {
            reason = "it has more than 41 transmission points";
            return false;
        }
        if (have < q + 2 + 2 * static_cast<std::size_t>(pointCount)) {
            reason = tooFew;
            return false;
        }
    }

    d.name.set(name);
    d.source.set(catalogName);
    d.catalogNumber = kOwnCatalogNumber;
    g.indexDataType = kCoefficients;
    t.referenceTemperature = kReferenceTemperature;
    d.glassCode = MakeGlassCode(std::string(field(1)), std::string(field(2)));
    d.density = ValSingle(field(3));
    t.dnDtSimple = ValSingle(field(4));
    // Divided as read, then kept as a single: one rounding, not two.
    const double expansion = Val(field(5)) / 10;
    t.expansion = std::fabs(expansion) <= std::numeric_limits<float>::max() ? static_cast<float>(expansion) : 0.0f;
    GlassProperties& pr = g.properties;
    pr.a3070.set(GeneralText(t.expansion));
    pr.price.set(GeneralText(Val(field(7)) * 10));
    pr.knoop.set(GeneralText(Val(field(8))));
    const std::string_view chem = field(9);
    if (chem != "0") {
        // One letter each, in the order the catalogue lists the resistances.
        auto letter = [&](std::size_t i) { return i < chem.size() ? chem.substr(i, 1) : std::string_view(); };
        pr.cr.set(letter(0));
        pr.fr.set(letter(1));
        pr.sr.set(letter(2));
        pr.ar.set(letter(3));
        pr.pr.set(letter(4));
    }
    const std::string_view bubble = field(10);
    if (bubble != "?") pr.bubble.set(bubble);
    pr.status.set(statusOf(field(11), name));
    for (std::size_t s = 0; s < slots; ++s) d.coefficients[s] = Val(field(14 + s));

    if (dnDtFlag == 1) {
        float* const constants[] = {&t.d0, &t.d1, &t.d2, &t.e0, &t.e1, &t.lambdaTK};
        bool any = false;
        for (std::size_t i = 0; i < 6; ++i) {
            *constants[i] = ValSingle(field(p + 3 + i));
            any = any || *constants[i] != 0;
        }
        t.dnDtType = any ? kSchottDnDt : kNoDnDt;
    } else {
        t.dnDtType = kNoDnDt;
        if (dnDtFlag == 2) t.dnDtSimple = 0;
    }

    MeasuredData& md = g.measured;
    if (transFlag != 0) {
        const auto m = static_cast<std::size_t>(pointCount);
        md.transCount = static_cast<std::int16_t>(m);
        md.transDataType = kInternalTransmission;
        md.thickness = kGlcThickness;
        float lowest = 0, highest = 0;
        for (std::size_t k = 1; k <= m; ++k) {
            const std::size_t i = m - k + 1;  // the file's order reversed
            const float wave = static_cast<float>(std::clamp(Val(field(q + 2 * k + 1)) * 1000, -1e30, 1e30));
            const float trans = static_cast<float>(std::clamp(Val(field(q + 2 * k + 2)) * 100, -1e30, 1e30));
            md.transWavelength[i] = wave;
            md.internalTrans[i] = trans;
            md.absorption[i] = AbsorptionFromTransmittance(trans, kGlcThickness);
            bool ok = false;
            const double n = EvaluateIndex(d, wave, d.formulaType, ok);
            md.totalTrans[i] = static_cast<float>(trans * 2 * n / (n * n + 1));
            lowest = k == 1 ? wave : std::min(lowest, wave);
            highest = k == 1 ? wave : std::max(highest, wave);
        }
        auto limit = [](float nm) {
            std::int64_t whole = 0;
            WholeNumber(std::clamp(static_cast<double>(nm), 0.0, 32000.0), 0, 32000, whole);
            return static_cast<std::int16_t>(whole);
        };
        d.lowerWavelength = limit(lowest);
        d.upperWavelength = limit(highest);
        SortTransPoints(md);
    }

    g.sections[kDnDt].ready = kTrue;
    if (d.formulaType == kConrady) {
        if (!RefitToSchott(d, fitError, reason)) return false;
        refitted = true;
    }
    FillDesignTable(g);
    g.sections[kGeneral].ready = kTrue;
    g.sections[kIndex].ready = d.lowerWavelength > 0 && d.upperWavelength > 0 ? kTrue : kFalse;
    g.sections[kTrans].ready = md.transCount > 0 ? kTrue : kFalse;
    g.sections[kOther].ready = kTrue;
    FinishImported(g);
    return true;
}

bool CImportOsloGLC::ImportBytes(const std::uint8_t* bytes, std::size_t size, const std::string&,
                                 ImportedMaterials& result) {
    result.clear();
    try {
        std::string converted;
        TextCursor in(DecodeTextFile(bytes, size, converted));
        std::string_view line;
        if (!in.readLine(line)) return true;  // an empty file holds no material
        const std::string catalogName = catalogNameOf(line);
        for (;;) {
            const int lineNumber = in.lineNumber();
            if (!in.readLine(line)) break;
            if (isBlankLine(line)) continue;
            GlassRecord& glass = result.glasses.emplace_back();
            InitGlassRecord(glass);
            bool refitted = false;
            float fitError = 0;
            std::string reason;
            if (ParseGlassLine(line, catalogName, glass, refitted, fitError, reason)) {
                result.fitErrors.push_back(refitted ? fitError : 0.0f);
                if (refitted) ++result.refitCount;
            } else {
                result.glasses.pop_back();
                result.skipped.push_back(
                    {TrimBlanks(line.substr(0, std::min(kNameColumns, line.size()))), lineNumber, reason});
            }
        }
        return true;
    } catch (const std::bad_alloc&) {
        result.clear();
        return false;
    }
}
