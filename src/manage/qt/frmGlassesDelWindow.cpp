#include "manage/qt/frmGlassesDelWindow.h"

#include <QPushButton>

frmGlassesDelWindow::frmGlassesDelWindow(frmGlassesDel& dialog, QWidget* parent)
    : CheckListDialog("frmGlassesDel", kGlassesDelCaption, parent), m_dialog(dialog) {
    build(nullptr, kGlassesDelLabel, kGlassesDelDeleteCaption, nullptr);
    connect(actionButton(), &QPushButton::clicked, this, [this] { m_dialog.comDelSel_Click(); });
    connect(cancelButton(), &QPushButton::clicked, this, [this] { m_dialog.comCancel_Click(); });
    m_dialog.setView(this);
}

frmGlassesDelWindow::~frmGlassesDelWindow() { m_dialog.setView(nullptr); }
