// The cells of a grid and every operation on them that does not depend on how
// the grid is shown: sizes, texts, block texts, formats, widths, sorting and
// the user's edits and pastes. The in-memory grid and the Qt grid both build
// on it, so they behave alike; a view is told what changed through the hooks.
#pragma once

#include <vector>

#include "platform/Grid.h"
#include "platform/LargeMemory.h"

class GridStore : public IGrid {
public:
    // Sizes beyond these are cut to them.
    static constexpr int kMaxRowsLimit = 1000000;
    static constexpr int kMaxColsLimit = 1000;
    static constexpr double kDefaultColWidth = 8;

    GridStore();

    int maxRows() const override { return m_rows; }
    void setMaxRows(int rows) override;
    int maxCols() const override { return m_cols; }
    void setMaxCols(int cols) override;
    void setRedraw(bool on) override;
    bool redraw() const override { return m_redraw; }

    std::string text(int col, int row) const override;
    void setText(int col, int row, const std::string& text) override;
    std::string blockText(const GridBlock& block) const override;
    void setBlockText(const GridBlock& block, const std::string& text) override;
    void clearText(const GridBlock& block) override;
    void setRows(GridRows rows) override;

    void setCellType(const GridBlock& block, const CellType& type) override;
    CellType cellType(int col, int row) const override;
    void setLock(const GridBlock& block, bool locked) override;
    bool locked(int col, int row) const override;
    void setBackColour(const GridBlock& block, Colour colour) override;
    Colour backColour(int col, int row) const override;
    void setForeColour(const GridBlock& block, Colour colour) override;
    Colour foreColour(int col, int row) const override;
    void setGridBackColour(Colour colour) override;
    Colour gridBackColour() const { return m_gridBack; }
    void setColWidth(int col, double chars) override;
    double colWidth(int col) const override;
    void setColHidden(int col, bool hidden) override;
    bool colHidden(int col) const override;

    void sort(const GridBlock& block, const std::vector<SortKey>& keys) override;

    // A data cell the user may type into: not locked, not static.
    bool editable(int col, int row) const;

protected:
    // The user typed text into a cell and left it: stored when the cell takes
    // it, with changed raised when the text differs. False when refused.
    bool userEdit(int col, int row, const std::string& typed);
    // The user pasted text with its top-left at (col, row).
    void pasteText(int col, int row, const std::string& text);
    // A width the user dragged, kept without telling the view again.
    void noteColWidth(int col, double chars);

    // What changed, for the view. Cells are given as a rectangle that may
    // include the heading row and column.
    virtual void cellsChanged(int col, int row, int col2, int row2) { (void)col, (void)row, (void)col2, (void)row2; }
    virtual void shapeChanged() {}
    // A column shown or hidden.
    virtual void columnChanged(int col) { (void)col; }
    // The program set a column's width.
    virtual void columnWidthChanged(int col) { columnChanged(col); }
    virtual void redrawChanged() {}
    virtual void gridColourChanged() {}

private:
    struct Cell {
        std::string text;
        CellType type;
        bool locked = false;
        Colour back = kColourNone;
        Colour fore = kColourNone;
    };
    struct Column {
        Cell format;  // what rows added later get (its text is unused)
        double width = kDefaultColWidth;
        bool hidden = false;
    };
    struct Rect {
        int c1, r1, c2, r2;
        bool empty() const { return c1 > c2 || r1 > r2; }
    };

    Rect resolve(const GridBlock& b) const;
    bool inside(int col, int row) const { return col >= 0 && row >= 0 && col <= m_cols && row <= m_rows; }
    std::size_t indexOf(int col, int row) const {
        return static_cast<std::size_t>(row) * (static_cast<std::size_t>(m_cols) + 1) + static_cast<std::size_t>(col);
    }
    Cell& at(int col, int row) { return m_cells[indexOf(col, row)]; }
    const Cell& at(int col, int row) const { return m_cells[indexOf(col, row)]; }
    Cell makeCell(int col, int row) const;
    void reserveCells(std::size_t n);
    template <class F>
    void forBlock(const GridBlock& b, bool columnFormat, F apply);
    static std::string shown(const CellType& type, const std::string& text);

    int m_rows = 0;
    int m_cols = 0;
    bool m_redraw = true;
    Colour m_gridBack = kColourNone;
    // Row after row, columns 0..m_cols of rows 0..m_rows: one block, so that
    // a list of thousands of rows is one allocation.
    std::vector<Cell, LargeBlockAllocator<Cell>> m_cells;
    std::vector<Column> m_columns;           // 0..m_cols
};
