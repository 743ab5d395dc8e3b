// The grid over a QTableWidget. The cells live in the GridStore; the table
// shows them and reports the user's actions. The user edits through the
// grid's own editor, so a write by the program never looks like one.
//
// The table belongs to its parent window (or to the grid when it has none);
// once the table is gone the grid keeps its cells and shows nothing.
//
// Selection: blocks of cells, several with Ctrl held (setSelectRows for whole
// rows). Positions of the mouse events and of cellAt are in the table
// widget's own pixels. Ctrl+V pastes the clipboard at the active cell.
//
// Widths set in characters are the least a column shows: a column widens to
// the heading and the cell texts the program writes, up to a sensible limit,
// as the fonts of the display measure them (unless setWidensToTexts(false)).
#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QTableWidget>
#include <vector>

#include "platform/GridStore.h"

class QtGrid : public GridStore {
public:
    explicit QtGrid(QWidget* parent = nullptr);
    ~QtGrid() override;
    QtGrid(const QtGrid&) = delete;
    QtGrid& operator=(const QtGrid&) = delete;

    QTableWidget* widget() const { return m_table; }
    // Selection of whole rows (the pickers) instead of blocks of cells.
    void setSelectRows(bool rows);
    // Off for a window that sizes the columns to its own room.
    void setWidensToTexts(bool widens) { m_widensToTexts = widens; }

    void setActiveCell(int col, int row) override;
    int activeCol() const override;
    int activeRow() const override;
    std::optional<RowSpan> selectedBlock() const override;
    std::vector<RowSpan> selectedBlocks() const override;
    void clearSelection() override;
    std::optional<GridCell> cellAt(int x, int y) const override;
    void pasteClipboard() override;
    void setEnabled(bool enabled) override;
    void setVisible(bool visible) override;

    // The pixels a column needs to show its heading and every cell's text whole.
    int contentsWidth(int col) const;
    // The pixels of a width in characters, and back.
    int pixelsFor(double chars) const;
    double charsFor(int pixels) const;

private:
    class Delegate;
    class Filter;
    friend class Delegate;
    friend class Filter;

    void cellsChanged(int col, int row, int col2, int row2) override;
    void shapeChanged() override;
    void columnChanged(int col) override;
    void redrawChanged() override;
    void gridColourChanged() override;

    void refreshCell(int col, int row);
    void refreshHeading(int col, int row);
    void commitEdit(int col, int row, const QString& typed);
    // The pixels a cell adds to its text: the delegate's margins and the grid line.
    int cellMargin() const;
    // The pixels a cell needs to show the text whole.
    int cellWidth(const QString& text) const;
    // Widens a column to the pixels its texts need, up to the limit.
    void growColumn(int col, int needed);
    void raiseMouse(QWidget* from, QMouseEvent* event);
    void raiseKey(QKeyEvent* event, bool down);

    QPointer<QTableWidget> m_table;
    Delegate* m_delegate = nullptr;
    Filter* m_filter = nullptr;
    std::vector<QMetaObject::Connection> m_connections;
    bool m_applyingWidths = false;
    bool m_widensToTexts = true;
};
