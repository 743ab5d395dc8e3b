// The Manage page's window: the frame of the deliveries (target, what to do
// with existing materials, and the four buttons) above the grid of the
// collection, and the tool panel below it with Close at the right edge. The
// logic is frm2Manage.
//
// ManageWorkPage puts the window into the main window's client area, makes the
// delete and the remove dialog's windows over the page's dialogs, and is what
// the page switcher opens and closes as work page 2.
#pragma once

#include <QPointer>
#include <memory>

#include "manage/frm2Manage.h"
#include "platform/qt/QtGrid.h"
#include "platform/qt/QtPlacedWindow.h"
#include "shell/ManageForms.h"
#include "shell/qt/WorkPageWindow.h"

class AMain;
class QComboBox;
class QGroupBox;
class QMdiArea;
class QGridLayout;
class QMdiSubWindow;
class QPushButton;
class frmGlassesDelExtWindow;
class frmGlassesDelWindow;

class frm2ManageWindow : public WorkPageWindow, public IManageView {
    Q_OBJECT
public:
    explicit frm2ManageWindow(frm2Manage& page, QWidget* parent = nullptr);
    ~frm2ManageWindow() override;

    IGrid& ssGlassesCurr() override { return m_grid; }
    void setUpdateProg(int index) override;
    void setDataOverWrite(int index) override;
    IPlacedWindow& placement() override { return m_placement; }
    void setEnabled(bool enabled) override;
    void bringToFront() override;
    void showWindow(bool modal) override;
    void closeWindow() override { closePage(); }

    QTableWidget* table() const { return m_grid.widget(); }
    QComboBox* updateProg() const { return m_cmbUpdateProg; }
    QComboBox* dataOverWrite() const { return m_cmbDataOverWrite; }
    QPushButton* addSelectedButton() const { return m_comExtAddSel; }
    QPushButton* addAllButton() const { return m_comExtAddAll; }
    QPushButton* synchroniseButton() const { return m_comExtSynch; }
    QPushButton* removeButton() const { return m_comExtRemove; }
    QPushButton* closeButton() const { return m_comOK; }
    QPushButton* editButton() const { return m_comEdit; }
    QPushButton* deleteButton() const { return m_comDelete; }
    QPushButton* sortButton() const { return m_comSort; }
    QPushButton* duplicateButton() const { return m_comDuplicate; }

protected:
    void unloaded() override { m_page.Form_Unload(); }
    void arrangeNarrow(bool narrow) override;

private:
    frm2Manage& m_page;
    QtPlacedWindow m_placement;
    QtGrid m_grid;
    QGridLayout* m_update = nullptr;  // the deliveries' combo boxes and buttons
    QComboBox* m_cmbUpdateProg = nullptr;
    QComboBox* m_cmbDataOverWrite = nullptr;
    QPushButton* m_comExtAddSel = nullptr;
    QPushButton* m_comExtAddAll = nullptr;
    QPushButton* m_comExtSynch = nullptr;
    QPushButton* m_comExtRemove = nullptr;
    QPushButton* m_comOK = nullptr;
    QPushButton* m_comEdit = nullptr;
    QPushButton* m_comDelete = nullptr;
    QPushButton* m_comSort = nullptr;
    QPushButton* m_comDuplicate = nullptr;
};

// Work page 2 inside the main window's client area. helpNote is the main
// window's help line, which shows the progress of a delivery.
class ManageWorkPage : public IWorkPage {
public:
    ManageWorkPage(AMain& app, QMdiArea* area, HelpNoteFn helpNote);
    ~ManageWorkPage() override;

    void Display(bool bModal) override { m_page->Display(bModal); }
    void ForceUnload() override { m_page->ForceUnload(); }

    frm2Manage& page() { return *m_page; }
    frm2ManageWindow* window() const { return m_window; }
    frmGlassesDelWindow* deleteWindow() const { return m_deleteWindow; }
    frmGlassesDelExtWindow* removeWindow() const { return m_removeWindow; }

private:
    std::unique_ptr<frm2Manage> m_page;
    frm2ManageWindow* m_window = nullptr;
    frmGlassesDelWindow* m_deleteWindow = nullptr;
    frmGlassesDelExtWindow* m_removeWindow = nullptr;
    QPointer<QMdiSubWindow> m_frame;
};
