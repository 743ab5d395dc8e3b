// The Setup page (work page 1): shows the three sibling-program folders and
// lets the user scan for missing ones, browse to each, and accept or cancel.
// The page keeps its own copies of the folders and applies them only on OK.
//
// The logic is here, the window (labels, buttons, the file chooser) behind
// ISetupView; the window calls the handlers below and Form_Unload when it
// closes, whatever closed it.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "shell/Bas1Setup.h"
#include "shell/CCommonDialog.h"

class IBoxes;
class IBusyCursor;
class IPlacedWindow;
class ISettings;

inline constexpr const char* kSetupCaption = "Setup";
inline constexpr const char* kSetupNotFound = "Not found";
inline constexpr const char* kSetupStatusCaptions[kSiblingCount] = {
    "Path to VitrarchQX:", "Path to Lumivar3D:", "Path to LumivarTolerancer3D:"};
inline constexpr const char* kSetupBrowseTips[kSiblingCount] = {"Manually search for Vitrarch program",
                                                                "Manually search for LumivarPlus program",
                                                                "Manually search for Lumivar Tolerancer program"};
inline constexpr const char* kSetupBrowseCaption = "...";
inline constexpr const char* kSetupScanCaption = "&Scan";
inline constexpr const char* kSetupScanTip = "Automatic search for programs with no defined path";
inline constexpr const char* kSetupOkCaption = "&OK";
inline constexpr const char* kSetupOkTip = "Confirm that these paths are correct";
inline constexpr const char* kSetupCancelCaption = "&Cancel";

// The information box of the first run.
std::string FirstRunSetupMessage();

class ISetupView {
public:
    virtual ~ISetupView() = default;
    virtual void setPathLabel(int program, const std::string& text) = 0;
    virtual IPlacedWindow& placement() = 0;
    // The page's file dialog control.
    virtual IFileDialog& fileDialog() = 0;
    // Shows the window; modal: returns when it has closed.
    virtual void showWindow(bool modal) = 0;
    // Closes the window; its closing ends in frm1Setup::Form_Unload.
    virtual void closeWindow() = 0;
};

struct SetupPageServices {
    IBoxes* boxes = nullptr;
    ISettings* settings = nullptr;
    IBusyCursor* cursor = nullptr;
    SearchFeedback feedback;                          // the help line while searching
    std::function<void()> showInstalledProgs;         // the main window re-colours its panels
    std::function<void(int page, bool open)> switchPage;
    // The drive roots of the search; when empty, InstallationSearchRoots(Path()).
    std::function<std::vector<std::string>()> searchRoots;
};

class frm1Setup {
public:
    explicit frm1Setup(SetupPageServices services);

    void setView(ISetupView* view) { m_view = view; }

    // Opens the page (the first run searches before); the result flag: True
    // after OK. Modeless, it returns False at once.
    bool Display(bool bModal);
    // Result False, then the page closes.
    void ForceUnload();

    void comScan_Click();
    void comSetupPath_Click(int program);
    void comOK_Click();
    void comCancel_Click();
    // The window is closing (OK, Cancel, its close box, the page switcher).
    void Form_Unload();

    bool isOpen() const { return m_open; }
    bool result() const { return m_result; }
    const std::string& folderCopy(int program) const { return m_folders[static_cast<std::size_t>(program)]; }
    // The label's text for a folder: folder & executable, or "Not found".
    static std::string PathLabel(int program, const std::string& folder);

private:
    void formLoad();
    void refreshLabels();
    std::vector<std::string> driveRoots() const;
    void hourglass();
    void normalPointer();

    SetupPageServices m_services;
    ISetupView* m_view = nullptr;
    CCommonDialog m_dialog;
    std::array<std::string, kSiblingCount> m_folders;
    bool m_result = false;
    bool m_open = false;
};
