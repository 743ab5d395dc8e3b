#include "shell/qt/WorkPageWindow.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

#include "platform/qt/QtGrid.h"
#include "platform/qt/QtText.h"
#include "shell/qt/Artwork.h"

QMdiSubWindow* WorkPageWindow::addToArea(QMdiArea* area) {
    setWindowIcon(ProgramIcon());
    QMdiSubWindow* frame = area->addSubWindow(this);
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    frame->setWindowIcon(ProgramIcon());
    frame->resize(frame->sizeHint().expandedTo(size() + QSize(12, 36)));
    frame->hide();
    return frame;
}

void WorkPageWindow::fitTables(std::initializer_list<QTableWidget*> tables) {
    for (QTableWidget* t : tables) {
        const int width = t->horizontalHeader()->length() +
                          (t->verticalHeader()->isVisible() ? t->verticalHeader()->width() : 0) +
                          2 * t->frameWidth() + t->verticalScrollBar()->sizeHint().width();
        t->setMinimumWidth(width);
    }
    layout()->activate();
    QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    if (frame != this && frame->layout()) frame->layout()->activate();
    frame->resize(frame->size().expandedTo(frame->minimumSizeHint()));
}

void WorkPageWindow::showPage(bool modal) {
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (modal) setWindowModality(Qt::ApplicationModal);
    show();
    if (frame) frame->show();
    raise();
    if (!modal) return;
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec();
    m_modalLoop = nullptr;
    setWindowModality(Qt::NonModal);
}

void WorkPageWindow::closePage() {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->close();  // closes this window too
    else close();
}

void WorkPageWindow::closeEvent(QCloseEvent* event) {
    unloaded();
    if (m_modalLoop) m_modalLoop->quit();
    event->accept();
}

void WorkPageWindow::raisePage() {
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    QWidget* top = frame ? static_cast<QWidget*>(frame) : this;
    top->raise();
    if (frame && frame->mdiArea()) frame->mdiArea()->setActiveSubWindow(frame);
    else activateWindow();
}

QPushButton* WorkPageWindow::pageButton(const char* name, const char* caption, const char* tip,
                                        const std::function<void()>& click) {
    auto* b = new QPushButton(ToQString(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    if (tip) b->setToolTip(ToQString(tip));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, click);
    return b;
}

void WorkPageWindow::sameWidths(std::initializer_list<QPushButton*> buttons, bool roomy) {
    int width = 0;
    for (QPushButton* b : buttons)
        width = std::max(width, b->sizeHint().width() + (roomy ? 2 * b->fontMetrics().averageCharWidth() : 0));
    for (QPushButton* b : buttons) b->setMinimumWidth(width);
}

QGroupBox* WorkPageWindow::buttonFrame(const char* name, const char* caption,
                                       std::initializer_list<QPushButton*> buttons) {
    auto* frame = new QGroupBox(ToQString(caption), this);
    frame->setObjectName(QString::fromLatin1(name));
    auto* row = new QHBoxLayout(frame);
    sameWidths(buttons, true);
    for (QPushButton* b : buttons) {
        b->setParent(frame);
        row->addWidget(b, 1);
    }
    return frame;
}

void WorkPageWindow::setUpMaterialTable(QtGrid& grid, const char* name) {
    QTableWidget* t = grid.widget();
    t->setObjectName(QString::fromLatin1(name));
    grid.setSelectRows(true);
    t->setSelectionMode(QAbstractItemView::ContiguousSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->horizontalHeader()->setStretchLastSection(true);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->setMinimumHeight(300);
}
