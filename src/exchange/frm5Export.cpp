#include "exchange/frm5Export.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <type_traits>
#include <vector>

#include "exchange/GlzFormat.h"
#include "exchange/MaterialRows.h"
#include "model/FileUtil.h"
#include "model/GlassesList.h"
#include "model/NumberFormat.h"
#include "model/TransCalcs.h"
#include "model/Verification.h"
#include "platform/Boxes.h"
#include "platform/BusyCursor.h"
#include "platform/Clock.h"
#include "platform/Grid.h"
#include "platform/NumberText.h"
#include "platform/PointerBoxes.h"
#include "platform/Text1252.h"
#include "shell/CSWindow.h"
#include "shell/ManageForms.h"

namespace {

constexpr Colour kMeltColour = 0x80FFFF;
// Character widths of the four visible columns; names want the most room.
constexpr double kColWidths[4] = {20, 14, 18, 15};

// The record rules every written material goes through first; both may change
// the page's copy. Returns the transmission point count to write.
int prepareForWrite(GlassRecord& glass) {
    NormaliseGlassRecord(glass);
    return TransPointCount(glass);
}

// Counts of a stored record may be anything; the file carries only what the
// arrays hold, so the count written always matches the rows that follow.
int clampCount(int count, int max) { return std::clamp(count, 0, max); }

// The text being made. Numbers and texts are written straight into its room,
// which grows by doubling; a writer making the file piece by piece empties it
// after each piece and so keeps using the same memory.
class GlzBuffer {
public:
    void clear() { m_size = 0; }
    std::size_t size() const { return m_size; }
    const char* data() const { return m_data.get(); }

    // At least n bytes of room after the text; commit says how far it was written.
    char* room(std::size_t n) {
        if (m_capacity - m_size < n) grow(n);
        return m_data.get() + m_size;
    }
    void commit(const char* end) { m_size = static_cast<std::size_t>(end - m_data.get()); }
    void append(std::string_view text) {
        char* at = room(text.size());
        std::memcpy(at, text.data(), text.size());
        m_size += text.size();
    }

private:
    void grow(std::size_t n) {
        const std::size_t capacity = std::max({m_capacity * 2, m_size + n, std::size_t{1} << 16});
        auto data = std::make_unique_for_overwrite<char[]>(capacity);
        if (m_size > 0) std::memcpy(data.get(), m_data.get(), m_size);
        m_data = std::move(data);
        m_capacity = capacity;
    }

    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

template <std::size_t N>
std::string_view fieldText(const FixedText<N>& field) {
    return {field.bytes.data(), N};
}

// Data lines are comma-separated items: texts in double quotes, numbers in
// their shortest round-trip form with "." and an exponent like "1E-06".
class GlzLineWriter {
public:
    explicit GlzLineWriter(GlzBuffer& out) : m_out(out) {}

