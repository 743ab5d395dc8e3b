// The material editor's window: five tabs, the status panels and the tool
// buttons. The logic is frm3New; this window shows its control states and
// hands it the user's actions (choices in combo boxes by activation, text
// boxes when their edit is finished, grid cells through the grids' own
// events), never the window's own writes.
#pragma once

#include <array>

#include "editor/frm3New.h"
#include "platform/qt/QtGrid.h"
#include "platform/qt/QtPlacedWindow.h"
#include "shell/qt/WorkPageWindow.h"

class QBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

class frm3NewWindow : public WorkPageWindow, public I3NewView {
    Q_OBJECT
public:
    explicit frm3NewWindow(frm3New& form, QWidget* parent = nullptr);
    ~frm3NewWindow() override;

    // I3NewView
    IGrid& ssRefInd() override { return m_ssRefInd; }
    IGrid& ssTrans() override { return m_ssTrans; }
    IGrid& ssOther() override { return m_ssOther; }
    IPlacedWindow& placement() override { return m_placement; }
    void showWindow(bool bringToFront) override;
    void closeWindow() override { closePage(); }
    void controlsChanged() override;

    QtGrid& indexGrid() { return m_ssRefInd; }
    QtGrid& transGrid() { return m_ssTrans; }
    QtGrid& otherGrid() { return m_ssOther; }
    QTabWidget* tabs() const { return m_tabs; }
    QLineEdit* nameBox() const { return m_txtGenGlass; }
    QLineEdit* sourceBox() const { return m_txtGenSource; }
    QLabel* identityLabel() const { return m_lblGlassSource; }
    QLabel* statusPanel(int section) const { return m_pnlStatus[static_cast<std::size_t>(section)]; }
    QLabel* glassCodeLabel() const { return m_lblGlassCode; }
    QLabel* errorLabel() const { return m_lblError; }
    QComboBox* dataTypeBox() const { return m_cmbIndexDataType; }
    QComboBox* formulaBox() const { return m_cmbIndexPolyType; }
    QPushButton* saveButton() const { return m_comAdd; }
    QPushButton* pasteButton() const { return m_comClipPaste; }
    QPushButton* clearButton() const { return m_comClear; }
    QPushButton* wavelengthsButton() const { return m_comWaveSelRefInd; }
    QPushButton* closeButton() const { return m_comOK; }
    QPushButton* fitButton() const { return m_comIndexFit; }
    QPushButton* showButton() const { return m_comIndexShow; }
    QPushButton* sortButton() const { return m_comIndexSort; }
    QComboBox* transTypeBox() const { return m_cmbTransType; }
    QComboBox* transDisplayBox() const { return m_cmbTransDisp; }
    QLineEdit* thicknessBox() const { return m_txtTransGlassWidth; }
    QPushButton* transSortButton() const { return m_comTransSort; }
    QListWidget* thermalList() const { return m_lstThermal; }
    QLineEdit* thermBox(int i) const { return m_txtTherm[static_cast<std::size_t>(i)]; }
    QLabel* thermLabel(int i) const { return m_lblTherm[static_cast<std::size_t>(i)]; }

protected:
    void unloaded() override { m_form.Form_Unload(); }
    void arrangeNarrow(bool narrow) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildMaterialTab();
    QWidget* buildIndexTab();
    QWidget* buildTransTab();
    QWidget* buildDnDtTab();
    QWidget* buildOtherTab();
    QPushButton* makeButton(QWidget* parent);
    // The text boxes show the record again after a commit, whatever was typed.
    void commitText(QLineEdit* box, bool isName);

    frm3New& m_form;
    QtPlacedWindow m_placement;
    QtGrid m_ssRefInd;
    QtGrid m_ssTrans;
    QtGrid m_ssOther;

    QTabWidget* m_tabs = nullptr;
    QPushButton* m_comAdd = nullptr;
    QPushButton* m_comClipPaste = nullptr;
    QPushButton* m_comClear = nullptr;
    QPushButton* m_comWaveSelRefInd = nullptr;
    QPushButton* m_comMelt = nullptr;
    QPushButton* m_comOK = nullptr;
    std::array<QLabel*, kEditorTabCount> m_pnlStatus{};
    QLabel* m_glassCodeCaption = nullptr;
    QLabel* m_lblGlassCode = nullptr;
    std::array<QBoxLayout*, 2> m_statusRows{};  // the second holds what a narrow page moves down

    QLineEdit* m_txtGenGlass = nullptr;
    QLineEdit* m_txtGenSource = nullptr;
    QLabel* m_lblGlassSource = nullptr;
    QLabel* m_lblGenNew = nullptr;

    QComboBox* m_cmbIndexDataType = nullptr;
    QComboBox* m_cmbIndexPolyType = nullptr;
    QPushButton* m_comIndexFit = nullptr;
    QPushButton* m_comIndexShow = nullptr;
    QPushButton* m_comIndexSort = nullptr;
    QLabel* m_lblIndexMinDataPoints = nullptr;
    QLabel* m_lblError = nullptr;

    QComboBox* m_cmbTransType = nullptr;
    QComboBox* m_cmbTransDisp = nullptr;
    QLineEdit* m_txtTransGlassWidth = nullptr;
    QPushButton* m_comTransSort = nullptr;

    QListWidget* m_lstThermal = nullptr;
    std::array<QLineEdit*, 7> m_txtTherm{};
    std::array<QLabel*, 7> m_lblTherm{};
    QLabel* m_lblDnDtLinear = nullptr;
};
