// The file chooser, and the filter texts it is given.
//
// A filter text is the platform's: label and pattern pairs separated by "|",
// several patterns of one entry by ";" ("Kalvenor (*.GLZ)|*.GLZ|All|*.*").
// The sibling programs' files come from Windows, so the chooser matches the
// patterns ignoring case.
#pragma once

#include <string>
#include <vector>

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
