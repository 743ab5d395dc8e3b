// The Import page's window: the frame of the adds (selected, all, rename the
// source) above the review grid, the refit note below it, and the tool panel
// with Open file and Pre-view at the left and Close at the right edge. The
// logic is frm4Import.
//
// ImportWorkPage puts the window into the main window's client area and is
// what the page switcher opens and closes as work page 4.
#pragma once

#include <QPointer>
#include <memory>

#include "exchange/frm4Import.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtGrid.h"
#include "platform/qt/QtPlacedWindow.h"
#include "shell/ManageForms.h"
#include "shell/qt/WorkPageWindow.h"

class AMain;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;

class frm4ImportWindow : public WorkPageWindow, public IImportView {
    Q_OBJECT
public:
    explicit frm4ImportWindow(frm4Import& page, QWidget* parent = nullptr);
    ~frm4ImportWindow() override;

    IGrid& ssGlasses() override { return m_grid; }
    void setCaption(const std::string& caption) override;
    void setRefitLabel(const std::string& text) override;
    IFileDialog& fileDialog() override { return m_cmdImport; }
    IPlacedWindow& placement() override { return m_placement; }
    void setEnabled(bool enabled) override;
    void bringToFront() override;
    void showWindow(bool modal) override;
    void closeWindow() override { closePage(); }

    QTableWidget* table() const { return m_grid.widget(); }
    QLabel* refitLabel() const { return m_lblReFit; }
    QPushButton* openButton() const { return m_comImport; }
    QPushButton* reviewButton() const { return m_comReview; }
    QPushButton* addSelectedButton() const { return m_comAddSel; }
    QPushButton* addAllButton() const { return m_comAddAll; }
    QPushButton* renameButton() const { return m_comRenameSource; }
    QPushButton* closeButton() const { return m_comOK; }

protected:
    void unloaded() override { m_page.Form_Unload(); }

private:
    frm4Import& m_page;
    QtPlacedWindow m_placement;
    QtGrid m_grid;
    QtFileDialog m_cmdImport;
    QLabel* m_lblReFit = nullptr;
    QPushButton* m_comImport = nullptr;
    QPushButton* m_comReview = nullptr;
    QPushButton* m_comAddSel = nullptr;
    QPushButton* m_comAddAll = nullptr;
    QPushButton* m_comRenameSource = nullptr;
    QPushButton* m_comOK = nullptr;
};

// Work page 4 inside the main window's client area. helpNote is the main
// window's help line, which shows the progress of a long add.
class ImportWorkPage : public IWorkPage {
public:
    ImportWorkPage(AMain& app, QMdiArea* area, HelpNoteFn helpNote);
    ~ImportWorkPage() override;

    void Display(bool bModal) override { m_page->Display(bModal); }
    void ForceUnload() override { m_page->ForceUnload(); }

    frm4Import& page() { return *m_page; }
    frm4ImportWindow* window() const { return m_window; }

private:
    std::unique_ptr<frm4Import> m_page;
    frm4ImportWindow* m_window = nullptr;
    QPointer<QMdiSubWindow> m_frame;
};
