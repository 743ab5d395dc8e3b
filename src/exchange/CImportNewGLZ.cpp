#include "exchange/CImportNewGLZ.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <string_view>
#include <utility>

#include "exchange/GlzFormat.h"
#include "exchange/TextFileDecode.h"
#include "model/FileUtil.h"
#include "platform/NumberText.h"
#include "model/TransCalcs.h"
#include "model/Verification.h"
#include "platform/Boxes.h"

// Walks the decoded text by whole lines (the markers) and by items (the data
// of a section). An item ends at a comma or a line end, which it consumes;
// a text in double quotes may hold commas and ends at its closing quote.
// CR LF, LF and CR all end a line.
class GlzTextCursor {
public:
    explicit GlzTextCursor(std::string text) : m_text(std::move(text)) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    // How often text occurs from here on.
    std::size_t count(std::string_view text) const {
        std::size_t n = 0;
        for (std::size_t at = m_text.find(text, m_pos); at != std::string::npos; at = m_text.find(text, at + 1)) ++n;
        return n;
    }

    // False at the end of the text.
    bool readLine(std::string_view& line) {
        if (atEnd()) return false;
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && !isLineEnd(m_text[m_pos])) ++m_pos;
        line = view(start, m_pos);
        skipLineEnd();
        return true;
    }

    // True when the cursor stands at the start of a line equal to text.
    bool atLine(std::string_view text) const {
        if (m_pos != 0 && !isLineEnd(m_text[m_pos - 1])) return false;
        const std::string_view rest = view(m_pos, m_text.size());
        return rest.starts_with(text) && (rest.size() == text.size() || isLineEnd(rest[text.size()]));
    }

    // False when there is no item left.
    bool readItem(std::string_view& item) {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos])) ++m_pos;
        if (atEnd()) return false;
        if (m_text[m_pos] == '"') {
            const std::size_t start = ++m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] != '"' && !isLineEnd(m_text[m_pos])) ++m_pos;
            item = view(start, m_pos);
            while (m_pos < m_text.size() && m_text[m_pos] != ',' && !isLineEnd(m_text[m_pos])) ++m_pos;
        } else {
            const std::size_t start = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] != ',' && !isLineEnd(m_text[m_pos])) ++m_pos;
            std::size_t end = m_pos;
            while (end > start && isBlank(m_text[end - 1])) --end;
            item = view(start, end);
        }
        if (m_pos < m_text.size() && m_text[m_pos] == ',') {
            ++m_pos;
        } else {
            skipLineEnd();
        }
        return true;
    }

private:
    static bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
    static bool isBlank(char c) { return c == ' ' || c == '\t'; }
    std::string_view view(std::size_t from, std::size_t to) const {
        return std::string_view(m_text).substr(from, to - from);
    }
    void skipLineEnd() {
        if (m_pos < m_text.size() && m_text[m_pos] == '\r') {
            ++m_pos;
            if (m_pos < m_text.size() && m_text[m_pos] == '\n') ++m_pos;
        } else if (m_pos < m_text.size() && m_text[m_pos] == '\n') {
            ++m_pos;
        }
    }

    std::string m_text;
    std::size_t m_pos = 0;
};

namespace {

constexpr float kDefaultThickness = 10.0f;

// The record rules every imported material goes through once its block is read.
void finishImported(GlassRecord& glass) {
    // The interpolation needs a sample thickness; blocks without one, or with
    // 0 or less, get the default.
    if (!(glass.measured.thickness > 0)) glass.measured.thickness = kDefaultThickness;
    AbsorptionAtStandardWavelengths(glass.standardAbsorption, glass.measured.thickness,
                                    glass.measured.transWavelength.items, glass.measured.absorption.items);
    NormaliseGlassRecord(glass);
}

// Typed items of a section: each read fails at the end of the file and when
// the item does not convert to its type.
class ItemReader {
public:
    explicit ItemReader(GlzTextCursor& in) : m_in(in) {}

