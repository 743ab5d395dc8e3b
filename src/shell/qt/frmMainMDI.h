// The main window: a multiple-document window with the tool ribbon of the
// seven work pages, the help line, the installed-program panels, the
// wallpaper and the material pop-up menu. The logic is MainMDILogic; this
// class draws it and hands it the user's actions. The window makes its own
// Setup page and material list; the other work pages come from the table
// the program hands it (WorkPageTable.h), made in app/.
#pragma once

#include <QMainWindow>
#include <QMdiArea>
#include <QPixmap>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/HelpNotes.h"
#include "shell/MainMDILogic.h"
#include "shell/qt/WorkPageTable.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtPlacedWindow.h"
#include "platform/qt/QtTimer.h"
#include "platform/qt/QtUrlOpener.h"

class AMain;
class ArchiveWorkPage;
class ExportWorkPage;
class ImportWorkPage;
class ManageWorkPage;
class MeltWorkPage;
class frm1Setup;
class frm3NewWindow;
class frm1SetupWindow;
class frmGlassesList;
class QAction;
class QLabel;
class QMenu;
class QMdiSubWindow;
class QScrollArea;
class QToolButton;

// The client area: the back colour, with the composed wallpaper drawn from
// its top-left corner, neither stretched nor tiled.
class WallpaperArea : public QMdiArea {
public:
    using QMdiArea::QMdiArea;
    void setBackColour(const QColor& colour);
    QColor backColour() const { return m_back; }
    void setCanvas(const QPixmap& canvas);
    const QPixmap& canvas() const { return m_canvas; }
    void setResizeHandler(std::function<void()> handler) { m_onResize = std::move(handler); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QColor m_back;
    QPixmap m_canvas;
    std::function<void()> m_onResize;
};

class frmMainMDI : public QMainWindow, public IMainView {
    Q_OBJECT
public:
    // The work pages come from the table, made in its order.
    frmMainMDI(AMain& app, const WorkPageTable& pages);
    ~frmMainMDI() override;

    // Shows the window; the first call runs its load.
    void Display();
    // The help line: text, bold or not; repainted at once, pending window
    // events run before it returns.
    void HelpNote(const std::string& szHelp, bool bBold);
    void LoadList();
    void LoadSetup();
    void PrepForPopup(int nGlass, const std::string& szGlass);
    void ShowInstalledProgs();
    void UpdateWallPaper();
    void ShowHelpNote(int index);
    // Opens the pop-up menu prepared last, without waiting for a choice.
    void showPopup(const QPoint& globalPos);

    // IMainView
    int wallpaperCount() const override { return static_cast<int>(m_wallpapers.size()); }
    void PaintWallpaper(int picture, Colour nextBackColour) override;
    void restorePointer() override;

    MainMDILogic& logic() { return m_logic; }
    WallpaperArea* mdiArea() const { return m_mdi; }
    frmGlassesList* listWindow() const { return m_list.get(); }
    frm1SetupWindow* setupWindow() const { return m_setupWindow; }
    // The page the table made for a page number; nullptr when it made none.
    MadeWorkPage* madePage(int page) const;
    // The pages as they were made, for the window tests; defined where the
    // pages are made.
    frm3NewWindow* editorWindow() const;
    ArchiveWorkPage* archivePage() const;
    ManageWorkPage* managePage() const;
    ImportWorkPage* importPage() const;
    ExportWorkPage* exportPage() const;
    MeltWorkPage* meltPage() const;
    QMenu* popupMenu() const { return m_popup; }
    QAction* popupAction(int item) const { return m_popupActions[static_cast<std::size_t>(item)]; }
    QToolButton* ribbonButton(int page) const { return m_ribTools[static_cast<std::size_t>(page)]; }
    QToolButton* endButton() const { return m_ribEnd; }
    QToolButton* logoButton() const { return m_logo; }
    // What opens web addresses and the help file (the desktop's browser and
    // viewer unless a test gives another); must outlive the window.
    void setUrlOpener(IUrlOpener& urls) { m_urls = &urls; }
    QLabel* helpLine() const { return m_help; }
    QScrollArea* helpArea() const { return m_helpArea; }
    QLabel* installedPanel(int panel) const { return m_installed[static_cast<std::size_t>(panel)]; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class SetupPage;
    class ListCaller;

    void buildWindow();
    void buildSetupPage();
    void makePages(const WorkPageTable& pages);
    void formLoad();
    void syncRibbon();
    void pumpEvents();
    void watchHelp(QWidget* widget, int index);
    // The help line as high as the longest note needs at its width.
    void fitHelpLine();
    // The note index of a watched widget.
    std::optional<int> noteOf(const QObject* widget) const;

    AMain& m_app;
    MainMDILogic m_logic;
    HelpNotes m_notes;
    QtPlacedWindow m_placement;
    QtTimer m_tmrNewMsg;  // lent to the one-time hints
    QtUrlOpener m_desktopUrls;
    IUrlOpener* m_urls = &m_desktopUrls;
    bool m_loaded = false;
    int m_pumpDepth = 0;
    std::vector<QImage> m_wallpapers;

    QWidget* m_header = nullptr;
    QWidget* m_tools = nullptr;
    QWidget* m_statusBar = nullptr;
    std::array<QToolButton*, kWorkPageCount + 1> m_ribTools{};  // [0] unused
    QToolButton* m_ribEnd = nullptr;
    QToolButton* m_logo = nullptr;
    std::array<QLabel*, 3> m_installed{};
    QScrollArea* m_helpArea = nullptr;
    QLabel* m_help = nullptr;
    WallpaperArea* m_mdi = nullptr;
    QMenu* m_popup = nullptr;
    std::array<QAction*, 3> m_popupActions{};

    std::unique_ptr<frm1Setup> m_setup;
    std::unique_ptr<SetupPage> m_setupPage;
    QtClipboard m_clipboard;
    frm1SetupWindow* m_setupWindow = nullptr;
    std::unique_ptr<frmGlassesList> m_list;
    std::unique_ptr<ListCaller> m_listCaller;  // the list as the editor's caller
    std::vector<std::pair<int, std::unique_ptr<MadeWorkPage>>> m_pages;  // in the order made
    std::vector<std::pair<QObject*, int>> m_helpIndex;
};
