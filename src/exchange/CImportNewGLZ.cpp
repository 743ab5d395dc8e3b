#include "exchange/CImportNewGLZ.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string_view>
#include <utility>

#include "exchange/GlzFormat.h"
#include "exchange/ImportRecord.h"
#include "exchange/ImportText.h"
#include "exchange/TextFileDecode.h"
#include "model/FileUtil.h"
#include "platform/NumberText.h"
#include "platform/Boxes.h"
#include "platform/LargeMemory.h"

namespace {

// Typed items of a section: each read fails at the end of the file and when
// the item does not convert to its type.
class ItemReader {
public:
    explicit ItemReader(TextCursor& in) : m_in(in) {}

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
        if (QuickDecimal(v, value)) return true;  // most of them, exactly and at once
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

    TextCursor& m_in;
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

// Closes the file it holds when it goes.
struct FileDescriptor {
    explicit FileDescriptor(int descriptor) : fd(descriptor) {}
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int fd;
};

// One read, retried when a signal cuts it short; -1 on a read error.
ssize_t readSome(int fd, char* to, std::size_t room) {
    for (;;) {
        const ssize_t n = ::read(fd, to, room);
        if (n >= 0 || errno != EINTR) return n;
    }
}

// What a first pass over a file tells: how often the two block markers
// occur, and whether every byte is ASCII (no byte order mark, nothing to
// convert: the bytes are the text).
struct MarkerCount {
    std::size_t starts = 0;
    std::size_t ends = 0;
    bool plain = true;
};

// True when no byte has its high bit set; eight bytes at a time.
bool allAscii(const char* p, std::size_t n) {
    std::uint64_t high = 0;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, sizeof word);
        high |= word;
    }
    for (; i < n; ++i) high |= static_cast<unsigned char>(p[i]);
    return (high & 0x8080808080808080u) == 0;
}

bool scanFile(int fd, MarkerCount& count) {
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    const std::string_view start(kGlzBlockStart), end(kGlzBlockEnd);
    const std::size_t keep = std::max(start.size(), end.size()) - 1;  // a marker across two chunks
    auto block = std::make_unique_for_overwrite<char[]>(keep + kChunk);
    std::size_t kept = 0;
    for (;;) {
        const ssize_t n = readSome(fd, block.get() + kept, kChunk);
        if (n < 0) return false;
        if (n == 0) return true;
        if (count.plain) count.plain = allAscii(block.get() + kept, static_cast<std::size_t>(n));
        // A marker cannot lie wholly in the part kept from the last chunk,
        // so none is counted twice.
        const std::string_view text(block.get(), kept + static_cast<std::size_t>(n));
        for (std::size_t at = text.find(start); at != std::string_view::npos; at = text.find(start, at + 1))
            ++count.starts;
        for (std::size_t at = text.find(end); at != std::string_view::npos; at = text.find(end, at + 1))
            ++count.ends;
        const std::size_t carry = std::min(keep, text.size());
        std::memmove(block.get(), text.data() + text.size() - carry, carry);
        kept = carry;
    }
}

// A file read through one block that is used over and over. text() is what
// has been read, up to its last complete line end (all of it once the file
// has ended), so no line and no CR LF is ever cut in two.
class FileWindow {
public:
    FileWindow(int fd, std::size_t size)
        : m_fd(fd), m_capacity(std::max<std::size_t>(size, 64)),
          m_block(std::make_unique_for_overwrite<char[]>(m_capacity)) {}

    std::string_view text() const { return {m_block.get(), m_usable}; }
    bool atEof() const { return m_eof; }

    // Keeps the text from `from` on, at the start of the block, and reads on
    // behind it until the text holds at least one more line or the file has
    // ended; a block too small for that grows. False on a read error.
    bool moveOn(std::size_t from) {
        std::memmove(m_block.get(), m_block.get() + from, m_filled - from);
        m_filled -= from;
        const std::size_t before = m_usable - from;
        for (;;) {
            if (m_filled == m_capacity) {
                auto larger = std::make_unique_for_overwrite<char[]>(m_capacity * 2);
                std::memcpy(larger.get(), m_block.get(), m_filled);
                m_block = std::move(larger);
                m_capacity *= 2;
            }
            const ssize_t n = readSome(m_fd, m_block.get() + m_filled, m_capacity - m_filled);
            if (n < 0) return false;
            if (n == 0) {
                m_eof = true;
                m_usable = m_filled;
                return true;
            }
            m_filled += static_cast<std::size_t>(n);
            m_usable = completeLines();
            if (m_usable > before) return true;
        }
    }

private:
    // The length of the text up to its last line end: an LF, or a CR that
    // is not the last byte read (an LF may follow it).
    std::size_t completeLines() const {
        for (std::size_t i = m_filled; i-- > 0;) {
            if (m_block[i] == '\n') return i + 1;
            if (m_block[i] == '\r' && i + 1 < m_filled) return i + 1;
        }
        return 0;
    }

    int m_fd;
    std::size_t m_capacity;
    std::unique_ptr<char[]> m_block;
    std::size_t m_filled = 0;  // bytes read into the block
    std::size_t m_usable = 0;  // of which whole lines
    bool m_eof = false;
};

}  // namespace

