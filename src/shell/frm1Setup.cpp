#include "shell/frm1Setup.h"

#include "model/FileUtil.h"
#include "model/FixedText.h"
#include "platform/Boxes.h"
#include "platform/BusyCursor.h"
#include "shell/CSApplication.h"
#include "shell/CSWindow.h"
#include "platform/Settings.h"

std::string FirstRunSetupMessage() {
    return std::string("KalvenorQX is designed to create materials for Lumivar3D/DazirireraVI & VitrarchQX.  ") +
           "\r\n\r\n" + "Kalvenor will work without these being installed. " +
           "However assuming that they are installed, please confirm the paths to these programs, " +
           "in the 'Setup' form which will now be loaded automatically. " + "\r\n\r\n" +
           "If you wish to install them later, then, after installation, please load the 'Setup' form manually.";
}

frm1Setup::frm1Setup(SetupPageServices services) : m_services(std::move(services)), m_dialog(*m_services.boxes) {}

std::string frm1Setup::PathLabel(int program, const std::string& folder) {
    if (folder.empty()) return kSetupNotFound;
    return WithTrailingSeparator(folder) + SiblingInfo(program).executable;
}

std::vector<std::string> frm1Setup::driveRoots() const {
    if (m_services.searchRoots) return m_services.searchRoots();
    return InstallationSearchRoots(CSApplication().Path());
}

void frm1Setup::hourglass() {
    if (m_services.cursor) m_services.cursor->showHourglass();
}

void frm1Setup::normalPointer() {
    if (m_services.cursor) m_services.cursor->showDefault();
}

bool frm1Setup::Display(bool bModal) {
    if (m_open || !m_view) return m_result;
    m_result = false;
    hourglass();
    const HelpNoteFn& note = m_services.feedback.helpNote;
    if (FirstLoad()) {
        if (note) note(kSearchingAllMessage, true);
        SearchInstallations(driveRoots(), m_services.feedback);
        if (note) note("", false);
    }
    for (int p = 0; p < kSiblingCount; ++p) m_folders[static_cast<std::size_t>(p)] = GetPath(p);
    m_open = true;
    formLoad();
    m_view->showWindow(bModal);
    return m_result;
}

void frm1Setup::formLoad() {
    CSWindow().Center(m_view->placement());
    refreshLabels();
    if (m_services.showInstalledProgs) m_services.showInstalledProgs();
    m_dialog.SetDialog(m_view->fileDialog());
    if (FirstLoad()) m_services.boxes->show(kBoxInformation, FirstRunSetupMessage(), kAppTitle);
    normalPointer();
}

void frm1Setup::refreshLabels() {
    for (int p = 0; p < kSiblingCount; ++p) m_view->setPathLabel(p, PathLabel(p, m_folders[static_cast<std::size_t>(p)]));
}

void frm1Setup::ForceUnload() {
    m_result = false;
    if (m_open && m_view) m_view->closeWindow();
}

void frm1Setup::comScan_Click() {
    if (!m_open) return;
    hourglass();
    const HelpNoteFn& note = m_services.feedback.helpNote;
    if (note) note(kSearchingAllMessage, true);
    SearchMissingInstallations(driveRoots(), m_folders[0], m_folders[1], m_folders[2], m_services.feedback);
    if (note) note("", false);
    refreshLabels();
    normalPointer();
}

void frm1Setup::comSetupPath_Click(int program) {
    if (!m_open || program < 0 || program >= kSiblingCount) return;
    const SiblingProgramInfo& info = SiblingInfo(program);
    const std::string exe = info.executable;
    const std::string filter = std::string(info.browseLabel) + exe + ")|" + exe;
    int index = 1;
    std::string folder, title;
    if (!m_dialog.FileRead(filter, index, "EXE", info.browseTitle, folder, title)) return;
    if (!EqualsIgnoreCase(TrimBlanks(title), exe)) return;
    m_folders[static_cast<std::size_t>(program)] = WithTrailingSeparator(folder);
    refreshLabels();
}

void frm1Setup::comOK_Click() {
    if (!m_open) return;
    m_result = true;
    for (int p = 0; p < kSiblingCount; ++p) SetPath(p, m_folders[static_cast<std::size_t>(p)]);
    SaveSetupPaths(*m_services.settings);
    if (m_services.showInstalledProgs) m_services.showInstalledProgs();
    m_view->closeWindow();
}

void frm1Setup::comCancel_Click() {
    if (!m_open) return;
    m_result = false;
    m_view->closeWindow();
}

void frm1Setup::Form_Unload() {
    if (!m_open) return;  // a page already closed ignores a second close
    m_open = false;
    if (FirstLoad()) ClearFirstLoad(*m_services.settings);
    if (m_services.switchPage) m_services.switchPage(1, false);
}
