#include "platform/qt/QtTimer.h"

QtTimer::QtTimer(QObject* parent) : m_timer(parent) {
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { tick(); });
}

void QtTimer::setEnabled(bool enabled) {
    if (enabled) m_timer.start();
    else m_timer.stop();
}
