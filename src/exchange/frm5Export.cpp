#include "exchange/frm5Export.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <new>
#include <type_traits>
#include <vector>

#include "exchange/GlzFormat.h"
#include "platform/Clock.h"
#include "platform/NumberText.h"
#include "model/FileUtil.h"
#include "model/TransCalcs.h"
#include "model/Verification.h"
#include "platform/Boxes.h"

namespace {

// The record rules every written material goes through first; both may change
// the page's copy. Returns the transmission point count to write.
int prepareForWrite(GlassRecord& glass) {
    NormaliseGlassRecord(glass);
    return TransPointCount(glass);
}

// Counts of a stored record may be anything; the file carries only what the
// arrays hold, so the count written always matches the rows that follow.
int clampCount(int count, int max) { return std::clamp(count, 0, max); }

// Data lines are comma-separated items: texts in double quotes, numbers in
// their shortest round-trip form with "." and an exponent like "1E-06".
class GlzLineWriter {
public:
    explicit GlzLineWriter(std::string& out) : m_out(out) {}

    void marker(const char* text) {
        m_out += text;
        m_out += "\r\n";
    }
    GlzLineWriter& text(const std::string& value) {
        separate();
        m_out += '"';
        m_out += cleanText(value);
        m_out += '"';
        return *this;
    }
    GlzLineWriter& integer(int value) {
        separate();
        char buf[16];
        const auto r = std::to_chars(buf, buf + sizeof buf, value);
        m_out.append(buf, r.ptr);
        return *this;
    }
    template <class Real>
    GlzLineWriter& real(Real value) {
        separate();
        // NaN and infinity have no text the reader takes; a backup that cannot
        // be read back would lose every material in it.
        if (!std::isfinite(value)) value = 0;
        char buf[40];
        char* end = nullptr;
        if constexpr (std::is_same_v<Real, float>) {
            end = ShortestChars(buf, buf + sizeof buf, value);
        } else {
            end = std::to_chars(buf, buf + sizeof buf, value).ptr;
        }
        for (char* p = buf; p != end; ++p)
            if (*p == 'e') *p = 'E';
        m_out.append(buf, end);
        return *this;
    }
    GlzLineWriter& single(float value) { return real(value); }
    GlzLineWriter& dbl(double value) { return real(value); }
    void end() {
        m_out += "\r\n";
        m_first = true;
    }

private:
    void separate() {
        if (!m_first) m_out += ',';
        m_first = false;
    }
    // A double quote would end the text early and a line break would split
    // the line, so both are replaced; the text is written trimmed.
    static std::string cleanText(const std::string& value) {
        std::string t = value;
        for (char& c : t) {
            const auto b = static_cast<unsigned char>(c);
            if (c == '"') c = '\'';
            else if (b < 0x20 || b == 0x7F) c = ' ';
        }
        return TrimBlanks(t);
    }

    std::string& m_out;
    bool m_first = true;
};

void writeMaterial(GlzLineWriter& w, GlassRecord& g) {
    const int m = clampCount(prepareForWrite(g), kMaxTransPoints);
    const GlassDefinition& d = g.definition;
    const int n = clampCount(g.indexPointCount, kMaxIndexPoints);

    w.marker(kGlzBlockStart);
    w.marker(kGlzGeneral);
    w.text(d.name.str()).text(d.source.str()).end();
    w.integer(d.formulaType).integer(d.lowerWavelength).integer(d.upperWavelength).single(d.density).end();
    for (double c : d.coefficients) w.dbl(c);
    w.end();
    w.integer(n).integer(g.reserved).integer(g.indexDataType).end();

    const NotesAndDnDt& t = g.notes;
    w.marker(kGlzDnDt);
    w.integer(t.dnDtType).single(t.dnDtSimple).end();
    w.single(t.d0).single(t.d1).single(t.d2).single(t.e0).single(t.e1);
    w.single(t.lambdaTK).single(t.lambdaTK).single(t.referenceTemperature).end();
    w.single(t.expansion).end();

    const GlassProperties& p = g.properties;
    w.marker(kGlzProperties);
    w.text("A3070").text(p.a3070.str()).text("A20300").text(p.a20300.str());
    w.text("Tg").text(p.tg.str()).text("T1013").text(p.t1013.str()).text("T1076").text(p.t1076.str());
    w.text("Cp").text(p.cp.str()).text("lambda").text(p.lambda.str()).end();
    w.text("EMod").text(p.eMod.str()).text("Poisson").text(p.poisson.str());
    w.text("Torsion").text(p.torsion.str()).text("Knoop").text(p.knoop.str()).end();
    w.text("CR").text(p.cr.str()).text("FR").text(p.fr.str()).text("SR").text(p.sr.str());
    w.text("AR").text(p.ar.str()).text("PR").text(p.pr.str()).end();
    w.text("Remark").text(p.remark.str()).text("CC").text(p.cc.str()).text("Bubble").text(p.bubble.str());
    w.text("Status").text(p.status.str()).text("RelPrice").text(p.price.str()).end();

    const MeasuredData& md = g.measured;
    w.marker(kGlzTransmission);
    w.integer(m).single(md.thickness).integer(md.transDataType).end();
    for (int i = 1; i <= m; ++i) {
        w.single(md.transWavelength[i]).single(md.internalTrans[i]).single(md.totalTrans[i]);
        w.single(md.absorption[i]).end();
    }

    if (n >= 1) {
        w.marker(kGlzRefIndex);
        for (int i = 1; i <= n; ++i) w.dbl(md.indexWavelength[i]).dbl(md.index[i]).single(md.weight[i]).end();
    }

    const MeltBlock& mb = g.melt;
    const int k = clampCount(mb.pairCount, kMaxMeltPairs);
    if (mb.meltFlag != 0 && k >= 1) {
        const int l = clampCount(mb.secondCount, kMaxMeltPairs);
        w.marker(kGlzMelt);
        w.text(mb.parentName.str()).text(mb.parentSource.str()).end();
        w.text(mb.meltCode.str()).integer(k).end();
        for (int i = 1; i <= k; ++i) w.single(mb.pairWavelength[i]).dbl(mb.pairIndex[i]).end();
        w.integer(l).end();
        for (int i = 1; i <= l; ++i)
            w.dbl(mb.secondTable[1][i]).dbl(mb.secondTable[2][i]).dbl(mb.secondTable[3][i]).end();
    }

    w.marker(kGlzBlockEnd);
    w.marker(kGlzBlockGap);
}

bool rangeInside(std::span<GlassRecord> glasses, int first, int last) {
    return first >= 1 && first <= last && static_cast<std::size_t>(last) <= glasses.size();
}


void writeHeader(std::string& out, const std::string& dateText) {
    out += kGlzHeaderMark;
    out += kGlzHeaderVersion;
    out += dateText;
    out += "\r\n";
}

}  // namespace

