#include "manage/qt/frm6ArchiveWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/QtText.h"
#include "shell/AMain.h"

namespace {

void setUpTable(QtGrid& grid, const char* name) {
    grid.setSelectRows(true);
    QTableWidget* t = grid.widget();
    t->setObjectName(QString::fromLatin1(name));
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->horizontalHeader()->setStretchLastSection(true);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->setMinimumHeight(320);
}

}  // namespace

frm6ArchiveWindow::frm6ArchiveWindow(frm6Archive& page, QWidget* parent)
    : WorkPageWindow(parent), m_page(page), m_placement(this, "frm6Archive"), m_current(this), m_archive(this) {
    setObjectName(QStringLiteral("frm6Archive"));
    setWindowTitle(ToQString(kArchivePageCaption));
    setUpTable(m_current, "ssGlassCurr");
    setUpTable(m_archive, "ssGlassArchive");

    m_comArchive = new QPushButton(ToQString(kArchiveButtonCaption), this);
    m_comArchive->setObjectName(QStringLiteral("comArchive"));
    m_comArchive->setToolTip(ToQString(kArchiveButtonTip));
    m_comDeArchive = new QPushButton(ToQString(kRestoreButtonCaption), this);
    m_comDeArchive->setObjectName(QStringLiteral("comDeArchive"));
    m_comDeArchive->setToolTip(ToQString(kRestoreButtonTip));
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(m_comArchive);
    moves->addSpacing(12);
    moves->addWidget(m_comDeArchive);
    moves->addStretch(1);

    auto* grids = new QGridLayout;
    grids->addWidget(new QLabel(ToQString(kCurrentGlassesLabel), this), 0, 0);
    grids->addWidget(new QLabel(ToQString(kArchivedGlassesLabel), this), 0, 2);
    grids->addWidget(m_current.widget(), 1, 0);
    grids->addLayout(moves, 1, 1);
    grids->addWidget(m_archive.widget(), 1, 2);
    grids->setColumnStretch(0, 1);
    grids->setColumnStretch(2, 1);

    m_cmbSortOrder = new QComboBox(this);
    m_cmbSortOrder->setObjectName(QStringLiteral("cmbSortOrder"));
    for (const char* item : kArchiveSortItems) m_cmbSortOrder->addItem(ToQString(item));
    m_comOK = new QPushButton(ToQString(kArchiveCloseCaption), this);
    m_comOK->setObjectName(QStringLiteral("comOK"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_cmbSortOrder);
    bottom->addStretch(1);
    bottom->addWidget(m_comOK);  // kept at the right edge

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grids, 1);
    outer->addLayout(bottom);

    connect(m_comArchive, &QPushButton::clicked, this, [this] { m_page.comArchive_Click(); });
    connect(m_comDeArchive, &QPushButton::clicked, this, [this] { m_page.comDeArchive_Click(); });
    connect(m_cmbSortOrder, &QComboBox::activated, this, [this](int index) { m_page.cmbSortOrder_Click(index); });
    connect(m_comOK, &QPushButton::clicked, this, [this] { m_page.comOK_Click(); });
    m_page.setView(this);
    resize(sizeHint().expandedTo(QSize(760, 440)));
}

frm6ArchiveWindow::~frm6ArchiveWindow() { m_page.setView(nullptr); }

void frm6ArchiveWindow::setArchiveEnabled(bool enabled) { m_comArchive->setEnabled(enabled); }

void frm6ArchiveWindow::setRestoreEnabled(bool enabled) { m_comDeArchive->setEnabled(enabled); }

// No order chosen shows none: the grids are in the tables' own order, and
// an item shown as chosen would promise an order they do not keep.
void frm6ArchiveWindow::setSortOrder(int index) { m_cmbSortOrder->setCurrentIndex(index < 0 ? -1 : index); }

void frm6ArchiveWindow::showWindow(bool modal) {
    fitTables({m_current.widget(), m_archive.widget()});
    showPage(modal);
}

ArchiveWorkPage::ArchiveWorkPage(AMain& app, QMdiArea* area) {
    ArchivePageServices services;
    services.boxes = &app.boxes();
    services.cursor = &app.cursor();
    services.switchPage = [&app](int page, bool open) { app.forms().SwitchPage(page, open); };
    m_page = std::make_unique<frm6Archive>(std::move(services));
    m_window = new frm6ArchiveWindow(*m_page);
    m_frame = m_window->addToArea(area);
}

ArchiveWorkPage::~ArchiveWorkPage() {
    // The frame and the window in it go before the page logic the window refers to.
    if (m_frame) delete m_frame.data();
    else delete m_window;
}
