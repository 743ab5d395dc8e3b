#include "exchange/CImportZemaxAGF.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "exchange/ImportRecord.h"
#include "exchange/ImportText.h"
#include "exchange/TextFileDecode.h"
#include "model/GlassData.h"
#include "model/NumberFormat.h"
#include "model/TransCalcs.h"

namespace {

// A first line longer than this is a file saved without line ends.
constexpr std::size_t kLongestFirstLine = 200;
constexpr double kMaxWavelength = 32000;   // nm, as the record holds it
constexpr std::int16_t kCdgmUpper = 1020;  // nm, the least upper limit of that maker's glasses
constexpr std::size_t kCdValues = 10;      // more than any formula taken here needs
constexpr float kReferenceTemperature = 20.0f;

const char* const kNoLineEnds =
    "This file cannot be read properly, because it does not contain any 'carraige returns'.\r\n\r\n"
    "To correct this, simply:\r\n\t1) read the file in Windows Notepad\r\n\t2) re-save it\r\n"
    "\t3) try importing again";

bool startsWithNumber(std::string_view field) {
    const char c = field.empty() ? '\0' : field[0];
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
}

// The values of a keyword line's fields 1.. (field 0 is the keyword); the
// fields a line lacks stay absent, and a line coming twice replaces the first.
template <std::size_t N>
struct LineValues {
    bool present = false;
    std::size_t count = 0;
    std::array<double, N> values{};

    void set(const std::vector<std::string_view>& fields) {
        present = true;
        count = 0;
        add(fields, 1);
    }
    void add(const std::vector<std::string_view>& fields, std::size_t from) {
        for (std::size_t i = from; i < fields.size() && count < N; ++i) values[count++] = Val(fields[i]);
    }
    // Field k (from 1), 0 when the line lacks it.
    double operator[](std::size_t k) const { return k >= 1 && k <= count ? values[k - 1] : 0.0; }
    bool has(std::size_t k) const { return k >= 1 && k <= count; }
};

// A property text from a value the catalogue marks as unknown with -1.
std::string knownText(double value) { return value == -1 ? std::string() : GeneralText(value); }

std::int16_t wavelengthFromMicrometres(double um) {
    std::int64_t nm = 0;
    WholeNumber(std::clamp(um * 1000, 0.0, kMaxWavelength), 0, static_cast<std::int64_t>(kMaxWavelength), nm);
    return static_cast<std::int16_t>(nm);
}

std::string sourceOf(const std::string& fileName) {
    std::string source = TrimBlanks(std::string_view(fileName).substr(0, fileName.find('.')));
    if (UpperCase1252(source) == "CHENGDU") source = "CDGM";
    return source;
}

// Lines that start with NM: a bound for the records of the file.
std::size_t countRecords(std::string_view text) {
    std::size_t n = text.starts_with("NM") ? 1 : 0;
    for (std::size_t at = text.find("NM", 1); at != std::string_view::npos; at = text.find("NM", at + 2))
        if (text[at - 1] == '\n' || text[at - 1] == '\r') ++n;
    return n;
}

}  // namespace

