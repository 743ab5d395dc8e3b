// The always-open material list window: a grid of the collection docked at
// the left edge of the main window's client area. The logic is
// GlassesListLogic; the store has this window redraw itself after every change.
#pragma once

#include <QWidget>
#include <memory>

#include "shell/GlassesListLogic.h"
#include "platform/qt/QtGrid.h"

class AMain;
class frmMainMDI;
class QMdiArea;
class QMdiSubWindow;

class frmGlassesList : public QWidget {
    Q_OBJECT
public:
    frmGlassesList(AMain& app, frmMainMDI& main, QMdiArea* area);
    ~frmGlassesList() override;

    // Shows the window; the first call runs its load.
    void Display();
    // Docks at the left edge with the client area's height, unless the main
    // window is minimised.
    void ForceResize();
    void UpdateTable();

    QtGrid& grid() { return m_grid; }
    GlassesListLogic& logic() { return m_logic; }
    QMdiSubWindow* frame() const { return m_frame; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void formLoad();
    // Measures the columns after a fill: the name and source columns as
    // their widest texts need them.
    void measureColumns();
    // Sizes the window (from its width at load up to half the client area)
    // so both columns show whole; the names keep their width first, the
    // source column takes the rest.
    void fitColumns();

    AMain& m_app;
    frmMainMDI& m_main;
    QMdiArea* m_area;
    QMdiSubWindow* m_frame = nullptr;
    QtGrid m_grid;
    GlassesListLogic m_logic;
    int m_nameWidth = 0;    // pixels the name column needs
    int m_sourceWidth = 0;  // pixels the source column needs
    int m_fittedWidth = 0;  // the window's width as fitted last
};
