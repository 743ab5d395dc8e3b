#include "melt/qt/popMeltParentWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/qt/QtText.h"
#include "shell/qt/Artwork.h"

namespace {

constexpr int kMakerListWidth = 150;
constexpr int kGridMinWidth = 520;
constexpr int kGridMinHeight = 320;

// Keeps a widget's place in the layout while it is hidden.
void keepPlaceWhenHidden(QWidget* w) {
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

}  // namespace

popMeltParentWindow::popMeltParentWindow(popMeltParent& page, QWidget* parent)
    : QDialog(parent), m_page(page), m_placement(this, "popMeltParent"), m_grid(this) {
    setObjectName(QStringLiteral("popMeltParent"));
    setWindowTitle(ToQString(kMeltParentCaption));
    setWindowIcon(ProgramIcon());
    setModal(true);

    m_makers = new QListWidget(this);  // lstMakers
    m_makers->setObjectName(QStringLiteral("lstMakers"));
    m_makers->setFixedWidth(kMakerListWidth);
    auto* hint = new QLabel(ToQString(kMakerHintText), this);
    hint->setWordWrap(true);
    hint->setFixedWidth(kMakerListWidth);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_sort = new QComboBox(this);  // cmbSortOrder
    m_sort->setObjectName(QStringLiteral("cmbSortOrder"));
    for (const char* item : kSortOrderItems) m_sort->addItem(ToQString(item));
    m_sort->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    QTableWidget* table = m_grid.widget();  // ssGlasses
    table->setObjectName(QStringLiteral("ssGlasses"));
    table->setMinimumSize(kGridMinWidth, kGridMinHeight);
    table->horizontalHeader()->setStretchLastSection(true);
    m_grid.setSelectRows(true);

    m_selected = new QLabel(ToQString(kSelGlassDesignText), this);  // lblSelGlass
    m_selected->setObjectName(QStringLiteral("lblSelGlass"));
    m_selected->setTextFormat(Qt::PlainText);
    QFont bold = m_selected->font();
    bold.setBold(true);
    m_selected->setFont(bold);

    m_ok = new QPushButton(ToQString(kOkCaption), this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(ToQString(kCancelCaption), this);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Makers:"), this));
    left->addWidget(m_makers);
    left->addWidget(hint);
    left->addStretch(1);

    auto* sortRow = new QHBoxLayout;
    sortRow->addStretch(1);
    sortRow->addWidget(m_sort);
    auto* right = new QVBoxLayout;
    right->addLayout(sortRow);
    right->addWidget(table, 1);

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_selected, 1);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_ok);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(body, 1);
    outer->addLayout(buttons);

    for (QWidget* w : {static_cast<QWidget*>(m_sort), static_cast<QWidget*>(table), static_cast<QWidget*>(m_selected)})
        keepPlaceWhenHidden(w);

    // The selection, not the current row: the list makes its first line
    // current when it takes the focus, which is no choice of the user's.
    connect(m_makers, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = m_makers->selectedItems();
        if (!m_programWrite && !selected.isEmpty()) m_page.lstMakers_Click(m_makers->row(selected.first()));
    });
    connect(m_sort, &QComboBox::activated, this, [this](int index) { m_page.cmbSortOrder_Click(index); });
    connect(m_ok, &QPushButton::clicked, this, [this] { m_page.comOK_Click(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_page.comCancel_Click(); });
    m_page.setView(this);
    adjustSize();
}

popMeltParentWindow::~popMeltParentWindow() { m_page.setView(nullptr); }

void popMeltParentWindow::setMakers(const std::vector<std::string>& makers) {
    m_programWrite = true;
    m_makers->clear();
    for (const auto& maker : makers) m_makers->addItem(ToQString(maker));
    m_makers->clearSelection();
    m_programWrite = false;
    // Tall enough for every maker, no more: the hint stands right below.
    if (m_makers->count() > 0)
        m_makers->setFixedHeight(m_makers->sizeHintForRow(0) * m_makers->count() + 2 * m_makers->frameWidth() + 4);
}

void popMeltParentWindow::selectMaker(int index) {
    m_programWrite = true;
    m_makers->setCurrentRow(index);
    m_programWrite = false;
}

void popMeltParentWindow::selectSortOrder(int index) { m_sort->setCurrentIndex(index); }

void popMeltParentWindow::setGridVisible(bool visible) {
    m_grid.setVisible(visible);
    m_sort->setVisible(visible);
}

void popMeltParentWindow::setSelectedGlass(const std::string& text, bool visible) {
    m_selected->setText(ToQString(text));
    m_selected->setVisible(visible);
}

void popMeltParentWindow::setOkEnabled(bool enabled) { m_ok->setEnabled(enabled); }

void popMeltParentWindow::showModal() { exec(); }

void popMeltParentWindow::closeWindow() {
    if (isVisible()) done(QDialog::Rejected);
}

void popMeltParentWindow::done(int result) {
    m_page.Form_Unload();
    QDialog::done(result);
}
