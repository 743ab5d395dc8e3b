#include "shell/CCommonDialog.h"

namespace {

// Folder (ending in '/') and file name of a full name.
void splitFullName(const std::string& full, std::string& folder, std::string& title) {
    const std::size_t slash = full.rfind('/');
    if (slash == std::string::npos) {
        folder.clear();
        title = full;
    } else {
        folder = full.substr(0, slash + 1);
        title = full.substr(slash + 1);
    }
}

}  // namespace

bool CCommonDialog::FileSave(const std::string& szFilter, int& nFilterIndex, const std::string& szDefaultExt,
                             const std::string& szDialogTitle, std::string& szFilePath, std::string& szFileTitle) {
    if (!m_dialog) {
        m_boxes.show(kBoxPlain, "File save error: no file dialog is available.");
        return false;
    }
    FileDialogRequest req;
    req.save = true;
    req.filter = szFilter;
    req.filterIndex = nFilterIndex;
    req.defaultExt = szDefaultExt;
    req.title = szDialogTitle;
    req.proposedName = szFileTitle;
    const FileDialogResult r = m_dialog->run(req);
    if (r.outcome == FileDialogResult::Cancelled) return false;
    if (r.outcome == FileDialogResult::Failed) {
        m_boxes.show(kBoxPlain, "File save error: " + r.error);
        return false;
    }
    std::string folder, title;
    splitFullName(r.fullName, folder, title);
    if (title.empty()) {
        m_boxes.show(kBoxPlain, "File save error: no file name was given.");
        return false;
    }
    m_saveFullName = r.fullName;
    m_saveFileTitle = title;
    szFileTitle = title;
    szFilePath = folder;
    nFilterIndex = r.filterIndex;
    return true;
}

bool CCommonDialog::FileRead(const std::string& szFilter, int& nFilterIndex, const std::string& szDefaultExt,
                             const std::string& szDialogTitle, std::string& szFilePath, std::string& szFileTitle) {
    if (!m_dialog) return false;
    FileDialogRequest req;
    req.save = false;
    req.filter = szFilter;
    req.filterIndex = nFilterIndex;
    req.defaultExt = szDefaultExt;
    req.title = szDialogTitle;
    req.initialFolder = szFilePath;
    req.proposedName = m_readFullName;
    const FileDialogResult r = m_dialog->run(req);
    if (r.outcome != FileDialogResult::Chosen) return false;
    std::string folder, title;
    splitFullName(r.fullName, folder, title);
    if (title.empty()) return false;
    m_readFullName = r.fullName;
    m_readFileTitle = title;
    szFileTitle = title;
    szFilePath = folder;
    nFilterIndex = r.filterIndex;
    return true;
}
