// The Setup page's window: three folder labels with their "..." buttons and
// the Scan, OK and Cancel buttons. The page logic is frm1Setup.
#pragma once

#include <array>
#include <memory>

#include "shell/frm1Setup.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtPlacedWindow.h"
#include "shell/qt/WorkPageWindow.h"

class QGridLayout;
class QLabel;
class QPushButton;

class frm1SetupWindow : public WorkPageWindow, public ISetupView {
    Q_OBJECT
public:
    explicit frm1SetupWindow(frm1Setup& page, QWidget* parent = nullptr);
    ~frm1SetupWindow() override;

    void setPathLabel(int program, const std::string& text) override;
    IPlacedWindow& placement() override { return m_placement; }
    IFileDialog& fileDialog() override { return m_fileDialog; }
    void showWindow(bool modal) override { showPage(modal); }
    void closeWindow() override { closePage(); }

    QLabel* pathLabel(int program) const { return m_pathLabels[static_cast<std::size_t>(program)]; }
    QPushButton* browseButton(int program) const { return m_browse[static_cast<std::size_t>(program)]; }
    QPushButton* scanButton() const { return m_scan; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    void unloaded() override { m_page.Form_Unload(); }
    void arrangeNarrow(bool narrow) override;
    void closeEvent(QCloseEvent* event) override;

private:
    frm1Setup& m_page;
    QtPlacedWindow m_placement;
    QtFileDialog m_fileDialog;
    QGridLayout* m_paths = nullptr;
    std::array<QLabel*, kSiblingCount> m_captions{};
    std::array<QLabel*, kSiblingCount> m_pathLabels{};
    std::array<QPushButton*, kSiblingCount> m_browse{};
    QPushButton* m_scan = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
