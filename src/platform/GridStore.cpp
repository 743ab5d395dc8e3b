#include "platform/GridStore.h"

#include <algorithm>
#include <numeric>

namespace {

// Lines of a block text; CR LF, LF and CR all end a line, and a final line
// end does not start another row.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur.push_back(c);
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

bool isNumberKind(const CellType& type) { return type.kind == CellKind::Number || type.kind == CellKind::Integer; }

bool isBlank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = line.find('\t', start);
        fields.push_back(line.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return fields;
}

}  // namespace

std::string GridStore::shown(const CellType& type, const std::string& text) {
    if (!isNumberKind(type)) return text;
    std::string stored;
    CellType lenient = type;
    lenient.min = lenient.max = 0;  // the program may write any number
    if (type.kind == CellKind::Integer) lenient.kind = CellKind::Number;
    if (AcceptCellInput(lenient, text, stored)) return stored;
    return text;
}

GridStore::GridStore() {
    m_columns.resize(1);
    m_cells.assign(1, makeCell(0, 0));
}

GridStore::Cell GridStore::makeCell(int col, int row) const {
    if (row == 0 || col == 0) {
        Cell heading;
        heading.type = CellType::staticText();
        heading.locked = true;
        return heading;
    }
    Cell c = m_columns[static_cast<std::size_t>(col)].format;
    c.text.clear();
    return c;
}

void GridStore::reserveCells(std::size_t n) {
    // At least doubling, so that rows added one at a time cost no more than
    // rows added at once.
    if (n > m_cells.capacity()) m_cells.reserve(std::max(n, 2 * m_cells.capacity()));
}

void GridStore::setMaxRows(int rows) {
    rows = std::clamp(rows, 0, kMaxRowsLimit);
    const std::size_t width = static_cast<std::size_t>(m_cols) + 1;
    if (rows < m_rows) {
        m_cells.erase(m_cells.begin() + static_cast<std::ptrdiff_t>((static_cast<std::size_t>(rows) + 1) * width),
                      m_cells.end());
    } else {
        reserveCells((static_cast<std::size_t>(rows) + 1) * width);
        for (int r = m_rows + 1; r <= rows; ++r)
            for (int c = 0; c <= m_cols; ++c) m_cells.push_back(makeCell(c, r));
    }
    m_rows = rows;
    shapeChanged();
}

void GridStore::setMaxCols(int cols) {
    cols = std::clamp(cols, 0, kMaxColsLimit);
    m_columns.resize(static_cast<std::size_t>(cols) + 1);
    // Each row's cells move to their place in the new width.
    decltype(m_cells) cells;
    cells.reserve((static_cast<std::size_t>(m_rows) + 1) * (static_cast<std::size_t>(cols) + 1));
    for (int r = 0; r <= m_rows; ++r)
        for (int c = 0; c <= cols; ++c) cells.push_back(c <= m_cols ? std::move(at(c, r)) : makeCell(c, r));
    m_cells = std::move(cells);
    m_cols = cols;
    shapeChanged();
}

void GridStore::setRedraw(bool on) {
    if (m_redraw == on) return;
    m_redraw = on;
    redrawChanged();
}

GridStore::Rect GridStore::resolve(const GridBlock& b) const {
    Rect r{b.col, b.row, b.col2, b.row2};
    if (b.col == -1) {
        r.c1 = 1;
        r.c2 = m_cols;
    } else if (r.c2 == -1) {
        r.c2 = m_cols;
    }
    if (b.row == -1) {
        r.r1 = 1;
        r.r2 = m_rows;
    } else if (r.r2 == -1) {
        r.r2 = m_rows;
    }
    if (r.c1 > r.c2) std::swap(r.c1, r.c2);
    if (r.r1 > r.r2) std::swap(r.r1, r.r2);
    r.c1 = std::max(r.c1, 0);
    r.r1 = std::max(r.r1, 0);
    r.c2 = std::min(r.c2, m_cols);
    r.r2 = std::min(r.r2, m_rows);
    return r;
}

std::string GridStore::text(int col, int row) const {
    if (!inside(col, row)) return {};
    return at(col, row).text;
}

void GridStore::setText(int col, int row, const std::string& text) {
    if (!inside(col, row)) return;
    Cell& c = at(col, row);
    c.text = shown(c.type, text);
    cellsChanged(col, row, col, row);
}