    // The next block's start line is never an item: a section cut short
    // would otherwise read on into the next material and merge the two.
    bool text(std::string_view& value) { return !m_in.atLine(kGlzBlockStart) && m_in.readItem(value); }
    template <std::size_t N>
    bool text(FixedText<N>& field) {
        std::string_view v;
        if (!text(v)) return false;
        field.set(v);  // cut to the field's length
        return true;
    }
    bool skip() {
        std::string_view v;
        return text(v);
    }
    bool dbl(double& value) {
        std::string_view v;
        return text(v) && (plainNumber(v, value) || ParseNumber(v, value));
    }
    bool single(float& value) {
        std::string_view v;
        return text(v) && (plainNumber(v, value) || parseSingle(v, value));
    }
    bool integer(std::int16_t& value) {
        double d;
        if (!dbl(d)) return false;
        d = std::nearbyint(d);  // the platform's Integer conversion rounds half to even
        if (d < -32768.0 || d > 32767.0) return false;
        value = static_cast<std::int16_t>(d);
        return true;
    }
    // A count of rows that follow: outside 0..max it is a read error of the
    // file, never an index past an array.
    bool count(std::int16_t& value, int max) { return integer(value) && value >= 0 && value <= max; }

private:
    // The forms the writer writes, read in one pass: an optional '-', then a
    // digit or '.', and the whole text a number of the grammar in range.
    // Anything else takes the full grammar.
    template <class Real>
    static bool plainNumber(std::string_view v, Real& value) {
        const std::size_t b = !v.empty() && v[0] == '-' ? 1 : 0;
        if (b >= v.size() || !((v[b] >= '0' && v[b] <= '9') || v[b] == '.')) return false;
        Real x;
        const auto r = std::from_chars(v.data(), v.data() + v.size(), x);
        if (r.ec != std::errc() || r.ptr != v.data() + v.size()) return false;
        value = x;
        return true;
    }
    // Straight to the nearest single, so a value written as a single's
    // shortest text reads back to the very same single.
    static bool parseSingle(std::string_view v, float& value) {
        double d;
        if (!ParseNumber(v, d)) return false;  // the one number grammar
        std::size_t b = 0, e = v.size();
        while (b < e && v[b] == ' ') ++b;
        while (e > b && v[e - 1] == ' ') --e;
        if (b < e && v[b] == '+') ++b;
        float f = 0;
        const auto r = std::from_chars(v.data() + b, v.data() + e, f);
        if (r.ptr != v.data() + e) return false;
        if (r.ec == std::errc::result_out_of_range) {
            if (std::fabs(d) > 1) return false;  // beyond the largest single
            f = static_cast<float>(d);           // below the smallest: 0
        } else if (r.ec != std::errc()) {
            return false;
        }
        value = f;
        return true;
    }

