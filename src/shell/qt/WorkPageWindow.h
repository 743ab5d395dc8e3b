// What the work pages' windows do alike inside the main window's client area:
// shown in their frame, modeless or modal (waiting until closed), closed
// through the frame, and grown so that their tables show every column.
//
// A page window derives from it and tells its page logic in unloaded() that
// the window is closing, whatever closed it.
#pragma once

#include <QWidget>
#include <functional>
#include <initializer_list>

class QEventLoop;
class QGroupBox;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class QTableWidget;
class QtGrid;

class WorkPageWindow : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Puts the window into the client area in a frame of its own, hidden; the
    // frame stays when closed, so the page opens in it again.
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

private:
    QEventLoop* m_modalLoop = nullptr;
};