std::string GridStore::blockText(const GridBlock& block) const {
    const Rect r = resolve(block);
    std::string out;
    if (r.empty()) return out;
    for (int row = r.r1; row <= r.r2; ++row) {
        for (int col = r.c1; col <= r.c2; ++col) {
            if (col > r.c1) out += '\t';
            out += text(col, row);
        }
        out += "\r\n";
    }
    return out;
}

void GridStore::setBlockText(const GridBlock& block, const std::string& text) {
    const Rect r = resolve(block);
    if (r.empty()) return;
    const auto lines = splitLines(text);
    int lastRow = r.r1 - 1, lastCol = r.c1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int row = r.r1 + static_cast<int>(i);
        if (row > r.r2) break;
        const auto fields = splitTabs(lines[i]);
        for (std::size_t j = 0; j < fields.size(); ++j) {
            const int col = r.c1 + static_cast<int>(j);
            if (col > r.c2) break;
            Cell& c = at(col, row);
            c.text = shown(c.type, fields[j]);
            lastCol = std::max(lastCol, col);
        }
        lastRow = row;
    }
    if (lastRow >= r.r1) cellsChanged(r.c1, r.r1, lastCol, lastRow);
}

void GridStore::clearText(const GridBlock& block) {
    const Rect r = resolve(block);
    if (r.empty()) return;
    for (int row = r.r1; row <= r.r2; ++row)
        for (int col = r.c1; col <= r.c2; ++col) at(col, row).text.clear();
    cellsChanged(r.c1, r.r1, r.c2, r.r2);
}

void GridStore::setRows(GridRows rows) {
    const int count = static_cast<int>(std::min<std::size_t>(rows.backs.size(), kMaxRowsLimit));
    const int old = m_rows;
    const auto cols = static_cast<std::size_t>(std::max(rows.cols, 0));
    const std::size_t width = static_cast<std::size_t>(m_cols) + 1;
    if (count < old)
        m_cells.erase(m_cells.begin() + static_cast<std::ptrdiff_t>((static_cast<std::size_t>(count) + 1) * width),
                      m_cells.end());
    else
        reserveCells((static_cast<std::size_t>(count) + 1) * width);
    for (int r = 1; r <= count; ++r) {
        const bool fresh = r > old;
        for (int c = 0; c <= m_cols; ++c) {
            if (fresh) m_cells.push_back(makeCell(c, r));
            if (c == 0) continue;
            Cell& cell = at(c, r);
            const std::size_t i = static_cast<std::size_t>(r - 1) * cols + static_cast<std::size_t>(c - 1);
            if (static_cast<std::size_t>(c) > cols || i >= rows.texts.size()) cell.text.clear();
            else if (isNumberKind(cell.type)) cell.text = shown(cell.type, rows.texts[i]);
            else cell.text = std::move(rows.texts[i]);
            cell.locked = rows.locked;
            cell.back = rows.backs[static_cast<std::size_t>(r - 1)];
        }
    }
    m_rows = count;
    // New rows reach the view whole through the change of shape; only the
    // rows that were there already are told again.
    if (count != old) shapeChanged();
    if (std::min(old, count) >= 1) cellsChanged(1, 1, m_cols, std::min(old, count));
}

template <class F>
void GridStore::forBlock(const GridBlock& b, bool columnFormat, F apply) {
    const Rect r = resolve(b);
    if (r.c1 > r.c2) return;
    if (columnFormat && b.row == -1)
        for (int col = std::max(r.c1, 1); col <= r.c2; ++col) apply(m_columns[static_cast<std::size_t>(col)].format);
    if (r.r1 > r.r2) return;
    for (int row = r.r1; row <= r.r2; ++row)
        for (int col = r.c1; col <= r.c2; ++col) apply(at(col, row));
    cellsChanged(r.c1, r.r1, r.c2, r.r2);
}

void GridStore::setCellType(const GridBlock& block, const CellType& type) {
    forBlock(block, true, [&](Cell& c) {
        c.type = type;
        c.text = shown(type, c.text);
    });
}

CellType GridStore::cellType(int col, int row) const {
    if (!inside(col, row)) return CellType::staticText();
    return at(col, row).type;
}

void GridStore::setLock(const GridBlock& block, bool isLocked) {
    forBlock(block, true, [&](Cell& c) { c.locked = isLocked; });
}