    GlzTextCursor& m_in;
};

bool readGeneral(ItemReader& r, GlassRecord& g, int& pointCount) {
    GlassDefinition& d = g.definition;
    if (!r.text(d.name) || !r.text(d.source)) return false;
    d.catalogNumber = kOwnCatalogNumber;
    if (!r.integer(d.formulaType) || !r.integer(d.lowerWavelength) || !r.integer(d.upperWavelength) ||
        !r.single(d.density))
        return false;
    for (double& c : d.coefficients)
        if (!r.dbl(c)) return false;
    if (!r.count(g.indexPointCount, kMaxIndexPoints) || !r.integer(g.reserved) || !r.integer(g.indexDataType))
        return false;
    pointCount = g.indexPointCount;
    g.sections[kGeneral].ready = kTrue;
    g.sections[kIndex].ready = kTrue;
    return true;
}

bool readDnDt(ItemReader& r, GlassRecord& g) {
    NotesAndDnDt& t = g.notes;
    if (!r.integer(t.dnDtType) || !r.single(t.dnDtSimple)) return false;
    // λTK comes twice; the second one wins.
    if (!r.single(t.d0) || !r.single(t.d1) || !r.single(t.d2) || !r.single(t.e0) || !r.single(t.e1) ||
        !r.single(t.lambdaTK) || !r.single(t.lambdaTK) || !r.single(t.referenceTemperature) ||
        !r.single(t.expansion))
        return false;
    g.sections[kDnDt].ready = kTrue;
    return true;
}

template <std::size_t N>
bool labelled(ItemReader& r, FixedText<N>& field) {
    return r.skip() && r.text(field);
}

bool readProperties(ItemReader& r, GlassRecord& g) {
    GlassProperties& p = g.properties;
    const bool ok = labelled(r, p.a3070) && labelled(r, p.a20300) && labelled(r, p.tg) && labelled(r, p.t1013) &&
                    labelled(r, p.t1076) && labelled(r, p.cp) && labelled(r, p.lambda) && labelled(r, p.eMod) &&
                    labelled(r, p.poisson) && labelled(r, p.torsion) && labelled(r, p.knoop) &&
                    labelled(r, p.cr) && labelled(r, p.fr) && labelled(r, p.sr) && labelled(r, p.ar) &&
                    labelled(r, p.pr) && labelled(r, p.remark) && labelled(r, p.cc) && labelled(r, p.bubble) &&
                    labelled(r, p.status) && labelled(r, p.price);
    if (ok) g.sections[kOther].ready = kTrue;
    return ok;
}

bool readTransmission(ItemReader& r, GlassRecord& g) {
    MeasuredData& md = g.measured;
    if (!r.count(md.transCount, kMaxTransPoints) || !r.single(md.thickness) || !r.integer(md.transDataType))
        return false;
    for (int i = 1; i <= md.transCount; ++i) {
        if (!r.single(md.transWavelength[i]) || !r.single(md.internalTrans[i]) || !r.single(md.totalTrans[i]) ||
            !r.single(md.absorption[i]))
            return false;
    }
    g.sections[kTrans].ready = md.transCount >= 2 ? kTrue : kFalse;
    return true;
}

bool readRefIndex(ItemReader& r, GlassRecord& g, int pointCount) {
    MeasuredData& md = g.measured;
    for (int i = 1; i <= pointCount; ++i) {
        if (!r.dbl(md.indexWavelength[i]) || !r.dbl(md.index[i]) || !r.single(md.weight[i])) return false;
        md.weight[i] = std::clamp(md.weight[i], 0.0f, 1.0f);
        md.index[i] = std::clamp(md.index[i], 0.0, 9.0);
    }
    return true;
}

bool readOldIndex(ItemReader& r, GlassRecord& g, int pointCount) {
    MeasuredData& md = g.measured;
    for (int i = 1; i <= pointCount; ++i) {
        if (!r.dbl(md.indexWavelength[i]) || !r.dbl(md.index[i])) return false;
        md.weight[i] = 1.0f;
    }
    return true;
}

bool readMelt(ItemReader& r, GlassRecord& g) {
    MeltBlock& m = g.melt;
    m.meltFlag = kTrue;
    if (!r.text(m.parentName) || !r.text(m.parentSource) || !r.text(m.meltCode) ||
        !r.count(m.pairCount, kMaxMeltPairs))
        return false;
    for (int i = 1; i <= m.pairCount; ++i)
        if (!r.single(m.pairWavelength[i]) || !r.dbl(m.pairIndex[i])) return false;
    if (!r.count(m.secondCount, kMaxMeltPairs)) return false;
    for (int i = 1; i <= m.secondCount; ++i)
        if (!r.dbl(m.secondTable[1][i]) || !r.dbl(m.secondTable[2][i]) || !r.dbl(m.secondTable[3][i]))
            return false;
    return true;
}

// The design table takes the first 41 transmission points, as the editor
// fills it. Its first 40 absorption entries start empty (99); the last keeps
// the blank record's value unless a 41st point fills it, as every importer
// leaves it. A point without a wavelength is padding (the writer pads counts
// above 10 to 150) and fills nothing, so padding never turns empty entries
// into an absorption of 0.
void fillDesignTable(GlassRecord& g) {
    GlassDefinition& d = g.definition;
    std::fill(d.transAbsorption.begin(), d.transAbsorption.end() - 1, static_cast<float>(kEmptyAbsorption));
    const int n = std::min<int>(g.measured.transCount, kStandardTransCount);
    for (int i = 1; i <= n; ++i) {
        if (!(g.measured.transWavelength[i] > 0)) continue;
        d.transWavelength[i - 1] = g.measured.transWavelength[i];
        d.transAbsorption[i - 1] = g.measured.absorption[i];
    }
}

}  // namespace

