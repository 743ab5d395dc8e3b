// The wavelength picker's window: the label, the three tabs with their grids,
// the multiple-selection check box, OK and Cancel. Made for one use and
// dropped when it closes; the logic is popEditParamWave.
#pragma once

#include <QDialog>
#include <array>

#include "editor/popEditParamWave.h"
#include "platform/qt/QtGrid.h"
#include "platform/qt/QtPlacedWindow.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;

class popEditParamWaveWindow : public QDialog, public IWaveSelectView {
    Q_OBJECT
public:
    explicit popEditParamWaveWindow(popEditParamWave& page, QWidget* parent = nullptr);

    // The view maker to give popEditParamWave: its windows open over parent
    // (the main window), which must outlive the picker's uses.
    static popEditParamWave::ViewMaker Maker(QWidget* parent);

    IGrid& grid(int tab) override { return m_grids[static_cast<std::size_t>(tab)]; }
    IPlacedWindow& placement() override { return m_placement; }
    void showTab(int tab) override;
    int shownTab() const override;
    void setWaveLabel(const std::string& text) override;
    void setMultiChecked(bool checked) override;
    void setOkEnabled(bool enabled) override;
    void showModal() override;
    void closeWindow() override;

    QtGrid& qtGrid(int tab) { return m_grids[static_cast<std::size_t>(tab)]; }
    QTabWidget* tabs() const { return m_tabs; }
    QLabel* waveLabel() const { return m_label; }
    QCheckBox* multiCheck() const { return m_multi; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    popEditParamWave& m_page;
    QtPlacedWindow m_placement;
    std::array<QtGrid, kWavePickTabs> m_grids;
    QTabWidget* m_tabs = nullptr;
    QLabel* m_label = nullptr;
    QCheckBox* m_multi = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
