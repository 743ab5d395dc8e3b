// The grid control every table of the program is drawn with, as one interface.
//
// Rows and columns count from 1; row 0 holds the column headings and column 0
// the row headings; -1 in a block stands for all data rows or columns. Every
// cell holds a text (Windows-1252 bytes); a number cell keeps its number as
// text formatted with its decimals ("1.5" in a 4-decimal cell reads back
// "1.5000").
//
// The events report what the user does: a write by the program (texts,
// formats, sorting) never raises one. Pasting raises changed for each cell it
// changes, as typing would.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Colour.h"

// Columns col..col2 and rows row..row2. A col or row of -1 is every data
// column or row; a col2 or row2 of -1 runs to the last one.
struct GridBlock {
    int col = -1;
    int row = -1;
    int col2 = -1;
    int row2 = -1;

    static GridBlock cell(int c, int r) { return {c, r, c, r}; }
    static GridBlock range(int c, int r, int c2, int r2) { return {c, r, c2, r2}; }
    static GridBlock all() { return {}; }
    static GridBlock columns(int c, int c2) { return {c, -1, c2, -1}; }
    static GridBlock rows(int r, int r2) { return {-1, r, -1, r2}; }
};

enum class CellKind { EditText, StaticText, Number, Integer };
enum class CellAlign { Default, Left, Centre, Right };  // Default: numbers right, texts left

struct CellType {
    CellKind kind = CellKind::EditText;
    int decimals = 0;  // number cells
    double min = 0;    // number and integer cells; min == max means no limits
    double max = 0;
    CellAlign align = CellAlign::Default;

    static CellType editText() { return {}; }
    static CellType staticText(CellAlign a = CellAlign::Default) { return {CellKind::StaticText, 0, 0, 0, a}; }
    static CellType number(int decimals, double min, double max) { return {CellKind::Number, decimals, min, max}; }
    static CellType integer(double min, double max) { return {CellKind::Integer, 0, min, max}; }
    bool operator==(const CellType&) const = default;
};

// A whole list for IGrid::setRows: cols texts per row, row after row (row 1's
// texts for columns 1..cols, then row 2's ...), and one back colour per row.
struct GridRows {
    int cols = 0;
    std::vector<std::string> texts;
    std::vector<Colour> backs;  // its size is the number of rows
    bool locked = false;        // of every cell of the rows
};

struct SortKey {
    int col = 1;
    bool ascending = true;
};

// The rows of one selected block; {-1, -1} is a selection of whole columns.
struct RowSpan {
    int first = 0;
    int last = 0;
    bool operator==(const RowSpan&) const = default;
};

struct GridCell {
    int col = 0;
    int row = 0;
    bool operator==(const GridCell&) const = default;
};

// Key codes and shift flags of the key and mouse events: the platform's
// virtual key codes (13 Enter, 17 Ctrl, 65 A ...).
inline constexpr int kShiftFlag = 1;
inline constexpr int kCtrlFlag = 2;
inline constexpr int kAltFlag = 4;
inline constexpr int kKeyReturn = 13;
inline constexpr int kKeyShift = 16;
inline constexpr int kKeyControl = 17;
inline constexpr int kMouseLeft = 1;
inline constexpr int kMouseRight = 2;
inline constexpr int kMouseMiddle = 4;

struct GridEvents {
    std::function<void(int col, int row)> changed;  // the user changed a cell's text
    std::function<void(int col, int row)> clicked;
    std::function<void(int col, int row)> doubleClicked;
    std::function<void(int col, int row)> rightClicked;
    // Positions are the grid's own, as cellAt takes them.
    std::function<void(int button, int shift, int x, int y)> mouseDown;
    std::function<void(int key, int shift)> keyDown;
    std::function<void(int key, int shift)> keyUp;
};

class IGrid {
public:
    virtual ~IGrid() = default;

