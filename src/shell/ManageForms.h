// The page switcher: keeps at most one of the seven work pages open inside the
// main window and the ribbon's page buttons in step with it, and records
// whether the editor and the melt maker are open (both can be open over the
// Manage and Import pages in edit or review mode).
//
// Every request to open or close a page, from the ribbon or from a page that
// closes itself, goes through SwitchPage. Requests come back in while a page
// closes: its unload calls SwitchPage(its page, false), and raising a ribbon
// button reports a close request. CurrentPage is cleared before a page is
// closed on the close path, and a page is closed before CurrentPage takes the
// new page on the open path, so that a nested request closes the same page
// once more or finds nothing to do. A page ignores a close while it closes.
#pragma once

#include <array>
#include <functional>

class IBoxes;

enum WorkPage : int {
    kPageNone = 0,
    kPageSetup = 1,
    kPageManage = 2,
    kPageNew = 3,
    kPageImport = 4,
    kPageExport = 5,
    kPageArchive = 6,
    kPageMelt = 7
};
inline constexpr int kWorkPageCount = 7;

inline constexpr const char* kArchiveRefusedMessage =
    "You cannot use the 'Archive' form until Vitrarch is installed!";

// A work page as the switcher opens and closes it. For the editor and the
// melt maker, Display opens them for a new material (their DisplayNew).
class IWorkPage {
public:
    virtual ~IWorkPage() = default;
    virtual void Display(bool bModal) = 0;
    // Closes the page; a page that is already closing does nothing.
    virtual void ForceUnload() = 0;
};

// What the switcher needs of the main window.
class ISwitcherHost {
public:
    virtual ~ISwitcherHost() = default;
    virtual bool ribbonDown(int page) const = 0;
    // Raises the page's ribbon button; the ribbon reports that change back
    // as a close request before this returns.
    virtual void raiseRibbon(int page) = 0;
    virtual void UpdateWallPaper() = 0;
    virtual void restorePointer() = 0;
};

class ManageForms {
public:
    // foundVQ tells whether the catalogue program is installed.
    ManageForms(IBoxes& boxes, std::function<bool()> foundVQ);

    void setHost(ISwitcherHost* host) { m_host = host; }
    // The window of a page (1..7); null while the page is not built.
    void setPage(int page, IWorkPage* window);
    IWorkPage* page(int page) const;

    int CurrentPage() const { return m_currentPage; }
    void SetCurrentPage(int page) { m_currentPage = page; }
    bool NewFormOpen() const { return m_newFormOpen; }
    void SetNewFormOpen(bool open) { m_newFormOpen = open; }
    bool MeltFormOpen() const { return m_meltFormOpen; }
    void SetMeltFormOpen(bool open) { m_meltFormOpen = open; }

    // page 1..7; bOpen false is a close request, whatever page it names.
    void SwitchPage(int page, bool bOpen);

private:
    void ShowPage(int page, bool bKeepEditor);
    void ClosePage(int page);
    void unload(int page);
    void restorePointer();

    IBoxes& m_boxes;
    std::function<bool()> m_foundVQ;
    ISwitcherHost* m_host = nullptr;
    std::array<IWorkPage*, kWorkPageCount + 1> m_pages{};
    int m_currentPage = kPageNone;
    bool m_newFormOpen = false;
    bool m_meltFormOpen = false;
};
