#include "shell/qt/frm1SetupWindow.h"

#include <algorithm>

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/QtText.h"

namespace {
constexpr int kPathLabelMinWidth = 360;
}  // namespace

frm1SetupWindow::frm1SetupWindow(frm1Setup& page, QWidget* parent)
    : WorkPageWindow(parent), m_page(page), m_placement(this, "frm1Setup"), m_fileDialog(this) {
    setObjectName(QStringLiteral("frm1Setup"));
    setWindowTitle(ToQString(kSetupCaption));

    m_paths = new QGridLayout;
    for (int p = 0; p < kSiblingCount; ++p) {
        const auto i = static_cast<std::size_t>(p);
        m_captions[i] = new QLabel(ToQString(kSetupStatusCaptions[p]), this);
        auto* label = new QLabel(ToQString(kSetupNotFound), this);
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setMinimumWidth(kPathLabelMinWidth);
        auto* browse = new QPushButton(ToQString(kSetupBrowseCaption), this);
        browse->setToolTip(ToQString(kSetupBrowseTips[p]));
        browse->setMaximumWidth(40);
        m_pathLabels[i] = label;
        m_browse[i] = browse;
        connect(browse, &QPushButton::clicked, this, [this, p] { m_page.comSetupPath_Click(p); });
    }
    arrangeNarrow(false);
    m_paths->setColumnStretch(1, 1);

    auto* tools = new QWidget(this);  // pnlTools
    tools->setObjectName(QStringLiteral("pnlTools"));
    auto* row = new QHBoxLayout(tools);
    m_scan = new QPushButton(ToQString(kSetupScanCaption), tools);
    m_scan->setToolTip(ToQString(kSetupScanTip));
    m_cancel = new QPushButton(ToQString(kSetupCancelCaption), tools);
    m_ok = new QPushButton(ToQString(kSetupOkCaption), tools);
    m_ok->setToolTip(ToQString(kSetupOkTip));
    row->addWidget(m_scan);
    row->addStretch(1);
    row->addWidget(m_cancel);
    row->addWidget(m_ok);  // kept at the right edge
    connect(m_scan, &QPushButton::clicked, this, [this] { m_page.comScan_Click(); });
    connect(m_ok, &QPushButton::clicked, this, [this] { m_page.comOK_Click(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_page.comCancel_Click(); });

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(m_paths);
    outer->addStretch(1);
    outer->addWidget(tools);
    adjustSize();
    m_page.setView(this);
}

frm1SetupWindow::~frm1SetupWindow() { m_page.setView(nullptr); }

void frm1SetupWindow::setPathLabel(int program, const std::string& text) {
    if (program < 0 || program >= kSiblingCount) return;
    QLabel* label = m_pathLabels[static_cast<std::size_t>(program)];
    label->setText(PathToQString(text));
    label->setToolTip(label->text());
    // A long folder widens the page instead of being cut off (as far as the
    // client area allows; beyond, the page scrolls).
    label->setMinimumWidth(std::max(kPathLabelMinWidth, label->fontMetrics().horizontalAdvance(label->text()) + 8));
    fitToArea();
}

void frm1SetupWindow::arrangeNarrow(bool narrow) {
    // Narrow: each folder on a row of its own, below its caption.
    for (int p = 0; p < kSiblingCount; ++p) {
        const auto i = static_cast<std::size_t>(p);
        QWidget* const row[] = {m_captions[i], m_pathLabels[i], m_browse[i]};
        for (QWidget* w : row) m_paths->removeWidget(w);
        if (narrow) {
            m_paths->addWidget(m_captions[i], 2 * p, 0, 1, 3);
            m_paths->addWidget(m_pathLabels[i], 2 * p + 1, 0, 1, 2);
            m_paths->addWidget(m_browse[i], 2 * p + 1, 2);
        } else {
            m_paths->addWidget(m_captions[i], p, 0);
            m_paths->addWidget(m_pathLabels[i], p, 1);
            m_paths->addWidget(m_browse[i], p, 2);
        }
    }
}

void frm1SetupWindow::closeEvent(QCloseEvent* event) {
    if (SearchRunning()) {  // a search is still walking the disk
        event->ignore();
        return;
    }
    WorkPageWindow::closeEvent(event);
}
