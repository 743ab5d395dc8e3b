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
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <cstdlib>

#include "platform/qt/QtGrid.h"
#include "platform/qt/QtText.h"
#include "shell/qt/Artwork.h"

namespace {

constexpr Qt::WindowStates kNotNormal = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

int along(const QSize& size, Qt::Orientation direction) {
    return direction == Qt::Horizontal ? size.width() : size.height();
}

// The least a table keeps when the area is short of room: a few columns, a
// few rows; never more than it wants.
int tableFloor(const QTableWidget* table, int wanted, Qt::Orientation direction) {
    const int line = table->fontMetrics().height();
    return std::min(wanted, direction == Qt::Horizontal ? 12 * line : 6 * line);
}

// Brings the size hints under root up to date, innermost widgets first: the
// layouts of hidden widgets, tab pages among them, are not kept current.
void refreshLayouts(QWidget* root) {
    const QList<QWidget*> all = root->findChildren<QWidget*>();
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        QWidget* w = *it;
        w->updateGeometry();
        if (QLayout* l = w->layout()) {
            l->invalidate();
            l->activate();
        }
    }
    if (QLayout* l = root->layout()) {
        l->invalidate();
        l->activate();
    }
}

}  // namespace

// Follows the client area's size for the page, and its frame's return from
// minimised or maximised.
class WorkPageWindow::AreaWatcher : public QObject {
public:
    explicit AreaWatcher(WorkPageWindow* page) : QObject(page), m_page(page) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        QMdiSubWindow* frame = m_page->frame();
        if (event->type() == QEvent::Resize && watched != frame) {
            m_page->areaResized(static_cast<QResizeEvent*>(event)->oldSize());
        } else if (event->type() == QEvent::WindowStateChange && watched == frame &&
                   (static_cast<QWindowStateChangeEvent*>(event)->oldState() & kNotNormal) &&
                   !(frame->windowState() & kNotNormal)) {
            // The frame takes back its normal geometry only after this event;
            // the area may have shrunk below it meanwhile.
            QMetaObject::invokeMethod(
                m_page, [page = m_page] { page->areaResized(page->m_placedArea); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    WorkPageWindow* m_page;
};

QMdiSubWindow* WorkPageWindow::addToArea(QMdiArea* area) {
    setWindowIcon(ProgramIcon());
    m_designSize = size();
    if (QLayout* own = layout(); own && !m_body) {
        // The window's controls move into a body that scrolls when the area
        // is too small even for the shrunken tables.
        m_body = new QWidget;
        m_body->setObjectName(QStringLiteral("pageBody"));
        m_body->setLayout(own);  // takes the layout, and the widgets in it, from the window
        m_scroll = new QScrollArea(this);
        m_scroll->setObjectName(QStringLiteral("pageScroll"));
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setWidgetResizable(true);
        m_scroll->setWidget(m_body);
        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->addWidget(m_scroll);
    }
    QMdiSubWindow* frame = area->addSubWindow(this);
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    frame->setWindowIcon(ProgramIcon());
    frame->hide();
    auto* watcher = new AreaWatcher(this);
    area->viewport()->installEventFilter(watcher);
    frame->installEventFilter(watcher);
    fitToArea();
    return frame;
}

QMdiSubWindow* WorkPageWindow::frame() const { return qobject_cast<QMdiSubWindow*>(parentWidget()); }

QSize WorkPageWindow::frameExtra() const {
    QMdiSubWindow* f = frame();
    QMargins m = f->contentsMargins();
    if (f->layout()) m += f->layout()->contentsMargins();
    return {m.left() + m.right(), m.top() + m.bottom()};
}

void WorkPageWindow::fitTables(std::initializer_list<QTableWidget*> tables) {
    for (QTableWidget* t : tables) {
        const int width = t->horizontalHeader()->length() +
                          (t->verticalHeader()->isVisible() ? t->verticalHeader()->width() : 0) +
                          2 * t->frameWidth() + t->verticalScrollBar()->sizeHint().width();
        const auto known = std::find_if(m_tables.begin(), m_tables.end(), [t](const auto& w) { return w.table == t; });
        // The height the window gave the table stays the one it wants.
        wantTableSize(t, QSize(width, known != m_tables.end() ? known->size.height() : t->minimumHeight()));
    }
    fitToArea();
}

void WorkPageWindow::wantTableSize(QTableWidget* table, const QSize& size) {
    std::erase_if(m_tables, [table](const WantedTable& w) { return !w.table || w.table == table; });
    m_tables.push_back({table, size});
}

QSize WorkPageWindow::minimumWithCut(Qt::Orientation direction, int cut) {
    for (const WantedTable& w : m_tables) {
        const int wanted = along(w.size, direction);
        if (!w.table || wanted <= 0) continue;
        const int keep = std::max(tableFloor(w.table, wanted, direction), wanted - cut);
        if (direction == Qt::Horizontal) w.table->setMinimumWidth(keep);
        else w.table->setMinimumHeight(keep);
    }
    refreshLayouts(m_body);
    return m_body->minimumSizeHint();
}

void WorkPageWindow::cutTablesToFit(Qt::Orientation direction, int room) {
    int most = 0;
    for (const WantedTable& w : m_tables) {
        const int wanted = along(w.size, direction);
        if (w.table && wanted > 0) most = std::max(most, wanted - tableFloor(w.table, wanted, direction));
    }
    // The least cut that fits: the body's minimum only falls as the cut grows.
    int low = 0;
    int high = most;
    while (low < high) {
        const int mid = (low + high) / 2;
        if (along(minimumWithCut(direction, mid), direction) <= room) high = mid;
        else low = mid + 1;
    }
    minimumWithCut(direction, low);
}

void WorkPageWindow::fitToArea() {
    QMdiSubWindow* f = frame();
    if (!f || !m_body) {
        for (const WantedTable& w : m_tables) {
            if (!w.table) continue;
            if (w.size.width() > 0) w.table->setMinimumWidth(w.size.width());
            if (w.size.height() > 0) w.table->setMinimumHeight(w.size.height());
        }
        if (layout()) layout()->activate();
        resize(size().expandedTo(sizeHint()).expandedTo(minimumSizeHint()));
        return;
    }
    fitFrame(f->parentWidget()->size());
}

void WorkPageWindow::fitFrame(const QSize& areaBefore) {
    QMdiSubWindow* f = frame();
    if (m_fitting || (f->windowState() & kNotNormal)) return;
    m_fitting = true;
    QWidget* area = f->parentWidget();
    const QSize extra = frameExtra();
    // The body's room when the frame fills the area; an area not shown yet has no size to fit.
    const QSize room = area->isVisible() ? area->size() - extra : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);

    // The page as it wants to be: its usual arrangement, every table at its wanted size.
    if (m_narrow) {
        m_narrow = false;
        arrangeNarrow(false);
    }
    minimumWithCut(Qt::Horizontal, 0);
    const QSize need = minimumWithCut(Qt::Vertical, 0);
    const QSize want = m_body->sizeHint().expandedTo(need).expandedTo(m_designSize);
    // A body that must scroll up and down loses the scroll bar's width.
    if (!fitBody(room)) fitBody(room - QSize(m_scroll->verticalScrollBar()->sizeHint().width(), 0));

    // A size the user gave the frame is kept where the area allows; one the
    // fit gave it is worked out anew. A narrowed body may want more height
    // than the usual one.
    const QSize kept = f->size() == m_fittedSize ? QSize(0, 0) : f->size();
    const QSize size = kept.expandedTo(want + extra).expandedTo(m_body->minimumSizeHint() + extra);
    place(area->isVisible() ? size.boundedTo(area->size()) : size, areaBefore);
    m_fittedSize = f->size();
    m_fitting = false;
}

bool WorkPageWindow::fitBody(const QSize& room) {
    if (minimumWithCut(Qt::Horizontal, 0).width() > room.width()) {
        cutTablesToFit(Qt::Horizontal, room.width());
        if (!m_narrow && m_body->minimumSizeHint().width() > room.width()) {
            m_narrow = true;
            arrangeNarrow(true);
            cutTablesToFit(Qt::Horizontal, room.width());
        }
    }
    if (minimumWithCut(Qt::Vertical, 0).height() > room.height()) cutTablesToFit(Qt::Vertical, room.height());
    return m_body->minimumSizeHint().height() <= room.height();
}

void WorkPageWindow::place(const QSize& size, const QSize& areaBefore) {
    QMdiSubWindow* f = frame();
    const QSize area = f->parentWidget()->size();
    const QRect g = f->geometry();
    const bool centred[] = {std::abs(2 * g.x() + g.width() - areaBefore.width()) <= 2,
                            std::abs(2 * g.y() + g.height() - areaBefore.height()) <= 2};
    const auto at = [](bool centred, int pos, int len, int areaLen) {
        return std::max(0, centred ? (areaLen - len) / 2 : std::min(pos, areaLen - len));
    };
    f->setGeometry(at(centred[0], g.x(), size.width(), area.width()),
                   at(centred[1], g.y(), size.height(), area.height()), size.width(), size.height());
    m_placedArea = area;
}

void WorkPageWindow::areaResized(const QSize& areaBefore) {
    QMdiSubWindow* f = frame();
    if (!f || m_fitting || !f->isVisible() || (f->windowState() & kNotNormal)) return;
    if (f->size() == m_fittedSize) fitFrame(areaBefore);  // the fit's size: fitted anew, growing back when it can
    else place(f->size().boundedTo(f->parentWidget()->size()), areaBefore);  // the user's: kept as far as it can be
}

void WorkPageWindow::showPage(bool modal) {
    QMdiSubWindow* frame = this->frame();
    if (frame) fitToArea();
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
    if (QMdiSubWindow* frame = this->frame()) frame->close();  // closes this window too
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