void CImportNewGLZ::ReadMaterialBlock(GlzTextCursor& in, GlassRecord& glass, bool& ok) {
    ok = false;
    ItemReader r(in);
    int pointCount = 0;  // of a General section read before in this block
    std::string_view line;
    while (in.readLine(line)) {
        bool read = true;
        if (line == kGlzBlockStart) {
            return;  // an unfinished block: never merge two materials
        } else if (line == kGlzGeneral) {
            read = readGeneral(r, glass, pointCount);
        } else if (line == kGlzDnDt) {
            read = readDnDt(r, glass);
        } else if (line == kGlzProperties) {
            read = readProperties(r, glass);
        } else if (line == kGlzTransmission) {
            read = readTransmission(r, glass);
        } else if (line == kGlzRefIndex) {
            read = readRefIndex(r, glass, pointCount);
        } else if (line == kGlzOldIndex) {
            read = readOldIndex(r, glass, pointCount);
        } else if (line == kGlzMelt) {
            read = readMelt(r, glass);
        } else if (line == kGlzBlockEnd) {
            fillDesignTable(glass);
            finishImported(glass);
            ok = true;
            return;
        }
        if (!read) return;
    }
    // The file ended before the block did.
}

bool CImportNewGLZ::ImportFile(const std::string& path, std::vector<GlassRecord>& glasses, int& count) {
    glasses.clear();
    count = 0;
    try {
        const auto bytes = ReadWholeFile(path);
        if (!bytes) return false;
        return ImportBytes(bytes->data(), bytes->size(), glasses, count);
    } catch (const std::bad_alloc&) {
        return false;  // a file too large to hold is a read error like any other
    }
}

bool CImportNewGLZ::ImportBytes(const std::uint8_t* bytes, std::size_t size, std::vector<GlassRecord>& glasses,
                                int& count) {
    glasses.clear();
    count = 0;
    try {
        return importText(DecodeTextFile(bytes, size), glasses, count);
    } catch (const std::bad_alloc&) {
        glasses.clear();
        count = 0;
        return false;
    }
}

bool CImportNewGLZ::importText(std::string text, std::vector<GlassRecord>& glasses, int& count) {
    GlzTextCursor in(std::move(text));
    std::string_view line;
    if (!in.readLine(line)) return false;  // an empty file
    if (line.find(kGlzHeaderMark) == std::string_view::npos) {
        m_boxes.show(kBoxPlain, std::string("This is not a ") + "Harvenne" +
                                    " GLZ material data file.  Import will abort.");
        return true;
    }
    std::vector<GlassRecord> read;
    // Every material read needs both markers: reserve no more than that.
    read.reserve(std::min(in.count(kGlzBlockStart), in.count(kGlzBlockEnd)));
    while (in.readLine(line)) {
        if (line != kGlzBlockStart) continue;
        if (in.atEnd()) break;  // a start marker as the last line ends the reading
        GlassRecord& glass = read.emplace_back();
        InitGlassRecord(glass);
        bool ok = false;
        ReadMaterialBlock(in, glass, ok);
        if (!ok) return false;
    }
    glasses = std::move(read);
    count = static_cast<int>(glasses.size());
    return true;
}
