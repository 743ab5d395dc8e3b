#include "platform/qt/QtBusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

void QtBusyCursor::showHourglass() {
    if (m_busy) return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    m_busy = true;
}

void QtBusyCursor::showDefault() {
    if (!m_busy) return;
    QGuiApplication::restoreOverrideCursor();
    m_busy = false;
}