bool CImportZemaxAGF::ParseGlass(TextCursor& in, std::string_view& line, bool& atEnd, const std::string& source,
                                 GlassRecord& g, bool& refitted, float& fitError, std::string& reason) {
    refitted = false;
    fitError = 0;
    SplitFields(line, m_fields);
    const std::string name = m_fields.size() > 1 ? std::string(m_fields[1]) : std::string();
    const std::string_view formulaText = m_fields.size() > 2 ? m_fields[2] : std::string_view();
    const double codeValue = m_fields.size() > 3 ? Val(m_fields[3]) : 0.0;
    const std::string ndText(m_fields.size() > 4 ? m_fields[4] : std::string_view());
    const std::string vdText(m_fields.size() > 5 ? m_fields[5] : std::string_view());

    // The record's lines, up to the next NM line.
    LineValues<3> ed;
    LineValues<kCdValues> cd;
    LineValues<7> td;
    LineValues<6> od;
    LineValues<2> ld;
    std::array<float, kMaxTransPoints> itWave{}, itTrans{}, itThickness{};
    std::size_t itLines = 0;
    bool tooManyIt = false;
    bool inCd = false;  // a CD line's values may go on over the following lines
    atEnd = true;
    while (in.readLine(line)) {
        SplitFields(line, m_fields);
        if (m_fields.empty()) continue;
        const std::string_view key = m_fields[0];
        if (key == "NM") {
            atEnd = false;
            break;
        }
        if (inCd && startsWithNumber(key)) {
            cd.add(m_fields, 0);
            continue;
        }
        inCd = key == "CD";
        if (key == "IT") {
            // A line without a wavelength and a transmittance is no point.
            if (m_fields.size() < 3 || !(Val(m_fields[1]) > 0)) continue;
            if (itLines == itWave.size()) {
                tooManyIt = true;
                continue;
            }
            itWave[itLines] = static_cast<float>(std::min(Val(m_fields[1]) * 1000, 1e30));
            itTrans[itLines] = static_cast<float>(std::clamp(Val(m_fields[2]) * 100, -1e30, 1e30));
            itThickness[itLines] = ThicknessOrDefault(m_fields.size() > 3 ? Val(m_fields[3]) : 0.0);
            ++itLines;
        } else if (key == "CD") {
            cd.set(m_fields);
        } else if (key == "ED") {
            ed.set(m_fields);
        } else if (key == "TD") {
            td.set(m_fields);
        } else if (key == "OD") {
            od.set(m_fields);
        } else if (key == "LD") {
            ld.set(m_fields);
        }
    }

    if (name.empty()) {
        reason = "it has no name";
        return false;
    }
    GlassDefinition& d = g.definition;
    d.name.set(name);
    std::int64_t formula = 0;
    WholeNumber(Val(formulaText), -32768, 32767, formula);
    switch (formula) {
    case 1: d.formulaType = kSchott; break;
    case 2: d.formulaType = kSellmeier; break;
    case 3: d.formulaType = kHerzberger; break;
    case 5: d.formulaType = kConrady; break;
    default:
        reason = "its formula " + (formulaText.empty() ? std::string("(none)") : std::string(formulaText)) +
                 " is not supported";
        return false;
    }
    if (tooManyIt) {
        reason = "it has more than 150 transmission points";
        return false;
    }

    d.source.set(source);
    d.catalogNumber = static_cast<std::int16_t>(std::clamp<int>(m_catalogNumber, kOwnCatalogNumber, 32767));
    // A catalogue gives its formulas' constants, not measured points: the
    // editor shows and checks them as such.
    g.indexDataType = kCoefficients;
    std::int64_t code = 0;
    if (WholeNumber(codeValue, 0, INT32_MAX, code) && code >= 1000) {
        d.glassCode = static_cast<std::int32_t>(code);
    } else {
        d.glassCode = MakeGlassCode(ndText, vdText);
    }

    GlassProperties& p = g.properties;
    if (ed.present) {
        if (ed.has(1)) p.a3070.set(GeneralText(ed[1]));
        if (ed.has(2)) p.a20300.set(GeneralText(ed[2]));
        d.density = static_cast<float>(std::clamp(ed[3], -3.0e38, 3.0e38));
    }
    auto& c = d.coefficients;
    switch (d.formulaType) {
    case kSellmeier:
        c[0] = cd[1], c[1] = cd[3], c[2] = cd[5];  // the three K terms
        c[3] = cd[2], c[4] = cd[4], c[5] = cd[6];  // the three L terms
        break;
    case kConrady:
        for (std::size_t s = 0; s < 3; ++s) c[s] = cd[s + 1];
        break;
    default:
        for (std::size_t s = 0; s < 6; ++s) c[s] = cd[s + 1];
        break;
    }

    NotesAndDnDt& t = g.notes;
    float* const constants[] = {&t.d0, &t.d1, &t.d2, &t.e0, &t.e1, &t.lambdaTK};
    bool anyConstant = false;
    for (std::size_t i = 0; i < 6; ++i) {
        *constants[i] = static_cast<float>(std::clamp(td[i + 1], -3.0e38, 3.0e38));
        anyConstant = anyConstant || *constants[i] != 0;
    }
    t.referenceTemperature = td.has(7) ? static_cast<float>(std::clamp(td[7], -3.0e38, 3.0e38))
                                       : kReferenceTemperature;
    t.dnDtType = anyConstant ? kSchottDnDt : kNoDnDt;

    if (od.present) {
        if (od.has(1)) p.price.set(od[1] == -1 ? std::string() : GeneralText(od[1] * 10));
        if (od.has(2)) p.cr.set(knownText(od[2]));
        if (od.has(3)) p.fr.set(knownText(od[3]));
        if (od.has(4)) p.sr.set(knownText(od[4]));
        if (od.has(5)) p.ar.set(knownText(od[5]));
        if (od.has(6)) p.pr.set(knownText(od[6]));
        p.status.set("A");
    }
    d.lowerWavelength = wavelengthFromMicrometres(ld[1]);
    d.upperWavelength = wavelengthFromMicrometres(ld[2]);
    if (UpperCase1252(source) == "CDGM") d.upperWavelength = std::max(d.upperWavelength, kCdgmUpper);

    if (d.formulaType == kConrady || d.formulaType == kHerzberger) {
        if (!RefitToSchott(d, fitError, reason)) return false;
        refitted = true;
    }

    MeasuredData& md = g.measured;
    auto totalOf = [&](float wave, float internal) {
        bool ok = false;
        const double n = EvaluateIndex(d, wave, d.formulaType, ok);
        return static_cast<float>(internal * 2 * n / (n * n + 1));
    };
    if (itLines == 0) {
        // No data: the range's two ends, with nothing passing.
        md.transCount = 2;
        md.transDataType = kInternalTransmission;
        md.thickness = kDefaultThickness;
        md.transWavelength[1] = d.upperWavelength;
        md.transWavelength[2] = d.lowerWavelength;
    } else {
        const auto n = itLines;
        md.transCount = static_cast<std::int16_t>(n);
        md.transDataType = kAbsorptionCoefficient;
        // The record keeps the first line's thickness; every line's absorption
        // comes from its own, and the transmittances are restated at the record's.
        md.thickness = itThickness[0];
        for (std::size_t k = 1; k <= n; ++k) {
            const std::size_t i = n - k + 1;  // the file's order reversed
            const float wave = itWave[k - 1];
            const float trans = itTrans[k - 1];
            const float alpha = AbsorptionFromTransmittance(trans, itThickness[k - 1]);
            float internal = trans;
            if (!(trans > 0)) {
                internal = 0;
            } else if (itThickness[k - 1] != md.thickness) {
                internal = static_cast<float>(100 * std::exp(-static_cast<double>(alpha) * md.thickness));
            }
            md.transWavelength[i] = wave;
            md.absorption[i] = alpha;
            md.internalTrans[i] = internal;
            md.totalTrans[i] = totalOf(wave, internal);
        }
    }
    // A range given upside down must not leave its two ends upside down.
    SortTransPoints(md);
    FillDesignTable(g);
    if (itLines > 3) {
        ComputeColourCode(g, md.thickness, std::span<const float>(md.transWavelength.items).first(itLines),
                          std::span<const float>(md.internalTrans.items).first(itLines));
    }

    g.sections[kGeneral].ready = kTrue;
    g.sections[kIndex].ready = kTrue;
    g.sections[kDnDt].ready = kTrue;
    g.sections[kTrans].ready = itLines == 0 ? kTrue : kFalse;
    g.sections[kOther].ready = d.density != 0 ? kTrue : kFalse;
    FinishImported(g);
    return true;
}

