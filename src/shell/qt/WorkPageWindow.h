// What the work pages' windows do alike inside the main window's client area:
// shown in their frame, modeless or modal (waiting until closed), closed
// through the frame, and grown so that their tables show every column.
//
// A page window derives from it and tells its page logic in unloaded() that
// the window is closing, whatever closed it.
#pragma once

#include <QWidget>
#include <initializer_list>

class QEventLoop;
class QMdiArea;
class QMdiSubWindow;
class QTableWidget;

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
    // Each table as wide as its visible columns; the window and its frame grow
    // to hold them.
    void fitTables(std::initializer_list<QTableWidget*> tables);
    virtual void unloaded() = 0;

    void closeEvent(QCloseEvent* event) override;

private:
    QEventLoop* m_modalLoop = nullptr;
};
