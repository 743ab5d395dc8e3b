// The delete dialog's window: the Manage page's materials in a check list,
// Delete and Cancel. The logic is frmGlassesDel; the Manage page's window
// makes one of these over its frmGlassesDel and keeps it for the run.
#pragma once

#include "manage/frmGlassesDel.h"
#include "manage/qt/CheckListDialog.h"

class frmGlassesDelWindow : public CheckListDialog, public IRemoveDialogView {
    Q_OBJECT
public:
    explicit frmGlassesDelWindow(frmGlassesDel& dialog, QWidget* parent = nullptr);
    ~frmGlassesDelWindow() override;

    ICheckList& lstGlasses() override { return m_list; }
    IPlacedWindow& placement() override { return m_placement; }
    void showModal() override { runModal(); }
    void closeWindow() override { closeModal(); }

private:
    frmGlassesDel& m_dialog;
};
