// A grid without a window, for tests of page logic: the program's side
// behaves as the real grid's, and the user's side (typing, clicking,
// selecting, pasting, the mouse) is driven by the test.
//
// Its layout for positions: the heading row is kRowHeight high at y 0, each
// row below it kRowHeight; the row headings are kHeadingWidth wide at x 0
// (none when column 0 is hidden), each column kPixelsPerChar times its width
// (hidden columns take no room).
#pragma once

#include "platform/GridStore.h"

struct GridPoint {
    int x = 0;
    int y = 0;
};

class MemoryGrid : public GridStore {
public:
    static constexpr int kRowHeight = 20;
    static constexpr int kHeadingWidth = 40;
    static constexpr int kPixelsPerChar = 8;

    void setActiveCell(int col, int row) override;
    int activeCol() const override { return m_activeCol; }
    int activeRow() const override { return m_activeRow; }
    std::optional<RowSpan> selectedBlock() const override;
    std::vector<RowSpan> selectedBlocks() const override { return m_selection; }
    void clearSelection() override { m_selection.clear(); }
    std::optional<GridCell> cellAt(int x, int y) const override;
    void pasteClipboard() override;
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    void setVisible(bool visible) override { m_visible = visible; }

    bool enabled() const { return m_enabled; }
    bool visible() const { return m_visible; }
    void setClipboard(const std::string& text) { m_clipboard = text; }

    // The user's actions. userType makes the cell active, types text and
    // leaves it: false when the cell or the grid refuses it.
    bool userType(int col, int row, const std::string& text);
    void userClick(int col, int row);
    void userDoubleClick(int col, int row);
    void userRightClick(int col, int row);
    // A new selection (a later block as if selected with Ctrl held).
    void userSelect(const std::vector<RowSpan>& blocks);
    void userMouseDown(int button, int shift, int x, int y);
    void userKeyDown(int key, int shift = 0);
    void userKeyUp(int key, int shift = 0);

    // The middle of a cell, as cellAt reads it.
    GridPoint pointOf(int col, int row) const;

private:
    void shapeChanged() override;

    int m_activeCol = 0;
    int m_activeRow = 0;
    std::vector<RowSpan> m_selection;
    std::string m_clipboard;
    bool m_enabled = true;
    bool m_visible = true;
};
