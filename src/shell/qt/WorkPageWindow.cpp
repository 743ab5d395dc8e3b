#include "shell/qt/WorkPageWindow.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QHeaderView>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTableWidget>

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
