#include "shell/ManageForms.h"

#include "platform/Boxes.h"

namespace {
bool isPage(int page) { return page >= 1 && page <= kWorkPageCount; }
}  // namespace

ManageForms::ManageForms(IBoxes& boxes, std::function<bool()> foundVQ)
    : m_boxes(boxes), m_foundVQ(std::move(foundVQ)) {}

void ManageForms::setPage(int page, IWorkPage* window) {
    if (isPage(page)) m_pages[static_cast<std::size_t>(page)] = window;
}

IWorkPage* ManageForms::page(int page) const {
    return isPage(page) ? m_pages[static_cast<std::size_t>(page)] : nullptr;
}

void ManageForms::SwitchPage(int page, bool bOpen) {
    const int c = m_currentPage;
    if (!bOpen) {
        if (c == kPageNone) return;
        m_currentPage = kPageNone;
        ClosePage(c);
        return;
    }
    if (!isPage(page)) return;
    if (page == kPageArchive && !(m_foundVQ && m_foundVQ())) {
        m_boxes.show(kBoxInformation, kArchiveRefusedMessage, kAppTitle);
        // The raise is reported as a close request, which closes page c.
        if (m_host) m_host->raiseRibbon(kPageArchive);
        return;
    }
    if (page == c) return;
    if ((c == kPageManage || c == kPageImport) && page == kPageNew) {
        // The editor opened from the page stays; no new material is started.
        ShowPage(kPageNew, true);
        return;
    }
    if (c == kPageNone) {
        if (m_newFormOpen) ClosePage(kPageNew);
        if (m_meltFormOpen) ClosePage(kPageMelt);
    } else {
        ClosePage(c);
    }
    m_currentPage = page;
    ShowPage(page, false);
}

void ManageForms::ShowPage(int page, bool bKeepEditor) {
    if (page == kPageSetup) {
        if (IWorkPage* w = this->page(kPageSetup)) w->Display(false);
        return;
    }
    if (!(page == kPageNew && bKeepEditor)) {
        if (IWorkPage* w = this->page(page)) w->Display(false);
    }
    if (m_host) m_host->UpdateWallPaper();
    restorePointer();
}

void ManageForms::ClosePage(int page) {
    if (!isPage(page)) return;
    if (page == kPageManage || page == kPageImport) {
        if (m_newFormOpen) unload(kPageNew);
        if (m_meltFormOpen) unload(kPageMelt);
    }
    unload(page);
    // Its report comes back as a close request that finds nothing more to do.
    if (m_host && m_host->ribbonDown(page)) m_host->raiseRibbon(page);
    restorePointer();
}

void ManageForms::unload(int page) {
    if (IWorkPage* w = this->page(page)) w->ForceUnload();
}

void ManageForms::restorePointer() {
    if (m_host) m_host->restorePointer();
}
