// The melt maker's window: the parent and the melt code above, the pairs grid
// with its tools and the wavebands in the middle, saving and closing below.
// The logic is frm7Melt; this window shows its control states and hands it
// the user's actions (the code box when its edit is finished, the grid's
// cells through the grid's own events), never the window's own writes.
//
// MeltWorkPage puts the window into the main window's client area with the
// two dialogs it opens (the parent picker and the melt sheet converter), and
// is what the page switcher opens and closes as work page 7.
#pragma once

#include <QPointer>
#include <array>
#include <memory>

#include "melt/frm7Melt.h"
#include "platform/qt/QtGrid.h"
#include "platform/qt/QtPlacedWindow.h"
#include "shell/qt/WorkPageWindow.h"

class AMain;
class IClipboard;
class IWavePicker;
class QBoxLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class QToolButton;
class popMeltParent;
class popMeltParentWindow;
class popMeltSchott;
class popMeltSchottWindow;

class frm7MeltWindow : public WorkPageWindow, public I7MeltView {
    Q_OBJECT
public:
    explicit frm7MeltWindow(frm7Melt& page, QWidget* parent = nullptr);
    ~frm7MeltWindow() override;

    // I7MeltView
    IGrid& ssRefInd() override { return m_ssRefInd; }
    IPlacedWindow& placement() override { return m_placement; }
    void showWindow(bool bringToFront) override;
    void closeWindow() override { closePage(); }
    void controlsChanged() override;

    QtGrid& pairsGrid() { return m_ssRefInd; }
    QPushButton* parentButton() const { return m_comParent; }
    QLineEdit* codeBox() const { return m_txtMeltCode; }
    QLabel* nameLabel() const { return m_lblMeltName; }
    QLabel* formulaLabel() const { return m_pnlPolyType; }
    QLabel* glassCodeLabel() const { return m_lblGlassCode; }
    QLabel* statusPanel() const { return m_pnlStatus; }
    QLabel* errorLabel() const { return m_lblError; }
    QWidget* meltPanel() const { return m_pnlMelt; }
    QPushButton* pasteButton() const { return m_comClipPaste; }
    QPushButton* clearButton() const { return m_comClear; }
    QPushButton* wavelengthsButton() const { return m_comWaveSelRefInd; }
    QToolButton* sheetButton() const { return m_comMeltSchott; }
    QPushButton* sortButton() const { return m_comIndexSort; }
    QPushButton* fitButton() const { return m_comIndexFit; }
    QPushButton* constsButton() const { return m_comShowDispConsts; }
    QPushButton* indexButton() const { return m_comShowIndex; }
    QGroupBox* waveBandFrame() const { return m_fraWaveBand; }
    QListWidget* waveBandList() const { return m_lstWaveBand; }
    QPushButton* addBandButton() const { return m_comWaveBand; }
    QPushButton* saveButton() const { return m_comAdd; }
    QPushButton* closeButton() const { return m_comOK; }

protected:
    void unloaded() override { m_page.Form_Unload(); }
    void arrangeNarrow(bool narrow) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildMeltPanel();
    QPushButton* makeButton(QWidget* parent, const char* name);
    void commitCode();
    void fitWindow();

    frm7Melt& m_page;
    QtPlacedWindow m_placement;
    QtGrid m_ssRefInd;

    QPushButton* m_comParent = nullptr;
    QLineEdit* m_txtMeltCode = nullptr;
    QLabel* m_lblMeltName = nullptr;
    QLabel* m_pnlPolyType = nullptr;
    QLabel* m_glassCodeCaption = nullptr;
    QLabel* m_lblGlassCode = nullptr;
    QLabel* m_pnlStatus = nullptr;
    std::array<QBoxLayout*, 2> m_stateRows{};  // the second holds what a narrow page moves down
    QLabel* m_lblError = nullptr;
    QWidget* m_pnlMelt = nullptr;
    QPushButton* m_comClipPaste = nullptr;
    QPushButton* m_comClear = nullptr;
    QPushButton* m_comWaveSelRefInd = nullptr;
    QToolButton* m_comMeltSchott = nullptr;
    QPushButton* m_comIndexSort = nullptr;
    QPushButton* m_comIndexFit = nullptr;
    QPushButton* m_comShowDispConsts = nullptr;
    QPushButton* m_comShowIndex = nullptr;
    QGroupBox* m_fraWaveBand = nullptr;
    QListWidget* m_lstWaveBand = nullptr;
    QPushButton* m_comWaveBand = nullptr;
    QPushButton* m_comAdd = nullptr;
    QPushButton* m_comOK = nullptr;
};

// Work page 7 inside the main window's client area, and the melt maker of
// the program's editors.
class MeltWorkPage {
public:
    // clipboard and picker (may be null) must outlive the page.
    MeltWorkPage(AMain& app, QMdiArea* area, IClipboard& clipboard, IWavePicker* picker);
    ~MeltWorkPage();

    frm7Melt& page() { return *m_page; }
    frm7MeltWindow* window() const { return m_window; }
    popMeltParentWindow* parentWindow() const { return m_parentWindow.get(); }
    popMeltSchottWindow* sheetWindow() const { return m_sheetWindow.get(); }

private:
    std::unique_ptr<popMeltParent> m_parentPicker;
    std::unique_ptr<popMeltSchott> m_sheet;
    std::unique_ptr<popMeltParentWindow> m_parentWindow;
    std::unique_ptr<popMeltSchottWindow> m_sheetWindow;
    std::unique_ptr<frm7Melt> m_page;
    frm7MeltWindow* m_window = nullptr;
    QPointer<QMdiSubWindow> m_frame;
};