bool GridStore::locked(int col, int row) const {
    if (!inside(col, row)) return true;
    return at(col, row).locked;
}

void GridStore::setBackColour(const GridBlock& block, Colour colour) {
    forBlock(block, true, [&](Cell& c) { c.back = colour; });
}

Colour GridStore::backColour(int col, int row) const {
    if (!inside(col, row)) return kColourNone;
    return at(col, row).back;
}

void GridStore::setForeColour(const GridBlock& block, Colour colour) {
    forBlock(block, true, [&](Cell& c) { c.fore = colour; });
}

Colour GridStore::foreColour(int col, int row) const {
    if (!inside(col, row)) return kColourNone;
    return at(col, row).fore;
}

void GridStore::setGridBackColour(Colour colour) {
    m_gridBack = colour;
    gridColourChanged();
}

void GridStore::setColWidth(int col, double chars) {
    if (col < 0 || col > m_cols) return;
    m_columns[static_cast<std::size_t>(col)].width = std::clamp(chars, 0.0, 1000.0);
    columnWidthChanged(col);
}

void GridStore::noteColWidth(int col, double chars) {
    if (col < 0 || col > m_cols) return;
    m_columns[static_cast<std::size_t>(col)].width = std::clamp(chars, 0.0, 1000.0);
}

double GridStore::colWidth(int col) const {
    if (col < 0 || col > m_cols) return 0;
    return m_columns[static_cast<std::size_t>(col)].width;
}

void GridStore::setColHidden(int col, bool hidden) {
    if (col < 0 || col > m_cols) return;
    m_columns[static_cast<std::size_t>(col)].hidden = hidden;
    columnChanged(col);
}

bool GridStore::colHidden(int col) const {
    if (col < 0 || col > m_cols) return false;
    return m_columns[static_cast<std::size_t>(col)].hidden;
}

void GridStore::sort(const GridBlock& block, const std::vector<SortKey>& keys) {
    Rect r = resolve(block);
    r.r1 = std::max(r.r1, 1);
    if (r.empty() || keys.empty()) return;
    std::vector<int> order(static_cast<std::size_t>(r.r2 - r.r1 + 1));
    std::iota(order.begin(), order.end(), r.r1);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        for (const SortKey& k : keys) {
            const std::string ta = text(k.col, a), tb = text(k.col, b);
            const bool ea = isBlank(ta), eb = isBlank(tb);
            if (ea != eb) return eb;  // empty cells last, whatever the order
            if (ea) continue;
            const int c = CompareGridTexts(ta, tb);
            if (c != 0) return k.ascending ? c < 0 : c > 0;
        }
        return false;
    });
    std::vector<Cell> moved;
    moved.reserve(order.size() * static_cast<std::size_t>(r.c2 - r.c1 + 1));
    for (int from : order)
        for (int c = r.c1; c <= r.c2; ++c) moved.push_back(std::move(at(c, from)));
    auto next = moved.begin();
    for (int row = r.r1; row <= r.r2; ++row)
        for (int c = r.c1; c <= r.c2; ++c) at(c, row) = std::move(*next++);
    cellsChanged(r.c1, r.r1, r.c2, r.r2);
}

bool GridStore::editable(int col, int row) const {
    if (col < 1 || row < 1 || !inside(col, row)) return false;
    const Cell& c = at(col, row);
    return !c.locked && c.type.kind != CellKind::StaticText;
}

bool GridStore::userEdit(int col, int row, const std::string& typed) {
    if (!editable(col, row)) return false;
    Cell& c = at(col, row);
    std::string stored;
    if (!AcceptCellInput(c.type, typed, stored)) return false;
    if (stored == c.text) return true;
    c.text = stored;
    cellsChanged(col, row, col, row);
    if (m_events.changed) m_events.changed(col, row);
    return true;
}

void GridStore::pasteText(int col, int row, const std::string& text) {
    if (col < 1 || row < 1) return;
    const auto lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int r = row + static_cast<int>(i);
        if (r > m_rows) break;
        const auto fields = splitTabs(lines[i]);
        for (std::size_t j = 0; j < fields.size(); ++j) {
            const int c = col + static_cast<int>(j);
            if (c > m_cols) break;
            userEdit(c, r, fields[j]);
        }
    }
}
