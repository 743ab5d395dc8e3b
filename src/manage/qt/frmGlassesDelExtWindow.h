// The remove dialog's window: the two targets as option buttons above the
// check list, Remove and Cancel. The logic is frmGlassesDelExt; the Manage
// page's window makes one of these over its frmGlassesDelExt and keeps it.
#pragma once

#include <array>

#include "manage/frmGlassesDelExt.h"
#include "manage/qt/CheckListDialog.h"

class QRadioButton;

class frmGlassesDelExtWindow : public CheckListDialog, public IGlassesDelExtView {
    Q_OBJECT
public:
    explicit frmGlassesDelExtWindow(frmGlassesDelExt& dialog, QWidget* parent = nullptr);
    ~frmGlassesDelExtWindow() override;

    ICheckList& lstGlasses() override { return m_list; }
    IPlacedWindow& placement() override { return m_placement; }
    void showModal() override { runModal(); }
    void closeWindow() override { closeModal(); }
    void setLabel(const std::string& text) override;
    void selectOption(int index) override;

    QRadioButton* option(int index) const { return m_options[static_cast<std::size_t>(index)]; }

private:
    frmGlassesDelExt& m_dialog;
    std::array<QRadioButton*, 2> m_options{};
};
