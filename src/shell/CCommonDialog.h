// The file dialog wrapper the Setup, Import and Export pages use.
#pragma once

#include <string>
#include <vector>

#include "platform/Boxes.h"
#include "platform/FileDialog.h"

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