bool CImportZemaxAGF::ImportBytes(const std::uint8_t* bytes, std::size_t size, const std::string& fileName,
                                  ImportedMaterials& result) {
    result.clear();
    try {
        std::string converted;
        const std::string_view text = DecodeTextFile(bytes, size, converted);
        TextCursor in(text);
        std::string_view line;
        if (!in.readLine(line)) return true;  // an empty file holds no material
        if (line.size() > kLongestFirstLine) {
            result.errorText = kNoLineEnds;
            return false;
        }
        const std::string source = sourceOf(fileName);
        const std::size_t records = countRecords(text);
        result.glasses.reserve(records);
        result.fitErrors.reserve(records);

        // Whatever comes before the first record (CC, comments) is passed over.
        bool atEnd = false;
        for (;;) {
            SplitFields(line, m_fields);
            if (!m_fields.empty() && m_fields[0] == "NM") break;
            if (!in.readLine(line)) return true;
        }
        while (!atEnd) {
            const int firstLine = in.lastLineNumber();
            GlassRecord& glass = result.glasses.emplace_back();
            InitGlassRecord(glass);
            bool refitted = false;
            float fitError = 0;
            std::string reason;
            if (ParseGlass(in, line, atEnd, source, glass, refitted, fitError, reason)) {
                result.fitErrors.push_back(refitted ? fitError : 0.0f);
                if (refitted) ++result.refitCount;
            } else {
                result.skipped.push_back({glass.definition.name.str(), firstLine, reason});
                result.glasses.pop_back();
            }
        }
        return true;
    } catch (const std::bad_alloc&) {
        result.clear();
        return false;
    }
}