void CImportNewGLZ::ReadMaterialBlock(TextCursor& in, GlassRecord& glass, bool& ok) {
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
            // The writer pads counts above 10 to 150 with points without a
            // wavelength; they fill nothing in the design table.
            FillDesignTable(glass);
            FinishImported(glass);
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
        FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        if (file.fd < 0) return false;
        struct stat info {};
        if (::fstat(file.fd, &info) == 0 && S_ISREG(info.st_mode)) {
            // Most backups are plain ASCII: their bytes are their text, and
            // they are read a window at a time. Any other file is converted whole.
            MarkerCount markers;
            if (!scanFile(file.fd, markers)) return false;
            if (markers.plain) {
                if (::lseek(file.fd, 0, SEEK_SET) != 0) return false;
                if (importStream(file.fd, std::min(markers.starts, markers.ends), glasses, count)) return true;
                glasses.clear();
                count = 0;
                return false;
            }
        }
        const auto whole = ReadFileBuffer(path);
        if (!whole) return false;
        return ImportBytes(whole->bytes.get(), whole->size, glasses, count);
    } catch (const std::bad_alloc&) {
        glasses.clear();
        count = 0;
        return false;  // a file too large to hold is a read error like any other
    }
}

bool CImportNewGLZ::ImportBytes(const std::uint8_t* bytes, std::size_t size, std::vector<GlassRecord>& glasses,
                                int& count) {
    glasses.clear();
    count = 0;
    try {
        std::string converted;
        // The writer writes Windows-1252: a name whose bytes form UTF-8 must read back as written.
        return importText(DecodeTextFile(bytes, size, converted, Unmarked::k1252), glasses, count);
    } catch (const std::bad_alloc&) {
        glasses.clear();
        count = 0;
        return false;
    }
}

bool CImportNewGLZ::foreignHeader(std::string_view line) {
    if (line.find(kGlzHeaderMark) != std::string_view::npos) return false;
    m_boxes.show(kBoxPlain,
                 std::string("This is not a ") + "Harvenne" + " GLZ material data file.  Import will abort.");
    return true;
}

void CImportNewGLZ::makeRoom(std::vector<GlassRecord>& glasses, std::size_t most) {
    // Read straight into the caller's list: a list read into before keeps its
    // room, and a failed read empties it again.
    if (glasses.capacity() >= most) return;
    std::vector<GlassRecord>().swap(glasses);  // no copy of the old room's contents
    glasses.reserve(most);
    AdviseLargePages(glasses.data(), glasses.capacity() * sizeof(GlassRecord));
}

bool CImportNewGLZ::importText(std::string_view text, std::vector<GlassRecord>& glasses, int& count) {
    TextCursor in(text);
    std::string_view line;
    if (!in.readLine(line)) return false;  // an empty file
    if (foreignHeader(line)) return true;
    // Every material read needs both markers: room for no more than that.
    makeRoom(glasses, std::min(in.count(kGlzBlockStart), in.count(kGlzBlockEnd)));
    while (in.readLine(line)) {
        if (line != kGlzBlockStart) continue;
        if (in.atEnd()) break;  // a start marker as the last line ends the reading
        GlassRecord& glass = glasses.emplace_back();
        InitGlassRecord(glass);
        bool ok = false;
        ReadMaterialBlock(in, glass, ok);
        if (!ok) {
            glasses.clear();
            return false;
        }
    }
    count = static_cast<int>(glasses.size());
    return true;
}

bool CImportNewGLZ::importStream(int fd, std::size_t most, std::vector<GlassRecord>& glasses, int& count) {
    // The steps of importText, each run on the window from a checkpoint at
    // the start of a line. A step that met the end of the window before the
    // end of the file runs again from its checkpoint once the window holds
    // more, so every step sees the text it would see in the whole file.
    FileWindow window(fd, m_window);
    std::size_t at = 0;
    // False on a read error.
    auto run = [&](auto&& step) {
        for (;;) {
            TextCursor in(window.text().substr(at));
            step(in);
            if (!in.sawEnd() || window.atEof()) {
                at += in.position();
                return true;
            }
            if (!window.moveOn(at)) return false;
            at = 0;
        }
    };

    bool gotLine = false, foreign = false;
    if (!run([&](TextCursor& in) {
            std::string_view line;
            gotLine = in.readLine(line);
            // Only judged here: the box is shown once the line is read whole.
            foreign = gotLine && line.find(kGlzHeaderMark) == std::string_view::npos;
        }))
        return false;
    if (!gotLine) return false;  // an empty file
    if (foreign) return foreignHeader({});
    makeRoom(glasses, most);
    for (;;) {
        bool start = false, last = false;
        if (!run([&](TextCursor& in) {
                std::string_view line;
                gotLine = in.readLine(line);
                start = gotLine && line == kGlzBlockStart;
                last = start && in.atEnd();
            }))
            return false;
        if (!gotLine || last) break;  // the end, or a start marker as the last line
        if (!start) continue;
        GlassRecord& glass = glasses.emplace_back();
        bool ok = false;
        if (!run([&](TextCursor& in) {
                InitGlassRecord(glass);
                ReadMaterialBlock(in, glass, ok);
            }))
            return false;
        if (!ok) return false;
    }
    count = static_cast<int>(glasses.size());
    return true;
}

bool CImportNewGLZ::ImportBytes(const std::uint8_t* bytes, std::size_t size, const std::string&,
                                ImportedMaterials& result) {
    result.clear();
    int count = 0;
    const bool ok = ImportBytes(bytes, size, result.glasses, count);
    result.fitErrors.assign(result.glasses.size(), 0.0f);
    return ok;
}
