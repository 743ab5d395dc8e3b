// Test double for the file chooser: answers come from a script, every request
// is recorded, and a chooser with no scripted answer fails the running test.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/FileDialog.h"

class ScriptedFileDialog : public IFileDialog {
public:
    // The user picks fullName with the filter filterIndex.
    ScriptedFileDialog& choose(const std::string& fullName, int filterIndex = 1);
    ScriptedFileDialog& cancel();
    ScriptedFileDialog& fail(const std::string& error);

    FileDialogResult run(const FileDialogRequest& request) override;

    const std::vector<FileDialogRequest>& requests() const { return m_requests; }
    std::size_t pending() const { return m_answers.size(); }

private:
    std::deque<FileDialogResult> m_answers;
    std::vector<FileDialogRequest> m_requests;
};