std::string MakeGLZText(std::span<GlassRecord> glasses, int first, int last, const std::string& dateText) {
    std::string out;
    if (!rangeInside(glasses, first, last)) return out;
    out.reserve(static_cast<std::size_t>(last - first + 1) * 12000);
    GlzLineWriter w(out);
    writeHeader(out, dateText);
    for (int i = first; i <= last; ++i) writeMaterial(w, glasses[static_cast<std::size_t>(i - 1)]);
    w.marker(kGlzFileEnd);
    return out;
}

bool WriteGLZFile(std::span<GlassRecord> glasses, const std::string& folder, const std::string& fileName,
                  int first, int last, const IClock& clock, IBoxes& boxes) {
    if (!rangeInside(glasses, first, last)) return false;
    const std::string path = WithTrailingSeparator(folder) + fileName;
    std::string why;
    try {
        // Written a piece of whole materials at a time: one buffer, used over
        // and over, instead of the whole text and a copy of it.
        constexpr std::size_t kPiece = std::size_t{1} << 20;
        std::string piece;
        piece.reserve(kPiece + (kPiece >> 2));
        const std::string dateText = LongDateText(clock.now());
        int next = first;
        bool started = false, ended = false;
        const auto nextPiece = [&]() -> std::span<const std::uint8_t> {
            piece.clear();
            GlzLineWriter w(piece);
            if (!started) {
                writeHeader(piece, dateText);
                started = true;
            }
            while (next <= last && piece.size() < kPiece)
                writeMaterial(w, glasses[static_cast<std::size_t>(next++ - 1)]);
            if (next > last && !ended) {
                w.marker(kGlzFileEnd);
                ended = true;
            }
            return {reinterpret_cast<const std::uint8_t*>(piece.data()), piece.size()};
        };
        if (WriteFileAtomicInPieces(path, nextPiece, &why)) return true;
    } catch (const std::bad_alloc&) {
        why = path + ": not enough memory";
    }
    boxes.show(kBoxExclamation, "Unable to write the backup file " + path + "!\r\n\r\n" + why);
    return false;
}

std::string LongDateText(double dateSerial) {
    static const char* const kDays[] = {"Saturday", "Sunday",   "Monday", "Tuesday",
                                        "Wednesday", "Thursday", "Friday"};
    static const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
    // Civil date of the day count (proleptic Gregorian), day 0 = 1899-12-30, a Saturday.
    // Clamped to the years 100..9999, the range of the platform's dates.
    const double serial = std::isfinite(dateSerial) ? std::clamp(dateSerial, -657434.0, 2958465.0) : 0.0;
    const long day = static_cast<long>(std::floor(serial));
    const long z = day - 25569 + 719468;  // days since 0000-03-01
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long d = doy - (153 * mp + 2) / 5 + 1;
    const long m = mp < 10 ? mp + 3 : mp - 9;
    const long y = yoe + era * 400 + (m <= 2);
    const long weekday = ((day % 7) + 7) % 7;
    return std::string(kDays[weekday]) + ", " + kMonths[m - 1] + " " + std::to_string(d) + ", " +
           std::to_string(y);
}