    void marker(const char* text) {
        m_out.append(text);
        m_out.append("\r\n");
    }
    // A double quote would end the text early and a line break would split
    // the line, so both are replaced; the text is written trimmed.
    GlzLineWriter& text(std::string_view value) {
        char* const start = m_out.room(value.size() + 3);
        char* out = start;
        if (!m_first) *out++ = ',';
        m_first = false;
        *out++ = '"';
        char* const first = out;
        char* lastKept = out;  // just after the last character that is not a blank
        for (char c : value) {
            const auto b = static_cast<unsigned char>(c);
            if (c == '"') c = '\'';
            else if (b < 0x20 || b == 0x7F) c = ' ';
            if (c == ' ' && out == first) continue;  // leading blanks
            *out++ = c;
            if (c != ' ') lastKept = out;
        }
        out = lastKept;
        *out++ = '"';
        m_out.commit(out);
        return *this;
    }
    template <std::size_t N>
    GlzLineWriter& text(const FixedText<N>& field) {
        return text(fieldText(field));
    }
    GlzLineWriter& integer(int value) {
        char* out = m_out.room(16);
        if (!m_first) *out++ = ',';
        m_first = false;
        m_out.commit(std::to_chars(out, out + 15, value).ptr);
        return *this;
    }
    template <class Real>
    GlzLineWriter& real(Real value) {
        constexpr std::size_t kRoom = 48;
        char* const start = m_out.room(kRoom);
        char* out = start;
        if (!m_first) *out++ = ',';
        m_first = false;
        // NaN and infinity have no text the reader takes; a backup that cannot
        // be read back would lose every material in it.
        if (!std::isfinite(value)) value = 0;
        char* end = nullptr;
        if constexpr (std::is_same_v<Real, float>) {
            end = ShortestChars(out, start + kRoom, value);
        } else {
            end = std::to_chars(out, start + kRoom, value).ptr;
        }
        for (char* p = out; p != end; ++p)
            if (*p == 'e') *p = 'E';
        m_out.commit(end);
        return *this;
    }
    GlzLineWriter& single(float value) { return real(value); }
    GlzLineWriter& dbl(double value) { return real(value); }
    void end() {
        m_out.append("\r\n");
        m_first = true;
    }

private:
    GlzBuffer& m_out;
    bool m_first = true;
};

void writeMaterial(GlzLineWriter& w, GlassRecord& g) {
    const int m = clampCount(prepareForWrite(g), kMaxTransPoints);
    const GlassDefinition& d = g.definition;
    const int n = clampCount(g.indexPointCount, kMaxIndexPoints);

    w.marker(kGlzBlockStart);
    w.marker(kGlzGeneral);
    w.text(d.name).text(d.source).end();
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
    w.text("A3070").text(p.a3070).text("A20300").text(p.a20300);
    w.text("Tg").text(p.tg).text("T1013").text(p.t1013).text("T1076").text(p.t1076);
    w.text("Cp").text(p.cp).text("lambda").text(p.lambda).end();
    w.text("EMod").text(p.eMod).text("Poisson").text(p.poisson);
    w.text("Torsion").text(p.torsion).text("Knoop").text(p.knoop).end();
    w.text("CR").text(p.cr).text("FR").text(p.fr).text("SR").text(p.sr);
    w.text("AR").text(p.ar).text("PR").text(p.pr).end();
    w.text("Remark").text(p.remark).text("CC").text(p.cc).text("Bubble").text(p.bubble);
    w.text("Status").text(p.status).text("RelPrice").text(p.price).end();

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
        w.text(mb.parentName).text(mb.parentSource).end();
        w.text(mb.meltCode).integer(k).end();
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


void writeHeader(GlzBuffer& out, const std::string& dateText) {
    out.append(kGlzHeaderMark);
    out.append(kGlzHeaderVersion);
    out.append(dateText);
    out.append("\r\n");
}

}  // namespace

std::string MakeGLZText(std::span<GlassRecord> glasses, int first, int last, const std::string& dateText) {
    if (!rangeInside(glasses, first, last)) return {};
    GlzBuffer out;
    GlzLineWriter w(out);
    writeHeader(out, dateText);
    for (int i = first; i <= last; ++i) writeMaterial(w, glasses[static_cast<std::size_t>(i - 1)]);
    w.marker(kGlzFileEnd);
    return std::string(out.data(), out.size());
}

bool WriteGLZFile(std::span<GlassRecord> glasses, const std::string& folder, const std::string& fileName,
                  int first, int last, const IClock& clock, IBoxes& boxes) {
    if (!rangeInside(glasses, first, last)) return false;
    const std::string path = JoinPath(folder, fileName);
    // Paths are the file system's UTF-8; the boxes take the code page.
    const auto show = [&](const std::string& text) {
        boxes.show(kBoxExclamation, Text1252FromUtf8(text, BrokenUtf8::KeepByte));
        return false;
    };
    // Something other than a file in its place is never replaced by one.
    if (const std::optional<std::string> odd = NotARegularFile(path))
        return show("Your materials could not be backed up.\r\n\r\nFile: " + path + "\r\nReason: " + *odd +
                    "\r\n\r\nAny earlier backup file was left as it was.");
    std::string why;
    try {
        // Written a piece of whole materials at a time: one buffer, used over
        // and over, instead of the whole text and a copy of it.
        constexpr std::size_t kPiece = std::size_t{1} << 20;
        GlzBuffer piece;
        piece.room(kPiece + (kPiece >> 2));
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
    return show("Unable to write the backup file " + path + "!\r\n\r\n" + why);
}

std::string LongDateText(double dateSerial) {
    static const char* const kDays[] = {"Saturday", "Sunday",   "Monday", "Tuesday",
                                        "Wednesday", "Thursday", "Friday"};
    static const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
    const CivilDate date = CivilDateOf(dateSerial);
    // Day 0, 30 December 1899, was a Saturday.
    const long day = static_cast<long>(DateSerial(date.year, date.month, date.day));
    const long weekday = ((day % 7) + 7) % 7;
    return std::string(kDays[weekday]) + ", " + kMonths[date.month - 1] + " " + std::to_string(date.day) + ", " +
           std::to_string(date.year);
}

std::string DefaultExportFileName(const GlassRecord& glass) {
    std::string name = glass.definition.name.str() + ".GLZ";
    for (char& c : name)
        if (c == '*' || c == '/' || c == '\\') c = '-';
    return Utf8From1252(name);
}

frm5Export::frm5Export(ExportPageServices services)
    : m_services(std::move(services)), m_dialog(*m_services.boxes) {}

int frm5Export::Display(bool bModal) {
    if (m_open || !m_view) return m_result;
    if (m_services.cursor) m_services.cursor->showHourglass();
    m_result = 0;
    m_glasses = m_services.store->GetGlasses();
    m_open = true;
    // The form's load.
    CSWindow().Center(m_view->placement());
    IGrid& grid = m_view->ssGlassesCurr();
    grid.clearSelection();
    grid.setMaxCols(kExportCols);
    for (int c = 1; c < kExportCols; ++c) {
        grid.setText(c, 0, kExportHeadings[c - 1]);
        grid.setColWidth(c, kColWidths[c - 1]);
    }
    grid.setCellType(GridBlock::columns(1, kExportCols), CellType::staticText());
    FillGrid();
    m_dialog.SetDialog(m_view->fileDialog());
    if (m_services.cursor) m_services.cursor->showDefault();
    m_view->showWindow(bModal);
    return m_result;
}

void frm5Export::ForceUnload() {
    if (m_open && m_view) m_view->closeWindow();
}

void frm5Export::comOK_Click() { ForceUnload(); }

void frm5Export::Form_Unload() {
    if (!m_open) return;  // a page already closed ignores a second close
    m_open = false;
    m_glasses.clear();
    if (m_services.switchPage) m_services.switchPage(kPageExport, false);
}

void frm5Export::FillGrid() {
    IGrid& grid = m_view->ssGlassesCurr();
    std::string block;
    std::vector<const GlassRecord*> shown;
    for (std::size_t i = 0; i < m_glasses.size(); ++i) {
        const GlassRecord& g = m_glasses[i];
        if (!IsValidGlassIdent(g)) continue;
        shown.push_back(&g);
        double first = 0, second = 0;
        ShownIndexRange(g, false, first, second);
        block += CellText(g.definition.name.str()) + "\t" + CellText(g.definition.source.str()) + "\t" +
                 WavebandText(g.definition) + "\t" + Format(first, "0.000") + " - " + Format(second, "0.000") +
                 "\t" + std::to_string(i + 1) + "\r\n";
    }
    const int rows = static_cast<int>(shown.size());
    grid.setRedraw(false);
    grid.setMaxRows(rows);
    if (rows > 0) grid.setBlockText(GridBlock::range(1, 1, kExportCols, rows), block);
    for (int r = 1; r <= rows; ++r)
        grid.setBackColour(GridBlock::cell(1, r),
                           shown[static_cast<std::size_t>(r - 1)]->melt.meltFlag != 0 ? kMeltColour : kColourButtonFace);
    grid.setColHidden(kExportIndexCol, true);
    grid.setRedraw(true);
}

std::vector<int> frm5Export::selectedRecords() const {
    std::vector<int> indexes;
    if (!m_view) return indexes;
    const IGrid& grid = m_view->ssGlassesCurr();
    const int rows = grid.maxRows();
    int first = grid.activeRow(), last = first;
    if (const auto block = grid.selectedBlock()) {
        first = block->first;
        last = block->last;
        if (first == -1) first = 1, last = rows;  // whole columns: every row
    }
    if (first < 1 || first > rows) return indexes;
    last = std::clamp(last, first, rows);
    for (int r = first; r <= last; ++r) {
        const std::string text = TrimBlanks(grid.text(kExportIndexCol, r));
        int index = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), index);
        if (text.empty() || ec != std::errc() || end != text.data() + text.size()) continue;
        if (index >= 1 && index <= static_cast<int>(m_glasses.size())) indexes.push_back(index - 1);
    }
    return indexes;
}

void frm5Export::backup(std::span<GlassRecord> glasses, const char* dialogTitle) {
    int filter = 1;
    std::string folder;
    std::string title = glasses.size() == 1 ? DefaultExportFileName(glasses[0]) : std::string();
    if (!m_dialog.FileSave(kExportFilter, filter, "GLZ", dialogTitle, folder, title)) return;
    if (m_services.cursor) m_services.cursor->showHourglass();
    PointerBoxes boxes(*m_services.boxes, m_services.cursor);
    WriteGLZFile(glasses, folder, TrimBlanks(title), 1, static_cast<int>(glasses.size()), *m_services.clock,
                 boxes);
    if (m_services.cursor) m_services.cursor->showDefault();
}

void frm5Export::comExportAll_Click() {
    if (m_glasses.empty()) {
        m_services.boxes->show(kBoxExclamation, kNoGlassesToBackup);
        return;
    }
    backup(m_glasses, kExportAllTitle);
}

void frm5Export::comExportSel_Click() {
    if (m_glasses.empty()) {
        m_services.boxes->show(kBoxExclamation, kNoGlassesToBackup);
        return;
    }
    const std::vector<int> indexes = selectedRecords();
    if (indexes.empty()) return;
    std::vector<GlassRecord> selected;
    selected.reserve(indexes.size());
    for (int i : indexes) selected.push_back(m_glasses[static_cast<std::size_t>(i)]);
    backup(selected, kExportSelTitle);
    // The records as written, settled, in the page's copy.
    for (std::size_t k = 0; k < indexes.size(); ++k) m_glasses[static_cast<std::size_t>(indexes[k])] = selected[k];
}
