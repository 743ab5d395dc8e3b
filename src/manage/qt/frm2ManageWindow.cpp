#include "manage/qt/frm2ManageWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "manage/qt/frmGlassesDelExtWindow.h"
#include "manage/qt/frmGlassesDelWindow.h"
#include "platform/qt/QtText.h"
#include "shell/AMain.h"

frm2ManageWindow::frm2ManageWindow(frm2Manage& page, QWidget* parent)
    : WorkPageWindow(parent), m_page(page), m_placement(this, "frm2Manage"), m_grid(this) {
    setObjectName(QStringLiteral("frm2Manage"));
    setWindowTitle(ToQString(kManageCaption));

    // The deliveries: target and mode above the four buttons, in one grid so
    // that their edges line up.
    auto* frame = new QGroupBox(ToQString(kUpdateFrameCaption), this);
    frame->setObjectName(QStringLiteral("fraUpdate"));
    m_cmbUpdateProg = new QComboBox(frame);
    m_cmbUpdateProg->setObjectName(QStringLiteral("cmbUpdateProg"));
    for (const char* item : kUpdateProgItems) m_cmbUpdateProg->addItem(ToQString(item));
    m_cmbDataOverWrite = new QComboBox(frame);
    m_cmbDataOverWrite->setObjectName(QStringLiteral("cmbDataOverWrite"));
    for (const char* item : kDataOverWriteItems) m_cmbDataOverWrite->addItem(ToQString(item));
    m_comExtAddSel = pageButton("comExtAddSel", kExtAddSelCaption, nullptr, [this] { m_page.comExtAddSel_Click(); });
    m_comExtAddAll = pageButton("comExtAddAll", kExtAddAllCaption, nullptr, [this] { m_page.comExtAddAll_Click(); });
    m_comExtSynch = pageButton("comExtSynch", kExtSynchCaption, kExtSynchTip, [this] { m_page.comExtSynch_Click(); });
    m_comExtRemove = pageButton("comExtRemove", kExtRemoveCaption, kExtRemoveTip, [this] { m_page.comExtRemove_Click(); });
    m_update = new QGridLayout(frame);
    m_update->addWidget(m_cmbUpdateProg, 0, 0, 1, 2);
    m_update->addWidget(m_cmbDataOverWrite, 0, 2, 1, 2);
    // Four buttons of one width, with room around the longest caption.
    sameWidths({m_comExtAddSel, m_comExtAddAll, m_comExtSynch, m_comExtRemove}, true);
    int col = 0;
    for (QPushButton* b : {m_comExtAddSel, m_comExtAddAll, m_comExtSynch, m_comExtRemove}) {
        b->setParent(frame);
        m_update->addWidget(b, 1, col);
        m_update->setColumnStretch(col++, 1);
    }

    setUpMaterialTable(m_grid, "ssGlassesCurr");
    QTableWidget* t = m_grid.widget();

    // The tool panel: the material actions at the left, Close at the right edge.
    m_comEdit = pageButton("comEdit", kEditCaption, kEditTip, [this] { m_page.comEdit_Click(); });
    m_comDuplicate = pageButton("comDuplicate", kDuplicateCaption, kDuplicateTip, [this] { m_page.comDuplicate_Click(); });
    m_comDelete = pageButton("comDelete", kDeleteCaption, kDeleteTip, [this] { m_page.comDelete_Click(); });
    m_comSort = pageButton("comSort", kSortCaption, kSortTip, [this] { m_page.comSort_Click(); });
    m_comOK = pageButton("comOK", kManageCloseCaption, nullptr, [this] { m_page.comOK_Click(); });
    auto* tools = new QHBoxLayout;
    for (QPushButton* b : {m_comEdit, m_comDuplicate, m_comDelete, m_comSort}) tools->addWidget(b);
    tools->addStretch(1);
    tools->addWidget(m_comOK);
    // The panel's buttons share one width, the widest caption's.
    sameWidths({m_comEdit, m_comDuplicate, m_comDelete, m_comSort, m_comOK}, false);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(frame);
    outer->addWidget(t, 1);
    outer->addLayout(tools);

    connect(m_cmbUpdateProg, &QComboBox::activated, this, [this](int i) { m_page.cmbUpdateProg_Click(i); });
    connect(m_cmbDataOverWrite, &QComboBox::activated, this, [this](int i) { m_page.cmbDataOverWrite_Click(i); });
    m_page.setView(this);
    resize(sizeHint().expandedTo(QSize(820, 480)));
}

frm2ManageWindow::~frm2ManageWindow() { m_page.setView(nullptr); }

void frm2ManageWindow::arrangeNarrow(bool narrow) {
    // The four delivery buttons in two rows of two where one row is too wide.
    QPushButton* const buttons[] = {m_comExtAddSel, m_comExtAddAll, m_comExtSynch, m_comExtRemove};
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = buttons[i];
        m_update->removeWidget(b);
        if (narrow) m_update->addWidget(b, 1 + i / 2, 2 * (i % 2), 1, 2);
        else m_update->addWidget(b, 1, i);
    }
}

void frm2ManageWindow::setUpdateProg(int index) {
    const QSignalBlocker block(m_cmbUpdateProg);
    m_cmbUpdateProg->setCurrentIndex(index);
}

void frm2ManageWindow::setDataOverWrite(int index) {
    const QSignalBlocker block(m_cmbDataOverWrite);
    m_cmbDataOverWrite->setCurrentIndex(index);
}

void frm2ManageWindow::setEnabled(bool enabled) { QWidget::setEnabled(enabled); }

void frm2ManageWindow::bringToFront() { raisePage(); }

void frm2ManageWindow::showWindow(bool modal) {
    fitTables({m_grid.widget()});
    showPage(modal);
}

ManageWorkPage::ManageWorkPage(AMain& app, QMdiArea* area, HelpNoteFn helpNote) {
    ManagePageServices services;
    services.boxes = &app.boxes();
    services.cursor = &app.cursor();
    services.store = &app.store();
    services.editors = &app.editors();
    services.switchPage = [&app](int page, bool open) { app.forms().SwitchPage(page, open); };
    services.helpNote = std::move(helpNote);
    m_page = std::make_unique<frm2Manage>(std::move(services));
    m_window = new frm2ManageWindow(*m_page);
    m_deleteWindow = new frmGlassesDelWindow(m_page->deleteDialog(), m_window);
    m_removeWindow = new frmGlassesDelExtWindow(m_page->removeDialog(), m_window);
    m_frame = m_window->addToArea(area);
}

ManageWorkPage::~ManageWorkPage() {
    // The frame and the windows in it go before the page logic they refer to.
    if (m_frame) delete m_frame.data();
    else delete m_window;
}
