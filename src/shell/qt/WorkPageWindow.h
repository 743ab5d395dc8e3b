// What the work pages' windows do alike inside the main window's client area:
// shown in their frame, modeless or modal (waiting until closed), closed
// through the frame, and grown so that their tables show every column.
//
// A page window derives from it and tells its page logic in unloaded() that
// the window is closing, whatever closed it.
//
// A page never runs past the client area: its frame is at most as large as
// the area and lies inside it. Where the area is too small for the page, its
// tables give up room first (down to a few rows and columns, then they
// scroll), and what still does not fit scrolls inside the frame.
#pragma once

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <vector>

class QEventLoop;
class QGroupBox;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class QScrollArea;
class QTableWidget;
class QtGrid;

class WorkPageWindow : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Puts the window into the client area in a frame of its own, hidden; the
    // frame stays when closed, so the page opens in it again. Call it once the
    // window's layout is built: the layout moves into a scrolling body.
    QMdiSubWindow* addToArea(QMdiArea* area);

protected:
    // Modal: returns when the window has closed.
    void showPage(bool modal);
    void closePage();
    // The page's frame on top of the client area, and active.
    void raisePage();
    // A button of the page: object name, caption, tool tip (none when null);
    // it never takes the Enter key from the grid.
    QPushButton* pageButton(const char* name, const char* caption, const char* tip, const std::function<void()>& click);
    // The buttons one width, the widest caption's; roomy adds a margin of two
    // characters, for buttons that share a row in a frame.
    static void sameWidths(std::initializer_list<QPushButton*> buttons, bool roomy);
    // A frame holding the buttons in a row, of one roomy width.
    QGroupBox* buttonFrame(const char* name, const char* caption, std::initializer_list<QPushButton*> buttons);
    // A read-only grid of materials, in which the user selects one block of
    // whole rows, as the pages read their selection.
    static void setUpMaterialTable(QtGrid& grid, const char* name);
    // Each table as wide as its visible columns; the window and its frame grow
    // to hold them.
    void fitTables(std::initializer_list<QTableWidget*> tables);
    virtual void unloaded() = 0;

    void closeEvent(QCloseEvent* event) override;

    // The size a table takes while the area has room for it (a dimension of 0
    // leaves that one to the table); with less room it shrinks and scrolls.
    void wantTableSize(QTableWidget* table, const QSize& size);
    // Sizes the frame for the page, never past the client area: as large as
    // the page wants (or larger, when the user made it so), at most the
    // area. A frame centred in the area stays centred; any other is moved
    // only as far as it must to lie inside. Outside a frame the window grows
    // to its size hint.
    void fitToArea();
    // A page whose controls need more width than the area gives, even with
    // its tables shrunk, may offer a narrower arrangement of them: the fit
    // asks for it (true) only then, and for the usual one (false) again
    // before it measures the page anew.
    virtual void arrangeNarrow(bool narrow) { Q_UNUSED(narrow); }

private:
    class AreaWatcher;
    struct WantedTable {
        QPointer<QTableWidget> table;
        QSize size;
    };

    QMdiSubWindow* frame() const;
    // Frame margins around the page.
    QSize frameExtra() const;
    // The body's minimum with each table's minimum at most cut pixels under
    // its wanted size in the direction given.
    QSize minimumWithCut(Qt::Orientation direction, int cut);
    // Cuts the tables evenly, by as little as lets the body fit room.
    void cutTablesToFit(Qt::Orientation direction, int room);
    // Fits the body into room, narrowing it if need be; false when it must
    // still scroll up and down.
    bool fitBody(const QSize& room);
    void fitFrame(const QSize& areaBefore);
    void areaResized(const QSize& areaBefore);
    // Gives the frame size: centred in the area if it was centred in an area
    // of areaBefore, else moved only as far as it must to lie inside.
    void place(const QSize& size, const QSize& areaBefore);

    QEventLoop* m_modalLoop = nullptr;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_body = nullptr;
    QSize m_designSize;  // the window's size when it went into the area
    QSize m_fittedSize;  // the frame's size as fitToArea left it
    QSize m_placedArea;  // the area's size when the frame was last placed
    bool m_fitting = false;
    bool m_narrow = false;
    std::vector<WantedTable> m_tables;
};
