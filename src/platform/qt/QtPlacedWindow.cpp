#include "platform/qt/QtPlacedWindow.h"

#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <cmath>

namespace {

double twips(int pixels) { return pixels * kTwipsPerPixel; }
int pixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

}  // namespace

QWidget* QtPlacedWindow::placed() const {
    if (!m_window) return nullptr;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(m_window->parentWidget())) return sub;
    return m_window;
}

TwipRect QtPlacedWindow::normalGeometry() const {
    QWidget* w = placed();
    if (!w) return {};
    const QRect g = (w->isWindow() && (w->isMaximized() || w->isMinimized() || w->isFullScreen())) ? w->normalGeometry()
                                                                                                    : w->geometry();
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
    QPoint origin;
    if (w->isWindow() && w->screen()) origin = w->screen()->geometry().topLeft();
    w->move(origin + QPoint(pixels(left), pixels(top)));
}

void QtPlacedWindow::moveAndSize(const TwipRect& g) {
    QWidget* w = placed();
    if (!w) return;
    QPoint origin;
    if (w->isWindow() && w->screen()) origin = w->screen()->geometry().topLeft();
    w->setGeometry(QRect(origin + QPoint(pixels(g.left), pixels(g.top)), QSize(pixels(g.width), pixels(g.height))));
}
