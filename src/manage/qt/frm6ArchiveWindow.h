// The Archive page's window: the current glasses and the archived glasses side
// by side, the Archive and Restore buttons between them, the sort order and
// Close below. The logic is frm6Archive.
//
// ArchiveWorkPage puts the window into the main window's client area and is
// what the page switcher opens and closes as work page 6.
#pragma once

#include <QPointer>
#include <memory>

#include "manage/frm6Archive.h"
#include "platform/qt/QtGrid.h"
#include "platform/qt/QtPlacedWindow.h"
#include "shell/ManageForms.h"
#include "shell/qt/WorkPageWindow.h"

class AMain;
class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;

class frm6ArchiveWindow : public WorkPageWindow, public IArchiveView {
    Q_OBJECT
public:
    explicit frm6ArchiveWindow(frm6Archive& page, QWidget* parent = nullptr);
    ~frm6ArchiveWindow() override;

    IGrid& ssGlassCurr() override { return m_current; }
    IGrid& ssGlassArchive() override { return m_archive; }
    void setArchiveEnabled(bool enabled) override;
    void setRestoreEnabled(bool enabled) override;
    void setSortOrder(int index) override;
    IPlacedWindow& placement() override { return m_placement; }
    void showWindow(bool modal) override;
    void closeWindow() override { closePage(); }

    QTableWidget* currentTable() const { return m_current.widget(); }
    QTableWidget* archiveTable() const { return m_archive.widget(); }
    QPushButton* archiveButton() const { return m_comArchive; }
    QPushButton* restoreButton() const { return m_comDeArchive; }
    QComboBox* sortOrder() const { return m_cmbSortOrder; }
    QPushButton* closeButton() const { return m_comOK; }

protected:
    void unloaded() override { m_page.Form_Unload(); }

private:
    frm6Archive& m_page;
    QtPlacedWindow m_placement;
    QtGrid m_current;
    QtGrid m_archive;
    QPushButton* m_comArchive = nullptr;
    QPushButton* m_comDeArchive = nullptr;
    QComboBox* m_cmbSortOrder = nullptr;
    QPushButton* m_comOK = nullptr;
};

// Work page 6 inside the main window's client area.
class ArchiveWorkPage : public IWorkPage {
public:
    ArchiveWorkPage(AMain& app, QMdiArea* area);
    ~ArchiveWorkPage() override;

    void Display(bool bModal) override { m_page->Display(bModal); }
    void ForceUnload() override { m_page->ForceUnload(); }

    frm6Archive& page() { return *m_page; }
    frm6ArchiveWindow* window() const { return m_window; }

private:
    std::unique_ptr<frm6Archive> m_page;
    frm6ArchiveWindow* m_window = nullptr;
    QPointer<QMdiSubWindow> m_frame;
};
