#include "support/ScriptedFileDialog.h"

#include <gtest/gtest.h>

ScriptedFileDialog& ScriptedFileDialog::choose(const std::string& fullName, int filterIndex) {
    FileDialogResult r;
    r.outcome = FileDialogResult::Chosen;
    r.fullName = fullName;
    r.filterIndex = filterIndex;
    m_answers.push_back(r);
    return *this;
}

ScriptedFileDialog& ScriptedFileDialog::cancel() {
    m_answers.push_back(FileDialogResult{});
    return *this;
}

ScriptedFileDialog& ScriptedFileDialog::fail(const std::string& error) {
    FileDialogResult r;
    r.outcome = FileDialogResult::Failed;
    r.error = error;
    m_answers.push_back(r);
    return *this;
}

FileDialogResult ScriptedFileDialog::run(const FileDialogRequest& request) {
    m_requests.push_back(request);
    if (m_answers.empty()) {
        ADD_FAILURE() << "unscripted file dialog: " << request.title;
        return FileDialogResult{};
    }
    FileDialogResult r = m_answers.front();
    m_answers.pop_front();
    return r;
}
