// The file chooser over QFileDialog (Qt's own dialog, the same on every
// desktop). Patterns match ignoring case; the filter list shows the labels
// as given. The save chooser takes new names, adds the default extension and
// asks before overwriting; the open chooser takes existing files only.
#pragma once

#include "platform/FileDialog.h"

class QWidget;

class QtFileDialog : public IFileDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : m_parent(parent) {}
    FileDialogResult run(const FileDialogRequest& request) override;

private:
    QWidget* m_parent;
};
