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
// Widths set in characters are the least a column shows: a column fits the
// heading and the cell texts the program writes, up to a sensible limit, as
// the fonts of the display measure them (unless setWidensToTexts(false)), and
// fits again, narrower too, whenever the program changes its texts. While
// redraw is off the fit waits until it is back on, so a fill fits once. A
// width the user drags stays until the program sets that column's width.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QMetaObject>
#include <QPointer>
#include <QString>
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
    void setWidensToTexts(bool widens);

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
    // The user dragged the column's width, and the program has not set it since.
    bool userSized(int col) const;
    // The pixels of a width in characters, and back.
    int pixelsFor(double chars) const;
    double charsFor(int pixels) const;

private:
    class Delegate;
    class Filter;
    friend class Delegate;
    friend class Filter;

    // How a column's width comes about.
    struct ColumnFit {
        double leastChars = GridStore::kDefaultColWidth;  // the width the program set
        int userPixels = -1;                               // a width the user dragged, or -1
        bool stale = true;                                 // to be fitted again
        QHash<QString, int> textWidths;                    // pixels of its texts, in m_measuredFont
    };

    void cellsChanged(int col, int row, int col2, int row2) override;
    void shapeChanged() override;
    void columnChanged(int col) override;
    void columnWidthChanged(int col) override;
    void redrawChanged() override;
    void gridColourChanged() override;

    void refreshCell(int col, int row);
    void refreshHeading(int col, int row);
    void commitEdit(int col, int row, const QString& typed);
    // The pixels a cell adds to its text: the delegate's margins and the grid line.
    int cellMargin() const;

    // Fits the stale columns, unless redraw is off.
    void fitStale();
    // Gives a shown column the user's width, or its least widened to its texts up to the limit.
    void fitColumn(int col);
    // The header stretches the column to the table's edge: its size is not the user's.
    bool stretched(int col) const;
    void userResized(int col, int pixels);
    void raiseMouse(QWidget* from, QMouseEvent* event);
    void raiseKey(QKeyEvent* event, bool down);

    QPointer<QTableWidget> m_table;
    Delegate* m_delegate = nullptr;
    Filter* m_filter = nullptr;
    std::vector<QMetaObject::Connection> m_connections;
    mutable std::vector<ColumnFit> m_fits;  // columns 0..maxCols
    mutable QFont m_measuredFont;
    bool m_applyingWidths = false;
    bool m_widensToTexts = true;
    bool m_headingPressed = false;  // a mouse button is down on the column headings
};
