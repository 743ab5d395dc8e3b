// The Export page's window: the frame of the backups (selected, all) above
// the grid of the collection, and Close at the right edge below it. The logic
// is frm5Export.
//
// ExportWorkPage puts the window into the main window's client area and is
// what the page switcher opens and closes as work page 5.
#pragma once

#include <QPointer>
#include <memory>

#include "exchange/frm5Export.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtGrid.h"
#include "platform/qt/QtPlacedWindow.h"
#include "shell/ManageForms.h"
#include "shell/qt/WorkPageWindow.h"

class AMain;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;

class frm5ExportWindow : public WorkPageWindow, public IExportView {
    Q_OBJECT
public:
    explicit frm5ExportWindow(frm5Export& page, QWidget* parent = nullptr);
    ~frm5ExportWindow() override;

    IGrid& ssGlassesCurr() override { return m_grid; }
    IFileDialog& fileDialog() override { return m_cmdExport; }
    IPlacedWindow& placement() override { return m_placement; }
    void showWindow(bool modal) override;
    void closeWindow() override { closePage(); }

    QTableWidget* table() const { return m_grid.widget(); }
    QPushButton* exportSelectedButton() const { return m_comExportSel; }
    QPushButton* exportAllButton() const { return m_comExportAll; }
    QPushButton* closeButton() const { return m_comOK; }

protected:
    void unloaded() override { m_page.Form_Unload(); }

private:
    frm5Export& m_page;
    QtPlacedWindow m_placement;
    QtGrid m_grid;
    QtFileDialog m_cmdExport;
    QPushButton* m_comExportSel = nullptr;
    QPushButton* m_comExportAll = nullptr;
    QPushButton* m_comOK = nullptr;
};

// Work page 5 inside the main window's client area.
class ExportWorkPage : public IWorkPage {
public:
    ExportWorkPage(AMain& app, QMdiArea* area);
    ~ExportWorkPage() override;

    void Display(bool bModal) override { m_page->Display(bModal); }
    void ForceUnload() override { m_page->ForceUnload(); }

    frm5Export& page() { return *m_page; }
    frm5ExportWindow* window() const { return m_window; }

private:
    std::unique_ptr<frm5Export> m_page;
    frm5ExportWindow* m_window = nullptr;
    QPointer<QMdiSubWindow> m_frame;
};
