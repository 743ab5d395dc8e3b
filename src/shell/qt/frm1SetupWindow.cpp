#include "shell/qt/frm1SetupWindow.h"

#include <algorithm>

#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/QtText.h"

namespace {
constexpr int kPathLabelMinWidth = 360;
}  // namespace

frm1SetupWindow::frm1SetupWindow(frm1Setup& page, QWidget* parent)
    : QWidget(parent), m_page(page), m_placement(this, "frm1Setup"), m_fileDialog(this) {
    setObjectName(QStringLiteral("frm1Setup"));
    setWindowTitle(ToQString(kSetupCaption));

    auto* grid = new QGridLayout;
    for (int p = 0; p < kSiblingCount; ++p) {
        grid->addWidget(new QLabel(ToQString(kSetupStatusCaptions[p]), this), p, 0);
        auto* label = new QLabel(ToQString(kSetupNotFound), this);
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setMinimumWidth(kPathLabelMinWidth);
        grid->addWidget(label, p, 1);
        auto* browse = new QPushButton(ToQString(kSetupBrowseCaption), this);
        browse->setToolTip(ToQString(kSetupBrowseTips[p]));
        browse->setMaximumWidth(40);
        grid->addWidget(browse, p, 2);
        m_pathLabels[static_cast<std::size_t>(p)] = label;
        m_browse[static_cast<std::size_t>(p)] = browse;
        connect(browse, &QPushButton::clicked, this, [this, p] { m_page.comSetupPath_Click(p); });
    }
    grid->setColumnStretch(1, 1);

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
    outer->addLayout(grid);
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
    // A long folder widens the page instead of being cut off.
    label->setMinimumWidth(std::max(kPathLabelMinWidth, label->fontMetrics().horizontalAdvance(label->text()) + 8));
    layout()->activate();
    QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    if (frame != this && frame->layout()) frame->layout()->activate();
    frame->resize(frame->size().expandedTo(frame->sizeHint()));
}

void frm1SetupWindow::showWindow(bool modal) {
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!modal) {
        show();
        if (frame) frame->show();
        raise();
        return;
    }
    setWindowModality(Qt::ApplicationModal);
    show();
    if (frame) frame->show();
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec();
    m_modalLoop = nullptr;
    setWindowModality(Qt::NonModal);
}

void frm1SetupWindow::closeWindow() {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->close();  // closes this window too
    else close();
}

void frm1SetupWindow::closeEvent(QCloseEvent* event) {
    if (SearchRunning()) {  // a search is still walking the disk
        event->ignore();
        return;
    }
    m_page.Form_Unload();
    if (m_modalLoop) m_modalLoop->quit();
    event->accept();
}
