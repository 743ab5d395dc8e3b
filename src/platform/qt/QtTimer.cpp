#include "platform/qt/QtTimer.h"

QtTimer::QtTimer(QObject* parent) : m_timer(parent) {
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
        if (!m_held || !m_held()) tick();
    });
}

void QtTimer::setEnabled(bool enabled) {
    if (enabled) m_timer.start();
    else m_timer.stop();
}