    virtual int maxRows() const = 0;
    virtual void setMaxRows(int rows) = 0;
    virtual int maxCols() const = 0;
    virtual void setMaxCols(int cols) = 0;
    // Drawing off while many cells are written.
    virtual void setRedraw(bool on) = 0;
    virtual bool redraw() const = 0;

    virtual std::string text(int col, int row) const = 0;
    virtual void setText(int col, int row, const std::string& text) = 0;
    // The block's texts, TAB between cells, each row ending in CR LF.
    virtual std::string blockText(const GridBlock& block) const = 0;
    // Fills the block from its top-left cell: TAB between cells, CR LF (or LF)
    // between rows; what lies outside the block is dropped, cells the text
    // does not reach keep their texts.
    virtual void setBlockText(const GridBlock& block, const std::string& text) = 0;
    virtual void clearText(const GridBlock& block) = 0;
    // Refills every data row at once: the grid gets rows.backs.size() rows,
    // each cell its text as it is (a TAB or a line break stays in its cell;
    // columns beyond rows.cols are emptied), each row its back colour and the
    // lock. Every cell is written once. Rows already there keep their cell
    // types; new rows take their columns'.
    virtual void setRows(GridRows rows) = 0;

    // A block of whole columns (row -1) also sets what rows added later get.
    virtual void setCellType(const GridBlock& block, const CellType& type) = 0;
    virtual CellType cellType(int col, int row) const = 0;
    virtual void setLock(const GridBlock& block, bool locked) = 0;
    virtual bool locked(int col, int row) const = 0;
    virtual void setBackColour(const GridBlock& block, Colour colour) = 0;
    virtual Colour backColour(int col, int row) const = 0;
    virtual void setForeColour(const GridBlock& block, Colour colour) = 0;
    virtual Colour foreColour(int col, int row) const = 0;
    // The grid's own background, behind and around the cells.
    virtual void setGridBackColour(Colour colour) = 0;
    // Widths in characters; column 0 is the row headings.
    virtual void setColWidth(int col, double chars) = 0;
    virtual double colWidth(int col) const = 0;
    virtual void setColHidden(int col, bool hidden) = 0;
    virtual bool colHidden(int col) const = 0;

    // Sorts the block's rows by the keys in turn (numbers by value, other
    // texts ignoring case, empty cells last); rows that compare equal keep
    // their order. The rows' cells move with their colours.
    virtual void sort(const GridBlock& block, const std::vector<SortKey>& keys) = 0;

    virtual void setActiveCell(int col, int row) = 0;
    virtual int activeCol() const = 0;  // 0: none
    virtual int activeRow() const = 0;  // 0: none
    // The block the user selected last, and all of them in the order selected.
    virtual std::optional<RowSpan> selectedBlock() const = 0;
    virtual std::vector<RowSpan> selectedBlocks() const = 0;
    virtual void clearSelection() = 0;
    // The cell under a position of the grid (row 0 / column 0 on the headings).
    virtual std::optional<GridCell> cellAt(int x, int y) const = 0;
    // The clipboard's text pasted from the active cell, into the cells the
    // user could type into (a number cell takes only numbers within limits).
    virtual void pasteClipboard() = 0;

    virtual void setEnabled(bool enabled) = 0;
    virtual void setVisible(bool visible) = 0;

    GridEvents& events() { return m_events; }

protected:
    GridEvents m_events;
};

// Text comparison of the sort: both numbers -> by value; a number before a
// text; texts by their upper case. Blanks around a text do not count.
int CompareGridTexts(const std::string& a, const std::string& b);

// A number as a number cell shows it: fixed, with the decimals, no locale.
std::string FormatCellNumber(double value, int decimals);

// What a cell keeps when the user types text into it; false when the cell
// refuses it (a static cell, a number cell given a text that is no number or
// lies outside the limits).
bool AcceptCellInput(const CellType& type, const std::string& typed, std::string& stored);
