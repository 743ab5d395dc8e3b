// The melt parent picker's dialog: the maker list, the sort order, the grid
// of the maker's glasses, the selected glass and OK/Cancel. The logic is
// popMeltParent.
#pragma once

#include <QDialog>

#include "melt/popMeltParent.h"
#include "platform/qt/QtGrid.h"
#include "platform/qt/QtPlacedWindow.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

class popMeltParentWindow : public QDialog, public IMeltParentView {
    Q_OBJECT
public:
    explicit popMeltParentWindow(popMeltParent& page, QWidget* parent = nullptr);
    ~popMeltParentWindow() override;

    IGrid& glassGrid() override { return m_grid; }
    IPlacedWindow& placement() override { return m_placement; }
    void setMakers(const std::vector<std::string>& makers) override;
    void selectMaker(int index) override;
    void selectSortOrder(int index) override;
    void setGridVisible(bool visible) override;
    void setSelectedGlass(const std::string& text, bool visible) override;
    void setOkEnabled(bool enabled) override;
    void showModal() override;
    void closeWindow() override;

    QListWidget* makerList() const { return m_makers; }
    QComboBox* sortOrder() const { return m_sort; }
    QtGrid& grid() { return m_grid; }
    QLabel* selectedGlassLabel() const { return m_selected; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    void done(int result) override;

private:
    popMeltParent& m_page;
    QtPlacedWindow m_placement;
    QtGrid m_grid;
    QListWidget* m_makers = nullptr;
    QComboBox* m_sort = nullptr;
    QLabel* m_selected = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_programWrite = false;  // selections made by the page raise no click
};
