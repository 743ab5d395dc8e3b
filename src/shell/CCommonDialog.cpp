#include "shell/CCommonDialog.h"

#include <cctype>

namespace {

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return parts;
}

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

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

std::vector<FileFilterEntry> ParseFileFilter(const std::string& filter) {
    std::vector<FileFilterEntry> entries;
    if (filter.empty()) return entries;
    const auto parts = split(filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        FileFilterEntry e;
        e.label = trim(parts[i]);
        for (const auto& p : split(parts[i + 1], ';'))
            if (!trim(p).empty()) e.patterns.push_back(trim(p));
        if (!e.patterns.empty()) entries.push_back(e);
    }
    return entries;
}

std::string CaseInsensitivePattern(const std::string& pattern) {
    std::string out;
    bool inSet = false;
    for (char c : pattern) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '[') inSet = true;
        if (c == ']') inSet = false;
        if (!inSet && u < 128 && std::isalpha(u)) {
            out += '[';
            out += static_cast<char>(std::tolower(u));
            out += static_cast<char>(std::toupper(u));
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

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
