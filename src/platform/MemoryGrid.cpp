#include "platform/MemoryGrid.h"

#include <algorithm>

namespace {

int pixels(double chars) { return static_cast<int>(chars * MemoryGrid::kPixelsPerChar + 0.5); }

}  // namespace

void MemoryGrid::setActiveCell(int col, int row) {
    if (col < 1 || row < 1 || col > maxCols() || row > maxRows()) return;
    m_activeCol = col;
    m_activeRow = row;
}

std::optional<RowSpan> MemoryGrid::selectedBlock() const {
    if (m_selection.empty()) return std::nullopt;
    return m_selection.back();
}

void MemoryGrid::shapeChanged() {
    if (m_activeRow > maxRows() || m_activeCol > maxCols()) m_activeRow = m_activeCol = 0;
    std::erase_if(m_selection, [&](const RowSpan& s) { return s.first > maxRows(); });
    for (RowSpan& s : m_selection) s.last = std::min(s.last, maxRows());
}

std::optional<GridCell> MemoryGrid::cellAt(int x, int y) const {
    if (x < 0 || y < 0) return std::nullopt;
    GridCell cell;
    if (y < kRowHeight) {
        cell.row = 0;
    } else {
        cell.row = (y - kRowHeight) / kRowHeight + 1;
        if (cell.row > maxRows()) return std::nullopt;
    }
    int left = colHidden(0) ? 0 : kHeadingWidth;
    if (x < left) return cell;  // column 0
    for (int c = 1; c <= maxCols(); ++c) {
        if (colHidden(c)) continue;
        const int right = left + pixels(colWidth(c));
        if (x < right) {
            cell.col = c;
            return cell;
        }
        left = right;
    }
    return std::nullopt;
}

GridPoint MemoryGrid::pointOf(int col, int row) const {
    GridPoint p;
    p.y = row * kRowHeight + kRowHeight / 2;
    int left = colHidden(0) ? 0 : kHeadingWidth;
    if (col == 0) {
        p.x = left / 2;
        return p;
    }
    for (int c = 1; c < col; ++c)
        if (!colHidden(c)) left += pixels(colWidth(c));
    p.x = left + pixels(colWidth(col)) / 2;
    return p;
}

void MemoryGrid::pasteClipboard() {
    if (!m_enabled) return;
    pasteText(std::max(m_activeCol, 1), std::max(m_activeRow, 1), m_clipboard);
}

bool MemoryGrid::userType(int col, int row, const std::string& text) {
    if (!m_enabled || !m_visible) return false;
    setActiveCell(col, row);
    return userEdit(col, row, text);
}

void MemoryGrid::userClick(int col, int row) {
    if (!m_enabled) return;
    setActiveCell(col, row);
    if (m_events.clicked) m_events.clicked(col, row);
}

void MemoryGrid::userDoubleClick(int col, int row) {
    if (!m_enabled) return;
    setActiveCell(col, row);
    if (m_events.doubleClicked) m_events.doubleClicked(col, row);
}

void MemoryGrid::userRightClick(int col, int row) {
    if (!m_enabled) return;
    if (m_events.rightClicked) m_events.rightClicked(col, row);
}

void MemoryGrid::userSelect(const std::vector<RowSpan>& blocks) {
    if (!m_enabled) return;
    m_selection = blocks;
}

void MemoryGrid::userMouseDown(int button, int shift, int x, int y) {
    if (!m_enabled) return;
    if (m_events.mouseDown) m_events.mouseDown(button, shift, x, y);
}

void MemoryGrid::userKeyDown(int key, int shift) {
    if (m_enabled && m_events.keyDown) m_events.keyDown(key, shift);
}

void MemoryGrid::userKeyUp(int key, int shift) {
    if (m_enabled && m_events.keyUp) m_events.keyUp(key, shift);
}
