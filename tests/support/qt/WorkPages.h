// The work pages of the running program, for window tests that open them
// through the ribbon.
#pragma once

#include <QApplication>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "editor/qt/frm3NewWindow.h"
#include "exchange/qt/frm4ImportWindow.h"
#include "exchange/qt/frm5ExportWindow.h"
#include "manage/qt/frm2ManageWindow.h"
#include "manage/qt/frm6ArchiveWindow.h"
#include "manage/qt/DialogDriver.h"
#include "melt/qt/frm7MeltWindow.h"
#include "melt/qt/popMeltParentWindow.h"
#include "shell/ManageForms.h"
#include "shell/qt/frm1SetupWindow.h"
#include "shell/qt/frmMainMDI.h"

inline constexpr WorkPage kAllWorkPages[] = {kPageSetup,  kPageManage,  kPageNew, kPageImport,
                                             kPageExport, kPageArchive, kPageMelt};

inline QWidget* WorkPageWindowOf(const frmMainMDI* main, WorkPage page) {
    switch (page) {
    case kPageSetup: return main->setupWindow();
    case kPageNew: return main->editorWindow();
    case kPageManage: return main->managePage()->window();
    case kPageImport: return main->importPage()->window();
    case kPageExport: return main->exportPage()->window();
    case kPageArchive: return main->archivePage()->window();
    case kPageMelt: return main->meltPage()->window();
    case kPageNone: break;
    }
    return nullptr;
}

// Opens the page with its ribbon button, as the user does.
inline bool OpenWorkPage(frmMainMDI* main, WorkPage page) {
    QToolButton* button = main->ribbonButton(page);
    if (!button->isEnabled()) return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return QTest::qWaitFor([&] { return WorkPageWindowOf(main, page)->parentWidget()->isVisible(); });
}

inline void CloseWorkPages(const frmMainMDI* main) {
    for (WorkPage page : kAllWorkPages) {
        QWidget* frame = WorkPageWindowOf(main, page)->parentWidget();
        if (frame->isVisible()) static_cast<QMdiSubWindow*>(frame)->close();
    }
}

// The melt maker's parent picker, opened from the page: the Schott N-BK7 of
// the demo's catalogue chosen. False when the picker did not take it.
inline bool ChooseMeltParent(frmMainMDI* main) {
    popMeltParentWindow* dialog = main->meltPage()->parentWindow();
    bool chosen = false;
    DialogDriver driver(dialog, [dialog, &chosen] {
        QListWidget* makers = dialog->makerList();
        QListWidgetItem* schott = makers->findItems(QStringLiteral("Schott"), Qt::MatchExactly).value(0);
        QTableWidget* table = dialog->grid().widget();
        if (!schott) return;
        QTest::mouseClick(makers->viewport(), Qt::LeftButton, Qt::NoModifier, makers->visualItemRect(schott).center());
        const QList<QTableWidgetItem*> found = table->findItems(QStringLiteral("  N-BK7"), Qt::MatchExactly);
        if (found.isEmpty()) return;
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, table->visualItemRect(found[0]).center());
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        chosen = true;
    });
    QTest::mouseClick(main->meltPage()->window()->parentButton(), Qt::LeftButton);
    // The desktop gives the main window back its activation.
    QApplication::setActiveWindow(main);
    return chosen && !driver.timedOut() && main->meltPage()->window()->meltPanel()->isVisible();
}
