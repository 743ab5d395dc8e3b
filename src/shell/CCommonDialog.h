// The file dialog wrapper the Setup, Import and Export pages use, and the
// file chooser behind it.
//
// A filter text is the platform's: label and pattern pairs separated by "|",
// several patterns of one entry by ";" ("Kalvenor (*.GLZ)|*.GLZ|All|*.*").
// The sibling programs' files come from Windows, so the chooser matches the
// patterns ignoring case.
#pragma once

#include <string>
#include <vector>

#include "shell/Boxes.h"

struct FileDialogRequest {
    bool save = false;
    std::string filter;
    int filterIndex = 1;        // 1-based
    std::string defaultExt;     // added when the user types a name without one
    std::string title;
    std::string initialFolder;  // "" for the chooser's own choice
    std::string proposedName;   // a file name or a full path
};

struct FileDialogResult {
    enum Outcome { Chosen, Cancelled, Failed };
    Outcome outcome = Cancelled;
    std::string fullName;    // on Chosen: folder and file name
    int filterIndex = 1;     // on Chosen: the filter in use, 1-based
    std::string error;       // on Failed: why, in words
};

// The file chooser. A save chooser lets the user name a new file and asks
// before overwriting an existing one; an open chooser takes existing files
// only.
class IFileDialog {
public:
    virtual ~IFileDialog() = default;
    virtual FileDialogResult run(const FileDialogRequest& request) = 0;
};

struct FileFilterEntry {
    std::string label;
    std::vector<std::string> patterns;
    bool operator==(const FileFilterEntry&) const = default;
};

// The entries of a filter text; a label without a pattern is dropped.
std::vector<FileFilterEntry> ParseFileFilter(const std::string& filter);

// A wildcard pattern that matches ignoring ASCII case: "*.GLZ" -> "*.[gG][lL][zZ]".
std::string CaseInsensitivePattern(const std::string& pattern);

class CCommonDialog {
public:
    explicit CCommonDialog(IBoxes& boxes) : m_boxes(boxes) {}

    // The chooser used by the later calls (the window's dialog control).
    void SetDialog(IFileDialog& dialog) { m_dialog = &dialog; }

    // The save dialog, proposing szFileTitle. On True: szFilePath = the chosen
    // folder ending in '/', szFileTitle = the chosen file's name, nFilterIndex
    // = the filter in use. Cancel gives False and changes nothing; any other
    // failure also shows "File save error: " and the reason.
    bool FileSave(const std::string& szFilter, int& nFilterIndex, const std::string& szDefaultExt,
                  const std::string& szDialogTitle, std::string& szFilePath, std::string& szFileTitle);

    // The open dialog, starting in szFilePath and proposing the file this
    // instance opened last. Out arguments as for FileSave; any failure is a
    // silent False.
    bool FileRead(const std::string& szFilter, int& nFilterIndex, const std::string& szDefaultExt,
                  const std::string& szDialogTitle, std::string& szFilePath, std::string& szFileTitle);

private:
    IBoxes& m_boxes;
    IFileDialog* m_dialog = nullptr;
    std::string m_saveFullName, m_saveFileTitle;
    std::string m_readFullName, m_readFileTitle;
};
