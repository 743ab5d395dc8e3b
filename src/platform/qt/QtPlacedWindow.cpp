#include "platform/qt/QtPlacedWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <cmath>

namespace {

double twips(int pixels) { return pixels * kTwipsPerPixel; }
int pixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

constexpr Qt::WindowStates kNotNormal = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

bool inNormalState(const QWidget* w) { return !(w->windowState() & kNotNormal); }

}  // namespace

// Follows the geometry of an MDI frame while it is in the normal state. A
// frame that is minimised or maximised changes its state before its geometry
// and returns to the normal state before it takes back its old geometry, so
// the bar and the maximised size are never taken for the normal geometry.
class QtPlacedWindow::NormalGeometryTracker : public QObject {
public:
    explicit NormalGeometryTracker(QWidget* frame) : QObject(frame) {
        if (inNormalState(frame)) m_normal = frame->geometry();
        frame->installEventFilter(this);
    }
    QRect normal() const { return m_normal; }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
            const auto* frame = static_cast<QWidget*>(watched);
            if (inNormalState(frame)) m_normal = frame->geometry();
        }
        return false;
    }

private:
    QRect m_normal;
};

QWidget* QtPlacedWindow::placed() const {
    if (!m_window) return nullptr;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(m_window->parentWidget())) {
        if (!m_tracker || m_tracker->parent() != sub) m_tracker = new NormalGeometryTracker(sub);
        return sub;
    }
    return m_window;
}

QRect QtPlacedWindow::frameNormalGeometry(QWidget* frame) const {
    if (inNormalState(frame) || !m_tracker || !m_tracker->normal().isValid()) return frame->geometry();
    return m_tracker->normal();
}

void QtPlacedWindow::restoreNormalState(QWidget* frame) {
    if (frame->isWindow() || inNormalState(frame)) return;
    const bool hidden = frame->isHidden();
    frame->setWindowState(frame->windowState() & ~kNotNormal);
    if (hidden) frame->hide();  // the state change shows the frame
}

TwipRect QtPlacedWindow::normalGeometry() const {
    QWidget* w = placed();
    if (!w) return {};
    QRect g;
    if (!w->isWindow()) g = frameNormalGeometry(w);
    else g = inNormalState(w) ? w->geometry() : w->normalGeometry();
    QPoint origin;
    if (w->isWindow() && w->screen()) origin = w->screen()->geometry().topLeft();
    return {twips(g.x() - origin.x()), twips(g.y() - origin.y()), twips(g.width()), twips(g.height())};
}

TwipSize QtPlacedWindow::screenSize() const {
    QWidget* w = placed();
    QScreen* s = (w && w->screen()) ? w->screen() : QGuiApplication::primaryScreen();
    if (!s) return {};
    return {twips(s->geometry().width()), twips(s->geometry().height())};
}

TwipSize QtPlacedWindow::centreArea() const {
    QWidget* w = placed();
    if (w && !w->isWindow() && w->parentWidget()) {
        const QRect area = w->parentWidget()->contentsRect();
        return {twips(area.width()), twips(area.height())};
    }
    return screenSize();
}

void QtPlacedWindow::moveTo(double left, double top) {
    QWidget* w = placed();
    if (!w) return;
    restoreNormalState(w);
    QPoint origin;
    if (w->isWindow() && w->screen()) origin = w->screen()->geometry().topLeft();
    w->move(origin + QPoint(pixels(left), pixels(top)));
}

void QtPlacedWindow::moveAndSize(const TwipRect& g) {
    QWidget* w = placed();
    if (!w) return;
    restoreNormalState(w);
    QPoint origin;
    if (w->isWindow() && w->screen()) origin = w->screen()->geometry().topLeft();
    w->setGeometry(QRect(origin + QPoint(pixels(g.left), pixels(g.top)), QSize(pixels(g.width), pixels(g.height))));
}
